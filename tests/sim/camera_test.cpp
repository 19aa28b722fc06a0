#include <gtest/gtest.h>

#include <cmath>

#include "../render/scene_test_support.h"
#include "sim/camera.h"
#include "sim_fixture.h"

namespace {

// The player's railcar standing at (x, z) with a heading on a straight segment 1, and the
// camera placed for a view that was chosen before.
Camera PlaceCameraAt(float x, float z, float heading, int32_t& viewMode, int32_t segmentType = SegmentStraight)
{
    auto world = MakeResetWorld();
    LayStraightLine(*world, 1, 100.0f);
    world->track[1].type = segmentType;
    TrainUnit& player = world->trains[world->playerUnit];
    std::tie(player.posX, player.posY, player.posZ, player.heading) = std::tuple(x, 1.0f, z, heading);
    Camera camera;
    PlaceCamera(camera, *world, viewMode);
    return camera;
}

}  // namespace

TEST(Camera, TheOriginMovesInWholeStepsUntilTheEyeIsWithinTenKilometres)
{
    // The eye stands 0.5 m towards -x of the train.
    for (auto [eye, shift] : {std::pair{25000.0f, -20000.0f}, {-10000.0f, 0.0f}, {10000.0f, 0.0f}, {10001.0f, -10000.0f},
                              {-25000.0f, 20000.0f}, {-10000.5f, 10000.0f}, {3.0f, 0.0f}}) {
        int32_t viewMode = ViewCab;
        Camera camera = PlaceCameraAt(eye + 0.5f, eye, 0.0f, viewMode);
        EXPECT_EQ(std::tuple(camera.originShiftX, camera.eyePoint.x, camera.originShiftZ, camera.eyePoint.z),
                  std::tuple(shift, eye + shift, shift, eye + shift));
    }
    // Far from the origin the shifted single-precision picture is the exact one, worked out in
    // double precision, to within what a look-at point one metre ahead can carry at 10 km.
    const double heading = 0.7;
    int32_t viewMode = ViewCab;
    Camera camera = PlaceCameraAt(43210.5f, -27654.25f, static_cast<float>(heading), viewMode);
    EXPECT_EQ(std::pair(camera.originShiftX, camera.originShiftZ), std::pair(-40000.0f, 20000.0f));
    const double dx = 43250.0 - 43210.0, dy = 3.0 - 3.5, dz = -27600.0 + 27654.25;
    Vector3 seen = TransformByMatrix(camera.view, {43250.0f - 40000.0f, 3.0f, -27600.0f + 20000.0f});
    EXPECT_NEAR(seen.x, dx * std::cos(heading) - dz * std::sin(heading), 0.05);
    EXPECT_NEAR(seen.y, dy, 0.05);
    EXPECT_NEAR(seen.z, dx * std::sin(heading) + dz * std::cos(heading), 0.05);
}

TEST(Camera, TheCabViewLooksAheadFromTheSeatTheOutsideViewFromFiftyMetresBehindAndTunnelsForceTheCab)
{
    int32_t viewMode = ViewCab;
    Camera camera = PlaceCameraAt(100.0f, 200.0f, 1.5708f, viewMode);
    // The seat offset is in world axes: still towards -x with the train heading along +x.
    EXPECT_EQ(std::tuple(camera.eyePoint.x, camera.eyePoint.y, camera.eyePoint.z), std::tuple(99.5f, 3.5f, 200.0f));
    EXPECT_NEAR(camera.lookAtPoint.x, 100.5f, 1e-4f);
    EXPECT_NEAR(camera.lookAtPoint.z, 200.0f, 1e-4f);
    // The view matrix puts the eye at the origin and the point ahead on the view axis.
    Vector3 ahead = TransformByMatrix(camera.view, {120.0f, 3.5f, 200.0f});
    EXPECT_NEAR(std::hypot(ahead.x, ahead.y), 0.0f, 1e-3f);
    EXPECT_NEAR(ahead.z, 20.5f, 1e-3f);
    EXPECT_NEAR(TransformByMatrix(camera.view, {99.5f, 3.5f, 190.0f}).x, 10.0f, 1e-3f);

    viewMode = ViewOutside;
    camera = PlaceCameraAt(100.0f, 200.0f, 0.0f, viewMode);
    EXPECT_EQ(std::tuple(camera.eyePoint.x, camera.eyePoint.y, camera.eyePoint.z, camera.lookAtPoint.z, viewMode),
              std::tuple(99.5f, 11.5f, 150.0f, 151.0f, ViewOutside));
    // A tunnel forces the cab view, and it stays chosen afterwards.
    camera = PlaceCameraAt(0.0f, 50.0f, 0.0f, viewMode, SegmentTunnel);
    EXPECT_EQ(std::tuple(viewMode, camera.eyePoint.y, camera.eyePoint.z), std::tuple(ViewCab, 3.5f, 50.0f));
    PlaceCameraAt(0.0f, 50.0f, 0.0f, viewMode);
    EXPECT_EQ(viewMode, ViewCab);
}
