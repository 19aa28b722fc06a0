#pragma once
// A DrawDevice that draws nothing and records everything: every call in order, and for every
// draw the state in force at that moment (world matrix, texture by name, material) with copies
// of its vertex and index arrays. Draws whose indexes leave their vertex array fail the test.

#include <gtest/gtest.h>
#include <strings.h>

#include <string>
#include <vector>

#include "device/draw_device.h"
#include "world/texture_registry.h"

enum class DeviceCall {
    Clear,
    BeginScene,
    EndScene,
    SetWorldTransform,
    SetViewTransform,
    SetProjectionTransform,
    FindTexture,
    SetTexture,
    SetMaterial,
    DrawIndexed,
};

struct RecordedDraw {
    PrimitiveKind kind;
    std::vector<SceneVertex> vertices;
    std::vector<uint16_t> indexes;
    Matrix4 world;
    bool worldSet;
    std::string texture;  // empty: no texture
    bool textureSet;
    SceneMaterial material;
    bool materialSet;
};

class RecordingDevice : public DrawDevice {
public:
    // The device knows the textures of these names, as the texture store would hold them.
    explicit RecordingDevice(std::vector<std::string> textureNames) : textureNames_(std::move(textureNames)) {}

    explicit RecordingDevice(const TextureRegistry& registry)
    {
        for (int i = 0; i < registry.count; ++i)
            textureNames_.emplace_back(registry.entries[i].name);
    }

    bool beginSucceeds = true;

    std::vector<DeviceCall> calls;
    std::vector<RecordedDraw> draws;
    uint32_t clearColour = 0;
    float clearDepth = -1.0f;
    Matrix4 view{};
    bool viewSet = false;

    void Clear(uint32_t colour, float depth) override
    {
        calls.push_back(DeviceCall::Clear);
        clearColour = colour;
        clearDepth = depth;
    }

    bool BeginScene() override
    {
        calls.push_back(DeviceCall::BeginScene);
        return beginSucceeds;
    }

    void EndScene() override { calls.push_back(DeviceCall::EndScene); }

    void SetWorldTransform(const Matrix4& matrix) override
    {
        calls.push_back(DeviceCall::SetWorldTransform);
        world_ = matrix;
        worldSet_ = true;
    }

    void SetViewTransform(const Matrix4& matrix) override
    {
        calls.push_back(DeviceCall::SetViewTransform);
        view = matrix;
        viewSet = true;
    }

    void SetProjectionTransform(const Matrix4&) override { calls.push_back(DeviceCall::SetProjectionTransform); }

    TextureHandle FindTexture(const char* name) override
    {
        calls.push_back(DeviceCall::FindTexture);
        if (name == nullptr)
            return NoTexture;
        for (size_t i = 0; i < textureNames_.size(); ++i) {
            if (strcasecmp(textureNames_[i].c_str(), name) == 0)
                return static_cast<TextureHandle>(i + 1);
        }
        return NoTexture;
    }

    void SetTexture(TextureHandle texture) override
    {
        calls.push_back(DeviceCall::SetTexture);
        if (texture < 0 || texture > static_cast<TextureHandle>(textureNames_.size()))
            ADD_FAILURE() << "texture handle " << texture << " was never handed out";
        texture_ = texture;
        textureSet_ = true;
    }

    void SetMaterial(const SceneMaterial& material) override
    {
        calls.push_back(DeviceCall::SetMaterial);
        material_ = material;
        materialSet_ = true;
    }

    void DrawIndexed(PrimitiveKind kind, const SceneVertex* vertices, int vertexCount, const uint16_t* indexes,
                     int indexCount) override
    {
        calls.push_back(DeviceCall::DrawIndexed);
        RecordedDraw draw;
        draw.kind = kind;
        draw.vertices.assign(vertices, vertices + vertexCount);
        draw.indexes.assign(indexes, indexes + indexCount);
        for (uint16_t index : draw.indexes) {
            if (index >= vertexCount)
                ADD_FAILURE() << "index " << index << " beyond the " << vertexCount << " vertices of draw "
                              << draws.size();
        }
        draw.world = world_;
        draw.worldSet = worldSet_;
        draw.texture = texture_ == NoTexture ? std::string() : textureNames_[texture_ - 1];
        draw.textureSet = textureSet_;
        draw.material = material_;
        draw.materialSet = materialSet_;
        draws.push_back(std::move(draw));
    }

    int CountCalls(DeviceCall call) const
    {
        int count = 0;
        for (DeviceCall recorded : calls)
            count += recorded == call ? 1 : 0;
        return count;
    }

    void ClearRecord()
    {
        calls.clear();
        draws.clear();
    }

private:
    std::vector<std::string> textureNames_;
    Matrix4 world_{};
    bool worldSet_ = false;
    TextureHandle texture_ = NoTexture;
    bool textureSet_ = false;
    SceneMaterial material_{};
    bool materialSet_ = false;
};
