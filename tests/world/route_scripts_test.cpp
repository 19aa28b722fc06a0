#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "world_fixture.h"

namespace {

// The events written for the station that starts at segment c: those triggered within c-5 .. c+11.
std::vector<RouteEvent> EventsNear(const World& world, int c)
{
    std::vector<RouteEvent> events;
    for (int i = 4; i < world.eventCount; ++i)
        if (world.events[i].triggerSegment >= c - 5 && world.events[i].triggerSegment <= c + 11)
            events.push_back(world.events[i]);
    return events;
}

}  // namespace

TEST(RouteScripts, StartingStationSendsTheOncomingTrainOntoTheSecondTrack)
{
    auto world = BuildTestWorld(1, 10, 3);
    const TrainUnit& t = world->trains[2];
    EXPECT_EQ(std::make_tuple(t.kind, t.direction, t.segment, t.speed, t.segmentDistance, t.brake),
              std::make_tuple(TrainStartingOncoming, 1, 8, 130.0f, 0.0f, BrakeReleased));
    const RouteEvent* e = world->events.data();
    EXPECT_EQ(std::make_tuple(e[0].action, e[0].triggerUnit, e[0].triggerSegment, e[0].speed),
              std::make_tuple(EventSetSpeed, 2, 8, 40.0f));
    EXPECT_EQ(std::make_tuple(e[1].action, e[1].triggerSegment, e[1].segment, e[1].signCode),
              std::make_tuple(EventSetSign, 4, 2, SignLineSpeed));
    EXPECT_EQ(std::make_tuple(e[2].segment, e[2].signEnd), std::make_tuple(7, 0));
    EXPECT_EQ(std::make_tuple(e[3].action, e[3].triggerSegment, e[3].unit), std::make_tuple(EventRemoveTrain, 3, 2));
}

TEST(RouteScripts, EachVariantSetsItsSignsSwitchesAndEvents)
{
    // Scenery 1 starts the counter at 0: stations show variants 0, 1, 2, 3, 4, 5, 6, 7.
    auto world = BuildTestWorld(1, 40, 3);
    struct Expected {
        int32_t p2Sign, b0Sign, b8Sign, p1Switch, b8RearSwitch;
        size_t events;
        int32_t spawnKind, spawnDirection;
    };
    const Expected expected[] = {
        {SignExpect40, SignLimit40, SignStop, 2, 1, 4, TrainLocomotive, 1},
        {SignExpectLineSpeed, SignLineSpeed, SignLineSpeed, 1, 1, 2, TrainLocomotiveBringingWagons, 1},
        {SignExpect40, SignLimit40, SignStop, 1, 2, 4, TrainLocomotiveBringingWagons, 1},
        {SignExpectLineSpeed, SignLineSpeed, SignLineSpeed, 1, 1, 2, TrainLocomotiveWithWagons, 2},
        {SignExpect40, SignLimit40, SignStop, 2, 1, 9, TrainLocomotive, 2},
        {SignExpectLineSpeed, SignLineSpeed, SignLineSpeed, 1, 1, 2, TrainLocomotiveWithWagons, 2},
    };
    for (int variant = 0; variant < 6; ++variant) {
        SCOPED_TRACE(testing::Message() << "variant " << variant);
        const Expected& row = expected[variant];
        int c = MeetingStationSegment(*world, variant);
        ASSERT_GT(c, 0);
        const TrackSegment* track = world->track.data();
        EXPECT_EQ(std::make_tuple(track[c - 2].forwardSign, track[c].forwardSign, track[c + 6].forwardSign,
                                  track[c + 8].forwardSign, track[c - 1].forwardSwitch, track[c + 8].rearSwitch),
                  std::make_tuple(row.p2Sign, row.b0Sign, SignStop, row.b8Sign, row.p1Switch, row.b8RearSwitch));
        std::vector<RouteEvent> events = EventsNear(*world, c);
        ASSERT_EQ(events.size(), row.events);
        EXPECT_EQ(std::make_tuple(events[0].action, events[0].unit, events[0].kind, events[0].direction),
                  std::make_tuple(EventSpawnTrain, 2, row.spawnKind, row.spawnDirection));
        EXPECT_EQ(events.back().action, EventRemoveTrain);
    }
}
