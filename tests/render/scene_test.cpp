#include "render/scene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <tuple>

#include "../world/world_fixture.h"
#include "render/render_local.h"
#include "scene_test_support.h"
#include "sim/camera.h"

namespace {

Camera CameraWithShift(float originShiftX, float originShiftZ)
{
    Camera camera;
    camera.originShiftX = originShiftX;
    camera.originShiftZ = originShiftZ;
    camera.view = IdentityMatrix();
    camera.view.m[3][0] = 1.0f;  // any view the scene must pass on unchanged
    return camera;
}

}  // namespace

TEST(Scene, ClearsBeginsDrawsTrackTerrainObjectsAndEnds)
{
    auto world = MakeTestWorld();
    world->trains[world->playerUnit].kind = TrainNone;  // no railcar in the picture
    world->track[1] = StraightSegment(0.0f, 0.0f, 0.0f, 100.0f);
    world->strips[0] = StripAlong(world->track[1], SideFlatField, 0);
    world->scenery[300] = {SceneryTree, 10.0f, 0.0f, 10.0f, 0.0f, 0.0f, 0.0f, 0};
    for (bool begins : {true, false}) {
        RecordingDevice device(world->textures);
        device.beginSucceeds = begins;
        EXPECT_EQ(DrawScene(device, *world, CameraWithShift(0.0f, 0.0f)), 0);
        EXPECT_EQ(device.clearColour * 10 + device.clearDepth, 0x0080C0FFu * 10 + 1);
        if (!begins) {
            EXPECT_EQ(device.calls, (std::vector<DeviceCall>{DeviceCall::Clear, DeviceCall::BeginScene}));
            continue;
        }
        EXPECT_EQ(std::tuple(device.calls[1], device.calls.back(), device.CountCalls(DeviceCall::EndScene), device.view.m[3][0]),
                  std::tuple(DeviceCall::BeginScene, DeviceCall::EndScene, 1, 1.0f));
        // Three track bands, one field, one tree, in that order.
        ASSERT_EQ(device.draws.size(), 5u);
        EXPECT_EQ(device.draws[2].texture + device.draws[3].texture + device.draws[4].texture, "gras.bmptree1.bmp");
    }
}

// What each pass draws right at the edge of its reach: track segments with an end within 500 m,
// ground strips within 3000 m, models within their draw distance, trees within 1000 m; signs on
// any segment type, the destination's never.
TEST(Scene, EachPassDrawsWhatLiesExactlyAtTheEdgeOfItsReach)
{
    const struct {
        float startX, startZ, endX, endZ, stripStartZ, stripEndZ;
        bool drawn;
    } tracks[] = {{0.0f, -600.0f, 0.0f, -500.0f, 3000.0f, 3500.0f, true},
                  {300.0f, 400.0f, 300.0f, 700.0f, -3500.0f, -3000.0f, true},
                  {-501.0f, 0.0f, 501.0f, 0.0f, 3000.5f, 3500.0f, false},
                  {0.0f, 500.01f, 0.0f, 800.0f, -3500.0f, -3000.5f, false}};
    for (const auto& c : tracks) {
        auto world = MakeTestWorld();
        world->track[1].type = SegmentStraight;
        std::tie(world->track[1].startX, world->track[1].startZ, world->track[1].endX, world->track[1].endZ) =
            std::tuple(c.startX, c.startZ, c.endX, c.endZ);
        RecordingDevice device(world->textures);
        DrawTrackPass(MakeSceneFrame(device, *world, 0.0f, 0.0f));
        EXPECT_EQ(device.draws.size(), c.drawn ? 3u : 0u) << c.startX << " " << c.startZ;
        // Far away the strips are placed in route coordinates once for all of them.
        TrackSegment strip{};
        strip.type = SegmentStraight;
        strip.startZ = c.stripStartZ;
        strip.endZ = c.stripEndZ;
        world->strips[5] = StripAlong(strip, SideFlatField, SideFlatField);
        RecordingDevice terrain(world->textures);
        DrawTerrainPass(MakeSceneFrame(terrain, *world, 20000.0f, -10000.0f));
        EXPECT_EQ(terrain.draws.size(), c.drawn ? 2u : 0u);
        EXPECT_EQ(terrain.CountCalls(DeviceCall::SetWorldTransform), 1);
        for (const RecordedDraw& draw : terrain.draws)
            EXPECT_TRUE(IsTranslation(draw.world, 20000.0f, 0.0f, -10000.0f));
    }

    auto world = MakeTestWorld();
    for (int32_t type : {4, static_cast<int>(SegmentNone)}) {  // 4 has no track of its own
        TrackSegment& segment = world->track[type == 4 ? 1 : 2];
        segment = StraightSegment(0.0f, 0.0f, 0.0f, 50.0f);
        std::tie(segment.type, segment.signPresent, segment.forwardSign) = std::tuple(type, 1, SignStop);
    }
    RecordingDevice signs(world->textures);
    DrawTrackPass(MakeSceneFrame(signs, *world, 0.0f, 0.0f));
    ASSERT_EQ(signs.draws.size(), 1u);
    EXPECT_EQ(signs.draws[0].texture, "sign0002.bmp");

}

