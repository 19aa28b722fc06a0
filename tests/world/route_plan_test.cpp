#include <gtest/gtest.h>

#include <map>

#include "world_fixture.h"

namespace {

std::map<int32_t, int> CountPlanTypes(const World& world)
{
    std::map<int32_t, int> counts;
    for (int i = 0; i < PlanLength(world); ++i)
        counts[world.plan[i].type] += 1;
    return counts;
}

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
    auto counts = CountPlanTypes(*world);
    EXPECT_EQ(counts[PlanStraight], 131);
    EXPECT_EQ(counts[PlanCurveLeft], 27);
    EXPECT_EQ(counts[PlanCurveRight], 27);
    EXPECT_EQ(counts[PlanTunnel], 11);
    EXPECT_EQ(counts[PlanMeetingStation], 23);
    EXPECT_EQ(counts[PlanOrigin], 1);
    EXPECT_EQ(counts[PlanTerminus], 1);
    EXPECT_FLOAT_EQ(PlannedLength(*world), 100150.0f);
    EXPECT_EQ(world->plan[0].type, PlanOrigin);
    EXPECT_EQ(world->plan[220].type, PlanTerminus);

    struct Expected {
        int32_t type;
        float length;
        int32_t leftSide, rightSide, leftRelief, rightRelief;
    };
    // -1 marks a field the entry does not carry.
    const Expected start[] = {
        {PlanStraight, 500, 6334, 26500, 7, 4},
        {PlanStraight, 500, 26962, 24464, -5, 15},
        {PlanCurveLeft, 100, SideCutting, SideCurveOuter, -1, -1},
        {PlanStraight, 300, -1, -1, -1, -1},
        {PlanStraight, 300, -1, -1, -1, -1},
        {PlanStraight, 500, -1, -1, -1, -1},
        {PlanCurveLeft, 300, -1, -1, -1, -1},
        {PlanStraight, 500, -1, -1, -1, -1},
        {PlanCurveLeft, 500, SideLakeBank, -1, -1, -1},
        {PlanMeetingStation, -1, -1, -1, -1, -1},
        {PlanStraight, 300, 22190, 1842, -10, 17},
    };
    for (int i = 0; i < 11; ++i) {
        SCOPED_TRACE(testing::Message() << "plan entry " << i + 1);
        const RoutePlanEntry& entry = world->plan[i + 1];
        EXPECT_EQ(entry.type, start[i].type);
        if (start[i].length >= 0) {
            EXPECT_EQ(entry.length, start[i].length);
        }
        if (start[i].leftSide >= 0) {
            EXPECT_EQ(entry.leftSide, start[i].leftSide);
        }
        if (start[i].rightSide >= 0) {
            EXPECT_EQ(entry.rightSide, start[i].rightSide);
        }
        if (start[i].leftRelief != -1) {
            EXPECT_EQ(entry.leftRelief, start[i].leftRelief);
        }
        if (start[i].rightRelief != -1) {
            EXPECT_EQ(entry.rightRelief, start[i].rightRelief);
        }
    }
    EXPECT_EQ(world->plan[10].meetingMark, 7);
}

TEST(RoutePlan, PresetRepeatsEntryByEntryWhateverTheClock)
{
    auto first = BuildTestWorld(2, 40, 4, 1000);
    auto second = BuildTestWorld(2, 40, 4, 999999);
    ASSERT_EQ(PlanLength(*first), PlanLength(*second));
    for (int i = 0; i < PlanLength(*first); ++i) {
        EXPECT_EQ(first->plan[i].type, second->plan[i].type) << i;
        EXPECT_EQ(first->plan[i].length, second->plan[i].length) << i;
        EXPECT_EQ(first->plan[i].leftSide, second->plan[i].leftSide) << i;
        EXPECT_EQ(first->plan[i].rightRelief, second->plan[i].rightRelief) << i;
    }
    EXPECT_EQ(first->buildStats.planSeed, 2u);
}

TEST(RoutePlan, RandomAndCustomRoutesFollowTheClockSeed)
{
    auto a = BuildTestWorld(SceneryCustom, 30, 3, 111);
    auto b = BuildTestWorld(SceneryCustom, 30, 3, 111);
    auto c = BuildTestWorld(SceneryCustom, 30, 3, 112);
    EXPECT_EQ(a->buildStats.planSeed, 111u);
    bool sameAsB = PlanLength(*a) == PlanLength(*b);
    bool differsFromC = PlanLength(*a) != PlanLength(*c);
    for (int i = 0; i < PlanLength(*a); ++i) {
        sameAsB = sameAsB && a->plan[i].type == b->plan[i].type && a->plan[i].leftSide == b->plan[i].leftSide;
        if (i < PlanLength(*c))
            differsFromC = differsFromC || a->plan[i].leftSide != c->plan[i].leftSide;
    }
    EXPECT_TRUE(sameAsB);
    EXPECT_TRUE(differsFromC);
}

