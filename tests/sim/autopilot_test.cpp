#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "sim/autopilot.h"
#include "sim/camera.h"
#include "sim/simulation.h"
#include "sim_fixture.h"
#include "world/game_options.h"

namespace {

bool IsReachableByTheControls(DriverControls controls)
{
    bool inRange = controls.throttle >= 0 && controls.throttle <= 5 && controls.brake >= 1 && controls.brake <= 8;
    // The levers and keys never leave power on against the brake.
    return inRange && (controls.throttle == 0 || controls.brake == 8);
}

}  // namespace

TEST(Autopilot, TheLineIsReadThroughTheSwitchesAsTheyLieNowUpToWhatTheDriverKeeps)
{
    // 1 → 2 → 3, whose entry has a stop signal and whose end leads nowhere; the diverging
    // track 1 → 4 → 5 → 6 has a limit on 9 beside 5 and the destination on 6.
    auto world = MakeResetWorld();
    LayStraightLine(*world, 6, 300.0f);
    LayStraight(*world, 9, 100.0f);
    std::tie(world->track[1].nextAlt, world->track[3].next, world->track[4].prev, world->track[4].nextAlt) = std::tuple(4, 0, 1, 0);
    world->track[4].nextAlt = 9;
    PutSign(*world, 3, SignStop);
    PutSign(*world, 6, SignDestination);
    PutSign(*world, 9, SignLimit40);
    PlacePlayer(*world, 1, 100.0f, 0.0f);
    LineAhead ahead = ReadLineAhead(*world, AutopilotSightDistance);
    ASSERT_EQ(ahead.count, 1);
    EXPECT_EQ(std::tuple(ahead.restrictions[0].kind, ahead.restrictions[0].segment), std::tuple(RestrictionStopSignal, 3));
    EXPECT_DOUBLE_EQ(ahead.restrictions[0].distance, 500.0 - StopSignalStandOff);
    // Over the switch the limit beside 5 counts as the train will read it on entering 5, and
    // the destination ends the walk.
    world->track[1].forwardSwitch = 2;
    ahead = ReadLineAhead(*world, AutopilotSightDistance);
    ASSERT_EQ(ahead.count, 2);
    EXPECT_EQ(std::tuple(ahead.restrictions[0].kind, ahead.restrictions[0].segment), std::tuple(RestrictionLimit, 5));
    EXPECT_LE(ahead.restrictions[0].distance, 500.0);
    EXPECT_LE(ahead.restrictions[0].speed, 40.0f);
    EXPECT_EQ(ahead.restrictions[1].kind, RestrictionDestination);
    EXPECT_GT(ahead.restrictions[1].distance, 750.0);
    EXPECT_LT(ahead.restrictions[1].distance, 1100.0);
    // Beyond the sight distance nothing is read.
    EXPECT_EQ(ReadLineAhead(*world, 100.0).count, 0);

    // When more is in sight than the driver keeps, it plans to stand where its reading ends.
    world = MakeResetWorld();
    LayStraightLine(*world, 40, 60.0f);
    for (int i = 2; i <= 40; ++i)
        PutSign(*world, i, SignLimit40);
    PlacePlayer(*world, 1, 0.0f, 0.0f);
    ahead = ReadLineAhead(*world, AutopilotSightDistance);
    ASSERT_EQ(ahead.count, MaxRestrictionsAhead);
    const SpeedRestriction& last = ahead.restrictions[MaxRestrictionsAhead - 1];
    EXPECT_EQ(std::tuple(last.kind, last.speed), std::tuple(RestrictionEndOfSight, 0.0f));
    EXPECT_LE(last.distance, 60.0 * MaxRestrictionsAhead);
    EXPECT_GE(last.distance, ahead.restrictions[MaxRestrictionsAhead - 2].distance);
}

