// Fuzzing support: starts the real engine once per fuzzing process (window,
// OpenGL context, audio on the dummy driver, stepped clock) so that loaders run
// with real textures and meshes, and gives each target a scratch file to hand
// its input to the loaders that read files. Run the targets under Xvfb.
// Depends on the engine's start-up, the game file layer and the platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Starts the engine with a 1280 by 720 window and the game's data read from
// `baseDir` (the folder that holds `data`). Pixels are never rasterized: every
// draw call still runs. Aborts when the engine cannot start.
void StartFuzzEngine(const std::string& baseDir);
// A fresh folder under /tmp for the process (removed at exit).
const std::string& FuzzScratchDir();
// Writes the bytes to `path`, replacing it; aborts when it cannot.
void WriteFuzzFile(const std::string& path, const uint8_t* data, size_t size);
// Aborts with a message when `condition` is false (a finding for the fuzzer).
void FuzzCheck(bool condition, const char* what);
