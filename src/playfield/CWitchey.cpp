#include "playfield/CWitchey.h"

CWitchey::CWitchey() : m_pWitchSprite(nullptr), m_pFlashSprite(nullptr) {}
void CWitchey::Init() {}
void CWitchey::Quit() {}
void CWitchey::Update() {}
void CWitchey::Render() {}
void CWitchey::FireFlash(std::list<SDL_Rect>) {}
void CWitchey::Line(float, float, float, float, SDL_Surface*, int, int, int) {}
