#include <gtest/gtest.h>

#include <cmath>

#include "world/track_builder.h"
#include "world_fixture.h"

namespace {

// A reset world whose segment 1 is a straight of the given length, and whose plan entry 0
// carries the given sides.
std::unique_ptr<World> WorldWithOneStraight(float length, int32_t leftSide, int32_t rightSide, int32_t forest,
                                            int32_t type = SegmentStraight, float heading = 0.0f)
{
    auto world = std::make_unique<World>();
    WorldReset(*world);
    SetSegmentGeometry(world->track[1], type, length, 0.0f, 100.0f, 200.0f, 0.0f, heading);
    RoutePlanEntry& entry = world->plan[0];
    entry = {};
    entry.type = type;
    entry.length = length;
    entry.leftSide = leftSide;
    entry.rightSide = rightSide;
    entry.forestDensity = forest;
    world->placementIndex = SceneryPlacementFirstSlot;
    return world;
}

uint64_t ForestDraws(World& world)
{
    uint64_t before = world.random.drawCount;
    PlaceForest(world, 1, 0);
    return world.random.drawCount - before;
}

}  // namespace

TEST(SceneryPlacement, ForestBlocksVisitTheirWholeGridWhateverTheDensity)
{
    // Six gate draws, then one draw per grid point of every open-land block: a 300 m side has
    // 720 + 592 + 240 points, a 500 m side 1200 + 976 + 400.
    struct Case {
        float length;
        int32_t left, right;
        uint64_t draws;
    };
    const Case cases[] = {
        {300.0f, 5000, SideVillage, 6 + 1552},
        {300.0f, 5000, 20000, 6 + 2 * 1552},
        {500.0f, 150, 32767, 6 + 2 * 2576},
        {500.0f, SideCurveOuter, SideVillage, 6},
        {300.0f, SideTunnel, SideTunnel, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.length << " m, sides " << c.left << "/" << c.right);
        auto world = WorldWithOneStraight(c.length, c.left, c.right, 0);
        EXPECT_EQ(ForestDraws(*world), c.draws);
        EXPECT_EQ(world->placementIndex, SceneryPlacementFirstSlot) << "density 0 plants no tree";
    }
}

TEST(SceneryPlacement, ForestStandsBesideTheTrackAndFollowsTheRelief)
{
    auto world = WorldWithOneStraight(500.0f, 20000, 20000, 5, SegmentStraight, 3.1416f / 2);
    world->plan[0].leftRelief = 0;
    world->plan[0].rightRelief = 40;
    world->random.seed(3);
    PlaceForest(*world, 1, 0);
    int trees = world->placementIndex - SceneryPlacementFirstSlot;
    // Density 5 plants a tree at about one grid point in 65.
    EXPECT_GT(trees, 2 * 2576 / 100);
    EXPECT_LT(trees, 2 * 2576 / 40);
    int leftTrees = 0;
    for (int slot = SceneryPlacementFirstSlot; slot < world->placementIndex; ++slot) {
        const SceneryObject& tree = world->scenery[slot];
        ASSERT_EQ(tree.type, SceneryTree);
        // Heading pi/2 runs along +x; the left side is +z.
        float along = tree.x - 100.0f;
        float across = tree.z - 200.0f;
        EXPECT_GE(along, -0.01f);
        EXPECT_LT(along, 500.0f);
        EXPECT_GE(std::fabs(across), 20.0f - 0.01f);
        EXPECT_LT(std::fabs(across), 400.0f);
        if (across > 0) {
            ++leftTrees;
            EXPECT_FLOAT_EQ(tree.y, -1.0f) << "flat land on the left";
        } else {
            // The land rises to the relief: at most 40 m above the ground's base.
            EXPECT_GE(tree.y, -1.0f);
            EXPECT_LE(tree.y, 40.0f * 5.0f);
        }
        EXPECT_GE(tree.variation, 0);
    }
    EXPECT_GT(leftTrees, 0);
}

