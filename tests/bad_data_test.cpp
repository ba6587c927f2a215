// Bad data: the game started on a data folder with one file broken (a picture
// missing, a PNG cut short, an empty music file, animation files with no rows
// or naming a sheet that is not there). Each time a player's route runs on the
// real screens: the splash skipped, Play on the main menu, a house chosen,
// level 1 played for several hundred frames with troops bought on both lanes,
// then the game left. The game must run on through every screen, name the
// broken file on stderr (a few times at most, never once per frame), and
// release everything at exit (no resource report).
// The data folder is a symlink farm of this build's data folder in a scratch
// folder, with the one file replaced.
// Depends on the test harness, the battle test helpers, the game file layer,
// the state manager and the screens' shared flags.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "app/global_keys.h"
#include "app/input.h"
#include "app/settings.h"
#include "battle_helpers.h"
#include "engine/file.h"
#include "engine/graphics/font.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/texture.h"
#include "engine/platform/platform.h"
#include "harness/harness.h"
#include "objects/animation.h"
#include "objects/game_object.h"
#include "screens/main_menu.h"

namespace fs = std::filesystem;

namespace {

// ---------------------------------------------------------------------------
// Broken files
// ---------------------------------------------------------------------------

// How a file of the data folder is broken.
enum class Breakage {
    Missing,   // the file is not there
    Truncated, // the first half of its bytes only
    Empty,     // zero bytes
    Rewritten, // one line of the text file replaced
};

struct BrokenFile {
    const char* testName;
    const char* path; // under the data folder, '/' separated
    Breakage breakage;
    int lineIndex;        // Rewritten: which line (0 = frame count)
    const char* newLine;  // Rewritten: its new text
    const char* named[2]; // what stderr must name ('/' separated; null for none)
};

const BrokenFile BROKEN_FILES[] = {
    {"MissingCoinPicture", "Coin.png", Breakage::Missing, 0, nullptr, {"data/Coin.png", nullptr}},
    {"TruncatedFieldPicture",
     "DefinitiveBackground.png",
     Breakage::Truncated,
     0,
     nullptr,
     {"data/DefinitiveBackground.png", nullptr}},
    {"TruncatedStudioLogoSheet",
     "Animation/TarnAnim.png",
     Breakage::Truncated,
     0,
     nullptr,
     {"data/Animation/TarnAnim.png", "data/Animation/TarnAnim\""}},
    {"EmptyMenuTheme",
     "MenuTheme.mp3",
     Breakage::Empty,
     0,
     nullptr,
     {"data/MenuTheme.mp3", nullptr}},
    {"KnightAnimationWithRowsZero",
     "Animation/Noblemen/Knights/Knight",
     Breakage::Rewritten,
     1,
     "0",
     {"data/Animation/Noblemen/Knights/Knight\"", nullptr}},
    {"DustAnimationNamingMissingSheet",
     "Animation/DustAnim",
     Breakage::Rewritten,
     3,
     "data\\Animation\\NoSuchDust.png",
     {"data/Animation/DustAnim\"", "NoSuchDust.png"}},
    {"MenuBackgroundNamingMissingSheet",
     "Animation/BackgroundAnim",
     Breakage::Rewritten,
     3,
     "data\\Animation\\NoSuchKnight.png",
     {"data/Animation/BackgroundAnim\"", "NoSuchKnight.png"}},
};

// Failure messages show the case by its name.
void PrintTo(const BrokenFile& broken, std::ostream* out) {
    *out << broken.testName << " (data/" << broken.path << ")";
}

// A broken file is named on stderr at most this often in the whole route
// (once per screen that loads it), never once per frame.
constexpr size_t MAX_MENTIONS = 4;

// Design positions of the route's buttons.
constexpr battle_test::Point PLAY = {0.7f, 100};
constexpr battle_test::Point NOBLEMEN_SELECTOR = {-500, 100};

// ---------------------------------------------------------------------------
// Helpers
// ---------------------------------------------------------------------------

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), (std::streamsize)bytes.size());
    ASSERT_TRUE(out.good()) << path;
}

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
    const std::string bytes = ReadBytes(original);
    fs::remove(link);
    switch (broken.breakage) {
    case Breakage::Missing:
        break;
    case Breakage::Truncated:
        WriteBytes(link, bytes.substr(0, bytes.size() / 2));
        break;
    case Breakage::Empty:
        WriteBytes(link, "");
        break;
    case Breakage::Rewritten: {
        std::istringstream in(bytes);
        std::string line, text;
        for (int index = 0; std::getline(in, line); ++index)
            text += (index == broken.lineIndex ? broken.newLine : line) + "\n";
        ASSERT_NE(text, bytes) << "line " << broken.lineIndex << " of " << original;
        WriteBytes(link, text);
        break;
    }
    }
}

