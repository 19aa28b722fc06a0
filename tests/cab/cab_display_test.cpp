#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cab/cab_display.h"
#include "recording_canvas.h"
#include "sim/camera.h"
#include "world/world.h"

namespace {

constexpr CabColour Yellow = {255, 255, 0};

// A world with the cab's pens and the player standing braked under a 130 limit, nothing
// announced.
std::unique_ptr<World> MakeCabWorld()
{
    auto world = std::make_unique<World>();
    world->playerUnit = PlayerUnit;
    TrainUnit& player = world->trains[PlayerUnit];
    player.kind = 1;
    player.speed = 0.0f;
    player.speedLimit = 130;
    player.announcedLimit = NoAnnouncedLimit;
    player.brake = BrakeFull;
    player.throttle = ThrottleClosed;
    return world;
}

struct CabFixture {
    std::unique_ptr<World> world = MakeCabWorld();
    CabView view = {false, true, ViewCab, 0.0f};

    RecordingCanvas Draw(CanvasSize size = {800, 600, 32})
    {
        RecordingCanvas canvas(size);
        EXPECT_EQ(DrawCabDisplay(*world, view, canvas), size);
        return canvas;
    }

    TrainUnit& Player() { return world->trains[PlayerUnit]; }
};

bool HasText(const RecordingCanvas& canvas, const std::string& text)
{
    for (const RecordedText& recorded : canvas.texts)
        if (recorded.text == text)
            return true;
    return false;
}

// The lines drawn with the pen whose colour is given, between x0 and x1 (pixels).
size_t LinesInSpan(const RecordingCanvas& canvas, const CabPen& pen, int32_t x0, int32_t x1)
{
    size_t count = 0;
    for (const RecordedLine& line : canvas.lines)
        if (line.pen == pen && std::min(line.from.x, line.to.x) >= x0 && std::max(line.from.x, line.to.x) <= x1)
            count += 1;
    return count;
}

}  // namespace

TEST(CabDisplay, StatusTextsAndTheirPlaces)
{
    CabFixture cab;
    cab.world->score = 0;
    cab.Player().odometer = 12499.0;
    RecordingCanvas canvas = cab.Draw();
    ASSERT_EQ(canvas.texts.size(), 2u);
    EXPECT_EQ(canvas.texts[0].text, "     12 km");
    EXPECT_EQ(canvas.texts[0].x, 0);
    EXPECT_EQ(canvas.texts[0].y, 0);
    EXPECT_EQ(canvas.texts[1].text, "Score: 0");
    EXPECT_EQ(canvas.texts[1].x, 360);  // 0.45 × 800
    EXPECT_EQ(canvas.texts[1].y, 0);
    for (const RecordedText& text : canvas.texts)
        EXPECT_EQ(text.colour, Yellow);

    // Places are fractions of the picture truncated to whole pixels: 0.45 × 333 = 149.85.
    canvas = cab.Draw({333, 257, 16});
    EXPECT_EQ(canvas.texts[1].x, 149);
}

TEST(CabDisplay, ScoreTextPadsToFiveAndShowsZeroAsADigit)
{
    struct Case {
        int32_t score;
        const char* text;
    };
    const Case cases[] = {{0, "Score: 0"},          {-5, "Score:    -5"},    {-250, "Score:  -250"},
                          {1234, "Score:  1234"},   {-9999, "Score: -9999"}, {7, "Score:     7"},
                          {100000, "Score: 100000"}};
    for (const Case& c : cases) {
        char text[64];
        FormatScoreText(text, sizeof text, c.score);
        EXPECT_STREQ(text, c.text) << c.score;
    }
}

TEST(CabDisplay, DistanceAndFrameRateTexts)
{
    char text[96];
    FormatDistanceText(text, sizeof text, 0.0);
    EXPECT_STREQ(text, "      0 km");
    FormatDistanceText(text, sizeof text, 99600.0);
    EXPECT_STREQ(text, "    100 km");
    FormatFrameRateText(text, sizeof text, 59.94f, {800, 600, 32});
    EXPECT_STREQ(text, "   59.9 fps (800x600x32)");
}

TEST(CabDisplay, FrameRateLineReplacesDistanceAndScoreWhenToggled)
{
    CabFixture cab;
    cab.view.showDistanceScore = false;
    cab.view.framesPerSecond = 20.0f;
    RecordingCanvas canvas = cab.Draw();
    ASSERT_EQ(canvas.texts.size(), 1u);
    EXPECT_EQ(canvas.texts[0].text, "   20.0 fps (800x600x32)");
    EXPECT_EQ(canvas.texts[0].x, 0);
}

TEST(CabDisplay, PauseShowsOnlyWhilePaused)
{
    CabFixture cab;
    EXPECT_FALSE(HasText(cab.Draw(), "Pause"));
    cab.view.paused = true;
    RecordingCanvas canvas = cab.Draw();
    ASSERT_TRUE(HasText(canvas, "Pause"));
    for (const RecordedText& text : canvas.texts)
        if (text.text == "Pause") {
            EXPECT_EQ(text.x, 385);  // 800 / 2 - 15
            EXPECT_EQ(text.y, 60);   // 600 / 10
        }
}

