#include "render/render_local.h"

#include <gtest/gtest.h>
#include <strings.h>

#include <cmath>
#include <cstring>

#include "scene_test_support.h"

namespace {

struct ObjectFixture {
    std::unique_ptr<World> world = MakeTestWorld();
    RecordingDevice device{world->textures};

    SceneFrame Frame(float shiftX = 0.0f, float shiftZ = 0.0f) { return MakeSceneFrame(device, *world, shiftX, shiftZ); }
};

// A board as a viewer at eye looking along the heading sees it: each triangle wound clockwise
// on the screen (the side the device draws) when it shows its face, and its picture upright,
// reading left to right: a lower tu lies further left on the screen, a lower tv higher up.
void ExpectPictureUpright(const RecordedDraw& draw, Vector3 eye, double heading, bool face = true)
{
    const double rightX = std::cos(heading), rightZ = -std::sin(heading);
    auto screenX = [&](const SceneVertex& v) {
        Vector3 p = TransformByMatrix(draw.world, {v.x, v.y, v.z});
        return (p.x - eye.x) * rightX + (p.z - eye.z) * rightZ;
    };
    auto screenY = [&](const SceneVertex& v) { return TransformByMatrix(draw.world, {v.x, v.y, v.z}).y; };
    for (const DrawnTriangle& t : TrianglesOf(draw)) {
        double area = (screenX(t.b) - screenX(t.a)) * (screenY(t.c) - screenY(t.a)) -
                      (screenX(t.c) - screenX(t.a)) * (screenY(t.b) - screenY(t.a));
        EXPECT_TRUE(face ? area < 0.0 : area > 0.0) << area;
    }
    if (!face)
        return;
    for (const SceneVertex& p : draw.vertices) {
        for (const SceneVertex& q : draw.vertices) {
            if (p.tu < q.tu)
                EXPECT_LT(screenX(p), screenX(q) - 0.1);
            if (p.tv < q.tv)
                EXPECT_GT(screenY(p), screenY(q) + 0.1);
        }
    }
}

}  // namespace

TEST(ObjectDrawer, SignBoardsByCodeAndBlinkPhase)
{
    const struct {
        int32_t code;
        float halfWidth, height;
        const char* phase0;
        const char* phase1;  // "gras.bmp": the texture set before stays
    } cases[] = {
        {SignLineSpeed, 0.3f, 5.0f, "sign0001.bmp", "sign0001.bmp"},
        {SignStop, 0.3f, 5.0f, "sign0002.bmp", "sign0002.bmp"},
        {SignLimit40, 0.3f, 5.0f, "sign0003.bmp", "sign0003.bmp"},
        {SignExpectStop, 0.5f, 4.0f, "sign0011.bmp", "sign0014.bmp"},
        {SignExpect40, 0.5f, 4.0f, "sign0012.bmp", "sign0014.bmp"},
        {SignExpectLineSpeed, 0.5f, 4.0f, "sign0013.bmp", "sign0014.bmp"},
        {0, 0.3f, 5.0f, "gras.bmp", "gras.bmp"}, {5, 0.3f, 5.0f, "gras.bmp", "gras.bmp"}, {20, 0.5f, 4.0f, "gras.bmp", "gras.bmp"},
        {SignDestination, 0.0f, 0.0f, nullptr, nullptr},  // never drawn
    };
    for (const auto& c : cases) {
        for (int32_t phase : {0, 1}) {
            SCOPED_TRACE(testing::Message() << "code " << c.code << " phase " << phase);
            ObjectFixture fixture;
            fixture.world->signBlinkPhase = phase;
            TrackSegment segment = StraightSegment(10.0f, 20.0f, 0.0f, 100.0f);
            segment.signPresent = 1;
            segment.forwardSign = c.code;
            const SceneFrame frame = fixture.Frame();
            fixture.device.SetTexture(frame.textures.grass);
            const size_t callsBefore = fixture.device.calls.size();
            DrawSegmentSign(frame, segment);
            if (c.phase0 == nullptr) {
                EXPECT_EQ(fixture.device.calls.size(), callsBefore);
                continue;
            }
            ASSERT_EQ(fixture.device.draws.size(), 1u);
            const RecordedDraw& board = fixture.device.draws[0];
            EXPECT_EQ(board.texture, phase == 0 ? c.phase0 : c.phase1);
            EXPECT_EQ(board.material.diffuse.red + board.material.ambient.blue, 4.0f);
            EXPECT_EQ(std::tuple(board.vertices.at(0).x, board.vertices[0].y, board.vertices[2].x, board.vertices[2].y),
                      std::tuple(-c.halfWidth, c.height, c.halfWidth, 0.0f));
        }
    }
}

TEST(ObjectDrawer, TreeBoardFacesThePlayersTrainAndSignsAndTreesReach1000Metres)
{
    for (auto [treeX, treeZ] : {std::pair{100.0f, 100.0f}, {-30.0f, 5.0f}, {0.0f, -400.0f}, {250.0f, 0.0f}}) {
        SCOPED_TRACE(testing::Message() << treeX << ", " << treeZ);
        ObjectFixture fixture;
        PlacePlayer(*fixture.world, 20.0f, -10.0f);
        DrawTreeBillboard(fixture.Frame(10000.0f, 0.0f), 20.0f + treeX, -1.0f, -10.0f + treeZ);
        const RecordedDraw& board = fixture.device.draws.at(0);
        EXPECT_EQ(board.texture, "tree1.bmp");
        EXPECT_EQ(board.vertices[1].x * 100 + board.vertices[1].y, 210.0f);
        EXPECT_EQ(board.world.m[3][0], 10020.0f + treeX);
        EXPECT_EQ(board.world.m[3][1], -1.0f);
        ExpectPictureUpright(board, {10020.0f, 2.5f, -10.0f}, std::atan2(treeX, treeZ));
    }
    for (float beyond : {0.0f, 0.01f}) {
        ObjectFixture fixture;
        PlacePlayer(*fixture.world, 0.0f, 0.0f);
        // Heading 0: the sign stands 2 m towards -x from the segment's start.
        TrackSegment segment = StraightSegment(1002.0f + beyond, 0.0f, 0.0f, 100.0f);
        segment.forwardSign = SignLineSpeed;
        DrawSegmentSign(fixture.Frame(), segment);
        DrawTreeBillboard(fixture.Frame(), 600.0f, 0.0f, -800.0f - beyond);
        EXPECT_EQ(fixture.device.draws.size(), beyond == 0.0f ? 2u : 0u);
    }
}

