// Platform layer, system part for Linux and other POSIX systems: the
// single-instance lock, the program's folder and how the C heap gives large
// blocks back. Depends on SDL2, POSIX file locks and glibc's malloc.
#include "engine/platform/platform.h"

#include <SDL2/SDL.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <cstdio>
#include <cstdlib>

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

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
// Every thread allocates from the one heap. A level's music decodes on a
// worker thread in thousands of small pieces; in an arena of the worker's own
// they stayed resident after the decoding freed them: 14 MiB more after level
// 1's Load (228 against 214 MiB resident, the peak 267 against 253).
static const bool oneArena = mallopt(M_ARENA_MAX, 1) == 1;
#endif

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

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
