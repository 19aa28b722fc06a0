#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "sim/autopilot.h"
#include "sim/camera.h"
#include "sim_fixture.h"

namespace {

bool IsReachableByTheControls(DriverControls controls)
{
    bool inRange = controls.throttle >= 0 && controls.throttle <= 5 && controls.brake >= 1 && controls.brake <= 8;
    // The levers and keys never leave power on against the brake.
    return inRange && (controls.throttle == 0 || controls.brake == 8);
}

}  // namespace

TEST(Autopilot, DrivesWithinTheLimitsWaitsAtASignalUntilItClearsAndStopsInTheDestination)
{
    // 1 (1000 m), line speed from 2 (1500 m), a stop signal at the entry of 3, 4 (1500 m), limit
    // 40 from 5 (400 m), 6 (300 m), the destination at 7, then 8.
    auto world = MakeResetWorld();
    const float lengths[9] = {0, 1000, 1500, 2000, 1500, 400, 300, 50, 50};
    for (int i = 1; i <= 8; ++i)
        LayStraight(*world, i, lengths[i]);
    for (auto [segment, sign] : {std::pair{2, SignLineSpeed}, {3, SignStop}, {5, SignLimit40}, {7, SignDestination}})
        PutSign(*world, segment, sign);

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
    float maxSpeed = 0.0f, speedEnteringLimit = -1.0f, closestToTheSignal = 1e9f;
    double clearedAt = -1.0, movedOnAt = -1.0;
    bool wasStandingWhenCleared = false;
    for (int step = 0; step < 30000 && world->destinationState == 0; ++step) {
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

