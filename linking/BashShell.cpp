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
//
// The replies are read by the program, not by a person, and the commands must mean the same for
// every user: bash runs in the C.UTF-8 locale, whose messages are bash's own and where no byte
// below 0x80 is ever part of a longer character, and none of the user's settings that steer bash
// itself reaches it.

#include "linking/BashShell.h"

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
#include <atomic>
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

// The locale every command runs in.
constexpr const char* CommandLocale = "LC_ALL=C.UTF-8";

// True for a variable of the user's environment that would change what bash does with a command
// line or what it answers: start-up files (ENV, BASH_ENV), options (SHELLOPTS, BASHOPTS,
// POSIXLY_CORRECT), exported functions (BASH_FUNC_*), the shell's own name (BASH_ARGV0), older
// behaviour (BASH_COMPAT), and the language of its messages.
bool SteersTheShell(std::string_view variable)
{
    const std::string_view name = variable.substr(0, variable.find('='));
    static constexpr std::string_view Steering[] = {
        "ENV",     "POSIXLY_CORRECT", "SHELLOPTS", "CDPATH",   "GLOBIGNORE", "EXECIGNORE",
        "FUNCNEST", "IFS",            "PS4",       "HISTFILE", "INPUTRC",    "PROMPT_COMMAND",
        "TMOUT",   "LANG",            "LANGUAGE",  "NLSPATH",  "LOCPATH",
    };
    return name.starts_with("BASH") || name.starts_with("LC_") ||
           std::find(std::begin(Steering), std::end(Steering), name) != std::end(Steering);
}

// The environment a command runs in: the user's, without what steers the shell, in the command
// locale. HOME and PATH, which the commands need, stay as they are.
std::vector<String> CommandEnvironment()
{
    std::vector<String> variables;
    for (char** variable = environ; *variable; ++variable)
        if (!SteersTheShell(*variable))
            variables.emplace_back(*variable);
    variables.emplace_back(CommandLocale);
    return variables;
}

// Pointers to the words, ended by a null pointer, as exec wants them; valid while words lives.
std::vector<char*> Pointers(std::vector<String>& words)
{
    std::vector<char*> pointers;
    for (String& word : words)
        pointers.push_back(word.data());
    pointers.push_back(nullptr);
    return pointers;
}

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
    // Small enough to stay in the cache; a command that prints nothing costs no buffer to clear.
    char buffer[1 << 16];
    for (;;) {
        const ssize_t count = ::read(descriptor, buffer, sizeof buffer);
        if (count > 0) {
            printed.append(buffer, static_cast<size_t>(count));
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

// The command now running, for the signal handler below: its process group, which is its own
// session's; Spawning while it is being started; NoCommand otherwise.
constexpr pid_t NoCommand = 0;
constexpr pid_t Spawning = -1;
// A signal came while the command was being started; it is handled once the start has returned.
constexpr pid_t EndedWhileSpawning = -2;
std::atomic<pid_t> RunningCommand{NoCommand};
std::atomic<int> EndingSignal{0};

// The signals that end the program while a command runs, and the command with it.
constexpr int EndingSignals[] = {SIGHUP, SIGINT, SIGTERM};

// Ends the process by the signal, as if nothing had caught it; its parent sees the usual status.
[[noreturn]] void EndBySignal(int signal)
{
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    ::sigaction(signal, &standard, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    ::pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(signal);
    ::_exit(128 + signal);
}

// The command's shell lives in a session of its own, so a signal that ends the program would
// leave it running, and it would make its link with nobody told. The handler ends the command's
// whole process group first. Only async-signal-safe calls are made.
extern "C" void EndCommandAndProgram(int signal)
{
    EndingSignal.store(signal);
    pid_t expected = Spawning;
    if (RunningCommand.compare_exchange_strong(expected, EndedWhileSpawning) ||
        expected == EndedWhileSpawning)
        return;
    if (expected > 0)
        ::kill(-expected, SIGKILL);
    EndBySignal(signal);
}

// For the length of one command, lets the ending signals end the command with the program. A
// signal that the program ignores stays ignored.
class CommandEndsWithProgram {
public:
    CommandEndsWithProgram()
    {
        RunningCommand.store(Spawning);
        struct sigaction handler {};
        handler.sa_handler = &EndCommandAndProgram;
        sigemptyset(&handler.sa_mask);
        for (size_t index = 0; index < std::size(EndingSignals); ++index) {
            ::sigaction(EndingSignals[index], nullptr, &m_previous[index]);
            if (m_previous[index].sa_handler != SIG_IGN)
                ::sigaction(EndingSignals[index], &handler, nullptr);
        }
    }
    CommandEndsWithProgram(const CommandEndsWithProgram&) = delete;
    CommandEndsWithProgram& operator=(const CommandEndsWithProgram&) = delete;
    ~CommandEndsWithProgram()
    {
        for (size_t index = 0; index < std::size(EndingSignals); ++index)
            ::sigaction(EndingSignals[index], &m_previous[index], nullptr);
        RunningCommand.store(NoCommand);
    }

    // The command has started as the leader of its own process group, or could not start.
    void Started(pid_t group)
    {
        pid_t expected = Spawning;
        if (RunningCommand.compare_exchange_strong(expected, group > 0 ? group : NoCommand))
            return;
        // A signal came during the start.
        if (group > 0)
            ::kill(-group, SIGKILL);
        EndBySignal(EndingSignal.load());
    }
    // The command has ended; from now on its process may be reaped.
    void Ended() { RunningCommand.store(NoCommand); }

private:
    struct sigaction m_previous[std::size(EndingSignals)] {};
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

    std::vector<String> words = {"bash", "--norc", "--noprofile", "+H", "+m", "-i", "-c",
                                 Preamble + command};
    std::vector<String> environment = CommandEnvironment();
    const std::vector<char*> arguments = Pointers(words);
    const std::vector<char*> variables = Pointers(environment);

    CommandEndsWithProgram ending;
    pid_t child = 0;
    const int spawnError = posix_spawn(&child, ShellProgram, settings.Actions(),
                                       settings.Attributes(), arguments.data(), variables.data());
    ending.Started(spawnError ? 0 : child);
    Check(ShellProgram, spawnError);
    writing.Close();

    int readError = 0;
    String printed = ReadToEnd(reading.Get(), readError);
    reading.Close();

    // The command is waited for without being reaped, so that its process group cannot be taken
    // by another process while a signal may still end it.
    siginfo_t ended {};
    while (::waitid(P_PID, static_cast<id_t>(child), &ended, WEXITED | WNOWAIT) < 0 && errno == EINTR) {
    }
    ending.Ended();
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

} // namespace

void RegisterBashShell()
{
    RegisterPluginOperations({
        {PluginSignatures[ShellInitEntry], &Init},
        {PluginSignatures[ShellExitEntry], &Exit},
        {PluginSignatures[ShellExecuteEntry], &Execute},
        {PluginSignatures[ShellResultGetEntry], &ResultGet},
        {PluginSignatures[ShellModeSetEntry], &ModeSet},
    });
}

} // namespace Quorvane
