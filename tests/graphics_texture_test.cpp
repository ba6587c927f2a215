// Textures and the exit report: pictures that cannot be read, the 255-character
// path limit, the bound texture kept across a load, a texture unloaded once,
// trimmed pictures drawing what the whole square draws, and the report of
// leftovers at exit.
#include "engine/graphics/font.h"
#include "engine/graphics/render_paths.h"
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

TEST_F(TextureTest, LoadingMidFrameKeepsTheBoundTextureDrawing) {
    const std::string path = PathOfLength(MakeTempFolder(), 240);
    Mesh* square = CreateSquareMesh(0xFFFFFFFF);
    const uint8_t blue[4] = {0, 0, 255, 255};
    Texture* drawn = CreateTexture(1, 1, blue);
    BeginTestDrawing();
    BindTexture(drawn);
    Texture* loaded = LoadTexture(path.c_str()); // as a screen might in the middle of a frame
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(boundTexture, drawn);
    DrawMeshAt(square, 0, 0, 40, 40);
    EXPECT_EQ(ReadWorldPixel(0, 0), 0x0000FFu);
    // Unloading the bound texture leaves nothing bound, so a new texture at
    // the same address is never taken for it.
    UnloadTexture(drawn);
    EXPECT_EQ(boundTexture, nullptr);
    UnloadTexture(loaded);
    FreeMesh(square);
}

// A picture whose visible texels make a T (a wide bar over a narrow stem),
// with a few on its last row, which the repeating sampler brings in along its
// first: drawn on the lean path (trimmed to bands of rows) and in full (the
// whole square), off the pixel grid, scaled, mirrored, turned and as one cell
// of two, it leaves the same pixels.
TEST_F(TextureTest, TrimmedPicturesDrawTheSamePixelsAsTheWholeSquare) {
    const int w = 96, h = 64;
    std::vector<uint8_t> rgba(w * h * 4, 0);
    auto paint = [&](int x0, int x1, int y0, int y1) {
        for (int y = y0; y < y1; y++)
            for (int x = x0; x < x1; x++) {
                uint8_t* texel = &rgba[(y * w + x) * 4];
                texel[0] = (uint8_t)(40 + 2 * x), texel[1] = (uint8_t)(200 - 3 * y);
                texel[2] = 90, texel[3] = (x + y) % 3 ? 255 : 128;
            }
    };
    paint(8, 88, 4, 12), paint(44, 52, 12, 52), paint(w - 4, w, h - 1, h);
    Texture* picture = CreateTexture(w, h, rgba.data());
    Mesh* square = CreateSquareMesh(0xFFFFFFFF);
    struct Placement {
        float x, y, width, height, turn, cellWidth, cellX;
    };
    const Placement placements[] = {
        {-400.37f, 200.61f, 96, 64, 0, 1, 0},       {-150.5f, 180.25f, 144, 96, 0, 1, 0},
        {100.8f, 190.1f, -77, 51, 0, 1, 0},         {350.3f, 170.7f, 96, 64, 3.14159265f, 1, 0},
        {-300.45f, -150.2f, 48, 64, 0, 0.5f, 0.5f}, {0.33f, -160.9f, 130, 70, 0, 1, 0}};
    auto render = [&](bool lean) {
        SetLeanRendering(lean);
        BeginTestDrawing();
        BindTexture(picture);
        for (const Placement& p : placements) {
            textureTransform = {{{p.cellWidth, 0, p.cellX}, {0, 1, 0}, {0, 0, 1}}};
            Matrix3 m;
            Matrix3Concat(m, Matrix3Rotation(p.turn), Matrix3Scale(p.width, p.height));
            Matrix3Concat(m, Matrix3Translation(p.x, p.y), m);
            SetTransform(m);
            DrawMesh(square);
        }
        int width = 0, height = 0;
        PlatformGetClientSize(&width, &height);
        return ReadClientPixels(width, height);
    };
    const std::vector<uint8_t> full = render(false), lean = render(true);
    SetLeanRendering(true);
    int differing = 0, worst = 0, drawn = 0;
    for (size_t i = 0; i < full.size(); i += 4) {
        int most = 0;
        for (size_t c = i; c < i + 3; c++)
            most = std::max(most, std::abs(full[c] - lean[c]));
        differing += most > 0, worst = std::max(worst, most);
        drawn += (full[i] | full[i + 1] | full[i + 2]) != 0;
    }
    EXPECT_GT(drawn, 5000);
    EXPECT_LE(differing, 20);
    EXPECT_LE(worst, 1);
    UnloadTexture(picture);
    FreeMesh(square);
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
