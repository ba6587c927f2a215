// How to play, the rules book (state 7). Placeholder callbacks until the screen is built.
#include "screens/how_to_play.h"

void HowToPlayLoad() {}
void HowToPlayInit() {}
void HowToPlayUpdate() {}
void HowToPlayUnload() {}
