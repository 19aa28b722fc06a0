#pragma once
// One frame of the simulation: the trains move, then the camera follows the player's train.

#include <cstdint>

#include "sim/signals_scoring.h"

struct Camera;
struct World;

// What the frame driver hands each step of the simulation.
struct SimStep {
    float seconds;      // game time the step covers; 0 in the frame after a pause or a dialog
    bool paused;        // nothing moves, though the destination still holds the train
    int32_t soundType;  // the engine model: the automatic gearbox, or the rate following the notch
};

// Runs every frame in which the simulation is enabled, paused or not: StepTrains, then
// PlaceCamera with the view the player chose (the cab view is forced inside a tunnel). Returns
// what the signs did to the player.
SignTally StepSimulation(World& world, const SimStep& step, Camera& camera, int32_t& viewMode);
