// Bad data: the game started on a copy of its data folder (a symlink farm) with
// one file broken, then a player's route: splash skipped, Play, a house, level 1
// played with troops bought on both lanes. The game runs on, names the file on
// stderr (a few times at most, never once per frame) and releases everything.
#include <algorithm>
#include <sstream>

#include "app/game_state.h"
#include "app/global_keys.h"
#include "app/input.h"
#include "app/settings.h"
#include "battle_helpers.h"
#include "engine/file.h"
#include "engine/graphics/font.h"
#include "engine/graphics/texture.h"
#include "engine/platform/platform.h"
#include "graphics_helpers.h"
#include "objects/animation.h"
#include "screens/main_menu.h"

namespace fs = std::filesystem;

namespace {

enum Breakage { MISSING, TRUNCATED, EMPTY, REWRITTEN };

struct BrokenFile {
    const char* testName;
    const char* path; // under the data folder, '/' separated
    Breakage breakage;
    int lineIndex;        // REWRITTEN: which line (0 = frame count) gets
    const char* newLine;  // this new text
    const char* named[2]; // what stderr must name ('/' separated), or null
};

const BrokenFile BROKEN_FILES[] = {
    {"MissingCoinPicture", "Coin.png", MISSING, 0, nullptr, "data/Coin.png", nullptr},
    {"TruncatedFieldSheet", "Animation/BackgroundLevelAnim.png", TRUNCATED, 0, nullptr,
     "data/Animation/BackgroundLevelAnim.png", "data/DefinitiveBackground.png"},
    {"TruncatedStudioLogoSheet", "Animation/TarnAnim.png", TRUNCATED, 0, nullptr,
     "data/Animation/TarnAnim.png", "data/Animation/TarnAnim\""},
    {"EmptyMenuTheme", "MenuTheme.mp3", EMPTY, 0, nullptr, "data/MenuTheme.mp3", nullptr},
    {"KnightAnimationWithRowsZero", "Animation/Noblemen/Knights/Knight", REWRITTEN, 1, "0",
     "data/Animation/Noblemen/Knights/Knight\"", nullptr},
    {"DustAnimationNamingMissingSheet", "Animation/DustAnim", REWRITTEN, 3,
     "data\\Animation\\NoSuchDust.png", "data/Animation/DustAnim\"", "NoSuchDust.png"},
    {"ScrollOpenNamingMissingSheet", "Animation/ScrollAnimOpen", REWRITTEN, 3,
     "data\\Animation\\NoSuchScroll.png", "data/Animation/ScrollAnimOpen\"", "NoSuchScroll.png"},
    {"ScrollCloseWithRowsZero", "Animation/ScrollAnimClose", REWRITTEN, 1, "0",
     "data/Animation/ScrollAnimClose\"", nullptr},
};

// Failure messages show the case by its name.
void PrintTo(const BrokenFile& broken, std::ostream* out) {
    *out << broken.testName << " (data/" << broken.path << ")";
}

// A broken file is named at most this often (once per screen that loads it).
constexpr size_t MAX_MENTIONS = 4;

// Mirrors `from` into `to`: folders made, every file a symbolic link to its original.
void MakeSymlinkFarm(const fs::path& from, const fs::path& to) {
    fs::create_directories(to);
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(from)) {
        const fs::path target = to / fs::relative(entry.path(), from);
        if (entry.is_directory())
            fs::create_directories(target);
        else
            fs::create_symlink(entry.path(), target);
    }
}

