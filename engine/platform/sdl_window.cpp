// Platform layer, window part: the SDL window with its OpenGL 3.3 core
// context, the event pump that plays the role of the game's window procedure
// (keys, buttons, wheel, cursor, focus, close), window placement and style,
// and synthetic events for tests. Depends on SDL2 and the raw input state of
// app/input.h and isRunning of app/game_state.h.
#include "engine/platform/platform.h"

#include <SDL2/SDL.h>

#include <cstdio>
#include <cstdlib>

#include "app/game_state.h"
#include "app/input.h"

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

static SDL_Window* window = nullptr;
static SDL_GLContext glContext = nullptr;
static int cursorClientX = 0, cursorClientY = 0;
// Focus and minimised state as the window events last told them; the window
// counts as focused from its creation until told otherwise.
static bool windowFocused = true;
static bool windowMinimized = false;
// Whether a window manager has ever framed the window (without one, as on a
// bare X server, the frame is always nothing).
static bool frameSeen = false;
static int multisampling = 0;
// A window event came in (the first frame is always drawn).
static bool windowEvents = true;
// Tag carried by queued synthetic events, and whether only those count.
static const Uint32 SYNTHETIC_TAG = 0x4B455354; // "KEST"
static bool syntheticInputOnly = false;

// ---------------------------------------------------------------------------
// Internal functions
// ---------------------------------------------------------------------------

// Virtual-key code of an SDL key, or -1 for keys the game has no slot for.
static int VirtualKeyFromSdl(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + (key - SDLK_F1);
    switch (key) {
    case SDLK_BACKSPACE:
        return VK_BACK;
    case SDLK_TAB:
        return VK_TAB;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return VK_RETURN;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
        return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT:
        return VK_ALT_SLOT; // Alt lives in slot 10
    case SDLK_ESCAPE:
        return VK_ESCAPE;
    case SDLK_SPACE:
        return VK_SPACE;
    case SDLK_PAGEUP:
        return VK_PRIOR;
    case SDLK_PAGEDOWN:
        return VK_NEXT;
    case SDLK_END:
        return VK_END;
    case SDLK_HOME:
        return VK_HOME;
    case SDLK_LEFT:
        return VK_LEFT;
    case SDLK_UP:
        return VK_UP;
    case SDLK_RIGHT:
        return VK_RIGHT;
    case SDLK_DOWN:
        return VK_DOWN;
    case SDLK_INSERT:
        return VK_INSERT;
    case SDLK_DELETE:
        return VK_DELETE;
    default:
        return -1;
    }
}

// SDL key for a virtual-key code (synthetic events), the inverse of the above.
static SDL_Keycode SdlKeyFromVirtual(int vk) {
    if (vk >= 'A' && vk <= 'Z') return SDLK_a + (vk - 'A');
    if (vk >= '0' && vk <= '9') return SDLK_0 + (vk - '0');
    if (vk >= VK_F1 && vk < VK_F1 + 12) return SDLK_F1 + (vk - VK_F1);
    switch (vk) {
    case VK_BACK:
        return SDLK_BACKSPACE;
    case VK_TAB:
        return SDLK_TAB;
    case VK_ALT_SLOT:
    case VK_ALT:
        return SDLK_LALT;
    case VK_RETURN:
        return SDLK_RETURN;
    case VK_SHIFT:
        return SDLK_LSHIFT;
    case VK_CONTROL:
        return SDLK_LCTRL;
    case VK_ESCAPE:
        return SDLK_ESCAPE;
    case VK_SPACE:
        return SDLK_SPACE;
    case VK_PRIOR:
        return SDLK_PAGEUP;
    case VK_NEXT:
        return SDLK_PAGEDOWN;
    case VK_END:
        return SDLK_END;
    case VK_HOME:
        return SDLK_HOME;
    case VK_LEFT:
        return SDLK_LEFT;
    case VK_UP:
        return SDLK_UP;
    case VK_RIGHT:
        return SDLK_RIGHT;
    case VK_DOWN:
        return SDLK_DOWN;
    case VK_INSERT:
        return SDLK_INSERT;
    case VK_DELETE:
        return SDLK_DELETE;
    default:
        return SDLK_UNKNOWN;
    }
}

