#include <gtest/gtest.h>

#include <cmath>

#include "sim/train_motion.h"
#include "sim_fixture.h"

TEST(TrainDynamics, EachNotchSettlesAtItsSpeedAndOneStepAddsTractionLessResistanceAndBrake)
{
    for (auto [throttle, brake, settle] : {std::tuple{1, 8, 40.0f}, {3, 8, 100.0f}, {4, 8, 130.0f}, {5, 8, 160.0f}, {0, 1, 0.0f}}) {
        auto world = MakeResetWorld();
        TrainUnit& player = world->trains[1];
        std::tie(player.throttle, player.brake) = std::tuple(throttle, brake);
        float highest = 0.0f;
        for (int i = 0; i < 60000; ++i) {
            UpdateTrainDynamics(*world, RunningStep(0.02f, SoundOff));
            highest = std::max(highest, player.speed);
        }
        // From below, and the brake never reverses the train.
        EXPECT_LE(highest, settle) << throttle;
        EXPECT_GE(player.speed, std::max(0.0f, settle - 1.0f)) << throttle;
    }
    auto world = MakeResetWorld();
    TrainUnit& player = world->trains[1];
    std::tie(player.speed, player.throttle, player.brake) = std::tuple(80.0f, 3, 6);
    UpdateTrainDynamics(*world, {0.5f, true, SoundOff});
    EXPECT_EQ(player.speed, 80.0f);
    UpdateTrainDynamics(*world, RunningStep(0.5f, SoundOff));
    // 0.390625 - 0.25 - 0.5 m/s² for half a second.
    EXPECT_FLOAT_EQ(player.accel, -0.359375f);
    EXPECT_FLOAT_EQ(player.speed, 80.0f - 0.359375f * 0.5f * 3.6f);
    // Unit 1 runs up to 1000 km/h, every other unit to 200, even when another is the player's.
    std::tie(player.speed, player.brake, world->playerUnit) = std::tuple(1500.0f, BrakeReleased, 3);
    world->trains[2].kind = TrainLocomotive;
    world->trains[2].speed = 250.0f;
    world->trains[3].kind = TrainWagon;
    world->trains[3].speed = 1500.0f;
    UpdateTrainDynamics(*world, RunningStep(0.02f, SoundOff));
    EXPECT_EQ(std::tuple(player.speed, world->trains[2].speed, world->trains[3].speed), std::tuple(1000.0f, 200.0f, 200.0f));
}

