#include "render/render_local.h"

#include <gtest/gtest.h>

#include <cmath>

#include "scene_test_support.h"

namespace {

struct TrackFixture {
    std::unique_ptr<World> world = MakeTestWorld();
    RecordingDevice device{world->textures};

    SceneFrame Frame(float shiftX = 0.0f, float shiftZ = 0.0f) { return MakeSceneFrame(device, *world, shiftX, shiftZ); }
};

// The ballast bed, then the left and the right rail: offsets to the left of the line, height
// above it, grey shade.
const float Bands[3][4] = {{1.5f, -1.5f, 0.0f, 0.4f}, {0.8f, 0.7f, 0.1f, 0.3f}, {-0.7f, -0.8f, 0.1f, 0.3f}};

}  // namespace

TEST(TrackDrawer, StraightIsThreeFlatGreyBandsThatFollowTheGradient)
{
    TrackFixture fixture;
    TrackSegment segment = StraightSegment(10.0f, 20.0f, 0.3f, 100.0f);
    segment.startHeight = 2.0f;
    segment.endHeight = 5.0f;
    segment.endHeading = 1.0f;  // ignored: the start heading sets the offsets at both ends
    DrawStraightTrack(fixture.Frame(-10000.0f, 20000.0f), segment);
    ASSERT_EQ(fixture.device.draws.size(), 3u);
    for (int b = 0; b < 3; ++b) {
        const RecordedDraw& draw = fixture.device.draws[b];
        EXPECT_TRUE(draw.textureSet && draw.texture.empty() && draw.materialSet && draw.material.specular.red == 0.0f);
        EXPECT_FLOAT_EQ(draw.material.diffuse.green + draw.material.ambient.red, 2.0f * Bands[b][3]);
        EXPECT_TRUE(IsTranslation(draw.world, -10000.0f, 0.0f, 20000.0f));
        EXPECT_EQ(draw.indexes, (std::vector<uint16_t>{0, 1, 2, 0, 2, 3}));
        for (int i = 0; i < 4; ++i) {
            const bool atEnd = i == 1 || i == 2;
            const double offset = Bands[b][i < 2 ? 0 : 1];
            const SceneVertex& v = draw.vertices.at(i);
            EXPECT_NEAR(v.x, (atEnd ? segment.endX : segment.startX) - offset * std::cos(0.3), 1e-4);
            EXPECT_NEAR(v.z, (atEnd ? segment.endZ : segment.startZ) + offset * std::sin(0.3), 1e-4);
            EXPECT_FLOAT_EQ(v.y, (atEnd ? 5.0f : 2.0f) + Bands[b][2]);
            EXPECT_EQ(v.ny, 1.0f);
            // The picture runs along the band: tu across, tv along.
            EXPECT_EQ(v.tu * 10 + v.tv, (i < 2 ? 0 : 10) + (atEnd ? 1 : 0)) << b << " " << i;
        }
    }
}

// Every band is wound clockwise from above, the side it is seen from; a curve without a turn,
// or of headings so large that a quarter degree is lost in rounding, ends.
TEST(TrackDrawer, EveryTriangleFacesUpAndDegenerateCurvesEnd)
{
    TrackFixture fixture;
    for (float heading : {0.0f, 0.9f, 2.5f, -2.0f, 7.0f}) {
        DrawStraightTrack(fixture.Frame(), StraightSegment(5.0f, 5.0f, heading, 300.0f));
        DrawLeftCurveTrack(fixture.Frame(), CurveSegment(SegmentCurveLeft, 5.0f, 5.0f, heading, 500.0f));
        DrawRightCurveTrack(fixture.Frame(), CurveSegment(SegmentCurveRight, 5.0f, 5.0f, heading, 62.83f));
    }
    int triangles = 0;
    for (const RecordedDraw& draw : fixture.device.draws) {
        for (const DrawnTriangle& triangle : TrianglesOf(draw)) {
            EXPECT_LT(SignedAreaFromAbove(triangle), 0.0) << "a track triangle is wound to face down";
            ++triangles;
        }
    }
    EXPECT_EQ(triangles, 2 * static_cast<int>(fixture.device.draws.size()));
    EXPECT_GT(triangles, 1000);

    fixture.device.ClearRecord();
    TrackSegment segment = CurveSegment(SegmentCurveLeft, 0.0f, 0.0f, 0.5f, 100.0f);
    segment.endHeading = segment.startHeading;
    DrawLeftCurveTrack(fixture.Frame(), segment);
    DrawRightCurveTrack(fixture.Frame(), segment);
    EXPECT_EQ(fixture.device.draws.size(), 0u);
    segment.startHeading = 1.0e6f;
    segment.endHeading = 1.0e6f + 1.0f;
    DrawRightCurveTrack(fixture.Frame(), segment);
    EXPECT_LT(fixture.device.draws.size(), 3u * 1000u);
}
