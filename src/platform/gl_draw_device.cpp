// The scene's draw device over OpenGL 3.3 core.
//
// [SECTION] Programs: one vertex program that lights and transforms (unbatched), one that takes
//           lit world-space vertices (batched), and fragment programs for untextured, textured
//           and alpha-tested textured surfaces.
// [SECTION] State and the DrawDevice operations.
// [SECTION] Unbatched drawing: each draw uploaded into a ring buffer and drawn at once.
// [SECTION] Batched drawing: vertices lit and moved to world space on the CPU, kept in one bucket
//           per texture, and drawn bucket by bucket when the scene ends.

#include <epoxy/gl.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "device/texture_store.h"
#include "platform/gl_draw_device.h"

namespace {

// [SECTION] Programs

// The matrices are stored row by row for row vectors (p x M). Read as OpenGL's column-major
// matrices they are transposed, so M * p in the programs computes exactly p x M.
constexpr const char* SceneBlockSource = R"(
layout(std140) uniform SceneBlock {
    mat4 view;
    mat4 projection;
    vec4 ambientLight;
    vec4 lightDirection[2];
    vec4 lightColour[2];
    ivec4 lightCount;
    vec4 alphaReference;
};

// The projection gives depths from 0 at the near plane to w at the far plane; OpenGL clips
// depth from -w to w, so the depth is stretched onto that range, keeping every depth's order.
vec4 ToClipSpace(vec4 clip)
{
    return vec4(clip.xy, 2.0 * clip.z - clip.w, clip.w);
}
)";

constexpr const char* UnbatchedVertexSource = R"(
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 texCoord;

uniform mat4 world;
uniform vec4 materialDiffuse;
uniform vec4 materialAmbient;
uniform vec4 materialEmissive;

out vec4 litColour;
out vec2 surfaceCoord;

void main()
{
    gl_Position = ToClipSpace(projection * (view * (world * vec4(position, 1.0))));
    // Normals are used as the scene gives them: turned by the world matrix, never normalised.
    vec3 worldNormal = mat3(world) * normal;
    vec3 colour = materialEmissive.rgb + materialAmbient.rgb * ambientLight.rgb;
    for (int i = 0; i < lightCount.x; ++i)
        colour += materialDiffuse.rgb * lightColour[i].rgb * max(0.0, -dot(worldNormal, lightDirection[i].xyz));
    litColour = clamp(vec4(colour, materialDiffuse.a), 0.0, 1.0);
    surfaceCoord = texCoord;
}
)";

constexpr const char* BatchedVertexSource = R"(
layout(location = 0) in vec3 position;
layout(location = 2) in vec2 texCoord;
layout(location = 3) in vec4 colour;

out vec4 litColour;
out vec2 surfaceCoord;

void main()
{
    gl_Position = ToClipSpace(projection * (view * vec4(position, 1.0)));
    litColour = colour;
    surfaceCoord = texCoord;
}
)";

// The texture modulates the lit colour; the alpha is the texture's own, and alpha-keyed texels
// fail the alpha test.
constexpr const char* FragmentSource = R"(
in vec4 litColour;
in vec2 surfaceCoord;
out vec4 fragmentColour;

uniform sampler2D surfaceTexture;

void main()
{
#ifdef TEXTURED
    vec4 texel = texture(surfaceTexture, surfaceCoord);
    fragmentColour = vec4(texel.rgb * litColour.rgb, texel.a);
#ifdef ALPHA_TEST
    if (fragmentColour.a < alphaReference.x)
        discard;
#endif
#else
    fragmentColour = vec4(litColour.rgb, 1.0);
#endif
}
)";

enum SurfaceKind { SurfaceUntextured = 0, SurfaceTextured = 1, SurfaceAlphaTested = 2, SurfaceKindCount = 3 };

struct SceneBlock {
    float view[16];
    float projection[16];
    float ambientLight[4];
    float lightDirection[2][4];
    float lightColour[2][4];
    int32_t lightCount[4];
    float alphaReference[4];
};
static_assert(sizeof(SceneBlock) == 240, "laid out as std140");

