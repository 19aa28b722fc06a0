#pragma once
// Everything that stands beside the line, and the objects that draw the train units.

#include <array>
#include <cstdint>

enum SceneryType : int32_t {
    SceneryEmpty = 0,
    ScenerySmallHouse = 1,
    SceneryTownFirst = 2,     // town buildings 2..6
    SceneryVillageHouseA = 10,  // village houses 10..14; placement uses the first and the last
    SceneryVillageHouseB = 14,
    ScenerySignalBox = 20,
    SceneryPlatform = 21,
    SceneryRailcar = 100,
    SceneryLocomotive = 200,
    SceneryGoodsWagon = 300,
    SceneryDisc = 1001,
    SceneryTree = 10002,
};

struct SceneryObject {
    int32_t type;
    float x, y, z;
    float rotX, rotY, rotZ;
    int32_t variation;
};

constexpr int SceneryCapacity = 10000;
constexpr int SceneryTerminusFirstSlot = 100;
constexpr int SceneryPlacementFirstSlot = 200;
constexpr int SceneryLastSlot = 9998;
using SceneryTable = std::array<SceneryObject, SceneryCapacity>;

// The first slot whose type is 0, or -1 when the table is full.
int FindFreeSceneryObject(const SceneryTable& scenery);
