#pragma once
// The three-digit readouts of the dashboard, drawn from straight bars like a seven-segment
// display (a 7 is a top bar with a diagonal stroke).

#include <cstdint>

#include "cab/canvas.h"

// The left and right edges of one digit cell, fractions of the picture width.
struct DigitCell {
    float left;
    float right;
};

// Draws digit 0..9 in the cell with the selected pen; any other value draws nothing (the
// hundreds of 1000 km/h, say).
void DrawReadoutDigit(CabCanvas& canvas, int32_t digit, const DigitCell& cell, int32_t width, int32_t height);

// Draws value as hundreds, tens and units in the three cells, leading zeros included.
void DrawReadout(CabCanvas& canvas, int32_t value, const DigitCell (&cells)[3], int32_t width, int32_t height);