size_t CountOf(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

bool InState(int32_t state) {
    return currentState == state;
}
bool InMainMenu() {
    return InState(GS_MAIN_MENU);
}
bool InHouseSelection() {
    return InState(GS_HOUSE_SELECT);
}
bool InLevel1() {
    return InState(GS_LEVEL1);
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

// ---------------------------------------------------------------------------
// Fixture: one engine per broken file, reading the farm
// ---------------------------------------------------------------------------

class BadDataTest : public ::testing::TestWithParam<BrokenFile> {
  protected:
    fs::path base;
    int messageBoxesBefore = 0;

    void SetUp() override {
        char pattern[] = "/tmp/bad_data_test_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        base = pattern;
        const fs::path data = fs::path(MORROW_BUILD_DIR) / "data";
        MakeSymlinkFarm(data, base / "data");
        Break(GetParam(), data / GetParam().path, base / "data" / GetParam().path);

        battle_test::ResetBattleProcessState();
        house = HOUSE_NOBLEMEN;
        battleSeedOverride = 4242;
        menuMusicStarted = false;
        menuMusicReleased = false;
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
        ClearBattleEndFlags();
        // Everything a screen loaded was released again, the broken file too.
        EXPECT_EQ(TextureCount(), 0);
        EXPECT_EQ(FontCount(), 0);
        EXPECT_EQ(AnimationCount(), 0);
        EXPECT_EQ(SoundCacheCount(), 0);
        StopTestEngine();
        EXPECT_EQ(PlatformMessageBoxCount(), messageBoxesBefore) << "a resource report at exit";
        std::error_code ignored;
        fs::remove_all(base, ignored);
    }
};

// ---------------------------------------------------------------------------
// The route
// ---------------------------------------------------------------------------

TEST_P(BadDataTest, TheGameRunsOnAndNamesTheFile) {
    const BrokenFile& broken = GetParam();
    testing::internal::CaptureStderr();

    // Splash: the logos (or what is left of them) for half a second, then Space skips.
    StartGame(GS_SPLASH);
    RunFrames(30);
    const bool splashRan = InState(GS_SPLASH);
    KeyDown(VK_SPACE);
    RunFramesUntil(InMainMenu, 10);
    KeyUp(VK_SPACE);
    const bool menuReached = InMainMenu();

    // Main menu: a second of the menu, then Play.
    RunFrames(60);
    const bool housesReached = menuReached && ClickUntil(PLAY, InHouseSelection, 20);

    // House selection: the curtain opens, the Noblemen are chosen, level 1 follows.
    RunFrames(90);
    if (housesReached) {
        battle_test::Click(NOBLEMEN_SELECTOR);
        RunFramesUntil(InLevel1, 600);
    }
    const bool levelReached = InLevel1();

    // Level 1: troops bought on both lanes while the enemy sends its waves.
    size_t playerTroops = 0;
    int levelFrames = 0;
    if (levelReached) {
        levelFrames += RunFrames(120);
        battle_test::Click(battle_test::KNIGHT_UP);
        levelFrames += RunFrames(150);
        battle_test::Click(battle_test::KNIGHT_DOWN);
        playerTroops = battle_test::TroopsNamed("AllieUp").size() +
                       battle_test::TroopsNamed("AllieDown").size();
        levelFrames += RunFrames(600);
    }
    const bool stillInLevel = InLevel1();

    std::string err = testing::internal::GetCapturedStderr();
    std::replace(err.begin(), err.end(), '\\', '/');

    EXPECT_TRUE(splashRan);
    ASSERT_TRUE(menuReached) << err;
    ASSERT_TRUE(housesReached) << err;
    ASSERT_TRUE(levelReached) << err;
    EXPECT_EQ(playerTroops, 2u) << "a knight bought on each lane";
    EXPECT_EQ(levelFrames, 870);
    EXPECT_TRUE(stillInLevel) << "state " << currentState;
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
