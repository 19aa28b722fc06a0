#include <gtest/gtest.h>

#include <cstdint>

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
            for (bool brake : {true, false}) {
                if (brake ? position < 1 : position > 5)
                    continue;
                RecordedEllipse knob = KnobAt(DrawLeversOf(brake ? position : 8, brake ? 0 : position, size), brake);
                DriverControls click = ClickCabLevers({0, 8}, uint16_t((knob.left + knob.right) / 2),
                                                      uint16_t((knob.top + knob.bottom) / 2), size.width, size.height);
                EXPECT_EQ(brake ? click.brake : click.throttle, position) << size.width << "x" << size.height;
            }
        }
    }
}