TEST(SceneryPlacement, VillagesStandOnTheirGridOneMetreBelowTheTrack)
{
    for (bool leftSide : {true, false}) {
        SCOPED_TRACE(leftSide ? "left village" : "right village");
        auto world = WorldWithOneStraight(300.0f, leftSide ? SideVillage : 500, leftSide ? 500 : SideVillage, 0);
        // Many seeds, so both houses and trees appear.
        int houses = 0, trees = 0;
        for (uint32_t seed = 1; seed <= 40; ++seed) {
            world->random.seed(seed);
            world->placementIndex = SceneryPlacementFirstSlot;
            PlaceVillages(*world, 1, world->plan[0].leftSide, world->plan[0].rightSide);
            for (int slot = SceneryPlacementFirstSlot; slot < world->placementIndex; ++slot) {
                const SceneryObject& object = world->scenery[slot];
                float along = object.z - 200.0f;
                float across = object.x - 100.0f;  // heading 0: the left side is -x
                EXPECT_FLOAT_EQ(object.y, -1.0f);
                EXPECT_TRUE(leftSide ? across < 0 : across > 0);
                float w = std::fabs(across);
                EXPECT_NEAR(std::fmod(w, 20.0f), 0.0f, 1e-3);
                EXPECT_GE(w, 20.0f);
                EXPECT_LE(w, 80.0f);
                EXPECT_GE(along, 60.0f);
                EXPECT_LE(along, 240.0f);
                EXPECT_NEAR(std::fmod(along - 60.0f, 20.0f), 0.0f, 1e-3);
                if (object.type == SceneryTree) {
                    ++trees;
                } else {
                    ++houses;
                    EXPECT_TRUE(object.type == SceneryVillageHouseA || object.type == SceneryVillageHouseB);
                    EXPECT_GE(object.rotY, 0.0f);
                    EXPECT_LE(object.rotY, 1.0f);
                }
            }
        }
        EXPECT_GT(houses, 0);
        EXPECT_GT(trees, 0);
        // Of 40 grid points a side, a village fills about 15 % with houses and a few trees.
        EXPECT_LT(houses + trees, 40 * 40 / 3);
    }
}

TEST(SceneryPlacement, AFullTableKeepsOverwritingItsLastSlot)
{
    auto world = WorldWithOneStraight(500.0f, 20000, 20000, 5);
    world->placementIndex = SceneryLastSlot - 3;
    world->scenery[SceneryCapacity - 1].type = SceneryEmpty;
    PlaceForest(*world, 1, 0);
    EXPECT_EQ(world->placementIndex, SceneryLastSlot);
    EXPECT_EQ(world->scenery[SceneryLastSlot].type, SceneryTree);
    EXPECT_EQ(world->scenery[SceneryCapacity - 1].type, SceneryEmpty) << "nothing is written past the last slot";
}

TEST(SceneryPlacement, StationObjectsStandWhereTheLayoutsPutThem)
{
    auto world = BuildTestWorld(1, 10, 3);
    // The starting station's buildings, signal box and platforms take slots 200..207.
    const struct {
        int32_t type;
        float x, z;
    } origin[8] = {{2, -20, 100}, {3, -20, 130}, {4, -20, 160}, {5, -20, 190},
                   {6, -20, 220}, {20, 5, 200},  {21, 4, 50},   {21, -8, 50}};
    for (int i = 0; i < 8; ++i) {
        const SceneryObject& object = world->scenery[200 + i];
        EXPECT_EQ(object.type, origin[i].type) << i;
        EXPECT_EQ(object.x, origin[i].x) << i;
        EXPECT_EQ(object.z, origin[i].z) << i;
        EXPECT_EQ(object.y, 0.0f);
    }
    // The oncoming train's object takes the first free slot after the player's.
    EXPECT_EQ(world->scenery[1].type, SceneryRailcar);
    EXPECT_EQ(world->trains[2].objectIndex, 1);

    // Each layout-B meeting station has a signal box 250 m along its middle straight, 5 m left.
    int boxes = 0;
    for (int slot = 208; slot < SceneryCapacity; ++slot) {
        const SceneryObject& object = world->scenery[slot];
        if (object.type != ScenerySignalBox)
            continue;
        ++boxes;
        bool besideAStraight = false;
        for (int s = 8; s <= world->segmentCount; ++s) {
            const TrackSegment& segment = world->track[s];
            if (segment.length != 500.0f || segment.type != SegmentStraight)
                continue;
            float x = segment.startX + 250.0f * std::sin(segment.startHeading) - 5.0f * std::cos(segment.startHeading);
            float z = segment.startZ + 250.0f * std::cos(segment.startHeading) + 5.0f * std::sin(segment.startHeading);
            if (std::fabs(x - object.x) < 0.01f && std::fabs(z - object.z) < 0.01f) {
                besideAStraight = true;
                EXPECT_EQ(object.rotY, segment.startHeading);
            }
        }
        EXPECT_TRUE(besideAStraight) << "signal box in slot " << slot;
    }
    EXPECT_EQ(boxes, 2);
}
