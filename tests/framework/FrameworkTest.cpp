#include <chrono>
#include <cstring>
#include <string>

#include <SDL.h>
#include <gtest/gtest.h>

#include "framework/CFramework.h"
#include "framework/CMyError.h"
#include "framework/CTimer.h"
#include "media/CMyFont.h"
#include "support/TestRuntime.h"

namespace {
std::string Text(const SDL_Rect& r) {
    return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.w) + "x" +
           std::to_string(r.h);
}
auto NotBlack = [](SDL_Color c) { return c.r != 0 || c.g != 0 || c.b != 0; };
} // namespace

TEST(StartButton, FollowsTheScaledStartPageOnEveryDesktop) {
    const struct {
        int iDeskW, iDeskH;
        const char* pExpected;
    } cases[] = {{1920, 1080, "1247,939 288x87"},
                 {1280, 1024, "913,890 273x82"},
                 {800, 600, "560,522 160x48"}};
    for (const auto& c : cases) {
        EXPECT_EQ(Text(ComputeStartButtonRect(800, 600, c.iDeskW, c.iDeskH)), c.pExpected);
    }
    // Strict on every edge.
    const SDL_Rect button{560, 522, 160, 48};
    for (const auto& p : {SDL_Point{561, 523}, {719, 569}}) {
        EXPECT_TRUE(IsStrictlyInside(button, p.x, p.y)) << p.x << "," << p.y;
    }
    for (const auto& p : {SDL_Point{560, 540}, {720, 540}, {600, 522}, {600, 570}}) {
        EXPECT_FALSE(IsStrictlyInside(button, p.x, p.y)) << p.x << "," << p.y;
    }
}

TEST(StartButton, UnreadableDesktopIsReportedAndLeavesNoButton) {
    CFramework framework; // SDL's video is not set up, so the desktop cannot be read
    framework.m_StartButtonRect = SDL_Rect{1, 2, 3, 4};
    testing::internal::CaptureStderr();
    framework.InitWindowSizeParams(800, 600);
    const std::string strOut = testing::internal::GetCapturedStderr();
    EXPECT_EQ(strOut.rfind("Fenstergröße konnte nicht ermittelt werden!\nFehler: ", 0), 0u)
        << strOut;
    EXPECT_EQ(Text(framework.m_DesktopRect), "0,0 0x0");
    EXPECT_FALSE(IsStrictlyInside(framework.m_StartButtonRect, 0, 0));
}

TEST(ErrorReport, WritesTwoLinesCutTo1023Bytes) {
    testing::internal::CaptureStderr();
    CMyError::PrintError("Fenster konnte nicht erzeugt werden!", "no display", true);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Fenster konnte nicht erzeugt werden!\nFehler: no display\n");

    const std::string strLong(3000, 'x');
    char szBuffer[CMyError::BUFFER_SIZE + 16];
    std::memset(szBuffer, '#', sizeof(szBuffer));
    CMyError::FormatReport(szBuffer, CMyError::BUFFER_SIZE, strLong.c_str(), "detail");
    EXPECT_EQ(std::strlen(szBuffer), CMyError::BUFFER_SIZE - 1);
    EXPECT_EQ(std::string(szBuffer + CMyError::BUFFER_SIZE, 16), std::string(16, '#'));
}

TEST(FrameTimer, MeasuresTheRealTimeBetweenTwoUpdatesWithoutClamping) {
    using Clock = std::chrono::steady_clock;
    ASSERT_EQ(SDL_Init(SDL_INIT_TIMER), 0);
    CTimer* pTimer = CTimer::Get();
    const Clock::time_point outerStart = Clock::now();
    pTimer->Update();
    const Clock::time_point innerStart = Clock::now();
    SDL_Delay(150);
    const std::chrono::duration<float> inner = Clock::now() - innerStart;
    pTimer->Update();
    const std::chrono::duration<float> outer = Clock::now() - outerStart;
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

TEST(Framework, SetsUpEverythingBeforeTheCursorsAndShowsABlackFrame) {
    // The dummy video driver cannot make colour cursors: all before them is ready.
    testing::internal::CaptureStderr();
    EXPECT_FALSE(CFramework::Get()->Init("Zentaris", 800, 600, 32, true));
    EXPECT_NE(testing::internal::GetCapturedStderr().find(
                  "Mouse Zeiger \"Pfeil\" konnte nicht erstellt werden!\nFehler: "),
              std::string::npos);
    CFramework* pFramework = CFramework::Get();
    SDL_Surface* pScreen = pFramework->m_pScreen;
    ASSERT_NE(pScreen, nullptr);
    EXPECT_EQ(pScreen->format->format, SDL_PIXELFORMAT_ARGB8888);
    EXPECT_EQ(Text(SDL_Rect{0, 0, pScreen->w, pScreen->h}), "0,0 800x600");
    EXPECT_TRUE(CMyFont::Get()->m_bLoaded);
    const SDL_Rect& desk = pFramework->m_DesktopRect;
    EXPECT_EQ(Text(pFramework->m_StartButtonRect),
              Text(ComputeStartButtonRect(800, 600, desk.w, desk.h)));

    SDL_FillRect(pScreen, nullptr, SDL_MapRGB(pScreen->format, 200, 100, 50));
    pFramework->Clear();
    pFramework->Flip();
    EXPECT_EQ(CountPixels(pScreen, SDL_Rect{0, 0, 800, 600}, NotBlack), 0);
    // What the renderer presented, at the window's own size.
    int iW = 0, iH = 0;
    ASSERT_EQ(SDL_GetRendererOutputSize(pFramework->m_pRenderer, &iW, &iH), 0);
    SDL_Surface* pShown = SDL_CreateRGBSurfaceWithFormat(0, iW, iH, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_RenderSetViewport(pFramework->m_pRenderer, nullptr);
    const SDL_Rect output{0, 0, iW, iH};
    ASSERT_EQ(SDL_RenderReadPixels(pFramework->m_pRenderer, &output, SDL_PIXELFORMAT_ARGB8888,
                                   pShown->pixels, pShown->pitch),
              0);
    EXPECT_EQ(CountPixels(pShown, output, NotBlack), 0);
    SDL_FreeSurface(pShown);

    pFramework->Quit();
    EXPECT_EQ(pFramework->m_pScreen, nullptr);
    StopFramework(); // a second Quit is harmless
}