// Mouse-button slot of an SDL button, or -1.
static int ButtonSlot(Uint8 button) {
    switch (button) {
    case SDL_BUTTON_LEFT:
        return MOUSE_LEFT;
    case SDL_BUTTON_RIGHT:
        return MOUSE_RIGHT;
    case SDL_BUTTON_MIDDLE:
        return MOUSE_MIDDLE;
    default:
        return -1;
    }
}

// The window procedure's share of a window event.
static void HandleWindowEvent(const SDL_WindowEvent& event) {
    switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE:
        isRunning = false;
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        windowFocused = true;
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        windowFocused = false;
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        windowMinimized = true;
        break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
        windowMinimized = false;
        break;
    default:
        break;
    }
}

// True for input and focus events that came from the window system itself.
static bool IsSystemInput(const SDL_Event& event) {
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        return event.key.keysym.unused != SYNTHETIC_TAG;
    case SDL_MOUSEMOTION:
        return event.motion.which != SYNTHETIC_TAG;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        return event.button.which != SYNTHETIC_TAG;
    case SDL_MOUSEWHEEL:
        return event.wheel.which != SYNTHETIC_TAG;
    case SDL_WINDOWEVENT:
        return event.window.event != SDL_WINDOWEVENT_CLOSE &&
               (Uint32)event.window.data2 != SYNTHETIC_TAG;
    default:
        return false;
    }
}

// Writes one event into the raw input state, as the window procedure does.
static void HandleEvent(const SDL_Event& event) {
    if (syntheticInputOnly && IsSystemInput(event)) return;
    switch (event.type) {
    case SDL_QUIT:
        isRunning = false;
        break;
    case SDL_WINDOWEVENT:
        HandleWindowEvent(event.window);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        int vk = VirtualKeyFromSdl(event.key.keysym.sym);
        if (vk >= 0 && vk < 256) keyState[vk] = event.type == SDL_KEYDOWN ? 1 : 0;
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        int slot = ButtonSlot(event.button.button);
        if (slot >= 0) mouseButtonState[slot] = event.type == SDL_MOUSEBUTTONDOWN ? 1 : 0;
        cursorClientX = event.button.x;
        cursorClientY = event.button.y;
        break;
    }
    case SDL_MOUSEMOTION:
        cursorClientX = event.motion.x;
        cursorClientY = event.motion.y;
        break;
    case SDL_MOUSEWHEEL:
        rawMouseWheel = (float)event.wheel.y;
        break; // stored, not added
    default:
        break;
    }
}

// Pumps events (the window manager's news of the frame arrives with them)
// until the window's frame is there, or gone, as asked: SDL places the window
// by its client area using the last frame it heard of. Waits at most half a
// second, and not at all for a frame when no window manager ever gave one.
static void WaitForFrame(bool framed) {
    for (int waited = 0; waited <= 500; waited += 5) {
        SDL_PumpEvents();
        int top = 0, left = 0, bottom = 0, right = 0;
        SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right);
        const bool hasFrame = top > 0 || left > 0 || bottom > 0 || right > 0;
        frameSeen = frameSeen || hasFrame;
        if (hasFrame == framed || (framed && !frameSeen)) return;
        SDL_Delay(5);
    }
}

// True when this SDL has the video driver `name`.
static bool HasVideoDriver(const char* name) {
    for (int i = 0; i < SDL_GetNumVideoDrivers(); i++)
        if (SDL_strcmp(SDL_GetVideoDriver(i), name) == 0) return true;
    return false;
}

// Starts SDL's video system. With an X display at hand it asks for X11 by
// name and tries again a few times: a display that answers late would
// otherwise make SDL fall back on a driver without OpenGL through GLX. (A
// Windows program under Wine sees DISPLAY too, but its SDL has no X11.)
static bool StartVideoSystem() {
    bool haveX = getenv("DISPLAY") && *getenv("DISPLAY") && !getenv("SDL_VIDEODRIVER") &&
                 HasVideoDriver("x11");
    if (haveX) SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    // The click that brings the window to the front counts as a click, as it
    // does for a window procedure (SDL on Windows would swallow it).
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    const int attempts = haveX ? 5 : 1;
    for (int attempt = 1; attempt <= attempts; attempt++) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0) return true;
        fprintf(stderr, "Error: cannot start the video system (attempt %d of %d): %s\n", attempt,
                attempts, SDL_GetError());
        if (attempt < attempts) SDL_Delay(200);
    }
    return false;
}

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

