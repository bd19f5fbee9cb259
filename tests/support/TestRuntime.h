#pragma once
// Test helpers: a private runtime directory per test process, the framework under SDL's dummy
// drivers, and pixel read-back from a surface.

#include <string>

#include <SDL.h>

// Creates a fresh temporary runtime directory with ImgData/, Sound/ and fonts/ (links to the
// built assets) and an empty score/, makes it the working directory and returns its path.
std::string EnterFreshRuntimeDir();

// Removes a directory tree (used for the runtime directories made above).
void RemoveTree(const std::string& strPath);

// Sets up the framework as the game does. Under the dummy video driver colour cursors cannot be
// made, so Init itself reports false; this returns true when the screen surface, the sound
// player and both fonts are ready, which is all an in-process test needs.
bool StartFramework();
void StopFramework();

// Colour of one pixel of a 32-bit surface.
SDL_Color PixelColor(SDL_Surface* pSurface, int x, int y);

// Counts pixels of the rectangle whose colour satisfies the predicate.
template <class Pred> int CountPixels(SDL_Surface* pSurface, const SDL_Rect& rect, Pred pred) {
    int iCount = 0;
    for (int y = rect.y; y < rect.y + rect.h; ++y) {
        for (int x = rect.x; x < rect.x + rect.w; ++x) {
            if (pred(PixelColor(pSurface, x, y))) {
                ++iCount;
            }
        }
    }
    return iCount;
}
