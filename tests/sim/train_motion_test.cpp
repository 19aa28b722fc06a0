#include <gtest/gtest.h>

#include <cmath>

#include "sim/train_motion.h"
#include "sim_fixture.h"

TEST(TrainDynamics, EachNotchSettlesAtItsSpeedFromBelowAndTheBrakeNeverReversesTheTrain)
{
    struct Case {
        int32_t throttle, brake;
        float settle;
    } cases[] = {{1, 8, 40.0f}, {3, 8, 100.0f}, {4, 8, 130.0f}, {5, 8, 160.0f}, {0, 1, 0.0f}};
    for (const Case& c : cases) {
        auto world = MakeResetWorld();
        TrainUnit& player = world->trains[1];
        player.throttle = c.throttle;
        player.brake = c.brake;
        float highest = 0.0f;
        for (int i = 0; i < 60000; ++i) {
            UpdateTrainDynamics(*world, RunningStep(0.02f, SoundOff));
            highest = std::max(highest, player.speed);
        }
        EXPECT_LE(highest, c.settle) << "throttle " << c.throttle;
        EXPECT_GE(player.speed, std::max(0.0f, c.settle - 1.0f)) << "throttle " << c.throttle;
    }
}

TEST(TrainDynamics, OneStepAddsTractionLessResistanceAndBrakeAndOnlyUnitOneRunsFast)
{
    auto world = MakeResetWorld();
    TrainUnit& player = world->trains[1];
    player.speed = 80.0f;
    player.throttle = 3;
    player.brake = 6;
    UpdateTrainDynamics(*world, {0.5f, true, SoundOff});
    EXPECT_EQ(player.speed, 80.0f);
    UpdateTrainDynamics(*world, RunningStep(0.5f, SoundOff));
    // 0.390625 - 0.25 - 0.5 m/s² for half a second.
    EXPECT_FLOAT_EQ(player.accel, -0.359375f);
    EXPECT_FLOAT_EQ(player.speed, 80.0f - 0.359375f * 0.5f * 3.6f);

    player.speed = 1500.0f;
    player.brake = BrakeReleased;
    world->trains[2].kind = TrainLocomotive;
    world->trains[2].speed = 250.0f;
    world->trains[3].kind = TrainWagon;
    world->trains[3].speed = 1500.0f;
    // Even when another unit is the player's, the cap follows the unit's index.
    world->playerUnit = 3;
    UpdateTrainDynamics(*world, RunningStep(0.02f, SoundOff));
    EXPECT_EQ(player.speed, 1000.0f);
    EXPECT_EQ(world->trains[2].speed, 200.0f);
    EXPECT_EQ(world->trains[3].speed, 200.0f);
}

TEST(EngineRate, TheGearboxShiftsInOrderAndSetsTheRateFromSpeedAndGear)
{
    struct Case {
        int32_t gearBefore;
        float speed;
        int32_t gearAfter;
        float rate;
    } cases[] = {
        {1, 40.0f, 1, 1.5f}, {1, 41.0f, 2, 41.0f / 70.0f + 0.5f},
        {1, 75.0f, 3, 75.0f / 130.0f + 0.5f},  // one step from 35 to 75 km/h ends in gear 3
        {2, 70.0f, 2, 1.5f}, {2, 71.0f, 3, 71.0f / 130.0f + 0.5f}, {2, 35.0f, 2, 1.0f},
        {3, 60.0f, 3, 60.0f / 130.0f + 0.5f}, {3, 59.0f, 2, 59.0f / 70.0f + 0.5f},
        {3, 25.0f, 1, 25.0f / 40.0f + 0.5f},  // braking hard drops two gears at once
        {2, 30.0f, 2, 30.0f / 70.0f + 0.5f}, {2, 29.0f, 1, 29.0f / 40.0f + 0.5f}, {1, 0.0f, 1, 0.5f}, {3, 130.0f, 3, 1.5f},
    };
    for (const Case& c : cases) {
        TrainUnit unit = {};
        unit.gear = c.gearBefore;
        unit.speed = c.speed;
        unit.soundRate = 7.0f;
        UpdateEngineRate(unit, 0.02f, SoundDieselAutomatic);
        EXPECT_EQ(unit.gear, c.gearAfter) << "gear " << c.gearBefore << " at " << c.speed;
        EXPECT_FLOAT_EQ(unit.soundRate, c.rate) << "gear " << c.gearBefore << " at " << c.speed;
    }
}

