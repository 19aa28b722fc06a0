#include <gtest/gtest.h>

#include "sim/camera.h"
#include "sim_fixture.h"

TEST(Camera, TheOriginMovesInWholeStepsUntilTheEyeIsWithinTenKilometres)
{
    // The eye stands 0.5 m towards -x of the train.
    for (auto [eye, shift] : {std::pair{25000.0f, -20000.0f}, {-10000.0f, 0.0f}, {10000.0f, 0.0f}, {10001.0f, -10000.0f},
                              {-25000.0f, 20000.0f}, {-10000.5f, 10000.0f}, {3.0f, 0.0f}}) {
        auto world = MakeResetWorld();
        LayStraightLine(*world, 1, 100.0f);
        std::tie(world->trains[1].posX, world->trains[1].posZ) = std::tuple(eye + 0.5f, eye);
        int32_t viewMode = ViewCab;
        Camera camera;
        PlaceCamera(camera, *world, viewMode);
        EXPECT_EQ(std::tuple(camera.originShiftX, camera.eyePoint.x, camera.originShiftZ, camera.eyePoint.z),
                  std::tuple(shift, eye + shift, shift, eye + shift));
    }
}

