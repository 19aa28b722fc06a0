#include "sim/simulation.h"

#include "sim/camera.h"
#include "sim/train_motion.h"

SignTally StepSimulation(World& world, AppState& app, const GameOptions& options, Camera& camera,
                         EngineSoundStream* sound)
{
    SignTally tally = StepTrains(world, app, options, sound);
    PlaceCamera(camera, world, app);
    return tally;
}
