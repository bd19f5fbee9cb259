#pragma once
// A whole game set up as main does it, in a runtime directory of the test's own (so its score
// database is private), with helpers that feed events the way SDL delivers them.

#include <string>

#include <SDL.h>
#include <gtest/gtest.h>

#include "game/CGame.h"

class GameTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Empties SDL's queue, so the next event handled is the one a test pushes.
    static void DrainEvents();
    static void PushKey(SDL_Scancode scancode);
    static void PushText(const char* pText);
    // Pushes a text the way SDL splits a long input-method commit: pieces of at most 31 bytes,
    // each ending on a character boundary.
    static void PushCommit(const std::string& strText);
    static void PushMouse(Uint32 type);
    // Puts the pointer at window pixel (x, y), as SDL_GetMouseState then reports it.
    static void MoveMouseTo(int x, int y);

    // Pushes the key and lets the game handle that one event.
    void Press(SDL_Scancode scancode);
    void Type(const char* pText);

    // Copy of the screen surface, to compare frames.
    static SDL_Surface* CopyScreen();

    CGame m_Game;
    std::string m_strDir;
    std::string m_strOldDir;
};

// Bounding box of the pixels in which two surfaces of the same size differ; w is 0 when they are
// equal.
SDL_Rect DifferenceBox(SDL_Surface* pA, SDL_Surface* pB);

// True when every pixel of rect in pSurface equals the pixel of pInner at (x - rect.x, y - rect.y).
bool ShowsSurfaceAt(SDL_Surface* pSurface, SDL_Surface* pInner, const SDL_Rect& rect);

// True when box lies wholly inside area.
bool BoxInside(const SDL_Rect& box, const SDL_Rect& area);
