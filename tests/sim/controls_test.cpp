#include <gtest/gtest.h>

#include "sim/controls.h"

TEST(Controls, LeverClicksSetThePositionOfTheBandHit)
{
    // On 640 by 480 the levers start at y 336 (70 %); the brake strip is x 1..44, the throttle
    // strip x 596 and beyond. Positions as throttle * 10 + brake, before and after.
    const struct {
        uint16_t x, y, width, height;
        int before, after;
    } cases[] = {
        {20, 336, 640, 480, 38, 1},   // top of the brake lever: full braking, power cut
        {20, 335, 640, 480, 38, 8},   // above the lever, still in the strip: power cut only
        {20, 100, 640, 480, 24, 4},   {20, 356, 640, 480, 8, 2},   {20, 371, 640, 480, 8, 2},  // 74.2, 77.3 %
        {20, 372, 640, 480, 8, 3},    {20, 455, 640, 480, 8, 7},   // 77.5 %, 94.8 %
        {20, 456, 640, 480, 32, 38},  {20, 479, 640, 480, 32, 38},  // 95 %: released, and the power stays
        {20, 480, 640, 480, 32, 32},  {0, 400, 640, 480, 32, 32},  // below the surface; x 0 is outside
        {45, 400, 640, 480, 32, 32},  {320, 400, 640, 480, 32, 32},  // 7 % of the width; between the levers
        {596, 340, 640, 480, 32, 2},  {596, 355, 640, 480, 32, 2},  // the throttle lever: power off
        {596, 356, 640, 480, 2, 18},  // notch 1 releases the brake
        {639, 422, 640, 480, 1, 48},  {639, 423, 640, 480, 1, 58}, {639, 479, 640, 480, 1, 58},  // 87.9, 88.1 %
        {639, 300, 640, 480, 21, 21}, {595, 423, 640, 480, 1, 1},  // above the lever; 93 % is not yet the strip
        {30, 720, 1000, 1000, 48, 1}, {960, 900, 1000, 1000, 1, 58}, {960, 710, 1000, 1000, 23, 3},
        {700, 10, 0, 0, 1, 1},  // before the surface is measured
    };
    for (const auto& c : cases) {
        DriverControls after = ClickCabLevers({c.before / 10, c.before % 10}, c.x, c.y, c.width, c.height);
        EXPECT_EQ(after.throttle * 10 + after.brake, c.after) << "click at " << c.x << ", " << c.y << " of " << c.width;
    }
}
