#pragma once
// What the ImGui layer keeps between frames; shared by the *_gl.cpp files of the game's UI.

#include <cstdint>

#include <imgui.h>

#include "cab/imgui_canvas_gl.h"

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
    ImVec2 popupAt = ImVec2(0.0f, 0.0f);
    bool closeMenus = false;
};
