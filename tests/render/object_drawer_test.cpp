#include "render/render_local.h"

#include <gtest/gtest.h>
#include <strings.h>

#include <cmath>

#include "scene_test_support.h"

namespace {

struct ObjectFixture {
    std::unique_ptr<World> world = MakeTestWorld();
    RecordingDevice device{world->textures};

    SceneFrame Frame(float originShiftX = 0.0f, float originShiftZ = 0.0f)
    {
        return MakeSceneFrame(device, *world, originShiftX, originShiftZ);
    }
};

// Twice the signed area of a triangle as a viewer at eye, looking along the heading, sees it
// (right and up on the screen): negative when clockwise, the side the device draws.
double SignedAreaSeenFrom(Vector3 eye, double heading, Vector3 a, Vector3 b, Vector3 c)
{
    const double rightX = std::cos(heading), rightZ = -std::sin(heading);
    auto screen = [&](Vector3 p) {
        return std::pair<double, double>{(p.x - eye.x) * rightX + (p.z - eye.z) * rightZ, p.y - eye.y};
    };
    auto [ax, ay] = screen(a);
    auto [bx, by] = screen(b);
    auto [cx, cy] = screen(c);
    return (bx - ax) * (cy - ay) - (cx - ax) * (by - ay);
}

// The board's two triangles as placed in the world.
std::vector<std::array<Vector3, 3>> PlacedTriangles(const RecordedDraw& draw)
{
    std::vector<std::array<Vector3, 3>> triangles;
    for (const DrawnTriangle& t : TrianglesOf(draw)) {
        triangles.push_back({TransformByMatrix(draw.world, {t.a.x, t.a.y, t.a.z}),
                             TransformByMatrix(draw.world, {t.b.x, t.b.y, t.b.z}),
                             TransformByMatrix(draw.world, {t.c.x, t.c.y, t.c.z})});
    }
    return triangles;
}

// The picture of a board stands upright and reads left to right for the viewer it faces: a
// lower tu lies further left on the screen, a lower tv higher up.
void ExpectPictureUpright(const RecordedDraw& draw, Vector3 eye, double heading)
{
    const double rightX = std::cos(heading), rightZ = -std::sin(heading);
    for (const SceneVertex& p : draw.vertices) {
        for (const SceneVertex& q : draw.vertices) {
            Vector3 a = TransformByMatrix(draw.world, {p.x, p.y, p.z});
            Vector3 b = TransformByMatrix(draw.world, {q.x, q.y, q.z});
            double screenA = (a.x - eye.x) * rightX + (a.z - eye.z) * rightZ;
            double screenB = (b.x - eye.x) * rightX + (b.z - eye.z) * rightZ;
            if (p.tu < q.tu)
                EXPECT_LT(screenA, screenB - 0.1);
            if (p.tv < q.tv)
                EXPECT_GT(a.y, b.y + 0.1);
        }
    }
}

bool SameName(const std::string& a, const char* b)
{
    return strcasecmp(a.c_str(), b) == 0;
}

}  // namespace

