#include <gtest/gtest.h>

#include <cmath>

#include "sim/train_motion.h"
#include "sim_fixture.h"
#include "world/game_options.h"

namespace {

// Runs the dynamics of the world for the given seconds in steps of frameStep.
void RunDynamics(World& world, float seconds, float frameStep, int32_t soundType)
{
    int steps = static_cast<int>(std::lround(seconds / frameStep));
    for (int i = 0; i < steps; ++i)
        UpdateTrainDynamics(world, RunningStep(frameStep, soundType));
}

}  // namespace

TEST(TrainDynamics, EachNotchSettlesAtItsSpeedFromBelowAndTheBrakeNeverReversesTheTrain)
{
    struct Case {
        int32_t throttle;
        float settle;
    } cases[] = {{1, 40.0f}, {3, 100.0f}, {4, 130.0f}, {5, 160.0f}};
    for (const Case& c : cases) {
        auto world = MakeResetWorld();
        TrainUnit& player = world->trains[1];
        player.throttle = c.throttle;
        player.brake = BrakeReleased;
        SimStep step = RunningStep(0.02f);
        float highest = 0.0f;
        for (int i = 0; i < 60000; ++i) {
            UpdateTrainDynamics(*world, {step.seconds, step.paused, SoundOff});
            highest = std::max(highest, player.speed);
        }
        EXPECT_LE(highest, c.settle) << "throttle " << c.throttle;
        EXPECT_GT(player.speed, c.settle - 1.0f) << "throttle " << c.throttle;
    }

    auto world = MakeResetWorld();
    RunDynamics(*world, 10.0f, 0.02f, SoundOff);
    EXPECT_EQ(world->trains[1].speed, 0.0f);
    EXPECT_EQ(world->trains[1].accel, -1.75f);
}

TEST(TrainDynamics, OneStepAddsTractionLessResistanceAndBrakeInKilometresPerHour)
{
    auto world = MakeResetWorld();
    TrainUnit& player = world->trains[1];
    player.speed = 80.0f;
    player.throttle = 3;
    player.brake = 6;
    SimStep step = RunningStep(0.5f);
    UpdateTrainDynamics(*world, {step.seconds, step.paused, SoundOff});
    // 0.390625 - 0.25 - 0.5 m/s² for half a second.
    EXPECT_FLOAT_EQ(player.accel, -0.359375f);
    EXPECT_FLOAT_EQ(player.speed, 80.0f - 0.359375f * 0.5f * 3.6f);
}

TEST(TrainDynamics, OnlyUnitOneMayRunFasterThanTheOtherTrains)
{
    auto world = MakeResetWorld();
    world->trains[1].speed = 250.0f;
    world->trains[1].brake = BrakeReleased;
    world->trains[2].kind = TrainLocomotive;
    world->trains[2].speed = 250.0f;
    world->trains[3].kind = TrainWagon;
    world->trains[3].speed = 1500.0f;
    // Even when another unit is the player's, the cap follows the unit's index.
    world->playerUnit = 3;
    RunDynamics(*world, 0.02f, 0.02f, SoundOff);
    EXPECT_GT(world->trains[1].speed, 249.0f);
    EXPECT_EQ(world->trains[2].speed, 200.0f);
    EXPECT_EQ(world->trains[3].speed, 200.0f);

    world->trains[1].speed = 1500.0f;
    RunDynamics(*world, 0.02f, 0.02f, SoundOff);
    EXPECT_EQ(world->trains[1].speed, 1000.0f);
}

TEST(TrainDynamics, NothingChangesWhilePaused)
{
    auto world = MakeResetWorld();
    TrainUnit& player = world->trains[1];
    player.throttle = 5;
    player.brake = BrakeReleased;
    player.speed = 50.0f;
    SimStep step = RunningStep(0.1f);
    step.paused = true;
    UpdateTrainDynamics(*world, {step.seconds, step.paused, SoundDieselAutomatic});
    EXPECT_EQ(player.speed, 50.0f);
    EXPECT_EQ(player.gear, 1);
}

