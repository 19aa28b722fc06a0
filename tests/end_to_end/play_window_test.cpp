// The game in a real X window under a window manager, driven from the keyboard and the mouse:
// the picture, the cab display and the lever bands follow every size the window takes, the
// dialogs are whole however small the window, and the window survives many full-screen
// toggles. Skipped, saying why, only where Xvfb or xdotool cannot be run.

#include "real_window.h"

namespace {

using State = const nlohmann::json&;

std::function<bool(State)> Fills(int width, int height)
{
    return [=](State s) {
        return s.contains("device") && s["device"]["width"] == width && s["device"]["height"] == height &&
               s["picture"]["width"] == width && s["picture"]["height"] == height - s["picture"]["top"].get<int>();
    };
}

std::function<bool(State)> Controls(int throttle, int brake)
{
    return [=](State s) { return s.contains("player") && s["player"]["throttle"] == throttle && s["player"]["brake"] == brake; };
}

// Clicks at a share of the picture, which lies below the menu bar, until the levers show the
// controls wanted: a click that X hands over while the window is still being raised is lost.
bool ClickLever(const GameInWindow& game, double x, double y, int throttle, int brake)
{
    return WaitUntil([&] {
        nlohmann::json s = game.State();
        int width = s["picture"]["width"], height = s["picture"]["height"], top = s["picture"]["top"];
        game.Do("windowactivate --sync " + game.window + " mousemove --window " + game.window + " " +
                std::to_string(static_cast<int>(x * width)) + " " + std::to_string(top + static_cast<int>(y * height)) +
                " click 1");
        return game.WaitFor(Controls(throttle, brake), 2);
    }, 20);
}

// A key given to the game's window, and the state it must lead to.
bool Key(const GameInWindow& game, const std::string& key, const std::function<bool(State)>& then)
{
    game.Do("windowactivate --sync " + game.window + " key " + key);
    return game.WaitFor(then);
}

}  // namespace

