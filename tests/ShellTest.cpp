#include "linking/Shell.h"

#include "app/PluginEntrypoints.h"
#include "framework/FolderItem.h"
#include "linking/FolderLink.h"
#include "tests/support/Support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace Quorvane {
namespace {

namespace fs = std::filesystem;

String RunCommand(const String& command)
{
    return RunInNewShell(command)->Result();
}

int OpenDescriptors()
{
    int count = 0;
    if (DIR* folder = ::opendir("/proc/self/fd")) {
        while (::readdir(folder))
            ++count;
        ::closedir(folder);
    }
    return count;
}

TEST(Shell, ResultHoldsOutputAndErrorTogetherInTheOrderWritten)
{
    EXPECT_EQ(RunCommand("echo one; echo two >&2; echo three"), "one\ntwo\nthree\n");
    EXPECT_EQ(RunCommand("true"), "");
    EXPECT_EQ(RunCommand("printf '\\n'"), "\n");
}

TEST(Shell, TheCommandRunsThroughBashWhichNamesAFolderInThreePieces)
{
    Testing::TemporaryHome home;
    home.MakeDropbox();
    EXPECT_EQ(RunCommand("~/Dropbox/"), "bash: " + home.Dropbox() + "/: Is a directory\n");
    EXPECT_EQ(RunCommand("echo $BASH_VERSION | cut -c1"), "5\n");
}

TEST(Shell, TheCommandReadsNothing)
{
    EXPECT_EQ(RunCommand("cat; echo done"), "done\n");
    EXPECT_EQ(RunCommand("read -r line; echo \"[$line] $?\""), "[] 1\n");
}

TEST(Shell, AnOutputOfTensOfMegabytesArrivesWhole)
{
    const String result = RunCommand("head -c 50000000 /dev/zero | tr '\\0' x; echo end >&2");
    ASSERT_EQ(result.size(), 50000000u + 4u);
    EXPECT_EQ(result.find_first_not_of('x'), 50000000u);
    EXPECT_EQ(result.substr(50000000), "end\n");
}

TEST(Shell, NoChildProcessAndNoDescriptorIsLeftBehind)
{
    const int before = OpenDescriptors();
    RunCommand("sleep 0.05 & echo started");
    for (int i = 0; i < 5; ++i)
        RunCommand("ls /proc/$$/fd >/dev/null");
    EXPECT_EQ(OpenDescriptors(), before);
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1); // no child of ours is left to wait for
    EXPECT_EQ(RunCommand("ls /proc/self/fd"), "0\n1\n2\n3\n"); // ls itself, and the folder it reads
}

TEST(Shell, TheCommandLineIsReadByBashAsAWholeAndItsMistakesAreReported)
{
    EXPECT_EQ(RunCommand("echo $0 $#"), "bash 0\n");
    EXPECT_EQ(RunCommand("echo \"unbalanced"),
              "bash: unexpected EOF while looking for matching `\"'\n");
    EXPECT_EQ(RunCommand("echo 'a!b'; echo \"c!d\""), "a!b\nc!d\n"); // no history expansion
    EXPECT_EQ(RunCommand("no-such-command-here"), "bash: no-such-command-here: command not found\n");
}

TEST(Shell, TheExitStatusIsNotAnError)
{
    EXPECT_EQ(RunCommand("exit 3"), "");
    EXPECT_EQ(RunCommand("echo failed; exit 1"), "failed\n");
}

TEST(Shell, OnlyModeZeroIsOffered)
{
    Ref<Shell> shell = RuntimeNewObject<Shell>();
    EXPECT_THROW(shell->Mode(1), UnsupportedOperationException);
    EXPECT_NO_THROW(shell->Mode(0));
}

TEST(Shell, ACommandLineWithANulByteIsRefusedAndNothingRuns)
{
    // Handed on as a C string, the line would end at its NUL byte and the first touch would run.
    Testing::TemporaryFolder folder;
    const String before = folder / "before";
    const String after = folder / "after";
    const String line = "touch '" + before + "'" + String(1, '\0') + "; touch '" + after + "'";
    Ref<Shell> shell = RuntimeNewObject<Shell>();
    EXPECT_THROW(shell->Execute(line), UnsupportedFormatException);
    EXPECT_FALSE(fs::exists(before)) << "the part before the NUL byte ran";
    EXPECT_FALSE(fs::exists(after)) << "the part after the NUL byte ran";
}

