#include "shell/commands/scene_shot.h"

#include <cstdlib>

#include "device/device_results.h"
#include "device/render_device.h"
#include "render/scene.h"
#include "shell/commands/headless_game.h"
#include "shell/render_session.h"
#include "sim/camera.h"
#include "world/world.h"

namespace {

// The frame step the autopilot drives with: 50 frames a second.
constexpr double DriveStepSeconds = 0.02;

}  // namespace

void UseOffscreenVideoWithoutDisplay()
{
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    bool noDisplay = (display == nullptr || display[0] == '\0') && (wayland == nullptr || wayland[0] == '\0');
    if (noDisplay && std::getenv("SDL_VIDEODRIVER") == nullptr)
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
}

double DriveWorld(GameSession& game, double seconds, bool& reachedDestination)
{
    reachedDestination = false;
    if (seconds <= 0.0)
        return 0.0;
    DriveSettings drive;
    drive.stepSeconds = DriveStepSeconds;
    drive.maxMinutes = seconds / 60.0;
    drive.autopilot = true;
    DriveSummary summary = DriveHeadless(game, drive, nullptr);
    reachedDestination = summary.reachedDestination;
    return summary.gameSeconds;
}

int32_t TakeShot(GameSession& game, const ShotSettings& settings, ShotPicture& picture, std::ostream& err)
{
    picture = ShotPicture{};
    picture.drivenSeconds = DriveWorld(game, settings.driveSeconds, picture.reachedDestination);
    World& world = game.world;

    UseOffscreenVideoWithoutDisplay();
    RenderSession session;
    session.placement = {0, 0, settings.width, settings.height, 1};
    session.batching = settings.batching ? 1 : 0;
    session.report = [&err, &session](int32_t code, int32_t mode) {
        err << DeviceErrorCaption << ": " << DeviceErrorText(code, mode, session.device.failureCause) << '\n';
    };
    std::string whyNot;
    LoadRegisteredTextures(session.textures, world.textures, GameBitmapSource(), whyNot);
    err << whyNot;

    AppState app;
    app.windowed = 1;
    app.viewMode = settings.viewMode;
    int32_t result = StartRenderDevice(session, app);
    if (IsFailure(result))
        return result;

    Camera camera;
    PlaceCamera(camera, world, app.viewMode);
    DrawDevice& device = *RenderDeviceDrawDevice(session.device);
    DrawScene(device, world, camera);
    picture.stats = LastSceneStats(*session.device.drawDevice);
    picture.renderer = session.device.renderer;
    picture.width = session.device.renderWidth;
    picture.height = session.device.renderHeight;
    if (!ReadRenderedPixels(session.device, picture.rgba))
        result = RenderNoRenderTarget;
    RenderDeviceShowFrame(session.device);
    CloseRenderDevice(session, app);
    return result;
}
