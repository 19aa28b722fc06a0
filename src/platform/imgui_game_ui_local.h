#pragma once
// What the ImGui layer keeps between frames; shared by the imgui_*.cpp files of the game's UI.

#include <cstdint>

#include <imgui.h>
#include <imgui_internal.h>

#include "platform/imgui_canvas.h"

struct GameUiState {
    ImGuiContext* context = nullptr;
    bool attached = false;
    void* window = nullptr;     // the SDL window ImGui is bound to
    void* glContext = nullptr;

    bool menuBarShown = true;
    int32_t menuBarHeight = 19;

    // The last game frame, drawn under dialogs while the game is held.
    uint32_t lastFrame = 0;
    int32_t lastFrameWidth = 0;
    int32_t lastFrameHeight = 0;
    bool hasLastFrame = false;

    uint32_t iconTexture = 0;
    int32_t iconWidth = 0;
    int32_t iconHeight = 0;

    // The projection set for the picture below the menu bar.
    bool projectionSet = false;
    int32_t projectionTop = 0;
    int32_t projectionWidth = 0;
    int32_t projectionHeight = 0;

    ImGuiCabCanvas canvas;

    // The pop-up menu asked for, and where.
    bool popupRequested = false;
    bool popupAtMiddle = false;  // from the keyboard: in the middle of the picture
    ImVec2 popupAt = ImVec2(0.0f, 0.0f);
    bool closeMenus = false;

    // The menus from the keyboard: Alt down with no other key since, the menu bar to take the
    // focus, the mnemonic typed (with Alt: a menu's, else a line's), and whether a menu was open
    // (or the bar had the focus) when the last frame's menus were drawn.
    bool altAlone = false;
    bool focusMenuBar = false;
    int32_t mnemonic = 0;
    bool mnemonicWithAlt = false;
    bool anyMenuOpen = false;
    ImGuiID menuBarWindowId = 0;
};

// Tab and the arrows go round a dialog: down past its last control comes to its first again.
// Called in the dialog's window, before it ends.
inline void WrapDialogNavigation()
{
    ImGui::NavMoveRequestTryWrapping(ImGui::GetCurrentWindow(), ImGuiNavMoveFlags_WrapY);
}
