// The real program, driven offscreen by scripted input on a timer that moves on by whole frames,
// checked by the state it writes at the script's marks and by its pictures.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include <nlohmann/json.hpp>
#include <stb/stb_image.h>

#include "run_tagvind.h"
#include "shell/state_dump.h"

namespace {

struct PlayRun {
    int status = -1;
    std::string out;
    std::string err;
    nlohmann::json dump;
};

// Runs `tagvind play` in the folder with the script, offscreen, on a 50 ms frame timer.
PlayRun RunPlay(const ScratchFolder& folder, const std::string& script, const std::string& arguments)
{
    std::ofstream(folder / "events.jsonl") << script;
    std::string command = "cd '" + folder.path().string() + "' && SDL_AUDIODRIVER=dummy '" + TAGVIND_EXECUTABLE +
                          "' play --offscreen --fixed-frame-ms 50 --events events.jsonl --state-dump dump.json " +
                          arguments + " >out.txt 2>err.txt";
    int raw = std::system(command.c_str());
    PlayRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadWholeFile(folder / "out.txt");
    run.err = ReadWholeFile(folder / "err.txt");
    run.dump = nlohmann::json::parse(ReadWholeFile(folder / "dump.json"), nullptr, false);
    return run;
}

const nlohmann::json& Snapshot(const PlayRun& run, const std::string& label)
{
    static const nlohmann::json none;
    if (!run.dump.is_discarded() && run.dump.contains("snapshots")) {
        for (const nlohmann::json& snapshot : run.dump["snapshots"]) {
            if (snapshot["label"] == label)
                return snapshot;
        }
    }
    ADD_FAILURE() << "no snapshot '" << label << "'";
    return none;
}

size_t Occurrences(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;

    // The share of pixels in the box (fractions of the picture) within 6 of the colour.
    double ShareOf(int red, int green, int blue, double left, double top, double right, double bottom) const
    {
        int total = 0;
        int matching = 0;
        for (int y = static_cast<int>(top * height); y < static_cast<int>(bottom * height); ++y) {
            for (int x = static_cast<int>(left * width); x < static_cast<int>(right * width); ++x) {
                const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
                ++total;
                if (std::abs(p[0] - red) <= 6 && std::abs(p[1] - green) <= 6 && std::abs(p[2] - blue) <= 6)
                    ++matching;
            }
        }
        return total == 0 ? 0.0 : static_cast<double>(matching) / total;
    }

    // The share of pixels in the box that differ from the other picture's by more than 16 in
    // some channel.
    double ShareDifferingFrom(const Picture& other, double left, double top, double right, double bottom) const
    {
        if (other.width != width || other.height != height)
            return 1.0;
        int total = 0;
        int differing = 0;
        for (int y = static_cast<int>(top * height); y < static_cast<int>(bottom * height); ++y) {
            for (int x = static_cast<int>(left * width); x < static_cast<int>(right * width); ++x) {
                size_t at = (static_cast<size_t>(y) * width + x) * 3;
                ++total;
                for (int channel = 0; channel < 3; ++channel) {
                    if (std::abs(rgb[at + channel] - other.rgb[at + channel]) > 16) {
                        ++differing;
                        break;
                    }
                }
            }
        }
        return total == 0 ? 0.0 : static_cast<double>(differing) / total;
    }
};

Picture ReadPicture(const std::filesystem::path& path)
{
    Picture picture;
    std::string bytes = ReadWholeFile(path);
    int channels = 0;
    unsigned char* pixels =
        stbi_load_from_memory(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()),
                              &picture.width, &picture.height, &channels, 3);
    if (pixels == nullptr) {
        ADD_FAILURE() << "no picture at " << path;
        return picture;
    }
    picture.rgb.assign(pixels, pixels + static_cast<size_t>(picture.width) * picture.height * 3);
    stbi_image_free(pixels);
    return picture;
}

}  // namespace

