// The real program, driven offscreen by scripted input on a timer that moves on by whole frames,
// checked by the state it writes at the script's marks and by its pictures.

#include <cmath>
#include <limits>

#include <stb/stb_image.h>

#include "real_window.h"

namespace {

constexpr double Any = std::numeric_limits<double>::infinity();

// How far a field of the snapshot at a mark moved since an earlier mark (or its value, with no
// earlier mark), within a range.
struct Moved {
    const char *label, *field, *since;
    double low, high;
};

struct PlayRun {
    TagvindRun run;
    nlohmann::json dump;

    const nlohmann::json& Snapshot(const std::string& label) const
    {
        static const nlohmann::json none = nlohmann::json::object();
        for (const nlohmann::json& snapshot : dump.contains("snapshots") ? dump["snapshots"] : dump)
            if (snapshot.is_object() && snapshot.value("label", "") == label)
                return snapshot;
        ADD_FAILURE() << "no snapshot '" << label << "'";
        return none;
    }
    double Field(const char* label, const char* field) const
    {
        nlohmann::json::json_pointer pointer(field);
        const nlohmann::json& snapshot = Snapshot(label);
        return snapshot.contains(pointer) ? snapshot.at(pointer).get<double>() : std::nan("");
    }
};

// Every number of `expected` is the one at the same place of `actual`, to within a ten-thousandth.
void ExpectNumbers(const nlohmann::json& actual, const nlohmann::json& expected, const std::string& path)
{
    for (const auto& [key, value] : expected.items()) {
        const nlohmann::json& found = actual.is_object() && actual.contains(key) ? actual[key] : nlohmann::json();
        if (value.is_object())
            ExpectNumbers(found, value, path + "/" + key);
        else
            EXPECT_TRUE(found.is_number() && std::abs(found.get<double>() - value.get<double>()) < 1e-4)
                << path << "/" << key << " is " << found << ", not " << value;
    }
}

// Runs `tagvind play` in the folder with the script, offscreen, on a 50 ms frame timer, and checks
// the snapshots: `expected` gives numbers by the snapshots' labels.
PlayRun RunPlay(const ScratchFolder& folder, const std::string& script, const std::string& arguments,
                const char* expected = "{}", const std::vector<Moved>& moved = {})
{
    // The script is written as JSON arrays, one after another, and read as one event a line.
    std::ofstream events(folder / "events.jsonl");
    std::istringstream arrays(script);
    for (nlohmann::json array; arrays >> std::ws && arrays.peek() != EOF && (arrays >> array);)
        for (const nlohmann::json& event : array)
            events << event.dump() << "\n";
    events.close();
    PlayRun play{RunInFolder(folder, "SDL_AUDIODRIVER=dummy '" + std::string(TAGVIND_EXECUTABLE) +
                                         "' play --offscreen --fixed-frame-ms 50 --events events.jsonl "
                                         "--state-dump dump.json " + arguments),
                 nlohmann::json::parse(ReadWholeFile(folder / "dump.json"), nullptr, false)};
    EXPECT_EQ(play.run.status, 0) << play.run.err;
    nlohmann::json expectedNumbers = nlohmann::json::parse(expected);
    for (const auto& [label, numbers] : expectedNumbers.items())
        ExpectNumbers(play.Snapshot(label), numbers, label);
    for (const Moved& m : moved) {
        double value = play.Field(m.label, m.field) - (m.since ? play.Field(m.since, m.field) : 0.0);
        EXPECT_TRUE(value >= m.low && value <= m.high) << m.label << " " << m.field << " since "
                                                       << (m.since ? m.since : "0") << " is " << value;
    }
    return play;
}

// A PNG file's pixels as red, green and blue; none where it cannot be read.
struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;

