// Platform layer: the one place that talks to the operating system (SDL2 and
// SDL2_mixer). It owns the window and its OpenGL context, turns window events
// into the raw input state of app/input.h, reads the clock, shows message
// boxes, holds the single-instance lock, reads gamepads and plays decoded
// sounds on mixer channels. Everything above it (engine, objects, app, game)
// calls these functions and never includes SDL.
#pragma once

#include <cstdint>
#include <string>

// ---------------------------------------------------------------------------
// Window and OpenGL context (sdl_window.cpp)
// ---------------------------------------------------------------------------

// Starts the video subsystem and opens the window with the given client size at
// (x, y), resizable, with an OpenGL 3.3 core
// forward-compatible context (double-buffered, RGBA 32 bits, depth buffer) made current, swap
// interval 0. Returns false (after a line on stderr) when the window or context fails.
bool PlatformCreateWindow(const char* title, int x, int y, int clientWidth, int clientHeight);
// Sample buffers of the windows opened from now on (0: none), as a driver
// that forces anti-aliasing gives them.
void PlatformSetMultisampling(int samples);
// Closes the window and the video subsystem (used by tests that restart the engine).
void PlatformDestroyWindow();
// Sets the window icon from an RGBA picture (rows top to bottom).
void PlatformSetWindowIcon(const unsigned char* rgba, int width, int height);
// Current client area size in pixels.
void PlatformGetClientSize(int* width, int* height);
// Resizes the client area without moving the window.
void PlatformSetClientSize(int width, int height);
// Top-left corner of the window on the screen.
void PlatformGetWindowPosition(int* x, int* y);
void PlatformSetWindowPosition(int x, int y);
// Borderless full-screen style (true) or the normal decorated window (false).
void PlatformSetBorderless(bool borderless);
// Size of the primary display in pixels.
void PlatformGetScreenSize(int* width, int* height);
// True when the window is not minimised and has the keyboard focus.
bool PlatformIsWindowActive();
// False while the window is minimised or hidden (nothing of it can be seen).
bool PlatformIsWindowVisible();
void PlatformMinimizeWindow();
// Hides the system cursor (the screens draw their own).
void PlatformHideCursor();
void PlatformSwapBuffers();

// Handles every pending window event: keys, buttons, wheel and cursor go to the
// raw input state (app/input.h), a close request sets isRunning false.
void PlatformPumpEvents();
// Whether any window event (exposed, resized, shown, focus...) came in since
// the last call: the window's picture may need drawing again.
bool PlatformTakeWindowEvents();
// Cursor position in client pixels, as last reported by the window system.
void PlatformGetCursorClientPos(int* x, int* y);

// Synthetic input for tests and tools: each call queues a real window event
// that PlatformPumpEvents then handles exactly as one from the window system.
// With synthetic input only, the pump ignores the window system's own input
// and focus events, so test programs sharing one X display (and its one
// pointer and focus) cannot disturb each other.
void PlatformSetSyntheticInputOnly(bool on);
void PlatformPushKey(int virtualKey, bool down, bool repeat = false);
void PlatformPushMouseButton(int button, bool down); // 0 left, 1 right, 2 middle
void PlatformPushMouseMove(int clientX, int clientY);
void PlatformPushWheel(int notches);
void PlatformPushCloseRequest();
void PlatformPushFocus(bool gained);

// ---------------------------------------------------------------------------
// System services (sdl_system.cpp; the lock and the folder in posix_system.cpp
// or win_system.cpp, whichever the build picks for its system)
// ---------------------------------------------------------------------------

uint64_t PlatformGetCounter();
uint64_t PlatformGetFrequency();
// Sleeps for about the given number of seconds (the frame wait sleeps most of it).
void PlatformSleep(double seconds);

enum MessageBoxKind { MESSAGEBOX_INFO, MESSAGEBOX_WARNING, MESSAGEBOX_ERROR };
// Shows a modal message box, also written to stderr. Tests can count them.
void PlatformMessageBox(const char* text, const char* caption, MessageBoxKind kind);
// Number of message boxes shown since start (for tests and the exit report).
int PlatformMessageBoxCount();
// When set, message boxes are only written to stderr (tests, headless runs).
void PlatformSetMessageBoxesSilent(bool silent);

// Takes the single-instance lock named `name` (a lock file in the user's
// runtime folder, a named mutex on Windows); false when another running
// process holds it.
bool PlatformAcquireInstanceLock(const char* name);

// Folder holding the running program, ending with '/'.
std::string PlatformGetBaseDir();

// ---------------------------------------------------------------------------
// Gamepads (sdl_gamepad.cpp)
// ---------------------------------------------------------------------------

struct GamepadRaw {
    uint16_t buttons;
    uint8_t leftTrigger, rightTrigger;
    int16_t leftX, leftY, rightX, rightY;
};
// Reads pad `index` (0..3); false when no pad is there.
bool PlatformReadGamepad(int index, GamepadRaw* out);
void PlatformSetGamepadVibration(int index, float left, float right);

// ---------------------------------------------------------------------------
// Audio device and mixer channels (sdl_audio.cpp)
// ---------------------------------------------------------------------------

// Opens the audio device and allocates `channels` mixer channels. With no usable
// device it warns once on stderr and opens SDL's dummy driver instead; false
// only when even that fails.
bool PlatformAudioOpen(int channels);
void PlatformAudioClose();
// Fully decodes a WAV or MP3 file; null (and a stderr line naming it) on failure.
void* PlatformAudioLoad(const char* path);
void PlatformAudioFree(void* sound);
// A playing sound: its mixer channel plus a generation count, so that a voice
// whose channel was reused by a later play reads as finished, never as the
// newer sound. -1 is no voice.
typedef int64_t AudioVoice;
// Starts a decoded sound on a free mixer channel at `volume` (0..1, set before
// the mixer hears it), paused if asked; -1 when none.
AudioVoice PlatformAudioPlay(void* sound, bool paused, float volume);
// Loop count 0 plays once, -1 loops for ever (restarting the channel if needed).
void PlatformAudioSetLoopCount(AudioVoice voice, int loopCount);
void PlatformAudioSetPaused(AudioVoice voice, bool paused);
void PlatformAudioSetVolume(AudioVoice voice, float volume); // 0..1
// True while the voice plays or is paused.
bool PlatformAudioIsPlaying(AudioVoice voice);
void PlatformAudioStop(AudioVoice voice);
// Name of the audio driver in use ("dummy" when running silent), "" when closed.
const char* PlatformAudioDriverName();
// Mixer volume of a current voice in 0..1; -1 for a stale or absent voice.
float PlatformAudioGetVolume(AudioVoice voice);
// True while a current voice is paused.
bool PlatformAudioIsPaused(AudioVoice voice);
// Mixer channels a listener hears now: playing, not paused, volume above 0.
int PlatformAudioAudibleCount();
