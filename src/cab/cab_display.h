#pragma once
// The cab display drawn over every finished frame: the status texts, and in the cab view the
// dashboard with the two levers and the speed, limit and announced-limit readouts. It only
// draws: the clocks behind the score, the blinking lamps and the frame rate tick in the frame
// driver.

#include <cstddef>
#include <cstdint>

#include "cab/canvas.h"

struct World;

// What the display shows besides the world: the switches the player set and the last measured
// frame rate.
struct CabView {
    bool paused;
    bool showDistanceScore;  // the status line: distance and score, or the frame rate
    int32_t viewMode;        // ViewCab or ViewOutside (sim/camera.h)
    float framesPerSecond;
};

// Draws the display on canvas. Returns the picture size drawn for, which lever clicks are
// mapped with.
CanvasSize DrawCabDisplay(const World& world, const CabView& view, CabCanvas& canvas);

// The texts of the status line, as the display prints them.
void FormatDistanceText(char* text, size_t size, double odometer);
void FormatScoreText(char* text, size_t size, int32_t score);
void FormatFrameRateText(char* text, size_t size, float framesPerSecond, const CanvasSize& renderSize);
