// Tests of the data folder made by assets/: every file the game reads (the
// list in assets/manifest.txt, and every data path written in the game's
// code) is in build/data and decodes: pictures with stb_image as 8-bit RGBA,
// animation files with the engine's reader (frames fit the grid, the sheet
// divides into it, natural frame times), sounds with SDL_mixer (lengths,
// equal loudness of the music, no clipping, seamless loops), the font with
// stb_truetype; and nothing in the folder is left unused.
// Depends on the engine's animation reader and textures, the test harness,
// SDL2_mixer, stb_image and stb_truetype.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <stb_image.h>
#include <stb_truetype.h>

#include <algorithm>
#include <cstdio>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/texture.h"
#include "harness/harness.h"
#include "objects/animation.h"
#include "objects/game_object.h"

namespace fs = std::filesystem;

namespace {

// ---------------------------------------------------------------------------
// Paths
// ---------------------------------------------------------------------------

const fs::path SOURCE_ROOT = fs::path(__FILE__).parent_path().parent_path();

// A game path ("data\\Coin.png") as a path on disk under the build folder.
std::string OnDisk(const std::string& gamePath) {
    std::string p = gamePath;
    std::replace(p.begin(), p.end(), '\\', '/');
    return p;
}

std::vector<std::string> Manifest() {
    std::ifstream in(SOURCE_ROOT / "assets" / "manifest.txt");
    std::vector<std::string> paths;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] != '#') paths.push_back(line);
    }
    return paths;
}

bool EndsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

bool IsAnimationFile(const std::string& path) {
    return path.rfind("data/Animation/", 0) == 0 && fs::path(path).extension().empty();
}

std::vector<std::string> ManifestWith(bool (*keep)(const std::string&)) {
    std::vector<std::string> out;
    for (const std::string& p : Manifest())
        if (keep(OnDisk(p))) out.push_back(OnDisk(p));
    return out;
}

bool IsPicture(const std::string& p) {
    return EndsWith(p, ".png");
}
bool IsSound(const std::string& p) {
    return EndsWith(p, ".mp3") || EndsWith(p, ".wav");
}
bool IsMusic(const std::string& p) {
    static const std::set<std::string> music = {"data/MenuTheme.mp3",
                                                "data/Spring_Village.mp3",
                                                "data/TheTrueStoryOfBeelzebub.mp3",
                                                "data/FinalLevel.mp3",
                                                "data/The Grace of a Kingdom.mp3",
                                                "data/Meowgic.mp3",
                                                "data/YouLose.mp3"};
    return music.count(p) > 0;
}

// The animation file's four header lines (frame count, rows, columns, sheet).
std::vector<std::string> HeaderLines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    std::string line;
    while (lines.size() < 4 && std::getline(in, line))
        lines.push_back(line);
    return lines;
}

// ---------------------------------------------------------------------------
// Every path exists; the code names nothing the manifest lacks
// ---------------------------------------------------------------------------

TEST(DataFolder, EveryManifestPathExists) {
    std::vector<std::string> paths = Manifest();
    ASSERT_GT(paths.size(), 300u) << "assets/manifest.txt not found or short";
    for (const std::string& p : paths)
        EXPECT_TRUE(fs::is_regular_file(OnDisk(p))) << "missing from build/data: " << p;
}

// A source file with its line comments cut off (a "//" outside a string literal).
std::string CodeWithoutComments(const fs::path& file) {
    std::ifstream in(file);
    std::string line, code;
    while (std::getline(in, line)) {
        bool quoted = false;
        for (size_t i = 0; i < line.size(); ++i) {
            if (line[i] == '"' && (i == 0 || line[i - 1] != '\\')) quoted = !quoted;
            if (!quoted && line.compare(i, 2, "//") == 0) {
                line.resize(i);
                break;
            }
        }
        code += line + "\n";
    }
    return code;
}

