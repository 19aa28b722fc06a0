#pragma once
// The world of one run: every table the build fills and the simulation reads, in one record
// that is passed to free functions. Two worlds can live side by side.

#include <array>
#include <cstdint>

#include "world/game_random.h"
#include "world/model_library.h"
#include "world/route_event.h"
#include "world/route_plan.h"
#include "world/scenery.h"
#include "world/texture_registry.h"
#include "world/track.h"
#include "world/train_unit.h"

constexpr int GroundNoiseCapacity = 9999;
constexpr int PlayerUnit = 1;

// Draws each build step made, and the seed the plan generator last used.
struct WorldBuildStats {
    uint64_t resetDraws;
    uint64_t planDraws;   // after the generator's last seed
    uint64_t trackDraws;
    uint32_t planSeed;
};

struct World {
    GameRandom random;

    RoutePlan plan;
    TrackTable track;
    GroundStripTable strips;
    SceneryTable scenery;
    RouteEventTable events;
    TrainTable trains;
    std::array<float, GroundNoiseCapacity> groundNoise;
    ModelLibrary models;
    TextureRegistry textures;

    int32_t playerUnit;
    int32_t meetingVariant;  // 0..7, picks each meeting station's layout and script
    int32_t forestBlockChance;

    // Run state, reset for every run.
    int32_t score;
    char messageText[64];
    int32_t messageSeconds;
    int32_t destinationState;  // 0 driving, 1 reached, 2 announced
    int32_t signBlinkPhase;

    // How far the last build filled the tables.
    int32_t segmentCount;       // segments 1..segmentCount are built
    int32_t stripCount;         // strips 0..stripCount-1 are filled
    int32_t eventCount;
    int32_t placementIndex;     // the scenery placement index where the build left it

    WorldBuildStats buildStats;
};

// Builds a whole world from the options, in the fixed order: reset, models,
// route plan, track with scenery and scripts. timeSeed stands for the clock reading the plan
// generator seeds with (Random and Custom routes keep it).
void BuildWorld(World& world, GameOptions& options, uint32_t timeSeed);

// Puts every table into its empty state and the player's railcar at the start of the line.
void WorldReset(World& world);

// Lays the track from the plan, placing the scenery and writing the traffic scripts as it goes.
void BuildTrack(World& world);
