// Graphics device and render state: loads the OpenGL entry points on the
// context the platform layer made current, compiles the one shader program,
// fixes the blend and depth state, keeps the world bounds and projection, the
// render globals every draw reads (model and texture transforms, bound
// texture, tint) and the Dear ImGui debug frame fed from the engine's input.
// Depends on the platform layer (client size, message boxes, cursor), the
// input arrays (app/input.h), the frame time (app/game_state.h) and the mesh
// builder (reset at start-up and every frame).
#include "engine/graphics/device.h"

#include <GL/glew.h>
#include <backends/imgui_impl_opengl3.h>
#include <imgui.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/game_state.h"
#include "app/input.h"
#include "engine/graphics/draw_batch.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/picture_cache.h"
#include "engine/graphics/quad_trim.h"
#include "engine/graphics/render_paths.h"
#include "engine/graphics/texture.h"
#include "engine/graphics/texture_pages.h"
#include "engine/platform/platform.h"

// ---------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------

namespace {

// Uniform locations of the shader program (-1 where the program has none).
struct ShaderUniforms {
    GLint model, viewProj, texture, colorTexture, useTexture, modColor, useModColor;
};

// The uniform values last handed to the program.
struct SentUniforms {
    float viewProj[16], model[16], texture[9], modColor[4];
    int useModColor, useTexture, colorTexture;
    bool valid;
};

// Names of the OpenGL error codes the error report knows.
struct GLErrorName {
    GLenum code;
    const char* name;
};

} // namespace

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

float worldMinX = -640.0f, worldMaxX = 640.0f, worldMinY = -360.0f, worldMaxY = 360.0f;
float modelTransform[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
Matrix3 textureTransform = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
uint32_t tintColor = 0xFFFFFFFF;
bool useTint = false;
Texture* boundTexture = nullptr;

namespace {

// The engine's program, and the lean path's program for untinted pictures: the
// same vertex stage, and a fragment stage that only samples the picture, which
// the software rasterizer runs on its fast path.
GLuint shaderProgram = 0, pictureProgram = 0, filteredProgram = 0;
ShaderUniforms uniforms = {-1, -1, -1, -1, -1, -1, -1};
ShaderUniforms pictureUniforms = {-1, -1, -1, -1, -1, -1, -1};
ShaderUniforms filteredUniforms = {-1, -1, -1, -1, -1, -1, -1};
// Stored row-major with the translation in the last column and handed to the
// shader as stored; see UpdateProjection.
float viewProjection[4][4];
SentUniforms sentUniforms = {}, pictureSentUniforms = {}, filteredSentUniforms = {};
GLuint boundTextureName = 0; // what unit 0's 2D target holds
bool debugUiCreated = false;
bool debugUiFrameOpen = false; // NewFrame ran and Render has not yet

const GLErrorName GL_ERROR_NAMES[] = {
    {GL_INVALID_ENUM, "INVALID_ENUM"},
    {GL_INVALID_VALUE, "INVALID_VALUE"},
    {GL_INVALID_OPERATION, "INVALID_OPERATION"},
    {GL_OUT_OF_MEMORY, "OUT_OF_MEMORY"},
    {GL_INVALID_FRAMEBUFFER_OPERATION, "INVALID_FRAMEBUFFER_OPERATION"},
};

const char* const VERTEX_SHADER_SOURCE = R"(#version 330
layout(location = 0) in vec3 vertexPos;
layout(location = 1) in vec4 vertexColor;
layout(location = 2) in vec2 vertexUV;
uniform mat4 mtxModel;
uniform mat4 mtxViewProj;
uniform mat3 mtxTexture;
out vec4 fragColor;
out vec2 fragUV;
void main() {
    gl_Position = mtxViewProj * mtxModel * vec4(vertexPos, 1.0);
    fragUV = (mtxTexture * vec3(vertexUV, 1.0)).xy;
    fragColor = vertexColor;
}
)";

const char* const FRAGMENT_SHADER_SOURCE = R"(#version 330
in vec4 fragColor;
in vec2 fragUV;
uniform sampler2D colorTexture;
uniform int useTexture;
uniform vec4 modColor;
uniform int useModColor;
out vec4 outColor;
void main() {
    vec4 modulation = useModColor != 0 ? modColor : vec4(1.0);
    if (useTexture == 1)
        outColor = texture(colorTexture, fragUV) * modulation;
    else
        outColor = fragColor * modulation;
}
)";

