#pragma once

// The baseline of the shell figures: the least code that runs a command line through the same
// bash line as the program's shell service and keeps what it printed.

#include <string>
#include <vector>

namespace Quorvane::Bench {

// Runs command lines as the program's shell service does, with posix_spawn and nothing more:
// the same program, arguments, session, descriptors and environment. The environment is taken
// once, when the object is made.
class MinimalShell {
public:
    // The shell every command runs in.
    static constexpr const char* Program = "/bin/bash";

    // Takes this process's environment as the shell service hands it on.
    MinimalShell();
    MinimalShell(const MinimalShell&) = delete;
    MinimalShell& operator=(const MinimalShell&) = delete;

    // Runs the command line to its end and returns everything it printed, read in a plain loop
    // that appends to a growing string.
    std::string Run(const std::string& command) const;

    // The arguments the shell is given for the command line, after its name.
    static std::vector<std::string> Arguments(const std::string& command);
    // The environment every command runs in.
    const std::vector<std::string>& Environment() const { return m_environment; }

private:
    std::vector<std::string> m_environment;
    std::vector<char*> m_variables;
};

} // namespace Quorvane::Bench
