#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <SDL.h>
#include <gtest/gtest.h>

#include "framework/CCommandLine.h"
#include "framework/CFramework.h"
#include "framework/CMyError.h"
#include "framework/CTimer.h"
#include "media/CMyFont.h"
#include "support/TestRuntime.h"

namespace {
bool SameRect(const SDL_Rect& a, const SDL_Rect& b) {
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}
auto NotBlack = [](SDL_Color c) { return c.r != 0 || c.g != 0 || c.b != 0; };
} // namespace

TEST(StartButton, FollowsTheScaledStartPageOnEveryDesktop) {
    const struct {
        int iDeskW, iDeskH;
        SDL_Rect expected;
    } cases[] = {{1920, 1080, {1247, 939, 288, 87}}, {800, 600, {560, 522, 160, 48}}};
    for (const auto& c : cases) {
        EXPECT_TRUE(SameRect(ComputeStartButtonRect(800, 600, c.iDeskW, c.iDeskH), c.expected))
            << c.iDeskW << " x " << c.iDeskH;
    }
    // Strict on every edge.
    const SDL_Rect button{560, 522, 160, 48};
    EXPECT_TRUE(IsStrictlyInside(button, 561, 523) && IsStrictlyInside(button, 719, 569));
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
    EXPECT_TRUE(SameRect(framework.m_DesktopRect, SDL_Rect{0, 0, 0, 0}));
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

TEST(FrameTimer, MeasuresFromThePreviousUpdateWithoutClamping) {
    ASSERT_EQ(SDL_Init(SDL_INIT_TIMER), 0);
    CTimer* pTimer = CTimer::Get();
    EXPECT_EQ(pTimer->m_fElapsed, 0.0f);
    pTimer->Update();
    EXPECT_EQ(pTimer->m_fLastTime, pTimer->m_fCurTime);
    // A frame that took two seconds (an error box was open) counts as two seconds.
    const float fBefore = pTimer->m_fCurTime - 2.0f;
    pTimer->m_fLastTime = fBefore;
    pTimer->Update();
    EXPECT_EQ(pTimer->m_fElapsed, pTimer->m_fCurTime - fBefore);
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
    ASSERT_NE(pFramework->m_pScreen, nullptr);
    EXPECT_EQ(pFramework->m_pScreen->format->format, SDL_PIXELFORMAT_ARGB8888);
    EXPECT_EQ(pFramework->m_pScreen->w * 1000 + pFramework->m_pScreen->h, 800600);
    EXPECT_TRUE(CMyFont::Get()->m_bLoaded);
    const SDL_Rect& desk = pFramework->m_DesktopRect;
    EXPECT_TRUE(
        SameRect(pFramework->m_StartButtonRect, ComputeStartButtonRect(800, 600, desk.w, desk.h)));

    SDL_Surface* pScreen = pFramework->m_pScreen;
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

static std::string RectText(const SDL_Rect& r) {
    return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.w) + "x" +
           std::to_string(r.h);
}

TEST(StartButton, HitAreaIsTheDrawnButtonOnEveryDesktopShape) {
    // The drawn button, logical (560, 522) to (720, 570), mapped through the letterbox: scale
    // min(W / 800, H / 600), image centred both ways.
    const struct {
        int iDeskW, iDeskH;
        SDL_Rect expected;
    } cases[] = {// Scale 1.6, image 1280 x 960 from y 32: x 896..1152, y 867.2..944.
                 {1280, 1024, {896, 867, 256, 77}},
                 // Scale 1.28: x 716.8..921.6, y 668.16..729.6.
                 {1024, 768, {716, 668, 205, 61}},
                 // Scale 2, image 1600 wide from x 160: x 1280..1600, y 1044..1140.
                 {1920, 1200, {1280, 1044, 320, 96}},
                 // Scale 1.8 from x 560: x 1568..1856, y 939.6..1026. In single precision the
                 // image is 1439.9999 wide, so the left edge truncates to 1567 (1247 on 1920).
                 {2560, 1080, {1567, 939, 288, 87}},
                 {1920, 1080, {1247, 939, 288, 87}},
                 {800, 600, {560, 522, 160, 48}}};
    for (const auto& c : cases) {
        EXPECT_EQ(RectText(ComputeStartButtonRect(800, 600, c.iDeskW, c.iDeskH)),
                  RectText(c.expected))
            << c.iDeskW << " x " << c.iDeskH;
    }
}

TEST(Framework, WindowShowsTheImageAtItsOwnSizeWithTheButtonWhereItIsDrawn) {
    testing::internal::CaptureStderr(); // the dummy driver makes no cursors
    CFramework::Get()->Init("Zentaris", 800, 600, 32, false);
    testing::internal::GetCapturedStderr();
    CFramework* pFramework = CFramework::Get();
    ASSERT_NE(pFramework->m_pWindow, nullptr);
    int iW = 0, iH = 0;
    SDL_GetWindowSize(pFramework->m_pWindow, &iW, &iH);
    EXPECT_EQ(std::to_string(iW) + " x " + std::to_string(iH), "800 x 600");
    EXPECT_EQ(SDL_GetWindowFlags(pFramework->m_pWindow) & SDL_WINDOW_FULLSCREEN, 0u);
    // The dummy desktop is larger than the window: its rectangle would lie elsewhere.
    EXPECT_EQ(RectText(pFramework->m_StartButtonRect), "560,522 160x48");
    StopFramework();
}

// The command line as run: program name first.
static CCommandLine Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "zentaris");
    return ParseCommandLine(static_cast<int>(args.size()), args.data());
}

