// [SECTION] Keys: the driver's handle, the sound switch, the resume key
// [SECTION] Commands: pause, dialogs, views, full screen, exit
// [SECTION] Window events: clicks, menus, size, move, close

#include "shell/window_procedure.h"

#include <algorithm>

#include "device/device_results.h"
#include "shell/device_dialog.h"
#include "shell/game_clock.h"
#include "shell/game_flow.h"
#include "sim/controls.h"

namespace {

// Keys that do nothing at all, not even resume a paused game: T, F8 and the keypad's digits
// other than 5 and 0, multiply and divide.
constexpr int32_t IgnoredKeys[] = {'T',         KeyF8,       KeyKeypad1,        KeyKeypad2,
                                   KeyKeypad3,  KeyKeypad4,  KeyKeypad6,        KeyKeypad7,
                                   KeyKeypad8,  KeyKeypad9,  KeyKeypadMultiply, KeyKeypadDivide};

TrainUnit& Player(GameSession& game)
{
    return game.world.trains[game.world.playerUnit];
}

// Keys held with Alt, and F10, belong to the window system (its menu keys), not to the game.
bool IsSystemKey(int32_t key, uint32_t modifiers)
{
    return (modifiers & ModifierAlt) != 0 || key == KeyF10 || key == KeyAlt;
}

// Shift+F10 and the Menu key open the pop-up menu, as a right click does.
bool IsContextMenuKey(int32_t key, uint32_t modifiers)
{
    return key == KeyApplication || (key == KeyF10 && modifiers == ModifierShift);
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Commands
// ---------------------------------------------------------------------------------------------

void PauseCommand(GameSession& game, bool fromMenu)
{
    if (fromMenu) {
        // The menu's own bookkeeping has just asked for a resume; a Pause chosen there pauses.
        game.app.pauseCount = 1;
        SilenceGameSound(game);
        return;
    }
    if (CountPauseUp(game.app))
        SilenceGameSound(game);
}

void StartMenuCommand(GameSession& game, ShellPlatform& platform)
{
    AppState& app = game.app;
    app.pauseCount = 1;
    SilenceGameSound(game);
    app.simulationEnabled = 0;
    BeginInterruption(app, platform.NowMs());
    HoldRendering(app, true);

    OptionsDialog dialog;
    OpenOptionsDialog(dialog, game.options, app, SeedForOptionsDialog(game, platform.ClockSeed()));
    if (game.endsAfterRun && game.world.destinationState == 2) {
        // Nobody is there to choose the next run.
        PressExit(dialog, app);
    } else {
        platform.RunOptionsDialog(dialog, game.options, game.world.random, app);
    }
    if (dialog.outcome == OptionsOutcome::Started && app.gameStarted) {
        StartNewRun(game, dialog.routeSeed);
        platform.WorldRebuilt(game.world);
    }

    HoldRendering(app, false);
    app.simulationEnabled = 1;
    EndInterruption(app, platform.NowMs());
    app.pauseCount = 2;
}

void ChangeDeviceCommand(GameSession& game, ShellPlatform& platform)
{
    AppState& app = game.app;
    if (!app.isActive || !app.isReady)
        return;
    HoldRendering(app, true);
    app.pauseCount += 1;
    SilenceGameSound(game);
    BeginInterruption(app, platform.NowMs());
    int32_t chosenWindowed = app.windowed;
    if (platform.RunDeviceDialog(app.windowed, chosenWindowed) == DeviceDialogChanged) {
        app.windowed = chosenWindowed;
        game.deviceReopens += 1;
        platform.ReopenDevice(app);
    }
    HoldRendering(app, false);
    EndInterruption(app, platform.NowMs());
    app.pauseCount += 1;
}

void ToggleFullScreenCommand(GameSession& game, ShellPlatform& platform)
{
    AppState& app = game.app;
    if (!app.isActive || !app.isReady)
        return;
    app.isReady = 0;
    app.windowed = app.windowed ? 0 : 1;
    game.deviceReopens += 1;
    platform.ReopenDevice(app);
    app.isReady = 1;
}

void AboutCommand(GameSession& game, ShellPlatform& platform)
{
    AppState& app = game.app;
    HoldRendering(app, true);
    app.pauseCount += 1;
    SilenceGameSound(game);
    BeginInterruption(app, platform.NowMs());
    platform.RunAboutBox();
    HoldRendering(app, false);
    app.pauseCount += 1;
    EndInterruption(app, platform.NowMs());
}

void HelpCommand(GameSession& game, ShellPlatform& platform, bool fromMenu)
{
    // The help stays open beside the game, which stays paused until a key resumes it; chosen from
    // a menu it pauses too, although the menu has just asked for a resume as it closed.
    if (fromMenu) {
        game.app.pauseCount = 1;
        SilenceGameSound(game);
    } else if (CountPauseUp(game.app)) {
        SilenceGameSound(game);
    }
    platform.OpenHelp();
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Window events
// ---------------------------------------------------------------------------------------------

void ClickLevers(GameSession& game, int32_t x, int32_t y)
{
    // Positions arrive as the window system gives them, in 16 bits.
    if (x < 0 || y < 0 || x > 0xFFFF || y > 0xFFFF)
        return;
    TrainUnit& player = Player(game);
    DriverControls controls =
        ClickCabLevers(ReadDriverControls(player), static_cast<uint16_t>(x), static_cast<uint16_t>(y),
                       game.cabPicture.width, game.cabPicture.height);
    StoreDriverControls(player, controls);
}

void OpenContextMenu(GameSession& game, ShellPlatform& platform, int32_t x, int32_t y)
{
    game.app.pauseCount = 1;
    SilenceGameSound(game);
    platform.OpenPopupMenu(x, y);
}

void EnterMenuLoop(GameSession& game, ShellPlatform& platform)
{
    game.menuOpen = 1;
    game.app.pauseCount = 1;
    SilenceGameSound(game);
    BeginInterruption(game.app, platform.NowMs());
}

void LeaveMenuLoop(GameSession& game, ShellPlatform& platform)
{
    if (!game.menuOpen)
        return;
    game.menuOpen = 0;
    EndInterruption(game.app, platform.NowMs());
    game.app.pauseCount = 2;
}

void PressKey(GameSession& game, ShellPlatform& platform, int32_t key, uint32_t modifiers)
{
    if (IsContextMenuKey(key, modifiers)) {
        OpenContextMenu(game, platform, -1, -1);
        return;
    }
    int32_t command = TranslateAccelerator(key, modifiers);
    if (command != CommandNone)
        HandleCommand(game, platform, command, false);
    else
        HandleKey(game, key, modifiers);
}

void Resize(GameSession& game, ShellPlatform& platform)
{
    AppState& app = game.app;
    app.isActive = 1;
    if (!app.isReady || !app.windowed)
        return;
    app.isReady = 0;
    game.deviceReopens += 1;
    platform.ResizeDevice();
    app.isReady = 1;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// [SECTION] Keys
// ---------------------------------------------------------------------------------------------

void HandleKey(GameSession& game, int32_t key, uint32_t modifiers)
{
    if (IsSystemKey(key, modifiers))
        return;
    TrainUnit& player = Player(game);
    if (key == 'S') {
        game.app.soundOn = game.app.soundOn ? 0 : 1;
    } else if (key == KeyKeypadPlus) {
        StoreDriverControls(player, PressKeypadPlus(ReadDriverControls(player)));
    } else if (key == KeyKeypadMinus) {
        StoreDriverControls(player, PressKeypadMinus(ReadDriverControls(player)));
    } else if (std::find(std::begin(IgnoredKeys), std::end(IgnoredKeys), key) == std::end(IgnoredKeys)) {
        // Any other key resumes at once, without a sound call or a change of the clock.
        game.app.pauseCount = 0;
    }
}

int32_t KeyOfButton(int32_t button)
{
    switch (button) {
    case ButtonDpadUp:
    case ButtonRightShoulder: return KeyKeypadPlus;
    case ButtonDpadDown:
    case ButtonLeftShoulder: return KeyKeypadMinus;
    case ButtonStart: return 'P';
    case ButtonBack: return KeyF9;
    default: return KeyNone;
    }
}

void HandleCommand(GameSession& game, ShellPlatform& platform, int32_t command, bool fromMenu)
{
    AppState& app = game.app;
    switch (command) {
    case CommandPause:
        PauseCommand(game, fromMenu);
        break;
    case CommandStartMenu:
        StartMenuCommand(game, platform);
        break;
    case CommandChangeDevice:
        ChangeDeviceCommand(game, platform);
        break;
    case CommandToggleFrameRate:
        app.showDistanceScore = app.showDistanceScore ? 0 : 1;
        break;
    case CommandToggleView:
        app.viewMode += 1;
        if (app.viewMode > ViewOutside)
            app.viewMode = ViewCab;
        break;
    case CommandToggleFullScreen:
        ToggleFullScreenCommand(game, platform);
        break;
    case CommandExit:
        platform.CloseWindow();
        break;
    case CommandHelp:
        HelpCommand(game, platform, fromMenu);
        break;
    case CommandAbout:
        AboutCommand(game, platform);
        break;
    default:
        break;
    }
}

void HandleWindowEvent(GameSession& game, ShellPlatform& platform, const WindowEvent& event)
{
    switch (event.kind) {
    case WindowEventKind::KeyDown:
        PressKey(game, platform, event.key, event.modifiers);
        break;
    case WindowEventKind::KeyUp:
        break;
    case WindowEventKind::ControllerButton:
        // The pad drives through the keys it stands for; its other buttons are the menus' and
        // the dialogs' (ImGui's navigation), not the game's.
        if (KeyOfButton(event.button) != KeyNone)
            PressKey(game, platform, KeyOfButton(event.button), ModifierNone);
        break;
    case WindowEventKind::LeftButtonDown:
        ClickLevers(game, event.x, event.y);
        break;
    case WindowEventKind::ContextMenu:
        OpenContextMenu(game, platform, event.x, event.y);
        break;
    case WindowEventKind::Command:
        HandleCommand(game, platform, event.command, event.fromMenu != 0);
        break;
    case WindowEventKind::MenuLoopEntered:
        EnterMenuLoop(game, platform);
        break;
    case WindowEventKind::MenuLoopLeft:
        LeaveMenuLoop(game, platform);
        break;
    case WindowEventKind::Minimised:
        game.app.isActive = 0;
        break;
    case WindowEventKind::Restored:
        game.app.isActive = 1;
        break;
    case WindowEventKind::Resized:
        Resize(game, platform);
        break;
    case WindowEventKind::Moved:
        if (game.app.isActive && game.app.isReady && game.app.windowed)
            platform.MoveDevice(event.x, event.y);
        break;
    case WindowEventKind::CloseRequested:
        platform.CloseWindow();
        break;
    }
}

bool HidesCursor(const GameSession& game)
{
    return game.app.isActive && game.app.isReady && !game.app.windowed && !game.menuOpen;
}
