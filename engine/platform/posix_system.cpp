// Platform layer, system part for Linux and other POSIX systems: the
// single-instance lock and the program's folder. Depends on SDL2 and POSIX
// file locks.
#include "engine/platform/platform.h"

#include <SDL2/SDL.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

static int instanceLockFd = -1; // held for the life of the process

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
