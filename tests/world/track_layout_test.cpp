#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "world/track_builder.h"
#include "world_fixture.h"

namespace {

// The first segment of the n-th meeting station (0-based): plain entries make one segment each,
// layout A (which starts with a 500 m left curve) makes 8 and layout B (a straight) 9.
int FindMeetingStationSegment(const World& world, int stationNumber)
{
    int segment = 8;
    int stationsSeen = 0;
    for (int planIndex = 1; planIndex < PlanLength(world); ++planIndex) {
        if (world.plan[planIndex].type != PlanMeetingStation) {
            segment += 1;
            continue;
        }
        if (stationsSeen++ == stationNumber)
            return segment;
        segment += world.track[segment].type == SegmentCurveLeft ? 8 : 9;
    }
    return -1;
}

}  // namespace

TEST(TrackLayout, SceneryOneTenKilometresMatchesTheKnownBuild)
{
    auto world = BuildTestWorld(1, 10, 3);
    EXPECT_EQ(PlanLength(*world), 26);
    EXPECT_EQ(world->buildStats.planDraws, 144u);
    EXPECT_EQ(world->buildStats.trackDraws, 64782u);
    EXPECT_EQ(world->buildStats.resetDraws, 9999u);
    EXPECT_EQ(world->segmentCount, 58);
    EXPECT_EQ(world->stripCount, 39);
    EXPECT_EQ(world->eventCount, 10);
    EXPECT_EQ(world->placementIndex, 125);
    EXPECT_EQ(world->strips[39].kind, 0);
    EXPECT_EQ(world->track[59].type, SegmentNone);

    std::map<int32_t, int> objects;
    int total = 0;
    for (const SceneryObject& object : world->scenery) {
        if (object.type != SceneryEmpty) {
            objects[object.type] += 1;
            total += 1;
        }
    }
    EXPECT_EQ(total, 273);
    EXPECT_EQ(objects[SceneryTree], 210);
    EXPECT_EQ(objects[SceneryVillageHouseA], 10);
    EXPECT_EQ(objects[SceneryVillageHouseB], 16);
    EXPECT_EQ(objects[2], 6);
    EXPECT_EQ(objects[3], 5);
    EXPECT_EQ(objects[4], 1);
    EXPECT_EQ(objects[5], 5);
    EXPECT_EQ(objects[6], 5);
    EXPECT_EQ(objects[ScenerySignalBox], 3);
    EXPECT_EQ(objects[SceneryPlatform], 10);
    EXPECT_EQ(objects[SceneryRailcar], 2);
}

TEST(TrackLayout, OriginIsAlwaysSegmentsOneToSeven)
{
    auto world = BuildTestWorld(SceneryCustom, 5, 2, 8);
    const TrackSegment* track = world->track.data();
    EXPECT_EQ(track[1].length, 100.0f);
    EXPECT_EQ(track[1].next, 2);
    EXPECT_EQ(track[1].prev, 0);
    EXPECT_EQ(track[2].next, 7);
    EXPECT_EQ(track[2].forwardSign, SignStop);
    EXPECT_EQ(track[3].prev, 3) << "the second track's first segment links back to itself";
    EXPECT_EQ(track[3].next, 4);
    EXPECT_EQ(track[5].type, SegmentCurveRight);
    EXPECT_EQ(track[5].endX, -1.97327f);
    EXPECT_EQ(track[5].endZ, 162.79f);
    EXPECT_EQ(track[5].endHeading, 0.062832f);
    EXPECT_EQ(track[6].type, SegmentCurveLeft);
    EXPECT_EQ(track[6].next, 7);
    EXPECT_EQ(track[7].prev, 2);
    EXPECT_EQ(track[7].prevAlt, 6);
    EXPECT_EQ(track[7].rearSwitch, 2);
    EXPECT_EQ(track[7].radius, 999.0f) << "the station's straights keep the reset radius";
    EXPECT_EQ(track[5].radius, 1000.0f);
    for (int strip = 0; strip < 3; ++strip) {
        EXPECT_EQ(world->strips[strip].segment, strip < 2 ? strip + 1 : 7);
        EXPECT_EQ(world->strips[strip].leftSide, SideFlatField);
    }
    // The first plan-built segment continues the main line from the station.
    EXPECT_EQ(track[7].next, 8);
    EXPECT_EQ(track[8].prev, 7);
    EXPECT_EQ(track[8].startX, 0.0f);
    EXPECT_EQ(track[8].startZ, 325.58f);
    EXPECT_EQ(track[8].startHeading, 0.0f);
}

