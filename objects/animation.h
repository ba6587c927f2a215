// Animation files: a sprite sheet (one picture cut into a grid of equal cells)
// with a duration per frame, described by a small text file under
// data\Animation. Loaded records are kept in one list and freed together.
// Depends on textures.
#pragma once

#include <cstdint>
#include <list>
#include <vector>

struct Texture;

struct Animation {
    Texture* texture = nullptr; // owned: unloaded with the record
    uint32_t frameCount = 0;
    uint32_t rows = 0;
    uint32_t columns = 0;
    std::vector<float> frameDurations;
};

// Every loaded animation, in load order.
extern std::list<Animation*> animationList;

// Reads an animation file; null and one stderr line naming the file and the
// fault when it cannot be read or is malformed.
Animation* LoadAnimation(const char* path);
// Frees every loaded animation, last loaded first, with its sheet.
void FreeAllAnimations();
int AnimationCount();
