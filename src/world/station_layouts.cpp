// The fixed track layouts: the starting station, the destination with its siding, and the two
// kinds of meeting station. Parallel tracks lie 3.95 m beside the line, reached by an S-bend of
// two 62.83 m curves.

#include "world/track_builder.h"
#include "world/world.h"

namespace {

constexpr float SBendCurveLength = 62.83f;

struct FixedSegment {
    int32_t type;
    float length;
    float radius;
    float startX, startZ;
    float endX, endZ;
    float startHeading, endHeading;
};

// The starting station is always segments 1 to 7, laid with these coordinates as they stand.
// The main line runs along x = 0; the second track lies 3.95 m to its left and rejoins at the
// start of segment 7.
constexpr FixedSegment OriginSegments[7] = {
    {SegmentStraight, 100.0f, 999.0f, 0.0f, 0.0f, 0.0f, 100.0f, 0.0f, 0.0f},
    {SegmentStraight, 125.58f, 999.0f, 0.0f, 100.0f, 0.0f, 225.58f, 0.0f, 0.0f},
    {SegmentStraight, 50.0f, 999.0f, -3.95f, 0.0f, -3.95f, 50.0f, 0.0f, 0.0f},
    {SegmentStraight, 50.0f, 999.0f, -3.95f, 50.0f, -3.95f, 100.0f, 0.0f, 0.0f},
    {SegmentCurveRight, 62.832f, 1000.0f, -3.95f, 100.0f, -1.97327f, 162.79f, 0.0f, 0.062832f},
    {SegmentCurveLeft, 62.832f, 1000.0f, -1.97327f, 162.79f, 0.0f, 225.58f, 0.062832f, 0.0f},
    {SegmentStraight, 100.0f, 999.0f, 0.0f, 225.58f, 0.0f, 325.58f, 0.0f, 0.0f},
};

void AddLayoutStrip(TrackBuilder& builder, int segment, int32_t leftSide, int32_t rightSide)
{
    AddGroundStrip(builder, segment, builder.world.track[segment].type, leftSide, 0.0f, rightSide, 0.0f);
}

}  // namespace

void LayOriginLayout(TrackBuilder& builder)
{
    World& world = builder.world;
    for (int i = 0; i < 7; ++i) {
        const FixedSegment& fixed = OriginSegments[i];
        TrackSegment& segment = world.track[1 + i];
        segment.type = fixed.type;
        segment.length = fixed.length;
        segment.radius = fixed.radius;
        segment.startX = fixed.startX;
        segment.startZ = fixed.startZ;
        segment.endX = fixed.endX;
        segment.endZ = fixed.endZ;
        segment.startHeight = 0.0f;
        segment.endHeight = 0.0f;
        segment.startHeading = fixed.startHeading;
        segment.endHeading = fixed.endHeading;
    }

    LinkSegments(world, 1, 2);
    world.track[1].prev = 0;
    LinkSegments(world, 2, 7);
    world.track[2].prev = 1;
    // The second track's first segment links back to itself: the oncoming train that leaves it
    // is taken off the line by its script.
    LinkSegments(world, 3, 4);
    world.track[3].nextAlt = 0;
    world.track[3].prev = 3;
    world.track[3].prevAlt = 0;
    LinkSegments(world, 4, 5);
    LinkSegments(world, 5, 6);
    world.track[6].next = 7;
    // Units running backward out of segment 7 are sent onto the second track.
    world.track[7].prev = 2;
    world.track[7].prevAlt = 6;
    world.track[7].rearSwitch = 2;
    world.track[7].next = 1;

    SetSign(world, 2, 1, SignStop);
    SetSign(world, 5, 1, SignStop);
    SetSign(world, 7, 1, SignStop);

    AddLayoutStrip(builder, 1, SideFlatField, SideFlatField);
    AddLayoutStrip(builder, 2, SideFlatField, SideFlatField);
    AddLayoutStrip(builder, 7, SideFlatField, SideFlatField);

    builder.nextSegment = 8;
    builder.lastSegment = 7;
}