    explicit Picture(const std::filesystem::path& path)
    {
        std::string bytes = ReadWholeFile(path);
        int channels = 0;
        unsigned char* pixels = stbi_load_from_memory(reinterpret_cast<const unsigned char*>(bytes.data()),
                                                      static_cast<int>(bytes.size()), &width, &height, &channels, 3);
        if (pixels != nullptr)
            rgb.assign(pixels, pixels + static_cast<size_t>(width) * height * 3);
        stbi_image_free(pixels);
    }
    // The share of pixels in the box (fractions of the picture) for which the test holds.
    template <typename PixelTest>
    double Share(double left, double top, double right, double bottom, PixelTest test) const
    {
        int total = 0, matching = 0;
        for (int y = static_cast<int>(top * height); y < static_cast<int>(bottom * height); ++y)
            for (int x = static_cast<int>(left * width); x < static_cast<int>(right * width); ++x, ++total)
                matching += test(&rgb[(static_cast<size_t>(y) * width + x) * 3]) ? 1 : 0;
        return total == 0 ? 0.0 : static_cast<double>(matching) / total;
    }
};

// Evenly spaced presses of one key, as script events.
std::string Presses(double at, double every, int count, const char* key)
{
    nlohmann::json events = nlohmann::json::array();
    for (int press = 0; press < count; ++press)
        events.push_back({{"at", at + press * every}, {"key", key}});
    return events.dump();
}

}  // namespace

// Every kind of input the game takes, one after another in one run, each seen to take effect:
// Alt alone goes to the bar, Down opens Menu on Pause, four more reach Toggle View and Enter
// chooses it; Shift+F10 opens the pop-up menu, whose T toggles the view back; Alt+M opens Menu
// and Esc closes it, after which Esc is the start menu, closed by a third; A is About, closed by
// Return; a right click opens the pop-up menu, paused until Esc closes it, its time off the
// clock; nine presses of keypad + release the brake and give notch 2, and the lever at 72 % of
// the picture below the menu bar is full brake; P pauses, S leaves the pause and any other key
// ends it; Alt+Enter goes to full screen, which has no menu bar, and back; minimised no frames
// run and no sound is fed; a controller plugged in steps the handle two up and one down, Start
// pauses and Back changes the view.
TEST(PlayOffscreen, EveryKindOfInputTakesEffect)
{
    ScratchFolder folder;
    RunPlay(folder,
            Presses(1.3, 0.1, 5, "DOWN") + Presses(7.0, 0.2, 9, "KP_PLUS") +
                R"([{"at": 1.0, "key": "ALT"}, {"at": 1.2, "snapshot": "bar"}, {"at": 1.8, "key": "RETURN"},
                    {"at": 2.0, "snapshot": "chosen"}, {"at": 2.2, "key": "F10", "modifiers": ["shift"]},
                    {"at": 2.5, "key": "T"}, {"at": 2.7, "snapshot": "mnemonic"}, {"at": 3.0, "key": "M", "modifiers": ["alt"]},
                    {"at": 3.2, "snapshot": "alt m"}, {"at": 3.3, "key": "ESCAPE"}, {"at": 3.5, "snapshot": "m closed"},
                    {"at": 3.7, "key": "ESCAPE"}, {"at": 3.9, "snapshot": "start menu"}, {"at": 4.1, "key": "ESCAPE"},
                    {"at": 4.3, "key": "A"}, {"at": 4.5, "snapshot": "about"}, {"at": 4.7, "key": "RETURN"},
                    {"at": 4.9, "snapshot": "after about"}, {"at": 5.0, "windowClick": [100, 100], "button": "right"},
                    {"at": 5.5, "snapshot": "pop-up"}, {"at": 6.0, "key": "ESCAPE"}, {"at": 6.5, "snapshot": "closed"},
                    {"at": 8.7, "snapshot": "keys"}, {"at": 9.0, "click": [0.03, 0.72]}, {"at": 9.1, "snapshot": "lever"},
                    {"at": 10.0, "key": "P"}, {"at": 10.5, "snapshot": "paused"}, {"at": 11.0, "key": "S"},
                    {"at": 11.5, "snapshot": "still paused"}, {"at": 12.0, "key": "SPACE"}, {"at": 12.5, "snapshot": "resumed"},
                    {"at": 13.0, "key": "RETURN", "modifiers": ["alt"]}, {"at": 13.5, "snapshot": "full screen"},
                    {"at": 14.0, "key": "RETURN", "modifiers": ["alt"]}, {"at": 14.5, "snapshot": "windowed"},
                    {"at": 15.0, "minimise": true}, {"at": 15.2, "snapshot": "minimised"}, {"at": 16.8, "snapshot": "later"},
                    {"at": 17.0, "restore": true}, {"at": 17.5, "snapshot": "restored"}, {"at": 18.0, "controller": "DPAD_UP"},
                    {"at": 18.2, "controller": "RIGHTSHOULDER"}, {"at": 18.4, "controller": "LEFTSHOULDER"},
                    {"at": 18.6, "snapshot": "stepped"}, {"at": 18.8, "controller": "START"},
                    {"at": 19.0, "controller": "BACK"}, {"at": 19.2, "snapshot": "pad paused"}])",
            "--quit-after 19.5 --window 400x300 --sound automatic",
            R"({"keys": {"player": {"throttle": 2, "brake": 8}},
                "lever": {"player": {"throttle": 0, "brake": 1}, "picture": {"top": 19, "width": 400, "height": 281}},
                "paused": {"app": {"pauseCount": 1, "frameStep": 0}}, "still paused": {"app": {"pauseCount": 1, "soundOn": 0}},
                "resumed": {"app": {"pauseCount": 0, "frameStep": 0.05}},
                "full screen": {"app": {"windowed": 0}, "session": {"deviceReopens": 1}, "picture": {"top": 0}},
                "windowed": {"app": {"windowed": 1}, "session": {"deviceReopens": 2}, "picture": {"top": 19, "width": 400}},
                "minimised": {"app": {"isActive": 0}}, "restored": {"app": {"isActive": 1}},
                "pop-up": {"session": {"menuOpen": 1}, "app": {"pauseCount": 1}},
                "closed": {"session": {"menuOpen": 0}, "app": {"pauseCount": 0}},
                "bar": {"session": {"menuOpen": 1}, "app": {"pauseCount": 1, "viewMode": 0}},
                "chosen": {"session": {"menuOpen": 0}, "app": {"pauseCount": 0, "viewMode": 1}},
                "mnemonic": {"session": {"menuOpen": 0}, "app": {"viewMode": 0}}, "alt m": {"session": {"menuOpen": 1}},
                "m closed": {"session": {"menuOpen": 0}, "app": {"simulationEnabled": 1}},
                "start menu": {"app": {"simulationEnabled": 0}}, "about": {"app": {"isReady": 0}},
                "after about": {"app": {"isReady": 1, "pauseCount": 0}}, "stepped": {"player": {"throttle": 0, "brake": 2}},
                "pad paused": {"app": {"pauseCount": 1, "viewMode": 1}}})",
            {{"still paused", "/app/clockStartMs", "paused", 0, 0}, {"still paused", "/app/lastFrameTime", "paused", 0.9, Any},
             {"full screen", "/session/framesRun", "resumed", 1, Any}, {"windowed", "/session/framesRun", "full screen", 1, Any},
             {"later", "/session/framesRun", "minimised", 0, 0}, {"later", "/sound/soundBlock", "minimised", 0, 0},
             {"later", "/sound/samplePhase", "minimised", 0, 0}, {"restored", "/session/framesRun", "later", 1, Any},
             {"closed", "/app/clockStartMs", "pop-up", 400, Any}});
}

