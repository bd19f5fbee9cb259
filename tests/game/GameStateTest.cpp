#include <string>

#include <SDL.h>
#include <gtest/gtest.h>

#include "GameFixture.h"
#include "framework/CFramework.h"
#include "media/CMySound.h"
#include "playfield/CWitchey.h"

namespace {
using GameSetUp = GameTest;
using GameReset = GameTest;
using GameStates = GameTest;
using HelpPage = GameTest;

// An apple in play at a known place; its task text is a small blank surface the apple owns.
CApple RestingApple(CSprite* pSprite, float fX, float fY) {
    CApple apple{};
    apple.m_pTextSurface = SDL_CreateRGBSurface(0, 8, 8, 32, 0x00FF0000, 0x0000FF00, 0x000000FF,
                                                0xFF000000);
    apple.m_pSprite = pSprite;
    apple.m_fXPos = fX;
    apple.m_fYPos = fY;
    apple.m_bAlive = true;
    apple.m_Rect = SDL_Rect{static_cast<int>(fX), static_cast<int>(fY), 64, 64};
    apple.m_iSolution = 12;
    apple.m_iRange = 10;
    apple.m_bMultiply = true;
    return apple;
}

CBonus RestingBadge(CSprite* pSprite, float fX, float fY) {
    CBonus badge{};
    badge.m_pSprite = pSprite;
    badge.m_fXPos = fX;
    badge.m_fYPos = fY;
    badge.m_iType = 2;
    badge.m_fAge = 0.25f;
    badge.m_Rect = SDL_Rect{static_cast<int>(fX), static_cast<int>(fY), 64, 64};
    return badge;
}
} // namespace

TEST_F(GameSetUp, StartsOnTheStartPageReadyToRun) {
    EXPECT_EQ(m_Game.m_iState, STATE_START);
    EXPECT_TRUE(m_Game.m_bRunning);
    EXPECT_FALSE(m_Game.m_bHelp);
    EXPECT_EQ(m_Game.m_iRange, 10);
    EXPECT_TRUE(m_Game.m_bMultiply);
    EXPECT_EQ(m_Game.m_iScore, 0);
    EXPECT_TRUE(m_Game.m_strPlayerName.empty());
    EXPECT_TRUE(m_Game.m_strAnswer.empty());
    // The first play frame renders the score and the first start-page frame builds the table.
    EXPECT_TRUE(m_Game.m_bScoreChanged);
    EXPECT_TRUE(m_Game.m_bHighScoreChanged);
    EXPECT_FALSE(m_Game.m_bScoreStored);
    EXPECT_TRUE(m_Game.m_Apples.empty());
}

TEST_F(GameSetUp, FirstGameOfTheRunIsDueAnAppleAtOnce) {
    EXPECT_FLOAT_EQ(m_Game.m_fSpawnInterval, 3.5f);
    EXPECT_FLOAT_EQ(m_Game.m_fSpawnTimer, 10.5f);
    EXPECT_GE(m_Game.m_fSpawnTimer, m_Game.m_fSpawnInterval);
    EXPECT_FLOAT_EQ(m_Game.m_fAccelTimer, 0.0f);

    m_Game.StartGame();
    m_Game.RunFrame();
    EXPECT_EQ(m_Game.m_Apples.size(), 1u);
}

TEST_F(GameSetUp, TwoHorsesLeftFirstEachOnItsOwnSheet) {
    ASSERT_EQ(m_Game.m_Horses.size(), 2u);
    EXPECT_EQ(m_Game.m_Horses.front().m_pSprite, m_Game.m_pHorseLeftSprite);
    EXPECT_EQ(m_Game.m_Horses.front().m_iSide, 1);
    EXPECT_EQ(m_Game.m_Horses.back().m_pSprite, m_Game.m_pHorseRightSprite);
    EXPECT_EQ(m_Game.m_Horses.back().m_iSide, 2);
    for (const CHorse& horse : m_Game.m_Horses) {
        EXPECT_EQ(horse.m_iHits, 0);
    }
}

