#include "bench/MinimalShell.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace Quorvane::Bench {

namespace {

// The shell service's first line, word for word.
constexpr const char* Preamble = "exit() { builtin exit \"$@\" 2>/dev/null; }; exec 2>&3 3>&-\n";

// The variables the shell service keeps from bash: start-up files, options, the shell's own
// settings and the language of its messages.
bool Dropped(std::string_view variable)
{
    const std::string_view name = variable.substr(0, variable.find('='));
    static constexpr std::string_view Names[] = {
        "ENV",      "POSIXLY_CORRECT", "SHELLOPTS", "CDPATH",   "GLOBIGNORE", "EXECIGNORE",
        "FUNCNEST", "IFS",             "PS4",       "HISTFILE", "INPUTRC",    "PROMPT_COMMAND",
        "TMOUT",    "LANG",            "LANGUAGE",  "NLSPATH",  "LOCPATH",
    };
    return name.starts_with("BASH") || name.starts_with("LC_") ||
           std::find(std::begin(Names), std::end(Names), name) != std::end(Names);
}

// Owns one file descriptor.
class Descriptor {
public:
    explicit Descriptor(int descriptor) : m_descriptor(descriptor) {}
    ~Descriptor() { Close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return m_descriptor; }
    void Close()
    {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
        m_descriptor = -1;
    }

private:
    int m_descriptor;
};

// Owns the file actions and attributes of one posix_spawn.
class Spawning {
public:
    Spawning()
    {
        posix_spawn_file_actions_init(&m_actions);
        posix_spawnattr_init(&m_attributes);
    }
    ~Spawning()
    {
        posix_spawnattr_destroy(&m_attributes);
        posix_spawn_file_actions_destroy(&m_actions);
    }
    Spawning(const Spawning&) = delete;
    Spawning& operator=(const Spawning&) = delete;

    posix_spawn_file_actions_t* Actions() { return &m_actions; }
    posix_spawnattr_t* Attributes() { return &m_attributes; }

private:
    posix_spawn_file_actions_t m_actions;
    posix_spawnattr_t m_attributes;
};

} // namespace

MinimalShell::MinimalShell()
{
    for (char** variable = environ; *variable; ++variable)
        if (!Dropped(*variable))
            m_environment.emplace_back(*variable);
    m_environment.emplace_back("LC_ALL=C.UTF-8");
    for (std::string& variable : m_environment)
        m_variables.push_back(variable.data());
    m_variables.push_back(nullptr);
}

std::vector<std::string> MinimalShell::Arguments(const std::string& command)
{
    return {"--norc", "--noprofile", "+H", "+m", "-i", "-c", Preamble + command};
}

std::string MinimalShell::Run(const std::string& command) const
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe2 failed");
    Descriptor reading(ends[0]);
    Descriptor writing(ends[1]);

    // Standard input from /dev/null; the pipe as standard output and as descriptor 3, which the
    // first line makes the standard error; /dev/null as standard error until then.
    Spawning spawning;
    posix_spawn_file_actions_addopen(spawning.Actions(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(spawning.Actions(), writing.Get(), STDOUT_FILENO);
    posix_spawn_file_actions_addopen(spawning.Actions(), STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(spawning.Actions(), writing.Get(), 3);
    posix_spawnattr_setflags(spawning.Attributes(), POSIX_SPAWN_SETSID);

    std::vector<std::string> words = Arguments(command);
    words.insert(words.begin(), "bash");
    std::vector<char*> arguments;
    for (std::string& word : words)
        arguments.push_back(word.data());
    arguments.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawn(&child, Program, spawning.Actions(), spawning.Attributes(), arguments.data(),
                    m_variables.data()) != 0)
        throw std::runtime_error("cannot start /bin/bash");
    writing.Close();

    std::string printed;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t count = ::read(reading.Get(), buffer, sizeof buffer);
        if (count > 0)
            printed.append(buffer, static_cast<size_t>(count));
        else if (count == 0 || errno != EINTR)
            break;
    }
    reading.Close();
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return printed;
}

} // namespace Quorvane::Bench
