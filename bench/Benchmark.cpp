// Measures what a drop, a start and the shell service cost, each against a baseline measured in
// the same run, and prints one line per figure:
//   figure: NAME median=VALUE baseline=VALUE ratio=R target=T
// Times are in milliseconds, memory in MiB. The start-up and memory figures need an X display
// (DISPLAY); without one they are left out. Exits non-zero only when a figure could not be measured.

#include "app/PluginEntrypoints.h"
#include "framework/MsgBox.h"
#include "framework/Runtime.h"
#include "linking/Shell.h"
#include "tests/support/OpenedWindow.h"
#include "tests/support/Support.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <signal.h>
#include <spawn.h>
#include <string>
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

std::vector<double> Repeat(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        work();
        times.push_back(Milliseconds(Clock::now() - start));
    }
    return times;
}

String Execute(const String& command)
{
    Ref<Shell> shell = RuntimeNewObject<Shell>();
    shell->Mode(0);
    shell->Execute(command);
    return shell->Result();
}

void ShellFigures(int runs)
{
    const std::vector<std::string> bashTrue = {"/bin/bash", "-c", "true"};
    std::vector<double> baseline;
    std::vector<double> measured;
    // Interleaved, so that both see the same state of a busy machine.
    for (int run = 0; run < runs; ++run) {
        baseline.push_back(Repeat(1, [&] { SpawnAndWait(bashTrue); })[0]);
        measured.push_back(Repeat(1, [] { Execute("true"); })[0]);
    }
    Report("shell_overhead", measured, baseline, 1.10);

    const std::string produce = "head -c 67108864 /dev/zero";
    baseline.clear();
    measured.clear();
    for (int run = 0; run < std::max(3, runs / 40); ++run) {
        baseline.push_back(Repeat(1, [&] { SpawnAndWait({"/bin/bash", "-c", produce + " >/dev/null"}); })[0]);
        measured.push_back(Repeat(1, [&] {
            if (Execute(produce).size() != 67108864u)
                throw std::runtime_error("the output did not arrive whole");
        })[0]);
    }
    Report("shell_output", measured, baseline, 1.25);
}

// Drops folders on the logo of a window opened as the program opens it, and times each drop from
// the moment Qt's drop event reaches the window to the moment the outcome's message box is shown.
void DropFigure(int runs)
{
    Testing::TemporaryHome home;
    home.MakeDropbox();
    Testing::OpenedWindow opened;
    std::optional<Clock::time_point> shown;
    String lastText;
    MessageBoxWatcher previous = SetMessageBoxWatcher([&](const String& text) {
        shown = Clock::now();
        lastText = text;
    });
    const auto at = opened.OnCanvas({150, 50});

    std::vector<double> measured;
    std::vector<double> baseline;
    for (int run = 0; run < runs; ++run) {
        const String dropped = home.Outside() / ("Folder " + std::to_string(run));
        fs::create_directory(dropped);
        const auto data = Testing::LocalEntries({dropped});
        Testing::DragOver(opened.TopLevel(), at, *data);
        shown.reset();
        const auto start = Clock::now();
        Testing::DropAt(opened.TopLevel(), at, *data);
        while (!shown)
            Testing::ProcessEvents();
        measured.push_back(Milliseconds(*shown - start));
        if (lastText != "Collegamento alla cartella creato correttamente in DropBox")
            throw std::runtime_error("a drop ended with \"" + lastText + "\"");
        baseline.push_back(Repeat(1, [] { SpawnAndWait({"/bin/bash", "-c", "true"}); })[0]);
    }
    Report("drop_handling", measured, baseline, 2.30);
    SetMessageBoxWatcher(std::move(previous));
}

// Watches the X display for the top-level windows that programs map.
class MapWatcher {
public:
    MapWatcher() : m_connection(xcb_connect(nullptr, nullptr))
    {
        // A display that has just started may turn the first connection away; it is asked again.
        for (int attempt = 0; attempt < 50 && xcb_connection_has_error(m_connection); ++attempt) {
            xcb_disconnect(m_connection);
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            m_connection = xcb_connect(nullptr, nullptr);
        }
        if (int error = xcb_connection_has_error(m_connection))
            throw std::runtime_error("cannot reach the X display (xcb error " + std::to_string(error) + ")");
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, screen->root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_connection);
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

public:

private:
    xcb_connection_t* m_connection;
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
    pid_t Pid() const { return m_pid; }

private:
    pid_t m_pid = 0;
};

void DisplayFigures(const std::string& program, const std::string& minimal, int runs)
{
    const fs::path home = fs::temp_directory_path() / ("quorvane-bench-home-" + std::to_string(getpid()));
    fs::create_directories(home / "Dropbox");
    setenv("HOME", home.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);

    std::vector<double> start;
    std::vector<double> startBaseline;
    std::vector<double> memory;
    std::vector<double> memoryBaseline;
    const auto limit = std::chrono::milliseconds(15000);
    for (int run = 0; run < runs; ++run) {
        {
            MapWatcher watcher;
            const auto begin = Clock::now();
            Launched baseline({minimal});
            if (!watcher.NextMapped("Quorvane", limit))
                throw std::runtime_error("the minimal program showed no message box");
            startBaseline.push_back(Milliseconds(Clock::now() - begin));
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            memoryBaseline.push_back(baseline.PeakMiB());
        }
        {
            MapWatcher watcher;
            const auto begin = Clock::now();
            Launched quorvane({program});
            const xcb_window_t box = watcher.NextMapped("Quorvane", limit);
            if (!box)
                throw std::runtime_error("quorvane showed no start message");
            start.push_back(Milliseconds(Clock::now() - begin));
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            SpawnAndWait({"/usr/bin/xdotool", "key", "--window", std::to_string(box), "Return"});
            if (!watcher.NextMapped("Quorvane V. " QUORVANE_BENCH_VERSION, limit))
                throw std::runtime_error("quorvane showed no window after its start message");
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            memory.push_back(quorvane.PeakMiB());
        }
    }
    Report("startup", start, startBaseline, 1.30);
    Report("memory", memory, memoryBaseline, 1.20);
    fs::remove_all(home);
}

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
    try {
        const char* display = std::getenv("DISPLAY");
        const std::string shownOn = display ? display : "";
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        RuntimeInit();
        _InitPluginEntrypoints();
        Bench::ShellFigures(quick ? 40 : 400);
        Bench::DropFigure(quick ? 10 : 60);
        __plugin_entrypoints.Clear();
        RuntimeExit();
        if (!shownOn.empty() && !program.empty() && !minimal.empty()) {
            setenv("DISPLAY", shownOn.c_str(), 1);
            Bench::DisplayFigures(program, minimal, quick ? 2 : 10);
        } else {
            std::printf("no X display, or no --program and --minimal: startup and memory left out\n");
        }
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "quorvane_bench: %s\n", failure.what());
        return 1;
    }
    return 0;
}