TEST_F(GameSetUp, RunPlaysTheMusicTakesTextAndEndsWithEscape) {
    SDL_StopTextInput();
    DrainEvents();
    PushKey(SDL_SCANCODE_ESCAPE);
    m_Game.Run();
    EXPECT_FALSE(m_Game.m_bRunning);
    EXPECT_EQ(CMySound::Get()->PlayCount(SOUND_MUSIC), 1);
    EXPECT_TRUE(SDL_IsTextInputActive());
}

TEST_F(GameSetUp, QuitReleasesEverythingItMade) {
    m_Game.m_iState = STATE_PLAY;
    m_Game.RunFrame();
    m_Game.m_iState = STATE_START;
    m_Game.m_bPlayerNameChanged = true;
    m_Game.m_strPlayerName = "Tim";
    m_Game.RenderPlayerName();
    m_Game.Quit();
    EXPECT_EQ(m_Game.m_pWitch, nullptr);
    EXPECT_EQ(m_Game.m_pAppleSprite, nullptr);
    EXPECT_EQ(m_Game.m_pHelpScreenBack, nullptr);
    EXPECT_EQ(m_Game.m_pScoreText, nullptr);
    EXPECT_EQ(m_Game.m_pPlayerNameText, nullptr);
    EXPECT_EQ(m_Game.m_pHighScoreText, nullptr);
}

TEST_F(GameReset, ModeZeroPreparesTheStartPageForANewPlayer) {
    m_Game.StartGame();
    m_Game.m_iState = STATE_GAMEOVER;
    m_Game.m_strPlayerName = "Anna";
    m_Game.m_strAnswer = "12";
    m_Game.m_iScore = 2500;
    m_Game.m_fSpawnInterval = 0.5f;
    m_Game.m_fAccelTimer = 42.0f;
    m_Game.m_bScoreChanged = false;
    m_Game.m_bHighScoreChanged = false;
    m_Game.m_bScoreStored = true;
    m_Game.m_bHelp = true;
    m_Game.m_iRange = 99;
    m_Game.m_bMultiply = false;
    m_Game.m_Apples.push_back(RestingApple(m_Game.m_pAppleSprite, 10.0f, 20.0f));
    m_Game.m_Bonuses.push_back(RestingBadge(m_Game.m_pBonusSprite, 30.0f, 40.0f));
    m_Game.m_Horses.front().m_iHits = 3;
    m_Game.m_Horses.back().m_iHits = 2;

    m_Game.ResetGame(0);

    EXPECT_TRUE(m_Game.m_strPlayerName.empty());
    EXPECT_TRUE(m_Game.m_bPlayerNameChanged);
    EXPECT_TRUE(SDL_IsTextInputActive());
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    EXPECT_EQ(m_Game.m_iScore, 0);
    EXPECT_FLOAT_EQ(m_Game.m_fSpawnInterval, 3.5f);
    EXPECT_FLOAT_EQ(m_Game.m_fAccelTimer, 0.0f);
    EXPECT_FLOAT_EQ(m_Game.m_fSpawnTimer, 0.0f);
    EXPECT_TRUE(m_Game.m_bScoreChanged);
    EXPECT_TRUE(m_Game.m_bHighScoreChanged);
    EXPECT_FALSE(m_Game.m_bScoreStored);
    EXPECT_TRUE(m_Game.m_Apples.empty());
    EXPECT_TRUE(m_Game.m_Bonuses.empty());
    for (const CHorse& horse : m_Game.m_Horses) {
        EXPECT_EQ(horse.m_iHits, 0);
    }
    // The callers set the state; the rest is left alone.
    EXPECT_EQ(m_Game.m_iState, STATE_GAMEOVER);
    EXPECT_TRUE(m_Game.m_bHelp);
    EXPECT_EQ(m_Game.m_iRange, 99);
    EXPECT_FALSE(m_Game.m_bMultiply);
    EXPECT_EQ(m_Game.m_strAnswer, "12");
}

