#pragma once
// Carrying out the line's scripted events: a unit leaving a segment puts trains on the track
// or takes them off, changes a train's speed, a signal or a switch.

#include <cstdint>

struct World;

// Runs, in table order, every event triggered by unit leaving segment. Later events see what
// earlier ones did. Events stay in the table and fire again whenever the departure recurs.
void FireRouteEvents(World& world, int32_t unit, int32_t segment);
