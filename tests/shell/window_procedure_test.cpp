#include "shell/window_procedure.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
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

WindowEvent Click(int32_t x, int32_t y)
{
    WindowEvent event{WindowEventKind::LeftButtonDown};
    event.x = x;
    event.y = y;
    return event;
}

WindowEvent MenuCommand(int32_t command)
{
    WindowEvent event{WindowEventKind::Command};
    event.command = command;
    event.fromMenu = 1;
    return event;
}

WindowEvent Plain(WindowEventKind kind)
{
    return WindowEvent{kind};
}

void SetControls(TrainUnit& player, int32_t throttle, int32_t brake)
{
    player.throttle = throttle;
    player.brake = brake;
}

}  // namespace

TEST(WindowProcedure, KeypadPlusAndMinusWalkTheCombinedHandle)
{
    StartedGame started = StartGameForTest();
    TrainUnit& player = started.player();
    SetControls(player, 0, 1);
    // From full brake through released to full power: brake 2..8, then throttle 1..5.
    std::vector<std::pair<int32_t, int32_t>> walk;
    for (int press = 0; press < 13; ++press) {
        HandleWindowEvent(started.game(), started.platform(), Key(KeyKeypadPlus));
        walk.emplace_back(player.throttle, player.brake);
    }
    const std::vector<std::pair<int32_t, int32_t>> up = {{0, 2}, {0, 3}, {0, 4}, {0, 5}, {0, 6}, {0, 7}, {0, 8},
                                                         {1, 8}, {2, 8}, {3, 8}, {4, 8}, {5, 8}, {5, 8}};
    EXPECT_EQ(walk, up);

    walk.clear();
    for (int press = 0; press < 13; ++press) {
        HandleWindowEvent(started.game(), started.platform(), Key(KeyKeypadMinus));
        walk.emplace_back(player.throttle, player.brake);
    }
    const std::vector<std::pair<int32_t, int32_t>> down = {{4, 8}, {3, 8}, {2, 8}, {1, 8}, {0, 8}, {0, 7}, {0, 6},
                                                           {0, 5}, {0, 4}, {0, 3}, {0, 2}, {0, 1}, {0, 1}};
    EXPECT_EQ(walk, down);
    // The handle keys are not resume keys.
    EXPECT_TRUE(started.platform().log.empty());
}

TEST(WindowProcedure, LeverClicksSetTheControlsByBand)
{
    struct Case {
        int32_t x, y;           // on an 800 x 600 picture
        int32_t throttle, brake;  // before
        int32_t wantThrottle, wantBrake;
    };
    const Case cases[] = {
        {20, 432, 3, 8, 0, 1},   // left strip at 72 %: full brake, power off
        {20, 570, 3, 2, 3, 8},   // left strip in the bottom band: released, power kept
        {20, 300, 3, 8, 0, 8},   // left strip above the lever: power off only
        {780, 540, 0, 1, 5, 8},  // right strip at 90 %: full power, brake released
        {780, 426, 3, 4, 0, 4},  // right strip at 71 %: throttle 0, brake kept
        {780, 460, 0, 1, 1, 8},  // right strip at 76.7 %: notch 1
        {0, 432, 3, 8, 3, 8},    // x = 0 is outside the left strip
        {400, 560, 3, 8, 3, 8},  // the middle of the dashboard is no lever
        {780, 600, 2, 5, 2, 8},  // the bottom edge itself: no notch, but the brake lets go
    };
    for (const Case& c : cases) {
        StartedGame started = StartGameForTest();
        started.game().cabPicture.width = 800;
        started.game().cabPicture.height = 600;
        SetControls(started.player(), c.throttle, c.brake);
        HandleWindowEvent(started.game(), started.platform(), Click(c.x, c.y));
        EXPECT_EQ(started.player().throttle, c.wantThrottle) << c.x << "," << c.y;
        EXPECT_EQ(started.player().brake, c.wantBrake) << c.x << "," << c.y;
    }
}

