// The framework: the start button's hit area, the window, the command line and the frame timer.
// (Its full-screen set-up and the screen are used by every suite that draws.)

#include <chrono>
#include <vector>

#include "framework/CCommandLine.h"
#include "framework/CMyError.h"
#include "support/TestRuntime.h"

static std::string Text(const SDL_Rect& r) {
    return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.w) + "x" +
           std::to_string(r.h);
}

TEST(StartButton, HitAreaIsTheDrawnButtonOnEveryDesktopShapeAndStrictOnItsEdges) {
    // The drawn button, logical (560, 522) to (720, 570), mapped through the letterbox: scale
    // min(W / 800, H / 600), image centred both ways.
    const std::pair<SDL_Point, const char*> cases[] = {
        // Scale 1.6, image 1280 x 960 from y 32: x 896..1152, y 867.2..944.
        {{1280, 1024}, "896,867 256x77"},
        // Scale 1.28: x 716.8..921.6, y 668.16..729.6.
        {{1024, 768}, "716,668 205x61"},
        // Scale 2, image 1600 wide from x 160: x 1280..1600, y 1044..1140.
        {{1920, 1200}, "1280,1044 320x96"},
        // Scale 1.8: in single precision the image is 1439.9999 wide, so the left edge
        // truncates one pixel short of 1568 (and of 1248 on 1920 x 1080).
        {{2560, 1080}, "1567,939 288x87"},
        {{1920, 1080}, "1247,939 288x87"},
        {{800, 600}, "560,522 160x48"}};
    for (const auto& [desk, pExpected] : cases)
        EXPECT_EQ(Text(ComputeStartButtonRect(800, 600, desk.x, desk.y)), pExpected)
            << desk.x << " x " << desk.y;
    const SDL_Rect button{560, 522, 160, 48};
    for (const auto& p : {SDL_Point{561, 523}, {719, 569}})
        EXPECT_TRUE(IsStrictlyInside(button, p.x, p.y)) << p.x << "," << p.y;
    for (const auto& p : {SDL_Point{560, 540}, {720, 540}, {600, 522}, {600, 570}})
        EXPECT_FALSE(IsStrictlyInside(button, p.x, p.y)) << p.x << "," << p.y;
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
    EXPECT_EQ(Text(pFramework->m_StartButtonRect), "560,522 160x48");
    StopFramework();
}

TEST(CommandLine, OptionsChooseTheRunAndAnythingElseIsAMisuse) {
    const char* const runs[] = {"game",   "help", "version", "misuse",
                                "report", "html", "csv",     "forget"};
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
        {{"--windows"}, "misuse"},
        {{"-wh"}, "misuse"},
        {{"--"}, "misuse"},
        {{"--report", "Ida", "-w"}, "report"},
        {{"--report-html", "a.html", "--version"}, "version"},
        {{"--report-csv", "a.csv", "Ida"}, "misuse"},
        {{"--report", "--forget", "Ida"}, "misuse"},
        {{"--forget", "-w"}, "misuse"},
        {{"--forget", "Ida"}, "forget"}};
    for (auto [args, strExpected] : cases) {
        args.insert(args.begin(), "zentaris");
        const CCommandLine line = ParseCommandLine(static_cast<int>(args.size()), args.data());
        const bool bWindow = line.m_bWindow && line.m_iRun == RUN_GAME;
        EXPECT_EQ(runs[line.m_iRun] + std::string(bWindow ? " window" : ""), strExpected)
            << testing::PrintToString(args);
    }
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
