// How to play, the rules book (state 7). Its callbacks for the state table.
#pragma once

void HowToPlayLoad();
void HowToPlayInit();
void HowToPlayUpdate();
void HowToPlayUnload();
