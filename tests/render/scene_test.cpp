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
        EXPECT_EQ(device.calls[1], DeviceCall::BeginScene);
        EXPECT_EQ(device.calls.back(), DeviceCall::EndScene);
        EXPECT_EQ(device.CountCalls(DeviceCall::EndScene), 1);
        EXPECT_EQ(device.view.m[3][0], 1.0f);
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
    TrackSegment segment = StraightSegment(0.0f, 0.0f, 0.0f, 50.0f);
    segment.type = 4;  // no track of its own
    segment.signPresent = 1;
    segment.forwardSign = SignStop;
    world->track[1] = segment;
    segment.type = SegmentNone;
    world->track[2] = segment;
    RecordingDevice signs(world->textures);
    DrawTrackPass(MakeSceneFrame(signs, *world, 0.0f, 0.0f));
    ASSERT_EQ(signs.draws.size(), 1u);
    EXPECT_EQ(signs.draws[0].texture, "sign0002.bmp");

    BuildModelLibrary(world->models, world->groundNoise.data());
    world->trains[world->playerUnit].kind = TrainNone;
    world->scenery[world->trains[world->playerUnit].objectIndex].type = SceneryEmpty;
    PlacePlayer(*world, 100.0f, 100.0f);
    const ModelEntry& platform = world->models.models[SceneryPlatform];
    ASSERT_EQ(platform.drawDistance, 500.0f);
    const std::tuple<int32_t, float, float> placed[] = {
        {SceneryPlatform, 300.0f, 400.0f}, {SceneryPlatform, 300.0f, 400.01f}, {SceneryTree, -600.0f, -800.0f},
        {SceneryTree, -600.0f, -800.01f},  {10001, 0.0f, 0.0f},                {10000, 0.0f, 0.0f},
        {SceneryTree, 0.0f, 5.0f}};
    for (int i = 0; i < 7; ++i) {
        auto [type, dx, dz] = placed[i];
        world->scenery[200 + i] = {type, 100.0f + dx, 0.0f, 100.0f + dz, 0.0f, 0.0f, 0.0f, 0};
    }
    RecordingDevice objects(world->textures);
    DrawObjectsPass(MakeSceneFrame(objects, *world, 0.0f, 0.0f));
    ASSERT_EQ(static_cast<int>(objects.draws.size()), platform.partCount + 2);
    EXPECT_EQ(objects.draws.back().texture, "tree1.bmp");
    EXPECT_FLOAT_EQ(objects.draws.back().world.m[3][2], 105.0f);
    EXPECT_FLOAT_EQ(objects.draws[platform.partCount].world.m[3][0], -500.0f);
}

