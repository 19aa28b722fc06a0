#pragma once
// A ShellPlatform without a window: the timer is a number the test sets, the dialogs run
// scripts the test gives them (and take the time the test says they stay open), and every call
// is written to a log in order. The scene goes to a recording device, the cab display to a
// recording canvas.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../cab/recording_canvas.h"
#include "../render/recording_device.h"
#include "device/device_results.h"
#include "shell/device_dialog.h"
#include "shell/game_flow.h"

class FakeShellPlatform : public ShellPlatform {
public:
    explicit FakeShellPlatform(const TextureRegistry& registry)
        : device(registry), canvas(CanvasSize{800, 600, 32})
    {
    }

    uint32_t nowMs = 1000;
    uint32_t clockSeed = 1700000000;
    std::vector<std::string> log;

    // How long each dialog stays open, and what the player does in the options dialog; by
    // default START is pressed as the dialog opened.
    uint32_t dialogMs = 0;
    std::function<void(OptionsDialog&, GameOptions&, GameRandom&, AppState&)> optionsScript =
        [](OptionsDialog& dialog, GameOptions& options, GameRandom&, AppState&) { PressStart(dialog, options); };
    int32_t deviceDialogResult = DeviceDialogUnchanged;
    int32_t deviceDialogWindowed = 1;
    int32_t presentResult = DeviceOk;
    bool hasDevice = true;
    // What the game state was while each dialog was open.
    std::vector<AppState> appDuringDialogs;
    std::vector<std::string> messages;
    const AppState* watchedApp = nullptr;

    uint32_t NowMs() override { return nowMs; }
    uint32_t ClockSeed() override { return clockSeed; }

    void RunOptionsDialog(OptionsDialog& dialog, GameOptions& options, GameRandom& random, AppState& app) override
    {
        log.push_back(std::string("options ") + OptionsStartLabel(dialog));
        appDuringDialogs.push_back(app);
        nowMs += dialogMs;
        optionsScript(dialog, options, random, app);
    }
    void RunAboutBox() override { Dialog("about"); }
    int32_t RunDeviceDialog(int32_t windowed, int32_t& chosenWindowed) override
    {
        Dialog("device dialog windowed=" + std::to_string(windowed));
        chosenWindowed = deviceDialogWindowed;
        return deviceDialogResult;
    }
    void ShowMessage(const char* caption, const std::string& text) override
    {
        messages.push_back(text);
        Dialog(std::string("message ") + caption);
    }
    void OpenHelp() override { log.push_back("help"); }
    void OpenPopupMenu(int32_t x, int32_t y) override { log.push_back("popup " + std::to_string(x) + "," + std::to_string(y)); }
    int32_t ReopenDevice(AppState& app) override
    {
        log.push_back("reopen windowed=" + std::to_string(app.windowed) + " ready=" + std::to_string(app.isReady));
        return DeviceOk;
    }
    void ResizeDevice() override { log.push_back("resize"); }
    void MoveDevice(int32_t x, int32_t y) override { log.push_back("move " + std::to_string(x) + "," + std::to_string(y)); }
    void CloseWindow() override { log.push_back("close"); }
    void WorldRebuilt(World&) override { log.push_back("rebuilt"); }
    DrawDevice* SceneDevice() override
    {
        log.push_back("scene");
        if (!hasDevice)
            return nullptr;
        device.calls.clear();
        device.draws.clear();
        return &device;
    }
    CabCanvas& BeginOverlay() override
    {
        log.push_back("overlay");
        // The canvas holds the last frame's drawing only.
        canvas = RecordingCanvas(CanvasSize{800, 600, 32});
        return canvas;
    }
    int32_t PresentFrame() override { log.push_back("present"); return presentResult; }
    void RestoreSurfaces() override { log.push_back("restore"); }

    RecordingDevice device;
    RecordingCanvas canvas;

private:
    void Dialog(const std::string& entry)
    {
        log.push_back(entry);
        if (watchedApp != nullptr)
            appDuringDialogs.push_back(*watchedApp);
        nowMs += dialogMs;
    }
};

// A session on a built preset line, started as the game starts: the first dialog closed with
// START, the device open, the clock started at the platform's time.
struct StartedGame {
    std::unique_ptr<GameSession> session;
    std::unique_ptr<FakeShellPlatform> fake;

    GameSession& game() { return *session; }
    FakeShellPlatform& platform() { return *fake; }
    AppState& app() { return session->app; }
    TrainUnit& player() { return session->world.trains[session->world.playerUnit]; }
};

inline StartedGame StartGameForTest()
{
    StartedGame started;
    started.session = std::make_unique<GameSession>();
    GameSession& game = *started.session;
    game.options.totalLengthKm = 5;
    game.options.meetingDistanceKm = 2;
    game.options.soundType = SoundOff;
    StartNewRun(game, 4321);
    game.app.gameStarted = game.app.isActive = game.app.isReady = 1;
    started.fake = std::make_unique<FakeShellPlatform>(game.world.textures);
    started.fake->watchedApp = &game.app;
    game.app.clockStartMs = started.fake->nowMs;
    return started;
}
