#include "sim/controls.h"

#include "sim/lever_layout.h"
#include "world/train_unit.h"

namespace {

// The index of the band y falls in, or -1 above the first band or at or below the bottom.
int BandAt(const double* tops, int bandCount, double y, double height)
{
    if (y < tops[0] * height || y >= height)
        return -1;
    int band = 0;
    while (band + 1 < bandCount && y >= tops[band + 1] * height)
        ++band;
    return band;
}

}  // namespace

DriverControls ReadDriverControls(const TrainUnit& player)
{
    return {player.throttle, player.brake};
}

void StoreDriverControls(TrainUnit& player, DriverControls controls)
{
    player.throttle = controls.throttle;
    player.brake = controls.brake;
}

DriverControls PressKeypadPlus(DriverControls controls)
{
    if (controls.brake < BrakeReleased)
        controls.brake += 1;
    else if (controls.throttle < ThrottleFull)
        controls.throttle += 1;
    return controls;
}

DriverControls PressKeypadMinus(DriverControls controls)
{
    if (controls.throttle >= 1)
        controls.throttle -= 1;
    else if (controls.brake > BrakeFull)
        controls.brake -= 1;
    return controls;
}

DriverControls ClickCabLevers(DriverControls controls, uint16_t x, uint16_t y, int32_t renderWidth,
                              int32_t renderHeight)
{
    // Until the cab display has measured the surface there are no levers to click; without
    // this a click on a zero-sized surface would count as a throttle click and release the brake.
    if (renderWidth <= 0 || renderHeight <= 0)
        return controls;
    double clickX = x;
    double clickY = y;
    double width = renderWidth;
    double height = renderHeight;

    if (clickX > 0.0 && clickX < BrakeLeverRightEdge * width) {
        int band = BandAt(BrakeBandTops, 8, clickY, height);
        if (band >= 0)
            controls.brake = BrakeFull + band;
        // Anywhere in the strip above the released position the power is cut as well.
        if (clickY < BrakeBandTops[7] * height)
            controls.throttle = ThrottleClosed;
        return controls;
    }

    if (clickX > ThrottleLeverLeftEdge * width) {
        int band = BandAt(ThrottleBandTops, 6, clickY, height);
        if (band >= 0)
            controls.throttle = band;
        // Taking power releases the brake.
        if (clickY >= ThrottleBandTops[1] * height)
            controls.brake = BrakeReleased;
    }
    return controls;
}
