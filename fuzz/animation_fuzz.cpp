// Fuzz target: animation files. Each input is written as an animation file of
// the data folder and read with LoadAnimation, as a screen reads one; an
// animation that loads is played on a sprite for a few dozen frames (frame
// cells, durations, looping and one-shot ends), then everything is freed. A
// refused file must leave nothing behind; a loaded one must describe a grid
// its frames fit in, with one duration per frame and its sheet.
// The data folder is a scratch folder with two sheets: "data\Sheet.png" (a
// valid 8 by 4 picture) and "data\Broken.png" (a PNG cut short).
// Depends on the engine (fuzz_engine.h), animations, sprites and textures.
#include <stb_image_write.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/graphics/mesh.h"
#include "engine/graphics/texture.h"
#include "fuzz_engine.h"
#include "objects/animation.h"
#include "objects/game_object.h"

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

namespace {

// The game path of the fuzzed file, as screens name theirs.
const char* const FUZZED_PATH = "data\\Animation\\Fuzzed";
// Longest play of one loaded animation, in frames.
const uint32_t MAX_PLAY_FRAMES = 64;

std::string animationFile; // resolved path of FUZZED_PATH
int texturesAtStart = 0;

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// Writes the two sheets the seeds name into the scratch data folder.
void WriteSheets(const std::string& data) {
    std::vector<unsigned char> pixels(8 * 4 * 4);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = (unsigned char)(i * 37);
    const std::string sheet = data + "/Sheet.png";
    FuzzCheck(stbi_write_png(sheet.c_str(), 8, 4, 4, pixels.data(), 8 * 4) != 0, "sheet written");
    // The same picture cut in half: its header promises more than the file holds.
    const uintmax_t size = std::filesystem::file_size(sheet);
    std::filesystem::copy_file(sheet, data + "/Broken.png",
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::resize_file(data + "/Broken.png", size / 2);
}

// What a loaded record promises the sprites that play it.
void CheckLoaded(const Animation* animation) {
    FuzzCheck(animation->texture != nullptr, "a loaded animation has its sheet");
    FuzzCheck(animation->rows >= 1 && animation->columns >= 1, "the grid has cells");
    FuzzCheck(animation->frameCount >= 1, "at least one frame");
    FuzzCheck((uint64_t)animation->frameCount <= (uint64_t)animation->rows * animation->columns,
              "the frames fit the grid");
    FuzzCheck(animation->frameDurations.size() == animation->frameCount, "one duration per frame");
    FuzzCheck(animationList.size() == 1 && animationList.back() == animation,
              "the record is listed once");
}

// Plays the animation on a sprite as a screen does (Draw advances it).
void Play(Animation* animation, bool loop) {
    Sprite* sprite = new Sprite();
    AddObject(sprite, "FuzzedSprite", 0, 0, 100, 100, 0, squareMesh, nullptr);
    SetAnimation(sprite, animation);
    sprite->loop = loop ? 1 : 0;
    sprite->playing = 1;
    const uint32_t frames = std::min(MAX_PLAY_FRAMES, animation->frameCount * 2 + 2);
    for (uint32_t i = 0; i < frames; ++i) {
        sprite->Draw();
        FuzzCheck(sprite->frame <= animation->frameCount, "the frame index stays in the sheet");
    }
    FreeAllObjects();
    FlushDestroyed();
}

} // namespace

// ---------------------------------------------------------------------------
// libFuzzer entry points
// ---------------------------------------------------------------------------

// Starts the engine on a scratch data folder holding the sheets.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::string& base = FuzzScratchDir();
    std::filesystem::create_directories(base + "/data/Animation");
    WriteSheets(base + "/data");
    animationFile = base + "/data/Animation/Fuzzed";
    StartFuzzEngine(base);
    squareMesh = CreateSquareMesh(0xFFFFFFFF);
    texturesAtStart = TextureCount();
    return 0;
}

// One animation file: load it, play what loads, free everything.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteFuzzFile(animationFile, data, size);
    Animation* animation = LoadAnimation(FUZZED_PATH);
    if (animation == nullptr) {
        FuzzCheck(AnimationCount() == 0, "a refused file lists nothing");
    } else {
        CheckLoaded(animation);
        Play(animation, size > 0 && (data[0] & 1));
    }
    FreeAllAnimations();
    FuzzCheck(AnimationCount() == 0, "every animation freed");
    FuzzCheck(TextureCount() == texturesAtStart, "no sheet left behind");
    return 0;
}
