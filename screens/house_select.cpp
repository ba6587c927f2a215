// House selection (state 8). Placeholder callbacks until the screen is built.
#include "screens/house_select.h"

void HouseSelectLoad() {}
void HouseSelectInit() {}
void HouseSelectUpdate() {}
void HouseSelectUnload() {}
