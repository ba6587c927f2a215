// The yes/no quit confirmation. Placeholder until the main menu is built.
#include "screens/quit_dialog.h"

void OpenQuitDialog() {}
void CloseQuitDialog() {}
