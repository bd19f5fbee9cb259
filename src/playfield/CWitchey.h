#pragma once
// The witch in the middle of the scene: blinks on a drifting rhythm and, when apples are
// solved, strikes them with lightning drawn straight into the screen surface.

#include <list>

#include <SDL.h>

class CSprite;

class CWitchey {
public:
    CWitchey();

    void Init();
    void Quit();
    void Update();
    void Render();
    void FireFlash(std::list<SDL_Rect> targets);

    // One-pixel Bresenham line; pixels outside the 32-bit surface are skipped.
    static void Line(float fX1, float fY1, float fX2, float fY2, SDL_Surface* pSurface, int r,
                     int g, int b);

    CSprite* m_pWitchSprite;
    CSprite* m_pFlashSprite;
    float m_fFrame;
    std::list<SDL_Rect> m_Targets;
    float m_fTimer;
};
