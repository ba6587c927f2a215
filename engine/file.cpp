// Game files: maps the paths the game names ("data\Font\X.ttf", "data/X.png")
// onto the data folder beside the program, whatever the working directory.
// Depends on the platform layer for the program's folder.
#include "engine/file.h"

#include "engine/platform/platform.h"

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

static std::string gameBaseDir;
static bool gameBaseDirSet = false;

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

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