TEST(Shell, AMissingOperationIsReportedAtItsFirstUseAndNeverCalled)
{
    const PluginEntrypoint real = __plugin_entrypoints->Entry(ShellExecuteEntry);
    __plugin_entrypoints->SetEntry(ShellExecuteEntry, PluginEntrypoint(PluginSignatures[ShellExecuteEntry]));
    Ref<Shell> shell = RuntimeNewObject<Shell>();
    try {
        shell->Execute("touch /tmp/never");
        ADD_FAILURE() << "an empty entry was called";
    } catch (const FunctionNotFoundException& missing) {
        EXPECT_NE(missing.Message().find("Shell.Execute(command as String)"), String::npos);
    }
    __plugin_entrypoints->SetEntry(ShellExecuteEntry, real);
}

// A home with a sync folder, a folder to link and, in every start-up file a shell could read, a
// canary that leaves a mark and speaks.
class UserEnvironment : public ::testing::Test {
protected:
    UserEnvironment()
    {
        sync = home.MakeDropbox();
        folder = home.Outside() / "Projects";
        fs::create_directory(folder);
        canary = home.Outside() / "canary.sh";
        std::ofstream(canary) << "touch '" << Mark() << "'; echo CANARY\n";
        for (const char* startup : {".bashrc", ".profile", ".bash_profile", ".bash_login", ".bash_logout"})
            std::ofstream(home.Path() + "/" + startup) << "source '" << canary << "'\n";
    }

    String Mark() const { return home.Outside() / "canary-was-here"; }

    // Runs the sync-folder discovery and a link of the folder, and checks both as any user must
    // get them.
    void ExpectDiscoveryAndLinkAsEverywhere(const String& setting)
    {
        EXPECT_EQ(RunCommand("~/Dropbox/"), "bash: " + sync + "/: Is a directory\n") << setting;
        const String link = sync + "/Projects";
        EXPECT_EQ(RunCommand(LinkCommand(*FolderItem::New(folder, 1), *FolderItem::New(sync, 1), "Projects")), "")
            << setting;
        EXPECT_EQ(Testing::LinkTarget(link), folder) << setting;
        EXPECT_EQ(RunCommand("ln -s '/nowhere' /proc/'Projects'"),
                  "ln: failed to create symbolic link '/proc/Projects': No such file or directory\n")
            << setting << ": a failure must be told";
        fs::remove(link);
        EXPECT_FALSE(fs::exists(Mark())) << setting << ": a start-up file of the user's ran";
        fs::remove(Mark());
    }

    Testing::TemporaryHome home;
    String sync;
    String folder;
    String canary;
};

TEST_F(UserEnvironment, EveryLocaleGetsTheRepliesInBashsOwnWords)
{
    struct Row {
        const char* what;
        Testing::EnvironmentChange::Variables variables;
        const char* locale;
    };
    const Row rows[] = {
        {"French as LANG", {{"LANG", "fr_FR.UTF-8"}}, "fr_FR.UTF-8"},
        {"French messages alone", {{"LANG", "C.UTF-8"}, {"LC_MESSAGES", "fr_FR.UTF-8"}}, "fr_FR.UTF-8"},
        {"French everywhere", {{"LC_ALL", "fr_FR.UTF-8"}}, "fr_FR.UTF-8"},
        {"French as LANGUAGE", {{"LANG", "C.UTF-8"}, {"LANGUAGE", "fr:de"}}, "C.UTF-8"},
        {"Chinese in GBK", {{"LC_ALL", "zh_CN.GBK"}, {"LANGUAGE", "zh_CN"}}, "zh_CN.GBK"},
    };
    for (const Row& row : rows) {
        ASSERT_TRUE(Testing::LocaleIsInstalled(row.locale)) << row.locale << " is missing: run scripts/setup-debian";
        Testing::EnvironmentChange change(row.variables);
        ExpectDiscoveryAndLinkAsEverywhere(row.what);
    }
}

