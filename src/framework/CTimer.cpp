#include "framework/CTimer.h"

#include <SDL.h>

CTimer::CTimer() : m_fElapsed(0.0f), m_fCurTime(0.0f) {
    m_fLastTime = static_cast<float>(SDL_GetTicks()) / 1000.0f;
}

void CTimer::Update() {
    const float fNow = static_cast<float>(SDL_GetTicks()) / 1000.0f;
    m_fCurTime = fNow;
    m_fElapsed = fNow - m_fLastTime;
    m_fLastTime = fNow;
}
