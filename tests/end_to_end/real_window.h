#pragma once
// The game in a real X window: Xvfb is the display, openbox its window manager (without one,
// size hints are never enforced), xdotool the person at the keyboard and mouse, and the game's
// live state file what the test watches. Every wait is for a state, with a time limit.

#include <chrono>
#include <csignal>
#include <cstdio>
#include <functional>
#include <thread>

#include <unistd.h>

#include "run_tagvind.h"

inline bool CanRun(const std::string& program) { return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0; }

// Starts a shell command in the background and returns its process id (0 when it failed). The
// command ends in `exec program`, so that the id is the program's.
inline pid_t StartInBackground(const std::string& command, const ScratchFolder& folder, const std::string& name)
{
    std::string pidFile = (folder / (name + ".pid")).string();
    if (std::system(("(" + command + ") & echo $! > '" + pidFile + "'").c_str()) != 0)
        return 0;
    pid_t pid = 0;
    std::ifstream(pidFile) >> pid;
    return pid;
}

// The fields of /proc/PID/stat after the program's name, which may hold anything but ends at the
// last ')': the state first, then the parent's id. "" when there is no such process.
inline std::string ProcessStatus(pid_t pid)
{
    std::string stat = ReadWholeFile("/proc/" + std::to_string(pid) + "/stat");
    size_t nameEnd = stat.rfind(')');
    return nameEnd == std::string::npos || nameEnd + 2 > stat.size() ? "" : stat.substr(nameEnd + 2);
}

// An ended process stays a zombie until its parent reaps it, and one started in the background
// is left to init, which in a container may never get to it: a zombie runs no more.
inline bool IsRunning(pid_t pid) { return pid > 0 && kill(pid, 0) == 0 && ProcessStatus(pid).rfind("Z", 0) != 0; }

// A process the given one started and that still runs; 0 while there is none.
inline pid_t RunningChildOf(pid_t parent)
{
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        pid_t pid = std::atoi(entry.path().filename().c_str()), parentOfPid = 0;
        char state = 'Z';
        if (pid > 0 && std::sscanf(ProcessStatus(pid).c_str(), "%c %d", &state, &parentOfPid) == 2 &&
            parentOfPid == parent && state != 'Z')
            return pid;
    }
    return 0;
}

// Polls until the condition holds; false when the time ran out first.
inline bool WaitUntil(const std::function<bool()>& condition, double seconds)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    for (; std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(std::chrono::milliseconds(20)))
        if (condition())
            return true;
    return condition();
}

inline bool WaitForEnd(pid_t pid, double seconds) { return WaitUntil([pid] { return !IsRunning(pid); }, seconds); }

// Ends the process at the end of the test if it is still running then.
struct EndsProcess {
    pid_t pid;
    int signal = SIGKILL;
    ~EndsProcess() { IsRunning(pid) && kill(pid, signal) == 0 && WaitForEnd(pid, 5); }
};

// An X server of our own, with openbox on it where installed. Xvfb picks a free display number
// itself and says which: tests running side by side never share one.
struct VirtualDisplay {
    std::string name, why;  // the display's name, or why it could not be started
    EndsProcess server{0, SIGTERM};
    EndsProcess manager{0, SIGTERM};

    explicit VirtualDisplay(const ScratchFolder& folder)
    {
        std::filesystem::path numberFile = folder / "display-number";
        server.pid = StartInBackground("exec Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>'" +
                                           numberFile.string() + "' >'" + (folder / "xvfb.log").string() + "' 2>&1",
                                       folder, "xvfb");
        std::string number;
        WaitUntil([&] { return (number = ReadWholeFile(numberFile)).find('\n') != std::string::npos || !ready(); }, 10);
        if (!ready() || number.find('\n') == std::string::npos) {
            why = ReadWholeFile(folder / "xvfb.log");
            return;
        }
        name = ":" + number.substr(0, number.find('\n'));
        if (CanRun("openbox")) {
            manager.pid = StartInBackground("exec env DISPLAY=" + name + " openbox >/dev/null 2>&1", folder, "wm");
            // A window mapped before the manager is up is never managed as the game expects.
            if (CanRun("wmctrl"))
                WaitUntil([&] { return std::system(("DISPLAY=" + name + " wmctrl -m >/dev/null 2>&1").c_str()) == 0; }, 10);
        }
    }
    bool ready() const { return IsRunning(server.pid); }
};

