#include <gtest/gtest.h>

#include <cstring>

#include "world_fixture.h"

TEST(WorldReset, EmptiesTheTablesAndPutsThePlayerBrakedAtTheStart)
{
    auto world = std::make_unique<World>();
    // Leave rubbish from an earlier run in the tables.
    world->score = 1234;
    world->destinationState = 2;
    world->messageSeconds = 7;
    world->trains[5].kind = TrainWagon;
    world->events[3].action = EventSetSign;
    world->track[40].type = SegmentStraight;
    world->track[40].next = 41;
    world->strips[12].kind = 3;
    world->scenery[500].type = SceneryTree;
    world->meetingVariant = 5;

    WorldReset(*world);

    EXPECT_EQ(world->score, 0);
    EXPECT_EQ(world->destinationState, 0);
    EXPECT_EQ(world->messageSeconds, 0);
    EXPECT_EQ(world->trains[5].kind, TrainNone);
    EXPECT_EQ(world->events[3].action, EventNone);
    EXPECT_EQ(world->strips[12].kind, 0);
    EXPECT_EQ(world->scenery[500].type, SceneryEmpty);
    EXPECT_EQ(world->meetingVariant, 0);
    EXPECT_EQ(world->forestBlockChance, 32767);

    const TrackSegment& segment = world->track[40];
    EXPECT_EQ(segment.type, SegmentNone);
    EXPECT_EQ(segment.next, 0);
    EXPECT_EQ(segment.forwardSwitch, 1);
    EXPECT_EQ(segment.rearSwitch, 1);
    EXPECT_EQ(segment.length, 999.0f);
    EXPECT_EQ(segment.radius, 999.0f);
    EXPECT_EQ(segment.occupancy, 1);
    EXPECT_EQ(world->track[1].occupancy, 2);
    EXPECT_EQ(world->track[1].length, 999.0f) << "segment 1 is only laid by the track build";

    ASSERT_EQ(world->playerUnit, 1);
    const TrainUnit& player = world->trains[1];
    EXPECT_EQ(player.kind, TrainLocomotive);
    EXPECT_EQ(player.segment, 1);
    EXPECT_EQ(player.segmentDistance, 70.0f);
    EXPECT_EQ(player.brake, BrakeFull);
    EXPECT_EQ(player.throttle, 0);
    EXPECT_EQ(player.speedLimit, 40);
    EXPECT_EQ(player.announcedLimit, NoAnnouncedLimit);
    EXPECT_EQ(player.lineSpeed, 130);
    EXPECT_EQ(player.cameraOffsetX, -0.5f);
    EXPECT_EQ(player.cameraOffsetY, 2.5f);
    EXPECT_EQ(player.objectIndex, 0);
    EXPECT_EQ(world->scenery[0].type, SceneryRailcar);

    const TrainUnit& other = world->trains[2];
    EXPECT_EQ(other.brake, BrakeReleased);
    EXPECT_EQ(other.gear, 1);
    EXPECT_EQ(other.segment, 1);
}

TEST(WorldReset, GroundNoiseIsDrawnFromWhereverTheGeneratorStands)
{
    auto world = std::make_unique<World>();
    world->random.seed(99);
    uint64_t before = world->random.drawCount;
    WorldReset(*world);
    EXPECT_EQ(world->random.drawCount - before, 9999u);

    GameRandom replay;
    replay.seed(99);
    for (int i = 0; i < GroundNoiseCapacity; ++i) {
        float expected = static_cast<float>(replay.draw()) / 32767.0f;
        ASSERT_EQ(world->groundNoise[i], expected) << i;
        ASSERT_GE(world->groundNoise[i], 0.0f);
        ASSERT_LE(world->groundNoise[i], 1.0f);
    }
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
    for (int i = 1; i <= plain->segmentCount; ++i) {
        EXPECT_EQ(plain->track[i].endX, world->track[i].endX) << i;
        EXPECT_EQ(plain->track[i].endZ, world->track[i].endZ) << i;
    }
    for (int slot = 0; slot < SceneryCapacity; ++slot)
        ASSERT_EQ(plain->scenery[slot].type, world->scenery[slot].type) << slot;
}

TEST(WorldReset, RegistersEveryTextureOnceWhateverTheCase)
{
    auto world = std::make_unique<World>();
    WorldReset(*world);
    EXPECT_EQ(world->textures.count, 31);
    WorldReset(*world);
    EXPECT_EQ(world->textures.count, 31) << "a second build registers nothing new";

    EXPECT_STREQ(world->textures.entries[0].name, "gras.bmp");
    EXPECT_STREQ(world->textures.entries[30].name, "CONTROLR.BMP");
    struct Expected {
        const char* name;
        int32_t flags;
    };
    const Expected expected[] = {{"GRAS.BMP", 0},          {"Tree1.bmp", TextureBlackTransparent},
                                 {"sign0014.bmp", TextureBlackTransparent}, {"c.bmp", 0},
                                 {"wheel.bmp", TextureWhiteTransparent},    {"town_7.bmp", 0},
                                 {"calc_5.bmp", 0}};
    for (const Expected& texture : expected) {
        int index = FindTextureRegistration(world->textures, texture.name);
        ASSERT_GE(index, 0) << texture.name;
        EXPECT_EQ(world->textures.entries[index].flags, texture.flags) << texture.name;
    }
    EXPECT_EQ(FindTextureRegistration(world->textures, "gras.bm"), -1);
    EXPECT_TRUE(RegisterTextureName(world->textures, "GRAS.BMP", 2));
    EXPECT_EQ(world->textures.count, 31);
}
