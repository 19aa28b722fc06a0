// The options dialog as Dear ImGui lays it out, without a window or GL: every edit and range
// must lie inside the dialog, at the dialog's own size and in the window of the first dialog.

#include <gtest/gtest.h>

#include <imgui.h>
#include <imgui_internal.h>

#include "headless_imgui.h"
#include "shell/app_state.h"
#include "shell/game_ui.h"
#include "shell/options_dialog.h"
#include "world/game_options.h"

namespace {

// Lays the dialog out for a few frames (ImGui measures a window's contents a frame late) and
// returns the widest line of its contents and the width there is for them.
struct DialogLayout {
    float contentWidth;
    float availableWidth;
};

DialogLayout LayOutDialog(float displayWidth, float displayHeight, bool fillsWindow)
{
    HeadlessImGui imgui(displayWidth, displayHeight);
    GameOptions options;
    AppState app;
    OptionsDialog dialog;
    OpenOptionsDialog(dialog, options, app, 12345u);
    ChooseScenery(dialog, SceneryCustom);
    OptionsDialogView view = {true, true, "RESTART", "tagvind play --seed 12345", fillsWindow};
    for (int frame = 0; frame < 3; ++frame) {
        ImGui::NewFrame();
        DrawOptionsDialog(dialog, view);
        imgui.Render();
    }
    ImGuiWindow* window = ImGui::FindWindowByName(OptionsDialogTitle);
    DialogLayout layout = {0.0f, 0.0f};
    if (window != nullptr)
        layout = {window->ContentSize.x, window->ContentRegionRect.GetWidth()};
    return layout;
}

}  // namespace

TEST(OptionsDialogLayout, TheEditsAndTheirRangesLieInsideTheDialog)
{
    // Over the game, at its own size; and filling the first dialog's window of its own.
    DialogLayout overTheGame = LayOutDialog(800.0f, 600.0f, false);
    ASSERT_GT(overTheGame.availableWidth, 0.0f) << "no dialog was drawn";
    EXPECT_LE(overTheGame.contentWidth, overTheGame.availableWidth);
    DialogLayout ownWindow = LayOutDialog(500.0f, 300.0f, true);
    ASSERT_GT(ownWindow.availableWidth, 0.0f) << "no dialog was drawn";
    EXPECT_LE(ownWindow.contentWidth, ownWindow.availableWidth);
}