#define REQUIRE_REAL_DISPLAY(display)                                                          \
    if (!CanRun("Xvfb") || !CanRun("xdotool"))                                                 \
        GTEST_SKIP() << "Xvfb and xdotool are needed (tools/setup.sh installs them)";          \
    if ((display).name.empty())                                                                \
        GTEST_SKIP() << "Xvfb could not be started: " << (display).why;

// Runs xdotool on the display; returns what it printed on stdout (its complaints about
// window-manager properties are noise), without the trailing line end.
inline std::string Xdotool(const VirtualDisplay& display, const std::string& arguments)
{
    ScratchFolder capture;
    std::string out = RunInFolder(capture, "DISPLAY=" + display.name + " timeout 20 xdotool " + arguments).out;
    return out.substr(0, out.find_last_not_of("\n ") + 1);
}

// The first window whose whole title is the one given, or "" while there is none.
inline std::string FindWindow(const VirtualDisplay& display, const std::string& title)
{
    std::string found = Xdotool(display, "search --name '^" + title + "$'");
    return found.substr(0, found.find('\n'));
}

// The window's width and height as the X server has them.
inline std::pair<int, int> SizeOf(const VirtualDisplay& display, const std::string& window)
{
    std::pair<int, int> size;
    std::sscanf(Xdotool(display, "getwindowgeometry --shell " + window).c_str(),
                "WINDOW=%*d X=%*d Y=%*d WIDTH=%d HEIGHT=%d", &size.first, &size.second);
    return size;
}

// The game started in a window on the display, past its first options dialog, with its live
// state watched.
struct GameInWindow {
    const VirtualDisplay& display;
    std::filesystem::path live;
    EndsProcess process{0};
    std::string window;  // the X11 window the game draws into; "" when it never came
    std::string why;     // what went wrong then

    GameInWindow(const VirtualDisplay& shownOn, const ScratchFolder& folder, const std::string& arguments)
        : display(shownOn), live(folder / "live.json")
    {
        // Other tests of this process may have pointed SDL at its offscreen driver.
        process.pid = StartInBackground("cd '" + folder.path().string() + "' && exec env -u SDL_VIDEODRIVER DISPLAY=" +
                                            display.name + " SDL_AUDIODRIVER=dummy '" + TAGVIND_EXECUTABLE + "' play " +
                                            arguments + " --live-state live.json >out.txt 2>err.txt",
                                        folder, "game");
        std::string dialog;
        WaitUntil([&] { return !(dialog = FindWindow(display, "Tagvind Options")).empty() || !IsRunning(pid()); }, 60);
        // START with the Return key, again until the dialog has taken it: a key that comes
        // before the dialog's first frame is not seen. The game's window is the one the game
        // names in its state, whatever else a search finds.
        for (int press = 0; press < 40 && !dialog.empty() && window.empty() && IsRunning(pid()); ++press) {
            Do("windowactivate --sync " + dialog + " key Return");
            WaitUntil([&] { return !(window = NativeWindow()).empty(); }, 0.5);
        }
        why = dialog.empty() ? "the options dialog never came" : "windows now: " + Do("search --name Tagvind getwindowname %@");
        Do("windowactivate --sync " + window);
    }

    pid_t pid() const { return process.pid; }
    std::string NativeWindow() const
    {
        uint64_t native = State().value("/device/nativeWindow"_json_pointer, uint64_t{0});
        return native == 0 ? "" : std::to_string(native);
    }
    nlohmann::json State() const
    {
        auto state = nlohmann::json::parse(ReadWholeFile(live), nullptr, false);
        return state.is_object() ? state : nlohmann::json::object();
    }
    bool WaitFor(const std::function<bool(const nlohmann::json&)>& condition, double seconds = 20) const
    {
        return WaitUntil([&] { return condition(State()); }, seconds);
    }
    std::string Do(const std::string& arguments) const { return Xdotool(display, arguments); }
};
