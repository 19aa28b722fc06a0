#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <tuple>

#include "world/track_builder.h"
#include "world_fixture.h"

namespace {

// Where b's end lies from a's end, along a's end heading and to its left (metres).
std::pair<float, float> AlongAndLeft(const TrackSegment& a, float bx, float bz)
{
    float dx = bx - a.endX, dz = bz - a.endZ, s = std::sin(a.endHeading), c = std::cos(a.endHeading);
    return {dx * s + dz * c, -dx * c + dz * s};
}

}  // namespace

TEST(TrackLayout, SceneryOneTenKilometresMatchesTheKnownBuild)
{
    auto world = BuildTestWorld(1, 10, 3);
    const WorldBuildStats& stats = world->buildStats;
    EXPECT_EQ(std::make_tuple(PlanLength(*world), stats.planDraws, stats.trackDraws, stats.resetDraws),
              std::make_tuple(26, 144u, 64782u, 9999u));
    EXPECT_EQ(std::make_tuple(world->segmentCount, world->stripCount, world->eventCount, world->placementIndex),
              std::make_tuple(58, 39, 10, 125));
    std::map<int32_t, int> objects;
    for (const SceneryObject& object : world->scenery)
        objects[object.type] += object.type != SceneryEmpty;
    objects.erase(SceneryEmpty);
    const std::map<int32_t, int> expected = {{SceneryTree, 210}, {SceneryVillageHouseA, 10}, {SceneryVillageHouseB, 16},
                                             {2, 6}, {3, 5}, {4, 1}, {5, 5}, {6, 5}, {ScenerySignalBox, 3},
                                             {SceneryPlatform, 10}, {SceneryRailcar, 2}};
    EXPECT_EQ(objects, expected);
}

TEST(TrackLayout, OriginIsAlwaysSegmentsOneToSeven)
{
    auto world = BuildTestWorld(SceneryCustom, 5, 2, 8);
    const TrackSegment* t = world->track.data();
    // The second track's first segment (3) links back to itself; the station's straights keep
    // the reset radius.
    EXPECT_EQ(std::make_tuple(t[1].length, t[1].next, t[1].prev, t[2].next, t[2].forwardSign, t[3].prev, t[3].next),
              std::make_tuple(100.0f, 2, 0, 7, SignStop, 3, 4));
    EXPECT_EQ(std::make_tuple(t[5].type, t[5].endX, t[5].endZ, t[5].endHeading, t[5].radius),
              std::make_tuple(SegmentCurveRight, -1.97327f, 162.79f, 0.062832f, 1000.0f));
    EXPECT_EQ(std::make_tuple(t[6].type, t[6].next, t[7].prev, t[7].prevAlt, t[7].rearSwitch, t[7].radius),
              std::make_tuple(SegmentCurveLeft, 7, 2, 6, 2, 999.0f));
    for (int strip = 0; strip < 3; ++strip)
        EXPECT_EQ(std::make_pair(world->strips[strip].segment, world->strips[strip].leftSide),
                  std::make_pair(strip < 2 ? strip + 1 : 7, int32_t(SideFlatField)));
    EXPECT_EQ(std::make_tuple(t[7].next, t[8].prev, t[8].startX, t[8].startZ, t[8].startHeading),
              std::make_tuple(8, 7, 0.0f, 325.58f, 0.0f));
}

