// Platform layer, system part for Windows: the single-instance rule as a
// named mutex and the program's folder from the module's own file name.
// Depends on kernel32.
#include "engine/platform/platform.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// UTF-16 text of UTF-8 `text`.
static std::wstring Widen(const char* text) {
    int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring wide(length > 0 ? length : 1, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), length);
    wide.resize(wide.size() - 1); // the terminating zero
    return wide;
}

// UTF-8 text of UTF-16 `wide`.
static std::string Narrow(const std::wstring& wide) {
    int length = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), (int)wide.size(), nullptr, 0,
                                     nullptr, nullptr);
    std::string text(length, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), (int)wide.size(), text.data(), length, nullptr,
                        nullptr);
    return text;
}

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// Creates the mutex named `name`, owned; false when it exists already (another
// copy runs, perhaps under another account). The handle is never closed: the
// end of the process releases it, a crash included.
bool PlatformAcquireInstanceLock(const char* name) {
    HANDLE mutex = CreateMutexW(nullptr, TRUE, Widen(name).c_str());
    DWORD error = GetLastError();
    if (mutex && error == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return false;
    }
    if (!mutex && error == ERROR_ACCESS_DENIED) return false;
    if (!mutex)
        fprintf(stderr,
                "Warning: cannot create the instance mutex %s (error %lu); running anyway\n", name,
                error);
    return true;
}

// Folder of the running program in UTF-8 with '/' separators, ending with '/'.
std::string PlatformGetBaseDir() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), (DWORD)path.size());
        if (length == 0) return "./";
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2); // a long path was cut short
    }
    path.resize(path.find_last_of(L"\\/") + 1);
    std::string dir = Narrow(path);
    for (char& c : dir)
        if (c == '\\') c = '/';
    return dir;
}
