#pragma once
// A Dear ImGui context with no window or GL behind it: frames are laid out and their draw lists
// built all the same, and can be read back after Render.

#include <imgui.h>

class HeadlessImGui {
public:
    HeadlessImGui(float width, float height)
    {
        context_ = ImGui::CreateContext();
        ImGuiIO& io = ImGui::GetIO();
        io.DisplaySize = ImVec2(width, height);
        io.DeltaTime = 1.0f / 60.0f;
        io.IniFilename = nullptr;
        unsigned char* pixels = nullptr;
        int atlasWidth = 0, atlasHeight = 0;
        io.Fonts->GetTexDataAsRGBA32(&pixels, &atlasWidth, &atlasHeight);
    }
    ~HeadlessImGui() { ImGui::DestroyContext(context_); }
    HeadlessImGui(const HeadlessImGui&) = delete;
    HeadlessImGui& operator=(const HeadlessImGui&) = delete;

    // Ends the frame begun with ImGui::NewFrame and returns what was drawn in front of it all.
    const ImDrawList& Render()
    {
        ImGui::Render();
        return *ImGui::GetForegroundDrawList();
    }

private:
    ImGuiContext* context_;
};
