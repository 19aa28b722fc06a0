#include "render/render_local.h"

#include <gtest/gtest.h>

#include <cmath>

#include "scene_test_support.h"

namespace {

struct GroundFixture {
    std::unique_ptr<World> world = MakeTestWorld();
    RecordingDevice device{world->textures};

    void Draw(const GroundStrip& strip) { DrawGroundStrip(MakeSceneFrame(device, *world, 0.0f, 0.0f), strip); }

    float Noise(int slot) const { return world->groundNoise[slot]; }
};

// The centre of the curve the ground is shaped for, and angles and radii about it.
struct Centre {
    double x, z;
    double turn;  // +1 left curve, -1 right curve

    double RadiusOf(const SceneVertex& v) const { return FlatDistance(v.x, v.z, x, z); }
    double AngleOf(const SceneVertex& v) const { return std::atan2(-turn * (v.z - z), turn * (v.x - x)); }
};

Centre LeftCurveCentre(const GroundStrip& s)
{
    return {s.startX - 1000.0 * std::cos(s.startHeading), s.startZ + 1000.0 * std::sin(s.startHeading), 1.0};
}

Centre RightCurveCentre(const GroundStrip& s)
{
    return {s.startX + 1000.0 * std::cos(s.startHeading), s.startZ - 1000.0 * std::sin(s.startHeading), -1.0};
}

struct DrawShape {
    PrimitiveKind kind;
    size_t vertexCount;
    size_t indexCount;
};

std::vector<DrawShape> ShapesOf(const RecordingDevice& device)
{
    std::vector<DrawShape> shapes;
    for (const RecordedDraw& draw : device.draws)
        shapes.push_back({draw.kind, draw.vertices.size(), draw.indexes.size()});
    return shapes;
}

void ExpectWhiteGrass(const RecordedDraw& draw)
{
    EXPECT_EQ(draw.texture, "gras.bmp");
    EXPECT_EQ(draw.material.diffuse.red, 1.0f);
    EXPECT_EQ(draw.material.ambient.green, 1.0f);
    EXPECT_EQ(draw.material.specular.red, 0.0f);
}

void ExpectPlainColour(const RecordedDraw& draw, float red, float green, float blue)
{
    EXPECT_EQ(draw.texture, "");
    EXPECT_FLOAT_EQ(draw.material.diffuse.red, red);
    EXPECT_FLOAT_EQ(draw.material.diffuse.green, green);
    EXPECT_FLOAT_EQ(draw.material.diffuse.blue, blue);
    EXPECT_FLOAT_EQ(draw.material.ambient.red, red);
}

constexpr PrimitiveKind List = PrimitiveKind::TriangleList;
constexpr PrimitiveKind Strip = PrimitiveKind::TriangleStrip;
constexpr PrimitiveKind Fan = PrimitiveKind::TriangleFan;

bool SameShapes(const std::vector<DrawShape>& a, const std::vector<DrawShape>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].kind != b[i].kind || a[i].vertexCount != b[i].vertexCount || a[i].indexCount != b[i].indexCount)
            return false;
    }
    return true;
}

}  // namespace