const char* const PICTURE_FRAGMENT_SHADER_SOURCE = R"(#version 330
in vec2 fragUV;
uniform sampler2D colorTexture;
out vec4 outColor;
void main() {
    outColor = texture(colorTexture, fragUV);
}
)";

// The picture program for filtered pictures: the same stages with the texture
// coordinates interpolated without perspective (the same values, w is 1),
// which keeps llvmpipe off its 8-bit fast path, whose filter is a level off
// here and there.
const char* const FILTERED_VERTEX_SHADER_SOURCE = R"(#version 330
layout(location = 0) in vec3 vertexPos;
layout(location = 2) in vec2 vertexUV;
uniform mat4 mtxModel;
uniform mat4 mtxViewProj;
uniform mat3 mtxTexture;
noperspective out vec2 fragUV;
void main() {
    gl_Position = mtxViewProj * mtxModel * vec4(vertexPos, 1.0);
    fragUV = (mtxTexture * vec3(vertexUV, 1.0)).xy;
}
)";

const char* const FILTERED_FRAGMENT_SHADER_SOURCE = R"(#version 330
noperspective in vec2 fragUV;
uniform sampler2D colorTexture;
out vec4 outColor;
void main() {
    outColor = texture(colorTexture, fragUV);
}
)";

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

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// Writes the identity into a 4 by 4 matrix.
void Matrix4Identity(float m[4][4]) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            m[r][c] = r == c ? 1.0f : 0.0f;
}

// Whether `value` must be sent: always when `all`, else when it differs from
// what was sent last (which it then becomes).
bool Changed(bool all, void* sent, const void* value, size_t size) {
    if (!all && memcmp(sent, value, size) == 0) return false;
    memcpy(sent, value, size);
    return true;
}

// Shows a shader stage's or program's information log, when it has one.
void ShowShaderLog(const char* log, const char* caption) {
    if (log[0] != '\0') PlatformMessageBox(log, caption, MESSAGEBOX_ERROR);
}

// Compiles one stage; a failure is shown and the (broken) stage kept.
GLuint CompileShaderStage(GLenum type, const char* source) {
    GLuint stage = glCreateShader(type);
    glShaderSource(stage, 1, &source, nullptr);
    glCompileShader(stage);
    GLint ok = GL_FALSE;
    glGetShaderiv(stage, GL_COMPILE_STATUS, &ok);
    if (ok != GL_TRUE) {
        char log[4096] = "";
        glGetShaderInfoLog(stage, sizeof log, nullptr, log);
        // One caption for both stages, as the game has always shown it.
        ShowShaderLog(log, "Vertex Shader Compilation Error");
    }
    return stage;
}

// The uniform locations of a program (-1 for those it lacks).
ShaderUniforms FindUniforms(GLuint program) {
    return {
        glGetUniformLocation(program, "mtxModel"),   glGetUniformLocation(program, "mtxViewProj"),
        glGetUniformLocation(program, "mtxTexture"), glGetUniformLocation(program, "colorTexture"),
        glGetUniformLocation(program, "useTexture"), glGetUniformLocation(program, "modColor"),
        glGetUniformLocation(program, "useModColor")};
}

