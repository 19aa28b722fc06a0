#pragma once
// The platform parts of a run nobody watches or hears: a window that shows nothing and answers
// every dialog at once, a draw device and a cab canvas that draw nothing, a sound buffer that
// plays nothing. The headless commands run the game's own frame driver on them, as headless
// games run their real loop on null video and sound drivers.

#include <cstdint>
#include <memory>
#include <string>

#include "cab/canvas.h"
#include "device/draw_device.h"
#include "shell/game_flow.h"
#include "sound/sound_buffer.h"

class NullDrawDevice : public DrawDevice {
public:
    void Clear(uint32_t, float) override {}
    bool BeginScene() override { return true; }
    void EndScene() override {}
    void SetWorldTransform(const Matrix4&) override {}
    void SetViewTransform(const Matrix4&) override {}
    void SetProjectionTransform(const Matrix4&) override {}
    TextureHandle FindTexture(const char*) override { return NoTexture; }
    void SetTexture(TextureHandle) override {}
    void SetMaterial(const SceneMaterial&) override {}
    void DrawIndexed(PrimitiveKind, const SceneVertex*, int, const uint16_t*, int) override {}
};

class NullCabCanvas final : public CabCanvas {
public:
    CanvasSize RenderSize() override { return {800, 600, 32}; }
    void SelectPen(const CabPen&) override {}
    void SelectBrush(const CabColour&) override {}
    void FillPolygon(const CanvasPoint*, int32_t) override {}
    void MoveTo(int32_t, int32_t) override {}
    void LineTo(int32_t, int32_t) override {}
    void FillEllipse(int32_t, int32_t, int32_t, int32_t) override {}
    void DrawText(int32_t, int32_t, const CabColour&, const char*) override {}
};

// Always ready for the next block, which it throws away.
class NullSoundBuffer final : public SoundBuffer {
public:
    SoundResult GetWriteCursor(uint32_t& cursor) override;
    SoundResult WriteRegion(uint32_t, const uint8_t*, uint32_t) override { return SoundOk; }
    SoundResult ClearRegion(uint32_t, uint32_t) override { return SoundOk; }
    SoundResult Restore() override { return SoundOk; }
    SoundResult PlayLooping() override { return SoundOk; }

private:
    uint32_t cursor_ = 0;
};

// Opens a NullSoundBuffer: a sound device that is always there.
std::unique_ptr<SoundBuffer> OpenNullSoundDevice(const SoundBufferFormat& format, std::string& whyNot);

// Nobody is there: dialogs close as they open (the options dialog with EXIT, so a run that ends
// ends the program), messages are kept for whoever asks, and the picture is skipped unless
// drawsPicture asks for it (then the null device and canvas take it).
class NullPlatform final : public ShellPlatform {
public:
    bool drawsPicture = false;
    bool closed = false;               // the game asked to close its window
    std::string lastMessage;           // the text of the last message box

    uint32_t NowMs() override { return 0; }
    uint32_t ClockSeed() override { return 0; }
    void RunOptionsDialog(OptionsDialog& dialog, GameOptions& options, GameRandom& random, AppState& app) override;
    void RunAboutBox() override {}
    int32_t RunDeviceDialog(int32_t windowed, int32_t& chosenWindowed) override;
    void ShowMessage(const char* caption, const std::string& text) override;
    void OpenHelp() override {}
    void OpenPopupMenu(int32_t, int32_t) override {}
    int32_t ReopenDevice(AppState&) override;
    void ResizeDevice() override {}
    void MoveDevice(int32_t, int32_t) override {}
    void CloseWindow() override { closed = true; }
    void WorldRebuilt(World&) override {}
    DrawDevice* SceneDevice() override { return &device_; }
    bool PictureWanted() override { return drawsPicture; }
    CabCanvas& BeginOverlay() override { return canvas_; }
    int32_t PresentFrame() override;
    void RestoreSurfaces() override {}

private:
    NullDrawDevice device_;
    NullCabCanvas canvas_;
};