TEST(PlayOffscreen, PauseHoldsTheStepAndAnyOtherKeyResumes)
{
    ScratchFolder folder;
    PlayRun run = RunPlay(folder,
                          R"({"at": 1.0, "snapshot": "running"}
{"at": 1.5, "key": "P"}
{"at": 2.0, "snapshot": "paused"}
{"at": 3.0, "key": "S"}
{"at": 3.5, "snapshot": "still paused"}
{"at": 4.0, "key": "SPACE"}
{"at": 4.5, "snapshot": "resumed"}
)",
                          "--quit-after 5 --window 320x240 --sound off");
    ASSERT_EQ(run.status, 0) << run.err;
    const nlohmann::json& running = Snapshot(run, "running");
    const nlohmann::json& paused = Snapshot(run, "paused");
    const nlohmann::json& stillPaused = Snapshot(run, "still paused");
    const nlohmann::json& resumed = Snapshot(run, "resumed");
    EXPECT_EQ(running["app"]["pauseCount"], 0);
    EXPECT_NEAR(running["app"]["frameStep"].get<double>(), 0.05, 1e-4);
    EXPECT_EQ(paused["app"]["pauseCount"], 1);
    EXPECT_EQ(paused["app"]["frameStep"], 0.0);
    // S toggles the sound and leaves the pause; the clock ran on meanwhile.
    EXPECT_EQ(stillPaused["app"]["pauseCount"], 1);
    EXPECT_EQ(stillPaused["app"]["soundOn"], 0);
    EXPECT_EQ(stillPaused["app"]["clockStartMs"], paused["app"]["clockStartMs"]);
    EXPECT_GT(stillPaused["app"]["lastFrameTime"].get<double>(), paused["app"]["lastFrameTime"].get<double>() + 1.0);
    EXPECT_EQ(resumed["app"]["pauseCount"], 0);
    EXPECT_NEAR(resumed["app"]["frameStep"].get<double>(), 0.05, 1e-4);
}

TEST(PlayOffscreen, KeypadWalksTheHandleAndLeverClicksSetIt)
{
    ScratchFolder folder;
    std::string script;
    // Seven presses release the brake, five more give full power; then the levers at the
    // heights of the brake and throttle positions.
    for (int press = 0; press < 12; ++press)
        script += R"({"at": )" + std::to_string(1.0 + press * 0.2) + R"(, "key": "KP_PLUS"})" "\n";
    script += R"({"at": 2.3, "snapshot": "seven presses"}
{"at": 3.3, "snapshot": "twelve presses"}
{"at": 3.5, "key": "KP_MINUS"}
{"at": 3.6, "snapshot": "one back"}
{"at": 4.0, "click": [0.03, 0.72]}
{"at": 4.1, "snapshot": "left at 72"}
{"at": 4.5, "click": [0.97, 0.90]}
{"at": 4.6, "snapshot": "right at 90"}
{"at": 5.0, "click": [0.97, 0.71]}
{"at": 5.1, "snapshot": "right at 71"}
)";
    PlayRun run = RunPlay(folder, script, "--quit-after 5.5 --window 400x300 --sound off");
    ASSERT_EQ(run.status, 0) << run.err;
    auto controls = [&run](const char* label) {
        const nlohmann::json& player = Snapshot(run, label)["player"];
        return std::make_pair(player["throttle"].get<int>(), player["brake"].get<int>());
    };
    EXPECT_EQ(controls("seven presses"), std::make_pair(0, 8));
    EXPECT_EQ(controls("twelve presses"), std::make_pair(5, 8));
    EXPECT_EQ(controls("one back"), std::make_pair(4, 8));
    EXPECT_EQ(controls("left at 72"), std::make_pair(0, 1));
    EXPECT_EQ(controls("right at 90"), std::make_pair(5, 8));
    EXPECT_EQ(controls("right at 71"), std::make_pair(0, 8));
    // The levers were measured on the picture below the menu bar.
    const nlohmann::json& picture = Snapshot(run, "left at 72")["picture"];
    EXPECT_GT(picture["top"].get<int>(), 0);
    EXPECT_EQ(picture["width"], 400);
    EXPECT_EQ(picture["height"].get<int>() + picture["top"].get<int>(), 300);
}