TEST(CommandLine, OptionsChooseTheRunAndAnythingElseIsAMisuse) {
    const char* const runs[] = {"game", "help", "version", "misuse"};
    const std::pair<std::vector<const char*>, std::string> cases[] = {
        {{}, "game"},
        {{"-w"}, "game window"},
        {{"--window", "-w"}, "game window"},
        {{"-h"}, "help"},
        {{"--window", "--help"}, "help"},
        {{"--version"}, "version"},
        {{"--version", "-h"}, "help"},
        {{"--help", "-x"}, "misuse"},
        {{"stray"}, "misuse"},
        {{"-w", ""}, "misuse"},
    };
    for (const auto& [args, strExpected] : cases) {
        const CCommandLine commandLine = Parse(args);
        const bool bWindow = commandLine.m_bWindow && commandLine.m_iRun == RUN_GAME;
        EXPECT_EQ(runs[commandLine.m_iRun] + std::string(bWindow ? " window" : ""), strExpected)
            << testing::PrintToString(args);
    }
    for (const char* pArg : {"--windows", "-window", "-wh", "-v", "-", "--", "--Help", "-W"}) {
        EXPECT_EQ(Parse({pArg}).m_iRun, RUN_MISUSE) << pArg;
    }
}

static std::string ReadBack(std::FILE* pFile) {
    std::string strText;
    std::rewind(pFile);
    for (int c = std::fgetc(pFile); c != EOF; c = std::fgetc(pFile)) {
        strText += static_cast<char>(c);
    }
    std::fclose(pFile);
    return strText;
}

TEST(CommandLine, HelpAndVersionGoToStandardOutputAndAMisuseToStandardError) {
    const std::string strUsage = UsageText();
    for (const char* pOption : {"-w, --window", "-h, --help", "    --version"}) {
        EXPECT_NE(strUsage.find(pOption), std::string::npos) << pOption << " is not listed";
    }
    const struct {
        int iRun, iStatus;
        std::string strOut, strErr;
    } cases[] = {{RUN_HELP, 0, strUsage, ""},
                 {RUN_VERSION, 0, "zentaris " ZENTARIS_TEST_VERSION "\n", ""},
                 {RUN_MISUSE, 2, "", strUsage}};
    for (const auto& c : cases) {
        std::FILE* pOut = std::tmpfile();
        std::FILE* pErr = std::tmpfile();
        EXPECT_EQ(AnswerCommandLine(CCommandLine{c.iRun, false}, pOut, pErr), c.iStatus) << c.iRun;
        EXPECT_EQ(ReadBack(pOut), c.strOut) << c.iRun;
        EXPECT_EQ(ReadBack(pErr), c.strErr) << c.iRun;
    }
}