TEST(DataFolder, EveryFixedPathInTheGameCodeIsInTheManifest) {
    std::set<std::string> manifest;
    for (const std::string& p : Manifest())
        manifest.insert(OnDisk(p));
    // string literals beginning with data\ or data/ in the game's sources
    std::regex literal(R"re("(data(?:\\\\|/)[^"%]*)")re");
    int found = 0;
    for (const char* folder : {"app", "battle", "screens", "objects", "engine"}) {
        if (!fs::is_directory(SOURCE_ROOT / folder)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(SOURCE_ROOT / folder)) {
            std::string ext = entry.path().extension().string();
            if (ext != ".cpp" && ext != ".h") continue;
            std::string code = CodeWithoutComments(entry.path());
            for (std::sregex_iterator it(code.begin(), code.end(), literal), end; it != end; ++it) {
                std::string path = (*it)[1];
                size_t pos;
                while ((pos = path.find("\\\\")) != std::string::npos)
                    path.replace(pos, 2, "/");
                // a bare folder or a prefix that code completes (house folders, tags) is not a file
                // name
                if (path.back() == '/' || path.back() == '_' ||
                    fs::path(path).filename() == "Animation" ||
                    (fs::path(path).extension().empty() && !IsAnimationFile(path)))
                    continue;
                if (!IsAnimationFile(path) && !IsPicture(path) && !IsSound(path) &&
                    !EndsWith(path, ".ttf"))
                    continue;
                ++found;
                EXPECT_TRUE(manifest.count(path) || fs::is_regular_file(path))
                    << entry.path().string() << " names " << path
                    << ", which the data folder does not have";
            }
        }
    }
    SUCCEED() << found << " data paths found in the game code";
}

TEST(DataFolder, NothingInTheFolderIsUnused) {
    std::set<std::string> used;
    for (const std::string& p : Manifest())
        used.insert(OnDisk(p));
    // the sprite sheets named by the animation files
    for (const std::string& anim : ManifestWith(IsAnimationFile)) {
        std::vector<std::string> lines = HeaderLines(anim);
        ASSERT_EQ(lines.size(), 4u) << anim;
        used.insert(OnDisk(lines[3]));
    }
    ASSERT_TRUE(fs::is_directory("data")) << "run from the build folder";
    for (const auto& entry : fs::recursive_directory_iterator("data")) {
        if (!entry.is_regular_file()) continue;
        std::string rel = entry.path().generic_string();
        if (EndsWith(rel, ".txt")) continue; // licence texts
        EXPECT_TRUE(used.count(rel)) << rel << " is in the data folder but the game never reads it";
    }
}

// ---------------------------------------------------------------------------
// Pictures
// ---------------------------------------------------------------------------

TEST(DataPictures, EveryPictureDecodesAsRgba) {
    std::vector<std::string> pictures = ManifestWith(IsPicture);
    for (const std::string& anim : ManifestWith(IsAnimationFile)) {
        std::vector<std::string> lines = HeaderLines(anim);
        if (lines.size() == 4) pictures.push_back(OnDisk(lines[3]));
    }
    ASSERT_GT(pictures.size(), 280u);
    for (const std::string& p : pictures) {
        int w = 0, h = 0, channels = 0;
        ASSERT_TRUE(stbi_info(p.c_str(), &w, &h, &channels)) << p << ": " << stbi_failure_reason();
        EXPECT_EQ(channels, 4) << p << " is not RGBA";
        unsigned char* pixels = stbi_load(p.c_str(), &w, &h, &channels, 4);
        ASSERT_NE(pixels, nullptr) << p << ": " << stbi_failure_reason();
        EXPECT_GT(w, 0);
        EXPECT_GT(h, 0);
        EXPECT_LE(std::max(w, h), 8192) << p << " is too large a texture";
        stbi_image_free(pixels);
    }
}

// Alpha of the pixel at (x, y) of a decoded picture, (0, 0) top left.
int AlphaAt(const std::string& path, float fx, float fy) {
    int w, h, c;
    unsigned char* px = stbi_load(path.c_str(), &w, &h, &c, 4);
    if (!px) return -1;
    int x = std::min(w - 1, (int)(fx * w)), y = std::min(h - 1, (int)(fy * h));
    int a = px[((size_t)y * w + x) * 4 + 3];
    stbi_image_free(px);
    return a;
}

TEST(DataPictures, FullScreenPicturesAreOpaqueAndSpritesHaveTransparentCorners) {
    for (const char* p :
         {"data/MainMenuBG.png", "data/YouWinDEF2.png", "data/YouLoseDEF2.png",
          "data/BackgroundHouses.png", "data/FinalNoblemen.png", "data/DefinitiveBackground.png"})
        EXPECT_EQ(AlphaAt(p, 0.5f, 0.5f), 255) << p;
    for (const char* p :
         {"data/Knight_Nobel_1.png", "data/Coin.png", "data/Lock.png", "data/Rock.png",
          "data/Cursor.png", "data/BannerStandard.png", "data/Nobel_Castle.png"})
        EXPECT_EQ(AlphaAt(p, 0.0f, 0.0f), 0) << p;
}

TEST(DataPictures, BuyCardsCoverTheirClickAreas) {
    // The plain red click areas are drawn under the cards: each card must be
    // opaque over its two spawner halves and its upgrade strip.
    struct Box {
        float x0, x1, y0, y1;
    }; // layout units from the card centre, y up
    const Box areas[] = {{-57.5f, 32.5f, 5, 45}, {-57.5f, 32.5f, -47, -7}, {45, 60, -51, 49}};
    for (const char* kind : {"Knight", "Spearman", "Horseman"}) {
        for (const char* look : {"1", "Up", "Down", "Upgrade"}) {
            std::string path = std::string("data/Buy") + kind + look + "Button.png";
            for (const Box& b : areas)
                for (float fx : {0.05f, 0.5f, 0.95f})
                    for (float fy : {0.05f, 0.5f, 0.95f}) {
                        // the card is drawn with a negative width: the file is as seen
                        float x = b.x0 + (b.x1 - b.x0) * fx, y = b.y0 + (b.y1 - b.y0) * fy;
                        EXPECT_EQ(AlphaAt(path, (x + 120) / 240, (75 - y) / 150), 255)
                            << path << " at (" << x << ", " << y << ")";
                    }
        }
    }
}

// ---------------------------------------------------------------------------
// Animation files, read by the engine
// ---------------------------------------------------------------------------

// The engine runs once for the whole program (it starts once per process).
class EngineEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { StartTestEngine(false); }
    void TearDown() override { StopTestEngine(); }
};
::testing::Environment* const engine = ::testing::AddGlobalTestEnvironment(new EngineEnvironment);

using DataAnimations = ::testing::Test;

TEST_F(DataAnimations, EveryAnimationLoadsAndItsSheetDividesIntoTheGrid) {
    std::vector<std::string> anims;
    for (const std::string& p : Manifest())
        if (IsAnimationFile(OnDisk(p))) anims.push_back(p);
    ASSERT_EQ(anims.size(), 70u);
    for (const std::string& path : anims) {
        Animation* a = LoadAnimation(path.c_str());
        ASSERT_NE(a, nullptr) << path;
        ASSERT_NE(a->texture, nullptr) << path << ": its sheet did not load";
        EXPECT_GT(a->frameCount, 0u) << path;
        EXPECT_LE(a->frameCount, a->rows * a->columns) << path;
        EXPECT_GT(a->frameCount, (a->rows - 1) * a->columns)
            << path << ": a whole empty row of cells";
        EXPECT_EQ(a->texture->width % (int)a->columns, 0) << path;
        EXPECT_EQ(a->texture->height % (int)a->rows, 0) << path;
        ASSERT_EQ(a->frameDurations.size(), a->frameCount) << path;
        bool troop = path.find("\\Knights\\") != std::string::npos ||
                     path.find("\\Spearmen\\") != std::string::npos ||
                     path.find("\\Horsemen\\") != std::string::npos;
        if (troop) {
            EXPECT_GE(a->frameCount, 6u) << path << ": a walk needs at least 6 frames";
        }
        for (float d : a->frameDurations) {
            EXPECT_GE(d, 0.03f) << path;
            EXPECT_LE(d, 1.0f) << path; // a logo may hold a frame; walking and churning are quicker
        }
    }
    FreeAllAnimations();
}

TEST_F(DataAnimations, FrameCountsTheGameWaitsFor) {
    struct Want {
        const char* path;
        uint32_t atLeast;
    };
    // the splash waits for frame index 16 of the studio logo and 17 of the audio logo;
    // troops walk in at least 6 frames
    for (const Want& w :
         {Want{"data\\Animation\\TarnAnim", 17}, Want{"data\\Animation\\FmodAnimData", 18},
          Want{"data\\Animation\\Warriors\\Horsemen\\Horseman4", 6},
          Want{"data\\Animation\\ThiefAnimation", 6}, Want{"data\\Animation\\DustAnim", 4}}) {
        Animation* a = LoadAnimation(w.path);
        ASSERT_NE(a, nullptr) << w.path;
        EXPECT_GE(a->frameCount, w.atLeast) << w.path;
    }
    FreeAllAnimations();
}

// ---------------------------------------------------------------------------
// Pictures on screen, drawn the way the screens draw them
// ---------------------------------------------------------------------------

const float PI_F = 3.1415927f;
enum { ORIENTATION_STATE = 100 };
void NoStep() {}
void Frame() {
    UpdateDrawScale();
    UpdateAllObjects();
}

class DataOnScreen : public ::testing::Test {
  protected:
    std::vector<Texture*> textures;
    void SetUp() override {
        ClearStates();
        AddGameState(ORIENTATION_STATE, NoStep, NoStep, Frame, DrawAllObjects, FreeAllObjects,
                     NoStep);
        EnterFirstState(ORIENTATION_STATE);
        squareMesh = CreateSquareMesh(0xFFFFFFFF);
    }
    void TearDown() override {
        FreeAllObjects();
        FlushDestroyed();
        FreeAllAnimations();
        FreeMesh(squareMesh);
        squareMesh = nullptr;
        for (Texture* t : textures)
            UnloadTexture(t);
    }
    Texture* Picture(const char* path) {
        Texture* t = LoadTexture(path);
        EXPECT_NE(t, nullptr) << path;
        textures.push_back(t);
        return t;
    }
    // Mean x (client pixels from the centre) and count of the pixels that pass `keep`.
    static std::pair<double, int> Centroid(const Screenshot& shot, bool (*keep)(uint32_t)) {
        double sum = 0;
        int count = 0;
        for (int y = 0; y < shot.height; ++y)
            for (int x = 0; x < shot.width; ++x)
                if (keep(shot.At(x, y))) {
                    sum += x - shot.width / 2.0;
                    ++count;
                }
        return {count ? sum / count : 0.0, count};
    }
};

// The pale gold of the arrow glyphs (not the darker gold of their rims).
bool Glyph(uint32_t c) {
    int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
    return r > 225 && g > 200 && b > 80 && b < 170;
}
bool Blue(uint32_t c) {
    int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
    return b > 120 && r < 90 && g < 140;
}
// The brown wood of a first-tier shield.
bool Wooden(uint32_t c) {
    int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
    return r > 110 && r < 210 && g > 60 && g < 150 && b > 25 && b < 100 && r - g > 30;
}
bool Lit(uint32_t c) {
    return (c & 0xFFFFFF) != 0;
}

// Mean x, from the screen's centre, of the arrow glyph's pixels that lie well above or below
// its middle row: only the arrow head reaches there, the shaft does not.
double ArrowHeadX(const Screenshot& shot) {
    std::vector<std::pair<int, int>> glyph;
    int top = shot.height, bottom = 0;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x)
            if (Glyph(shot.At(x, y))) {
                glyph.push_back({x, y});
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    double middle = (top + bottom) / 2.0, reach = 0.3 * (bottom - top), sum = 0;
    int count = 0;
    for (auto [x, y] : glyph)
        if (std::abs(y - middle) > reach) {
            sum += x - shot.width / 2.0;
            ++count;
        }
    EXPECT_GT(count, 200) << "no arrow head found";
    return count ? sum / count : 0.0;
}

TEST_F(DataOnScreen, SettingsArrowsPointOutward) {
    // the right arrows show "Arrow.png", the left ones "ArrowRight.png" (positive width, half a
    // turn)
    AddObject(new GameObject, "ResolutionArrowRight", 0, 0, 800, 600, PI_F, squareMesh,
              Picture("data\\Arrow.png"));
    EXPECT_GT(ArrowHeadX(CaptureFrame()), 30.0) << "the right arrow should point right";
    FreeAllObjects();
    AddObject(new GameObject, "ResolutionArrowLeft", 0, 0, 800, 600, PI_F, squareMesh,
              Picture("data\\ArrowRight.png"));
    EXPECT_LT(ArrowHeadX(CaptureFrame()), -30.0) << "the left arrow should point left";
}

TEST_F(DataOnScreen, PlayerTroopsFaceRightAndEnemyTroopsFaceLeft) {
    // the knight carries his wooden shield in front of his blue coat
    Texture* knight = Picture("data\\Knight_Nobel_1.png");
    AddObject(new GameObject, "AllieDown", 0, 0, 600, 600, PI_F, squareMesh, knight);
    Screenshot player = CaptureFrame();
    double playerFront = Centroid(player, Wooden).first - Centroid(player, Blue).first;
    FreeAllObjects();
    AddObject(new GameObject, "EnemyDown", 0, 0, -600, 600, PI_F, squareMesh, knight);
    Screenshot enemy = CaptureFrame();
    double enemyFront = Centroid(enemy, Wooden).first - Centroid(enemy, Blue).first;
    ASSERT_GT(Centroid(player, Wooden).second, 300) << "no shield found";
    EXPECT_GT(playerFront, 10.0) << "a player troop should face right";
    EXPECT_LT(enemyFront, -10.0) << "an enemy troop should face left";
}

TEST_F(DataOnScreen, ThePauseScrollOpensFromRolledUpToOpen) {
    Animation* open = LoadAnimation("data\\Animation\\ScrollAnimOpen");
    ASSERT_NE(open, nullptr);
    auto* scroll = static_cast<Sprite*>(
        AddObject(new Sprite, "PauseMenu", 0, 0, 700, 700, PI_F, squareMesh, nullptr));
    SetAnimation(scroll, open);
    std::vector<int> lit;
    for (uint32_t frame = 0; frame < open->frameCount; ++frame) {
        scroll->frame = frame;
        UpdateFrameMatrix(scroll);
        lit.push_back(Centroid(CaptureFrame(), Lit).second);
    }
    for (size_t i = 1; i < lit.size(); ++i)
        EXPECT_GT(lit[i], lit[i - 1])
            << "frame " << i << " should show more of the scroll than frame " << i - 1;
}

// ---------------------------------------------------------------------------
// Sounds, decoded by SDL_mixer
// ---------------------------------------------------------------------------

struct Decoded {
    std::vector<int16_t> samples; // interleaved
    int channels = 2, rate = 44100;
    double Seconds() const { return samples.size() / double(channels * rate); }
    double RmsDb() const {
        double sum = 0;
        for (int16_t s : samples)
            sum += double(s) * s;
        return 20 *
               std::log10(std::sqrt(sum / std::max<size_t>(1, samples.size())) / 32768.0 + 1e-12);
    }
    int Peak() const {
        int peak = 0;
        for (int16_t s : samples)
            peak = std::max(peak, std::abs((int)s));
        return peak;
    }
};

class DataSounds : public ::testing::Test {
  protected:
    static inline bool openedHere = false;
    // Uses the engine's open mixer, or opens one on the dummy driver.
    static void SetUpTestSuite() {
        int rate, channels;
        Uint16 format;
        if (Mix_QuerySpec(&rate, &format, &channels)) return;
        SDL_setenv("SDL_AUDIODRIVER", "dummy", 0);
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
        Mix_Init(MIX_INIT_MP3);
        ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024), 0) << Mix_GetError();
        openedHere = true;
    }
    static void TearDownTestSuite() {
        if (openedHere) {
            Mix_CloseAudio();
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            openedHere = false;
        }
    }
    static Decoded Decode(const std::string& path) {
        Decoded d;
        Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
        EXPECT_NE(chunk, nullptr) << path << ": " << Mix_GetError();
        if (!chunk) return d;
        Uint16 format;
        Mix_QuerySpec(&d.rate, &format, &d.channels);
        EXPECT_EQ(format, AUDIO_S16SYS) << "the mixer runs another sample format";
        d.samples.assign((int16_t*)chunk->abuf, (int16_t*)(chunk->abuf + chunk->alen));
        Mix_FreeChunk(chunk);
        return d;
    }
};

