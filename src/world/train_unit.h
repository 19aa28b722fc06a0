#pragma once
// Every moving vehicle: the player's railcar, the scripted trains and their wagons.

#include <array>
#include <cstdint>

enum TrainKind : int32_t {
    TrainNone = 0,
    TrainStartingOncoming = 1,  // the other train placed at the start; drawn as a railcar
    TrainLocomotive = 100,
    TrainLocomotiveWithWagons = 200,
    TrainLocomotiveBringingWagons = 201,  // an event kind only: becomes 200 with ten wagons
    TrainWagon = 300,
};

struct TrainUnit {
    int32_t kind;
    int32_t direction;  // even: forward along next links; odd: backward along prev links
    float posX, posZ, posY;
    float pitch;
    float heading;
    int32_t segment;
    float accel;            // m/s²
    float speed;            // km/h
    int32_t speedLimit;
    int32_t announcedLimit; // 999: none
    int32_t lineSpeed;
    float segmentDistance;
    double odometer;
    int32_t throttle;       // notch 0..5
    int32_t brake;          // 1 full braking .. 8 released
    int32_t objectIndex;
    float cameraOffsetX, cameraOffsetY, cameraOffsetZ;
    float soundRate;
    int32_t gear;
};

constexpr int TrainCapacity = 1000;
constexpr int32_t NoAnnouncedLimit = 999;
constexpr int32_t BrakeFull = 1;
constexpr int32_t BrakeReleased = 8;
constexpr int32_t ThrottleClosed = 0;
constexpr int32_t ThrottleFull = 5;
constexpr int WagonFirstUnit = 100;
constexpr int WagonLastUnit = 199;
using TrainTable = std::array<TrainUnit, TrainCapacity>;
