#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "../shell/shell_test_world.h"
#include "run_tagvind.h"

namespace {

std::vector<std::string> KeysOf(const nlohmann::ordered_json& object)
{
    std::vector<std::string> keys;
    for (auto item = object.begin(); item != object.end(); ++item)
        keys.push_back(item.key());
    return keys;
}

// Every record of the list has exactly these keys, in this order.
void ExpectRecordKeys(const nlohmann::ordered_json& list, const std::vector<std::string>& keys, const char* name)
{
    ASSERT_TRUE(list.is_array()) << name;
    for (const auto& record : list)
        ASSERT_EQ(KeysOf(record), keys) << name;
}

float FloatOf(const nlohmann::ordered_json& value)
{
    return static_cast<float>(value.get<double>());
}

}  // namespace

TEST(CommandRoute, JsonDumpOfTheTenKilometreLineHoldsTheKnownFigures)
{
    ScratchFolder folder;
    std::filesystem::path dump = folder / "world.json";
    TagvindRun run = RunTagvind("route --scenery 1 --length 10 --meeting 3 --seed 777 --json '" + dump.string() + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find("58 segments"), std::string::npos) << "the report still goes to standard output";

    auto json = nlohmann::ordered_json::parse(ReadWholeFile(dump));
    EXPECT_EQ(KeysOf(json), (std::vector<std::string>{"format", "options", "seed", "draws", "meetingVariant",
                                                       "groundNoise", "plan", "segments", "strips", "scenery",
                                                       "events", "trains", "modelLibrary"}));
    EXPECT_EQ(json["format"], "tagvind-world-1");
    EXPECT_EQ(KeysOf(json["options"]),
              (std::vector<std::string>{"scenery", "totalLengthKm", "meetingDistanceKm", "curvesPercent",
                                        "villagesPercent", "forestLevel", "reliefMin", "reliefMax", "tunnelSpacing",
                                        "soundType"}));
    EXPECT_EQ(json["options"]["totalLengthKm"], 10);
    EXPECT_EQ(json["options"]["meetingDistanceKm"], 3);
    EXPECT_EQ(json["options"]["tunnelSpacing"], 7000);
    EXPECT_EQ(json["seed"], 1) << "a preset seeds its plan with its number";
    EXPECT_EQ(json["draws"], nlohmann::ordered_json::parse(R"({"reset":9999,"plan":144,"track":64782})"));
    EXPECT_EQ(json["meetingVariant"], 2);
    EXPECT_EQ(json["groundNoise"].size(), 16u);

    ExpectRecordKeys(json["plan"],
                     {"type", "length", "leftSide", "rightSide", "leftRelief", "rightRelief", "meetingMark",
                      "forestDensity"},
                     "plan");
    ASSERT_EQ(json["plan"].size(), 26u);
    EXPECT_EQ(json["plan"].front()["type"], PlanOrigin);
    EXPECT_EQ(json["plan"].back()["type"], PlanTerminus);

    ExpectRecordKeys(json["segments"],
                     {"index", "type", "forwardSwitch", "next", "nextAlt", "rearSwitch", "prev", "prevAlt", "startX",
                      "startZ", "startHeight", "endX", "endZ", "endHeight", "radius", "length", "startHeading",
                      "endHeading", "occupancy", "signPresent", "forwardSign", "reverseSign"},
                     "segments");
    ASSERT_EQ(json["segments"].size(), 58u);
    EXPECT_EQ(json["segments"].front()["index"], 1);
    EXPECT_EQ(json["segments"].back()["index"], 58);

    ExpectRecordKeys(json["strips"],
                     {"kind", "segment", "leftSide", "leftRelief", "rightSide", "rightRelief", "startX", "startZ",
                      "endX", "endZ", "startHeading", "endHeading"},
                     "strips");
    EXPECT_EQ(json["strips"].size(), 39u);

    ExpectRecordKeys(json["scenery"], {"slot", "type", "x", "y", "z", "rotX", "rotY", "rotZ", "variation"}, "scenery");
    ASSERT_EQ(json["scenery"].size(), 273u);
    for (size_t i = 1; i < json["scenery"].size(); ++i)
        ASSERT_LT(json["scenery"][i - 1]["slot"].get<int>(), json["scenery"][i]["slot"].get<int>());
    for (const auto& object : json["scenery"])
        ASSERT_NE(object["type"], 0);

    ExpectRecordKeys(json["events"],
                     {"action", "triggerUnit", "triggerSegment", "kind", "unit", "direction", "speed", "throttle",
                      "segment", "position", "signEnd", "signCode", "switchEnd", "switchValue"},
                     "events");
    EXPECT_EQ(json["events"].size(), 10u);

    ExpectRecordKeys(json["trains"],
                     {"index", "kind", "direction", "segment", "segmentDistance", "speed", "throttle", "brake",
                      "speedLimit", "announcedLimit", "lineSpeed", "objectIndex"},
                     "trains");
    ASSERT_EQ(json["trains"].size(), 2u);
    EXPECT_EQ(json["trains"][0]["index"], PlayerUnit);
    EXPECT_EQ(json["trains"][0]["segmentDistance"], 70.0);
    EXPECT_EQ(json["trains"][1]["index"], 2);
    EXPECT_EQ(json["trains"][1]["segment"], 8);

    EXPECT_EQ(KeysOf(json["modelLibrary"]), (std::vector<std::string>{"vertices", "indexes", "models"}));
    EXPECT_EQ(json["modelLibrary"]["vertices"], 1263);
    EXPECT_EQ(json["modelLibrary"]["indexes"], 2104);
    ExpectRecordKeys(json["modelLibrary"]["models"], {"type", "partCount", "vertexCount", "indexCount", "drawDistance"},
                     "models");
    int vertexSum = 0;
    int indexSum = 0;
    for (const auto& model : json["modelLibrary"]["models"]) {
        vertexSum += model["vertexCount"].get<int>();
        indexSum += model["indexCount"].get<int>();
    }
    EXPECT_EQ(vertexSum, 1263) << "the models share out the whole vertex pool";
    EXPECT_EQ(indexSum, 2104);
}