struct Program {
    GLuint name;
    GLint world, diffuse, ambient, emissive;
};

struct BatchVertex {
    float x, y, z;
    float u, v;
    uint8_t colour[4];
};
static_assert(sizeof(BatchVertex) == 24, "packed as the vertex layout says");

struct Bucket {
    TextureHandle texture;
    std::vector<BatchVertex> vertices;
    std::vector<uint32_t> indices;
};

constexpr GLsizeiptr RingVertexBytes = 4 << 20;
constexpr GLsizeiptr RingIndexBytes = 1 << 20;

GLuint CompileShader(GLenum stage, const char* defines, const char* const* parts, int partCount)
{
    std::vector<const char*> sources{"#version 330 core\n", defines};
    for (int i = 0; i < partCount; ++i)
        sources.push_back(parts[i]);
    GLuint shader = glCreateShader(stage);
    glShaderSource(shader, static_cast<GLsizei>(sources.size()), sources.data(), nullptr);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (!compiled) {
        char log[1024] = {};
        glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        std::fprintf(stderr, "tagvind: shader does not compile: %s\n", log);
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

Program LinkProgram(bool batched, SurfaceKind kind)
{
    Program program{};
    const char* vertexParts[] = {SceneBlockSource, batched ? BatchedVertexSource : UnbatchedVertexSource};
    const char* fragmentParts[] = {SceneBlockSource, FragmentSource};
    const char* defines = kind == SurfaceUntextured ? "\n"
                          : kind == SurfaceTextured ? "#define TEXTURED\n"
                                                    : "#define TEXTURED\n#define ALPHA_TEST\n";
    GLuint vertex = CompileShader(GL_VERTEX_SHADER, "\n", vertexParts, 2);
    GLuint fragment = CompileShader(GL_FRAGMENT_SHADER, defines, fragmentParts, 2);
    if (vertex == 0 || fragment == 0) {
        glDeleteShader(vertex);
        glDeleteShader(fragment);
        return program;
    }
    GLuint name = glCreateProgram();
    glAttachShader(name, vertex);
    glAttachShader(name, fragment);
    glLinkProgram(name);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint linked = GL_FALSE;
    glGetProgramiv(name, GL_LINK_STATUS, &linked);
    if (!linked) {
        char log[1024] = {};
        glGetProgramInfoLog(name, sizeof log, nullptr, log);
        std::fprintf(stderr, "tagvind: shader program does not link: %s\n", log);
        glDeleteProgram(name);
        return program;
    }
    program.name = name;
    GLuint block = glGetUniformBlockIndex(name, "SceneBlock");
    if (block != GL_INVALID_INDEX)
        glUniformBlockBinding(name, block, 0);
    program.world = glGetUniformLocation(name, "world");
    program.diffuse = glGetUniformLocation(name, "materialDiffuse");
    program.ambient = glGetUniformLocation(name, "materialAmbient");
    program.emissive = glGetUniformLocation(name, "materialEmissive");
    glUseProgram(name);
    glUniform1i(glGetUniformLocation(name, "surfaceTexture"), 0);
    return program;
}

uint8_t ToByte(float channel)
{
    return static_cast<uint8_t>(channel * 255.0f + 0.5f);
}

int TrianglesOf(PrimitiveKind kind, int indexCount)
{
    if (kind == PrimitiveKind::TriangleList)
        return indexCount / 3;
    return indexCount >= 3 ? indexCount - 2 : 0;
}

GLenum GlModeOf(PrimitiveKind kind)
{
    switch (kind) {
    case PrimitiveKind::TriangleStrip: return GL_TRIANGLE_STRIP;
    case PrimitiveKind::TriangleFan: return GL_TRIANGLE_FAN;
    default: return GL_TRIANGLES;
    }
}

}  // namespace

// [SECTION] State and the DrawDevice operations

struct GlDrawDeviceState {
    bool created = false;
    bool batching = true;
    TextureStore* store = nullptr;

    Matrix4 world = IdentityMatrix();
    Matrix4 view = IdentityMatrix();
    Matrix4 projection = IdentityMatrix();
    SceneMaterial material = InitMaterial(1.0f, 1.0f, 1.0f);
    SceneLighting lighting = {};
    TextureHandle texture = NoTexture;
    bool alphaTest = false;
    int32_t alphaReference = 0;

    GLuint sceneBlockBuffer = 0;
    bool sceneBlockStale = true;
    Program unbatched[SurfaceKindCount] = {};
    Program batched[SurfaceKindCount] = {};

    GLuint unbatchedVertexArray = 0, unbatchedVertices = 0, unbatchedIndexes = 0;
    GLintptr vertexRingOffset = 0, indexRingOffset = 0;

    GLuint batchedVertexArray = 0, batchedVertices = 0, batchedIndexes = 0;
    std::vector<Bucket> buckets;
    int32_t bucketsInUse = 0;
    std::vector<int32_t> bucketOfTexture;  // by texture handle; -1 when it has none yet

    DrawStats current = {};
    DrawStats last = {};
};

namespace {

// A handle that names no texture of the open device draws untextured.
TextureHandle ResolveTexture(const GlDrawDeviceState& state, TextureHandle texture)
{
    if (texture <= 0 || state.store == nullptr || texture > static_cast<TextureHandle>(state.store->entries.size()))
        return NoTexture;
    return state.store->entries[texture - 1].deviceTexture != 0 ? texture : NoTexture;
}

SurfaceKind SurfaceOf(const GlDrawDeviceState& state, TextureHandle texture)
{
    if (texture == NoTexture)
        return SurfaceUntextured;
    const TextureEntry& entry = state.store->entries[texture - 1];
    return state.alphaTest && entry.image.hasTransparentTexels ? SurfaceAlphaTested : SurfaceTextured;
}

void BindTexture(const GlDrawDeviceState& state, TextureHandle texture)
{
    glBindTexture(GL_TEXTURE_2D, texture == NoTexture ? 0 : state.store->entries[texture - 1].deviceTexture);
}

void UploadSceneBlock(GlDrawDeviceState& state)
{
    if (!state.sceneBlockStale)
        return;
    SceneBlock block{};
    std::memcpy(block.view, state.view.m, sizeof block.view);
    std::memcpy(block.projection, state.projection.m, sizeof block.projection);
    const SceneLighting& lighting = state.lighting;
    block.ambientLight[0] = lighting.ambient.red;
    block.ambientLight[1] = lighting.ambient.green;
    block.ambientLight[2] = lighting.ambient.blue;
    for (int32_t i = 0; i < lighting.lightCount && i < SceneLightCapacity; ++i) {
        block.lightDirection[i][0] = lighting.lights[i].direction.x;
        block.lightDirection[i][1] = lighting.lights[i].direction.y;
        block.lightDirection[i][2] = lighting.lights[i].direction.z;
        block.lightColour[i][0] = lighting.lights[i].colour.red;
        block.lightColour[i][1] = lighting.lights[i].colour.green;
        block.lightColour[i][2] = lighting.lights[i].colour.blue;
    }
    block.lightCount[0] = lighting.lightCount < SceneLightCapacity ? lighting.lightCount : SceneLightCapacity;
    block.alphaReference[0] = static_cast<float>(state.alphaReference) / 255.0f;
    glBindBuffer(GL_UNIFORM_BUFFER, state.sceneBlockBuffer);
    glBufferData(GL_UNIFORM_BUFFER, sizeof block, &block, GL_DYNAMIC_DRAW);
    glBindBufferBase(GL_UNIFORM_BUFFER, 0, state.sceneBlockBuffer);
    state.sceneBlockStale = false;
}

// A draw that names a vertex it was not given is refused as a whole, whichever path draws it.
bool IndexesFit(const uint16_t* indexes, int indexCount, int vertexCount)
{
    for (int i = 0; i < indexCount; ++i) {
        if (indexes[i] >= vertexCount)
            return false;
    }
    return true;
}

void DeleteObjects(GlDrawDeviceState& state)
{
    for (int kind = 0; kind < SurfaceKindCount; ++kind) {
        glDeleteProgram(state.unbatched[kind].name);
        glDeleteProgram(state.batched[kind].name);
        state.unbatched[kind] = {};
        state.batched[kind] = {};
    }
    GLuint arrays[] = {state.unbatchedVertexArray, state.batchedVertexArray};
    glDeleteVertexArrays(2, arrays);
    GLuint buffers[] = {state.sceneBlockBuffer, state.unbatchedVertices, state.unbatchedIndexes,
                        state.batchedVertices, state.batchedIndexes};
    glDeleteBuffers(5, buffers);
    state.unbatchedVertexArray = state.batchedVertexArray = 0;
    state.sceneBlockBuffer = state.unbatchedVertices = state.unbatchedIndexes = 0;
    state.batchedVertices = state.batchedIndexes = 0;
    state.created = false;
}

// [SECTION] Unbatched drawing

// Writes into the ring without waiting for the draws still reading its earlier parts; when the
// ring is full it gets fresh storage and starts again at its beginning.
GLintptr WriteRing(GLenum target, GLintptr& offset, GLsizeiptr capacity, const void* data, GLsizeiptr bytes,
                   GLsizeiptr alignment)
{
    offset = (offset + alignment - 1) / alignment * alignment;
    if (offset + bytes > capacity) {
        glBufferData(target, capacity, nullptr, GL_STREAM_DRAW);
        offset = 0;
    }
    void* target_memory = glMapBufferRange(target, offset, bytes,
                                           GL_MAP_WRITE_BIT | GL_MAP_UNSYNCHRONIZED_BIT | GL_MAP_INVALIDATE_RANGE_BIT);
    if (target_memory == nullptr)
        return -1;
    std::memcpy(target_memory, data, static_cast<size_t>(bytes));
    glUnmapBuffer(target);
    GLintptr written = offset;
    offset += bytes;
    return written;
}

void DrawUnbatched(GlDrawDeviceState& state, PrimitiveKind kind, const SceneVertex* vertices, int vertexCount,
                   const uint16_t* indexes, int indexCount)
{
    GLsizeiptr vertexBytes = static_cast<GLsizeiptr>(vertexCount) * static_cast<GLsizeiptr>(sizeof(SceneVertex));
    GLsizeiptr indexBytes = static_cast<GLsizeiptr>(indexCount) * 2;
    if (vertexBytes > RingVertexBytes || indexBytes > RingIndexBytes) {
        state.current.refusedDraws += 1;
        return;
    }
    TextureHandle texture = ResolveTexture(state, state.texture);
    const Program& program = state.unbatched[SurfaceOf(state, texture)];
    UploadSceneBlock(state);
    glUseProgram(program.name);
    glUniformMatrix4fv(program.world, 1, GL_FALSE, &state.world.m[0][0]);
    glUniform4fv(program.diffuse, 1, &state.material.diffuse.red);
    glUniform4fv(program.ambient, 1, &state.material.ambient.red);
    glUniform4fv(program.emissive, 1, &state.material.emissive.red);
    BindTexture(state, texture);

    glBindVertexArray(state.unbatchedVertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, state.unbatchedVertices);
    GLintptr vertexOffset = WriteRing(GL_ARRAY_BUFFER, state.vertexRingOffset, RingVertexBytes, vertices, vertexBytes,
                                      sizeof(SceneVertex));
    GLintptr indexOffset =
        WriteRing(GL_ELEMENT_ARRAY_BUFFER, state.indexRingOffset, RingIndexBytes, indexes, indexBytes, 4);
    if (vertexOffset < 0 || indexOffset < 0) {
        state.current.refusedDraws += 1;
        return;
    }
    glDrawElementsBaseVertex(GlModeOf(kind), indexCount, GL_UNSIGNED_SHORT, reinterpret_cast<void*>(indexOffset),
                             static_cast<GLint>(vertexOffset / static_cast<GLintptr>(sizeof(SceneVertex))));
    state.current.glDrawCalls += 1;
    state.current.triangles += TrianglesOf(kind, indexCount);
}

// [SECTION] Batched drawing

Bucket& BucketFor(GlDrawDeviceState& state, TextureHandle texture)
{
    if (static_cast<size_t>(texture) >= state.bucketOfTexture.size())
        state.bucketOfTexture.resize(static_cast<size_t>(texture) + 1, -1);
    int32_t& slot = state.bucketOfTexture[texture];
    if (slot < 0) {
        if (state.bucketsInUse == static_cast<int32_t>(state.buckets.size()))
            state.buckets.emplace_back();
        slot = state.bucketsInUse++;
        state.buckets[slot].texture = texture;
    }
    return state.buckets[slot];
}

void AppendBatched(GlDrawDeviceState& state, PrimitiveKind kind, const SceneVertex* vertices, int vertexCount,
                   const uint16_t* indexes, int indexCount)
{
    TextureHandle texture = ResolveTexture(state, state.texture);
    Bucket& bucket = BucketFor(state, texture);
    uint32_t base = static_cast<uint32_t>(bucket.vertices.size());
    const float(*m)[4] = state.world.m;
    // The world matrices of the scene are rotations and translations: the point takes the whole
    // matrix, the normal only its rotation, which keeps its length.
    for (int i = 0; i < vertexCount; ++i) {
        const SceneVertex& v = vertices[i];
        BatchVertex out;
        out.x = v.x * m[0][0] + v.y * m[1][0] + v.z * m[2][0] + m[3][0];
        out.y = v.x * m[0][1] + v.y * m[1][1] + v.z * m[2][1] + m[3][1];
        out.z = v.x * m[0][2] + v.y * m[1][2] + v.z * m[2][2] + m[3][2];
        out.u = v.tu;
        out.v = v.tv;
        Vector3 normal = {v.nx * m[0][0] + v.ny * m[1][0] + v.nz * m[2][0],
                          v.nx * m[0][1] + v.ny * m[1][1] + v.nz * m[2][1],
                          v.nx * m[0][2] + v.ny * m[1][2] + v.nz * m[2][2]};
        Colour4 lit = LightVertex(state.lighting, state.material, normal);
        out.colour[0] = ToByte(lit.red);
        out.colour[1] = ToByte(lit.green);
        out.colour[2] = ToByte(lit.blue);
        out.colour[3] = ToByte(lit.alpha);
        bucket.vertices.push_back(out);
    }
    // Strips and fans become lists. A strip's odd triangles swap their first two corners so that
    // every triangle keeps the winding of the first.
    switch (kind) {
    case PrimitiveKind::TriangleList:
        for (int i = 0; i + 2 < indexCount; i += 3) {
            bucket.indices.push_back(base + indexes[i]);
            bucket.indices.push_back(base + indexes[i + 1]);
            bucket.indices.push_back(base + indexes[i + 2]);
        }
        break;
    case PrimitiveKind::TriangleStrip:
        for (int i = 0; i + 2 < indexCount; ++i) {
            bool odd = (i & 1) != 0;
            bucket.indices.push_back(base + indexes[odd ? i + 1 : i]);
            bucket.indices.push_back(base + indexes[odd ? i : i + 1]);
            bucket.indices.push_back(base + indexes[i + 2]);
        }
        break;
    case PrimitiveKind::TriangleFan:
        for (int i = 1; i + 1 < indexCount; ++i) {
            bucket.indices.push_back(base + indexes[0]);
            bucket.indices.push_back(base + indexes[i]);
            bucket.indices.push_back(base + indexes[i + 1]);
        }
        break;
    }
    state.current.triangles += TrianglesOf(kind, indexCount);
}

void FlushBuckets(GlDrawDeviceState& state)
{
    size_t vertexTotal = 0;
    size_t indexTotal = 0;
    for (int32_t i = 0; i < state.bucketsInUse; ++i) {
        vertexTotal += state.buckets[i].vertices.size();
        indexTotal += state.buckets[i].indices.size();
    }
    if (indexTotal > 0) {
        UploadSceneBlock(state);
        glBindVertexArray(state.batchedVertexArray);
        // Fresh storage every flush, so no draw still reading the last frame's vertices is waited for.
        glBindBuffer(GL_ARRAY_BUFFER, state.batchedVertices);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertexTotal * sizeof(BatchVertex)), nullptr,
                     GL_STREAM_DRAW);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indexTotal * sizeof(uint32_t)), nullptr,
                     GL_STREAM_DRAW);
        size_t vertexOffset = 0;
        size_t indexOffset = 0;
        GLuint programInUse = 0;
        for (int32_t i = 0; i < state.bucketsInUse; ++i) {
            const Bucket& bucket = state.buckets[i];
            if (bucket.indices.empty())
                continue;
            glBufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(vertexOffset * sizeof(BatchVertex)),
                            static_cast<GLsizeiptr>(bucket.vertices.size() * sizeof(BatchVertex)),
                            bucket.vertices.data());
            glBufferSubData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLintptr>(indexOffset * sizeof(uint32_t)),
                            static_cast<GLsizeiptr>(bucket.indices.size() * sizeof(uint32_t)), bucket.indices.data());
            const Program& program = state.batched[SurfaceOf(state, bucket.texture)];
            if (program.name != programInUse) {
                glUseProgram(program.name);
                programInUse = program.name;
            }
            BindTexture(state, bucket.texture);
            glDrawElementsBaseVertex(GL_TRIANGLES, static_cast<GLsizei>(bucket.indices.size()), GL_UNSIGNED_INT,
                                     reinterpret_cast<void*>(indexOffset * sizeof(uint32_t)),
                                     static_cast<GLint>(vertexOffset));
            state.current.glDrawCalls += 1;
            vertexOffset += bucket.vertices.size();
            indexOffset += bucket.indices.size();
        }
    }
    for (int32_t i = 0; i < state.bucketsInUse; ++i) {
        Bucket& bucket = state.buckets[i];
        state.bucketOfTexture[bucket.texture] = -1;
        bucket.vertices.clear();
        bucket.indices.clear();
    }
    state.bucketsInUse = 0;
}

}  // namespace