TEST(EngineRate, TheGearboxShiftsInOrderEachChangeSeeingTheOneBefore)
{
    struct Case {
        int32_t gearBefore;
        float speed;
        int32_t gearAfter;
    } cases[] = {
        {1, 40.0f, 1}, {1, 41.0f, 2}, {1, 75.0f, 3},  // one step from 35 to 75 km/h ends in gear 3
        {2, 70.0f, 2}, {2, 71.0f, 3}, {2, 35.0f, 2},  // between 30 and 70 gear 2 holds
        {3, 65.0f, 3}, {3, 59.0f, 2}, {3, 25.0f, 1},  // braking hard drops two gears at once
        {2, 29.0f, 1}, {1, 30.0f, 1},
    };
    for (const Case& c : cases) {
        TrainUnit unit = {};
        unit.gear = c.gearBefore;
        unit.speed = c.speed;
        UpdateEngineRate(unit, 0.02f, SoundDieselAutomatic);
        EXPECT_EQ(unit.gear, c.gearAfter) << "gear " << c.gearBefore << " at " << c.speed;
    }
}

TEST(EngineRate, TheGearboxSetsTheRateFromSpeedAndGear)
{
    struct Case {
        int32_t gear;
        float speed;
        float rate;
    } cases[] = {{1, 0.0f, 0.5f}, {1, 20.0f, 1.0f}, {2, 35.0f, 1.0f}, {3, 130.0f, 1.5f}, {3, 65.0f, 1.0f}};
    for (const Case& c : cases) {
        TrainUnit unit = {};
        unit.gear = c.gear;
        unit.speed = c.speed;
        unit.soundRate = 7.0f;
        UpdateEngineRate(unit, 0.02f, SoundDieselAutomatic);
        EXPECT_FLOAT_EQ(unit.soundRate, c.rate) << "gear " << c.gear << " at " << c.speed;
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

TEST(TrainMovement, ALongStepCarriesOntoTheNextSegmentAndOnAgainInTheNextStep)
{
    auto world = MakeResetWorld();
    LayStraight(*world, 1, 200.0f);
    LayStraight(*world, 2, 100.0f);
    LayStraight(*world, 3, 500.0f);
    TrainUnit& player = PlacePlayer(*world, 1, 180.0f, 540.0f);
    SimStep step = RunningStep(1.0f);

    MoveTrainsAlongTrack(*world, step);
    EXPECT_EQ(player.segment, 2);
    EXPECT_FLOAT_EQ(player.segmentDistance, 130.0f);
    EXPECT_EQ(world->track[1].occupancy, 1);
    EXPECT_EQ(world->track[2].occupancy, 2);
    EXPECT_FLOAT_EQ(player.posZ, 330.0f);

    MoveTrainsAlongTrack(*world, step);
    EXPECT_EQ(player.segment, 3);
    EXPECT_FLOAT_EQ(player.segmentDistance, 180.0f);
    EXPECT_DOUBLE_EQ(player.odometer, 300.0);
}

TEST(TrainMovement, ASegmentIsLeftOnlyWhenTheDistancePassesItsLength)
{
    auto world = MakeResetWorld();
    LayStraightLine(*world, 2, 100.0f);
    TrainUnit& player = PlacePlayer(*world, 1, 90.0f, 36.0f);
    SimStep step = RunningStep(1.0f);
    MoveTrainsAlongTrack(*world, step);
    EXPECT_EQ(player.segment, 1);
    EXPECT_FLOAT_EQ(player.segmentDistance, 100.0f);
    MoveTrainsAlongTrack(*world, step);
    EXPECT_EQ(player.segment, 2);
}

TEST(TrainMovement, TheOdometerKeepsCountingWhereAFloatWouldStall)
{
    auto world = MakeResetWorld();
    LayStraightLine(*world, 1, 1000.0f);
    TrainUnit& player = PlacePlayer(*world, 1, 0.0f, 1.8f);
    player.odometer = 1.0e8;
    SimStep step = RunningStep(1.0f);
    MoveTrainsAlongTrack(*world, step);
    EXPECT_DOUBLE_EQ(player.odometer, 1.0e8 + 0.5);
}

TEST(TrainMovement, AForwardUnitFollowsTheSwitchAsSetWhenItLeaves)
{
    for (int32_t setting : {1, 2}) {
        auto world = MakeResetWorld();
        LayStraightLine(*world, 2, 100.0f);
        LayStraight(*world, 4, 100.0f);
        world->track[1].nextAlt = 4;
        world->track[1].forwardSwitch = setting;
        TrainUnit& player = PlacePlayer(*world, 1, 99.0f, 36.0f);
        MoveTrainsAlongTrack(*world, RunningStep(1.0f));
        EXPECT_EQ(player.segment, setting == 1 ? 2 : 4);
    }

    // An event of the segment being left sets the switch before the choice is made.
    auto world = MakeResetWorld();
    LayStraightLine(*world, 2, 100.0f);
    LayStraight(*world, 4, 100.0f);
    world->track[1].nextAlt = 4;
    world->events[0] = {};
    world->events[0].action = EventSetSwitch;
    world->events[0].triggerUnit = 1;
    world->events[0].triggerSegment = 1;
    world->events[0].segment = 1;
    world->events[0].switchValue = 2;
    TrainUnit& player = PlacePlayer(*world, 1, 99.0f, 36.0f);
    MoveTrainsAlongTrack(*world, RunningStep(1.0f));
    EXPECT_EQ(player.segment, 4);
}

TEST(TrainMovement, ABackwardUnitFollowsTheRearSwitchAndReadsNoSigns)
{
    for (int32_t setting : {1, 2}) {
        auto world = MakeResetWorld();
        LayStraightLine(*world, 3, 100.0f);
        LayStraight(*world, 5, 100.0f);
        world->track[3].prevAlt = 5;
        world->track[3].rearSwitch = setting;
        PutSign(*world, 2, SignStop);
        PutSign(*world, 5, SignStop);
        TrainUnit& player = PlacePlayer(*world, 3, 95.0f, 36.0f);
        player.direction = 1;
        MoveTrainsAlongTrack(*world, RunningStep(1.0f));
        EXPECT_EQ(player.segment, setting == 1 ? 2 : 5);
        EXPECT_FLOAT_EQ(player.segmentDistance, 5.0f);
        EXPECT_EQ(world->score, 0);
        // Running backward, 5 m into segment 2 from its end.
        if (setting == 1) {
            EXPECT_FLOAT_EQ(player.posZ, 195.0f);
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
    EXPECT_FLOAT_EQ(player.segmentDistance, 129.0f);
    // Drawn on the extension of the straight.
    EXPECT_FLOAT_EQ(player.posZ, 229.0f);
}

TEST(TrainMovement, PausedNothingMovesAndAfterTheDestinationThePlayerStands)
{
    auto world = MakeResetWorld();
    LayStraightLine(*world, 2, 100.0f);
    TrainUnit& player = PlacePlayer(*world, 1, 10.0f, 50.0f);
    SimStep step = RunningStep(1.0f);
    step.paused = true;
    MoveTrainsAlongTrack(*world, step);
    EXPECT_FLOAT_EQ(player.segmentDistance, 10.0f);

    world->destinationState = 2;
    player.throttle = 5;
    player.brake = 3;
    player.gear = 3;
    player.soundRate = 1.2f;
    MoveTrainsAlongTrack(*world, step);
    EXPECT_EQ(player.speed, 0.0f);
    EXPECT_EQ(player.throttle, 0);
    EXPECT_EQ(player.brake, 8);
    EXPECT_EQ(player.gear, 1);
    EXPECT_EQ(player.soundRate, 0.0f);

    // The controls moved after the destination do not move the train.
    step.paused = false;
    GameOptions options;
    for (int i = 0; i < 10; ++i) {
        player.throttle = 5;
        StepTrains(*world, step);
    }
    EXPECT_FLOAT_EQ(player.segmentDistance, 10.0f);
}

TEST(TrainPlacement, StraightsPlaceAlongTheHeadingAndBackwardUnitsFaceTheOtherWay)
{
    auto world = MakeResetWorld();
    TrackSegment& segment = world->track[5];
    segment.type = SegmentTunnel;
    segment.startX = 100.0f;
    segment.startZ = 50.0f;
    segment.startHeading = 1.0f;
    segment.endHeading = 1.0f;
    segment.length = 200.0f;
    TrainUnit& unit = world->trains[4];
    unit.kind = TrainLocomotive;
    unit.segment = 5;
    unit.segmentDistance = 30.0f;

    PlaceUnitOnSegment(*world, 4);
    EXPECT_FLOAT_EQ(unit.posX, 100.0f + static_cast<float>(std::sin(1.0)) * 30.0f);
    EXPECT_FLOAT_EQ(unit.posZ, 50.0f + static_cast<float>(std::cos(1.0)) * 30.0f);
    EXPECT_EQ(unit.heading, 1.0f);

    // Backward: 30 m from the end, heading turned by the game's half turn and wrapped.
    unit.direction = -1;
    PlaceUnitOnSegment(*world, 4);
    EXPECT_FLOAT_EQ(unit.posX, 100.0f + static_cast<float>(std::sin(1.0)) * 170.0f);
    EXPECT_EQ(unit.heading, (1.0f + 3.1416f) - 6.2832f);

    segment.startHeading = 0.0f;
    PlaceUnitOnSegment(*world, 4);
    EXPECT_EQ(unit.heading, 3.1416f);
}

TEST(TrainPlacement, CurvesPlaceOnTheirArcWithTheHeadingTurningAlong)
{
    const float quarterTurn = 1.5708f;
    struct Case {
        int32_t type;
        float endHeading;
        float endX, endZ;
    } cases[] = {{SegmentCurveRight, quarterTurn, 1000.0f, 1000.0f}, {SegmentCurveLeft, -quarterTurn, -1000.0f, 1000.0f}};
    for (const Case& c : cases) {
        auto world = MakeResetWorld();
        TrackSegment& segment = world->track[3];
        segment.type = c.type;
        segment.radius = 1000.0f;
        segment.length = 1000.0f * quarterTurn;
        segment.startHeading = 0.0f;
        segment.endHeading = c.endHeading;
        TrainUnit& unit = PlacePlayer(*world, 3, segment.length, 0.0f);

        PlaceUnitOnSegment(*world, 1);
        EXPECT_NEAR(unit.posX, c.endX, 0.01f);
        EXPECT_NEAR(unit.posZ, c.endZ, 0.01f);
        EXPECT_FLOAT_EQ(unit.heading, c.endHeading);

        unit.segmentDistance = segment.length / 2.0f;
        PlaceUnitOnSegment(*world, 1);
        float half = c.endHeading / 2.0f;
        float side = c.type == SegmentCurveRight ? 1.0f : -1.0f;
        EXPECT_NEAR(unit.posX, side * 1000.0f * (1.0f - std::cos(half)), 0.01f);
        EXPECT_NEAR(unit.posZ, 1000.0f * std::sin(std::fabs(half)), 0.01f);
        EXPECT_FLOAT_EQ(unit.heading, half);

        // Running backward at its start of travel the unit stands at the arc's end, facing back.
        unit.direction = 1;
        unit.segmentDistance = 0.0f;
        PlaceUnitOnSegment(*world, 1);
        EXPECT_NEAR(unit.posX, c.endX, 0.01f);
        float backward = c.endHeading + 3.1416f;
        if (backward > 3.1416f)
            backward -= 6.2832f;
        EXPECT_FLOAT_EQ(unit.heading, backward);
    }
}

// The step speeds the train up before it moves it: the distance of a 1 s step from 72 km/h is
// that of the speed after the step, not the 20 m of the speed before it.
TEST(TrainStep, DynamicsComeBeforeTheMovement)
{
    auto world = MakeResetWorld();
    LayStraightLine(*world, 2, 1000.0f);
    TrainUnit& player = PlacePlayer(*world, 1, 0.0f, 72.0f);
    player.brake = BrakeReleased;
    player.throttle = ThrottleClosed;
    float speedAfter = 72.0f + UnitAcceleration(72.0f, ThrottleClosed, BrakeReleased) * 3.6f;
    StepTrains(*world, RunningStep(1.0f));
    EXPECT_FLOAT_EQ(player.speed, speedAfter);
    EXPECT_FLOAT_EQ(player.segmentDistance, speedAfter / 3.6f);
    EXPECT_LT(player.segmentDistance, 19.9f);
}
