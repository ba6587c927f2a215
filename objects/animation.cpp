// Animation files: reads the small text file that describes a sprite sheet
// (frame count, rows, columns, the sheet's picture, one duration per frame)
// into an Animation record, keeps every loaded record in one list and frees
// them together. A file that cannot be read or is malformed gives null and one
// stderr line naming it and the fault; nothing is kept from it.
// Depends on game paths (engine/file.h) and textures.
#include "objects/animation.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/file.h"
#include "engine/graphics/texture.h"

// ---------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------

namespace {

// Reads an animation file's text by the file's own token and line rules.
struct AnimationReader {
    const std::string& text;
    size_t position = 0;
    std::string fault; // set on the first fault found
};

} // namespace

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

std::list<Animation*> animationList;

// Longest integer token and longest line a file may hold.
static constexpr size_t MAX_TOKEN_CHARS = 12;
static constexpr size_t MAX_LINE_CHARS = 255;
// No sheet of the game comes near this; it keeps a bad count from taking all memory.
static constexpr uint32_t MAX_FRAMES = 65536;

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// Reads a whole file as text with Windows line ends turned into single line
// feeds (what text mode does where the files were written). False on failure.
static bool ReadTextLines(FILE* file, std::string* text) {
    if (!ReadToEnd(file, text)) return false;
    std::string lines;
    lines.reserve(text->size());
    for (size_t i = 0; i < text->size(); ++i) {
        if ((*text)[i] == '\r' && i + 1 < text->size() && (*text)[i + 1] == '\n') continue;
        lines += (*text)[i];
    }
    text->swap(lines);
    return true;
}

// Integer token: digits and '-' are collected; the first other character ends
// the token and is consumed with it. At the end of the file it reads as 0.
static int32_t ReadInteger(AnimationReader& reader, const char* what) {
    const std::string& text = reader.text;
    if (reader.position >= text.size()) return 0;
    std::string token;
    while (reader.position < text.size()) {
        const char c = text[reader.position++];
        if (!isdigit(static_cast<unsigned char>(c)) && c != '-') break;
        token += c;
    }
    if (token.empty()) {
        reader.fault = std::string("the ") + what + " is not a number";
        return 0;
    }
    if (token.size() > MAX_TOKEN_CHARS) {
        reader.fault = std::string("the ") + what + " has more than 12 characters";
        return 0;
    }
    errno = 0;
    const long long value = strtoll(token.c_str(), nullptr, 10);
    if (errno == ERANGE || value < INT32_MIN || value > INT32_MAX) {
        reader.fault = std::string("the ") + what + " " + token + " is out of range";
        return 0;
    }
    return static_cast<int32_t>(value);
}

// Line: everything up to the next line feed, which is consumed; the end of the
// file also ends a line.
static std::string ReadLine(AnimationReader& reader, const char* what) {
    const std::string& text = reader.text;
    if (reader.position >= text.size()) return std::string();
    size_t end = text.find('\n', reader.position);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(reader.position, end - reader.position);
    reader.position = end < text.size() ? end + 1 : end;
    if (line.size() > MAX_LINE_CHARS) {
        reader.fault = std::string("the ") + what + " is longer than 255 characters";
        return std::string();
    }
    return line;
}

// A duration line's value: the text after its last colon (or the whole line).
static float ParseDuration(const std::string& line) {
    const size_t colon = line.rfind(':');
    const std::string value = colon == std::string::npos ? line : line.substr(colon + 1);
    return static_cast<float>(atof(value.c_str()));
}

// Checks the sheet's grid and frame count; the fault text when they are unusable.
static std::string CheckGrid(int32_t frameCount, int32_t rows, int32_t columns) {
    if (rows <= 0 || columns <= 0)
        return "rows and columns must be at least 1 (read " + std::to_string(rows) + " by " +
               std::to_string(columns) + ")";
    const long long cells = static_cast<long long>(rows) * columns;
    if (frameCount <= 0 || frameCount > cells)
        return "the frame count " + std::to_string(frameCount) +
               " is not 1 to rows times columns (" + std::to_string(cells) + ")";
    if (static_cast<uint32_t>(frameCount) > MAX_FRAMES)
        return "the frame count " + std::to_string(frameCount) + " is above 65536";
    return std::string();
}

// The one stderr line of a file that gives no animation.
static Animation* Refuse(const char* path, const std::string& fault) {
    fprintf(stderr, "LoadAnimation: \"%s\": %s\n", path, fault.c_str());
    return nullptr;
}

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// Reads an animation file, loads its sheet and lists the record.
Animation* LoadAnimation(const char* path) {
    if (path == nullptr) return Refuse("(null)", "no path given");
    FILE* file = OpenGameFile(path, "rt");
    if (file == nullptr)
        return Refuse(path,
                      "cannot be opened (" + ResolveGamePath(path) + ": " + strerror(errno) + ")");
    std::string text;
    const bool read = ReadTextLines(file, &text);
    fclose(file);
    if (!read) return Refuse(path, "cannot be read (" + ResolveGamePath(path) + ")");

    AnimationReader reader{text, 0, std::string()};
    const int32_t frameCount = ReadInteger(reader, "frame count");
    const int32_t rows = reader.fault.empty() ? ReadInteger(reader, "row count") : 0;
    const int32_t columns = reader.fault.empty() ? ReadInteger(reader, "column count") : 0;
    if (!reader.fault.empty()) return Refuse(path, reader.fault);
    const std::string gridFault = CheckGrid(frameCount, rows, columns);
    if (!gridFault.empty()) return Refuse(path, gridFault);

    const std::string sheetPath = ReadLine(reader, "picture path");
    if (!reader.fault.empty()) return Refuse(path, reader.fault);
    std::vector<float> durations;
    durations.reserve(static_cast<size_t>(frameCount));
    for (int32_t i = 0; i < frameCount; ++i) {
        // A file that ends early gives empty lines: 0 seconds.
        const std::string line = ReadLine(reader, "duration line");
        if (!reader.fault.empty())
            return Refuse(path, reader.fault + " (frame " + std::to_string(i) + ")");
        durations.push_back(ParseDuration(line));
    }

    // A sheet that cannot be loaded gives no animation: sprites keep their picture.
    Texture* sheet = LoadTexture(sheetPath.c_str());
    if (sheet == nullptr)
        return Refuse(path, "its picture \"" + sheetPath + "\" could not be loaded");

    Animation* animation = new Animation;
    animation->texture = sheet;
    animation->frameCount = static_cast<uint32_t>(frameCount);
    animation->rows = static_cast<uint32_t>(rows);
    animation->columns = static_cast<uint32_t>(columns);
    animation->frameDurations = std::move(durations);
    animationList.push_back(animation);
    return animation;
}

// Frees every listed animation, last loaded first, with its sheet.
void FreeAllAnimations() {
    while (!animationList.empty()) {
        Animation* animation = animationList.back();
        UnloadTexture(animation->texture);
        animationList.pop_back();
        delete animation;
    }
}

int AnimationCount() {
    return static_cast<int>(animationList.size());
}
