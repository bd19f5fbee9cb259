#include <SDL.h>
#include <gtest/gtest.h>

#include "framework/CTimer.h"

class FrameTimer : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(SDL_Init(SDL_INIT_TIMER), 0); }
    void TearDown() override {
        TSingleton<CTimer>::Del();
        SDL_Quit();
    }
};

TEST_F(FrameTimer, StartsWithNoElapsedTime) {
    CTimer* pTimer = CTimer::Get();
    EXPECT_EQ(pTimer->m_fElapsed, 0.0f);
    EXPECT_EQ(pTimer->m_fCurTime, 0.0f);
}

TEST_F(FrameTimer, UpdateMeasuresFromThePreviousUpdate) {
    CTimer* pTimer = CTimer::Get();
    pTimer->Update();
    const float fFirst = pTimer->m_fCurTime;
    EXPECT_EQ(pTimer->m_fLastTime, fFirst);
    EXPECT_GE(pTimer->m_fElapsed, 0.0f);

    pTimer->Update();
    EXPECT_GE(pTimer->m_fCurTime, fFirst);
    EXPECT_EQ(pTimer->m_fElapsed, pTimer->m_fCurTime - fFirst);
}

TEST_F(FrameTimer, LongFramesAreNotClamped) {
    // A frame that took two seconds (an error box was open) counts as two seconds.
    CTimer* pTimer = CTimer::Get();
    pTimer->Update();
    pTimer->m_fLastTime -= 2.0f;
    pTimer->Update();
    EXPECT_GE(pTimer->m_fElapsed, 2.0f);
}

TEST_F(FrameTimer, DeletedTimerStartsAfresh) {
    CTimer::Get()->m_fElapsed = 5.0f;
    TSingleton<CTimer>::Del();
    EXPECT_EQ(CTimer::Get()->m_fElapsed, 0.0f);
}
