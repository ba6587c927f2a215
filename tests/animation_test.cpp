// Animation files: the reading rules of a valid file (integer tokens, the
// picture line, duration lines with labels, files that end early), the files
// that are refused (unreadable, empty grids, bad counts, malformed or long
// tokens, long lines, a missing sheet) with one stderr line each and nothing
// kept, and freeing every loaded animation.
// Depends on animations, textures, sprites and the test harness (real window).
#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/graphics/texture.h"
#include "harness/harness.h"
#include "objects/animation.h"
#include "objects/game_object.h"

// ---------------------------------------------------------------------------
// Fixture: a temporary folder of animation files and one sheet picture
// ---------------------------------------------------------------------------

class AnimationFiles : public ::testing::Test {
  protected:
    static std::string dir;
    static std::string sheet; // absolute path of a 6 by 2 PNG

    static void SetUpTestSuite() {
        StartTestEngine(false);
        char pattern[] = "/tmp/animation_test_XXXXXX";
        dir = mkdtemp(pattern);
        sheet = dir + "/Sheet.png";
        std::vector<unsigned char> pixels(6 * 2 * 4, 0xFF);
        ASSERT_NE(stbi_write_png(sheet.c_str(), 6, 2, 4, pixels.data(), 6 * 4), 0);
    }
    static void TearDownTestSuite() {
        StopTestEngine();
        const std::string command = "rm -rf '" + dir + "'";
        EXPECT_EQ(system(command.c_str()), 0);
    }
    int texturesBefore = 0;

    void SetUp() override { texturesBefore = TextureCount(); }
    void TearDown() override {
        FreeAllAnimations();
        EXPECT_EQ(TextureCount(), texturesBefore);
    }

    // Writes a file of the test folder and returns its absolute path.
    static std::string Write(const std::string& name, const std::string& content) {
        const std::string path = dir + "/" + name;
        FILE* file = fopen(path.c_str(), "wb");
        EXPECT_NE(file, nullptr);
        fwrite(content.data(), 1, content.size(), file);
        fclose(file);
        return path;
    }

    // Loads a file that must be read; fails the test when it is refused.
    static Animation* Load(const std::string& name, const std::string& content) {
        Animation* animation = LoadAnimation(Write(name, content).c_str());
        EXPECT_NE(animation, nullptr) << content;
        return animation;
    }

    // Loads a file that must be refused: null, exactly one stderr line naming
    // the file and containing `fault`, nothing listed, no texture kept.
    static void ExpectRefused(const std::string& path, const std::string& fault,
                              int linesFromOthers = 0) {
        const int animations = AnimationCount();
        const int textures = TextureCount();
        testing::internal::CaptureStderr();
        Animation* animation = LoadAnimation(path.c_str());
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(animation, nullptr) << path;
        int lines = 0;
        for (char c : err)
            lines += c == '\n';
        EXPECT_EQ(lines, 1 + linesFromOthers) << err;
        const std::string ours = err.substr(err.find("LoadAnimation"));
        EXPECT_NE(ours.find("\"" + path + "\""), std::string::npos) << err;
        EXPECT_NE(ours.find(fault), std::string::npos) << "expected \"" << fault << "\": " << err;
        EXPECT_EQ(AnimationCount(), animations);
        EXPECT_EQ(TextureCount(), textures);
    }
    static void ExpectRefusedContent(const std::string& name, const std::string& content,
                                     const std::string& fault) {
        ExpectRefused(Write(name, content), fault);
    }
};
std::string AnimationFiles::dir;
std::string AnimationFiles::sheet;

// ---------------------------------------------------------------------------
// Valid files
// ---------------------------------------------------------------------------

TEST_F(AnimationFiles, SevenLinesGiveThreeFramesInOneRowWithTheirDurations) {
    Animation* a = Load("Walk", "3\n1\n3\n" + sheet + "\nf0:0.1\nf1:0.1\nf2:0.2\n");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->frameCount, 3u);
    EXPECT_EQ(a->rows, 1u);
    EXPECT_EQ(a->columns, 3u);
    ASSERT_EQ(a->frameDurations.size(), 3u);
    EXPECT_FLOAT_EQ(a->frameDurations[0], 0.1f);
    EXPECT_FLOAT_EQ(a->frameDurations[1], 0.1f);
    EXPECT_FLOAT_EQ(a->frameDurations[2], 0.2f);
    ASSERT_NE(a->texture, nullptr);
    EXPECT_EQ(std::string(a->texture->name), sheet); // the line is handed on unchanged
    EXPECT_EQ(a->texture->width, 6);
    EXPECT_EQ(AnimationCount(), 1);
    EXPECT_EQ(animationList.back(), a);
}

