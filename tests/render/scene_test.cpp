#include "render/scene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

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

// A world whose only item is the given segment (index 1).
void PutSegment(World& world, const TrackSegment& segment)
{
    world.track[1] = segment;
}

int CountDraws(const RecordingDevice& device)
{
    return static_cast<int>(device.draws.size());
}

// A row-vector point turned about z, y and x by the elementary rotations of the scene.
Vector3 RotateZ(Vector3 p, double a)
{
    double c = std::cos(a), s = std::sin(a);
    return {static_cast<float>(p.x * c - p.y * s), static_cast<float>(p.x * s + p.y * c), p.z};
}

Vector3 RotateY(Vector3 p, double a)
{
    double c = std::cos(a), s = std::sin(a);
    return {static_cast<float>(p.x * c + p.z * s), p.y, static_cast<float>(-p.x * s + p.z * c)};
}

Vector3 RotateX(Vector3 p, double a)
{
    double c = std::cos(a), s = std::sin(a);
    return {p.x, static_cast<float>(p.y * c - p.z * s), static_cast<float>(p.y * s + p.z * c)};
}

}  // namespace

TEST(Scene, ClearsBeginsDrawsTrackTerrainObjectsAndEnds)
{
    auto world = MakeTestWorld();
    world->trains[world->playerUnit].kind = TrainNone;  // no railcar in the picture
    PutSegment(*world, StraightSegment(0.0f, 0.0f, 0.0f, 100.0f));
    world->strips[0] = StripAlong(world->track[1], SideFlatField, 0);
    world->scenery[300] = {SceneryTree, 10.0f, 0.0f, 10.0f, 0.0f, 0.0f, 0.0f, 0};

    RecordingDevice device(world->textures);
    Camera camera = CameraWithShift(0.0f, 0.0f);
    EXPECT_EQ(DrawScene(device, *world, camera), 0);

    ASSERT_GE(device.calls.size(), 3u);
    EXPECT_EQ(device.calls.front(), DeviceCall::Clear);
    EXPECT_EQ(device.calls[1], DeviceCall::BeginScene);
    EXPECT_EQ(device.calls.back(), DeviceCall::EndScene);
    EXPECT_EQ(device.CountCalls(DeviceCall::EndScene), 1);
    EXPECT_EQ(device.clearColour, 0x0080C0FFu);
    EXPECT_EQ(device.clearDepth, 1.0f);
    ASSERT_TRUE(device.viewSet);
    EXPECT_EQ(device.view.m[3][0], 1.0f);

    // Three track bands, one field, one tree, in that order.
    ASSERT_EQ(CountDraws(device), 5);
    EXPECT_EQ(device.draws[2].texture, "");
    EXPECT_EQ(device.draws[3].texture, "gras.bmp");
    EXPECT_EQ(device.draws[4].texture, "tree1.bmp");
}

TEST(Scene, FailedBeginDrawsNothingAndStillSucceeds)
{
    auto world = MakeTestWorld();
    PutSegment(*world, StraightSegment(0.0f, 0.0f, 0.0f, 100.0f));
    world->trains[world->playerUnit].posX = 3.0f;
    RecordingDevice device(world->textures);
    device.beginSucceeds = false;
    EXPECT_EQ(DrawScene(device, *world, CameraWithShift(0.0f, 0.0f)), 0);
    EXPECT_EQ(device.calls, (std::vector<DeviceCall>{DeviceCall::Clear, DeviceCall::BeginScene}));
}

