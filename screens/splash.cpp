// Studio and audio-library splash (state 13). Placeholder callbacks until the screen is built.
#include "screens/splash.h"

void SplashLoad() {}
void SplashInit() {}
void SplashUpdate() {}
void SplashUnload() {}
