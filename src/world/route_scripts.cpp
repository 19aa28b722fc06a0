// The scripted traffic of the starting station and of every meeting station: the oncoming
// train the player waits for, the overtaking express, the train standing in the loop.

#include "world/track_builder.h"
#include "world/world.h"

namespace {

constexpr int32_t ScriptedUnit = 2;
constexpr int32_t LastWagonUnit = 109;
// A unit's direction: odd runs backward along the prev links, even forward along the next ones.
constexpr int32_t RunsBackward = 1;
constexpr int32_t RunsForward = 2;

void AppendEvent(World& world, const RouteEvent& event)
{
    world.events[world.eventCount] = event;
    world.eventCount += 1;
}

// A train a script puts on the line when a unit leaves a segment: what it is, which way and
// how fast it runs, its throttle notch, and where on which segment it appears.
struct SpawnedTrain {
    int32_t kind;
    int32_t direction;
    float speed;
    int32_t throttle;
    int32_t segment;
    float position;
};

void SpawnOnDeparture(World& world, int32_t triggerUnit, int32_t triggerSegment, const SpawnedTrain& train)
{
    RouteEvent event = {};
    event.action = EventSpawnTrain;
    event.triggerUnit = triggerUnit;
    event.triggerSegment = triggerSegment;
    event.kind = train.kind;
    event.unit = ScriptedUnit;
    event.direction = train.direction;
    event.speed = train.speed;
    event.throttle = train.throttle;
    event.segment = train.segment;
    event.position = train.position;
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

// The segments of the siding station (the layout of variant 6) that its script refers to,
// counted from its first segment c.
struct SidingStationPoints {
    int approach;          // c: the curve into the station, with the announcing signal
    int towardsJunction;   // c + 2: the S-bend to the junction; the player waits at its signal
    int sidingAtJunction;  // c + 4: the siding's segment next to the junction
    int sidingDeadEnd;     // c + 6: the siding's far end
    int pastJunction;      // c + 7: the curve beyond the junction
    int thirdBeyond;       // c + 10: the third segment of the line after the station
};

SidingStationPoints SidingStationAt(int c)
{
    return {c, c + 2, c + 4, c + 6, c + 7, c + 10};
}

// The segments of a loop station (the layout of every other variant) that its scripts refer
// to, counted from its first segment c.
struct LoopStationPoints {
    int fiveBefore;    // c - 5
    int threeBefore;   // c - 3
    int announcing;    // c - 2: the announcing signal
    int facingSwitch;  // c - 1: the loop leaves through the switch at its end
    int mainEntry;     // c: the main line's first straight
    int mainPlatform;  // c + 1
    int mainExit;      // c + 2
    int intoLoop;      // c + 4: the second curve of the S-bend into the loop
    int loopPlatform;  // c + 5
    int outOfLoop;     // c + 6: the first curve of the S-bend out of the loop
    int rejoin;        // c + 8: where the loop rejoins the main line
    int firstBeyond;   // c + 9 .. c + 11: the line after the station
    int secondBeyond;
    int thirdBeyond;
};

LoopStationPoints LoopStationAt(int c)
{
    return {c - 5, c - 3, c - 2, c - 1, c, c + 1, c + 2, c + 4, c + 5, c + 6, c + 8, c + 9, c + 10, c + 11};
}

// Variant 6: the oncoming train with wagons backs into the straight siding while the player
// waits at the stop signal before the junction.
void WriteSidingScript(World& world, int c)
{
    const SidingStationPoints station = SidingStationAt(c);
    world.track[station.approach].forwardSign = SignExpectStop;
    world.track[station.towardsJunction].forwardSign = SignStop;
    world.track[station.sidingAtJunction].forwardSign = SignStop;
    world.track[station.pastJunction].forwardSign = SignStop;
    world.track[station.pastJunction].rearSwitch = 1;

    SpawnOnDeparture(world, PlayerUnit, station.approach,
                     {.kind = TrainLocomotiveBringingWagons, .direction = RunsBackward, .speed = 70.0f,
                      .throttle = 3, .segment = station.thirdBeyond, .position = 0.0f});
    SignOnDeparture(world, LastWagonUnit, station.sidingAtJunction, station.towardsJunction, SignLimit40);
    SignOnDeparture(world, LastWagonUnit, station.sidingAtJunction, station.pastJunction, SignLineSpeed);
    RemoveOnDeparture(world, ScriptedUnit, station.sidingDeadEnd);
}

}  // namespace

void WriteOriginScript(World& world)
{
    // The oncoming train runs backward from the first segment after the station onto the
    // second track, and clears the player's signals as it leaves segment 4.
    TrainUnit& oncoming = world.trains[ScriptedUnit];
    oncoming.kind = TrainStartingOncoming;
    oncoming.direction = RunsBackward;
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

    const LoopStationPoints station = LoopStationAt(c);

    // The player is stopped in the loop (0, 4) or on the main line (2) while the other train
    // passes; or passes a train standing in the loop at line speed (1, 3, 5, 7).
    bool playerStops = variant == 0 || variant == 2 || variant == 4;
    TrackSegment* track = world.track.data();
    track[station.announcing].forwardSign = playerStops ? SignExpect40 : SignExpectLineSpeed;
    track[station.mainEntry].forwardSign = playerStops ? SignLimit40 : SignLineSpeed;
    track[station.mainExit].forwardSign = playerStops ? SignStop : SignLineSpeed;
    track[station.outOfLoop].forwardSign = SignStop;
    track[station.rejoin].forwardSign = playerStops ? SignStop : SignLineSpeed;
    track[station.facingSwitch].forwardSwitch = (variant == 0 || variant == 4) ? 2 : 1;
    track[station.rejoin].rearSwitch = variant == 2 ? 2 : 1;

    switch (variant) {
    case 0:
        // An oncoming locomotive on the main line while the player waits in the loop.
        SpawnOnDeparture(world, PlayerUnit, station.intoLoop,
                         {.kind = TrainLocomotive, .direction = RunsBackward, .speed = 0.0f, .throttle = 4,
                          .segment = station.secondBeyond, .position = 0.0f});
        SignOnDeparture(world, ScriptedUnit, station.mainPlatform, station.outOfLoop, SignLimit40);
        SignOnDeparture(world, ScriptedUnit, station.mainEntry, station.rejoin, SignLineSpeed);
        RemoveOnDeparture(world, ScriptedUnit, station.announcing);
        break;
    case 1:
    case 7:
        // A train with wagons stands in the loop; the player passes at line speed.
        SpawnOnDeparture(world, PlayerUnit, station.threeBefore,
                         {.kind = TrainLocomotiveBringingWagons, .direction = RunsBackward, .speed = 0.0f,
                          .throttle = 0, .segment = station.loopPlatform, .position = 450.0f});
        RemoveOnDeparture(world, PlayerUnit, station.firstBeyond);
        break;
    case 3:
    case 5:
        // A locomotive stands in the loop; the player passes at line speed.
        SpawnOnDeparture(world, PlayerUnit, station.threeBefore,
                         {.kind = TrainLocomotiveWithWagons, .direction = RunsForward, .speed = 0.0f,
                          .throttle = 0, .segment = station.loopPlatform, .position = 450.0f});
        RemoveOnDeparture(world, PlayerUnit, station.firstBeyond);
        break;
    case 4:
        // Overtaking: the player waits in the loop while a fast train passes on the main line.
        SpawnOnDeparture(world, PlayerUnit, station.intoLoop,
                         {.kind = TrainLocomotive, .direction = RunsForward, .speed = 200.0f, .throttle = 5,
                          .segment = station.fiveBefore, .position = 0.0f});
        SignOnDeparture(world, PlayerUnit, station.intoLoop, station.mainExit, SignLineSpeed);
        SignOnDeparture(world, PlayerUnit, station.intoLoop, station.rejoin, SignLineSpeed);
        SwitchOnDeparture(world, PlayerUnit, station.intoLoop, station.facingSwitch, 1);
        SignOnDeparture(world, ScriptedUnit, station.mainPlatform, station.mainExit, SignStop);
        SignOnDeparture(world, ScriptedUnit, station.mainExit, station.rejoin, SignStop);
        SignOnDeparture(world, ScriptedUnit, station.rejoin, station.outOfLoop, SignLimit40);
        SignOnDeparture(world, ScriptedUnit, station.thirdBeyond, station.rejoin, SignLineSpeed);
        RemoveOnDeparture(world, ScriptedUnit, station.thirdBeyond);
        break;
    case 2:
        // The player waits on the main line for an oncoming train that takes the loop.
        SpawnOnDeparture(world, PlayerUnit, station.mainEntry,
                         {.kind = TrainLocomotiveBringingWagons, .direction = RunsBackward, .speed = 40.0f,
                          .throttle = 1, .segment = station.secondBeyond, .position = 0.0f});
        SignOnDeparture(world, LastWagonUnit, station.outOfLoop, station.mainExit, SignLineSpeed);
        SignOnDeparture(world, LastWagonUnit, station.outOfLoop, station.rejoin, SignLineSpeed);
        RemoveOnDeparture(world, ScriptedUnit, station.loopPlatform);
        break;
    default:
        break;
    }
}