// Builds the engine's program and the picture program, and finds their uniforms.
void CreateShaderProgram() {
    shaderProgram = BuildShaderProgram(VERTEX_SHADER_SOURCE, FRAGMENT_SHADER_SOURCE);
    pictureProgram = BuildShaderProgram(VERTEX_SHADER_SOURCE, PICTURE_FRAGMENT_SHADER_SOURCE);
    filteredProgram =
        BuildShaderProgram(FILTERED_VERTEX_SHADER_SOURCE, FILTERED_FRAGMENT_SHADER_SOURCE);
    uniforms = FindUniforms(shaderProgram);
    pictureUniforms = FindUniforms(pictureProgram);
    filteredUniforms = FindUniforms(filteredProgram);
    // New programs have their uniforms at zero.
    sentUniforms = pictureSentUniforms = filteredSentUniforms = {};
    CheckGLError();
}

// Blending, depth test and texture unit: fixed once for the whole run.
void SetFixedRenderState() {
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendEquation(GL_FUNC_ADD);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glActiveTexture(GL_TEXTURE0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glClearDepth(1.0);
    glDepthMask(GL_TRUE);
    glDepthRange(0.0, 1.0);
    glBlendEquation(GL_FUNC_ADD);
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    ApplyRenderPathState(); // the lean path draws without the depth test
    CheckGLError();
}

// Loads the OpenGL entry points and checks for version 3.3.
bool LoadGLEntryPoints() {
    glewExperimental = GL_TRUE; // a core profile hides the extension string GLEW reads
    GLenum status = glewInit();
    if (status != GLEW_OK) {
        fprintf(stderr, "Error: %s\n", reinterpret_cast<const char*>(glewGetErrorString(status)));
        return false;
    }
    // glewInit asks a core context for its extension string the legacy way;
    // drop the error that leaves behind.
    while (glGetError() != GL_NO_ERROR) {
    }
    return RequireOpenGLVersion(3, 3);
}

// The debug interface's settings, in the working directory, written at exit.
static const char DEBUG_UI_SETTINGS[] = "imgui.ini";

// Reads the settings file here rather than in the library: its own reader runs
// past the end of an empty file (a write cut short, a full disk).
static void LoadDebugUiSettings() {
    FILE* file = fopen(DEBUG_UI_SETTINGS, "rb");
    if (!file) return;
    std::string text;
    char chunk[4096];
    for (size_t n; (n = fread(chunk, 1, sizeof chunk, file)) > 0;)
        text.append(chunk, n);
    fclose(file);
    if (!text.empty()) ImGui::LoadIniSettingsFromMemory(text.c_str(), text.size());
}

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

} // namespace

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// Everything of start-up after the platform made the context current.
bool InitGraphics() {
    if (!LoadGLEntryPoints()) return false;
    DropPictureCache(); // copies of an earlier context are gone with it
    boundTextureName = 0;
    DropTexturePages();
    DropTrimGeometry();
    DropDrawBatch();
    CreateShaderProgram();
    SetWorldBoundsFromClient();
    SetFixedRenderState();
    MeshBuilderReset();
    Matrix4Identity(modelTransform);
    Matrix3Identity(textureTransform);
    tintColor = 0xFFFFFFFF;
    useTint = false;
    boundTexture = nullptr;
    CreateDebugUi();
    CheckGLError();
    return true;
}

// World bounds follow the client area; a minimised (empty) client keeps the old ones.
void SetWorldBoundsFromClient() {
    int width = 0, height = 0;
    PlatformGetClientSize(&width, &height);
    if (width > 0 && height > 0) {
        worldMaxX = width / 2.0f;
        worldMinX = -worldMaxX;
        worldMaxY = height / 2.0f;
        worldMinY = -worldMaxY;
    }
    UpdateProjection();
}

