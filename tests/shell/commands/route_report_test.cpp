#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "../shell_test_world.h"
#include "shell/commands/route_report.h"

TEST(RouteReport, CountsTheHundredKilometreLineOfSceneryOne)
{
    auto world = BuildPresetWorld(1, 100, 3);
    RouteSummary summary = SummarizeRoute(*world);

    EXPECT_EQ(summary.planEntries, 221);
    EXPECT_EQ(summary.straights, 131);
    EXPECT_EQ(summary.curvesLeft, 27);
    EXPECT_EQ(summary.curvesRight, 27);
    EXPECT_EQ(summary.tunnels, 11);
    EXPECT_DOUBLE_EQ(summary.plannedLength, 100150.0);
    ASSERT_EQ(summary.meetingVariants.size(), 23u);
    for (size_t k = 0; k < summary.meetingVariants.size(); ++k)
        EXPECT_EQ(summary.meetingVariants[k], static_cast<int32_t>(k % 8)) << "station " << k;
}

TEST(RouteReport, CountsWhatTheTenKilometreBuildLeftBesideTheLine)
{
    auto world = BuildPresetWorld(1, 10, 3);
    RouteSummary summary = SummarizeRoute(*world);

    EXPECT_EQ(summary.planEntries, 26);
    EXPECT_EQ(summary.segments, 58);
    EXPECT_EQ(summary.strips, 39);
    EXPECT_EQ(summary.events, 10);
    EXPECT_EQ(summary.sceneryObjects, 273);
    EXPECT_EQ(summary.trees, 210);
    EXPECT_EQ(summary.houses, 26);
    EXPECT_EQ(summary.townBuildings, 22);
    EXPECT_EQ(summary.signalBoxes, 3);
    EXPECT_EQ(summary.platforms, 10);
    EXPECT_EQ(summary.trainObjects, 2);
    // No plain entry of this plan is a village; the destination's first two strips are villages
    // on both sides, and all 26 houses stand there.
    EXPECT_EQ(summary.villageSides, 4);
    EXPECT_EQ(summary.meetingVariants, (std::vector<int32_t>{0, 1}));
}

TEST(RouteReport, MeetingVariantsStartWhereEachPresetStartsThem)
{
    struct Case {
        int32_t scenery;
        int32_t firstVariant;
    };
    const Case cases[] = {{1, 0}, {2, 2}, {3, 4}, {4, 6}, {5, 0}};
    for (const Case& c : cases) {
        auto world = BuildPresetWorld(c.scenery, 20, 2);
        RouteSummary summary = SummarizeRoute(*world);
        ASSERT_GE(summary.meetingVariants.size(), 2u) << "scenery " << c.scenery;
        EXPECT_EQ(summary.meetingVariants.front(), c.firstVariant) << "scenery " << c.scenery;
        EXPECT_EQ(summary.meetingVariants[1], (c.firstVariant + 1) % 8) << "scenery " << c.scenery;
    }

    // Layout A (variant 6) is the only one that starts with a left curve of 500 m, so the
    // derived variant can be checked against the track itself on scenery 4.
    auto world = BuildPresetWorld(4, 20, 2);
    int segment = 8;
    for (int planIndex = 1; world->plan[planIndex].type != PlanMeetingStation; ++planIndex)
        ++segment;
    EXPECT_EQ(world->track[segment].type, SegmentCurveLeft);
    EXPECT_FLOAT_EQ(world->track[segment].length, 500.0f);
}

TEST(RouteReport, ReportsTheFiguresAndTheSeedToReplayWith)
{
    GameOptions options;
    options.scenery = SceneryCustom;
    options.totalLengthKm = 10;
    options.meetingDistanceKm = 3;
    auto world = BuildShellTestWorld(options, 987654);
    RouteSummary summary = SummarizeRoute(*world);

    std::ostringstream report;
    WriteRouteReport(report, *world, options, 987654, 1.5);
    std::string text = report.str();

    EXPECT_NE(text.find("custom scenery 7, 10 km, meeting stations every 3 km"), std::string::npos) << text;
    EXPECT_NE(text.find("seed              987654\n"), std::string::npos) << text;
    EXPECT_NE(text.find(std::to_string(summary.segments) + " segments, " + std::to_string(summary.strips) +
                        " ground strips"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("events            " + std::to_string(summary.events) + "\n"), std::string::npos) << text;
    EXPECT_NE(text.find("build time        1.50 ms"), std::string::npos) << text;

    // A preset is seeded by its number, whatever stood for the clock.
    auto preset = BuildPresetWorld(3, 10, 3, 55);
    GameOptions presetOptions;
    presetOptions.scenery = 3;
    std::ostringstream presetReport;
    WriteRouteReport(presetReport, *preset, presetOptions, 55, 1.0);
    EXPECT_NE(presetReport.str().find("seed              55 (the preset seeds its plan with 3)"), std::string::npos)
        << presetReport.str();
}