TEST(CommandRoute, JsonDumpHoldsEveryFloatOfTheBuildExactly)
{
    // The same seed builds the same world in this process, ground noise included.
    TagvindRun run = RunTagvind("route --scenery 2 --length 12 --meeting 2 --seed 31337 --json -");
    ASSERT_EQ(run.status, 0) << run.err;
    auto json = nlohmann::ordered_json::parse(run.out);

    GameOptions options;
    options.scenery = 2;
    options.totalLengthKm = 12;
    options.meetingDistanceKm = 2;
    auto world = BuildShellTestWorld(options, 31337);

    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(FloatOf(json["groundNoise"][i]), world->groundNoise[i]) << "ground noise " << i;

    ASSERT_EQ(json["segments"].size(), static_cast<size_t>(world->segmentCount));
    for (const auto& record : json["segments"]) {
        const TrackSegment& segment = world->track[record["index"].get<int>()];
        EXPECT_EQ(FloatOf(record["startX"]), segment.startX);
        EXPECT_EQ(FloatOf(record["startZ"]), segment.startZ);
        EXPECT_EQ(FloatOf(record["endX"]), segment.endX);
        EXPECT_EQ(FloatOf(record["endZ"]), segment.endZ);
        EXPECT_EQ(FloatOf(record["radius"]), segment.radius);
        EXPECT_EQ(FloatOf(record["length"]), segment.length);
        EXPECT_EQ(FloatOf(record["startHeading"]), segment.startHeading);
        EXPECT_EQ(FloatOf(record["endHeading"]), segment.endHeading);
    }
    ASSERT_EQ(json["strips"].size(), static_cast<size_t>(world->stripCount));
    for (size_t i = 0; i < json["strips"].size(); ++i) {
        const GroundStrip& strip = world->strips[i];
        EXPECT_EQ(FloatOf(json["strips"][i]["leftRelief"]), strip.leftRelief);
        EXPECT_EQ(FloatOf(json["strips"][i]["endX"]), strip.endX);
        EXPECT_EQ(FloatOf(json["strips"][i]["endHeading"]), strip.endHeading);
    }
    for (const auto& record : json["scenery"]) {
        const SceneryObject& object = world->scenery[record["slot"].get<int>()];
        EXPECT_EQ(record["type"], object.type);
        EXPECT_EQ(FloatOf(record["x"]), object.x);
        EXPECT_EQ(FloatOf(record["y"]), object.y);
        EXPECT_EQ(FloatOf(record["z"]), object.z);
        EXPECT_EQ(FloatOf(record["rotY"]), object.rotY);
        EXPECT_EQ(record["variation"], object.variation);
    }
}

