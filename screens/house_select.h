// House selection (state 8). Its callbacks for the state table.
#pragma once

void HouseSelectLoad();
void HouseSelectInit();
void HouseSelectUpdate();
void HouseSelectUnload();
