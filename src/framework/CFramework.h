#pragma once
// Owner of the window, renderer, the 800 x 600 software screen surface every part draws on,
// the streaming texture that shows it, and the two mouse cursors.

#include <SDL.h>

#include "framework/TSingleton.h"

// The start button covers logical x 560..720, y 522..570 of the start page. Converts it to window
// pixels of a full-screen desktop of deskW x deskH on which the logical image is scaled to the
// full height and centred horizontally.
SDL_Rect ComputeStartButtonRect(int width, int height, int deskW, int deskH);

// Strict hit test: a point on the border is outside.
bool IsStrictlyInside(const SDL_Rect& rect, int x, int y);

class CFramework : public TSingleton<CFramework> {
public:
    CFramework();

    bool Init(const char* title, int width, int height, int bpp, bool bFullscreen);
    void InitWindowSizeParams(int width, int height);
    int InitCursor();
    void Quit();
    void Update();
    bool KeyDown(int scancode);
    void Clear();
    void Flip();

    SDL_Surface* m_pScreen;
    SDL_Surface* m_pCursorHandBitmap;
    SDL_Surface* m_pCursorStdBitmap;
    SDL_Texture* m_pScreenTexture;
    SDL_Renderer* m_pRenderer;
    SDL_Window* m_pWindow;
    const Uint8* m_pKeystate;
    SDL_Rect m_DesktopRect;
    SDL_Rect m_StartButtonRect;
    SDL_Cursor* m_pCursorStd;
    SDL_Cursor* m_pCursorHand;

private:
    bool FailSetUp(const char* text);
};