TEST(TrackLayout, CurvesTurnAboutTheirCentreOnTheInnerSide)
{
    TrackSegment segment = {};
    const float x0 = 12.0f, z0 = -40.0f;
    SetSegmentGeometry(segment, SegmentCurveLeft, 500.0f, 1000.0f, x0, z0, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(segment.endHeading, -0.5f);
    EXPECT_NEAR(segment.endX, (x0 - 1000.0f) + std::cos(-0.5) * 1000.0, 1e-3);
    EXPECT_NEAR(segment.endZ, z0 - std::sin(-0.5) * 1000.0, 1e-3);
    EXPECT_LT(segment.endX, x0) << "a left turn from heading 0 goes towards -x";

    SetSegmentGeometry(segment, SegmentCurveRight, 62.83f, 1000.0f, 0.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_GT(segment.endX, 0.0f);
    EXPECT_NEAR(segment.endHeading, 0.06283f, 1e-6);

    // An S-bend of two 62.83 m curves shifts the track 3.95 m sideways over 125.58 m.
    TrackSegment second = {};
    SetSegmentGeometry(second, SegmentCurveLeft, 62.83f, 1000.0f, segment.endX, segment.endZ, 0.0f,
                       segment.endHeading);
    EXPECT_NEAR(second.endX, 3.95, 0.01);
    EXPECT_NEAR(second.endZ, 125.58, 0.01);
    EXPECT_NEAR(second.endHeading, 0.0, 1e-6);

    SetSegmentGeometry(segment, SegmentTunnel, 300.0f, 0.0f, 1.0f, 2.0f, 0.0f, 3.1416f / 2);
    EXPECT_NEAR(segment.endX, 301.0f, 1e-3);
    EXPECT_NEAR(segment.endZ, 2.0f, 0.01) << "3.1416 / 2 is a hair past a right angle";
}

TEST(TrackLayout, MainLineIsContinuousFromStartToDestination)
{
    for (int32_t scenery : {1, 3, 4}) {
        auto world = BuildTestWorld(scenery, 30, 3);
        // Follow the forward links as the switches stand, from segment 1 to the destination.
        int segment = 1;
        int steps = 0;
        bool reachedDestination = false;
        while (segment != 0 && steps++ < 2000) {
            const TrackSegment& here = world->track[segment];
            if (here.signPresent && here.forwardSign == SignDestination) {
                reachedDestination = true;
                break;
            }
            int following = here.forwardSwitch == 1 ? here.next : here.nextAlt;
            ASSERT_NE(following, 0) << "scenery " << scenery << " segment " << segment;
            const TrackSegment& next = world->track[following];
            EXPECT_NEAR(next.startX, here.endX, 0.02) << "scenery " << scenery << " segment " << segment;
            EXPECT_NEAR(next.startZ, here.endZ, 0.02) << "scenery " << scenery << " segment " << segment;
            EXPECT_NEAR(next.startHeading, here.endHeading, 1e-4);
            segment = following;
        }
        EXPECT_TRUE(reachedDestination) << "scenery " << scenery;
    }
}

TEST(TrackLayout, TerminusEndsTheLineWithASidingBesideTheMainLine)
{
    auto world = BuildTestWorld(1, 10, 3);
    const int last = world->segmentCount;
    const int c = last - 10;
    const TrackSegment* track = world->track.data();
    EXPECT_EQ(track[c].forwardSign, SignExpect40);
    EXPECT_EQ(track[c].signPresent, 2);
    EXPECT_EQ(track[c + 1].nextAlt, c + 5);
    EXPECT_EQ(track[c + 1].next, c + 2);
    EXPECT_EQ(track[c + 2].forwardSign, SignLimit40);
    EXPECT_EQ(track[c + 3].forwardSign, SignDestination);
    EXPECT_EQ(track[c + 3].signPresent, 9);
    EXPECT_EQ(track[c + 4].next, 1) << "the main line's end";
    EXPECT_EQ(track[last].next, 1) << "the siding's end";
    EXPECT_EQ(track[c + 5].prev, c + 1);
    // c+8 and c+9 run level with c+3 and c+4, 3.95 m to the left.
    float headingCos = std::cos(track[c + 4].endHeading);
    float headingSin = std::sin(track[c + 4].endHeading);
    float dx = track[c + 9].endX - track[c + 4].endX;
    float dz = track[c + 9].endZ - track[c + 4].endZ;
    EXPECT_NEAR(dx * headingSin + dz * headingCos, 0.0, 0.05) << "level along the line";
    EXPECT_NEAR(-dx * headingCos + dz * headingSin, 3.95, 0.05) << "to the left";

    // Strips c .. c+4 and c+10 are the last six.
    const int firstStrip = world->stripCount - 6;
    const int expectedSegments[6] = {c, c + 1, c + 2, c + 3, c + 4, c + 10};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(world->strips[firstStrip + i].segment, expectedSegments[i]);
    EXPECT_EQ(world->strips[firstStrip].leftSide, SideVillage);

    // Its 25 buildings and platforms fill slots 100..124.
    for (int slot = 100; slot < 125; ++slot) {
        EXPECT_NE(world->scenery[slot].type, SceneryEmpty) << slot;
        EXPECT_EQ(world->scenery[slot].rotY, track[c + 4].endHeading);
    }
    EXPECT_EQ(world->scenery[125].type, SceneryEmpty);
}

TEST(TrackLayout, MeetingStationLayoutBLoopRunsBesideTheMainLine)
{
    auto world = BuildTestWorld(1, 10, 3);
    int c = FindMeetingStationSegment(*world, 0);
    ASSERT_GT(c, 8);
    const TrackSegment* track = world->track.data();
    int p = c - 1;
    EXPECT_EQ(track[p].next, c);
    EXPECT_EQ(track[p].nextAlt, c + 3);
    EXPECT_EQ(track[c - 2].signPresent, 2);
    EXPECT_EQ(track[c + 2].next, c + 8);
    EXPECT_EQ(track[c + 3].prev, p);
    EXPECT_EQ(track[c + 7].next, c + 8);
    EXPECT_EQ(track[c + 8].prev, c + 2);
    EXPECT_EQ(track[c + 8].prevAlt, c + 7);
    // Both routes through the station cover 751.16 m of the line and meet again; the loop's
    // four curves are a little longer than the straight they stand beside.
    float mainLength = track[c].length + track[c + 1].length + track[c + 2].length;
    float loopLength = 0.0f;
    for (int i = 3; i <= 7; ++i)
        loopLength += track[c + i].length;
    EXPECT_NEAR(mainLength, 751.16f, 1e-3);
    EXPECT_NEAR(loopLength, 4 * 62.83f + 500.0f, 1e-3);
    EXPECT_NEAR(track[c + 5].startX, track[c + 1].startX + 3.95f * std::cos(track[c + 1].startHeading), 0.02)
        << "the loop runs 3.95 m to the right";
    EXPECT_NEAR(track[c + 7].endX, track[c + 2].endX, 0.02);
    EXPECT_NEAR(track[c + 7].endZ, track[c + 2].endZ, 0.02);
}

TEST(TrackLayout, SceneryFourBuildsLayoutAAtItsFirstMeetingStation)
{
    auto world = BuildTestWorld(4, 10, 3);
    int c = FindMeetingStationSegment(*world, 0);
    ASSERT_GT(c, 8);
    const TrackSegment* track = world->track.data();
    EXPECT_EQ(track[c].type, SegmentCurveLeft);
    EXPECT_EQ(track[c].length, 500.0f);
    EXPECT_EQ(track[c].forwardSign, SignExpectStop);
    EXPECT_EQ(track[c + 3].next, c + 7);
    EXPECT_EQ(track[c + 7].prev, c + 4);
    EXPECT_EQ(track[c + 7].prevAlt, c + 3);
    EXPECT_EQ(track[c + 7].rearSwitch, 1);
    EXPECT_EQ(track[c + 6].prev, 1);
    // The siding ends where the S-bend ends and lies on the line's new alignment.
    EXPECT_NEAR(track[c + 4].endX, track[c + 3].endX, 1e-3);
    EXPECT_NEAR(track[c + 4].endZ, track[c + 3].endZ, 1e-3);
    EXPECT_NEAR(track[c + 5].endX, track[c + 4].startX, 1e-3);
    EXPECT_NEAR(track[c + 6].endZ, track[c + 5].startZ, 1e-3);
    // c+5 starts level with the start of c+1, 3.95 m to its right.
    float heading = track[c + 1].startHeading;
    float dx = track[c + 5].startX - track[c + 1].startX;
    float dz = track[c + 5].startZ - track[c + 1].startZ;
    EXPECT_NEAR(dx * std::sin(heading) + dz * std::cos(heading), 0.0, 0.05);
    EXPECT_NEAR(dx * std::cos(heading) - dz * std::sin(heading), 3.95, 0.05);
    // Its strips: c (4/3), c+1 (open land, 20 m), c+4, c+7 (kind 3).
    int strip = 0;
    while (world->strips[strip].segment != c)
        ++strip;
    EXPECT_EQ(world->strips[strip].leftSide, SideCutting);
    EXPECT_EQ(world->strips[strip].kind, 1);
    EXPECT_EQ(world->strips[strip + 1].leftSide, SideLayoutOpenLand);
    EXPECT_EQ(world->strips[strip + 1].leftRelief, 20.0f);
    EXPECT_EQ(world->strips[strip + 2].segment, c + 4);
    EXPECT_EQ(world->strips[strip + 2].rightRelief, 20.0f);
    EXPECT_EQ(world->strips[strip + 3].segment, c + 7);
    EXPECT_EQ(world->strips[strip + 3].kind, 3);
}

TEST(TrackLayout, MeetingVariantsCycleFromThePresetStart)
{
    auto world = BuildTestWorld(4, 60, 2);
    // Scenery 4 starts at 6: layout A first, then B for 7, 0, 1, ... and A again at 6.
    int stations = 0;
    for (int planIndex = 0; planIndex < PlanLength(*world); ++planIndex)
        stations += world->plan[planIndex].type == PlanMeetingStation;
    ASSERT_GT(stations, 9);
    for (int n = 0; n < stations; ++n) {
        int c = FindMeetingStationSegment(*world, n);
        bool layoutA = world->track[c].type == SegmentCurveLeft && world->track[c].length == 500.0f &&
                       world->track[c].forwardSign == SignExpectStop && world->track[c].signPresent == 2;
        EXPECT_EQ(layoutA, (6 + n) % 8 == 6) << "station " << n;
    }
    EXPECT_EQ(world->meetingVariant, (6 + stations) % 8);
}
