#include "shell/commands/route_report.h"

#include <cstdio>

#include "world/game_options.h"
#include "world/world.h"

namespace {

// A meeting station adds this much line to the plan besides its own entry's length.
constexpr double MeetingStationLength = 850.0;
constexpr int32_t MeetingVariantCount = 8;

const char* SceneryName(int32_t scenery)
{
    switch (scenery) {
    case SceneryRandom:
        return "random";
    case SceneryCustom:
        return "custom";
    default:
        return "preset";
    }
}

const char* SoundName(int32_t soundType)
{
    switch (soundType) {
    case SoundOff:
        return "off";
    case SoundDieselAutomatic:
        return "diesel-automatic";
    case SoundDieselElectric:
        return "diesel-electric";
    default:
        return "unknown";
    }
}

}  // namespace

RouteSummary SummarizeRoute(const World& world)
{
    RouteSummary summary{};
    // A built world always has its Terminus; an unbuilt one counts no entries.
    int terminus = FindPlanTerminus(world.plan);
    summary.planEntries = terminus < 0 ? 0 : terminus + 1;

    int meetingStations = 0;
    for (int i = 0; i <= terminus; ++i) {
        const RoutePlanEntry& entry = world.plan[i];
        switch (entry.type) {
        case PlanStraight:
            ++summary.straights;
            break;
        case PlanCurveLeft:
            ++summary.curvesLeft;
            break;
        case PlanCurveRight:
            ++summary.curvesRight;
            break;
        case PlanTunnel:
            ++summary.tunnels;
            break;
        case PlanMeetingStation:
            ++meetingStations;
            summary.plannedLength += MeetingStationLength;
            continue;
        default:
            continue;
        }
        summary.plannedLength += entry.length;
    }

    // Every meeting station advanced the counter once, so its final value, stepped back by the
    // number of stations, is the value the plan generator started it at.
    int32_t variant = ((world.meetingVariant - meetingStations) % MeetingVariantCount + MeetingVariantCount) %
                      MeetingVariantCount;
    for (int k = 0; k < meetingStations; ++k) {
        summary.meetingVariants.push_back(variant);
        variant = (variant + 1) % MeetingVariantCount;
    }

    summary.segments = world.segmentCount;
    summary.strips = world.stripCount;
    // Counted on the strips rather than the plan, so that the destination's village is included.
    for (int i = 0; i < world.stripCount; ++i) {
        const GroundStrip& strip = world.strips[i];
        summary.villageSides += (strip.leftSide == SideVillage) + (strip.rightSide == SideVillage);
    }
    summary.events = world.eventCount;

    for (const SceneryObject& object : world.scenery) {
        if (object.type == SceneryEmpty)
            continue;
        ++summary.sceneryObjects;
        if (object.type == SceneryTree)
            ++summary.trees;
        else if (object.type == ScenerySmallHouse ||
                 (object.type >= SceneryVillageHouseA && object.type <= SceneryVillageHouseB))
            ++summary.houses;
        else if (object.type >= SceneryTownFirst && object.type < SceneryTownFirst + 5)
            ++summary.townBuildings;
        else if (object.type == ScenerySignalBox)
            ++summary.signalBoxes;
        else if (object.type == SceneryPlatform)
            ++summary.platforms;
        else if (object.type == SceneryRailcar || object.type == SceneryLocomotive ||
                 object.type == SceneryGoodsWagon)
            ++summary.trainObjects;
    }
    return summary;
}

void WriteRouteReport(std::ostream& out, const World& world, const GameOptions& options, uint32_t seed,
                      double buildMs)
{
    RouteSummary summary = SummarizeRoute(world);
    char line[160];

    std::snprintf(line, sizeof line, "Tagvind route: %s scenery %d, %d km, meeting stations every %d km\n",
                  SceneryName(options.scenery), options.scenery, options.totalLengthKm, options.meetingDistanceKm);
    out << line;

    if (options.scenery == SceneryRandom || options.scenery == SceneryCustom)
        std::snprintf(line, sizeof line, "  seed              %u\n", seed);
    else
        std::snprintf(line, sizeof line, "  seed              %u (the preset seeds its plan with %u)\n", seed,
                      world.buildStats.planSeed);
    out << line;

    std::snprintf(line, sizeof line,
                  "  options           curves %d %%, villages %d %%, forest %d, relief %d..%d m, "
                  "tunnels after %d m, sound %s\n",
                  options.curvesPercent, options.villagesPercent, options.forestLevel, options.reliefMin,
                  options.reliefMax, options.tunnelSpacing, SoundName(options.soundType));
    out << line;

    std::snprintf(line, sizeof line, "  length            %.0f m in %d plan entries\n", summary.plannedLength,
                  summary.planEntries);
    out << line;
    std::snprintf(line, sizeof line, "  track             %d segments, %d ground strips\n", summary.segments,
                  summary.strips);
    out << line;
    std::snprintf(line, sizeof line, "  straights         %d\n", summary.straights);
    out << line;
    std::snprintf(line, sizeof line, "  curves            %d (%d left, %d right)\n",
                  summary.curvesLeft + summary.curvesRight, summary.curvesLeft, summary.curvesRight);
    out << line;
    std::snprintf(line, sizeof line, "  tunnels           %d\n", summary.tunnels);
    out << line;

    out << "  meeting stations  " << summary.meetingVariants.size();
    if (!summary.meetingVariants.empty()) {
        out << ", variants";
        for (int32_t variant : summary.meetingVariants)
            out << ' ' << variant;
    }
    out << '\n';

    std::snprintf(line, sizeof line, "  villages          %d sides of the line\n", summary.villageSides);
    out << line;
    std::snprintf(line, sizeof line, "  trees             %d\n", summary.trees);
    out << line;
    std::snprintf(line, sizeof line, "  houses            %d\n", summary.houses);
    out << line;
    std::snprintf(line, sizeof line,
                  "  scenery objects   %d (with %d town buildings, %d signal boxes, %d platforms, %d trains)\n",
                  summary.sceneryObjects, summary.townBuildings, summary.signalBoxes, summary.platforms,
                  summary.trainObjects);
    out << line;
    std::snprintf(line, sizeof line, "  events            %d\n", summary.events);
    out << line;
    std::snprintf(line, sizeof line, "  build time        %.2f ms\n", buildMs);
    out << line;
}
