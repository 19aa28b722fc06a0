#pragma once
// The models of buildings, platforms and vehicles, built in code into one shared vertex pool
// and one index pool. A scenery object of type t is drawn with the parts of model t.

#include <array>
#include <cstdint>

enum ModelPartKind : int32_t {
    PartTriangleList = 1,
    PartTriangleStrip = 2,
    PartTriangleFan = 3,
};

// Texture ids of the model parts; 0 draws the part untextured in its own colour.
enum ModelTextureId : int32_t {
    TextureNone = 0,
    TextureWheel = 1,
    TextureRailcarFront = 2,
    TextureRailcarWindow = 3,
    TextureRailcarDoor = 4,
    TextureRailcarBack = 5,
    TextureRailcarRoof = 6,
    TextureWagonSide = 7,
    TextureDisc = 8,
    TextureTownFirst = 9,     // 9..15 "TOWN_1.BMP".."TOWN_7.BMP"
    TextureVillageFirst = 16, // 16..20 "CALC_1.BMP".."CALC_5.BMP"
    TextureControl = 21,
    TextureControlRoof = 22,
};

// The texture name of a model texture id (1..22), or nullptr.
const char* ModelTextureName(int32_t textureId);

struct ModelVertex {
    float x, y, z;
    float nx, ny, nz;
    float tu, tv;
};

struct ModelPart {
    int32_t kind;
    int32_t firstVertex;
    int32_t vertexCount;
    int32_t firstIndex;
    int32_t indexCount;
    int32_t textureId;
    float red, green, blue;
};

struct ModelEntry {
    int32_t firstPart;
    int32_t partCount;
    float drawDistance;
};

constexpr int ModelVertexCapacity = 10000;
constexpr int ModelIndexCapacity = 10000;
constexpr int ModelPartCapacity = 1000;
constexpr int ModelEntryCapacity = 10000;  // indexed by scenery type 0..9999

struct ModelLibrary {
    std::array<ModelVertex, ModelVertexCapacity> vertices;
    std::array<int32_t, ModelIndexCapacity> indexes;  // relative to their part's first vertex
    std::array<ModelPart, ModelPartCapacity> parts;
    std::array<ModelEntry, ModelEntryCapacity> models;
    int32_t vertexCount;
    int32_t indexCount;
    int32_t partCount;
    // Model types in the order they were built, for reports.
    std::array<int32_t, 32> buildOrder;
    int32_t builtModelCount;
};

// Fills the pools, parts and model entries. Reads GroundNoise 0..3 for the disc's outline;
// makes no random draws.
void BuildModelLibrary(ModelLibrary& library, const float* groundNoise);
