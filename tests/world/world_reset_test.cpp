#include <gtest/gtest.h>

#include <tuple>

#include "world_fixture.h"

TEST(WorldReset, EmptiesTheTablesAndPutsThePlayerBrakedAtTheStart)
{
    auto world = std::make_unique<World>();
    // Rubbish from an earlier run.
    world->score = 1234;
    world->destinationState = 2;
    world->messageSeconds = 7;
    world->trains[5].kind = TrainWagon;
    world->events[3].action = EventSetSign;
    world->track[40] = {};
    world->strips[12].kind = 3;
    world->scenery[500].type = SceneryTree;
    world->meetingVariant = 5;
    WorldReset(*world);

    EXPECT_EQ(std::make_tuple(world->score, world->destinationState, world->messageSeconds, world->meetingVariant,
                              world->forestBlockChance),
              std::make_tuple(0, 0, 0, 0, 32767));
    EXPECT_EQ(std::make_tuple(world->trains[5].kind, world->events[3].action, world->strips[12].kind,
                              world->scenery[500].type),
              std::make_tuple(TrainNone, EventNone, 0, SceneryEmpty));
    const TrackSegment& s = world->track[40];
    EXPECT_EQ(std::make_tuple(s.type, s.next, s.forwardSwitch, s.rearSwitch, s.length, s.radius, s.occupancy),
              std::make_tuple(SegmentNone, 0, 1, 1, 999.0f, 999.0f, 1));
    EXPECT_EQ(std::make_tuple(world->track[1].occupancy, world->track[1].length), std::make_tuple(2, 999.0f));

    ASSERT_EQ(world->playerUnit, 1);
    const TrainUnit& p = world->trains[1];
    EXPECT_EQ(std::make_tuple(p.kind, p.segment, p.segmentDistance, p.brake, p.throttle, p.speedLimit,
                              p.announcedLimit, p.lineSpeed, p.cameraOffsetX, p.cameraOffsetY, p.objectIndex),
              std::make_tuple(TrainLocomotive, 1, 70.0f, BrakeFull, 0, 40, NoAnnouncedLimit, 130, -0.5f, 2.5f, 0));
    EXPECT_EQ(world->scenery[0].type, SceneryRailcar);
    EXPECT_EQ(std::make_tuple(world->trains[2].brake, world->trains[2].gear, world->trains[2].segment),
              std::make_tuple(BrakeReleased, 1, 1));
}

TEST(WorldReset, DrawsBeforeTheBuildShiftTheNoiseButNotTheRoute)
{
    auto plain = BuildTestWorld(1, 10, 3, 5);
    auto world = std::make_unique<World>();
    GameOptions options;
    options.totalLengthKm = 10;
    world->random.seed(5);
    for (int i = 0; i < 5; ++i)
        world->random.draw();  // as the options dialog's Random button does
    BuildWorld(*world, options, 5);
    EXPECT_NE(plain->groundNoise[0], world->groundNoise[0]);
    ASSERT_EQ(plain->segmentCount, world->segmentCount);
    for (int i = 1; i <= plain->segmentCount; ++i)
        EXPECT_EQ(std::make_pair(plain->track[i].endX, plain->track[i].endZ),
                  std::make_pair(world->track[i].endX, world->track[i].endZ)) << i;
    for (int slot = 0; slot < SceneryCapacity; ++slot)
        ASSERT_EQ(plain->scenery[slot].type, world->scenery[slot].type) << slot;
}
