#include "shell/state_dump.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

#include "shell/game_flow.h"
#include "shell/world_options.h"

namespace {

double Rounded(double value, double unit)
{
    return std::round(value / unit) * unit;
}

// FNV-1a, 64 bits.
uint64_t TextDigest(const std::string& text)
{
    uint64_t digest = 14695981039346656037ull;
    for (char c : text) {
        digest ^= static_cast<unsigned char>(c);
        digest *= 1099511628211ull;
    }
    return digest;
}

// The process's resident memory in kB as Linux counts it, -1 where it does not say: what a
// soak watches run after run for memory that is never given back.
int64_t ReadResidentMemoryKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stoll(line.substr(6));
    }
    return -1;
}

}  // namespace

nlohmann::json DumpGameState(const GameSession& game, uint32_t timerMs, int32_t pictureTop)
{
    const AppState& app = game.app;
    const TrainUnit& player = game.world.trains[game.world.playerUnit];
    nlohmann::json state;
    state["timerMs"] = timerMs;
    state["app"] = {{"windowed", app.windowed},
                    {"isActive", app.isActive},
                    {"isReady", app.isReady},
                    {"holdCount", app.holdCount},
                    {"pauseCount", app.pauseCount},
                    {"clockStartMs", app.clockStartMs},
                    {"lastFrameTime", app.lastFrameTime},
                    {"frameStep", app.frameStep},
                    {"simulationEnabled", app.simulationEnabled},
                    {"gameStarted", app.gameStarted},
                    {"exitRequested", app.exitRequested},
                    {"showDistanceScore", app.showDistanceScore},
                    {"soundOn", app.soundOn},
                    {"viewMode", app.viewMode},
                    {"soundEnabled", app.soundEnabled}};
    state["player"] = {{"throttle", player.throttle},
                       {"brake", player.brake},
                       {"speed", player.speed},
                       {"odometer", player.odometer},
                       {"segment", player.segment}};
    state["run"] = {{"score", game.world.score},
                    {"destinationState", game.world.destinationState},
                    {"messageSeconds", game.world.messageSeconds},
                    {"messageText", game.world.messageSeconds > 0 ? game.world.messageText : ""}};
    state["session"] = {{"framesRun", game.framesRun},
                        {"endOfRunMessages", game.endOfRunMessages},
                        {"runsStarted", game.runsStarted},
                        {"deviceReopens", game.deviceReopens},
                        {"menuOpen", game.menuOpen},
                        {"runSeed", game.runSeed},
                        {"runCommandLine", game.runCommandLine},
                        {"worldDigest", game.worldDigest}};
    state["process"] = {{"residentKb", ReadResidentMemoryKb()}};
    state["picture"] = {{"width", game.cabPicture.width},
                        {"height", game.cabPicture.height},
                        {"top", pictureTop}};
    state["sound"] = {{"soundBlock", game.sound.soundBlock}, {"samplePhase", game.sound.samplePhase}};
    return state;
}

nlohmann::json RunSummary(const GameSession& game)
{
    const TrainUnit& player = game.world.trains[game.world.playerUnit];
    const GameOptions& options = game.options;
    nlohmann::json summary;
    summary["reachedDestination"] = game.world.destinationState != 0;
    summary["score"] = game.world.score;
    summary["odometerKm"] = Rounded(player.odometer / 1000.0, 0.001);
    summary["gameSeconds"] = Rounded(static_cast<double>(game.app.lastFrameTime), 0.001);
    summary["frames"] = game.framesRun;
    summary["runs"] = game.runsStarted;
    summary["seed"] = game.runSeed;
    summary["options"] = RunOptionsJson(options);
    return summary;
}

std::string WorldDigest(WorldJson world)
{
    world.erase("options");
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(TextDigest(world.dump())));
    return text;
}
