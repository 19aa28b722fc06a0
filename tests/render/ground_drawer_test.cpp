#include "render/render_local.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "scene_test_support.h"

namespace {

struct GroundFixture {
    std::unique_ptr<World> world = MakeTestWorld();
    RecordingDevice device{world->textures};

    const std::vector<RecordedDraw>& Draw(const GroundStrip& strip)
    {
        DrawGroundStrip(MakeSceneFrame(device, *world, 0.0f, 0.0f), strip);
        return device.draws;
    }
    float Noise(int slot) const { return world->groundNoise[slot]; }
};

// The centre of the curve the ground is shaped for, and radii and angles about it.
struct Centre {
    double x, z, turn;  // turn: +1 left curve, -1 right curve
    double RadiusOf(const SceneVertex& v) const { return FlatDistance(v.x, v.z, x, z); }
    double AngleOf(const SceneVertex& v) const { return std::atan2(-turn * (v.z - z), turn * (v.x - x)); }
};

Centre CentreOf(const GroundStrip& s, bool leftCurve)
{
    const double turn = leftCurve ? 1.0 : -1.0;
    return {s.startX - turn * 1000.0 * std::cos(s.startHeading), s.startZ + turn * 1000.0 * std::sin(s.startHeading), turn};
}

GroundStrip CurveStrip(bool leftCurve, float heading, float length, int32_t inside, int32_t outside, float height = 0.0f)
{
    TrackSegment curve = CurveSegment(leftCurve ? SegmentCurveLeft : SegmentCurveRight, 10.0f, -20.0f, heading, length);
    curve.startHeight = height;
    return StripAlong(curve, leftCurve ? inside : outside, leftCurve ? outside : inside);
}

// Kind, vertices/indexes and texture of each draw: "S18/18g" is a strip of grass, "L3/3-" a
// plain-coloured list.
std::string ShapesOf(const std::vector<RecordedDraw>& draws)
{
    std::string shapes;
    for (const RecordedDraw& d : draws) {
        shapes += std::string(" ") + "?LSF"[static_cast<int>(d.kind)] + std::to_string(d.vertices.size()) + "/" +
                  std::to_string(d.indexes.size()) + (d.texture == "gras.bmp" ? "g" : d.texture.empty() ? "-" : "?");
    }
    return shapes;
}

void ExpectColour(const RecordedDraw& draw, float red, float green, float blue)
{
    EXPECT_FLOAT_EQ(draw.material.diffuse.red, red);
    EXPECT_FLOAT_EQ(draw.material.diffuse.green, green);
    EXPECT_FLOAT_EQ(draw.material.ambient.blue, blue);
}

void ExpectFacesUp(const RecordedDraw& draw, int& checked)
{
    for (const DrawnTriangle& t : TrianglesOf(draw)) {
        if (IsEdgeOnFromAbove(t))
            continue;
        EXPECT_LT(SignedAreaFromAbove(t), 0.0) << "draw with " << draw.vertices.size() << " vertices";
        ++checked;
    }
}

}  // namespace

