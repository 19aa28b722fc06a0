// The menu bar at the top of the window and the pop-up menu of a right click, drawn with Dear
// ImGui from the menu tables the game hands in.

#include <imgui.h>
#include <imgui_internal.h>

#include "shell/game_ui.h"
#include "shell/game_ui_local.h"

namespace {

constexpr const char* PopupMenuId = "Popup";

// The lines of one menu; the chosen command goes into chosen.
void DrawMenuLines(const MenuView& menu, int32_t& chosen)
{
    for (const MenuLine& line : menu.lines) {
        if (line.label.empty()) {
            ImGui::Separator();
            continue;
        }
        const char* shortcut = line.shortcut.empty() ? nullptr : line.shortcut.c_str();
        if (ImGui::MenuItem(line.label.c_str(), shortcut))
            chosen = line.command;
    }
}

}  // namespace

MenuResult DrawMenus(GameUiState& ui, std::span<const MenuView> menuBar, const MenuView& popup)
{
    MenuResult result;
    if (ui.closeMenus) {
        ImGui::ClosePopupToLevel(0, true);
        ui.closeMenus = false;
    }

    if (ui.menuBarShown && ImGui::BeginMainMenuBar()) {
        for (const MenuView& menu : menuBar) {
            if (ImGui::BeginMenu(menu.title.c_str())) {
                DrawMenuLines(menu, result.command);
                ImGui::EndMenu();
            }
        }
        // The picture starts where the bar really ends (it follows the font).
        ui.menuBarHeight = static_cast<int32_t>(ImGui::GetWindowSize().y * ImGui::GetIO().DisplayFramebufferScale.y);
        ImGui::EndMainMenuBar();
    }

    if (ui.popupRequested) {
        ImGui::SetNextWindowPos(ui.popupAt);
        ImGui::OpenPopup(PopupMenuId);
        ui.popupRequested = false;
    }
    if (ImGui::BeginPopup(PopupMenuId)) {
        DrawMenuLines(popup, result.command);
        ImGui::EndPopup();
    }

    result.anyMenuOpen = ImGui::IsPopupOpen("", ImGuiPopupFlags_AnyPopupId | ImGuiPopupFlags_AnyPopupLevel);
    return result;
}

void OpenPopupAt(GameUiState& ui, int32_t x, int32_t y)
{
    // Both the window system's clicks and ImGui count in window points.
    ui.popupRequested = true;
    ui.popupAt = ImVec2(static_cast<float>(x), static_cast<float>(y));
}

void CloseMenus(GameUiState& ui)
{
    ui.closeMenus = true;
}
