#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "sim/signals_scoring.h"
#include "sim/train_motion.h"
#include "sim_fixture.h"

namespace {

// A line 1 → 2 → 3 of 100 m straights (and 4, the diverging track out of 1) with the player
// about to run into segment 2.
struct SignRun {
    std::unique_ptr<World> world = MakeResetWorld();
    SimStep step = RunningStep(0.1f);

    SignRun() { LayStraightLine(*world, 4, 100.0f), world->track[1].nextAlt = 4; }
    TrainUnit& player() { return world->trains[world->playerUnit]; }
    SignTally EnterSegmentTwo(float speed)
    {
        PlacePlayer(*world, 1, 99.9f, speed);
        return MoveTrainsAlongTrack(*world, step);
    }
};

}  // namespace

TEST(Signs, EachSignActsOnThePlayerAsItEntersTheSegment)
{
    struct Case {
        int32_t sign;
        float speed;
        int32_t scoreChange, limitAfter, announcedAfter;
        const char* message;
    } cases[] = {
        {SignLineSpeed, 134.9f, 100, 130, NoAnnouncedLimit, ""}, {SignLimit40, 44.0f, 100, 40, NoAnnouncedLimit, ""},
        {SignLineSpeed, 135.0f, -100, 130, NoAnnouncedLimit, "High speed: -100 points"},
        {SignLimit40, 45.0f, -100, 40, NoAnnouncedLimit, "High speed: -100 points"},
        {SignExpectStop, 80.0f, 0, 77, 0, ""}, {SignExpect40, 80.0f, 0, 77, 40, ""},
        {SignExpectLineSpeed, 150.0f, 0, 130, 130, ""}, {14, 80.0f, 0, 77, 999, ""}, {4, 80.0f, 0, 77, 999, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "sign " << c.sign << " at " << c.speed);
        SignRun run;
        PutSign(*run.world, 2, c.sign);
        std::tie(run.player().speedLimit, run.player().announcedLimit) = std::tuple(77, 999);
        SignTally tally = run.EnterSegmentTwo(c.speed);
        EXPECT_EQ(std::tuple(run.player().segment, run.world->score, run.player().speedLimit, run.player().announcedLimit),
                  std::tuple(2, c.scoreChange, c.limitAfter, c.announcedAfter));
        EXPECT_EQ(std::string(run.world->messageText), c.message);
        EXPECT_EQ(std::tuple(run.world->messageSeconds, tally.highSpeedPenalties, tally.speedRewards),
                  std::tuple(c.scoreChange < 0 ? 3 : 0, c.scoreChange < 0 ? 1 : 0, c.scoreChange > 0 ? 1 : 0));
    }
    // The line speed signs use the unit's own line speed.
    SignRun run;
    run.player().lineSpeed = 100;
    PutSign(*run.world, 2, SignLineSpeed);
    run.EnterSegmentTwo(103.0f);
    EXPECT_EQ(run.player().speedLimit + run.world->score, 200);
}

TEST(Signs, PassingAStopSignalPutsTheTrainBackStoppedTwentyMetresBeforeItAndTheDestinationEndsTheRun)
{
    SignRun run;
    PutSign(*run.world, 2, SignStop);
    TrainUnit& player = run.player();
    std::tie(player.throttle, player.gear) = std::tuple(3, 3);
    player.soundRate = 1.2f;
    player.announcedLimit = 0;
    SignTally tally = run.EnterSegmentTwo(90.0f);
    EXPECT_EQ(std::tuple(tally.stopSignalsPassed, player.segment, player.segmentDistance, player.speed, player.soundRate),
              std::tuple(1, 1, 80.0f, 0.0f, 0.0f));
    EXPECT_EQ(std::tuple(player.throttle, player.brake, player.gear, player.announcedLimit, run.world->score),
              std::tuple(0, 8, 1, NoAnnouncedLimit, -1000));
    EXPECT_EQ(std::string(run.world->messageText), "Passing stop-signal: -1000 points");
    EXPECT_EQ(run.world->messageSeconds, 10);
    // Placed where it was put back, not where it had got to.
    EXPECT_FLOAT_EQ(player.posZ, 80.0f);

    // The signal keeps its code: passing it again costs again.
    run.EnterSegmentTwo(90.0f);
    EXPECT_EQ(run.world->score, -2000);

    // The destination ends the run once, the train held from the next step on; once the shell
    // has announced it, entering again does not bring the announcement back.
    PutSign(*run.world, 2, SignDestination);
    tally = run.EnterSegmentTwo(130.0f);
    EXPECT_EQ(std::tuple(tally.destinationsReached, run.world->destinationState, player.speed), std::tuple(1, 1, 130.0f));
    run.world->destinationState = 2;
    ApplyPlayerSign(*run.world, 1, SignDestination, 1);
    EXPECT_EQ(run.world->destinationState, 2);
}

