#include "../shell/shell_test_world.h"
#include "run_tagvind.h"

namespace {

// The keys of the object, in their order, joined by commas.
std::string KeysOf(const nlohmann::ordered_json& object)
{
    std::string keys;
    for (auto item = object.begin(); item != object.end(); ++item)
        keys += (keys.empty() ? "" : ",") + item.key();
    return keys;
}

}  // namespace

TEST(CommandRoute, JsonDumpOfTheTenKilometreLineHoldsTheKnownFiguresInItsFormat)
{
    ScratchFolder folder;
    TagvindRun run =
        RunTagvind("route --scenery 1 --length 10 --meeting 3 --seed 777 --json '" + (folder / "w.json").string() + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find("58 segments"), std::string::npos) << "the report still goes to standard output";
    auto json = nlohmann::ordered_json::parse(ReadWholeFile(folder / "w.json"));
    EXPECT_EQ(json["format"], "tagvind-world-1");
    EXPECT_EQ(json["seed"], 1) << "a preset seeds its plan with its number";
    EXPECT_EQ(json["draws"], nlohmann::ordered_json::parse(R"({"reset":9999,"plan":144,"track":64782})"));
    EXPECT_EQ(json["meetingVariant"], 2);
    EXPECT_EQ(json["groundNoise"].size(), 16u);
    EXPECT_EQ(json["options"]["tunnelSpacing"], 7000);
    EXPECT_EQ(json["plan"].front()["type"], PlanOrigin);
    EXPECT_EQ(json["plan"].back()["type"], PlanTerminus);
    EXPECT_EQ(json["segments"].back()["index"], 58);
    EXPECT_EQ(json["trains"][0]["index"], PlayerUnit);
    EXPECT_EQ(json["trains"][0]["segmentDistance"], 70.0);
    EXPECT_EQ(json["trains"][1]["segment"], 8);
    EXPECT_EQ(json["modelLibrary"]["vertices"], 1263);
    EXPECT_EQ(json["modelLibrary"]["indexes"], 2104);
    struct Part {
        const char* name;
        size_t count;  // 0: not counted here
        const char* keys;
    } parts[] = {
        {"", 0, "format,options,seed,draws,meetingVariant,groundNoise,plan,segments,strips,scenery,events,trains,modelLibrary"},
        {"options", 0, "scenery,totalLengthKm,meetingDistanceKm,curvesPercent,villagesPercent,forestLevel,reliefMin,"
                       "reliefMax,tunnelSpacing,soundType"},
        {"plan", 26, "type,length,leftSide,rightSide,leftRelief,rightRelief,meetingMark,forestDensity"},
        {"segments", 58, "index,type,forwardSwitch,next,nextAlt,rearSwitch,prev,prevAlt,startX,startZ,startHeight,endX,"
                         "endZ,endHeight,radius,length,startHeading,endHeading,occupancy,signPresent,forwardSign,"
                         "reverseSign"},
        {"strips", 39, "kind,segment,leftSide,leftRelief,rightSide,rightRelief,startX,startZ,endX,endZ,startHeading,"
                       "endHeading"},
        {"scenery", 273, "slot,type,x,y,z,rotX,rotY,rotZ,variation"},
        {"events", 10, "action,triggerUnit,triggerSegment,kind,unit,direction,speed,throttle,segment,position,signEnd,"
                       "signCode,switchEnd,switchValue"},
        {"trains", 2, "index,kind,direction,segment,segmentDistance,speed,throttle,brake,speedLimit,announcedLimit,"
                      "lineSpeed,objectIndex"},
        {"modelLibrary", 0, "vertices,indexes,models"},
    };
    for (const Part& part : parts) {
        const nlohmann::ordered_json& value = *part.name ? json[part.name] : json;
        if (part.count == 0) {
            EXPECT_EQ(KeysOf(value), part.keys) << part.name;
            continue;
        }
        EXPECT_EQ(value.size(), part.count) << part.name;
        for (const auto& record : value)
            ASSERT_EQ(KeysOf(record), part.keys) << part.name;
    }
    // Scenery in slot order, no empty slot.
    int slot = -1;
    for (const auto& object : json["scenery"]) {
        ASSERT_GT(object["slot"].get<int>(), slot);
        ASSERT_NE(object["type"], 0);
        slot = object["slot"];
    }
}

TEST(CommandRoute, TheSeedRepeatsARandomLineAndAnotherSeedGivesAnotherLine)
{
    TagvindRun first = RunTagvind("route --scenery random --length 20 --seed 99 --json -");
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(RunTagvind("route --scenery random --length 20 --seed 99 --json -").out, first.out);
    auto firstJson = nlohmann::ordered_json::parse(first.out);
    auto otherJson = nlohmann::ordered_json::parse(RunTagvind("route --scenery random --length 20 --seed 100 --json -").out);
    EXPECT_EQ(firstJson["seed"], 99);
    EXPECT_EQ(otherJson["seed"], 100);
    EXPECT_EQ(firstJson["options"]["scenery"], SceneryRandom);
    EXPECT_NE(firstJson["plan"], otherJson["plan"]);
}