TEST(GroundDrawer, EachSideKindDrawsItsOwnGround)
{
    const TrackSegment straight = StraightSegment(0.0f, 0.0f, 0.4f, 300.0f);
    TrackSegment tunnel = straight;
    tunnel.type = SegmentTunnel;
    // A 100 m curve: six degree steps, the last one clamped.
    const struct {
        TrackSegment segment;
        int32_t leftSide, rightSide;
        const char* shapes;
    } cases[] = {
        {straight, 0, 0, ""},
        {straight, -1, -7, ""},
        {straight, SideFlatField, SideVillage, " L4/6g L4/6g"},
        {straight, 7, 32767, " L8/30g L8/30g"},
        {straight, 1000, SideFlatField, " L8/30g L4/6g"},
        {tunnel, SideTunnel, SideTunnel, " L4/6- L4/6- L4/6- L18/48- L36/90- L27/105g"},
        {straight, SideFlatField, SideTunnel, " L4/6g"},
        {CurveSegment(SegmentCurveLeft, 0.0f, 0.0f, 0.4f, 100.0f), SideLakeBank, SideCurveOuter, " S18/18g L3/3- F10/10g"},
        {CurveSegment(SegmentCurveLeft, 0.0f, 0.0f, 0.4f, 100.0f), SideCutting, SideCurveOuter,
         " S4/4g S15/15g S4/4g S18/18g F10/10g"},
        {CurveSegment(SegmentCurveRight, 0.0f, 0.0f, 0.4f, 100.0f), SideCurveOuter, SideLakeBank, " F10/10g S18/18g L3/3-"},
        {CurveSegment(SegmentCurveRight, 0.0f, 0.0f, 0.4f, 100.0f), SideCurveOuter, SideCutting,
         " F10/10g S4/4g S15/15g S4/4g S18/18g"},
    };
    for (const auto& c : cases) {
        GroundFixture fixture;
        EXPECT_EQ(ShapesOf(fixture.Draw(StripAlong(c.segment, c.leftSide, c.rightSide))), c.shapes);
    }
}

TEST(GroundDrawer, FlatFieldAndReliefReach500MetresOutOneMetreBelowTheTrack)
{
    for (bool isLeft : {true, false}) {
        GroundFixture fixture;
        TrackSegment segment = StraightSegment(100.0f, 200.0f, 0.0f, 300.0f);
        segment.startHeight = 4.0f;
        segment.endHeight = 10.0f;
        GroundStrip strip = StripAlong(segment, isLeft ? SideFlatField : 0, isLeft ? 0 : SideFlatField);
        strip.endHeading = 0.5f;  // the far edge at the end follows the end heading
        const RecordedDraw& draw = fixture.Draw(strip).at(0);
        EXPECT_EQ(draw.indexes, (std::vector<uint16_t>{0, 2, 3, 0, 3, 1}));
        const double side = isLeft ? 1.0 : -1.0, farX = 100.0 - side * 500.0 * std::cos(0.5);
        const double farZ = 500.0 + side * 500.0 * std::sin(0.5);
        const double expected[2][4][5] = {
            {{-400, 200, 3, 0, 1}, {100, 200, 3, 1, 1}, {farX, farZ, 9, 0, 0}, {100, 500, 9, 1, 0}},
            {{100, 200, 3, 0, 1}, {600, 200, 3, 1, 1}, {100, 500, 9, 0, 0}, {farX, farZ, 9, 1, 0}}};
        for (int i = 0; i < 4; ++i) {
            const double* e = expected[isLeft ? 0 : 1][i];
            const SceneVertex& v = draw.vertices[i];
            EXPECT_NEAR(v.x, e[0], 1e-3);
            EXPECT_NEAR(v.z, e[1], 1e-3);
            EXPECT_EQ(v.y * 100 + v.tu * 10 + v.tv, e[2] * 100 + e[3] * 10 + e[4]) << i;
        }
    }
    // Relief lifts the four inner points; the plateau's corners stand at 20 % and 80 % along the
    // field's diagonals: 100 m and 400 m out, 100 m and 400 m along.
    for (bool isLeft : {true, false}) {
        for (float relief : {0.0f, 20.0f, -15.0f}) {
            GroundFixture fixture;
            TrackSegment segment = StraightSegment(0.0f, 0.0f, 0.0f, 500.0f);
            segment.startHeight = segment.endHeight = 2.0f;
            GroundStrip strip = StripAlong(segment, isLeft ? 150 : 0, isLeft ? 0 : 150);
            (isLeft ? strip.leftRelief : strip.rightRelief) = relief;
            const auto& v = fixture.Draw(strip).at(0).vertices;
            const double side = isLeft ? -1.0 : 1.0, outX[4] = {400.0, 100.0, 400.0, 100.0};
            for (int i = 0; i < 8; ++i)
                EXPECT_FLOAT_EQ(v[i].y, i >= 2 && i < 6 ? 1.0f + relief : 1.0f) << i;
            for (int i = 2; i < 6; ++i) {
                EXPECT_NEAR(v[i].x, side * (isLeft ? outX[i - 2] : 500.0 - outX[i - 2]), 1e-3) << i;
                EXPECT_NEAR(v[i].z, i < 4 ? 100.0 : 400.0, 1e-3) << i;
            }
            int checked = 0;
            ExpectFacesUp(fixture.device.draws[0], checked);
            EXPECT_EQ(checked, 10);
        }
    }
}

