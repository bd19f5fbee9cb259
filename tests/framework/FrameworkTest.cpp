#include <cstdio>
#include <cstdlib>
#include <string>

#include <SDL.h>
#include <gtest/gtest.h>

#include "framework/CFramework.h"
#include "media/CMyFont.h"
#include "media/CMySound.h"
#include "support/TestRuntime.h"

namespace {
bool SameRect(const SDL_Rect& a, const SDL_Rect& b) {
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}
} // namespace

TEST(StartButton, MapsLogicalButtonOntoCommonDesktops) {
    EXPECT_TRUE(SameRect(ComputeStartButtonRect(800, 600, 1920, 1080), SDL_Rect{1247, 939, 288, 87}));
    EXPECT_TRUE(SameRect(ComputeStartButtonRect(800, 600, 1280, 1024), SDL_Rect{913, 890, 273, 82}));
    EXPECT_TRUE(SameRect(ComputeStartButtonRect(800, 600, 800, 600), SDL_Rect{560, 522, 160, 48}));
}

TEST(StartButton, HitTestIsStrictOnEveryEdge) {
    const SDL_Rect button{560, 522, 160, 48};
    EXPECT_TRUE(IsStrictlyInside(button, 561, 523));
    EXPECT_TRUE(IsStrictlyInside(button, 719, 569));
    EXPECT_FALSE(IsStrictlyInside(button, 560, 540));
    EXPECT_FALSE(IsStrictlyInside(button, 720, 540));
    EXPECT_FALSE(IsStrictlyInside(button, 600, 522));
    EXPECT_FALSE(IsStrictlyInside(button, 600, 570));
}

TEST(StartButton, UnreadableDesktopLeavesNoButton) {
    // Without SDL's video set up the desktop mode cannot be read.
    CFramework framework;
    framework.m_StartButtonRect = SDL_Rect{1, 2, 3, 4};
    testing::internal::CaptureStderr();
    framework.InitWindowSizeParams(800, 600);
    const std::string strOut = testing::internal::GetCapturedStderr();
    EXPECT_EQ(strOut.rfind("Fenstergröße konnte nicht ermittelt werden!\nFehler: ", 0), 0u) << strOut;
    EXPECT_TRUE(SameRect(framework.m_DesktopRect, SDL_Rect{0, 0, 0, 0}));
    EXPECT_TRUE(SameRect(framework.m_StartButtonRect, SDL_Rect{0, 0, 0, 0}));
    for (int x = -1; x <= 1; ++x) {
        EXPECT_FALSE(IsStrictlyInside(framework.m_StartButtonRect, x, 0));
    }
}

class FrameworkSetUp : public testing::Test {
protected:
    void TearDown() override { StopFramework(); }
};

TEST_F(FrameworkSetUp, BuildsScreenSoundFontsAndButtonThenStopsAtCursors) {
    // The dummy video driver cannot make colour cursors: everything before them is ready, and
    // the arrow cursor's failure is reported.
    testing::internal::CaptureStderr();
    const bool bInit = CFramework::Get()->Init("Zentaris", 800, 600, 32, true);
    const std::string strOut = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(bInit);
    EXPECT_NE(strOut.find("Mouse Zeiger \"Pfeil\" konnte nicht erstellt werden!\nFehler: "),
              std::string::npos)
        << strOut;

    CFramework* pFramework = CFramework::Get();
    ASSERT_NE(pFramework->m_pScreen, nullptr);
    EXPECT_EQ(pFramework->m_pScreen->w, 800);
    EXPECT_EQ(pFramework->m_pScreen->h, 600);
    EXPECT_EQ(pFramework->m_pScreen->format->format, SDL_PIXELFORMAT_ARGB8888);
    EXPECT_NE(pFramework->m_pWindow, nullptr);
    EXPECT_NE(pFramework->m_pRenderer, nullptr);
    EXPECT_NE(pFramework->m_pKeystate, nullptr);
    EXPECT_TRUE(CMyFont::Get()->m_bLoaded);

    const SDL_Rect& desk = pFramework->m_DesktopRect;
    EXPECT_GT(desk.w, 0);
    EXPECT_TRUE(SameRect(pFramework->m_StartButtonRect,
                         ComputeStartButtonRect(800, 600, desk.w, desk.h)));
    EXPECT_NE(pFramework->m_pCursorStdBitmap, nullptr);
    EXPECT_NE(pFramework->m_pCursorHandBitmap, nullptr);
}

