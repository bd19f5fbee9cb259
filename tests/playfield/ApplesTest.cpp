#include <algorithm>
#include <cstdio>
#include <string>

#include "PlayField.h"
#include "framework/CFramework.h"
#include "media/CMyFont.h"
#include "support/TestRuntime.h"

namespace {
// Reads "L op R" and insists that nothing else is in the text.
bool ParseTask(const std::string& strText, char cOp, int& iLeft, int& iRight) {
    char cSeen = 0;
    int iUsed = 0;
    return std::sscanf(strText.c_str(), "%d %c %d%n", &iLeft, &cSeen, &iRight, &iUsed) == 3 &&
           cSeen == cOp && iUsed == static_cast<int>(strText.size());
}

bool IsBlack(SDL_Color c) {
    return c.r == 0 && c.g == 0 && c.b == 0;
}
} // namespace

TEST(TaskDraw, FactorsCoverTheRangeAndDivisionsAskForTheFactorNotShown) {
    for (int iRange : {10, 20, 99}) {
        for (bool bMultiply : {true, false}) {
            int iLow = 1000;
            int iHigh = 0;
            for (unsigned int uSeed = 0; uSeed < 3000; ++uSeed) {
                CApple apple{};
                apple.m_iRange = iRange;
                apple.m_bMultiply = bMultiply;
                std::srand(uSeed);
                apple.InitSolution();
                int l = 0;
                int r = 0;
                ASSERT_TRUE(ParseTask(apple.m_strTask, bMultiply ? 'x' : ':', l, r));
                ASSERT_EQ(bMultiply ? l * r : l,
                          bMultiply ? apple.m_iSolution : r * apple.m_iSolution);
                const int iOther = bMultiply ? l : apple.m_iSolution;
                iLow = std::min({iLow, r, iOther});
                iHigh = std::max({iHigh, r, iOther});
            }
            EXPECT_EQ(iLow, 1);
            EXPECT_EQ(iHigh, iRange);
        }
    }
}

TEST(TaskDraw, DivisionShowsEitherFactorAndItsLongestTextFits) {
    EXPECT_EQ(ComposeTask(6, 9, false, 4).strText, "54 : 6");
    EXPECT_EQ(ComposeTask(6, 9, false, 4).iSolution, 9);
    EXPECT_EQ(ComposeTask(6, 9, false, 7).strText, "54 : 9");
    EXPECT_EQ(ComposeTask(6, 9, false, 7).iSolution, 6);
    EXPECT_EQ(ComposeTask(99, 99, false, 0).strText, "9801 : 99");
}

TEST_F(PlayField, RangeOtherThanTenTwentyOrNinetyNineDrawsFromTheTenTimesTable) {
    int iHigh = 0;
    for (unsigned int uSeed = 0; uSeed < 300; ++uSeed) {
        std::srand(uSeed);
        CApple apple;
        apple.Init(m_Game.m_pAppleSprite, 0.0f, 0.0f, 50, true);
        apple.Quit();
        int l = 0;
        int r = 0;
        ASSERT_TRUE(ParseTask(apple.m_strTask, 'x', l, r));
        iHigh = std::max({iHigh, l, r});
    }
    EXPECT_EQ(iHigh, 10);
}

TEST_F(PlayField, AppleFallsAndAnimatesTwentyASecondWrappingOncePerFrame) {
    CApple& apple = AddApple(100, 0, 0, true);
    SetFrameTime(0.5f);
    apple.Update();
    EXPECT_EQ(apple.m_Rect.y, 10);
    EXPECT_FLOAT_EQ(apple.m_fAnimPhase, 10.0f);
    SetFrameTime(0.625f);
    apple.Update();
    EXPECT_EQ(apple.m_Rect.y, 22);
    EXPECT_FLOAT_EQ(apple.m_fAnimPhase, 2.5f);
    SetFrameTime(2.5f); // a stalled frame leaves the phase past the last frame for a while
    apple.Update();
    EXPECT_FLOAT_EQ(apple.m_fAnimPhase, 32.5f);
    SetFrameTime(0.125f);
    apple.Update();
    EXPECT_FLOAT_EQ(apple.m_fAnimPhase, 15.0f);
    EXPECT_EQ(apple.m_Rect.x, 100);
}

