// The game in a real X window under a window manager, driven from the keyboard and the mouse:
// the picture, the cab display and the lever bands follow every size the window takes, the
// dialogs are whole however small the window, and the window survives many resizes and
// full-screen toggles. Skipped, saying why, only where Xvfb or xdotool cannot be run.

#include "real_window.h"

namespace {

#define REQUIRE_REAL_DISPLAY(display)                                                          \
    if (!CanRun("Xvfb") || !CanRun("xdotool"))                                                 \
        GTEST_SKIP() << "Xvfb and xdotool are needed (tools/setup.sh installs them)";          \
    if (!(display).ready())                                                                    \
        GTEST_SKIP() << "Xvfb could not be started: " << (display).why();

bool PictureFills(const nlohmann::json& state, int width, int height)
{
    if (!state.contains("device"))
        return false;
    int top = state["picture"]["top"];
    return state["device"]["width"] == width && state["device"]["height"] == height &&
           state["picture"]["width"] == width && state["picture"]["height"] == height - top;
}

// A click at a share of the picture, which lies below the menu bar.
std::string ClickInPicture(const GameInWindow& game, const nlohmann::json& state, double x, double y)
{
    int width = state["picture"]["width"];
    int height = state["picture"]["height"];
    int top = state["picture"]["top"];
    return "mousemove --window " + game.window() + " " + std::to_string(static_cast<int>(x * width)) + " " +
           std::to_string(top + static_cast<int>(y * height)) + " click 1";
}

bool Controls(const nlohmann::json& state, int throttle, int brake)
{
    return state.contains("player") && state["player"]["throttle"] == throttle && state["player"]["brake"] == brake;
}

}  // namespace

TEST(PlayWindow, PlaysInARealWindowWithTheKeyboardAndTheMouse)
{
    ScratchFolder folder;
    VirtualDisplay display(folder);
    REQUIRE_REAL_DISPLAY(display);
    GameInWindow game(display, folder, "--window 640x480 --quit-after 60 --state-dump dump.json");
    ASSERT_FALSE(game.window().empty()) << game.why() << ReadWholeFile(folder / "err.txt");
    ASSERT_TRUE(game.WaitFor([](const nlohmann::json& s) { return PictureFills(s, 640, 480); }));

    // Nine presses of keypad + release the brake and give notch 2; the train moves.
    game.Do("mousemove --window " + game.window() + " 320 200");
    game.Do("key --delay 40 KP_Add KP_Add KP_Add KP_Add KP_Add KP_Add KP_Add KP_Add KP_Add");
    ASSERT_TRUE(game.WaitFor([](const nlohmann::json& s) {
        return Controls(s, 2, 8) && s["player"]["odometer"].get<double>() > 0.0;
    }));
    // The brake lever at 72 % of the picture: full brake, no power.
    game.Do(ClickInPicture(game, game.State(), 0.03, 0.72));
    ASSERT_TRUE(game.WaitFor([](const nlohmann::json& s) { return Controls(s, 0, 1); })) << game.State().dump();

    // The menus from the keyboard alone: Alt to the bar, down the Menu to "Toggle View", Enter;
    // Shift+F10 opens the pop-up menu and Esc closes it.
    auto menuOpen = [](int open) {
        return [open](const nlohmann::json& s) { return s["session"]["menuOpen"] == open; };
    };
    game.Do("key alt");
    ASSERT_TRUE(game.WaitFor(menuOpen(1)));
    game.Do("key --delay 60 Down Down Down Down Down Return");
    ASSERT_TRUE(game.WaitFor([](const nlohmann::json& s) { return s["app"]["viewMode"] == 1; }));
    ASSERT_TRUE(game.WaitFor(menuOpen(0)));
    game.Do("key shift+F10");
    ASSERT_TRUE(game.WaitFor(menuOpen(1)));
    game.Do("key Escape");
    ASSERT_TRUE(game.WaitFor(menuOpen(0)));

    game.Do("key alt+F4");
    ASSERT_TRUE(WaitForEnd(game.pid(), 20)) << "the game did not close on Alt+F4";

    auto dump = nlohmann::json::parse(ReadWholeFile(folder / "dump.json"), nullptr, false);
    ASSERT_FALSE(dump.is_discarded()) << ReadWholeFile(folder / "err.txt");
    EXPECT_EQ(dump["final"]["picture"]["top"], 19);
    std::string out = ReadWholeFile(folder / "out.txt");
    EXPECT_NE(out.find("\"reachedDestination\""), std::string::npos) << out;
}

