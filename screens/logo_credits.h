// Game logo and rolling credits (state 9). Its callbacks for the state table.
#pragma once

void LogoCreditsLoad();
void LogoCreditsInit();
void LogoCreditsUpdate();
void LogoCreditsUnload();