TEST(GroundDrawer, EachSideKindDrawsItsOwnGround)
{
    const TrackSegment straight = StraightSegment(0.0f, 0.0f, 0.4f, 300.0f);
    TrackSegment tunnel = straight;
    tunnel.type = SegmentTunnel;
    // A 100 m curve: six degree steps, the last one clamped.
    const TrackSegment left = CurveSegment(SegmentCurveLeft, 0.0f, 0.0f, 0.4f, 100.0f);
    const TrackSegment right = CurveSegment(SegmentCurveRight, 0.0f, 0.0f, 0.4f, 100.0f);
    const DrawShape flat = {List, 4, 6};
    const DrawShape relief = {List, 8, 30};
    const DrawShape bank = {Strip, 18, 18};
    const DrawShape lake = {List, 3, 3};
    const DrawShape outer = {Fan, 10, 10};
    const DrawShape wall = {Strip, 4, 4};
    const DrawShape cuttingBank = {Strip, 15, 15};
    const DrawShape embankment = {Strip, 18, 18};

    struct Case {
        const char* name;
        TrackSegment segment;
        int32_t leftSide, rightSide;
        std::vector<DrawShape> shapes;
    };
    const Case cases[] = {
        {"nothing on either side", straight, 0, 0, {}},
        {"negative kinds draw nothing", straight, -1, -7, {}},
        {"flat fields and village land", straight, SideFlatField, SideVillage, {flat, flat}},
        {"open land just above 6 and far above", straight, 7, 32767, {relief, relief}},
        {"a layout's open land beside a field", straight, 1000, SideFlatField, {relief, flat}},
        {"a tunnel covers both sides from its left", tunnel, SideTunnel, SideTunnel,
         {{List, 4, 6}, {List, 4, 6}, {List, 4, 6}, {List, 18, 48}, {List, 36, 90}, {List, 27, 105}}},
        {"a tunnel kind on the right draws nothing", straight, SideFlatField, SideTunnel, {flat}},
        {"a lake inside a left curve", left, SideLakeBank, SideCurveOuter, {bank, lake, outer}},
        {"a cutting inside a left curve", left, SideCutting, SideCurveOuter,
         {wall, cuttingBank, wall, embankment, outer}},
        {"a lake inside a right curve", right, SideCurveOuter, SideLakeBank, {outer, bank, lake}},
        {"a cutting inside a right curve", right, SideCurveOuter, SideCutting,
         {outer, wall, cuttingBank, wall, embankment}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GroundFixture fixture;
        fixture.Draw(StripAlong(c.segment, c.leftSide, c.rightSide));
        EXPECT_TRUE(SameShapes(ShapesOf(fixture.device), c.shapes)) << fixture.device.draws.size() << " draws";
    }
}

TEST(GroundDrawer, FlatFieldReaches500MetresOutOneMetreBelowTheTrack)
{
    for (bool isLeft : {true, false}) {
        SCOPED_TRACE(isLeft ? "left" : "right");
        GroundFixture fixture;
        TrackSegment segment = StraightSegment(100.0f, 200.0f, 0.0f, 300.0f);
        segment.startHeight = 4.0f;
        segment.endHeight = 10.0f;
        GroundStrip strip = StripAlong(segment, isLeft ? SideFlatField : 0, isLeft ? 0 : SideFlatField);
        // The far edge at the end follows the end heading.
        strip.endHeading = 0.5f;
        fixture.Draw(strip);

        ASSERT_EQ(fixture.device.draws.size(), 1u);
        const RecordedDraw& draw = fixture.device.draws[0];
        ExpectWhiteGrass(draw);
        EXPECT_EQ(draw.indexes, (std::vector<uint16_t>{0, 2, 3, 0, 3, 1}));
        const double side = isLeft ? 1.0 : -1.0;
        const double farEndX = 100.0 - side * 500.0 * std::cos(0.5);
        const double farEndZ = 500.0 + side * 500.0 * std::sin(0.5);
        struct Expected {
            double x, z;
            float y, tu, tv;
        };
        const Expected left[4] = {{-400.0, 200.0, 3.0f, 0, 1}, {100.0, 200.0, 3.0f, 1, 1},
                                  {farEndX, farEndZ, 9.0f, 0, 0}, {100.0, 500.0, 9.0f, 1, 0}};
        const Expected right[4] = {{100.0, 200.0, 3.0f, 0, 1}, {600.0, 200.0, 3.0f, 1, 1},
                                   {100.0, 500.0, 9.0f, 0, 0}, {farEndX, farEndZ, 9.0f, 1, 0}};
        const Expected* expected = isLeft ? left : right;
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(i);
            EXPECT_NEAR(draw.vertices[i].x, expected[i].x, 1e-3);
            EXPECT_NEAR(draw.vertices[i].z, expected[i].z, 1e-3);
            EXPECT_EQ(draw.vertices[i].y, expected[i].y);
            EXPECT_EQ(draw.vertices[i].tu, expected[i].tu);
            EXPECT_EQ(draw.vertices[i].tv, expected[i].tv);
        }
    }
}

