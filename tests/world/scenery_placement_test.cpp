#include <gtest/gtest.h>

#include <cmath>

#include "world/track_builder.h"
#include "world_fixture.h"

namespace {

// A reset world whose segment 1 is a straight from (100, 200), and whose plan entry 0 carries
// the given sides.
std::unique_ptr<World> WorldWithOneStraight(float length, int32_t leftSide, int32_t rightSide, int32_t forest,
                                            float heading = 0.0f)
{
    auto world = std::make_unique<World>();
    WorldReset(*world);
    SetSegmentGeometry(world->track[1], SegmentStraight, length, 0.0f, 100.0f, 200.0f, 0.0f, heading);
    world->plan[0] = {};
    world->plan[0].type = SegmentStraight;
    world->plan[0].length = length;
    world->plan[0].leftSide = leftSide;
    world->plan[0].rightSide = rightSide;
    world->plan[0].forestDensity = forest;
    world->placementIndex = SceneryPlacementFirstSlot;
    return world;
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
    for (const Case& c : {Case{300.0f, 5000, SideVillage, 6 + 1552}, Case{300.0f, 5000, 20000, 6 + 2 * 1552},
                          Case{500.0f, 150, 32767, 6 + 2 * 2576}, Case{500.0f, SideCurveOuter, SideVillage, 6},
                          Case{300.0f, SideTunnel, SideTunnel, 6}}) {
        auto world = WorldWithOneStraight(c.length, c.left, c.right, 0);
        PlaceForest(*world, 1, 0);
        EXPECT_EQ(world->random.drawCount, 9999u + c.draws) << c.length << " m, sides " << c.left << "/" << c.right;
        EXPECT_EQ(world->placementIndex, SceneryPlacementFirstSlot) << "density 0 plants no tree";
    }
}

TEST(SceneryPlacement, ForestStandsBesideTheTrackAndFollowsTheRelief)
{
    auto world = WorldWithOneStraight(500.0f, 20000, 20000, 5, 3.1416f / 2);
    world->plan[0].rightRelief = 40;
    world->random.seed(3);
    PlaceForest(*world, 1, 0);
    // Density 5 plants a tree at about one grid point in 65.
    int trees = world->placementIndex - SceneryPlacementFirstSlot, leftTrees = 0;
    EXPECT_TRUE(trees > 2 * 2576 / 100 && trees < 2 * 2576 / 40) << trees;
    for (int slot = SceneryPlacementFirstSlot; slot < world->placementIndex; ++slot) {
        const SceneryObject& tree = world->scenery[slot];
        ASSERT_EQ(tree.type, SceneryTree);
        // Heading pi/2 runs along +x; the left side is +z, flat; the right rises to its relief.
        float along = tree.x - 100.0f, across = tree.z - 200.0f;
        EXPECT_TRUE(along >= -0.01f && along < 500.0f) << along;
        EXPECT_TRUE(std::fabs(across) >= 20.0f - 0.01f && std::fabs(across) < 400.0f) << across;
        leftTrees += across > 0;
        if (across > 0)
            EXPECT_FLOAT_EQ(tree.y, -1.0f);
        else
            EXPECT_TRUE(tree.y >= -1.0f && tree.y <= 40.0f * 5.0f) << tree.y;
        EXPECT_GE(tree.variation, 0);
    }
    EXPECT_GT(leftTrees, 0);
}

TEST(SceneryPlacement, VillagesStandOnTheirGridOneMetreBelowTheTrack)
{
    for (bool leftSide : {true, false}) {
        auto world = WorldWithOneStraight(300.0f, leftSide ? SideVillage : 500, leftSide ? 500 : SideVillage, 0);
        int houses = 0, trees = 0;
        for (uint32_t seed = 1; seed <= 40; ++seed) {
            world->random.seed(seed);
            world->placementIndex = SceneryPlacementFirstSlot;
            PlaceVillages(*world, 1, world->plan[0].leftSide, world->plan[0].rightSide);
            for (int slot = SceneryPlacementFirstSlot; slot < world->placementIndex; ++slot) {
                const SceneryObject& object = world->scenery[slot];
                // Heading 0: the left side is -x. Grid points every 20 m, 20..80 m out and
                // 60..240 m along.
                float along = object.z - 200.0f, across = object.x - 100.0f;
                EXPECT_FLOAT_EQ(object.y, -1.0f);
                EXPECT_EQ(across < 0, leftSide);
                EXPECT_NEAR(std::fmod(std::fabs(across), 20.0f), 0.0f, 1e-3);
                EXPECT_NEAR(std::fmod(along - 60.0f, 20.0f), 0.0f, 1e-3);
                EXPECT_TRUE(std::fabs(across) >= 20.0f && std::fabs(across) <= 80.0f && along >= 60.0f && along <= 240.0f);
                trees += object.type == SceneryTree;
                houses += object.type != SceneryTree;
                EXPECT_TRUE(object.type == SceneryTree || ((object.type == SceneryVillageHouseA ||
                    object.type == SceneryVillageHouseB) && object.rotY >= 0.0f && object.rotY <= 1.0f));
            }
        }
        // Of 40 grid points a side, a village fills about 15 % with houses and a few trees.
        EXPECT_TRUE(houses > 0 && trees > 0 && houses + trees < 40 * 40 / 3) << houses << " " << trees;
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
    const float origin[8][3] = {{2, -20, 100}, {3, -20, 130}, {4, -20, 160}, {5, -20, 190},
                                {6, -20, 220}, {20, 5, 200},  {21, 4, 50},   {21, -8, 50}};
    for (int i = 0; i < 8; ++i) {
        const SceneryObject& object = world->scenery[200 + i];
        EXPECT_EQ(std::make_tuple(float(object.type), object.x, object.y, object.z),
                  std::make_tuple(origin[i][0], origin[i][1], 0.0f, origin[i][2])) << i;
    }
    // The oncoming train's object takes the first free slot after the player's.
    EXPECT_EQ(std::make_pair(world->scenery[1].type, world->trains[2].objectIndex), std::make_pair(int32_t(SceneryRailcar), 1));
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
            float x = segment.startX + 250.0f * std::sin(segment.startHeading) - 5.0f * std::cos(segment.startHeading);
            float z = segment.startZ + 250.0f * std::cos(segment.startHeading) + 5.0f * std::sin(segment.startHeading);
            if (segment.length == 500.0f && segment.type == SegmentStraight && std::fabs(x - object.x) < 0.01f &&
                std::fabs(z - object.z) < 0.01f) {
                besideAStraight = true;
                EXPECT_EQ(object.rotY, segment.startHeading);
            }
        }
        EXPECT_TRUE(besideAStraight) << "signal box in slot " << slot;
    }
    EXPECT_EQ(boxes, 2);
}
