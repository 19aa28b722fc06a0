#include "shell/game_clock.h"

#include <gtest/gtest.h>

#include "shell/app_state.h"

namespace {

// One frame's clock work as the frame driver does it, at timer reading nowMs.
float ClockFrame(AppState& app, uint32_t nowMs)
{
    float seconds = GameClockSeconds(app, nowMs);
    TakePendingResume(app);
    AdvanceFrameStep(app, seconds);
    return seconds;
}

}  // namespace

TEST(GameClock, CountsSecondsFromTheStartAcrossTheTimersWrap)
{
    AppState app;
    StartGameClock(app, 0xFFFFFF00u);
    EXPECT_FLOAT_EQ(GameClockSeconds(app, 0xFFFFFF00u), 0.0f);
    // 256 ms before the wrap and 256 after it.
    EXPECT_FLOAT_EQ(GameClockSeconds(app, 0x00000100u), 0.512f);
    EXPECT_EQ(app.lastFrameTime, 0.0f);
}

TEST(GameClock, StepIsTheLastFrameIntervalAndZeroWhilePaused)
{
    AppState app;
    StartGameClock(app, 5000);
    ClockFrame(app, 5100);
    EXPECT_NEAR(app.frameStep, 0.1f, 1e-6f);
    ClockFrame(app, 5350);
    EXPECT_NEAR(app.frameStep, 0.25f, 1e-6f);

    // P: the clock runs on, the step stays 0.
    app.pauseCount = 1;
    for (uint32_t now = 5400; now <= 9400; now += 1000) {
        float seconds = ClockFrame(app, now);
        EXPECT_EQ(app.frameStep, 0.0f);
        EXPECT_FLOAT_EQ(app.lastFrameTime, seconds);
    }
    // P again asks for a resume: the next frame takes it, and its step is one frame interval,
    // not the pause.
    app.pauseCount = 2;
    ClockFrame(app, 9450);
    EXPECT_EQ(app.pauseCount, 0);
    EXPECT_NEAR(app.frameStep, 0.05f, 1e-6f);
    EXPECT_EQ(app.clockStartMs, 5000u);
}

TEST(GameClock, InterruptionKeepsItsTimeOffTheClock)
{
    AppState app;
    StartGameClock(app, 1000);
    ClockFrame(app, 1100);
    BeginInterruption(app, 1120);
    EndInterruption(app, 61120);  // a dialog open for a minute
    EXPECT_EQ(app.clockStartMs, 61000u);
    ClockFrame(app, 61150);
    EXPECT_NEAR(app.frameStep, 0.05f, 1e-6f);
}

TEST(GameClock, HoldsNestAndOnlyTheFirstBegins)
{
    AppState app;
    app.isReady = 1;
    EXPECT_TRUE(HoldRendering(app, true));
    EXPECT_EQ(app.isReady, 0);
    EXPECT_FALSE(HoldRendering(app, true));
    EXPECT_FALSE(HoldRendering(app, false));
    EXPECT_EQ(app.isReady, 0);
    EXPECT_FALSE(HoldRendering(app, false));
    EXPECT_EQ(app.isReady, 1);
    // An unmatched end cannot leave the count below zero and block the next hold's end.
    HoldRendering(app, false);
    EXPECT_EQ(app.holdCount, 0);
    EXPECT_TRUE(HoldRendering(app, true));
}

TEST(GameClock, CountingUpPausesOnceThenAsksForAResume)
{
    AppState app;
    EXPECT_TRUE(CountPauseUp(app));
    EXPECT_EQ(app.pauseCount, 1);
    EXPECT_FALSE(CountPauseUp(app));
    EXPECT_EQ(app.pauseCount, 2);
}
