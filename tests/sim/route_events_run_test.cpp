#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

#include "sim/autopilot.h"
#include "sim/camera.h"
#include "sim/route_events_run.h"
#include "sim/train_motion.h"
#include "sim_fixture.h"
#include "world/route_plan.h"

namespace {

RouteEvent& AddSpawn(World& world, int index, int32_t kind, float position)
{
    RouteEvent& event = AddEvent(world, index, EventSpawnTrain, 1, 12);
    std::tie(event.kind, event.unit, event.direction, event.speed, event.throttle, event.segment, event.position) =
        std::tuple(kind, 2, 1, 40.0f, 1, 30, position);
    return event;
}

int CountObjectsOfType(const World& world, int32_t type)
{
    return static_cast<int>(std::count_if(world.scenery.begin(), world.scenery.end(),
                                          [&](const SceneryObject& o) { return o.type == type; }));
}

}  // namespace

TEST(RouteEvents, ATrainBringingWagonsPlacesTenBehindItOnceAndTakesThemAllAway)
{
    auto world = MakeResetWorld();
    // Objects 0 (the player's) and 1..4 are taken; 5 is the first free one.
    for (int slot = 1; slot <= 4; ++slot)
        world->scenery[slot].type = SceneryTree;
    RouteEvent& spawn = AddSpawn(*world, 3, TrainLocomotiveBringingWagons, 0.0f);
    FireRouteEvents(*world, 1, 12);
    EXPECT_EQ(spawn.kind, TrainLocomotiveWithWagons);
    const TrainUnit& locomotive = world->trains[2];
    EXPECT_EQ(std::tuple(locomotive.kind, locomotive.brake), std::tuple(TrainLocomotiveWithWagons, BrakeReleased));
    // The wagons take the free objects first, the locomotive the next one.
    EXPECT_EQ(locomotive.objectIndex, 15);
    EXPECT_EQ(world->scenery[15].type, SceneryLocomotive);
    for (int w = 0; w < 10; ++w) {
        const TrainUnit& wagon = world->trains[100 + w];
        EXPECT_EQ(std::tuple(wagon.kind, wagon.segment, wagon.direction, wagon.speed, wagon.throttle, wagon.brake, wagon.objectIndex),
                  std::tuple(TrainWagon, 30, 1, 40.0f, 1, BrakeReleased, 5 + w));
        EXPECT_NEAR(wagon.segmentDistance, -11.7f - 12.0f * w, 1e-4f);
    }
    EXPECT_EQ(world->trains[110].kind, TrainNone);

    // The second firing moves the locomotive alone and gives back its old object first.
    world->trains[103].segmentDistance = 55.0f;
    FireRouteEvents(*world, 1, 12);
    EXPECT_EQ(world->trains[103].segmentDistance, 55.0f);
    EXPECT_EQ(world->trains[2].objectIndex, 15);
    EXPECT_EQ(CountObjectsOfType(*world, SceneryGoodsWagon) * 10 + CountObjectsOfType(*world, SceneryLocomotive), 101);

    // Removing it takes every wagon slot 100..199 but no unit beyond.
    world->trains[150].kind = TrainWagon;
    world->trains[200].kind = TrainLocomotive;
    AddEvent(*world, 1, EventRemoveTrain, 2, 31).unit = 2;
    FireRouteEvents(*world, 2, 31);
    for (int unit : {2, 100, 109, 150, 199})
        EXPECT_EQ(world->trains[unit].kind, TrainNone) << unit;
    EXPECT_EQ(world->trains[200].kind, TrainLocomotive);
    EXPECT_EQ(CountObjectsOfType(*world, SceneryGoodsWagon) + CountObjectsOfType(*world, SceneryLocomotive), 0);

    // A plain locomotive leaves the wagon slots alone.
    world->trains[105].kind = TrainWagon;
    AddSpawn(*world, 3, TrainLocomotive, 0.0f);
    FireRouteEvents(*world, 1, 12);
    FireRouteEvents(*world, 2, 31);
    EXPECT_EQ(world->trains[2].kind * 10 + world->trains[105].kind, TrainWagon);
}

