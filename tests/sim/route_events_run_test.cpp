#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

#include "sim/autopilot.h"
#include "sim/camera.h"
#include "sim/route_events_run.h"
#include "sim_fixture.h"
#include "world/route_plan.h"

namespace {

enum Encounter { Oncoming, Overtaking, Standing };

// What a drive through the first meeting station saw of the scripted train (unit 2).
struct MeetingSeen {
    int32_t spawnedWhenPlayerLeft = -1, kind = 0, direction = 0, segment = 0;
    int32_t removedWhenLeft[3] = {-1, -1, -1};  // the segment units 1 and 2 had just left
    float position = -1.0f, closest = 1e9f, headingsDot = 0.0f, speedAtClosest = -1.0f, playerSpeedAtClosest = -1.0f;
    float slowestInStation = 1e9f;
    SignTally signs;
    bool wagons = false, passedTheStation = false;
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
            std::tie(seen.spawnedWhenPlayerLeft, seen.kind, seen.direction, seen.segment) =
                std::tuple(before[1], other.kind, other.direction, other.segment);
            // Placed after the player moved, it ran its first step from there.
            seen.position = other.segmentDistance - other.speed / 3.6f * step.seconds;
            seen.wagons = world.trains[109].kind == TrainWagon;
        }
        if (seen.kind != 0 && otherBefore && other.kind == TrainNone)
            std::copy(before, before + 3, seen.removedWhenLeft);
        float apart = std::hypot(player.posX - other.posX, player.posZ - other.posZ);
        if (seen.kind != 0 && other.kind != TrainNone && apart < seen.closest) {
            std::tie(seen.closest, seen.speedAtClosest, seen.playerSpeedAtClosest) = std::tuple(apart, other.speed, player.speed);
            seen.headingsDot = std::cos(player.heading - other.heading);
        }
        if (player.segment >= c && player.segment <= lastStationSegment)
            seen.slowestInStation = std::min(seen.slowestInStation, player.speed);
        seen.passedTheStation = seen.passedTheStation || player.segment > lastStationSegment + 1;
    }
    return seen;
}

}  // namespace

// Only the unit named leaving the segment named fires an event, and the table's last slot never.
TEST(RouteEvents, OnlyTheUnitNamedLeavingTheSegmentNamedFiresAnEvent)
{
    auto world = MakeResetWorld();
    AddEvent(*world, 0, EventSetSign, 4, 20).segment = 21;
    AddEvent(*world, 999, EventSetSign, 4, 20).segment = 22;
    world->events[0].signCode = world->events[999].signCode = SignStop;
    for (auto [unit, segment] : {std::pair{3, 20}, {4, 19}, {0, 0}})
        FireRouteEvents(*world, unit, segment);
    EXPECT_EQ(world->track[21].forwardSign, 0);
    FireRouteEvents(*world, 4, 20);
    EXPECT_EQ(std::pair(world->track[21].forwardSign, world->track[22].forwardSign), std::pair(int32_t{SignStop}, 0));
}

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
        std::tie(options.scenery, options.totalLengthKm, options.meetingDistanceKm, options.curvesPercent) =
            std::tuple(SceneryCustom, 5, 2, 0);
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
        for (int s = 0; s < 5; ++s)
            EXPECT_EQ(track[c + (siding ? sidingSignals : loopSignals)[s]].forwardSign, k.signs[s]) << "signal " << s;
        EXPECT_EQ(siding ? 0 : track[c - 1].forwardSwitch, k.facingSwitch);
        EXPECT_EQ(track[c + (siding ? 7 : 8)].rearSwitch, k.rejoinRearSwitch);

        MeetingSeen seen = DriveThroughTheMeetingStation(*world, c, c + (siding ? 7 : 8));
        // The last signal of the station cleared to line speed.
        EXPECT_EQ(std::tuple(seen.passedTheStation, world->trains[1].speedLimit, seen.signs.stopSignalsPassed, seen.signs.highSpeedPenalties),
                  std::tuple(true, world->trains[1].lineSpeed, 0, 0));
        EXPECT_EQ(std::tuple(seen.spawnedWhenPlayerLeft, seen.kind, seen.direction, seen.wagons, seen.segment),
                  std::tuple(c + k.spawnTrigger, k.kind, k.direction, k.wagons, c + k.spawnSegment));
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
