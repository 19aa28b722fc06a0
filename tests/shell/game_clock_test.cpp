#include "shell/game_clock.h"

#include <gtest/gtest.h>

#include <tuple>

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
}

TEST(GameClock, StepIsTheLastFrameIntervalAndZeroWhilePaused)
{
    // Paused (P) the clock runs on and the step stays 0; P again asks for a resume, which the
    // next frame takes, its step one frame interval, not the pause.
    const std::tuple<uint32_t, int32_t, float> frames[] = {
        {5100, 0, 0.1f}, {5350, 0, 0.25f}, {5400, 1, 0.0f}, {9400, 1, 0.0f}, {9450, 2, 0.05f}};
    AppState app;
    StartGameClock(app, 5000);
    for (auto [now, pauseCount, step] : frames) {
        app.pauseCount = pauseCount;
        float seconds = ClockFrame(app, now);
        EXPECT_NEAR(app.frameStep, step, 1e-6f) << now;
        EXPECT_FLOAT_EQ(app.lastFrameTime, seconds) << now;
    }
    EXPECT_EQ(std::make_pair(app.pauseCount, app.clockStartMs), std::make_pair(0, 5000u));
}

TEST(GameClock, HoldsNestAndOnlyTheFirstBegins)
{
    // Begin, begin, end, end, then an unmatched end, which must not block the next hold's end.
    const std::tuple<bool, bool, int32_t> steps[] = {{true, true, 0},   {true, false, 0},  {false, false, 0},
                                                     {false, false, 1}, {false, false, 1}, {true, true, 0},
                                                     {false, false, 1}};
    AppState app;
    app.isReady = 1;
    for (auto [begin, first, ready] : steps) {
        EXPECT_EQ(HoldRendering(app, begin), first);
        EXPECT_EQ(app.isReady, ready);
    }
}
