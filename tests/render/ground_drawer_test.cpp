#include "render/render_local.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>

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
    // Each field of open land lies on its own side (along +z the left is towards -x), 1 m below
    // the track, and carries that side's relief.
    for (bool isLeft : {true, false}) {
        GroundFixture fixture;
        GroundStrip strip = StripAlong(StraightSegment(0.0f, 0.0f, 0.0f, 300.0f), isLeft ? 150 : 0, isLeft ? 0 : 150);
        std::tie(strip.leftRelief, strip.rightRelief) = std::pair(20.0f, -20.0f);
        const auto& v = fixture.Draw(strip).at(0).vertices;
        EXPECT_EQ(std::tuple(std::minmax({v[0].x, v[1].x, v[6].x, v[7].x}), v[0].y, v[2].y, v[5].y),
                  std::tuple(isLeft ? std::pair(-500.0f, 0.0f) : std::pair(0.0f, 500.0f), -1.0f, isLeft ? 19.0f : -21.0f, isLeft ? 19.0f : -21.0f));
    }
}

TEST(GroundDrawer, LakeBankStepsADegreeToItsFootAndTheLakeFillsTheSector)
{
    for (bool isLeft : {true, false}) {
        GroundFixture fixture;
        const GroundStrip strip = CurveStrip(isLeft, 0.3f, 100.0f, SideLakeBank, 0, 6.0f);
        const auto& draws = fixture.Draw(strip);
        ASSERT_EQ(draws.size(), 2u);
        EXPECT_EQ(std::tuple(draws[1].material.diffuse.red, draws[1].material.diffuse.green, draws[1].material.ambient.blue),
                  std::tuple(0.2f, 0.5f, 1.0f));
        const Centre centre = CentreOf(strip, isLeft);
        const double h0 = strip.startHeading, h1 = strip.endHeading;
        const double arcDegrees = std::fabs(h1 - h0) * 180.0 / 3.1416;
        const auto& v = draws[0].vertices;
        // Slots 0..3 start the bank; then a top (1 m outside the line) and a foot per degree.
        const int firstFoot = isLeft ? 1 : 0, firstTop = isLeft ? 2 : 3;
        EXPECT_NEAR(centre.RadiusOf(v[firstFoot]), 990.0 - 3.0 * fixture.Noise(firstFoot), 1e-3);
        EXPECT_NEAR(centre.RadiusOf(v[firstTop]), 1001.0, 1e-3);
        EXPECT_NEAR(centre.RadiusOf(v[isLeft ? 0 : 1]) + v[isLeft ? 0 : 1].y, 1001.0 + 3.0, 1e-3);
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
        // The cutting's bank is textured by the degree step as well.
        fixture.device.ClearRecord();
        for (const SceneVertex& w : fixture.Draw(CurveStrip(isLeft, 0.3f, 100.0f, SideCutting, 0)).at(1).vertices) {
            EXPECT_NEAR(w.tu * arcDegrees, std::round(w.tu * arcDegrees), 1e-3);
            EXPECT_LE(w.tu * arcDegrees, std::ceil(arcDegrees) + 1e-3);
        }
    }
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
    for (float heading : {0.0f, 1.0e6f}) {
        GroundFixture fixture;
        fixture.Draw(CurveStrip(true, heading, 20000.0f, SideLakeBank, SideCurveOuter));
        fixture.Draw(CurveStrip(false, heading, 20000.0f, SideCutting, SideCurveOuter));
        for (const RecordedDraw& draw : fixture.device.draws)
            EXPECT_LE(draw.vertices.size(), heading == 0.0f ? 1000u : 100u);
    }
}
