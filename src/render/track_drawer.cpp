// Track bands: the ballast bed and the two rails, each drawn quad by quad in its own grey.

#include "render/render_local.h"

#include "world/track.h"

namespace {

struct TrackBand {
    float firstOffset;   // straights: to the left of the centre line; curves: added to the radius
    float secondOffset;
    float height;        // above the segment
    float shade;         // grey level of the material
};

// Ballast bed 3 m wide, then the rails 0.1 m wide and 1.5 m apart, 0.1 m above the bed.
constexpr TrackBand StraightBands[3] = {
    {1.5f, -1.5f, 0.0f, 0.4f},
    {0.8f, 0.7f, 0.1f, 0.3f},
    {-0.7f, -0.8f, 0.1f, 0.3f},
};

// Curves count outwards from the centre, so the bed runs from the inner edge to the outer.
constexpr TrackBand CurveBands[3] = {
    {-1.5f, 1.5f, 0.0f, 0.4f},
    {-0.8f, -0.7f, 0.1f, 0.3f},
    {0.7f, 0.8f, 0.1f, 0.3f},
};

constexpr uint16_t StraightQuadIndexes[6] = {0, 1, 2, 0, 2, 3};
// Both orders wind clockwise seen from above; the curves mirror each other.
constexpr uint16_t LeftCurveQuadIndexes[6] = {0, 2, 3, 0, 3, 1};
constexpr uint16_t RightCurveQuadIndexes[6] = {0, 3, 2, 0, 1, 3};

SceneVertex TrackVertex(float x, float y, float z, float tu, float tv)
{
    return {x, y, z, 0.0f, 1.0f, 0.0f, tu, tv};
}

void BeginTrack(const SceneFrame& frame)
{
    frame.device.SetTexture(NoTexture);
    frame.device.SetWorldTransform(OriginMatrix(frame));
}

void DrawTrackQuad(const SceneFrame& frame, const TrackBand& band, const SceneVertex (&quad)[4],
                   const uint16_t (&indexes)[6])
{
    // The material is set before every quad, the rails and the bed alternating per band.
    SetMaterialColour(frame.device, band.shade, band.shade, band.shade);
    frame.device.DrawIndexed(PrimitiveKind::TriangleList, quad, 4, indexes, 6);
}

void DrawCurveTrack(const SceneFrame& frame, const TrackSegment& segment, float turn)
{
    BeginTrack(frame);
    const float startHeading = segment.startHeading;
    const float endHeading = segment.endHeading;
    const bool isLeft = turn == LeftTurn;
    const uint16_t(&indexes)[6] = isLeft ? LeftCurveQuadIndexes : RightCurveQuadIndexes;

    for (const TrackBand& band : CurveBands) {
        CurveCentre centre =
            MakeCurveCentre(segment.startX, segment.startZ, startHeading, segment.radius, turn);
        float innerRadius = segment.radius + band.firstOffset;
        float outerRadius = segment.radius + band.secondOffset;
        // Curves are level: the whole band lies at the start height.
        float y = segment.startHeight + band.height;

        float previous = startHeading;
        while (isLeft ? endHeading < previous : previous < endHeading) {
            float angle = isLeft ? previous - TrackCurveStep : previous + TrackCurveStep;
            // The last quad is shorter and ends exactly at the end heading.
            if (isLeft ? angle < endHeading : angle > endHeading)
                angle = endHeading;
            // Headings so large that a quarter degree no longer changes them would never end.
            if (angle == previous)
                break;

            GroundPoint a = CurvePoint(centre, previous, innerRadius);
            GroundPoint b = CurvePoint(centre, previous, outerRadius);
            GroundPoint c = CurvePoint(centre, angle, innerRadius);
            GroundPoint d = CurvePoint(centre, angle, outerRadius);
            const SceneVertex quad[4] = {
                TrackVertex(a.x, y, a.z, 0.0f, 0.0f),
                TrackVertex(b.x, y, b.z, 0.0f, 1.0f),
                TrackVertex(c.x, y, c.z, 1.0f, 1.0f),
                TrackVertex(d.x, y, d.z, 1.0f, 0.0f),
            };
            DrawTrackQuad(frame, band, quad, indexes);
            previous = angle;
        }
    }
}

}  // namespace

void DrawStraightTrack(const SceneFrame& frame, const TrackSegment& segment)
{
    BeginTrack(frame);
    // The start heading serves both ends; the heights come from each end, so the track
    // follows the gradient.
    float leftX = -Cosine(segment.startHeading);
    float leftZ = Sine(segment.startHeading);

    for (const TrackBand& band : StraightBands) {
        float a = band.firstOffset;
        float b = band.secondOffset;
        float startY = segment.startHeight + band.height;
        float endY = segment.endHeight + band.height;
        const SceneVertex quad[4] = {
            TrackVertex(segment.startX + a * leftX, startY, segment.startZ + a * leftZ, 0.0f, 0.0f),
            TrackVertex(segment.endX + a * leftX, endY, segment.endZ + a * leftZ, 0.0f, 1.0f),
            TrackVertex(segment.endX + b * leftX, endY, segment.endZ + b * leftZ, 1.0f, 1.0f),
            TrackVertex(segment.startX + b * leftX, startY, segment.startZ + b * leftZ, 1.0f, 0.0f),
        };
        DrawTrackQuad(frame, band, quad, StraightQuadIndexes);
    }
}

void DrawLeftCurveTrack(const SceneFrame& frame, const TrackSegment& segment)
{
    DrawCurveTrack(frame, segment, LeftTurn);
}

void DrawRightCurveTrack(const SceneFrame& frame, const TrackSegment& segment)
{
    DrawCurveTrack(frame, segment, RightTurn);
}
