// Debug interface: the Dear ImGui context and its OpenGL renderer, fed from
// the engine's input every frame, with its window settings kept in
// "imgui.ini" in the working directory. Nothing is drawn while it has nothing
// to show.
// Depends on the input arrays (app/input.h), the frame time
// (app/game_state.h), the platform layer (client size, cursor), the scene's
// hidden-window rule and the sprite batch (whose frame it ends).
#include "engine/debug_ui.h"

#include <backends/imgui_impl_opengl3.h>
#include <imgui.h>

#include <cfloat>
#include <cstdio>
#include <string>

#include "app/game_state.h"
#include "app/input.h"
#include "engine/file.h"
#include "engine/graphics/device.h"
#include "engine/graphics/scene.h"
#include "engine/graphics/sprite_batch.h"
#include "engine/platform/platform.h"

namespace {

bool debugUiCreated = false;
bool debugUiFrameOpen = false; // NewFrame ran and Render has not yet

// Virtual-key codes the debug interface's key map points at, by ImGuiKey_ slot.
const struct {
    int imguiKey;
    int virtualKey;
} DEBUG_UI_KEY_MAP[] = {
    {ImGuiKey_Tab, VK_TAB},
    {ImGuiKey_LeftArrow, VK_LEFT},
    {ImGuiKey_RightArrow, VK_RIGHT},
    {ImGuiKey_UpArrow, VK_UP},
    {ImGuiKey_DownArrow, VK_DOWN},
    {ImGuiKey_PageUp, VK_PRIOR},
    {ImGuiKey_PageDown, VK_NEXT},
    {ImGuiKey_Home, VK_HOME},
    {ImGuiKey_End, VK_END},
    {ImGuiKey_Delete, VK_DELETE},
    {ImGuiKey_Backspace, VK_BACK},
    {ImGuiKey_Enter, VK_RETURN},
    {ImGuiKey_Escape, VK_ESCAPE},
    {ImGuiKey_A, 'A'},
    {ImGuiKey_C, 'C'},
    {ImGuiKey_V, 'V'},
    {ImGuiKey_X, 'X'},
    {ImGuiKey_Y, 'Y'},
    {ImGuiKey_Z, 'Z'},
};

// The debug interface's settings, in the working directory, written at exit.
const char DEBUG_UI_SETTINGS[] = "imgui.ini";

// Reads the settings file here rather than in the library: its own reader runs
// past the end of an empty file (a write cut short, a full disk).
void LoadDebugUiSettings() {
    FILE* file = fopen(DEBUG_UI_SETTINGS, "rb");
    if (!file) return;
    std::string text;
    const bool read = ReadToEnd(file, &text);
    fclose(file);
    if (read && !text.empty()) ImGui::LoadIniSettingsFromMemory(text.c_str(), text.size());
}

} // namespace

// Creates the debug interface's context with the key map and its OpenGL renderer.
void CreateDebugUi() {
    if (debugUiCreated) ShutdownDebugUi();
    IMGUI_CHECKVERSION();
    ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr; // loaded and saved here
    LoadDebugUiSettings();
    for (const auto& entry : DEBUG_UI_KEY_MAP)
        io.KeyMap[entry.imguiKey] = entry.virtualKey;
    ImGui_ImplOpenGL3_Init("#version 330");
    debugUiCreated = true;
}

// Feeds the debug interface from the engine's input and starts its frame.
void BeginDebugUiFrame() {
    if (!debugUiCreated) return;
    ImGuiIO& io = ImGui::GetIO();
    int width = 0, height = 0;
    PlatformGetClientSize(&width, &height);
    io.DisplaySize = ImVec2((float)width, (float)height);
    io.DeltaTime = frameTime > 0.0 ? (float)frameTime : 1.0f / 60.0f;
    int cursorX = 0, cursorY = 0;
    PlatformGetCursorClientPos(&cursorX, &cursorY);
    io.MousePos =
        cursorInWindow ? ImVec2((float)cursorX, (float)cursorY) : ImVec2(-FLT_MAX, -FLT_MAX);
    for (int button = 0; button < 3; ++button)
        io.MouseDown[button] = mouseButtonState[button] != 0;
    io.MouseWheel = mouseWheelDelta;
    for (int key = 0; key < 256; ++key)
        io.KeysDown[key] = keyState[key] != 0;
    io.KeyShift = keyState[VK_SHIFT] != 0;
    io.KeyCtrl = keyState[VK_CONTROL] != 0;
    io.KeyAlt = keyState[VK_ALT_SLOT] != 0;
    ImGui_ImplOpenGL3_NewFrame();
    ImGui::NewFrame();
    debugUiFrameOpen = true;
}

// Ends the frame's drawing and renders the debug interface's frame over it
// (nothing is submitted, so nothing shows and OpenGL is left alone).
void RenderDebugUi() {
    ImDrawData* drawData = nullptr;
    if (debugUiCreated && debugUiFrameOpen) {
        debugUiFrameOpen = false;
        ImGui::Render();
        drawData = ImGui::GetDrawData();
        if (DrawingSuppressed() || drawData->CmdListsCount == 0) drawData = nullptr;
    }
    if (drawData != nullptr) BatchStateChangedOutside(); // drawn over: the frame is new
    BatchEndFrame();
    if (drawData == nullptr) return;
    ImGui_ImplOpenGL3_RenderDrawData(drawData);
    BatchStateChangedOutside(); // the window is more than the frame: the next is shown
    CheckGLError();
}

// Shuts the renderer down and destroys the context ("imgui.ini" is written).
void ShutdownDebugUi() {
    if (!debugUiCreated) return;
    ImGui::SaveIniSettingsToDisk(DEBUG_UI_SETTINGS);
    ImGui_ImplOpenGL3_Shutdown();
    ImGui::DestroyContext();
    debugUiCreated = false;
    debugUiFrameOpen = false;
}
