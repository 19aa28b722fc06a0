#include "sim/route_events_run.h"

#include "world/world.h"

namespace {

constexpr int32_t WagonCount = 10;
// A wagon stands this far behind the one before it, the first one behind the locomotive.
constexpr float WagonSpacing = 12.0f;
constexpr float FirstWagonGapA = 6.5f;
constexpr float FirstWagonGapB = 5.2f;

bool IsSteppedUnit(int32_t unit)
{
    return unit >= 1 && unit < TrainCapacity;
}

bool IsTrackIndex(int32_t segment)
{
    return segment > 0 && segment < TrackCapacity;
}

void FreeUnitObject(World& world, const TrainUnit& unit)
{
    if (unit.objectIndex >= 0 && unit.objectIndex < SceneryCapacity)
        world.scenery[unit.objectIndex].type = SceneryEmpty;
}

// Gives the unit the first free object, of the unit's own kind. A full table leaves the unit
// without one (index -1), which the drawers skip.
void GiveUnitObject(World& world, TrainUnit& unit)
{
    int slot = FindFreeSceneryObject(world.scenery);
    unit.objectIndex = slot;
    if (slot >= 0)
        world.scenery[slot].type = unit.kind;
}

void PlaceUnit(World& world, int32_t index, int32_t kind, const RouteEvent& event, float position)
{
    TrainUnit& unit = world.trains[index];
    unit.kind = kind;
    unit.direction = event.direction;
    unit.speed = event.speed;
    unit.throttle = event.throttle;
    unit.segment = event.segment;
    unit.segmentDistance = position;
    unit.brake = BrakeReleased;
    GiveUnitObject(world, unit);
}

void SpawnTrain(World& world, RouteEvent& event)
{
    if (!IsSteppedUnit(event.unit))
        return;
    TrainUnit& unit = world.trains[event.unit];
    // The unit's old object is given back before any new one is handed out, so the wagons may
    // take its slot.
    if (unit.kind != TrainNone)
        FreeUnitObject(world, unit);
    // The wagons come only with the first firing: the stored event becomes a plain train with
    // wagons, so a second firing moves the locomotive alone.
    if (event.kind == TrainLocomotiveBringingWagons) {
        event.kind = TrainLocomotiveWithWagons;
        for (int32_t w = 0; w < WagonCount; ++w) {
            TrainUnit& wagon = world.trains[WagonFirstUnit + w];
            // A wagon slot still held by an earlier train gives its object back too, so that
            // no wagon of a vanished train is left standing on the line.
            if (wagon.kind != TrainNone && WagonFirstUnit + w != event.unit)
                FreeUnitObject(world, wagon);
            float position = event.position - WagonSpacing * static_cast<float>(w) - FirstWagonGapA - FirstWagonGapB;
            PlaceUnit(world, WagonFirstUnit + w, TrainWagon, event, position);
        }
    }
    PlaceUnit(world, event.unit, event.kind, event, event.position);
}

void RemoveUnit(World& world, TrainUnit& unit)
{
    if (unit.kind != TrainNone)
        FreeUnitObject(world, unit);
    unit.kind = TrainNone;
}

void RemoveTrain(World& world, const RouteEvent& event)
{
    if (!IsSteppedUnit(event.unit))
        return;
    TrainUnit& unit = world.trains[event.unit];
    // A locomotive with wagons takes every wagon slot with it.
    if (unit.kind == TrainLocomotiveWithWagons) {
        for (int32_t w = WagonFirstUnit; w <= WagonLastUnit; ++w)
            RemoveUnit(world, world.trains[w]);
    }
    RemoveUnit(world, unit);
}

}  // namespace

void FireRouteEvents(World& world, int32_t unit, int32_t segment)
{
    for (int e = 0; e < RouteEventCapacity - 1; ++e) {
        RouteEvent& event = world.events[e];
        if (event.action == EventNone || event.triggerUnit != unit || event.triggerSegment != segment)
            continue;
        switch (event.action) {
        case EventSpawnTrain:
            SpawnTrain(world, event);
            break;
        case EventRemoveTrain:
            RemoveTrain(world, event);
            break;
        case EventSetSign:
            if (IsTrackIndex(event.segment)) {
                if (event.signEnd == 0)
                    world.track[event.segment].forwardSign = event.signCode;
                else
                    world.track[event.segment].reverseSign = event.signCode;
            }
            break;
        case EventSetSpeed:
            if (IsSteppedUnit(event.unit)) {
                world.trains[event.unit].speed = event.speed;
                world.trains[event.unit].accel = 0.0f;
            }
            break;
        case EventSetSwitch:
            if (IsTrackIndex(event.segment)) {
                if (event.switchEnd == 0)
                    world.track[event.segment].forwardSwitch = event.switchValue;
                else
                    world.track[event.segment].rearSwitch = event.switchValue;
            }
            break;
        default:
            break;
        }
    }
}
