// The scripted traffic of the starting station and of every meeting station: the oncoming
// train the player waits for, the overtaking express, the train standing in the loop.

#include "world/track_builder.h"
#include "world/world.h"

namespace {

constexpr int32_t ScriptedUnit = 2;
constexpr int32_t LastWagonUnit = 109;

void AppendEvent(World& world, const RouteEvent& event)
{
    world.events[world.eventCount] = event;
    world.eventCount += 1;
}

void SpawnOnDeparture(World& world, int32_t triggerUnit, int32_t triggerSegment, int32_t kind, int32_t direction,
                      float speed, int32_t throttle, int32_t segment, float position)
{
    RouteEvent event = {};
    event.action = EventSpawnTrain;
    event.triggerUnit = triggerUnit;
    event.triggerSegment = triggerSegment;
    event.kind = kind;
    event.unit = ScriptedUnit;
    event.direction = direction;
    event.speed = speed;
    event.throttle = throttle;
    event.segment = segment;
    event.position = position;
    AppendEvent(world, event);
}

void RemoveOnDeparture(World& world, int32_t triggerUnit, int32_t triggerSegment)
{
    RouteEvent event = {};
    event.action = EventRemoveTrain;
    event.triggerUnit = triggerUnit;
    event.triggerSegment = triggerSegment;
    event.unit = ScriptedUnit;
    AppendEvent(world, event);
}

void SignOnDeparture(World& world, int32_t triggerUnit, int32_t triggerSegment, int32_t segment, int32_t signCode)
{
    RouteEvent event = {};
    event.action = EventSetSign;
    event.triggerUnit = triggerUnit;
    event.triggerSegment = triggerSegment;
    event.segment = segment;
    event.signEnd = 0;
    event.signCode = signCode;
    AppendEvent(world, event);
}

void SwitchOnDeparture(World& world, int32_t triggerUnit, int32_t triggerSegment, int32_t segment, int32_t value)
{
    RouteEvent event = {};
    event.action = EventSetSwitch;
    event.triggerUnit = triggerUnit;
    event.triggerSegment = triggerSegment;
    event.segment = segment;
    event.switchEnd = 0;
    event.switchValue = value;
    AppendEvent(world, event);
}

void SpeedOnDeparture(World& world, int32_t triggerUnit, int32_t triggerSegment, float speed)
{
    RouteEvent event = {};
    event.action = EventSetSpeed;
    event.triggerUnit = triggerUnit;
    event.triggerSegment = triggerSegment;
    event.unit = ScriptedUnit;
    event.speed = speed;
    AppendEvent(world, event);
}

// Variant 6: the oncoming train with wagons backs into the straight siding while the player
// waits at the stop signal before the junction.
void WriteSidingScript(World& world, int c)
{
    const int a0 = c, a2 = c + 2, a4 = c + 4, a6 = c + 6, a7 = c + 7, n3 = c + 10;
    world.track[a0].forwardSign = SignExpectStop;
    world.track[a2].forwardSign = SignStop;
    world.track[a4].forwardSign = SignStop;
    world.track[a7].forwardSign = SignStop;
    world.track[a7].rearSwitch = 1;

    SpawnOnDeparture(world, PlayerUnit, a0, TrainLocomotiveBringingWagons, 1, 70.0f, 3, n3, 0.0f);
    SignOnDeparture(world, LastWagonUnit, a4, a2, SignLimit40);
    SignOnDeparture(world, LastWagonUnit, a4, a7, SignLineSpeed);
    RemoveOnDeparture(world, ScriptedUnit, a6);
}

}  // namespace

void WriteOriginScript(World& world)
{
    // The oncoming train runs backward from the first segment after the station onto the
    // second track, and clears the player's signals as it leaves segment 4.
    TrainUnit& oncoming = world.trains[ScriptedUnit];
    oncoming.kind = TrainStartingOncoming;
    oncoming.direction = 1;
    oncoming.segment = 8;
    oncoming.speed = 130.0f;
    oncoming.accel = 0.0f;
    oncoming.segmentDistance = 0.0f;
    int slot = FindFreeSceneryObject(world.scenery);
    world.scenery[slot].type = SceneryRailcar;
    oncoming.objectIndex = slot;

    SpeedOnDeparture(world, ScriptedUnit, 8, 40.0f);
    SignOnDeparture(world, ScriptedUnit, 4, 2, SignLineSpeed);
    SignOnDeparture(world, ScriptedUnit, 4, 7, SignLineSpeed);
    RemoveOnDeparture(world, ScriptedUnit, 3);
}

