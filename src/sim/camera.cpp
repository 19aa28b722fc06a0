#include "sim/camera.h"

#include <cmath>

#include "world/sine_cosine.h"
#include "world/world.h"

namespace {

// The outside view looks from this far behind the train and this much higher.
constexpr float OutsideViewDistance = 50.0f;
constexpr float OutsideViewHeight = 8.0f;

// Brings coordinate into -10000..10000 in whole steps and returns the shift it took; the bounds
// themselves are not shifted.
float ShiftIntoOriginRange(float& coordinate)
{
    float shift = 0.0f;
    while (coordinate < -WorldOriginStep) {
        coordinate += WorldOriginStep;
        shift += WorldOriginStep;
    }
    while (coordinate > WorldOriginStep) {
        coordinate -= WorldOriginStep;
        shift -= WorldOriginStep;
    }
    return shift;
}

}  // namespace

void PlaceCamera(Camera& camera, const World& world, int32_t& viewMode)
{
    const TrainUnit& player = world.trains[world.playerUnit];
    float heading = player.heading;

    // The offsets are in world axes, not turned with the train.
    Vector3 eye = {player.posX + player.cameraOffsetX, player.posY + player.cameraOffsetY,
                   player.posZ + player.cameraOffsetZ};

    // Inside a tunnel only the cab view makes sense; it stays chosen after the tunnel.
    if (player.segment > 0 && player.segment < TrackCapacity && world.track[player.segment].type == SegmentTunnel)
        viewMode = ViewCab;

    if (viewMode == ViewOutside) {
        eye.x -= Sine(heading) * OutsideViewDistance;
        eye.y += OutsideViewHeight;
        eye.z -= Cosine(heading) * OutsideViewDistance;
    }

    camera.originShiftX = ShiftIntoOriginRange(eye.x);
    camera.originShiftZ = ShiftIntoOriginRange(eye.z);

    // One metre ahead along the heading: both views look level along the track.
    camera.eyePoint = eye;
    camera.lookAtPoint = {eye.x + Sine(heading), eye.y + Sine(player.pitch), eye.z + Cosine(heading)};

    // The target is always a metre away from the eye, so the look-at matrix cannot refuse it;
    // its result is not needed.
    SetViewMatrix(camera.view, camera.eyePoint, camera.lookAtPoint, {0.0f, 1.0f, 0.0f});
}