TEST(GroundDrawer, LakeBankStepsADegreeToItsFootAndTheLakeFillsTheSector)
{
    for (bool isLeft : {true, false}) {
        GroundFixture fixture;
        const GroundStrip strip = CurveStrip(isLeft, 0.3f, 100.0f, SideLakeBank, 0, 6.0f);
        const auto& draws = fixture.Draw(strip);
        ASSERT_EQ(draws.size(), 2u);
        ExpectColour(draws[1], 0.2f, 0.5f, 1.0f);
        const Centre centre = CentreOf(strip, isLeft);
        const double h0 = strip.startHeading, h1 = strip.endHeading;
        const double arcDegrees = std::fabs(h1 - h0) * 180.0 / 3.1416;
        const auto& v = draws[0].vertices;
        // Slots 0..3 start the bank; then a top (1 m outside the line) and a foot per degree.
        const int firstFoot = isLeft ? 1 : 0, firstTop = isLeft ? 2 : 3;
        EXPECT_NEAR(centre.RadiusOf(v[firstFoot]), 990.0 - 3.0 * fixture.Noise(firstFoot), 1e-3);
        EXPECT_NEAR(centre.RadiusOf(v[firstTop]), 1001.0, 1e-3);
        EXPECT_FLOAT_EQ(v[firstTop].tu, static_cast<float>(1.0 / arcDegrees));
        for (int k = 2; k < 8; ++k) {
            const int top = 2 * k + (isLeft ? 0 : 1), foot = 2 * k + (isLeft ? 1 : 0);
            const double angle = k == 7 ? h1 : h0 - centre.turn * (k - 1) * 0.017453333;
            EXPECT_NEAR(centre.AngleOf(v[top]), angle, 1e-5) << k;
            EXPECT_NEAR(centre.AngleOf(v[foot]), angle, 1e-5) << k;
            EXPECT_NEAR(centre.RadiusOf(v[top]), 1001.0, 1e-3) << k;
            EXPECT_NEAR(centre.RadiusOf(v[foot]), (k == 7 ? 990.0 : 995.0) - 3.0 * fixture.Noise(foot), 1e-3) << k;
            EXPECT_EQ(v[top].y * 10 + v[foot].y, 53.0f) << k;
            EXPECT_NEAR(v[top].tu, k / arcDegrees, 1e-5) << k;
            EXPECT_EQ(v[foot].tv, 0.01f);
        }
        // The strip closes at the curve's centre, at track level and 3 m below.
        EXPECT_NEAR(centre.RadiusOf(v[isLeft ? 16 : 17]), 0.0, 1e-3);
        EXPECT_EQ(v[isLeft ? 16 : 17].y * 10 + v[isLeft ? 17 : 16].y, 63.0f);
        // The lake: the sector from the centre out to 1100 m, 2.5 m below the track.
        const auto& lake = draws[1].vertices;
        EXPECT_NEAR(centre.RadiusOf(lake[0]), 0.0, 1e-3);
        EXPECT_NEAR(centre.RadiusOf(lake[1]), 1100.0, 1e-3);
        EXPECT_NEAR(centre.AngleOf(lake[1]), isLeft ? h1 : h0, 1e-5);
        EXPECT_NEAR(centre.AngleOf(lake[2]), isLeft ? h0 : h1, 1e-5);
        EXPECT_EQ(lake[0].y + lake[1].y + lake[2].y, 10.5f);
    }
}

