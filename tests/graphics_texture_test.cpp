// Textures and the exit report: row order on upload, game paths, pictures that
// cannot be read, the 255-character path limit, textures made in memory, render
// textures, the bound texture kept across a load, and the report of leftovers.
#include "engine/file.h"
#include "engine/graphics/font.h"
#include "engine/graphics/texture.h"
#include "engine/platform/platform.h"
#include "graphics_helpers.h"

namespace {

const uint8_t RED[4] = {255, 0, 0, 255};
const uint8_t BLUE[4] = {0, 0, 255, 255};

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

// A path of exactly `length` characters to a copy of the red-over-blue picture.
std::string PathOfLength(const std::string& folder, size_t length) {
    const std::string dir = folder + "/" + std::string(200, 'd');
    std::filesystem::create_directories(dir);
    const std::string path = dir + "/" + std::string(length - dir.size() - 5, 'f') + ".png";
    WritePng(path, 2, 2, RedOverBlue());
    return path;
}

using TextureTest = GraphicsTest;

TEST_F(TextureTest, RedOverBlueIsUploadedBlueRowFirstButIconPixelsKeepTheTopRowFirst) {
    const std::string path = MakeTempFolder() + "/RedOverBlue.png";
    ASSERT_TRUE(WritePng(path, 2, 2, RedOverBlue()));
    const int textures = TextureCount();
    Texture* texture = LoadTexture(path.c_str());
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->width * texture->height, 4);
    EXPECT_STREQ(texture->name, path.c_str());
    EXPECT_EQ(TextureCount(), textures + 1);
    const std::vector<uint8_t> uploaded = ReadTexturePixels(texture);
    for (int i = 0; i < 4; ++i)
        ExpectPixel(uploaded, i, i < 2 ? BLUE : RED);
    UnloadTexture(texture);
    EXPECT_EQ(TextureCount(), textures);
    // The window icon's pixels are not reversed.
    int width = 0, height = 0;
    unsigned char* pixels = LoadImagePixels(path.c_str(), &width, &height);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(width * height, 4);
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

TEST_F(TextureTest, UnreadablePicturesAndA256CharacterPathGiveNullAndOneLine) {
    const std::string folder = MakeTempFolder();
    const std::string missing = folder + "/Missing.png";
    const std::string garbage = folder + "/NotAPicture.png";
    WriteBytes(garbage, "this is not a PNG file at all");
    const std::string truncated = folder + "/Truncated.png";
    WritePng(truncated, 2, 2, RedOverBlue());
    std::filesystem::resize_file(truncated, 20);
    const std::string path255 = PathOfLength(folder, 255), path256 = PathOfLength(folder, 256);
    ASSERT_EQ(path255.size() + path256.size(), 255u + 256u);
    ASSERT_TRUE(std::filesystem::exists(path256)); // refused for its length, not its absence
    const int textures = TextureCount();
    for (const std::string& path : {missing, garbage, truncated, path256}) {
        const std::string err =
            CaptureStderrOf([&] { EXPECT_EQ(LoadTexture(path.c_str()), nullptr) << path; });
        EXPECT_EQ(CountLines(err), 1) << err;
        EXPECT_NE(err.find(path), std::string::npos) << err;
    }
    EXPECT_EQ(TextureCount(), textures);
    EXPECT_EQ(LoadTexture(nullptr), nullptr);
    Texture* accepted = LoadTexture(path255.c_str());
    ASSERT_NE(accepted, nullptr);
    EXPECT_EQ(std::string(accepted->name), path255);
    UnloadTexture(accepted);
}

TEST_F(TextureTest, TexturesFromMemoryAreNamedByCountKeepTheirRowsAndUnloadOnce) {
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
    EXPECT_EQ(CountLines(CaptureStderrOf([&] { UnloadTexture(second); })), 1); // twice: refused
    EXPECT_EQ(TextureCount(), n);
    UnloadTexture(nullptr);
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

// The exit report: no box when everything was released; else one box with the
// four counts, and everything freed after it (font atlases without a double unload).
TEST(ResourceReportTest, LeftoversAreCountedInTheErrorBoxAndFreed) {
    const std::string path = MakeTempFolder() + "/Picture.png";
    ASSERT_TRUE(WritePng(path, 2, 2, RedOverBlue()));
    for (bool released : {true, false}) {
        StartTestEngine(false);
        ASSERT_EQ(TextureCount() + MeshCount() + FontCount() + RenderTextureCount(), 0);
        Texture* textures[] = {LoadTexture(path.c_str()), CreateTexture(1, 1, RED),
                               CreateRenderTexture(8, 8)}; // a render texture is a texture too
        Mesh* meshes[] = {CreateSquareMesh(0), CreateSquareMesh(0), CreateSquareMesh(0)};
        Font* font = LoadFontFile(TEST_FONT, 20, 1.0f); // and so is a font's atlas
        ASSERT_TRUE(textures[0] && textures[2] && font);
        if (released) {
            for (Texture* texture : textures)
                UnloadTexture(texture);
            for (Mesh* mesh : meshes)
                FreeMesh(mesh);
            FreeFont(font);
        }
        const int boxes = PlatformMessageBoxCount();
        const std::string err = CaptureStderrOf(StopTestEngine);
        EXPECT_EQ(PlatformMessageBoxCount(), boxes + !released) << err;
        EXPECT_EQ(TextureCount() + MeshCount() + FontCount() + RenderTextureCount(), 0);
        if (released) continue;
        const std::string expected = "NOT ALL RESOURCES HAVE BEEN RELEASED!\n"
                                     "\t\t\t\t\t\t  Remaining Textures = 4\n"
                                     "\t\t\t\t\t\t  Remaining Triangle Meshes = 3\n"
                                     "\t\t\t\t\t\t  Remaining Fonts = 1\n"
                                     "\t\t\t\t\t\t  Remaining Render Textures = 1\n";
        EXPECT_NE(err.find(expected), std::string::npos) << err;
        EXPECT_NE(err.find("ERROR"), std::string::npos) << err;
        EXPECT_EQ(err.find("not in the texture list"), std::string::npos) << err;
    }
}

} // namespace
