#include <vector>

#include "PlayField.h"
#include "media/CMySound.h"
#include "support/TestRuntime.h"

namespace {
std::vector<int> TargetXs(const CWitchey* pWitch) {
    std::vector<int> xs;
    for (const SDL_Rect& rect : pWitch->m_Targets) {
        xs.push_back(rect.x);
    }
    return xs;
}
} // namespace

TEST_F(PlayField, OneAnswerSolvesEveryAppleWithItAndTheWitchStrikesThem) {
    const int iSuccess = Plays(SOUND_SUCCESS);
    const int iFail = Plays(SOUND_FAIL);
    AddApple(100, 50, 12);
    AddApple(300, 80, 7);
    AddApple(500, 120, 12);
    Answer("12");
    ASSERT_EQ(m_Game.m_Apples.size(), 1u);
    EXPECT_EQ(m_Game.m_Apples.front().m_iSolution, 7);
    ASSERT_EQ(m_Game.m_Bonuses.size(), 2u);
    int iPoints = 0;
    for (const CBonus& badge : m_Game.m_Bonuses) {
        EXPECT_TRUE(badge.m_iType >= 0 && badge.m_iType <= 4);
        iPoints += (badge.m_iType + 1) * 100;
    }
    EXPECT_EQ(m_Game.m_iScore, iPoints);
    EXPECT_TRUE(m_Game.m_Bonuses.back().m_Rect.x == 500 && m_Game.m_Bonuses.back().m_Rect.y == 120);
    EXPECT_TRUE(m_Game.m_bScoreChanged);
    EXPECT_EQ(Plays(SOUND_SUCCESS), iSuccess + 2);
    EXPECT_EQ(Plays(SOUND_FAIL), iFail);
    EXPECT_EQ(m_pWitch->m_fFrame, 2.0f);
    EXPECT_EQ(TargetXs(m_pWitch), (std::vector<int>{100, 500}));
    EXPECT_TRUE(m_Game.m_strAnswer.empty());
}

TEST_F(PlayField, AnswerIsReadAsADecimalNumberNarrowedToInt) {
    const int iFail = Plays(SOUND_FAIL);
    AddApple(0, 0, 7);
    AddApple(0, 0, 8);
    AddApple(0, 0, 9);
    AddApple(0, 0, -1);
    Answer(""); // judged as 0
    Answer("007");
    Answer("4294967304"); // 2^32 + 8
    Answer("99999999999999999999999");
    Answer("4294967295"); // -1: an apple without a task is never solved
    ASSERT_EQ(m_Game.m_Apples.size(), 2u);
    EXPECT_EQ(m_Game.m_Apples.front().m_iSolution, 9);
    EXPECT_EQ(Plays(SOUND_FAIL), iFail + 3);
}

TEST_F(PlayField, SecondAnswerRestartsTheStrikeWithOnlyItsApples) {
    AddApple(100, 50, 12);
    AddApple(300, 80, 7);
    Answer("12");
    SetFrameTime(0.4f);
    m_pWitch->Update();
    Answer("5"); // a miss leaves the strike alone
    EXPECT_FLOAT_EQ(m_pWitch->m_fTimer, 0.4f);
    Answer("7");
    EXPECT_EQ(m_pWitch->m_fTimer, 0.0f);
    EXPECT_EQ(TargetXs(m_pWitch), (std::vector<int>{300}));
    SetFrameTime(0.5f);
    m_pWitch->Update();
    EXPECT_EQ(m_pWitch->m_fFrame, 2.0f);
}

TEST_F(PlayField, AppleThatFellOutEarnsNothing) {
    const int iSuccess = Plays(SOUND_SUCCESS);
    const int iFail = Plays(SOUND_FAIL);
    AddApple(100, 591, 5).m_bAlive = false;
    AddApple(200, 595, 7).m_bAlive = false;
    AddApple(300, 200, 7);
    Answer("7");
    EXPECT_TRUE(m_Game.m_Apples.empty());
    ASSERT_EQ(m_Game.m_Bonuses.size(), 1u);
    EXPECT_EQ(m_Game.m_iScore, (m_Game.m_Bonuses.front().m_iType + 1) * 100);
    EXPECT_EQ(TargetXs(m_pWitch), (std::vector<int>{300}));
    AddApple(100, 591, 5).m_bAlive = false;
    m_Game.m_bScoreChanged = false;
    Answer("3");
    EXPECT_TRUE(m_Game.m_Apples.empty());
    EXPECT_EQ(m_Game.m_Bonuses.size(), 1u);
    EXPECT_FALSE(m_Game.m_bScoreChanged);
    EXPECT_EQ(Plays(SOUND_SUCCESS), iSuccess + 1);
    EXPECT_EQ(Plays(SOUND_FAIL), iFail + 1);
}

TEST_F(PlayField, AnswersAreJudgedOnTheStartPageAndTheGameOverScreen) {
    const int iFail = Plays(SOUND_FAIL);
    m_Game.m_iState = STATE_START;
    Answer("42");
    EXPECT_EQ(Plays(SOUND_FAIL), iFail + 1);
    const int iSuccess = Plays(SOUND_SUCCESS);
    m_Game.m_iState = STATE_GAMEOVER;
    AddApple(100, 300, 24);
    Answer("24");
    EXPECT_EQ(Plays(SOUND_SUCCESS), iSuccess + 1);
    EXPECT_GT(m_Game.m_iScore, 0);
    EXPECT_EQ(m_Game.m_iState, STATE_GAMEOVER);
}

TEST_F(PlayField, BadgeFallsForAboutASecondOrUntilItPasses590) {
    CBonus badge;
    badge.Init(m_Game.m_pBonusSprite, 3, 100.0f, 100.0f);
    m_Game.m_Bonuses.push_back(badge);
    badge.Init(m_Game.m_pBonusSprite, 5, 300.0f, 589.0f);
    m_Game.m_Bonuses.push_back(badge);
    SetFrameTime(0.5f);
    m_Game.RenderBonus();
    EXPECT_TRUE(SameColor(PixelColor(m_pScreen, 102, 102), FrameColor(3)));
    m_Game.RenderBonus();
    ASSERT_EQ(m_Game.m_Bonuses.size(), 1u);
    EXPECT_EQ(m_Game.m_Bonuses.front().m_Rect.y, 120);
    m_Game.RenderBonus();
    EXPECT_TRUE(m_Game.m_Bonuses.empty());
}
