#include "world/world.h"

#include <cstring>

namespace {

// The names the renderers look up, in the order they are registered, with their transparency.
struct TextureNameFlags {
    const char* name;
    int32_t flags;
};

constexpr TextureNameFlags WorldTextures[] = {
    {"gras.bmp", 0},
    {"tree1.bmp", TextureBlackTransparent},
    {"sign0001.bmp", TextureBlackTransparent},
    {"sign0002.bmp", TextureBlackTransparent},
    {"sign0003.bmp", TextureBlackTransparent},
    {"sign0011.bmp", TextureBlackTransparent},
    {"sign0012.bmp", TextureBlackTransparent},
    {"sign0013.bmp", TextureBlackTransparent},
    {"sign0014.bmp", TextureBlackTransparent},
    {"c.bmp", 0},
    {"WHEEL.BMP", TextureWhiteTransparent},
    {"Y1_FRONT.BMP", 0},
    {"Y1_BACK.BMP", 0},
    {"Y1_WINDOW.BMP", 0},
    {"Y1_DOOR.BMP", 0},
    {"Y1_ROOF.BMP", 0},
    {"G_SIDE.BMP", 0},
    {"TOWN_1.BMP", 0},
    {"TOWN_2.BMP", 0},
    {"TOWN_3.BMP", 0},
    {"TOWN_4.BMP", 0},
    {"TOWN_5.BMP", 0},
    {"TOWN_6.BMP", 0},
    {"TOWN_7.BMP", 0},
    {"CALC_1.BMP", 0},
    {"CALC_2.BMP", 0},
    {"CALC_3.BMP", 0},
    {"CALC_4.BMP", 0},
    {"CALC_5.BMP", 0},
    {"CONTROL.BMP", 0},
    {"CONTROLR.BMP", 0},
};

void ResetSegment(TrackSegment& segment)
{
    segment = {};
    segment.forwardSwitch = 1;
    segment.rearSwitch = 1;
    segment.radius = 999.0f;
    segment.length = 999.0f;
    segment.occupancy = 1;
}

void ResetTrainUnit(TrainUnit& unit)
{
    unit = {};
    unit.segment = 1;
    unit.gear = 1;
    unit.brake = BrakeReleased;
}

// The player's railcar stands braked 70 m into the first segment of the starting station.
void PlacePlayerAtStart(World& world)
{
    TrainUnit& player = world.trains[world.playerUnit];
    player.kind = TrainLocomotive;
    player.direction = 0;
    player.segment = 1;
    player.segmentDistance = 70.0f;
    player.throttle = ThrottleClosed;
    player.brake = BrakeFull;
    player.speedLimit = 40;
    player.announcedLimit = NoAnnouncedLimit;
    player.lineSpeed = 130;
    player.cameraOffsetX = -0.5f;
    player.cameraOffsetY = 2.5f;
    player.cameraOffsetZ = 0.0f;

    int slot = FindFreeSceneryObject(world.scenery);
    world.scenery[slot].type = SceneryRailcar;
    player.objectIndex = slot;
}

}  // namespace

void WorldReset(World& world)
{
    world.score = 0;
    world.destinationState = 0;
    world.messageSeconds = 0;
    world.messageText[0] = '\0';

    world.playerUnit = PlayerUnit;
    for (TrainUnit& unit : world.trains)
        ResetTrainUnit(unit);
    for (RouteEvent& event : world.events)
        event = {};

    world.meetingVariant = 0;

    // One pass: the noise draws come from wherever the generator stands, before the route
    // plan reseeds it, so the pattern differs between runs even on a preset route.
    for (int i = 0; i < TrackCapacity; ++i) {
        ResetSegment(world.track[i]);
        world.strips[i].kind = 0;
        world.groundNoise[i] = static_cast<float>(world.random.draw()) / 32767.0f;
    }

    for (int i = 0; i <= SceneryLastSlot; ++i)
        world.scenery[i].type = SceneryEmpty;

    PlacePlayerAtStart(world);
    world.trains[2].throttle = ThrottleClosed;
    world.trains[2].brake = BrakeReleased;
    world.track[1].occupancy = 2;

    world.forestBlockChance = 32767;

    for (const TextureNameFlags& texture : WorldTextures)
        RegisterTextureName(world.textures, texture.name, texture.flags);

    world.segmentCount = 0;
    world.stripCount = 0;
    world.eventCount = 0;
    world.placementIndex = SceneryPlacementFirstSlot;
}
