// Sign boards, model objects and tree billboards.

#include "render/render_local.h"

#include <cmath>

#include "world/world.h"

namespace {

constexpr uint16_t BoardIndexes[6] = {0, 1, 2, 0, 2, 3};

// A flat board standing on its model origin, halfWidth to either side, facing -z: a viewer
// on the -z side sees it wound clockwise, from behind it is culled.
void FillBoard(SceneVertex (&board)[4], float halfWidth, float height)
{
    board[0] = {-halfWidth, height, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    board[1] = {halfWidth, height, 0.0f, 1.0f, 0.0f, 0.0f, 1.0f, 0.0f};
    board[2] = {halfWidth, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 1.0f, 1.0f};
    board[3] = {-halfWidth, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f};
}

// The picture a sign code shows in the current blink phase; false for codes that have none
// (their board keeps whatever texture the previous draw left).
bool FindSignTexture(const SceneFrame& frame, int32_t code, TextureHandle& texture)
{
    switch (code) {
    case SignLineSpeed:
    case SignStop:
    case SignLimit40:
        texture = frame.textures.signs[code];
        return true;
    case SignExpectStop:
    case SignExpect40:
    case SignExpectLineSpeed:
        // The announcing signs flash: their picture alternates with a dark board.
        texture = frame.world.signBlinkPhase == 0 ? frame.textures.signs[code] : frame.textures.signBlink;
        return true;
    default:
        return false;
    }
}

// Textured parts are lit mostly by the ambient light, so the bitmap shows in its own colours.
SceneMaterial TexturedPartMaterial()
{
    SceneMaterial material{};
    material.diffuse = {0.5f, 0.5f, 0.5f, 1.0f};
    material.ambient = {1.0f, 1.0f, 1.0f, 1.0f};
    material.specular = {1.0f, 1.0f, 1.0f, 1.0f};
    return material;
}

bool IsPoolRange(int32_t first, int32_t count, int32_t limit, int32_t capacity)
{
    return first >= 0 && count >= 0 && count <= limit && first <= capacity - count;
}

}  // namespace

void DrawSegmentSign(const SceneFrame& frame, const TrackSegment& segment)
{
    const int32_t code = segment.forwardSign;
    if (code == SignDestination)
        return;

    const float heading = segment.startHeading;
    const GroundPoint signPoint = LeftOf({segment.startX, segment.startZ}, heading, 2.0f);
    const float x = signPoint.x;
    const float z = signPoint.z;
    if (GroundDistance(frame.playerX, frame.playerZ, x, z) > SignDrawDistance)
        return;

    frame.device.SetWorldTransform(
        MakeWorldMatrix({x + frame.originShiftX, segment.startHeight, z + frame.originShiftZ}, 0.0f, heading, 0.0f));

    // Main signs are tall and narrow, announcing signs short and wide.
    SceneVertex board[4];
    if (code < 10)
        FillBoard(board, 0.3f, 5.0f);
    else
        FillBoard(board, 0.5f, 4.0f);

    // Brighter than white, so the boards stand out against the lit scene.
    SetMaterialColour(frame.device, 2.0f, 2.0f, 2.0f);
    TextureHandle texture;
    if (FindSignTexture(frame, code, texture))
        frame.device.SetTexture(texture);
    frame.device.DrawIndexed(PrimitiveKind::TriangleList, board, 4, BoardIndexes, 6);
}

void DrawModelObject(const SceneFrame& frame, const SceneryObject& object)
{
    const ModelLibrary& library = frame.world.models;
    if (object.type < 1 || object.type >= ModelEntryCapacity)
        return;
    const ModelEntry& model = library.models[object.type];
    if (GroundDistance(frame.playerX, frame.playerZ, object.x, object.z) > model.drawDistance)
        return;

    frame.device.SetWorldTransform(MakeWorldMatrix(
        {object.x + frame.originShiftX, object.y, object.z + frame.originShiftZ}, object.rotX, object.rotY,
        object.rotZ));

    SceneVertex vertices[ModelPartVertexLimit];
    uint16_t indexes[ModelPartIndexLimit];
    for (int32_t partNumber = 0; partNumber < model.partCount; ++partNumber) {
        const int64_t partIndex = static_cast<int64_t>(model.firstPart) + partNumber;
        if (partIndex < 0 || partIndex >= ModelPartCapacity)
            break;
        const ModelPart& part = library.parts[partIndex];
        // A part that does not fit the local arrays, or whose run leaves the pools, is skipped
        // rather than read or written out of bounds.
        if (!IsPoolRange(part.firstVertex, part.vertexCount, ModelPartVertexLimit, ModelVertexCapacity) ||
            !IsPoolRange(part.firstIndex, part.indexCount, ModelPartIndexLimit, ModelIndexCapacity))
            continue;

        for (int32_t i = 0; i < part.vertexCount; ++i) {
            const ModelVertex& source = library.vertices[part.firstVertex + i];
            vertices[i] = {source.x, source.y, source.z, source.nx, source.ny, source.nz, source.tu, source.tv};
        }
        // The pool holds 32-bit entries of which the draw uses the low 16 bits.
        bool indexesInPart = true;
        for (int32_t i = 0; i < part.indexCount; ++i) {
            indexes[i] = static_cast<uint16_t>(library.indexes[part.firstIndex + i] & 0xFFFF);
            if (indexes[i] >= part.vertexCount)
                indexesInPart = false;
        }
        if (!indexesInPart)
            continue;

        SceneMaterial material = TexturedPartMaterial();
        if (part.textureId == TextureNone) {
            frame.device.SetTexture(NoTexture);
            material.diffuse = {part.red / 4.0f, part.green / 4.0f, part.blue / 4.0f, 1.0f};
            material.ambient = {part.red, part.green, part.blue, 1.0f};
            frame.device.SetMaterial(material);
        } else if (part.textureId >= TextureWheel && part.textureId <= TextureControlRoof) {
            frame.device.SetMaterial(material);
            frame.device.SetTexture(frame.textures.models[part.textureId]);
        }
        // Any other id draws with the material and texture the previous draw left.

        switch (part.kind) {
        case PartTriangleList:
            frame.device.DrawIndexed(PrimitiveKind::TriangleList, vertices, part.vertexCount, indexes, part.indexCount);
            break;
        case PartTriangleStrip:
            frame.device.DrawIndexed(PrimitiveKind::TriangleStrip, vertices, part.vertexCount, indexes,
                                     part.indexCount);
            break;
        case PartTriangleFan:
            frame.device.DrawIndexed(PrimitiveKind::TriangleFan, vertices, part.vertexCount, indexes, part.indexCount);
            break;
        default:
            break;
        }
    }
}

void DrawTreeBillboard(const SceneFrame& frame, float x, float y, float z)
{
    if (GroundDistance(frame.playerX, frame.playerZ, x, z) > TreeDrawDistance)
        return;

    // The board's +z points from the player's train to the tree, so its face turns towards the
    // train, whichever view the camera takes.
    const float dx = x - frame.playerX;
    const float dz = z - frame.playerZ;
    const float heading = static_cast<float>(std::atan2(static_cast<double>(dx), static_cast<double>(dz)));
    frame.device.SetWorldTransform(
        MakeWorldMatrix({x + frame.originShiftX, y, z + frame.originShiftZ}, 0.0f, heading, 0.0f));

    SceneVertex board[4];
    FillBoard(board, 2.0f, 10.0f);
    SetMaterialColour(frame.device, 1.0f, 1.0f, 1.0f);
    frame.device.SetTexture(frame.textures.tree);
    frame.device.DrawIndexed(PrimitiveKind::TriangleList, board, 4, BoardIndexes, 6);
}
