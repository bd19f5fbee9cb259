#include "PlayField.h"

#include <iterator>
#include <string>

#include "framework/CFramework.h"
#include "framework/CTimer.h"
#include "media/CMySound.h"
#include "media/CSprite.h"
#include "scorestore/CDBConnection.h"
#include "support/TestRuntime.h"

namespace {
CSprite* MakeSheet(const std::string& strName, int iFrames, int iWidth, int iHeight) {
    const int iCount = iFrames > 0 ? iFrames : 1;
    SDL_Surface* pSheet =
        SDL_CreateRGBSurface(0, iCount * iWidth, iHeight, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    for (int k = 0; k < iCount; ++k) {
        const SDL_Color c = FrameColor(k);
        SDL_Rect frame{k * iWidth, 0, iWidth, iHeight};
        SDL_FillRect(pSheet, &frame, SDL_MapRGB(pSheet->format, c.r, c.g, c.b));
    }
    SDL_SaveBMP(pSheet, (strName + ".bmp").c_str());
    SDL_FreeSurface(pSheet);
    CSprite* pSprite = new CSprite;
    pSprite->Load(strName + ".bmp", iFrames, iWidth, iHeight);
    pSprite->SetColorKey(255, 0, 255);
    return pSprite;
}
} // namespace

SDL_Color FrameColor(int iFrame) {
    return SDL_Color{static_cast<Uint8>(20 + 10 * iFrame), 90, static_cast<Uint8>(160 - iFrame),
                     255};
}

bool SameColor(SDL_Color a, SDL_Color b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

void SetFrameTime(float fSeconds) {
    CTimer::Get()->m_fElapsed = fSeconds;
}

void PlayField::SetUp() {
    ASSERT_TRUE(StartFramework());
    m_pScreen = CFramework::Get()->m_pScreen;
    m_Game.m_pAppleSprite = MakeSheet("apple", 20, 64, 64);
    m_Game.m_pBonusSprite = MakeSheet("bonus", 6, 64, 64);
    m_Game.m_pHorseLeftSprite = MakeSheet("horse_left", 4, 270, 211);
    m_Game.m_pHorseRightSprite = MakeSheet("horse_right", 4, 270, 211);
    for (int iSide : {1, 2}) {
        CHorse horse{};
        horse.Init(iSide == 1 ? m_Game.m_pHorseLeftSprite : m_Game.m_pHorseRightSprite, 0, iSide);
        m_Game.m_Horses.push_back(horse);
    }
    m_pWitch = new CWitchey;
    m_pWitch->m_pWitchSprite = MakeSheet("witch", 3, 204, 320);
    m_pWitch->m_pFlashSprite = MakeSheet("flash", 0, 32, 32);
    m_pWitch->m_pFlashSprite->SetAlpha(146);
    m_Game.m_pWitch = m_pWitch;
    m_Game.m_iState = STATE_PLAY;
    m_Game.m_fSpawnInterval = 3.5f;
    SetFrameTime(0.0f);
}

void PlayField::TearDown() {
    for (CApple& apple : m_Game.m_Apples) {
        apple.Quit();
    }
    m_Game.m_Apples.clear();
    m_pWitch->Quit();
    delete m_pWitch;
    m_Game.m_pWitch = nullptr;
    for (CSprite** ppSprite : {&m_Game.m_pAppleSprite, &m_Game.m_pBonusSprite,
                               &m_Game.m_pHorseLeftSprite, &m_Game.m_pHorseRightSprite}) {
        delete *ppSprite;
        *ppSprite = nullptr;
    }
    TSingleton<CDBConnection>::Del();
    StopFramework();
}

CApple& PlayField::AddApple(int x, int y, int iSolution, bool bReal) {
    CApple apple{};
    if (bReal) {
        apple.Init(m_Game.m_pAppleSprite, static_cast<float>(x), static_cast<float>(y), 10, true);
    } else {
        apple.m_pSprite = m_Game.m_pAppleSprite;
        apple.m_fXPos = static_cast<float>(x);
        apple.m_fYPos = static_cast<float>(y);
        apple.m_Rect = SDL_Rect{x, y, 64, 64};
        apple.m_bAlive = true;
        apple.m_iSolution = iSolution;
    }
    m_Game.m_Apples.push_back(apple);
    return m_Game.m_Apples.back();
}

void PlayField::Answer(const char* pDigits) {
    m_Game.m_strAnswer = pDigits;
    m_Game.CheckSolution();
}

CHorse& PlayField::Horse(int iIndex) {
    return *std::next(m_Game.m_Horses.begin(), iIndex);
}

void PlayField::Hit(CHorse& horse, int iTimes) {
    for (int i = 0; i < iTimes; ++i) {
        horse.Update(true);
    }
}

void PlayField::PlayFrame(float fSeconds) {
    SetFrameTime(fSeconds);
    m_Game.RenderHorses();
    m_Game.SpawnApples();
    m_Game.CheckCollisions();
    m_Game.RenderApples();
    m_Game.RenderBonus();
    m_Game.Accelerate();
}

int PlayField::Plays(int iSound) {
    return CMySound::Get()->PlayCount(iSound);
}