TEST_F(DataSounds, EffectsAreShortAndAudible) {
    for (const std::string& p : ManifestWith(IsSound)) {
        if (IsMusic(p)) continue;
        Decoded d = Decode(p);
        EXPECT_GT(d.Seconds(), 0.1) << p;
        if (p != "data/Rain.wav") {
            EXPECT_LT(d.Seconds(), 1.5) << p;
        }
        EXPECT_GT(d.Peak(), 3000) << p << " is nearly silent";
        EXPECT_LT(d.Peak(), 32700) << p << " clips";
    }
}

TEST_F(DataSounds, MusicTracksHaveTheirLengthOneLoudnessAndNoClipping) {
    std::map<std::string, double> loudness;
    for (const std::string& p : ManifestWith(IsSound)) {
        if (!IsMusic(p)) continue;
        Decoded d = Decode(p);
        EXPECT_GE(d.Seconds(), 45.0) << p;
        EXPECT_LE(d.Seconds(), 121.0) << p;
        EXPECT_LT(d.Peak(), 32700) << p << " clips";
        loudness[p] = d.RmsDb();
        RecordProperty(p, std::to_string(d.RmsDb()) + " dB, " + std::to_string(d.Seconds()) + " s");
        printf("%-36s %6.1f s  RMS %6.2f dBFS  peak %5d\n", p.c_str(), d.Seconds(), d.RmsDb(),
               d.Peak());
    }
    ASSERT_EQ(loudness.size(), 7u);
    auto [lo, hi] = std::minmax_element(loudness.begin(), loudness.end(),
                                        [](auto& a, auto& b) { return a.second < b.second; });
    EXPECT_LE(hi->second - lo->second, 2.0) << lo->first << " at " << lo->second << " dB, "
                                            << hi->first << " at " << hi->second << " dB";
}

