#pragma once
// A falling apple carrying a multiplication or division task. A plain record kept by value in
// CGame::m_Apples; Init sets it up, Quit frees the task text it owns.

#include <string>

#include <SDL.h>

class CSprite;

class CApple {
public:
    void Init(CSprite* pSprite, float fX, float fY, int iRange, bool bMultiply);
    void InitSolution();
    int InitTxTOffset();
    void Update();
    void Render();
    void Quit();

    CSprite* m_pSprite;
    float m_fXPos;
    float m_fYPos;
    float m_fAnimPhase;
    bool m_bAlive;
    SDL_Rect m_Rect;
    SDL_Rect m_TextRect;
    SDL_Surface* m_pTextSurface;
    SDL_Color m_TextColor;
    std::string m_strTask;
    int m_iSolution;
    int m_iTextOffsetX;
    int m_iTextOffsetY;
    int m_iRange;
    bool m_bMultiply;
};
