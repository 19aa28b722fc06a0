#pragma once
// The brake lever at the left edge of the dashboard and the throttle lever at the right: their
// scales, their knobs, and what a click on either of them means. Drawing and clicking share one
// set of positions, so a knob always sits in the band that selects it.

#include <cstdint>
#include <optional>

#include "cab/cab_palette.h"
#include "cab/canvas.h"

struct TrainUnit;

// What a click on the levers sets; an empty field keeps the control as it is.
struct LeverClick {
    std::optional<int32_t> brake;     // 1 full braking .. 8 released
    std::optional<int32_t> throttle;  // notch 0..5
};

// The lever positions a left click at (x, y) selects in a width × height picture. A click in
// the brake strip above its released position also closes the throttle; a click on throttle
// notches 1..5 also releases the brake.
LeverClick LeverClickAt(int32_t x, int32_t y, int32_t width, int32_t height);

void ApplyLeverClick(const LeverClick& click, TrainUnit& player);

// The two scales with their labels, and the two knobs at the player's brake and throttle.
void DrawLevers(CabCanvas& canvas, const CabPalette& palette, const TrainUnit& player, int32_t width,
                int32_t height);
