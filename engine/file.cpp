// Game files: finds the data folder (beside the program, or the installed
// game's shared data folder) and maps the paths the game names
// ("data\Font\X.ttf", "data/X.png") onto it, whatever the working directory.
// Depends on the platform layer for the program's folder.
#include "engine/file.h"

#include <filesystem>
#include <span>

#include "engine/platform/platform.h"

// MORROW_SHARED_DATA_FROM_PROGRAM, from the build: where an installed game
// keeps its data folder, relative to the program's folder ("" where the game
// is only ever unpacked as one folder).

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

static std::string gameBaseDir;
static bool gameBaseDirSet = false;

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// The first of the program's folder and the shared data folder that holds `data`.
bool FindGameBaseDir(std::string* lookedIn) {
    namespace fs = std::filesystem;
    const fs::path program = PlatformGetBaseDir();
    const fs::path candidates[] = {program,
                                   (program / MORROW_SHARED_DATA_FROM_PROGRAM).lexically_normal()};
    const int count = sizeof(MORROW_SHARED_DATA_FROM_PROGRAM) > 1 ? 2 : 1;
    std::string tried;
    for (const fs::path& base : std::span(candidates, count)) {
        std::error_code error;
        if (fs::is_directory(base / "data", error)) {
            SetGameBaseDir(base.string());
            return true;
        }
        tried += (tried.empty() ? "" : ", ") + (base / "data").string();
    }
    if (lookedIn) *lookedIn = tried;
    return false;
}

// Sets the folder that holds `data`.
void SetGameBaseDir(const std::string& dir) {
    gameBaseDir = dir;
    if (!gameBaseDir.empty() && gameBaseDir.back() != '/') gameBaseDir += '/';
    gameBaseDirSet = true;
}

// The folder that holds `data` (the program's own unless set).
const std::string& GetGameBaseDir() {
    if (!gameBaseDirSet) SetGameBaseDir(PlatformGetBaseDir());
    return gameBaseDir;
}

// Full path of a game path: '\' becomes '/', relative paths go under the base folder.
std::string ResolveGamePath(const char* path) {
    if (!path) return std::string();
    std::string resolved = path;
    for (char& c : resolved)
        if (c == '\\') c = '/';
    if (!resolved.empty() && resolved[0] == '/') return resolved;
    return GetGameBaseDir() + resolved;
}

// Opens a game file.
FILE* OpenGameFile(const char* path, const char* mode) {
    if (!path) return nullptr;
    return fopen(ResolveGamePath(path).c_str(), mode);
}

// In chunks: a file's size is not known before the end on every stream.
bool ReadToEnd(FILE* file, std::string* bytes) {
    char chunk[65536];
    for (size_t got; (got = fread(chunk, 1, sizeof chunk, file)) > 0;)
        bytes->append(chunk, got);
    return ferror(file) == 0;
}
