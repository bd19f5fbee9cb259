#pragma once
// Owner of the window, renderer, the 800 x 600 software screen surface every part draws on,
// the streaming texture that shows it, and the two mouse cursors.

#include <SDL.h>

#include "framework/TSingleton.h"

// Where the 800 x 600 logical image lies in the window, in window pixels: its top-left corner
// and its size.
struct CImagePlacement {
    int m_iX;
    int m_iY;
    float m_fW;
    float m_fH;
};

// The logical image of width x height as the renderer draws it full screen on a desktop of
// deskW x deskH: scaled by min(deskW / width, deskH / height) and centred both ways.
CImagePlacement PlaceOnDesktop(int width, int height, int deskW, int deskH);

// The start button covers logical x 560..720, y 522..570 of the start page (70 % to 90 % of the
// width, 87 % to 95 % of the height); this is that area in window pixels for the image placed so.
SDL_Rect StartButtonRect(const CImagePlacement& image);

// The start button in window pixels on a full-screen desktop of deskW x deskH.
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
