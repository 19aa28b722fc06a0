#pragma once
// A script of timed input for driving the game without a person: keys, clicks and window
// changes as the window system would bring them, and marks at which the game writes its state
// or its picture. Read from a file of JSON lines, for example
//   {"at": 1.5, "key": "P"}
//   {"at": 2.0, "key": "RETURN", "modifiers": ["alt"]}
//   {"at": 3.0, "click": [0.03, 0.72]}           (fractions of the picture's width and height)
//   {"at": 3.5, "windowClick": [120, 40], "button": "right"}   (pixels of the window)
//   {"at": 4.0, "minimise": true}   {"at": 5.0, "restore": true}   {"at": 9.0, "close": true}
//   {"at": 4.5, "controller": "DPAD_UP"}   (a button of a made-up game controller, pressed and
//                                           released; plugged in at its first press)
//   {"at": 6.0, "snapshot": "paused"}   {"at": 6.0, "screenshot": "paused.png"}
// "at" is in seconds of the game's timer since its loop started. Input is given to the window
// system in the first turn of the loop at or after its time; a mark is taken at the end of such a
// turn, so the input due with it has been handled.

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "shell/game_window.h"

enum class ScriptAction : int32_t {
    Input = 1,    // a synthetic event
    PictureClick,  // a click at fractions of the picture, placed when it is due
    Snapshot,      // write the game's state under a label
    Screenshot,    // write the next picture shown to a file
};

struct ScriptEvent {
    double at = 0.0;
    ScriptAction action = ScriptAction::Input;
    SyntheticEvent input = {SyntheticKind::Key};
    double pictureX = 0.0;  // PictureClick: fractions of the picture
    double pictureY = 0.0;
    std::string text;       // the snapshot's label or the screenshot's file
};

// Reads a script; the events come out in time order (equal times keep their order). False with
// a message naming the line when a line is not one of the forms above.
bool ReadEventScript(std::istream& in, std::vector<ScriptEvent>& events, std::string& error);

// The key code of a key's name ("P", "F2", "ESCAPE", "SPACE", "RETURN", "KP_PLUS", "KP_5", "UP",
// "TAB", "MENU", ...), or KeyNone.
int32_t KeyNamed(const std::string& name);

// A controller button's name ("DPAD_UP", "DPAD_DOWN", "LEFTSHOULDER", "RIGHTSHOULDER", "START",
// "BACK"), or ButtonNone.
int32_t ButtonNamed(const std::string& name);
