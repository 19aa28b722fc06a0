#pragma once
// Track segments, the ground strips along the main line, and the sign codes they carry.

#include <array>
#include <cstdint>

enum SegmentType : int32_t {
    SegmentNone = 0,
    SegmentStraight = 1,
    SegmentCurveLeft = 2,
    SegmentCurveRight = 3,
    SegmentTunnel = 6,
};

enum SignCode : int32_t {
    SignNone = 0,
    SignLineSpeed = 1,
    SignStop = 2,
    SignLimit40 = 3,
    SignDestination = 9,
    SignExpectStop = 11,
    SignExpect40 = 12,
    SignExpectLineSpeed = 13,
};

struct TrackSegment {
    int32_t type;
    int32_t forwardSwitch;  // 1: a forward unit leaves by next, else by nextAlt
    int32_t next;
    int32_t nextAlt;
    int32_t rearSwitch;     // 1: a backward unit leaves by prev, else by prevAlt
    int32_t prev;
    int32_t prevAlt;
    float startX, startZ, startHeight;
    float endX, endZ, endHeight;
    float radius;
    float length;
    float startHeading, endHeading;
    int32_t occupancy;      // 1 free, 2 entered by a unit
    int32_t signPresent;
    int32_t forwardSign;
    int32_t reverseSign;
};

struct GroundStrip {
    int32_t kind;  // 0 ends the filled part of the table
    int32_t segment;
    int32_t leftSide;
    float leftRelief;
    int32_t rightSide;
    float rightRelief;
    float startX, startZ, startHeight;
    float endX, endZ, endHeight;
    float startHeading, endHeading;
};

constexpr int TrackCapacity = 9999;
constexpr int GroundStripCapacity = 9999;
using TrackTable = std::array<TrackSegment, TrackCapacity>;
using GroundStripTable = std::array<GroundStrip, GroundStripCapacity>;

constexpr float CurveRadius = 1000.0f;
