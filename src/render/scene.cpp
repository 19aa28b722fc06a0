// The frame-level order of the scene and the helpers every drawer shares.
//
// [SECTION] Frame set-up and DrawScene
// [SECTION] Vehicle poses
// [SECTION] The three passes
// [SECTION] Matrices, distances and materials

#include "render/scene.h"
#include "render/render_local.h"

#include <cmath>

#include "sim/camera.h"
#include "world/world.h"

// [SECTION] Frame set-up and DrawScene

SceneFrame MakeSceneFrame(DrawDevice& device, const World& world, float originShiftX, float originShiftZ)
{
    const TrainUnit& player = world.trains[world.playerUnit];
    SceneFrame frame{device, world, originShiftX, originShiftZ, player.posX, player.posZ, {}};

    SceneTextures& textures = frame.textures;
    textures.grass = device.FindTexture("gras.bmp");
    textures.tree = device.FindTexture("tree1.bmp");
    for (TextureHandle& sign : textures.signs)
        sign = NoTexture;
    textures.signs[SignLineSpeed] = device.FindTexture("sign0001.bmp");
    textures.signs[SignStop] = device.FindTexture("sign0002.bmp");
    textures.signs[SignLimit40] = device.FindTexture("sign0003.bmp");
    textures.signs[SignExpectStop] = device.FindTexture("sign0011.bmp");
    textures.signs[SignExpect40] = device.FindTexture("sign0012.bmp");
    textures.signs[SignExpectLineSpeed] = device.FindTexture("sign0013.bmp");
    textures.signBlink = device.FindTexture("sign0014.bmp");
    textures.models[TextureNone] = NoTexture;
    for (int32_t id = TextureWheel; id <= TextureControlRoof; ++id)
        textures.models[id] = device.FindTexture(ModelTextureName(id));
    return frame;
}

int32_t DrawScene(DrawDevice& device, World& world, const Camera& camera)
{
    device.Clear(SkyColour, 1.0f);
    // A device that cannot draw now (lost, say) is restored by the frame driver; the frame is
    // simply skipped.
    if (!device.BeginScene())
        return 0;

    device.SetViewTransform(camera.view);
    UpdateVehiclePoses(world);

    SceneFrame frame = MakeSceneFrame(device, world, camera.originShiftX, camera.originShiftZ);
    DrawTrackPass(frame);
    DrawTerrainPass(frame);
    DrawObjectsPass(frame);

    device.EndScene();
    return 0;
}

// [SECTION] Vehicle poses

void UpdateVehiclePoses(World& world)
{
    // The last unit is never stepped and never drawn.
    for (int unitIndex = 0; unitIndex < TrainCapacity - 1; ++unitIndex) {
        const TrainUnit& unit = world.trains[unitIndex];
        if (unit.kind == TrainNone)
            continue;
        if (unit.objectIndex < 0 || unit.objectIndex >= SceneryCapacity)
            continue;
        SceneryObject& object = world.scenery[unit.objectIndex];
        object.x = unit.posX;
        object.y = unit.posY;
        object.z = unit.posZ;
        object.rotX = unit.pitch;
        object.rotY = unit.heading;
        object.rotZ = 0.0f;
    }
}

// [SECTION] The three passes

void DrawTrackPass(const SceneFrame& frame)
{
    const TrackTable& track = frame.world.track;
    for (int segmentIndex = 0; segmentIndex < TrackCapacity; ++segmentIndex) {
        const TrackSegment& segment = track[segmentIndex];
        if (segment.type == SegmentNone)
            continue;
        // Either end within reach draws the whole segment; a segment whose middle alone
        // passes close by stays out.
        double startDistance = GroundDistance(frame.playerX, frame.playerZ, segment.startX, segment.startZ);
        double endDistance = GroundDistance(frame.playerX, frame.playerZ, segment.endX, segment.endZ);
        if (startDistance > TrackDrawDistance && endDistance > TrackDrawDistance)
            continue;

        switch (segment.type) {
        case SegmentStraight:
        case SegmentTunnel:
            DrawStraightTrack(frame, segment);
            break;
        case SegmentCurveLeft:
            DrawLeftCurveTrack(frame, segment);
            break;
        case SegmentCurveRight:
            DrawRightCurveTrack(frame, segment);
            break;
        default:
            break;
        }
        if (segment.type > 0 && segment.signPresent != 0)
            DrawSegmentSign(frame, segment);
    }
}

void DrawTerrainPass(const SceneFrame& frame)
{
    // Ground is built in route coordinates, so one matrix serves every strip.
    frame.device.SetWorldTransform(OriginMatrix(frame));

    const GroundStripTable& strips = frame.world.strips;
    for (int stripIndex = 0; stripIndex < GroundStripCapacity; ++stripIndex) {
        const GroundStrip& strip = strips[stripIndex];
        if (strip.kind == 0)
            continue;
        double startDistance = GroundDistance(frame.playerX, frame.playerZ, strip.startX, strip.startZ);
        double endDistance = GroundDistance(frame.playerX, frame.playerZ, strip.endX, strip.endZ);
        if (startDistance > GroundDrawDistance && endDistance > GroundDrawDistance)
            continue;
        DrawGroundStrip(frame, strip);
    }
}

void DrawObjectsPass(const SceneFrame& frame)
{
    for (int objectIndex = 0; objectIndex <= SceneryLastSlot; ++objectIndex) {
        const SceneryObject& object = frame.world.scenery[objectIndex];
        if (object.type >= 1 && object.type < ModelEntryCapacity)
            DrawModelObject(frame, object);
        else if (object.type == SceneryTree)
            DrawTreeBillboard(frame, object.x, object.y, object.z);
    }
}

// [SECTION] Matrices, distances and materials

Matrix4 MakeWorldMatrix(Vector3 position, float angleX, float angleY, float angleZ)
{
    Matrix4 result = IdentityMatrix();
    if (angleX != 0.0f || angleY != 0.0f || angleZ != 0.0f) {
        Matrix4 rotateX;
        Matrix4 rotateY;
        SetRotateX(rotateX, angleX);
        SetRotateY(rotateY, angleY);
        SetRotateZ(result, angleZ);
        // MultiplyMatrix(r, a, b) makes b·a: a point goes through b first. Turning about z
        // first, then y, then x keeps a vehicle's pitch about the world x axis.
        MultiplyMatrix(result, rotateY, result);
        MultiplyMatrix(result, rotateX, result);
    }
    // The rotations leave the fourth row at (0, 0, 0, 1), so the translation is simply put there.
    result.m[3][0] = position.x;
    result.m[3][1] = position.y;
    result.m[3][2] = position.z;
    return result;
}

Matrix4 OriginMatrix(const SceneFrame& frame)
{
    return MakeWorldMatrix({frame.originShiftX, 0.0f, frame.originShiftZ}, 0.0f, 0.0f, 0.0f);
}

double GroundDistance(float x1, float z1, float x2, float z2)
{
    double dx = static_cast<double>(x1) - static_cast<double>(x2);
    double dz = static_cast<double>(z1) - static_cast<double>(z2);
    return std::sqrt(dx * dx + dz * dz);
}

void SetMaterialColour(DrawDevice& device, float red, float green, float blue)
{
    SceneMaterial material{};
    material.diffuse = {red, green, blue, 1.0f};
    material.ambient = {red, green, blue, 1.0f};
    device.SetMaterial(material);
}
