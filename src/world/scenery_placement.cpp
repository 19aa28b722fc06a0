// Forest on open land, villages, the station buildings and the signal boxes. Every draw below
// is part of the route: a preset line only repeats if the draws come in exactly this order.

#include "world/sine_cosine.h"
#include "world/track_builder.h"
#include "world/world.h"

namespace {

// Open land is the plan's draw itself (at least 100); lower kinds are fields, banks and villages.
constexpr int32_t OpenLandAbove = 10;
constexpr int32_t VillageChance = 5000;
constexpr int32_t VillageHouseChance = 16000;
constexpr int32_t VillageHouseTypeChance = 15000;

// A segment's start point and the unit vectors of its frame at the start.
struct SegmentFrame {
    float x0, z0, y0;
    float forwardX, forwardZ;
    float leftX, leftZ;
};

SegmentFrame FrameAtStart(const TrackSegment& segment)
{
    float headingSin = Sine(segment.startHeading);
    float headingCos = Cosine(segment.startHeading);
    return {segment.startX, segment.startZ, segment.startHeight, headingSin, headingCos, -headingCos, headingSin};
}

// Writes an object at the placement index. Once the index reaches the last slot it stays
// there, and every further object replaces the one before.
void PlaceObject(World& world, int32_t type, float x, float y, float z, float rotY, int32_t variation)
{
    world.scenery[world.placementIndex] = {type, x, y, z, 0.0f, rotY, 0.0f, variation};
    if (world.placementIndex < SceneryLastSlot)
        world.placementIndex += 1;
}

// Grid bounds along a segment of length L. The route depends on these being the products of a
// double-precision build: the middle block's bound is L × 0.8f unrounded, so the row at 0.8 L
// belongs to the middle block and starts the end block as well.
struct GridBounds {
    double beginBound;  // L × 0.2
    float middleStart;  // L × 0.2f, rounded to float
    double middleBound; // L × 0.8f, unrounded
    float endStart;     // L × 0.8f, rounded to float
};

GridBounds BoundsForLength(float length)
{
    double endProduct = static_cast<double>(length) * static_cast<double>(0.8f);
    return {static_cast<double>(length) * 0.2, static_cast<float>(static_cast<double>(length) * static_cast<double>(0.2f)),
            endProduct, static_cast<float>(endProduct)};
}

enum ForestBlock { BlockBegin, BlockMiddle, BlockEnd };

// The forest falls away from the track: the begin and end blocks climb towards the segment's
// middle over the side's relief, the middle block rises with the distance from the track.
void PlaceForestBlock(World& world, const SegmentFrame& frame, float length, float relief, float sideSign,
                      ForestBlock block, int32_t treeThreshold)
{
    GridBounds bounds = BoundsForLength(length);
    float sideX = frame.leftX * sideSign;
    float sideZ = frame.leftZ * sideSign;
    float base = frame.y0 - 1.0f;

    auto visitPoint = [&](float d, float w, float y) {
        float x = frame.x0 + d * frame.forwardX + w * sideX;
        float z = frame.z0 + d * frame.forwardZ + w * sideZ;
        if (world.random.draw() < treeThreshold)
            PlaceObject(world, SceneryTree, x, y, z, 0.0f, world.random.draw());
    };

    switch (block) {
    case BlockBegin:
        for (float d = 0.0f; d < bounds.beginBound; d += 5.0f)
            for (float w = 100.0f; w < 400.0f; w += 5.0f)
                visitPoint(d, w, d * relief * 5.0f / length + base);
        break;
    case BlockMiddle:
        for (float d = bounds.middleStart; d < bounds.middleBound; d += 5.0f)
            for (float w = 20.0f; w < 100.0f; w += 5.0f)
                visitPoint(d, w, w * relief / 100.0f + base);
        break;
    case BlockEnd:
        for (float d = bounds.endStart; d < length; d += 5.0f)
            for (float w = 100.0f; w < 200.0f; w += 5.0f)
                visitPoint(d, w, (length - d) * relief * 5.0f / length + base);
        break;
    }
}

int32_t DrawVillageHouseType(World& world)
{
    return world.random.draw() < VillageHouseTypeChance ? SceneryVillageHouseA : SceneryVillageHouseB;
}

void PlaceVillageHouse(World& world, float x, float y, float z)
{
    int32_t type = DrawVillageHouseType(world);
    float rotY = static_cast<float>(world.random.draw()) / 32767.0f;
    PlaceObject(world, type, x, y, z, rotY, world.random.draw());
}

// The two sides of a village follow different rules: the left side draws a second time to
// choose between house and tree, the right side first tries for a house.
void PlaceVillagePoint(World& world, bool leftSide, float x, float y, float z)
{
    if (leftSide) {
        if (world.random.draw() >= VillageChance)
            return;
        if (world.random.draw() < VillageHouseChance)
            PlaceVillageHouse(world, x, y, z);
        else
            PlaceObject(world, SceneryTree, x, y, z, 0.0f, world.random.draw());
        return;
    }
    if (world.random.draw() < VillageChance) {
        PlaceVillageHouse(world, x, y, z);
        return;
    }
    if (world.random.draw() < VillageChance)
        PlaceObject(world, SceneryTree, x, y, z, 0.0f, world.random.draw());
}

void PlaceVillage(World& world, const TrackSegment& segment, bool leftSide)
{
    SegmentFrame frame = FrameAtStart(segment);
    GridBounds bounds = BoundsForLength(segment.length);
    float sideSign = leftSide ? 1.0f : -1.0f;
    for (float d = bounds.middleStart; d < bounds.middleBound; d += 20.0f) {
        for (float w = 20.0f; w < 100.0f; w += 20.0f) {
            float x = frame.x0 + d * frame.forwardX + w * frame.leftX * sideSign;
            float z = frame.z0 + d * frame.forwardZ + w * frame.leftZ * sideSign;
            PlaceVillagePoint(world, leftSide, x, frame.y0 - 1.0f, z);
        }
    }
}

}  // namespace

