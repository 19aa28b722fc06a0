#pragma once
// The 2D canvas the cab display draws on, over the finished 3D frame: a pen and a brush to
// select, filled polygons and ellipses, straight lines from a current point, and text. The game
// draws it with ImGui on the GL back buffer; tests record the calls.

#include <cstdint>

#include "cab/cab_palette.h"

struct CanvasPoint {
    int32_t x, y;
};

struct CanvasSize {
    int32_t width;         // pixels
    int32_t height;        // pixels
    int32_t bitsPerPixel;  // colour depth of the back buffer, shown in the frame-rate line
};

class CabCanvas {
public:
    virtual ~CabCanvas() = default;

    // The size of the picture being drawn, read afresh every frame so the instruments follow
    // the window.
    virtual CanvasSize RenderSize() = 0;

    // Lines and outlines use the selected pen; fills use the selected brush.
    virtual void SelectPen(const CabPen& pen) = 0;
    virtual void SelectBrush(const CabColour& brush) = 0;

    // Fills the closed polygon (it may be concave) and outlines it.
    virtual void FillPolygon(const CanvasPoint* points, int32_t count) = 0;
    virtual void MoveTo(int32_t x, int32_t y) = 0;
    // A line from the current point to (x, y), which becomes the current point.
    virtual void LineTo(int32_t x, int32_t y) = 0;
    // Fills the ellipse inscribed in the box and outlines it.
    virtual void FillEllipse(int32_t left, int32_t top, int32_t right, int32_t bottom) = 0;
    // Text with its top-left corner at (x, y), on a transparent background.
    virtual void DrawText(int32_t x, int32_t y, const CabColour& colour, const char* text) = 0;
};

// A fraction of the picture's width or height in whole pixels: the product in single precision,
// truncated towards zero (0.45 of 333 pixels is pixel 149, not 150).
inline int32_t PixelsOf(int32_t size, float fraction)
{
    return static_cast<int32_t>(static_cast<float>(size) * fraction);
}