TEST(CabDisplay, PenaltyMessageShowsWhileItsSecondsLast)
{
    CabFixture cab;
    std::snprintf(cab.world->messageText, sizeof cab.world->messageText, "High speed: -100 points");
    cab.world->messageSeconds = 0;
    EXPECT_FALSE(HasText(cab.Draw(), "High speed: -100 points"));
    cab.world->messageSeconds = 3;
    RecordingCanvas canvas = cab.Draw();
    ASSERT_EQ(canvas.texts.size(), 3u);
    EXPECT_EQ(canvas.texts[2].text, "High speed: -100 points");
    EXPECT_EQ(canvas.texts[2].x, 360);
    EXPECT_EQ(canvas.texts[2].y, 20);
}

TEST(CabDisplay, DashboardPolygonAt800By600AndAtOddSizes)
{
    CabFixture cab;
    RecordingCanvas canvas = cab.Draw();
    ASSERT_EQ(canvas.polygons.size(), 1u);
    const std::vector<CanvasPoint> expected = {{0, 420},   {80, 420},  {160, 540}, {640, 540},
                                               {720, 420}, {800, 420}, {800, 600}, {0, 600}};
    EXPECT_EQ(canvas.polygons[0].points, expected);
    EXPECT_EQ(canvas.polygons[0].brush, (CabColour{32, 32, 32}));
    EXPECT_EQ(canvas.polygons[0].pen, (CabPen{{32, 32, 32}, 1}));

    // Whole-number arithmetic, multiplying before dividing: 4 × 333 / 5 = 266, not 4 × 66.
    canvas = cab.Draw({333, 257, 32});
    ASSERT_EQ(canvas.polygons.size(), 1u);
    const std::vector<CanvasPoint> odd = {{0, 179},   {33, 179},  {66, 231},  {266, 231},
                                          {299, 179}, {333, 179}, {333, 257}, {0, 257}};
    EXPECT_EQ(canvas.polygons[0].points, odd);
}

TEST(CabDisplay, OutsideViewDrawsTextsButNoInstruments)
{
    CabFixture cab;
    cab.view.viewMode = ViewOutside;
    cab.view.paused = true;
    cab.world->messageSeconds = 5;
    RecordingCanvas canvas = cab.Draw();
    EXPECT_EQ(canvas.texts.size(), 4u);  // pause, distance, score, message
    EXPECT_TRUE(canvas.polygons.empty());
    EXPECT_TRUE(canvas.lines.empty());
    EXPECT_TRUE(canvas.ellipses.empty());

    cab.view.viewMode = ViewCab;
    canvas = cab.Draw();
    EXPECT_EQ(canvas.polygons.size(), 1u);
    EXPECT_EQ(canvas.ellipses.size(), 2u);
    EXPECT_FALSE(canvas.lines.empty());
}

TEST(CabDisplay, ReadoutsShowSpeedLimitAndAnnouncedLimitInTheirPens)
{
    // At 1000 × 1000 the speed cells span x 370..480, the limit cells 520..630 and the
    // announced cells 690..800.
    const CabPalette& pens = CabPens;
    struct Case {
        const char* what;
        float speed;
        int32_t limit;
        int32_t announced;
        size_t speedLines;      // with the speed pen
        size_t limitOkLines;    // with the dark green pen
        size_t limitOverLines;  // with the red pen
        size_t announcedLines;  // with the yellow pen
    };
    const Case cases[] = {
        // 000 is 6 + 6 + 6 bars; 130 is 2 + 5 + 6; 087 is 6 + 7 + 2; 040 is 6 + 4 + 6.
        {"standing, nothing announced", 0.0f, 130, NoAnnouncedLimit, 18, 13, 0, 0},
        {"87.9 km/h shows 087", 87.9f, 130, NoAnnouncedLimit, 15, 13, 0, 0},
        {"45.0 under a 40 limit is still within it", 45.0f, 40, NoAnnouncedLimit, 6 + 4 + 5, 16, 0, 0},
        {"45.1 under a 40 limit is over it", 45.1f, 40, NoAnnouncedLimit, 6 + 4 + 5, 0, 16, 0},
        {"a stop announced shows 000 in yellow", 60.0f, 130, 0, 6 + 5 + 6, 13, 0, 18},
        {"40 announced", 60.0f, 130, 40, 6 + 5 + 6, 13, 0, 16},
    };
    for (const Case& c : cases) {
        CabFixture cab;
        cab.Player().speed = c.speed;
        cab.Player().speedLimit = c.limit;
        cab.Player().announcedLimit = c.announced;
        RecordingCanvas canvas = cab.Draw({1000, 1000, 32});
        EXPECT_EQ(LinesInSpan(canvas, pens.pens[PenSpeed], 370, 480), c.speedLines) << c.what;
        EXPECT_EQ(LinesInSpan(canvas, pens.pens[PenLimitOk], 520, 630), c.limitOkLines) << c.what;
        EXPECT_EQ(LinesInSpan(canvas, pens.pens[PenLimitOver], 520, 630), c.limitOverLines) << c.what;
        EXPECT_EQ(LinesInSpan(canvas, pens.pens[PenAnnounce], 690, 800), c.announcedLines) << c.what;
        // Nothing else is drawn with the readout pens.
        size_t readoutLines = 0;
        for (const RecordedLine& line : canvas.lines)
            readoutLines += line.pen.width == 2;
        EXPECT_EQ(readoutLines, c.speedLines + c.limitOkLines + c.limitOverLines + c.announcedLines) << c.what;
    }
}

