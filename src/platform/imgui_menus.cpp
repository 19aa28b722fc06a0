// The menu bar at the top of the window and the pop-up menu of a right click, drawn with Dear
// ImGui from the menu tables the game hands in, and reached from the keyboard as the window
// system's menus are: Alt or F10 to the bar, Alt and a mnemonic to a menu, arrows, Enter and the
// lines' mnemonics inside (the moving about is ImGui's navigation).

#include <imgui.h>
#include <imgui_internal.h>

#include "platform/imgui_game_ui_local.h"
#include "shell/game_ui.h"
#include "shell/shell_commands.h"

namespace {

constexpr const char* PopupMenuId = "Popup";

// A menu opened from the keyboard shows its chosen line at once, and the mouse resting over
// another does not take it away until it moves.
void ShowKeyboardHighlight()
{
    ImGuiContext& g = *ImGui::GetCurrentContext();
    g.NavDisableHighlight = false;
    g.NavDisableMouseHover = true;
}

bool MenuBarHasFocus(const GameUiState& ui)
{
    ImGuiContext& g = *ImGui::GetCurrentContext();
    return ui.menuBarWindowId != 0 && g.NavWindow != nullptr && g.NavWindow->ID == ui.menuBarWindowId &&
           g.NavLayer == ImGuiNavLayer_Menu;
}

bool AnyPopupOpen()
{
    return ImGui::IsPopupOpen("", ImGuiPopupFlags_AnyPopupId | ImGuiPopupFlags_AnyPopupLevel);
}

// The lines of one menu; the chosen command goes into chosen. A line's mnemonic typed in the
// open menu chooses it as a click does.
void DrawMenuLines(const MenuView& menu, int32_t typedMnemonic, int32_t& chosen)
{
    for (const MenuLine& line : menu.lines) {
        if (line.label.empty()) {
            ImGui::Separator();
            continue;
        }
        const char* shortcut = line.shortcut.empty() ? nullptr : line.shortcut.c_str();
        bool typed = typedMnemonic != 0 && line.mnemonic == typedMnemonic;
        if (ImGui::MenuItem(line.label.c_str(), shortcut) || typed) {
            chosen = line.command;
            if (typed)
                ImGui::CloseCurrentPopup();
        }
    }
}

// The bar's menus. The focus goes to the first title when asked; a typed mnemonic opens its
// menu when Alt was held, or when the bar has the focus with no menu open.
void DrawMenuBarMenus(GameUiState& ui, std::span<const MenuView> menuBar, MenuResult& result)
{
    ImGuiWindow* bar = ImGui::GetCurrentWindow();
    ui.menuBarWindowId = bar->ID;
    bool opensByMnemonic = ui.mnemonic != 0 && (ui.mnemonicWithAlt || (MenuBarHasFocus(ui) && !AnyPopupOpen()));
    for (size_t i = 0; i < menuBar.size(); ++i) {
        const MenuView& menu = menuBar[i];
        if (opensByMnemonic && menu.mnemonic == ui.mnemonic) {
            ImGui::OpenPopup(menu.title.c_str());
            ShowKeyboardHighlight();
        }
        if (ImGui::BeginMenu(menu.title.c_str())) {
            DrawMenuLines(menu, ui.mnemonicWithAlt ? 0 : ui.mnemonic, result.command);
            ImGui::EndMenu();
        } else if (i == 0 && ui.focusMenuBar) {
            ImGui::FocusWindow(bar);
            ImRect title(ImGui::GetItemRectMin(), ImGui::GetItemRectMax());
            title.Translate(ImVec2(-bar->Pos.x, -bar->Pos.y));
            ImGui::SetNavID(ImGui::GetItemID(), ImGuiNavLayer_Menu, 0, title);
            ShowKeyboardHighlight();
        }
    }
}

}  // namespace

MenuResult DrawMenus(GameUiState& ui, std::span<const MenuView> menuBar, const MenuView& popup)
{
    MenuResult result;
    if (ui.closeMenus) {
        if (ImGui::GetCurrentContext()->OpenPopupStack.Size > 0)
            ImGui::ClosePopupToLevel(0, true);
        if (MenuBarHasFocus(ui))
            ImGui::FocusWindow(nullptr);
        ui.closeMenus = false;
    }

    if (ui.menuBarShown && ImGui::BeginMainMenuBar()) {
        DrawMenuBarMenus(ui, menuBar, result);
        // The picture starts where the bar really ends (it follows the font).
        ui.menuBarHeight = static_cast<int32_t>(ImGui::GetWindowSize().y * ImGui::GetIO().DisplayFramebufferScale.y);
        ImGui::EndMainMenuBar();
    }

    if (ui.popupRequested) {
        if (ui.popupAtMiddle) {
            // The middle of the picture, below the menu bar.
            ImVec2 size = ImGui::GetIO().DisplaySize;
            float top = static_cast<float>(MenuBarHeight(ui)) / ImGui::GetIO().DisplayFramebufferScale.y;
            ui.popupAt = ImVec2(size.x * 0.5f, top + (size.y - top) * 0.5f);
            ShowKeyboardHighlight();
        }
        ImGui::SetNextWindowPos(ui.popupAt);
        ImGui::OpenPopup(PopupMenuId);
        ui.popupRequested = false;
    }
    if (ImGui::BeginPopup(PopupMenuId)) {
        DrawMenuLines(popup, ui.mnemonicWithAlt ? 0 : ui.mnemonic, result.command);
        ImGui::EndPopup();
    }

    ui.focusMenuBar = false;
    ui.mnemonic = 0;
    ui.mnemonicWithAlt = false;
    result.anyMenuOpen = AnyPopupOpen() || MenuBarHasFocus(ui);
    ui.anyMenuOpen = result.anyMenuOpen;
    return result;
}

void OpenPopupAt(GameUiState& ui, int32_t x, int32_t y)
{
    // Both the window system's clicks and ImGui count in window points.
    ui.popupRequested = true;
    ui.popupAtMiddle = x == -1 && y == -1;
    ui.popupAt = ImVec2(static_cast<float>(x), static_cast<float>(y));
}

void CloseMenus(GameUiState& ui)
{
    ui.closeMenus = true;
}

bool TakeMenuKey(GameUiState& ui, std::span<const MenuView> menuBar, int32_t key, uint32_t modifiers,
                 bool released, bool menuOpen)
{
    if (released) {
        if (key == KeyAlt && ui.altAlone) {
            ui.altAlone = false;
            if (menuOpen)
                CloseMenus(ui);
            else
                ui.focusMenuBar = ui.menuBarShown;
        }
        return true;
    }
    if (key == KeyAlt) {
        ui.altAlone = true;
        return true;
    }
    ui.altAlone = false;
    if (key == KeyF10 && modifiers == ModifierNone) {
        if (menuOpen)
            CloseMenus(ui);
        else
            ui.focusMenuBar = ui.menuBarShown;
        return true;
    }
    bool letter = key >= 'A' && key <= 'Z';
    if (letter && modifiers == ModifierAlt && ui.menuBarShown) {
        for (const MenuView& menu : menuBar) {
            if (menu.mnemonic == key) {
                ui.mnemonic = key;
                ui.mnemonicWithAlt = true;
                return true;
            }
        }
    }
    if (!menuOpen)
        return false;
    if (key == KeyEscape)
        CloseMenus(ui);
    else if (letter && (modifiers & (ModifierAlt | ModifierControl)) == 0)
        ui.mnemonic = key;
    return true;
}
