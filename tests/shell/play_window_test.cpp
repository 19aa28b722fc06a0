// The game in a real X window: Xvfb is the display and xdotool the person at the keyboard and
// mouse. Skipped, saying why, only where Xvfb or xdotool cannot be run.

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <string>

#include <sys/types.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "run_tagvind.h"

namespace {

bool CanRun(const char* program)
{
    std::string command = std::string("command -v ") + program + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

// Starts a shell command in the background and returns its process id (0 when it failed). The
// command ends in `exec program`, so that the id is the program's.
pid_t StartInBackground(const std::string& command, const ScratchFolder& folder, const std::string& name)
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

bool IsRunning(pid_t pid)
{
    return pid > 0 && kill(pid, 0) == 0;
}

bool WaitForEnd(pid_t pid, int seconds)
{
    for (int tenth = 0; tenth < seconds * 10; ++tenth) {
        if (!IsRunning(pid))
            return true;
        usleep(100000);
    }
    return false;
}

// An X server of our own on a display number nobody uses.
class VirtualDisplay {
public:
    explicit VirtualDisplay(const ScratchFolder& folder)
    {
        for (int number = 97; number < 140; ++number) {
            std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
            std::string lock = "/tmp/.X" + std::to_string(number) + "-lock";
            if (access(socket.c_str(), F_OK) == 0 || access(lock.c_str(), F_OK) == 0)
                continue;
            name_ = ":" + std::to_string(number);
            pid_ = StartInBackground("exec Xvfb " + name_ + " -screen 0 1024x768x24 -nolisten tcp >'" +
                                         (folder / "xvfb.log").string() + "' 2>&1",
                                     folder, "xvfb");
            for (int tenth = 0; tenth < 100 && IsRunning(pid_); ++tenth) {
                if (access(socket.c_str(), F_OK) == 0) {
                    ready_ = true;
                    return;
                }
                usleep(100000);
            }
            why_ = ReadWholeFile(folder / "xvfb.log");
            return;
        }
        why_ = "no free display number";
    }
    ~VirtualDisplay()
    {
        if (IsRunning(pid_)) {
            kill(pid_, SIGTERM);
            WaitForEnd(pid_, 5);
        }
    }

    bool ready() const { return ready_; }
    const std::string& why() const { return why_; }
    const std::string& name() const { return name_; }

private:
    std::string name_;
    pid_t pid_ = 0;
    bool ready_ = false;
    std::string why_;
};

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

// Runs xdotool on the display; returns what it printed.
std::string Xdotool(const VirtualDisplay& display, const std::string& arguments)
{
    ScratchFolder capture;
    std::string command = "DISPLAY=" + display.name() + " timeout 20 xdotool " + arguments + " >'" +
                          (capture / "out").string() + "' 2>&1";
    std::system(command.c_str());
    std::string out = ReadWholeFile(capture / "out");
    while (!out.empty() && (out.back() == '\n' || out.back() == ' '))
        out.pop_back();
    return out;
}

}  // namespace

TEST(PlayWindow, PlaysInARealWindowWithTheKeyboardAndTheMouse)
{
    if (!CanRun("Xvfb") || !CanRun("xdotool"))
        GTEST_SKIP() << "Xvfb and xdotool are needed (tools/setup.sh installs them)";
    ScratchFolder folder;
    VirtualDisplay display(folder);
    if (!display.ready())
        GTEST_SKIP() << "Xvfb could not be started: " << display.why();

    // Other tests of this process may have pointed SDL at its offscreen driver.
    pid_t game = StartInBackground("cd '" + folder.path().string() + "' && exec env -u SDL_VIDEODRIVER DISPLAY=" +
                                       display.name() + " SDL_AUDIODRIVER=dummy '" + TAGVIND_EXECUTABLE +
                                       "' play --window 640x480 --quit-after 60 --state-dump dump.json "
                                       ">out.txt 2>err.txt",
                                   folder, "game");
    ASSERT_GT(game, 0);
    EndsProcess endsGame{game};

    // The options dialog comes first, in a window of its own: START with the Return key.
    std::string dialog = Xdotool(display, "search --sync --name '^Tagvind Options$'");
    ASSERT_FALSE(dialog.empty()) << ReadWholeFile(folder / "err.txt");
    Xdotool(display, "mousemove --window " + dialog + " 60 60");
    Xdotool(display, "key --delay 50 Return");

    // Then the game's window: nine presses of keypad + release the brake and give notch 2.
    std::string window = Xdotool(display, "search --sync --name '^Tagvind$'");
    ASSERT_FALSE(window.empty()) << ReadWholeFile(folder / "err.txt");
    usleep(1500000);
    Xdotool(display, "mousemove --window " + window + " 320 200");
    Xdotool(display, "key --delay 80 KP_Add KP_Add KP_Add KP_Add KP_Add KP_Add KP_Add KP_Add KP_Add");
    usleep(1000000);
    // The brake lever at 72 % of the picture, which starts below the 19 rows of the menu bar.
    Xdotool(display, "mousemove --window " + window + " 19 351 click 1");
    usleep(1000000);
    Xdotool(display, "key alt+F4");
    ASSERT_TRUE(WaitForEnd(game, 20)) << "the game did not close on Alt+F4";

    auto dump = nlohmann::json::parse(ReadWholeFile(folder / "dump.json"), nullptr, false);
    ASSERT_FALSE(dump.is_discarded()) << ReadWholeFile(folder / "err.txt");
    const nlohmann::json& final = dump["final"];
    EXPECT_EQ(final["app"]["gameStarted"], 1);
    EXPECT_EQ(final["app"]["windowed"], 1);
    EXPECT_EQ(final["picture"]["top"], 19);
    EXPECT_EQ(final["picture"]["height"], 461);
    EXPECT_GT(final["session"]["framesRun"].get<int>(), 10);
    // The click came after the keys: full brake, no power.
    EXPECT_EQ(final["player"]["brake"], 1);
    EXPECT_EQ(final["player"]["throttle"], 0);
    // The train moved under notch 2 before the brake went on.
    EXPECT_GT(final["player"]["odometer"].get<double>(), 0.0);
    std::string out = ReadWholeFile(folder / "out.txt");
    EXPECT_NE(out.find("\"reachedDestination\""), std::string::npos) << out;
}