// The jump from the last sample to the first, against the usual step between neighbours.
double SeamRatio(const Decoded& d) {
    int ch = d.channels;
    size_t frames = d.samples.size() / ch;
    double typical = 0;
    for (size_t i = 1; i < frames; ++i)
        typical += std::abs(d.samples[i * ch] - d.samples[(i - 1) * ch]);
    typical /= frames - 1;
    double seam = std::abs(d.samples[0] - d.samples[(frames - 1) * ch]);
    return seam / std::max(1.0, typical);
}

TEST_F(DataSounds, LoopsJoinWithoutAClick) {
    Decoded rain = Decode("data/Rain.wav");
    ASSERT_FALSE(rain.samples.empty());
    EXPECT_GE(rain.Seconds(), 3.0);
    EXPECT_LT(SeamRatio(rain), 6.0);
    for (const std::string& p : ManifestWith(IsSound))
        if (IsMusic(p)) {
            Decoded d = Decode(p);
            ASSERT_FALSE(d.samples.empty()) << p;
            EXPECT_LT(SeamRatio(d), 8.0) << p;
        }
}

// ---------------------------------------------------------------------------
// The font
// ---------------------------------------------------------------------------

TEST(DataFont, TheFontLoadsWithEveryPrintableCharacter) {
    std::ifstream in("data/Font/TrajanPro-Regular.ttf", std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 1000u);
    stbtt_fontinfo info;
    ASSERT_TRUE(stbtt_InitFont(&info, bytes.data(), stbtt_GetFontOffsetForIndex(bytes.data(), 0)));
    for (int c = 32; c <= 126; ++c)
        EXPECT_NE(stbtt_FindGlyphIndex(&info, c), 0) << "no glyph for '" << (char)c << "'";
    float scale = stbtt_ScaleForPixelHeight(&info, 29);
    int w = 0, h = 0;
    unsigned char* bitmap =
        stbtt_GetCodepointBitmap(&info, 0, scale, 'M', &w, &h, nullptr, nullptr);
    ASSERT_NE(bitmap, nullptr);
    int lit = 0;
    for (int i = 0; i < w * h; ++i)
        lit += bitmap[i] > 128;
    EXPECT_GT(lit, 20);
    stbtt_FreeBitmap(bitmap, nullptr);
    EXPECT_TRUE(fs::is_regular_file("data/Font/TrajanPro-Regular.LICENSE.txt"));
}

} // namespace