GlDrawDevice::GlDrawDevice() : state(std::make_unique<GlDrawDeviceState>()) {}

GlDrawDevice::~GlDrawDevice()
{
    // The GL objects die with their context; the render device deletes them before that while
    // the context is current.
    if (state->created)
        DeleteObjects(*state);
}

bool CreateGlDrawDevice(GlDrawDevice& device)
{
    GlDrawDeviceState& state = *device.state;
    for (int kind = 0; kind < SurfaceKindCount; ++kind) {
        state.unbatched[kind] = LinkProgram(false, static_cast<SurfaceKind>(kind));
        state.batched[kind] = LinkProgram(true, static_cast<SurfaceKind>(kind));
        if (state.unbatched[kind].name == 0 || state.batched[kind].name == 0) {
            DeleteObjects(state);
            return false;
        }
    }
    glGenBuffers(1, &state.sceneBlockBuffer);

    glGenVertexArrays(1, &state.unbatchedVertexArray);
    glBindVertexArray(state.unbatchedVertexArray);
    glGenBuffers(1, &state.unbatchedVertices);
    glGenBuffers(1, &state.unbatchedIndexes);
    glBindBuffer(GL_ARRAY_BUFFER, state.unbatchedVertices);
    glBufferData(GL_ARRAY_BUFFER, RingVertexBytes, nullptr, GL_STREAM_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, state.unbatchedIndexes);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, RingIndexBytes, nullptr, GL_STREAM_DRAW);
    GLsizei stride = sizeof(SceneVertex);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(SceneVertex, x)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(SceneVertex, nx)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(SceneVertex, tu)));

    glGenVertexArrays(1, &state.batchedVertexArray);
    glBindVertexArray(state.batchedVertexArray);
    glGenBuffers(1, &state.batchedVertices);
    glGenBuffers(1, &state.batchedIndexes);
    glBindBuffer(GL_ARRAY_BUFFER, state.batchedVertices);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, state.batchedIndexes);
    stride = sizeof(BatchVertex);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(BatchVertex, x)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(BatchVertex, u)));
    glEnableVertexAttribArray(3);
    glVertexAttribPointer(3, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                          reinterpret_cast<void*>(offsetof(BatchVertex, colour)));
    glBindVertexArray(0);

    // The scene winds what is to be seen clockwise on the screen; the rest is culled.
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CW);
    glCullFace(GL_BACK);
    glEnable(GL_DITHER);
    glActiveTexture(GL_TEXTURE0);
    state.created = glGetError() == GL_NO_ERROR;
    if (!state.created)
        DeleteObjects(state);
    return state.created;
}

