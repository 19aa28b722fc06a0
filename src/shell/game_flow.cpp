#include "shell/game_flow.h"

#include <memory>

#include "cab/cab_display.h"
#include "device/device_results.h"
#include "render/scene.h"
#include "shell/game_clock.h"
#include "shell/shell_commands.h"
#include "shell/state_dump.h"
#include "shell/window_procedure.h"
#include "shell/world_options.h"
#include "sim/autopilot.h"
#include "sim/simulation.h"

namespace {

void AnnounceEndOfRun(GameSession& game, ShellPlatform& platform)
{
    AppState& app = game.app;
    game.world.destinationState = 2;
    SilenceGameSound(game);
    // The message box is a dialog like any other: its time is kept off the game clock, or the
    // first step after it would move every train on by the whole time it was open.
    BeginModalHold(app, platform.NowMs());
    platform.ShowMessage(EndOfRunCaption, EndOfRunMessage(game.world.score));
    EndModalHold(app, platform.NowMs());
    game.endOfRunMessages += 1;
    HandleCommand(game, platform, CommandStartMenu, false);
}

// The game's ticks run on the timer itself, through pauses and from run to run; a run of fixed
// steps ticks on its game time.
void RunTicks(GameSession& game, ShellPlatform& platform)
{
    bool paused = game.app.pauseCount != 0;
    TicksTaken taken;
    if (game.fixedStepSeconds > 0.0) {
        double gameSeconds = static_cast<double>(game.framesRun) * game.fixedStepSeconds;
        taken = RunGameTimeTicks(game.ticks, game.world, paused, gameSeconds);
    } else {
        float timerSeconds = static_cast<float>(static_cast<float>(platform.NowMs()) * 0.001);
        taken = RunTimerTicks(game.ticks, game.world, paused, timerSeconds);
    }
    game.speedingTicks += taken.speedingTicks;
    if (taken.cutSoundOff) {
        SilenceGameSound(game);
        game.app.soundOn = 0;
    }
}

}  // namespace

void StartNewRun(GameSession& game, uint32_t seed)
{
    // Built on empty tables, as the command line builds a line: the fields a build leaves alone
    // (the plan's unused ones, where the last run's trains stood) carry nothing over, so the
    // run's command line builds this very world.
    game.world = *std::make_unique<World>();
    SeedAsStartUp(game.world, game.options, seed);
    BuildWorld(game.world, game.options, seed);
    game.runSeed = seed;
    game.runCommandLine = PlayCommandLine(game.options, seed);
    // Taken now: the trains move the world on from the first frame.
    game.worldDigest = WorldDigest(WorldToJson(game.world, game.options));
    game.runsStarted += 1;
}

uint32_t SeedForOptionsDialog(const GameSession& game, uint32_t clockSeed)
{
    return FreshRouteSeed(game.runSeed, clockSeed);
}

int32_t RunFrame(GameSession& game, ShellPlatform& platform)
{
    AppState& app = game.app;
    uint32_t nowMs = platform.NowMs();
    float clockSeconds = GameClockSeconds(app, nowMs);
    TakePendingResume(app);

    // The step simulated now is the one measured at the end of the previous frame.
    bool fixedSteps = game.fixedStepSeconds > 0.0;
    if (fixedSteps)
        app.frameStep = app.pauseCount != 0 ? 0.0f : static_cast<float>(game.fixedStepSeconds);
    if (app.simulationEnabled) {
        SimStep step = {app.frameStep, app.pauseCount != 0, game.options.soundType};
        AddSignTally(game.signs, StepSimulation(game.world, step, game.camera, app.viewMode));
        // Fed once at the end of every step, paused or not, from the rate the step left.
        if (app.soundEnabled) {
            const TrainUnit& player = game.world.trains[game.world.playerUnit];
            StreamEngineSound(game.sound, player.soundRate, EngineAudible(app, game.options));
        }
    }
    if (!fixedSteps)
        AdvanceFrameStep(app, clockSeconds);
    game.framesRun += 1;

    bool runEnded = game.world.destinationState == 1;
    if (runEnded)
        AnnounceEndOfRun(game, platform);

    bool pictureWanted = platform.PictureWanted();
    if (pictureWanted) {
        DrawDevice* device = platform.SceneDevice();
        if (device == nullptr || IsFailure(DrawScene(*device, game.world, game.camera)))
            return DeviceFailed;
    }

    // The frame that ended a run leaves its ticks to the next frame, so the score the message
    // gave stays the run's score.
    if (!runEnded)
        RunTicks(game, platform);

    if (pictureWanted) {
        CabView view = {app.pauseCount != 0, app.showDistanceScore != 0, app.viewMode, game.ticks.framesPerSecond};
        game.cabPicture = DrawCabDisplay(game.world, view, platform.BeginOverlay());
    }

    // Surfaces lost to another program are restored; the frame is not drawn again.
    if (platform.PresentFrame() == DeviceSurfaceLost)
        platform.RestoreSurfaces();
    return DeviceOk;
}

int32_t DemoDriverKey(const World& world, float frameStep)
{
    // The handle's positions in keypad order: brake 1..7, released without power, notches 1..5.
    const TrainUnit& player = world.trains[world.playerUnit];
    int32_t handle = player.brake < BrakeReleased ? player.brake - BrakeFull : 7 + player.throttle;
    int32_t wanted = ChooseAutopilotHandle(world, frameStep);
    if (wanted > handle)
        return KeyKeypadPlus;
    if (wanted < handle)
        return KeyKeypadMinus;
    return KeyNone;
}

void PressDemoDriverKeys(GameSession& game, ShellPlatform& platform)
{
    // The handle has 13 positions, so no walk is longer than 12 presses.
    for (int press = 0; press < 12; ++press) {
        int32_t key = DemoDriverKey(game.world, game.app.frameStep);
        if (key == KeyNone)
            return;
        WindowEvent event{WindowEventKind::KeyDown};
        event.key = key;
        HandleWindowEvent(game, platform, event);
    }
}

bool EngineAudible(const AppState& app, const GameOptions& options)
{
    return app.soundOn != 0 && options.soundType != SoundOff && app.pauseCount == 0;
}

void SilenceGameSound(GameSession& game)
{
    if (game.app.soundEnabled)
        SilenceEngineSound(game.sound);
}

std::string EndOfRunMessage(int32_t score)
{
    return std::string(EndOfRunText) + std::to_string(score);
}