TEST_F(PlayField, ApplePassDrawsBeforeMovingAndErasesFallenApplesUndrawn) {
    AddApple(10, 100, 0, true);
    AddApple(100, 100, 0, true).m_bAlive = false;
    AddApple(300, 580, 0, true);
    SetFrameTime(0.5f);
    m_Game.RenderApples();
    ASSERT_EQ(m_Game.m_Apples.size(), 2u);
    EXPECT_TRUE(SameColor(PixelColor(m_pScreen, 12, 102), FrameColor(0)));
    EXPECT_TRUE(m_Game.m_Apples.back().m_bAlive) << "590 itself is still in play";
    m_Game.RenderApples();
    EXPECT_FALSE(m_Game.m_Apples.back().m_bAlive);
    EXPECT_FLOAT_EQ(m_Game.m_Apples.front().m_fYPos, 120.0f);
    CFramework::Get()->Clear();
    m_Game.RenderApples();
    EXPECT_EQ(m_Game.m_Apples.size(), 1u);
    EXPECT_EQ(CountPixels(m_pScreen, SDL_Rect{300, 590, 64, 10}, IsBlack), 640);
}

TEST_F(PlayField, FirstAppleComesAtOnceInARunAndAfterOneIntervalInAResetGame) {
    m_Game.m_fSpawnTimer = 10.5f;
    SetFrameTime(0.016f);
    m_Game.SpawnApples();
    EXPECT_EQ(m_Game.m_Apples.size(), 1u);
    EXPECT_EQ(m_Game.m_fSpawnTimer, 0.0f);
    SetFrameTime(0.5f);
    for (int i = 0; i < 6; ++i) {
        m_Game.SpawnApples();
    }
    EXPECT_EQ(m_Game.m_Apples.size(), 1u);
    m_Game.SpawnApples();
    EXPECT_EQ(m_Game.m_Apples.size(), 2u);
}

TEST_F(PlayField, NewApplesStartAboveTheFieldWithTheCurrentRangeAndMode) {
    m_Game.m_iRange = 99;
    m_Game.m_bMultiply = false;
    for (int i = 0; i < 300; ++i) {
        m_Game.m_fSpawnTimer = 4.0f;
        m_Game.SpawnApples();
    }
    ASSERT_EQ(m_Game.m_Apples.size(), 300u);
    for (const CApple& apple : m_Game.m_Apples) {
        EXPECT_TRUE(apple.m_Rect.x >= 0 && apple.m_Rect.x <= 735 && apple.m_Rect.y == -60);
        EXPECT_EQ(apple.m_fXPos, static_cast<float>(apple.m_Rect.x));
        EXPECT_EQ(apple.m_iRange, 99);
        EXPECT_NE(apple.m_strTask.find(" : "), std::string::npos) << apple.m_strTask;
    }
}

TEST_F(PlayField, TaskTextIsCentredInTheApple) {
    const auto isInk = [](SDL_Color c) { return c.r > 200 && c.g > 200 && c.b > 200; };
    CApple& apple = AddApple(300, 200, 0, true);
    apple.Render();
    const int iInk = CountPixels(m_pScreen, SDL_Rect{300, 200, 64, 64}, isInk);
    ASSERT_GT(iInk, 0);
    EXPECT_EQ(CountPixels(m_pScreen, SDL_Rect{0, 0, 800, 600}, isInk), iInk);
    EXPECT_NEAR(CountPixels(m_pScreen, SDL_Rect{300, 200, 32, 64}, isInk),
                CountPixels(m_pScreen, SDL_Rect{332, 200, 32, 64}, isInk), iInk / 3)
        << apple.m_strTask;
}

TEST_F(PlayField, FontFailuresWhileSettingUpAnAppleEndTheProgram) {
    EXPECT_EXIT((CMyFont::Get()->m_bLoaded = false, AddApple(0, 0, 0, true)),
                testing::ExitedWithCode(1), "^$");
    EXPECT_EXIT((CMyFont::Get()->m_pFontSmall = nullptr, AddApple(0, 0, 0, true)),
                testing::ExitedWithCode(1), "^Text Rendern gescheitert!\nFehler: ");
}

TEST_F(PlayField, FailedTextBlitIsReportedEveryFrameAndTheAppleStays) {
    AddApple(100, 100, 12);
    testing::internal::CaptureStderr();
    m_Game.RenderApples();
    m_Game.RenderApples();
    const std::string strErr = testing::internal::GetCapturedStderr();
    const std::string strText = "Text in den Bildschirm blitten schlug fehl!";
    EXPECT_NE(strErr.find(strText, strErr.find(strText) + 1), std::string::npos) << strErr;
    EXPECT_EQ(m_Game.m_Apples.size(), 1u);
}
