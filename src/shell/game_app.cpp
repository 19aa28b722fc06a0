// [SECTION] The game's program run: settings, session, device, UI, script
// [SECTION] Turns of the loop: the timer, the script, the input
// [SECTION] Modal dialogs drawn over the last frame
// [SECTION] The platform the game's flow calls
// [SECTION] Start-up, the loop, shutdown

#include "shell/game_app.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <memory>
#include <ostream>
#include <vector>

#include <nlohmann/json.hpp>

#include "device/bitmap_resources.h"
#include "device/device_results.h"
#include "device/render_device.h"
#include "device/scene_resources.h"
#include "device/texture_store.h"
#include "shell/device_dialog.h"
#include "shell/device_errors.h"
#include "shell/event_script.h"
#include "shell/game_clock.h"
#include "shell/game_flow.h"
#include "shell/game_ui.h"
#include "shell/game_window.h"
#include "shell/help_contents.h"
#include "shell/output_file.h"
#include "shell/png_file.h"
#include "shell/render_session.h"
#include "shell/shell_commands.h"
#include "shell/state_dump.h"
#include "shell/window_procedure.h"
#include "shell/world_options.h"

namespace {

constexpr int32_t MinimumWindowSize = 100;

// The size each modal dialog needs. Where the game window cannot hold it whole, the dialog gets
// a window of its own above the game window, as the first options dialog always does.
struct DialogSize {
    int32_t width, height;
};
constexpr DialogSize OptionsDialogSize = {500, 300};
constexpr DialogSize DeviceDialogSize = {380, 150};
constexpr DialogSize AboutBoxSize = {260, 100};
constexpr const char* AboutBoxTitle = "About";

// A game that shows nothing new (paused, a menu or a dialog up) draws again when input comes,
// or this often for what blinks, instead of a frame at every refresh.
constexpr int32_t IdleRedrawMs = 500;
// Input makes Dear ImGui draw a few frames to settle (hover, a button's pressed look).
constexpr int32_t FramesAfterInput = 3;
// With a script or a time limit to keep, the loop looks up at least this often.
constexpr int32_t MinimisedPollMs = 10;
constexpr const char* IconBitmap = "TAGVIND.BMP";

// ---------------------------------------------------------------------------------------------
// [SECTION] The game's program run
// ---------------------------------------------------------------------------------------------

struct GameApp {
    PlaySettings settings;
    std::ostream* out = nullptr;
    std::ostream* err = nullptr;
    std::unique_ptr<GameSession> game;
    RenderSession session;
    GameUiState* ui = nullptr;
    TextureImage icon;
    std::vector<MenuView> menuBar;
    MenuView popup;

    std::vector<ScriptEvent> script;
    size_t nextScriptInput = 0;  // input and marks are taken at different moments of a turn
    size_t nextScriptMark = 0;
    nlohmann::json snapshots = nlohmann::json::array();
    std::string pendingScreenshot;

    uint32_t fixedTimerMs = 0;
    uint32_t loopStartMs = 0;
    bool loopStarted = false;
    bool windowClosed = false;
    bool renderingFailed = false;
    bool helpOpen = false;
    bool cursorShown = true;
    bool closeAfterDialog = false;
    std::vector<WindowEvent> queued;  // from the menus, for the window procedure

