#pragma once
// The route plan: the abstract list of entries (straight, curve, station, ...) that the track
// builder turns into real track.

#include <array>
#include <cstdint>

struct GameOptions;
struct World;

enum PlanEntryType : int32_t {
    PlanEnd = 0,
    PlanStraight = 1,
    PlanCurveLeft = 2,
    PlanCurveRight = 3,
    PlanOrigin = 4,
    PlanTerminus = 5,
    PlanTunnel = 6,
    PlanMeetingStation = 7,
};

// Side kinds beside the track. Open land is the generator's draw itself (at least 100), so
// consumers only test against 6 and 10.
enum SideKind : int32_t {
    SideFlatField = 1,
    SideLakeBank = 2,
    SideCurveOuter = 3,
    SideCutting = 4,
    SideTunnel = 5,
    SideVillage = 6,
    SideOpenLandMinimum = 100,
    SideLayoutOpenLand = 1000,
};

struct RoutePlanEntry {
    int32_t type;
    float length;
    int32_t leftSide;
    int32_t rightSide;
    int32_t leftRelief;
    int32_t rightRelief;
    int32_t meetingMark;
    int32_t forestDensity;
};

constexpr int RoutePlanCapacity = 10000;
using RoutePlan = std::array<RoutePlanEntry, RoutePlanCapacity>;

// Rewrites the plan from the options. Seeds the world's GameRandom with timeSeed first (the
// clock reading, or a seed given on the command line), then with the preset's number for
// sceneries 1 to 5, whose values it also writes back into the options.
void GenerateRoutePlan(World& world, GameOptions& options, uint32_t timeSeed);

// Index of the Terminus entry (the last real entry of the plan).
int FindPlanTerminus(const RoutePlan& plan);