void WriteMeetingScript(World& world, int c, int32_t variant)
{
    if (variant == 6) {
        WriteSidingScript(world, c);
        return;
    }

    const int b0 = c, b1 = c + 1, b2 = c + 2, b4 = c + 4, b5 = c + 5, b6 = c + 6, b8 = c + 8;
    const int n1 = c + 9, n2 = c + 10, n3 = c + 11;
    const int p1 = c - 1, p2 = c - 2, p3 = c - 3, p5 = c - 5;

    // The player is stopped in the loop (0, 4) or on the main line (2) while the other train
    // passes; or passes a train standing in the loop at line speed (1, 3, 5, 7).
    bool playerStops = variant == 0 || variant == 2 || variant == 4;
    TrackSegment* track = world.track.data();
    track[p2].forwardSign = playerStops ? SignExpect40 : SignExpectLineSpeed;
    track[b0].forwardSign = playerStops ? SignLimit40 : SignLineSpeed;
    track[b2].forwardSign = playerStops ? SignStop : SignLineSpeed;
    track[b6].forwardSign = SignStop;
    track[b8].forwardSign = playerStops ? SignStop : SignLineSpeed;
    track[p1].forwardSwitch = (variant == 0 || variant == 4) ? 2 : 1;
    track[b8].rearSwitch = variant == 2 ? 2 : 1;

    switch (variant) {
    case 0:
        // An oncoming locomotive on the main line while the player waits in the loop.
        SpawnOnDeparture(world, PlayerUnit, b4, TrainLocomotive, 1, 0.0f, 4, n2, 0.0f);
        SignOnDeparture(world, ScriptedUnit, b1, b6, SignLimit40);
        SignOnDeparture(world, ScriptedUnit, b0, b8, SignLineSpeed);
        RemoveOnDeparture(world, ScriptedUnit, p2);
        break;
    case 1:
    case 7:
        // A train with wagons stands in the loop; the player passes at line speed.
        SpawnOnDeparture(world, PlayerUnit, p3, TrainLocomotiveBringingWagons, 1, 0.0f, 0, b5, 450.0f);
        RemoveOnDeparture(world, PlayerUnit, n1);
        break;
    case 3:
    case 5:
        // A locomotive stands in the loop; the player passes at line speed.
        SpawnOnDeparture(world, PlayerUnit, p3, TrainLocomotiveWithWagons, 2, 0.0f, 0, b5, 450.0f);
        RemoveOnDeparture(world, PlayerUnit, n1);
        break;
    case 4:
        // Overtaking: the player waits in the loop while a fast train passes on the main line.
        SpawnOnDeparture(world, PlayerUnit, b4, TrainLocomotive, 2, 200.0f, 5, p5, 0.0f);
        SignOnDeparture(world, PlayerUnit, b4, b2, SignLineSpeed);
        SignOnDeparture(world, PlayerUnit, b4, b8, SignLineSpeed);
        SwitchOnDeparture(world, PlayerUnit, b4, p1, 1);
        SignOnDeparture(world, ScriptedUnit, b1, b2, SignStop);
        SignOnDeparture(world, ScriptedUnit, b2, b8, SignStop);
        SignOnDeparture(world, ScriptedUnit, b8, b6, SignLimit40);
        SignOnDeparture(world, ScriptedUnit, n3, b8, SignLineSpeed);
        RemoveOnDeparture(world, ScriptedUnit, n3);
        break;
    case 2:
        // The player waits on the main line for an oncoming train that takes the loop.
        SpawnOnDeparture(world, PlayerUnit, b0, TrainLocomotiveBringingWagons, 1, 40.0f, 1, n2, 0.0f);
        SignOnDeparture(world, LastWagonUnit, b6, b2, SignLineSpeed);
        SignOnDeparture(world, LastWagonUnit, b6, b8, SignLineSpeed);
        RemoveOnDeparture(world, ScriptedUnit, b5);
        break;
    default:
        break;
    }
}