TEST_F(GameReset, ModeOneKeepsThePlayerAndStartsTheNextGameAnIntervalLate) {
    m_Game.StartGame();
    m_Game.m_strPlayerName = "Tom";
    m_Game.m_iScore = 1200;
    m_Game.m_bPlayerNameChanged = false;
    m_Game.m_bScoreStored = true;
    m_Game.m_Apples.push_back(RestingApple(m_Game.m_pAppleSprite, 10.0f, 20.0f));

    m_Game.ResetGame(1);

    EXPECT_EQ(m_Game.m_strPlayerName, "Tom");
    EXPECT_FALSE(m_Game.m_bPlayerNameChanged);
    EXPECT_FALSE(SDL_IsTextInputActive());
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    EXPECT_EQ(m_Game.m_iScore, 0);
    EXPECT_FALSE(m_Game.m_bScoreStored);
    EXPECT_TRUE(m_Game.m_Apples.empty());
    EXPECT_LT(m_Game.m_fSpawnTimer, m_Game.m_fSpawnInterval);
}

TEST_F(GameStates, AnyOtherStateValueShowsTheGameOverPage) {
    m_Game.m_iState = 7;
    m_Game.RunFrame();
    SDL_Surface* pShown = CopyScreen();
    m_Game.m_iState = STATE_GAMEOVER;
    m_Game.RunFrame();
    EXPECT_EQ(DifferenceBox(pShown, CFramework::Get()->m_pScreen).w, 0);
    SDL_FreeSurface(pShown);
}

TEST_F(GameStates, NameChangedFlagLastsOneFrame) {
    DrainEvents();
    PushText("Ole");
    m_Game.RunFrame();
    EXPECT_TRUE(m_Game.m_bPlayerNameChanged);
    m_Game.RunFrame();
    EXPECT_FALSE(m_Game.m_bPlayerNameChanged);
}

TEST_F(HelpPage, FreezesTheActorsWhilePlayGoesOnDrawingTheScore) {
    m_Game.StartGame();
    m_Game.m_bHelp = true;
    m_Game.m_Apples.push_back(RestingApple(m_Game.m_pAppleSprite, 100.0f, 200.0f));
    m_Game.m_Bonuses.push_back(RestingBadge(m_Game.m_pBonusSprite, 300.0f, 150.0f));
    const float fSpawnTimer = m_Game.m_fSpawnTimer;
    for (int i = 0; i < 5; ++i) {
        m_Game.RunFrame();
    }
    ASSERT_EQ(m_Game.m_Apples.size(), 1u);
    EXPECT_FLOAT_EQ(m_Game.m_Apples.front().m_fYPos, 200.0f);
    EXPECT_FLOAT_EQ(m_Game.m_Apples.front().m_fAnimPhase, 0.0f);
    ASSERT_EQ(m_Game.m_Bonuses.size(), 1u);
    EXPECT_FLOAT_EQ(m_Game.m_Bonuses.front().m_fAge, 0.25f);
    EXPECT_FLOAT_EQ(m_Game.m_fSpawnTimer, fSpawnTimer);
    EXPECT_FLOAT_EQ(m_Game.m_fAccelTimer, 0.0f);
    // Lives and score are still drawn.
    EXPECT_FALSE(m_Game.m_bScoreChanged);
    EXPECT_NE(m_Game.m_pScoreText, nullptr);

    // Closed again, play resumes: the due apple appears.
    Press(SDL_SCANCODE_F1);
    m_Game.RunFrame();
    EXPECT_EQ(m_Game.m_Apples.size(), 2u);
}

TEST_F(HelpPage, WitchKeepsHerOwnTimeUnderTheHelpPage) {
    m_Game.StartGame();
    m_Game.m_bHelp = true;
    m_Game.m_pWitch->m_fFrame = 2.0f;
    m_Game.m_pWitch->m_fTimer = 5.0f; // a strike long over
    m_Game.RunFrame();
    EXPECT_NE(m_Game.m_pWitch->m_fFrame, 2.0f);
}