namespace {

constexpr int32_t TestModelType = 50;

void AddPart(ModelLibrary& library, int32_t kind, int32_t vertexCount, std::vector<int32_t> indexes,
             int32_t textureId, float red = 0.0f, float green = 0.0f, float blue = 0.0f)
{
    ModelPart& part = library.parts[library.partCount++];
    part = {kind, library.vertexCount, vertexCount, library.indexCount, static_cast<int32_t>(indexes.size()),
            textureId, red, green, blue};
    for (int32_t i = 0; i < vertexCount; ++i) {
        float n = static_cast<float>(library.vertexCount);
        library.vertices[library.vertexCount++] = {n, n + 0.5f, -n, 0.0f, 1.0f, 0.0f, 0.25f, 0.75f};
    }
    for (int32_t index : indexes)
        library.indexes[library.indexCount++] = index;
}

}  // namespace

// A model whose parts try every material rule of the drawer, placed, turned and drawn up to its
// own draw distance.
TEST(ObjectDrawer, ModelPartsTakeTheirTextureOrColourAndTheirKind)
{
    ObjectFixture fixture;
    ModelLibrary& library = fixture.world->models;
    AddPart(library, PartTriangleList, 3, {0, 1, 2}, TextureNone, 0.8f, 0.4f, 0.2f);
    AddPart(library, PartTriangleStrip, 4, {0x10000, 1, 2, 3}, TextureDisc);  // the low 16 bits count
    AddPart(library, PartTriangleFan, 4, {0, 1, 2, 3}, 23);             // keeps the state before it
    AddPart(library, 4, 3, {0, 1, 2}, TextureNone, 0.1f, 0.2f, 0.3f);  // sets its colour, draws nothing
    AddPart(library, PartTriangleList, 3, {2, 1, 0}, -1);              // drawn in that colour
    AddPart(library, PartTriangleList, 1001, {0, 1, 2}, TextureWheel);  // too big to copy: skipped
    AddPart(library, PartTriangleList, 3, {0, 1, 3}, TextureWheel);     // points past its vertices: skipped
    AddPart(library, PartTriangleList, 3, {0, 2, 1}, TextureControlRoof);
    library.models[TestModelType] = {0, library.partCount, 250.0f};
    PlacePlayer(*fixture.world, 30.0f - 150.0f, -40.0f - 200.0f);
    DrawModelObject(fixture.Frame(-10000.0f, 20000.0f), {TestModelType, 30.0f, 2.0f, -40.0f, 0.1f, 1.2f, 0.0f, 0});

    const auto& draws = fixture.device.draws;
    ASSERT_EQ(draws.size(), 5u);
    const char* textures[5] = {"", "C.BMP", "C.BMP", "", "CONTROLR.BMP"};
    const int kinds[5] = {1, 2, 3, 1, 1};
    // Untextured: a quarter of the colour as diffuse, the colour as ambient; textured: half
    // diffuse, full ambient and specular.
    const float diffuse[5][3] = {{0.2f, 0.1f, 0.05f}, {0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f},
                                 {0.025f, 0.05f, 0.075f}, {0.5f, 0.5f, 0.5f}};
    const float ambientRed[5] = {0.8f, 1.0f, 1.0f, 0.1f, 1.0f};
    const Matrix4 turned = MakeWorldMatrix({30.0f - 10000.0f, 2.0f, -40.0f + 20000.0f}, 0.1f, 1.2f, 0.0f);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(strcasecmp(draws[i].texture.c_str(), textures[i]), 0) << draws[i].texture;
        EXPECT_EQ(static_cast<int>(draws[i].kind), kinds[i]);
        EXPECT_FLOAT_EQ(draws[i].material.diffuse.red, diffuse[i][0]);
        EXPECT_FLOAT_EQ(draws[i].material.diffuse.green, diffuse[i][1]);
        EXPECT_FLOAT_EQ(draws[i].material.diffuse.blue, diffuse[i][2]);
        EXPECT_FLOAT_EQ(draws[i].material.ambient.red, ambientRed[i]);
        EXPECT_EQ(draws[i].material.specular.red + draws[i].material.ambient.alpha + draws[i].material.power, 2.0f);
        EXPECT_EQ(0, std::memcmp(&draws[i].world, &turned, sizeof(Matrix4)));
    }
    EXPECT_EQ(draws[1].vertices.at(0).x * 100 - draws[1].vertices.at(3).z + draws[1].vertices[3].tv, 306.75f);
    EXPECT_EQ(std::tie(draws[1].indexes, draws[3].indexes), std::tuple(std::vector<uint16_t>{0, 1, 2, 3}, std::vector<uint16_t>{2, 1, 0}));

    // One centimetre beyond its draw distance the model is left out.
    fixture.device.ClearRecord();
    DrawModelObject(fixture.Frame(), {TestModelType, 30.0f, 2.0f, -39.99f, 0.1f, 1.2f, 0.0f, 0});
    EXPECT_EQ(fixture.device.draws.size(), 0u);
}
