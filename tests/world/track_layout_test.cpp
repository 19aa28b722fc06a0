#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <tuple>

#include "world/track_builder.h"
#include "world_fixture.h"

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

TEST(TrackLayout, TerminusEndsTheLineWithASidingBesideTheMainLine)
{
    auto world = BuildTestWorld(1, 10, 3);
    const int last = world->segmentCount;
    const int c = last - 10;
    const TrackSegment* t = world->track.data();
    EXPECT_EQ(std::make_tuple(t[c + 1].next, t[c + 1].nextAlt, t[c + 5].prev, t[c + 4].next, t[last].next),
              std::make_tuple(c + 2, c + 5, c + 1, 1, 1));
    EXPECT_EQ(std::make_tuple(t[c].forwardSign, t[c + 2].forwardSign, t[c + 3].forwardSign, t[c + 3].signPresent),
              std::make_tuple(SignExpect40, SignLimit40, SignDestination, 9));
    // The siding's end, c+9, stands level with the main line's, c+4, 3.95 m to the left.
    float dx = t[c + 9].endX - t[c + 4].endX, dz = t[c + 9].endZ - t[c + 4].endZ;
    float headingCos = std::cos(t[c + 4].endHeading), headingSin = std::sin(t[c + 4].endHeading);
    EXPECT_NEAR(dx * headingSin + dz * headingCos, 0.0, 0.05) << "level along the line";
    EXPECT_NEAR(-dx * headingCos + dz * headingSin, 3.95, 0.05) << "to the left";
}

TEST(TrackLayout, EveryGroundStripTakesItsSegmentsEnds)
{
    auto world = BuildTestWorld(1, 10, 3);
    ASSERT_GT(world->stripCount, 30);
    for (int i = 0; i < world->stripCount; ++i) {
        const GroundStrip& s = world->strips[i];
        const TrackSegment& t = world->track[s.segment];
        EXPECT_EQ(std::make_tuple(s.startX, s.startZ, s.startHeight, s.startHeading, s.endX, s.endZ, s.endHeight, s.endHeading),
                  std::make_tuple(t.startX, t.startZ, t.startHeight, t.startHeading, t.endX, t.endZ, t.endHeight, t.endHeading))
            << "strip " << i << " of segment " << s.segment;
    }
}