// Opens the window with a current OpenGL 3.3 core forward-compatible context.
bool PlatformCreateWindow(const char* title, int x, int y, int clientWidth, int clientHeight) {
    // The video system starts once per process and stays up: restarting it
    // (tests restart the engine) can fall back on another video driver.
    if (!SDL_WasInit(SDL_INIT_VIDEO)) {
        if (!StartVideoSystem()) return false;
        atexit(SDL_Quit);
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, SDL_GL_CONTEXT_FORWARD_COMPATIBLE_FLAG);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    // No depth buffer: every picture lies at depth 0 and the draw order alone
    // decides what covers what. Without one, Mesa's software rasterizer also
    // draws plain pictures on its fast path.
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, multisampling > 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, multisampling);
    window = SDL_CreateWindow(title, x, y, clientWidth, clientHeight,
                              SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_SHOWN);
    if (!window) {
        fprintf(stderr, "Error: cannot open the window: %s\n", SDL_GetError());
        return false;
    }
    glContext = SDL_GL_CreateContext(window);
    if (!glContext) {
        fprintf(stderr, "Error: cannot create an OpenGL 3.3 context: %s\n", SDL_GetError());
        SDL_DestroyWindow(window);
        window = nullptr;
        return false;
    }
    // A window manager places a new window's frame, not its client area, at
    // the asked position; asked again once the frame's size is known (the
    // events pumped here stay queued), the client area lands there.
    frameSeen = false;
    WaitForFrame(true);
    SDL_SetWindowPosition(window, x, y);
    SDL_GL_MakeCurrent(window, glContext);
    SDL_GL_SetSwapInterval(0); // the frame loop paces itself
    windowFocused = true;
    windowMinimized = false;
    cursorClientX = cursorClientY = 0;
    return true;
}

void PlatformSetMultisampling(int samples) {
    multisampling = samples;
}

// Closes the window and its context (the video system stays up).
void PlatformDestroyWindow() {
    if (glContext) SDL_GL_DeleteContext(glContext);
    if (window) SDL_DestroyWindow(window);
    glContext = nullptr;
    window = nullptr;
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT); // nothing of this window reaches the next
}

// Sets the window icon from top-to-bottom RGBA rows.
void PlatformSetWindowIcon(const unsigned char* rgba, int width, int height) {
    if (!window || !rgba) return;
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom((void*)rgba, width, height, 32,
                                                           width * 4, SDL_PIXELFORMAT_RGBA32);
    if (!icon) return;
    SDL_SetWindowIcon(window, icon);
    SDL_FreeSurface(icon);
}

// Current client size in pixels.
void PlatformGetClientSize(int* width, int* height) {
    int w = 0, h = 0;
    if (window) SDL_GetWindowSize(window, &w, &h);
    if (width) *width = w;
    if (height) *height = h;
}

// Resizes the client area, keeping the window where it is.
void PlatformSetClientSize(int width, int height) {
    if (window) SDL_SetWindowSize(window, width, height);
}

// Top-left corner of the window.
void PlatformGetWindowPosition(int* x, int* y) {
    int wx = 0, wy = 0;
    if (window) SDL_GetWindowPosition(window, &wx, &wy);
    if (x) *x = wx;
    if (y) *y = wy;
}

// Moves the window.
void PlatformSetWindowPosition(int x, int y) {
    if (window) SDL_SetWindowPosition(window, x, y);
}

// Borderless pop-up style for full screen, decorated otherwise.
void PlatformSetBorderless(bool borderless) {
    if (!window) return;
    SDL_SetWindowBordered(window, borderless ? SDL_FALSE : SDL_TRUE);
    WaitForFrame(!borderless);
}