TEST(ObjectDrawer, SignBoardsByCodeAndBlinkPhase)
{
    struct Case {
        int32_t code;
        float halfWidth, height;
        const char* phase0;
        const char* phase1;  // nullptr: the texture set before stays
    };
    const Case cases[] = {
        {SignLineSpeed, 0.3f, 5.0f, "sign0001.bmp", "sign0001.bmp"},
        {SignStop, 0.3f, 5.0f, "sign0002.bmp", "sign0002.bmp"},
        {SignLimit40, 0.3f, 5.0f, "sign0003.bmp", "sign0003.bmp"},
        {SignExpectStop, 0.5f, 4.0f, "sign0011.bmp", "sign0014.bmp"},
        {SignExpect40, 0.5f, 4.0f, "sign0012.bmp", "sign0014.bmp"},
        {SignExpectLineSpeed, 0.5f, 4.0f, "sign0013.bmp", "sign0014.bmp"},
        {0, 0.3f, 5.0f, nullptr, nullptr},
        {5, 0.3f, 5.0f, nullptr, nullptr},
        {20, 0.5f, 4.0f, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        for (int32_t phase : {0, 1}) {
            SCOPED_TRACE(testing::Message() << "code " << c.code << " phase " << phase);
            ObjectFixture fixture;
            fixture.world->signBlinkPhase = phase;
            TrackSegment segment = StraightSegment(10.0f, 20.0f, 0.0f, 100.0f);
            segment.signPresent = 1;
            segment.forwardSign = c.code;
            const SceneFrame frame = fixture.Frame();
            fixture.device.SetTexture(frame.textures.grass);
            DrawSegmentSign(frame, segment);

            ASSERT_EQ(fixture.device.draws.size(), 1u);
            const RecordedDraw& board = fixture.device.draws[0];
            const char* expected = phase == 0 ? c.phase0 : c.phase1;
            EXPECT_EQ(board.texture, expected ? expected : "gras.bmp");
            EXPECT_EQ(board.material.diffuse.red, 2.0f);
            EXPECT_EQ(board.material.ambient.blue, 2.0f);
            ASSERT_EQ(board.vertices.size(), 4u);
            EXPECT_EQ(board.vertices[0].x, -c.halfWidth);
            EXPECT_EQ(board.vertices[0].y, c.height);
            EXPECT_EQ(board.vertices[2].x, c.halfWidth);
            EXPECT_EQ(board.vertices[2].y, 0.0f);
            EXPECT_EQ(board.indexes, (std::vector<uint16_t>{0, 1, 2, 0, 2, 3}));
        }
    }
}

TEST(ObjectDrawer, DestinationSignIsNeverDrawn)
{
    ObjectFixture fixture;
    TrackSegment segment = StraightSegment(0.0f, 0.0f, 0.0f, 50.0f);
    segment.signPresent = 9;
    segment.forwardSign = SignDestination;
    DrawSegmentSign(fixture.Frame(), segment);
    EXPECT_EQ(fixture.device.CountCalls(DeviceCall::DrawIndexed), 0);
    EXPECT_EQ(fixture.device.CountCalls(DeviceCall::SetTexture), 0);
    EXPECT_EQ(fixture.device.CountCalls(DeviceCall::SetWorldTransform), 0);
}

TEST(ObjectDrawer, SignStandsTwoMetresLeftOfTheStartFacingForwardTraffic)
{
    ObjectFixture fixture;
    const float heading = 0.7f;
    TrackSegment segment = StraightSegment(100.0f, 200.0f, heading, 100.0f);
    segment.startHeight = 3.0f;
    segment.forwardSign = SignStop;
    PlacePlayer(*fixture.world, 100.0f, 150.0f);
    DrawSegmentSign(fixture.Frame(-10000.0f, 10000.0f), segment);
    ASSERT_EQ(fixture.device.draws.size(), 1u);
    const RecordedDraw& board = fixture.device.draws[0];

    const double signX = 100.0 - 2.0 * std::cos(heading);
    const double signZ = 200.0 + 2.0 * std::sin(heading);
    EXPECT_NEAR(board.world.m[3][0], signX - 10000.0, 1e-3);
    EXPECT_EQ(board.world.m[3][1], 3.0f);
    EXPECT_NEAR(board.world.m[3][2], signZ + 10000.0, 1e-3);

    // A driver 20 m before the sign sees the picture; from beyond it the board is culled.
    const Vector3 approaching = {static_cast<float>(signX - 10000.0 - 20.0 * std::sin(heading)), 5.0f,
                                 static_cast<float>(signZ + 10000.0 - 20.0 * std::cos(heading))};
    const Vector3 beyond = {static_cast<float>(signX - 10000.0 + 20.0 * std::sin(heading)), 5.0f,
                            static_cast<float>(signZ + 10000.0 + 20.0 * std::cos(heading))};
    for (const auto& t : PlacedTriangles(board)) {
        EXPECT_LT(SignedAreaSeenFrom(approaching, heading, t[0], t[1], t[2]), 0.0);
        EXPECT_GT(SignedAreaSeenFrom(beyond, heading + 3.1415926, t[0], t[1], t[2]), 0.0);
    }
    ExpectPictureUpright(board, approaching, heading);
}

TEST(ObjectDrawer, SignAndTreeExactly1000MetresAwayAreDrawn)
{
    for (float beyond : {0.0f, 0.01f}) {
        SCOPED_TRACE(beyond);
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

TEST(ObjectDrawer, TreeBoardFacesThePlayersTrain)
{
    struct Case {
        float treeX, treeZ;
    };
    const Case cases[] = {{100.0f, 100.0f}, {-30.0f, 5.0f}, {0.0f, -400.0f}, {250.0f, 0.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.treeX << ", " << c.treeZ);
        ObjectFixture fixture;
        PlacePlayer(*fixture.world, 20.0f, -10.0f);
        DrawTreeBillboard(fixture.Frame(10000.0f, 0.0f), 20.0f + c.treeX, -1.0f, -10.0f + c.treeZ);
        ASSERT_EQ(fixture.device.draws.size(), 1u);
        const RecordedDraw& board = fixture.device.draws[0];
        EXPECT_EQ(board.texture, "tree1.bmp");
        EXPECT_EQ(board.material.diffuse.red, 1.0f);
        EXPECT_EQ(board.vertices[1].x, 2.0f);
        EXPECT_EQ(board.vertices[1].y, 10.0f);

        // The board's own +z points from the train to the tree.
        const double length = std::hypot(c.treeX, c.treeZ);
        EXPECT_NEAR(board.world.m[2][0], c.treeX / length, 1e-5);
        EXPECT_NEAR(board.world.m[2][2], c.treeZ / length, 1e-5);
        EXPECT_EQ(board.world.m[3][0], 10020.0f + c.treeX);
        EXPECT_EQ(board.world.m[3][1], -1.0f);

        // Seen from the train it shows its face.
        const double heading = std::atan2(c.treeX, c.treeZ);
        const Vector3 train = {10020.0f, 2.5f, -10.0f};
        for (const auto& t : PlacedTriangles(board))
            EXPECT_LT(SignedAreaSeenFrom(train, heading, t[0], t[1], t[2]), 0.0);
        ExpectPictureUpright(board, train, heading);
    }
}

namespace {

// A model of type 50 whose parts try every material rule of the drawer.
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

TEST(ObjectDrawer, ModelPartsTakeTheirTextureOrColourAndTheirKind)
{
    ObjectFixture fixture;
    ModelLibrary& library = fixture.world->models;
    AddPart(library, PartTriangleList, 3, {0, 1, 2}, TextureNone, 0.8f, 0.4f, 0.2f);
    // The pool's 32-bit entries are drawn by their low 16 bits.
    AddPart(library, PartTriangleStrip, 4, {0x10000, 1, 2, 3}, TextureDisc);
    AddPart(library, PartTriangleFan, 4, {0, 1, 2, 3}, 23);          // keeps the state before it
    AddPart(library, 4, 3, {0, 1, 2}, TextureNone, 0.1f, 0.2f, 0.3f);  // sets its colour, draws nothing
    AddPart(library, PartTriangleList, 3, {2, 1, 0}, -1);            // drawn in that colour
    AddPart(library, PartTriangleList, 1001, {0, 1, 2}, TextureWheel);  // too big to copy: skipped
    AddPart(library, PartTriangleList, 3, {0, 1, 3}, TextureWheel);     // points past its vertices: skipped
    AddPart(library, PartTriangleList, 3, {0, 2, 1}, TextureControlRoof);
    library.models[TestModelType] = {0, library.partCount, 100.0f};

    SceneryObject object = {TestModelType, 30.0f, 2.0f, -40.0f, 0.1f, 1.2f, 0.0f, 0};
    DrawModelObject(fixture.Frame(-10000.0f, 20000.0f), object);

    const auto& draws = fixture.device.draws;
    ASSERT_EQ(draws.size(), 5u);
    const PrimitiveKind kinds[5] = {PrimitiveKind::TriangleList, PrimitiveKind::TriangleStrip,
                                    PrimitiveKind::TriangleFan, PrimitiveKind::TriangleList,
                                    PrimitiveKind::TriangleList};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(draws[i].kind, kinds[i]) << i;

    // Untextured: a quarter of the colour as diffuse, the colour itself as ambient.
    EXPECT_EQ(draws[0].texture, "");
    EXPECT_FLOAT_EQ(draws[0].material.diffuse.red, 0.2f);
    EXPECT_FLOAT_EQ(draws[0].material.diffuse.green, 0.1f);
    EXPECT_FLOAT_EQ(draws[0].material.diffuse.blue, 0.05f);
    EXPECT_EQ(draws[0].material.ambient.red, 0.8f);
    EXPECT_EQ(draws[0].material.ambient.alpha, 1.0f);
    EXPECT_EQ(draws[0].material.specular.red, 1.0f);
    EXPECT_EQ(draws[0].material.emissive.red, 0.0f);
    EXPECT_EQ(draws[0].material.power, 0.0f);

    // Textured: half diffuse, full ambient and specular.
    for (int i : {1, 2, 4}) {
        EXPECT_EQ(draws[i].material.diffuse.red, 0.5f) << i;
        EXPECT_EQ(draws[i].material.ambient.green, 1.0f) << i;
        EXPECT_EQ(draws[i].material.specular.blue, 1.0f) << i;
    }
    EXPECT_TRUE(SameName(draws[1].texture, "C.BMP"));
    EXPECT_TRUE(SameName(draws[2].texture, "C.BMP"));
    EXPECT_TRUE(SameName(draws[4].texture, "CONTROLR.BMP"));

    // The part with the unknown id is drawn with the colour the undrawn part set.
    EXPECT_EQ(draws[3].texture, "");
    EXPECT_FLOAT_EQ(draws[3].material.diffuse.blue, 0.075f);
    EXPECT_EQ(draws[3].material.ambient.green, 0.2f);

    EXPECT_EQ(draws[1].indexes, (std::vector<uint16_t>{0, 1, 2, 3}));
    ASSERT_EQ(draws[1].vertices.size(), 4u);
    EXPECT_EQ(draws[1].vertices[0].x, 3.0f);
    EXPECT_EQ(draws[1].vertices[3].z, -6.0f);
    EXPECT_EQ(draws[1].vertices[3].tv, 0.75f);
    EXPECT_EQ(draws[3].indexes, (std::vector<uint16_t>{2, 1, 0}));

    for (const RecordedDraw& draw : draws) {
        EXPECT_EQ(draw.world.m[3][0], 30.0f - 10000.0f);
        EXPECT_EQ(draw.world.m[3][1], 2.0f);
        EXPECT_EQ(draw.world.m[3][2], -40.0f + 20000.0f);
        Matrix4 turned = MakeWorldMatrix({0.0f, 0.0f, 0.0f}, 0.1f, 1.2f, 0.0f);
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 3; ++column)
                EXPECT_EQ(draw.world.m[row][column], turned.m[row][column]);
        }
    }
}

TEST(ObjectDrawer, ModelIsDrawnUpToItsOwnDrawDistance)
{
    for (float beyond : {0.0f, 0.01f}) {
        ObjectFixture fixture;
        ModelLibrary& library = fixture.world->models;
        AddPart(library, PartTriangleList, 3, {0, 1, 2}, TextureNone, 1.0f, 1.0f, 1.0f);
        library.models[TestModelType] = {0, 1, 250.0f};
        PlacePlayer(*fixture.world, -50.0f, 0.0f);
        DrawModelObject(fixture.Frame(), {TestModelType, -50.0f + 150.0f, 0.0f, 200.0f + beyond, 0, 0, 0, 0});
        EXPECT_EQ(fixture.device.draws.size(), beyond == 0.0f ? 1u : 0u) << beyond;
    }
}

