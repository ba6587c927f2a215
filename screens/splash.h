// Studio and audio-library splash (state 13). Its callbacks for the state table.
#pragma once

void SplashLoad();
void SplashInit();
void SplashUpdate();
void SplashUnload();
