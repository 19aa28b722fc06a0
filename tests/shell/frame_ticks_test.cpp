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
    void OnTimer(float now, bool paused = false)
    {
        TicksTaken taken = RunTimerTicks(ticks, *world, paused, now);
        speeding += taken.speedingTicks;
        cutOffs += taken.cutSoundOff ? 1 : 0;
    }
};

}  // namespace

TEST(FrameTicks, OnTheTimerTheScoreTicksOncePerSecondFromTheFirstFrameAndTheLampsEveryFourTenths)
{
    // The first frame ticks; exactly one second later is not yet more than one; a long gap
    // between frames is still one tick.
    struct Frame {
        float now;
        int32_t score, phase;
    } frames[] = {{0.3f, 1, 0}, {0.41f, 1, 1}, {0.8f, 1, 1}, {0.82f, 1, 0}, {1.3f, 1, 1}, {1.31f, 2, 1}, {30.0f, 3, 0}};
    TickFixture fixture;
    for (const Frame& frame : frames) {
        fixture.OnTimer(frame.now);
        EXPECT_EQ(fixture.world->score, frame.score) << frame.now;
        EXPECT_EQ(fixture.world->signBlinkPhase, frame.phase) << frame.now;
    }
    // 17 frames in the 1.0625 s after a tick: 16 frames a second.
    for (int frame = 1; frame <= 17; ++frame)
        fixture.OnTimer(30.0f + 0.0625f * static_cast<float>(frame));
    EXPECT_FLOAT_EQ(fixture.ticks.framesPerSecond, 16.0f);
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

TEST(FrameTicks, ALowFrameRateCutsTheSoundAfterMoreThanTenSecondsUntilAGoodSecond)
{
    TickFixture fixture;
    float now = 0.0f;
    // One frame every 1.5 s: every frame ticks at well under 10 frames a second.
    auto lowSeconds = [&](int count) {
        for (int tick = 0; tick < count; ++tick, now += 1.5f)
            fixture.OnTimer(now);
    };
    lowSeconds(10);
    EXPECT_EQ(fixture.cutOffs, 0) << "ten low seconds are not yet too many";
    lowSeconds(1);
    EXPECT_EQ(fixture.cutOffs, 1);
    // Switched on again while the rate stays low: it goes off at the next tick.
    lowSeconds(1);
    EXPECT_EQ(fixture.cutOffs, 2);
    // A good second starts the count afresh.
    for (int frame = 1; frame <= 30; ++frame)
        fixture.OnTimer(now + 0.05f * static_cast<float>(frame));
    now += 3.0f;
    int32_t cutOffs = fixture.cutOffs;
    lowSeconds(10);
    EXPECT_EQ(fixture.cutOffs, cutOffs);
    lowSeconds(1);
    EXPECT_EQ(fixture.cutOffs, cutOffs + 1);
}