    DialogWindow* modalWindow = nullptr;  // a dialog's own window, while one is open
    int32_t framesAfterInput = 0;    // frames still to draw before an idle game waits for input
    double nextFrameDueMs = 0.0;     // when frames are paced by the timer
    uint32_t liveStateWrittenMs = 0;
    uint32_t lastFrameKeptMs = 0;
    bool liveStateFailing = false;   // said once, not ten times a second
    bool outputFailed = false;       // a file asked for was not written: the program fails
};

uint32_t NowMs(const GameApp& app)
{
    return app.settings.fixedFrameMs > 0 ? app.fixedTimerMs : ReadTimerMs();
}

EventTarget TargetOf(const GameApp& app)
{
    EventTarget target;
    if (app.modalWindow != nullptr) {
        target.windowId = app.modalWindow->windowId;
        return target;
    }
    if (app.session.device.window != nullptr)
        target.windowId = WindowIdOf(app.session.device);
    target.pictureTop = MenuBarHeight(*app.ui);
    return target;
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Pacing: frames at the display's rate, and no frames while nothing changes
// ---------------------------------------------------------------------------------------------

bool PacesFrames(const PlaySettings& settings)
{
    return !settings.uncapped && settings.fixedFrameMs == 0;
}

// Scripts and time limits are real-time deadlines the loop must not sleep through.
bool KeepsDeadlines(const GameApp& app)
{
    return !app.script.empty() || app.settings.fixedFrameMs > 0 || app.settings.quitAfterSeconds > 0.0;
}

void NoteInput(GameApp& app, const InputBatch& batch)
{
    if (batch.eventsTaken > 0)
        app.framesAfterInput = FramesAfterInput;
}

// How long this turn may wait for input before it draws. A held game waits for input (or for
// what blinks); a running one for the next refresh, where the display does not pace it itself.
int32_t TurnWaitMs(const GameApp& app, bool holdsStill)
{
    if (app.settings.fixedFrameMs > 0)
        return 0;
    int32_t wait = 0;
    if (holdsStill && app.framesAfterInput == 0) {
        wait = IdleRedrawMs;
    } else if (PacesFrames(app.settings)) {
        double left = app.nextFrameDueMs - static_cast<double>(ReadTimerMs());
        wait = left > 0.0 ? static_cast<int32_t>(std::ceil(left)) : 0;
    }
    if (KeepsDeadlines(app))
        wait = std::min(wait, MinimisedPollMs);
    return wait;
}

// Input wakes the loop early; a running game's next frame still waits for its time.
bool FrameIsDue(const GameApp& app, bool holdsStill)
{
    if (holdsStill || !PacesFrames(app.settings))
        return true;
    return static_cast<double>(ReadTimerMs()) >= app.nextFrameDueMs;
}

// After a frame: when the next one is due. Where presenting waits for the display, the timer is
// only a safety net a little faster than the display, so that the two never take turns.
void FrameDrawn(GameApp& app)
{
    if (app.framesAfterInput > 0)
        --app.framesAfterInput;
    if (!PacesFrames(app.settings))
        return;
    double period = 1000.0 / static_cast<double>(RenderDeviceRefreshRate(app.session.device));
    if (app.session.device.syncedToDisplay)
        period *= 0.9;
    double now = static_cast<double>(ReadTimerMs());
    app.nextFrameDueMs = std::max(app.nextFrameDueMs + period, now);
}

MenuView MenuViewOf(const char* title, std::span<const MenuItem> items)
{
    MenuView view;
    MenuLabel titleLabel = SplitMenuText(title);
    view.title = titleLabel.label;
    view.mnemonic = titleLabel.mnemonic;
    for (const MenuItem& item : items) {
        MenuLabel label = SplitMenuText(item.text);
        view.lines.push_back({item.text != nullptr ? label.label : "", label.shortcut, item.command, label.mnemonic});
    }
    return view;
}

void BuildMenus(GameApp& app)
{
    for (const MenuDefinition& menu : MenuBar())
        app.menuBar.push_back(MenuViewOf(menu.title, menu.items));
    app.popup = MenuViewOf("Popup", PopupMenu());
}

void LoadIcon(GameApp& app)
{
    const BitmapResource* resource = FindBitmapResource(IconBitmap);
    std::string reason;
    if (resource == nullptr || !DecodeBitmapFile(resource->bytes, resource->size, app.icon, reason))
        app.icon = TextureImage{};
}

bool WritePicture(GameApp& app, const std::string& path, int32_t width, int32_t height,
                  const std::vector<uint8_t>& rgba)
{
    std::string png;
    std::string reason;
    if (!EncodePng(width, height, rgba, png)) {
        *app.err << "tagvind: cannot encode the picture for " << path << "\n";
        app.outputFailed = true;
        return false;
    }
    if (!WriteOutputFile(path, png, reason)) {
        *app.err << "tagvind: cannot write " << path << ": " << reason << "\n";
        app.outputFailed = true;
        return false;
    }
    return true;
}

void WriteStateDump(GameApp& app)
{
    if (app.settings.stateDumpPath.empty())
        return;
    nlohmann::json dump;
    dump["snapshots"] = app.snapshots;
    dump["final"] = DumpGameState(*app.game, NowMs(app), MenuBarHeight(*app.ui));
    std::string reason;
    if (!WriteOutputFile(app.settings.stateDumpPath, dump.dump(2) + "\n", reason)) {
        *app.err << "tagvind: cannot write " << app.settings.stateDumpPath << ": " << reason << "\n";
        app.outputFailed = true;
    }
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Turns of the loop
// ---------------------------------------------------------------------------------------------

double ScriptSeconds(const GameApp& app)
{
    return static_cast<double>(NowMs(app) - app.loopStartMs) * 0.001;
}

// Gives the window system the script's input that is due.
void RunDueInput(GameApp& app)
{
    if (!app.loopStarted)
        return;
    double seconds = ScriptSeconds(app);
    for (; app.nextScriptInput < app.script.size() && app.script[app.nextScriptInput].at <= seconds;
         ++app.nextScriptInput) {
        const ScriptEvent& event = app.script[app.nextScriptInput];
        EventTarget target = TargetOf(app);
        if (event.action == ScriptAction::Input) {
            PushSyntheticEvent(target, event.input);
        } else if (event.action == ScriptAction::PictureClick) {
            int32_t width = app.session.device.renderWidth;
            int32_t height = app.session.device.renderHeight - target.pictureTop;
            SyntheticEvent click = event.input;
            click.x = static_cast<int32_t>(event.pictureX * width);
            click.y = target.pictureTop + static_cast<int32_t>(event.pictureY * height);
            PushSyntheticEvent(target, click);
        }
    }
}

// At the end of a turn, the script's marks that are due: the state as the turn left it, and the
// picture of the next frame shown.
void RunDueMarks(GameApp& app)
{
    if (!app.loopStarted)
        return;
    double seconds = ScriptSeconds(app);
    for (; app.nextScriptMark < app.script.size() && app.script[app.nextScriptMark].at <= seconds;
         ++app.nextScriptMark) {
        const ScriptEvent& event = app.script[app.nextScriptMark];
        if (event.action == ScriptAction::Snapshot) {
            nlohmann::json snapshot = DumpGameState(*app.game, NowMs(app), MenuBarHeight(*app.ui));
            snapshot["label"] = event.text;
            app.snapshots.push_back(snapshot);
        } else if (event.action == ScriptAction::Screenshot) {
            app.pendingScreenshot = event.text;
        }
    }
}

// The state for a watcher, with what only the platform knows: the device's size and whether a
// dialog has a window of its own.
void WriteLiveState(GameApp& app)
{
    constexpr uint32_t LiveStateEveryMs = 100;
    uint32_t now = ReadTimerMs();
    if (app.settings.liveStatePath.empty() || now - app.liveStateWrittenMs < LiveStateEveryMs)
        return;
    app.liveStateWrittenMs = now;
    nlohmann::json state = DumpGameState(*app.game, NowMs(app), MenuBarHeight(*app.ui));
    const RenderDevice& device = app.session.device;
    state["device"] = {{"open", device.isOpen},
                       {"width", device.renderWidth},
                       {"height", device.renderHeight},
                       {"fullScreen", device.fullScreen},
                       {"nativeWindow", NativeWindowOf(device)}};
    state["dialogWindow"] = app.modalWindow != nullptr;
    std::string reason;
    bool written = WriteOutputFile(app.settings.liveStatePath, state.dump() + "\n", reason);
    if (!written && !app.liveStateFailing) {
        *app.err << "tagvind: cannot write " << app.settings.liveStatePath << ": " << reason << "\n";
        app.outputFailed = true;
    }
    app.liveStateFailing = !written;
}

// One turn's end: the marks due, then the timer of a scripted run moves on by a frame.
void EndTurn(GameApp& app)
{
    RunDueMarks(app);
    WriteLiveState(app);
    if (app.settings.fixedFrameMs > 0)
        app.fixedTimerMs += static_cast<uint32_t>(app.settings.fixedFrameMs);
}

// Keeping a frame for the dialogs to be drawn over is a copy of the whole picture, which costs
// the software rasterizer as much as a third of the frame: a running game keeps one a tenth of
// a second, and every frame around input (which is what opens dialogs and menus). A scripted
// run keeps every frame, so that its pictures are exact.
bool KeepsThisFrame(GameApp& app)
{
    constexpr uint32_t KeepFrameEveryMs = 100;
    uint32_t now = ReadTimerMs();
    if (app.settings.fixedFrameMs == 0 && app.framesAfterInput == 0 && now - app.lastFrameKeptMs < KeepFrameEveryMs)
        return false;
    app.lastFrameKeptMs = now;
    return true;
}

// Renders the frame's UI and presents it, reading the picture for a screenshot when one is due.
void FinishUiFrame(GameApp& app, bool keepAsLastFrame)
{
    std::vector<uint8_t> picture;
    int32_t width = 0;
    int32_t height = 0;
    bool wantPicture = !app.pendingScreenshot.empty();
    EndUiFrame(*app.ui, keepAsLastFrame, wantPicture ? &picture : nullptr, width, height);
    if (wantPicture && width > 0) {
        WritePicture(app, app.pendingScreenshot, width, height, picture);
        app.pendingScreenshot.clear();
    }
}

void QueueMenuResult(GameApp& app, const MenuResult& result)
{
    if (result.anyMenuOpen && !app.game->menuOpen)
        app.queued.push_back(WindowEvent{WindowEventKind::MenuLoopEntered});
    if (!result.anyMenuOpen && app.game->menuOpen)
        app.queued.push_back(WindowEvent{WindowEventKind::MenuLoopLeft});
    if (result.command != CommandNone) {
        WindowEvent command{WindowEventKind::Command};
        command.command = result.command;
        command.fromMenu = 1;
        app.queued.push_back(command);
    }
}

// The menus and the help window of a frame, game or menu frame alike.
void DrawWindowsOfFrame(GameApp& app)
{
    QueueMenuResult(app, DrawMenus(*app.ui, app.menuBar, app.popup));
    std::vector<HelpSection> help = BuildHelpSections(&app.session.textures);
    DrawHelpWindow(app.helpOpen, help, *app.ui);
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Modal dialogs drawn over the last frame
// ---------------------------------------------------------------------------------------------

// One turn of a modal dialog's own loop: input to ImGui, window changes to the game, a frame
// with the dialog over the last game frame. Returns what the keys asked of the dialog.
InputBatch ModalTurn(GameApp& app, const std::function<void()>& drawDialog)
{
    RunDueInput(app);
    InputBatch batch;
    AppState& state = app.game->app;
    int32_t wait = state.isActive || app.modalWindow != nullptr ? TurnWaitMs(app, true) : MinimisedPollMs;
    PumpEvents(TargetOf(app), batch, wait);
    NoteInput(app, batch);
    for (const WindowEvent& event : batch.events) {
        if (event.kind == WindowEventKind::Minimised)
            state.isActive = 0;
        else if (event.kind == WindowEventKind::Restored)
            state.isActive = 1;
        else if (event.kind == WindowEventKind::Moved)
            RenderDeviceMove(app.session.device, event.x, event.y);
    }
    if (app.modalWindow != nullptr) {
        // The dialog's own window: its close box stands for Esc; the program's end stays an end.
        if (batch.quitRequested)
            app.closeAfterDialog = true;
        else if (batch.closeRequested)
            batch.escapePressed = 1;
        BeginUiFrame(*app.ui, false);
        drawDialog();
        FinishUiFrame(app, false);
        PresentDialogWindow(*app.modalWindow);
        FrameDrawn(app);
    } else {
        if (batch.closeRequested)
            app.closeAfterDialog = true;
        if (state.isActive && app.session.device.isOpen) {
            BeginUiFrame(*app.ui, true);
            drawDialog();
            FinishUiFrame(app, false);
            RenderDeviceShowFrame(app.session.device);
            FrameDrawn(app);
        }
    }
    EndTurn(app);
    return batch;
}

// A dialog the game window cannot hold whole gets a window of its own above it for as long as
// it is open; the game's picture and its UI come back when it closes.
void EnterDialogPlace(GameApp& app, DialogWindow& window, const char* title, DialogSize size)
{
    const RenderDevice& device = app.session.device;
    if (!device.isOpen || (device.renderWidth >= size.width && device.renderHeight >= size.height))
        return;
    DetachGameUi(*app.ui);
    if (OpenDialogWindow(window, title, size.width, size.height, app.icon, &app.session.device) &&
        AttachDialogUi(*app.ui, window, app.icon)) {
        app.modalWindow = &window;
        app.framesAfterInput = FramesAfterInput;
        return;
    }
    // No window to be had: the dialog is drawn in the game window after all.
    CloseDialogWindow(window);
    RenderDeviceMakeCurrent(app.session.device);
    AttachGameUi(*app.ui, app.session.device, app.icon);
}

void LeaveDialogPlace(GameApp& app, DialogWindow& window)
{
    if (app.modalWindow != &window)
        return;
    DetachGameUi(*app.ui);
    CloseDialogWindow(window);
    app.modalWindow = nullptr;
    RenderDeviceMakeCurrent(app.session.device);
    AttachGameUi(*app.ui, app.session.device, app.icon);
}

// After a dialog that the window's close box interrupted, the window closes.
void CloseIfAskedDuringDialog(GameApp& app)
{
    if (app.closeAfterDialog) {
        app.closeAfterDialog = false;
        app.queued.push_back(WindowEvent{WindowEventKind::CloseRequested});
    }
}

void ApplyOptionsActions(OptionsDialog& dialog, const OptionsDialogActions& actions, GameOptions& options,
                         GameRandom& random, AppState& state)
{
    if (actions.chosenScenery != 0)
        ChooseScenery(dialog, actions.chosenScenery);
    if (actions.pressedRandom)
        PressRandom(dialog, options, random);
    if (actions.chosenSoundType >= 0)
        ChooseSoundType(dialog, actions.chosenSoundType);
    if (actions.pressedStart)
        PressStart(dialog, options);
    else if (actions.pressedCancel)
        PressCancel(dialog);
    else if (actions.pressedExit)
        PressExit(dialog, state);
}

OptionsDialogView ViewOf(const OptionsDialog& dialog, bool fillsWindow)
{
    return {OptionsEditsEnabled(dialog), OptionsCancelEnabled(dialog), OptionsStartLabel(dialog),
            ReplayCommandLine(dialog), fillsWindow};
}

void RunOptionsDialogInGame(GameApp& app, OptionsDialog& dialog, GameOptions& options, GameRandom& random,
                            AppState& state)
{
    DialogWindow ownWindow;
    EnterDialogPlace(app, ownWindow, OptionsDialogTitle, OptionsDialogSize);
    bool fillsWindow = app.modalWindow != nullptr;
    while (dialog.outcome == OptionsOutcome::Open && !app.windowClosed) {
        OptionsDialogActions actions;
        InputBatch batch =
            ModalTurn(app, [&] { actions = DrawOptionsDialog(dialog, ViewOf(dialog, fillsWindow)); });
        ApplyOptionsActions(dialog, actions, options, random, state);
        if (dialog.outcome != OptionsOutcome::Open)
            break;
        if (batch.returnPressed)
            PressStart(dialog, options);
        else if (batch.escapePressed)
            PressCancel(dialog);
        if (app.closeAfterDialog && dialog.outcome == OptionsOutcome::Open) {
            // The window is closing: the program ends as EXIT ends it.
            PressExit(dialog, state);
            app.closeAfterDialog = false;
        }
    }
    LeaveDialogPlace(app, ownWindow);
    CloseIfAskedDuringDialog(app);
}

// The first dialog comes before the game's window: it has a small window of its own.
void RunFirstOptionsDialog(GameApp& app, OptionsDialog& dialog)
{
    GameSession& game = *app.game;
    DialogWindow window;
    if (!OpenDialogWindow(window, OptionsDialogTitle, OptionsDialogSize.width, OptionsDialogSize.height, app.icon,
                          nullptr) ||
        !AttachDialogUi(*app.ui, window, app.icon)) {
        // Without a window for it the dialog is answered as START would answer it.
        *app.err << "tagvind: cannot show the options dialog; starting with the options given\n";
        CloseDialogWindow(window);
        PressStart(dialog, game.options);
        return;
    }
    EventTarget target;
    target.windowId = window.windowId;
    while (dialog.outcome == OptionsOutcome::Open) {
        InputBatch batch;
        PumpEvents(target, batch, TurnWaitMs(app, true));
        NoteInput(app, batch);
        if (batch.closeRequested) {
            PressExit(dialog, game.app);
            break;
        }
        BeginUiFrame(*app.ui, false);
        OptionsDialogActions actions = DrawOptionsDialog(dialog, ViewOf(dialog, true));
        int32_t width = 0;
        int32_t height = 0;
        EndUiFrame(*app.ui, false, nullptr, width, height);
        PresentDialogWindow(window);
        FrameDrawn(app);
        ApplyOptionsActions(dialog, actions, game.options, game.world.random, game.app);
        if (dialog.outcome == OptionsOutcome::Open && batch.returnPressed)
            PressStart(dialog, game.options);
        // Esc stands for Cancel, which the first dialog does not offer.
    }
    DetachGameUi(*app.ui);
    CloseDialogWindow(window);
    ForgetWindowEvents();
}

void RunAboutBoxInGame(GameApp& app)
{
    DialogWindow ownWindow;
    EnterDialogPlace(app, ownWindow, AboutBoxTitle, AboutBoxSize);
    bool closed = false;
    while (!closed && !app.windowClosed) {
        bool ok = false;
        InputBatch batch = ModalTurn(app, [&] { ok = DrawAboutBox(*app.ui); });
        closed = ok || batch.escapePressed || batch.returnPressed || app.closeAfterDialog;
    }
    LeaveDialogPlace(app, ownWindow);
    CloseIfAskedDuringDialog(app);
}

int32_t RunDeviceDialogInGame(GameApp& app, int32_t windowed, int32_t& chosenWindowed)
{
    DeviceCatalogue& catalogue = app.session.catalogue;
    DeviceDialog dialog;
    if (!OpenDeviceDialog(dialog, catalogue, windowed, ReadDesktopBitsPerPixel()))
        return DeviceDialogUnavailable;
    DialogWindow ownWindow;
    EnterDialogPlace(app, ownWindow, DeviceDialogTitle, DeviceDialogSize);
    while (dialog.result == 0 && !app.windowClosed) {
        DeviceDialogActions actions;
        InputBatch batch = ModalTurn(app, [&] { actions = DrawDeviceDialog(dialog.lists); });
        if (actions.driverItem >= 0)
            SelectDriverItem(dialog, catalogue, actions.driverItem);
        if (actions.deviceItem >= 0)
            SelectDeviceItem(dialog, catalogue, actions.deviceItem);
        if (actions.modeItem >= 0)
            SelectModeItem(dialog, catalogue, actions.modeItem);
        if (actions.pressedOk || batch.returnPressed)
            PressDeviceOk(dialog, catalogue);
        else if (actions.pressedCancel || batch.escapePressed || app.closeAfterDialog)
            PressDeviceCancel(dialog);
    }
    LeaveDialogPlace(app, ownWindow);
    CloseIfAskedDuringDialog(app);
    if (dialog.result == DeviceDialogChanged) {
        int32_t driver = -1;
        int32_t device = -1;
        if (GetCurrentDevice(catalogue, driver, device) == DeviceOk)
            chosenWindowed = catalogue.drivers[driver].devices[device].windowedChoice;
    }
    return dialog.result == 0 ? DeviceDialogUnchanged : dialog.result;
}

// ---------------------------------------------------------------------------------------------
// [SECTION] The platform the game's flow calls
// ---------------------------------------------------------------------------------------------

// Binds the UI to the device just opened and dresses its window.
void AfterDeviceOpened(GameApp& app)
{
    RenderDevice& device = app.session.device;
    if (!device.isOpen)
        return;
    ForgetWindowEvents();
    AttachGameUi(*app.ui, device, app.icon);
    DecorateGameWindow(device, app.icon, MinimumWindowSize);
    SetMenuBarShown(*app.ui, app.game->app.windowed != 0);
}

class AppPlatform final : public ShellPlatform {
public:
    explicit AppPlatform(GameApp& app) : app_(app) {}

    uint32_t NowMs() override { return ::NowMs(app_); }
    uint32_t ClockSeed() override { return static_cast<uint32_t>(std::time(nullptr)); }

    void RunOptionsDialog(OptionsDialog& dialog, GameOptions& options, GameRandom& random, AppState& app) override
    {
        RunOptionsDialogInGame(app_, dialog, options, random, app);
    }
    void RunAboutBox() override { RunAboutBoxInGame(app_); }
    int32_t RunDeviceDialog(int32_t windowed, int32_t& chosenWindowed) override
    {
        return RunDeviceDialogInGame(app_, windowed, chosenWindowed);
    }
    void ShowMessage(const char* caption, const std::string& text) override
    {
        ShowMessageBox(caption, text, MessageIcon::Information, &app_.session.device, app_.settings.offscreen);
    }
    void OpenHelp() override { app_.helpOpen = true; }
    void OpenPopupMenu(int32_t x, int32_t y) override { OpenPopupAt(*app_.ui, x, y); }

    int32_t ReopenDevice(AppState& app) override
    {
        // The window is left where the player put it; full screen comes back to it.
        ReadLiveWindowPlacement(app_.session.device, app_.session.placement);
        DetachGameUi(*app_.ui);
        int32_t result = ReopenRenderDevice(app_.session, app);
        if (IsFailure(result)) {
            // Reported already; the program ends in order.
            app_.windowClosed = true;
            return result;
        }
        AfterDeviceOpened(app_);
        return result;
    }
    void ResizeDevice() override { ResizeRenderDevice(app_.session); }
    void MoveDevice(int32_t x, int32_t y) override { RenderDeviceMove(app_.session.device, x, y); }
    void CloseWindow() override { app_.windowClosed = true; }
    void WorldRebuilt(World& world) override
    {
        size_t known = app_.session.textures.entries.size();
        // Names that cannot be loaded were reported when the program started.
        std::string whyNot;
        LoadRegisteredTextures(app_.session.textures, world.textures, GameBitmapSource(), whyNot);
        // A new name needs its texture on the open device too.
        if (app_.session.textures.entries.size() != known && app_.session.device.isOpen) {
            ReleaseAllTextures(app_.session.device, app_.session.textures);
            CreateAllTextures(app_.session.device, app_.session.textures);
        }
    }

    DrawDevice* SceneDevice() override
    {
        RenderDevice& device = app_.session.device;
        if (!device.isOpen)
            return nullptr;
        PlaceScenePicture(*app_.ui, device);
        return RenderDeviceDrawDevice(device);
    }
    CabCanvas& BeginOverlay() override
    {
        BeginUiFrame(*app_.ui, false);
        return CabCanvasOfFrame(*app_.ui, app_.session.device);
    }
    int32_t PresentFrame() override
    {
        PlaceCabDisplay(*app_.ui);
        DrawWindowsOfFrame(app_);
        FinishUiFrame(app_, KeepsThisFrame(app_));
        return RenderDeviceShowFrame(app_.session.device);
    }
    void RestoreSurfaces() override { RenderDeviceRestoreSurfaces(app_.session.device); }

private:
    GameApp& app_;
};

// ---------------------------------------------------------------------------------------------
// [SECTION] Start-up, the loop, shutdown
// ---------------------------------------------------------------------------------------------

// The device's failure in a box, with the driver's words for it. A box in a window is also
// written to stderr first: it may open where nobody looks, and the output is what is kept.
void ReportDeviceFailure(const GameApp& app, int32_t code, int32_t mode)
{
    MessageIcon icon = mode == DeviceErrorExits ? MessageIcon::Error : MessageIcon::Warning;
    std::string text = DeviceErrorText(code, mode, app.session.device.failureCause);
    if (!app.settings.offscreen)
        *app.err << DeviceErrorCaption << ": " << text << std::endl;
    ShowMessageBox(DeviceErrorCaption, text, icon, nullptr, app.settings.offscreen);
}

bool ReadScript(GameApp& app)
{
    if (app.settings.eventsPath.empty())
        return true;
    std::ifstream file(app.settings.eventsPath);
    if (!file) {
        *app.err << "tagvind: cannot read " << app.settings.eventsPath << "\n";
        return false;
    }
    std::string error;
    if (!ReadEventScript(file, app.script, error)) {
        *app.err << "tagvind: " << app.settings.eventsPath << ": " << error << "\n";
        return false;
    }
    return true;
}

// Hands the turn's input to the window procedure: keys and clicks only when the menus do not
// take them and ImGui does not want them; no controller buttons while a menu is open.
void DispatchInput(GameApp& app, ShellPlatform& platform, const InputBatch& batch)
{
    GameSession& game = *app.game;
    for (const WindowEvent& event : batch.events) {
        if (app.windowClosed)
            return;
        switch (event.kind) {
        case WindowEventKind::KeyDown:
        case WindowEventKind::KeyUp:
            if (TakeMenuKey(*app.ui, app.menuBar, event.key, event.modifiers, event.kind == WindowEventKind::KeyUp,
                            game.menuOpen != 0) ||
                UiWantsText())
                continue;
            break;
        case WindowEventKind::ControllerButton:
            if (game.menuOpen)
                continue;
            break;
        case WindowEventKind::LeftButtonDown:
            if (game.menuOpen || UiWantsMouse())
                continue;
            break;
        case WindowEventKind::ContextMenu:
            if (game.menuOpen)
                continue;
            break;
        default:
            break;
        }
        HandleWindowEvent(game, platform, event);
    }
}

void DispatchQueued(GameApp& app, ShellPlatform& platform)
{
    // Commands may run dialogs that queue more; take them in order.
    while (!app.queued.empty() && !app.windowClosed) {
        WindowEvent event = app.queued.front();
        app.queued.erase(app.queued.begin());
        HandleWindowEvent(*app.game, platform, event);
    }
}

// A windowed picture follows its window's size at once: a resize costs the device no more than
// a new viewport, so even a drag is followed step by step.
void FollowWindowSize(GameApp& app, ShellPlatform& platform)
{
    AppState& state = app.game->app;
    RenderDevice& device = app.session.device;
    if (!state.windowed || !device.isOpen)
        return;
    int32_t width = 0;
    int32_t height = 0;
    if (ReadWindowClientSize(device, width, height) && (width != device.renderWidth || height != device.renderHeight))
        HandleWindowEvent(*app.game, platform, WindowEvent{WindowEventKind::Resized});
}

// A frame while a menu is open: the game is held, the menu is drawn over the last frame.
void RunMenuFrame(GameApp& app)
{
    BeginUiFrame(*app.ui, true);
    DrawWindowsOfFrame(app);
    FinishUiFrame(app, false);
    RenderDeviceShowFrame(app.session.device);
    FrameDrawn(app);
}

void UpdateCursor(GameApp& app)
{
    // The help window is closed with the mouse, full screen or not.
    bool shown = !HidesCursor(*app.game) || app.helpOpen;
    if (shown != app.cursorShown) {
        ShowGameCursor(shown);
        app.cursorShown = shown;
    }
}

void RunLoop(GameApp& app, AppPlatform& platform)
{
    GameSession& game = *app.game;
    AppState& state = game.app;
    bool waitsWhenIdle = app.script.empty() && app.settings.fixedFrameMs == 0 && app.settings.quitAfterSeconds <= 0.0;
    while (!app.windowClosed) {
        RunDueInput(app);
        InputBatch batch;
        // Minimised, the loop waits for input: no frame runs and no sound is written. A paused
        // game, or one under a menu, waits for input too.
        bool holdsStill = game.menuOpen || state.pauseCount == 1;
        int32_t wait = state.isActive ? TurnWaitMs(app, holdsStill) : (waitsWhenIdle ? -1 : MinimisedPollMs);
        PumpEvents(TargetOf(app), batch, wait);
        NoteInput(app, batch);
        DispatchInput(app, platform, batch);
        DispatchQueued(app, platform);

        if (!app.windowClosed && state.isActive && state.isReady && FrameIsDue(app, holdsStill)) {
            FollowWindowSize(app, platform);
            if (game.menuOpen) {
                RunMenuFrame(app);
            } else {
                if (app.settings.autopilot)
                    PressDemoDriverKeys(game, platform);
                if (IsFailure(RunFrame(game, platform))) {
                    ShowMessageBox(DeviceErrorCaption, RenderingFailedText, MessageIcon::Error, nullptr,
                                   app.settings.offscreen);
                    app.renderingFailed = true;
                    app.windowClosed = true;
                }
                FrameDrawn(app);
            }
            DispatchQueued(app, platform);
        }
        UpdateCursor(app);
        if (state.exitRequested) {
            state.exitRequested = 0;
            platform.CloseWindow();
        }
        if (app.settings.quitAfterSeconds > 0.0 &&
            static_cast<double>(NowMs(app) - app.loopStartMs) * 0.001 >= app.settings.quitAfterSeconds)
            app.windowClosed = true;
        EndTurn(app);
    }
}

void ShutDown(GameApp& app)
{
    if (!app.settings.screenshotPath.empty()) {
        std::vector<uint8_t> rgba;
        int32_t width = 0;
        int32_t height = 0;
        if (ReadLastFrame(*app.ui, rgba, width, height)) {
            WritePicture(app, app.settings.screenshotPath, width, height, rgba);
        } else {
            *app.err << "tagvind: no frame was drawn, so there is no picture for " << app.settings.screenshotPath
                     << "\n";
            app.outputFailed = true;
        }
    }
    WriteStateDump(app);
    *app.out << RunSummary(*app.game).dump() << "\n";
    DetachGameUi(*app.ui);
    CloseRenderDevice(app.session, app.game->app);
    ReleaseEngineSound(app.game->sound);
    DestroyGameUi(app.ui);
    app.ui = nullptr;
    StopWindowSystem();
}

// What a machine without a display plays: the autopilot drives offscreen, for a minute unless
// the player said how long. A picture is written only where the player asked for one: a file
// of the working folder chosen by the game could be one the player wanted kept.
void UseDemoSettings(PlaySettings& settings)
{
    constexpr double DemoSeconds = 60.0;
    settings.offscreen = true;
    settings.autopilot = true;
    if (settings.quitAfterSeconds <= 0.0)
        settings.quitAfterSeconds = DemoSeconds;
}

// A path as the shell reads it back: as it is when it holds nothing the shell would split or
// expand, in single quotes otherwise.
std::string ShellWord(const std::string& word)
{
    bool plain = !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || std::strchr("._-/+,:=@%", c) != nullptr;
    });
    if (plain)
        return word;
    std::string quoted = "'";
    for (char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// The command line that runs the demo of the settings again on the line worldLine builds (a
// line of PlayCommandLine): how it runs, then the line.
std::string DemoCommandLine(const PlaySettings& settings, const std::string& worldLine)
{
    char seconds[32] = {};
    std::to_chars(seconds, seconds + sizeof seconds - 1, settings.quitAfterSeconds);
    std::string line = "tagvind play --offscreen --autopilot --quit-after " + std::string(seconds) + " --window " +
                       std::to_string(settings.windowWidth) + "x" + std::to_string(settings.windowHeight);
    if (settings.fullScreen)
        line += " --fullscreen";
    if (settings.uncapped)
        line += " --uncapped";
    if (!settings.screenshotPath.empty())
        line += " --screenshot " + ShellWord(settings.screenshotPath);
    constexpr const char* WorldLineStart = "tagvind play";
    return line + worldLine.substr(worldLine.rfind(WorldLineStart, 0) == 0 ? std::strlen(WorldLineStart) : 0);
}

}  // namespace

int RunGame(PlaySettings settings, const OpenSoundDevice& openSound, std::ostream& out, std::ostream& err)
{
    GameApp app;
    app.out = &out;
    app.err = &err;
    std::string whyNot;
    if (!StartWindowSystem(whyNot)) {
        err << "tagvind: the window system does not start: " << whyNot << "\n";
        return 1;
    }
    bool runsDemo = !settings.offscreen && !HasDisplay();
    if (runsDemo)
        UseDemoSettings(settings);
    if (settings.offscreen)
        UseOffscreenWindows();
    KeepVideoDriver();
    app.settings = settings;
    if (!ReadScript(app)) {
        StopWindowSystem();
        return 2;
    }
    app.game = std::make_unique<GameSession>();
    GameSession& game = *app.game;
    game.options = settings.options;
    game.endsAfterRun = settings.offscreen ? 1 : 0;
    app.ui = CreateGameUi();
    LoadIcon(app);
    BuildMenus(app);
    AppPlatform platform(app);

    // The generator is seeded with the clock reading first (the command line may have pressed
    // Random with it), then the options dialog runs before anything else.
    SeedAsStartUp(game.world, game.options, settings.seed);
    OptionsDialog dialog;
    OpenOptionsDialog(dialog, game.options, game.app, settings.seed);
    if (runsDemo) {
        // The line Start builds, so that the player can run the same demo again.
        out << "No display is available, so the game cannot open its window. Running the demo instead: "
            << DemoCommandLine(settings, ReplayCommandLine(dialog)) << std::endl;  // seen at once, though the demo runs on
    }
    if (settings.offscreen)
        PressStart(dialog, game.options);
    else
        RunFirstOptionsDialog(app, dialog);
    game.app.gameStarted = 1;

    // The sound device is made only now: a sound chosen later in the program run stays silent.
    game.app.soundEnabled = 0;
    std::string noSound;
    auto openSoundDevice = [&noSound, &openSound](const SoundBufferFormat& format) {
        return openSound(format, noSound);
    };
    if (game.options.soundType != SoundOff && InitEngineSound(game.sound, openSoundDevice))
        game.app.soundEnabled = 1;
    else if (game.options.soundType != SoundOff)
        err << "tagvind: no sound device, so the engine stays silent (" << noSound << ")\n";

    // The world, then the device: the device catalogue, the windowed check and the open.
    StartNewRun(game, dialog.routeSeed);
    LoadRegisteredTextures(app.session.textures, game.world.textures, GameBitmapSource(), whyNot);
    err << whyNot;
    app.session.placement = {DefaultWindowPosition(), DefaultWindowPosition(), settings.windowWidth,
                             settings.windowHeight, 0};
    app.session.report = [&app](int32_t code, int32_t mode) { ReportDeviceFailure(app, code, mode); };
    app.session.paced = PacesFrames(settings) ? 1 : 0;
    game.app.windowed = 1;
    if (IsFailure(StartRenderDevice(app.session, game.app))) {
        ReleaseEngineSound(game.sound);
        DestroyGameUi(app.ui);
        StopWindowSystem();
        return 1;
    }
    AfterDeviceOpened(app);

    StartGameClock(game.app, NowMs(app));
    app.loopStartMs = NowMs(app);
    app.loopStarted = true;
    AllowRendering(game.app);
    if (settings.fullScreen)
        HandleCommand(game, platform, CommandToggleFullScreen, false);
    RunLoop(app, platform);
    ShutDown(app);
    return app.renderingFailed || app.outputFailed ? 1 : 0;
}
