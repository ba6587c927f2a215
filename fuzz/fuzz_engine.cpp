// Fuzzing support: the real engine started once per process, a scratch folder
// and the invariant check that turns a broken promise into a crash the fuzzer
// keeps. Depends on the engine's start-up, the game file layer, meshes and
// the platform.
#include "fuzz_engine.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/game_state.h"
#include "engine/file.h"
#include "engine/graphics/sprite_batch.h"
#include "engine/platform/platform.h"

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

static std::string scratchDir;

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// Removes the scratch folder when the fuzzing process ends.
static void RemoveScratchDir() {
    std::error_code ignored;
    if (!scratchDir.empty()) std::filesystem::remove_all(scratchDir, ignored);
}

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// Starts the engine once with the data folder of `baseDir`.
void StartFuzzEngine(const std::string& baseDir) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    PlatformSetMessageBoxesSilent(true);
    PlatformSetSyntheticInputOnly(true); // other programs may share the X display
    SetSteppedClock(true, 1.0 / 60.0);
    const int failure = StartEngine(false);
    if (failure >= 0) {
        fprintf(stderr, "fuzz: the engine did not start (exit code %d); run under xvfb-run\n",
                failure);
        abort();
    }
    SetGameBaseDir(baseDir);
    // The software renderer's pixel work is not what is being tested.
    BatchSetRasterizing(false);
}

// The process's scratch folder, made on first use.
const std::string& FuzzScratchDir() {
    if (scratchDir.empty()) {
        char pattern[] = "/tmp/morrow_fuzz_XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            perror("fuzz: mkdtemp");
            abort();
        }
        scratchDir = pattern;
        atexit(RemoveScratchDir);
    }
    return scratchDir;
}

// Replaces a file with the given bytes.
void WriteFuzzFile(const std::string& path, const uint8_t* data, size_t size) {
    FILE* file = fopen(path.c_str(), "wb");
    if (file == nullptr || (size > 0 && fwrite(data, 1, size, file) != size)) {
        perror(path.c_str());
        abort();
    }
    fclose(file);
}

// A broken promise of the code under test: crash so the fuzzer keeps the input.
void FuzzCheck(bool condition, const char* what) {
    if (condition) return;
    fprintf(stderr, "fuzz: invariant broken: %s\n", what);
    abort();
}
