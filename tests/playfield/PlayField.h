#pragma once
// A play field built by hand under the dummy drivers: sheets painted by the test (frame k in
// Shade(k)), two fresh horses, a witch on painted sheets, and the game in play.

#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/CFramework.h"
#include "framework/CTimer.h"
#include "game/CGame.h"
#include "media/CMySound.h"
#include "media/CSprite.h"
#include "playfield/CWitchey.h"
#include "scorestore/CDBConnection.h"
#include "support/TestRuntime.h"

// Distinct for every frame of a 20-frame sheet, never the key, never white text.
inline SDL_Color Shade(int k) {
    return SDL_Color{static_cast<Uint8>(10 + 37 * k), 90, static_cast<Uint8>(250 - 37 * k), 255};
}
inline bool Same(SDL_Color a, SDL_Color b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
inline void Tick(float fSeconds) { CTimer::Get()->m_fElapsed = fSeconds; }

inline CSprite* Sheet(const std::string& strName, int iFrames, int w, int h) {
    SDL_Surface* pSheet =
        SDL_CreateRGBSurface(0, (iFrames > 0 ? iFrames : 1) * w, h, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    for (int k = 0; k * w < pSheet->w; ++k) {
        const SDL_Rect frame{k * w, 0, w, h};
        SDL_FillRect(pSheet, &frame, SDL_MapRGB(pSheet->format, Shade(k).r, Shade(k).g, Shade(k).b));
    }
    SDL_SaveBMP(pSheet, (strName + ".bmp").c_str());
    SDL_FreeSurface(pSheet);
    CSprite* pSprite = new CSprite;
    pSprite->Load(strName + ".bmp", iFrames, w, h);
    pSprite->SetColorKey(255, 0, 255);
    return pSprite;
}

class PlayField : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(StartFramework());
        m_pScreen = CFramework::Get()->m_pScreen;
        m_Game.m_pAppleSprite = Sheet("apple", 20, 64, 64);
        m_Game.m_pBonusSprite = Sheet("bonus", 6, 64, 64);
        m_Game.m_pHorseLeftSprite = Sheet("left", 4, 270, 211);
        m_Game.m_pHorseRightSprite = Sheet("right", 4, 270, 211);
        for (CSprite* pSprite : {m_Game.m_pHorseLeftSprite, m_Game.m_pHorseRightSprite}) {
            m_Game.m_Horses.emplace_back();
            m_Game.m_Horses.back().Init(pSprite, 0, m_Game.m_Horses.size() == 1 ? 1 : 2);
        }
        m_Witch.m_pWitchSprite = Sheet("witch", 3, 204, 320);
        m_Witch.m_pFlashSprite = Sheet("flash", 0, 32, 32);
        m_Witch.m_pFlashSprite->SetAlpha(146);
        m_Game.m_pWitch = &m_Witch;
        m_Game.m_iState = STATE_PLAY;
        m_Game.m_fSpawnInterval = 3.5f;
        Tick(0.0f);
    }
    void TearDown() override {
        for (CApple& apple : m_Game.m_Apples) {
            apple.Quit();
        }
        m_Witch.Quit();
        for (CSprite* pSprite : {m_Game.m_pAppleSprite, m_Game.m_pBonusSprite,
                                 m_Game.m_pHorseLeftSprite, m_Game.m_pHorseRightSprite}) {
            delete pSprite;
        }
        TSingleton<CDBConnection>::Del();
        StopFramework();
    }

    // A bare apple record (no task text) at (x, y) answered by iSolution.
    CApple& Apple(int x, int y, int iSolution) {
        CApple apple{};
        apple.m_pSprite = m_Game.m_pAppleSprite;
        apple.m_fXPos = static_cast<float>(x);
        apple.m_fYPos = static_cast<float>(y);
        apple.m_Rect = SDL_Rect{x, y, 64, 64};
        apple.m_bAlive = true;
        apple.m_iSolution = iSolution;
        m_Game.m_Apples.push_back(apple);
        return m_Game.m_Apples.back();
    }
    CApple& RealApple(float fX, float fY, int iRange, bool bMultiply) {
        m_Game.m_Apples.emplace_back();
        m_Game.m_Apples.back().Init(m_Game.m_pAppleSprite, fX, fY, iRange, bMultiply);
        return m_Game.m_Apples.back();
    }
    std::vector<int> Solutions() const {
        std::vector<int> solutions;
        for (const CApple& apple : m_Game.m_Apples) {
            solutions.push_back(apple.m_iSolution);
        }
        return solutions;
    }
    std::vector<int> TargetXs() const {
        std::vector<int> xs;
        for (const SDL_Rect& rect : m_Witch.m_Targets) {
            xs.push_back(rect.x);
        }
        return xs;
    }
    void Answer(const char* pDigits) {
        m_Game.m_strAnswer = pDigits;
        m_Game.CheckSolution();
    }
    CHorse& Horse(int iIndex) { return *std::next(m_Game.m_Horses.begin(), iIndex); } // 0 left
    void Hit(int iIndex, int iTimes) {
        for (int i = 0; i < iTimes; ++i) {
            Horse(iIndex).Update(true);
        }
    }
    // One play frame in the order of the main loop, without events.
    void PlayFrame(float fSeconds) {
        Tick(fSeconds);
        m_Game.RenderHorses();
        m_Game.SpawnApples();
        m_Game.CheckCollisions();
        m_Game.RenderApples();
        m_Game.RenderBonus();
        m_Game.Accelerate();
    }
    static int Plays(int iSound) { return CMySound::Get()->PlayCount(iSound); }

    CGame m_Game;
    CWitchey m_Witch;
    SDL_Surface* m_pScreen = nullptr;
};