// Orthographic projection over the world bounds, depth range 0.01 to 1000.
void UpdateProjection() {
    FlushDrawBatch(); // gathered vertices are drawn with the projection they were made under
    float projection[4][4];
    Matrix4Identity(projection);
    projection[0][0] = 2.0f / (worldMaxX - worldMinX);
    projection[1][1] = 2.0f / (worldMaxY - worldMinY);
    projection[2][2] = -0.00200002f;
    projection[2][3] = -1.00002f;
    // The view (camera) is the identity, so view-projection = projection. It
    // goes to the shader untransposed: the depth offset then lands in the w
    // row, and a vertex at depth 0 reaches clip depth 0 with w = 1.
    memcpy(viewProjection, projection, sizeof projection);
}

// modelTransform from a 2D affine matrix (rows m0, m1, then (m20, m21, 1, 0)).
void SetTransform(const Matrix3& m) {
    const float rows[4][4] = {{m.m[0][0], m.m[0][1], 0.0f, m.m[0][2]},
                              {m.m[1][0], m.m[1][1], 0.0f, m.m[1][2]},
                              {m.m[2][0], m.m[2][1], 1.0f, 0.0f},
                              {0.0f, 0.0f, 0.0f, 1.0f}};
    memcpy(modelTransform, rows, sizeof rows);
}

// Sets m to the identity.
void Matrix3Identity(Matrix3& m) {
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            m.m[r][c] = r == c ? 1.0f : 0.0f;
}

// result = a × b through a temporary, so result may be a or b.
void Matrix3Concat(Matrix3& result, const Matrix3& a, const Matrix3& b) {
    Matrix3 product;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            product.m[r][c] = a.m[r][0] * b.m[0][c] + a.m[r][1] * b.m[1][c] + a.m[r][2] * b.m[2][c];
    result = product;
}

// Translation by (x, y).
Matrix3 Matrix3Translation(float x, float y) {
    return Matrix3{{{1, 0, x}, {0, 1, y}, {0, 0, 1}}};
}

// Rotation by `radians`, counter-clockwise with y up.
Matrix3 Matrix3Rotation(float radians) {
    float c = cosf(radians), s = sinf(radians);
    return Matrix3{{{c, -s, 0}, {s, c, 0}, {0, 0, 1}}};
}

// Scale by (sx, sy).
Matrix3 Matrix3Scale(float sx, float sy) {
    return Matrix3{{{sx, 0, 0}, {0, sy, 0}, {0, 0, 1}}};
}

// Only names the texture: the draw binds what it samples (see ApplyRenderUniforms).
void BindTexture(Texture* texture) {
    boundTexture = texture;
}

// Binds unless OpenGL holds that name already (binding costs llvmpipe a state check).
void BindTextureName(unsigned name) {
    if (name == boundTextureName) return;
    FlushDrawBatch();
    glBindTexture(GL_TEXTURE_2D, name);
    boundTextureName = name;
}

// The name unit 0's 2D target holds.
unsigned BoundTextureName() {
    return boundTextureName;
}

// Deletes a texture name; OpenGL unbinds a deleted texture, and so does the record.
void DeleteTextureName(unsigned name) {
    if (name == 0) return;
    FlushDrawBatch();
    glDeleteTextures(1, &name);
    if (name == boundTextureName) boundTextureName = 0;
}

// The tint rule shared by objects and text.
void SetTintColor(uint32_t color) {
    if (color == 0xFFFFFFFF) color = 0xFFFFFFFE;
    if (tintColor != color) tintColor = color;
}

// Per-frame reset of the render globals and the mesh builder.
void ResetRenderState() {
    BeginFrameDraws();
    MeshBuilderReset();
    PictureCacheNewFrame();
    Matrix4Identity(modelTransform);
    Matrix3Identity(textureTransform);
    useTint = false;
    boundTexture = nullptr;
}

// Clears colour, and depth while the depth test is in use.
void ClearFrame() {
    FlushDrawBatch();
    glClear(GL_COLOR_BUFFER_BIT | (DepthBufferInUse() ? GL_DEPTH_BUFFER_BIT : 0));
    CheckGLError();
}

