// Animation files: a sprite sheet (one picture cut into a grid of equal cells)
// with a duration per frame, described by a small text file under
// data\Animation. Loaded records are kept in one list and freed together.
// Depends on textures.
#pragma once

#include <cstdint>
#include <vector>

struct Texture;

struct Animation {
    Texture* texture;
    uint32_t frameCount;
    uint32_t rows;
    uint32_t columns;
    std::vector<float> frameDurations;
};

// Reads an animation file; null and one stderr line naming the file and the
// fault when it cannot be read or is malformed.
Animation* LoadAnimation(const char* path);
// Frees every loaded animation, last loaded first, with its sheet.
void FreeAllAnimations();
int AnimationCount();