TEST(WindowProcedure, ClicksBeforeTheFirstFrameOrOffThePictureChangeNothing)
{
    StartedGame started = StartGameForTest();
    SetControls(started.player(), 2, 8);
    HandleWindowEvent(started.game(), started.platform(), Click(790, 500));  // not measured yet
    started.game().cabPicture.width = 800;
    started.game().cabPicture.height = 600;
    HandleWindowEvent(started.game(), started.platform(), Click(10, -5));
    HandleWindowEvent(started.game(), started.platform(), Click(70000, 500));
    EXPECT_EQ(started.player().throttle, 2);
    EXPECT_EQ(started.player().brake, 8);
}

TEST(WindowProcedure, PauseKeyPausesAndOtherKeysResume)
{
    StartedGame started = StartGameForTest();
    AppState& app = started.app();
    HandleWindowEvent(started.game(), started.platform(), Key('P'));
    EXPECT_EQ(app.pauseCount, 1);
    HandleWindowEvent(started.game(), started.platform(), Key(KeySpace));
    EXPECT_EQ(app.pauseCount, 0);

    // S toggles the sound without resuming.
    HandleWindowEvent(started.game(), started.platform(), Key('P', ModifierShift));
    EXPECT_EQ(app.pauseCount, 1);
    HandleWindowEvent(started.game(), started.platform(), Key('S'));
    EXPECT_EQ(app.pauseCount, 1);
    EXPECT_EQ(app.soundOn, 0);
    HandleWindowEvent(started.game(), started.platform(), Key('S'));
    EXPECT_EQ(app.soundOn, 1);

    // The ignored keys leave the pause alone; keypad 5 and 0 are not among them.
    for (int32_t key : {int32_t('T'), int32_t(KeyF8), int32_t(KeyKeypad1), int32_t(KeyKeypad4), int32_t(KeyKeypad9),
                        int32_t(KeyKeypadMultiply), int32_t(KeyKeypadDivide)}) {
        HandleWindowEvent(started.game(), started.platform(), Key(key));
        EXPECT_EQ(app.pauseCount, 1) << key;
    }
    // Keys held with Alt and F10 belong to the window system.
    HandleWindowEvent(started.game(), started.platform(), Key('X', ModifierAlt));
    HandleWindowEvent(started.game(), started.platform(), Key(KeyF10));
    EXPECT_EQ(app.pauseCount, 1);
    HandleWindowEvent(started.game(), started.platform(), Key(KeyKeypad5));
    EXPECT_EQ(app.pauseCount, 0);

    // P twice asks for a resume at the next frame; Control+P is no accelerator, just a key.
    HandleWindowEvent(started.game(), started.platform(), Key('P'));
    HandleWindowEvent(started.game(), started.platform(), Key('P'));
    EXPECT_EQ(app.pauseCount, 2);
    app.pauseCount = 1;
    HandleWindowEvent(started.game(), started.platform(), Key('P', ModifierControl));
    EXPECT_EQ(app.pauseCount, 0);
}

TEST(WindowProcedure, AcceleratorsGiveTheirCommands)
{
    struct Case {
        int32_t key;
        uint32_t modifiers;
        const char* logged;  // what the platform saw, or "" for none
    };
    const Case cases[] = {
        {KeyEscape, ModifierNone, "options RESTART"},
        {KeyF2, ModifierNone, "options RESTART"},
        {KeyF1, ModifierNone, "help"},
        {'A', ModifierNone, "about"},
        {KeyF3, ModifierNone, "device dialog windowed=1"},
        {KeyF4, ModifierAlt, "close"},
        {KeyReturn, ModifierAlt, "reopen windowed=0 ready=0"},
        {KeyF4, ModifierNone, ""},
        {KeyReturn, ModifierNone, ""},
    };
    for (const Case& c : cases) {
        StartedGame started = StartGameForTest();
        started.platform().optionsScript = [](OptionsDialog& dialog, GameOptions&, GameRandom&, AppState&) {
            PressCancel(dialog);
        };
        HandleWindowEvent(started.game(), started.platform(), Key(c.key, c.modifiers));
        std::string logged = started.platform().log.empty() ? "" : started.platform().log.front();
        EXPECT_EQ(logged, c.logged) << "key " << c.key;
    }

    StartedGame started = StartGameForTest();
    HandleWindowEvent(started.game(), started.platform(), Key(KeyF9));
    EXPECT_EQ(started.app().viewMode, ViewOutside);
    HandleWindowEvent(started.game(), started.platform(), Key(KeyF9));
    EXPECT_EQ(started.app().viewMode, ViewCab);
    HandleWindowEvent(started.game(), started.platform(), Key(KeyF5));
    EXPECT_EQ(started.app().showDistanceScore, 0);
    HandleWindowEvent(started.game(), started.platform(), Key(KeyF5));
    EXPECT_EQ(started.app().showDistanceScore, 1);
}