TEST(PlayOffscreen, ViewToggleTakesTheDashboardAway)
{
    ScratchFolder folder;
    PlayRun run = RunPlay(folder,
                          R"({"at": 1.0, "screenshot": "cab.png"}
{"at": 1.5, "key": "F9"}
{"at": 2.0, "screenshot": "outside.png"}
{"at": 2.0, "snapshot": "outside"}
{"at": 2.5, "key": "F9"}
{"at": 3.0, "snapshot": "cab again"}
)",
                          "--quit-after 3.5 --window 320x240 --sound off");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Snapshot(run, "outside")["app"]["viewMode"], 1);
    EXPECT_EQ(Snapshot(run, "cab again")["app"]["viewMode"], 0);
    // The dashboard's dark grey fills the bottom corners in the cab view only.
    Picture cab = ReadPicture(folder / "cab.png");
    Picture outside = ReadPicture(folder / "outside.png");
    ASSERT_EQ(cab.width, 320);
    ASSERT_EQ(cab.height, 240);
    EXPECT_GT(cab.ShareOf(32, 32, 32, 0.0, 0.9, 0.02, 1.0), 0.5);
    EXPECT_LT(outside.ShareOf(32, 32, 32, 0.0, 0.9, 0.02, 1.0), 0.1);
}

TEST(PlayOffscreen, StartMenuHoldsTheGameAndKeepsItsTimeOffTheClock)
{
    ScratchFolder folder;
    PlayRun run = RunPlay(folder,
                          R"({"at": 1.0, "snapshot": "before"}
{"at": 1.0, "screenshot": "before.png"}
{"at": 1.5, "key": "F2"}
{"at": 2.0, "snapshot": "dialog"}
{"at": 2.0, "screenshot": "dialog.png"}
{"at": 4.5, "key": "ESCAPE"}
{"at": 5.0, "snapshot": "after"}
)",
                          "--quit-after 5.5 --window 560x360 --sound off");
    ASSERT_EQ(run.status, 0) << run.err;
    const nlohmann::json& before = Snapshot(run, "before");
    const nlohmann::json& dialog = Snapshot(run, "dialog");
    const nlohmann::json& after = Snapshot(run, "after");
    EXPECT_EQ(dialog["app"]["pauseCount"], 1);
    EXPECT_EQ(dialog["app"]["simulationEnabled"], 0);
    EXPECT_EQ(dialog["app"]["isReady"], 0);
    // No frame ran while it was open.
    EXPECT_LE(dialog["session"]["framesRun"].get<int>() - before["session"]["framesRun"].get<int>(), 11);
    // Three seconds open, moved off the clock to within a frame.
    int64_t moved = after["app"]["clockStartMs"].get<int64_t>() - before["app"]["clockStartMs"].get<int64_t>();
    EXPECT_NEAR(static_cast<double>(moved), 3000.0, 100.0);
    EXPECT_EQ(after["app"]["simulationEnabled"], 1);
    EXPECT_EQ(after["app"]["isReady"], 1);
    EXPECT_EQ(after["session"]["runsStarted"], 1);
    // The dialog was drawn over the held picture: the middle changed, the edges beside it did not.
    Picture game = ReadPicture(folder / "before.png");
    Picture withDialog = ReadPicture(folder / "dialog.png");
    EXPECT_GT(withDialog.ShareDifferingFrom(game, 0.3, 0.3, 0.7, 0.7), 0.5);
    EXPECT_LT(withDialog.ShareDifferingFrom(game, 0.0, 0.3, 0.03, 0.7), 0.05);
}

