#include "shell/window_procedure.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "fake_shell_platform.h"

namespace {

WindowEvent Key(int32_t key, uint32_t modifiers = ModifierNone)
{
    WindowEvent event{WindowEventKind::KeyDown};
    event.key = key;
    event.modifiers = modifiers;
    return event;
}

WindowEvent At(WindowEventKind kind, int32_t x = 0, int32_t y = 0)
{
    WindowEvent event{kind};
    event.x = x;
    event.y = y;
    return event;
}

void Send(StartedGame& started, const WindowEvent& event)
{
    HandleWindowEvent(started.game(), started.platform(), event);
}

}  // namespace

TEST(WindowProcedure, KeysPauseResumeOrOpenWhatTheyStandFor)
{
    struct Case {
        WindowEvent event;
        int32_t pauseBefore, pauseAfter;
        std::string logged;  // the platform's first call, "" for none
    };
    // P twice asks for a resume at the next frame; Control+P is no accelerator, so it resumes.
    const Case cases[] = {
        {Key('P'), 0, 1, ""}, {Key('P', ModifierShift), 0, 1, ""}, {Key('P'), 1, 2, ""},
        {Key('P', ModifierControl), 1, 0, ""}, {Key(KeySpace), 1, 0, ""}, {Key(KeyKeypad5), 1, 0, ""},
        {Key('S'), 1, 1, ""}, {Key('T'), 1, 1, ""}, {Key(KeyF8), 1, 1, ""}, {Key(KeyKeypad1), 1, 1, ""},
        {Key(KeyKeypad9), 1, 1, ""}, {Key(KeyKeypadDivide), 1, 1, ""}, {Key('X', ModifierAlt), 1, 1, ""},
        {Key(KeyF10), 1, 1, ""}, {Key(KeyF4), 0, 0, ""}, {Key(KeyEscape), 0, 2, "options RESTART"},
        {Key(KeyF2), 1, 2, "options RESTART"}, {Key('A'), 0, 2, "about"}, {Key(KeyF3), 0, 2, "device dialog windowed=1"},
        {Key(KeyF1), 0, 1, "help"}, {Key(KeyF4, ModifierAlt), 0, 0, "close"},
        {Key(KeyReturn, ModifierAlt), 0, 0, "reopen windowed=0 ready=0"}, {Key(KeyF10, ModifierShift), 0, 1, "popup -1,-1"},
        {Key(KeyApplication), 0, 1, "popup -1,-1"}, {At(WindowEventKind::ContextMenu, 300, 200), 0, 1, "popup 300,200"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("key " + std::to_string(c.event.key) + " pause " + std::to_string(c.pauseBefore));
        StartedGame started = StartGameForTest();
        auto [platform, app] = std::tie(started.platform(), started.app());
        platform.dialogMs = 2500;
        platform.optionsScript = [](OptionsDialog& dialog, GameOptions&, GameRandom&, AppState&) { PressCancel(dialog); };
        app.pauseCount = c.pauseBefore;
        uint32_t clockStart = app.clockStartMs;
        Send(started, c.event);
        EXPECT_EQ(std::make_pair(app.pauseCount, platform.log.empty() ? "" : platform.log.front()),
                  std::make_pair(c.pauseAfter, c.logged));
        // A dialog's time stays off the game clock.
        bool modal = c.logged.starts_with("options") || c.logged == "about" || c.logged.starts_with("device");
        EXPECT_EQ(app.clockStartMs, clockStart + (modal ? 2500u : 0u));
        EXPECT_EQ(platform.appDuringDialogs.size(), modal ? 1u : 0u);
        for (const AppState& during : platform.appDuringDialogs)
            EXPECT_EQ(std::make_tuple(during.pauseCount, during.isReady), std::make_tuple(1, 0));
        // Ready again, and back at the same run with Cancel; only S switches the sound.
        EXPECT_EQ(std::make_tuple(app.isReady, started.game().runsStarted, app.soundOn),
                  std::make_tuple(1, 1, c.event.key == 'S' ? 0 : 1));
    }
    StartedGame started = StartGameForTest();
    for (auto [key, view, shown] : {std::tuple{KeyF9, ViewOutside, 1}, {KeyF5, ViewOutside, 0}, {KeyF9, ViewCab, 0}}) {
        Send(started, Key(key));
        EXPECT_EQ(std::make_pair(started.app().viewMode, int32_t{started.app().showDistanceScore}), std::make_pair(view, shown));
    }
}

TEST(WindowProcedure, LeverClicksSetTheControlsByBand)
{
    struct Case {
        int32_t x, y;  // on an 800 x 600 picture, unless it was never measured
        int32_t throttle, brake, wantThrottle, wantBrake;
        bool measured = true;
    };
    const Case cases[] = {
        {20, 432, 3, 8, 0, 1},   // left strip at 72 %: full brake, power off
        {20, 570, 3, 2, 3, 8},   // left strip in the bottom band: released, power kept
        {20, 300, 3, 8, 0, 8},   // left strip above the lever: power off only
        {780, 540, 0, 1, 5, 8},  // right strip at 90 %: full power, brake released
        {780, 426, 3, 4, 0, 4},  // right strip at 71 %: throttle 0, brake kept
        {780, 460, 0, 1, 1, 8},  // right strip at 76.7 %: notch 1
        {780, 600, 2, 5, 2, 8},  // the bottom edge itself: no notch, but the brake lets go
        {0, 432, 3, 8, 3, 8},    // x = 0 is outside the left strip
        {400, 560, 3, 8, 3, 8},  // the middle of the dashboard is no lever
        {10, -5, 2, 8, 2, 8},
        {70000, 500, 2, 8, 2, 8},
        {790, 500, 2, 8, 2, 8, false},  // before the first frame
    };
    for (const Case& c : cases) {
        StartedGame started = StartGameForTest();
        started.game().cabPicture = c.measured ? CanvasSize{800, 600, 32} : CanvasSize{};
        started.player().throttle = c.throttle;
        started.player().brake = c.brake;
        Send(started, At(WindowEventKind::LeftButtonDown, c.x, c.y));
        EXPECT_EQ(std::make_pair(started.player().throttle, started.player().brake),
                  std::make_pair(c.wantThrottle, c.wantBrake))
            << c.x << "," << c.y;
    }
}

TEST(WindowProcedure, AChangedDeviceChoiceReopensAndNoneIsOfferedWhileHeldOrMinimised)
{
    StartedGame started = StartGameForTest();
    FakeShellPlatform& platform = started.platform();
    AppState& app = started.app();
    platform.deviceDialogResult = DeviceDialogChanged;
    platform.deviceDialogWindowed = 0;
    Send(started, Key(KeyF3));
    EXPECT_EQ(platform.log, (std::vector<std::string>{"device dialog windowed=1", "reopen windowed=0 ready=0"}));
    EXPECT_EQ(std::make_tuple(app.windowed, app.isReady, started.game().deviceReopens), std::make_tuple(0, 1, 1));
    platform.log.clear();
    app.isReady = 0;
    Send(started, Key(KeyF3));
    app.isReady = 1;
    app.isActive = 0;
    Send(started, Key(KeyF3));
    EXPECT_TRUE(platform.log.empty());
}

TEST(WindowProcedure, CursorIsHiddenOnlyOverARunningFullScreenGame)
{
    auto game = std::make_unique<GameSession>();
    game->app.isActive = 1;
    for (auto [windowed, isReady, menuOpen, hidden] :
         {std::tuple{1, 1, 0, false}, {0, 1, 0, true}, {0, 0, 0, false}, {0, 1, 1, false}}) {
        std::tie(game->app.windowed, game->app.isReady, game->menuOpen) = std::tie(windowed, isReady, menuOpen);
        EXPECT_EQ(HidesCursor(*game), hidden) << windowed << isReady << menuOpen;
    }
}
