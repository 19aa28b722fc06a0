#pragma once
// The brake lever at the left edge of the dashboard and the throttle lever at the right: their
// scales and their knobs. What a click on them means is the driver's controls' business; each
// knob is drawn inside the band that a click selects it by.

#include <cstdint>

#include "cab/cab_palette.h"
#include "cab/canvas.h"

struct TrainUnit;

// The two scales with their labels, and the two knobs at the player's brake and throttle.
void DrawLevers(CabCanvas& canvas, const CabPalette& palette, const TrainUnit& player, int32_t width,
                int32_t height);
