#pragma once
// Builds whole worlds for tests, on the heap (a world is a few megabytes).

#include <memory>

#include "world/game_options.h"
#include "world/world.h"

inline std::unique_ptr<World> BuildTestWorld(int32_t scenery, int32_t lengthKm, int32_t meetingKm,
                                             uint32_t timeSeed = 12345)
{
    auto world = std::make_unique<World>();
    GameOptions options;
    options.scenery = scenery;
    options.totalLengthKm = lengthKm;
    options.meetingDistanceKm = meetingKm;
    world->random.seed(timeSeed);
    BuildWorld(*world, options, timeSeed);
    return world;
}

// Number of entries of the plan up to and including the Terminus.
inline int PlanLength(const World& world)
{
    int count = 0;
    while (count < RoutePlanCapacity && world.plan[count].type != PlanEnd)
        ++count;
    return count;
}

// The first segment of the n-th meeting station (0-based): plain entries make one segment each,
// layout A (which starts with a 500 m left curve) makes 8 and layout B (a straight) 9.
inline int MeetingStationSegment(const World& world, int stationNumber)
{
    int segment = 8, seen = 0;
    for (int i = 1; i < PlanLength(world); ++i) {
        if (world.plan[i].type != PlanMeetingStation) {
            segment += 1;
            continue;
        }
        if (seen++ == stationNumber)
            return segment;
        segment += world.track[segment].type == SegmentCurveLeft ? 8 : 9;
    }
    return -1;
}
