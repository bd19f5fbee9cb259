#pragma once
// Test helpers: a private runtime directory per test process, the framework under SDL's dummy
// drivers, the frame time, the sounds playing, and what the screen shows, compared with the
// game's picture files and with text rendered by a font of the test's own.

#include <string>

#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include "framework/CFramework.h"
#include "framework/CTimer.h"
#include "media/CMySound.h"

// Creates a fresh temporary runtime directory with ImgData/, Sound/ and fonts/ (links to the
// built assets) and an empty score/, makes it the working directory and returns its path.
std::string EnterFreshRuntimeDir();

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
int Sounding(const Mix_Chunk* pChunk);

// The colour of a pixel as 0xRRGGBB; -1 outside the surface.
int Rgb(SDL_Surface* pSurface, int x, int y);

// A picture of ImgData/ as its file holds it, read once per test process.
SDL_Surface* Picture(const std::string& strName);

// Pixels of the area of the picture, magenta ones left out, that the screen does not show in
// the same colour with the area's top-left corner at (x, y).
int Mismatch(SDL_Surface* pScreen, SDL_Surface* pPicture, const SDL_Rect& area, int x, int y);

// The frame (of frames of w x h in rows) that the screen shows at (x, y), judged by the top iRows
// rows of it (all by default); -1 for none.
int FrameAt(SDL_Surface* pScreen, SDL_Surface* pPicture, int w, int h, int x, int y, int iRows = 0);

// An 800 x 600 black picture to draw what a test expects into; freed by the caller.
SDL_Surface* Blank();

// Draws the picture of ImgData/ whole with its top-left corner at (x, y): magenta left out when
// keyed, blended by alpha.
void Put(SDL_Surface* pTarget, const std::string& strName, int x, int y, bool bKeyed,
         Uint8 alpha = 255);

// Writes the text white at (x, y) in FreeSans, bold, at the size given, opened by the test itself.
void Write(SDL_Surface* pTarget, const std::string& strText, int iSize, int x, int y);

// The width and height of the text as Write writes it.
SDL_Point TextSize(const std::string& strText, int iSize);

// Pixels of the screen that differ from a black screen with just the text written at (x, y).
int TextMismatch(SDL_Surface* pScreen, const std::string& strText, int iSize, int x, int y);

// Pixels of the rectangle that are not black.
int Lit(SDL_Surface* pSurface, const SDL_Rect& rect);