TEST(Autopilot, DrivesWithinTheLimitsWaitsAtASignalUntilItClearsAndStopsInTheDestination)
{
    // 1 (1000 m), line speed from 2 (1500 m), a stop signal at the entry of 3, 4 (1500 m), limit
    // 40 from 5 (400 m), 6 (300 m), the destination at 7, then 8.
    auto world = MakeResetWorld();
    const float lengths[9] = {0, 1000, 1500, 2000, 1500, 400, 300, 50, 50};
    for (int i = 1; i <= 8; ++i)
        LayStraight(*world, i, lengths[i]);
    PutSign(*world, 2, SignLineSpeed);
    PutSign(*world, 3, SignStop);
    PutSign(*world, 5, SignLimit40);
    PutSign(*world, 7, SignDestination);

    // Another train on a track of its own clears the signal when it leaves it, about four and a
    // half minutes into the drive.
    LayStraight(*world, 20, 3000.0f);
    TrainUnit& other = world->trains[2];
    std::tie(other.kind, other.segment, other.speed, other.throttle, other.brake) =
        std::tuple(TrainLocomotive, 20, 40.0f, 1, BrakeReleased);
    AddEvent(*world, 0, EventSetSign, 2, 20).segment = 3;
    world->events[0].signCode = SignLineSpeed;

    SimStep simStep = RunningStep(0.02f);
    int32_t viewMode = ViewCab;
    Camera camera;
    SignTally signs;
    float maxSpeed = 0.0f;
    float speedEnteringLimit = -1.0f;
    double clearedAt = -1.0;
    double movedOnAt = -1.0;
    float closestToTheSignal = 1e9f;
    bool wasStandingWhenCleared = false;
    int step = 0;
    for (; step < 30000 && world->destinationState == 0; ++step) {
        TrainUnit& player = world->trains[1];
        DriverControls controls = AutopilotControls(*world, simStep.seconds);
        ASSERT_TRUE(IsReachableByTheControls(controls)) << "step " << step;
        StoreDriverControls(player, controls);
        int32_t segmentBefore = player.segment;
        AddSignTally(signs, StepSimulation(*world, simStep, camera, viewMode));
        double time = (step + 1) * 0.02;

        maxSpeed = std::max(maxSpeed, player.speed);
        if (world->track[3].forwardSign == SignStop && player.segment == 2)
            closestToTheSignal = std::min(closestToTheSignal, 1500.0f - player.segmentDistance);
        if (clearedAt < 0.0 && world->track[3].forwardSign != SignStop) {
            clearedAt = time;
            wasStandingWhenCleared = player.speed == 0.0f;
        }
        if (segmentBefore == 2 && player.segment == 3)
            movedOnAt = time;
        if (segmentBefore == 4 && player.segment == 5)
            speedEnteringLimit = player.speed;
    }

    EXPECT_EQ(std::tuple(world->destinationState, world->trains[1].segment, signs.stopSignalsPassed, signs.highSpeedPenalties),
              std::tuple(1, 7, 0, 0));
    EXPECT_LE(maxSpeed, 130.0f);
    EXPECT_GT(maxSpeed, 125.0f);
    EXPECT_TRUE(wasStandingWhenCleared);
    EXPECT_GT(clearedAt, 200.0);
    EXPECT_GT(movedOnAt, clearedAt);
    EXPECT_GT(closestToTheSignal, 0.0f);
    EXPECT_LT(closestToTheSignal, 25.0f);
    EXPECT_GT(speedEnteringLimit, 30.0f);
    EXPECT_LT(speedEnteringLimit, 41.0f);
}

TEST(Autopilot, StandsBeforeTheEndOfATrackThatLeadsNowhere)
{
    auto world = MakeResetWorld();
    LayStraightLine(*world, 3, 400.0f);
    PlacePlayer(*world, 1, 70.0f, 0.0f);
    SimStep simStep = RunningStep(0.02f);
    int32_t viewMode = ViewCab;
    Camera camera;
    for (int step = 0; step < 20000; ++step) {
        StoreDriverControls(world->trains[1], AutopilotControls(*world, simStep.seconds));
        StepSimulation(*world, simStep, camera, viewMode);
    }
    const TrainUnit& player = world->trains[1];
    EXPECT_EQ(std::tuple(player.segment, player.speed, player.brake), std::tuple(3, 0.0f, BrakeFull));
    EXPECT_GT(player.segmentDistance, 375.0f);
    EXPECT_LT(player.segmentDistance, 400.0f);
}
