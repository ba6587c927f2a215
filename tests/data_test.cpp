// The data folder made by assets/: every file the game reads (assets/manifest.txt
// and every data path written in the game's code) is in build/data and decodes
// (pictures, animation files read by the engine, sounds, the font), the walkers'
// frames keep clear of their edges, the music shares one loudness, and nothing
// in the folder is left unused.
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

#include "engine/graphics/font.h"
#include "engine/graphics/texture.h"
#include "harness/harness.h"
#include "objects/animation.h"

namespace fs = std::filesystem;

namespace {

// A compiler cache may name this file relative to build/tests, where it is compiled.
const fs::path SOURCE_ROOT = (fs::path(MORROW_BUILD_DIR) / "tests" / __FILE__)
                                 .lexically_normal()
                                 .parent_path()
                                 .parent_path();

bool EndsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}
bool IsAnimationFile(const std::string& p) {
    return p.rfind("data/Animation/", 0) == 0 && fs::path(p).extension().empty();
}
bool IsSound(const std::string& p) {
    return EndsWith(p, ".mp3") || EndsWith(p, ".wav");
}

// The manifest's paths, '/' separated.
std::vector<std::string> Manifest() {
    std::ifstream in(SOURCE_ROOT / "assets" / "manifest.txt");
    std::vector<std::string> paths;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::replace(line.begin(), line.end(), '\\', '/');
        if (!line.empty() && line[0] != '#') paths.push_back(line);
    }
    return paths;
}

// The sprite sheet an animation file names (its fourth line), or "" when it has none.
std::string SheetOf(const std::string& animation) {
    std::ifstream in(animation);
    std::string line;
    for (int i = 0; i < 4; ++i)
        if (!std::getline(in, line)) return "";
    std::replace(line.begin(), line.end(), '\\', '/');
    return line;
}

// The engine runs once for the whole program (it starts once per process).
class EngineEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { StartTestEngine(false); }
    void TearDown() override { StopTestEngine(); }
};
::testing::Environment* const engine = ::testing::AddGlobalTestEnvironment(new EngineEnvironment);

