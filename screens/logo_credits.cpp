// Game logo and rolling credits (state 9). Placeholder callbacks until the screen is built.
#include "screens/logo_credits.h"

void LogoCreditsLoad() {}
void LogoCreditsInit() {}
void LogoCreditsUpdate() {}
void LogoCreditsUnload() {}
