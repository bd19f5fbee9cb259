#include "playfield/CHorse.h"

SCatchZone HorseCatchZone(const SDL_Rect&, int, int) { return SCatchZone{0, 0}; }
bool AppleHitsHorse(int, int, int, const SCatchZone&) { return false; }
void CHorse::Init(CSprite*, int, int) {}
void CHorse::Update(bool) {}
void CHorse::Render() {}
void CHorse::Reset() {}
void CHorse::Quit() {}
