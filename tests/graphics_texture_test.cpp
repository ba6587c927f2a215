// Tests of textures and the exit report: row order on upload, game paths,
// pictures that cannot be read or decoded, the 255-character path limit,
// textures made in memory, render textures, the bound texture kept across a
// load, and the "ERROR" report of what is left at exit.
// Depends on the test harness, the graphics device, meshes, textures, fonts,
// the game file layer and the platform's message box count.
#include "engine/file.h"
#include "engine/graphics/font.h"
#include "engine/graphics/texture.h"
#include "engine/platform/platform.h"
#include "graphics_helpers.h"

namespace {

const uint8_t RED[4] = {255, 0, 0, 255};
const uint8_t BLUE[4] = {0, 0, 255, 255};
const char* const TEST_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf";

// A 2 by 2 picture: top row red, bottom row blue.
std::vector<uint8_t> RedOverBlue() {
    std::vector<uint8_t> rgba;
    for (const uint8_t* pixel : {RED, RED, BLUE, BLUE})
        rgba.insert(rgba.end(), pixel, pixel + 4);
    return rgba;
}

// The texture's pixels as OpenGL holds them, first uploaded row first.
std::vector<uint8_t> ReadTexturePixels(Texture* texture) {
    std::vector<uint8_t> rgba((size_t)texture->width * texture->height * 4);
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(GL_TEXTURE_2D, texture->glName);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glBindTexture(GL_TEXTURE_2D, previous);
    return rgba;
}

// Expects the 4 bytes at pixel `index` to equal `pixel`.
void ExpectPixel(const std::vector<uint8_t>& rgba, int index, const uint8_t* pixel) {
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(rgba[index * 4 + c], pixel[c]) << "pixel " << index << " channel " << c;
}

// A path of exactly `length` characters to an existing copy of `picture`.
std::string PathOfLength(const std::string& folder, size_t length,
                         const std::vector<uint8_t>& picture) {
    const std::string dir = folder + "/" + std::string(200, 'd');
    std::filesystem::create_directories(dir);
    const size_t fill = length - dir.size() - 1 - 4;
    const std::string path = dir + "/" + std::string(fill, 'f') + ".png";
    WritePng(path, 2, 2, picture);
    return path;
}

using TextureTest = GraphicsTest;

TEST_F(TextureTest, RedOverBlueIsUploadedBlueRowFirst) {
    const std::string path = MakeTempFolder() + "/RedOverBlue.png";
    ASSERT_TRUE(WritePng(path, 2, 2, RedOverBlue()));
    const int textures = TextureCount();
    Texture* texture = LoadTexture(path.c_str());
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->width, 2);
    EXPECT_EQ(texture->height, 2);
    EXPECT_STREQ(texture->name, path.c_str());
    EXPECT_EQ(TextureCount(), textures + 1);
    const std::vector<uint8_t> uploaded = ReadTexturePixels(texture);
    ExpectPixel(uploaded, 0, BLUE);
    ExpectPixel(uploaded, 1, BLUE);
    ExpectPixel(uploaded, 2, RED);
    ExpectPixel(uploaded, 3, RED);
    UnloadTexture(texture);
    EXPECT_EQ(TextureCount(), textures);
}

TEST_F(TextureTest, IconPixelsKeepTheirTopRowFirst) {
    const std::string path = MakeTempFolder() + "/Icon.png";
    ASSERT_TRUE(WritePng(path, 2, 2, RedOverBlue()));
    int width = 0, height = 0;
    unsigned char* pixels = LoadImagePixels(path.c_str(), &width, &height);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(width, 2);
    EXPECT_EQ(height, 2);
    const std::vector<uint8_t> rgba(pixels, pixels + 16);
    ExpectPixel(rgba, 0, RED);
    ExpectPixel(rgba, 3, BLUE);
    FreeImagePixels(pixels);
}

TEST_F(TextureTest, GamePathsWithEitherSeparatorReadTheDataFolder) {
    const std::string saved = GetGameBaseDir();
    const std::string base = MakeTempFolder();
    std::filesystem::create_directories(base + "/data/Sub");
    ASSERT_TRUE(WritePng(base + "/data/Sub/Coin.png", 2, 2, RedOverBlue()));
    SetGameBaseDir(base);
    Texture* backslashed = LoadTexture("data\\Sub\\Coin.png");
    Texture* slashed = LoadTexture("data/Sub/Coin.png");
    SetGameBaseDir(saved);
    ASSERT_NE(backslashed, nullptr);
    ASSERT_NE(slashed, nullptr);
    EXPECT_STREQ(backslashed->name, "data\\Sub\\Coin.png"); // named as the game wrote it
    UnloadTexture(backslashed);
    UnloadTexture(slashed);
}

