#include "shell/frame_ticks.h"

#include <gtest/gtest.h>

#include <memory>

#include "world/world.h"

namespace {

// The player at the 130 limit: a score tick earns a point unless paused.
struct TickFixture {
    std::unique_ptr<World> world = std::make_unique<World>();
    FrameTicks ticks;
    int32_t speeding = 0;
    int32_t cutOffs = 0;

    TickFixture()
    {
        world->playerUnit = PlayerUnit;
        world->trains[PlayerUnit].speed = 130.0f;
        world->trains[PlayerUnit].speedLimit = 130;
    }
    void OnTimer(float now, bool paused = false) { Count(RunTimerTicks(ticks, *world, paused, now)); }
    void OnGameTime(double seconds) { Count(RunGameTimeTicks(ticks, *world, false, seconds)); }
    void Count(const TicksTaken& taken)
    {
        speeding += taken.speedingTicks;
        cutOffs += taken.cutSoundOff ? 1 : 0;
    }
};

}  // namespace

TEST(FrameTicks, OnTheTimerTheScoreTicksOncePerSecondStartingWithTheFirstFrame)
{
    TickFixture fixture;
    fixture.OnTimer(0.3f);
    EXPECT_EQ(fixture.world->score, 1) << "the first frame ticks";
    fixture.OnTimer(0.9f);
    fixture.OnTimer(1.3f);
    EXPECT_EQ(fixture.world->score, 1) << "exactly one second later is not yet more than one";
    fixture.OnTimer(1.31f);
    EXPECT_EQ(fixture.world->score, 2);
    // Ten seconds of frames at 50 a second give ten more ticks.
    for (int frame = 1; frame <= 500; ++frame)
        fixture.OnTimer(1.31f + 0.02f * static_cast<float>(frame));
    EXPECT_GE(fixture.world->score, 11);
    EXPECT_LE(fixture.world->score, 12);
    // A long gap between frames is still one tick.
    int32_t before = fixture.world->score;
    fixture.OnTimer(30.0f);
    EXPECT_EQ(fixture.world->score, before + 1);
}

TEST(FrameTicks, OnGameTimeEveryWholeSecondTicksOnceEvenWhenAStepSpansSeveral)
{
    TickFixture fixture;
    fixture.OnGameTime(0.98);
    EXPECT_EQ(fixture.world->score, 0) << "no tick before the first whole second";
    fixture.OnGameTime(1.0);
    EXPECT_EQ(fixture.world->score, 1) << "a tick exactly at the second";
    fixture.OnGameTime(3.5);
    EXPECT_EQ(fixture.world->score, 3);
    // Blinks at 0.4, 0.8 … 3.2 s: eight, an even number, so the lamps are back in phase 0.
    EXPECT_EQ(fixture.world->signBlinkPhase, 0);
    fixture.OnGameTime(3.6);
    EXPECT_EQ(fixture.world->signBlinkPhase, 1);
}

TEST(FrameTicks, ThePauseReachesTheScoreAndSpeedingIsCounted)
{
    TickFixture fixture;
    fixture.OnTimer(2.0f, true);
    EXPECT_EQ(fixture.world->score, 0) << "driving within the limit earns nothing while paused";
    fixture.world->trains[PlayerUnit].speed = 140.0f;
    fixture.OnTimer(3.5f, true);
    EXPECT_EQ(fixture.world->score, -10) << "speeding costs even while paused";
    EXPECT_EQ(fixture.speeding, 1);
}

TEST(FrameTicks, LampsBlinkEveryFourTenthsOfASecondOnTheTimer)
{
    TickFixture fixture;
    const struct {
        float now;
        int32_t phase;
    } frames[] = {{0.3f, 0}, {0.41f, 1}, {0.8f, 1}, {0.82f, 0}};
    for (const auto& frame : frames) {
        fixture.OnTimer(frame.now);
        EXPECT_EQ(fixture.world->signBlinkPhase, frame.phase) << frame.now;
    }
}

TEST(FrameTicks, TheFrameRateIsMeasuredAtEachScoreTick)
{
    TickFixture fixture;
    fixture.OnTimer(0.0f);
    // 21 frames in the 1.05 s after the first tick: 20 frames a second.
    for (int frame = 1; frame <= 21; ++frame)
        fixture.OnTimer(0.05f * static_cast<float>(frame));
    EXPECT_FLOAT_EQ(fixture.ticks.framesPerSecond, 20.0f);
}

TEST(FrameTicks, ALowFrameRateCutsTheSoundAfterMoreThanTenSecondsUntilAGoodSecond)
{
    TickFixture fixture;
    // One frame every 1.5 s: every frame ticks at well under 10 frames a second.
    float now = 0.0f;
    for (int tick = 1; tick <= 10; ++tick, now += 1.5f)
        fixture.OnTimer(now);
    EXPECT_EQ(fixture.cutOffs, 0) << "ten low seconds are not yet too many";
    fixture.OnTimer(now);
    now += 1.5f;
    EXPECT_EQ(fixture.cutOffs, 1);
    // The player switches it on again while the rate stays low: it goes off at the next tick.
    fixture.OnTimer(now);
    now += 1.5f;
    EXPECT_EQ(fixture.cutOffs, 2);

    // A good second starts the count afresh: ten low seconds after it keep the sound.
    for (int frame = 1; frame <= 30; ++frame)
        fixture.OnTimer(now + 0.05f * static_cast<float>(frame));
    now += 3.0f;
    int32_t cutOffsBefore = fixture.cutOffs;
    for (int tick = 1; tick <= 10; ++tick, now += 1.5f)
        fixture.OnTimer(now);
    EXPECT_EQ(fixture.cutOffs, cutOffsBefore);
    fixture.OnTimer(now);
    EXPECT_EQ(fixture.cutOffs, cutOffsBefore + 1);
}
