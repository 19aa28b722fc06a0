#include <gtest/gtest.h>

#include "sim/controls.h"

TEST(Controls, KeypadPlusReleasesTheBrakeBeforeOpeningTheThrottleAndMinusWalksBack)
{
    // The combined handle, from full braking to full power, and one press beyond each end.
    const DriverControls handle[13] = {{0, 1}, {0, 2}, {0, 3}, {0, 4}, {0, 5}, {0, 6}, {0, 7},
                                       {0, 8}, {1, 8}, {2, 8}, {3, 8}, {4, 8}, {5, 8}};
    DriverControls controls = {0, 1};
    for (int press = 1; press <= 13; ++press) {
        controls = PressKeypadPlus(controls);
        EXPECT_EQ(controls.throttle * 10 + controls.brake, handle[std::min(press, 12)].throttle * 10 + handle[std::min(press, 12)].brake) << press;
    }
    for (int press = 11; press >= -1; --press) {
        controls = PressKeypadMinus(controls);
        EXPECT_EQ(controls.throttle * 10 + controls.brake, handle[std::max(press, 0)].throttle * 10 + handle[std::max(press, 0)].brake) << press;
    }
    // Minus closes an open throttle before it touches a brake that is on.
    controls = PressKeypadMinus({2, 5});
    EXPECT_EQ(controls.throttle * 10 + controls.brake, 15);
}

TEST(Controls, LeverClicksSetThePositionOfTheBandHit)
{
    // On 640 by 480 the levers start at y 336 (70 %); the brake strip is x 1..44, the throttle
    // strip x 596 and beyond. On 1000 by 1000 the cab display's own examples.
    struct Case {
        uint16_t x, y, width, height;
        DriverControls before, after;
    } cases[] = {
        {20, 336, 640, 480, {3, 8}, {0, 1}},    // top of the brake lever: full braking, power cut
        {20, 335, 640, 480, {3, 8}, {0, 8}},    // above the lever, still in the strip: power cut only
        {20, 100, 640, 480, {2, 4}, {0, 4}},
        {20, 356, 640, 480, {0, 8}, {0, 2}},    // 74.2 %
        {20, 371, 640, 480, {0, 8}, {0, 2}},    // 77.3 %
        {20, 372, 640, 480, {0, 8}, {0, 3}},    // 77.5 %
        {20, 455, 640, 480, {0, 8}, {0, 7}},    // 94.8 %
        {20, 456, 640, 480, {3, 2}, {3, 8}},    // 95 %: released, and the power stays
        {20, 479, 640, 480, {3, 2}, {3, 8}},
        {20, 480, 640, 480, {3, 2}, {3, 2}},    // below the surface
        {0, 400, 640, 480, {3, 2}, {3, 2}},     // x 0 lies outside the strip
        {45, 400, 640, 480, {3, 2}, {3, 2}},    // 7 % of the width
        {320, 400, 640, 480, {3, 2}, {3, 2}},   // between the levers
        {596, 340, 640, 480, {3, 2}, {0, 2}},   // throttle lever, 70.8 %: power off, the brake untouched
        {596, 355, 640, 480, {3, 2}, {0, 2}},
        {596, 356, 640, 480, {0, 2}, {1, 8}},   // notch 1 releases the brake
        {639, 422, 640, 480, {0, 1}, {4, 8}},   // 87.9 %
        {639, 423, 640, 480, {0, 1}, {5, 8}},   // 88.1 %
        {639, 479, 640, 480, {0, 1}, {5, 8}},
        {639, 300, 640, 480, {2, 1}, {2, 1}},   // above the lever
        {595, 423, 640, 480, {0, 1}, {0, 1}},   // 93 % exactly is not yet the strip
        {30, 720, 1000, 1000, {4, 8}, {0, 1}},
        {960, 900, 1000, 1000, {0, 1}, {5, 8}},
        {960, 710, 1000, 1000, {2, 3}, {0, 3}},
        {700, 10, 0, 0, {0, 1}, {0, 1}},        // before the surface is measured
    };
    for (const Case& c : cases) {
        DriverControls after = ClickCabLevers(c.before, c.x, c.y, c.width, c.height);
        EXPECT_EQ(after.throttle * 10 + after.brake, c.after.throttle * 10 + c.after.brake)
            << "click at " << c.x << ", " << c.y << " of " << c.width;
    }
}