TEST(PlayOffscreen, RestartsBuildNewRandomLinesThatTheirCommandLinesBuildAgain)
{
    ScratchFolder folder;
    PlayRun run = RunPlay(folder,
                          R"({"at": 0.5, "snapshot": "first run"}
{"at": 1.0, "key": "F2"}
{"at": 1.5, "key": "RETURN"}
{"at": 2.0, "snapshot": "second run"}
{"at": 2.5, "key": "F2"}
{"at": 3.0, "key": "RETURN"}
{"at": 3.5, "snapshot": "third run"}
)",
                          "--scenery random --seed 77 --length 5 --meeting 2 --quit-after 4 --window 320x240 "
                          "--sound off");
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<std::string> digests;
    for (const char* label : {"first run", "second run", "third run"}) {
        const nlohmann::json& session = Snapshot(run, label)["session"];
        std::string line = session["runCommandLine"].get<std::string>();
        ASSERT_EQ(line.rfind("tagvind play --scenery random --seed ", 0), 0u) << line;
        TagvindRun route = RunTagvind("route --json -" + line.substr(std::string("tagvind play").size()));
        ASSERT_EQ(route.status, 0) << line << "\n" << route.err;
        EXPECT_EQ(WorldDigest(WorldJson::parse(route.out)), session["worldDigest"]) << label << ": " << line;
        digests.push_back(session["worldDigest"]);
    }
    EXPECT_EQ(Snapshot(run, "third run")["session"]["runsStarted"], 3);
    EXPECT_NE(digests[0], digests[1]);
    EXPECT_NE(digests[1], digests[2]);
}

TEST(PlayOffscreen, FullScreenToggleReopensTheDevice)
{
    ScratchFolder folder;
    PlayRun run = RunPlay(folder,
                          R"({"at": 1.0, "key": "RETURN", "modifiers": ["alt"]}
{"at": 1.5, "snapshot": "full screen"}
{"at": 2.0, "key": "RETURN", "modifiers": ["alt"]}
{"at": 2.5, "snapshot": "windowed"}
)",
                          "--quit-after 3 --window 320x240 --sound off");
    ASSERT_EQ(run.status, 0) << run.err;
    const nlohmann::json& full = Snapshot(run, "full screen");
    const nlohmann::json& windowed = Snapshot(run, "windowed");
    EXPECT_EQ(full["app"]["windowed"], 0);
    EXPECT_EQ(full["session"]["deviceReopens"], 1);
    // Full screen has no menu bar: the picture is the whole display mode.
    EXPECT_EQ(full["picture"]["top"], 0);
    EXPECT_GT(full["session"]["framesRun"].get<int>(), 20);
    EXPECT_EQ(windowed["app"]["windowed"], 1);
    EXPECT_EQ(windowed["session"]["deviceReopens"], 2);
    EXPECT_EQ(windowed["picture"]["width"], 320);
    EXPECT_GT(windowed["picture"]["top"].get<int>(), 0);
    EXPECT_GT(windowed["session"]["framesRun"].get<int>(), full["session"]["framesRun"].get<int>());
}

TEST(PlayOffscreen, MinimisedRunsNoFrames)
{
    ScratchFolder folder;
    PlayRun run = RunPlay(folder,
                          R"({"at": 1.0, "minimise": true}
{"at": 1.2, "snapshot": "minimised"}
{"at": 2.8, "snapshot": "still minimised"}
{"at": 3.0, "restore": true}
{"at": 3.5, "snapshot": "restored"}
)",
                          "--quit-after 4 --window 320x240 --sound automatic");
    ASSERT_EQ(run.status, 0) << run.err;
    const nlohmann::json& minimised = Snapshot(run, "minimised");
    const nlohmann::json& later = Snapshot(run, "still minimised");
    const nlohmann::json& restored = Snapshot(run, "restored");
    EXPECT_EQ(minimised["app"]["isActive"], 0);
    EXPECT_EQ(later["session"]["framesRun"], minimised["session"]["framesRun"]);
    EXPECT_EQ(later["sound"], minimised["sound"]);
    EXPECT_EQ(restored["app"]["isActive"], 1);
    EXPECT_GT(restored["session"]["framesRun"].get<int>(), later["session"]["framesRun"].get<int>());
}