TEST(Scene, WorldMatricesTurnAboutZThenYThenXAndGroundDistancesAreDouble)
{
    EXPECT_TRUE(IsTranslation(MakeWorldMatrix({1.5f, -2.0f, 30000.0f}, 0.0f, 0.0f, 0.0f), 1.5f, -2.0f, 30000.0f));
    for (Vector3 angles : {Vector3{0.1f, 1.5708f, 0.0f}, {0.0f, 0.7f, 0.0f}, {0.3f, -2.0f, 0.4f}, {0.0f, 0.0f, 0.25f}}) {
        const Matrix4 matrix = MakeWorldMatrix({10.0f, 20.0f, 30.0f}, angles.x, angles.y, angles.z);
        for (Vector3 p : {Vector3{1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}, {2.0f, -3.0f, 5.0f}}) {
            // Turned about z, then y, then x, as row vectors, then moved.
            double c = std::cos(angles.z), s = std::sin(angles.z);
            double x = p.x * c - p.y * s, y = p.x * s + p.y * c, z = p.z;
            c = std::cos(angles.y), s = std::sin(angles.y);
            std::tie(x, z) = std::pair(x * c + z * s, -x * s + z * c);
            c = std::cos(angles.x), s = std::sin(angles.x);
            std::tie(y, z) = std::pair(y * c - z * s, y * s + z * c);
            const Vector3 got = TransformByMatrix(matrix, p);
            EXPECT_NEAR(got.x, x + 10.0, 1e-5);
            EXPECT_NEAR(got.y, y + 20.0, 1e-5);
            EXPECT_NEAR(got.z, z + 30.0, 1e-5);
        }
    }
    // The float difference would round 2^24 + 1 down to 2^24.
    EXPECT_EQ(GroundDistance(0.0f, 0.0f, 300.0f, -400.0f), 500.0);
    EXPECT_EQ(GroundDistance(16777216.0f, 0.0f, -1.0f, 0.0f), 16777217.0);
}

// Scenery 1 over 10 km seen from along the line: the scene is its three passes, and moving the origin by whole steps moves only the
// translation of the world matrices.
TEST(Scene, WholeRouteDrawsOnlyWhatLiesWithinItsWindows)
{
    auto world = BuildTestWorld(1, 10, 3);
    for (int segmentIndex : {1, 12, 25, 40, world->segmentCount}) {
        SCOPED_TRACE(segmentIndex);
        const float px = world->track[segmentIndex].startX, pz = world->track[segmentIndex].startZ;
        PlacePlayer(*world, px, pz);
        const float shiftX = -10000.0f * std::round(px / 10000.0f) - 10000.0f;
        const float shiftZ = -10000.0f * std::round(pz / 10000.0f) + 10000.0f;
        RecordingDevice whole(world->textures), near(world->textures), passes(world->textures);
        DrawScene(whole, *world, CameraWithShift(shiftX, shiftZ));
        DrawScene(near, *world, CameraWithShift(0.0f, 0.0f));
        ASSERT_EQ(near.draws.size(), whole.draws.size());
        for (size_t i = 0; i < near.draws.size(); ++i) {
            const RecordedDraw& a = near.draws[i];
            const RecordedDraw& b = whole.draws[i];
            EXPECT_EQ(a.vertices.size(), b.vertices.size());
            EXPECT_EQ(0, std::memcmp(a.vertices.data(), b.vertices.data(), std::min(a.vertices.size(), b.vertices.size()) * sizeof(SceneVertex)));
            EXPECT_EQ(std::tie(a.indexes, a.texture), std::tie(b.indexes, b.texture));
            EXPECT_EQ(0, std::memcmp(&a.material, &b.material, sizeof(SceneMaterial)));
            EXPECT_EQ(0, std::memcmp(a.world.m, b.world.m, sizeof(float) * 12));
            EXPECT_EQ(std::pair(a.world.m[3][0] + shiftX, a.world.m[3][2] + shiftZ), std::pair(b.world.m[3][0], b.world.m[3][2]));
        }
        DrawTrackPass(MakeSceneFrame(passes, *world, shiftX, shiftZ));
        const size_t track = passes.draws.size();
        DrawTerrainPass(MakeSceneFrame(passes, *world, shiftX, shiftZ));
        EXPECT_GT(passes.draws.size(), track);
        DrawObjectsPass(MakeSceneFrame(passes, *world, shiftX, shiftZ));
        EXPECT_EQ(whole.draws.size(), passes.draws.size());
    }
    // Left and right curves are drawn a quad per quarter degree per band.
    world = MakeTestWorld();
    world->track[1] = CurveSegment(SegmentCurveLeft, 0.0f, 0.0f, 0.0f, 100.0f);
    world->track[2] = CurveSegment(SegmentCurveRight, 0.0f, 0.0f, 0.0f, 50.0f);
    RecordingDevice curves(world->textures);
    DrawTrackPass(MakeSceneFrame(curves, *world, 0.0f, 0.0f));
    EXPECT_EQ(curves.draws.size(), 3u * (23 + 12));
}
