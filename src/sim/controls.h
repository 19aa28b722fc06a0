#pragma once
// The driver's controls of the player's railcar: the keypad plus and minus keys move one
// combined handle, and clicks on the two levers of the cab display set a position directly.
// Pure rules: the window layer passes the click and the render size and stores the result.

#include <cstdint>

struct TrainUnit;

struct DriverControls {
    int32_t throttle;  // notch 0..5
    int32_t brake;     // 1 full braking .. 8 released
};

DriverControls ReadDriverControls(const TrainUnit& player);
void StoreDriverControls(TrainUnit& player, DriverControls controls);

// Keypad plus: releases the brake one step, and with the brake released opens the throttle one
// notch. Minus walks back the same way: throttle first, then the brake.
DriverControls PressKeypadPlus(DriverControls controls);
DriverControls PressKeypadMinus(DriverControls controls);

// A left-button press at client position (x, y) on a render surface of renderWidth by
// renderHeight pixels. The brake lever is the strip along the left edge, the throttle lever the
// strip along the right edge; their positions lie in the bottom 30 % of the height. Clicks
// elsewhere, or before the surface has been measured, change nothing.
DriverControls ClickCabLevers(DriverControls controls, uint16_t x, uint16_t y, int32_t renderWidth,
                              int32_t renderHeight);
