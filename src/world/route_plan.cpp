#include "world/route_plan.h"

#include <algorithm>

#include "world/game_options.h"
#include "world/world.h"

namespace {

struct PresetScenery {
    int32_t curvesPercent;
    int32_t villagesPercent;
    int32_t forestLevel;
    int32_t reliefMin;
    int32_t reliefMax;
    int32_t tunnelSpacing;
    int32_t meetingVariantStart;
};

// Sceneries 1..5: each is seeded with its own number and fixes these values.
constexpr PresetScenery PresetSceneries[5] = {
    {30, 5, 1, -10, 20, 7000, 0},
    {30, 5, 1, -10, 50, 7000, 2},
    {80, 5, 1, -10, 50, 7000, 4},
    {30, 5, 1, -10, 20, 1000, 6},
    {80, 5, 1, -10, 50, 2000, 0},
};

struct PlanGenerator {
    int index;
    float totalLength;
    float sinceMeetingStation;
    float sinceTunnel;
    int32_t curveBalance;  // metres of left curve minus metres of right curve
};

void AddPlannedLength(PlanGenerator& generator, float length)
{
    generator.totalLength += length;
    generator.sinceMeetingStation += length;
    generator.sinceTunnel += length;
}

// A meeting station needs room for its loop: a short straight or curve just before it is
// lengthened to 500 m, and the curve balance follows the lengthened curve.
void LengthenEntryBeforeStation(PlanGenerator& generator, RoutePlanEntry& entry)
{
    int32_t added = 0;
    if (entry.type == PlanCurveLeft || entry.type == PlanCurveRight || entry.type == PlanStraight) {
        if (entry.length == 100.0f && entry.type != PlanStraight)
            added = 400;
        else if (entry.length == 300.0f)
            added = 200;
    }
    if (added == 0)
        return;
    entry.length = 500.0f;
    if (entry.type == PlanCurveLeft)
        generator.curveBalance += added;
    else if (entry.type == PlanCurveRight)
        generator.curveBalance -= added;
    AddPlannedLength(generator, static_cast<float>(added));
}

void AppendMeetingStation(RoutePlan& plan, PlanGenerator& generator)
{
    plan[generator.index].type = PlanMeetingStation;
    plan[generator.index].meetingMark = 7;
    generator.sinceMeetingStation = 0.0f;
    generator.totalLength += 850.0f;
    generator.sinceTunnel += 850.0f;
    generator.index += 1;
}

int32_t OpenLandOrVillage(int32_t draw, int32_t villageThreshold)
{
    return draw < villageThreshold ? SideVillage : std::max(draw, static_cast<int32_t>(SideOpenLandMinimum));
}

int32_t ReliefFor(int32_t side, int32_t draw, const GameOptions& options)
{
    if (side < SideOpenLandMinimum)
        return 0;
    return ((options.reliefMax - options.reliefMin) * draw) / 32767 + options.reliefMin;
}

void PlanStraightEntry(RoutePlan& plan, PlanGenerator& generator, const GameOptions& options, const int32_t r[6])
{
    RoutePlanEntry& entry = plan[generator.index];
    const RoutePlanEntry& previous = plan[generator.index - 1];
    int32_t villageThreshold = (options.villagesPercent * 32767) / 100;
    float length = r[1] < 16000 ? 300.0f : 500.0f;

    entry.type = PlanStraight;
    if (generator.sinceTunnel > static_cast<float>(options.tunnelSpacing) && previous.type == PlanStraight) {
        entry.type = PlanTunnel;
        entry.leftSide = SideTunnel;
    } else {
        entry.leftSide = OpenLandOrVillage(r[2], villageThreshold);
    }
    if (entry.leftSide == SideTunnel) {
        entry.rightSide = SideTunnel;
        generator.sinceTunnel = 0.0f;
    } else {
        entry.rightSide = OpenLandOrVillage(r[3], villageThreshold);
    }
    entry.length = length;
    AddPlannedLength(generator, length);
    entry.leftRelief = ReliefFor(entry.leftSide, r[4], options);
    entry.rightRelief = ReliefFor(entry.rightSide, r[5], options);
    entry.forestDensity = options.forestLevel;
    generator.index += 1;
}

// Left curves while the route has turned less than 750 m to the left, then right curves until
// it has come back, so the line never winds ever further one way.
void PlanCurveEntry(RoutePlan& plan, PlanGenerator& generator, const int32_t r[6])
{
    RoutePlanEntry& entry = plan[generator.index];
    int32_t bankOrCutting = r[1] < 16000 ? SideLakeBank : SideCutting;
    if (generator.curveBalance < 750) {
        entry.type = PlanCurveLeft;
        entry.rightSide = SideCurveOuter;
        entry.leftSide = bankOrCutting;
    } else {
        entry.type = PlanCurveRight;
        entry.leftSide = SideCurveOuter;
        entry.rightSide = bankOrCutting;
    }
    int32_t length = r[2] < 10000 ? 100 : (r[2] < 20000 ? 300 : 500);
    entry.length = static_cast<float>(length);
    generator.curveBalance += entry.type == PlanCurveLeft ? length : -length;
    AddPlannedLength(generator, entry.length);
    generator.index += 1;
}

}  // namespace

