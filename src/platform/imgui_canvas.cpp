#include "platform/imgui_canvas.h"

#include <imgui/imgui.h>

#include <vector>

#include "cab/polygon_triangles.h"

namespace {

ImU32 ToImGuiColour(const CabColour& colour)
{
    return IM_COL32(colour.red, colour.green, colour.blue, 255);
}

// ImGui places things in window points; the canvas speaks back-buffer pixels. On a display
// that scales the window the two differ by the framebuffer scale.
ImVec2 PixelScale()
{
    const ImVec2 scale = ImGui::GetIO().DisplayFramebufferScale;
    return {scale.x > 0.0f ? scale.x : 1.0f, scale.y > 0.0f ? scale.y : 1.0f};
}

// A pixel's corner (for fills, which cover the pixels inside their edges).
ImVec2 Corner(float x, float y)
{
    const ImVec2 scale = PixelScale();
    return {x / scale.x, y / scale.y};
}

// A pixel's centre (for lines, which run through the pixels they name).
ImVec2 Centre(int32_t x, int32_t y)
{
    return Corner(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
}

float PenWidth(const CabPen& pen)
{
    return static_cast<float>(pen.width > 0 ? pen.width : 1) / PixelScale().x;
}

}  // namespace

void ImGuiCabCanvas::FillPolygon(const CanvasPoint* points, int32_t count)
{
    if (count < 3)
        return;
    ImDrawList* drawList = ImGui::GetForegroundDrawList();

    // ImGui fills only convex shapes itself; the dashboard is not one, so its triangles are
    // written directly, without anti-aliased fringes that would show as seams between them.
    std::vector<PolygonTriangle> triangles = TriangulatePolygon(points, count);
    const ImU32 fill = ToImGuiColour(brush_);
    const ImVec2 uv = ImGui::GetFontTexUvWhitePixel();
    drawList->PrimReserve(static_cast<int>(triangles.size()) * 3, static_cast<int>(triangles.size()) * 3);
    for (const PolygonTriangle& triangle : triangles) {
        for (int32_t index : {triangle.a, triangle.b, triangle.c}) {
            const CanvasPoint& p = points[index];
            drawList->PrimWriteIdx(static_cast<ImDrawIdx>(drawList->_VtxCurrentIdx));
            drawList->PrimWriteVtx(Corner(static_cast<float>(p.x), static_cast<float>(p.y)), uv, fill);
        }
    }

    std::vector<ImVec2> outline;
    for (int32_t i = 0; i < count; ++i)
        outline.push_back(Centre(points[i].x, points[i].y));
    drawList->AddPolyline(outline.data(), count, ToImGuiColour(pen_.colour), ImDrawFlags_Closed, PenWidth(pen_));
}

void ImGuiCabCanvas::LineTo(int32_t x, int32_t y)
{
    ImGui::GetForegroundDrawList()->AddLine(Centre(current_.x, current_.y), Centre(x, y), ToImGuiColour(pen_.colour),
                                            PenWidth(pen_));
    current_ = {x, y};
}

void ImGuiCabCanvas::FillEllipse(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    ImDrawList* drawList = ImGui::GetForegroundDrawList();
    // The box's right and bottom edges lie just outside the ellipse.
    const ImVec2 centre = Corner(static_cast<float>(left + right) * 0.5f, static_cast<float>(top + bottom) * 0.5f);
    const float radius = static_cast<float>(right - left) * 0.5f / PixelScale().x;
    if (radius <= 0.0f)
        return;
    drawList->AddCircleFilled(centre, radius, ToImGuiColour(brush_));
    const float width = PenWidth(pen_);
    drawList->AddCircle(centre, radius - width * 0.5f, ToImGuiColour(pen_.colour), 0, width);
}

void ImGuiCabCanvas::DrawText(int32_t x, int32_t y, const CabColour& colour, const char* text)
{
    ImGui::GetForegroundDrawList()->AddText(Corner(static_cast<float>(x), static_cast<float>(y)),
                                            ToImGuiColour(colour), text);
}
