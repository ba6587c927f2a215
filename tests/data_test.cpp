// The data folder made by assets/: every file the game reads (assets/manifest.txt
// and every data path written in the game's code) is in build/data and decodes
// (pictures, animation files read by the engine, sounds, the font), the art reads
// right on screen, and nothing in the folder is left unused.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <stb_image.h>
#include <stb_truetype.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
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

const fs::path SOURCE_ROOT = fs::path(__FILE__).parent_path().parent_path();

// A game path ("data\\Coin.png") as a path under the build folder.
std::string OnDisk(std::string gamePath) {
    std::replace(gamePath.begin(), gamePath.end(), '\\', '/');
    return gamePath;
}

bool EndsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}
bool IsAnimationFile(const std::string& p) {
    return p.rfind("data/Animation/", 0) == 0 && fs::path(p).extension().empty();
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
                                                "data/Meowgic.mp3",
                                                "data/YouLose.mp3",
                                                "data/The Grace of a Kingdom.mp3"};
    return music.count(p) > 0;
}

// The manifest's paths ('/' separated) that pass `keep`.
std::vector<std::string> Manifest(bool (*keep)(const std::string&) = nullptr) {
    std::ifstream in(SOURCE_ROOT / "assets" / "manifest.txt");
    std::vector<std::string> paths;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] != '#' && (!keep || keep(OnDisk(line))))
            paths.push_back(OnDisk(line));
    }
    return paths;
}

// The sprite sheet an animation file names (its fourth line), or "" when it has none.
std::string SheetOf(const std::string& animation) {
    std::ifstream in(animation);
    std::string line;
    for (int i = 0; i < 4; ++i)
        if (!std::getline(in, line)) return "";
    return OnDisk(line);
}

