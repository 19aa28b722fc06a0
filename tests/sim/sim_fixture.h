#pragma once
// Small hand-laid lines for the simulation tests: a world after the reset, with straights and
// curves appended one after the other and linked forward and backward.

#include <cmath>
#include <memory>

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
    bool first = index == 1 || before.type == SegmentNone;
    segment.type = SegmentStraight;
    segment.length = length;
    segment.radius = 0.0f;
    segment.startX = first ? 0.0f : before.endX;
    segment.startZ = first ? 0.0f : before.endZ;
    segment.startHeading = first ? 0.0f : before.endHeading;
    segment.endHeading = segment.startHeading;
    segment.endX = segment.startX + static_cast<float>(std::sin(segment.startHeading)) * length;
    segment.endZ = segment.startZ + static_cast<float>(std::cos(segment.startHeading)) * length;
    segment.next = 0;
    segment.prev = first ? 0 : index - 1;
    if (!first)
        world.track[index - 1].next = index;
}

// A line of straights 1..count, each of the given length.
inline void LayStraightLine(World& world, int count, float length)
{
    for (int i = 1; i <= count; ++i)
        LayStraight(world, i, length);
}

inline void PutSign(World& world, int segment, int32_t code)
{
    world.track[segment].signPresent = 1;
    world.track[segment].forwardSign = code;
}

// Puts the player's railcar on a segment, forward, with speed and controls.
inline TrainUnit& PlacePlayer(World& world, int segment, float segmentDistance, float speed)
{
    TrainUnit& player = world.trains[world.playerUnit];
    player.segment = segment;
    player.segmentDistance = segmentDistance;
    player.speed = speed;
    player.direction = 0;
    return player;
}

inline SimStep RunningStep(float seconds, int32_t soundType = SoundDieselAutomatic)
{
    return {seconds, false, soundType};
}
