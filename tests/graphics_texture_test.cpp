// Textures and the exit report: pictures that cannot be read, the 255-character
// path limit, a texture unloaded once (and unbound), the report of leftovers.
#include "engine/graphics/font.h"
#include "engine/graphics/texture.h"
#include "engine/platform/platform.h"
#include "graphics_helpers.h"

namespace {

const uint8_t RED[4] = {255, 0, 0, 255};

// A path of exactly `length` characters to a 1 by 1 red picture.
std::string PathOfLength(const std::string& folder, size_t length) {
    const std::string dir = folder + "/" + std::string(200, 'd');
    std::filesystem::create_directories(dir);
    const std::string path = dir + "/" + std::string(length - dir.size() - 5, 'f') + ".png";
    WritePng(path, 1, 1, std::vector<uint8_t>(RED, RED + 4));
    return path;
}

using TextureTest = GraphicsTest;

TEST_F(TextureTest, UnreadablePicturesAndA256CharacterPathGiveNullAndOneLine) {
    const std::string folder = MakeTempFolder();
    const std::string garbage = folder + "/NotAPicture.png", truncated = folder + "/Cut.png";
    WriteBytes(garbage, "this is not a PNG file at all");
    WritePng(truncated, 2, 2, std::vector<uint8_t>(16, 0xFF));
    std::filesystem::resize_file(truncated, 20);
    const std::string path255 = PathOfLength(folder, 255), path256 = PathOfLength(folder, 256);
    const int textures = TextureCount();
    for (const std::string& path : {folder + "/Missing.png", garbage, truncated, path256}) {
        const std::string err =
            CaptureStderrOf([&] { EXPECT_EQ(LoadTexture(path.c_str()), nullptr) << path; });
        EXPECT_EQ(CountLines(err), 1) << err;
        EXPECT_NE(err.find(path), std::string::npos) << err;
    }
    EXPECT_EQ(TextureCount(), textures);
    EXPECT_EQ(LoadTexture(nullptr), nullptr);
    Texture* accepted = LoadTexture(path255.c_str());
    ASSERT_NE(accepted, nullptr);
    UnloadTexture(accepted);
    EXPECT_EQ(CountLines(CaptureStderrOf([&] { UnloadTexture(accepted); })), 1); // twice: refused
    UnloadTexture(nullptr);
    EXPECT_EQ(TextureCount(), textures);
}

// Unloading the bound texture leaves nothing bound, so a new texture at the
// same address is never taken for it.
TEST_F(TextureTest, UnloadingTheBoundTextureUnbindsIt) {
    const uint8_t blue[4] = {0, 0, 255, 255};
    Texture* drawn = CreateTexture(1, 1, blue);
    boundTexture = drawn;
    UnloadTexture(drawn);
    EXPECT_EQ(boundTexture, nullptr);
}

// The exit report: no box when everything was released; else one box with the
// four counts, and everything freed after it (font atlases without a double unload).
TEST(ResourceReportTest, LeftoversAreCountedInTheErrorBoxAndFreed) {
    const std::string path = PathOfLength(MakeTempFolder(), 240);
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
        EXPECT_EQ(err.find("not in the texture list"), std::string::npos) << err;
    }
}

} // namespace