TEST(PlayWindow, PictureLeversAndDialogsFollowEverySizeOfTheWindow)
{
    ScratchFolder folder;
    VirtualDisplay display(folder);
    REQUIRE_REAL_DISPLAY(display);
    if (!display.hasWindowManager())
        GTEST_SKIP() << "openbox is needed to enforce the window's size hints (tools/setup.sh installs it)";
    GameInWindow game(display, folder, "--quit-after 120");
    ASSERT_FALSE(game.window().empty()) << game.why() << ReadWholeFile(folder / "err.txt");
    // The first size, and no smaller than 100 by 100 whatever is asked.
    ASSERT_TRUE(game.WaitFor([](const nlohmann::json& s) { return PictureFills(s, 300, 300); }));
    game.Do("windowsize " + game.window() + " 40 40");
    ASSERT_TRUE(game.WaitFor([](const nlohmann::json& s) { return PictureFills(s, 100, 100); }));

    struct Size {
        int width, height;
    };
    for (Size size : {Size{100, 100}, Size{300, 300}, Size{1280, 720}}) {
        SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
        game.Do("windowsize " + game.window() + " " + std::to_string(size.width) + " " + std::to_string(size.height));
        ASSERT_TRUE(game.WaitFor([&](const nlohmann::json& s) { return PictureFills(s, size.width, size.height); }));
        // Both levers at their new places: full power, then full brake.
        game.Do(ClickInPicture(game, game.State(), 0.97, 0.90));
        EXPECT_TRUE(game.WaitFor([](const nlohmann::json& s) { return Controls(s, 5, 8); }));
        game.Do(ClickInPicture(game, game.State(), 0.03, 0.72));
        EXPECT_TRUE(game.WaitFor([](const nlohmann::json& s) { return Controls(s, 0, 1); }));

        // Each dialog shows whole, on the screen, in a window of its own where the game's is
        // too small, and Esc or Return closes it.
        struct DialogCase {
            const char* key;
            const char* title;
            int width, height;
            const char* close;
        };
        for (DialogCase dialog : {DialogCase{"F2", "Tagvind Options", 500, 300, "Escape"},
                                  DialogCase{"a", "About", 260, 100, "Return"},
                                  DialogCase{"F3", "Select New Direct3D Driver", 380, 150, "Escape"}}) {
            SCOPED_TRACE(dialog.title);
            bool ownWindow = size.width < dialog.width || size.height < dialog.height;
            game.Do("windowactivate --sync " + game.window() + " key " + dialog.key);
            ASSERT_TRUE(game.WaitFor([&](const nlohmann::json& s) {
                return s["app"]["isReady"] == 0 && s["dialogWindow"] == ownWindow;
            }));
            if (ownWindow) {
                std::string window;
                ASSERT_TRUE(WaitUntil([&] { return !(window = FindWindow(display, dialog.title)).empty(); }, 20));
                WindowGeometry geometry = GeometryOf(display, window);
                EXPECT_GE(geometry.width, dialog.width);
                EXPECT_GE(geometry.height, dialog.height);
                EXPECT_GE(geometry.x, 0);
                EXPECT_GE(geometry.y, 0);
                EXPECT_LE(geometry.x + geometry.width, 1600);
                EXPECT_LE(geometry.y + geometry.height, 1000);
                game.Do("windowactivate --sync " + window + " key " + dialog.close);
            } else {
                game.Do(std::string("key ") + dialog.close);
            }
            ASSERT_TRUE(game.WaitFor([](const nlohmann::json& s) {
                return s["app"]["isReady"] == 1 && s["dialogWindow"] == false;
            }));
        }
    }

    // Maximised the picture fills the screen's work area; restored it has its old size again.
    if (CanRun("wmctrl")) {
        std::string maximise = "DISPLAY=" + display.name() + " wmctrl -i -r " + game.window() + " -b ";
        ASSERT_EQ(std::system((maximise + "add,maximized_vert,maximized_horz").c_str()), 0);
        ASSERT_TRUE(game.WaitFor([](const nlohmann::json& s) {
            int width = s["device"]["width"];
            int height = s["device"]["height"];
            return width > 1500 && height > 900 && PictureFills(s, width, height);
        })) << game.State().dump();
        game.Do(ClickInPicture(game, game.State(), 0.97, 0.90));
        EXPECT_TRUE(game.WaitFor([](const nlohmann::json& s) { return Controls(s, 5, 8); }));
        ASSERT_EQ(std::system((maximise + "remove,maximized_vert,maximized_horz").c_str()), 0);
        ASSERT_TRUE(game.WaitFor([](const nlohmann::json& s) { return PictureFills(s, 1280, 720); }));
    }

    // Full screen and back: the window comes back at the size it had.
    game.Do("windowactivate --sync " + game.window() + " key alt+Return");
    ASSERT_TRUE(game.WaitFor([](const nlohmann::json& s) { return s["device"]["fullScreen"] == 1; }));
    game.Do("key alt+Return");
    ASSERT_TRUE(game.WaitFor([](const nlohmann::json& s) { return PictureFills(s, 1280, 720); }));
}