TEST(EngineRate, TheGearboxShiftsInOrderAndWithoutItTheRateFollowsTheNotchAtATenthPerSecond)
{
    const struct {
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
    for (const auto& c : cases) {
        TrainUnit unit = {};
        std::tie(unit.gear, unit.speed, unit.soundRate) = std::tuple(c.gearBefore, c.speed, 7.0f);
        UpdateEngineRate(unit, 0.02f, SoundDieselAutomatic);
        EXPECT_EQ(unit.gear, c.gearAfter) << "gear " << c.gearBefore << " at " << c.speed;
        EXPECT_FLOAT_EQ(unit.soundRate, c.rate) << "gear " << c.gearBefore << " at " << c.speed;
    }
    for (int32_t soundType : {SoundOff, SoundDieselElectric}) {
        TrainUnit unit = {};
        std::tie(unit.gear, unit.throttle, unit.soundRate, unit.speed) = std::tuple(1, 3, 0.5f, 90.0f);
        // Up to 1.1 at notch 3, back to idle with the throttle closed, and held there.
        const struct {
            int32_t throttle, steps;
            float rate, tolerance;
        } phases[] = {{3, 150, 0.8f, 1e-4f}, {3, 1000, 1.1f, 0.0021f}, {0, 3000, 0.5f, 0.0f}};
        for (const auto& phase : phases) {
            unit.throttle = phase.throttle;
            for (int i = 0; i < phase.steps; ++i)
                UpdateEngineRate(unit, 0.02f, soundType);
            EXPECT_NEAR(unit.soundRate, phase.rate, phase.tolerance);
        }
        unit.soundRate = 0.2f;
        UpdateEngineRate(unit, 0.02f, soundType);
        EXPECT_EQ(unit.soundRate * 10 + unit.gear, 6.0f);
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
    MoveTrainsAlongTrack(*world, RunningStep(3.6f));  // exactly to the end: still on segment 1
    EXPECT_EQ(player.segment, 1);
    EXPECT_FLOAT_EQ(player.segmentDistance, 200.0f);
    // The odometer keeps counting where a float would stall.
    EXPECT_DOUBLE_EQ(player.odometer, 1.0e8 + 36.0);
    // At most one segment a step: 150 m into the 100 m segment 2, on again in the next step.
    player.speed = 540.0f;
    MoveTrainsAlongTrack(*world, RunningStep(1.0f));
    EXPECT_EQ(player.segment * 1000 + player.segmentDistance, 2150.0f);
    EXPECT_EQ(world->track[1].occupancy * 10 + world->track[2].occupancy, 12);
    EXPECT_FLOAT_EQ(player.posZ, 350.0f);
    MoveTrainsAlongTrack(*world, RunningStep(1.0f));
    EXPECT_EQ(player.segment * 1000 + player.segmentDistance, 3200.0f);

    // A unit without a successor runs on along the straight's extension and fires the segment's
    // events every step.
    world->track[3].next = 9;  // a segment that was never laid
    AddEvent(*world, 0, EventSetSpeed, 1, 3).unit = 3;
    world->events[0].speed = 77.0f;
    PlacePlayer(*world, 3, 499.0f, 36.0f);
    for (int step = 0; step < 3; ++step) {
        world->trains[3].speed = 0.0f;
        MoveTrainsAlongTrack(*world, RunningStep(1.0f));
        EXPECT_EQ(world->trains[3].speed, 77.0f) << "step " << step;
    }
    EXPECT_EQ(player.segment, 3);
    EXPECT_FLOAT_EQ(player.posZ, 829.0f);
}

TEST(TrainMovement, UnitsFollowTheSwitchesAsSetWhenTheyLeaveAndBackwardUnitsReadNoSigns)
{
    const struct {
        int32_t direction, setting;
        bool setByEvent;
        int32_t expected;
    } cases[] = {{0, 1, false, 2}, {0, 2, false, 4}, {0, 1, true, 4}, {1, 1, false, 2}, {1, 2, false, 5}};
    for (const auto& c : cases) {
        auto world = MakeResetWorld();
        LayStraightLine(*world, 5, 100.0f);
        world->track[1].nextAlt = 4;
        world->track[3].prevAlt = 5;
        (c.direction == 0 ? world->track[1].forwardSwitch : world->track[3].rearSwitch) = c.setting;
        if (c.direction == 1)
            PutSign(*world, 2, SignStop), PutSign(*world, 5, SignStop);
        // An event of the segment being left sets the switch before the choice is made.
        if (c.setByEvent)
            AddEvent(*world, 0, EventSetSwitch, 1, 1).segment = 1, world->events[0].switchValue = 2;
        TrainUnit& player = PlacePlayer(*world, c.direction == 0 ? 1 : 3, 95.0f, 36.0f);
        player.direction = c.direction;
        MoveTrainsAlongTrack(*world, RunningStep(1.0f));
        EXPECT_EQ(player.segment, c.expected) << c.direction << " " << c.setting;
        if (c.direction == 1)
            EXPECT_EQ(player.segmentDistance * 10 + world->score, 50.0f);
    }
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
    std::tie(player.throttle, player.brake, player.gear, player.soundRate) = std::tuple(5, 3, 3, 1.2f);
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
    const float quarter = 1.5708f, arc = 1000.0f * quarter;
    const struct {
        int32_t type;
        float endHeading, distance;
        int32_t direction;
        float x, z, heading;
    } cases[] = {
        {SegmentTunnel, 0.0f, 30.0f, 0, 100.0f, 80.0f, 0.0f},
        // Backward: 30 m from the end, heading turned by the game's half turn.
        {SegmentStraight, 0.0f, 30.0f, 1, 100.0f, 220.0f, 3.1416f},
        {SegmentCurveRight, quarter, arc, 0, 1100.0f, 1050.0f, quarter},
        {SegmentCurveLeft, -quarter, arc, 0, -900.0f, 1050.0f, -quarter},
        {SegmentCurveRight, quarter, arc / 2, 0, 100.0f + 1000.0f * (1.0f - 0.70710678f), 50.0f + 707.10678f, quarter / 2},
        {SegmentCurveLeft, -quarter, arc / 2, 0, 100.0f - 1000.0f * (1.0f - 0.70710678f), 50.0f + 707.10678f, -quarter / 2},
        // Running backward at its start of travel the unit stands at the arc's end, facing back,
        // the heading wrapped into -pi..pi.
        {SegmentCurveRight, quarter, 0.0f, 1, 1100.0f, 1050.0f, quarter + 3.1416f - 6.2832f},
        {SegmentCurveLeft, -quarter, 0.0f, 1, -900.0f, 1050.0f, -quarter + 3.1416f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " at " << c.distance << " direction " << c.direction);
        auto world = MakeResetWorld();
        TrackSegment& segment = world->track[5];
        std::tie(segment.type, segment.startX, segment.startZ, segment.radius) = std::tuple(c.type, 100.0f, 50.0f, 1000.0f);
        segment.length = c.type == SegmentStraight || c.type == SegmentTunnel ? 200.0f : arc;
        segment.endHeading = c.endHeading;
        TrainUnit& unit = PlacePlayer(*world, 5, c.distance, 0.0f);
        unit.direction = c.direction;
        PlaceUnitOnSegment(*world, 1);
        EXPECT_NEAR(unit.posX, c.x, 0.01f);
        EXPECT_NEAR(unit.posZ, c.z, 0.01f);
        EXPECT_FLOAT_EQ(unit.heading, c.heading);
    }
}
