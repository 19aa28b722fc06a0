#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cab/cab_display.h"
#include "recording_canvas.h"
#include "sim/camera.h"
#include "world/world.h"

namespace {

// The cab of a player standing braked under a 130 limit, nothing announced.
struct CabFixture {
    std::unique_ptr<World> world = std::make_unique<World>();
    CabView view = {false, true, ViewCab, 0.0f};

    CabFixture()
    {
        world->playerUnit = PlayerUnit;
        Player() = {};
        Player().kind = 1;
        Player().speedLimit = 130;
        Player().announcedLimit = NoAnnouncedLimit;
        Player().brake = BrakeFull;
        Player().throttle = ThrottleClosed;
    }

    RecordingCanvas Draw(CanvasSize size = {800, 600, 32})
    {
        RecordingCanvas canvas(size);
        EXPECT_EQ(DrawCabDisplay(*world, view, canvas), size);
        return canvas;
    }

    TrainUnit& Player() { return world->trains[PlayerUnit]; }
};

// The texts drawn, each as "text@x,y", all in yellow.
std::vector<std::string> Texts(const RecordingCanvas& canvas)
{
    std::vector<std::string> texts;
    for (const RecordedText& text : canvas.texts) {
        texts.push_back(text.text + "@" + std::to_string(text.x) + "," + std::to_string(text.y));
        EXPECT_EQ(text.colour, (CabColour{255, 255, 0})) << text.text;
    }
    return texts;
}

}  // namespace

TEST(CabDisplay, TextsShowWhatTheViewAsksForAtFractionsOfThePicture)
{
    // Places are fractions of the picture truncated to whole pixels: 0.45 × 333 = 149.85.
    struct Case {
        const char* what;
        bool paused, showDistanceScore;
        int32_t viewMode, messageSeconds;
        CanvasSize size;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {"driving", false, true, ViewCab, 0, {800, 600, 32}, {"     12 km@0,0", "Score:    -5@360,0"}},
        {"odd size", false, true, ViewCab, 0, {333, 257, 16}, {"     12 km@0,0", "Score:    -5@149,0"}},
        {"a message", false, true, ViewCab, 3, {800, 600, 32},
         {"     12 km@0,0", "Score:    -5@360,0", "High speed: -100 points@360,20"}},
        {"frame rate", false, false, ViewCab, 0, {800, 600, 32}, {"   20.0 fps (800x600x32)@0,0"}},
        {"paused outside", true, true, ViewOutside, 5, {800, 600, 32},
         {"Pause@385,60", "     12 km@0,0", "Score:    -5@360,0", "High speed: -100 points@360,20"}},
    };
    for (const Case& c : cases) {
        CabFixture cab;
        cab.world->score = -5;
        cab.Player().odometer = 12499.0;
        std::snprintf(cab.world->messageText, sizeof cab.world->messageText, "High speed: -100 points");
        cab.world->messageSeconds = c.messageSeconds;
        cab.view = {c.paused, c.showDistanceScore, c.viewMode, 20.0f};
        RecordingCanvas canvas = cab.Draw(c.size);
        EXPECT_EQ(Texts(canvas), c.texts) << c.what;
        // Outside the cab there are no instruments.
        EXPECT_EQ(canvas.polygons.size(), c.viewMode == ViewCab ? 1u : 0u) << c.what;
        EXPECT_EQ(canvas.ellipses.size(), c.viewMode == ViewCab ? 2u : 0u) << c.what;
        EXPECT_EQ(canvas.lines.empty(), c.viewMode != ViewCab) << c.what;
    }
}

TEST(CabDisplay, ReadoutsShowSpeedLimitAndAnnouncedLimitInTheirPens)
{
    // At 1000 × 1000 the speed cells span x 370..480, the limit cells 520..630 and the
    // announced cells 690..800. 000 is 6 + 6 + 6 bars; 130 is 2 + 5 + 6; 087 is 6 + 7 + 2;
    // 040 is 6 + 4 + 6; 045 is 6 + 4 + 5; 060 is 6 + 5 + 6.
    struct Case {
        const char* what;
        float speed;
        int32_t limit, announced;
        size_t speedLines, limitOkLines, limitOverLines, announcedLines;
    };
    const Case cases[] = {
        {"standing, nothing announced", 0.0f, 130, NoAnnouncedLimit, 18, 13, 0, 0},
        {"87.9 km/h shows 087", 87.9f, 130, NoAnnouncedLimit, 15, 13, 0, 0},
        {"45.0 under a 40 limit is still within it", 45.0f, 40, NoAnnouncedLimit, 15, 16, 0, 0},
        {"45.1 under a 40 limit is over it", 45.1f, 40, NoAnnouncedLimit, 15, 0, 16, 0},
        {"a stop announced shows 000 in yellow", 60.0f, 130, 0, 17, 13, 0, 18},
        {"40 announced", 60.0f, 130, 40, 17, 13, 0, 16},
    };
    for (const Case& c : cases) {
        CabFixture cab;
        cab.Player().speed = c.speed;
        cab.Player().speedLimit = c.limit;
        cab.Player().announcedLimit = c.announced;
        RecordingCanvas canvas = cab.Draw({1000, 1000, 32});
        size_t counts[4] = {0, 0, 0, 0}, readoutLines = 0;
        const std::tuple<int, int32_t, int32_t> spans[4] = {
            {PenSpeed, 370, 480}, {PenLimitOk, 520, 630}, {PenLimitOver, 520, 630}, {PenAnnounce, 690, 800}};
        for (const RecordedLine& line : canvas.lines) {
            readoutLines += line.pen.width == 2;
            for (int k = 0; k < 4; ++k)
                counts[k] += line.pen == CabPens.pens[std::get<0>(spans[k])] &&
                             std::min(line.from.x, line.to.x) >= std::get<1>(spans[k]) &&
                             std::max(line.from.x, line.to.x) <= std::get<2>(spans[k]);
        }
        EXPECT_EQ(std::vector<size_t>(counts, counts + 4),
                  (std::vector<size_t>{c.speedLines, c.limitOkLines, c.limitOverLines, c.announcedLines}))
            << c.what;
        EXPECT_EQ(readoutLines, c.speedLines + c.limitOkLines + c.limitOverLines + c.announcedLines)
            << c.what << ": nothing else is drawn with the readout pens";
    }
}
