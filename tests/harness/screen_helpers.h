// Shared pieces of the screen and battle tests: design points to click and
// hover, the click areas of the buy panel, the pause menu, the main menu and
// the end screens, leaving a game
// between tests, and small queries on printed texts, objects and pixels.
#pragma once

#include <string>
#include <vector>

#include "app/game_state.h"
#include "app/input.h"
#include "app/window.h"
#include "battle/battle_state.h"
#include "engine/audio/sound.h"
#include "harness/harness.h"
#include "objects/game_object.h"
#include "screens/ui.h"

namespace screen_test {

// Busy channels but the button clicks, whose short sound ends on the wall clock.
inline int BusyChannelsBesideClicks() {
    return BusyChannelCount() - SoundingInstances(ClickCueRecord());
}

struct Point {
    float x, y;
};
inline void Click(Point p) {
    ClickDesign(p.x, p.y);
}
// Moves the cursor there and runs one frame.
inline void Hover(Point p) {
    MoveCursorToDesign(p.x, p.y);
    RunFrames(1);
}

// The battle's buy panel (centres, design units).
constexpr Point KNIGHT_UP = {-572.5f, 310};
constexpr Point KNIGHT_DOWN = {-572.5f, 258};
constexpr Point KNIGHT_UPGRADE = {-507.5f, 284};
constexpr Point SPEARMAN_UP = {-442.5f, 310};
constexpr Point SPEARMAN_DOWN = {-442.5f, 258};
constexpr Point SPEARMAN_UPGRADE = {-377.5f, 284};
constexpr Point HORSEMAN_UP = {-312.5f, 310};
constexpr Point HORSEMAN_DOWN = {-312.5f, 258};
constexpr Point HORSEMAN_UPGRADE = {-247, 284};
constexpr Point THIEF = {-560, -240};
constexpr Point CANNON = {-180, 285};
constexpr Point FIELD = {200, -300}; // over the field only

// The battle's pause scroll, its pages and the confirmation.
constexpr Point CONTINUE_ROW = {0, 85};
constexpr Point SETTINGS_ROW = {0, -15};
constexpr Point EXIT_ROW = {0, -100};
constexpr Point RESTART = {-175, -10};
constexpr Point PAUSE_CREDITS = {-185, -150};
constexpr Point PAUSE_HOW_TO_PLAY = {185, -150};
constexpr Point EXIT_GAME = {-100, 100};
constexpr Point QUIT_TO_MENU = {100, 100};
constexpr Point EXIT_BACK = {0, -50};
constexpr Point PAUSE_YES = {90, -150};
constexpr Point PAUSE_NO = {-90, -150};
// The pause settings page and the compact how-to-play page.
constexpr Point PAUSE_SETTINGS_BACK = {-175, -150};
constexpr Point PAUSE_EFFECTS = {180, -150};
constexpr Point PAUSE_RESOLUTION_LEFT = {-110, 190};
constexpr Point PAUSE_RESOLUTION_RIGHT = {110, 190};
constexpr Point PAUSE_FULLSCREEN_LEFT = {-110, 90};
constexpr Point PAUSE_FULLSCREEN_RIGHT = {110, 90};
constexpr Point PAUSE_VOLUME_LEFT = {-110, -10};
constexpr Point PAUSE_VOLUME_RIGHT = {110, -10};
constexpr Point PAUSE_MUSIC_LEFT = {-110, -100};
constexpr Point PAUSE_HTP_BACK = {-545, -260};

// The main menu, its settings panel and the quit confirmation.
constexpr Point MENU_PLAY = {0.7f, 100};
constexpr Point MENU_HOW_TO_PLAY = {0.7f, -10};
constexpr Point MENU_CREDITS = {0.7f, -123};
constexpr Point MENU_QUIT = {0.7f, -235};
constexpr Point MENU_SPEAKER = {-550, -300};
constexpr Point MENU_SETTINGS = {-460, -300};
constexpr Point MENU_EFFECTS = {-370, -300};
constexpr Point MENU_RESOLUTION_LEFT = {-110, 30};
constexpr Point MENU_RESOLUTION_RIGHT = {110, 30};
constexpr Point MENU_FULLSCREEN_LEFT = {-110, -70};
constexpr Point MENU_FULLSCREEN_RIGHT = {110, -70};
constexpr Point MENU_VOLUME_LEFT = {-110, -170};
constexpr Point MENU_VOLUME_RIGHT = {110, -170};
constexpr Point MENU_MUSIC_RIGHT = {110, -260};
constexpr Point MENU_YES = {180, -175};
constexpr Point MENU_NO = {-180, -175};
constexpr Point MENU_EMPTY = {-600, 250}; // over the background only

// The win and lose screens' two buttons.
constexpr Point END_RIGHT = {500, 10}; // Next level or Restart
constexpr Point END_MENU = {-500, 10};

// Leaves the running game so that Free and Unload run, and puts sounds,
// input, focus, window and clock back for the next test.
inline void LeaveGame() {
    if (!GameHasQuit()) {
        nextState = GS_QUIT;
        RunFrames(1);
    }
    StopAllSounds();
    MouseUp();
    GainFocus();
    if (isFullscreen) SetFullscreen(false);
    SetWindowResolution(1280, 720);
    SetSteppedClock(true, 1.0 / 60.0);
    RunFrames(1);
}

inline int32_t awaitedState = 0;
// Runs frames until `state` is current (or the limit); returns frames run.
inline int RunUntilState(int32_t state, int limit) {
    awaitedState = state;
    return RunFramesUntil([] { return currentState == awaitedState; }, limit);
}

// The first text of these characters among `texts`, or null.
inline const PrintedText* FindPrinted(const std::vector<PrintedText>& texts,
                                      const std::string& text) {
    for (const PrintedText& t : texts)
        if (t.text == text) return &t;
    return nullptr;
}
// Runs one frame; true if it printed this text.
inline bool PrintsText(const std::string& text) {
    return FindPrinted(RecordPrintedTexts(), text) != nullptr;
}

inline uint32_t Rgb(uint32_t argb) {
    return argb & 0xFFFFFF;
}

} // namespace screen_test
