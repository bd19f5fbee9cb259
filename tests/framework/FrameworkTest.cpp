// The framework: the start button's hit area and the frame timer. (Its set-up and the screen are
// used by every suite that draws.)

#include <chrono>

#include "framework/CMyError.h"
#include "support/TestRuntime.h"

static std::string Text(const SDL_Rect& r) {
    return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.w) + "x" +
           std::to_string(r.h);
}

TEST(StartButton, FollowsTheScaledStartPageOnEveryDesktopAndIsStrictOnItsEdges) {
    const std::pair<SDL_Point, const char*> cases[] = {{{1920, 1080}, "1247,939 288x87"},
                                                       {{1280, 1024}, "913,890 273x82"},
                                                       {{800, 600}, "560,522 160x48"}};
    for (const auto& [desk, pExpected] : cases)
        EXPECT_EQ(Text(ComputeStartButtonRect(800, 600, desk.x, desk.y)), pExpected);
    const SDL_Rect button{560, 522, 160, 48};
    for (const auto& p : {SDL_Point{561, 523}, {719, 569}})
        EXPECT_TRUE(IsStrictlyInside(button, p.x, p.y)) << p.x << "," << p.y;
    for (const auto& p : {SDL_Point{560, 540}, {720, 540}, {600, 522}, {600, 570}})
        EXPECT_FALSE(IsStrictlyInside(button, p.x, p.y)) << p.x << "," << p.y;
}

TEST(FrameTimer, MeasuresTheRealTimeBetweenTwoUpdatesWithoutClamping) {
    using Clock = std::chrono::steady_clock;
    using Seconds = std::chrono::duration<float>;
    ASSERT_EQ(SDL_Init(SDL_INIT_TIMER), 0);
    CTimer* pTimer = CTimer::Get();
    const Clock::time_point outerStart = Clock::now();
    pTimer->Update();
    const Clock::time_point innerStart = Clock::now();
    SDL_Delay(150);
    const Seconds inner = Clock::now() - innerStart;
    pTimer->Update();
    const Seconds outer = Clock::now() - outerStart;
    // The timer counts whole milliseconds: it may lose or gain one at each end.
    EXPECT_GE(pTimer->m_fElapsed, inner.count() - 0.002f);
    EXPECT_LE(pTimer->m_fElapsed, outer.count() + 0.002f);
    // A frame that took two seconds (an error box was open) counts as two seconds.
    pTimer->m_fLastTime = pTimer->m_fCurTime - 2.0f;
    pTimer->Update();
    EXPECT_GE(pTimer->m_fElapsed, 2.0f);
    TSingleton<CTimer>::Del();
    SDL_Quit();
}