TEST(GroundDrawer, OuterFieldFansOutToFifteenHundredMetresAndTheEmbankmentTurnsPastTheEnd)
{
    for (bool isLeft : {true, false}) {
        GroundFixture fixture;
        const GroundStrip strip = CurveStrip(!isLeft, -1.0f, 100.0f, 0, SideCurveOuter, 3.0f);
        const auto& v = fixture.Draw(strip).at(0).vertices;
        const Centre centre = CentreOf(strip, !isLeft);
        const double h0 = strip.startHeading, h1 = strip.endHeading;
        const double high = std::max(h0, h1), low = std::min(h0, h1);
        const double radii[10] = {1500, 1500, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1500};
        for (int k = 0; k < 10; ++k) {
            const double angle = k == 0 ? (h0 + h1) / 2.0 : k < 3 ? high : k >= 8 ? low : high - (k - 2) * 0.017453333;
            EXPECT_NEAR(centre.RadiusOf(v[k]), radii[k], 1e-3) << k;
            EXPECT_NEAR(centre.AngleOf(v[k]), angle, 1e-5) << k;
            EXPECT_EQ(v[k].y, 2.0f);
        }
        EXPECT_EQ(v[3].tu * 100 + v[9].tu * 10 + v[9].tv, 11.0f);
    }
    // 500 m of curve is 28.6 degrees: 29 steps. The embankment's far edge starts a fifth of the
    // curve in, each crest point bumped by the noise of the slot before it inside a left curve,
    // its own inside a right one, and ends six tenths of the curve past the end.
    for (bool isLeft : {true, false}) {
        GroundFixture fixture;
        const GroundStrip strip = CurveStrip(isLeft, 0.0f, 500.0f, SideCutting, 0);
        const auto& draws = fixture.Draw(strip);
        ASSERT_EQ(draws.size(), 4u);
        const Centre centre = CentreOf(strip, isLeft);
        const auto& v = draws[3].vertices;
        ASSERT_EQ(v.size(), 4u + 2u * 29u + 2u);
        EXPECT_NEAR(centre.AngleOf(v[isLeft ? 3 : 2]), -centre.turn * 0.1, 1e-5);
        EXPECT_NEAR(centre.RadiusOf(v[isLeft ? 3 : 2]), isLeft ? 980.0 : 970.0, 1e-3);
        const double lastEdge = -centre.turn * (0.1 + 29 * 0.010472001);
        const size_t n = v.size();
        EXPECT_NEAR(centre.AngleOf(v[n - 1]), lastEdge, 1e-4);
        EXPECT_NEAR(centre.AngleOf(v[n - 2]), lastEdge, 1e-4);
        EXPECT_NEAR(centre.RadiusOf(v[n - (isLeft ? 2 : 1)]), 500.0, 1e-3);
        EXPECT_EQ(v[n - (isLeft ? 1 : 2)].y, 10.0f);
        for (int k = 0; k < 29; ++k) {
            const int crest = isLeft ? 5 + 2 * k : 4 + 2 * k;
            EXPECT_NEAR(centre.RadiusOf(v[crest]), 980.0 - 3.0 * fixture.Noise(isLeft ? crest - 1 : crest), 1e-3) << k;
            EXPECT_EQ(v[crest].y, 10.0f);
        }
    }
}

