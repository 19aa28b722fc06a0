#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "sim/signals_scoring.h"
#include "sim/train_motion.h"
#include "sim_fixture.h"

namespace {

// A line 1 → 2 → 3 of 100 m straights with the player running into segment 2 at speed.
struct SignRun {
    std::unique_ptr<World> world = MakeResetWorld();
    SimStep step = RunningStep(0.1f);

    SignRun()
    {
        LayStraightLine(*world, 3, 100.0f);
    }

    TrainUnit& player() { return world->trains[world->playerUnit]; }

    // Moves the player from 0.1 m before the end of segment 1 into segment 2 at speed.
    SignTally EnterSegmentTwo(float speed)
    {
        PlacePlayer(*world, 1, 99.9f, speed);
        return MoveTrainsAlongTrack(*world, step);
    }
};

}  // namespace

TEST(Signs, LimitSignsRewardPassingUnderLimitPlusFiveAndChargeFromThereOn)
{
    struct Case {
        int32_t sign;
        float speed;
        int32_t scoreChange;
        int32_t limitAfter;
    } cases[] = {
        {SignLineSpeed, 134.9f, 100, 130}, {SignLineSpeed, 135.0f, -100, 130},
        {SignLimit40, 44.0f, 100, 40},     {SignLimit40, 45.0f, -100, 40},
    };
    for (const Case& c : cases) {
        SignRun run;
        PutSign(*run.world, 2, c.sign);
        run.player().announcedLimit = 40;
        SignTally tally = run.EnterSegmentTwo(c.speed);
        EXPECT_EQ(run.player().segment, 2);
        EXPECT_EQ(run.world->score, c.scoreChange) << "sign " << c.sign << " at " << c.speed;
        EXPECT_EQ(run.player().speedLimit, c.limitAfter);
        EXPECT_EQ(run.player().announcedLimit, NoAnnouncedLimit);
        if (c.scoreChange < 0) {
            EXPECT_EQ(std::string(run.world->messageText), "High speed: -100 points");
            EXPECT_EQ(run.world->messageSeconds, 3);
            EXPECT_EQ(tally.highSpeedPenalties, 1);
        } else {
            EXPECT_EQ(run.world->messageSeconds, 0);
            EXPECT_EQ(tally.speedRewards, 1);
        }
    }
}

TEST(Signs, TheLineSpeedSignsUseTheUnitsOwnLineSpeed)
{
    SignRun run;
    run.player().lineSpeed = 100;
    PutSign(*run.world, 2, SignLineSpeed);
    run.EnterSegmentTwo(103.0f);
    EXPECT_EQ(run.player().speedLimit, 100);
    EXPECT_EQ(run.world->score, 100);

    SignRun announcing;
    announcing.player().lineSpeed = 100;
    PutSign(*announcing.world, 2, SignExpectLineSpeed);
    announcing.EnterSegmentTwo(150.0f);
    EXPECT_EQ(announcing.player().speedLimit, 100);
    EXPECT_EQ(announcing.player().announcedLimit, 130);
    EXPECT_EQ(announcing.world->score, 0);
}

TEST(Signs, AnnouncingSignsOnlySetTheAnnouncedLimitAndUnknownCodesDoNothing)
{
    struct Case {
        int32_t sign;
        int32_t announced;
    } cases[] = {{SignExpectStop, 0}, {SignExpect40, 40}, {14, 999}, {4, 999}};
    for (const Case& c : cases) {
        SignRun run;
        PutSign(*run.world, 2, c.sign);
        run.EnterSegmentTwo(80.0f);
        EXPECT_EQ(run.player().announcedLimit, c.announced) << "sign " << c.sign;
        EXPECT_EQ(run.player().speedLimit, 40);
        EXPECT_EQ(run.world->score, 0);
        EXPECT_EQ(run.player().segment, 2);
    }
}