TEST_F(FrameworkSetUp, ClearThenFlipShowsABlackFrame) {
    ASSERT_TRUE(StartFramework());
    CFramework* pFramework = CFramework::Get();
    SDL_Surface* pScreen = pFramework->m_pScreen;
    SDL_FillRect(pScreen, nullptr, SDL_MapRGB(pScreen->format, 200, 100, 50));
    pFramework->Clear();
    pFramework->Flip();
    const SDL_Rect all{0, 0, 800, 600};
    EXPECT_EQ(CountPixels(pScreen, all,
                          [](SDL_Color c) { return c.r != 0 || c.g != 0 || c.b != 0; }),
              0);

    // What the renderer presented, at the window's own size.
    int iOutW = 0;
    int iOutH = 0;
    ASSERT_EQ(SDL_GetRendererOutputSize(pFramework->m_pRenderer, &iOutW, &iOutH), 0);
    SDL_Surface* pShown =
        SDL_CreateRGBSurfaceWithFormat(0, iOutW, iOutH, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_RenderSetViewport(pFramework->m_pRenderer, nullptr);
    const SDL_Rect output{0, 0, iOutW, iOutH};
    ASSERT_EQ(SDL_RenderReadPixels(pFramework->m_pRenderer, &output, SDL_PIXELFORMAT_ARGB8888,
                                   pShown->pixels, pShown->pitch),
              0);
    EXPECT_EQ(CountPixels(pShown, output,
                          [](SDL_Color c) { return c.r != 0 || c.g != 0 || c.b != 0; }),
              0);
    SDL_FreeSurface(pShown);
}

TEST_F(FrameworkSetUp, QuitTwiceIsHarmless) {
    ASSERT_TRUE(StartFramework());
    CFramework::Get()->Quit();
    EXPECT_EQ(CFramework::Get()->m_pScreen, nullptr);
    EXPECT_EQ(CFramework::Get()->m_pCursorStdBitmap, nullptr);
    CFramework::Get()->Quit();
}

TEST_F(FrameworkSetUp, KeyStateFollowsPumpedEvents) {
    ASSERT_TRUE(StartFramework());
    EXPECT_FALSE(CFramework::Get()->KeyDown(SDL_SCANCODE_SPACE));
    CFramework::Get()->Update();
    EXPECT_FALSE(CFramework::Get()->KeyDown(SDL_SCANCODE_SPACE));
}

TEST(FrameworkFailure, MissingArrowBitmapIsReportedAndFails) {
    const std::string strDir = EnterFreshRuntimeDir(true);
    std::remove("ImgData/cur_std.bmp");
    testing::internal::CaptureStderr();
    const bool bInit = CFramework::Get()->Init("Zentaris", 800, 600, 32, true);
    const std::string strOut = testing::internal::GetCapturedStderr();
    StopFramework();
    EXPECT_FALSE(bInit);
    EXPECT_NE(strOut.find("Mouse Zeiger Bitmap \"Pfeil\" konnte nicht geladen werden!\nFehler: "),
              std::string::npos)
        << strOut;
    RemoveTree(strDir);
}

TEST(FrameworkFailure, MissingHandBitmapStillLoadsTheArrow) {
    const std::string strDir = EnterFreshRuntimeDir(true);
    std::remove("ImgData/cur_hand.bmp");
    testing::internal::CaptureStderr();
    const bool bInit = CFramework::Get()->Init("Zentaris", 800, 600, 32, true);
    const std::string strOut = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(bInit);
    EXPECT_NE(strOut.find("Mouse Zeiger Bitmap \"Hand\" konnte nicht geladen werden!\nFehler: "),
              std::string::npos)
        << strOut;
    EXPECT_NE(CFramework::Get()->m_pCursorStdBitmap, nullptr);
    StopFramework();
    RemoveTree(strDir);
}

TEST(FrameworkFailure, MissingFontEndsTheProgram) {
    EXPECT_EXIT(
        {
            EnterFreshRuntimeDir(true);
            std::remove("fonts/FreeSans.ttf");
            CFramework::Get()->Init("Zentaris", 800, 600, 32, true);
        },
        testing::ExitedWithCode(1), "Konnte Schriftart nicht laden!\nFehler: ");
}

TEST(FrameworkFailure, NoAudioDeviceFailsTheSetUp) {
    EXPECT_EXIT(
        {
            unsetenv("SDL_AUDIODRIVER"); // no sound card here: the device cannot open
            const bool bInit = CFramework::Get()->Init("Zentaris", 800, 600, 32, true);
            CFramework::Get()->Quit();
            std::exit(bInit ? 0 : 1);
        },
        testing::ExitedWithCode(1), "Konnte SDL_mixer nicht starten! Fehler: ");
}
