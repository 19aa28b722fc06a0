#include <gtest/gtest.h>

#include <cstdint>
#include <map>

#include "cab/levers.h"
#include "recording_canvas.h"
#include "sim/controls.h"
#include "world/train_unit.h"

namespace {

CabPalette MakePalette()
{
    return CabPens;
}

TrainUnit MakePlayer(int32_t brake, int32_t throttle)
{
    TrainUnit player = {};
    player.brake = brake;
    player.throttle = throttle;
    return player;
}

// The knob drawn at the left edge (brake) or the right edge (throttle).
RecordedEllipse KnobAt(const RecordingCanvas& canvas, bool leftEdge, int32_t width)
{
    for (const RecordedEllipse& knob : canvas.ellipses)
        if (((knob.left + knob.right) / 2 < width / 2) == leftEdge)
            return knob;
    ADD_FAILURE() << "no knob drawn on that side";
    return {};
}

uint16_t CentreX(const RecordedEllipse& knob)
{
    return static_cast<uint16_t>((knob.left + knob.right) / 2);
}

uint16_t CentreY(const RecordedEllipse& knob)
{
    return static_cast<uint16_t>((knob.top + knob.bottom) / 2);
}

}  // namespace

TEST(Levers, ClickingADrawnKnobSelectsThePositionItShows)
{
    const CabPalette palette = MakePalette();
    const CanvasSize sizes[] = {{800, 600, 32}, {640, 480, 32}, {1920, 1080, 32}, {333, 257, 32}, {1000, 1000, 32}};
    for (const CanvasSize& size : sizes) {
        for (int32_t brake = 1; brake <= 8; ++brake) {
            RecordingCanvas canvas(size);
            DrawLevers(canvas, palette, MakePlayer(brake, 0), size.width, size.height);
            RecordedEllipse knob = KnobAt(canvas, true, size.width);
            DriverControls click = ClickCabLevers({0, 8}, CentreX(knob), CentreY(knob), size.width, size.height);
            EXPECT_EQ(click.brake, brake) << size.width << "x" << size.height;
        }
        for (int32_t throttle = 0; throttle <= 5; ++throttle) {
            RecordingCanvas canvas(size);
            DrawLevers(canvas, palette, MakePlayer(8, throttle), size.width, size.height);
            RecordedEllipse knob = KnobAt(canvas, false, size.width);
            DriverControls click = ClickCabLevers({0, 8}, CentreX(knob), CentreY(knob), size.width, size.height);
            EXPECT_EQ(click.throttle, throttle) << size.width << "x" << size.height;
        }
    }
}

TEST(Levers, KnobsShowTheirColourAndPosition)
{
    const CabPalette palette = MakePalette();
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
        RecordingCanvas canvas({800, 600, 32});
        DrawLevers(canvas, palette, MakePlayer(c.brake, c.throttle), 800, 600);
        ASSERT_EQ(canvas.ellipses.size(), 2u);
        RecordedEllipse brakeKnob = KnobAt(canvas, true, 800);
        RecordedEllipse throttleKnob = KnobAt(canvas, false, 800);
        EXPECT_EQ(brakeKnob.brush, c.brakeColour) << "brake " << c.brake;
        EXPECT_EQ(brakeKnob.pen.colour, c.brakeColour) << "brake " << c.brake;
        EXPECT_EQ(throttleKnob.brush, c.throttleColour) << "throttle " << c.throttle;
        EXPECT_EQ(throttleKnob.pen.colour, c.throttleColour) << "throttle " << c.throttle;
        // Centres at 0.03 and 0.97 of the width, radius 600 / 80 = 7.
        EXPECT_EQ(brakeKnob.left, 24 - 7);
        EXPECT_EQ(brakeKnob.right, 24 + 7);
        EXPECT_EQ(brakeKnob.top, c.brakeCentreY - 7) << "brake " << c.brake;
        EXPECT_EQ(brakeKnob.bottom, c.brakeCentreY + 7) << "brake " << c.brake;
        EXPECT_EQ(throttleKnob.left, 776 - 7);
        EXPECT_EQ(throttleKnob.top, c.throttleCentreY - 7) << "throttle " << c.throttle;
    }
}

TEST(Levers, ScalesLabelEveryPositionInTheScalePen)
{
    const CabPalette palette = MakePalette();
    RecordingCanvas canvas({1000, 1000, 32});
    DrawLevers(canvas, palette, MakePlayer(1, 0), 1000, 1000);

    // Strokes per label row (the row's top, in pixels): brake 1..7 and N on the left, throttle
    // 0..5 on the right.
    std::map<int32_t, int32_t> brakeStrokes, throttleStrokes;
    for (const RecordedLine& line : canvas.lines) {
        EXPECT_EQ(line.pen, palette.pens[PenScale]);
        int32_t top = std::min(line.from.y, line.to.y);
        // The label rows are 35 pixels apart and 24 high; a stroke from the middle belongs to
        // the row whose top lies 12 above it.
        int32_t row = 710 + (top - 710) / 35 * 35;
        (line.from.x < 500 ? brakeStrokes : throttleStrokes)[row] += 1;
        int32_t left = std::min(line.from.x, line.to.x), right = std::max(line.from.x, line.to.x);
        if (line.from.x < 500) {
            EXPECT_GE(left, 50);
            EXPECT_LE(right, 65);
        } else {
            EXPECT_GE(left, 935);
            EXPECT_LE(right, 950);
        }
    }
    // 1: one stroke, 2: five, 3: four, 4: three, 5: five, 6: four, 7: two, N: three.
    const std::map<int32_t, int32_t> brakeExpected = {{710, 1}, {745, 5}, {780, 4}, {815, 3},
                                                      {850, 5}, {885, 4}, {920, 2}, {955, 3}};
    // 0: four strokes, then 1..5 as above.
    const std::map<int32_t, int32_t> throttleExpected = {{710, 4}, {745, 1}, {780, 5}, {815, 4}, {850, 3}, {885, 5}};
    EXPECT_EQ(brakeStrokes, brakeExpected);
    EXPECT_EQ(throttleStrokes, throttleExpected);

    // The released position reads N: a diagonal from its top left to its bottom right.
    bool neutralDiagonal = false;
    for (const RecordedLine& line : canvas.lines)
        neutralDiagonal |= line.from == CanvasPoint{50, 955} && line.to == CanvasPoint{65, 979};
    EXPECT_TRUE(neutralDiagonal);
}