TEST(GroundDrawer, ReliefRaisesTheFourInnerPointsAndZeroLeavesTenFlatTriangles)
{
    for (bool isLeft : {true, false}) {
        for (float relief : {0.0f, 20.0f, -15.0f}) {
            SCOPED_TRACE(relief);
            GroundFixture fixture;
            TrackSegment segment = StraightSegment(0.0f, 0.0f, 0.0f, 500.0f);
            segment.startHeight = 2.0f;
            segment.endHeight = 2.0f;
            GroundStrip strip = StripAlong(segment, isLeft ? 150 : 0, isLeft ? 0 : 150);
            (isLeft ? strip.leftRelief : strip.rightRelief) = relief;
            fixture.Draw(strip);

            ASSERT_EQ(fixture.device.draws.size(), 1u);
            const RecordedDraw& draw = fixture.device.draws[0];
            ExpectWhiteGrass(draw);
            const auto triangles = TrianglesOf(draw);
            ASSERT_EQ(triangles.size(), 10u);
            const auto& v = draw.vertices;
            for (int i : {0, 1, 6, 7})
                EXPECT_EQ(v[i].y, 1.0f);
            for (int i : {2, 3, 4, 5})
                EXPECT_FLOAT_EQ(v[i].y, 1.0f + relief);
            // The plateau's corners stand at 20 % and 80 % along the field's diagonals: 100 m
            // and 400 m out, 100 m and 400 m along.
            const double side = isLeft ? -1.0 : 1.0;
            const double outX[6] = {0, 0, isLeft ? 400.0 : 100.0, isLeft ? 100.0 : 400.0,
                                    isLeft ? 400.0 : 100.0, isLeft ? 100.0 : 400.0};
            const double alongZ[6] = {0, 0, 100.0, 100.0, 400.0, 400.0};
            for (int i = 2; i < 6; ++i) {
                EXPECT_NEAR(v[i].x, side * outX[i], 1e-3) << i;
                EXPECT_NEAR(v[i].z, alongZ[i], 1e-3) << i;
            }
            for (const DrawnTriangle& t : triangles)
                EXPECT_LT(SignedAreaFromAbove(t), 0.0);
        }
    }
}

