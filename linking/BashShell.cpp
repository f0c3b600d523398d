// The shell plug-in: runs each command line with bash, its standard output and error gathered in
// one pipe in the order written, and waits for it to end.
//
// bash is started as an interactive shell. A non-interactive bash numbers the lines of a -c
// command in its complaints ("bash: line 1: /home/u/Dropbox/: Is a directory"), which would put a
// fourth piece into the sync-folder discovery's reply; an interactive one answers
// "bash: /home/u/Dropbox/: Is a directory". Nothing else of interactivity is let in: no start-up
// files, no history expansion, no job control, and a session of its own, so that the shell finds
// no terminal to take over. Its complaints about that missing terminal go to /dev/null; only then
// is its error output joined to the pipe, and the command line is read.

#include "framework/PluginEntrypoints.h"
#include "linking/Shell.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

extern char** environ;

namespace Quorvane {

namespace {

// The shell that runs every command.
constexpr const char* ShellProgram = "/bin/bash";

// The descriptor that carries the pipe into the shell until the shell makes it its error output.
constexpr int PipeDescriptor = 3;

// The first line the shell runs, before it reads the command line on the next: quiets exit, which
// an interactive shell would have say "exit", and joins the shell's error output to the pipe. The
// command line stays the last thing bash reads, so bash runs its last command in place, without a
// fork, as it does for any -c command.
constexpr const char* Preamble = "exit() { builtin exit \"$@\" 2>/dev/null; }; exec 2>&3 3>&-\n";

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

// Reads the descriptor to its end; a read error is left in error.
String ReadToEnd(int descriptor, int& error)
{
    String printed;
    std::vector<char> buffer(1 << 20);
    for (;;) {
        const ssize_t count = ::read(descriptor, buffer.data(), buffer.size());
        if (count > 0) {
            printed.append(buffer.data(), static_cast<size_t>(count));
        } else if (count == 0) {
            break;
        } else if (errno != EINTR) {
            error = errno;
            break;
        }
    }
    return printed;
}

// The signals this process ignores now.
sigset_t IgnoredSignals()
{
    sigset_t ignored;
    sigemptyset(&ignored);
    for (int signal = 1; signal < NSIG; ++signal) {
        struct sigaction action {};
        if (::sigaction(signal, nullptr, &action) == 0 && action.sa_handler == SIG_IGN)
            sigaddset(&ignored, signal);
    }
    return ignored;
}

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
    // A larger pipe lets a talkative command write on without waiting for each read; where the
    // system refuses, the default size serves as well, only slower.
    (void)::fcntl(reading.Get(), F_SETPIPE_SZ, 1 << 20);

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
    // Signals that this process blocks or ignores are the child's own business again; the ones it
    // catches return to their defaults by themselves when bash starts.
    sigset_t none;
    sigemptyset(&none);
    Check("setsigmask", posix_spawnattr_setsigmask(settings.Attributes(), &none));
    const sigset_t ignored = IgnoredSignals();
    Check("setsigdefault", posix_spawnattr_setsigdefault(settings.Attributes(), &ignored));
    Check("setflags", posix_spawnattr_setflags(settings.Attributes(),
                                               POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF |
                                                   POSIX_SPAWN_SETSID));

    const String program = ShellProgram;
    std::vector<String> words = {"bash", "--norc", "--noprofile", "+H", "+m", "-i", "-c",
                                 Preamble + command};
    std::vector<char*> arguments;
    for (String& word : words)
        arguments.push_back(word.data());
    arguments.push_back(nullptr);
    pid_t child = 0;
    Check(ShellProgram, posix_spawn(&child, program.c_str(), settings.Actions(),
                                    settings.Attributes(), arguments.data(), environ));
    writing.Close();

    int readError = 0;
    String printed = ReadToEnd(reading.Get(), readError);
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

const String& ResultGet(const Shell::State& state)
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