// Viewport and scissor rectangle over the whole client area.
void SetViewportToClient() {
    FlushDrawBatch();
    int width = 0, height = 0;
    PlatformGetClientSize(&width, &height);
    glViewport(0, 0, width, height);
    glScissor(0, 0, width, height);
    CheckGLError();
}

// Prints every pending OpenGL error with the file and line of the check.
void CheckGLErrorAt(const char* file, int line) {
    const char* slash = strrchr(file, '/');
    const char* fileName = slash ? slash + 1 : file;
    // Error flags are finite, but a lost context could report for ever.
    for (int guard = 0; guard < 64; ++guard) {
        GLenum error = glGetError();
        if (error == GL_NO_ERROR) break;
        const char* name = "";
        for (const GLErrorName& known : GL_ERROR_NAMES)
            if (known.code == error) name = known.name;
        printf("GL_%s - %s:%d\n", name, fileName, line);
    }
    fflush(stdout);
}

// The program a draw with the render globals is made with, its uniform slots
// and what it last received, and the texture it samples through which
// texture transform.
struct DrawSetup {
    GLuint program;
    const ShaderUniforms* at;
    SentUniforms* sent;
    GLuint textureName;
    Matrix3 texture;
};

// A program with its uniform slots and what it last received; no texture.
static DrawSetup SetupOfProgram(GLuint program) {
    if (program == pictureProgram) return {program, &pictureUniforms, &pictureSentUniforms, 0, {}};
    if (program == filteredProgram)
        return {program, &filteredUniforms, &filteredSentUniforms, 0, {}};
    return {program, &uniforms, &sentUniforms, 0, {}};
}

// Texture times white is the texture: untinted pictures take a short program,
// the one llvmpipe runs on its fast path when they are read texel for pixel.
// A filtered picture with a page is read from it (see texture_pages.h).
static DrawSetup ChooseDrawSetup() {
    const bool picture = LeanRendering() && boundTexture != nullptr && !useTint;
    const bool exact = picture && ExactSamplingChosen();
    DrawSetup setup = SetupOfProgram(exact     ? pictureProgram
                                     : picture ? filteredProgram
                                               : shaderProgram);
    setup.textureName = boundTexture != nullptr ? boundTexture->glName : 0;
    setup.texture = textureTransform;
    if (picture && !exact) PagedSampling(&setup.textureName, &setup.texture);
    return setup;
}

// Uses the program and hands it the transforms and the tint. The program keeps
// its uniforms between draws, so the lean path sends only those that changed
// since its last draw.
static void SendUniforms(const DrawSetup& setup, const float (&model)[4][4],
                         const Matrix3& texture) {
    glUseProgram(setup.program);
    const ShaderUniforms& at = *setup.at;
    SentUniforms& sent = *setup.sent;
    const bool all = !LeanRendering() || !sent.valid;
    const float modColor[4] = {((tintColor >> 16) & 0xFF) / 255.0f,
                               ((tintColor >> 8) & 0xFF) / 255.0f, (tintColor & 0xFF) / 255.0f,
                               ((tintColor >> 24) & 0xFF) / 255.0f};
    if (Changed(all, sent.viewProj, &viewProjection[0][0], sizeof sent.viewProj))
        glUniformMatrix4fv(at.viewProj, 1, GL_FALSE, &viewProjection[0][0]);
    if (Changed(all, sent.model, &model[0][0], sizeof sent.model))
        glUniformMatrix4fv(at.model, 1, GL_TRUE, &model[0][0]);
    if (Changed(all, sent.texture, &texture.m[0][0], sizeof sent.texture))
        glUniformMatrix3fv(at.texture, 1, GL_TRUE, &texture.m[0][0]);
    if (Changed(all, sent.modColor, modColor, sizeof sent.modColor))
        glUniform4f(at.modColor, modColor[0], modColor[1], modColor[2], modColor[3]);
    const int flags[3] = {useTint ? 1 : 0, boundTexture != nullptr ? 1 : 0, 0};
    if (Changed(all, &sent.useModColor, &flags[0], sizeof(int)))
        glUniform1i(at.useModColor, flags[0]);
    if (Changed(all, &sent.useTexture, &flags[1], sizeof(int)))
        glUniform1i(at.useTexture, flags[1]);
    if (Changed(all, &sent.colorTexture, &flags[2], sizeof(int)))
        glUniform1i(at.colorTexture, flags[2]);
    sent.valid = true;
}

