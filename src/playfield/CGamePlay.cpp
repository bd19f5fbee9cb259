#include "game/CGame.h"

void CGame::SpawnApples() {}
void CGame::RenderApples() {}
void CGame::CheckCollisions() {}
void CGame::RenderHorses() {}
void CGame::Accelerate() {}
void CGame::CheckSolution() {}
void CGame::RenderBonus() {}