TEST(PlayWindow, TheWindowSurvivesManyResizesAndFullScreenToggles)
{
    ScratchFolder folder;
    VirtualDisplay display(folder);
    REQUIRE_REAL_DISPLAY(display);
    GameInWindow game(display, folder, "--quit-after 300");
    ASSERT_FALSE(game.window().empty()) << game.why() << ReadWholeFile(folder / "err.txt");
    ASSERT_TRUE(game.WaitFor([](const nlohmann::json& s) { return PictureFills(s, 300, 300); }));

    // 200 sizes, ten at a time as fast as xdotool gives them, each batch followed to its end.
    int width = 0;
    int height = 0;
    for (int resize = 0; resize < 200; ++resize) {
        width = 200 + (resize * 37) % 500;
        height = 150 + (resize * 53) % 400;
        game.Do("windowsize " + game.window() + " " + std::to_string(width) + " " + std::to_string(height));
        if (resize % 10 == 9) {
            ASSERT_TRUE(game.WaitFor([&](const nlohmann::json& s) { return PictureFills(s, width, height); }))
                << "resize " << resize << ": " << game.State().dump();
        }
    }
    for (int toggle = 0; toggle < 50; ++toggle) {
        int fullScreen = toggle % 2 == 0 ? 1 : 0;
        game.Do("windowactivate --sync " + game.window() + " key alt+Return");
        ASSERT_TRUE(game.WaitFor([&](const nlohmann::json& s) {
            return s.contains("device") && s["device"]["fullScreen"] == fullScreen && s["device"]["open"] == 1;
        })) << "toggle " << toggle << ": " << game.State().dump();
    }
    // Still there, in its window, at the size last asked for.
    ASSERT_TRUE(game.WaitFor([&](const nlohmann::json& s) { return PictureFills(s, width, height); }));
    EXPECT_TRUE(IsRunning(game.pid()));
    EXPECT_EQ(game.NativeWindow(), game.window());
    EXPECT_EQ(FindWindow(display, "Tagvind"), game.window());
    EXPECT_EQ(ReadWholeFile(folder / "err.txt"), "");
}

TEST(PlayWindow, BrokenOpenGlShowsWhyInABoxThatEndsWithTheGame)
{
    ScratchFolder folder;
    VirtualDisplay display(folder);
    REQUIRE_REAL_DISPLAY(display);
    // Mesa finds no driver, so GLX refuses every context the game asks for.
    pid_t game = StartInBackground("cd '" + folder.path().string() + "' && exec env -u SDL_VIDEODRIVER DISPLAY=" +
                                       display.name() + " SDL_AUDIODRIVER=dummy LIBGL_DRIVERS_PATH=/nonexistent '" +
                                       TAGVIND_EXECUTABLE + "' play --sound off >out.txt 2>err.txt",
                                   folder, "game");
    EndsProcess endsGame{game};
    // The box is a process of its own, which SDL forks from the game once the failure is on
    // stderr (the game forks briefly before, when it looks for a session bus).
    pid_t box = 0;
    std::string err;
    ASSERT_TRUE(WaitUntil([&] {
        err = ReadWholeFile(folder / "err.txt");
        bool failed = err.find("This program will now exit.") != std::string::npos;
        return (failed && (box = RunningChildOf(game)) != 0) || !IsRunning(game);
    }, 60));
    EndsProcess endsBox{box};
    ASSERT_NE(box, 0) << "the game ended without a box: " << err << ReadWholeFile(folder / "out.txt");
    size_t says = err.find("\nThe driver says: ");
    ASSERT_NE(says, std::string::npos) << err;
    // The driver's words, then the box's last sentence.
    EXPECT_GT(err.find("\n\nThis program will now exit.", says), says + 30) << err;
    EXPECT_EQ(err.find("X Error"), std::string::npos) << err;
    // Ended while the box is up, the game takes its box along.
    kill(game, SIGTERM);
    EXPECT_TRUE(WaitForEnd(game, 10)) << "the game waited on in its box";
    EXPECT_TRUE(WaitForEnd(box, 10)) << "the box outlived the game";
}