TEST(GroundDrawer, BankOfAHundredMetreCurveHasSixStepsWithTheLastAtItsFoot)
{
    for (bool isLeft : {true, false}) {
        SCOPED_TRACE(isLeft ? "inside a left curve" : "inside a right curve");
        GroundFixture fixture;
        TrackSegment segment = CurveSegment(isLeft ? SegmentCurveLeft : SegmentCurveRight, 50.0f, 80.0f, 0.3f, 100.0f);
        segment.startHeight = 6.0f;
        GroundStrip strip = StripAlong(segment, isLeft ? SideLakeBank : 0, isLeft ? 0 : SideLakeBank);
        fixture.Draw(strip);
        ASSERT_EQ(fixture.device.draws.size(), 2u);
        const RecordedDraw& bank = fixture.device.draws[0];
        const RecordedDraw& lake = fixture.device.draws[1];
        ExpectWhiteGrass(bank);
        ExpectPlainColour(lake, 0.2f, 0.5f, 1.0f);

        // 4 at the start, 6 pairs along the arc, 2 at the centre.
        ASSERT_EQ(bank.vertices.size(), 4u + 2u * 6u + 2u);
        const Centre centre = isLeft ? LeftCurveCentre(strip) : RightCurveCentre(strip);
        const double h0 = strip.startHeading;
        const double h1 = strip.endHeading;
        const double arcDegrees = std::fabs(h1 - h0) * 180.0 / 3.1416;
        const auto& v = bank.vertices;
        // Slots of the foot (3 m down) and of the top (1 m outside the centre line, 1 m down).
        const int firstFoot = isLeft ? 1 : 0;
        const int firstTop = isLeft ? 2 : 3;
        EXPECT_NEAR(centre.RadiusOf(v[firstFoot]), 990.0 - 3.0 * fixture.Noise(firstFoot), 1e-3);
        EXPECT_NEAR(centre.RadiusOf(v[firstFoot + 2]), 990.0 - 3.0 * fixture.Noise(firstFoot + 2), 1e-3);
        EXPECT_NEAR(centre.RadiusOf(v[firstTop]), 1001.0, 1e-3);
        EXPECT_EQ(v[firstTop].y, 5.0f);
        EXPECT_FLOAT_EQ(v[firstTop].tu, static_cast<float>(1.0 / arcDegrees));
        for (int k = 2; k < 8; ++k) {
            SCOPED_TRACE(k);
            int pair = 4 + 2 * (k - 2);
            int top = isLeft ? pair : pair + 1;
            int foot = isLeft ? pair + 1 : pair;
            bool last = k == 7;
            double angle = last ? h1 : h0 - centre.turn * (k - 1) * 0.017453333;
            EXPECT_NEAR(centre.AngleOf(v[top]), angle, 1e-5);
            EXPECT_NEAR(centre.AngleOf(v[foot]), angle, 1e-5);
            EXPECT_NEAR(centre.RadiusOf(v[top]), 1001.0, 1e-3);
            EXPECT_NEAR(centre.RadiusOf(v[foot]), (last ? 990.0 : 995.0) - 3.0 * fixture.Noise(foot), 1e-3);
            EXPECT_EQ(v[top].y, 5.0f);
            EXPECT_EQ(v[foot].y, 3.0f);
            EXPECT_NEAR(v[top].tu, k / arcDegrees, 1e-5);
            EXPECT_EQ(v[top].tv, 0.0f);
            EXPECT_EQ(v[foot].tv, 0.01f);
        }
        // The strip closes at the curve's centre, at track level and 3 m below.
        const SceneVertex& upper = isLeft ? v[16] : v[17];
        const SceneVertex& lower = isLeft ? v[17] : v[16];
        EXPECT_NEAR(upper.x, centre.x, 1e-3);
        EXPECT_NEAR(upper.z, centre.z, 1e-3);
        EXPECT_EQ(upper.y, 6.0f);
        EXPECT_EQ(lower.y, 3.0f);

        // The lake: the sector from the centre out to 1100 m, 2.5 m below the track.
        ASSERT_EQ(lake.vertices.size(), 3u);
        EXPECT_NEAR(lake.vertices[0].x, centre.x, 1e-3);
        for (const SceneVertex& w : lake.vertices)
            EXPECT_EQ(w.y, 3.5f);
        EXPECT_NEAR(centre.RadiusOf(lake.vertices[1]), 1100.0, 1e-3);
        EXPECT_NEAR(centre.AngleOf(lake.vertices[1]), isLeft ? h1 : h0, 1e-5);
        EXPECT_NEAR(centre.AngleOf(lake.vertices[2]), isLeft ? h0 : h1, 1e-5);
    }
}

