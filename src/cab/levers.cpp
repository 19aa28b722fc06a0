#include "cab/levers.h"

#include <algorithm>

#include "sim/lever_layout.h"
#include "world/train_unit.h"

namespace {

// Scale labels: a cell from L to R across and from T down to T + 0.024, with its middle at
// T + 0.012. Each label sits beside the knob position it names.
constexpr float LabelTops[8] = {0.71f, 0.745f, 0.78f, 0.815f, 0.85f, 0.885f, 0.92f, 0.955f};
constexpr float LabelMiddle = 0.012f;
constexpr float LabelBottom = 0.024f;
constexpr float BrakeLabelLeft = 0.05f;
constexpr float BrakeLabelRight = 0.065f;
constexpr float ThrottleLabelLeft = 0.935f;
constexpr float ThrottleLabelRight = 0.95f;

// A label glyph as up to five strokes between the corners and mid-points of its cell.
enum GlyphX : uint8_t { Left, Right };
enum GlyphY : uint8_t { Top, Middle, Bottom };

struct GlyphStroke {
    GlyphX fromX;
    GlyphY fromY;
    GlyphX toX;
    GlyphY toY;
};

struct Glyph {
    int32_t strokeCount;
    GlyphStroke strokes[5];
};

constexpr Glyph GlyphDigits[8] = {
    // 0
    {4, {{Left, Top, Left, Bottom}, {Right, Top, Right, Bottom}, {Left, Top, Right, Top}, {Left, Bottom, Right, Bottom}}},
    // 1
    {1, {{Right, Top, Right, Bottom}}},
    // 2
    {5,
     {{Left, Top, Right, Top},
      {Right, Top, Right, Middle},
      {Right, Middle, Left, Middle},
      {Left, Middle, Left, Bottom},
      {Left, Bottom, Right, Bottom}}},
    // 3
    {4, {{Left, Top, Right, Top}, {Left, Middle, Right, Middle}, {Left, Bottom, Right, Bottom}, {Right, Top, Right, Bottom}}},
    // 4
    {3, {{Left, Top, Left, Middle}, {Left, Middle, Right, Middle}, {Right, Top, Right, Bottom}}},
    // 5
    {5,
     {{Left, Top, Right, Top},
      {Left, Middle, Right, Middle},
      {Left, Bottom, Right, Bottom},
      {Left, Top, Left, Middle},
      {Right, Middle, Right, Bottom}}},
    // 6
    {4,
     {{Left, Top, Left, Bottom},
      {Left, Middle, Right, Middle},
      {Left, Bottom, Right, Bottom},
      {Right, Middle, Right, Bottom}}},
    // 7
    {2, {{Left, Top, Right, Top}, {Right, Top, Left, Bottom}}},
};

// "N" for neutral: the released brake.
constexpr Glyph GlyphNeutral = {3, {{Left, Top, Left, Bottom}, {Left, Top, Right, Bottom}, {Right, Top, Right, Bottom}}};

void DrawGlyph(CabCanvas& canvas, const Glyph& glyph, float left, float right, float top, int32_t width,
               int32_t height)
{
    const int32_t xs[2] = {PixelsOf(width, left), PixelsOf(width, right)};
    const int32_t ys[3] = {PixelsOf(height, top), PixelsOf(height, top + LabelMiddle), PixelsOf(height, top + LabelBottom)};
    for (int32_t s = 0; s < glyph.strokeCount; ++s) {
        const GlyphStroke& stroke = glyph.strokes[s];
        canvas.MoveTo(xs[stroke.fromX], ys[stroke.fromY]);
        canvas.LineTo(xs[stroke.toX], ys[stroke.toY]);
    }
}

void DrawKnob(CabCanvas& canvas, const CabPalette& palette, bool atRest, CabBrushId activeBrush, CabPenId activePen,
              float centreX, float centreY, int32_t width, int32_t height)
{
    canvas.SelectPen(palette.pens[atRest ? PenWhite : activePen]);
    canvas.SelectBrush(palette.brushes[atRest ? BrushWhite : activeBrush]);
    int32_t x = PixelsOf(width, centreX);
    int32_t y = PixelsOf(height, centreY);
    int32_t radius = height / 80;
    canvas.FillEllipse(x - radius, y - radius, x + radius, y + radius);
}

}  // namespace

void DrawLevers(CabCanvas& canvas, const CabPalette& palette, const TrainUnit& player, int32_t width, int32_t height)
{
    canvas.SelectPen(palette.pens[PenScale]);
    // Brake scale: "1" (full braking) at the top down to "7", then "N" for released.
    for (int32_t position = 0; position < 7; ++position)
        DrawGlyph(canvas, GlyphDigits[position + 1], BrakeLabelLeft, BrakeLabelRight, LabelTops[position], width,
                  height);
    DrawGlyph(canvas, GlyphNeutral, BrakeLabelLeft, BrakeLabelRight, LabelTops[7], width, height);
    // Throttle scale: "0" (closed) at the top down to "5".
    for (int32_t notch = 0; notch < 6; ++notch)
        DrawGlyph(canvas, GlyphDigits[notch], ThrottleLabelLeft, ThrottleLabelRight, LabelTops[notch], width, height);

    // The controls never leave their ranges; clamping only keeps a stray value on the scale.
    int32_t brake = std::clamp(player.brake, BrakeFull, BrakeReleased);
    int32_t throttle = std::clamp(player.throttle, ThrottleClosed, ThrottleFull);
    DrawKnob(canvas, palette, brake == BrakeReleased, BrushRed, PenRed, BrakeKnobX, KnobHeights[brake - BrakeFull],
             width, height);
    DrawKnob(canvas, palette, throttle == ThrottleClosed, BrushGreen, PenGreen, ThrottleKnobX,
             KnobHeights[throttle - ThrottleClosed], width, height);
}