TEST(Signs, PassingAStopSignalPutsTheTrainBackStoppedTwentyMetresBeforeIt)
{
    SignRun run;
    PutSign(*run.world, 2, SignStop);
    run.player().throttle = 3;
    run.player().brake = 8;
    run.player().gear = 3;
    run.player().soundRate = 1.2f;
    run.player().announcedLimit = 0;
    SignTally tally = run.EnterSegmentTwo(90.0f);

    EXPECT_EQ(tally.stopSignalsPassed, 1);
    EXPECT_EQ(run.player().segment, 1);
    EXPECT_FLOAT_EQ(run.player().segmentDistance, 80.0f);
    EXPECT_EQ(run.player().speed, 0.0f);
    EXPECT_EQ(run.player().throttle, 0);
    EXPECT_EQ(run.player().brake, 8);
    EXPECT_EQ(run.player().gear, 1);
    EXPECT_EQ(run.player().soundRate, 0.0f);
    EXPECT_EQ(run.player().announcedLimit, NoAnnouncedLimit);
    EXPECT_EQ(run.world->score, -1000);
    EXPECT_EQ(std::string(run.world->messageText), "Passing stop-signal: -1000 points");
    EXPECT_EQ(run.world->messageSeconds, 10);
    // Placed where it was put back, not where it had got to.
    EXPECT_FLOAT_EQ(run.player().posZ, 80.0f);

    // The signal keeps its code: passing it again costs again.
    run.EnterSegmentTwo(90.0f);
    EXPECT_EQ(run.world->score, -2000);
}

TEST(Signs, TheSignIsReadFromBothForwardLinksAndTheDivergingTracksSignWins)
{
    // Segment 1 leads to 2 by its switch and to 4 by the diverging track.
    struct Case {
        int32_t signOnNext, signOnAlt, switchSetting;
        int32_t expectedLimit;
        int32_t expectedSegment;
    } cases[] = {
        {SignLimit40, 0, 1, 40, 2},
        {SignLimit40, 0, 2, 40, 4},            // the diverging track has none: the main line's counts
        {0, SignLimit40, 1, 40, 2},            // the train takes the main line yet reads the diverging sign
        {SignLineSpeed, SignLimit40, 1, 40, 2},
        {SignLimit40, SignLineSpeed, 2, 130, 4},
    };
    for (const Case& c : cases) {
        SignRun run;
        LayStraight(*run.world, 4, 100.0f);
        run.world->track[1].nextAlt = 4;
        run.world->track[1].forwardSwitch = c.switchSetting;
        if (c.signOnNext != 0)
            PutSign(*run.world, 2, c.signOnNext);
        if (c.signOnAlt != 0)
            PutSign(*run.world, 4, c.signOnAlt);
        run.player().speedLimit = 77;
        run.EnterSegmentTwo(30.0f);
        EXPECT_EQ(run.player().segment, c.expectedSegment);
        EXPECT_EQ(run.player().speedLimit, c.expectedLimit)
            << "next " << c.signOnNext << ", alt " << c.signOnAlt << ", switch " << c.switchSetting;
    }
}

TEST(Signs, ACodeWithoutSignPresentIsNotReadAndOtherTrainsPassSignsFreely)
{
    SignRun run;
    run.world->track[2].forwardSign = SignStop;
    run.EnterSegmentTwo(60.0f);
    EXPECT_EQ(run.player().segment, 2);
    EXPECT_EQ(run.world->score, 0);

    SignRun other;
    PutSign(*other.world, 2, SignStop);
    TrainUnit& unit = other.world->trains[7];
    unit.kind = TrainLocomotive;
    unit.segment = 1;
    unit.segmentDistance = 99.0f;
    unit.speed = 60.0f;
    other.player().segment = 3;
    MoveTrainsAlongTrack(*other.world, other.step);
    EXPECT_EQ(unit.segment, 2);
    EXPECT_EQ(other.world->score, 0);
}

TEST(Signs, TheDestinationEndsTheRunOnceAndASignChangedLaterWaitsForTheNextEntry)
{
    SignRun run;
    PutSign(*run.world, 2, SignDestination);
    SignTally tally = run.EnterSegmentTwo(130.0f);
    EXPECT_EQ(tally.destinationsReached, 1);
    EXPECT_EQ(run.world->destinationState, 1);
    EXPECT_EQ(run.player().speed, 130.0f);  // held from the next step on

    // The shell has announced it: entering again does not bring the announcement back.
    run.world->destinationState = 2;
    ApplyPlayerSign(*run.world, 1, SignDestination, 1);
    EXPECT_EQ(run.world->destinationState, 2);

    SignRun later;
    later.EnterSegmentTwo(60.0f);
    PutSign(*later.world, 2, SignStop);
    MoveTrainsAlongTrack(*later.world, later.step);
    EXPECT_EQ(later.player().segment, 2);
    EXPECT_EQ(later.world->score, 0);
}