TEST(EngineRate, WithoutTheGearboxTheRateFollowsTheNotchAtATenthPerSecond)
{
    for (int32_t soundType : {SoundOff, SoundDieselElectric}) {
        TrainUnit unit = {};
        unit.gear = 1;
        unit.throttle = 3;
        unit.soundRate = 0.5f;
        unit.speed = 90.0f;
        for (int i = 0; i < 150; ++i)
            UpdateEngineRate(unit, 0.02f, soundType);
        EXPECT_NEAR(unit.soundRate, 0.8f, 1e-4f);
        EXPECT_EQ(unit.gear, 1);
        for (int i = 0; i < 1000; ++i)
            UpdateEngineRate(unit, 0.02f, soundType);
        EXPECT_NEAR(unit.soundRate, 1.1f, 0.0021f);
        // Throttle closed: back down to idle, and held there.
        unit.throttle = 0;
        for (int i = 0; i < 3000; ++i)
            UpdateEngineRate(unit, 0.02f, soundType);
        EXPECT_EQ(unit.soundRate, 0.5f);
        unit.soundRate = 0.2f;
        UpdateEngineRate(unit, 0.02f, soundType);
        EXPECT_EQ(unit.soundRate, 0.5f);
    }
}

TEST(TrainMovement, ASegmentIsLeftOnlyPastItsLengthAndTheRestCarriesOn)
{
    auto world = MakeResetWorld();
    LayStraight(*world, 1, 200.0f);
    LayStraight(*world, 2, 100.0f);
    LayStraight(*world, 3, 500.0f);
    TrainUnit& player = PlacePlayer(*world, 1, 164.0f, 36.0f);
    player.odometer = 1.0e8;
    MoveTrainsAlongTrack(*world, RunningStep(1.0f));
    EXPECT_EQ(player.segment, 1);
    MoveTrainsAlongTrack(*world, RunningStep(2.6f));  // exactly to the end: still on segment 1
    EXPECT_EQ(player.segment, 1);
    EXPECT_FLOAT_EQ(player.segmentDistance, 200.0f);
    // The odometer keeps counting where a float would stall.
    EXPECT_DOUBLE_EQ(player.odometer, 1.0e8 + 36.0);

    player.speed = 540.0f;
    MoveTrainsAlongTrack(*world, RunningStep(1.0f));
    EXPECT_EQ(player.segment, 2);
    // At most one segment a step: 150 m into the 100 m segment 2, on again in the next step.
    EXPECT_FLOAT_EQ(player.segmentDistance, 150.0f);
    EXPECT_EQ(world->track[1].occupancy, 1);
    EXPECT_EQ(world->track[2].occupancy, 2);
    EXPECT_FLOAT_EQ(player.posZ, 350.0f);
    MoveTrainsAlongTrack(*world, RunningStep(1.0f));
    EXPECT_EQ(player.segment, 3);
    EXPECT_FLOAT_EQ(player.segmentDistance, 200.0f);
}

TEST(TrainMovement, UnitsFollowTheSwitchesAsSetWhenTheyLeaveAndBackwardUnitsReadNoSigns)
{
    struct Case {
        int32_t direction, setting;
        bool setByEvent;
        int32_t expected;
    } cases[] = {{0, 1, false, 2}, {0, 2, false, 4}, {0, 1, true, 4}, {1, 1, false, 2}, {1, 2, false, 5}};
    for (const Case& c : cases) {
        auto world = MakeResetWorld();
        LayStraightLine(*world, 3, 100.0f);
        LayStraight(*world, 4, 100.0f);
        LayStraight(*world, 5, 100.0f);
        world->track[1].nextAlt = 4;
        world->track[3].prevAlt = 5;
        world->track[c.direction == 0 ? 1 : 3].*(c.direction == 0 ? &TrackSegment::forwardSwitch : &TrackSegment::rearSwitch) = c.setting;
        if (c.direction == 1) {
            PutSign(*world, 2, SignStop);
            PutSign(*world, 5, SignStop);
        }
        if (c.setByEvent) {
            // An event of the segment being left sets the switch before the choice is made.
            world->events[0] = {};
            world->events[0].action = EventSetSwitch;
            world->events[0].triggerUnit = 1;
            world->events[0].triggerSegment = 1;
            world->events[0].segment = 1;
            world->events[0].switchValue = 2;
        }
        TrainUnit& player = PlacePlayer(*world, c.direction == 0 ? 1 : 3, 95.0f, 36.0f);
        player.direction = c.direction;
        MoveTrainsAlongTrack(*world, RunningStep(1.0f));
        EXPECT_EQ(player.segment, c.expected) << c.direction << " " << c.setting;
        if (c.direction == 1) {
            EXPECT_FLOAT_EQ(player.segmentDistance, 5.0f);
            EXPECT_EQ(world->score, 0);
        }
    }
}

TEST(TrainMovement, AUnitWithoutASuccessorRunsOnAndFiresItsSegmentsEventsEveryStep)
{
    auto world = MakeResetWorld();
    LayStraightLine(*world, 2, 100.0f);
    world->track[2].next = 9;  // a segment that was never laid
    world->events[0] = {};
    world->events[0].action = EventSetSpeed;
    world->events[0].triggerUnit = 1;
    world->events[0].triggerSegment = 2;
    world->events[0].unit = 3;
    world->events[0].speed = 77.0f;
    TrainUnit& player = PlacePlayer(*world, 2, 99.0f, 36.0f);
    for (int step = 0; step < 3; ++step) {
        world->trains[3].speed = 0.0f;
        MoveTrainsAlongTrack(*world, RunningStep(1.0f));
        EXPECT_EQ(world->trains[3].speed, 77.0f) << "step " << step;
    }
    EXPECT_EQ(player.segment, 2);
    // Drawn on the extension of the straight.
    EXPECT_FLOAT_EQ(player.posZ, 229.0f);
}

