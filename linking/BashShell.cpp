// The shell plug-in: runs each command line with bash, its standard output and error gathered in
// one pipe in the order written, and waits for it to end.
//
// bash is started as an interactive shell. A non-interactive bash numbers the lines of a -c
// command in its complaints ("bash: line 1: /home/u/Dropbox/: Is a directory"), which would put a
// fourth piece into the sync-folder discovery's reply; an interactive one answers
// "bash: /home/u/Dropbox/: Is a directory". Nothing else of interactivity is let in: no start-up
// files, no history expansion, no job control, and a session of its own, so that the shell finds
// no terminal to take over. Its complaints about that missing terminal go to /dev/null; only then
// is its error output joined to the pipe, and the command line is evaluated in a subshell.

#include "framework/PluginEntrypoints.h"
#include "linking/Shell.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

extern char** environ;

namespace Quorvane {

namespace {

// The shell that runs every command.
constexpr const char* ShellProgram = "/bin/bash";

// The descriptor that carries the pipe into the shell until the shell makes it its error output.
constexpr int PipeDescriptor = 3;

// Run by the shell first: joins its error output to the pipe, then evaluates the command line
// (its only argument) after dropping that argument, so the command sees no positional parameters.
// The evaluation runs in a subshell, where exit ends the command as it would in a script, without
// the "exit" that an interactive shell says.
constexpr const char* Launcher = "exec 2>&3 3>&-; (eval \"shift\n$1\")";

[[noreturn]] void RaiseSystemError(const char* what, int error)
{
    throw IOException(String("The shell could not run the command: ") + what + ": " +
                      std::strerror(error) + ".");
}

// Owns one file descriptor and closes it at the end.
class FileDescriptor {
public:
    explicit FileDescriptor(int descriptor = -1) noexcept : m_descriptor(descriptor) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { Close(); }

    int Get() const noexcept { return m_descriptor; }
    void Close() noexcept
    {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
        m_descriptor = -1;
    }

private:
    int m_descriptor;
};

// Owns the spawn settings of one child.
class SpawnSettings {
public:
    SpawnSettings()
    {
        if (int error = posix_spawn_file_actions_init(&m_actions))
            RaiseSystemError("posix_spawn_file_actions_init", error);
        if (int error = posix_spawnattr_init(&m_attributes)) {
            posix_spawn_file_actions_destroy(&m_actions);
            RaiseSystemError("posix_spawnattr_init", error);
        }
    }
    SpawnSettings(const SpawnSettings&) = delete;
    SpawnSettings& operator=(const SpawnSettings&) = delete;
    ~SpawnSettings()
    {
        posix_spawnattr_destroy(&m_attributes);
        posix_spawn_file_actions_destroy(&m_actions);
    }

    posix_spawn_file_actions_t* Actions() noexcept { return &m_actions; }
    posix_spawnattr_t* Attributes() noexcept { return &m_attributes; }

private:
    posix_spawn_file_actions_t m_actions;
    posix_spawnattr_t m_attributes;
};

void Check(const char* what, int error)
{
    if (error)
        RaiseSystemError(what, error);
}

// Runs the command line to its end and returns everything it printed.
String RunToEnd(const String& command)
{
    if (command.find('\0') != String::npos)
        throw UnsupportedFormatException("A command line cannot hold a NUL byte.");

    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        RaiseSystemError("pipe2", errno);
    FileDescriptor reading(ends[0]);
    FileDescriptor writing(ends[1]);

    SpawnSettings settings;
    // The command reads nothing, writes both streams into the one pipe, and inherits no other
    // descriptor of ours.
    Check("open /dev/null",
          posix_spawn_file_actions_addopen(settings.Actions(), STDIN_FILENO, "/dev/null", O_RDONLY, 0));
    Check("dup2", posix_spawn_file_actions_adddup2(settings.Actions(), writing.Get(), STDOUT_FILENO));
    Check("open /dev/null",
          posix_spawn_file_actions_addopen(settings.Actions(), STDERR_FILENO, "/dev/null", O_WRONLY, 0));
    Check("dup2", posix_spawn_file_actions_adddup2(settings.Actions(), writing.Get(), PipeDescriptor));
    Check("closefrom", posix_spawn_file_actions_addclosefrom_np(settings.Actions(), PipeDescriptor + 1));
    // Signals that this process blocks or ignores are the child's own business again.
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    Check("setsigmask", posix_spawnattr_setsigmask(settings.Attributes(), &none));
    Check("setsigdefault", posix_spawnattr_setsigdefault(settings.Attributes(), &all));
    Check("setflags", posix_spawnattr_setflags(settings.Attributes(),
                                               POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF |
                                                   POSIX_SPAWN_SETSID));

    const String program = ShellProgram;
    std::vector<String> words = {"bash", "--norc", "--noprofile", "+H", "+m", "-i", "-c",
                                 Launcher, "bash", command};
    std::vector<char*> arguments;
    for (String& word : words)
        arguments.push_back(word.data());
    arguments.push_back(nullptr);
    pid_t child = 0;
    Check(ShellProgram, posix_spawn(&child, program.c_str(), settings.Actions(),
                                    settings.Attributes(), arguments.data(), environ));
    writing.Close();

    String printed;
    char buffer[1 << 16];
    int readError = 0;
    for (;;) {
        ssize_t count = ::read(reading.Get(), buffer, sizeof buffer);
        if (count > 0) {
            printed.append(buffer, static_cast<size_t>(count));
        } else if (count == 0) {
            break;
        } else if (errno != EINTR) {
            readError = errno;
            break;
        }
    }
    reading.Close();

    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (readError)
        RaiseSystemError("read", readError);
    return printed;
}

void Init(Shell::State& state)
{
    state = Shell::State{};
}

void Exit(Shell::State& state)
{
    state.Result.clear();
}

void Execute(Shell::State& state, const String& command)
{
    state.Result = RunToEnd(command);
}

String ResultGet(const Shell::State& state)
{
    return state.Result;
}

void ModeSet(Shell::State& state, Int32 mode)
{
    if (mode != 0)
        throw UnsupportedOperationException(
            "The shell runs commands in mode 0 only, to their end before Execute returns.");
    state.Mode = mode;
}

const PluginRegistration BashShellPlugin{
    {"Shell.__init", &Init},
    {"Shell.__exit", &Exit},
    {"Shell.Execute(command as String)", &Execute},
    {"Shell.Result.Get", &ResultGet},
    {"Shell.Mode.Set", &ModeSet},
};

} // namespace

} // namespace Quorvane
