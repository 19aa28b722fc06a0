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

// Names the bars drawn by where they lie; a repeated bar is named twice.
std::multiset<std::string> BarsDrawn(const RecordingCanvas& canvas)
{
    const struct {
        const char* name;
        CanvasPoint a, b;
    } bars[] = {{"top", {370, 920}, {400, 920}},         {"upper right", {400, 920}, {400, 950}},
                {"lower right", {400, 950}, {400, 980}}, {"bottom", {370, 980}, {400, 980}},
                {"lower left", {370, 950}, {370, 980}},  {"upper left", {370, 920}, {370, 950}},
                {"middle", {370, 950}, {400, 950}},      {"diagonal", {400, 920}, {370, 980}}};
    std::multiset<std::string> drawn;
    for (const RecordedLine& line : canvas.lines) {
        std::string name = "stray line";
        for (const auto& bar : bars)
            if ((line.from == bar.a && line.to == bar.b) || (line.from == bar.b && line.to == bar.a))
                name = bar.name;
        drawn.insert(name);
    }
    return drawn;
}

}  // namespace

TEST(SevenSegment, EachDigitLightsItsOwnBarsAndOthersNone)
{
    const std::multiset<std::string> expected[10] = {
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
    for (int32_t digit : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, -1, 99}) {
        RecordingCanvas canvas({Side, Side, 32});
        DrawReadoutDigit(canvas, digit, {0.37f, 0.40f}, Side, Side);
        EXPECT_EQ(BarsDrawn(canvas), digit >= 0 && digit <= 9 ? expected[digit] : std::multiset<std::string>{})
            << "digit " << digit;
    }
}

TEST(SevenSegment, ReadoutShowsHundredsTensAndUnitsWithLeadingZeros)
{
    const DigitCell cells[3] = {{0.37f, 0.40f}, {0.41f, 0.44f}, {0.45f, 0.48f}};
    // 0 has six bars, 8 seven, 7 two, 1 two, 5 five; 1000 has no hundreds digit to show.
    const std::pair<int32_t, std::vector<size_t>> cases[] = {
        {0, {6, 6, 6}}, {87, {6, 7, 2}}, {130, {2, 5, 6}}, {1000, {0, 6, 6}}, {5, {6, 6, 5}}};
    for (const auto& [value, linesPerCell] : cases) {
        RecordingCanvas canvas({Side, Side, 32});
        DrawReadout(canvas, value, cells, Side, Side);
        std::vector<size_t> counts(3, 0);
        for (const RecordedLine& line : canvas.lines)
            for (int k = 0; k < 3; ++k)
                counts[k] += std::min(line.from.x, line.to.x) >= PixelsOf(Side, cells[k].left) &&
                             std::min(line.from.x, line.to.x) <= PixelsOf(Side, cells[k].right);
        EXPECT_EQ(counts, linesPerCell) << "value " << value;
    }
}
