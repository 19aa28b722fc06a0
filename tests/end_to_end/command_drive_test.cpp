#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include <nlohmann/json.hpp>

#include "run_tagvind.h"

TEST(CommandDrive, TheAutopilotReachesTheDestinationAndTheSummaryTellsHowItWent)
{
    ScratchFolder folder;
    std::string trace = (folder / "trace.jsonl").string();
    std::string record = (folder / "controls.jsonl").string();
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
    std::ifstream lines(trace);
    std::string text;
    int count = 0;
    while (std::getline(lines, text))
        ++count;
    EXPECT_EQ(count, static_cast<int>(summary["gameSeconds"].get<double>()));

    // The recorded controls drive the same line to the same end.
    TagvindRun replay =
        RunTagvind("drive --scenery 3 --length 5 --meeting 2 --seed 11 --controls '" + record + "'");
    ASSERT_EQ(replay.status, 0) << replay.err;
    auto replayed = nlohmann::json::parse(replay.out);
    EXPECT_EQ(replayed["score"], summary["score"]);
    EXPECT_EQ(replayed["gameSeconds"], summary["gameSeconds"]);
    EXPECT_EQ(replayed["odometerKm"], summary["odometerKm"]);
}

TEST(CommandDrive, RunningOutOfTimeEndsWithStatusThreeAndSaysWhereTheTrainStood)
{
    TagvindRun run = RunTagvind("drive --scenery 1 --length 5 --max-minutes 0.5");
    EXPECT_EQ(run.status, 3);
    auto summary = nlohmann::json::parse(run.out);
    EXPECT_EQ(summary["reachedDestination"], false);
    EXPECT_EQ(summary["gameSeconds"], 30.0);
    EXPECT_NE(run.err.find("time ran out"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("segment 1"), std::string::npos) << run.err;
}

TEST(CommandDrive, BadInputIsRefusedWithAMessage)
{
    ScratchFolder folder;
    std::string malformed = (folder / "bad.jsonl").string();
    std::ofstream(malformed) << "{\"t\": 0, \"throttle\": 3, \"brake\": 8}\n{\"t\": 1, \"throttle\": 9, \"brake\": 8}\n";
    std::string good = (folder / "good.jsonl").string();
    std::ofstream(good) << "{\"t\": 0, \"throttle\": 3, \"brake\": 8}\n";

    struct Case {
        std::string arguments;
        int status;
        const char* message;
    } cases[] = {
        {"--controls '" + malformed + "'", 1, "line 2"},
        {"--controls '" + (folder / "missing.jsonl").string() + "'", 1, "cannot read the controls file"},
        {"--controls - </dev/zero", 1, "line 1 is longer than 4096 bytes"},
        {"--autopilot --controls '" + good + "'", 2, "excludes"},
        {"--autopilot --trace '" + (folder / "no-such-folder" / "trace.jsonl").string() + "'", 1, "cannot write the trace"},
        {"--step 0", 2, "--step expects"},
        {"--step nan", 2, "--step expects"},
        {"--step 0.02s", 2, "--step expects"},
        {"--max-minutes=-1", 2, "--max-minutes expects"},
        {"--scenery 9", 2, "--scenery"},
    };
    for (const Case& c : cases) {
        TagvindRun run = RunTagvind("drive --length 5 " + c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments << "\n" << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.arguments << "\n" << run.err;
        EXPECT_EQ(run.out, "") << c.arguments;
    }
}

TEST(CommandDrive, TheBenchmarkPrintsHowManyTimesRealTimeTheAutopilotDrives)
{
    TagvindRun run = RunTagvind("bench drive --runs 1 --length 5");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("real time x"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("destination reached"), std::string::npos) << run.out;
}
