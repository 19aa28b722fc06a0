#include "cab/cab_display.h"

#include <cstdio>

#include "cab/levers.h"
#include "cab/seven_segment.h"
#include "shell/app_state.h"
#include "sim/signals_scoring.h"
#include "world/world.h"

namespace {

constexpr CabColour TextColour = {255, 255, 0};

constexpr float TickSeconds = 1.0f;
constexpr float BlinkSeconds = 0.4f;
// Below this many frames a second the sound cannot be fed in time and only repeats stale
// blocks; after more than LowRateTicksBeforeCutOff such seconds in a row it is switched off.
constexpr float LowFrameRate = 10.0f;
constexpr int32_t LowRateTicksBeforeCutOff = 10;

constexpr float ScoreTextX = 0.45f;
constexpr int32_t MessageTextY = 20;

constexpr DigitCell SpeedCells[3] = {{0.37f, 0.40f}, {0.41f, 0.44f}, {0.45f, 0.48f}};
constexpr DigitCell LimitCells[3] = {{0.52f, 0.55f}, {0.56f, 0.59f}, {0.60f, 0.63f}};
constexpr DigitCell AnnouncedCells[3] = {{0.69f, 0.72f}, {0.73f, 0.76f}, {0.77f, 0.80f}};
// The limit readout turns red once the train is more than this far over the limit, the point
// from which the score tick charges for speeding.
constexpr float LimitTolerance = 5.0f;

// Frame rate, score and the blinking lamps, all on wall-clock time.
void RunTicks(CabDisplayState& display, World& world, AppState& app, float now,
              const std::function<void()>& silenceEngineSound)
{
    display.frameCounter += 1;

    float sinceTick = now - display.lastTickTime;
    if (!display.hasTicked || sinceTick > TickSeconds) {
        // The very first tick measures from time zero; a clock still at zero gives no rate.
        display.framesPerSecond = sinceTick > 0.0f ? static_cast<float>(display.frameCounter) / sinceTick : 0.0f;
        display.frameCounter = 0;
        display.lastTickTime = now;
        display.hasTicked = true;

        if (display.framesPerSecond < LowFrameRate)
            display.lowRateSeconds += 1;
        else
            display.lowRateSeconds = 0;
        // The player can switch the sound back on (key S); it goes off again as long as the
        // rate stays low.
        if (display.lowRateSeconds > LowRateTicksBeforeCutOff) {
            if (silenceEngineSound)
                silenceEngineSound();
            app.soundOn = 0;
        }

        ScoreTick(world, app.pauseCount);
    }

    if (now - display.lastBlinkTime > BlinkSeconds) {
        display.lastBlinkTime = now;
        BlinkTick(world);
    }
}

void DrawTexts(const World& world, const AppState& app, CabCanvas& canvas, const CabDisplayState& display,
               const CanvasSize& size)
{
    char text[96];
    if (app.pauseCount != 0)
        canvas.DrawText(size.width / 2 - 15, size.height / 10, TextColour, "Pause");

    if (app.showDistanceScore) {
        FormatDistanceText(text, sizeof text, world.trains[world.playerUnit].odometer);
        canvas.DrawText(0, 0, TextColour, text);
        FormatScoreText(text, sizeof text, world.score);
        canvas.DrawText(PixelsOf(size.width, ScoreTextX), 0, TextColour, text);
    } else {
        FormatFrameRateText(text, sizeof text, display.framesPerSecond, size);
        canvas.DrawText(0, 0, TextColour, text);
    }

    if (world.messageSeconds > 0)
        canvas.DrawText(PixelsOf(size.width, ScoreTextX), MessageTextY, TextColour, world.messageText);
}

// The dark panel: the lowest tenth across the middle, the lowest three tenths at both sides,
// with sloping edges between.
void DrawDashboard(CabCanvas& canvas, const CabPalette& palette, const CanvasSize& size)
{
    const uint32_t w = static_cast<uint32_t>(size.width);
    const uint32_t h = static_cast<uint32_t>(size.height);
    const int32_t wingTop = static_cast<int32_t>(7 * h / 10);
    const int32_t middleTop = static_cast<int32_t>(9 * h / 10);
    const CanvasPoint points[8] = {
        {0, wingTop},
        {static_cast<int32_t>(w / 10), wingTop},
        {static_cast<int32_t>(w / 5), middleTop},
        {static_cast<int32_t>(4 * w / 5), middleTop},
        {static_cast<int32_t>(9 * w / 10), wingTop},
        {size.width, wingTop},
        {size.width, size.height},
        {0, size.height},
    };
    canvas.SelectBrush(palette.brushes[BrushPanel]);
    canvas.SelectPen(palette.pens[PenPanel]);
    canvas.FillPolygon(points, 8);
}

void DrawReadouts(CabCanvas& canvas, const CabPalette& palette, const TrainUnit& player, const CanvasSize& size)
{
    canvas.SelectPen(palette.pens[PenSpeed]);
    DrawReadout(canvas, static_cast<int32_t>(player.speed), SpeedCells, size.width, size.height);

    bool overLimit = player.speed > static_cast<float>(player.speedLimit) + LimitTolerance;
    canvas.SelectPen(palette.pens[overLimit ? PenLimitOver : PenLimitOk]);
    DrawReadout(canvas, player.speedLimit, LimitCells, size.width, size.height);

    // 999 means no limit is announced: the readout stays dark.
    if (player.announcedLimit == NoAnnouncedLimit)
        return;
    canvas.SelectPen(palette.pens[PenAnnounce]);
    DrawReadout(canvas, player.announcedLimit, AnnouncedCells, size.width, size.height);
}

}  // namespace

void FormatDistanceText(char* text, size_t size, double odometer)
{
    std::snprintf(text, size, "%7.00f km", odometer / 1000.0);
}

void FormatScoreText(char* text, size_t size, int32_t score)
{
    // A precision of 0 prints no digit at all for zero, so zero gets its own text.
    if (score == 0)
        std::snprintf(text, size, "Score: 0");
    else
        std::snprintf(text, size, "Score: %5.00d", static_cast<int>(score));
}

void FormatFrameRateText(char* text, size_t size, float framesPerSecond, const CanvasSize& renderSize)
{
    std::snprintf(text, size, "%7.01f fps (%dx%dx%d)", static_cast<double>(framesPerSecond),
                  static_cast<int>(renderSize.width), static_cast<int>(renderSize.height),
                  static_cast<int>(renderSize.bitsPerPixel));
}

void DrawCabDisplay(CabDisplayState& display, World& world, AppState& app, CabCanvas& canvas, float nowSeconds,
                    const std::function<void()>& silenceEngineSound)
{
    RunTicks(display, world, app, nowSeconds, silenceEngineSound);

    CanvasSize size = canvas.RenderSize();
    display.renderWidth = size.width;
    display.renderHeight = size.height;

    DrawTexts(world, app, canvas, display, size);
    if (app.viewMode == ViewOutside)
        return;

    const TrainUnit& player = world.trains[world.playerUnit];
    DrawDashboard(canvas, world.cabPalette, size);
    DrawLevers(canvas, world.cabPalette, player, size.width, size.height);
    DrawReadouts(canvas, world.cabPalette, player, size);
}