TEST_F(TextureTest, UnreadablePicturesGiveNullAndOneLineNamingThem) {
    const std::string folder = MakeTempFolder();
    const std::string missing = folder + "/Missing.png";
    const std::string garbage = folder + "/NotAPicture.png";
    WriteBytes(garbage, "this is not a PNG file at all");
    const std::string truncated = folder + "/Truncated.png";
    WritePng(truncated, 2, 2, RedOverBlue());
    std::filesystem::resize_file(truncated, 20);
    const int textures = TextureCount();
    for (const std::string& path : {missing, garbage, truncated}) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(LoadTexture(path.c_str()), nullptr) << path;
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(CountLines(err), 1) << err;
        EXPECT_NE(err.find(path), std::string::npos) << err;
    }
    EXPECT_EQ(TextureCount(), textures);
    EXPECT_EQ(LoadTexture(nullptr), nullptr);
}

TEST_F(TextureTest, A255CharacterPathIsAcceptedAnd256Refused) {
    const std::string folder = MakeTempFolder();
    const std::string path255 = PathOfLength(folder, 255, RedOverBlue());
    const std::string path256 = PathOfLength(folder, 256, RedOverBlue());
    ASSERT_EQ(path255.size(), 255u);
    ASSERT_EQ(path256.size(), 256u);
    ASSERT_TRUE(std::filesystem::exists(path256)); // refused for its length, not its absence
    Texture* accepted = LoadTexture(path255.c_str());
    ASSERT_NE(accepted, nullptr);
    EXPECT_EQ(std::string(accepted->name), path255);
    testing::internal::CaptureStderr();
    EXPECT_EQ(LoadTexture(path256.c_str()), nullptr);
    EXPECT_EQ(CountLines(testing::internal::GetCapturedStderr()), 1);
    UnloadTexture(accepted);
}

TEST_F(TextureTest, TexturesFromMemoryAreNamedByCountAndKeepTheirRows) {
    const int n = TextureCount();
    Texture* first = CreateTexture(2, 2, RedOverBlue().data());
    Texture* second = CreateTexture(1, 1, BLUE);
    EXPECT_STREQ(first->name, ("Texture" + std::to_string(n)).c_str());
    EXPECT_STREQ(second->name, ("Texture" + std::to_string(n + 1)).c_str());
    const std::vector<uint8_t> uploaded = ReadTexturePixels(first);
    ExpectPixel(uploaded, 0, RED); // no reversal: the caller's order
    ExpectPixel(uploaded, 2, BLUE);
    GLint wrap = 0, filter = 0;
    glBindTexture(GL_TEXTURE_2D, first->glName);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(wrap, GL_REPEAT);
    EXPECT_EQ(filter, GL_LINEAR);
    UnloadTexture(first);
    UnloadTexture(second);
    EXPECT_EQ(TextureCount(), n);
}

TEST_F(TextureTest, LoadingMidFrameKeepsTheBoundTextureDrawing) {
    const std::string path = MakeTempFolder() + "/Blue.png";
    ASSERT_TRUE(WritePng(path, 1, 1, std::vector<uint8_t>(BLUE, BLUE + 4)));
    Mesh* square = CreateSquareMesh(0xFFFFFFFF);
    Texture* red = CreateTexture(1, 1, RED);
    BeginTestDrawing();
    BindTexture(red);
    Texture* blue = LoadTexture(path.c_str()); // as a screen might in the middle of a frame
    ASSERT_NE(blue, nullptr);
    EXPECT_EQ(boundTexture, red);
    DrawMeshAt(square, 0, 0, 40, 40);
    EXPECT_EQ(ReadWorldPixel(0, 0) & 0xFFFFFF, 0xFF0000u);
    // Unloading the bound texture leaves nothing bound, so a new texture at
    // the same address is never taken for it.
    UnloadTexture(red);
    EXPECT_EQ(boundTexture, nullptr);
    UnloadTexture(blue);
    FreeMesh(square);
}

