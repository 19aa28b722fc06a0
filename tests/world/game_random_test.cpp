#include <gtest/gtest.h>

#include "world/game_random.h"

TEST(GameRandom, StartsAsSeedOneRepeatsAfterReseedingAndStaysWithinFifteenBits)
{
    GameRandom fresh, seeded;
    seeded.seed(1);
    for (int32_t value : {41, 18467, 6334, 26500, 19169, 15724}) {
        EXPECT_EQ(fresh.draw(), value);
        EXPECT_EQ(seeded.draw(), value);
    }
    EXPECT_EQ(seeded.drawCount, 6u);
    seeded.seed(0xFFFFFFFFu);
    int32_t first = seeded.draw(), highest = 0;
    for (int i = 0; i < 100000; ++i) {
        int32_t value = seeded.draw();
        ASSERT_TRUE(value >= 0 && value <= 32767) << value;
        highest = std::max(highest, value);
    }
    EXPECT_GT(highest, 32700);
    seeded.seed(0xFFFFFFFFu);
    EXPECT_EQ(seeded.draw(), first);
    EXPECT_EQ(seeded.drawCount, 100008u) << "seeding does not reset the draw count";
}
