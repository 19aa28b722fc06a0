#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "cab/seven_segment.h"
#include "recording_canvas.h"

namespace {

// A 1000 × 1000 picture puts the cell edges on round pixels: the cell 0.37..0.40 spans x 370
// to 400, and the bars lie at heights 920, 950 and 980.
constexpr int32_t Side = 1000;
constexpr DigitCell Cell = {0.37f, 0.40f};

// Names the bars drawn in the cell by where they lie.
std::set<std::string> BarsDrawn(const RecordingCanvas& canvas)
{
    auto name = [](const RecordedLine& line) -> std::string {
        auto at = [](const CanvasPoint& p, int32_t x, int32_t y) { return p.x == x && p.y == y; };
        auto is = [&](int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
            return (at(line.from, x0, y0) && at(line.to, x1, y1)) || (at(line.from, x1, y1) && at(line.to, x0, y0));
        };
        if (is(370, 920, 400, 920)) return "top";
        if (is(400, 920, 400, 950)) return "upper right";
        if (is(400, 950, 400, 980)) return "lower right";
        if (is(370, 980, 400, 980)) return "bottom";
        if (is(370, 950, 370, 980)) return "lower left";
        if (is(370, 920, 370, 950)) return "upper left";
        if (is(370, 950, 400, 950)) return "middle";
        if (is(400, 920, 370, 980)) return "diagonal";
        return "stray line";
    };
    std::set<std::string> bars;
    for (const RecordedLine& line : canvas.lines)
        bars.insert(name(line));
    return bars;
}

}  // namespace

TEST(SevenSegment, EachDigitLightsItsOwnBars)
{
    const std::set<std::string> expected[10] = {
        {"top", "upper right", "lower right", "bottom", "lower left", "upper left"},
        {"upper right", "lower right"},
        {"top", "upper right", "bottom", "lower left", "middle"},
        {"top", "upper right", "lower right", "bottom", "middle"},
        {"upper right", "lower right", "upper left", "middle"},
        {"top", "lower right", "bottom", "upper left", "middle"},
        {"lower right", "bottom", "lower left", "upper left", "middle"},
        {"top", "diagonal"},
        {"top", "upper right", "lower right", "bottom", "lower left", "upper left", "middle"},
        {"top", "upper right", "lower right", "upper left", "middle"},
    };
    for (int32_t digit = 0; digit <= 9; ++digit) {
        RecordingCanvas canvas({Side, Side, 32});
        DrawReadoutDigit(canvas, digit, Cell, Side, Side);
        EXPECT_EQ(BarsDrawn(canvas), expected[digit]) << "digit " << digit;
        // Every bar once: a repeated bar would show up as a line count above the set's size.
        EXPECT_EQ(canvas.lines.size(), expected[digit].size()) << "digit " << digit;
    }
}

TEST(SevenSegment, ValuesOutsideOneDigitDrawNothing)
{
    for (int32_t value : {10, -1, 99}) {
        RecordingCanvas canvas({Side, Side, 32});
        DrawReadoutDigit(canvas, value, Cell, Side, Side);
        EXPECT_TRUE(canvas.lines.empty()) << "value " << value;
    }
}

TEST(SevenSegment, ReadoutShowsHundredsTensAndUnitsWithLeadingZeros)
{
    const DigitCell cells[3] = {{0.37f, 0.40f}, {0.41f, 0.44f}, {0.45f, 0.48f}};
    struct Case {
        int32_t value;
        size_t linesPerCell[3];
    };
    // 0 has six bars, 8 seven, 7 two, 1 two, 5 five; 1000 has no hundreds digit to show.
    const Case cases[] = {{0, {6, 6, 6}}, {87, {6, 7, 2}}, {130, {2, 5, 6}}, {1000, {0, 6, 6}}, {5, {6, 6, 5}}};
    for (const Case& c : cases) {
        RecordingCanvas canvas({Side, Side, 32});
        DrawReadout(canvas, c.value, cells, Side, Side);
        size_t counts[3] = {0, 0, 0};
        for (const RecordedLine& line : canvas.lines) {
            int32_t x = std::min(line.from.x, line.to.x);
            for (int k = 0; k < 3; ++k)
                if (x >= PixelsOf(Side, cells[k].left) && x <= PixelsOf(Side, cells[k].right))
                    counts[k] += 1;
        }
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(counts[k], c.linesPerCell[k]) << "value " << c.value << " cell " << k;
    }
}