TEST(GroundDrawer, OuterFieldIsAFanOutToFifteenHundredMetres)
{
    for (bool isLeft : {true, false}) {
        SCOPED_TRACE(isLeft ? "outside a right curve" : "outside a left curve");
        GroundFixture fixture;
        TrackSegment segment = CurveSegment(isLeft ? SegmentCurveRight : SegmentCurveLeft, -20.0f, 5.0f, -1.0f, 100.0f);
        segment.startHeight = 3.0f;
        GroundStrip strip = StripAlong(segment, isLeft ? SideCurveOuter : 0, isLeft ? 0 : SideCurveOuter);
        fixture.Draw(strip);
        ASSERT_EQ(fixture.device.draws.size(), 1u);
        const RecordedDraw& fan = fixture.device.draws[0];
        ExpectWhiteGrass(fan);
        ASSERT_EQ(fan.vertices.size(), 3u + 6u + 1u);

        const Centre centre = isLeft ? RightCurveCentre(strip) : LeftCurveCentre(strip);
        const double h0 = strip.startHeading;
        const double h1 = strip.endHeading;
        const double high = std::max(h0, h1);
        const double low = std::min(h0, h1);
        const auto& v = fan.vertices;
        EXPECT_NEAR(centre.RadiusOf(v[0]), 1500.0, 1e-3);
        EXPECT_NEAR(centre.AngleOf(v[0]), (h0 + h1) / 2.0, 1e-5);
        EXPECT_NEAR(centre.RadiusOf(v[1]), 1500.0, 1e-3);
        EXPECT_NEAR(centre.AngleOf(v[1]), high, 1e-5);
        EXPECT_NEAR(centre.RadiusOf(v[2]), 1000.0, 1e-3);
        EXPECT_NEAR(centre.AngleOf(v[2]), high, 1e-5);
        for (int k = 0; k < 6; ++k) {
            const SceneVertex& point = v[3 + k];
            EXPECT_NEAR(centre.RadiusOf(point), 1000.0, 1e-3);
            EXPECT_NEAR(centre.AngleOf(point), k == 5 ? low : high - (k + 1) * 0.017453333, 1e-5);
        }
        EXPECT_NEAR(centre.RadiusOf(v[9]), 1500.0, 1e-3);
        EXPECT_NEAR(centre.AngleOf(v[9]), low, 1e-5);
        for (const SceneVertex& point : v)
            EXPECT_EQ(point.y, 2.0f);
        EXPECT_EQ(v[3].tu, 0.0f);
        EXPECT_EQ(v[9].tu, 1.0f);
        EXPECT_EQ(v[9].tv, 1.0f);
    }
}

TEST(GroundDrawer, EmbankmentEdgeTurnsSixTenthsOfTheCurvePastItsEnd)
{
    for (bool isLeft : {true, false}) {
        SCOPED_TRACE(isLeft ? "inside a left curve" : "inside a right curve");
        GroundFixture fixture;
        TrackSegment segment = CurveSegment(isLeft ? SegmentCurveLeft : SegmentCurveRight, 0.0f, 0.0f, 0.0f, 500.0f);
        GroundStrip strip = StripAlong(segment, isLeft ? SideCutting : 0, isLeft ? 0 : SideCutting);
        fixture.Draw(strip);
        ASSERT_EQ(fixture.device.draws.size(), 4u);
        for (const RecordedDraw& draw : fixture.device.draws) {
            ExpectWhiteGrass(draw);
            EXPECT_EQ(draw.kind, PrimitiveKind::TriangleStrip);
        }
        // 500 m of curve is 28.6 degrees: 29 steps.
        const RecordedDraw& cuttingBank = fixture.device.draws[1];
        const RecordedDraw& embankment = fixture.device.draws[3];
        ASSERT_EQ(cuttingBank.vertices.size(), 3u + 2u * 29u);
        ASSERT_EQ(embankment.vertices.size(), 4u + 2u * 29u + 2u);

        const Centre centre = isLeft ? LeftCurveCentre(strip) : RightCurveCentre(strip);
        const double turn = centre.turn;
        const double span = 0.5;
        const auto& v = embankment.vertices;
        // The far edge starts a fifth of the curve in and is never held at the curve's end.
        const SceneVertex& firstCrest = isLeft ? v[3] : v[2];
        EXPECT_NEAR(centre.AngleOf(firstCrest), -turn * 0.2 * span, 1e-5);
        EXPECT_NEAR(centre.RadiusOf(firstCrest), isLeft ? 980.0 : 970.0, 1e-3);
        const double lastEdge = -turn * (0.2 * span + 29 * 0.010472001);
        const size_t n = v.size();
        EXPECT_NEAR(centre.AngleOf(v[n - 1]), lastEdge, 1e-4);
        EXPECT_NEAR(centre.AngleOf(v[n - 2]), lastEdge, 1e-4);
        EXPECT_NEAR(centre.RadiusOf(v[n - (isLeft ? 2 : 1)]), 500.0, 1e-3);
        EXPECT_EQ(v[n - (isLeft ? 1 : 2)].y, 10.0f);
        // Each crest point is bumped by the noise of a neighbouring slot: the one before it
        // inside a left curve, its own inside a right one.
        for (int k = 0; k < 29; ++k) {
            int crest = isLeft ? 5 + 2 * k : 4 + 2 * k;
            int noiseSlot = isLeft ? crest - 1 : crest;
            EXPECT_NEAR(centre.RadiusOf(v[crest]), 980.0 - 3.0 * fixture.Noise(noiseSlot), 1e-3) << k;
            EXPECT_EQ(v[crest].y, 10.0f);
        }
    }
}

