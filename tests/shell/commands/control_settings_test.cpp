#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>
#include <tuple>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "../../scratch_folder.h"
#include "shell/commands/control_settings.h"

using namespace std::string_literals;

TEST(ControlSettings, AFileIsReadIntoTimeOrderAndEveryBadLineIsNamed)
{
    std::string good = "{\"t\": 5, \"throttle\": 3, \"brake\": 8}\n\n  \n{\"t\": 0.5, \"throttle\": 0, \"brake\": 1}\n"
                       "{\"t\": 5, \"throttle\": 4, \"brake\": 8, \"note\": \"kept\"}\n";
    std::vector<ControlSetting> settings;
    std::string error;
    ASSERT_TRUE(ReadControlSettings(good, settings, error)) << error;
    std::vector<std::tuple<double, int32_t, int32_t>> read;
    for (const ControlSetting& setting : settings)
        read.emplace_back(setting.time, setting.throttle, setting.brake);
    EXPECT_EQ(read, (std::vector<std::tuple<double, int32_t, int32_t>>{{0.5, 0, 1}, {5, 3, 8}, {5, 4, 8}}));

    std::string longest = "{\"t\": 1, \"throttle\": 0, \"brake\": 8}";
    longest += std::string(ControlsLineMaxBytes - longest.size(), ' ');
    ASSERT_TRUE(ReadControlSettings(longest + "\n" + longest, settings, error)) << error;

    struct Case {
        std::string text;
        const char* problem;
    } cases[] = {
        {"{\"t\": 1, \"throttle\": 2, \"brake\": 8", "line 1 is not a JSON object"},
        {"[1, 2, 3]", "line 1 is not a JSON object"},
        {"\n{\"throttle\": 2, \"brake\": 8}", "line 2 has no \"t\""},
        {"{\"t\": -1, \"throttle\": 2, \"brake\": 8}", "\"t\" must be a number of seconds, 0 or more"},
        {"{\"t\": 1, \"throttle\": 6, \"brake\": 8}", "\"throttle\" must be a whole number from 0 to 5"},
        {"{\"t\": 1, \"throttle\": 2, \"brake\": 0}", "\"brake\" must be a whole number from 1 to 8"},
        {"{\"t\": 1, \"throttle\": 0, \"brake\": 8}\0garbage"s, "line 1 goes on after its JSON object"},
        {"{\"t\": 1, \"throttle\": 0, \"brake\": 8, \"brake\": 5}", "line 1 gives \"brake\" twice"},
        {"{\"t\": 1, \"throttle\": 0, \"brake\": 8}\n{\"t\": 2, \"throttle\": 3, \"brake\": 7}",
         "line 2 opens the throttle to 3 with the brake at 7"},
        {"\n\n" + longest + " ", "line 3 is longer than 4096 bytes"},
        {std::string(ControlsFileMaxBytes + 1, '\n'), "larger than 64 MB"},
    };
    for (const Case& c : cases) {
        std::string problem;
        EXPECT_FALSE(ReadControlSettings(c.text, settings, problem)) << c.text.substr(0, 80);
        EXPECT_NE(problem.find(c.problem), std::string::npos) << problem;
    }
}

TEST(ControlSettings, OnlyARegularFileIsReadAndNothingWaitsForAWriter)
{
    ScratchFolder folder;
    std::string recorded = (folder / "recorded.jsonl").string();
    {
        std::ofstream file(recorded);
        WriteControlSettingLine(file, {0.0, 0, 8});
        WriteControlSettingLine(file, {1.5, 2, 8});
    }
    std::string pipe = (folder / "pipe.jsonl").string();
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    std::string huge = (folder / "huge.jsonl").string();
    std::ofstream(huge).close();
    std::filesystem::resize_file(huge, ControlsFileMaxBytes + 1);

    const std::pair<std::string, const char*> cases[] = {
        {recorded, nullptr},  {pipe, "not a regular file"}, {"/dev/zero", "not a regular file"},
        {folder.path().string(), "not a regular file"}, {huge, "larger than 64 MB"},
        {(folder / "missing.jsonl").string(), "No such file"},
    };
    for (const auto& [path, problem] : cases) {
        std::vector<ControlSetting> settings;
        std::string error;
        auto reading = std::async(std::launch::async, [&] { return ReadControlsFile(path, settings, error); });
        if (reading.wait_for(std::chrono::seconds(20)) == std::future_status::timeout) {
            ADD_FAILURE() << path << ": the reader waits for a writer";
            // A writer coming and going lets it go, so that the test ends.
            close(open(path.c_str(), O_WRONLY | O_NONBLOCK));
        }
        EXPECT_EQ(reading.get(), problem == nullptr) << path << ": " << error;
        if (problem == nullptr)
            EXPECT_EQ(settings.size(), 2u);
        else
            EXPECT_NE(error.find(problem), std::string::npos) << path << ": " << error;
    }
}