TEST(PlayWindow, KeysLeversAndDialogsFollowEverySizeOfTheWindowAndItsManyChanges)
{
    ScratchFolder folder;
    VirtualDisplay display(folder);
    REQUIRE_REAL_DISPLAY(display);
    if (display.manager.pid == 0)
        GTEST_SKIP() << "openbox is needed to enforce the window's size hints (tools/setup.sh installs it)";
    GameInWindow game(display, folder, "--quit-after 300 --state-dump dump.json");
    ASSERT_FALSE(game.window.empty()) << game.why << ReadWholeFile(folder / "err.txt");
    ASSERT_TRUE(game.WaitFor(Fills(300, 300)));
    // Seven presses of keypad + release the brake, two more give notch 2; the train moves.
    for (int press = 1; press <= 9; ++press)
        ASSERT_TRUE(Key(game, "KP_Add", Controls(std::max(0, press - 7), std::min(1 + press, 8)))) << press;
    ASSERT_TRUE(game.WaitFor([](State s) { return s["player"]["odometer"].get<double>() > 0.0; }));
    // No smaller than 100 by 100 whatever is asked.
    game.Do("windowsize " + game.window + " 40 40");
    ASSERT_TRUE(game.WaitFor(Fills(100, 100)));

    for (auto [width, height] : {std::pair{100, 100}, std::pair{300, 300}, std::pair{1280, 720}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        game.Do("windowsize " + game.window + " " + std::to_string(width) + " " + std::to_string(height));
        ASSERT_TRUE(game.WaitFor(Fills(width, height)));
        // Both levers at their new places: full power, then full brake.
        EXPECT_TRUE(ClickLever(game, 0.97, 0.90, 5, 8));
        EXPECT_TRUE(ClickLever(game, 0.03, 0.72, 0, 1));

        // Each dialog shows whole, on the screen, in a window of its own where the game's is
        // too small, and Esc or Return closes it.
        struct DialogCase {
            const char *key, *title;
            int width, height;
            const char* close;
        };
        for (DialogCase dialog : {DialogCase{"F2", "Tagvind Options", 500, 300, "Escape"},
                                  DialogCase{"a", "About", 260, 100, "Return"},
                                  DialogCase{"F3", "Select New Direct3D Driver", 380, 150, "Escape"}}) {
            SCOPED_TRACE(dialog.title);
            bool ownWindow = width < dialog.width || height < dialog.height;
            ASSERT_TRUE(Key(game, dialog.key, [&](State s) { return s["app"]["isReady"] == 0 && s["dialogWindow"] == ownWindow; }));
            std::string window = game.window;
            if (ownWindow) {
                ASSERT_TRUE(WaitUntil([&] { return !(window = FindWindow(display, dialog.title)).empty(); }, 20));
                auto [dialogWidth, dialogHeight] = SizeOf(display, window);
                EXPECT_TRUE(dialogWidth >= dialog.width && dialogHeight >= dialog.height) << dialogWidth << "x" << dialogHeight;
            }
            game.Do("windowactivate --sync " + window + " key " + dialog.close);
            ASSERT_TRUE(game.WaitFor([](State s) { return s["app"]["isReady"] == 1 && s["dialogWindow"] == false; }));
        }
    }

    // Full screen and back fifty times, the window coming back at the size it had.
    for (int toggle = 0; toggle < 50; ++toggle) {
        ASSERT_TRUE(Key(game, "alt+Return", [&](State s) {
            return s.contains("device") && s["device"]["fullScreen"] == 1 - toggle % 2 && s["device"]["open"] == 1;
        })) << "toggle " << toggle << ": " << game.State().dump();
    }
    ASSERT_TRUE(game.WaitFor(Fills(1280, 720)));
    EXPECT_EQ(game.NativeWindow(), game.window);
    EXPECT_EQ(FindWindow(display, "Tagvind"), game.window);

    game.Do("key alt+F4");
    ASSERT_TRUE(WaitForEnd(game.pid(), 20)) << "the game did not close on Alt+F4";
    EXPECT_EQ(ReadWholeFile(folder / "err.txt"), "");
    auto dump = nlohmann::json::parse(ReadWholeFile(folder / "dump.json"), nullptr, false);
    EXPECT_EQ(dump.value("/final/picture/top"_json_pointer, 0), 19);
    EXPECT_NE(ReadWholeFile(folder / "out.txt").find("\"reachedDestination\""), std::string::npos);
}

TEST(PlayWindow, BrokenOpenGlShowsWhyInABoxThatEndsWithTheGame)
{
    ScratchFolder folder;
    VirtualDisplay display(folder);
    REQUIRE_REAL_DISPLAY(display);
    // Mesa finds no driver, so GLX refuses every context the game asks for.
    EndsProcess game{StartInBackground("cd '" + folder.path().string() + "' && exec env -u SDL_VIDEODRIVER DISPLAY=" +
                                           display.name + " SDL_AUDIODRIVER=dummy LIBGL_DRIVERS_PATH=/nonexistent '" +
                                           TAGVIND_EXECUTABLE + "' play --sound off >out.txt 2>err.txt",
                                       folder, "game")};
    // The box is a process of its own, which SDL forks from the game once the failure is on
    // stderr (the game forks briefly before, when it looks for a session bus).
    EndsProcess box{0};
    std::string err;
    ASSERT_TRUE(WaitUntil([&] {
        err = ReadWholeFile(folder / "err.txt");
        bool failed = err.find("This program will now exit.") != std::string::npos;
        return (failed && (box.pid = RunningChildOf(game.pid)) != 0) || !IsRunning(game.pid);
    }, 60));
    ASSERT_NE(box.pid, 0) << "the game ended without a box: " << err << ReadWholeFile(folder / "out.txt");
    size_t says = err.find("\nThe driver says: ");
    ASSERT_NE(says, std::string::npos) << err;
    // The driver's words, then the box's last sentence.
    EXPECT_GT(err.find("\n\nThis program will now exit.", says), says + 30) << err;
    EXPECT_EQ(err.find("X Error"), std::string::npos) << err;
    // Ended while the box is up, the game takes its box along.
    kill(game.pid, SIGTERM);
    EXPECT_TRUE(WaitForEnd(game.pid, 10)) << "the game waited on in its box";
    EXPECT_TRUE(WaitForEnd(box.pid, 10)) << "the box outlived the game";
}
