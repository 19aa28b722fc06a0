#pragma once
// The commands of the game window and the tables that reach them: the menu bar, the pop-up
// menu and the accelerator keys. Plain data; platform/imgui_menus.cpp draws the menus from it and the
// window procedure translates keys with it.

#include <cstdint>
#include <span>

enum ShellCommand : int32_t {
    CommandNone = 0,
    CommandAbout = 142,
    CommandExit = 40001,
    CommandChangeDevice = 40010,
    CommandToggleFullScreen = 40011,
    CommandToggleFrameRate = 40028,
    CommandStartMenu = 40030,
    CommandToggleView = 40031,
    CommandHelp = 40034,
    CommandPause = 40035,
};

// Our own key codes: letters and digits are their upper-case characters, space is ' ', the rest
// are named here. The SDL layer translates its keys into these.
enum GameKey : int32_t {
    KeyNone = 0,
    KeyReturn = 13,
    KeyEscape = 27,
    KeySpace = ' ',
    KeyF1 = 0x101,
    KeyF2, KeyF3, KeyF4, KeyF5, KeyF6, KeyF7, KeyF8, KeyF9, KeyF10, KeyF11, KeyF12,
    KeyKeypad0 = 0x120,
    KeyKeypad1, KeyKeypad2, KeyKeypad3, KeyKeypad4, KeyKeypad5, KeyKeypad6, KeyKeypad7, KeyKeypad8, KeyKeypad9,
    KeyKeypadPlus = 0x130,
    KeyKeypadMinus,
    KeyKeypadMultiply,
    KeyKeypadDivide,
    KeyKeypadEnter,
    KeyKeypadPeriod,
    KeyShift = 0x140,
    KeyControl,
    KeyAlt,
    KeyTab = 0x150,
    KeyLeft,
    KeyUp,
    KeyRight,
    KeyDown,
    KeyApplication,  // the Menu key beside the right Windows key
    KeyOther = 0x1FF,  // any key without a code of its own
};

enum KeyModifier : uint32_t {
    ModifierNone = 0,
    ModifierShift = 1,
    ModifierControl = 2,
    ModifierAlt = 4,
};

// One menu line: the text with its "&" mnemonic and, after a tab, the shortcut shown; a
// separator has no text.
struct MenuItem {
    const char* text;
    int32_t command;
};

struct MenuDefinition {
    const char* title;
    std::span<const MenuItem> items;
};

// The menu bar: "&Menu" and "&Help".
std::span<const MenuDefinition> MenuBar();
// The pop-up menu of a right click.
std::span<const MenuItem> PopupMenu();

struct Accelerator {
    int32_t key;
    uint32_t modifiers;  // must match exactly (Shift, Control and Alt)
    int32_t command;
};

std::span<const Accelerator> AcceleratorTable();

// The command an accelerator gives the key, or CommandNone.
int32_t TranslateAccelerator(int32_t key, uint32_t modifiers);

// A menu text as drawn: the label without its "&" and the shortcut after the tab, each without
// the spaces around it, and the mnemonic: the letter after the "&" in upper case, or 0.
struct MenuLabel {
    char label[64];
    char shortcut[32];
    int32_t mnemonic;
};
MenuLabel SplitMenuText(const char* text);