void GenerateRoutePlan(World& world, GameOptions& options, uint32_t timeSeed)
{
    RoutePlan& plan = world.plan;
    for (RoutePlanEntry& entry : plan)
        entry.type = PlanEnd;

    PlanGenerator generator = {};
    options.tunnelSpacing = 7000;

    world.random.seed(timeSeed);
    world.buildStats.planSeed = timeSeed;
    if (options.scenery >= 1 && options.scenery <= 5) {
        const PresetScenery& preset = PresetSceneries[options.scenery - 1];
        world.random.seed(static_cast<uint32_t>(options.scenery));
        world.buildStats.planSeed = static_cast<uint32_t>(options.scenery);
        options.curvesPercent = preset.curvesPercent;
        options.villagesPercent = preset.villagesPercent;
        options.forestLevel = preset.forestLevel;
        options.reliefMin = preset.reliefMin;
        options.reliefMax = preset.reliefMax;
        options.tunnelSpacing = preset.tunnelSpacing;
        world.meetingVariant = preset.meetingVariantStart;
    }
    uint64_t drawsAtSeed = world.random.drawCount;

    plan[0].type = PlanOrigin;
    generator.index = 1;

    // The plan keeps one entry free for the Terminus.
    const double straightThreshold = (100.0 - options.curvesPercent * 1.25) * 32767.0 / 100.0;
    const float routeLength = static_cast<float>(options.totalLengthKm * 1000);
    const float meetingDistance = static_cast<float>(options.meetingDistanceKm * 1000);
    while (generator.totalLength < routeLength && generator.index < RoutePlanCapacity - 1) {
        int32_t r[6];
        for (int32_t& draw : r)
            draw = world.random.draw();

        if (generator.sinceMeetingStation > meetingDistance) {
            LengthenEntryBeforeStation(generator, plan[generator.index - 1]);
            LengthenEntryBeforeStation(generator, plan[generator.index - 2]);
            AppendMeetingStation(plan, generator);
            continue;
        }
        if (r[0] >= straightThreshold && plan[generator.index - 1].type == PlanStraight)
            PlanCurveEntry(plan, generator, r);
        else
            PlanStraightEntry(plan, generator, options, r);
    }

    plan[generator.index].type = PlanTerminus;
    world.buildStats.planDraws = world.random.drawCount - drawsAtSeed;
}

int FindPlanTerminus(const RoutePlan& plan)
{
    for (int i = 0; i < RoutePlanCapacity; ++i) {
        if (plan[i].type == PlanTerminus)
            return i;
        if (plan[i].type == PlanEnd)
            break;
    }
    return -1;
}