TEST(PlayOffscreen, TheStartMenuHoldsTheGameAndIsDrawnOverItsPicture)
{
    // No frame runs while the start menu is open, and its three seconds are moved off the clock
    // to within a frame.
    ScratchFolder folder;
    RunPlay(folder,
            R"([{"at": 1.0, "snapshot": "before"}, {"at": 1.0, "screenshot": "before.png"}, {"at": 1.5, "key": "F2"},
                {"at": 2.0, "snapshot": "dialog"}, {"at": 2.0, "screenshot": "dialog.png"}, {"at": 4.5, "key": "ESCAPE"},
                {"at": 5.0, "snapshot": "after"}])",
            "--quit-after 5.5 --window 560x360 --sound off",
            R"({"dialog": {"app": {"pauseCount": 1, "simulationEnabled": 0, "isReady": 0}},
                "after": {"app": {"simulationEnabled": 1, "isReady": 1}, "session": {"runsStarted": 1}}})",
            {{"dialog", "/session/framesRun", "before", 0, 11}, {"after", "/app/clockStartMs", "before", 2900, 3100}});
    // The dialog was drawn over the held picture: the middle changed, the edges beside it did not.
    Picture game(folder / "before.png"), dialog(folder / "dialog.png");
    ASSERT_EQ(dialog.rgb.size(), 560u * 360 * 3);
    ASSERT_EQ(game.rgb.size(), dialog.rgb.size());
    auto changed = [&](const uint8_t* p) {
        const uint8_t* q = &game.rgb[p - dialog.rgb.data()];
        return std::abs(p[0] - q[0]) > 16 || std::abs(p[1] - q[1]) > 16 || std::abs(p[2] - q[2]) > 16;
    };
    EXPECT_GT(dialog.Share(0.3, 0.3, 0.7, 0.7, changed), 0.5);
    EXPECT_LT(dialog.Share(0.0, 0.3, 0.03, 0.7, changed), 0.05);
}

