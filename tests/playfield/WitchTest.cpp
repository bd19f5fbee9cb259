#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

#include "PlayField.h"
#include "support/TestRuntime.h"

namespace {
using Pixels = std::vector<std::pair<int, int>>;

// The pixels a white line lights on a w x h surface, row by row.
Pixels DrawLine(int w, int h, float x1, float y1, float x2, float y2) {
    SDL_Surface* pSurface = SDL_CreateRGBSurface(0, w, h, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
    CWitchey::Line(x1, y1, x2, y2, pSurface, 255, 255, 255);
    Pixels lit;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (PixelColor(pSurface, x, y).r != 0) {
                lit.emplace_back(x, y);
            }
        }
    }
    SDL_FreeSurface(pSurface);
    return lit;
}

bool IsYellow(SDL_Color c) {
    return c.r == 255 && c.g == 255 && c.b == 0;
}
bool IsRed(SDL_Color c) {
    return c.r == 255 && c.g == 0 && c.b == 0;
}
bool IsBolt(SDL_Color c) {
    return IsYellow(c) || IsRed(c);
}

// Seconds the witch keeps showing the picture she shows now, in exact quarter-second frames.
float PictureSeconds(CWitchey& witch) {
    const float fPicture = witch.m_fFrame;
    SetFrameTime(0.25f);
    for (int i = 1; i <= 40; ++i) {
        witch.Update();
        if (witch.m_fFrame != fPicture) {
            return 0.25f * static_cast<float>(i);
        }
    }
    return -1.0f;
}

// Run in a test process of its own, whose rhythm is that of a new run; exits with 0 when right.
[[noreturn]] void CheckFirstRhythmAndExit() {
    CWitchey witch;
    witch.m_fFrame = 0.0f;
    witch.m_fTimer = 0.0f;
    const float fFirst = PictureSeconds(witch);
    const float fEyes = PictureSeconds(witch);
    const float fSecond = PictureSeconds(witch); // the first change subtracts 0 or 1
    PictureSeconds(witch);
    const float fThird = PictureSeconds(witch); // the second adds 0 or 1
    const bool bRight = fFirst == 3.5f && fEyes == 0.5f && (fSecond == 2.5f || fSecond == 3.5f) &&
                        (fThird == fSecond || fThird == fSecond + 1.0f);
    // The re-started process made a runtime directory of its own: leave nothing behind.
    const std::string strDir = std::filesystem::current_path().string();
    const char* pParentDir = std::getenv("PLAYFIELD_TEST_PARENT_DIR");
    if (pParentDir != nullptr && strDir != pParentDir && chdir("/") == 0) {
        RemoveTree(strDir);
    }
    std::exit(bRight ? 0 : 2);
}
} // namespace

TEST(WitchLine, FlatLineLeavesItsEndColumnAndAPointDrawsNothing) {
    EXPECT_EQ(DrawLine(16, 16, 0.0f, 0.0f, 5.0f, 0.0f),
              (Pixels{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}}));
    EXPECT_TRUE(DrawLine(16, 16, 5.0f, 5.0f, 5.0f, 5.0f).empty());
}

TEST(WitchLine, SteepLineLightsOnePixelOnEveryRowButTheLast) {
    const Pixels lit = DrawLine(800, 600, 378.0f, 322.0f, 410.0f, 100.0f);
    ASSERT_EQ(lit.size(), 222u);
    EXPECT_EQ(lit.front(), std::make_pair(410, 100));
    for (std::size_t i = 1; i < lit.size(); ++i) {
        const int iStep = lit[i - 1].first - lit[i].first;
        EXPECT_TRUE(lit[i].second == 100 + static_cast<int>(i) && (iStep == 0 || iStep == 1));
    }
    EXPECT_EQ(lit, DrawLine(800, 600, 410.0f, 100.0f, 378.0f, 322.0f));
}

TEST(WitchLine, PixelsOffTheSurfaceAreSkippedOneByOne) {
    Pixels diagonal;
    for (int i = 0; i < 16; ++i) {
        diagonal.emplace_back(i, i);
    }
    EXPECT_EQ(DrawLine(16, 16, -10.0f, -10.0f, 30.0f, 30.0f), diagonal);
    EXPECT_TRUE(DrawLine(16, 16, -5.0f, -3.0f, 40.0f, -3.0f).empty());
}

TEST(WitchLine, RowsFollowTheSurfacePitch) {
    std::vector<Uint32> words(20 * 4, 0); // 13 pixels wide, 20 words from row to row
    SDL_Surface* pSurface =
        SDL_CreateRGBSurfaceFrom(words.data(), 13, 4, 32, 80, 0xFF0000, 0xFF00, 0xFF, 0);
    CWitchey::Line(0.0f, 2.0f, 20.0f, 2.0f, pSurface, 255, 0, 0);
    SDL_FreeSurface(pSurface);
    for (int i = 0; i < 80; ++i) {
        EXPECT_EQ(words[i] != 0, i >= 40 && i < 53) << "word " << i;
    }
}

