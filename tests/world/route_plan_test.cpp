#include <gtest/gtest.h>

#include <map>

#include "world_fixture.h"

namespace {

bool IsCurve(int32_t type) { return type == PlanCurveLeft || type == PlanCurveRight; }

// The length the plan lays: a meeting station is 850 m, the origin and terminus count nothing.
float PlannedLength(const World& world)
{
    float total = 0.0f;
    for (int i = 0; i < PlanLength(world); ++i) {
        const RoutePlanEntry& entry = world.plan[i];
        if (entry.type == PlanMeetingStation)
            total += 850.0f;
        else if (entry.type != PlanOrigin && entry.type != PlanTerminus)
            total += entry.length;
    }
    return total;
}

}  // namespace

TEST(RoutePlan, SceneryOneHundredKilometresMatchesTheKnownPlan)
{
    auto world = BuildTestWorld(1, 100, 3);
    ASSERT_EQ(PlanLength(*world), 221);
    std::map<int32_t, int> counts;
    for (int i = 0; i < PlanLength(*world); ++i)
        counts[world->plan[i].type] += 1;
    const std::map<int32_t, int> expected = {{PlanStraight, 131}, {PlanCurveLeft, 27}, {PlanCurveRight, 27},
                                             {PlanTunnel, 11},    {PlanMeetingStation, 23}, {PlanOrigin, 1},
                                             {PlanTerminus, 1}};
    EXPECT_EQ(counts, expected);
    EXPECT_FLOAT_EQ(PlannedLength(*world), 100150.0f);
    EXPECT_EQ(world->plan[0].type, PlanOrigin);
    // The first straights take their sides and reliefs from the seed's third to sixth draws
    // on; a curve marks its sides, a meeting station its mark.
    const RoutePlanEntry* e = &world->plan[1];
    EXPECT_EQ(std::make_tuple(e[0].type, e[0].length, e[0].leftSide, e[0].rightSide, e[0].leftRelief, e[0].rightRelief),
              std::make_tuple(PlanStraight, 500.0f, 6334, 26500, 7, 4));
    EXPECT_EQ(std::make_tuple(e[1].leftSide, e[1].rightSide, e[1].leftRelief, e[1].rightRelief),
              std::make_tuple(26962, 24464, -5, 15));
    EXPECT_EQ(std::make_tuple(e[2].type, e[2].length, e[2].leftSide, e[2].rightSide),
              std::make_tuple(PlanCurveLeft, 100.0f, SideCutting, SideCurveOuter));
    EXPECT_EQ(std::make_tuple(e[8].type, e[8].length, e[8].leftSide), std::make_tuple(PlanCurveLeft, 500.0f, SideLakeBank));
    EXPECT_EQ(std::make_tuple(e[9].type, e[9].meetingMark), std::make_tuple(PlanMeetingStation, 7));
    EXPECT_EQ(std::make_tuple(e[10].length, e[10].leftSide, e[10].rightSide, e[10].leftRelief, e[10].rightRelief),
              std::make_tuple(300.0f, 22190, 1842, -10, 17));
}

TEST(RoutePlan, MeetingStationLengthensOnlyShortEntriesJustBeforeIt)
{
    for (int32_t scenery : {1, 2, 3, 4, 5}) {
        auto world = BuildTestWorld(scenery, 100, 2);
        int32_t balance = 0;
        for (int i = 1; i < PlanLength(*world); ++i) {
            const RoutePlanEntry& entry = world->plan[i];
            balance += entry.type == PlanCurveLeft ? int32_t(entry.length) : 0;
            balance -= entry.type == PlanCurveRight ? int32_t(entry.length) : 0;
            // Left curves until the route has turned 750 m left, then right ones: with one
            // curve lengthened by a station, the balance stays within these bounds.
            ASSERT_TRUE(balance < 750 + 500 + 400 && balance > 750 - 500 - 400 - 1) << scenery << " entry " << i;
            if (entry.type != PlanMeetingStation)
                continue;
            for (int k = 1; k <= 2; ++k) {
                if (world->plan[i - k].type == PlanStraight || IsCurve(world->plan[i - k].type)) {
                    EXPECT_EQ(world->plan[i - k].length, 500.0f) << scenery << " entry " << i - k;
                }
            }
            int32_t next = world->plan[i + 1].type;
            EXPECT_TRUE(next == PlanStraight || next == PlanTunnel || next == PlanTerminus);
        }
    }
}

TEST(RoutePlan, EveryPlanEndsWithItsTerminusAfterReachingTheLength)
{
    for (int32_t lengthKm : {5, 17, 100}) {
        for (int32_t meetingKm : {2, 10}) {
            auto world = BuildTestWorld(SceneryCustom, lengthKm, meetingKm, 31337);
            int last = PlanLength(*world) - 1;
            EXPECT_EQ(world->plan[last].type, PlanTerminus);
            EXPECT_EQ(FindPlanTerminus(world->plan), last);
            // The overshoot is at most one meeting station with its lengthened entries.
            EXPECT_GE(PlannedLength(*world), lengthKm * 1000.0f);
            EXPECT_LE(PlannedLength(*world), lengthKm * 1000.0f + 850.0f + 800.0f);
        }
    }
}