// Replaces the farm's link with the broken file (made from the original's bytes).
void Break(const BrokenFile& broken, const fs::path& original, const fs::path& link) {
    ASSERT_TRUE(fs::is_regular_file(original)) << "the game's data has no " << original;
    std::ifstream in(original, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    fs::remove(link);
    if (broken.breakage == TRUNCATED) WriteBytes(link, bytes.substr(0, bytes.size() / 2));
    if (broken.breakage == EMPTY) WriteBytes(link, "");
    if (broken.breakage == REWRITTEN) {
        std::istringstream lines(bytes);
        std::string line, text;
        for (int index = 0; std::getline(lines, line); ++index)
            text += (index == broken.lineIndex ? broken.newLine : line) + "\n";
        ASSERT_NE(text, bytes) << "line " << broken.lineIndex << " of " << original;
        WriteBytes(link, text);
    }
}

size_t CountOf(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

template <int32_t STATE> bool In() {
    return currentState == STATE;
}

// Clicks a button every half second until `arrived()` (a screen may ignore
// clicks while it opens); false when it never does.
bool ClickUntil(battle_test::Point button, bool (*arrived)(), int attempts) {
    for (int i = 0; i < attempts && !arrived(); ++i) {
        battle_test::Click(button);
        RunFramesUntil(arrived, 30);
    }
    return arrived();
}

// One engine per broken file, reading the farm.
class BadDataTest : public ::testing::TestWithParam<BrokenFile> {
  protected:
    fs::path base;
    int messageBoxesBefore = 0;

    void SetUp() override {
        base = MakeTempFolder(); // removed when the program ends
        const fs::path data = fs::path(MORROW_BUILD_DIR) / "data";
        MakeSymlinkFarm(data, base / "data");
        Break(GetParam(), data / GetParam().path, base / "data" / GetParam().path);

        battle_test::ResetBattleProcessState();
        house = HOUSE_NOBLEMEN;
        battleSeedOverride = 4242;
        StartTestEngine(false);
        SetGameBaseDir(base.string());
        messageBoxesBefore = PlatformMessageBoxCount();
    }
    void TearDown() override {
        if (!GameHasQuit()) {
            nextState = GS_QUIT;
            RunFrames(1);
        }
        MouseUp();
        StopAllSounds();
        // Everything a screen loaded was released again, the broken file too.
        EXPECT_EQ(TextureCount(), 0);
        EXPECT_EQ(FontCount(), 0);
        EXPECT_EQ(AnimationCount(), 0);
        EXPECT_EQ(SoundCacheCount(), 0);
        StopTestEngine();
        EXPECT_EQ(PlatformMessageBoxCount(), messageBoxesBefore) << "a resource report at exit";
    }
};

TEST_P(BadDataTest, TheGameRunsOnAndNamesTheFile) {
    const BrokenFile& broken = GetParam();
    testing::internal::CaptureStderr();
    // Splash: the logos (or what is left of them) for half a second, then Space skips.
    StartGame(GS_SPLASH);
    RunFrames(30);
    EXPECT_TRUE(In<GS_SPLASH>());
    TapKey(VK_SPACE);
    const bool menuReached = In<GS_MAIN_MENU>();
    // Main menu: a second of it, then Play; the house selection: the Noblemen.
    RunFrames(60);
    const bool housesReached =
        menuReached && ClickUntil(battle_test::MENU_PLAY, In<GS_HOUSE_SELECT>, 20);
    RunFrames(90);
    if (housesReached) {
        battle_test::Click({-500, 100}); // the Noblemen's selector
        RunFramesUntil(In<GS_LEVEL1>, 600);
    }
    const bool levelReached = In<GS_LEVEL1>();
    // Level 1: troops bought on both lanes while the enemy sends its waves;
    // Escape pauses; once unrolled the scroll's Continue row resumes and the scroll goes.
    size_t playerTroops = 0;
    bool pausedByEscape = false, resumed = false, scrollGone = false;
    std::string field;
    if (levelReached) {
        RunFrames(120);
        field = PictureOf("BG");
        battle_test::Click(battle_test::KNIGHT_UP);
        RunFrames(150);
        battle_test::Click(battle_test::KNIGHT_DOWN);
        playerTroops = battle_test::TroopsNamed("AllieUp").size() +
                       battle_test::TroopsNamed("AllieDown").size();
        RunFrames(600);
        TapKey(VK_ESCAPE);
        pausedByEscape = BattleState::paused && !ObjectsNamed("PauseMenu").empty();
        RunFrames(60);
        battle_test::Click(battle_test::CONTINUE_ROW);
        resumed = !BattleState::paused;
        RunFrames(90);
        scrollGone = ObjectsNamed("PauseMenu").empty();
    }
    std::string err = testing::internal::GetCapturedStderr();
    std::replace(err.begin(), err.end(), '\\', '/');
    ASSERT_TRUE(menuReached && housesReached && levelReached) << err;
    EXPECT_EQ(playerTroops, 2u) << "a knight bought on each lane";
    EXPECT_NE(field, "") << "the field shows no picture";
    EXPECT_TRUE(In<GS_LEVEL1>()) << "state " << currentState;
    EXPECT_TRUE(pausedByEscape);
    EXPECT_TRUE(resumed) << "the scroll's Continue row did not work";
    EXPECT_TRUE(scrollGone) << "the scroll stayed on the field";
    for (const char* named : broken.named) {
        if (named == nullptr) continue;
        const size_t mentions = CountOf(err, named);
        EXPECT_GE(mentions, 1u) << "stderr does not name " << named << ":\n" << err;
        EXPECT_LE(mentions, MAX_MENTIONS) << named << " named over and over:\n" << err;
    }
}

INSTANTIATE_TEST_SUITE_P(BrokenFiles, BadDataTest, ::testing::ValuesIn(BROKEN_FILES),
                         [](const testing::TestParamInfo<BrokenFile>& info) {
                             return std::string(info.param.testName);
                         });

} // namespace
