#include <gtest/gtest.h>

#include <vector>

#include "../shell_test_world.h"
#include "shell/commands/route_report.h"

// Preset k starts its meeting stations at variant 2(k - 1) and takes the next of the eight at
// each station after.
TEST(RouteReport, MeetingVariantsStartWhereEachPresetStartsThemAndGoRound)
{
    const std::pair<int32_t, int32_t> cases[] = {{1, 0}, {2, 2}, {3, 4}, {4, 6}, {5, 0}};
    for (auto [scenery, firstVariant] : cases) {
        auto world = BuildPresetWorld(scenery, scenery == 1 ? 100 : 20, 2);
        std::vector<int32_t> variants = SummarizeRoute(*world).meetingVariants;
        ASSERT_GE(variants.size(), scenery == 1 ? 20u : 2u) << scenery;
        for (size_t k = 0; k < variants.size(); ++k)
            EXPECT_EQ(variants[k], static_cast<int32_t>((firstVariant + k) % 8)) << scenery << " station " << k;
    }
    // Layout A (variant 6) alone starts with a left curve of 500 m: the track itself agrees.
    auto world = BuildPresetWorld(4, 20, 2);
    int segment = 8;
    for (int planIndex = 1; world->plan[planIndex].type != PlanMeetingStation; ++planIndex)
        ++segment;
    EXPECT_EQ(world->track[segment].type, SegmentCurveLeft);
    EXPECT_FLOAT_EQ(world->track[segment].length, 500.0f);
}
