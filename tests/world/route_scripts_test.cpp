#include <gtest/gtest.h>

#include "world_fixture.h"

namespace {

int StationSegment(const World& world, int stationNumber)
{
    int segment = 8;
    int seen = 0;
    for (int i = 1; i < PlanLength(world); ++i) {
        if (world.plan[i].type != PlanMeetingStation) {
            segment += 1;
            continue;
        }
        if (seen++ == stationNumber)
            return segment;
        segment += world.track[segment].type == SegmentCurveLeft ? 8 : 9;
    }
    return -1;
}

// The events written for the station that starts at segment c: those whose triggers or
// targets lie within c-5 .. c+11.
std::vector<RouteEvent> EventsNear(const World& world, int c)
{
    std::vector<RouteEvent> events;
    for (int i = 4; i < world.eventCount; ++i) {
        const RouteEvent& e = world.events[i];
        if (e.triggerSegment >= c - 5 && e.triggerSegment <= c + 11)
            events.push_back(e);
    }
    return events;
}

}  // namespace

TEST(RouteScripts, StartingStationSendsTheOncomingTrainOntoTheSecondTrack)
{
    auto world = BuildTestWorld(1, 10, 3);
    const TrainUnit& oncoming = world->trains[2];
    EXPECT_EQ(oncoming.kind, TrainStartingOncoming);
    EXPECT_EQ(oncoming.direction, 1);
    EXPECT_EQ(oncoming.segment, 8);
    EXPECT_EQ(oncoming.speed, 130.0f);
    EXPECT_EQ(oncoming.segmentDistance, 0.0f);
    EXPECT_EQ(oncoming.brake, BrakeReleased);

    const RouteEvent* e = world->events.data();
    EXPECT_EQ(e[0].action, EventSetSpeed);
    EXPECT_EQ(e[0].triggerUnit, 2);
    EXPECT_EQ(e[0].triggerSegment, 8);
    EXPECT_EQ(e[0].speed, 40.0f);
    EXPECT_EQ(e[1].action, EventSetSign);
    EXPECT_EQ(e[1].triggerSegment, 4);
    EXPECT_EQ(e[1].segment, 2);
    EXPECT_EQ(e[1].signCode, SignLineSpeed);
    EXPECT_EQ(e[2].segment, 7);
    EXPECT_EQ(e[2].signEnd, 0);
    EXPECT_EQ(e[3].action, EventRemoveTrain);
    EXPECT_EQ(e[3].triggerSegment, 3);
    EXPECT_EQ(e[3].unit, 2);
}

TEST(RouteScripts, EachVariantSetsItsSignsSwitchesAndEvents)
{
    // Scenery 1 starts the counter at 0: stations show variants 0, 1, 2, 3, 4, 5, 6, 7.
    auto world = BuildTestWorld(1, 40, 3);
    struct Expected {
        int32_t variant;
        int32_t p2Sign, b0Sign, b8Sign, p1Switch, b8RearSwitch;
        size_t events;
        int32_t spawnKind, spawnDirection;
    };
    const Expected expected[] = {
        {0, SignExpect40, SignLimit40, SignStop, 2, 1, 4, TrainLocomotive, 1},
        {1, SignExpectLineSpeed, SignLineSpeed, SignLineSpeed, 1, 1, 2, TrainLocomotiveBringingWagons, 1},
        {2, SignExpect40, SignLimit40, SignStop, 1, 2, 4, TrainLocomotiveBringingWagons, 1},
        {3, SignExpectLineSpeed, SignLineSpeed, SignLineSpeed, 1, 1, 2, TrainLocomotiveWithWagons, 2},
        {4, SignExpect40, SignLimit40, SignStop, 2, 1, 9, TrainLocomotive, 2},
        {5, SignExpectLineSpeed, SignLineSpeed, SignLineSpeed, 1, 1, 2, TrainLocomotiveWithWagons, 2},
    };
    for (const Expected& row : expected) {
        SCOPED_TRACE(testing::Message() << "variant " << row.variant);
        int c = StationSegment(*world, row.variant);
        ASSERT_GT(c, 0);
        const TrackSegment* track = world->track.data();
        EXPECT_EQ(track[c - 2].forwardSign, row.p2Sign);
        EXPECT_EQ(track[c].forwardSign, row.b0Sign);
        EXPECT_EQ(track[c + 6].forwardSign, SignStop);
        EXPECT_EQ(track[c + 8].forwardSign, row.b8Sign);
        EXPECT_EQ(track[c - 1].forwardSwitch, row.p1Switch);
        EXPECT_EQ(track[c + 8].rearSwitch, row.b8RearSwitch);

        std::vector<RouteEvent> events = EventsNear(*world, c);
        ASSERT_EQ(events.size(), row.events);
        EXPECT_EQ(events[0].action, EventSpawnTrain);
        EXPECT_EQ(events[0].unit, 2);
        EXPECT_EQ(events[0].kind, row.spawnKind);
        EXPECT_EQ(events[0].direction, row.spawnDirection);
        EXPECT_EQ(events.back().action, EventRemoveTrain);
    }

    // Variant 4, the overtaking express: it starts five segments back at 200 km/h, and the
    // player's departure from the loop's middle clears the main line and resets the switch.
    int c = StationSegment(*world, 4);
    std::vector<RouteEvent> overtaking = EventsNear(*world, c);
    EXPECT_EQ(overtaking[0].segment, c - 5);
    EXPECT_EQ(overtaking[0].speed, 200.0f);
    EXPECT_EQ(overtaking[0].throttle, 5);
    EXPECT_EQ(overtaking[0].triggerSegment, c + 4);
    EXPECT_EQ(overtaking[3].action, EventSetSwitch);
    EXPECT_EQ(overtaking[3].segment, c - 1);
    EXPECT_EQ(overtaking[3].switchValue, 1);
    EXPECT_EQ(overtaking[8].triggerSegment, c + 11);

    // Variant 2: the last wagon clears the player's signals as it leaves the loop.
    c = StationSegment(*world, 2);
    std::vector<RouteEvent> waiting = EventsNear(*world, c);
    EXPECT_EQ(waiting[1].triggerUnit, 109);
    EXPECT_EQ(waiting[1].triggerSegment, c + 6);
    EXPECT_EQ(waiting[0].segment, c + 10);
    EXPECT_EQ(waiting[0].speed, 40.0f);
}

TEST(RouteScripts, LayoutAScriptBacksTheTrainIntoTheSiding)
{
    auto world = BuildTestWorld(4, 10, 3);
    int c = StationSegment(*world, 0);
    ASSERT_GT(c, 0);
    EXPECT_EQ(world->track[c + 2].forwardSign, SignStop);
    EXPECT_EQ(world->track[c + 4].forwardSign, SignStop);
    EXPECT_EQ(world->track[c + 7].forwardSign, SignStop);
    std::vector<RouteEvent> events = EventsNear(*world, c);
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].kind, TrainLocomotiveBringingWagons);
    EXPECT_EQ(events[0].segment, c + 10);
    EXPECT_EQ(events[0].speed, 70.0f);
    EXPECT_EQ(events[0].throttle, 3);
    EXPECT_EQ(events[1].triggerUnit, 109);
    EXPECT_EQ(events[1].segment, c + 2);
    EXPECT_EQ(events[1].signCode, SignLimit40);
    EXPECT_EQ(events[3].triggerSegment, c + 6);
}