TEST(PlayOffscreen, PopUpMenuPausesUntilItCloses)
{
    ScratchFolder folder;
    PlayRun run = RunPlay(folder,
                          R"({"at": 1.0, "windowClick": [100, 100], "button": "right"}
{"at": 1.5, "snapshot": "menu"}
{"at": 2.0, "key": "ESCAPE"}
{"at": 2.5, "snapshot": "closed"}
{"at": 3.0, "key": "A"}
{"at": 3.5, "snapshot": "about"}
{"at": 4.0, "key": "RETURN"}
{"at": 4.5, "snapshot": "after about"}
)",
                          "--quit-after 5 --window 400x300 --sound off");
    ASSERT_EQ(run.status, 0) << run.err;
    const nlohmann::json& menu = Snapshot(run, "menu");
    const nlohmann::json& closed = Snapshot(run, "closed");
    EXPECT_EQ(menu["session"]["menuOpen"], 1);
    EXPECT_EQ(menu["app"]["pauseCount"], 1);
    EXPECT_EQ(closed["session"]["menuOpen"], 0);
    EXPECT_EQ(closed["app"]["pauseCount"], 0);
    int64_t menuMoved = closed["app"]["clockStartMs"].get<int64_t>() - menu["app"]["clockStartMs"].get<int64_t>();
    EXPECT_GT(menuMoved, 400);
    EXPECT_EQ(Snapshot(run, "about")["app"]["isReady"], 0);
    const nlohmann::json& afterAbout = Snapshot(run, "after about");
    EXPECT_EQ(afterAbout["app"]["isReady"], 1);
    EXPECT_EQ(afterAbout["app"]["pauseCount"], 0);
}

TEST(PlayOffscreen, MenusAreReachedFromTheKeyboard)
{
    ScratchFolder folder;
    // Alt alone to the bar, Down opens Menu on Pause, four more reach Toggle View, Enter
    // chooses it; Shift+F10 opens the pop-up menu, whose T chooses Toggle View again; Alt+M
    // opens Menu and Esc closes it, after which Esc is the start menu (closed by a third).
    PlayRun run = RunPlay(folder,
                          R"({"at": 1.0, "key": "ALT"}
{"at": 1.2, "snapshot": "bar"}
{"at": 1.3, "key": "DOWN"}
{"at": 1.4, "key": "DOWN"}
{"at": 1.5, "key": "DOWN"}
{"at": 1.6, "key": "DOWN"}
{"at": 1.7, "key": "DOWN"}
{"at": 1.8, "key": "RETURN"}
{"at": 2.0, "snapshot": "chosen"}
{"at": 2.2, "key": "F10", "modifiers": ["shift"]}
{"at": 2.4, "snapshot": "pop-up"}
{"at": 2.5, "key": "T"}
{"at": 2.7, "snapshot": "mnemonic"}
{"at": 3.0, "key": "M", "modifiers": ["alt"]}
{"at": 3.2, "snapshot": "alt m"}
{"at": 3.3, "key": "ESCAPE"}
{"at": 3.5, "snapshot": "closed"}
{"at": 3.7, "key": "ESCAPE"}
{"at": 3.9, "snapshot": "start menu"}
{"at": 4.1, "key": "ESCAPE"}
)",
                          "--quit-after 4.5 --window 400x300 --sound off");
    ASSERT_EQ(run.status, 0) << run.err;
    auto state = [&run](const char* label) {
        const nlohmann::json& snapshot = Snapshot(run, label);
        return std::make_tuple(snapshot["session"]["menuOpen"].get<int>(), snapshot["app"]["pauseCount"].get<int>(),
                               snapshot["app"]["viewMode"].get<int>(), snapshot["app"]["simulationEnabled"].get<int>());
    };
    // Menu open (or the bar focused), paused, view, simulation.
    EXPECT_EQ(state("bar"), std::make_tuple(1, 1, 0, 1));
    EXPECT_EQ(state("chosen"), std::make_tuple(0, 0, 1, 1));
    EXPECT_EQ(state("pop-up"), std::make_tuple(1, 1, 1, 1));
    EXPECT_EQ(state("mnemonic"), std::make_tuple(0, 0, 0, 1));
    EXPECT_EQ(state("alt m"), std::make_tuple(1, 1, 0, 1));
    EXPECT_EQ(state("closed"), std::make_tuple(0, 0, 0, 1));
    EXPECT_EQ(std::get<3>(state("start menu")), 0);
}

