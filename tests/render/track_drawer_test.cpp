#include "render/render_local.h"

#include <gtest/gtest.h>

#include <cmath>

#include "scene_test_support.h"

namespace {

struct TrackFixture {
    std::unique_ptr<World> world = MakeTestWorld();
    RecordingDevice device{world->textures};

    SceneFrame Frame(float originShiftX = 0.0f, float originShiftZ = 0.0f)
    {
        return MakeSceneFrame(device, *world, originShiftX, originShiftZ);
    }
};

void ExpectGreyMaterial(const RecordedDraw& draw, float shade)
{
    ASSERT_TRUE(draw.materialSet);
    EXPECT_FLOAT_EQ(draw.material.diffuse.red, shade);
    EXPECT_FLOAT_EQ(draw.material.diffuse.green, shade);
    EXPECT_FLOAT_EQ(draw.material.diffuse.blue, shade);
    EXPECT_FLOAT_EQ(draw.material.ambient.red, shade);
    EXPECT_FLOAT_EQ(draw.material.diffuse.alpha, 1.0f);
    EXPECT_FLOAT_EQ(draw.material.specular.red, 0.0f);
    EXPECT_FLOAT_EQ(draw.material.emissive.red, 0.0f);
}

double DistanceTo(const SceneVertex& v, double x, double z)
{
    return FlatDistance(v.x, v.z, x, z);
}

}  // namespace

TEST(TrackDrawer, StraightIsThreeFlatBandsThatFollowTheGradient)
{
    TrackFixture fixture;
    TrackSegment segment = StraightSegment(10.0f, 20.0f, 0.3f, 100.0f);
    segment.startHeight = 2.0f;
    segment.endHeight = 5.0f;
    // The end heading is ignored: the start heading sets the band offsets at both ends.
    segment.endHeading = 1.0f;
    DrawStraightTrack(fixture.Frame(-10000.0f, 20000.0f), segment);

    ASSERT_EQ(fixture.device.draws.size(), 3u);
    const double leftX = -std::cos(0.3), leftZ = std::sin(0.3);
    struct Band {
        float first, second, height, shade;
    };
    const Band bands[3] = {{1.5f, -1.5f, 0.0f, 0.4f}, {0.8f, 0.7f, 0.1f, 0.3f}, {-0.7f, -0.8f, 0.1f, 0.3f}};
    for (int b = 0; b < 3; ++b) {
        SCOPED_TRACE(b);
        const RecordedDraw& draw = fixture.device.draws[b];
        EXPECT_EQ(draw.kind, PrimitiveKind::TriangleList);
        EXPECT_TRUE(draw.textureSet);
        EXPECT_EQ(draw.texture, "");
        EXPECT_TRUE(IsTranslation(draw.world, -10000.0f, 0.0f, 20000.0f));
        ExpectGreyMaterial(draw, bands[b].shade);
        ASSERT_EQ(draw.vertices.size(), 4u);
        EXPECT_EQ(draw.indexes, (std::vector<uint16_t>{0, 1, 2, 0, 2, 3}));

        const auto& v = draw.vertices;
        const double offsets[4] = {bands[b].first, bands[b].first, bands[b].second, bands[b].second};
        const bool atEnd[4] = {false, true, true, false};
        for (int i = 0; i < 4; ++i) {
            double baseX = atEnd[i] ? segment.endX : segment.startX;
            double baseZ = atEnd[i] ? segment.endZ : segment.startZ;
            EXPECT_NEAR(v[i].x, baseX + offsets[i] * leftX, 1e-4);
            EXPECT_NEAR(v[i].z, baseZ + offsets[i] * leftZ, 1e-4);
            EXPECT_FLOAT_EQ(v[i].y, (atEnd[i] ? 5.0f : 2.0f) + bands[b].height);
            EXPECT_EQ(v[i].nx, 0.0f);
            EXPECT_EQ(v[i].ny, 1.0f);
            EXPECT_EQ(v[i].nz, 0.0f);
        }
        EXPECT_EQ(v[1].tu, 0.0f);
        EXPECT_EQ(v[1].tv, 1.0f);
        EXPECT_EQ(v[3].tu, 1.0f);
        EXPECT_EQ(v[3].tv, 0.0f);
    }
}

