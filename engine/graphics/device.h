// Graphics device and render state: the OpenGL 3.3 context's one shader
// program, the fixed blend and depth state, the world coordinate system and
// its projection, and the render globals every draw is parameterised by
// (model transform, texture transform, bound texture, tint). Also the 3 by 3
// matrices of 2D transforms and the debug interface (Dear ImGui) frame.
// Depends on the platform layer (context, client size).
#pragma once

#include <cstdint>

struct Texture;

// Row-major 3 by 3 matrix; a 2D affine transform is [a b tx; c d ty; 0 0 1].
struct Matrix3 {
    float m[3][3];
};

// World bounds: origin at the client centre, y up, one unit per client pixel.
extern float worldMinX, worldMaxX, worldMinY, worldMaxY;
extern float modelTransform[4][4]; // row-major
extern Matrix3 textureTransform;
extern uint32_t tintColor; // 0xAARRGGBB; 0xFFFFFFFF is stored as 0xFFFFFFFE
extern bool useTint;
extern Texture* boundTexture;

// Creates the context's shader program and render state; false ends the game.
bool InitGraphics();
// Sets the world bounds from the client size and recomputes the projection.
void SetWorldBoundsFromClient();
void UpdateProjection();
void SetTransform(const Matrix3& m);
void Matrix3Identity(Matrix3& m);
// result = a × b; result may alias a or b.
void Matrix3Concat(Matrix3& result, const Matrix3& a, const Matrix3& b);
// Builds translation, rotation (radians) and scale matrices.
Matrix3 Matrix3Translation(float x, float y);
Matrix3 Matrix3Rotation(float radians);
Matrix3 Matrix3Scale(float sx, float sy);
// Names the texture (or none) the next draws sample; a draw binds what it
// samples when it is made, so naming a texture costs OpenGL nothing.
void BindTexture(Texture* texture);
// Binds a texture name on unit 0's 2D target unless it is bound already.
// The engine binds 2D textures through here only, so it knows what is bound.
void BindTextureName(unsigned name);
unsigned BoundTextureName();
// Deletes a texture name; a deleted name is no longer bound.
void DeleteTextureName(unsigned name);
// Sets the tint colour by the device's rule (only when it changes, 0xFFFFFFFF
// stored as 0xFFFFFFFE).
void SetTintColor(uint32_t color);
// Start of a frame: empty the mesh builder, identity transforms, tint off,
// unbind the texture.
void ResetRenderState();
void ClearFrame();
// Viewport and scissor over the whole client area.
void SetViewportToClient();
// Reports every pending OpenGL error as "GL_<name> - <file>:<line>".
void CheckGLErrorAt(const char* file, int line);
#define CheckGLError() CheckGLErrorAt(__FILE__, __LINE__)
// Debug interface frame around the state's Update and Draw.
void BeginDebugUiFrame();
void RenderDebugUi();
void ShutdownDebugUi();
// True when the loader reports OpenGL major.minor; otherwise shows the
// "OpenGL %d.%d Not Supported" box and returns false.
bool RequireOpenGLVersion(int major, int minor);
// Compiles and links a program from GLSL sources; a stage that fails to
// compile or a failed link shows its log in a message box and the (broken)
// program is returned all the same.
unsigned BuildShaderProgram(const char* vertexSource, const char* fragmentSource);
// Shader program name (for the mesh drawing code).
unsigned GetShaderProgram();
// Uses the shader program and hands it the render globals: view-projection,
// model and texture transforms, tint and whether a texture is bound.
void ApplyRenderUniforms();
// For a draw that may join the draw batch: binds the texture it samples and
// returns the picture program it is drawn with, and the texture transform its
// vertices take; 0 when it needs the engine's program (tinted, untextured or
// not on the lean path).
unsigned PrepareBatchedPicture(Matrix3* texture);
// Uses a picture program with identity transforms (the batch's vertices are
// transformed already).
void UseBatchProgram(unsigned program);
