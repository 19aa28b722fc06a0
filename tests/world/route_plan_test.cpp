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

TEST(RoutePlan, PresetsRepeatWhateverTheClockAndOtherRoutesFollowIt)
{
    struct Case {
        int32_t scenery;
        uint32_t otherSeed;
        bool same;
    };
    for (const Case& c : {Case{2, 999999, true}, Case{SceneryCustom, 111, true}, Case{SceneryCustom, 112, false}}) {
        auto first = BuildTestWorld(c.scenery, 40, 4, 111);
        auto second = BuildTestWorld(c.scenery, 40, 4, c.otherSeed);
        bool same = PlanLength(*first) == PlanLength(*second);
        for (int i = 0; same && i < PlanLength(*first); ++i)
            same = first->plan[i].type == second->plan[i].type && first->plan[i].length == second->plan[i].length &&
                   first->plan[i].leftSide == second->plan[i].leftSide &&
                   first->plan[i].rightRelief == second->plan[i].rightRelief;
        EXPECT_EQ(same, c.same) << "scenery " << c.scenery << " seed " << c.otherSeed;
        EXPECT_EQ(first->buildStats.planSeed, c.scenery == 2 ? 2u : 111u);
    }
}

TEST(RoutePlan, PresetWritesItsValuesBackIntoTheOptions)
{
    struct Row {
        int32_t scenery, curves, reliefMax, tunnelSpacing, meetingVariantAfterFirstStation;
    };
    for (const Row& row : {Row{1, 30, 20, 7000, 1}, Row{2, 30, 50, 7000, 3}, Row{3, 80, 50, 7000, 5},
                           Row{4, 30, 20, 1000, 7}, Row{5, 80, 50, 2000, 1}}) {
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
        // A preset keeps the route length and meeting distance; 5 km with 3 km between stations
        // has exactly one meeting station.
        EXPECT_EQ(std::make_tuple(options.curvesPercent, options.villagesPercent, options.forestLevel, options.reliefMin,
                                  options.reliefMax, options.tunnelSpacing, options.totalLengthKm,
                                  options.meetingDistanceKm, world->meetingVariant),
                  std::make_tuple(row.curves, 5, 1, -10, row.reliefMax, row.tunnelSpacing, 5, 3,
                                  row.meetingVariantAfterFirstStation))
            << "scenery " << row.scenery;
    }
}

TEST(RoutePlan, EightyPercentCurvesAlternateAndNeverPlanATunnel)
{
    auto world = BuildTestWorld(3, 100, 3);
    for (int i = 1; i + 1 < PlanLength(*world); ++i) {
        int32_t type = world->plan[i].type, following = world->plan[i + 1].type;
        bool stationOrEnd = following == PlanMeetingStation || following == PlanTerminus;
        ASSERT_NE(type, PlanTunnel) << i;
        if (type == PlanStraight && !stationOrEnd)
            EXPECT_TRUE(IsCurve(following)) << i;
        if (IsCurve(type))
            EXPECT_TRUE(following == PlanStraight || stationOrEnd) << i;
    }
}

TEST(RoutePlan, NoCurvesVillagesOrForestAtZeroPercent)
{
    auto world = std::make_unique<World>();
    GameOptions options;
    options.scenery = SceneryCustom;
    options.meetingDistanceKm = 10;
    options.curvesPercent = options.villagesPercent = options.forestLevel = 0;
    BuildWorld(*world, options, 4242);
    int curves = 0;
    for (int i = 0; i < PlanLength(*world); ++i) {
        const RoutePlanEntry& entry = world->plan[i];
        curves += IsCurve(entry.type);
        if (entry.type == PlanStraight) {
            EXPECT_TRUE(entry.leftSide != SideVillage && entry.rightSide != SideVillage);
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
            balance += entry.type == PlanCurveLeft ? int32_t(entry.length) : 0;
            balance -= entry.type == PlanCurveRight ? int32_t(entry.length) : 0;
            // Left curves until the route has turned 750 m left, then right ones: with one
            // curve lengthened by a station, the balance stays within these bounds.
            ASSERT_TRUE(balance < 750 + 500 + 400 && balance > 750 - 500 - 400 - 1) << scenery << " entry " << i;
            if (entry.type != PlanMeetingStation)
                continue;
            for (int k = 1; k <= 2; ++k)
                if (world->plan[i - k].type == PlanStraight || IsCurve(world->plan[i - k].type))
                    EXPECT_EQ(world->plan[i - k].length, 500.0f) << scenery << " entry " << i - k;
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