void LayTerminusLayout(TrackBuilder& builder)
{
    World& world = builder.world;
    const int c = builder.nextSegment;
    const int previous = builder.lastSegment;

    LaySegmentFrom(world, c, previous, SegmentStraight, 500.0f, 0.0f);
    LaySegmentFrom(world, c + 1, c, SegmentStraight, 500.0f, 0.0f);
    LaySegmentFrom(world, c + 2, c + 1, SegmentStraight, 500.0f, 0.0f);
    LaySegmentFrom(world, c + 3, c + 2, SegmentStraight, 50.0f, 0.0f);
    LaySegmentFrom(world, c + 4, c + 3, SegmentStraight, 50.0f, 0.0f);
    // The siding leaves at the end of c+1 and runs 3.95 m to the left, level with the platform.
    LaySegmentFrom(world, c + 5, c + 1, SegmentCurveLeft, SBendCurveLength, CurveRadius);
    LaySegmentFrom(world, c + 6, c + 5, SegmentCurveRight, SBendCurveLength, CurveRadius);
    LaySegmentFrom(world, c + 7, c + 6, SegmentStraight, 374.42f, 0.0f);
    LaySegmentFrom(world, c + 8, c + 7, SegmentStraight, 50.0f, 0.0f);
    LaySegmentFrom(world, c + 9, c + 8, SegmentStraight, 50.0f, 0.0f);
    LaySegmentFrom(world, c + 10, c + 9, SegmentStraight, 500.0f, 0.0f);

    LinkSegments(world, previous, c);
    LinkSegments(world, c, c + 1);
    LinkSegments(world, c + 1, c + 2);
    world.track[c + 1].nextAlt = c + 5;
    world.track[c + 1].forwardSwitch = 1;
    LinkSegments(world, c + 2, c + 3);
    LinkSegments(world, c + 3, c + 4);
    world.track[c + 4].next = 1;
    world.track[c + 5].prev = c + 1;
    for (int i = 5; i < 10; ++i)
        LinkSegments(world, c + i, c + i + 1);
    world.track[c + 10].next = 1;

    SetSign(world, c, 2, SignExpect40);
    SetSign(world, c + 2, 1, SignLimit40);
    SetSign(world, c + 3, 9, SignDestination);
    SetSign(world, c + 4, 1, SignStop);
    SetSign(world, c + 9, 1, SignStop);

    AddLayoutStrip(builder, c, SideVillage, SideVillage);
    AddLayoutStrip(builder, c + 1, SideVillage, SideVillage);
    AddLayoutStrip(builder, c + 2, SideFlatField, SideFlatField);
    AddLayoutStrip(builder, c + 3, SideFlatField, SideFlatField);
    AddLayoutStrip(builder, c + 4, SideFlatField, SideFlatField);
    AddLayoutStrip(builder, c + 10, SideFlatField, SideFlatField);

    PlaceVillages(world, c, SideVillage, SideVillage);
    PlaceVillages(world, c + 1, SideVillage, SideVillage);
    PlaceTerminusObjects(world, c);

    builder.nextSegment = c + 11;
    builder.lastSegment = c + 10;
}