TEST(GroundDrawer, TunnelHasFloorWallsVaultPortalsAndAMountain)
{
    GroundFixture fixture;
    TrackSegment segment = StraightSegment(0.0f, 0.0f, 0.0f, 1000.0f);
    segment.type = SegmentTunnel;
    segment.startHeight = 7.0f;
    segment.endHeight = 7.0f;
    fixture.Draw(StripAlong(segment, SideTunnel, SideTunnel));
    const auto& draws = fixture.device.draws;
    ASSERT_EQ(draws.size(), 6u);
    ExpectPlainColour(draws[0], 0.4f, 0.4f, 0.4f);
    for (int wallOrRoof : {1, 2, 3})
        ExpectPlainColour(draws[wallOrRoof], 0.1f, 0.1f, 0.1f);
    ExpectPlainColour(draws[4], 0.3f, 0.3f, 0.3f);
    ExpectWhiteGrass(draws[5]);

    // The floor, 10 m wide, 1 m below the track from end to end.
    for (const SceneVertex& v : draws[0].vertices) {
        EXPECT_EQ(v.y, 6.0f);
        EXPECT_EQ(std::fabs(v.x), 5.0f);
    }

    // Nine arches of the vault from the left wall to the right, between the portals at 100 m
    // and 900 m.
    const auto& roof = draws[3].vertices;
    ASSERT_EQ(roof.size(), 18u);
    for (int q = 0; q < 9; ++q) {
        double angle = 3.1416 - q * 0.3927;
        EXPECT_NEAR(roof[2 * q].x, 3.0 * std::cos(angle), 1e-4) << q;
        EXPECT_NEAR(roof[2 * q].y, 7.0 + 5.0 + 2.5 * std::sin(angle), 1e-4) << q;
        EXPECT_NEAR(roof[2 * q].z, 100.0, 1e-3);
        EXPECT_NEAR(roof[2 * q + 1].z, 900.0, 1e-3);
    }
    // The portals share the vault's slots.
    for (int i = 0; i < 18; ++i) {
        EXPECT_EQ(draws[4].vertices[i].x, roof[i].x);
        EXPECT_EQ(draws[4].vertices[i].y, roof[i].y);
    }

    // The ridge runs across the middle at 50..80 m, its two ends at -1 whatever the track's
    // height.
    const auto& mountain = draws[5].vertices;
    ASSERT_EQ(mountain.size(), 27u);
    for (int j = 0; j <= 10; ++j) {
        const SceneVertex& ridge = mountain[8 + j];
        EXPECT_NEAR(ridge.z, 500.0, 1e-3);
        EXPECT_NEAR(ridge.x, -(500.0 - 100.0 * j), 1e-3);
        if (j == 0 || j == 10)
            EXPECT_EQ(ridge.y, -1.0f);
        else
            EXPECT_FLOAT_EQ(ridge.y, 50.0f + 30.0f * fixture.Noise(j));
        EXPECT_FLOAT_EQ(ridge.tv, 0.1f * j);
    }
    EXPECT_EQ(mountain[2].y, 6.0f);
    EXPECT_EQ(mountain[26].y, 6.0f);
}