void GlDrawDevice::Clear(uint32_t colour, float depth)
{
    FlushDraws(*this);
    Colour4 channels = ColourFromArgb(colour);
    glClearColor(channels.red, channels.green, channels.blue, channels.alpha);
    glClearDepth(depth);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

bool GlDrawDevice::BeginScene()
{
    state->current = {};
    return state->created;
}

void GlDrawDevice::EndScene()
{
    FlushDraws(*this);
    state->last = state->current;
}

void GlDrawDevice::SetWorldTransform(const Matrix4& matrix)
{
    state->world = matrix;
}

void GlDrawDevice::SetViewTransform(const Matrix4& matrix)
{
    // Waiting vertices are in world space: they still need the view they were drawn under.
    FlushDraws(*this);
    state->view = matrix;
    state->sceneBlockStale = true;
}

void GlDrawDevice::SetProjectionTransform(const Matrix4& matrix)
{
    FlushDraws(*this);
    state->projection = matrix;
    state->sceneBlockStale = true;
}

TextureHandle GlDrawDevice::FindTexture(const char* name)
{
    return state->store != nullptr ? TextureHandleOf(*state->store, name) : NoTexture;
}

void GlDrawDevice::SetTexture(TextureHandle texture)
{
    state->texture = texture;
}

void GlDrawDevice::SetMaterial(const SceneMaterial& material)
{
    state->material = material;
}

void GlDrawDevice::DrawIndexed(PrimitiveKind kind, const SceneVertex* vertices, int vertexCount,
                               const uint16_t* indexes, int indexCount)
{
    GlDrawDeviceState& s = *state;
    s.current.sceneDraws += 1;
    if (!s.created || vertices == nullptr || indexes == nullptr || vertexCount <= 0 || indexCount < 3)
        return;
    if (kind != PrimitiveKind::TriangleList && kind != PrimitiveKind::TriangleStrip &&
        kind != PrimitiveKind::TriangleFan)
        return;
    if (!IndexesFit(indexes, indexCount, vertexCount)) {
        s.current.refusedDraws += 1;
        return;
    }
    if (s.batching)
        AppendBatched(s, kind, vertices, vertexCount, indexes, indexCount);
    else
        DrawUnbatched(s, kind, vertices, vertexCount, indexes, indexCount);
}

void SetDrawBatching(GlDrawDevice& device, bool batching)
{
    FlushDraws(device);
    device.state->batching = batching;
}

void SetSceneLighting(GlDrawDevice& device, const SceneLighting& lighting)
{
    // Waiting vertices were lit when they were drawn; only later draws see the new lights.
    device.state->lighting = lighting;
    device.state->sceneBlockStale = true;
}

void SetDepthTest(GlDrawDevice& device, bool enabled)
{
    FlushDraws(device);
    if (enabled) {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glDepthMask(GL_TRUE);
    } else {
        glDisable(GL_DEPTH_TEST);
    }
}

void SetAlphaTest(GlDrawDevice& device, bool enabled, int32_t reference)
{
    FlushDraws(device);
    device.state->alphaTest = enabled;
    device.state->alphaReference = reference;
    device.state->sceneBlockStale = true;
}

void SetTextureStore(GlDrawDevice& device, TextureStore* store)
{
    FlushDraws(device);
    device.state->store = store;
    device.state->texture = NoTexture;
}

void FlushDraws(GlDrawDevice& device)
{
    if (device.state->created && device.state->bucketsInUse > 0)
        FlushBuckets(*device.state);
}

DrawStats LastSceneStats(const GlDrawDevice& device)
{
    return device.state->last;
}
