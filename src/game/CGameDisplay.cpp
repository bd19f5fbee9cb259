#include "game/CGame.h"

void CGame::RenderLives() {}
void CGame::RenderScore() {}
void CGame::RenderPlayerName() {}
void CGame::RenderHighScore(bool) {}