TEST(GroundDrawer, TunnelHasFloorWallsVaultPortalsAndAMountain)
{
    GroundFixture fixture;
    TrackSegment segment = StraightSegment(0.0f, 0.0f, 0.0f, 1000.0f);
    segment.type = SegmentTunnel;
    segment.startHeight = segment.endHeight = 7.0f;
    const auto& draws = fixture.Draw(StripAlong(segment, SideTunnel, SideTunnel));
    ASSERT_EQ(draws.size(), 6u);
    const float shades[5] = {0.4f, 0.1f, 0.1f, 0.1f, 0.3f};
    for (int i = 0; i < 5; ++i)
        ExpectColour(draws[i], shades[i], shades[i], shades[i]);
    // The floor, 10 m wide, 1 m below the track from end to end.
    for (const SceneVertex& v : draws[0].vertices)
        EXPECT_EQ(v.y * 10 + std::fabs(v.x), 65.0f);
    // Nine arches of the vault from the left wall to the right between the portals at 100 and
    // 900 m; the portals share the vault's slots.
    const auto& roof = draws[3].vertices;
    for (int q = 0; q < 9; ++q) {
        const double angle = 3.1416 - q * 0.3927;
        EXPECT_NEAR(roof[2 * q].x, 3.0 * std::cos(angle), 1e-4) << q;
        EXPECT_NEAR(roof[2 * q].y, 12.0 + 2.5 * std::sin(angle), 1e-4) << q;
        EXPECT_NEAR(roof[2 * q].z + roof[2 * q + 1].z, 1000.0, 1e-3);
        EXPECT_EQ(draws[4].vertices[2 * q].y, roof[2 * q].y);
    }
    // The ridge runs across the middle at 50..80 m, its two ends at -1 whatever the track's height.
    const auto& mountain = draws[5].vertices;
    for (int j = 0; j <= 10; ++j) {
        const SceneVertex& ridge = mountain[8 + j];
        EXPECT_NEAR(ridge.z, 500.0, 1e-3);
        EXPECT_NEAR(ridge.x, -(500.0 - 100.0 * j), 1e-3);
        EXPECT_FLOAT_EQ(ridge.y, j == 0 || j == 10 ? -1.0f : 50.0f + 30.0f * fixture.Noise(j));
        EXPECT_FLOAT_EQ(ridge.tv, 0.1f * j);
    }
    EXPECT_EQ(mountain[2].y + mountain[26].y, 12.0f);
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
            fixture.Draw(CurveStrip(true, heading, length, SideLakeBank, SideCurveOuter));
            fixture.Draw(CurveStrip(false, heading, length, SideLakeBank, SideCurveOuter));
            fixture.Draw(CurveStrip(true, heading, length, SideFlatField, SideFlatField));
        }
    }
    int checked = 0;
    for (const RecordedDraw& draw : fixture.device.draws) {
        // The tunnel's walls, vault and portals are seen from inside.
        if (!draw.texture.empty() || draw.material.diffuse.red == 0.4f || draw.material.diffuse.blue == 1.0f)
            ExpectFacesUp(draw, checked);
    }
    EXPECT_GT(checked, 1000);
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
                const GroundStrip strip = CurveStrip(isLeft, heading, length, SideCutting, 0);
                const auto& draws = fixture.Draw(strip);
                ASSERT_EQ(draws.size(), 4u);
                const Centre centre = CentreOf(strip, isLeft);
                for (int slope : {1, 3}) {
                    for (const DrawnTriangle& t : TrianglesOf(draws[slope])) {
                        bool onTheSlope = !IsEdgeOnFromAbove(t);
                        for (const SceneVertex* v : {&t.a, &t.b, &t.c})
                            onTheSlope = onTheSlope && std::fabs(centre.RadiusOf(*v) - 1000.0) < 35.0;
                        if (onTheSlope) {
                            EXPECT_LT(SignedAreaFromAbove(t), 0.0) << "draw " << slope << ", " << length << " m";
                            ++checked;
                        }
                    }
                }
            }
        }
    }
    EXPECT_GT(checked, 200);
}

TEST(GroundDrawer, ArcTooLongForTheVertexArrayOrOfHugeHeadingsIsCutShort)
{
    // 20 rad of curve, far more than any route holds: the pieces stop at the array's end. Headings
    // so large that a degree is lost in rounding must not loop for ever.
    GroundFixture fixture;
    for (float heading : {0.0f, 1.0e6f}) {
        fixture.Draw(CurveStrip(true, heading, 20000.0f, SideLakeBank, SideCurveOuter));
        fixture.Draw(CurveStrip(false, heading, 20000.0f, SideCutting, SideCurveOuter));
    }
    ASSERT_FALSE(fixture.device.draws.empty());
    for (const RecordedDraw& draw : fixture.device.draws)
        EXPECT_LE(draw.vertices.size(), 1000u);
}
