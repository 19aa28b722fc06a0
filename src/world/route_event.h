#pragma once
// Scripted traffic: actions fired when a given unit leaves a given segment.

#include <array>
#include <cstdint>

enum RouteEventAction : int32_t {
    EventNone = 0,
    EventSpawnTrain = 1,
    EventRemoveTrain = 2,
    EventSetSign = 3,
    EventSetSpeed = 5,
    EventSetSwitch = 6,
};

struct RouteEvent {
    int32_t action;
    int32_t triggerUnit;
    int32_t triggerSegment;
    int32_t kind;
    int32_t unit;
    int32_t direction;
    float speed;
    int32_t throttle;
    int32_t segment;
    float position;
    int32_t signEnd;
    int32_t signCode;
    int32_t switchEnd;
    int32_t switchValue;
};

constexpr int RouteEventCapacity = 1000;
// Meeting-station scripts stop being written once this many events exist.
constexpr int RouteEventScriptLimit = 900;
using RouteEventTable = std::array<RouteEvent, RouteEventCapacity>;
