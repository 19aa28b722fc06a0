#include "cab/seven_segment.h"

namespace {

// The bars of a digit, in the order they are drawn, as fractions of the cell: x 0 is the
// cell's left edge and 1 its right edge; the heights are fractions of the picture height.
constexpr float DigitTop = 0.92f;
constexpr float DigitMiddle = 0.95f;
constexpr float DigitBottom = 0.98f;

struct DigitBar {
    int32_t fromRight;  // 0 left edge, 1 right edge
    float fromY;
    int32_t toRight;
    float toY;
};

constexpr DigitBar DigitBars[8] = {
    {0, DigitTop, 1, DigitTop},        // top
    {1, DigitTop, 1, DigitMiddle},     // upper right
    {1, DigitMiddle, 1, DigitBottom},  // lower right
    {0, DigitBottom, 1, DigitBottom},  // bottom
    {0, DigitMiddle, 0, DigitBottom},  // lower left
    {0, DigitTop, 0, DigitMiddle},     // upper left
    {0, DigitMiddle, 1, DigitMiddle},  // middle
    {1, DigitTop, 0, DigitBottom},     // diagonal of the 7
};

// Which bars each digit lights, one bit per bar in the order above. The 6 has no top bar and
// the 9 no bottom bar, as on the original instruments.
constexpr uint8_t DigitBarMasks[10] = {
    0b00111111,  // 0: top, both rights, bottom, both lefts
    0b00000110,  // 1: both rights
    0b01011011,  // 2: top, upper right, bottom, lower left, middle
    0b01001111,  // 3: top, both rights, bottom, middle
    0b01100110,  // 4: both rights, upper left, middle
    0b01101101,  // 5: top, lower right, bottom, upper left, middle
    0b01111100,  // 6: lower right, bottom, both lefts, middle
    0b10000001,  // 7: top, diagonal
    0b01111111,  // 8: all seven bars
    0b01100111,  // 9: top, both rights, upper left, middle
};

}  // namespace

void DrawReadoutDigit(CabCanvas& canvas, int32_t digit, const DigitCell& cell, int32_t width, int32_t height)
{
    if (digit < 0 || digit > 9)
        return;
    const int32_t xs[2] = {PixelsOf(width, cell.left), PixelsOf(width, cell.right)};
    for (int32_t bar = 0; bar < 8; ++bar) {
        if ((DigitBarMasks[digit] & (1u << bar)) == 0)
            continue;
        canvas.MoveTo(xs[DigitBars[bar].fromRight], PixelsOf(height, DigitBars[bar].fromY));
        canvas.LineTo(xs[DigitBars[bar].toRight], PixelsOf(height, DigitBars[bar].toY));
    }
}

void DrawReadout(CabCanvas& canvas, int32_t value, const DigitCell (&cells)[3], int32_t width, int32_t height)
{
    DrawReadoutDigit(canvas, value / 100, cells[0], width, height);
    DrawReadoutDigit(canvas, (value % 100) / 10, cells[1], width, height);
    DrawReadoutDigit(canvas, value % 10, cells[2], width, height);
}
