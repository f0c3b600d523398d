// Measures what a drop, a start and the shell service cost, each against a baseline that does the
// same work with the least code, measured in the same run and interleaved with it, and prints one
// line per figure:
//   figure: NAME median=VALUE baseline=VALUE ratio=R target=T
// Times are in milliseconds, memory in MiB. Every side is warmed up first, and the sides take
// turns at going first. With an X display (DISPLAY) everything that uses Qt runs on it; without one the drop
// runs headless and the start-up and memory figures are left out. Exits non-zero only when a
// figure could not be measured.

#include "app/PluginEntrypoints.h"
#include "bench/MinimalShell.h"
#include "framework/MsgBox.h"
#include "framework/Runtime.h"
#include "framework/Version.h"
#include "linking/Shell.h"
#include "tests/baseline/QtBaselines.h"
#include "tests/support/OpenedWindow.h"
#include "tests/support/Support.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <malloc.h>
#include <optional>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace Quorvane::Bench {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration elapsed)
{
    return std::chrono::duration<double, std::milli>(elapsed).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void Report(const char* name, const std::vector<double>& measured, const std::vector<double>& baseline,
            double target)
{
    const double median = Median(measured);
    const double base = Median(baseline);
    std::printf("figure: %s median=%.3f baseline=%.3f ratio=%.3f target=%.2f\n", name, median, base,
                median / base, target);
    std::fflush(stdout);
}

// One side of a comparison: does its work once and returns the figure it measured.
using Side = std::function<double()>;

// Runs every side warmUps times unmeasured, then rounds times measured, the sides taking turns at
// going first; the figures of each side, in the sides' order. Before each measured run the memory
// that earlier runs freed is given back to the system: in turns, a side always follows the same
// other side, and it would otherwise find that side's pages ready for reuse, or trimmed away.
std::vector<std::vector<double>> Interleaved(int warmUps, int rounds, const std::vector<Side>& sides)
{
    for (int round = 0; round < warmUps; ++round)
        for (const Side& side : sides)
            side();
    std::vector<std::vector<double>> figures(sides.size());
    for (int round = 0; round < rounds; ++round)
        for (size_t turn = 0; turn < sides.size(); ++turn) {
            const size_t side = (turn + static_cast<size_t>(round)) % sides.size();
            ::malloc_trim(0);
            figures[side].push_back(sides[side]());
        }
    return figures;
}

// Times the work.
double Timed(const std::function<void()>& work)
{
    const auto start = Clock::now();
    work();
    return Milliseconds(Clock::now() - start);
}

// Starts the program named by the first word with the others as its arguments; its standard
// streams are the given file actions' (nothing: this process's).
pid_t Spawn(const std::vector<std::string>& words, const posix_spawn_file_actions_t* actions)
{
    std::vector<std::string> copies = words;
    std::vector<char*> arguments;
    for (std::string& word : copies)
        arguments.push_back(word.data());
    arguments.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawn(&child, arguments[0], actions, nullptr, arguments.data(), environ) != 0)
        throw std::runtime_error("cannot start " + words[0]);
    return child;
}

// Spawns the program with the arguments and waits for it; its output and errors go to /dev/null
// (xdotool complains when the key it pressed closed the box before the key's release).
void SpawnAndWait(const std::vector<std::string>& words)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const pid_t child = Spawn(words, &actions);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
}

// Runs the command as the program runs its commands: a new Shell in mode 0 that executes it; the
// size of what it printed, read where the shell keeps it.
size_t ExecuteThroughShell(const String& command)
{
    return RunInNewShell(command)->Result().size();
}

// Fails unless the baseline's bash sees what the program's sees: the same options, environment,
// descriptors for its output and error, and the same complaints. QProcess hands the environment
// on in an order of its own, so the variables are compared sorted.
void CheckSameShell(const MinimalShell& minimal)
{
    const String probe = "echo \"$-\"; env | sort; echo to-error >&2; no-such-command-here";
    const String program = RunInNewShell(probe)->Result();
    if (minimal.Run(probe) != program)
        throw std::runtime_error("the minimal shell's bash does not run as the program's does");
    std::string viaQProcess;
    Baseline::CaptureWithQProcess(MinimalShell::Program, MinimalShell::Arguments(probe),
                                  minimal.Environment(), &viaQProcess);
    if (viaQProcess != program)
        throw std::runtime_error("QProcess's bash does not run as the program's does");
}

