// Game logo and rolling credits (state 9). Its callbacks for the state table.
#pragma once

void LogoCreditsLoad();
void LogoCreditsInit();
void LogoCreditsUpdate();
void LogoCreditsUnload();

// Units per frame the credit pictures rise: 1, or 7 while Space is held.
extern float creditsSpeed;
