// Small data folders written by the front-end screen tests: one-colour
// pictures (every picture told apart by its pixels), silent WAV files under any
// name the game asks for (the mixer tells the format by its content), and
// animation files with a sheet of one colour; and a fixture that starts one
// engine per test on such a folder.
#pragma once

#include <gtest/gtest.h>
#include <stb_image_write.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/settings.h"
#include "engine/file.h"
#include "harness/screen_helpers.h"
#include "screens/ui.h"

namespace frontend_test {

namespace fs = std::filesystem;

// Writes a `width` by `height` PNG of one colour (0xRRGGBB) at `path`.
inline void WriteSolidPng(const fs::path& path, uint32_t rgb, int width = 16, int height = 16) {
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4, 0xFF);
    for (size_t i = 0; i < pixels.size(); i += 4) {
        pixels[i] = rgb >> 16 & 0xFF;
        pixels[i + 1] = rgb >> 8 & 0xFF;
        pixels[i + 2] = rgb & 0xFF;
    }
    stbi_write_png(path.c_str(), width, height, 4, pixels.data(), width * 4);
}

// Writes `seconds` of 16-bit mono silence at 22050 Hz as a WAV file.
inline void WriteWav(const fs::path& path, float seconds) {
    const uint32_t bytes = static_cast<uint32_t>(22050 * seconds) * 2;
    const uint32_t header[] = {0x46464952, 36 + bytes, 0x45564157, 0x20746D66, 16,   0x00010001,
                               22050,      44100,      0x00100002, 0x61746164, bytes};
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(header), sizeof header); // "RIFF" ... "data"
    file << std::string(bytes, '\0');
}

// One engine per test; `MakeData` gives it a fresh data folder of its own.
class OwnDataTest : public ::testing::Test {
  protected:
    void SetUp() override {
        StartTestEngine();
        volume = 50;
        soundMuted = musicMuted = sfxMuted = false;
    }
    void TearDown() override {
        StopTestEngine();
        if (!base.empty()) fs::remove_all(base);
    }
    // A fresh folder named after `prefix`, with data/Animation made.
    void MakeData(const std::string& prefix) {
        base = fs::temp_directory_path() / (prefix + "_" + std::to_string(getpid()));
        fs::create_directories(base / "data" / "Animation");
    }
    // Writes data/<name> as a one-colour picture.
    void Picture(const std::string& name, uint32_t rgb) {
        WriteSolidPng(base / "data" / name, rgb);
    }
    void Wav(const std::string& name, float seconds) { WriteWav(base / "data" / name, seconds); }
    // Writes data/Animation/<name>: `frames` cells in one row, `seconds` each, one colour.
    void WriteAnimation(const char* name, int frames, float seconds, uint32_t rgb) {
        std::string sheet = std::string("data/Animation/") + name + ".png";
        WriteSolidPng(base / sheet, rgb, frames * 8, 8);
        std::ofstream file(base / "data" / "Animation" / name);
        file << frames << "\n1\n" << frames << "\n" << sheet << "\n";
        for (int i = 0; i < frames; ++i)
            file << "frame" << i << ":" << seconds << "\n";
    }
    // Points the game at the folder written.
    void UseData() { SetGameBaseDir(base.string()); }

    fs::path base;
};

} // namespace frontend_test