void ShellFigures(bool quick)
{
    MinimalShell minimal;
    CheckSameShell(minimal);

    const auto overhead = Interleaved(quick ? 5 : 20, quick ? 40 : 1000, {
        [] { return Timed([] { ExecuteThroughShell("true"); }); },
        [&] { return Timed([&] { minimal.Run("true"); }); },
    });
    Report("shell_overhead", overhead[0], overhead[1], 1.05);

    const String produce = "head -c 67108864 /dev/zero";
    constexpr size_t produced = 67108864u;
    const auto whole = [](size_t size) {
        if (size != produced)
            throw std::runtime_error("the output did not arrive whole");
    };
    const std::vector<std::string> arguments = MinimalShell::Arguments(produce);
    const auto output = Interleaved(quick ? 1 : 2, quick ? 3 : 25, {
        [&] { return Timed([&] { whole(ExecuteThroughShell(produce)); }); },
        [&] { return Timed([&] { whole(minimal.Run(produce).size()); }); },
        [&] {
            return Timed([&] {
                whole(Baseline::CaptureWithQProcess(MinimalShell::Program, arguments, minimal.Environment()));
            });
        },
    });
    Report("shell_output", output[0], output[1], 1.10);
    Report("shell_output_vs_qprocess", output[0], output[2], 1.00);
}

// Drops folders on the logo of a window opened as the program opens it, each drop timed from the
// moment Qt's drop entry is called to the moment the outcome's message box has been shown and
// closed and the events after it have run. The baseline does the same work with the least code:
// the sync-folder discovery's and the link's bash runs, the lstat of the link's path, one
// message box shown and closed, and the events after it.
void DropFigure(bool quick)
{
    Testing::TemporaryHome home;
    home.MakeDropbox();
    MinimalShell minimal;
    Testing::OpenedWindow opened;
    bool shown = false;
    String lastText;
    MessageBoxWatcher previous = SetMessageBoxWatcher([&](const String& text) {
        shown = true;
        lastText = text;
    });
    const auto at = opened.OnCanvas({150, 50});
    int folders = 0;
    // What a side leaves to the display, such as the window's repaint once a box is gone, arrives
    // a little later; it is run before the next side is timed, so it is counted on neither side.
    const auto settle = [] {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        Testing::ProcessEvents();
    };

    const Side program = [&] {
        const String name = "Folder " + std::to_string(folders++);
        const String dropped = home.Outside() / name;
        fs::create_directory(dropped);
        const auto data = Testing::LocalEntries({dropped});
        Testing::DragOver(opened.TopLevel(), at, *data);
        settle();
        shown = false;
        const auto start = Clock::now();
        if (!Testing::DropAt(opened.TopLevel(), at, *data).first)
            throw std::runtime_error("the window refused a drop");
        while (!shown) {
            Testing::ProcessEvents();
            if (Clock::now() - start > std::chrono::seconds(30))
                throw std::runtime_error("a drop showed no message box");
        }
        const double elapsed = Milliseconds(Clock::now() - start);
        if (lastText != Testing::Shown::Success)
            throw std::runtime_error("a drop ended with \"" + lastText + "\"");
        if (Testing::LinkTarget(home.Dropbox() + "/" + name) != dropped)
            throw std::runtime_error("a drop made no link");
        return elapsed;
    };
    const Side baseline = [&] {
        const String name = "Baseline " + std::to_string(folders++);
        const String dropped = home.Outside() / name;
        fs::create_directory(dropped);
        const String link = home.Dropbox() + "/" + name;
        const String command = "ln -sT '" + dropped + "' '" + home.Dropbox() + "'/'" + name + "'";
        std::string reply;
        std::string made;
        bool existed = false;
        settle();
        const double elapsed = Timed([&] {
            reply = minimal.Run("~/Dropbox/");
            struct stat status {};
            existed = ::lstat(link.c_str(), &status) == 0;
            made = minimal.Run(command);
            Baseline::ShowAndCloseMessageBox(Testing::Shown::Success);
            Testing::ProcessEvents();
        });
        if (reply.empty() || existed || !made.empty() || Testing::LinkTarget(link) != dropped)
            throw std::runtime_error("the minimal drop did not make its link");
        return elapsed;
    };
    const auto drops = Interleaved(3, quick ? 10 : 160, {program, baseline});
    Report("drop_handling", drops[0], drops[1], 1.05);
    SetMessageBoxWatcher(std::move(previous));
}

