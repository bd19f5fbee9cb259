#include "playfield/CApple.h"

void CApple::Init(CSprite*, float, float, int, bool) {}
void CApple::InitSolution() {}
int CApple::InitTxTOffset() { return 0; }
void CApple::Update() {}
void CApple::Render() {}
void CApple::Quit() {}