TEST(Scene, TrackSegmentIsDrawnWhenEitherEndIsWithinReach)
{
    struct Case {
        const char* name;
        float startX, startZ, endX, endZ;
        bool drawn;
    };
    // The player stands at the origin.
    const Case cases[] = {
        {"start 600 m away, end exactly 500 m", 0.0f, -600.0f, 0.0f, -500.0f, true},
        {"start exactly 500 m away", 300.0f, 400.0f, 300.0f, 700.0f, true},
        {"both ends 501 m away, the middle passing by", -501.0f, 0.0f, 501.0f, 0.0f, false},
        {"both ends 500.01 m away", 0.0f, 500.01f, 0.0f, 800.0f, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto world = MakeTestWorld();
        TrackSegment segment{};
        segment.type = SegmentStraight;
        segment.startX = c.startX;
        segment.startZ = c.startZ;
        segment.endX = c.endX;
        segment.endZ = c.endZ;
        PutSegment(*world, segment);
        RecordingDevice device(world->textures);
        DrawTrackPass(MakeSceneFrame(device, *world, 0.0f, 0.0f));
        EXPECT_EQ(CountDraws(device), c.drawn ? 3 : 0);
    }
}

TEST(Scene, SignIsDrawnForEveryTypeOfSegmentButNotForEmptySlots)
{
    auto world = MakeTestWorld();
    TrackSegment segment = StraightSegment(0.0f, 0.0f, 0.0f, 50.0f);
    segment.type = 4;  // no track of its own
    segment.signPresent = 1;
    segment.forwardSign = SignStop;
    world->track[1] = segment;
    segment.type = SegmentNone;
    world->track[2] = segment;
    RecordingDevice device(world->textures);
    DrawTrackPass(MakeSceneFrame(device, *world, 0.0f, 0.0f));
    ASSERT_EQ(CountDraws(device), 1);
    EXPECT_EQ(device.draws[0].texture, "sign0002.bmp");
}

TEST(Scene, GroundStripIsDrawnWhenEitherEndIsWithin3000Metres)
{
    struct Case {
        const char* name;
        float startZ, endZ;
        bool drawn;
    };
    const Case cases[] = {
        {"start exactly 3000 m away", 3000.0f, 3500.0f, true},
        {"end exactly 3000 m away", -3500.0f, -3000.0f, true},
        {"both ends beyond 3000 m", 3000.5f, 3500.0f, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto world = MakeTestWorld();
        TrackSegment segment{};
        segment.type = SegmentStraight;
        segment.startZ = c.startZ;
        segment.endZ = c.endZ;
        world->strips[5] = StripAlong(segment, SideFlatField, SideFlatField);
        RecordingDevice device(world->textures);
        DrawTerrainPass(MakeSceneFrame(device, *world, 20000.0f, -10000.0f));
        EXPECT_EQ(CountDraws(device), c.drawn ? 2 : 0);
        // The pass places route coordinates once for all strips.
        EXPECT_EQ(device.CountCalls(DeviceCall::SetWorldTransform), 1);
        for (const RecordedDraw& draw : device.draws)
            EXPECT_TRUE(IsTranslation(draw.world, 20000.0f, 0.0f, -10000.0f));
    }
}

TEST(Scene, ObjectsPassDrawsModelsAndTreesWithinTheirDistances)
{
    auto world = MakeTestWorld();
    BuildModelLibrary(world->models, world->groundNoise.data());
    world->trains[world->playerUnit].kind = TrainNone;
    world->scenery[world->trains[world->playerUnit].objectIndex].type = SceneryEmpty;
    PlacePlayer(*world, 100.0f, 100.0f);

    const ModelEntry& platform = world->models.models[SceneryPlatform];
    ASSERT_EQ(platform.drawDistance, 500.0f);
    auto place = [&](int slot, int32_t type, float dx, float dz) {
        world->scenery[slot] = {type, 100.0f + dx, 0.0f, 100.0f + dz, 0.0f, 0.0f, 0.0f, 0};
    };
    place(200, SceneryPlatform, 300.0f, 400.0f);       // exactly at its draw distance
    place(201, SceneryPlatform, 300.0f, 400.01f);      // just beyond
    place(202, SceneryTree, -600.0f, -800.0f);         // exactly 1000 m
    place(203, SceneryTree, -600.0f, -800.01f);        // just beyond
    place(204, 10001, 0.0f, 0.0f);                     // no drawer
    place(205, 10000, 0.0f, 0.0f);
    place(206, SceneryTree, 0.0f, 5.0f);

    RecordingDevice device(world->textures);
    DrawObjectsPass(MakeSceneFrame(device, *world, 0.0f, 0.0f));
    ASSERT_EQ(CountDraws(device), platform.partCount + 2);
    EXPECT_EQ(device.draws.back().texture, "tree1.bmp");
    EXPECT_FLOAT_EQ(device.draws.back().world.m[3][2], 105.0f);
    EXPECT_FLOAT_EQ(device.draws[platform.partCount].world.m[3][0], -500.0f);
}

TEST(Scene, VehiclePosesFollowTheirUnits)
{
    auto world = MakeTestWorld();
    TrainUnit& player = world->trains[world->playerUnit];
    player.posX = 12.0f;
    player.posY = 1.5f;
    player.posZ = -30.0f;
    player.pitch = 0.05f;
    player.heading = 2.0f;
    SceneryObject& railcar = world->scenery[player.objectIndex];
    railcar.rotZ = 0.7f;

    // A unit that has left the line keeps its object where it was.
    TrainUnit& gone = world->trains[7];
    gone.kind = TrainNone;
    gone.objectIndex = 40;
    gone.posX = 99.0f;
    world->scenery[40] = {SceneryLocomotive, 1.0f, 2.0f, 3.0f, 0.0f, 0.0f, 0.0f, 0};

    UpdateVehiclePoses(*world);
    EXPECT_EQ(railcar.type, SceneryRailcar);
    EXPECT_EQ(railcar.x, 12.0f);
    EXPECT_EQ(railcar.y, 1.5f);
    EXPECT_EQ(railcar.z, -30.0f);
    EXPECT_EQ(railcar.rotX, 0.05f);
    EXPECT_EQ(railcar.rotY, 2.0f);
    EXPECT_EQ(railcar.rotZ, 0.0f);
    EXPECT_EQ(world->scenery[40].x, 1.0f);
}

TEST(Scene, WorldMatrixIsATranslationWithoutAnglesAndTurnsAboutZThenYThenX)
{
    Matrix4 plain = MakeWorldMatrix({1.5f, -2.0f, 30000.0f}, 0.0f, 0.0f, 0.0f);
    EXPECT_TRUE(IsTranslation(plain, 1.5f, -2.0f, 30000.0f));

    struct Case {
        float angleX, angleY, angleZ;
    };
    const Case cases[] = {
        {0.1f, 1.5708f, 0.0f},  // a vehicle heading along +x with a pitch
        {0.0f, 0.7f, 0.0f},
        {0.3f, -2.0f, 0.4f},
        {0.0f, 0.0f, 0.25f},
    };
    const Vector3 position = {10.0f, 20.0f, 30.0f};
    const Vector3 points[] = {{1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}, {2.0f, -3.0f, 5.0f}};
    for (const Case& c : cases) {
        Matrix4 matrix = MakeWorldMatrix(position, c.angleX, c.angleY, c.angleZ);
        for (const Vector3& p : points) {
            Vector3 expected = RotateX(RotateY(RotateZ(p, c.angleZ), c.angleY), c.angleX);
            Vector3 got = TransformByMatrix(matrix, p);
            EXPECT_NEAR(got.x, expected.x + position.x, 1e-5);
            EXPECT_NEAR(got.y, expected.y + position.y, 1e-5);
            EXPECT_NEAR(got.z, expected.z + position.z, 1e-5);
        }
    }
}

TEST(Scene, GroundDistanceSubtractsInDoublePrecision)
{
    EXPECT_EQ(GroundDistance(0.0f, 0.0f, 300.0f, -400.0f), 500.0);
    // The float difference would round 2^24 + 1 down to 2^24.
    EXPECT_EQ(GroundDistance(16777216.0f, 0.0f, -1.0f, 0.0f), 16777217.0);
}

// The same world seen with the origin moved by whole steps: every vertex array, texture and
// material stays as it was, and only the translation of the world matrices moves.
TEST(Scene, FloatingOriginMovesOnlyTheWorldMatrices)
{
    auto world = BuildTestWorld(1, 10, 3);
    PlacePlayer(*world, world->track[12].startX, world->track[12].startZ);

    RecordingDevice near(world->textures);
    DrawScene(near, *world, CameraWithShift(0.0f, 0.0f));
    RecordingDevice shifted(world->textures);
    DrawScene(shifted, *world, CameraWithShift(-10000.0f, 10000.0f));

    ASSERT_GT(near.draws.size(), 100u);
    ASSERT_EQ(near.draws.size(), shifted.draws.size());
    for (size_t i = 0; i < near.draws.size(); ++i) {
        const RecordedDraw& a = near.draws[i];
        const RecordedDraw& b = shifted.draws[i];
        ASSERT_EQ(a.vertices.size(), b.vertices.size());
        EXPECT_EQ(0, std::memcmp(a.vertices.data(), b.vertices.data(), a.vertices.size() * sizeof(SceneVertex)));
        EXPECT_EQ(a.indexes, b.indexes);
        EXPECT_EQ(a.texture, b.texture);
        EXPECT_EQ(0, std::memcmp(&a.material, &b.material, sizeof(SceneMaterial)));
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 4; ++column)
                EXPECT_EQ(a.world.m[row][column], b.world.m[row][column]);
        }
        EXPECT_EQ(b.world.m[3][0], a.world.m[3][0] - 10000.0f);
        EXPECT_EQ(b.world.m[3][1], a.world.m[3][1]);
        EXPECT_EQ(b.world.m[3][2], a.world.m[3][2] + 10000.0f);
    }
}

