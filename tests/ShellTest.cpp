#include "linking/Shell.h"

#include "app/PluginEntrypoints.h"
#include "tests/support/Support.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/wait.h>

namespace Quorvane {
namespace {

String RunCommand(const String& command)
{
    Ref<Shell> shell = RuntimeNewObject<Shell>();
    shell->Mode(0);
    shell->Execute(command);
    return shell->Result();
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
    Ref<Shell> shell = RuntimeNewObject<Shell>();
    EXPECT_THROW(shell->Execute(String("echo a\0; echo b", 15)), UnsupportedFormatException);
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

} // namespace
} // namespace Quorvane
