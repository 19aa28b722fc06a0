#include "cab/cab_display.h"

#include <cstdio>

#include "cab/levers.h"
#include "cab/seven_segment.h"
#include "sim/camera.h"
#include "world/world.h"

namespace {

constexpr CabColour TextColour = {255, 255, 0};

constexpr float ScoreTextX = 0.45f;
constexpr int32_t MessageTextY = 20;

constexpr DigitCell SpeedCells[3] = {{0.37f, 0.40f}, {0.41f, 0.44f}, {0.45f, 0.48f}};
constexpr DigitCell LimitCells[3] = {{0.52f, 0.55f}, {0.56f, 0.59f}, {0.60f, 0.63f}};
constexpr DigitCell AnnouncedCells[3] = {{0.69f, 0.72f}, {0.73f, 0.76f}, {0.77f, 0.80f}};
// The limit readout turns red once the train is more than this far over the limit, the point
// from which the score tick charges for speeding.
constexpr float LimitTolerance = 5.0f;

void DrawTexts(const World& world, const CabView& view, CabCanvas& canvas, const CanvasSize& size)
{
    char text[96];
    if (view.paused)
        canvas.DrawText(size.width / 2 - 15, size.height / 10, TextColour, "Pause");

    if (view.showDistanceScore) {
        FormatDistanceText(text, sizeof text, world.trains[world.playerUnit].odometer);
        canvas.DrawText(0, 0, TextColour, text);
        FormatScoreText(text, sizeof text, world.score);
        canvas.DrawText(PixelsOf(size.width, ScoreTextX), 0, TextColour, text);
    } else {
        FormatFrameRateText(text, sizeof text, view.framesPerSecond, size);
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

CanvasSize DrawCabDisplay(const World& world, const CabView& view, CabCanvas& canvas)
{
    CanvasSize size = canvas.RenderSize();
    DrawTexts(world, view, canvas, size);
    if (view.viewMode == ViewOutside)
        return size;

    const TrainUnit& player = world.trains[world.playerUnit];
    DrawDashboard(canvas, CabPens, size);
    DrawLevers(canvas, CabPens, player, size.width, size.height);
    DrawReadouts(canvas, CabPens, player, size);
    return size;
}
