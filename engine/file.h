// Game files: every path the game names ("data\Font\...", "data/Coin.png") is
// read from the data folder beside the program, or from the installed game's
// shared data folder, whatever the working directory, with '\' and '/' both
// accepted as separators.
#pragma once

#include <cstdio>
#include <string>

// Looks for the `data` folder beside the program, then in the installed game's
// shared data folder, and makes the first folder holding it the base folder.
// False when none does; `lookedIn` then lists every `data` path tried,
// separated by ", ".
bool FindGameBaseDir(std::string* lookedIn);

// Sets the folder that holds `data` (default: the program's own folder).
void SetGameBaseDir(const std::string& dir);
const std::string& GetGameBaseDir();
// Full path of a game path: separators normalised, relative paths under the base folder.
std::string ResolveGamePath(const char* path);
// fopen on the resolved path.
FILE* OpenGameFile(const char* path, const char* mode);
// Reads an open file from where it stands to its end, appended to `bytes`;
// false on a read error.
bool ReadToEnd(FILE* file, std::string* bytes);
