#include "world/track_builder.h"

#include "world/track_geometry.h"
#include "world/world.h"

void SetSegmentGeometry(TrackSegment& segment, int32_t type, float length, float radius, float startX,
                        float startZ, float startHeight, float startHeading)
{
    segment.type = type;
    segment.length = length;
    segment.radius = radius;
    segment.startX = startX;
    segment.startZ = startZ;
    segment.startHeight = startHeight;
    segment.startHeading = startHeading;
    segment.endHeight = startHeight;

    if (type == SegmentCurveLeft || type == SegmentCurveRight) {
        // The centre lies on the inner side of the curve, one radius across from the start.
        float headingChange = type == SegmentCurveLeft ? -(length / radius) : length / radius;
        float endHeading = startHeading + headingChange;
        CurveCentre centre = MakeCurveCentre(startX, startZ, startHeading, radius, CurveTurn(type));
        GroundPoint end = CurvePoint(centre, endHeading, radius);
        segment.endX = end.x;
        segment.endZ = end.z;
        segment.endHeading = endHeading;
        return;
    }

    GroundPoint end = AheadOf({startX, startZ}, startHeading, length);
    segment.endX = end.x;
    segment.endZ = end.z;
    segment.endHeading = startHeading;
}

void LaySegmentFrom(World& world, int index, int from, int32_t type, float length, float radius)
{
    const TrackSegment& previous = world.track[from];
    SetSegmentGeometry(world.track[index], type, length, radius, previous.endX, previous.endZ,
                       previous.endHeight, previous.endHeading);
}

void LayStraightBackFrom(World& world, int index, float endX, float endZ, float endHeight, float heading,
                         float length)
{
    GroundPoint start = AheadOf({endX, endZ}, heading, -length);
    SetSegmentGeometry(world.track[index], SegmentStraight, length, 0.0f, start.x, start.z, endHeight, heading);
}

void LinkSegments(World& world, int from, int to)
{
    world.track[from].next = to;
    world.track[to].prev = from;
}

void SetSign(World& world, int segment, int32_t signPresent, int32_t forwardSign)
{
    world.track[segment].signPresent = signPresent;
    world.track[segment].forwardSign = forwardSign;
}

void AddGroundStrip(TrackBuilder& builder, int segment, int32_t kind, int32_t leftSide, float leftRelief,
                    int32_t rightSide, float rightRelief)
{
    const TrackSegment& source = builder.world.track[segment];
    GroundStrip& strip = builder.world.strips[builder.nextStrip];
    strip.kind = kind;
    strip.segment = segment;
    strip.leftSide = leftSide;
    strip.leftRelief = leftRelief;
    strip.rightSide = rightSide;
    strip.rightRelief = rightRelief;
    strip.startX = source.startX;
    strip.startZ = source.startZ;
    strip.startHeight = source.startHeight;
    strip.endX = source.endX;
    strip.endZ = source.endZ;
    strip.endHeight = source.endHeight;
    strip.startHeading = source.startHeading;
    strip.endHeading = source.endHeading;
    builder.nextStrip += 1;
}

namespace {

// A plain entry of the plan becomes one segment on the end of the main line.
int AppendPlanSegment(TrackBuilder& builder, int32_t type, float length, float radius)
{
    World& world = builder.world;
    int index = builder.nextSegment;
    LaySegmentFrom(world, index, builder.lastSegment, type, length, radius);
    LinkSegments(world, builder.lastSegment, index);
    world.track[index].next = 1;
    builder.nextSegment += 1;
    builder.lastSegment = index;
    return index;
}

void BuildStraightEntry(TrackBuilder& builder, int planIndex)
{
    const RoutePlanEntry& entry = builder.world.plan[planIndex];
    int segment = AppendPlanSegment(builder, entry.type, entry.length, 0.0f);
    AddGroundStrip(builder, segment, 1, entry.leftSide, static_cast<float>(entry.leftRelief), entry.rightSide,
                   static_cast<float>(entry.rightRelief));
    PlaceForest(builder.world, segment, planIndex);
    PlaceVillages(builder.world, segment, entry.leftSide, entry.rightSide);
}

void BuildCurveEntry(TrackBuilder& builder, int planIndex)
{
    const RoutePlanEntry& entry = builder.world.plan[planIndex];
    int segment = AppendPlanSegment(builder, entry.type, entry.length, CurveRadius);
    AddGroundStrip(builder, segment, entry.type, entry.leftSide, 0.0f, entry.rightSide, 0.0f);
}

void BuildMeetingStation(TrackBuilder& builder, int planIndex)
{
    World& world = builder.world;
    world.random.draw();  // drawn and discarded: the layout is chosen by the counter alone
    int firstSegment = builder.nextSegment;
    int32_t variant = world.meetingVariant;
    if (variant == 6)
        LayMeetingLayoutA(builder);
    else
        LayMeetingLayoutB(builder);
    if (world.eventCount < RouteEventScriptLimit)
        WriteMeetingScript(world, firstSegment, variant);
    if (world.plan[planIndex].meetingMark == 7) {
        world.meetingVariant += 1;
        if (world.meetingVariant > 7)
            world.meetingVariant = 0;
    }
}

}  // namespace

void BuildTrack(World& world)
{
    uint64_t drawsBefore = world.random.drawCount;
    TrackBuilder builder = {world, 1, 0, 0};
    world.eventCount = 0;
    world.placementIndex = SceneryPlacementFirstSlot;

    for (int planIndex = 0; planIndex < RoutePlanCapacity && world.plan[planIndex].type != PlanEnd; ++planIndex) {
        switch (world.plan[planIndex].type) {
        case PlanStraight:
        case PlanTunnel:
            BuildStraightEntry(builder, planIndex);
            break;
        case PlanCurveLeft:
        case PlanCurveRight:
            BuildCurveEntry(builder, planIndex);
            break;
        case PlanOrigin:
            LayOriginLayout(builder);
            PlaceOriginObjects(world);
            WriteOriginScript(world);
            break;
        case PlanTerminus:
            LayTerminusLayout(builder);
            break;
        case PlanMeetingStation:
            BuildMeetingStation(builder, planIndex);
            break;
        default:
            break;
        }
    }

    world.segmentCount = builder.nextSegment - 1;
    world.stripCount = builder.nextStrip;
    world.buildStats.trackDraws = world.random.drawCount - drawsBefore;
}