// Size of the primary display.
void PlatformGetScreenSize(int* width, int* height) {
    SDL_DisplayMode mode = {};
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) {
        fprintf(stderr, "Warning: cannot read the display size: %s\n", SDL_GetError());
        mode.w = 1920;
        mode.h = 1080;
    }
    if (width) *width = mode.w;
    if (height) *height = mode.h;
}

// Not minimised and holding the keyboard focus.
bool PlatformIsWindowActive() {
    return window && windowFocused && !windowMinimized;
}

// Not minimised, not hidden (unmapped).
bool PlatformIsWindowVisible() {
    if (!window) return false;
    return !windowMinimized &&
           (SDL_GetWindowFlags(window) & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED)) == 0;
}

// Minimises the window.
void PlatformMinimizeWindow() {
    if (window) SDL_MinimizeWindow(window);
}

// Hides the system cursor.
void PlatformHideCursor() {
    SDL_ShowCursor(SDL_DISABLE);
}

// Shows the frame drawn.
void PlatformSwapBuffers() {
    if (window) SDL_GL_SwapWindow(window);
}

// Handles every pending event.
void PlatformPumpEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        windowEvents = windowEvents || event.type == SDL_WINDOWEVENT;
        HandleEvent(event);
    }
}

bool PlatformTakeWindowEvents() {
    const bool came = windowEvents;
    windowEvents = false;
    return came;
}

// Cursor position in client pixels.
void PlatformGetCursorClientPos(int* x, int* y) {
    if (x) *x = cursorClientX;
    if (y) *y = cursorClientY;
}

// Queues a key event.
void PlatformPushKey(int virtualKey, bool down, bool repeat) {
    SDL_Event event = {};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.sym = SdlKeyFromVirtual(virtualKey);
    event.key.keysym.scancode = SDL_GetScancodeFromKey(event.key.keysym.sym);
    event.key.keysym.unused = SYNTHETIC_TAG;
    event.key.windowID = window ? SDL_GetWindowID(window) : 0;
    SDL_PushEvent(&event);
}

// Queues a mouse button event at the current cursor position.
void PlatformPushMouseButton(int button, bool down) {
    static const Uint8 buttons[3] = {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE};
    if (button < 0 || button > 2) return;
    SDL_Event event = {};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.button = buttons[button];
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    event.button.which = SYNTHETIC_TAG;
    event.button.x = cursorClientX;
    event.button.y = cursorClientY;
    event.button.windowID = window ? SDL_GetWindowID(window) : 0;
    SDL_PushEvent(&event);
}

// Queues a cursor move; the pump takes the position from it.
void PlatformPushMouseMove(int clientX, int clientY) {
    SDL_Event event = {};
    event.type = SDL_MOUSEMOTION;
    event.motion.which = SYNTHETIC_TAG;
    event.motion.x = clientX;
    event.motion.y = clientY;
    event.motion.windowID = window ? SDL_GetWindowID(window) : 0;
    SDL_PushEvent(&event);
    // Button events queued before the next pump carry the same position.
    cursorClientX = clientX;
    cursorClientY = clientY;
}

// Queues a wheel event of whole notches.
void PlatformPushWheel(int notches) {
    SDL_Event event = {};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.y = notches;
    event.wheel.which = SYNTHETIC_TAG;
    event.wheel.windowID = window ? SDL_GetWindowID(window) : 0;
    SDL_PushEvent(&event);
}

// Queues the window's close request.
void PlatformPushCloseRequest() {
    SDL_Event event = {};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    event.window.windowID = window ? SDL_GetWindowID(window) : 0;
    SDL_PushEvent(&event);
}

// Queues a focus change.
void PlatformPushFocus(bool gained) {
    SDL_Event event = {};
    event.type = SDL_WINDOWEVENT;
    event.window.event = gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST;
    event.window.data2 = (Sint32)SYNTHETIC_TAG;
    event.window.windowID = window ? SDL_GetWindowID(window) : 0;
    SDL_PushEvent(&event);
}

// Ignore the window system's own input and focus events (test programs).
void PlatformSetSyntheticInputOnly(bool on) {
    syntheticInputOnly = on;
}
