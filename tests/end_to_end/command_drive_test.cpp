#include "run_tagvind.h"

TEST(CommandDrive, TheAutopilotReachesTheDestinationAndItsRecordedControlsDriveTheSameRun)
{
    ScratchFolder folder;
    std::string trace = (folder / "trace.jsonl").string(), record = (folder / "controls.jsonl").string();
    TagvindRun run = RunTagvind("drive --autopilot --scenery 3 --length 5 --meeting 2 --seed 11 --trace '" + trace +
                                "' --record '" + record + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    auto summary = nlohmann::json::parse(run.out);
    for (const char* key : {"reachedDestination", "score", "gameSeconds", "odometerKm", "stopSignalsPassed",
                            "overspeedSeconds", "highSpeedPenalties", "meetingStations", "maxSpeed", "seed"})
        EXPECT_TRUE(summary.contains(key)) << key;
    EXPECT_EQ(summary["reachedDestination"], true);
    EXPECT_EQ(summary["stopSignalsPassed"], 0);
    EXPECT_EQ(summary["seed"], 11);
    EXPECT_GT(summary["meetingStations"].get<int>(), 0);
    // One trace line per whole second driven.
    std::string lines = ReadWholeFile(trace);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), static_cast<int>(summary["gameSeconds"].get<double>()));

    TagvindRun replay = RunTagvind("drive --scenery 3 --length 5 --meeting 2 --seed 11 --controls '" + record + "'");
    ASSERT_EQ(replay.status, 0) << replay.err;
    for (const char* key : {"score", "gameSeconds", "odometerKm"})
        EXPECT_EQ(nlohmann::json::parse(replay.out)[key], summary[key]) << key;
}

TEST(CommandDrive, RunningOutOfTimeEndsWithStatusThreeAndSaysWhereTheTrainStood)
{
    TagvindRun run = RunTagvind("drive --scenery 1 --length 5 --max-minutes 0.5");
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(nlohmann::json::parse(run.out)["gameSeconds"], 30.0);
    EXPECT_NE(run.err.find("time ran out"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("segment 1"), std::string::npos) << run.err;
}
