#pragma once
// The game in a real X window: Xvfb is the display, openbox its window manager (without one,
// size hints are never enforced), xdotool the person at the keyboard and mouse, and the game's
// live state file what the test watches. Every wait is for a state, with a time limit.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include <sys/types.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "run_tagvind.h"

inline bool CanRun(const char* program)
{
    std::string command = std::string("command -v ") + program + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

// Starts a shell command in the background and returns its process id (0 when it failed). The
// command ends in `exec program`, so that the id is the program's.
inline pid_t StartInBackground(const std::string& command, const ScratchFolder& folder, const std::string& name)
{
    std::string pidFile = (folder / (name + ".pid")).string();
    std::string line = "(" + command + ") & echo $! > '" + pidFile + "'";
    if (std::system(line.c_str()) != 0)
        return 0;
    std::ifstream file(pidFile);
    pid_t pid = 0;
    file >> pid;
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
inline bool IsRunning(pid_t pid)
{
    return pid > 0 && kill(pid, 0) == 0 && ProcessStatus(pid).rfind("Z", 0) != 0;
}

// A process the given one started and that still runs; 0 while there is none.
inline pid_t RunningChildOf(pid_t parent)
{
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        pid_t pid = std::atoi(entry.path().filename().c_str());
        std::istringstream fields(ProcessStatus(pid));
        std::string state;
        pid_t parentOfPid = 0;
        if (pid > 0 && fields >> state >> parentOfPid && parentOfPid == parent && state != "Z")
            return pid;
    }
    return 0;
}

// Polls until the condition holds; false when the time ran out first.
inline bool WaitUntil(const std::function<bool()>& condition, double seconds)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return condition();
}

inline bool WaitForEnd(pid_t pid, double seconds)
{
    return WaitUntil([pid] { return !IsRunning(pid); }, seconds);
}

// Ends the process at the end of the test if it is still running then.
struct EndsProcess {
    pid_t pid;
    ~EndsProcess()
    {
        if (IsRunning(pid)) {
            kill(pid, SIGKILL);
            WaitForEnd(pid, 5);
        }
    }
};

// An X server of our own, with openbox on it where installed.
class VirtualDisplay {
public:
    VirtualDisplay(const ScratchFolder& folder, const std::string& screen = "1600x1000x24")
    {
        // Xvfb picks a free display number itself and says which: tests running side by side
        // never share one.
        std::filesystem::path numberFile = folder / "display-number";
        server_ = StartInBackground("exec Xvfb -displayfd 3 -screen 0 " + screen + " -nolisten tcp 3>'" +
                                        numberFile.string() + "' >'" + (folder / "xvfb.log").string() + "' 2>&1",
                                    folder, "xvfb");
        std::string number;
        ready_ = WaitUntil([&] {
            number = ReadWholeFile(numberFile);
            return !IsRunning(server_) || number.find('\n') != std::string::npos;
        }, 10) && IsRunning(server_) && !number.empty();
        if (!ready_) {
            why_ = ReadWholeFile(folder / "xvfb.log");
            return;
        }
        name_ = ":" + number.substr(0, number.find('\n'));
        if (CanRun("openbox")) {
            manager_ = StartInBackground("exec env DISPLAY=" + name_ + " openbox >/dev/null 2>&1", folder, "wm");
            // A window mapped before the manager is up is never managed as the game expects.
            std::string managed = "DISPLAY=" + name_ + " wmctrl -m >/dev/null 2>&1";
            if (CanRun("wmctrl"))
                WaitUntil([&] { return std::system(managed.c_str()) == 0; }, 10);
        }
    }
    ~VirtualDisplay()
    {
        for (pid_t pid : {manager_, server_}) {
            if (IsRunning(pid)) {
                kill(pid, SIGTERM);
                WaitForEnd(pid, 5);
            }
        }
    }

    bool ready() const { return ready_; }
    bool hasWindowManager() const { return manager_ > 0; }
    const std::string& why() const { return why_; }
    const std::string& name() const { return name_; }

private:
    std::string name_;
    pid_t server_ = 0;
    pid_t manager_ = 0;
    bool ready_ = false;
    std::string why_;
};

