#include <gtest/gtest.h>

#include "sim/route_events_run.h"
#include "sim/train_motion.h"
#include "sim_fixture.h"

namespace {

RouteEvent& AddEvent(World& world, int index, int32_t action, int32_t triggerUnit, int32_t triggerSegment)
{
    RouteEvent& event = world.events[index];
    event = {};
    event.action = action;
    event.triggerUnit = triggerUnit;
    event.triggerSegment = triggerSegment;
    return event;
}

RouteEvent& AddSpawn(World& world, int index, int32_t triggerSegment, int32_t kind, float position)
{
    RouteEvent& event = AddEvent(world, index, EventSpawnTrain, 1, triggerSegment);
    event.kind = kind;
    event.unit = 2;
    event.direction = 1;
    event.speed = 40.0f;
    event.throttle = 1;
    event.segment = 30;
    event.position = position;
    return event;
}

int CountObjectsOfType(const World& world, int32_t type)
{
    int count = 0;
    for (const SceneryObject& object : world.scenery)
        count += object.type == type;
    return count;
}

}  // namespace

TEST(RouteEvents, ATrainBringingWagonsPlacesTenBehindItOnlyTheFirstTime)
{
    auto world = MakeResetWorld();
    // Objects 0 (the player's) and 1..4 are taken; 5 is the first free one.
    for (int slot = 1; slot <= 4; ++slot)
        world->scenery[slot].type = SceneryTree;
    RouteEvent& spawn = AddSpawn(*world, 3, 12, TrainLocomotiveBringingWagons, 0.0f);
    FireRouteEvents(*world, 1, 12);

    EXPECT_EQ(spawn.kind, TrainLocomotiveWithWagons);
    const TrainUnit& locomotive = world->trains[2];
    EXPECT_EQ(locomotive.kind, TrainLocomotiveWithWagons);
    EXPECT_EQ(locomotive.direction, 1);
    EXPECT_EQ(locomotive.segment, 30);
    EXPECT_EQ(locomotive.speed, 40.0f);
    EXPECT_EQ(locomotive.throttle, 1);
    EXPECT_EQ(locomotive.brake, BrakeReleased);
    EXPECT_EQ(locomotive.segmentDistance, 0.0f);
    // The wagons take the free objects first, the locomotive the next one.
    EXPECT_EQ(locomotive.objectIndex, 15);
    EXPECT_EQ(world->scenery[15].type, SceneryLocomotive);
    for (int w = 0; w < 10; ++w) {
        const TrainUnit& wagon = world->trains[100 + w];
        EXPECT_EQ(wagon.kind, TrainWagon);
        EXPECT_EQ(wagon.segment, 30);
        EXPECT_EQ(wagon.direction, 1);
        EXPECT_EQ(wagon.speed, 40.0f);
        EXPECT_EQ(wagon.throttle, 1);
        EXPECT_EQ(wagon.brake, BrakeReleased);
        EXPECT_NEAR(wagon.segmentDistance, -11.7f - 12.0f * w, 1e-4f);
        EXPECT_EQ(wagon.objectIndex, 5 + w);
        EXPECT_EQ(world->scenery[5 + w].type, SceneryGoodsWagon);
    }
    EXPECT_EQ(world->trains[110].kind, TrainNone);

    // The second firing moves the locomotive alone and gives back its old object first.
    world->trains[103].segmentDistance = 55.0f;
    FireRouteEvents(*world, 1, 12);
    EXPECT_EQ(world->trains[103].segmentDistance, 55.0f);
    EXPECT_EQ(world->trains[2].objectIndex, 15);
    EXPECT_EQ(CountObjectsOfType(*world, SceneryGoodsWagon), 10);
    EXPECT_EQ(CountObjectsOfType(*world, SceneryLocomotive), 1);
}

