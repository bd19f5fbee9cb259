#pragma once
// A play field built by hand: the framework under the dummy drivers, flat-coloured sheets painted
// by the test (frame k in FrameColor(k)), two fresh horses, a witch without bitmaps, game in play.

#include <gtest/gtest.h>

#include "game/CGame.h"
#include "playfield/CWitchey.h"

SDL_Color FrameColor(int iFrame);
bool SameColor(SDL_Color a, SDL_Color b);
void SetFrameTime(float fSeconds);

class PlayField : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // An apple at (x, y): a bare record with the given answer, or a real one with a drawn task.
    CApple& AddApple(int x, int y, int iSolution, bool bReal = false);
    void Answer(const char* pDigits);
    CHorse& Horse(int iIndex); // 0 left, 1 right
    static void Hit(CHorse& horse, int iTimes);
    // One play frame in the order of the main loop, without events.
    void PlayFrame(float fSeconds);
    static int Plays(int iSound);

    CGame m_Game;
    CWitchey* m_pWitch = nullptr;
    SDL_Surface* m_pScreen = nullptr;
};