// Runs xdotool on the display; returns what it printed.
inline std::string Xdotool(const VirtualDisplay& display, const std::string& arguments)
{
    ScratchFolder capture;
    // Only what it prints on stdout: its complaints about window-manager properties are noise.
    std::string command = "DISPLAY=" + display.name() + " timeout 20 xdotool " + arguments + " >'" +
                          (capture / "out").string() + "' 2>/dev/null";
    std::system(command.c_str());
    std::string out = ReadWholeFile(capture / "out");
    while (!out.empty() && (out.back() == '\n' || out.back() == ' '))
        out.pop_back();
    return out;
}

// The first window whose whole title is the one given, or "" while there is none.
inline std::string FindWindow(const VirtualDisplay& display, const std::string& title)
{
    std::string found = Xdotool(display, "search --name '^" + title + "$'");
    return found.substr(0, found.find('\n'));
}

struct WindowGeometry {
    int x = 0, y = 0, width = 0, height = 0;
};

inline WindowGeometry GeometryOf(const VirtualDisplay& display, const std::string& window)
{
    WindowGeometry geometry;
    std::string shell = Xdotool(display, "getwindowgeometry --shell " + window);
    std::istringstream lines(shell);
    std::string line;
    while (std::getline(lines, line)) {
        auto equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        std::string key = line.substr(0, equals);
        int value = std::atoi(line.c_str() + equals + 1);
        if (key == "X") geometry.x = value;
        if (key == "Y") geometry.y = value;
        if (key == "WIDTH") geometry.width = value;
        if (key == "HEIGHT") geometry.height = value;
    }
    return geometry;
}

// The game started in a window on the display, past its first options dialog, with its live
// state watched.
class GameInWindow {
public:
    GameInWindow(const VirtualDisplay& display, const ScratchFolder& folder, const std::string& arguments)
        : display_(display), live_(folder / "live.json")
    {
        // Other tests of this process may have pointed SDL at its offscreen driver.
        pid_ = StartInBackground("cd '" + folder.path().string() + "' && exec env -u SDL_VIDEODRIVER DISPLAY=" +
                                     display.name() + " SDL_AUDIODRIVER=dummy '" + TAGVIND_EXECUTABLE + "' play " +
                                     arguments + " --live-state live.json >out.txt 2>err.txt",
                                 folder, "game");
        std::string dialog;
        WaitUntil([&] { return !(dialog = FindWindow(display, "Tagvind Options")).empty() || !IsRunning(pid_); }, 60);
        if (dialog.empty()) {
            why_ = "the options dialog never came";
            return;
        }
        // START with the Return key, again until the dialog has taken it: a key that comes
        // before the dialog's first frame is not seen.
        // The game's window is the one the game names in its state, whatever else a search finds.
        for (int press = 0; press < 40 && window_.empty() && IsRunning(pid_); ++press) {
            Xdotool(display, "windowactivate --sync " + dialog + " key Return");
            WaitUntil([&] { return !(window_ = NativeWindow()).empty(); }, 0.5);
        }
        if (!window_.empty())
            Xdotool(display, "windowactivate --sync " + window_);
        else
            why_ = "dialog " + dialog + ", windows now: " + Xdotool(display, "search --name Tagvind getwindowname %@");
    }
    ~GameInWindow()
    {
        EndsProcess ends{pid_};
    }

    pid_t pid() const { return pid_; }
    const std::string& window() const { return window_; }
    // What went wrong when the game's window never came.
    const std::string& why() const { return why_; }

    // The X11 window the game draws into, as the game says; "" until it has one.
    std::string NativeWindow() const
    {
        nlohmann::json state = State();
        if (!state.contains("device") || state["device"]["nativeWindow"].get<uint64_t>() == 0)
            return "";
        return std::to_string(state["device"]["nativeWindow"].get<uint64_t>());
    }

    nlohmann::json State() const
    {
        auto state = nlohmann::json::parse(ReadWholeFile(live_), nullptr, false);
        return state.is_object() ? state : nlohmann::json::object();
    }
    // Waits until the live state satisfies the condition.
    bool WaitFor(const std::function<bool(const nlohmann::json&)>& condition, double seconds = 20) const
    {
        return WaitUntil([&] { return condition(State()); }, seconds);
    }
    std::string Do(const std::string& arguments) const { return Xdotool(display_, arguments); }

private:
    const VirtualDisplay& display_;
    std::filesystem::path live_;
    pid_t pid_ = 0;
    std::string window_;
    std::string why_;
};
