#pragma once
// One frame of the simulation: the trains move, then the camera follows the player's train.

#include "sim/signals_scoring.h"

struct AppState;
struct Camera;
struct GameOptions;
struct World;
class EngineSoundStream;

// Runs every frame in which the simulation is enabled, paused or not: StepTrains with the
// shell's frameStep and pauseCount, then PlaceCamera. Returns what the signs did to the player.
SignTally StepSimulation(World& world, AppState& app, const GameOptions& options, Camera& camera,
                         EngineSoundStream* sound);