TEST(Scene, VehiclesTakeTheirUnitsPoseAndWorldMatricesTurnAboutZThenYThenX)
{
    auto world = MakeTestWorld();
    TrainUnit& player = world->trains[world->playerUnit];
    std::tie(player.posX, player.posY, player.posZ, player.pitch, player.heading) = std::tuple(12.0f, 1.5f, -30.0f, 0.05f, 2.0f);
    SceneryObject& railcar = world->scenery[player.objectIndex];
    railcar.rotZ = 0.7f;
    // A unit that has left the line keeps its object where it was.
    world->trains[7] = {};
    world->trains[7].objectIndex = 40;
    world->scenery[40] = {SceneryLocomotive, 1.0f, 2.0f, 3.0f, 0.0f, 0.0f, 0.0f, 0};
    UpdateVehiclePoses(*world);
    const SceneryObject expected = {SceneryRailcar, 12.0f, 1.5f, -30.0f, 0.05f, 2.0f, 0.0f, railcar.variation};
    EXPECT_EQ(0, std::memcmp(&railcar, &expected, sizeof(SceneryObject)));
    EXPECT_EQ(world->scenery[40].x, 1.0f);

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

namespace {

double FarthestVertex(const RecordedDraw& draw, float originShiftX, float originShiftZ, double x, double z)
{
    double farthest = 0.0;
    for (const SceneVertex& v : draw.vertices) {
        Vector3 p = TransformByMatrix(draw.world, {v.x, v.y, v.z});
        farthest = std::max(farthest, FlatDistance(p.x - originShiftX, p.z - originShiftZ, x, z));
    }
    return farthest;
}

}  // namespace

// Scenery 1 over 10 km, seen from along the line: each pass draws exactly the items within its
// window and nothing of the world far away; moving the origin by whole steps moves only the
// translation of the world matrices.
TEST(Scene, WholeRouteDrawsOnlyWhatLiesWithinItsWindows)
{
    auto world = BuildTestWorld(1, 10, 3);
    const ModelLibrary& models = world->models;
    for (int segmentIndex : {1, 12, 25, 40, world->segmentCount}) {
        SCOPED_TRACE(segmentIndex);
        const float px = world->track[segmentIndex].startX, pz = world->track[segmentIndex].startZ;
        PlacePlayer(*world, px, pz);
        const float shiftX = -10000.0f * std::round(px / 10000.0f) - 10000.0f;
        const float shiftZ = -10000.0f * std::round(pz / 10000.0f) + 10000.0f;
        RecordingDevice whole(world->textures), near(world->textures);
        DrawScene(whole, *world, CameraWithShift(shiftX, shiftZ));
        DrawScene(near, *world, CameraWithShift(0.0f, 0.0f));
        ASSERT_EQ(near.draws.size(), whole.draws.size());
        for (size_t i = 0; i < near.draws.size(); ++i) {
            const RecordedDraw& a = near.draws[i];
            const RecordedDraw& b = whole.draws[i];
            EXPECT_EQ(a.vertices.size(), b.vertices.size());
            EXPECT_EQ(0, std::memcmp(a.vertices.data(), b.vertices.data(), std::min(a.vertices.size(), b.vertices.size()) * sizeof(SceneVertex)));
            EXPECT_EQ(a.indexes, b.indexes);
            EXPECT_EQ(a.texture, b.texture);
            EXPECT_EQ(0, std::memcmp(&a.material, &b.material, sizeof(SceneMaterial)));
            EXPECT_EQ(0, std::memcmp(a.world.m, b.world.m, sizeof(float) * 12));
            EXPECT_EQ(a.world.m[3][0] + shiftX, b.world.m[3][0]);
            EXPECT_EQ(a.world.m[3][2] + shiftZ, b.world.m[3][2]);
        }

        RecordingDevice track(world->textures), terrain(world->textures), objects(world->textures);
        DrawTrackPass(MakeSceneFrame(track, *world, shiftX, shiftZ));
        DrawTerrainPass(MakeSceneFrame(terrain, *world, shiftX, shiftZ));
        DrawObjectsPass(MakeSceneFrame(objects, *world, shiftX, shiftZ));
        EXPECT_EQ(whole.draws.size(), track.draws.size() + terrain.draws.size() + objects.draws.size());

        // Track and signs: every segment with an end within 500 m, curves a quad per quarter
        // degree per band, every sign within 1000 m of its own position but the destination's.
        int expectedTrack = 0, expectedSigns = 0, signs = 0;
        for (const TrackSegment& s : world->track) {
            if (s.type == SegmentNone ||
                std::min(FlatDistance(px, pz, s.startX, s.startZ), FlatDistance(px, pz, s.endX, s.endZ)) > 500.0)
                continue;
            const bool curve = s.type == SegmentCurveLeft || s.type == SegmentCurveRight;
            expectedTrack += 3 * (curve ? static_cast<int>(std::ceil(std::fabs(s.endHeading - s.startHeading) / 0.0043633333)) : 1);
            const double signX = s.startX - 2.0 * std::cos(s.startHeading), signZ = s.startZ + 2.0 * std::sin(s.startHeading);
            if (s.signPresent != 0 && s.forwardSign != SignDestination && FlatDistance(px, pz, signX, signZ) <= 1000.0)
                ++expectedSigns;
        }
        for (const RecordedDraw& draw : track.draws) {
            const bool isSign = draw.material.diffuse.red == 2.0f;
            signs += isSign ? 1 : 0;
            // A segment reaches at most its length beyond the end that brought it in.
            EXPECT_LE(FarthestVertex(draw, shiftX, shiftZ, px, pz), isSign ? 1006.0 : 1002.0);
        }
        EXPECT_EQ(signs, expectedSigns);
        EXPECT_EQ(static_cast<int>(track.draws.size()) - signs, expectedTrack);
        // Ground: nothing beyond the strips within reach and the 1500 m the land spreads out.
        EXPECT_FALSE(terrain.draws.empty());
        for (const RecordedDraw& draw : terrain.draws)
            EXPECT_LE(FarthestVertex(draw, shiftX, shiftZ, px, pz), 3000.0 + 500.0 + 1500.0 + 1.0);
        // Objects: each model within its draw distance with all its parts, each tree within 1000 m.
        int expectedModelDraws = 0, expectedTrees = 0, trees = 0;
        for (const SceneryObject& o : world->scenery) {
            const double d = FlatDistance(px, pz, o.x, o.z);
            if (o.type >= 1 && o.type <= 9999 && d <= models.models[o.type].drawDistance)
                expectedModelDraws += models.models[o.type].partCount;
            expectedTrees += o.type == SceneryTree && d <= 1000.0 ? 1 : 0;
        }
        for (const RecordedDraw& draw : objects.draws)
            trees += draw.texture == "tree1.bmp" ? 1 : 0;
        EXPECT_EQ(trees, expectedTrees);
        EXPECT_EQ(static_cast<int>(objects.draws.size()) - trees, expectedModelDraws);
        EXPECT_GT(expectedModelDraws * expectedTrack, 0);
    }
    // Far off the line only the player's own railcar is in reach.
    PlacePlayer(*world, 1.0e6f, -1.0e6f);
    RecordingDevice far(world->textures);
    DrawScene(far, *world, CameraWithShift(-1.0e6f, 1.0e6f));
    ASSERT_EQ(static_cast<int>(far.draws.size()), models.models[SceneryRailcar].partCount);
    for (const RecordedDraw& draw : far.draws)
        EXPECT_EQ(std::pair(draw.world.m[3][0], draw.world.m[3][2]), std::pair(0.0f, 0.0f));
}
