#pragma once
// Dear ImGui over the game's picture: the frame it is drawn in, the menus, the dialogs, the About
// box and the help window. The drawers take plain data and say what the player did; the game's
// logic applies it. Implemented over ImGui's SDL2 and OpenGL3 back ends in the platform/imgui_*.cpp files
// beside this header.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "cab/canvas.h"
#include "shell/device_dialog.h"
#include "shell/options_dialog.h"

struct RenderDevice;
struct TextureImage;
struct DialogWindow;

// --- The frame -----------------------------------------------------------------------------

struct GameUiState;  // ImGui's context with its back ends, the last frame and the icon

GameUiState* CreateGameUi();
void DestroyGameUi(GameUiState* ui);

// Binds ImGui to the device's window and context after every open; unbinds before it closes.
bool AttachGameUi(GameUiState& ui, RenderDevice& device, const TextureImage& icon);
void DetachGameUi(GameUiState& ui);
// The same for the window of the first options dialog.
bool AttachDialogUi(GameUiState& ui, DialogWindow& window, const TextureImage& icon);

// The rows the menu bar takes at the top of the window (0 while it is hidden).
int32_t MenuBarHeight(const GameUiState& ui);
void SetMenuBarShown(GameUiState& ui, bool shown);

// The 3D picture lies below the menu bar: sets the viewport and the projection for it.
void PlaceScenePicture(GameUiState& ui, RenderDevice& device);

// Starts an ImGui frame. With the last frame behind, the picture of the last game frame is
// drawn under everything (dialogs are drawn over it while the game is held).
void BeginUiFrame(GameUiState& ui, bool lastFrameBehind);
// The cab display's canvas for this frame: the picture's size, drawn below the menu bar.
CabCanvas& CabCanvasOfFrame(GameUiState& ui, RenderDevice& device);
// Moves what the cab display drew behind the windows and below the menu bar.
void PlaceCabDisplay(GameUiState& ui);
// Renders ImGui; a game frame is kept as the last frame. With a picture asked for, the whole
// window is read into it (rows from the top, RGBA) before it is presented.
void EndUiFrame(GameUiState& ui, bool keepAsLastFrame, std::vector<uint8_t>* picture, int32_t& pictureWidth,
                int32_t& pictureHeight);
// Reads the last game frame (rows from the top, RGBA); false when there is none.
bool ReadLastFrame(GameUiState& ui, std::vector<uint8_t>& rgba, int32_t& width, int32_t& height);

// Whether ImGui is typing into a text field, so keys are not the game's; whether the mouse is
// over one of its windows (the menu bar, the help), so clicks are not the levers'.
bool UiWantsText();
bool UiWantsMouse();

// --- The menus -----------------------------------------------------------------------------

struct MenuLine {
    std::string label;     // empty for a separator
    std::string shortcut;
    int32_t command;
    int32_t mnemonic = 0;  // the upper-case letter that chooses it in the open menu, or 0
};

struct MenuView {
    std::string title;
    std::vector<MenuLine> lines;
    int32_t mnemonic = 0;  // the letter that opens it with Alt
};

// What the menus did this frame.
struct MenuResult {
    int32_t command = 0;    // chosen, or 0
    bool anyMenuOpen = false;
};

// The menu bar at the top of the window, and the pop-up menu: OpenPopupAt asks for it at a
// point of the window; it stays open until an item is chosen or it is dismissed.
MenuResult DrawMenus(GameUiState& ui, std::span<const MenuView> menuBar, const MenuView& popup);
void OpenPopupAt(GameUiState& ui, int32_t x, int32_t y);
// Closes whatever menu is open (Esc).
void CloseMenus(GameUiState& ui);
// The menus' own keys, which they take before the game sees them, as the window system's menus
// do: Alt pressed and released alone, or F10, moves the focus to the menu bar and back; Alt with
// a menu's mnemonic opens that menu; while a menu is open (or the bar has the focus) Esc closes
// it, a mnemonic chooses, and the rest (arrows, Enter, Space) are ImGui's navigation. key is one
// of the game's key codes; released is true for a key going up. True when the key was taken.
bool TakeMenuKey(GameUiState& ui, std::span<const MenuView> menuBar, int32_t key, uint32_t modifiers,
                 bool released, bool menuOpen);

// --- The dialogs ---------------------------------------------------------------------------

// What the player did in the options dialog this frame. The edits are typed into the model's
// texts directly.
struct OptionsDialogActions {
    int32_t chosenScenery = 0;    // 1..5 or 7, 0 for none
    bool pressedRandom = false;
    int32_t chosenSoundType = -1;
    bool pressedStart = false;
    bool pressedCancel = false;
    bool pressedExit = false;
};

struct OptionsDialogView {
    bool editsEnabled;
    bool cancelEnabled;
    const char* startLabel;
    std::string replayLine;
    bool fillsWindow;  // the first dialog has a window of its own
};

OptionsDialogActions DrawOptionsDialog(OptionsDialog& dialog, const OptionsDialogView& view);

struct DeviceDialogActions {
    int32_t driverItem = -1;
    int32_t deviceItem = -1;
    int32_t modeItem = -1;
    bool pressedOk = false;
    bool pressedCancel = false;
};

DeviceDialogActions DrawDeviceDialog(const DeviceDialogLists& lists);

// The About box: true when OK was pressed.
bool DrawAboutBox(GameUiState& ui);

// The help window: sections of a title and lines, a line with a picture beside it where it has
// a texture (a sign's, say). open goes false when it is closed.
struct HelpLine {
    std::string text;
    uint32_t texture = 0;  // a texture of the open device, 0 for none
    float pictureWidth = 0.0f;
    float pictureHeight = 0.0f;
    float pictureShare = 1.0f;  // the share of the texture's height shown, from its top
};

struct HelpSection {
    std::string title;
    std::vector<HelpLine> lines;
};

void DrawHelpWindow(bool& open, std::span<const HelpSection> sections, GameUiState& ui);