TEST(WindowProcedure, StartMenuPausesTheGameAndKeepsItsTimeOffTheClock)
{
    StartedGame started = StartGameForTest();
    FakeShellPlatform& platform = started.platform();
    AppState& app = started.app();
    started.game().world.score = 321;
    uint32_t clockStart = app.clockStartMs;
    platform.dialogMs = 7000;
    platform.optionsScript = [](OptionsDialog& dialog, GameOptions&, GameRandom&, AppState&) { PressCancel(dialog); };

    HandleWindowEvent(started.game(), platform, Key(KeyF2));
    ASSERT_EQ(platform.appDuringDialogs.size(), 1u);
    const AppState& during = platform.appDuringDialogs[0];
    EXPECT_EQ(during.pauseCount, 1);
    EXPECT_EQ(during.simulationEnabled, 0);
    EXPECT_EQ(during.isReady, 0);
    EXPECT_EQ(app.clockStartMs, clockStart + 7000);
    EXPECT_EQ(app.pauseCount, 2);
    EXPECT_EQ(app.simulationEnabled, 1);
    EXPECT_EQ(app.isReady, 1);
    // Cancel went back to the run.
    EXPECT_EQ(started.game().world.score, 321);
    EXPECT_EQ(started.game().runsStarted, 1);
}

TEST(WindowProcedure, RestartBuildsANewRunWithTheDialogsSeed)
{
    StartedGame started = StartGameForTest();
    FakeShellPlatform& platform = started.platform();
    started.game().world.score = 321;
    started.player().speed = 80.0f;
    platform.clockSeed = 1800000000;
    HandleWindowEvent(started.game(), platform, Key(KeyEscape));
    EXPECT_EQ(platform.log, (std::vector<std::string>{"options RESTART", "rebuilt"}));
    EXPECT_EQ(started.game().runsStarted, 2);
    EXPECT_EQ(started.game().runSeed, 1800000000u);
    EXPECT_EQ(started.game().world.score, 0);
    EXPECT_EQ(started.player().speed, 0.0f);
}

TEST(WindowProcedure, AboutBoxAndDeviceDialogPauseAndResume)
{
    StartedGame started = StartGameForTest();
    FakeShellPlatform& platform = started.platform();
    AppState& app = started.app();
    platform.dialogMs = 2500;
    uint32_t clockStart = app.clockStartMs;

    HandleWindowEvent(started.game(), platform, Key('A'));
    ASSERT_EQ(platform.appDuringDialogs.size(), 1u);
    EXPECT_EQ(platform.appDuringDialogs[0].pauseCount, 1);
    EXPECT_EQ(platform.appDuringDialogs[0].isReady, 0);
    EXPECT_EQ(app.pauseCount, 2);
    EXPECT_EQ(app.isReady, 1);
    EXPECT_EQ(app.clockStartMs, clockStart + 2500);

    // The device dialog: unchanged re-opens nothing.
    app.pauseCount = 0;
    HandleWindowEvent(started.game(), platform, Key(KeyF3));
    EXPECT_EQ(platform.appDuringDialogs[1].pauseCount, 1);
    EXPECT_EQ(app.pauseCount, 2);
    EXPECT_EQ(app.clockStartMs, clockStart + 5000);
    EXPECT_EQ(started.game().deviceReopens, 0);

    // A changed choice takes the device's windowed choice and re-opens.
    platform.deviceDialogResult = DeviceDialogChanged;
    platform.deviceDialogWindowed = 0;
    platform.log.clear();
    HandleWindowEvent(started.game(), platform, Key(KeyF3));
    EXPECT_EQ(platform.log, (std::vector<std::string>{"device dialog windowed=1", "reopen windowed=0 ready=0"}));
    EXPECT_EQ(app.windowed, 0);
    EXPECT_EQ(app.isReady, 1);

    // While a hold is in force (or minimised) there is no device dialog.
    platform.log.clear();
    app.isReady = 0;
    HandleWindowEvent(started.game(), platform, Key(KeyF3));
    app.isReady = 1;
    app.isActive = 0;
    HandleWindowEvent(started.game(), platform, Key(KeyF3));
    EXPECT_TRUE(platform.log.empty());
}