TEST(TrainStep, DynamicsComeBeforeTheMovementAndAfterTheDestinationThePlayerStands)
{
    auto world = MakeResetWorld();
    LayStraightLine(*world, 2, 1000.0f);
    TrainUnit& player = PlacePlayer(*world, 1, 0.0f, 72.0f);
    player.brake = BrakeReleased;
    player.throttle = ThrottleClosed;
    // 72 km/h coasting loses (72/160)² = 0.2025 m/s² for a second: 71.271 km/h, and the step
    // runs 19.7975 m at that speed, not the 20 m of the speed before it.
    StepTrains(*world, RunningStep(1.0f));
    EXPECT_FLOAT_EQ(player.speed, 71.271f);
    EXPECT_FLOAT_EQ(player.segmentDistance, 19.7975f);

    world->destinationState = 2;
    player.throttle = 5;
    player.brake = 3;
    player.gear = 3;
    player.soundRate = 1.2f;
    StepTrains(*world, {1.0f, true, SoundDieselAutomatic});
    EXPECT_EQ(player.speed, 0.0f);
    EXPECT_EQ(player.throttle * 100 + player.brake * 10 + player.gear, 81);
    EXPECT_EQ(player.soundRate, 0.0f);
    // The controls moved after the destination do not move the train.
    for (int i = 0; i < 10; ++i) {
        player.throttle = 5;
        StepTrains(*world, RunningStep(1.0f));
    }
    EXPECT_FLOAT_EQ(player.segmentDistance, 19.7975f);
}

TEST(TrainPlacement, UnitsStandOnTheirSegmentsLineOrArcFacingTheirWay)
{
    const float quarterTurn = 1.5708f;
    struct Case {
        int32_t type;
        float startHeading, endHeading, length, distance;
        int32_t direction;
        float x, z, heading;
    } cases[] = {
        {SegmentTunnel, 1.0f, 1.0f, 200.0f, 30.0f, 0, 100.0f + 0.84147098f * 30.0f, 50.0f + 0.54030231f * 30.0f, 1.0f},
        // Backward: 30 m from the end, heading turned by the game's half turn and wrapped.
        {SegmentStraight, 1.0f, 1.0f, 200.0f, 30.0f, -1, 100.0f + 0.84147098f * 170.0f, 50.0f + 0.54030231f * 170.0f,
         (1.0f + 3.1416f) - 6.2832f},
        {SegmentStraight, 0.0f, 0.0f, 200.0f, 30.0f, 1, 100.0f, 220.0f, 3.1416f},
        {SegmentCurveRight, 0.0f, quarterTurn, 1000.0f * quarterTurn, 1000.0f * quarterTurn, 0, 1100.0f, 1050.0f, quarterTurn},
        {SegmentCurveLeft, 0.0f, -quarterTurn, 1000.0f * quarterTurn, 1000.0f * quarterTurn, 0, -900.0f, 1050.0f, -quarterTurn},
        {SegmentCurveRight, 0.0f, quarterTurn, 1000.0f * quarterTurn, 500.0f * quarterTurn, 0,
         100.0f + 1000.0f * (1.0f - 0.70710678f), 50.0f + 707.10678f, quarterTurn / 2.0f},
        {SegmentCurveLeft, 0.0f, -quarterTurn, 1000.0f * quarterTurn, 500.0f * quarterTurn, 0,
         100.0f - 1000.0f * (1.0f - 0.70710678f), 50.0f + 707.10678f, -quarterTurn / 2.0f},
        // Running backward at its start of travel the unit stands at the arc's end, facing back.
        {SegmentCurveRight, 0.0f, quarterTurn, 1000.0f * quarterTurn, 0.0f, 1, 1100.0f, 1050.0f, quarterTurn + 3.1416f - 6.2832f},
        {SegmentCurveLeft, 0.0f, -quarterTurn, 1000.0f * quarterTurn, 0.0f, 1, -900.0f, 1050.0f, -quarterTurn + 3.1416f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " at " << c.distance << " direction " << c.direction);
        auto world = MakeResetWorld();
        TrackSegment& segment = world->track[5];
        segment.type = c.type;
        segment.startX = 100.0f;
        segment.startZ = 50.0f;
        segment.radius = 1000.0f;
        segment.length = c.length;
        segment.startHeading = c.startHeading;
        segment.endHeading = c.endHeading;
        TrainUnit& unit = PlacePlayer(*world, 5, c.distance, 0.0f);
        unit.direction = c.direction;
        PlaceUnitOnSegment(*world, 1);
        EXPECT_NEAR(unit.posX, c.x, 0.01f);
        EXPECT_NEAR(unit.posZ, c.z, 0.01f);
        EXPECT_FLOAT_EQ(unit.heading, c.heading);
    }
}
