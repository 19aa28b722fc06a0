// The soak: many drives of every kind of line in one process, and many RESTARTs in one game
// process, built and run under the sanitizers only, where any fault or leak is a report that
// ends the run. Prints what it did and the memory figures.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "../end_to_end/run_tagvind.h"
#include "shell/commands/headless_game.h"
#include "shell/world_options.h"

namespace {

constexpr int DriveCount = 50;
constexpr int RestartCount = 50;
// Memory after the last RESTART may lie this far above the memory after the tenth, which is
// where the allocators have found their size.
constexpr int RestartSettledAfter = 10;
constexpr double MemoryGrowthAllowed = 0.05;

WorldOptionsInput LineOptions(const std::string& scenery, int seed, const char* meetingKm)
{
    WorldOptionsInput input;
    input.scenery = scenery;
    input.seed = std::to_string(seed);
    input.editedValues[0] = "5";
    input.editedValues[1] = meetingKm;
    return input;
}

// The lines of the drives, as a command line names them, all 5 km long: the five presets and
// ten Random lines with meeting stations 2 and 10 km apart, then Custom lines through the
// extremes of curves, villages, forest and relief.
std::vector<WorldOptionsInput> DriveLines()
{
    std::vector<WorldOptionsInput> lines;
    for (int drive = 0; drive < 10; ++drive)
        lines.push_back(LineOptions(std::to_string(1 + drive % 5), 1000 + drive, drive < 5 ? "2" : "10"));
    for (int drive = 0; drive < 10; ++drive)
        lines.push_back(LineOptions("random", 2000 + drive, drive % 2 == 0 ? "2" : "10"));
    for (const char* curves : {"0", "80"}) {
        for (const char* villages : {"0", "20"}) {
            for (const char* forest : {"0", "5"}) {
                for (const char* relief : {"-1000..-1000", "1000..1000", "-1000..1000", "0..0"}) {
                    WorldOptionsInput custom = LineOptions("custom", 3000 + static_cast<int>(lines.size()),
                                                           lines.size() % 2 == 0 ? "2" : "10");
                    custom.editedValues[2] = curves;
                    custom.editedValues[3] = villages;
                    custom.editedValues[4] = forest;
                    custom.relief = relief;
                    lines.push_back(custom);
                }
            }
        }
    }
    lines.resize(DriveCount);
    return lines;
}

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

TEST(Soak, FiftyAutopilotDrivesOfEveryKindOfLineReachTheirDestination)
{
    auto start = std::chrono::steady_clock::now();
    double gameSeconds = 0.0;
    for (const WorldOptionsInput& line : DriveLines()) {
        GameOptions options;
        uint32_t seed = 0;
        std::ostringstream notices;
        ASSERT_TRUE(ResolveWorldOptions(line, options, seed, notices)) << notices.str();
        std::unique_ptr<GameSession> game = BuildHeadlessGame(options, seed);
        DriveSettings settings;
        settings.autopilot = true;
        DriveSummary summary = DriveHeadless(*game, settings, nullptr);
        EXPECT_TRUE(summary.reachedDestination) << PlayCommandLine(options, seed);
        gameSeconds += summary.gameSeconds;
    }
    std::printf("soak: %d drives, %.0f s of game time, in %.1f s\n", DriveCount, gameSeconds, SecondsSince(start));
}

TEST(Soak, FiftyRestartsInOneGameKeepTheMemoryFlat)
{
    ScratchFolder folder;
    // Each RESTART opens the options dialog (F2) and presses its default button; a snapshot
    // after each one holds the memory the game then had.
    std::ofstream script(folder / "events.jsonl");
    double at = 0.5;
    for (int restart = 1; restart <= RestartCount; ++restart) {
        script << R"({"at": )" << at << R"(, "key": "F2"})" << "\n";
        script << R"({"at": )" << at + 0.2 << R"(, "key": "RETURN"})" << "\n";
        script << R"({"at": )" << at + 0.4 << R"(, "snapshot": ")" << restart << R"("})" << "\n";
        at += 0.5;
    }
    script.close();
    auto start = std::chrono::steady_clock::now();
    std::string command = "cd '" + folder.path().string() + "' && SDL_AUDIODRIVER=dummy '" + TAGVIND_EXECUTABLE +
                          "' play --offscreen --fixed-frame-ms 50 --events events.jsonl --state-dump dump.json "
                          "--window 160x120 --sound off --scenery random --seed 77 --length 5 --meeting 2 "
                          "--quit-after " +
                          std::to_string(at + 0.5) + " >out.txt 2>err.txt";
    int raw = std::system(command.c_str());
    double wallSeconds = SecondsSince(start);
    std::string err = ReadWholeFile(folder / "err.txt");
    ASSERT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << err;
    EXPECT_EQ(err, "");
    auto dump = nlohmann::json::parse(ReadWholeFile(folder / "dump.json"), nullptr, false);
    ASSERT_TRUE(dump.is_object() && dump["snapshots"].size() == RestartCount) << ReadWholeFile(folder / "dump.json");
    const nlohmann::json& settled = dump["snapshots"][RestartSettledAfter - 1];
    const nlohmann::json& last = dump["snapshots"][RestartCount - 1];
    EXPECT_EQ(settled["session"]["runsStarted"], RestartSettledAfter + 1);
    EXPECT_EQ(last["session"]["runsStarted"], RestartCount + 1);
    double settledKb = settled["process"]["residentKb"].get<double>();
    double lastKb = last["process"]["residentKb"].get<double>();
    std::printf("soak: %d restarts in %.1f s; resident memory after restart 1: %.0f kB, %d: %.0f kB, %d: %.0f kB "
                "(%+.2f %%)\n",
                RestartCount, wallSeconds, dump["snapshots"][0]["process"]["residentKb"].get<double>(),
                RestartSettledAfter, settledKb, RestartCount, lastKb, (lastKb / settledKb - 1.0) * 100.0);
    EXPECT_GT(settledKb, 0.0);
    EXPECT_LE(lastKb, settledKb * (1.0 + MemoryGrowthAllowed));
}
