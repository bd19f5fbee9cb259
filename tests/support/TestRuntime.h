#pragma once
// Test helpers: the framework under SDL's dummy drivers, the frame time, the sounds playing, and
// the picture a test expects, drawn from the game's picture files and with a font of its own.

#include <string>

#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include "AssetGeometry.h"
#include "framework/CFramework.h"
#include "framework/CTimer.h"
#include "media/CMySound.h"
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
int Sounding(const Mix_Chunk* pChunk);

// The colour of a pixel of a 32-bit ARGB surface, as the screen and Blank() are, as 0xRRGGBB.
int Rgb(SDL_Surface* pSurface, int x, int y);

// An 800 x 600 black picture to draw what a test expects into.
SDL_Surface* Blank();

// Draws frame iFrame of a picture of the manifest (the whole picture for -1) from its file with
// its top-left corner at (x, y), keyed as the manifest says and blended by alpha.
void Put(SDL_Surface* pTarget, const SAssetGeometry& picture, int iFrame, int x, int y,
         Uint8 alpha = 255);

// Writes the text white at (x, y) in FreeSans, bold, at the size given, with a font of its own.
void Write(SDL_Surface* pTarget, const std::string& strText, int iSize, int x, int y);

// The width and height of the text as Write writes it.
SDL_Point TextSize(const std::string& strText, int iSize);

// Pixels of the screen that differ from the expected picture, which is freed.
int Differ(SDL_Surface* pScreen, SDL_Surface* pExpected);