TEST(TrackDrawer, HundredMetreCurveIsTwentyThreeQuadsPerBandEndingAtItsEndHeading)
{
    for (int32_t type : {SegmentCurveLeft, SegmentCurveRight}) {
        SCOPED_TRACE(type);
        TrackFixture fixture;
        TrackSegment segment = CurveSegment(type, 30.0f, -40.0f, 0.2f, 100.0f);
        segment.startHeight = 4.0f;
        // Curves are level: an end height that differs is not followed.
        segment.endHeight = 9.0f;
        if (type == SegmentCurveLeft)
            DrawLeftCurveTrack(fixture.Frame(), segment);
        else
            DrawRightCurveTrack(fixture.Frame(), segment);

        ASSERT_EQ(fixture.device.draws.size(), 69u);
        const double turn = type == SegmentCurveLeft ? 1.0 : -1.0;
        const double centreX = segment.startX - turn * 1000.0 * std::cos(0.2);
        const double centreZ = segment.startZ + turn * 1000.0 * std::sin(0.2);
        const double h1 = segment.endHeading;
        const double innerRadius[3] = {998.5, 999.2, 1000.7};
        const double outerRadius[3] = {1001.5, 999.3, 1000.8};
        const float shades[3] = {0.4f, 0.3f, 0.3f};
        const float heights[3] = {4.0f, 4.1f, 4.1f};
        for (int band = 0; band < 3; ++band) {
            SCOPED_TRACE(band);
            for (int quad = 0; quad < 23; ++quad) {
                const RecordedDraw& draw = fixture.device.draws[band * 23 + quad];
                ASSERT_EQ(draw.vertices.size(), 4u);
                ExpectGreyMaterial(draw, shades[band]);
                EXPECT_EQ(draw.texture, "");
                for (const SceneVertex& v : draw.vertices)
                    EXPECT_FLOAT_EQ(v.y, heights[band]);
                EXPECT_NEAR(DistanceTo(draw.vertices[0], centreX, centreZ), innerRadius[band], 1e-3);
                EXPECT_NEAR(DistanceTo(draw.vertices[1], centreX, centreZ), outerRadius[band], 1e-3);
                // Each quad starts where the one before it ended.
                if (quad > 0) {
                    const RecordedDraw& before = fixture.device.draws[band * 23 + quad - 1];
                    EXPECT_EQ(draw.vertices[0].x, before.vertices[2].x);
                    EXPECT_EQ(draw.vertices[0].z, before.vertices[2].z);
                    EXPECT_EQ(draw.vertices[1].x, before.vertices[3].x);
                    EXPECT_EQ(draw.vertices[1].z, before.vertices[3].z);
                }
            }
            // The first quad starts at the start heading, the last ends at the end heading:
            // neither short of it nor a step beyond.
            const RecordedDraw& first = fixture.device.draws[band * 23];
            EXPECT_NEAR(first.vertices[0].x, centreX + turn * innerRadius[band] * std::cos(0.2), 1e-3);
            EXPECT_NEAR(first.vertices[0].z, centreZ - turn * innerRadius[band] * std::sin(0.2), 1e-3);
            const RecordedDraw& last = fixture.device.draws[band * 23 + 22];
            EXPECT_NEAR(last.vertices[2].x, centreX + turn * innerRadius[band] * std::cos(h1), 1e-3);
            EXPECT_NEAR(last.vertices[2].z, centreZ - turn * innerRadius[band] * std::sin(h1), 1e-3);
            EXPECT_NEAR(last.vertices[3].x, centreX + turn * outerRadius[band] * std::cos(h1), 1e-3);
            EXPECT_NEAR(last.vertices[3].z, centreZ - turn * outerRadius[band] * std::sin(h1), 1e-3);
        }
        // The ballast bed's first inner corner is 1.5 m towards the centre from the start.
        const SceneVertex& start = fixture.device.draws[0].vertices[0];
        EXPECT_NEAR(DistanceTo(start, segment.startX, segment.startZ), 1.5, 1e-3);
    }
}

TEST(TrackDrawer, CurveWithEqualHeadingsDrawsNothing)
{
    TrackFixture fixture;
    TrackSegment left = CurveSegment(SegmentCurveLeft, 0.0f, 0.0f, 0.5f, 100.0f);
    left.endHeading = left.startHeading;
    DrawLeftCurveTrack(fixture.Frame(), left);
    TrackSegment right = CurveSegment(SegmentCurveRight, 0.0f, 0.0f, 0.5f, 100.0f);
    right.endHeading = right.startHeading;
    DrawRightCurveTrack(fixture.Frame(), right);
    EXPECT_EQ(fixture.device.CountCalls(DeviceCall::DrawIndexed), 0);
}

TEST(TrackDrawer, EveryTriangleFacesUp)
{
    TrackFixture fixture;
    for (float heading : {0.0f, 0.9f, 2.5f, -2.0f, 7.0f}) {
        DrawStraightTrack(fixture.Frame(), StraightSegment(5.0f, 5.0f, heading, 300.0f));
        DrawLeftCurveTrack(fixture.Frame(), CurveSegment(SegmentCurveLeft, 5.0f, 5.0f, heading, 500.0f));
        DrawRightCurveTrack(fixture.Frame(), CurveSegment(SegmentCurveRight, 5.0f, 5.0f, heading, 62.83f));
    }
    ASSERT_FALSE(fixture.device.draws.empty());
    int triangles = 0;
    for (const RecordedDraw& draw : fixture.device.draws) {
        for (const DrawnTriangle& triangle : TrianglesOf(draw)) {
            EXPECT_LT(SignedAreaFromAbove(triangle), 0.0) << "a track triangle is wound to face down";
            ++triangles;
        }
    }
    EXPECT_EQ(triangles, 2 * static_cast<int>(fixture.device.draws.size()));
}

TEST(TrackDrawer, CurveOfHugeHeadingsEnds)
{
    // Headings so large that a quarter degree is lost in rounding must not loop for ever.
    TrackFixture fixture;
    TrackSegment segment = CurveSegment(SegmentCurveRight, 0.0f, 0.0f, 0.0f, 100.0f);
    segment.startHeading = 1.0e6f;
    segment.endHeading = 1.0e6f + 1.0f;
    DrawRightCurveTrack(fixture.Frame(), segment);
    EXPECT_LT(fixture.device.draws.size(), 3u * 1000u);
}
