#pragma once
// The game window's procedure: what a key, a click, a menu command or a change of the window
// does to the game. A plain function from an input event to changes of the session (the shell
// state, the player's controls, the switches), with the dialogs and the render device reached
// through ShellPlatform; the SDL layer only translates its events into these records.

#include <cstdint>

#include "shell/shell_commands.h"

class ShellPlatform;
struct GameSession;

// The buttons of a game controller that drive, by their place on the pad.
enum GameButton : int32_t {
    ButtonNone = 0,
    ButtonDpadUp,
    ButtonDpadDown,
    ButtonLeftShoulder,
    ButtonRightShoulder,
    ButtonStart,
    ButtonBack,
};

enum class WindowEventKind : int32_t {
    KeyDown = 1,      // key, modifiers
    KeyUp,            // key, modifiers: only the menus look at releases (Alt alone)
    ControllerButton, // button, pressed on a game controller
    LeftButtonDown,   // x, y: a position in the picture, pixels from its top-left corner
    ContextMenu,      // x, y: where the pop-up menu opens; -1, -1 from the keyboard (the middle
                      // of the picture)
    Command,          // command, fromMenu
    MenuLoopEntered,  // a menu was opened
    MenuLoopLeft,     // the open menu closed
    Minimised,
    Restored,         // shown again at the size it had
    Resized,          // the client area took a new size while shown
    Moved,            // x, y: the client area's new top-left corner on the screen
    CloseRequested,
};

struct WindowEvent {
    WindowEventKind kind;
    int32_t key = KeyNone;
    uint32_t modifiers = ModifierNone;
    int32_t x = 0;
    int32_t y = 0;
    int32_t command = CommandNone;
    int32_t fromMenu = 0;  // the command was chosen from the menu bar or the pop-up menu
    int32_t button = ButtonNone;
};

void HandleWindowEvent(GameSession& game, ShellPlatform& platform, const WindowEvent& event);

// A command, as a menu or an accelerator gives it.
void HandleCommand(GameSession& game, ShellPlatform& platform, int32_t command, bool fromMenu);

// The keys of the key table, for keys no accelerator took.
void HandleKey(GameSession& game, int32_t key, uint32_t modifiers);

// The key a controller button stands for: the D-pad's up and the right shoulder are keypad +,
// down and the left shoulder keypad -, Start is P and Back is F9.
int32_t KeyOfButton(int32_t button);

// Whether the cursor is hidden over the window: only in full screen while the game runs.
bool HidesCursor(const GameSession& game);
