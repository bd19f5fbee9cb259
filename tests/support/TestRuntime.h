#pragma once
// Test helpers: a private runtime directory per test process, the framework under SDL's dummy
// drivers, the frame time, the mixer's channels, and pixels read back from a surface. Includes
// what every suite uses: GoogleTest, SDL and the framework and media headers.

#include <vector>

#include <gtest/gtest.h>

#include "framework/CFramework.h"
#include "framework/CTimer.h"
#include "media/CMyFont.h"
#include "media/CMySound.h"
#include "media/CSprite.h"
#include "support/RuntimeDir.h"

// Sets up the framework as the game does. Under the dummy video driver colour cursors cannot be
// made, so Init itself reports false; this returns true when the screen surface, the sound
// player and both fonts are ready, which is all an in-process test needs.
bool StartFramework();
void StopFramework();

// Sets the frame time that every rule of play reads.
inline void Tick(float fSeconds) {
    CTimer::Get()->m_fElapsed = fSeconds;
}

// Mixer channels playing the chunk right now.
inline int Sounding(const Mix_Chunk* pChunk) {
    int iCount = 0;
    for (int i = 0; i < Mix_AllocateChannels(-1); ++i)
        iCount += Mix_Playing(i) && Mix_GetChunk(i) == pChunk ? 1 : 0;
    return iCount;
}

// Colour of one pixel of a 24- or 32-bit surface; black with alpha 0 outside it.
SDL_Color PixelColor(SDL_Surface* pSurface, int x, int y);

inline bool SameColor(SDL_Color a, SDL_Color b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

// A flat colour for frame k of a repainted sheet: never the key, black or white.
inline SDL_Color Shade(int k) {
    return SDL_Color{Uint8(37 * k), 90, Uint8(255 - 37 * k), 255};
}

// Fills a rectangle of a picture (all of it for null) with the colour, keyed picture or not.
void FillPicture(SDL_Surface* pSurface, const SDL_Rect* pRect, SDL_Color c);

// Repaints frame k of the sprite in Shade(k); a sprite without frames becomes Shade(0) all over,
// a translucent one wherever its pieces lie.
void Repaint(CSprite* pSprite);

// The k whose Shade(k) covers the four corners of the rectangle and none of the four pixels
// diagonally outside them: the frame drawn exactly there; -1 when there is none.
int ShadeAt(SDL_Surface* pSurface, const SDL_Rect& rect);

// A black 800 x 600 surface in the screen's format, to draw what a test expects into.
inline SDL_Surface* NewScreen() {
    return SDL_CreateRGBSurfaceWithFormat(0, 800, 600, 32, SDL_PIXELFORMAT_ARGB8888);
}

// Blits white bold text onto the surface at (x, y), as the game renders its texts.
void DrawText(SDL_Surface* pSurface, TTF_Font* pFont, const std::string& strText, int x, int y);

// Counts pixels of the rectangle whose colour satisfies the predicate.
template <class Pred> int CountPixels(SDL_Surface* pSurface, const SDL_Rect& rect, Pred pred) {
    int iCount = 0;
    for (int y = rect.y; y < rect.y + rect.h; ++y)
        for (int x = rect.x; x < rect.x + rect.w; ++x)
            iCount += pred(PixelColor(pSurface, x, y)) ? 1 : 0;
    return iCount;
}

// Pixels of the rectangle whose colours differ between two surfaces.
inline int DiffPixels(SDL_Surface* pA, SDL_Surface* pB, const SDL_Rect& rect) {
    int iCount = 0;
    for (int y = rect.y; y < rect.y + rect.h; ++y)
        for (int x = rect.x; x < rect.x + rect.w; ++x)
            iCount += SameColor(PixelColor(pA, x, y), PixelColor(pB, x, y)) ? 0 : 1;
    return iCount;
}
