#include "game/CGame.h"

void CGame::ProcessEvents() {}