// Everything that lies on the land is wound clockwise from above, the side it is seen from.
TEST(GroundDrawer, LandFacesUp)
{
    GroundFixture fixture;
    for (float heading : {0.0f, 1.2f, -2.8f, 9.0f}) {
        const TrackSegment straight = StraightSegment(10.0f, -20.0f, heading, 400.0f);
        fixture.Draw(StripAlong(straight, SideFlatField, SideVillage));
        GroundStrip relief = StripAlong(straight, 200, 300);
        relief.leftRelief = 20.0f;
        relief.rightRelief = -10.0f;
        fixture.Draw(relief);
        TrackSegment tunnel = straight;
        tunnel.type = SegmentTunnel;
        fixture.Draw(StripAlong(tunnel, SideTunnel, SideTunnel));
        for (float length : {62.83f, 100.0f, 500.0f}) {
            const TrackSegment left = CurveSegment(SegmentCurveLeft, 10.0f, -20.0f, heading, length);
            const TrackSegment right = CurveSegment(SegmentCurveRight, 10.0f, -20.0f, heading, length);
            fixture.Draw(StripAlong(left, SideLakeBank, SideCurveOuter));
            fixture.Draw(StripAlong(right, SideCurveOuter, SideLakeBank));
            fixture.Draw(StripAlong(left, SideFlatField, SideFlatField));
        }
    }
    int checked = 0;
    for (const RecordedDraw& draw : fixture.device.draws) {
        // The tunnel's walls, vault and portals are seen from inside.
        const bool isTunnelInside = draw.texture.empty() && draw.material.diffuse.red != 0.4f &&
                                    draw.material.diffuse.blue != 1.0f;
        if (isTunnelInside)
            continue;
        for (const DrawnTriangle& t : TrianglesOf(draw)) {
            if (IsEdgeOnFromAbove(t))
                continue;
            EXPECT_LT(SignedAreaFromAbove(t), 0.0) << "draw with " << draw.vertices.size() << " vertices";
            ++checked;
        }
    }
    EXPECT_GT(checked, 1000);
}

TEST(GroundDrawer, ArcTooLongForTheVertexArrayIsCutShort)
{
    // 20 rad of curve, far more than any route holds: the pieces stop at the array's end.
    GroundFixture fixture;
    for (int32_t type : {SegmentCurveLeft, SegmentCurveRight}) {
        const TrackSegment curve = CurveSegment(type, 0.0f, 0.0f, 0.0f, 20000.0f);
        fixture.Draw(StripAlong(curve, type == SegmentCurveLeft ? SideLakeBank : SideCurveOuter,
                                type == SegmentCurveLeft ? SideCurveOuter : SideCutting));
    }
    ASSERT_FALSE(fixture.device.draws.empty());
    for (const RecordedDraw& draw : fixture.device.draws)
        EXPECT_LE(draw.vertices.size(), 1000u);
}

// The cutting's bank and the embankment's slope face the track and the sky; only the caps at
// the embankment's ends and the walls stand edge-on or turned away.
TEST(GroundDrawer, CuttingBankAndEmbankmentSlopesFaceUp)
{
    int checked = 0;
    for (float heading : {0.0f, 1.2f, -2.8f}) {
        for (float length : {62.83f, 100.0f, 200.0f}) {
            for (bool isLeft : {true, false}) {
                GroundFixture fixture;
                const TrackSegment curve =
                    CurveSegment(isLeft ? SegmentCurveLeft : SegmentCurveRight, 10.0f, -20.0f, heading, length);
                const GroundStrip strip = StripAlong(curve, isLeft ? SideCutting : 0, isLeft ? 0 : SideCutting);
                fixture.Draw(strip);
                ASSERT_EQ(fixture.device.draws.size(), 4u);
                const Centre centre = isLeft ? LeftCurveCentre(strip) : RightCurveCentre(strip);
                for (int slope : {1, 3}) {
                    for (const DrawnTriangle& t : TrianglesOf(fixture.device.draws[slope])) {
                        bool onTheSlope = true;
                        for (const SceneVertex* v : {&t.a, &t.b, &t.c})
                            onTheSlope = onTheSlope && std::fabs(centre.RadiusOf(*v) - 1000.0) < 35.0;
                        if (!onTheSlope || IsEdgeOnFromAbove(t))
                            continue;
                        EXPECT_LT(SignedAreaFromAbove(t), 0.0) << "draw " << slope << ", " << length << " m";
                        ++checked;
                    }
                }
            }
        }
    }
    EXPECT_GT(checked, 200);
}
