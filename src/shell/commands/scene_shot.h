#pragma once
// One picture of a built world without a display: the autopilot drives for a while, then the
// scene is drawn into an offscreen window exactly as the game draws it, and read back. Used by
// `tagvind shot`, `tagvind bench scene` and the tests of the picture.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "platform/gl_draw_device.h"
#include "shell/app_state.h"

struct GameSession;

struct ShotSettings {
    double driveSeconds = 0.0;  // game time the autopilot drives before the picture
    int32_t viewMode = ViewCab;
    int32_t width = 1024;
    int32_t height = 768;
    bool batching = true;
};

struct ShotPicture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgba;  // rows from the top
    DrawStats stats = {};
    std::string renderer;
    double drivenSeconds = 0.0;
    bool reachedDestination = false;
};

// Uses SDL's offscreen video driver when no display is there to open a window on.
void UseOffscreenVideoWithoutDisplay();

// Drives the built world, then draws and reads one frame. Device failures are reported on err
// with their fixed texts; returns the device result (0 on success).
int32_t TakeShot(GameSession& game, const ShotSettings& settings, ShotPicture& picture, std::ostream& err);

// Lets the autopilot drive the built world for the given game time, in the game's frame steps.
// Returns the game time driven (less when the destination came first).
double DriveWorld(GameSession& game, double seconds, bool& reachedDestination);
