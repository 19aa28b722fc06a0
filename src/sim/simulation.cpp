#include "sim/simulation.h"

#include "sim/camera.h"
#include "sim/train_motion.h"

SignTally StepSimulation(World& world, const SimStep& step, Camera& camera, int32_t& viewMode)
{
    SignTally tally = StepTrains(world, step);
    PlaceCamera(camera, world, viewMode);
    return tally;
}