TEST(WindowProcedure, FullScreenAndResizeTouchTheDeviceOnlyWhileShown)
{
    StartedGame started = StartGameForTest();
    FakeShellPlatform& platform = started.platform();
    AppState& app = started.app();
    HandleWindowEvent(started.game(), platform, Plain(WindowEventKind::Minimised));
    EXPECT_EQ(app.isActive, 0);
    HandleCommand(started.game(), platform, CommandToggleFullScreen, false);
    EXPECT_EQ(app.windowed, 1);
    EXPECT_TRUE(platform.log.empty());

    HandleWindowEvent(started.game(), platform, Plain(WindowEventKind::Restored));
    EXPECT_EQ(app.isActive, 1);
    EXPECT_TRUE(platform.log.empty());
    HandleWindowEvent(started.game(), platform, Plain(WindowEventKind::Resized));
    EXPECT_EQ(platform.log, (std::vector<std::string>{"resize"}));

    HandleCommand(started.game(), platform, CommandToggleFullScreen, false);
    EXPECT_EQ(app.windowed, 0);
    EXPECT_EQ(app.isReady, 1);
    // Full screen has no size of its own to follow, and no window to move.
    platform.log.clear();
    HandleWindowEvent(started.game(), platform, Plain(WindowEventKind::Resized));
    WindowEvent moved{WindowEventKind::Moved};
    moved.x = 10;
    moved.y = 20;
    HandleWindowEvent(started.game(), platform, moved);
    EXPECT_TRUE(platform.log.empty());
    HandleCommand(started.game(), platform, CommandToggleFullScreen, false);
    EXPECT_EQ(app.windowed, 1);
    HandleWindowEvent(started.game(), platform, moved);
    EXPECT_EQ(platform.log.back(), "move 10,20");
    // The clock and the pause counter are not touched.
    EXPECT_EQ(app.pauseCount, 0);
}

TEST(WindowProcedure, MenusPauseWhileOpenAndAPauseChosenThereHolds)
{
    StartedGame started = StartGameForTest();
    FakeShellPlatform& platform = started.platform();
    AppState& app = started.app();
    uint32_t clockStart = app.clockStartMs;

    HandleWindowEvent(started.game(), platform, Plain(WindowEventKind::MenuLoopEntered));
    EXPECT_EQ(app.pauseCount, 1);
    EXPECT_EQ(started.game().menuOpen, 1);
    platform.nowMs += 4000;
    HandleWindowEvent(started.game(), platform, Plain(WindowEventKind::MenuLoopLeft));
    EXPECT_EQ(app.pauseCount, 2);
    EXPECT_EQ(app.clockStartMs, clockStart + 4000);

    // Pause from the menu: the menu asks for a resume as it closes, the command pauses.
    HandleWindowEvent(started.game(), platform, Plain(WindowEventKind::MenuLoopEntered));
    HandleWindowEvent(started.game(), platform, Plain(WindowEventKind::MenuLoopLeft));
    HandleWindowEvent(started.game(), platform, MenuCommand(CommandPause));
    EXPECT_EQ(app.pauseCount, 1);

    // The right button pauses and opens the pop-up menu where it was pressed.
    app.pauseCount = 0;
    WindowEvent context{WindowEventKind::ContextMenu};
    context.x = 300;
    context.y = 200;
    HandleWindowEvent(started.game(), platform, context);
    EXPECT_EQ(app.pauseCount, 1);
    EXPECT_EQ(platform.log.back(), "popup 300,200");

    // Shift+F10 and the Menu key do the same from the keyboard, the menu going to the middle.
    for (WindowEvent key : {Key(KeyF10, ModifierShift), Key(KeyApplication)}) {
        app.pauseCount = 0;
        platform.log.clear();
        HandleWindowEvent(started.game(), platform, key);
        EXPECT_EQ(app.pauseCount, 1) << key.key;
        EXPECT_EQ(platform.log, std::vector<std::string>{"popup -1,-1"}) << key.key;
    }
}

