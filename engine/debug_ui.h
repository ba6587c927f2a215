// Debug interface (Dear ImGui): created with the graphics, a frame of it
// around each state's Update and Draw, shut down with the textures.
#pragma once

// Creates the context, reads "imgui.ini" and starts its OpenGL renderer
// (again after a restart of the graphics).
void CreateDebugUi();
// Feeds the interface from the engine's input and starts its frame.
void BeginDebugUiFrame();
// Ends the frame's drawing (the sprite batch's frame) and renders the
// interface's frame over it when it has anything to show.
void RenderDebugUi();
// Writes "imgui.ini" and destroys the context.
void ShutdownDebugUi();