void LayMeetingLayoutA(TrackBuilder& builder)
{
    World& world = builder.world;
    const int c = builder.nextSegment;
    const int previous = builder.lastSegment;

    LaySegmentFrom(world, c, previous, SegmentCurveLeft, 500.0f, CurveRadius);
    LaySegmentFrom(world, c + 1, c, SegmentStraight, 500.0f, 0.0f);
    // The S-bend moves the line 3.95 m to the right; the dead-end siding lies behind the
    // junction at its end, on the line's new alignment.
    LaySegmentFrom(world, c + 2, c + 1, SegmentCurveRight, SBendCurveLength, CurveRadius);
    LaySegmentFrom(world, c + 3, c + 2, SegmentCurveLeft, SBendCurveLength, CurveRadius);
    const TrackSegment& junction = world.track[c + 3];
    LayStraightBackFrom(world, c + 4, junction.endX, junction.endZ, junction.endHeight, junction.endHeading,
                        125.58f);
    for (int i = 5; i <= 6; ++i) {
        const TrackSegment& ahead = world.track[c + i - 1];
        LayStraightBackFrom(world, c + i, ahead.startX, ahead.startZ, ahead.startHeight, ahead.startHeading, 500.0f);
    }
    LaySegmentFrom(world, c + 7, c + 3, SegmentCurveRight, 500.0f, CurveRadius);

    LinkSegments(world, previous, c);
    LinkSegments(world, c, c + 1);
    LinkSegments(world, c + 1, c + 2);
    LinkSegments(world, c + 2, c + 3);
    world.track[c + 3].next = c + 7;
    // The siding's links all lead towards the junction.
    world.track[c + 4].next = c + 7;
    world.track[c + 4].prev = c + 5;
    world.track[c + 5].next = c + 4;
    world.track[c + 5].prev = c + 6;
    world.track[c + 6].next = c + 5;
    world.track[c + 6].prev = 1;
    // Units running backward out of c+7 are sent into the siding.
    world.track[c + 7].prev = c + 4;
    world.track[c + 7].prevAlt = c + 3;
    world.track[c + 7].rearSwitch = 1;
    world.track[c + 7].next = 1;

    SetSign(world, c, 2, SignExpectStop);
    SetSign(world, c + 2, 1, SignStop);
    SetSign(world, c + 4, 1, SignStop);
    SetSign(world, c + 7, 1, SignStop);

    AddGroundStrip(builder, c, 1, SideCutting, 0.0f, SideCurveOuter, 0.0f);
    AddGroundStrip(builder, c + 1, 1, SideLayoutOpenLand, 20.0f, SideFlatField, 0.0f);
    AddGroundStrip(builder, c + 4, 1, SideFlatField, 0.0f, SideLayoutOpenLand, 20.0f);
    AddGroundStrip(builder, c + 7, 3, SideCurveOuter, 0.0f, SideCutting, 0.0f);

    builder.nextSegment = c + 8;
    builder.lastSegment = c + 7;
}

void LayMeetingLayoutB(TrackBuilder& builder)
{
    World& world = builder.world;
    const int c = builder.nextSegment;
    const int previous = builder.lastSegment;

    LaySegmentFrom(world, c, previous, SegmentStraight, 125.58f, 0.0f);
    LaySegmentFrom(world, c + 1, c, SegmentStraight, 500.0f, 0.0f);
    LaySegmentFrom(world, c + 2, c + 1, SegmentStraight, 125.58f, 0.0f);
    // The loop leaves through the facing switch at the end of the segment before the station,
    // runs 3.95 m to the right of the main line and rejoins at the start of c+8.
    LaySegmentFrom(world, c + 3, previous, SegmentCurveRight, SBendCurveLength, CurveRadius);
    LaySegmentFrom(world, c + 4, c + 3, SegmentCurveLeft, SBendCurveLength, CurveRadius);
    LaySegmentFrom(world, c + 5, c + 4, SegmentStraight, 500.0f, 0.0f);
    LaySegmentFrom(world, c + 6, c + 5, SegmentCurveLeft, SBendCurveLength, CurveRadius);
    LaySegmentFrom(world, c + 7, c + 6, SegmentCurveRight, SBendCurveLength, CurveRadius);
    LaySegmentFrom(world, c + 8, c + 7, SegmentStraight, 100.0f, 0.0f);

    LinkSegments(world, previous, c);
    LinkSegments(world, c, c + 1);
    LinkSegments(world, c + 1, c + 2);
    world.track[c + 2].next = c + 8;
    world.track[previous].nextAlt = c + 3;
    world.track[c + 3].prev = previous;
    for (int i = 3; i < 7; ++i)
        LinkSegments(world, c + i, c + i + 1);
    world.track[c + 7].next = c + 8;
    world.track[c + 8].prev = c + 2;
    world.track[c + 8].prevAlt = c + 7;
    world.track[c + 8].next = 1;

    // The announcing signal stands on the segment two before the station.
    SetSign(world, c - 2, 2, SignExpectStop);
    SetSign(world, c, 1, SignStop);
    SetSign(world, c + 2, 1, SignStop);
    SetSign(world, c + 6, 1, SignStop);
    SetSign(world, c + 8, 1, SignStop);

    AddLayoutStrip(builder, c, SideFlatField, SideFlatField);
    AddLayoutStrip(builder, c + 1, SideFlatField, SideFlatField);
    AddLayoutStrip(builder, c + 2, SideFlatField, SideFlatField);
    AddLayoutStrip(builder, c + 8, SideFlatField, SideFlatField);

    PlaceSignalBox(world, c + 1);

    builder.nextSegment = c + 9;
    builder.lastSegment = c + 8;
}
