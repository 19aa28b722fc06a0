#include "world/world.h"

void BuildWorld(World& world, GameOptions& options, uint32_t timeSeed)
{
    // The order is binding: the route plan seeds the generator itself, so the draws made by
    // the steps before it change the ground's noise but never the route of a preset scenery.
    uint64_t drawsBefore = world.random.drawCount;
    WorldReset(world);
    world.buildStats.resetDraws = world.random.drawCount - drawsBefore;
    BuildModelLibrary(world.models, world.groundNoise.data());
    GenerateRoutePlan(world, options, timeSeed);
    BuildTrack(world);
}