TEST(CommandRoute, SeedRepeatsARandomLineAndOtherSeedsGiveOtherLines)
{
    TagvindRun first = RunTagvind("route --scenery random --length 20 --seed 99 --json -");
    TagvindRun again = RunTagvind("route --scenery random --length 20 --seed 99 --json -");
    TagvindRun other = RunTagvind("route --scenery random --length 20 --seed 100 --json -");
    ASSERT_EQ(first.status, 0) << first.err;
    ASSERT_EQ(again.status, 0) << again.err;
    ASSERT_EQ(other.status, 0) << other.err;

    EXPECT_EQ(first.out, again.out);
    auto firstJson = nlohmann::ordered_json::parse(first.out);
    auto otherJson = nlohmann::ordered_json::parse(other.out);
    EXPECT_EQ(firstJson["seed"], 99);
    EXPECT_EQ(otherJson["seed"], 100);
    EXPECT_EQ(firstJson["options"]["scenery"], SceneryRandom);
    EXPECT_NE(firstJson["plan"], otherJson["plan"]);

    // Custom keeps the given values and is replayed by its seed all the same.
    TagvindRun custom = RunTagvind("route --scenery custom --curves 80 --seed 5 --json -");
    TagvindRun customAgain = RunTagvind("route --scenery custom --curves 80 --seed 5 --json -");
    ASSERT_EQ(custom.status, 0) << custom.err;
    EXPECT_EQ(custom.out, customAgain.out);
    EXPECT_EQ(nlohmann::ordered_json::parse(custom.out)["options"]["curvesPercent"], 80);
}

TEST(CommandRoute, CommandLineMistakesExitWithStatusTwo)
{
    struct Case {
        const char* arguments;
        const char* message;
    };
    const Case cases[] = {
        {"route --length abc", "tagvind: --length expects a whole number, not 'abc'\n"},
        {"route --meeting 3km", "tagvind: --meeting expects a whole number, not '3km'\n"},
        {"route --scenery 9", "tagvind: --scenery expects 1 to 5, random or custom (or 6, 7), not '9'\n"},
        {"route --sound loud", "tagvind: --sound expects off, automatic or electric, not 'loud'\n"},
        {"route --seed minus", "tagvind: --seed expects a whole number from 0 to 2147483647, not 'minus'\n"},
        {"route --no-such-option", "tagvind: "},
        {"route --length", "tagvind: "},
        {"no-such-command", "tagvind: "},
    };
    for (const Case& c : cases) {
        TagvindRun run = RunTagvind(c.arguments);
        EXPECT_EQ(run.status, 2) << c.arguments;
        EXPECT_EQ(run.err.rfind(c.message, 0), 0u) << c.arguments << ": " << run.err;
        EXPECT_EQ(run.out, "") << c.arguments;
    }
}

TEST(CommandRoute, ReplacedValuesAreNoticedAndUsed)
{
    TagvindRun run = RunTagvind("route --scenery custom --length 0 --meeting 0 --villages 21 --json -");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err,
              "tagvind: --length 0 is outside 5..100; using 100\n"
              "tagvind: --meeting 0 is outside 2..10; using 2\n"
              "tagvind: --villages 21 is outside 0..20; using 20\n");
    auto json = nlohmann::ordered_json::parse(run.out);
    EXPECT_EQ(json["options"]["totalLengthKm"], 100);
    EXPECT_EQ(json["options"]["meetingDistanceKm"], 2);
    EXPECT_EQ(json["options"]["villagesPercent"], 20);
}
