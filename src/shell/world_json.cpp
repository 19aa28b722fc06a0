#include "shell/world_json.h"

#include <algorithm>

#include "world/game_options.h"
#include "world/world.h"

namespace {

constexpr int DumpedGroundNoiseCount = 16;

WorldJson OptionsToJson(const GameOptions& options)
{
    return {
        {"scenery", options.scenery},
        {"totalLengthKm", options.totalLengthKm},
        {"meetingDistanceKm", options.meetingDistanceKm},
        {"curvesPercent", options.curvesPercent},
        {"villagesPercent", options.villagesPercent},
        {"forestLevel", options.forestLevel},
        {"reliefMin", options.reliefMin},
        {"reliefMax", options.reliefMax},
        {"tunnelSpacing", options.tunnelSpacing},
        {"soundType", options.soundType},
    };
}

WorldJson PlanToJson(const RoutePlan& plan)
{
    WorldJson entries = WorldJson::array();
    int terminus = FindPlanTerminus(plan);
    for (int i = 0; i <= terminus; ++i) {
        const RoutePlanEntry& entry = plan[i];
        entries.push_back({
            {"type", entry.type},
            {"length", entry.length},
            {"leftSide", entry.leftSide},
            {"rightSide", entry.rightSide},
            {"leftRelief", entry.leftRelief},
            {"rightRelief", entry.rightRelief},
            {"meetingMark", entry.meetingMark},
            {"forestDensity", entry.forestDensity},
        });
    }
    return entries;
}

WorldJson SegmentsToJson(const World& world)
{
    WorldJson segments = WorldJson::array();
    for (int index = 1; index <= world.segmentCount; ++index) {
        const TrackSegment& segment = world.track[index];
        segments.push_back({
            {"index", index},
            {"type", segment.type},
            {"forwardSwitch", segment.forwardSwitch},
            {"next", segment.next},
            {"nextAlt", segment.nextAlt},
            {"rearSwitch", segment.rearSwitch},
            {"prev", segment.prev},
            {"prevAlt", segment.prevAlt},
            {"startX", segment.startX},
            {"startZ", segment.startZ},
            {"startHeight", segment.startHeight},
            {"endX", segment.endX},
            {"endZ", segment.endZ},
            {"endHeight", segment.endHeight},
            {"radius", segment.radius},
            {"length", segment.length},
            {"startHeading", segment.startHeading},
            {"endHeading", segment.endHeading},
            {"occupancy", segment.occupancy},
            {"signPresent", segment.signPresent},
            {"forwardSign", segment.forwardSign},
            {"reverseSign", segment.reverseSign},
        });
    }
    return segments;
}

WorldJson StripsToJson(const World& world)
{
    WorldJson strips = WorldJson::array();
    for (int index = 0; index < world.stripCount; ++index) {
        const GroundStrip& strip = world.strips[index];
        strips.push_back({
            {"kind", strip.kind},
            {"segment", strip.segment},
            {"leftSide", strip.leftSide},
            {"leftRelief", strip.leftRelief},
            {"rightSide", strip.rightSide},
            {"rightRelief", strip.rightRelief},
            {"startX", strip.startX},
            {"startZ", strip.startZ},
            {"endX", strip.endX},
            {"endZ", strip.endZ},
            {"startHeading", strip.startHeading},
            {"endHeading", strip.endHeading},
        });
    }
    return strips;
}

WorldJson SceneryToJson(const SceneryTable& scenery)
{
    WorldJson objects = WorldJson::array();
    for (int slot = 0; slot < SceneryCapacity; ++slot) {
        const SceneryObject& object = scenery[slot];
        if (object.type == SceneryEmpty)
            continue;
        objects.push_back({
            {"slot", slot},
            {"type", object.type},
            {"x", object.x},
            {"y", object.y},
            {"z", object.z},
            {"rotX", object.rotX},
            {"rotY", object.rotY},
            {"rotZ", object.rotZ},
            {"variation", object.variation},
        });
    }
    return objects;
}

WorldJson EventsToJson(const World& world)
{
    WorldJson events = WorldJson::array();
    for (int index = 0; index < world.eventCount; ++index) {
        const RouteEvent& event = world.events[index];
        events.push_back({
            {"action", event.action},
            {"triggerUnit", event.triggerUnit},
            {"triggerSegment", event.triggerSegment},
            {"kind", event.kind},
            {"unit", event.unit},
            {"direction", event.direction},
            {"speed", event.speed},
            {"throttle", event.throttle},
            {"segment", event.segment},
            {"position", event.position},
            {"signEnd", event.signEnd},
            {"signCode", event.signCode},
            {"switchEnd", event.switchEnd},
            {"switchValue", event.switchValue},
        });
    }
    return events;
}

WorldJson TrainsToJson(const TrainTable& trains)
{
    WorldJson units = WorldJson::array();
    for (int index = 0; index < TrainCapacity; ++index) {
        const TrainUnit& unit = trains[index];
        if (unit.kind == TrainNone)
            continue;
        units.push_back({
            {"index", index},
            {"kind", unit.kind},
            {"direction", unit.direction},
            {"segment", unit.segment},
            {"segmentDistance", unit.segmentDistance},
            {"speed", unit.speed},
            {"throttle", unit.throttle},
            {"brake", unit.brake},
            {"speedLimit", unit.speedLimit},
            {"announcedLimit", unit.announcedLimit},
            {"lineSpeed", unit.lineSpeed},
            {"objectIndex", unit.objectIndex},
        });
    }
    return units;
}

WorldJson ModelLibraryToJson(const ModelLibrary& library)
{
    WorldJson models = WorldJson::array();
    int builtCount = std::clamp<int>(library.builtModelCount, 0, static_cast<int>(library.buildOrder.size()));
    for (int i = 0; i < builtCount; ++i) {
        int32_t type = library.buildOrder[i];
        const ModelEntry& model = library.models[type];
        int64_t vertexCount = 0;
        int64_t indexCount = 0;
        for (int part = model.firstPart; part < model.firstPart + model.partCount; ++part) {
            vertexCount += library.parts[part].vertexCount;
            indexCount += library.parts[part].indexCount;
        }
        models.push_back({
            {"type", type},
            {"partCount", model.partCount},
            {"vertexCount", vertexCount},
            {"indexCount", indexCount},
            {"drawDistance", model.drawDistance},
        });
    }
    return {
        {"vertices", library.vertexCount},
        {"indexes", library.indexCount},
        {"models", models},
    };
}

bool IsListOfRecords(const WorldJson& value)
{
    return value.is_array() && !value.empty() &&
           std::all_of(value.begin(), value.end(), [](const WorldJson& element) { return element.is_object(); });
}

bool HoldsListOfRecords(const WorldJson& value)
{
    return value.is_object() && std::any_of(value.begin(), value.end(), IsListOfRecords);
}

// Objects that hold lists of records, and those lists, are spread over lines; everything else
// is written on one line.
void FormatValue(std::string& text, const WorldJson& value, int depth)
{
    std::string indent(2 * static_cast<size_t>(depth + 1), ' ');
    std::string closingIndent(2 * static_cast<size_t>(depth), ' ');
    if (value.is_object() && (depth == 0 || HoldsListOfRecords(value))) {
        text += "{\n";
        bool first = true;
        for (auto item = value.begin(); item != value.end(); ++item) {
            text += first ? "" : ",\n";
            first = false;
            text += indent + WorldJson(item.key()).dump() + ": ";
            FormatValue(text, item.value(), depth + 1);
        }
        text += "\n" + closingIndent + "}";
    } else if (IsListOfRecords(value)) {
        text += "[\n";
        bool first = true;
        for (const WorldJson& element : value) {
            text += first ? "" : ",\n";
            first = false;
            text += indent + element.dump();
        }
        text += "\n" + closingIndent + "]";
    } else {
        text += value.dump();
    }
}

}  // namespace

WorldJson WorldToJson(const World& world, const GameOptions& options)
{
    WorldJson groundNoise = WorldJson::array();
    for (int i = 0; i < DumpedGroundNoiseCount; ++i)
        groundNoise.push_back(world.groundNoise[i]);

    return {
        {"format", WorldJsonFormat},
        {"options", OptionsToJson(options)},
        {"seed", world.buildStats.planSeed},
        {"draws",
         {
             {"reset", world.buildStats.resetDraws},
             {"plan", world.buildStats.planDraws},
             {"track", world.buildStats.trackDraws},
         }},
        {"meetingVariant", world.meetingVariant},
        {"groundNoise", groundNoise},
        {"plan", PlanToJson(world.plan)},
        {"segments", SegmentsToJson(world)},
        {"strips", StripsToJson(world)},
        {"scenery", SceneryToJson(world.scenery)},
        {"events", EventsToJson(world)},
        {"trains", TrainsToJson(world.trains)},
        {"modelLibrary", ModelLibraryToJson(world.models)},
    };
}

std::string FormatWorldJson(const WorldJson& json)
{
    std::string text;
    FormatValue(text, json, 0);
    text += "\n";
    return text;
}
