// The start options dialog, "Tagvind Options", drawn with Dear ImGui from its model: the
// "Scenary" group of radio buttons, the "Custom" group of five edits with their ranges, the sound
// choice, the route's seed, and the START/RESTART, Cancel and EXIT buttons.

#include <imgui.h>
#include <imgui_stdlib.h>

#include <algorithm>
#include <cstdio>

#include "platform/imgui_game_ui_local.h"
#include "shell/game_ui.h"

namespace {

constexpr float DialogWidth = 490.0f;
constexpr float DialogHeight = 300.0f;
constexpr float ButtonWidth = 90.0f;

// A frame with its label on the top edge around what is drawn between begin and end, as the
// group boxes of a dialog.
void BeginGroupBox(const char* label)
{
    ImGui::BeginGroup();
    ImGui::TextUnformatted(label);
    ImGui::Indent(8.0f);
}

void EndGroupBox(float width)
{
    ImGui::Unindent(8.0f);
    ImGui::Dummy(ImVec2(width, 2.0f));
    ImGui::EndGroup();
    ImVec2 min = ImGui::GetItemRectMin();
    ImVec2 max = ImGui::GetItemRectMax();
    float labelMiddle = min.y + ImGui::GetTextLineHeight() * 0.5f;
    ImGui::GetWindowDrawList()->AddRect(ImVec2(min.x - 4.0f, labelMiddle), ImVec2(max.x + 4.0f, max.y + 2.0f),
                                        ImGui::GetColorU32(ImGuiCol_Border));
}

void DrawSceneryGroup(const OptionsDialog& dialog, OptionsDialogActions& actions)
{
    BeginGroupBox(SceneryGroupLabel);
    for (int32_t scenery = 1; scenery <= 5; ++scenery) {
        if (scenery > 1)
            ImGui::SameLine();
        char label[8];
        std::snprintf(label, sizeof label, "%d", scenery);
        if (ImGui::RadioButton(label, dialog.workingScenery == scenery))
            actions.chosenScenery = scenery;
    }
    // Random draws anew on every click, checked or not.
    if (ImGui::RadioButton("Random", dialog.workingScenery == SceneryRandom))
        actions.pressedRandom = true;
    if (ImGui::RadioButton("Custom", dialog.workingScenery == SceneryCustom))
        actions.chosenScenery = SceneryCustom;
    EndGroupBox(170.0f);
}

void DrawCustomGroup(OptionsDialog& dialog, const OptionsDialogView& view)
{
    BeginGroupBox(CustomGroupLabel);
    ImGui::BeginDisabled(!view.editsEnabled);
    // Label, edit and range in three columns, at fixed places so a small window scrolls them.
    const float left = ImGui::GetCursorPosX();
    for (size_t i = 0; i < dialog.editTexts.size(); ++i) {
        ImGui::PushID(static_cast<int>(i));
        ImGui::BeginGroup();
        ImGui::TextUnformatted(EditLabels[i]);
        ImGui::EndGroup();
        // SameLine's offset would count from the group's left edge as well, so the cursor is
        // placed in window coordinates instead.
        ImGui::SameLine();
        ImGui::SetCursorPosX(left + 126.0f);
        ImGui::SetNextItemWidth(56.0f);
        ImGui::InputText("##edit", &dialog.editTexts[i]);
        ImGui::SameLine();
        ImGui::SetCursorPosX(left + 188.0f);
        ImGui::TextUnformatted(EditRangeHints[i]);
        ImGui::PopID();
    }
    ImGui::EndDisabled();
    EndGroupBox(230.0f);
}

void DrawSoundChoice(const OptionsDialog& dialog, OptionsDialogActions& actions)
{
    ImGui::TextUnformatted(SoundLabel);
    for (int32_t soundType = SoundOff; soundType <= SoundDieselElectric; ++soundType) {
        ImGui::SameLine();
        if (ImGui::RadioButton(SoundTypeLabels[soundType], dialog.workingSoundType == soundType))
            actions.chosenSoundType = soundType;
    }
}

void DrawButtons(const OptionsDialogView& view, OptionsDialogActions& actions)
{
    if (ImGui::Button(view.startLabel, ImVec2(ButtonWidth, 0.0f)))
        actions.pressedStart = true;
    ImGui::SameLine();
    ImGui::BeginDisabled(!view.cancelEnabled);
    if (ImGui::Button("Cancel", ImVec2(ButtonWidth, 0.0f)))
        actions.pressedCancel = true;
    ImGui::EndDisabled();
    ImGui::SameLine();
    if (ImGui::Button("EXIT", ImVec2(ButtonWidth, 0.0f)))
        actions.pressedExit = true;
}

}  // namespace

OptionsDialogActions DrawOptionsDialog(OptionsDialog& dialog, const OptionsDialogView& view)
{
    OptionsDialogActions actions;
    const ImGuiIO& io = ImGui::GetIO();
    ImGuiWindowFlags flags = ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoMove |
                             ImGuiWindowFlags_NoSavedSettings;
    if (view.fillsWindow) {
        // The first dialog has a window of its own, whose title bar the window system draws.
        ImGui::SetNextWindowPos(ImVec2(0.0f, 0.0f));
        ImGui::SetNextWindowSize(io.DisplaySize);
        flags |= ImGuiWindowFlags_NoTitleBar;
    } else {
        // A small game window gets the dialog at its own size, to be scrolled.
        ImGui::SetNextWindowPos(ImVec2(io.DisplaySize.x * 0.5f, io.DisplaySize.y * 0.5f), ImGuiCond_Always,
                                ImVec2(0.5f, 0.5f));
        ImGui::SetNextWindowSize(
            ImVec2(std::min(DialogWidth, io.DisplaySize.x), std::min(DialogHeight, io.DisplaySize.y)));
        flags |= ImGuiWindowFlags_HorizontalScrollbar;
    }
    ImGui::SetNextWindowFocus();
    if (!ImGui::Begin(OptionsDialogTitle, nullptr, flags)) {
        ImGui::End();
        return actions;
    }

    DrawSceneryGroup(dialog, actions);
    ImGui::SameLine(0.0f, 24.0f);
    DrawCustomGroup(dialog, view);

    ImGui::Spacing();
    DrawSoundChoice(dialog, actions);

    ImGui::Spacing();
    ImGui::Text("Route seed: %u", dialog.routeSeed);
    if (ImGui::IsItemHovered())
        ImGui::SetTooltip("To drive this line again:\n%s", view.replayLine.c_str());

    // The buttons sit at the bottom, or below the rest where the window is too small for that.
    float buttonsY = ImGui::GetWindowHeight() - ImGui::GetFrameHeightWithSpacing() - 8.0f;
    if (buttonsY > ImGui::GetCursorPosY())
        ImGui::SetCursorPosY(buttonsY);
    DrawButtons(view, actions);
    WrapDialogNavigation();
    ImGui::End();
    return actions;
}
