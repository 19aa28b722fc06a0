#include "world/model_library.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <tuple>
#include <utility>

#include "world/scenery.h"

// [SECTION] Pools: opening models and parts, appending vertices and indexes
// [SECTION] Faces: flat faces, box faces and double-sided plates
// [SECTION] Buildings: houses, town buildings, signal box, platform
// [SECTION] Vehicles: locomotive, railcar, goods wagon
// [SECTION] Disc
// [SECTION] Library: BuildModelLibrary and the texture names
//
// Every face is wound clockwise as seen from the side it shows (the device culls the
// counter-clockwise side), with x to the right, y up and the model facing +z. Seen from in
// front of a model, its right (+x) is therefore on the viewer's left.

namespace {

// The game's own value of pi for every angle the models are generated from.
constexpr double Pi = 3.1416;

struct Point3 {
    float x, y, z;
};

struct Colour {
    float red, green, blue;
};

// A textured part takes its colour from the texture; its own colour stays black.
constexpr Colour Textured = {0.0f, 0.0f, 0.0f};

// One corner of a flat face: where it stands and where it samples the texture.
struct FaceCorner {
    Point3 position;
    float tu, tv;
};

Point3 Normalised(Point3 v)
{
    float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return {v.x / length, v.y / length, v.z / length};
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Pools
// ---------------------------------------------------------------------------------------------

// Opens the entry of a model type; the parts begun after it belong to it.
void BeginModel(ModelLibrary& library, int32_t type, float drawDistance)
{
    library.models[type] = {library.partCount, 0, drawDistance};
    library.buildOrder[library.builtModelCount] = type;
    library.builtModelCount += 1;
}

// Opens a part at the current ends of both pools; the vertices and indexes added next
// belong to it, and it counts towards the model opened last.
void BeginPart(ModelLibrary& library, ModelPartKind kind, int32_t textureId, Colour colour)
{
    library.parts[library.partCount] = {kind,           library.vertexCount, 0,           library.indexCount, 0,
                                        textureId,      colour.red,          colour.green, colour.blue};
    library.partCount += 1;
    library.models[library.buildOrder[library.builtModelCount - 1]].partCount += 1;
}

// Appends a vertex to the open part and returns its index within that part.
int32_t AddVertex(ModelLibrary& library, Point3 position, Point3 normal, float tu, float tv)
{
    library.vertices[library.vertexCount] = {position.x, position.y, position.z, normal.x, normal.y, normal.z, tu, tv};
    library.vertexCount += 1;
    ModelPart& part = library.parts[library.partCount - 1];
    part.vertexCount += 1;
    return part.vertexCount - 1;
}

// Appends an index (relative to the open part's first vertex) to the open part.
void AddIndex(ModelLibrary& library, int32_t index)
{
    library.indexes[library.indexCount] = index;
    library.indexCount += 1;
    library.parts[library.partCount - 1].indexCount += 1;
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Faces
// ---------------------------------------------------------------------------------------------

// A flat convex face, its corners listed clockwise as seen from the side it shows; drawn as
// triangles fanning out from the first corner, so a quad takes the indexes 0 1 2, 0 2 3.
void AddFace(ModelLibrary& library, std::initializer_list<FaceCorner> corners, Point3 normal)
{
    int32_t first = -1;
    for (const FaceCorner& corner : corners) {
        int32_t index = AddVertex(library, corner.position, normal, corner.tu, corner.tv);
        if (first < 0)
            first = index;
    }
    int32_t cornerCount = static_cast<int32_t>(corners.size());
    for (int32_t i = 1; i + 1 < cornerCount; ++i) {
        AddIndex(library, first);
        AddIndex(library, first + i);
        AddIndex(library, first + i + 1);
    }
}

// A quad from its top-left, top-right, bottom-right and bottom-left corners as seen from the
// side it shows, with the texture rectangle (u0, v0) at the top left to (u1, v1) at the
// bottom right.
void AddQuad(ModelLibrary& library, Point3 topLeft, Point3 topRight, Point3 bottomRight, Point3 bottomLeft,
             Point3 normal, float u0, float v0, float u1, float v1)
{
    AddFace(library, {{topLeft, u0, v0}, {topRight, u1, v0}, {bottomRight, u1, v1}, {bottomLeft, u0, v1}}, normal);
}

enum BoxFace : unsigned {
    BoxFront = 1,    // +z
    BoxRight = 2,    // +x
    BoxBack = 4,     // -z
    BoxLeft = 8,     // -x
    BoxTop = 16,     // +y
    BoxBottom = 32,  // -y
    BoxWalls = BoxFront | BoxRight | BoxBack | BoxLeft,
    BoxAllFaces = BoxWalls | BoxTop | BoxBottom,
};

// One outward face of the axis-aligned box from low to high. Walls show the texture upright;
// the top and bottom show it with v running towards -z.
void AddBoxFace(ModelLibrary& library, Point3 low, Point3 high, BoxFace face, float u0, float v0, float u1, float v1)
{
    float lx = low.x, ly = low.y, lz = low.z;
    float hx = high.x, hy = high.y, hz = high.z;
    switch (face) {
    case BoxFront:
        AddQuad(library, {hx, hy, hz}, {lx, hy, hz}, {lx, ly, hz}, {hx, ly, hz}, {0, 0, 1}, u0, v0, u1, v1);
        break;
    case BoxRight:
        AddQuad(library, {hx, hy, lz}, {hx, hy, hz}, {hx, ly, hz}, {hx, ly, lz}, {1, 0, 0}, u0, v0, u1, v1);
        break;
    case BoxBack:
        AddQuad(library, {lx, hy, lz}, {hx, hy, lz}, {hx, ly, lz}, {lx, ly, lz}, {0, 0, -1}, u0, v0, u1, v1);
        break;
    case BoxLeft:
        AddQuad(library, {lx, hy, hz}, {lx, hy, lz}, {lx, ly, lz}, {lx, ly, hz}, {-1, 0, 0}, u0, v0, u1, v1);
        break;
    case BoxTop:
        AddQuad(library, {lx, hy, hz}, {hx, hy, hz}, {hx, hy, lz}, {lx, hy, lz}, {0, 1, 0}, u0, v0, u1, v1);
        break;
    case BoxBottom:
        AddQuad(library, {hx, ly, hz}, {lx, ly, hz}, {lx, ly, lz}, {hx, ly, lz}, {0, -1, 0}, u0, v0, u1, v1);
        break;
    default:
        break;
    }
}

// The chosen outward faces of a box, walls first (front, right, back, left), then top and
// bottom. The texture repeats every tileWidth by tileHeight metres of a face, so a long
// wall shows more windows than a short one; 0 stretches one copy over the face.
void AddBox(ModelLibrary& library, Point3 low, Point3 high, unsigned faces, float tileWidth = 0.0f,
            float tileHeight = 0.0f)
{
    float sizeX = high.x - low.x, sizeY = high.y - low.y, sizeZ = high.z - low.z;
    auto copies = [](float length, float tile) { return tile > 0.0f ? length / tile : 1.0f; };
    const struct {
        BoxFace face;
        float width, height;
    } boxFaces[] = {
        {BoxFront, sizeX, sizeY}, {BoxRight, sizeZ, sizeY}, {BoxBack, sizeX, sizeY},
        {BoxLeft, sizeZ, sizeY},  {BoxTop, sizeX, sizeZ},   {BoxBottom, sizeX, sizeZ},
    };
    for (const auto& boxFace : boxFaces) {
        if (faces & boxFace.face)
            AddBoxFace(library, low, high, boxFace.face, 0.0f, 0.0f, copies(boxFace.width, tileWidth),
                       copies(boxFace.height, tileHeight));
    }
}

// A thin plate seen from both sides: the same square listed in both windings (0 1 2, 2 1 3
// and 1 0 3, 3 0 2), all four corners with one normal, the picture's corners (0, 0), (1, 0),
// (0, 1), (1, 1) in corner order.
void AddDoubleSidedSquare(ModelLibrary& library, Point3 topFirst, Point3 topSecond, Point3 bottomFirst,
                          Point3 bottomSecond, Point3 normal)
{
    int32_t first = AddVertex(library, topFirst, normal, 0.0f, 0.0f);
    AddVertex(library, topSecond, normal, 1.0f, 0.0f);
    AddVertex(library, bottomFirst, normal, 0.0f, 1.0f);
    AddVertex(library, bottomSecond, normal, 1.0f, 1.0f);
    for (int32_t index : {0, 1, 2, 2, 1, 3, 1, 0, 3, 3, 0, 2})
        AddIndex(library, first + index);
}

// A plate standing in the plane x = const between two heights and two z values.
void AddSidePlate(ModelLibrary& library, float x, float bottom, float top, float zFirst, float zSecond, Point3 normal)
{
    AddDoubleSidedSquare(library, {x, top, zFirst}, {x, top, zSecond}, {x, bottom, zFirst}, {x, bottom, zSecond},
                         normal);
}

// A wheel on each side of every axle: the picture of a wheel on a square in the plane
// x = +-0.7, visible from both sides, since the camera sees the inner wheels between the
// outer ones. All wheels share the normal (-1, 0, 0).
void AddWheelSet(ModelLibrary& library, float bottom, float top, std::initializer_list<float> axleZRanges)
{
    const float* range = axleZRanges.begin();
    for (size_t i = 0; i + 1 < axleZRanges.size(); i += 2) {
        for (float x : {0.7f, -0.7f})
            AddSidePlate(library, x, bottom, top, range[i], range[i + 1], {-1.0f, 0.0f, 0.0f});
    }
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Buildings
// ---------------------------------------------------------------------------------------------

// The end wall under a pitched roof whose ridge runs along z: a triangle between the eaves
// and the ridge, or, when the wall starts below the eaves, a pentagon from the ground up.
void AddGableEnd(ModelLibrary& library, float halfWidth, float base, float eaves, float ridge, float z)
{
    // Seen from in front (+z) the viewer's right is -x; from behind (-z) it is +x.
    float viewerRight = z > 0.0f ? -halfWidth : halfWidth;
    Point3 normal = {0.0f, 0.0f, z > 0.0f ? 1.0f : -1.0f};
    float height = ridge - base;
    auto corner = [&](float x, float y) {
        return FaceCorner{{x, y, z}, (x + viewerRight) / (2.0f * viewerRight), (ridge - y) / height};
    };
    if (base < eaves) {
        AddFace(library,
                {corner(0.0f, ridge), corner(viewerRight, eaves), corner(viewerRight, base), corner(-viewerRight, base),
                 corner(-viewerRight, eaves)},
                normal);
    } else {
        AddFace(library, {corner(0.0f, ridge), corner(viewerRight, eaves), corner(-viewerRight, eaves)}, normal);
    }
}

// Two roof slopes meeting at a ridge that runs along z over x = 0.
void AddPitchedRoof(ModelLibrary& library, float halfWidth, float eaves, float ridge, float halfLength)
{
    Point3 rightNormal = Normalised({ridge - eaves, halfWidth, 0.0f});
    Point3 leftNormal = {-rightNormal.x, rightNormal.y, 0.0f};
    AddQuad(library, {0.0f, ridge, -halfLength}, {0.0f, ridge, halfLength}, {halfWidth, eaves, halfLength},
            {halfWidth, eaves, -halfLength}, rightNormal, 0.0f, 0.0f, 1.0f, 1.0f);
    AddQuad(library, {0.0f, ridge, halfLength}, {0.0f, ridge, -halfLength}, {-halfWidth, eaves, -halfLength},
            {-halfWidth, eaves, halfLength}, leftNormal, 0.0f, 0.0f, 1.0f, 1.0f);
}

// The small house: gable ends that rise as one wall up to the ridge, a grey pitched roof.
void BuildSmallHouse(ModelLibrary& library)
{
    BeginModel(library, ScenerySmallHouse, 1000.0f);
    BeginPart(library, PartTriangleList, TextureNone, {0.5f, 0.25f, 0.0f});
    AddGableEnd(library, 2.5f, 0.0f, 3.0f, 5.0f, 5.0f);
    AddBox(library, {-2.5f, 0.0f, -5.0f}, {2.5f, 3.0f, 5.0f}, BoxRight);
    AddGableEnd(library, 2.5f, 0.0f, 3.0f, 5.0f, -5.0f);
    AddBox(library, {-2.5f, 0.0f, -5.0f}, {2.5f, 3.0f, 5.0f}, BoxLeft);
    BeginPart(library, PartTriangleList, TextureNone, {0.3f, 0.3f, 0.3f});
    AddPitchedRoof(library, 2.5f, 3.0f, 5.0f, 5.0f);
}

// A village house: painted walls with a window every 5 m, a low reddish roof.
void BuildVillageHouse(ModelLibrary& library, int32_t type, int32_t wallTexture)
{
    constexpr Colour roofColour = {0.5f, 0.3f, 0.3f};
    BeginModel(library, type, 1000.0f);
    BeginPart(library, PartTriangleList, wallTexture, Textured);
    AddBox(library, {-2.5f, 0.0f, -5.0f}, {2.5f, 3.0f, 5.0f}, BoxWalls, 5.0f, 3.0f);
    BeginPart(library, PartTriangleList, TextureNone, roofColour);
    AddPitchedRoof(library, 2.5f, 3.0f, 4.0f, 5.0f);
    BeginPart(library, PartTriangleList, TextureNone, roofColour);
    AddGableEnd(library, 2.5f, 3.0f, 3.0f, 4.0f, 5.0f);
    AddGableEnd(library, 2.5f, 3.0f, 3.0f, 4.0f, -5.0f);
}

// A town building: three storeys with a window every 2.5 m, a black flat roof, standing on
// a grey paved yard that reaches 5 m beyond it on every side.
void BuildTownBuilding(ModelLibrary& library, int32_t type, int32_t wallTexture)
{
    BeginModel(library, type, 1000.0f);
    BeginPart(library, PartTriangleList, wallTexture, Textured);
    AddBox(library, {-5.0f, 0.0f, -10.0f}, {5.0f, 10.0f, 10.0f}, BoxWalls, 2.5f, 10.0f / 3.0f);
    BeginPart(library, PartTriangleList, TextureNone, {0.0f, 0.0f, 0.0f});
    AddBox(library, {-5.0f, 10.0f, -10.0f}, {5.0f, 10.0f, 10.0f}, BoxTop);
    BeginPart(library, PartTriangleList, TextureNone, {0.4f, 0.4f, 0.4f});
    AddBox(library, {-10.0f, 0.0f, -15.0f}, {10.0f, 0.0f, 15.0f}, BoxTop);
}

// The signal box: a brown lower storey, the windowed operating floor above it, and a hipped
// roof whose eaves overhang the walls by 0.5 m.
void BuildSignalBox(ModelLibrary& library)
{
    BeginModel(library, ScenerySignalBox, 1000.0f);
    BeginPart(library, PartTriangleList, TextureNone, {0.5f, 0.375f, 0.25f});
    AddBox(library, {-2.0f, 0.0f, -5.0f}, {2.0f, 5.0f, 5.0f}, BoxWalls);
    BeginPart(library, PartTriangleList, TextureControl, Textured);
    AddBox(library, {-2.0f, 5.0f, -5.0f}, {2.0f, 7.5f, 5.0f}, BoxWalls, 2.0f, 2.5f);

    BeginPart(library, PartTriangleList, TextureControlRoof, Textured);
    // Every roof face rises at 45 degrees from the eaves to a ridge from z -3 to 3.
    auto roof = [](float x, float y, float z) { return FaceCorner{{x, y, z}, (x + 2.5f) / 5.0f, (5.5f - z) / 11.0f}; };
    const float side = 1.0f / std::sqrt(2.0f);
    AddFace(library, {roof(0.0f, 10.0f, -3.0f), roof(0.0f, 10.0f, 3.0f), roof(2.5f, 7.5f, 5.5f), roof(2.5f, 7.5f, -5.5f)},
            {side, side, 0.0f});
    AddFace(library, {roof(0.0f, 10.0f, 3.0f), roof(0.0f, 10.0f, -3.0f), roof(-2.5f, 7.5f, -5.5f), roof(-2.5f, 7.5f, 5.5f)},
            {-side, side, 0.0f});
    AddFace(library, {roof(0.0f, 10.0f, 3.0f), roof(-2.5f, 7.5f, 5.5f), roof(2.5f, 7.5f, 5.5f)}, {0.0f, side, side});
    AddFace(library, {roof(0.0f, 10.0f, -3.0f), roof(2.5f, 7.5f, -5.5f), roof(-2.5f, 7.5f, -5.5f)}, {0.0f, side, -side});
    // The underside closes the overhang, which a viewer on the ground looks up into.
    AddBox(library, {-2.5f, 7.5f, -5.5f}, {2.5f, 7.5f, 5.5f}, BoxBottom);
}

// The platform: a light concrete edge 1 m high and a dark blue-grey surface, 100 m long.
void BuildPlatform(ModelLibrary& library)
{
    BeginModel(library, SceneryPlatform, 500.0f);
    BeginPart(library, PartTriangleList, TextureNone, {0.8f, 0.8f, 0.8f});
    AddBox(library, {-2.5f, 0.0f, -50.0f}, {2.5f, 1.0f, 50.0f}, BoxWalls);
    BeginPart(library, PartTriangleList, TextureNone, {0.2f, 0.2f, 0.4f});
    AddBox(library, {-2.5f, 1.0f, -50.0f}, {2.5f, 1.0f, 50.0f}, BoxTop);
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Vehicles
// ---------------------------------------------------------------------------------------------

// The diesel locomotive of the scripted trains, cab forward: an orange long hood behind the
// cab, a short hood ahead of it, both on a blue walkway with handrails; the frame, tank,
// buffer beams and buffers below, two bogies with two axles each.
void BuildLocomotive(ModelLibrary& library)
{
    BeginModel(library, SceneryLocomotive, 1000.0f);

    BeginPart(library, PartTriangleList, TextureNone, {1.0f, 0.5f, 0.0f});
    // The radiator end of the long hood is a little wider than its engine compartment.
    AddBox(library, {-1.05f, 1.8f, -4.6f}, {1.05f, 3.0f, -2.4f}, BoxAllFaces);
    AddBox(library, {-1.0f, 1.8f, -2.4f}, {1.0f, 3.0f, 3.0f}, BoxAllFaces);
    AddBox(library, {-1.3f, 1.8f, 3.0f}, {1.3f, 2.8f, 5.6f}, BoxAllFaces);  // the cab below its windows
    AddBox(library, {-1.0f, 1.8f, 5.6f}, {1.0f, 2.8f, 7.0f}, BoxAllFaces);  // the short hood

    BeginPart(library, PartTriangleList, TextureNone, {1.0f, 1.0f, 1.0f});
    // White bands round the long hood and round the cab under its windows, standing just
    // proud of the walls they wrap so that they do not flicker against them.
    AddBox(library, {-1.06f, 2.8f, -4.61f}, {1.06f, 2.9f, 3.0f}, BoxAllFaces);
    AddBox(library, {-1.32f, 2.8f, 2.98f}, {1.32f, 2.9f, 5.62f}, BoxAllFaces);

    BeginPart(library, PartTriangleList, TextureNone, {0.0f, 0.5f, 0.75f});
    AddBox(library, {-1.35f, 1.6f, -4.9f}, {1.35f, 1.8f, 7.3f}, BoxAllFaces);  // the walkway
    AddBox(library, {-1.3f, 2.9f, 3.0f}, {1.3f, 3.9f, 5.6f}, BoxAllFaces);     // the cab's window band
    AddBox(library, {-1.35f, 3.9f, 2.9f}, {1.35f, 4.1f, 5.7f}, BoxAllFaces);   // the cab roof
    // Handrails along the walkway; their ends meet the cab or the end rail, so they stay open.
    constexpr unsigned railFaces = BoxRight | BoxLeft | BoxTop | BoxBottom;
    AddBox(library, {1.25f, 2.55f, -4.8f}, {1.3f, 2.6f, 3.0f}, railFaces);
    AddBox(library, {-1.3f, 2.55f, -4.8f}, {-1.25f, 2.6f, 3.0f}, railFaces);
    AddBox(library, {1.25f, 2.55f, 5.6f}, {1.3f, 2.6f, 7.2f}, railFaces);
    AddBox(library, {-1.3f, 2.55f, 5.6f}, {-1.25f, 2.6f, 7.2f}, railFaces);
    AddBox(library, {-1.3f, 2.55f, -4.85f}, {1.3f, 2.6f, -4.8f}, BoxFront | BoxBack | BoxTop | BoxBottom);
    AddBox(library, {-0.25f, 2.8f, 6.7f}, {0.25f, 3.0f, 7.0f}, BoxAllFaces);  // the headlight on the short hood

    BeginPart(library, PartTriangleList, TextureNone, {0.2f, 0.2f, 0.2f});
    // The frame's side members under the walkway, and the fuel tank slung between the bogies.
    AddBox(library, {-1.35f, 1.2f, -4.9f}, {1.35f, 1.6f, 7.3f}, BoxRight | BoxLeft);
    AddBox(library, {-1.1f, 0.9f, -1.2f}, {1.1f, 1.2f, 3.6f}, BoxWalls | BoxBottom);

    BeginPart(library, PartTriangleList, TextureNone, {1.0f, 0.0f, 0.0f});
    AddBox(library, {-1.35f, 0.9f, -4.9f}, {1.35f, 1.5f, 7.3f}, BoxFront | BoxBack);  // the buffer beams

    BeginPart(library, PartTriangleList, TextureNone, {0.0f, 0.0f, 0.0f});
    // The buffers stand 0.3 m out from the buffer beams; their backs are inside the beams.
    for (float x : {0.875f, -0.875f})
        AddBox(library, {x - 0.125f, 0.9f, 7.3f}, {x + 0.125f, 1.1f, 7.6f}, BoxAllFaces & ~BoxBack);
    for (float x : {0.875f, -0.875f})
        AddBox(library, {x - 0.125f, 0.9f, -5.2f}, {x + 0.125f, 1.1f, -4.9f}, BoxAllFaces & ~BoxFront);

    BeginPart(library, PartTriangleList, TextureWheel, Textured);
    AddWheelSet(library, 0.1f, 1.1f, {6.5f, 5.5f, 5.0f, 4.0f, -1.6f, -2.6f, -3.1f, -4.1f});

    BeginPart(library, PartTriangleList, TextureNone, {0.3f, 0.3f, 0.3f});
    // Each bogie side frame runs over both wheels above the axles and drops between them to
    // the spring plank; thin plates, seen from the track side and from beneath the body.
    for (float bogieCentre : {5.25f, -2.85f}) {
        for (float x : {0.8f, -0.8f}) {
            Point3 outward = {x > 0.0f ? 1.0f : -1.0f, 0.0f, 0.0f};
            AddSidePlate(library, x, 1.0f, 1.6f, bogieCentre + 1.45f, bogieCentre - 1.45f, outward);
            AddSidePlate(library, x, 0.4f, 1.0f, bogieCentre + 0.35f, bogieCentre - 0.35f, outward);
        }
    }

    BeginPart(library, PartTriangleList, TextureNone, {0.9f, 0.9f, 0.9f});
    AddBox(library, {-0.6f, 3.0f, -1.8f}, {0.6f, 4.0f, 0.0f}, BoxAllFaces);  // the exhaust housing on the hood
}

// The rounded roof profile of the railcar across x +-1.1, from the eaves at y 3.0 to a flat
// crown at y 3.35: six points on a quarter ellipse and its mirror image, so that the two
// halves match exactly. Normals are the ellipse's, so the roof shades smoothly.
struct RoofProfile {
    Point3 points[6];   // z = 0; x from +1.1 to -1.1
    Point3 normals[6];
};

RoofProfile MakeRailcarRoofProfile()
{
    constexpr double halfWidth = 1.1;
    // The crown is the segment between the second and third points, at 2/5 of a half turn.
    const double rise = 0.35 / std::sin(2.0 * Pi / 5.0);
    RoofProfile profile{};
    for (int i = 0; i < 3; ++i) {
        double angle = i * Pi / 5.0;
        double c = std::cos(angle), s = std::sin(angle);
        float x = static_cast<float>(halfWidth * c);
        float y = static_cast<float>(3.0 + rise * s);
        Point3 normal = Normalised({static_cast<float>(c / halfWidth), static_cast<float>(s / rise), 0.0f});
        profile.points[i] = {x, y, 0.0f};
        profile.normals[i] = normal;
        profile.points[5 - i] = {-x, y, 0.0f};
        profile.normals[5 - i] = {-normal.x, normal.y, 0.0f};
    }
    return profile;
}

// The roof of the railcar: the profile drawn along the car in three 5 m sections, closed at
// each end by two trapezoids. The lamp row lies along the top of the picture and is shown once,
// at the front: the front end shows the whole picture, and the front section of the top its
// top quarter. The two sections behind stretch the plain grey rest of the picture, and the back
// end shows only its plain lower half.
void AddRailcarRoof(ModelLibrary& library)
{
    const RoofProfile profile = MakeRailcarRoofProfile();
    auto at = [&](int i, float z) { return Point3{profile.points[i].x, profile.points[i].y, z}; };
    constexpr float sectionEdgeV[4] = {0.0f, 0.25f, 0.625f, 1.0f};

    for (int section = 0; section < 3; ++section) {
        float front = -5.0f * static_cast<float>(section);
        float back = front - 5.0f;
        float frontV = sectionEdgeV[section], backV = sectionEdgeV[section + 1];
        for (int i = 0; i < 5; ++i) {
            // Seen from above with the front ahead, the point of smaller x is on the left.
            float uRight = static_cast<float>(i) / 5.0f, uLeft = static_cast<float>(i + 1) / 5.0f;
            int32_t first = AddVertex(library, at(i + 1, front), profile.normals[i + 1], uLeft, frontV);
            AddVertex(library, at(i, front), profile.normals[i], uRight, frontV);
            AddVertex(library, at(i, back), profile.normals[i], uRight, backV);
            AddVertex(library, at(i + 1, back), profile.normals[i + 1], uLeft, backV);
            for (int32_t index : {0, 1, 2, 0, 2, 3})
                AddIndex(library, first + index);
        }
    }

    for (float z : {0.0f, -15.0f}) {
        bool isFront = z == 0.0f;
        Point3 normal = {0.0f, 0.0f, isFront ? 1.0f : -1.0f};
        auto corner = [&](int i) {
            float x = profile.points[i].x;
            float tu = isFront ? (1.1f - x) / 2.2f : (x + 1.1f) / 2.2f;
            float down = (3.35f - profile.points[i].y) / 0.35f;
            return FaceCorner{at(i, z), tu, isFront ? down : 0.5f + 0.5f * down};
        };
        // Points of the same height pair up across the car: (0, 5), (1, 4), (2, 3).
        if (isFront) {
            AddFace(library, {corner(1), corner(4), corner(5), corner(0)}, normal);
            AddFace(library, {corner(2), corner(3), corner(4), corner(1)}, normal);
        } else {
            AddFace(library, {corner(4), corner(1), corner(0), corner(5)}, normal);
            AddFace(library, {corner(3), corner(2), corner(1), corner(4)}, normal);
        }
    }
}

// The player's railcar, 2.2 m wide and 15 m long with its origin at the front end: end
// pictures over a red skirt, a cab window, a double door and the saloon windows along each
// side, the rounded roof, and two bogies hidden behind the skirt.
void BuildRailcar(ModelLibrary& library)
{
    BeginModel(library, SceneryRailcar, 1000.0f);
    const Point3 bodyLow = {-1.1f, 0.7f, -15.0f}, bodyHigh = {1.1f, 3.0f, 0.0f};
    // Each end is the window panel over the lamp panel, both cut from one picture that runs
    // from the roof (v 0) down to the skirt (v 1).
    const float panelSplit = 1.6f, panelSplitV = (3.0f - panelSplit) / 2.3f;
    for (auto [face, textureId] : {std::pair{BoxFront, TextureRailcarFront}, std::pair{BoxBack, TextureRailcarBack}}) {
        BeginPart(library, PartTriangleList, textureId, Textured);
        AddBoxFace(library, {bodyLow.x, panelSplit, bodyLow.z}, bodyHigh, face, 0.0f, 0.0f, 1.0f, panelSplitV);
        AddBoxFace(library, bodyLow, {bodyHigh.x, panelSplit, bodyHigh.z}, face, 0.0f, panelSplitV, 1.0f, 1.0f);
    }

    // Along each side from the front: cab window, door, saloon, door, rear cab window.
    const struct {
        float front, back;
        int32_t textureId;
        float copies;
    } sidePanels[] = {
        {0.0f, -1.0f, TextureRailcarWindow, 1.0f},     {-1.0f, -2.4f, TextureRailcarDoor, 1.0f},
        {-2.4f, -12.6f, TextureRailcarWindow, 4.0f},   {-12.6f, -14.0f, TextureRailcarDoor, 1.0f},
        {-14.0f, -15.0f, TextureRailcarWindow, 1.0f},
    };
    for (int32_t textureId : {TextureRailcarWindow, TextureRailcarDoor}) {
        BeginPart(library, PartTriangleList, textureId, Textured);
        for (BoxFace side : {BoxRight, BoxLeft}) {
            for (const auto& panel : sidePanels) {
                if (panel.textureId == textureId)
                    AddBoxFace(library, {bodyLow.x, bodyLow.y, panel.back}, {bodyHigh.x, bodyHigh.y, panel.front}, side,
                               0.0f, 0.0f, panel.copies, 1.0f);
            }
        }
    }

    // The skirt: two red bands round the whole car below the windows. It is a thin sheet open
    // underneath, so it is drawn from both sides: its inner face shows wherever a view reaches
    // under the car.
    for (auto [bottom, top, colour] : {std::tuple{0.4f, 0.7f, Colour{0.8f, 0.0f, 0.0f}},
                                       std::tuple{0.1f, 0.4f, Colour{0.7f, 0.0f, 0.0f}}}) {
        BeginPart(library, PartTriangleList, TextureNone, colour);
        AddSidePlate(library, 1.1f, bottom, top, 0.0f, -15.0f, {1.0f, 0.0f, 0.0f});
        AddSidePlate(library, -1.1f, bottom, top, 0.0f, -15.0f, {-1.0f, 0.0f, 0.0f});
        AddDoubleSidedSquare(library, {1.1f, top, 0.0f}, {-1.1f, top, 0.0f}, {1.1f, bottom, 0.0f},
                             {-1.1f, bottom, 0.0f}, {0.0f, 0.0f, 1.0f});
        AddDoubleSidedSquare(library, {-1.1f, top, -15.0f}, {1.1f, top, -15.0f}, {-1.1f, bottom, -15.0f},
                             {1.1f, bottom, -15.0f}, {0.0f, 0.0f, -1.0f});
    }

    BeginPart(library, PartTriangleList, TextureRailcarRoof, Textured);
    AddRailcarRoof(library);

    BeginPart(library, PartTriangleList, TextureWheel, Textured);
    AddWheelSet(library, 0.1f, 0.7f, {-1.2f, -1.8f, -2.2f, -2.8f, -12.2f, -12.8f, -13.2f, -13.8f});

    BeginPart(library, PartTriangleList, TextureNone, {0.3f, 0.3f, 0.3f});
    // The bogie side frames, outside the wheels over their axles.
    for (float front : {-1.0f, -12.0f})
        AddBox(library, {-0.8f, 0.3f, front - 2.0f}, {0.8f, 0.7f, front}, BoxRight | BoxLeft);
}

// The covered goods wagon: plain brown sides under an arched roof that rests on the side
// walls at (+-1.3, 3.3) and rises to 3.84 over the centre line; two axles.
void BuildGoodsWagon(ModelLibrary& library)
{
    constexpr Colour bodyColour = {0.5f, 0.375f, 0.375f};
    // The arch: a circle centred 2 m above the rail whose radius reaches the tops of the
    // side walls at 45 degrees either side of the vertical.
    const double radius = 1.3 * std::sqrt(2.0);
    Point3 arch[9];
    for (int k = 0; k < 9; ++k) {
        double angle = Pi / 4.0 - k * Pi / 16.0;
        arch[k] = {static_cast<float>(radius * std::sin(angle)), static_cast<float>(2.0 + radius * std::cos(angle)),
                   0.0f};
    }
    const Point3 bodyLow = {-1.3f, 1.1f, -5.5f}, bodyHigh = {1.3f, 3.3f, 5.5f};

    BeginModel(library, SceneryGoodsWagon, 1000.0f);
    BeginPart(library, PartTriangleList, TextureWagonSide, Textured);
    AddBox(library, bodyLow, bodyHigh, BoxRight | BoxLeft);

    // The arched tops of the end walls, fanning out from the middle of the wall's top edge.
    // Seen from in front the arch runs clockwise from +x over to -x; from behind the other way.
    for (float z : {5.5f, -5.5f}) {
        BeginPart(library, PartTriangleFan, TextureNone, bodyColour);
        Point3 normal = {0.0f, 0.0f, z > 0.0f ? 1.0f : -1.0f};
        auto archVertex = [&](Point3 p) {
            return AddVertex(library, {p.x, p.y, z}, normal, (1.3f - p.x) / 2.6f, (3.84f - p.y) / 2.74f);
        };
        AddIndex(library, archVertex({0.0f, 3.3f, 0.0f}));
        for (int k = 0; k < 9; ++k)
            AddIndex(library, archVertex(arch[z > 0.0f ? k : 8 - k]));
    }

    BeginPart(library, PartTriangleList, TextureNone, bodyColour);
    AddBox(library, bodyLow, bodyHigh, BoxFront | BoxBack);
    // Eight roof panels between successive arch points, each normal pointing away from the
    // arch's centre line.
    for (int k = 0; k < 8; ++k) {
        Point3 right = arch[k], left = arch[k + 1];
        Point3 rightNormal = {right.x, right.y - 2.0f, 0.0f}, leftNormal = {left.x, left.y - 2.0f, 0.0f};
        float uRight = static_cast<float>(k) / 8.0f, uLeft = static_cast<float>(k + 1) / 8.0f;
        int32_t first = AddVertex(library, {left.x, left.y, 5.5f}, leftNormal, uLeft, 0.0f);
        AddVertex(library, {right.x, right.y, 5.5f}, rightNormal, uRight, 0.0f);
        AddVertex(library, {right.x, right.y, -5.5f}, rightNormal, uRight, 1.0f);
        AddVertex(library, {left.x, left.y, -5.5f}, leftNormal, uLeft, 1.0f);
        for (int32_t index : {0, 1, 2, 0, 2, 3})
            AddIndex(library, first + index);
    }

    BeginPart(library, PartTriangleList, TextureNone, {0.375f, 0.25f, 0.25f});
    AddBox(library, {-1.3f, 0.9f, -5.5f}, {1.3f, 1.1f, 5.5f}, BoxWalls);  // the underframe

    BeginPart(library, PartTriangleList, TextureWheel, Textured);
    AddWheelSet(library, 0.1f, 0.9f, {4.4f, 3.6f, -3.6f, -4.4f});

    BeginPart(library, PartTriangleList, TextureNone, {0.3f, 0.3f, 0.3f});
    // Just inside the wheels: the axle guards behind each wheel and the brake gear between
    // the axles, so the wheels stand out against them.
    for (float x : {0.6f, -0.6f}) {
        Point3 outward = {x > 0.0f ? 1.0f : -1.0f, 0.0f, 0.0f};
        AddSidePlate(library, x, 0.3f, 1.1f, 4.5f, 3.5f, outward);
        AddSidePlate(library, x, 0.5f, 0.9f, 1.0f, -1.0f, outward);
        AddSidePlate(library, x, 0.3f, 1.1f, -3.5f, -4.5f, outward);
    }
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Disc
// ---------------------------------------------------------------------------------------------

// The textured disc: an ellipse 300 m across and 200 m high around the origin in the plane
// z = 0, stretched by up to 50 m towards +x and +y by the ground noise of this build.
void BuildDisc(ModelLibrary& library, const float* groundNoise)
{
    const Point3 normal = {1.0f, 1.0f, 0.0f};
    BeginModel(library, SceneryDisc, 10000.0f);
    BeginPart(library, PartTriangleFan, TextureDisc, Textured);
    AddIndex(library, AddVertex(library, {0.0f, 0.0f, 0.0f}, normal, 0.5f, 0.5f));
    for (int k = 0; k < 36; ++k) {
        double angle = k * Pi / 18.0;
        double s = std::sin(angle), c = std::cos(angle);
        double radius = std::sqrt(1.0 / (s * s / (150.0 * 150.0) + c * c / (100.0 * 100.0)));
        float x = static_cast<float>(radius * s);
        float y = static_cast<float>(radius * c);
        // The right half of the rim moves out by the larger of the first two noise values,
        // the upper part by the larger of the next two.
        if (k < 18)
            x = std::max({x, x + 50.0f * groundNoise[0], x + 50.0f * groundNoise[1]});
        if (k < 9 || k > 27)
            y = std::max({y, y + 50.0f * groundNoise[2], y + 50.0f * groundNoise[3]});
        AddIndex(library, AddVertex(library, {x, y, 0.0f}, normal, y / 300.0f + 0.5f, x / 300.0f + 0.5f));
    }
    // Back to the first rim vertex, so the fan closes.
    AddIndex(library, 1);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// [SECTION] Library
// ---------------------------------------------------------------------------------------------

void BuildModelLibrary(ModelLibrary& library, const float* groundNoise)
{
    // Every world build refills the same record, so it starts from empty pools and with no
    // parts for any type; types that no model is built for stay that way and draw nothing.
    library.vertexCount = 0;
    library.indexCount = 0;
    library.partCount = 0;
    library.builtModelCount = 0;
    library.buildOrder.fill(0);
    library.models.fill(ModelEntry{0, 0, 0.0f});

    BuildSmallHouse(library);
    for (int32_t k = 0; k < 5; ++k)
        BuildVillageHouse(library, SceneryVillageHouseA + k, TextureVillageFirst + k);
    // The five town buildings show five of the seven town pictures.
    const int32_t townWallTextures[5] = {TextureTownFirst, TextureTownFirst + 2, TextureTownFirst + 3,
                                         TextureTownFirst + 5, TextureTownFirst + 6};
    for (int32_t k = 0; k < 5; ++k)
        BuildTownBuilding(library, SceneryTownFirst + k, townWallTextures[k]);
    BuildSignalBox(library);
    BuildPlatform(library);
    BuildLocomotive(library);
    BuildRailcar(library);
    BuildGoodsWagon(library);
    BuildDisc(library, groundNoise);
}

const char* ModelTextureName(int32_t textureId)
{
    static const char* const names[] = {
        nullptr,        "WHEEL.BMP",    "Y1_FRONT.BMP", "Y1_WINDOW.BMP", "Y1_DOOR.BMP", "Y1_BACK.BMP",
        "Y1_ROOF.BMP",  "G_SIDE.BMP",   "C.BMP",        "TOWN_1.BMP",    "TOWN_2.BMP",  "TOWN_3.BMP",
        "TOWN_4.BMP",   "TOWN_5.BMP",   "TOWN_6.BMP",   "TOWN_7.BMP",    "CALC_1.BMP",  "CALC_2.BMP",
        "CALC_3.BMP",   "CALC_4.BMP",   "CALC_5.BMP",   "CONTROL.BMP",   "CONTROLR.BMP",
    };
    if (textureId < 1 || textureId > TextureControlRoof)
        return nullptr;
    return names[textureId];
}
