// The About box ("Tagvind Version 1.0" beside the game's icon, and OK) and the help window that
// F1 opens beside the paused game, drawn with Dear ImGui.

#include <imgui.h>

#include "platform/imgui_game_ui_local.h"
#include "shell/game_ui.h"

bool DrawAboutBox(GameUiState& ui)
{
    const ImGuiIO& io = ImGui::GetIO();
    ImGui::SetNextWindowPos(ImVec2(io.DisplaySize.x * 0.5f, io.DisplaySize.y * 0.5f), ImGuiCond_Always,
                            ImVec2(0.5f, 0.5f));
    ImGui::SetNextWindowFocus();
    ImGuiWindowFlags flags = ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoMove |
                             ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_AlwaysAutoResize;
    bool ok = false;
    if (ImGui::Begin("About", nullptr, flags)) {
        if (ui.iconTexture != 0) {
            ImGui::Image(reinterpret_cast<ImTextureID>(static_cast<intptr_t>(ui.iconTexture)), ImVec2(32.0f, 32.0f));
            ImGui::SameLine(0.0f, 16.0f);
        }
        ImGui::BeginGroup();
        ImGui::Dummy(ImVec2(0.0f, 8.0f));
        ImGui::TextUnformatted("Tagvind Version 1.0");
        ImGui::EndGroup();
        ImGui::Spacing();
        ImGui::SetCursorPosX(ImGui::GetWindowWidth() - 80.0f - ImGui::GetStyle().WindowPadding.x);
        if (ImGui::Button("OK", ImVec2(80.0f, 0.0f)))
            ok = true;
    }
    ImGui::End();
    return ok;
}

void DrawHelpWindow(bool& open, std::span<const HelpSection> sections, GameUiState&)
{
    if (!open)
        return;
    const ImGuiIO& io = ImGui::GetIO();
    ImGui::SetNextWindowPos(ImVec2(io.DisplaySize.x * 0.5f, io.DisplaySize.y * 0.45f), ImGuiCond_Appearing,
                            ImVec2(0.5f, 0.5f));
    ImGui::SetNextWindowSize(ImVec2(460.0f, 360.0f), ImGuiCond_Appearing);
    if (ImGui::Begin("Tagvind Help", &open, ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoSavedSettings)) {
        for (size_t i = 0; i < sections.size(); ++i) {
            const HelpSection& section = sections[i];
            // The first section is open when the help opens, the others are a click away.
            ImGuiTreeNodeFlags nodeFlags = i == 0 ? ImGuiTreeNodeFlags_DefaultOpen : 0;
            if (!ImGui::CollapsingHeader(section.title.c_str(), nodeFlags))
                continue;
            for (const HelpLine& line : section.lines) {
                if (line.texture != 0) {
                    ImGui::Image(reinterpret_cast<ImTextureID>(static_cast<intptr_t>(line.texture)),
                                 ImVec2(line.pictureWidth, line.pictureHeight), ImVec2(0.0f, 0.0f),
                                 ImVec2(1.0f, line.pictureShare));
                    ImGui::SameLine();
                }
                ImGui::TextWrapped("%s", line.text.c_str());
            }
        }
    }
    ImGui::End();
}