TEST(Signs, TheSignIsReadFromBothForwardLinksAfterTheEventsOfTheSegmentLeft)
{
    // Segment 1 leads to 2 by its switch and to 4 by the diverging track.
    struct Case {
        int32_t signOnNext, signOnAlt, switchSetting;
        bool present;
        int32_t setByEvent;  // a sign code an event of segment 1 puts on segment 2, or 0
        int32_t expectedLimit, expectedSegment;
    } cases[] = {
        {SignLimit40, 0, 1, true, 0, 40, 2},
        {SignLimit40, 0, 2, true, 0, 40, 4},  // the diverging track has none: the main line's counts
        {0, SignLimit40, 1, true, 0, 40, 2},  // the train takes the main line yet reads the diverging sign
        {SignLineSpeed, SignLimit40, 1, true, 0, 40, 2},
        {SignLimit40, SignLineSpeed, 2, true, 0, 130, 4},
        {SignLimit40, 0, 1, false, 0, 77, 2},  // a code without signPresent is not read
        {SignStop, 0, 1, true, SignLimit40, 40, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "next " << c.signOnNext << ", alt " << c.signOnAlt << ", switch "
                                        << c.switchSetting << ", event " << c.setByEvent);
        SignRun run;
        run.world->track[1].forwardSwitch = c.switchSetting;
        if (c.signOnNext != 0)
            PutSign(*run.world, 2, c.signOnNext);
        if (c.signOnAlt != 0)
            PutSign(*run.world, 4, c.signOnAlt);
        run.world->track[2].signPresent = c.present;
        if (c.setByEvent != 0)
            AddEvent(*run.world, 0, EventSetSign, 1, 1).segment = 2, run.world->events[0].signCode = c.setByEvent;
        run.player().speedLimit = 77;
        run.EnterSegmentTwo(30.0f);
        EXPECT_EQ(std::tuple(run.player().segment, run.player().speedLimit, run.world->score),
                  std::tuple(c.expectedSegment, c.expectedLimit, c.expectedLimit == 77 ? 0 : 100));
    }
}

TEST(Score, EveryStepThatIsNotPausedHoldsTheScoreWithinItsBounds)
{
    for (bool paused : {false, true}) {
        for (int32_t start : {12000, -12000, 9999, -9999, 0}) {
            SignRun run;
            std::tie(run.world->score, run.step.paused) = std::tuple(start, paused);
            PlacePlayer(*run.world, 1, 10.0f, 50.0f);
            StepTrains(*run.world, run.step);
            EXPECT_EQ(run.world->score, paused ? start : std::clamp(start, -9999, 9999)) << start;
        }
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
        bool paused;
        int32_t messageBefore, scoreBefore, scoreAfter, messageAfter;
        ScoreTickOutcome outcome;
    } cases[] = {
        {131.0f, false, 0, 500, 501, 0, TickWithinLimit}, {125.1f, false, 0, 500, 501, 0, TickWithinLimit},
        // Exactly limit - 5: no reward; exactly limit + 5: neither.
        {125.0f, false, 0, 500, 500, 0, TickNoChange}, {135.0f, false, 0, 500, 500, 0, TickNoChange},
        {90.0f, false, 2, 500, 500, 1, TickNoChange}, {131.0f, true, 0, 500, 500, 0, TickWithinLimit},  // paused: no reward
        // The message is posted with its extra 5, while paused too; with another message showing
        // the charge alone; a message counted down to 0 first, then posted.
        {136.0f, false, 0, 500, 490, 3, TickSpeeding}, {136.0f, true, 0, 500, 490, 3, TickSpeeding},
        {136.0f, false, 5, 500, 495, 4, TickSpeeding}, {136.0f, false, 1, 500, 490, 3, TickSpeeding},
        {136.0f, false, 0, -9993, -9999, 3, TickSpeeding},
        {131.0f, false, 0, 19999, 19999, 0, TickWithinLimit},  // the tick's own ceiling
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.speed << (c.paused ? " paused" : "") << " from " << c.scoreBefore);
        auto world = MakeResetWorld();
        std::tie(world->trains[1].speedLimit, world->trains[1].speed) = std::tuple(130, c.speed);
        std::tie(world->messageSeconds, world->score) = std::tuple(c.messageBefore, c.scoreBefore);
        EXPECT_EQ(ScoreTick(*world, c.paused), c.outcome);
        EXPECT_EQ(std::tuple(world->score, world->messageSeconds), std::tuple(c.scoreAfter, c.messageAfter));
        if (c.messageAfter == 3)
            EXPECT_EQ(std::string(world->messageText), "High speed: -5 points");
    }
}
