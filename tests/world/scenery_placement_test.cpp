#include <gtest/gtest.h>

#include <algorithm>
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

TEST(SceneryPlacement, VillagesStandInRowsEveryTwentyMetresOverTheSegmentsMiddle)
{
    // Rows from a fifth of the segment on, every 20 m, while short of four fifths of it as the
    // double product of the length and 0.8f, which lies just above a whole 4/5: so the row at 4/5
    // is laid too. Each row stands 20 to 80 m out on either side.
    int placed = 0;
    float farthest = 0.0f;
    for (float length : {500.0f, 1000.0f, 1500.0f, 2000.0f}) {
        auto world = WorldWithOneStraight(length, SideVillage, SideVillage, 0);
        PlaceVillages(*world, 1, SideVillage, SideVillage);
        for (int i = SceneryPlacementFirstSlot; i < world->placementIndex; ++i, ++placed) {
            const SceneryObject& object = world->scenery[i];
            float along = std::max(std::abs(object.x - 100.0f), std::abs(object.z - 200.0f));
            float out = std::min(std::abs(object.x - 100.0f), std::abs(object.z - 200.0f));
            float row = (along - 0.2f * length) / 20.0f;
            SCOPED_TRACE(testing::Message() << length << " m, object at " << along << " m along, " << out << " m out");
            EXPECT_NEAR(row, std::round(row), 1e-3f);
            EXPECT_TRUE(row > -0.5f && along < 0.8f * length + 10.0f);
            EXPECT_TRUE(out > 19.9f && out < 80.1f && std::abs(out / 20.0f - std::round(out / 20.0f)) < 1e-3f);
            farthest = std::max(farthest, along / length);
        }
    }
    EXPECT_GT(placed, 100);
    EXPECT_NEAR(farthest, 0.8f, 1e-4f) << "the row at four fifths";
}