TEST(RoutePlan, PresetWritesItsValuesBackIntoTheOptions)
{
    struct Row {
        int32_t scenery, curves, reliefMax, tunnelSpacing, meetingVariantAfterFirstStation;
    };
    const Row rows[] = {{1, 30, 20, 7000, 1}, {2, 30, 50, 7000, 3}, {3, 80, 50, 7000, 5},
                        {4, 30, 20, 1000, 7}, {5, 80, 50, 2000, 1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "scenery " << row.scenery);
        auto world = std::make_unique<World>();
        GameOptions options;
        options.scenery = row.scenery;
        options.totalLengthKm = 5;
        options.meetingDistanceKm = 3;
        options.curvesPercent = 3;
        options.villagesPercent = 17;
        options.forestLevel = 4;
        options.reliefMin = -1;
        BuildWorld(*world, options, 77);
        EXPECT_EQ(options.curvesPercent, row.curves);
        EXPECT_EQ(options.villagesPercent, 5);
        EXPECT_EQ(options.forestLevel, 1);
        EXPECT_EQ(options.reliefMin, -10);
        EXPECT_EQ(options.reliefMax, row.reliefMax);
        EXPECT_EQ(options.tunnelSpacing, row.tunnelSpacing);
        EXPECT_EQ(options.totalLengthKm, 5) << "a preset keeps the route length";
        EXPECT_EQ(options.meetingDistanceKm, 3) << "a preset keeps the meeting distance";
        // A 5 km route with 3 km between stations has exactly one meeting station.
        EXPECT_EQ(world->meetingVariant, row.meetingVariantAfterFirstStation);
    }
}

TEST(RoutePlan, EightyPercentCurvesAlternateAndNeverPlanATunnel)
{
    auto world = BuildTestWorld(3, 100, 3);
    for (int i = 1; i + 1 < PlanLength(*world); ++i) {
        int32_t type = world->plan[i].type;
        int32_t following = world->plan[i + 1].type;
        ASSERT_NE(type, PlanTunnel) << i;
        if (type == PlanStraight && following != PlanMeetingStation && following != PlanTerminus) {
            EXPECT_TRUE(following == PlanCurveLeft || following == PlanCurveRight) << i;
        }
        if (type == PlanCurveLeft || type == PlanCurveRight) {
            EXPECT_TRUE(following == PlanStraight || following == PlanMeetingStation || following == PlanTerminus) << i;
        }
    }
}

TEST(RoutePlan, OptionExtremesShapeThePlan)
{
    auto world = std::make_unique<World>();
    GameOptions options;
    options.scenery = SceneryCustom;
    options.totalLengthKm = 100;
    options.meetingDistanceKm = 10;
    options.curvesPercent = 0;
    options.villagesPercent = 0;
    options.forestLevel = 0;
    BuildWorld(*world, options, 4242);
    int curves = 0;
    for (int i = 0; i < PlanLength(*world); ++i) {
        const RoutePlanEntry& entry = world->plan[i];
        curves += entry.type == PlanCurveLeft || entry.type == PlanCurveRight;
        if (entry.type == PlanStraight) {
            EXPECT_NE(entry.leftSide, SideVillage) << "no villages at 0 %";
            EXPECT_NE(entry.rightSide, SideVillage);
            EXPECT_GE(entry.leftSide, SideOpenLandMinimum);
            EXPECT_EQ(entry.forestDensity, 0);
        }
    }
    // A curve needs a draw of exactly 32767: about one in 32768 straights.
    EXPECT_LE(curves, 2);
    EXPECT_EQ(options.tunnelSpacing, 7000);
}

TEST(RoutePlan, MeetingStationLengthensOnlyShortEntriesJustBeforeIt)
{
    for (int32_t scenery : {1, 2, 3, 4, 5}) {
        auto world = BuildTestWorld(scenery, 100, 2);
        int32_t balance = 0;
        for (int i = 1; i < PlanLength(*world); ++i) {
            const RoutePlanEntry& entry = world->plan[i];
            if (entry.type == PlanCurveLeft)
                balance += static_cast<int32_t>(entry.length);
            if (entry.type == PlanCurveRight)
                balance -= static_cast<int32_t>(entry.length);
            // Left curves until the route has turned 750 m left, then right ones: with one
            // curve lengthened by a station, the balance stays within these bounds.
            ASSERT_LT(balance, 750 + 500 + 400) << "scenery " << scenery << " entry " << i;
            ASSERT_GT(balance, 750 - 500 - 400 - 1) << "scenery " << scenery << " entry " << i;
            if (entry.type != PlanMeetingStation)
                continue;
            // The two entries before a station are never shorter than what lengthening leaves.
            for (int k = 1; k <= 2; ++k) {
                const RoutePlanEntry& before = world->plan[i - k];
                if (before.type == PlanStraight || before.type == PlanCurveLeft || before.type == PlanCurveRight) {
                    EXPECT_EQ(before.length, 500.0f) << "scenery " << scenery << " entry " << i - k;
                }
            }
            EXPECT_EQ(world->plan[i + 1].type == PlanStraight || world->plan[i + 1].type == PlanTunnel ||
                          world->plan[i + 1].type == PlanTerminus,
                      true);
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
            float length = PlannedLength(*world);
            EXPECT_GE(length, lengthKm * 1000.0f);
            // The overshoot is at most one meeting station with its lengthened entries.
            EXPECT_LE(length, lengthKm * 1000.0f + 850.0f + 800.0f);
        }
    }
}
