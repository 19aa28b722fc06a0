#pragma once
// The cab display drawn over every finished frame: the status texts, and in the cab view the
// dashboard with the two levers and the speed, limit and announced-limit readouts. The same
// call keeps the wall-clock bookkeeping: the once-a-second score tick with the frame-rate
// measurement and the low-frame-rate sound cut-off, and the lamp blink.

#include <cstddef>
#include <cstdint>
#include <functional>

#include "cab/canvas.h"

struct AppState;
struct World;

// Kept from frame to frame; all zero at program start.
struct CabDisplayState {
    int32_t frameCounter;    // frames since the last tick
    float lastTickTime;      // wall-clock seconds
    float lastBlinkTime;     // wall-clock seconds
    float framesPerSecond;   // measured at the last tick
    int32_t lowRateSeconds;  // consecutive ticks below 10 frames per second
    bool hasTicked;          // the first frame always ticks, whatever the clock reads
    // The picture size of the last frame drawn: the window maps lever clicks with it.
    int32_t renderWidth;
    int32_t renderHeight;
};

// Draws the display on canvas and runs the ticks. nowSeconds is the wall clock since the
// program started (it runs on through pauses and from one run to the next);
// silenceEngineSound is called when a frame rate that stays low cuts the sound off.
void DrawCabDisplay(CabDisplayState& display, World& world, AppState& app, CabCanvas& canvas, float nowSeconds,
                    const std::function<void()>& silenceEngineSound);

// The texts of the status line, as the display prints them.
void FormatDistanceText(char* text, size_t size, double odometer);
void FormatScoreText(char* text, size_t size, int32_t score);
void FormatFrameRateText(char* text, size_t size, float framesPerSecond, const CanvasSize& renderSize);