TEST(WindowProcedure, ControllerButtonsDoWhatTheirKeysDo)
{
    // A start from which every key of the table changes something: the handle in the middle,
    // running, the cab view.
    auto stateAfter = [](const WindowEvent& event) {
        StartedGame started = StartGameForTest();
        SetControls(started.player(), 2, 8);
        HandleWindowEvent(started.game(), started.platform(), event);
        return std::make_tuple(started.player().throttle, started.player().brake, started.app().pauseCount,
                               started.app().viewMode, started.platform().log);
    };
    const std::pair<int32_t, int32_t> buttonKeys[] = {
        {ButtonDpadUp, KeyKeypadPlus},   {ButtonRightShoulder, KeyKeypadPlus}, {ButtonDpadDown, KeyKeypadMinus},
        {ButtonLeftShoulder, KeyKeypadMinus}, {ButtonStart, 'P'},             {ButtonBack, KeyF9},
    };
    const auto untouched = stateAfter(Plain(WindowEventKind::KeyUp));
    for (auto [button, key] : buttonKeys) {
        WindowEvent pressed{WindowEventKind::ControllerButton};
        pressed.button = button;
        EXPECT_EQ(stateAfter(pressed), stateAfter(Key(key))) << button;
        EXPECT_NE(stateAfter(pressed), untouched) << button;
    }
}

TEST(WindowProcedure, HelpPausesUntilAKeyResumes)
{
    StartedGame started = StartGameForTest();
    HandleWindowEvent(started.game(), started.platform(), Key(KeyF1));
    EXPECT_EQ(started.platform().log, std::vector<std::string>{"help"});
    EXPECT_EQ(started.app().pauseCount, 1);
    HandleWindowEvent(started.game(), started.platform(), Key('Q'));
    EXPECT_EQ(started.app().pauseCount, 0);

    // Chosen from the menu bar it pauses as well, though the menu's closing asked for a resume.
    HandleWindowEvent(started.game(), started.platform(), Plain(WindowEventKind::MenuLoopEntered));
    HandleWindowEvent(started.game(), started.platform(), Plain(WindowEventKind::MenuLoopLeft));
    HandleWindowEvent(started.game(), started.platform(), MenuCommand(CommandHelp));
    EXPECT_EQ(started.app().pauseCount, 1);
}

TEST(WindowProcedure, CursorIsHiddenOnlyOverARunningFullScreenGame)
{
    StartedGame started = StartGameForTest();
    AppState& app = started.app();
    EXPECT_FALSE(HidesCursor(started.game()));
    app.windowed = 0;
    EXPECT_TRUE(HidesCursor(started.game()));
    app.isReady = 0;
    EXPECT_FALSE(HidesCursor(started.game()));
    app.isReady = 1;
    started.game().menuOpen = 1;
    EXPECT_FALSE(HidesCursor(started.game()));
}

TEST(ShellCommands, MenusShowEveryCommandWithItsShortcut)
{
    std::set<int32_t> commandsInMenus;
    std::vector<std::string> mainMenu;
    for (const MenuItem& item : MenuBar()[0].items) {
        MenuLabel label = SplitMenuText(item.text);
        mainMenu.push_back(item.text == nullptr ? "-" : std::string(label.label) + "|" + label.shortcut);
        commandsInMenus.insert(item.command);
    }
    EXPECT_EQ(mainMenu, (std::vector<std::string>{"Pause|P", "-", "Start menu|F2", "Change device...|F3",
                                                  "Toggle framerate|F5", "Toggle View|F9",
                                                  "Toggle Fullscreen|Alt-Enter", "-", "Exit|Alt-F4"}));
    EXPECT_STREQ(MenuBar()[0].title, "&Menu");
    EXPECT_STREQ(MenuBar()[1].title, "&Help");
    for (const MenuItem& item : MenuBar()[1].items)
        commandsInMenus.insert(item.command);
    // Every accelerator's command can also be chosen from the menu bar.
    for (const Accelerator& accelerator : AcceleratorTable())
        EXPECT_TRUE(commandsInMenus.count(accelerator.command)) << accelerator.command;
    EXPECT_STREQ(SplitMenuText(PopupMenu()[6].text).shortcut, "Alt-Enter");
    EXPECT_STREQ(SplitMenuText(PopupMenu()[8].text).label, "Exit");
}
