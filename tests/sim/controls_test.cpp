#include <gtest/gtest.h>

#include "sim/controls.h"
#include "world/train_unit.h"

TEST(Controls, KeypadPlusReleasesTheBrakeBeforeOpeningTheThrottleAndMinusWalksBack)
{
    // The combined handle, from full braking to full power.
    const DriverControls handle[13] = {{0, 1}, {0, 2}, {0, 3}, {0, 4}, {0, 5}, {0, 6}, {0, 7},
                                       {0, 8}, {1, 8}, {2, 8}, {3, 8}, {4, 8}, {5, 8}};
    DriverControls controls = {0, 1};
    for (int press = 1; press < 13; ++press) {
        controls = PressKeypadPlus(controls);
        EXPECT_EQ(controls.throttle, handle[press].throttle) << "plus press " << press;
        EXPECT_EQ(controls.brake, handle[press].brake) << "plus press " << press;
    }
    controls = PressKeypadPlus(controls);
    EXPECT_EQ(controls.throttle, 5);
    EXPECT_EQ(controls.brake, 8);

    for (int press = 11; press >= 0; --press) {
        controls = PressKeypadMinus(controls);
        EXPECT_EQ(controls.throttle, handle[press].throttle) << "minus to " << press;
        EXPECT_EQ(controls.brake, handle[press].brake) << "minus to " << press;
    }
    controls = PressKeypadMinus(controls);
    EXPECT_EQ(controls.throttle, 0);
    EXPECT_EQ(controls.brake, 1);

    // Minus closes an open throttle before it touches a brake that is on.
    controls = PressKeypadMinus({2, 5});
    EXPECT_EQ(controls.throttle, 1);
    EXPECT_EQ(controls.brake, 5);
}

TEST(Controls, LeverClicksSetThePositionOfTheBandHit)
{
    // A 640 by 480 surface: the levers start at y 336 (70 %); the brake strip is x 1..44, the
    // throttle strip x 596 and beyond.
    struct Case {
        uint16_t x, y;
        DriverControls before, after;
    } cases[] = {
        {20, 336, {3, 8}, {0, 1}},    // top of the brake lever: full braking, power cut
        {20, 335, {3, 8}, {0, 8}},    // above the lever, still in the strip: power cut only
        {20, 100, {2, 4}, {0, 4}},
        {20, 356, {0, 8}, {0, 2}},    // 74.2 %
        {20, 371, {0, 8}, {0, 2}},    // 77.3 %
        {20, 372, {0, 8}, {0, 3}},    // 77.5 %
        {20, 455, {0, 8}, {0, 7}},    // 94.8 %
        {20, 456, {3, 2}, {3, 8}},    // 95 %: released, and the power stays
        {20, 479, {3, 2}, {3, 8}},
        {20, 480, {3, 2}, {3, 2}},    // below the surface
        {0, 400, {3, 2}, {3, 2}},     // x 0 lies outside the strip
        {45, 400, {3, 2}, {3, 2}},    // 7 % of the width
        {320, 400, {3, 2}, {3, 2}},   // between the levers
        {596, 340, {3, 2}, {0, 2}},   // throttle lever, 70.8 %: power off, the brake untouched
        {596, 355, {3, 2}, {0, 2}},
        {596, 356, {0, 2}, {1, 8}},   // notch 1 releases the brake
        {639, 422, {0, 1}, {4, 8}},   // 87.9 %
        {639, 423, {0, 1}, {5, 8}},   // 88.1 %
        {639, 479, {0, 1}, {5, 8}},
        {639, 300, {2, 1}, {2, 1}},   // above the lever
        {595, 423, {0, 1}, {0, 1}},   // 93 % exactly is not yet the strip
    };
    for (const Case& c : cases) {
        DriverControls after = ClickCabLevers(c.before, c.x, c.y, 640, 480);
        EXPECT_EQ(after.throttle, c.after.throttle) << "click at " << c.x << ", " << c.y;
        EXPECT_EQ(after.brake, c.after.brake) << "click at " << c.x << ", " << c.y;
    }
}

TEST(Controls, ClicksOnTheLeversOfASquareSurfaceMatchTheCabDisplaysExamples)
{
    // Left strip at 72 %: full braking and no power; right strip at 90 %: full power, brake
    // released; right strip at 71 %: power off, brake as it was.
    DriverControls controls = ClickCabLevers({4, 8}, 30, 720, 1000, 1000);
    EXPECT_EQ(controls.brake, 1);
    EXPECT_EQ(controls.throttle, 0);
    controls = ClickCabLevers(controls, 960, 900, 1000, 1000);
    EXPECT_EQ(controls.throttle, 5);
    EXPECT_EQ(controls.brake, 8);
    controls = ClickCabLevers({2, 3}, 960, 710, 1000, 1000);
    EXPECT_EQ(controls.throttle, 0);
    EXPECT_EQ(controls.brake, 3);
}

TEST(Controls, ClicksBeforeTheSurfaceIsMeasuredChangeNothing)
{
    DriverControls controls = ClickCabLevers({0, 1}, 700, 10, 0, 0);
    EXPECT_EQ(controls.throttle, 0);
    EXPECT_EQ(controls.brake, 1);
}

TEST(Controls, ControlsAreReadFromAndStoredIntoThePlayersUnit)
{
    TrainUnit unit = {};
    unit.throttle = 2;
    unit.brake = 8;
    DriverControls controls = PressKeypadMinus(ReadDriverControls(unit));
    StoreDriverControls(unit, controls);
    EXPECT_EQ(unit.throttle, 1);
    EXPECT_EQ(unit.brake, 8);
}