TEST(PlayOffscreen, GameControllerDrivesAsTheKeysDo)
{
    ScratchFolder folder;
    // A controller plugged in while the game runs: two steps up from full brake, one down, then
    // Start pauses and Back changes the view.
    PlayRun run = RunPlay(folder,
                          R"({"at": 1.0, "controller": "DPAD_UP"}
{"at": 1.2, "controller": "RIGHTSHOULDER"}
{"at": 1.4, "controller": "LEFTSHOULDER"}
{"at": 1.6, "snapshot": "stepped"}
{"at": 1.8, "controller": "START"}
{"at": 2.0, "controller": "BACK"}
{"at": 2.2, "snapshot": "paused"}
)",
                          "--quit-after 2.5 --window 320x240 --sound off");
    ASSERT_EQ(run.status, 0) << run.err;
    const nlohmann::json& stepped = Snapshot(run, "stepped");
    EXPECT_EQ(stepped["player"]["brake"], 2);
    EXPECT_EQ(stepped["player"]["throttle"], 0);
    const nlohmann::json& paused = Snapshot(run, "paused");
    EXPECT_EQ(paused["app"]["pauseCount"], 1);
    EXPECT_EQ(paused["app"]["viewMode"], 1);
}

TEST(PlayOffscreen, ShortRunEndsWithItsMessageOnceAndExits)
{
    ScratchFolder folder;
    PlayRun run = RunPlay(folder, "", "--autopilot --length 5 --meeting 2 --window 160x120 --sound off "
                                      "--screenshot last.png");
    ASSERT_EQ(run.status, 0) << run.err;
    const nlohmann::json& final = run.dump["final"];
    EXPECT_EQ(final["run"]["destinationState"], 2);
    EXPECT_EQ(final["session"]["endOfRunMessages"], 1);
    std::string message = "End: You have reached the destination\nYour final score is: " +
                          std::to_string(final["run"]["score"].get<int>()) + "\n";
    EXPECT_EQ(Occurrences(run.out, "You have reached the destination"), 1u) << run.out;
    EXPECT_NE(run.out.find(message), std::string::npos) << run.out;
    // The summary closes the output, and the last frame was kept.
    auto summary = nlohmann::json::parse(run.out.substr(run.out.find(message) + message.size()), nullptr, false);
    ASSERT_FALSE(summary.is_discarded()) << run.out;
    EXPECT_EQ(summary["reachedDestination"], true);
    EXPECT_EQ(summary["score"], final["run"]["score"]);
    EXPECT_EQ(ReadPicture(folder / "last.png").width, 160);
}

