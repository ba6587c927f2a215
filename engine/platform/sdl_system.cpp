// Platform layer, system part: the high-resolution clock, sleeping and
// message boxes. The single-instance lock and the program's folder differ by
// system (posix_system.cpp, win_system.cpp). Depends on SDL2.
#include "engine/platform/platform.h"

#include <SDL2/SDL.h>

#include <chrono>
#include <cstdio>
#include <thread>

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

static int messageBoxCount = 0;
static bool messageBoxesSilent = false;

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// High-resolution counter value.
uint64_t PlatformGetCounter() {
    return SDL_GetPerformanceCounter();
}

// Counts per second of the high-resolution counter.
uint64_t PlatformGetFrequency() {
    return SDL_GetPerformanceFrequency();
}

// Sleeps about `seconds`.
void PlatformSleep(double seconds) {
    if (seconds > 0) std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

// Shows a modal message box (and always writes it to stderr).
void PlatformMessageBox(const char* text, const char* caption, MessageBoxKind kind) {
    messageBoxCount++;
    fprintf(stderr, "[%s] %s\n", caption ? caption : "", text ? text : "");
    if (messageBoxesSilent) return;
    Uint32 flags = kind == MESSAGEBOX_ERROR     ? SDL_MESSAGEBOX_ERROR
                   : kind == MESSAGEBOX_WARNING ? SDL_MESSAGEBOX_WARNING
                                                : SDL_MESSAGEBOX_INFORMATION;
    if (SDL_ShowSimpleMessageBox(flags, caption, text, nullptr) != 0)
        fprintf(stderr, "Warning: cannot show a message box: %s\n", SDL_GetError());
}

// Message boxes shown since start.
int PlatformMessageBoxCount() {
    return messageBoxCount;
}

// Message boxes go to stderr only while silent.
void PlatformSetMessageBoxesSilent(bool silent) {
    messageBoxesSilent = silent;
}