TEST(RouteEvents, EventsChangeTheEndTheyNameInTableOrderAndTheLastSlotIsNeverRun)
{
    auto world = MakeResetWorld();
    const struct {
        int32_t action, segment, end, value;
    } events[] = {{EventSetSign, 21, 0, SignLineSpeed}, {EventSetSign, 22, 1, SignLimit40},
                  {EventSetSwitch, 23, 0, 2}, {EventSetSwitch, 24, 1, 2}};
    for (int i = 0; i < 4; ++i) {
        RouteEvent& event = AddEvent(*world, i, events[i].action, 4, 20);
        event.segment = events[i].segment;
        std::tie(event.signEnd, event.switchEnd) = std::tuple(events[i].end, events[i].end);
        std::tie(event.signCode, event.switchValue) = std::tuple(events[i].value, events[i].value);
    }
    AddSpawn(*world, 4, TrainLocomotive, 10.0f).triggerUnit = 4;
    world->events[4].triggerSegment = 20;
    AddEvent(*world, 5, EventSetSpeed, 4, 20).unit = 2;
    world->events[5].speed = 90.0f;
    AddEvent(*world, 999, EventSetSign, 4, 20).segment = 40;
    world->events[999].signCode = SignStop;
    // Neither another unit leaving the segment nor the unit leaving another segment fires them.
    FireRouteEvents(*world, 3, 20);
    FireRouteEvents(*world, 4, 19);
    EXPECT_EQ(world->track[21].forwardSign + world->trains[2].kind, 0);

    FireRouteEvents(*world, 4, 20);
    const TrackSegment* t = world->track.data();
    EXPECT_EQ(t[21].forwardSign * 10 + t[21].reverseSign, SignLineSpeed * 10);
    EXPECT_EQ(t[22].forwardSign * 10 + t[22].reverseSign, SignLimit40);
    EXPECT_EQ(t[23].forwardSwitch * 10 + t[23].rearSwitch, 21);
    EXPECT_EQ(t[24].forwardSwitch * 10 + t[24].rearSwitch, 12);
    EXPECT_EQ(world->trains[2].speed * 10 + world->trains[2].accel, 900.0f);
    EXPECT_EQ(t[40].forwardSign, 0);

    // A unit placed at a higher index than the one that fired moves in the same step.
    LayStraightLine(*world, 3, 100.0f);
    RouteEvent& spawn = AddSpawn(*world, 0, TrainLocomotive, 10.0f);
    std::tie(spawn.triggerSegment, spawn.direction, spawn.speed, spawn.segment, spawn.unit) = std::tuple(1, 0, 36.0f, 3, 5);
    PlacePlayer(*world, 1, 99.0f, 36.0f);
    MoveTrainsAlongTrack(*world, RunningStep(1.0f));
    EXPECT_FLOAT_EQ(world->trains[5].segmentDistance, 20.0f);
    EXPECT_FLOAT_EQ(world->trains[5].posZ, 220.0f);
}

namespace {

enum Encounter { Oncoming, Overtaking, Standing };

// What a drive through the first meeting station saw of the scripted train (unit 2).
struct MeetingSeen {
    int32_t spawnedWhenPlayerLeft = -1, kind = 0, direction = 0, segment = 0;
    float position = -1.0f;
    bool wagons = false;
    int32_t removedWhenLeft[3] = {-1, -1, -1};  // the segment units 1 and 2 had just left
    float closest = 1e9f, headingsDot = 0.0f, speedAtClosest = -1.0f, playerSpeedAtClosest = -1.0f;
    float slowestInStation = 1e9f;
    SignTally signs;
    bool passedTheStation = false;
};

// A short straight line whose first meeting station has the variant; the autopilot drives
// through it until the player is past the station and the scripted train has gone.
MeetingSeen DriveThroughTheMeetingStation(World& world, int c, int lastStationSegment)
{
    const SimStep step = RunningStep(0.05f);
    int32_t viewMode = ViewCab;
    Camera camera;
    MeetingSeen seen;
    bool originTrainGone = false;
    TrainUnit& player = world.trains[1];
    TrainUnit& other = world.trains[2];
    for (int i = 0; i < 40000 && !(seen.passedTheStation && seen.kind != 0 && other.kind == TrainNone); ++i) {
        StoreDriverControls(player, AutopilotControls(world, step.seconds));
        const int32_t before[3] = {0, player.segment, other.segment};
        const bool otherBefore = other.kind != TrainNone;
        AddSignTally(seen.signs, StepSimulation(world, step, camera, viewMode));
        originTrainGone = originTrainGone || !otherBefore;
        if (originTrainGone && !otherBefore && other.kind != TrainNone) {
            seen.spawnedWhenPlayerLeft = before[1];
            seen.kind = other.kind;
            seen.direction = other.direction;
            seen.segment = other.segment;
            // Placed after the player moved, it ran its first step from there.
            seen.position = other.segmentDistance - other.speed / 3.6f * step.seconds;
            seen.wagons = world.trains[109].kind == TrainWagon;
        }
        if (seen.kind != 0 && otherBefore && other.kind == TrainNone)
            std::copy(before, before + 3, seen.removedWhenLeft);
        float apart = std::hypot(player.posX - other.posX, player.posZ - other.posZ);
        if (seen.kind != 0 && other.kind != TrainNone && apart < seen.closest) {
            seen.closest = apart;
            seen.headingsDot = std::cos(player.heading - other.heading);
            seen.speedAtClosest = other.speed;
            seen.playerSpeedAtClosest = player.speed;
        }
        if (player.segment >= c && player.segment <= lastStationSegment)
            seen.slowestInStation = std::min(seen.slowestInStation, player.speed);
        seen.passedTheStation = seen.passedTheStation || player.segment > lastStationSegment + 1;
    }
    return seen;
}

}  // namespace

