#pragma once
// The shell's state: the window flags, the game clock, the pause counter and the switches the
// player toggles. Plain values only; the window and device handles stay with the platform layer.
// The simulation reads frameStep and pauseCount from here, and the camera resets viewMode.

#include <cstdint>

#include "sim/camera.h"

struct WindowRectangle {
    int32_t left, top, right, bottom;  // screen pixels, outer rectangle
};

struct AppState {
    int32_t windowed = 1;            // 1 windowed, 0 full screen
    WindowRectangle windowRect = {};  // saved on leaving windowed mode, restored on return
    int32_t isActive = 0;            // 1 while the window is not minimised
    int32_t isReady = 0;             // rendering allowed: no hold in force, device not re-opening
    int32_t holdCount = 0;           // nested holds around modal dialogs
    int32_t pauseCount = 0;          // 0 running, 1 paused, 2 or more: resume at the next frame
    uint32_t clockStartMs = 0;       // timer reading that is time zero of the game clock
    uint32_t pauseStartMs = 0;       // timer reading when the current interruption began
    float lastFrameTime = 0.0f;      // game-clock seconds of the previous frame
    float frameStep = 0.0f;          // seconds the next simulation step covers; 0 while paused
    int32_t simulationEnabled = 1;   // 0 while the start menu is open
    int32_t gameStarted = 0;         // 1 after the first options dialog has closed
    int32_t exitRequested = 0;       // the options dialog's EXIT button
    uint8_t showDistanceScore = 1;   // cab readout: 1 distance and score, 0 frame rate
    int32_t soundOn = 1;             // engine audible; key S and the low-frame-rate cut-off
    int32_t viewMode = 0;            // 0 cab view, 1 outside view
    int32_t soundEnabled = 0;        // 1 when the sound device and its buffer exist
};