TEST(TrackLayout, CurvesTurnAboutTheirCentreOnTheInnerSide)
{
    TrackSegment segment = {}, second = {};
    SetSegmentGeometry(segment, SegmentCurveLeft, 500.0f, 1000.0f, 12.0f, -40.0f, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(segment.endHeading, -0.5f);
    EXPECT_NEAR(segment.endX, (12.0 - 1000.0) + std::cos(-0.5) * 1000.0, 1e-3);
    EXPECT_NEAR(segment.endZ, -40.0 - std::sin(-0.5) * 1000.0, 1e-3);
    // An S-bend of two 62.83 m curves shifts the track 3.95 m sideways over 125.58 m.
    SetSegmentGeometry(segment, SegmentCurveRight, 62.83f, 1000.0f, 0.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_NEAR(segment.endHeading, 0.06283f, 1e-6);
    SetSegmentGeometry(second, SegmentCurveLeft, 62.83f, 1000.0f, segment.endX, segment.endZ, 0.0f, segment.endHeading);
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
        int segment = 1, steps = 0;
        while (steps++ < 2000 && !(world->track[segment].signPresent &&
                                   world->track[segment].forwardSign == SignDestination)) {
            const TrackSegment& here = world->track[segment];
            int following = here.forwardSwitch == 1 ? here.next : here.nextAlt;
            ASSERT_NE(following, 0) << "scenery " << scenery << " segment " << segment;
            const TrackSegment& next = world->track[following];
            EXPECT_NEAR(next.startX, here.endX, 0.02) << "scenery " << scenery << " segment " << segment;
            EXPECT_NEAR(next.startZ, here.endZ, 0.02) << "scenery " << scenery << " segment " << segment;
            EXPECT_NEAR(next.startHeading, here.endHeading, 1e-4);
            segment = following;
        }
        EXPECT_LT(steps, 2000) << "scenery " << scenery << " never reaches its destination";
    }
}

TEST(TrackLayout, TerminusEndsTheLineWithASidingBesideTheMainLine)
{
    auto world = BuildTestWorld(1, 10, 3);
    const int last = world->segmentCount, c = last - 10;
    const TrackSegment* t = world->track.data();
    EXPECT_EQ(std::make_tuple(t[c].forwardSign, t[c].signPresent, t[c + 1].nextAlt, t[c + 1].next, t[c + 2].forwardSign),
              std::make_tuple(SignExpect40, 2, c + 5, c + 2, SignLimit40));
    // The main line and the siding both end on segment 1; c+9 ends level with c+4, 3.95 m left.
    EXPECT_EQ(std::make_tuple(t[c + 3].forwardSign, t[c + 3].signPresent, t[c + 4].next, t[last].next, t[c + 5].prev),
              std::make_tuple(SignDestination, 9, 1, 1, c + 1));
    auto [along, left] = AlongAndLeft(t[c + 4], t[c + 9].endX, t[c + 9].endZ);
    EXPECT_NEAR(along, 0.0, 0.05);
    EXPECT_NEAR(left, 3.95, 0.05);
    // Strips c .. c+4 and c+10 are the last six; 25 buildings and platforms fill slots 100..124.
    const int firstStrip = world->stripCount - 6;
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(world->strips[firstStrip + i].segment, i < 5 ? c + i : c + 10);
    EXPECT_EQ(world->strips[firstStrip].leftSide, SideVillage);
    for (int slot = 100; slot < 125; ++slot)
        EXPECT_EQ(std::make_pair(world->scenery[slot].type != SceneryEmpty, world->scenery[slot].rotY),
                  std::make_pair(true, t[c + 4].endHeading)) << slot;
    EXPECT_EQ(world->scenery[125].type, SceneryEmpty);
}

TEST(TrackLayout, MeetingStationLayoutBLoopRunsBesideTheMainLine)
{
    auto world = BuildTestWorld(1, 10, 3);
    int c = MeetingStationSegment(*world, 0);
    ASSERT_GT(c, 8);
    const TrackSegment* t = world->track.data();
    EXPECT_EQ(std::make_tuple(t[c - 1].next, t[c - 1].nextAlt, t[c - 2].signPresent, t[c + 2].next, t[c + 3].prev),
              std::make_tuple(c, c + 3, 2, c + 8, c - 1));
    EXPECT_EQ(std::make_tuple(t[c + 7].next, t[c + 8].prev, t[c + 8].prevAlt), std::make_tuple(c + 8, c + 2, c + 7));
    // Both routes cover 751.16 m of the line and meet again; the loop runs 3.95 m to the right.
    EXPECT_NEAR(t[c].length + t[c + 1].length + t[c + 2].length, 751.16f, 1e-3);
    EXPECT_NEAR(t[c + 3].length + t[c + 4].length + t[c + 5].length + t[c + 6].length + t[c + 7].length,
                4 * 62.83f + 500.0f, 1e-3);
    EXPECT_NEAR(t[c + 5].startX, t[c + 1].startX + 3.95f * std::cos(t[c + 1].startHeading), 0.02);
    EXPECT_NEAR(t[c + 7].endX, t[c + 2].endX, 0.02);
    EXPECT_NEAR(t[c + 7].endZ, t[c + 2].endZ, 0.02);
}

TEST(TrackLayout, SceneryFourBuildsLayoutAAtItsFirstMeetingStation)
{
    auto world = BuildTestWorld(4, 10, 3);
    int c = MeetingStationSegment(*world, 0);
    ASSERT_GT(c, 8);
    const TrackSegment* t = world->track.data();
    EXPECT_EQ(std::make_tuple(t[c].type, t[c].length, t[c].forwardSign, t[c + 3].next, t[c + 7].prev, t[c + 7].prevAlt,
                              t[c + 7].rearSwitch, t[c + 6].prev),
              std::make_tuple(SegmentCurveLeft, 500.0f, SignExpectStop, c + 7, c + 4, c + 3, 1, 1));
    // The siding ends where the S-bend ends, and c+5 starts level with c+1, 3.95 m to its right.
    EXPECT_NEAR(t[c + 4].endX, t[c + 3].endX, 1e-3);
    EXPECT_NEAR(t[c + 4].endZ, t[c + 3].endZ, 1e-3);
    EXPECT_NEAR(t[c + 5].endX, t[c + 4].startX, 1e-3);
    EXPECT_NEAR(t[c + 6].endZ, t[c + 5].startZ, 1e-3);
    TrackSegment before = t[c + 1];
    before.endX = before.startX, before.endZ = before.startZ, before.endHeading = before.startHeading;
    auto [along, left] = AlongAndLeft(before, t[c + 5].startX, t[c + 5].startZ);
    EXPECT_NEAR(along, 0.0, 0.05);
    EXPECT_NEAR(left, -3.95, 0.05);
    // Its strips: c (cutting), c+1 (open land, 20 m), c+4, c+7 (kind 3).
    int s = 0;
    while (world->strips[s].segment != c)
        ++s;
    const GroundStrip* strip = &world->strips[s];
    EXPECT_EQ(std::make_tuple(strip[0].leftSide, strip[0].kind, strip[1].leftSide, strip[1].leftRelief),
              std::make_tuple(SideCutting, 1, SideLayoutOpenLand, 20.0f));
    EXPECT_EQ(std::make_tuple(strip[2].segment, strip[2].rightRelief, strip[3].segment, strip[3].kind),
              std::make_tuple(c + 4, 20.0f, c + 7, 3));
}

TEST(TrackLayout, MeetingVariantsCycleFromThePresetStart)
{
    auto world = BuildTestWorld(4, 60, 2);
    // Scenery 4 starts at 6: layout A first, then B for 7, 0, 1, ... and A again at 6.
    int stations = 0;
    for (int i = 0; i < PlanLength(*world); ++i)
        stations += world->plan[i].type == PlanMeetingStation;
    ASSERT_GT(stations, 9);
    for (int n = 0; n < stations; ++n) {
        const TrackSegment& first = world->track[MeetingStationSegment(*world, n)];
        bool layoutA = first.type == SegmentCurveLeft && first.length == 500.0f &&
                       first.forwardSign == SignExpectStop && first.signPresent == 2;
        EXPECT_EQ(layoutA, (6 + n) % 8 == 6) << "station " << n;
    }
    EXPECT_EQ(world->meetingVariant, (6 + stations) % 8);
}