TEST(PlayOffscreen, WithoutADisplayPlayRunsTheDemoItNamesAndWritesOnlyThePictureAskedFor)
{
    struct Case {
        const char* arguments;
        const char* demoLine;  // what the notice names, up to the seed the run says it used
        const char* picture;   // the picture asked for, if any
    };
    const Case cases[] = {
        {"--quit-after 1", "tagvind play --offscreen --autopilot --quit-after 1 --window 300x300 --scenery 1 --seed ",
         nullptr},
        {"--quit-after 0.5 --window 200x150 --screenshot 'last frame.png' --scenery 3",
         "tagvind play --offscreen --autopilot --quit-after 0.5 --window 200x150 --screenshot 'last frame.png' "
         "--scenery 3 --seed ",
         "last frame.png"},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        // A file of the name the demo once took for its picture is the player's own.
        std::ofstream(folder / "tagvind-demo.png") << "kept";
        // No sound card either (ALSA without its configuration finds none), so the libraries that
        // SDL tries for a display and a sound device all complain, and only the game may speak.
        std::string command = "cd '" + folder.path().string() +
                              "' && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER -u XDG_RUNTIME_DIR "
                              "SDL_AUDIODRIVER=alsa ALSA_CONFIG_PATH=/nonexistent '" +
                              TAGVIND_EXECUTABLE + "' play --sound automatic " + c.arguments + " >out.txt 2>err.txt";
        int raw = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(raw)) << c.arguments;
        std::string err = ReadWholeFile(folder / "err.txt");
        EXPECT_EQ(WEXITSTATUS(raw), 0) << c.arguments << "\n" << err;
        EXPECT_EQ(err.rfind("tagvind: no sound device, so the engine stays silent", 0), 0u) << err;
        EXPECT_EQ(Occurrences(err, "\n"), 1u) << err;
        std::string out = ReadWholeFile(folder / "out.txt");
        auto summary = nlohmann::json::parse(out.substr(out.rfind('\n', out.size() - 2) + 1), nullptr, false);
        ASSERT_TRUE(summary.is_object()) << out;
        std::string demoLine = std::string(c.demoLine) + std::to_string(summary["seed"].get<uint32_t>());
        EXPECT_EQ(out.rfind("No display is available", 0), 0u) << out;
        EXPECT_NE(out.find("Running the demo instead: " + demoLine), std::string::npos) << out;
        EXPECT_EQ(ReadWholeFile(folder / "tagvind-demo.png"), "kept") << c.arguments;
        size_t written = 3;  // the player's file, out.txt and err.txt
        if (c.picture != nullptr) {
            EXPECT_GT(ReadPicture(folder / c.picture).width, 0) << c.arguments;
            ++written;
        }
        EXPECT_EQ(FolderEntries(folder.path()).size(), written) << c.arguments;
    }
}

TEST(PlayOffscreen, BrokenOpenGlSaysWhatFailedInTheDriversWordsAndExits)
{
    // Mesa finds no driver, so no window can be made for OpenGL.
    ScratchFolder folder;
    std::string command = "cd '" + folder.path().string() + "' && LIBGL_DRIVERS_PATH=/nonexistent '" +
                          TAGVIND_EXECUTABLE + "' play --offscreen --quit-after 1 --sound off >out.txt 2>err.txt";
    int raw = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(raw));
    std::string out = ReadWholeFile(folder / "out.txt");
    EXPECT_EQ(WEXITSTATUS(raw), 1) << out;
    const std::string says = "Tagvind: No primary\nThe driver says: ";
    size_t saysAt = out.find(says);
    ASSERT_NE(saysAt, std::string::npos) << out;
    // The driver's words, then the box's last sentence.
    EXPECT_GT(out.find("\n\nThis program will now exit.\n", saysAt), saysAt + says.size() + 10) << out;
}

TEST(PlayOffscreen, WithoutACommandTheGameIsPlayed)
{
    // No display here either, so the game goes on to its demo, which runs for a minute: the
    // notice says the game started rather than, say, a report being printed.
    ScratchFolder folder;
    std::string command = "cd '" + folder.path().string() + "' && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER " +
                          "SDL_AUDIODRIVER=dummy timeout 5 '" + TAGVIND_EXECUTABLE + "' >out.txt 2>err.txt";
    int raw = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), 124) << "the demo should still have been running: " << ReadWholeFile(folder / "err.txt");
    EXPECT_EQ(ReadWholeFile(folder / "out.txt").rfind("No display is available", 0), 0u) << ReadWholeFile(folder / "out.txt");
}

TEST(PlayCommand, RefusesOptionsItCannotUse)
{
    for (const char* arguments : {"play --window 50x50", "play --window big", "play --quit-after -3",
                                  "play --quit-after soon", "play --scenery 9"}) {
        TagvindRun run = RunTagvind(arguments);
        EXPECT_EQ(run.status, 2) << arguments << "\n" << run.err;
        EXPECT_NE(run.err.find("tagvind:"), std::string::npos) << arguments;
    }
}