TEST_F(TextureTest, RenderTexturesAreCountedDrawnIntoAndReleased) {
    const int textures = TextureCount(), targets = RenderTextureCount();
    Texture* target = CreateRenderTexture(4, 4);
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(TextureCount(), textures + 1);
    EXPECT_EQ(RenderTextureCount(), targets + 1);
    ASSERT_NE(RenderTextureFrameBuffer(target), 0u);
    glBindFramebuffer(GL_FRAMEBUFFER, RenderTextureFrameBuffer(target));
    glViewport(0, 0, 4, 4);
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearColor(0, 0, 0, 1);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    SetViewportToClient();
    const uint8_t green[4] = {0, 255, 0, 255};
    ExpectPixel(ReadTexturePixels(target), 5, green);
    UnloadTexture(target);
    EXPECT_EQ(TextureCount(), textures);
    EXPECT_EQ(RenderTextureCount(), targets);
    EXPECT_EQ(RenderTextureFrameBuffer(target), 0u);
}

TEST_F(TextureTest, UnloadingTwiceIsRefusedWithAMessage) {
    Texture* texture = CreateTexture(1, 1, RED);
    const int textures = TextureCount();
    UnloadTexture(texture);
    testing::internal::CaptureStderr();
    UnloadTexture(texture);
    EXPECT_EQ(CountLines(testing::internal::GetCapturedStderr()), 1);
    EXPECT_EQ(TextureCount(), textures - 1);
    UnloadTexture(nullptr);
}

TEST(ResourceReportTest, LeftoversAreCountedInTheErrorBoxAndFreed) {
    StartTestEngine(false);
    ASSERT_EQ(TextureCount() + MeshCount() + FontCount() + RenderTextureCount(), 0);
    const std::string path = MakeTempFolder() + "/Leak.png";
    ASSERT_TRUE(WritePng(path, 2, 2, RedOverBlue()));
    ASSERT_NE(LoadTexture(path.c_str()), nullptr);
    CreateTexture(1, 1, RED);
    for (int i = 0; i < 3; ++i)
        CreateSquareMesh(0xFFFFFFFF);
    ASSERT_NE(LoadFontFile(TEST_FONT, 20, 1.0f), nullptr); // its atlas is a texture too
    CreateRenderTexture(8, 8);                             // and so is a render texture
    const int boxes = PlatformMessageBoxCount();
    testing::internal::CaptureStderr();
    StopTestEngine();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(PlatformMessageBoxCount(), boxes + 1);
    const std::string expected = "NOT ALL RESOURCES HAVE BEEN RELEASED!\n"
                                 "\t\t\t\t\t\t  Remaining Textures = 4\n"
                                 "\t\t\t\t\t\t  Remaining Triangle Meshes = 3\n"
                                 "\t\t\t\t\t\t  Remaining Fonts = 1\n"
                                 "\t\t\t\t\t\t  Remaining Render Textures = 1\n";
    EXPECT_NE(err.find(expected), std::string::npos) << err;
    EXPECT_NE(err.find("ERROR"), std::string::npos) << err;
    // Everything was freed after the report, font atlases without a double unload.
    EXPECT_EQ(err.find("not in the texture list"), std::string::npos) << err;
    EXPECT_EQ(TextureCount(), 0);
    EXPECT_EQ(MeshCount(), 0);
    EXPECT_EQ(FontCount(), 0);
    EXPECT_EQ(RenderTextureCount(), 0);
}

TEST(ResourceReportTest, NoBoxWhenEverythingWasReleased) {
    StartTestEngine(false);
    const std::string path = MakeTempFolder() + "/Kept.png";
    ASSERT_TRUE(WritePng(path, 2, 2, RedOverBlue()));
    Texture* texture = LoadTexture(path.c_str());
    Mesh* mesh = CreateSquareMesh(0xFFFFFFFF);
    Font* font = LoadFontFile(TEST_FONT, 20, 1.0f);
    Texture* target = CreateRenderTexture(8, 8);
    UnloadTexture(texture);
    FreeMesh(mesh);
    FreeFont(font);
    UnloadTexture(target);
    const int boxes = PlatformMessageBoxCount();
    StopTestEngine();
    EXPECT_EQ(PlatformMessageBoxCount(), boxes);
}

} // namespace
