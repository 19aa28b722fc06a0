#include <gtest/gtest.h>

#include <algorithm>

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

TEST(EngineRate, TheGearboxShiftsInOrderAndSetsTheRateFromSpeedAndGear)
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