TEST_F(PlayField, StrikeDrawsSevenYellowAndRedLinesToEachTargetUnderTheFlash) {
    m_pWitch->m_fFrame = 2.0f;
    m_pWitch->m_Targets = {SDL_Rect{100, 100, 64, 64}, SDL_Rect{200, -60, 64, 64}};
    m_pWitch->Render();
    EXPECT_TRUE(SameColor(PixelColor(m_pScreen, 314, 276), FrameColor(2)));
    EXPECT_FALSE(SameColor(PixelColor(m_pScreen, 313, 276), FrameColor(2)));
    int x = 0;
    while (x < 300 && !IsBolt(PixelColor(m_pScreen, x, 200))) {
        ++x;
    }
    for (int i = 0; i < 8; ++i) {
        const SDL_Color c = PixelColor(m_pScreen, x + i, 200);
        EXPECT_TRUE(i == 7 ? !IsBolt(c) : i % 2 == 0 ? IsYellow(c) : IsRed(c)) << "line " << i;
    }
    EXPECT_TRUE(IsYellow(PixelColor(m_pScreen, 132, 132))); // the middle of the first apple
    EXPECT_EQ(CountPixels(m_pScreen, SDL_Rect{0, 0, 132, 600}, IsBolt), 0);
    EXPECT_EQ(CountPixels(m_pScreen, SDL_Rect{0, 0, 800, 1}, IsBolt), 7); // cut at the top edge
    // The flash, alpha 146, covers 364..395 x 308..339 over the casting picture.
    const SDL_Color glow = PixelColor(m_pScreen, 366, 335);
    EXPECT_NEAR(glow.r, (FrameColor(0).r * 146 + FrameColor(2).r * 109) / 255, 2);
    EXPECT_NEAR(glow.b, (FrameColor(0).b * 146 + FrameColor(2).b * 109) / 255, 2);
    EXPECT_TRUE(SameColor(PixelColor(m_pScreen, 396, 335), FrameColor(2)));

    m_pWitch->m_fFrame = 1.0f; // resting: her picture only
    SDL_FillRect(m_pScreen, nullptr, 0);
    m_pWitch->Render();
    EXPECT_EQ(CountPixels(m_pScreen, SDL_Rect{0, 0, 800, 600}, IsBolt), 0);
    EXPECT_TRUE(SameColor(PixelColor(m_pScreen, 366, 335), FrameColor(1)));
}

TEST(WitchRhythm, StrikeEndsWhenTheTimerAsADoubleReachesSevenTenths) {
    CWitchey witch;
    witch.m_fFrame = 2.0f;
    witch.m_fTimer = 0.0f;
    SetFrameTime(0.7f);
    witch.Update();
    EXPECT_EQ(witch.m_fFrame, 2.0f) << "0.7f is 0.699999988 as a double";
    SetFrameTime(0.0001f);
    witch.Update();
    EXPECT_TRUE(witch.m_fFrame == 0.0f || witch.m_fFrame == 1.0f);
    EXPECT_EQ(witch.m_fTimer, 0.0f);
}

TEST(WitchRhythm, NormalPictureDriftsByWholeSecondsAndTheEyesLastHalfASecond) {
    CWitchey witch;
    witch.m_fFrame = 1.0f;
    witch.m_fTimer = 0.25f;
    SetFrameTime(6.0f); // past any normal length: the eyes picture starts again
    witch.Update();
    EXPECT_TRUE(witch.m_fFrame == 1.0f && witch.m_fTimer == 0.0f);
    float fLast = 0.0f;
    float fLastChange = 0.0f;
    for (int i = 0; i < 16; ++i) {
        ASSERT_EQ(PictureSeconds(witch), 0.5f);
        const float fNormal = PictureSeconds(witch);
        EXPECT_TRUE(fNormal == 1.5f || fNormal == 2.5f || fNormal == 3.5f || fNormal == 4.5f ||
                    fNormal == 5.5f)
            << fNormal;
        // Each change is 0 or 1, alternately down and up; leaving 1.5..5.5 starts over at 3.5.
        const float fChange = (i == 0 || (fNormal == 3.5f && std::abs(fNormal - fLast) == 2.0f))
                                  ? 0.0f
                                  : fNormal - fLast;
        EXPECT_TRUE(std::abs(fChange) <= 1.0f && (fChange == 0.0f || fChange != fLastChange));
        fLast = fNormal;
        fLastChange = fChange;
    }
}

TEST(WitchRhythm, FirstRunShowsTheNormalPictureThreeAndAHalfSeconds) {
    const std::string strStyle = GTEST_FLAG_GET(death_test_style);
    GTEST_FLAG_SET(death_test_style, "threadsafe"); // re-started, not forked
    setenv("PLAYFIELD_TEST_PARENT_DIR", std::filesystem::current_path().c_str(), 0);
    EXPECT_EXIT(CheckFirstRhythmAndExit(), testing::ExitedWithCode(0), "");
    GTEST_FLAG_SET(death_test_style, strStyle);
}
