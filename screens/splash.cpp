// Studio and audio-library splash (state 13), the first screen of the game:
// after a short pause the studio's animated logo plays once; when it reaches
// its 17th frame the audio library's logo appears and plays, and its 18th
// frame hands over to the main menu. Escape, Space or Enter held, or a mouse
// button going down, skips straight to the menu. The global keys do not work
// here. Depends on the object list, animations, input and the state manager.
#include "screens/splash.h"

#include "app/game_state.h"
#include "app/input.h"
#include "app/window.h"
#include "engine/graphics/mesh.h"
#include "objects/animation.h"
#include "objects/game_object.h"

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

float splashTimer = 1.5f;
bool splashFirstRun = true;

namespace {

// The studio animation shows the second logo at this frame index...
constexpr uint32_t STUDIO_HANDOVER_FRAME = 16;
// ...and the audio-library animation ends the splash at this one.
constexpr uint32_t AUDIO_LOGO_END_FRAME = 17;
constexpr float SPLASH_DELAY_SECONDS = 1.5f;

Animation* studioAnimation = nullptr;
Animation* audioLibraryAnimation = nullptr;
Sprite* studioLogo = nullptr;
Sprite* audioLibraryLogo = nullptr;

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// Adds one logo sprite; the sprite shows nothing when its animation failed to load.
Sprite* AddLogoSprite(float width, float height, Animation* animation) {
    Sprite* sprite = new Sprite();
    AddObject(sprite, "TarnLogoSprite", 0, 0, width, height, PI_F, squareMesh, nullptr);
    if (animation)
        SetAnimation(sprite, animation);
    else
        sprite->visible = 0; // nothing to show; a bare square would be drawn
    sprite->playing = 0;
    return sprite;
}

// A skip key held, or a mouse button pressed in this very frame.
bool SkipRequested() {
    return IsKeyHeld(VK_ESCAPE) || IsKeyHeld(VK_SPACE) || IsKeyHeld(VK_RETURN) ||
           IsButtonPressed(MOUSE_LEFT) || IsButtonPressed(MOUSE_RIGHT);
}

} // namespace

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// Reads the two logo animations and builds the square mesh.
void SplashLoad() {
    studioAnimation = LoadAnimation("data\\Animation\\TarnAnim");
    audioLibraryAnimation = LoadAnimation("data\\Animation\\FmodAnimData");
    squareMesh = CreateSquareMesh(0xFFFFFFFF);
}

// Creates the two logos (the second hidden) and starts the pause before the first.
void SplashInit() {
    studioLogo = AddLogoSprite(-640, 360, studioAnimation);
    studioLogo->loop = 0;
    audioLibraryLogo = AddLogoSprite(-505, 133.3f, audioLibraryAnimation);
    audioLibraryLogo->visible = 0;
    splashTimer = SPLASH_DELAY_SECONDS;
}

// Skip keys, the start of the studio logo, the hand-over between the logos and the end.
void SplashUpdate() {
    if (SkipRequested()) nextState = GS_MAIN_MENU;

    if (splashTimer <= 0 && splashFirstRun) {
        studioLogo->playing = 1;
        splashFirstRun = false;
    }
    if (studioLogo->frame == STUDIO_HANDOVER_FRAME) {
        audioLibraryLogo->visible = audioLibraryLogo->animation != nullptr;
        audioLibraryLogo->playing = 1;
    }
    if (audioLibraryLogo->frame == AUDIO_LOGO_END_FRAME) nextState = GS_MAIN_MENU;
    splashTimer -= static_cast<float>(frameTime);
    UpdateAllObjects();
}

// Frees the animations (and their sheets) and the square mesh.
void SplashUnload() {
    FreeAllAnimations();
    studioAnimation = nullptr;
    audioLibraryAnimation = nullptr;
    FreeMesh(squareMesh);
    squareMesh = nullptr;
}
