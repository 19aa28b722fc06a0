#include "shell/game_clock.h"

#include "shell/app_state.h"

void StartGameClock(AppState& app, uint32_t nowMs)
{
    app.clockStartMs = nowMs;
    app.lastFrameTime = 0.0f;
}

float GameClockSeconds(const AppState& app, uint32_t nowMs)
{
    uint32_t elapsedMs = nowMs - app.clockStartMs;
    return static_cast<float>(static_cast<float>(elapsedMs) * 0.001);
}

void TakePendingResume(AppState& app)
{
    if (app.pauseCount > 1)
        app.pauseCount = 0;
}

void AdvanceFrameStep(AppState& app, float clockSeconds)
{
    // While paused the previous frame is moved up to now, so the step is 0 and the first step
    // after the pause covers one frame, not the whole pause.
    if (app.pauseCount > 0)
        app.lastFrameTime = clockSeconds;
    app.frameStep = clockSeconds - app.lastFrameTime;
    app.lastFrameTime = clockSeconds;
}

void PauseGame(AppState& app)
{
    app.pauseCount = 1;
}

void ResumeGame(AppState& app)
{
    app.pauseCount = 0;
}

void ResumeAtNextFrame(AppState& app)
{
    app.pauseCount = 2;
}

bool HoldRendering(AppState& app, bool on)
{
    bool began = false;
    if (on) {
        began = app.holdCount == 0;
        app.holdCount += 1;
    } else if (app.holdCount > 0) {
        app.holdCount -= 1;
    }
    app.isReady = app.holdCount == 0 ? 1 : 0;
    return began;
}

void BeginInterruption(AppState& app, uint32_t nowMs)
{
    app.pauseStartMs = nowMs;
}

void EndInterruption(AppState& app, uint32_t nowMs)
{
    app.clockStartMs += nowMs - app.pauseStartMs;
}

void BeginModalHold(AppState& app, uint32_t nowMs)
{
    HoldRendering(app, true);
    BeginInterruption(app, nowMs);
}

void EndModalHold(AppState& app, uint32_t nowMs)
{
    HoldRendering(app, false);
    EndInterruption(app, nowMs);
}

void StopRendering(AppState& app)
{
    app.isReady = 0;
}

void AllowRendering(AppState& app)
{
    app.isReady = 1;
}

bool CountPauseUp(AppState& app)
{
    app.pauseCount += 1;
    return app.pauseCount == 1;
}
