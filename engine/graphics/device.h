// Graphics device and render state: the OpenGL 3.3 context and its sprite
// batch, the world coordinate system and the viewport, and the render globals
// every draw is parameterised by (model transform, texture transform, bound
// texture, tint). Also the 3 by 3 matrices of 2D transforms and the OpenGL
// error report.
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
extern Texture* boundTexture; // the texture (or none) the next draws sample
// The pixels the draws to come fill (the client size at the frame's start).
extern int viewportWidth, viewportHeight;

// Loads OpenGL and starts the sprite batch; false ends the game.
bool InitGraphics();
// Sets the world bounds from the client size (a vertex at world (x, y) lands
// at clip coordinates (x / worldMaxX, y / worldMaxY)).
void SetWorldBoundsFromClient();
void SetTransform(const Matrix3& m);
void Matrix3Identity(Matrix3& m);
// result = a × b; result may alias a or b.
void Matrix3Concat(Matrix3& result, const Matrix3& a, const Matrix3& b);
// Builds translation, rotation (radians) and scale matrices.
Matrix3 Matrix3Translation(float x, float y);
Matrix3 Matrix3Rotation(float radians);
Matrix3 Matrix3Scale(float sx, float sy);
// Sets the tint colour by the device's rule: 0xFFFFFFFF is stored as 0xFFFFFFFE.
void SetTintColor(uint32_t color);
// Start of a frame: empty the mesh builder, identity transforms, tint off,
// unbind the texture.
void ResetRenderState();
// Reports every pending OpenGL error as "GL_<name> - <file>:<line>".
void CheckGLErrorAt(const char* file, int line);
#define CheckGLError() CheckGLErrorAt(__FILE__, __LINE__)
// True when the loader reports OpenGL major.minor; otherwise shows the
// "OpenGL %d.%d Not Supported" box and returns false.
bool RequireOpenGLVersion(int major, int minor);
