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

// A menu, or a command chosen from one: the game pauses whatever the counter said, and the engine
// falls silent with it.
void PauseAndSilence(GameSession& game)
{
    PauseGame(game.app);
    SilenceGameSound(game);
}

// The device dialog and the About box count a pause up on opening and again on closing: a game
// that ran resumes at the next frame, and one that was paused is let run too.
void OpenModalDialog(GameSession& game, ShellPlatform& platform)
{
    CountPauseUp(game.app);
    SilenceGameSound(game);
    BeginModalHold(game.app, platform.NowMs());
}

void CloseModalDialog(GameSession& game, ShellPlatform& platform)
{
    EndModalHold(game.app, platform.NowMs());
    CountPauseUp(game.app);
}

void PauseCommand(GameSession& game, bool fromMenu)
{
    if (fromMenu) {
        // The menu's own bookkeeping has just asked for a resume; a Pause chosen there pauses.
        PauseAndSilence(game);
        return;
    }
    if (CountPauseUp(game.app))
        SilenceGameSound(game);
}

void StartMenuCommand(GameSession& game, ShellPlatform& platform)
{
    AppState& app = game.app;
    PauseAndSilence(game);
    app.simulationEnabled = 0;
    BeginModalHold(app, platform.NowMs());

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

    app.simulationEnabled = 1;
    EndModalHold(app, platform.NowMs());
    ResumeAtNextFrame(app);
}

void ChangeDeviceCommand(GameSession& game, ShellPlatform& platform)
{
    AppState& app = game.app;
    if (!app.isActive || !app.isReady)
        return;
    OpenModalDialog(game, platform);
    int32_t chosenWindowed = app.windowed;
    if (platform.RunDeviceDialog(app.windowed, chosenWindowed) == DeviceDialogChanged) {
        app.windowed = chosenWindowed;
        game.deviceReopens += 1;
        platform.ReopenDevice(app);
    }
    CloseModalDialog(game, platform);
}

void ToggleFullScreenCommand(GameSession& game, ShellPlatform& platform)
{
    AppState& app = game.app;
    if (!app.isActive || !app.isReady)
        return;
    StopRendering(app);
    app.windowed = app.windowed ? 0 : 1;
    game.deviceReopens += 1;
    platform.ReopenDevice(app);
    AllowRendering(app);
}

void AboutCommand(GameSession& game, ShellPlatform& platform)
{
    OpenModalDialog(game, platform);
    platform.RunAboutBox();
    CloseModalDialog(game, platform);
}

void HelpCommand(GameSession& game, ShellPlatform& platform, bool fromMenu)
{
    // The help stays open beside the game, which stays paused until a key resumes it; chosen from
    // a menu it pauses too, although the menu has just asked for a resume as it closed.
    if (fromMenu)
        PauseAndSilence(game);
    else if (CountPauseUp(game.app))
        SilenceGameSound(game);
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
    PauseAndSilence(game);
    platform.OpenPopupMenu(x, y);
}

void EnterMenuLoop(GameSession& game, ShellPlatform& platform)
{
    game.menuOpen = 1;
    PauseAndSilence(game);
    BeginInterruption(game.app, platform.NowMs());
}

void LeaveMenuLoop(GameSession& game, ShellPlatform& platform)
{
    if (!game.menuOpen)
        return;
    game.menuOpen = 0;
    EndInterruption(game.app, platform.NowMs());
    ResumeAtNextFrame(game.app);
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
    StopRendering(app);
    game.deviceReopens += 1;
    platform.ResizeDevice();
    AllowRendering(app);
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
        ResumeGame(game.app);
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
