#pragma once
// A short-lived badge falling from where an apple left the field: frames 0 to 4 show
// 100 to 500 points, frame 5 marks an apple that hit a horse.

#include <SDL.h>

class CSprite;

class CBonus {
public:
    void Init(CSprite* pSprite, int iType, float fX, float fY);
    void Update();
    void Render();

    CSprite* m_pSprite;
    float m_fXPos;
    float m_fYPos;
    int m_iType;
    float m_fAge;
    SDL_Rect m_Rect;
};
