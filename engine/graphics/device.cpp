// Graphics device and render state (see device.h).
// Depends on the platform layer (client size, message boxes), the mesh
// builder (reset at start-up and every frame), the sprite batch and the
// debug interface.
#include "engine/graphics/device.h"

#include <GL/glew.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>

#include "engine/debug_ui.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/sprite_batch.h"
#include "engine/platform/platform.h"

float worldMinX = -640.0f, worldMaxX = 640.0f, worldMinY = -360.0f, worldMaxY = 360.0f;
float modelTransform[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
Matrix3 textureTransform = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
uint32_t tintColor = 0xFFFFFFFF;
bool useTint = false;
Texture* boundTexture = nullptr;
int viewportWidth = 1280, viewportHeight = 720;

namespace {

// Names of the OpenGL error codes the error report knows.
const std::pair<GLenum, const char*> GL_ERROR_NAMES[] = {
    {GL_INVALID_ENUM, "INVALID_ENUM"},
    {GL_INVALID_VALUE, "INVALID_VALUE"},
    {GL_INVALID_OPERATION, "INVALID_OPERATION"},
    {GL_OUT_OF_MEMORY, "OUT_OF_MEMORY"},
    {GL_INVALID_FRAMEBUFFER_OPERATION, "INVALID_FRAMEBUFFER_OPERATION"},
};

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

} // namespace

// Everything of start-up after the platform made the context current.
bool InitGraphics() {
    if (!LoadGLEntryPoints()) return false;
    BatchInit();
    SetWorldBoundsFromClient();
    ResetRenderState();
    tintColor = 0xFFFFFFFF;
    CreateDebugUi();
    CheckGLError();
    return true;
}

// World bounds and the viewport follow the client area together (a resize in
// the middle of a frame changes both); a minimised (empty) client keeps the old.
void SetWorldBoundsFromClient() {
    int width = 0, height = 0;
    PlatformGetClientSize(&width, &height);
    if (width > 0 && height > 0) {
        viewportWidth = width, viewportHeight = height;
        worldMaxX = width / 2.0f;
        worldMinX = -worldMaxX;
        worldMaxY = height / 2.0f;
        worldMinY = -worldMaxY;
    }
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
    m = Matrix3{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
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

// Rotation by `radians`, counter-clockwise with y up. A quarter or half turn
// is exact: sinf of the float nearest pi is -8.7e-8, which would shear every
// picture turned by half a turn by a hair, so that its two triangles no
// longer meet along an axis-aligned rectangle and a driver interpolates each
// on its own (llvmpipe then misplaces the texels of a large picture that
// reaches far beyond the window: the credits' crest was drawn 12 pixels high).
Matrix3 Matrix3Rotation(float radians) {
    float c = cosf(radians), s = sinf(radians);
    const float rounding = 1e-6f;
    if (std::fabs(c) < rounding) c = 0;
    if (std::fabs(s) < rounding) s = 0;
    return Matrix3{{{c, -s, 0}, {s, c, 0}, {0, 0, 1}}};
}

// Scale by (sx, sy).
Matrix3 Matrix3Scale(float sx, float sy) {
    return Matrix3{{{sx, 0, 0}, {0, sy, 0}, {0, 0, 1}}};
}

// The tint rule shared by objects and text.
void SetTintColor(uint32_t color) {
    tintColor = color == 0xFFFFFFFF ? 0xFFFFFFFE : color;
}

// Per-frame reset of the render globals and the mesh builder.
void ResetRenderState() {
    MeshBuilderReset();
    Matrix3Identity(textureTransform);
    SetTransform(textureTransform); // the identity in 4 by 4 too
    useTint = false;
    boundTexture = nullptr;
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
        for (const auto& [code, known] : GL_ERROR_NAMES)
            if (code == error) name = known;
        printf("GL_%s - %s:%d\n", name, fileName, line);
    }
    fflush(stdout);
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