namespace {

// The shift that brings a point within 10 km of the origin, in whole 10 km steps.
float OriginShiftFor(float coordinate)
{
    float shift = 0.0f;
    while (coordinate + shift < -10000.0f)
        shift += 10000.0f;
    while (coordinate + shift > 10000.0f)
        shift -= 10000.0f;
    return shift;
}

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
// window, and nothing of the world far away.
TEST(Scene, WholeRouteDrawsOnlyWhatLiesWithinItsWindows)
{
    auto world = BuildTestWorld(1, 10, 3);
    ASSERT_GT(world->segmentCount, 40);
    const ModelLibrary& models = world->models;

    for (int segmentIndex : {1, 12, 25, 40, world->segmentCount}) {
        SCOPED_TRACE(segmentIndex);
        const TrackSegment& at = world->track[segmentIndex];
        PlacePlayer(*world, at.startX, at.startZ);
        const float px = at.startX;
        const float pz = at.startZ;
        const float shiftX = OriginShiftFor(px);
        const float shiftZ = OriginShiftFor(pz);

        RecordingDevice whole(world->textures);
        DrawScene(whole, *world, CameraWithShift(shiftX, shiftZ));

        RecordingDevice track(world->textures);
        RecordingDevice terrain(world->textures);
        RecordingDevice objects(world->textures);
        DrawTrackPass(MakeSceneFrame(track, *world, shiftX, shiftZ));
        DrawTerrainPass(MakeSceneFrame(terrain, *world, shiftX, shiftZ));
        DrawObjectsPass(MakeSceneFrame(objects, *world, shiftX, shiftZ));
        EXPECT_EQ(whole.draws.size(), track.draws.size() + terrain.draws.size() + objects.draws.size());

        // Track and signs: every segment with an end within 500 m, curves a quad per quarter
        // degree per band, every sign within 1000 m of its own position but the destination's.
        int expectedTrack = 0;
        int expectedSigns = 0;
        for (int i = 0; i < TrackCapacity; ++i) {
            const TrackSegment& s = world->track[i];
            if (s.type == SegmentNone)
                continue;
            if (FlatDistance(px, pz, s.startX, s.startZ) > 500.0 && FlatDistance(px, pz, s.endX, s.endZ) > 500.0)
                continue;
            if (s.type == SegmentStraight || s.type == SegmentTunnel)
                expectedTrack += 3;
            else if (s.type == SegmentCurveLeft || s.type == SegmentCurveRight)
                expectedTrack += 3 * static_cast<int>(std::ceil(std::fabs(s.endHeading - s.startHeading) / 0.0043633333));
            double signX = s.startX - 2.0 * std::cos(s.startHeading);
            double signZ = s.startZ + 2.0 * std::sin(s.startHeading);
            if (s.signPresent != 0 && s.forwardSign != SignDestination && FlatDistance(px, pz, signX, signZ) <= 1000.0)
                ++expectedSigns;
        }
        int signs = 0;
        for (const RecordedDraw& draw : track.draws) {
            bool isSign = draw.material.diffuse.red == 2.0f;
            signs += isSign ? 1 : 0;
            // A segment reaches at most its length beyond the end that brought it in.
            EXPECT_LE(FarthestVertex(draw, shiftX, shiftZ, px, pz), isSign ? 1006.0 : 1002.0);
        }
        EXPECT_EQ(signs, expectedSigns);
        EXPECT_EQ(static_cast<int>(track.draws.size()) - signs, expectedTrack);
        EXPECT_GT(expectedTrack, 0);

        // Ground: nothing beyond the strips within reach and the 1500 m the land spreads out.
        EXPECT_FALSE(terrain.draws.empty());
        for (const RecordedDraw& draw : terrain.draws)
            EXPECT_LE(FarthestVertex(draw, shiftX, shiftZ, px, pz), 3000.0 + 500.0 + 1500.0 + 1.0);

        // Objects: each model within its draw distance with all its parts, each tree within 1000 m.
        int expectedModelDraws = 0;
        int expectedTrees = 0;
        for (int i = 0; i <= SceneryLastSlot; ++i) {
            const SceneryObject& o = world->scenery[i];
            double d = FlatDistance(px, pz, o.x, o.z);
            if (o.type >= 1 && o.type <= 9999 && d <= models.models[o.type].drawDistance)
                expectedModelDraws += models.models[o.type].partCount;
            if (o.type == SceneryTree && d <= 1000.0)
                ++expectedTrees;
        }
        int trees = 0;
        for (const RecordedDraw& draw : objects.draws) {
            double d = FlatDistance(draw.world.m[3][0] - shiftX, draw.world.m[3][2] - shiftZ, px, pz);
            if (draw.texture == "tree1.bmp") {
                ++trees;
                EXPECT_LE(d, 1000.0 + 0.01);
            } else {
                EXPECT_LE(d, 10000.0 + 0.01);
            }
        }
        EXPECT_EQ(trees, expectedTrees);
        EXPECT_EQ(static_cast<int>(objects.draws.size()) - trees, expectedModelDraws);
        EXPECT_GT(expectedModelDraws, 0);
    }

    // Far off the line only the player's own railcar is in reach.
    PlacePlayer(*world, 1.0e6f, -1.0e6f);
    RecordingDevice far(world->textures);
    DrawScene(far, *world, CameraWithShift(-1.0e6f, 1.0e6f));
    ASSERT_EQ(static_cast<int>(far.draws.size()), models.models[SceneryRailcar].partCount);
    for (const RecordedDraw& draw : far.draws) {
        EXPECT_EQ(draw.world.m[3][0], 0.0f);
        EXPECT_EQ(draw.world.m[3][2], 0.0f);
    }
}
