#include "playfield/CBonus.h"

#include "framework/CTimer.h"
#include "media/CSprite.h"

namespace {
const float FALL_SPEED = 20.0f;   // pixels per second, as an apple falls
const float BOTTOM_LINE = 590.0f; // a badge whose top passes this y is worn out at once
const float WORN_OUT_AGE = 2.0f;  // past the one second a badge is shown
} // namespace

void CBonus::Init(CSprite* pSprite, int iType, float fX, float fY) {
    m_pSprite = pSprite;
    m_fXPos = fX;
    m_fYPos = fY;
    m_iType = iType;
    m_fAge = 0.0f;
    m_Rect =
        SDL_Rect{static_cast<int>(fX), static_cast<int>(fY), pSprite->m_Rect.w, pSprite->m_Rect.h};
}

void CBonus::Update() {
    const float dt = CTimer::Get()->m_fElapsed;
    m_fYPos += FALL_SPEED * dt;
    m_Rect.y = static_cast<int>(m_fYPos);
    if (m_fYPos > BOTTOM_LINE) {
        m_fAge = WORN_OUT_AGE;
    } else {
        m_fAge += dt;
    }
}

void CBonus::Render() {
    m_pSprite->SetPos(m_fXPos, m_fYPos);
    m_pSprite->Render(static_cast<float>(m_iType));
}
