#pragma once
// A DrawDevice that draws nothing and records everything: every call in order, and for every
// draw the state in force at that moment (world matrix, texture by name, material) with copies
// of its vertex and index arrays. Draws whose indexes leave their vertex array fail the test.

#include <gtest/gtest.h>
#include <strings.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "device/draw_device.h"
#include "world/texture_registry.h"

enum class DeviceCall {
    Clear, BeginScene, EndScene, SetWorldTransform, SetViewTransform, SetProjectionTransform, FindTexture,
    SetTexture, SetMaterial, DrawIndexed,
};

struct RecordedDraw {
    PrimitiveKind kind;
    std::vector<SceneVertex> vertices;
    std::vector<uint16_t> indexes;
    Matrix4 world;
    std::string texture;  // empty: no texture
    SceneMaterial material;
    bool worldSet, textureSet, materialSet;
};

class RecordingDevice : public DrawDevice {
public:
    // The device knows the textures of these names, as the texture store would hold them.
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
        std::tie(clearColour, clearDepth) = std::tuple(colour, depth);
    }
    bool BeginScene() override { return calls.push_back(DeviceCall::BeginScene), beginSucceeds; }
    void EndScene() override { calls.push_back(DeviceCall::EndScene); }
    void SetWorldTransform(const Matrix4& matrix) override
    {
        calls.push_back(DeviceCall::SetWorldTransform);
        std::tie(world_, worldSet_) = std::tuple(matrix, true);
    }
    void SetViewTransform(const Matrix4& matrix) override
    {
        calls.push_back(DeviceCall::SetViewTransform);
        std::tie(view, viewSet) = std::tuple(matrix, true);
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
        std::tie(texture_, textureSet_) = std::tuple(texture, true);
    }
    void SetMaterial(const SceneMaterial& material) override
    {
        calls.push_back(DeviceCall::SetMaterial);
        std::tie(material_, materialSet_) = std::tuple(material, true);
    }

    void DrawIndexed(PrimitiveKind kind, const SceneVertex* vertices, int vertexCount, const uint16_t* indexes,
                     int indexCount) override
    {
        calls.push_back(DeviceCall::DrawIndexed);
        for (int i = 0; i < indexCount; ++i) {
            if (indexes[i] >= vertexCount)
                ADD_FAILURE() << "index " << indexes[i] << " beyond the " << vertexCount << " vertices of draw "
                              << draws.size();
        }
        draws.push_back({kind, {vertices, vertices + vertexCount}, {indexes, indexes + indexCount}, world_,
                         texture_ == NoTexture ? std::string() : textureNames_[texture_ - 1], material_, worldSet_,
                         textureSet_, materialSet_});
    }

    int CountCalls(DeviceCall call) const { return static_cast<int>(std::count(calls.begin(), calls.end(), call)); }
    void ClearRecord() { calls.clear(), draws.clear(); }

private:
    std::vector<std::string> textureNames_;
    Matrix4 world_{};
    TextureHandle texture_ = NoTexture;
    SceneMaterial material_{};
    bool worldSet_ = false, textureSet_ = false, materialSet_ = false;
};
