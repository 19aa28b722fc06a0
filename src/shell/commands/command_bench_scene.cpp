// `tagvind bench scene`: draws a fixed stretch of scenery 1 offscreen, frame by frame, on the
// batched and the unbatched path in the same run, and prints the figures. A benchmark, not a
// test: it judges nothing.

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/device_results.h"
#include "device/render_device.h"
#include "platform/gl_draw_device.h"
#include "platform/null_platform.h"
#include "render/scene.h"
#include "shell/command_numbers.h"
#include "shell/commands/commands.h"
#include "shell/commands/headless_game.h"
#include "shell/commands/render_commands.h"
#include "shell/commands/scene_shot.h"
#include "shell/render_session.h"
#include "shell/world_options.h"
#include "sim/camera.h"
#include "world/world.h"

namespace {

// The stretch: scenery 1 after the train has left the starting station, a frame every five
// seconds of the autopilot's driving: straights, curves, a lake, villages and meeting stations.
constexpr uint32_t BenchSeed = 1;
constexpr double SecondsBeforeTheStretch = 60.0;
constexpr double SecondsBetweenFrames = 5.0;
constexpr int WarmUpFrames = 3;

constexpr WholeNumberRule FramesRule = {"--frames", "a whole number of frames", 1, 10000};

struct BenchSceneInput {
    std::string size = "1024x768";
    std::string frames = "40";
};

// Takes the scene's draws and does nothing with them: what is left is the drawers' own work.
class GenerationOnlyDevice final : public NullDrawDevice {
public:
    explicit GenerationOnlyDevice(const TextureStore& store) : store_(store) {}
    TextureHandle FindTexture(const char* name) override { return FindTextureEntry(store_, name) + 1; }

private:
    const TextureStore& store_;
};

double ThreadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) * 1e-6;
}

double WallMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) * 1e-6;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

struct PathFigures {
    std::vector<double> frameMs;
    std::vector<double> drawSceneCpuMs;
    std::vector<double> glDrawCalls;
    std::vector<double> triangles;
};

// One frame as the game draws it, finished: the wall time from the clear to the last pixel.
void TimeFrame(RenderSession& session, World& world, const Camera& camera, PathFigures* figures)
{
    DrawDevice& device = *RenderDeviceDrawDevice(session.device);
    double wallStart = WallMs();
    double cpuStart = ThreadCpuMs();
    DrawScene(device, world, camera);
    double cpuEnd = ThreadCpuMs();
    FinishRendering(session.device);
    double wallEnd = WallMs();
    RenderDeviceShowFrame(session.device);
    if (figures == nullptr)
        return;
    DrawStats stats = LastSceneStats(*session.device.drawDevice);
    figures->frameMs.push_back(wallEnd - wallStart);
    figures->drawSceneCpuMs.push_back(cpuEnd - cpuStart);
    figures->glDrawCalls.push_back(stats.glDrawCalls);
    figures->triangles.push_back(static_cast<double>(stats.triangles));
}

void PrintPath(std::ostream& out, const char* name, const PathFigures& figures)
{
    double frame = Median(figures.frameMs);
    char line[200];
    std::snprintf(line, sizeof line,
                  "  %-10s median frame %8.2f ms  %7.1f frames/s  %6.0f GL draw calls  %7.0f triangles  "
                  "DrawScene CPU %6.2f ms\n",
                  name, frame, frame > 0.0 ? 1000.0 / frame : 0.0, Median(figures.glDrawCalls),
                  Median(figures.triangles), Median(figures.drawSceneCpuMs));
    out << line;
}

int RunBenchScene(const BenchSceneInput& input, std::ostream& out, std::ostream& err)
{
    std::optional<PictureSize> size =
        ReadPictureSizeOption("--size", input.size, SmallestPictureSide, LargestPictureSide, err);
    std::optional<int64_t> frames = ReadWholeOption(FramesRule, input.frames, err);
    if (!size || !frames)
        return ExitUsage;
    int32_t width = size->width;
    int32_t height = size->height;
    int32_t frameCount = static_cast<int32_t>(*frames);
    std::unique_ptr<GameSession> game = BuildHeadlessGame(GameOptions{}, BenchSeed);
    World& world = game->world;

    UseOffscreenVideoWithoutDisplay();
    RenderSession session;
    session.placement = {0, 0, width, height, 1};
    session.report = [&err, &session](int32_t code, int32_t mode) {
        err << DeviceErrorCaption << ": " << DeviceErrorText(code, mode, session.device.failureCause) << '\n';
    };
    std::string whyNot;
    LoadRegisteredTextures(session.textures, world.textures, GameBitmapSource(), whyNot);
    AppState app;
    if (IsFailure(StartRenderDevice(session, app)))
        return ExitFailure;
    GlDrawDevice& gl = *session.device.drawDevice;
    GenerationOnlyDevice generationOnly(session.textures);

    bool reachedDestination = false;
    DriveWorld(*game, SecondsBeforeTheStretch, reachedDestination);
    std::string renderer = session.device.renderer;

    PathFigures batched;
    PathFigures unbatched;
    std::vector<double> generationCpuMs;
    double drivenSeconds = 0.0;
    Camera camera;
    for (int frame = 0; frame < WarmUpFrames + frameCount; ++frame) {
        bool counted = frame >= WarmUpFrames;
        if (counted) {
            bool reached = false;
            drivenSeconds += DriveWorld(*game, SecondsBetweenFrames, reached);
        }
        PlaceCamera(camera, world, app.viewMode);

        double cpuStart = ThreadCpuMs();
        DrawScene(generationOnly, world, camera);
        if (counted)
            generationCpuMs.push_back(ThreadCpuMs() - cpuStart);

        SetDrawBatching(gl, true);
        TimeFrame(session, world, camera, counted ? &batched : nullptr);
        SetDrawBatching(gl, false);
        TimeFrame(session, world, camera, counted ? &unbatched : nullptr);
    }
    CloseRenderDevice(session, app);

    char line[200];
    std::snprintf(line, sizeof line,
                  "Scene, scenery 1 from %.0f s on: %d frames over %.0f s of driving, %d x %d, %s\n",
                  SecondsBeforeTheStretch, frameCount, drivenSeconds, width, height, renderer.c_str());
    out << line;
    PrintPath(out, "batched", batched);
    PrintPath(out, "unbatched", unbatched);
    double batchedFrame = Median(batched.frameMs);
    std::snprintf(line, sizeof line, "  batched is %.1f times the unbatched frame rate\n",
                  batchedFrame > 0.0 ? Median(unbatched.frameMs) / batchedFrame : 0.0);
    out << line;
    std::snprintf(line, sizeof line, "  scene generation (the drawers alone) %6.3f ms CPU per frame\n",
                  Median(generationCpuMs));
    out << line;
    return ExitSuccess;
}

}  // namespace

void AddBenchSceneCommand(CLI::App& app)
{
    CLI::App* bench = app.get_subcommand("bench");
    auto input = std::make_shared<BenchSceneInput>();
    CLI::App* scene = bench->add_subcommand("scene", "Time the scene offscreen, batched and unbatched");
    scene->add_option("--size", input->size, "picture size WIDTHxHEIGHT, each side 16..16384 (default 1024x768)");
    scene->add_option("--frames", input->frames, "number of timed frames (1..10000, default 40)");
    scene->callback([input] {
        int status = RunBenchScene(*input, std::cout, std::cerr);
        if (status != ExitSuccess)
            throw CLI::RuntimeError(status);
    });
}