// A draw made on its own comes after every gathered one.
void ApplyRenderUniforms() {
    FlushDrawBatch();
    const DrawSetup setup = ChooseDrawSetup();
    if (boundTexture != nullptr) BindTextureName(setup.textureName);
    SendUniforms(setup, modelTransform, setup.texture);
}

// Binding the texture sends the batch when it held another one.
unsigned PrepareBatchedPicture(Matrix3* texture) {
    if (!LeanRendering() || boundTexture == nullptr || useTint) return 0;
    const DrawSetup setup = ChooseDrawSetup();
    BindTextureName(setup.textureName);
    *texture = setup.texture;
    return setup.program;
}

// The vertices carry the transforms, so the program gets the identity; the
// picture programs have no tint uniforms, whatever the globals hold now.
void UseBatchProgram(unsigned program) {
    static const float identity[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    Matrix3 noTextureTransform;
    Matrix3Identity(noTextureTransform);
    SendUniforms(SetupOfProgram(program), identity, noTextureTransform);
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

// Renders the debug interface's frame (nothing is submitted, so nothing shows).
// The lean path leaves OpenGL alone when the frame has nothing to draw.
void RenderDebugUi() {
    FlushDrawBatch();
    if (!debugUiCreated || !debugUiFrameOpen) return;
    debugUiFrameOpen = false;
    ImGui::Render();
    ImDrawData* drawData = ImGui::GetDrawData();
    if (DrawingSuppressed() || (LeanRendering() && drawData->CmdListsCount == 0)) return;
    ImGui_ImplOpenGL3_RenderDrawData(drawData);
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

// Asks the loader for "GL_VERSION_<major>_<minor>"; without it, says so in a box.
bool RequireOpenGLVersion(int major, int minor) {
    char versionName[32];
    snprintf(versionName, sizeof versionName, "GL_VERSION_%d_%d", major, minor);
    if (glewIsSupported(versionName)) return true;
    char text[128], caption[64];
    snprintf(text, sizeof text,
             "OpenGL %d.%d is not supported! Please download latest GPU drivers!", major, minor);
    snprintf(caption, sizeof caption, "OpenGL %d.%d Not Supported", major, minor);
    PlatformMessageBox(text, caption, MESSAGEBOX_INFO);
    return false;
}

// Compiles both stages, links them, shows any failure and goes on with the result.
unsigned BuildShaderProgram(const char* vertexSource, const char* fragmentSource) {
    GLuint vertexStage = CompileShaderStage(GL_VERTEX_SHADER, vertexSource);
    GLuint fragmentStage = CompileShaderStage(GL_FRAGMENT_SHADER, fragmentSource);
    GLuint program = glCreateProgram();
    glAttachShader(program, vertexStage);
    glAttachShader(program, fragmentStage);
    glLinkProgram(program);
    GLint ok = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (ok != GL_TRUE) {
        char log[4096] = "";
        glGetProgramInfoLog(program, sizeof log, nullptr, log);
        ShowShaderLog(log, "Shader Linking Error");
    }
    glDetachShader(program, vertexStage);
    glDetachShader(program, fragmentStage);
    glDeleteShader(vertexStage);
    glDeleteShader(fragmentStage);
    CheckGLError();
    return program;
}

// The engine's shader program.
unsigned GetShaderProgram() {
    return shaderProgram;
}
