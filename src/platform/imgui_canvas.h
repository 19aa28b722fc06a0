#pragma once
// The cab display's canvas in the game: Dear ImGui's foreground draw list over the GL back
// buffer, with ImGui's built-in font. The shell owns the ImGui context and starts its frame;
// the draw list is rendered with the rest of ImGui before the frame is presented.

#include "cab/canvas.h"

class ImGuiCabCanvas final : public CabCanvas {
public:
    // The back buffer this frame is drawn on, in pixels; set before the cab display draws.
    void SetRenderSize(const CanvasSize& size) { size_ = size; }

    CanvasSize RenderSize() override { return size_; }
    void SelectPen(const CabPen& pen) override { pen_ = pen; }
    void SelectBrush(const CabColour& brush) override { brush_ = brush; }
    void FillPolygon(const CanvasPoint* points, int32_t count) override;
    void MoveTo(int32_t x, int32_t y) override { current_ = {x, y}; }
    void LineTo(int32_t x, int32_t y) override;
    void FillEllipse(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    void DrawText(int32_t x, int32_t y, const CabColour& colour, const char* text) override;

private:
    CanvasSize size_ = {0, 0, 32};
    CabPen pen_ = {{0, 0, 0}, 1};
    CabColour brush_ = {0, 0, 0};
    CanvasPoint current_ = {0, 0};
};