TEST(Score, EveryRunningStepHoldsTheScoreWithinItsBounds)
{
    for (int32_t start : {12000, -12000, 9999, -9999, 0}) {
        SignRun run;
        run.world->score = start;
        PlacePlayer(*run.world, 1, 10.0f, 50.0f);
        MoveTrainsAlongTrack(*run.world, run.step);
        EXPECT_EQ(run.world->score, std::clamp(start, -9999, 9999));
    }
    // A stop signal at the bottom of the scale leaves the score at its bound after the step.
    SignRun run;
    run.world->score = -9500;
    PutSign(*run.world, 2, SignStop);
    run.EnterSegmentTwo(50.0f);
    EXPECT_EQ(run.world->score, -9999);
}

TEST(Score, TheTickRewardsDrivingWithinFiveOfTheLimitAndChargesSpeeding)
{
    struct Case {
        float speed;
        int32_t pauseCount;
        int32_t messageBefore;
        int32_t scoreChange;
        int32_t messageAfter;
        ScoreTickOutcome outcome;
    } cases[] = {
        {131.0f, 0, 0, 1, 0, TickWithinLimit},
        {125.1f, 0, 0, 1, 0, TickWithinLimit},
        {125.0f, 0, 0, 0, 0, TickNoChange},    // exactly limit - 5: no reward
        {135.0f, 0, 0, 0, 0, TickNoChange},    // exactly limit + 5: neither
        {90.0f, 0, 2, 0, 1, TickNoChange},
        {131.0f, 1, 0, 0, 0, TickWithinLimit}, // paused: no reward
        {136.0f, 0, 0, -10, 3, TickSpeeding},  // the message is posted with its extra 5
        {136.0f, 1, 0, -10, 3, TickSpeeding},  // speeding costs while paused too
        {136.0f, 0, 5, -5, 4, TickSpeeding},   // another message showing: the charge alone
        {136.0f, 0, 1, -10, 3, TickSpeeding},  // counted down to 0 first, then posted
    };
    for (const Case& c : cases) {
        auto world = MakeResetWorld();
        TrainUnit& player = world->trains[1];
        player.speedLimit = 130;
        player.speed = c.speed;
        world->messageSeconds = c.messageBefore;
        world->score = 500;
        EXPECT_EQ(ScoreTick(*world, c.pauseCount != 0), c.outcome) << c.speed;
        EXPECT_EQ(world->score, 500 + c.scoreChange) << c.speed << " paused " << c.pauseCount;
        EXPECT_EQ(world->messageSeconds, c.messageAfter) << c.speed;
        if (c.messageAfter == 3) {
            EXPECT_EQ(std::string(world->messageText), "High speed: -5 points");
        }
    }
}

TEST(Score, SpeedingCostsTwentyPointsEveryThreeSecondsAndTheScaleEndsAtItsBounds)
{
    auto world = MakeResetWorld();
    world->trains[1].speedLimit = 40;
    world->trains[1].speed = 60.0f;
    int32_t expected[6] = {-10, -15, -20, -30, -35, -40};
    for (int second = 0; second < 6; ++second) {
        ScoreTick(*world, false);
        EXPECT_EQ(world->score, expected[second]) << "second " << second;
    }

    world->score = -9993;
    world->messageSeconds = 0;
    ScoreTick(*world, false);
    EXPECT_EQ(world->score, -9999);

    world->trains[1].speed = 40.0f;
    world->score = 19999;
    ScoreTick(*world, false);
    EXPECT_EQ(world->score, 19999);
}

TEST(Score, TheBlinkTickAlternatesThePhase)
{
    auto world = MakeResetWorld();
    world->signBlinkPhase = 0;
    BlinkTick(*world);
    EXPECT_EQ(world->signBlinkPhase, 1);
    BlinkTick(*world);
    EXPECT_EQ(world->signBlinkPhase, 0);
}