// Watches the X display for the top-level windows that programs map.
class MapWatcher {
public:
    MapWatcher()
    {
        // A display that has just started, or that resets because its last client has just left
        // (as between two starts), may turn a connection away or drop it at once; it is asked
        // again until one holds through a round trip.
        for (int attempt = 0;; ++attempt) {
            m_connection = xcb_connect(nullptr, nullptr);
            if (!xcb_connection_has_error(m_connection)) {
                xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
                const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
                xcb_change_window_attributes(m_connection, screen->root, XCB_CW_EVENT_MASK, &mask);
                std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
            }
            const int error = xcb_connection_has_error(m_connection);
            if (!error)
                return;
            xcb_disconnect(m_connection);
            if (attempt == 50)
                throw std::runtime_error("cannot reach the X display (xcb error " + std::to_string(error) + ")");
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    ~MapWatcher() { xcb_disconnect(m_connection); }
    MapWatcher(const MapWatcher&) = delete;
    MapWatcher& operator=(const MapWatcher&) = delete;

    // Waits for a top-level window of that title to be mapped and returns it, or 0 after the
    // time-out.
    xcb_window_t NextMapped(const std::string& title, std::chrono::milliseconds limit)
    {
        const auto end = Clock::now() + limit;
        while (Clock::now() < end) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
                const bool mapped = (event->response_type & 0x7F) == XCB_MAP_NOTIFY;
                const xcb_window_t window = reinterpret_cast<xcb_map_notify_event_t*>(event)->window;
                std::free(event);
                if (mapped && Title(window) == title)
                    return window;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        return 0;
    }

private:
    std::string Title(xcb_window_t window)
    {
        xcb_get_property_cookie_t asked = xcb_get_property(m_connection, 0, window, XCB_ATOM_WM_NAME,
                                                           XCB_GET_PROPERTY_TYPE_ANY, 0, 256);
        xcb_get_property_reply_t* reply = xcb_get_property_reply(m_connection, asked, nullptr);
        if (!reply)
            return {};
        std::string title(static_cast<const char*>(xcb_get_property_value(reply)),
                          static_cast<size_t>(xcb_get_property_value_length(reply)));
        std::free(reply);
        return title;
    }

    xcb_connection_t* m_connection = nullptr;
};

// A program started on the display, ended at the end of the measurement.
class Launched {
public:
    explicit Launched(const std::vector<std::string>& words) : m_pid(Spawn(words, nullptr)) {}
    ~Launched()
    {
        kill(m_pid, SIGKILL);
        int status = 0;
        waitpid(m_pid, &status, 0);
    }
    Launched(const Launched&) = delete;
    Launched& operator=(const Launched&) = delete;

    // The peak resident memory so far, in MiB.
    double PeakMiB() const
    {
        std::ifstream status("/proc/" + std::to_string(m_pid) + "/status");
        for (std::string line; std::getline(status, line);)
            if (line.starts_with("VmHWM:"))
                return std::stod(line.substr(6)) / 1024.0;
        throw std::runtime_error("no peak memory for the program");
    }

private:
    pid_t m_pid = 0;
};

// Starts the program and the minimal message-box program on the display, in turns, and compares
// the time until each shows its first message box and the peak memory of each once it shows what
// it shows at the start.
void DisplayFigures(const std::string& program, const std::string& minimal, const fs::path& home, bool quick)
{
    fs::create_directories(home / "Dropbox");
    setenv("HOME", home.c_str(), 1);
    const auto limit = std::chrono::milliseconds(15000);

    std::vector<double> memory;
    std::vector<double> memoryBaseline;
    const Side baseline = [&] {
        MapWatcher watcher;
        const auto begin = Clock::now();
        Launched launched({minimal});
        if (!watcher.NextMapped("Quorvane", limit))
            throw std::runtime_error("the minimal program showed no message box");
        const double elapsed = Milliseconds(Clock::now() - begin);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        memoryBaseline.push_back(launched.PeakMiB());
        return elapsed;
    };
    const Side quorvane = [&] {
        MapWatcher watcher;
        const auto begin = Clock::now();
        Launched launched({program});
        const xcb_window_t box = watcher.NextMapped("Quorvane", limit);
        if (!box)
            throw std::runtime_error("quorvane showed no start message");
        const double elapsed = Milliseconds(Clock::now() - begin);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        SpawnAndWait({"/usr/bin/xdotool", "key", "--window", std::to_string(box), "Return"});
        if (!watcher.NextMapped("Quorvane V. " QUORVANE_VERSION, limit))
            throw std::runtime_error("quorvane showed no window after its start message");
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        memory.push_back(launched.PeakMiB());
        return elapsed;
    };
    const auto starts = Interleaved(1, quick ? 2 : 16, {quorvane, baseline});
    // The warm-up's memory figures are left out with its times.
    memory.erase(memory.begin());
    memoryBaseline.erase(memoryBaseline.begin());
    Report("startup", starts[0], starts[1], 1.05);
    Report("memory", memory, memoryBaseline, 1.06);
}

// A private folder for the length of the run: the Qt programs' runtime folder, and the home of the
// programs started on the display.
class RunFolder {
public:
    RunFolder() : m_path(fs::temp_directory_path() / ("quorvane-bench-" + std::to_string(getpid())))
    {
        fs::create_directories(Runtime());
        fs::permissions(Runtime(), fs::perms::owner_all, fs::perm_options::replace);
    }
    ~RunFolder()
    {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;

    // The runtime folder that Qt asks for in XDG_RUNTIME_DIR.
    fs::path Runtime() const { return m_path / "runtime"; }
    // The home of the programs started on the display.
    fs::path Home() const { return m_path / "home"; }

private:
    fs::path m_path;
};

// The runtime and the table of entry points for the figures measured inside this process,
// released again when they end, also by a failure.
class RunningRuntime {
public:
    RunningRuntime()
    {
        RuntimeInit();
        _InitPluginEntrypoints();
    }
    ~RunningRuntime()
    {
        __plugin_entrypoints.Clear();
        RuntimeExit();
    }
    RunningRuntime(const RunningRuntime&) = delete;
    RunningRuntime& operator=(const RunningRuntime&) = delete;
};

} // namespace Quorvane::Bench

int main(int argc, char** argv)
{
    using namespace Quorvane;
    bool quick = false;
    std::string program;
    std::string minimal;
    for (int index = 1; index < argc; ++index) {
        const std::string argument = argv[index];
        if (argument == "--quick")
            quick = true;
        else if (argument == "--program" && index + 1 < argc)
            program = argv[++index];
        else if (argument == "--minimal" && index + 1 < argc)
            minimal = argv[++index];
    }
    // A display connection that the server drops must fail as an error that is reported, not
    // end the benchmark without a word.
    signal(SIGPIPE, SIG_IGN);
    try {
        Bench::RunFolder folder;
        const char* display = std::getenv("DISPLAY");
        const bool onDisplay = display && *display;
        // Everything runs on the display when there is one, whatever the caller's setting.
        setenv("QT_QPA_PLATFORM", onDisplay ? "xcb" : "offscreen", 1);
        setenv("XDG_RUNTIME_DIR", folder.Runtime().c_str(), 1);
        {
            Bench::RunningRuntime runtime;
            Bench::ShellFigures(quick);
            Bench::DropFigure(quick);
        }
        if (onDisplay && !program.empty() && !minimal.empty())
            Bench::DisplayFigures(program, minimal, folder.Home(), quick);
        else
            std::printf("no X display, or no --program and --minimal: startup and memory left out\n");
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "quorvane_bench: %s\n", failure.what());
        return 1;
    }
    return 0;
}
