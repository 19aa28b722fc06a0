#pragma once
// The game itself: start-up in the game's order (the options dialog, the sound, the device
// catalogue, the world and the device), the loop that runs a frame whenever no input waits,
// the modal dialogs drawn over the last frame, and the shutdown. Everything that touches the
// window system goes through game_window.h and game_ui.h.

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "sound/sound_buffer.h"
#include "world/game_options.h"

struct PlaySettings {
    GameOptions options;
    uint32_t seed = 0;                // the clock reading the first line is built from
    bool autopilot = false;           // the demo driver drives, through the keypad
    bool offscreen = false;           // no window on a display, nobody to answer dialogs
    double quitAfterSeconds = 0.0;    // 0: play until the player leaves
    std::string screenshotPath;       // the last frame, written as the program ends
    int32_t windowWidth = 300;
    int32_t windowHeight = 300;
    bool fullScreen = false;          // switch to full screen once the window is open
    bool uncapped = false;            // frames as fast as they come, not paced to the display
    std::string eventsPath;           // a script of input (event_script.h)
    std::string stateDumpPath;        // the state as JSON at every mark and at the end
    std::string liveStatePath;        // the state as JSON, kept fresh for a watcher (tests)
    int32_t fixedFrameMs = 0;         // > 0: the timer moves on this much a turn of the loop
};

// Opens the sound device with a looping buffer of the format, or says why not. The command that
// starts the game hands in the platform's.
using OpenSoundDevice =
    std::function<std::unique_ptr<SoundBuffer>(const SoundBufferFormat& format, std::string& whyNot)>;

// Runs the game until the player leaves it. Returns the exit status.
int RunGame(PlaySettings settings, const OpenSoundDevice& openSound, std::ostream& out, std::ostream& err);