TEST(DataFolder, EveryManifestPathExistsAndNothingElseIsInTheFolder) {
    std::vector<std::string> paths = Manifest();
    ASSERT_GT(paths.size(), 300u) << "assets/manifest.txt not found or short";
    std::set<std::string> used(paths.begin(), paths.end());
    for (const std::string& p : paths)
        EXPECT_TRUE(fs::is_regular_file(p)) << "missing from build/data: " << p;
    for (const std::string& anim : Manifest(IsAnimationFile)) {
        ASSERT_NE(SheetOf(anim), "") << anim;
        used.insert(SheetOf(anim));
    }
    ASSERT_TRUE(fs::is_directory("data")) << "run from the build folder";
    for (const auto& entry : fs::recursive_directory_iterator("data")) {
        const std::string rel = entry.path().generic_string();
        const bool licence = EndsWith(rel, ".txt");
        EXPECT_TRUE(!entry.is_regular_file() || licence || used.count(rel))
            << rel << " is in the data folder but never read";
    }
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

// String literals beginning with data\ or data/ in the game's sources, comments
// aside: each names a file of the manifest (bare folders and prefixes that code
// completes, such as house folders and tags, are not file names).
TEST(DataFolder, EveryFixedPathInTheGameCodeIsInTheManifest) {
    const std::vector<std::string> paths = Manifest();
    const std::set<std::string> manifest(paths.begin(), paths.end());
    const std::regex literal(R"re("(data(?:\\\\|/)[^"%]*)")re");
    for (const char* folder : {"app", "battle", "screens", "objects", "engine"})
        for (const auto& entry : fs::recursive_directory_iterator(SOURCE_ROOT / folder)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".cpp" && ext != ".h") continue;
            const std::string code = CodeWithoutComments(entry.path());
            for (std::sregex_iterator it(code.begin(), code.end(), literal), end; it != end; ++it) {
                std::string path = (*it)[1];
                for (size_t at; (at = path.find("\\\\")) != std::string::npos;)
                    path.replace(at, 2, "/");
                const bool prefix = path.back() == '/' || path.back() == '_';
                if (!prefix && (IsAnimationFile(path) || IsPicture(path) || IsSound(path) ||
                                EndsWith(path, ".ttf"))) {
                    EXPECT_TRUE(manifest.count(path) || fs::is_regular_file(path))
                        << entry.path().string() << " names " << path
                        << ", which the data folder does not have";
                }
            }
        }
}

TEST(DataPictures, EveryPictureDecodesAsRgba) {
    std::vector<std::string> pictures = Manifest(IsPicture);
    for (const std::string& anim : Manifest(IsAnimationFile))
        pictures.push_back(SheetOf(anim));
    ASSERT_GT(pictures.size(), 280u);
    for (const std::string& p : pictures) {
        int w = 0, h = 0, channels = 0;
        ASSERT_TRUE(stbi_info(p.c_str(), &w, &h, &channels)) << p << ": " << stbi_failure_reason();
        EXPECT_EQ(channels, 4) << p << " is not RGBA";
        unsigned char* pixels = stbi_load(p.c_str(), &w, &h, &channels, 4);
        ASSERT_NE(pixels, nullptr) << p << ": " << stbi_failure_reason();
        EXPECT_TRUE(w > 0 && h > 0 && std::max(w, h) <= 8192) << p << " is " << w << "x" << h;
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

// Full-screen pictures are opaque, sprites have transparent corners, and the buy
// cards are opaque over their click areas (the plain red areas drawn under them):
// the two spawner halves and the upgrade strip.
TEST(DataPictures, OpaqueAndTransparentWhereTheyShouldBe) {
    for (const char* p :
         {"data/MainMenuBG.png", "data/YouWinDEF2.png", "data/YouLoseDEF2.png",
          "data/BackgroundHouses.png", "data/FinalNoblemen.png", "data/DefinitiveBackground.png"})
        EXPECT_EQ(AlphaAt(p, 0.5f, 0.5f), 255) << p;
    for (const char* p :
         {"data/Knight_Nobel_1.png", "data/Coin.png", "data/Lock.png", "data/Rock.png",
          "data/Cursor.png", "data/BannerStandard.png", "data/Nobel_Castle.png"})
        EXPECT_EQ(AlphaAt(p, 0.0f, 0.0f), 0) << p;
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

// Troop and thief pictures and every frame of their walks keep 2 transparent pixels on
// each side, so nothing is sliced off; the bottom rows hold at most the faint ground shadow.
TEST(DataPictures, TroopAndThiefFramesKeepATransparentMargin) {
    const std::regex walker(R"(data/((Knight|Spearman|Horseman)_\w+\.png|Thief\.png|)"
                            R"(Animation/(\w+/(Knights|Spearmen|Horsemen)/\w+|ThiefAnimation)))");
    int checked = 0;
    for (const std::string& p : Manifest()) {
        if (!std::regex_match(p, walker)) continue;
        int count = 1, rows = 1, cols = 1, w, h, c;
        std::ifstream(IsAnimationFile(p) ? p : "") >> count >> rows >> cols;
        const std::string sheet = IsAnimationFile(p) ? SheetOf(p) : p;
        unsigned char* px = stbi_load(sheet.c_str(), &w, &h, &c, 4);
        ASSERT_NE(px, nullptr) << sheet;
        const int cw = w / cols, ch = h / rows;
        for (int i = 0; i < count; ++i, ++checked) {
            const int x0 = i % cols * cw, y0 = (rows - 1 - i / cols) * ch; // frame 0 at the bottom
            int edge = 0, bottom = 0;
            for (int y = 0; y < ch; ++y)
                for (int x = 0; x < cw; ++x) {
                    const int a = px[((size_t)(y0 + y) * w + x0 + x) * 4 + 3];
                    int& band = y >= ch - 2 ? bottom : edge;
                    if (y >= ch - 2 || y < 2 || x < 2 || x >= cw - 2) band = std::max(band, a);
                }
            EXPECT_EQ(edge, 0) << p << " frame " << i << " reaches the top or a side";
            EXPECT_LE(bottom, 100) << p << " frame " << i << " reaches the bottom";
        }
        stbi_image_free(px);
    }
    EXPECT_GT(checked, 4 * 3 * 5 * 9);
}

// The engine runs once for the whole program (it starts once per process).
class EngineEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { StartTestEngine(false); }
    void TearDown() override { StopTestEngine(); }
};
::testing::Environment* const engine = ::testing::AddGlobalTestEnvironment(new EngineEnvironment);

TEST(DataAnimations, EveryAnimationLoadsItsSheetDividesIntoTheGridAndTheFramesSuffice) {
    // The splash waits for frame index 16 of the studio logo and 17 of the audio logo;
    // troops and the thief walk in at least 6 frames.
    std::map<std::string, uint32_t> leastFrames = {{"data/Animation/TarnAnim", 17},
                                                   {"data/Animation/FmodAnimData", 18},
                                                   {"data/Animation/ThiefAnimation", 6},
                                                   {"data/Animation/DustAnim", 4}};
    const std::vector<std::string> anims = Manifest(IsAnimationFile);
    ASSERT_EQ(anims.size(), 70u);
    for (const std::string& path : anims) {
        Animation* a = LoadAnimation(path.c_str());
        ASSERT_NE(a, nullptr) << path;
        ASSERT_NE(a->texture, nullptr) << path << ": its sheet did not load";
        EXPECT_LE(a->frameCount, a->rows * a->columns) << path;
        EXPECT_GT(a->frameCount, (a->rows - 1) * a->columns) << path << ": an empty row of cells";
        EXPECT_EQ(a->texture->width % (int)a->columns, 0) << path;
        EXPECT_EQ(a->texture->height % (int)a->rows, 0) << path;
        ASSERT_EQ(a->frameDurations.size(), a->frameCount) << path;
        const bool troop = std::regex_search(path, std::regex("/(Knights|Spearmen|Horsemen)/"));
        EXPECT_GE(a->frameCount, troop ? 6u : std::max(1u, leastFrames[path])) << path;
        for (float d : a->frameDurations) // a logo may hold a frame; walks are quicker
            EXPECT_TRUE(d >= 0.03f && d <= 1.0f) << path << ": a frame of " << d << " s";
    }
    FreeAllAnimations();
}

// Pictures on screen, drawn the way the screens draw them

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

// Mean x, from the glyph's own centre, of the arrow glyph's pixels that lie well above or
// below its middle row: only the arrow head reaches there, the shaft does not.
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
    double middle = (top + bottom) / 2.0, reach = 0.3 * (bottom - top), sum = 0, centre = 0;
    for (auto [x, y] : glyph) centre += x;
    centre /= std::max<size_t>(glyph.size(), 1);
    int count = 0;
    for (auto [x, y] : glyph)
        if (std::abs(y - middle) > reach) {
            sum += x - centre;
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
    EXPECT_GT(ArrowHeadX(CaptureFrame()), 15.0) << "the right arrow should point right";
    FreeAllObjects();
    AddObject(new GameObject, "ResolutionArrowLeft", 0, 0, 800, 600, PI_F, squareMesh,
              Picture("data\\ArrowRight.png"));
    EXPECT_LT(ArrowHeadX(CaptureFrame()), -15.0) << "the left arrow should point left";
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

// Sounds, decoded by SDL_mixer

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

// Decoded by the mixer the engine opened (on the dummy driver).
Decoded Decode(const std::string& path) {
    Decoded d;
    Uint16 format = 0;
    EXPECT_TRUE(Mix_QuerySpec(&d.rate, &format, &d.channels)) << "the engine has no mixer open";
    EXPECT_EQ(format, AUDIO_S16SYS) << "the mixer runs another sample format";
    Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
    EXPECT_NE(chunk, nullptr) << path << ": " << Mix_GetError();
    if (!chunk) return d;
    d.samples.assign((int16_t*)chunk->abuf, (int16_t*)(chunk->abuf + chunk->alen));
    Mix_FreeChunk(chunk);
    return d;
}

// The jump from the last sample to the first, against the usual step between neighbours.
double SeamRatio(const Decoded& d) {
    const size_t ch = d.channels, frames = d.samples.size() / ch;
    double typical = 0;
    for (size_t i = 1; i < frames; ++i)
        typical += std::abs(d.samples[i * ch] - d.samples[(i - 1) * ch]);
    typical /= frames - 1;
    return std::abs(d.samples[0] - d.samples[(frames - 1) * ch]) / std::max(1.0, typical);
}

// Effects are short and audible, leave headroom and fade out below -60 dBFS; the
// music tracks last 45 to 120 s at one loudness; nothing clips; the music and
// the rain loop without a click.
TEST(DataSounds, EffectsAreShortMusicHasOneLoudnessAndLoopsJoinWithoutAClick) {
    std::map<std::string, double> loudness;
    for (const std::string& p : Manifest(IsSound)) {
        const Decoded d = Decode(p);
        ASSERT_GT(d.samples.size(), 1u) << p;
        EXPECT_LT(d.Peak(), 32700) << p << " clips";
        if (!IsMusic(p)) {
            const bool rain = p == "data/Rain.wav";
            EXPECT_GT(d.Seconds(), rain ? 3.0 : 0.1) << p;
            EXPECT_TRUE(rain || d.Seconds() < 1.5) << p << " lasts " << d.Seconds() << " s";
            EXPECT_TRUE(!rain || SeamRatio(d) < 6.0) << "the rain's seam clicks";
            EXPECT_GT(d.Peak(), 3000) << p << " is nearly silent";
            EXPECT_LT(d.Peak(), 23200) << p << " leaves less than 3 dB of headroom";
            Decoded tail = d; // the last 50 ms
            tail.samples.erase(tail.samples.begin(), tail.samples.end() - d.rate / 20 * d.channels);
            EXPECT_TRUE(rain || tail.RmsDb() < -60) << p << " ends at " << tail.RmsDb() << " dBFS";
            continue;
        }
        EXPECT_GE(d.Seconds(), 45.0) << p;
        EXPECT_LE(d.Seconds(), 121.0) << p;
        EXPECT_LT(SeamRatio(d), 8.0) << p;
        loudness[p] = d.RmsDb();
        printf("%-36s %6.1f s  RMS %6.2f dBFS  peak %5d\n", p.c_str(), d.Seconds(), d.RmsDb(),
               d.Peak());
    }
    ASSERT_EQ(loudness.size(), 7u);
    auto [lo, hi] = std::minmax_element(loudness.begin(), loudness.end(),
                                        [](auto& a, auto& b) { return a.second < b.second; });
    EXPECT_LE(hi->second - lo->second, 2.0) << lo->first << " at " << lo->second << " dB, "
                                            << hi->first << " at " << hi->second << " dB";
}

// The font

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
