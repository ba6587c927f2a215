// Animation files: the reading rules of valid files, the files refused (one
// stderr line naming the file and the fault, nothing kept), and freeing them all.
#include "engine/graphics/texture.h"
#include "graphics_helpers.h"
#include "objects/animation.h"

// A temporary folder of animation files and one 6 by 2 sheet picture.
class AnimationFiles : public GraphicsTest {
  protected:
    static inline std::string dir, sheet;
    int texturesBefore = 0;

    void SetUp() override {
        if (dir.empty()) {
            dir = MakeTempFolder();
            sheet = dir + "/Sheet.png";
            ASSERT_TRUE(WritePng(sheet, 6, 2, std::vector<uint8_t>(6 * 2 * 4, 0xFF)));
        }
        texturesBefore = TextureCount();
    }
    void TearDown() override {
        FreeAllAnimations();
        EXPECT_EQ(TextureCount(), texturesBefore);
    }
    static std::string Windows(std::string path) {
        std::replace(path.begin(), path.end(), '/', '\\');
        return path;
    }
    // Writes a file of the test folder and returns its absolute path.
    static std::string Write(const std::string& name, const std::string& content) {
        WriteBytes(dir + "/" + name, content);
        return dir + "/" + name;
    }
    // A file that must be refused: null, one stderr line (besides `linesFromOthers`)
    // naming the file and containing `fault`, nothing listed, no texture kept.
    static void ExpectRefused(const std::string& path, const std::string& fault,
                              int linesFromOthers = 0) {
        const int animations = AnimationCount(), textures = TextureCount();
        const std::string err =
            CaptureStderrOf([&] { EXPECT_EQ(LoadAnimation(path.c_str()), nullptr) << path; });
        EXPECT_EQ(CountLines(err), 1 + linesFromOthers) << err;
        const std::string ours = err.substr(std::min(err.size(), err.find("LoadAnimation")));
        EXPECT_NE(ours.find("\"" + path + "\""), std::string::npos) << err;
        EXPECT_NE(ours.find(fault), std::string::npos) << "expected \"" << fault << "\": " << err;
        EXPECT_EQ(AnimationCount(), animations);
        EXPECT_EQ(TextureCount(), textures);
    }
};

TEST_F(AnimationFiles, ValidFilesGiveTheirGridAndDurations) {
    const std::string label(255 - 4, 'x'), back = Windows(sheet); // a 255-character line
    using Durations = std::vector<float>;
    const std::tuple<std::string, std::vector<uint32_t>, Durations> files[] = {
        {"3\n1\n3\n" + sheet + "\nf0:0.1\nf1:0.1\nf2:0.2\n", {3, 1, 3}, {0.1f, 0.1f, 0.2f}},
        // The last colon separates label and duration; no number reads 0.
        {"4\n2\n2\n" + sheet + "\na:b:0.25\n0.5\nstep: 0.75\nx:junk\n",
         {4, 2, 2},
         {0.25f, 0.5f, 0.75f, 0}},
        // The integers may share a line; the character after the third ends it.
        {"3 1 3\n" + back + "\n0.1\n0.1\n0.2\n", {3, 1, 3}, {0.1f, 0.1f, 0.2f}},
        {"3 1 3 " + sheet + "\n0.1\n0.1\n0.2\n", {3, 1, 3}, {0.1f, 0.1f, 0.2f}},
        {"2\n1\n2\n" + sheet + "\nf0:0.1\nf1:0.35", {2, 1, 2}, {0.1f, 0.35f}},
        {"4\n2\n2\n" + sheet + "\nf0:0.1\n", {4, 2, 2}, {0.1f, 0, 0, 0}},
        {"3\r\n1\r\n3\r\n" + sheet + "\r\nf0:0.1\r\nf1:0.1\r\nf2:0.2\r\n",
         {3, 1, 3},
         {0.1f, 0.1f, 0.2f}},
        // Limits are inclusive: a 12-character integer, a 255-character line, a full grid.
        {"000000000002\n1\n2\n" + sheet + "\n" + label + ":0.5\n0.5\n", {2, 1, 2}, {0.5f, 0.5f}},
    };
    int loaded = 0;
    for (const auto& [content, grid, durations] : files) {
        // The file's own path may use backslashes too.
        Animation* a =
            LoadAnimation(Windows(Write("Good" + std::to_string(loaded), content)).c_str());
        ASSERT_NE(a, nullptr) << content;
        EXPECT_EQ(std::vector<uint32_t>({a->frameCount, a->rows, a->columns}), grid) << content;
        EXPECT_EQ(a->frameDurations, durations) << content;
        ASSERT_NE(a->texture, nullptr) << content;
        EXPECT_EQ(AnimationCount(), ++loaded);
    }
    // Each record owns its sheet; freeing them all releases every one.
    EXPECT_EQ(TextureCount(), texturesBefore + loaded);
    FreeAllAnimations();
    EXPECT_EQ(AnimationCount(), 0);
    EXPECT_EQ(TextureCount(), texturesBefore);
}

TEST_F(AnimationFiles, BadFilesAreRefused) {
    ExpectRefused(dir + "/Missing", "cannot be opened");
    ExpectRefused(dir, "cannot be read"); // a folder opens but does not read
    // A missing sheet: the texture loader names the picture on a line of its own.
    ExpectRefused(Write("NoSheet", "1\n1\n1\n" + dir + "/Nowhere.png\n0.1\n"),
                  "Nowhere.png\" could not be loaded", 1);
    EXPECT_FALSE(CaptureStderrOf([] { EXPECT_EQ(LoadAnimation(nullptr), nullptr); }).empty());
    const std::string picture = "\n" + sheet + "\n0.1\n";
    const std::pair<std::string, std::string> bad[] = {
        {"1\n0\n1" + picture, "rows and columns"},
        {"1\n1\n0" + picture, "rows and columns"},
        {"1\n-2\n1" + picture, "rows and columns"},
        {"0\n1\n1" + picture, "frame count 0"},
        {"-1\n1\n1" + picture, "frame count -1"},
        {"5\n2\n2" + picture, "frame count 5"},
        {"70000 1 70000" + picture, "65536"},
        {"", "rows and columns"}, // every integer reads 0
        {"3\n1\n", "rows and columns"},
        {"x\n1\n1" + picture, "frame count is not a number"},
        {" 1\n1\n1" + picture, "frame count is not a number"},
        {"1\n\n1\n1" + picture, "row count is not a number"},
        {"1 1  1" + picture, "column count is not a number"},
        {"0000000000001\n1\n1" + picture, "more than 12 characters"},
        {"99999999999\n1\n1" + picture, "out of range"},
        {"1\n1\n1\n/" + std::string(255, 'p') + "\n0.1\n", "picture path"},
        {"2\n1\n2\n" + sheet + "\n0.1\n" + std::string(252, 'x') + ":0.5\n",
         "duration line is longer than 255 characters (frame 1)"},
    };
    int index = 0;
    for (const auto& [content, fault] : bad)
        ExpectRefused(Write("Bad" + std::to_string(index++), content), fault);
}
