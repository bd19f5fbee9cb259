#include "playfield/CBonus.h"

void CBonus::Init(CSprite*, int, float, float) {}
void CBonus::Update() {}
void CBonus::Render() {}
