// Studio and audio-library splash (state 13). Its callbacks for the state table.
#pragma once

void SplashLoad();
void SplashInit();
void SplashUpdate();
void SplashUnload();

// Seconds left before the studio animation starts (1.5 at Init).
extern float splashTimer;
// True until the studio animation has been started once in this run of the program.
extern bool splashFirstRun;
