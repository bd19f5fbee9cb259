#pragma once
// A falling apple carrying a multiplication or division task. A plain record kept by value in
// CGame::m_Apples; Init sets it up, Quit frees the task text it owns.

#include <string>

#include <SDL.h>

class CSprite;

// A task as shown on an apple and the number that solves it.
struct STask {
    std::string strText;
    int iSolution;
};

// The task for the factors a and b. A multiplication shows "a x b". A division shows the product
// and one factor: a when iPick is even, b when it is odd; its answer is the factor not shown.
STask ComposeTask(int a, int b, bool bMultiply, int iPick);

// The largest factor an apple uses: 10, 20 or 99 as asked, anything else falls back to 10.
int TaskRange(int iRange);

// Reseeds the process-wide generator with the wall clock plus uSpread times the generator's next
// value modulo 65365, in 32-bit unsigned arithmetic.
void ReseedFromClock(unsigned int uSpread);

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