void PlaceForest(World& world, int segmentIndex, int planEntry)
{
    const TrackSegment& segment = world.track[segmentIndex];
    const RoutePlanEntry& entry = world.plan[planEntry];
    SegmentFrame frame = FrameAtStart(segment);
    int32_t treeThreshold = entry.forestDensity * 100;

    const struct {
        int32_t side;
        float relief;
        float sideSign;
    } sides[2] = {
        {entry.leftSide, static_cast<float>(entry.leftRelief), 1.0f},
        {entry.rightSide, static_cast<float>(entry.rightRelief), -1.0f},
    };
    for (const auto& side : sides) {
        for (ForestBlock block : {BlockBegin, BlockMiddle, BlockEnd}) {
            // The gate is drawn for every block, placed or not.
            int32_t gate = world.random.draw();
            if (gate < world.forestBlockChance && side.side > OpenLandAbove)
                PlaceForestBlock(world, frame, segment.length, side.relief, side.sideSign, block, treeThreshold);
        }
    }
}

void PlaceVillages(World& world, int segmentIndex, int32_t leftSide, int32_t rightSide)
{
    const TrackSegment& segment = world.track[segmentIndex];
    if (leftSide == SideVillage)
        PlaceVillage(world, segment, true);
    if (rightSide == SideVillage)
        PlaceVillage(world, segment, false);
}

void PlaceOriginObjects(World& world)
{
    const float townZ[5] = {100.0f, 130.0f, 160.0f, 190.0f, 220.0f};
    for (int i = 0; i < 5; ++i)
        PlaceObject(world, SceneryTownFirst + i, -20.0f, 0.0f, townZ[i], 0.0f, 0);
    PlaceObject(world, ScenerySignalBox, 5.0f, 0.0f, 200.0f, 0.0f, 0);
    PlaceObject(world, SceneryPlatform, 4.0f, 0.0f, 50.0f, 0.0f, 0);
    PlaceObject(world, SceneryPlatform, -8.0f, 0.0f, 50.0f, 0.0f, 0);
}

void PlaceTerminusObjects(World& world, int firstSegment)
{
    const TrackSegment& mainEnd = world.track[firstSegment + 4];
    const TrackSegment& sidingEnd = world.track[firstSegment + 9];
    float heading = mainEnd.endHeading;
    float forwardX = Sine(heading);
    float forwardZ = Cosine(heading);
    float rightX = forwardZ;
    float rightZ = -forwardX;

    // The destination's objects have slots of their own, whatever the rest of the table holds.
    world.placementIndex = SceneryTerminusFirstSlot;
    auto place = [&](int32_t type, float baseX, float baseZ, float across, float back) {
        PlaceObject(world, type, baseX + across * rightX - back * forwardX, 0.0f,
                    baseZ + across * rightZ - back * forwardZ, heading, 0);
    };
    for (int i = 0; i < 4; ++i)
        place(SceneryPlatform, mainEnd.endX, mainEnd.endZ, 4.0f, 50.0f + 100.0f * i);
    for (int i = 0; i < 4; ++i)
        place(SceneryPlatform, sidingEnd.endX, sidingEnd.endZ, -4.0f, 50.0f + 100.0f * i);
    for (int i = 0; i < 5; ++i)
        place(SceneryTownFirst, mainEnd.endX, mainEnd.endZ, 20.0f, 30.0f * i);
    for (int i = 0; i < 4; ++i)
        place(SceneryTownFirst + 1, mainEnd.endX, mainEnd.endZ, -20.0f, 30.0f * i);
    for (int i = 0; i < 4; ++i)
        place(SceneryTownFirst + 3, mainEnd.endX, mainEnd.endZ, -20.0f, 30.0f * i - 120.0f);
    for (int i = 0; i < 4; ++i)
        place(SceneryTownFirst + 4, mainEnd.endX, mainEnd.endZ, 10.0f, 30.0f * i - 120.0f);
}

void PlaceSignalBox(World& world, int segmentIndex)
{
    const TrackSegment& segment = world.track[segmentIndex];
    SegmentFrame frame = FrameAtStart(segment);
    float x = frame.x0 + 250.0f * frame.forwardX + 5.0f * frame.leftX;
    float z = frame.z0 + 250.0f * frame.forwardZ + 5.0f * frame.leftZ;
    PlaceObject(world, ScenerySignalBox, x, frame.y0, z, segment.startHeading, 0);
}
