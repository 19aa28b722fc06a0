#include <gtest/gtest.h>

#include <cstdint>
#include <map>

#include "cab/levers.h"
#include "recording_canvas.h"
#include "sim/controls.h"
#include "world/train_unit.h"

namespace {

// The levers of a player at that brake and throttle, and the knob drawn at the left edge
// (brake) or the right edge (throttle).
RecordingCanvas DrawLeversOf(int32_t brake, int32_t throttle, CanvasSize size = {800, 600, 32})
{
    TrainUnit player = {};
    player.brake = brake;
    player.throttle = throttle;
    RecordingCanvas canvas(size);
    DrawLevers(canvas, CabPens, player, size.width, size.height);
    return canvas;
}

RecordedEllipse KnobAt(const RecordingCanvas& canvas, bool leftEdge)
{
    EXPECT_EQ(canvas.ellipses.size(), 2u);
    bool firstIsLeft = canvas.ellipses.at(0).left < canvas.ellipses.at(1).left;
    return canvas.ellipses.at(firstIsLeft == leftEdge ? 0 : 1);
}

}  // namespace

TEST(Levers, ClickingADrawnKnobSelectsThePositionItShows)
{
    for (CanvasSize size : {CanvasSize{800, 600, 32}, {640, 480, 32}, {1920, 1080, 32}, {333, 257, 32}, {1000, 1000, 32}}) {
        for (int32_t position = 0; position <= 8; ++position) {
            for (bool brakeLever : {true, false}) {
                if (brakeLever ? position < 1 : position > 5)
                    continue;
                RecordedEllipse knob = KnobAt(DrawLeversOf(brakeLever ? position : 8, brakeLever ? 0 : position, size), brakeLever);
                DriverControls click = ClickCabLevers({0, 8}, uint16_t((knob.left + knob.right) / 2),
                                                      uint16_t((knob.top + knob.bottom) / 2), size.width, size.height);
                EXPECT_EQ(brakeLever ? click.brake : click.throttle, position) << size.width << "x" << size.height;
            }
        }
    }
}

TEST(Levers, KnobsShowTheirColourAndPosition)
{
    const CabColour white = {255, 255, 255}, red = {255, 0, 0}, green = {0, 255, 0};
    struct Case {
        int32_t brake, throttle;
        CabColour brakeColour, throttleColour;
        int32_t brakeCentreY, throttleCentreY;  // at 800 × 600
    };
    const Case cases[] = {
        {1, 0, red, white, 433, 433},    // 0.722 × 600
        {7, 0, red, white, 559, 433},    // 0.932 × 600
        {8, 0, white, white, 580, 433},  // 0.967 × 600
        {8, 1, white, green, 580, 454},  // 0.757 × 600
        {8, 5, white, green, 580, 538},  // 0.897 × 600
    };
    for (const Case& c : cases) {
        RecordingCanvas canvas = DrawLeversOf(c.brake, c.throttle);
        RecordedEllipse brake = KnobAt(canvas, true), throttle = KnobAt(canvas, false);
        EXPECT_TRUE(brake.brush == c.brakeColour && brake.pen.colour == c.brakeColour) << "brake " << c.brake;
        EXPECT_TRUE(throttle.brush == c.throttleColour && throttle.pen.colour == c.throttleColour) << c.throttle;
        // Centres at 0.03 and 0.97 of the width, radius 600 / 80 = 7.
        EXPECT_EQ(std::make_tuple(brake.left, brake.right, brake.top, brake.bottom),
                  std::make_tuple(24 - 7, 24 + 7, c.brakeCentreY - 7, c.brakeCentreY + 7)) << "brake " << c.brake;
        EXPECT_EQ(std::make_tuple(throttle.left, throttle.top), std::make_tuple(776 - 7, c.throttleCentreY - 7))
            << "throttle " << c.throttle;
    }
}

TEST(Levers, ScalesLabelEveryPositionInTheScalePen)
{
    RecordingCanvas canvas = DrawLeversOf(1, 0, {1000, 1000, 32});
    // Strokes per label row, by the row's top: the rows are 35 pixels apart and 24 high.
    std::map<int32_t, int32_t> brakeStrokes, throttleStrokes;
    bool neutralDiagonal = false;
    for (const RecordedLine& line : canvas.lines) {
        EXPECT_EQ(line.pen, CabPens.pens[PenScale]);
        int32_t row = 710 + (std::min(line.from.y, line.to.y) - 710) / 35 * 35;
        bool brake = line.from.x < 500;
        (brake ? brakeStrokes : throttleStrokes)[row] += 1;
        EXPECT_GE(std::min(line.from.x, line.to.x), brake ? 50 : 935);
        EXPECT_LE(std::max(line.from.x, line.to.x), brake ? 65 : 950);
        // The released position reads N: a diagonal from its top left to its bottom right.
        neutralDiagonal |= line.from == CanvasPoint{50, 955} && line.to == CanvasPoint{65, 979};
    }
    // Brake 1..7 and N: 1, 5, 4, 3, 5, 4, 2 and 3 strokes; throttle 0..5: 4, 1, 5, 4, 3, 5.
    EXPECT_EQ(brakeStrokes, (std::map<int32_t, int32_t>{{710, 1}, {745, 5}, {780, 4}, {815, 3}, {850, 5}, {885, 4},
                                                        {920, 2}, {955, 3}}));
    EXPECT_EQ(throttleStrokes,
              (std::map<int32_t, int32_t>{{710, 4}, {745, 1}, {780, 5}, {815, 4}, {850, 3}, {885, 5}}));
    EXPECT_TRUE(neutralDiagonal);
}