TEST(RouteEvents, RemovingATrainWithWagonsTakesEveryWagonSlotAndFreesTheObjects)
{
    auto world = MakeResetWorld();
    AddSpawn(*world, 0, 12, TrainLocomotiveBringingWagons, 500.0f);
    FireRouteEvents(*world, 1, 12);
    world->trains[150].kind = TrainWagon;
    world->trains[150].objectIndex = 40;
    world->scenery[40].type = SceneryGoodsWagon;
    world->trains[200].kind = TrainLocomotive;

    RouteEvent& remove = AddEvent(*world, 1, EventRemoveTrain, 2, 31);
    remove.unit = 2;
    FireRouteEvents(*world, 2, 31);
    for (int unit = 100; unit <= 199; ++unit)
        EXPECT_EQ(world->trains[unit].kind, TrainNone) << unit;
    EXPECT_EQ(world->trains[2].kind, TrainNone);
    EXPECT_EQ(world->trains[200].kind, TrainLocomotive);
    EXPECT_EQ(CountObjectsOfType(*world, SceneryGoodsWagon), 0);
    EXPECT_EQ(CountObjectsOfType(*world, SceneryLocomotive), 0);
    EXPECT_EQ(world->scenery[world->trains[1].objectIndex].type, SceneryRailcar);

    // A plain locomotive leaves the wagon slots alone.
    world->trains[105].kind = TrainWagon;
    AddSpawn(*world, 0, 12, TrainLocomotive, 0.0f);
    FireRouteEvents(*world, 1, 12);
    FireRouteEvents(*world, 2, 31);
    EXPECT_EQ(world->trains[2].kind, TrainNone);
    EXPECT_EQ(world->trains[105].kind, TrainWagon);
}

TEST(RouteEvents, SignsSwitchesAndSpeedsChangeAtTheEndTheEventNames)
{
    auto world = MakeResetWorld();
    AddEvent(*world, 0, EventSetSign, 4, 20).segment = 21;
    world->events[0].signCode = SignLineSpeed;
    AddEvent(*world, 1, EventSetSign, 4, 20).segment = 22;
    world->events[1].signEnd = 1;
    world->events[1].signCode = SignLimit40;
    AddEvent(*world, 2, EventSetSwitch, 4, 20).segment = 23;
    world->events[2].switchValue = 2;
    AddEvent(*world, 3, EventSetSwitch, 4, 20).segment = 24;
    world->events[3].switchEnd = 1;
    world->events[3].switchValue = 2;
    AddEvent(*world, 4, EventSetSpeed, 4, 20).unit = 5;
    world->events[4].speed = 90.0f;
    world->trains[5].accel = 1.0f;
    // Neither another unit leaving the segment nor the unit leaving another segment fires them.
    FireRouteEvents(*world, 3, 20);
    FireRouteEvents(*world, 4, 19);
    EXPECT_EQ(world->track[21].forwardSign, 0);
    EXPECT_EQ(world->trains[5].speed, 0.0f);

    FireRouteEvents(*world, 4, 20);
    EXPECT_EQ(world->track[21].forwardSign, SignLineSpeed);
    EXPECT_EQ(world->track[21].reverseSign, 0);
    EXPECT_EQ(world->track[22].reverseSign, SignLimit40);
    EXPECT_EQ(world->track[22].forwardSign, 0);
    EXPECT_EQ(world->track[23].forwardSwitch, 2);
    EXPECT_EQ(world->track[23].rearSwitch, 1);
    EXPECT_EQ(world->track[24].rearSwitch, 2);
    EXPECT_EQ(world->track[24].forwardSwitch, 1);
    EXPECT_EQ(world->trains[5].speed, 90.0f);
    EXPECT_EQ(world->trains[5].accel, 0.0f);
}

TEST(RouteEvents, LaterEventsSeeEarlierOnesAndTheLastSlotIsNeverRun)
{
    auto world = MakeResetWorld();
    AddSpawn(*world, 0, 12, TrainLocomotive, 10.0f);
    AddEvent(*world, 1, EventSetSpeed, 1, 12).unit = 2;
    world->events[1].speed = 120.0f;
    AddEvent(*world, 999, EventSetSign, 1, 12).segment = 40;
    world->events[999].signCode = SignStop;
    FireRouteEvents(*world, 1, 12);
    EXPECT_EQ(world->trains[2].speed, 120.0f);
    EXPECT_EQ(world->track[40].forwardSign, 0);
}

TEST(RouteEvents, AUnitPlacedAtAHigherIndexMovesInTheSameStep)
{
    auto world = MakeResetWorld();
    LayStraightLine(*world, 3, 100.0f);
    RouteEvent& spawn = AddSpawn(*world, 0, 1, TrainLocomotive, 10.0f);
    spawn.direction = 0;
    spawn.speed = 36.0f;
    spawn.segment = 3;
    spawn.unit = 5;
    PlacePlayer(*world, 1, 99.0f, 36.0f);
    MoveTrainsAlongTrack(*world, RunningStep(1.0f));
    EXPECT_EQ(world->trains[5].kind, TrainLocomotive);
    EXPECT_FLOAT_EQ(world->trains[5].segmentDistance, 20.0f);
    EXPECT_FLOAT_EQ(world->trains[5].posZ, 220.0f);
}