TEST_F(AnimationFiles, TheLastColonSeparatesLabelAndDuration) {
    Animation* a = Load("Labels", "4\n2\n2\n" + sheet + "\na:b:0.25\n0.5\nstep: 0.75\nx:junk\n");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->frameDurations, (std::vector<float>{0.25f, 0.5f, 0.75f, 0.0f}));
}

TEST_F(AnimationFiles, TheThreeIntegersMayShareALineSeparatedByOneBlank) {
    Animation* lines = Load("Lines", "3\n1\n3\n" + sheet + "\n0.1\n0.1\n0.2\n");
    Animation* blanks = Load("Blanks", "3 1 3\n" + sheet + "\n0.1\n0.1\n0.2\n");
    // The character after the third integer ends it; the rest of that line is the picture.
    Animation* inline_ = Load("Inline", "3 1 3 " + sheet + "\n0.1\n0.1\n0.2\n");
    ASSERT_TRUE(lines && blanks && inline_);
    for (const Animation* a : {blanks, inline_}) {
        EXPECT_EQ(a->frameCount, lines->frameCount);
        EXPECT_EQ(a->rows, lines->rows);
        EXPECT_EQ(a->columns, lines->columns);
        EXPECT_EQ(a->frameDurations, lines->frameDurations);
        EXPECT_EQ(std::string(a->texture->name), sheet);
    }
}

TEST_F(AnimationFiles, TheLastLineMayEndWithoutALineFeed) {
    Animation* a = Load("NoFinalLineFeed", "2\n1\n2\n" + sheet + "\nf0:0.1\nf1:0.35");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->frameDurations, (std::vector<float>{0.1f, 0.35f}));
}

TEST_F(AnimationFiles, AFileThatEndsEarlyGivesZeroSecondsAndIsStillListed) {
    Animation* a = Load("Short", "4\n2\n2\n" + sheet + "\nf0:0.1\n");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->frameDurations, (std::vector<float>{0.1f, 0, 0, 0}));
    EXPECT_EQ(AnimationCount(), 1);
}

TEST_F(AnimationFiles, WindowsLineEndsReadLikeLineFeeds) {
    Animation* a = Load("Crlf", "3\r\n1\r\n3\r\n" + sheet + "\r\nf0:0.1\r\nf1:0.1\r\nf2:0.2\r\n");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->frameCount, 3u);
    EXPECT_EQ(std::string(a->texture->name), sheet);
    EXPECT_FLOAT_EQ(a->frameDurations[2], 0.2f);
}

TEST_F(AnimationFiles, BackslashesWorkInTheFilesPathAndInItsPicturePath) {
    std::string windowsSheet = sheet;
    for (char& c : windowsSheet)
        if (c == '/') c = '\\';
    const std::string path = Write("Backslashes", "1\n1\n1\n" + windowsSheet + "\n0.5\n");
    std::string windowsPath = path;
    for (char& c : windowsPath)
        if (c == '/') c = '\\';
    Animation* a = LoadAnimation(windowsPath.c_str());
    ASSERT_NE(a, nullptr);
    EXPECT_NE(a->texture, nullptr);
}

TEST_F(AnimationFiles, LimitsAreInclusive) {
    // A 12-character integer and a 255-character line are still read.
    const std::string label(255 - 4, 'x');
    Animation* a = Load("Limits", "000000000002\n1\n2\n" + sheet + "\n" + label + ":0.5\n0.5\n");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->frameCount, 2u);
    EXPECT_FLOAT_EQ(a->frameDurations[0], 0.5f);
    // A full grid: rows times columns frames.
    EXPECT_NE(Load("FullGrid", "4 2 2\n" + sheet + "\n1\n1\n1\n1\n"), nullptr);
}

