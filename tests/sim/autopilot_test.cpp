#include <gtest/gtest.h>

#include <algorithm>

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

TEST(Autopilot, TheLineIsReadThroughTheSwitchesAsTheyLieNow)
{
    // 1 → 2 → 3, whose entry has a stop signal and whose end leads nowhere; the diverging
    // track 1 → 4 → 5 → 6 ends after 6.
    auto world = MakeResetWorld();
    LayStraightLine(*world, 6, 300.0f);
    world->track[1].nextAlt = 4;
    world->track[3].next = 0;
    world->track[4].prev = 1;
    PutSign(*world, 3, SignStop);
    PlacePlayer(*world, 1, 100.0f, 0.0f);

    LineAhead ahead = ReadLineAhead(*world, AutopilotSightDistance);
    ASSERT_EQ(ahead.count, 1);
    EXPECT_EQ(ahead.restrictions[0].kind, RestrictionStopSignal);
    EXPECT_EQ(ahead.restrictions[0].segment, 3);
    EXPECT_DOUBLE_EQ(ahead.restrictions[0].distance, 500.0 - StopSignalStandOff);

    world->track[1].forwardSwitch = 2;
    ahead = ReadLineAhead(*world, AutopilotSightDistance);
    ASSERT_EQ(ahead.count, 1);
    EXPECT_EQ(ahead.restrictions[0].kind, RestrictionEndOfTrack);
    EXPECT_DOUBLE_EQ(ahead.restrictions[0].distance, 1100.0 - StopSignalStandOff);

    // Beyond the sight distance nothing is read.
    ahead = ReadLineAhead(*world, 1000.0);
    EXPECT_EQ(ahead.count, 0);
}

TEST(Autopilot, LimitsAreReadWhereTheTrainWillReadThemAndTheDestinationEndsTheWalk)
{
    auto world = MakeResetWorld();
    LayStraightLine(*world, 6, 200.0f);
    // The diverging track's sign counts although the switch leads along the main line.
    LayStraight(*world, 9, 100.0f);
    world->track[2].nextAlt = 9;
    PutSign(*world, 9, SignLimit40);
    PutSign(*world, 5, SignDestination);
    PutSign(*world, 6, SignStop);
    PlacePlayer(*world, 1, 50.0f, 0.0f);

    LineAhead ahead = ReadLineAhead(*world, AutopilotSightDistance);
    ASSERT_EQ(ahead.count, 2);
    EXPECT_EQ(ahead.restrictions[0].kind, RestrictionLimit);
    EXPECT_EQ(ahead.restrictions[0].segment, 3);
    EXPECT_LE(ahead.restrictions[0].distance, 350.0);
    EXPECT_LE(ahead.restrictions[0].speed, 40.0f);
    EXPECT_EQ(ahead.restrictions[1].kind, RestrictionDestination);
    EXPECT_GT(ahead.restrictions[1].distance, 750.0);
    EXPECT_LT(ahead.restrictions[1].distance, 950.0);
}

TEST(Autopilot, WhenMoreIsInSightThanTheDriverKeepsItPlansToStandWhereItsReadingEnds)
{
    auto world = MakeResetWorld();
    LayStraightLine(*world, 40, 60.0f);
    for (int i = 2; i <= 40; ++i)
        PutSign(*world, i, SignLimit40);
    PlacePlayer(*world, 1, 0.0f, 0.0f);
    LineAhead ahead = ReadLineAhead(*world, AutopilotSightDistance);
    ASSERT_EQ(ahead.count, MaxRestrictionsAhead);
    const SpeedRestriction& last = ahead.restrictions[MaxRestrictionsAhead - 1];
    EXPECT_EQ(last.kind, RestrictionEndOfSight);
    EXPECT_EQ(last.speed, 0.0f);
    EXPECT_LE(last.distance, 60.0 * MaxRestrictionsAhead);
    EXPECT_GE(last.distance, ahead.restrictions[MaxRestrictionsAhead - 2].distance);
}

TEST(Autopilot, TheHandleIsMovedByLeverClicksFromAnyPosition)
{
    const DriverControls starts[] = {{0, 1}, {0, 5}, {0, 8}, {3, 8}, {5, 8}};
    for (DriverControls start : starts) {
        for (int32_t handle = 0; handle <= 12; ++handle) {
            DriverControls moved = MoveHandleTo(start, handle);
            DriverControls expected = handle <= 7 ? DriverControls{0, handle + 1} : DriverControls{handle - 7, 8};
            EXPECT_EQ(moved.throttle, expected.throttle) << "from " << start.throttle << "/" << start.brake << " to " << handle;
            EXPECT_EQ(moved.brake, expected.brake) << "from " << start.throttle << "/" << start.brake << " to " << handle;
        }
    }
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
    other.kind = TrainLocomotive;
    other.segment = 20;
    other.speed = 40.0f;
    other.throttle = 1;
    other.brake = BrakeReleased;
    RouteEvent& clear = world->events[0];
    clear = {};
    clear.action = EventSetSign;
    clear.triggerUnit = 2;
    clear.triggerSegment = 20;
    clear.segment = 3;
    clear.signCode = SignLineSpeed;

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

    EXPECT_EQ(world->destinationState, 1);
    EXPECT_EQ(world->trains[1].segment, 7);
    EXPECT_EQ(signs.stopSignalsPassed, 0);
    EXPECT_EQ(signs.highSpeedPenalties, 0);
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
    EXPECT_EQ(player.segment, 3);
    EXPECT_EQ(player.speed, 0.0f);
    EXPECT_GT(player.segmentDistance, 375.0f);
    EXPECT_LT(player.segmentDistance, 400.0f);
    EXPECT_EQ(player.brake, BrakeFull);
}