// Every manifest path is in the folder and decodes: pictures as RGBA, animation
// files through the engine (their sheets divide into the grid, the frames fill it
// and suffice), the font through the engine; nothing else is in the folder.
TEST(DataFolder, EveryManifestPathExistsDecodesAndNothingElseIsInTheFolder) {
    const std::vector<std::string> paths = Manifest();
    ASSERT_GT(paths.size(), 300u) << "assets/manifest.txt not found or short";
    std::set<std::string> used(paths.begin(), paths.end());
    // The splash waits for frame index 16 of the studio logo and 17 of the audio logo.
    std::map<std::string, uint32_t> leastFrames = {{"data/Animation/TarnAnim", 17},
                                                   {"data/Animation/FmodAnimData", 18},
                                                   {"data/Animation/ThiefAnimation", 6}};
    int animations = 0;
    for (const std::string& p : paths) {
        ASSERT_TRUE(fs::is_regular_file(p)) << "missing from build/data: " << p;
        if (EndsWith(p, ".png")) {
            int w = 0, h = 0, channels = 0;
            ASSERT_TRUE(stbi_info(p.c_str(), &w, &h, &channels)) << p;
            EXPECT_TRUE(channels == 3 || channels == 4) << p << " is neither RGB nor RGBA";
            // An opaque picture stored RGBA decodes twice as slowly as RGB.
            unsigned char* px =
                channels == 4 ? stbi_load(p.c_str(), &w, &h, &channels, 4) : nullptr;
            bool seeThrough = px == nullptr;
            for (size_t i = 3; px && !seeThrough && i < (size_t)w * h * 4; i += 4)
                seeThrough = px[i] != 0xFF;
            EXPECT_TRUE(seeThrough) << p << " is opaque but stored with alpha";
            stbi_image_free(px);
            EXPECT_TRUE(w > 0 && h > 0 && std::max(w, h) <= 8192) << p << " is " << w << "x" << h;
        } else if (IsAnimationFile(p)) {
            ++animations;
            used.insert(SheetOf(p));
            Animation* a = LoadAnimation(p.c_str());
            ASSERT_TRUE(a && a->texture) << p << " or its sheet did not load";
            EXPECT_LE(a->frameCount, a->rows * a->columns) << p;
            EXPECT_GT(a->frameCount, (a->rows - 1) * a->columns) << p << ": an empty row of cells";
            EXPECT_EQ(a->texture->width % (int)a->columns + a->texture->height % (int)a->rows, 0)
                << p;
            const bool troop = std::regex_search(p, std::regex("/(Knights|Spearmen|Horsemen)/"));
            EXPECT_GE(a->frameCount, troop ? 6u : std::max(1u, leastFrames[p])) << p;
            for (float d : a->frameDurations) // a logo may hold a frame; walks are quicker
                EXPECT_TRUE(d >= 0.03f && d <= 1.0f) << p << ": a frame of " << d << " s";
        } else if (EndsWith(p, ".ttf")) {
            std::ifstream in(p, std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(in)), {});
            stbtt_fontinfo info;
            ASSERT_TRUE(stbtt_InitFont(&info, (const unsigned char*)bytes.data(), 0)) << p;
            for (int c = 32; c <= 126; ++c)
                EXPECT_NE(stbtt_FindGlyphIndex(&info, c), 0) << "no glyph for '" << (char)c << "'";
            Font* font = LoadFont(29, 1.0f);
            ASSERT_NE(font, nullptr) << p;
            FreeFont(font);
        }
    }
    FreeAllAnimations();
    EXPECT_EQ(animations, 70);
    for (const auto& entry : fs::recursive_directory_iterator("data")) {
        const std::string rel = entry.path().generic_string();
        EXPECT_TRUE(!entry.is_regular_file() || EndsWith(rel, ".txt") || used.count(rel))
            << rel << " is in the data folder but never read";
    }
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
            std::ifstream in(entry.path());
            for (std::string line; std::getline(in, line);) {
                bool quoted = false; // cut the line comment: a "//" outside a string literal
                for (size_t i = 0; i < line.size(); ++i) {
                    if (line[i] == '"' && (i == 0 || line[i - 1] != '\\')) quoted = !quoted;
                    if (!quoted && line.compare(i, 2, "//") == 0) line.resize(i);
                }
                for (std::sregex_iterator it(line.begin(), line.end(), literal), end; it != end;
                     ++it) {
                    std::string path = (*it)[1];
                    for (size_t at; (at = path.find("\\\\")) != std::string::npos;)
                        path.replace(at, 2, "/");
                    const bool file = IsAnimationFile(path) || EndsWith(path, ".png") ||
                                      IsSound(path) || EndsWith(path, ".ttf");
                    EXPECT_TRUE(!file || path.back() == '/' || path.back() == '_' ||
                                manifest.count(path) || fs::is_regular_file(path))
                        << entry.path().string() << " names " << path
                        << ", which the data folder does not have";
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

// A sound decoded by the mixer the engine opened (on the dummy driver), 16-bit interleaved.
std::vector<int16_t> Decode(const std::string& path, int* channels) {
    int rate = 0;
    Uint16 format = 0;
    EXPECT_TRUE(Mix_QuerySpec(&rate, &format, channels) && format == AUDIO_S16SYS);
    Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
    EXPECT_NE(chunk, nullptr) << path << ": " << Mix_GetError();
    if (!chunk) return {};
    std::vector<int16_t> samples((int16_t*)chunk->abuf, (int16_t*)(chunk->abuf + chunk->alen));
    Mix_FreeChunk(chunk);
    EXPECT_EQ(rate, 44100);
    return samples;
}

// The jump from the last sample to the first, against the usual step between neighbours.
double SeamRatio(const std::vector<int16_t>& s, size_t ch) {
    const size_t frames = s.size() / ch;
    double typical = 0;
    for (size_t i = 1; i < frames; ++i)
        typical += std::abs(s[i * ch] - s[(i - 1) * ch]);
    return std::abs(s[0] - s[(frames - 1) * ch]) / std::max(1.0, typical / (frames - 1));
}

// Effects are short and audible, leave headroom and fade out below -60 dBFS; the
// music tracks last 45 to 120 s at one loudness; nothing clips; the music and
// the rain loop without a click.
TEST(DataSounds, EffectsAreShortMusicHasOneLoudnessAndLoopsJoinWithoutAClick) {
    std::map<std::string, double> loudness;
    for (const std::string& p : Manifest()) {
        if (!IsSound(p)) continue;
        int ch = 2;
        const std::vector<int16_t> s = Decode(p, &ch);
        ASSERT_GT(s.size(), 1u) << p;
        const double seconds = s.size() / (ch * 44100.0);
        double sum = 0;
        int peak = 0;
        for (int16_t v : s) {
            sum += double(v) * v;
            peak = std::max(peak, std::abs((int)v));
        }
        EXPECT_LT(peak, 32700) << p << " clips";
        if (seconds < 30) { // an effect, or the rain
            const bool rain = p == "data/Rain.wav";
            EXPECT_GT(seconds, rain ? 3.0 : 0.1) << p;
            EXPECT_TRUE(rain || seconds < 1.5) << p << " lasts " << seconds << " s";
            EXPECT_TRUE(!rain || SeamRatio(s, ch) < 6.0) << "the rain's seam clicks";
            EXPECT_GT(peak, 3000) << p << " is nearly silent";
            EXPECT_LT(peak, 23200) << p << " leaves less than 3 dB of headroom";
            const size_t tailCount = std::min(s.size(), size_t(44100 / 20) * ch); // 50 ms
            double tailSum = 0;
            for (size_t i = s.size() - tailCount; i < s.size(); ++i)
                tailSum += double(s[i]) * s[i];
            const double tailDb = 20 * std::log10(std::sqrt(tailSum / tailCount) / 32768.0 + 1e-12);
            EXPECT_TRUE(rain || tailDb < -60) << p << " ends at " << tailDb << " dBFS";
            continue;
        }
        EXPECT_TRUE(seconds >= 45.0 && seconds <= 121.0) << p << " lasts " << seconds << " s";
        EXPECT_LT(SeamRatio(s, ch), 8.0) << p;
        loudness[p] = 20 * std::log10(std::sqrt(sum / s.size()) / 32768.0 + 1e-12);
        printf("%-36s %6.1f s  RMS %6.2f dBFS  peak %5d\n", p.c_str(), seconds, loudness[p], peak);
    }
    ASSERT_EQ(loudness.size(), 7u);
    auto [lo, hi] = std::minmax_element(loudness.begin(), loudness.end(),
                                        [](auto& a, auto& b) { return a.second < b.second; });
    EXPECT_LE(hi->second - lo->second, 2.0) << lo->first << " at " << lo->second << " dB, "
                                            << hi->first << " at " << hi->second << " dB";
}

} // namespace