TEST_F(UserEnvironment, TheUsersShellSettingsNeitherRunNorChangeAnything)
{
    const Testing::EnvironmentChange::Variables rows[] = {
        {{"POSIXLY_CORRECT", "1"}, {"ENV", canary}},
        {{"SHELLOPTS", "posix"}, {"ENV", canary}},
        {{"BASH_ENV", canary}},
        {{"SHELLOPTS", "xtrace:verbose"}},
        {{"SHELLOPTS", "xtrace"}, {"BASH_XTRACEFD", "1"}, {"PS4", "+ trace: "}},
        {{"BASHOPTS", "failglob:nullglob:xpg_echo"}},
        {{"BASH_FUNC_ln%%", "() { :; }"}},
        {{"BASH_FUNC_builtin%%", "() { echo hijacked; }"}},
        {{"BASH_ARGV0", "my:shell"}},
        {{"BASH_COMPAT", "3.1"}},
        {{"CDPATH", "/tmp"}, {"GLOBIGNORE", "*"}, {"FUNCNEST", "1"}},
        {{"HISTFILE", canary}, {"PROMPT_COMMAND", ". " + canary}, {"INPUTRC", canary}},
    };
    for (const auto& variables : rows) {
        Testing::EnvironmentChange change(variables);
        ExpectDiscoveryAndLinkAsEverywhere(variables.front().first + "=" + *variables.front().second);
    }
    EXPECT_EQ(Testing::ReadFile(canary), "touch '" + Mark() + "'; echo CANARY\n") << "nothing wrote to the canary";
}

TEST_F(UserEnvironment, HomeAndPathReachTheCommandAsTheUserHasThem)
{
    const String tools = home.Outside() / "tools";
    fs::create_directory(tools);
    Testing::EnvironmentChange change({{"PATH", tools + ":/usr/bin:/bin"}, {"QUORVANE_PROBE", "kept"}});
    EXPECT_EQ(RunCommand("echo \"$HOME|$PATH|$QUORVANE_PROBE|$LC_ALL\""),
              home.Path() + "|" + tools + ":/usr/bin:/bin|kept|C.UTF-8\n");
}

// The shell service in a process of its own, running one command.
pid_t StartRunCommand(const String& command)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    String program = QUORVANE_RUN_COMMAND;
    String line = command;
    char* arguments[] = {program.data(), line.data(), nullptr};
    pid_t child = 0;
    const int error = posix_spawn(&child, program.c_str(), &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error)
        throw std::runtime_error("cannot start " + program);
    return child;
}

// True when the process is gone, or only waits to be reaped.
bool Ended(pid_t process)
{
    std::ifstream stat("/proc/" + std::to_string(process) + "/stat");
    String line;
    if (!std::getline(stat, line))
        return true;
    const auto close = line.rfind(')');
    return close != String::npos && line.size() > close + 2 && line[close + 2] == 'Z';
}

TEST(Shell, ASignalThatEndsTheProgramEndsItsRunningCommandFirst)
{
    using namespace std::chrono_literals;
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        Testing::TemporaryFolder folder;
        const String started = folder / "started";
        const String mark = folder / "linked";
        const pid_t program = StartRunCommand("echo $$ > '" + started + "'; sleep 0.4; touch '" + mark + "'");
        for (int wait = 0; wait < 500 && Testing::ReadFile(started).empty(); ++wait)
            std::this_thread::sleep_for(10ms);
        const String shell = Testing::ReadFile(started);
        ASSERT_FALSE(shell.empty()) << "the command never started";
        ::kill(program, signal);
        int status = 0;
        ASSERT_EQ(::waitpid(program, &status, 0), program);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << strsignal(signal) << ": " << status;
        for (int wait = 0; wait < 200 && !Ended(std::stoi(shell)); ++wait)
            std::this_thread::sleep_for(10ms);
        EXPECT_TRUE(Ended(std::stoi(shell))) << strsignal(signal) << ": the command's shell lives on";
        std::this_thread::sleep_for(600ms);
        EXPECT_FALSE(fs::exists(mark)) << strsignal(signal) << ": the command went on after the program ended";
    }
}

TEST(Shell, TheProgramsOwnSignalHandlingComesBackOnceTheCommandHasEnded)
{
    const pid_t program = StartRunCommand("true");
    int status = 0;
    ASSERT_EQ(::waitpid(program, &status, 0), program);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    // The handlers are the program's own again: a signal now ends it as it would have without
    // the service.
    struct sigaction current {};
    ::sigaction(SIGTERM, nullptr, &current);
    EXPECT_EQ(current.sa_handler, SIG_DFL);
    RunCommand("true");
    ::sigaction(SIGTERM, nullptr, &current);
    EXPECT_EQ(current.sa_handler, SIG_DFL);
}

} // namespace
} // namespace Quorvane
