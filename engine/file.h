// Game files: every path the game names ("data\Font\...", "data/Coin.png") is
// read from the data folder beside the program, whatever the working
// directory, with '\' and '/' both accepted as separators.
#pragma once

#include <cstdio>
#include <string>

// Sets the folder that holds `data` (default: the program's own folder).
void SetGameBaseDir(const std::string& dir);
const std::string& GetGameBaseDir();
// Full path of a game path: separators normalised, relative paths under the base folder.
std::string ResolveGamePath(const char* path);
// fopen on the resolved path.
FILE* OpenGameFile(const char* path, const char* mode);
