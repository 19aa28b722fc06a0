#pragma once
// The readable account of a built route: what the plan holds, what the track builder laid and
// what stands beside it.

#include <cstdint>
#include <ostream>
#include <vector>

struct GameOptions;
struct World;

struct RouteSummary {
    int planEntries;       // Origin to Terminus, both included
    double plannedLength;  // metres: the plan's entry lengths plus the length of each meeting station
    int segments;
    int strips;
    int straights;         // plain straights; tunnels are counted apart
    int curvesLeft;
    int curvesRight;
    int tunnels;
    std::vector<int32_t> meetingVariants;  // the variant each meeting station was built with, in order
    int villageSides;      // sides of ground strips that are villages
    int sceneryObjects;    // every non-empty slot
    int trees;
    int houses;
    int townBuildings;
    int signalBoxes;
    int platforms;
    int trainObjects;
    int events;
};

// Counts what the last build left in the world's tables.
RouteSummary SummarizeRoute(const World& world);

// Writes the report of the built world. options are those after the build (a preset writes its
// own values back); seed is the number standing for the clock reading; buildMs the build's time.
void WriteRouteReport(std::ostream& out, const World& world, const GameOptions& options, uint32_t seed,
                      double buildMs);
