// The plainest drawing of a frame, to hold the engine's pictures against: every
// DrawMesh the engine was asked for is recorded (vertices, transforms, texture,
// tint, whether the scene clip applies) and drawn again one by one, with one
// program fed per-draw uniforms, blending always on, the texture's own filter,
// and the scene clip worked out here from the draw scale. Nothing is left out,
// batched, paged or sampled another way.
// Depends on the graphics device, meshes, textures, the sprite batch (told
// that its OpenGL state was changed here) and the platform's client size.
#pragma once

#include <GL/glew.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "engine/graphics/device.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/sprite_batch.h"
#include "engine/graphics/texture.h"
#include "objects/game_object.h"

namespace reference {

struct Draw {
    std::vector<MeshVertex> vertices;
    float model[4][4];
    Matrix3 texture;
    GLuint textureName;
    bool tinted, clipped;
    uint32_t tint;
    float scale;
};

inline std::vector<Draw> recorded;

inline void Record(const Mesh* mesh, bool clipped) {
    Draw& d = recorded.emplace_back();
    d.vertices.assign(mesh->vertices, mesh->vertices + mesh->vertexCount);
    memcpy(d.model, modelTransform, sizeof d.model);
    d.texture = textureTransform, d.textureName = boundTexture ? boundTexture->glName : 0;
    d.tinted = useTint, d.clipped = clipped, d.tint = tintColor, d.scale = drawScale;
}

// Records the draws to come (after forgetting earlier ones), or stops.
inline void Recording(bool on) {
    if (on) recorded.clear();
    SetDrawObserver(on ? Record : nullptr);
}

inline const char* const VERTEX = R"(#version 330
layout(location = 0) in vec3 vertexPos;
layout(location = 1) in vec4 vertexColor;
layout(location = 2) in vec2 vertexUV;
uniform mat4 mtxModel;
uniform mat3 mtxTexture;
uniform vec2 halfSize;
out vec4 color;
out vec2 uv;
void main() {
    gl_Position = vec4((mtxModel * vec4(vertexPos, 1.0)).xy / halfSize, 0.0, 1.0);
    uv = (mtxTexture * vec3(vertexUV, 1.0)).xy;
    color = vertexColor;
})";

inline const char* const FRAGMENT = R"(#version 330
in vec4 color;
in vec2 uv;
uniform sampler2D picture;
uniform int useTexture;
uniform vec4 modColor;
out vec4 outColor;
void main() {
    outColor = (useTexture == 1 ? texture(picture, uv) : color) * modColor;
})";

inline void AttachStage(GLuint program, GLenum type, const char* source) {
    GLuint stage = glCreateShader(type);
    glShaderSource(stage, 1, &source, nullptr);
    glCompileShader(stage);
    glAttachShader(program, stage);
}

// The recorded draws over a black window of w by h pixels, read back bottom
// row first.
inline std::vector<uint8_t> DrawRecorded(int w, int h) {
    static GLuint program = 0, vertexArray = 0, buffer = 0;
    if (program == 0 || !glIsProgram(program)) { // a new engine has a new context
        program = glCreateProgram();
        AttachStage(program, GL_VERTEX_SHADER, VERTEX);
        AttachStage(program, GL_FRAGMENT_SHADER, FRAGMENT);
        glLinkProgram(program);
        glGenVertexArrays(1, &vertexArray);
        glGenBuffers(1, &buffer);
    }
    BatchFlush();
    glUseProgram(program);
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    for (GLuint slot = 0; slot < 3; slot++) {
        const int sizes[3] = {3, 4, 2}, offsets[3] = {0, 3, 7};
        glVertexAttribPointer(slot, sizes[slot], GL_FLOAT, GL_FALSE, sizeof(MeshVertex),
                              (const void*)(offsets[slot] * sizeof(float)));
        glEnableVertexAttribArray(slot);
    }
    glBindSampler(0, 0);
    glEnable(GL_BLEND);
    glDisable(GL_SCISSOR_TEST);
    glViewport(0, 0, w, h);
    glClear(GL_COLOR_BUFFER_BIT);
    glUniform2f(glGetUniformLocation(program, "halfSize"), w / 2.0f, h / 2.0f);
    for (const Draw& d : recorded) {
        // The scene's pixels: those whose centres the 1280 by 720 scene covers.
        auto at = [&](int size, float edge) {
            return (int)std::ceil(size / 2.0f + edge * d.scale - 0.5f);
        };
        d.clipped ? glEnable(GL_SCISSOR_TEST) : glDisable(GL_SCISSOR_TEST);
        glScissor(at(w, -640), at(h, -360), at(w, 640) - at(w, -640), at(h, 360) - at(h, -360));
        glBindTexture(GL_TEXTURE_2D, d.textureName);
        glUniformMatrix4fv(glGetUniformLocation(program, "mtxModel"), 1, GL_TRUE, &d.model[0][0]);
        glUniformMatrix3fv(glGetUniformLocation(program, "mtxTexture"), 1, GL_TRUE,
                           &d.texture.m[0][0]);
        glUniform1i(glGetUniformLocation(program, "useTexture"), d.textureName != 0);
        const uint32_t c = d.tinted ? d.tint : 0xFFFFFFFF;
        glUniform4f(glGetUniformLocation(program, "modColor"), ((c >> 16) & 0xFF) / 255.0f,
                    ((c >> 8) & 0xFF) / 255.0f, (c & 0xFF) / 255.0f, (c >> 24) / 255.0f);
        glBufferData(GL_ARRAY_BUFFER, d.vertices.size() * sizeof(MeshVertex), d.vertices.data(),
                     GL_STREAM_DRAW);
        glDrawArrays(GL_TRIANGLES, 0, (GLsizei)d.vertices.size());
    }
    std::vector<uint8_t> rgba((size_t)w * h * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    BatchStateChangedOutside();
    return rgba;
}

} // namespace reference