// Each meeting station stages its encounter: its signals stand as laid, the scripted train
// appears when and where the variant says, the player waits until the signals clear and meets,
// passes or is overtaken by it, and the train is taken off when its last trigger is left.
TEST(MeetingStations, EveryVariantStagesItsEncounterOnTheLine)
{
    // Segments counted from the station's first one c; a loop station's signals stand at
    // c - 2, c, c + 2, c + 6 and c + 8, the siding station's at c, c + 2, c + 4 and c + 7.
    const int loopSignals[5] = {-2, 0, 2, 6, 8};
    const int sidingSignals[5] = {0, 2, 4, 7, 7};
    struct Case {
        int32_t variant;
        int32_t signs[5];
        int32_t facingSwitch, rejoinRearSwitch;
        Encounter encounter;
        bool playerStands;
        int spawnTrigger;
        int32_t kind, direction;
        bool wagons;
        int spawnSegment;
        float position;
        int removingUnit, removalTrigger;
    } cases[] = {
        {0, {12, 3, 2, 2, 2}, 2, 1, Oncoming, true, 4, TrainLocomotive, 1, false, 10, 0.0f, 2, -2},
        {1, {13, 1, 1, 2, 1}, 1, 1, Standing, false, -3, TrainLocomotiveWithWagons, 1, true, 5, 450.0f, 1, 9},
        {2, {12, 3, 2, 2, 2}, 1, 2, Oncoming, true, 0, TrainLocomotiveWithWagons, 1, true, 10, 0.0f, 2, 5},
        {3, {13, 1, 1, 2, 1}, 1, 1, Standing, false, -3, TrainLocomotiveWithWagons, 2, false, 5, 450.0f, 1, 9},
        {4, {12, 3, 2, 2, 2}, 2, 1, Overtaking, true, 4, TrainLocomotive, 2, false, -5, 0.0f, 2, 11},
        {5, {13, 1, 1, 2, 1}, 1, 1, Standing, false, -3, TrainLocomotiveWithWagons, 2, false, 5, 450.0f, 1, 9},
        {6, {11, 2, 2, 2, 2}, 0, 1, Oncoming, true, 0, TrainLocomotiveWithWagons, 1, true, 10, 0.0f, 2, 6},
        {7, {13, 1, 1, 2, 1}, 1, 1, Standing, false, -3, TrainLocomotiveWithWagons, 1, true, 5, 450.0f, 1, 9},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << "variant " << k.variant);
        auto world = MakeResetWorld();
        GameOptions options;
        options.scenery = SceneryCustom;
        options.totalLengthKm = 5;
        options.meetingDistanceKm = 2;
        options.curvesPercent = 0;
        GenerateRoutePlan(*world, options, 1);
        world->meetingVariant = k.variant;
        BuildTrack(*world);
        // The starting layout takes segments 1..7 and every plain entry before the station one.
        int entry = 1;
        while (entry < 100 && world->plan[entry].type != PlanMeetingStation)
            ++entry;
        ASSERT_LT(entry, 100);
        const int c = 7 + entry;
        const bool siding = k.variant == 6;
        const TrackSegment* track = world->track.data();
        for (int s = 0; s < 5; ++s) {
            EXPECT_EQ(track[c + (siding ? sidingSignals : loopSignals)[s]].forwardSign, k.signs[s]) << "signal " << s;
        }
        EXPECT_EQ(siding ? 0 : track[c - 1].forwardSwitch, k.facingSwitch);
        EXPECT_EQ(track[c + (siding ? 7 : 8)].rearSwitch, k.rejoinRearSwitch);

        MeetingSeen seen = DriveThroughTheMeetingStation(*world, c, c + (siding ? 7 : 8));
        EXPECT_TRUE(seen.passedTheStation);
        // The last signal of the station cleared to line speed.
        EXPECT_EQ(world->trains[1].speedLimit, world->trains[1].lineSpeed);
        EXPECT_EQ(seen.signs.stopSignalsPassed, 0);
        EXPECT_EQ(seen.signs.highSpeedPenalties, 0);
        EXPECT_EQ(seen.spawnedWhenPlayerLeft, c + k.spawnTrigger);
        EXPECT_EQ(seen.kind, k.kind);
        EXPECT_EQ(seen.direction, k.direction);
        EXPECT_EQ(seen.wagons, k.wagons);
        EXPECT_EQ(seen.segment, c + k.spawnSegment);
        EXPECT_NEAR(seen.position, k.position, 0.01f);
        EXPECT_EQ(seen.removedWhenLeft[k.removingUnit], c + k.removalTrigger);
        EXPECT_TRUE(k.playerStands ? seen.slowestInStation == 0.0f : seen.slowestInStation > 30.0f)
            << seen.slowestInStation;
        EXPECT_LT(seen.closest, 10.0f);
        const bool metAsTheVariantSays[3] = {
            seen.headingsDot < -0.9f && seen.speedAtClosest > 0.0f,
            seen.headingsDot > 0.9f && seen.speedAtClosest > seen.playerSpeedAtClosest,
            seen.speedAtClosest == 0.0f};
        EXPECT_TRUE(metAsTheVariantSays[k.encounter]) << seen.headingsDot << " " << seen.speedAtClosest;
    }
}
