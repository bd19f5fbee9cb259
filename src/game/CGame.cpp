#include "game/CGame.h"

CGame::CGame() {}
CGame::~CGame() {}
void CGame::Init() {}
void CGame::Run() {}
void CGame::Quit() {}
void CGame::ResetGame(int) {}
void CGame::StartGame() {}
void CGame::RunFrame() {}