TEST(PlayOffscreen, WithoutADisplayPlayRunsTheDemoItNamesAndWritesOnlyThePictureAskedFor)
{
    ScratchFolder folder;
    // A file of the name the demo once took for its picture is the player's own.
    std::ofstream(folder / "tagvind-demo.png") << "kept";
    // No sound card either (ALSA without its configuration finds none), so the libraries that
    // SDL tries for a display and a sound device all complain, and only the game may speak.
    TagvindRun run = RunInFolder(folder, "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER -u XDG_RUNTIME_DIR "
                                         "SDL_AUDIODRIVER=alsa ALSA_CONFIG_PATH=/nonexistent '" +
                                             std::string(TAGVIND_EXECUTABLE) + "' play --sound automatic --quit-after "
                                             "0.5 --window 200x150 --screenshot 'last frame.png' --scenery 3");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err.rfind("tagvind: no sound device, so the engine stays silent", 0), 0u) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    auto summary = nlohmann::json::parse(run.out.substr(run.out.rfind('\n', run.out.size() - 2) + 1), nullptr, false);
    ASSERT_TRUE(summary.is_object()) << run.out;
    EXPECT_EQ(run.out.rfind("No display is available", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("Running the demo instead: tagvind play --offscreen --autopilot --quit-after 0.5 --window "
                           "200x150 --screenshot 'last frame.png' --scenery 3 --seed " +
                           std::to_string(summary["seed"].get<uint32_t>())),
              std::string::npos) << run.out;
    EXPECT_EQ(ReadWholeFile(folder / "tagvind-demo.png"), "kept");
    EXPECT_EQ(Picture(folder / "last frame.png").width, 200);
    EXPECT_EQ(FolderEntries(folder.path()), (std::vector<std::string>{"err.txt", "last frame.png", "out.txt", "tagvind-demo.png"}));
}

TEST(PlayOffscreen, APictureAskedForWithNoFrameDrawnFailsTheRun)
{
    // Minimised before its first frame, the game draws nothing, so the picture cannot be written.
    ScratchFolder folder;
    std::ofstream(folder / "events.jsonl") << R"({"at": 0.0, "minimise": true})" << "\n";
    TagvindRun run = RunInFolder(folder, "SDL_AUDIODRIVER=dummy '" + std::string(TAGVIND_EXECUTABLE) +
                                             "' play --offscreen --events events.jsonl --quit-after 0.5 --screenshot none.png");
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find("tagvind: no frame was drawn, so there is no picture for none.png"), std::string::npos) << run.err;
}

TEST(PlayOffscreen, WithoutACommandTheGameIsPlayed)
{
    // No display here either, so the game goes on to its demo, which runs for a minute: the
    // notice says the game started rather than, say, a report being printed.
    ScratchFolder folder;
    pid_t game = StartInBackground("cd '" + folder.path().string() +
                                       "' && exec env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "
                                       "SDL_AUDIODRIVER=dummy '" + TAGVIND_EXECUTABLE + "' >out.txt 2>err.txt",
                                   folder, "game");
    EndsProcess endsGame{game};
    std::string out;
    ASSERT_TRUE(WaitUntil([&] { return (out = ReadWholeFile(folder / "out.txt")).find('\n') != std::string::npos || !IsRunning(game); }, 60));
    EXPECT_EQ(out.rfind("No display is available", 0), 0u) << out << ReadWholeFile(folder / "err.txt");
    EXPECT_TRUE(IsRunning(game)) << "the demo should still be running";
}
