#pragma once
// Builds a world in the test process the way the command line does, on the heap (a world is a
// few megabytes).

#include <memory>

#include "shell/world_options.h"
#include "world/game_options.h"
#include "world/world.h"

inline std::unique_ptr<World> BuildShellTestWorld(GameOptions& options, uint32_t seed)
{
    auto world = std::make_unique<World>();
    SeedAsStartUp(*world, options, seed);
    BuildWorld(*world, options, seed);
    return world;
}

inline std::unique_ptr<World> BuildPresetWorld(int32_t scenery, int32_t lengthKm, int32_t meetingKm,
                                               uint32_t seed = 4321)
{
    GameOptions options;
    options.scenery = scenery;
    options.totalLengthKm = lengthKm;
    options.meetingDistanceKm = meetingKm;
    return BuildShellTestWorld(options, seed);
}