TEST_F(AnimationFiles, FreeAllAnimationsReleasesEveryRecordAndItsSheet) {
    FreeAllAnimations(); // nothing loaded: nothing happens
    EXPECT_EQ(AnimationCount(), 0);
    Load("One", "1 1 1\n" + sheet + "\n0.1\n");
    Load("Two", "1 1 1\n" + sheet + "\n0.1\n");
    EXPECT_EQ(AnimationCount(), 2);
    EXPECT_EQ(TextureCount(), texturesBefore + 2); // each record owns its sheet
    FreeAllAnimations();
    EXPECT_EQ(AnimationCount(), 0);
    EXPECT_EQ(TextureCount(), texturesBefore);
    EXPECT_TRUE(animationList.empty());
}

// ---------------------------------------------------------------------------
// Refused files
// ---------------------------------------------------------------------------

TEST_F(AnimationFiles, AFileThatCannotBeReadIsRefused) {
    ExpectRefused(dir + "/Missing", "cannot be opened");
    ExpectRefused(dir, "cannot be read"); // a folder opens but does not read
    testing::internal::CaptureStderr();
    EXPECT_EQ(LoadAnimation(nullptr), nullptr);
    EXPECT_FALSE(testing::internal::GetCapturedStderr().empty());
}

TEST_F(AnimationFiles, AnEmptyGridOrABadFrameCountIsRefused) {
    const std::string picture = "\n" + sheet + "\n0.1\n";
    ExpectRefusedContent("NoRows", "1\n0\n1" + picture, "rows and columns");
    ExpectRefusedContent("NoColumns", "1\n1\n0" + picture, "rows and columns");
    ExpectRefusedContent("NegativeRows", "1\n-2\n1" + picture, "rows and columns");
    ExpectRefusedContent("NoFrames", "0\n1\n1" + picture, "frame count 0");
    ExpectRefusedContent("NegativeFrames", "-1\n1\n1" + picture, "frame count -1");
    ExpectRefusedContent("TooManyFrames", "5\n2\n2" + picture, "frame count 5");
    ExpectRefusedContent("HugeCount", "70000 1 70000" + picture, "65536");
    ExpectRefusedContent("Empty", "", "rows and columns"); // every integer reads 0
    ExpectRefusedContent("HeaderOnly", "3\n1\n", "rows and columns");
}

TEST_F(AnimationFiles, AMalformedOrOverlongIntegerIsRefused) {
    const std::string picture = "\n" + sheet + "\n0.1\n";
    ExpectRefusedContent("Letter", "x\n1\n1" + picture, "frame count is not a number");
    ExpectRefusedContent("LeadingBlank", " 1\n1\n1" + picture, "frame count is not a number");
    ExpectRefusedContent("BlankLine", "1\n\n1\n1" + picture, "row count is not a number");
    ExpectRefusedContent("TwoBlanks", "1 1  1" + picture, "column count is not a number");
    ExpectRefusedContent("Thirteen", "0000000000001\n1\n1" + picture, "more than 12 characters");
    ExpectRefusedContent("OutOfRange", "99999999999\n1\n1" + picture, "out of range");
}

TEST_F(AnimationFiles, ALineOver255CharactersIsRefused) {
    const std::string longPath = "/" + std::string(255, 'p');
    ExpectRefusedContent("LongPicture", "1\n1\n1\n" + longPath + "\n0.1\n", "picture path");
    const std::string label(255 - 3, 'x');
    ExpectRefusedContent("LongDuration", "2\n1\n2\n" + sheet + "\n0.1\n" + label + ":0.5\n",
                         "duration line is longer than 255 characters (frame 1)");
}

TEST_F(AnimationFiles, AMissingSheetGivesNoAnimationAndASpriteKeepsItsPicture) {
    const std::string path = Write("NoSheet", "1\n1\n1\n" + dir + "/Nowhere.png\n0.1\n");
    // The texture loader names the picture on a line of its own.
    ExpectRefused(path, "Nowhere.png\" could not be loaded", 1);

    Sprite sprite;
    Texture* still = reinterpret_cast<Texture*>(0x40);
    sprite.texture = still;
    SetAnimation(&sprite, LoadAnimation((dir + "/Missing").c_str()));
    EXPECT_EQ(sprite.animation, nullptr);
    EXPECT_EQ(sprite.texture, still);
}
