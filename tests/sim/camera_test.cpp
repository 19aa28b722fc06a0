#include <gtest/gtest.h>

#include <cmath>

#include "sim/camera.h"
#include "sim_fixture.h"

namespace {

Vector3 Transform(const Matrix4& matrix, Vector3 p)
{
    return {p.x * matrix.m[0][0] + p.y * matrix.m[1][0] + p.z * matrix.m[2][0] + matrix.m[3][0],
            p.x * matrix.m[0][1] + p.y * matrix.m[1][1] + p.z * matrix.m[2][1] + matrix.m[3][1],
            p.x * matrix.m[0][2] + p.y * matrix.m[1][2] + p.z * matrix.m[2][2] + matrix.m[3][2]};
}

// The player's railcar standing at (x, z) with a heading, on a straight segment 1.
std::unique_ptr<World> WorldWithPlayerAt(float x, float z, float heading)
{
    auto world = MakeResetWorld();
    LayStraightLine(*world, 1, 100.0f);
    TrainUnit& player = world->trains[world->playerUnit];
    player.posX = x;
    player.posZ = z;
    player.posY = 0.0f;
    player.heading = heading;
    return world;
}

}  // namespace

TEST(Camera, TheOriginMovesInWholeStepsUntilTheEyeIsWithinTenKilometres)
{
    // The eye stands 0.5 m towards -x of the train.
    struct Case {
        float eye;
        float shift;
        float shiftedEye;
    } cases[] = {
        {25000.0f, -20000.0f, 5000.0f}, {-10000.0f, 0.0f, -10000.0f}, {10000.0f, 0.0f, 10000.0f},
        {10001.0f, -10000.0f, 1.0f},    {-25000.0f, 20000.0f, -5000.0f}, {-10000.5f, 10000.0f, -0.5f},
        {3.0f, 0.0f, 3.0f},
    };
    for (const Case& c : cases) {
        auto world = WorldWithPlayerAt(c.eye + 0.5f, c.eye, 0.0f);
        int32_t viewMode = ViewCab;
        Camera camera;
        PlaceCamera(camera, *world, viewMode);
        EXPECT_EQ(camera.originShiftX, c.shift) << "eye x " << c.eye;
        EXPECT_EQ(camera.eyePoint.x, c.shiftedEye) << "eye x " << c.eye;
        EXPECT_EQ(camera.originShiftZ, c.shift) << "eye z " << c.eye;
        EXPECT_EQ(camera.eyePoint.z, c.shiftedEye) << "eye z " << c.eye;
    }
}

TEST(Camera, TheShiftedPictureIsTheExactPictureFarFromTheOrigin)
{
    const double heading = 0.7;
    auto world = WorldWithPlayerAt(43210.5f, -27654.25f, static_cast<float>(heading));
    int32_t viewMode = ViewCab;
    Camera camera;
    PlaceCamera(camera, *world, viewMode);
    EXPECT_EQ(camera.originShiftX, -40000.0f);
    EXPECT_EQ(camera.originShiftZ, 20000.0f);

    // The object as the eye sees it, worked out in double precision: right, up and ahead.
    const double object[3] = {43250.0, 3.0, -27600.0};
    const double eye[3] = {43210.0, 2.5, -27654.25};
    double dx = object[0] - eye[0], dy = object[1] - eye[1], dz = object[2] - eye[2];
    double right = dx * std::cos(heading) - dz * std::sin(heading);
    double ahead = dx * std::sin(heading) + dz * std::cos(heading);

    // Drawn with the shift added, the single-precision picture matches it to within the
    // direction a look-at point one metre ahead can carry at 10 km from the origin.
    Vector3 drawn = {static_cast<float>(object[0]) + camera.originShiftX, static_cast<float>(object[1]),
                     static_cast<float>(object[2]) + camera.originShiftZ};
    Vector3 seen = Transform(camera.view, drawn);
    EXPECT_NEAR(seen.x, right, 0.05);
    EXPECT_NEAR(seen.y, dy, 0.05);
    EXPECT_NEAR(seen.z, ahead, 0.05);
}

TEST(Camera, TheCabViewLooksAMetreAheadFromTheDriversSeat)
{
    const float quarterTurn = 1.5708f;
    auto world = WorldWithPlayerAt(100.0f, 200.0f, quarterTurn);
    world->trains[1].posY = 1.0f;
    int32_t viewMode = ViewCab;
    Camera camera;
    PlaceCamera(camera, *world, viewMode);
    // The seat offset is in world axes: still towards -x with the train heading along +x.
    EXPECT_FLOAT_EQ(camera.eyePoint.x, 99.5f);
    EXPECT_FLOAT_EQ(camera.eyePoint.y, 3.5f);
    EXPECT_FLOAT_EQ(camera.eyePoint.z, 200.0f);
    EXPECT_NEAR(camera.lookAtPoint.x, 100.5f, 1e-4f);
    EXPECT_FLOAT_EQ(camera.lookAtPoint.y, 3.5f);
    EXPECT_NEAR(camera.lookAtPoint.z, 200.0f, 1e-4f);

    // The view matrix puts the eye at the origin and the point ahead on the view axis.
    Vector3 ahead = Transform(camera.view, {120.0f, 3.5f, 200.0f});
    EXPECT_NEAR(ahead.x, 0.0f, 1e-3f);
    EXPECT_NEAR(ahead.y, 0.0f, 1e-3f);
    EXPECT_NEAR(ahead.z, 20.5f, 1e-3f);
    Vector3 right = Transform(camera.view, {99.5f, 3.5f, 190.0f});
    EXPECT_NEAR(right.x, 10.0f, 1e-3f);
}

TEST(Camera, TheOutsideViewStandsFiftyMetresBehindAndEightHigher)
{
    auto world = WorldWithPlayerAt(100.0f, 200.0f, 0.0f);
    int32_t viewMode = ViewCab;
    viewMode = ViewOutside;
    Camera camera;
    PlaceCamera(camera, *world, viewMode);
    EXPECT_FLOAT_EQ(camera.eyePoint.x, 99.5f);
    EXPECT_FLOAT_EQ(camera.eyePoint.y, 10.5f);
    EXPECT_FLOAT_EQ(camera.eyePoint.z, 150.0f);
    EXPECT_FLOAT_EQ(camera.lookAtPoint.z, 151.0f);
    EXPECT_EQ(viewMode, ViewOutside);
}

TEST(Camera, ATunnelForcesTheCabViewAndItStaysChosenAfterwards)
{
    auto world = WorldWithPlayerAt(0.0f, 50.0f, 0.0f);
    world->track[1].type = SegmentTunnel;
    int32_t viewMode = ViewCab;
    viewMode = ViewOutside;
    Camera camera;
    PlaceCamera(camera, *world, viewMode);
    EXPECT_EQ(viewMode, ViewCab);
    EXPECT_FLOAT_EQ(camera.eyePoint.y, 2.5f);
    EXPECT_FLOAT_EQ(camera.eyePoint.z, 50.0f);

    world->track[1].type = SegmentStraight;
    PlaceCamera(camera, *world, viewMode);
    EXPECT_EQ(viewMode, ViewCab);
}
