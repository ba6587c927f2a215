// The yes/no quit confirmation shared by the main menu and the battle's pause
// menu: creates and destroys its objects.
#pragma once

void OpenQuitDialog();
void CloseQuitDialog();
