// [SECTION] The ImGui context and its binding to a window
// [SECTION] The picture below the menu bar
// [SECTION] The frame: begin, the cab display's place, end, the last frame

#include <SDL.h>
#include <backends/imgui_impl_opengl3.h>
#include <backends/imgui_impl_sdl.h>
#include <epoxy/gl.h>
#include <imgui.h>
#include <imgui_internal.h>

#include <cmath>

#include "device/matrix.h"
#include "device/render_device.h"
#include "device/scene_resources.h"
#include "device/texture_store.h"
#include "platform/gl_draw_device.h"
#include "platform/imgui_game_ui_local.h"
#include "shell/game_ui.h"
#include "shell/game_window.h"

namespace {

GLuint MakeTexture(const TextureImage& image)
{
    if (image.width <= 0 || image.height <= 0)
        return 0;
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, image.width, image.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 image.rgba.data());
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
    return texture;
}

void DrawableSize(const GameUiState& ui, int32_t& width, int32_t& height)
{
    int w = 0;
    int h = 0;
    if (ui.window != nullptr)
        SDL_GL_GetDrawableSize(static_cast<SDL_Window*>(ui.window), &w, &h);
    width = w;
    height = h;
}

// Keeps what was just drawn as the picture a dialog is later drawn over.
void KeepLastFrame(GameUiState& ui, int32_t width, int32_t height)
{
    if (width <= 0 || height <= 0)
        return;
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    if (ui.lastFrame == 0)
        glGenTextures(1, &ui.lastFrame);
    glBindTexture(GL_TEXTURE_2D, ui.lastFrame);
    if (width != ui.lastFrameWidth || height != ui.lastFrameHeight) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        ui.lastFrameWidth = width;
        ui.lastFrameHeight = height;
    }
    ReadFromDrawnBuffer();
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, width, height);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
    ui.hasLastFrame = true;
}

void ReleaseWindowTextures(GameUiState& ui)
{
    if (ui.lastFrame != 0)
        glDeleteTextures(1, &ui.lastFrame);
    if (ui.iconTexture != 0)
        glDeleteTextures(1, &ui.iconTexture);
    ui.lastFrame = 0;
    ui.lastFrameWidth = 0;
    ui.lastFrameHeight = 0;
    ui.hasLastFrame = false;
    ui.iconTexture = 0;
}

bool BindToWindow(GameUiState& ui, void* window, void* glContext, const TextureImage& icon)
{
    DetachGameUi(ui);
    ImGui::SetCurrentContext(ui.context);
    if (!ImGui_ImplSDL2_InitForOpenGL(static_cast<SDL_Window*>(window), glContext))
        return false;
    if (!ImGui_ImplOpenGL3_Init("#version 330 core")) {
        ImGui_ImplSDL2_Shutdown();
        return false;
    }
    ui.window = window;
    ui.glContext = glContext;
    ui.attached = true;
    // A new device has the projection of its whole window until the picture is placed.
    ui.projectionSet = false;
    ui.iconTexture = MakeTexture(icon);
    ui.iconWidth = icon.width;
    ui.iconHeight = icon.height;
    return true;
}

