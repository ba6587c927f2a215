// Platform layer, system part: the high-resolution clock, sleeping, message
// boxes, the single-instance lock, the program's folder and how the C heap
// gives large blocks back. Depends on SDL2, POSIX file locks and glibc's malloc.
#include "engine/platform/platform.h"

#include <SDL2/SDL.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

static int messageBoxCount = 0;
static bool messageBoxesSilent = false;
static int instanceLockFd = -1; // held for the life of the process

#if defined(__GLIBC__)
// Every Load decodes pictures of up to tens of megabytes and frees them again,
// and a screen's Unload frees its textures' memory. After each free of a
// mapped block glibc raises the size it maps (up to 32 MiB), so later pictures
// come from the heap, which keeps its freed middle: one screen's pictures
// stayed resident under the next. With a fixed limit every block from 1 MiB up
// goes back at once: the peak after touring level 1 fell from 360 to 290 MiB
// (bench/real_program.sh, back to back; docs/performance.md).
static const int LARGE_BLOCK_BYTES = 1 << 20;
static const bool largeBlocksMapped = mallopt(M_MMAP_THRESHOLD, LARGE_BLOCK_BYTES) == 1;
#endif

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

// Takes the single-instance lock; a lock of a crashed process dies with it.
bool PlatformAcquireInstanceLock(const char* name) {
    const char* dir = getenv("XDG_RUNTIME_DIR");
    if (!dir || !*dir) dir = getenv("TMPDIR");
    if (!dir || !*dir) dir = "/tmp";
    std::string path = std::string(dir) + "/" + name + ".lock";
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        fprintf(stderr, "Warning: cannot open the instance lock %s; running anyway\n",
                path.c_str());
        return true;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return false;
    }
    instanceLockFd = fd;
    return true;
}

// Folder of the running program, ending with '/'.
std::string PlatformGetBaseDir() {
    char* base = SDL_GetBasePath();
    if (!base) return "./";
    std::string dir = base;
    SDL_free(base);
    return dir;
}
