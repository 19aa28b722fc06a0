#pragma once
// Small hand-laid lines for the simulation tests: a world after the reset, with straights
// appended one after the other and linked forward and backward.

#include <cmath>
#include <memory>
#include <tuple>

#include "sim/simulation.h"
#include "world/game_options.h"
#include "world/world.h"

inline std::unique_ptr<World> MakeResetWorld()
{
    auto world = std::make_unique<World>();
    world->random.seed(1);
    WorldReset(*world);
    return world;
}

// Lays segment index as a straight of the given length. It starts where index - 1 ends (or at
// the origin with heading 0 for index 1) and is linked both ways with it.
inline void LayStraight(World& world, int index, float length)
{
    TrackSegment& segment = world.track[index];
    const TrackSegment& before = world.track[index - 1];
    const bool first = index == 1 || before.type == SegmentNone;
    std::tie(segment.type, segment.length, segment.radius, segment.next) = std::tuple(SegmentStraight, length, 0.0f, 0);
    segment.startX = first ? 0.0f : before.endX;
    segment.startZ = first ? 0.0f : before.endZ;
    segment.startHeading = segment.endHeading = first ? 0.0f : before.endHeading;
    segment.endX = segment.startX + static_cast<float>(std::sin(segment.startHeading)) * length;
    segment.endZ = segment.startZ + static_cast<float>(std::cos(segment.startHeading)) * length;
    segment.prev = first ? 0 : index - 1;
    if (!first)
        world.track[index - 1].next = index;
}

inline void LayStraightLine(World& world, int count, float length)
{
    for (int i = 1; i <= count; ++i)
        LayStraight(world, i, length);
}

inline void PutSign(World& world, int segment, int32_t code)
{
    std::tie(world.track[segment].signPresent, world.track[segment].forwardSign) = std::tuple(1, code);
}

// Puts the player's railcar on a segment, forward, at a speed.
inline TrainUnit& PlacePlayer(World& world, int segment, float segmentDistance, float speed)
{
    TrainUnit& player = world.trains[world.playerUnit];
    std::tie(player.segment, player.segmentDistance, player.speed, player.direction) =
        std::tuple(segment, segmentDistance, speed, 0);
    return player;
}

inline RouteEvent& AddEvent(World& world, int index, int32_t action, int32_t triggerUnit, int32_t triggerSegment)
{
    RouteEvent& event = world.events[index];
    event = {};
    std::tie(event.action, event.triggerUnit, event.triggerSegment) = std::tuple(action, triggerUnit, triggerSegment);
    return event;
}

inline SimStep RunningStep(float seconds, int32_t soundType = SoundDieselAutomatic) { return {seconds, false, soundType}; }
