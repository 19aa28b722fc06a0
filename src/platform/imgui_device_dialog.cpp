// The "Change device" dialog, "Select New Direct3D Driver", drawn with Dear ImGui from its lists:
// a drop-down list each for the driver, the device and the mode, and OK and Cancel.

#include <imgui.h>

#include <algorithm>

#include "platform/imgui_game_ui_local.h"
#include "shell/game_ui.h"

namespace {

// One labelled drop-down list; the item picked this frame, or -1.
int32_t DrawList(const char* label, const char* id, const std::vector<std::string>& items, int32_t selected)
{
    int32_t picked = -1;
    ImGui::AlignTextToFramePadding();
    ImGui::TextUnformatted(label);
    ImGui::SameLine(70.0f);
    ImGui::SetNextItemWidth(-1.0f);
    const char* preview = selected >= 0 && selected < static_cast<int32_t>(items.size()) ? items[selected].c_str() : "";
    if (ImGui::BeginCombo(id, preview)) {
        for (size_t i = 0; i < items.size(); ++i) {
            bool isSelected = static_cast<int32_t>(i) == selected;
            if (ImGui::Selectable(items[i].c_str(), isSelected))
                picked = static_cast<int32_t>(i);
            if (isSelected)
                ImGui::SetItemDefaultFocus();
        }
        ImGui::EndCombo();
    }
    return picked;
}

}  // namespace

DeviceDialogActions DrawDeviceDialog(const DeviceDialogLists& lists)
{
    DeviceDialogActions actions;
    const ImGuiIO& io = ImGui::GetIO();
    ImGui::SetNextWindowPos(ImVec2(io.DisplaySize.x * 0.5f, io.DisplaySize.y * 0.5f), ImGuiCond_Always,
                            ImVec2(0.5f, 0.5f));
    ImGui::SetNextWindowSize(ImVec2(std::min(380.0f, io.DisplaySize.x), std::min(150.0f, io.DisplaySize.y)));
    ImGui::SetNextWindowFocus();
    ImGuiWindowFlags flags = ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoMove |
                             ImGuiWindowFlags_NoSavedSettings;
    if (!ImGui::Begin(DeviceDialogTitle, nullptr, flags)) {
        ImGui::End();
        return actions;
    }
    actions.driverItem = DrawList("Driver:", "##driver", lists.drivers, lists.selectedDriver);
    actions.deviceItem = DrawList("Device:", "##device", lists.devices, lists.selectedDevice);
    actions.modeItem = DrawList("Mode:", "##mode", lists.modes, lists.selectedMode);
    ImGui::Spacing();
    ImGui::SetCursorPosX(ImGui::GetWindowWidth() - 2.0f * 80.0f - 20.0f);
    if (ImGui::Button("OK", ImVec2(80.0f, 0.0f)))
        actions.pressedOk = true;
    ImGui::SameLine();
    if (ImGui::Button("Cancel", ImVec2(80.0f, 0.0f)))
        actions.pressedCancel = true;
    WrapDialogNavigation();
    ImGui::End();
    return actions;
}