// The keys of the window system's menus and dialogs that ImGui's navigation reads otherwise.
void MapNavigationKeys(const GameUiState& ui)
{
    ImGuiIO& io = ImGui::GetIO();
    // Alt alone belongs to the game's menu keys (imgui_menus.cpp); ImGui would toggle the bar too.
    io.KeyAlt = false;
    // Enter chooses the highlighted line of a menu, as Space does.
    if (ui.anyMenuOpen && (io.KeysDown[io.KeyMap[ImGuiKey_Enter]] || io.KeysDown[io.KeyMap[ImGuiKey_KeyPadEnter]]))
        io.NavInputs[ImGuiNavInput_Activate] = 1.0f;
    // Tab moves to the next control and Shift+Tab back, unless a field is being typed into,
    // where ImGui's Tab goes to the next field.
    int tab = io.KeyMap[ImGuiKey_Tab];
    if (io.KeysDown[tab] && ImGui::GetCurrentContext()->ActiveId == 0) {
        io.NavInputs[io.KeyShift ? ImGuiNavInput_KeyUp_ : ImGuiNavInput_KeyDown_] = 1.0f;
        io.KeysDown[tab] = false;
    }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// [SECTION] The ImGui context and its binding to a window
// ---------------------------------------------------------------------------------------------

GameUiState* CreateGameUi()
{
    auto* ui = new GameUiState();
    IMGUI_CHECKVERSION();
    ui->context = ImGui::CreateContext();
    ImGui::SetCurrentContext(ui->context);
    ImGuiIO& io = ImGui::GetIO();
    // Nothing of the game is kept between program runs, not even where its windows were.
    io.IniFilename = nullptr;
    io.LogFilename = nullptr;
    // Menus and dialogs are worked from the keyboard and a game controller too.
    io.ConfigFlags |= ImGuiConfigFlags_NavEnableKeyboard | ImGuiConfigFlags_NavEnableGamepad;
    ImGui::StyleColorsClassic();
    ImGuiStyle& style = ImGui::GetStyle();
    style.WindowRounding = 0.0f;
    style.FrameBorderSize = 1.0f;
    ui->menuBarHeight = static_cast<int32_t>(std::ceil(13.0f + style.FramePadding.y * 2.0f));
    return ui;
}

void DestroyGameUi(GameUiState* ui)
{
    if (ui == nullptr)
        return;
    DetachGameUi(*ui);
    ImGui::DestroyContext(ui->context);
    delete ui;
}

bool AttachGameUi(GameUiState& ui, RenderDevice& device, const TextureImage& icon)
{
    if (device.window == nullptr || device.glContext == nullptr)
        return false;
    return BindToWindow(ui, device.window, device.glContext, icon);
}

bool AttachDialogUi(GameUiState& ui, DialogWindow& window, const TextureImage& icon)
{
    if (window.window == nullptr || window.glContext == nullptr)
        return false;
    return BindToWindow(ui, window.window, window.glContext, icon);
}

void DetachGameUi(GameUiState& ui)
{
    if (!ui.attached)
        return;
    ImGui::SetCurrentContext(ui.context);
    SDL_GL_MakeCurrent(static_cast<SDL_Window*>(ui.window), static_cast<SDL_GLContext>(ui.glContext));
    ReleaseWindowTextures(ui);
    ImGui_ImplOpenGL3_Shutdown();
    ImGui_ImplSDL2_Shutdown();
    ui.attached = false;
    ui.window = nullptr;
    ui.glContext = nullptr;
}

int32_t MenuBarHeight(const GameUiState& ui)
{
    return ui.menuBarShown ? ui.menuBarHeight : 0;
}

void SetMenuBarShown(GameUiState& ui, bool shown)
{
    ui.menuBarShown = shown;
}

bool UiWantsText()
{
    return ImGui::GetCurrentContext() != nullptr && ImGui::GetIO().WantTextInput;
}

bool UiWantsMouse()
{
    return ImGui::GetCurrentContext() != nullptr && ImGui::GetIO().WantCaptureMouse;
}

// ---------------------------------------------------------------------------------------------
// [SECTION] The picture below the menu bar
// ---------------------------------------------------------------------------------------------

void PlaceScenePicture(GameUiState& ui, RenderDevice& device)
{
    if (device.drawDevice == nullptr)
        return;
    int32_t top = MenuBarHeight(ui);
    int32_t width = device.renderWidth;
    int32_t height = device.renderHeight - top;
    if (width <= 0 || height <= 0)
        return;
    // OpenGL's rows count from the bottom, so the picture is the window less its top rows.
    glViewport(0, 0, width, height);
    if (ui.projectionSet && top == ui.projectionTop && width == ui.projectionWidth && height == ui.projectionHeight)
        return;
    Matrix4 projection;
    float aspect = static_cast<float>(height) / static_cast<float>(width);
    if (SetProjectionMatrix(projection, SceneFieldOfView, aspect, SceneNearPlane, SceneFarPlane) == 0)
        device.drawDevice->SetProjectionTransform(projection);
    ui.projectionTop = top;
    ui.projectionWidth = width;
    ui.projectionHeight = height;
    ui.projectionSet = true;
}

// ---------------------------------------------------------------------------------------------
// [SECTION] The frame
// ---------------------------------------------------------------------------------------------

void BeginUiFrame(GameUiState& ui, bool lastFrameBehind)
{
    ImGui::SetCurrentContext(ui.context);
    int32_t width = 0;
    int32_t height = 0;
    DrawableSize(ui, width, height);
    if (lastFrameBehind) {
        // A dialog's frame: no scene is drawn under it, only the last one kept.
        glViewport(0, 0, width, height);
        glClearColor(0.25f, 0.25f, 0.25f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    ImGui_ImplOpenGL3_NewFrame();
    ImGui_ImplSDL2_NewFrame();
    MapNavigationKeys(ui);
    ImGui::NewFrame();
    if (lastFrameBehind && ui.hasLastFrame) {
        ImVec2 size = ImGui::GetIO().DisplaySize;
        ImGui::GetBackgroundDrawList()->AddImage(reinterpret_cast<ImTextureID>(static_cast<intptr_t>(ui.lastFrame)),
                                                 ImVec2(0.0f, 0.0f), size, ImVec2(0.0f, 1.0f), ImVec2(1.0f, 0.0f));
    }
}

CabCanvas& CabCanvasOfFrame(GameUiState& ui, RenderDevice& device)
{
    // A window's pixels are 32 bits deep on every desktop SDL gives us a context on.
    int32_t bits = 32;
    ui.canvas.SetRenderSize({device.renderWidth, device.renderHeight - MenuBarHeight(ui), bits});
    return ui.canvas;
}

void PlaceCabDisplay(GameUiState& ui)
{
    // The cab display draws on ImGui's foreground list, from the window's corner. It belongs to
    // the picture: behind every window and menu, and below the menu bar.
    ImDrawList* drawn = ImGui::GetForegroundDrawList();
    ImDrawList* behind = ImGui::GetBackgroundDrawList();
    const float top = static_cast<float>(MenuBarHeight(ui)) / ImGui::GetIO().DisplayFramebufferScale.y;
    int vertexCount = drawn->VtxBuffer.Size;
    int indexCount = drawn->IdxBuffer.Size;
    if (vertexCount == 0)
        return;
    // Indexes are 16 bits wide: a list too full to take it keeps the display where it is.
    if (sizeof(ImDrawIdx) == 2 && behind->_VtxCurrentIdx + static_cast<unsigned>(vertexCount) > 0xFFFFu)
        return;
    behind->PrimReserve(indexCount, vertexCount);
    unsigned base = behind->_VtxCurrentIdx;
    for (const ImDrawCmd& command : drawn->CmdBuffer) {
        for (unsigned i = 0; i < command.ElemCount; ++i) {
            unsigned index = drawn->IdxBuffer[static_cast<int>(command.IdxOffset + i)] + command.VtxOffset;
            behind->PrimWriteIdx(static_cast<ImDrawIdx>(base + index));
        }
    }
    for (const ImDrawVert& vertex : drawn->VtxBuffer) {
        behind->PrimWriteVtx(ImVec2(vertex.pos.x, vertex.pos.y + top), vertex.uv, vertex.col);
    }
    // The foreground list starts over as ImGui starts it each frame.
    drawn->_ResetForNewFrame();
    drawn->PushTextureID(ImGui::GetIO().Fonts->TexID);
    const ImGuiViewport* viewport = ImGui::GetMainViewport();
    drawn->PushClipRect(viewport->Pos, ImVec2(viewport->Pos.x + viewport->Size.x, viewport->Pos.y + viewport->Size.y),
                        false);
}

void EndUiFrame(GameUiState& ui, bool keepAsLastFrame, std::vector<uint8_t>* picture, int32_t& pictureWidth,
                int32_t& pictureHeight)
{
    ImGui::Render();
    ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData());
    int32_t width = 0;
    int32_t height = 0;
    DrawableSize(ui, width, height);
    if (keepAsLastFrame)
        KeepLastFrame(ui, width, height);
    if (picture != nullptr && ReadDrawnPixels(width, height, *picture)) {
        pictureWidth = width;
        pictureHeight = height;
    }
}

bool ReadLastFrame(GameUiState& ui, std::vector<uint8_t>& rgba, int32_t& width, int32_t& height)
{
    if (!ui.hasLastFrame || ui.lastFrame == 0)
        return false;
    width = ui.lastFrameWidth;
    height = ui.lastFrameHeight;
    std::vector<uint8_t> bottomUp(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(GL_TEXTURE_2D, ui.lastFrame);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
    if (glGetError() != GL_NO_ERROR)
        return false;
    FlipRowsToTopDown(bottomUp, width, height, rgba);
    return true;
}
