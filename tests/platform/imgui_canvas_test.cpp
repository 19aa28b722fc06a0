#include <gtest/gtest.h>

#include <imgui/imgui.h>

#include "headless_imgui.h"
#include "platform/imgui_canvas.h"

namespace {

// Whether any triangle of the colour covers the point.
bool IsCovered(const ImDrawList& list, ImU32 colour, float x, float y)
{
    for (int i = 0; i + 2 < list.IdxBuffer.Size; i += 3) {
        const ImDrawVert& a = list.VtxBuffer[list.IdxBuffer[i]];
        const ImDrawVert& b = list.VtxBuffer[list.IdxBuffer[i + 1]];
        const ImDrawVert& c = list.VtxBuffer[list.IdxBuffer[i + 2]];
        if (a.col != colour || b.col != colour || c.col != colour)
            continue;
        auto side = [&](const ImDrawVert& p, const ImDrawVert& q) {
            return (q.pos.x - p.pos.x) * (y - p.pos.y) - (q.pos.y - p.pos.y) * (x - p.pos.x);
        };
        float ab = side(a, b), bc = side(b, c), ca = side(c, a);
        if ((ab >= 0 && bc >= 0 && ca >= 0) || (ab <= 0 && bc <= 0 && ca <= 0))
            return true;
    }
    return false;
}

}  // namespace

TEST(ImGuiCanvas, FillsTheNotchedDashboardOnlyWhereItLies)
{
    HeadlessImGui imgui(800, 600);
    ImGui::NewFrame();
    ImGuiCabCanvas canvas;
    canvas.SetRenderSize({800, 600, 32});
    const CanvasPoint dashboard[8] = {{0, 420},   {80, 420},  {160, 540}, {640, 540},
                                      {720, 420}, {800, 420}, {800, 600}, {0, 600}};
    canvas.SelectBrush({32, 32, 32});
    canvas.SelectPen({{200, 10, 10}, 1});
    canvas.FillPolygon(dashboard, 8);
    const ImDrawList& list = imgui.Render();
    const ImU32 panel = IM_COL32(32, 32, 32, 255);
    EXPECT_TRUE(IsCovered(list, panel, 40, 500)) << "left wing";
    EXPECT_TRUE(IsCovered(list, panel, 760, 430)) << "right wing";
    EXPECT_TRUE(IsCovered(list, panel, 400, 590)) << "lowest tenth";
    // The notch between the wings shows the scene: a convex fill would cover it.
    EXPECT_FALSE(IsCovered(list, panel, 400, 500));
    EXPECT_FALSE(IsCovered(list, panel, 400, 430));
    EXPECT_FALSE(IsCovered(list, panel, 130, 430)) << "above the left slope";
}
