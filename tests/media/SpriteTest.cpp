#include <cstdio>
#include <string>

#include <SDL.h>
#include <gtest/gtest.h>

#include "framework/CFramework.h"
#include "media/CSprite.h"
#include "support/TestRuntime.h"

namespace {
// Colour of frame n in the test sheets: easy to tell apart and never the key.
SDL_Color FrameColor(int n) {
    return SDL_Color{static_cast<Uint8>(20 + 40 * n), static_cast<Uint8>(200 - 30 * n), 90, 255};
}

bool Same(SDL_Color a, SDL_Color b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

// Writes a 24-bit sheet of iFrames frames of w x h, iColumns to a row, each frame in its colour.
void SaveSheet(const char* pFile, int iFrames, int iColumns, int w, int h) {
    const int iRows = (iFrames + iColumns - 1) / iColumns;
    SDL_Surface* pSheet = SDL_CreateRGBSurfaceWithFormat(0, w * iColumns, h * iRows, 24,
                                                         SDL_PIXELFORMAT_BGR24);
    for (int n = 0; n < iFrames; ++n) {
        const SDL_Rect frame{(n % iColumns) * w, (n / iColumns) * h, w, h};
        const SDL_Color c = FrameColor(n);
        SDL_FillRect(pSheet, &frame, SDL_MapRGB(pSheet->format, c.r, c.g, c.b));
    }
    ASSERT_EQ(SDL_SaveBMP(pSheet, pFile), 0);
    SDL_FreeSurface(pSheet);
}

class Sprite : public testing::Test {
protected:
    void SetUp() override {
        m_pScreen = SDL_CreateRGBSurface(0, 800, 600, 32, 0x00FF0000, 0x0000FF00, 0x000000FF,
                                         0xFF000000);
        CFramework::Get()->m_pScreen = m_pScreen;
    }
    void TearDown() override {
        CFramework::Get()->m_pScreen = nullptr;
        TSingleton<CFramework>::Del();
        SDL_FreeSurface(m_pScreen);
    }
    SDL_Color At(int x, int y) { return PixelColor(m_pScreen, x, y); }

    SDL_Surface* m_pScreen = nullptr;
};
} // namespace

TEST_F(Sprite, LoadSetsWholeImageRectangle) {
    SaveSheet("whole.bmp", 1, 1, 99, 33);
    CSprite sprite;
    sprite.Load("whole.bmp");
    EXPECT_EQ(sprite.m_Rect.x, 0);
    EXPECT_EQ(sprite.m_Rect.y, 0);
    EXPECT_EQ(sprite.m_Rect.w, 99);
    EXPECT_EQ(sprite.m_Rect.h, 33);
    sprite.SetPos(691, 10);
    sprite.Render();
    EXPECT_TRUE(Same(At(691, 10), FrameColor(0)));
    EXPECT_TRUE(Same(At(789, 42), FrameColor(0)));
    EXPECT_TRUE(Same(At(790, 42), SDL_Color{0, 0, 0, 0}));
}

TEST_F(Sprite, FramesComeFromOneRowOrFromSeveralRows) {
    // Four frames of 270 x 211: one row on a 1080-pixel sheet, two rows on a 540-pixel sheet.
    SaveSheet("row.bmp", 4, 4, 270, 211);
    SaveSheet("rows.bmp", 4, 2, 270, 211);
    for (const char* pFile : {"row.bmp", "rows.bmp"}) {
        CSprite sprite;
        sprite.Load(pFile, 4, 270, 211);
        for (int n = 0; n < 4; ++n) {
            SDL_FillRect(m_pScreen, nullptr, 0);
            sprite.SetPos(10, 384);
            sprite.Render(static_cast<float>(n));
            EXPECT_TRUE(Same(At(10, 384), FrameColor(n))) << pFile << " frame " << n;
            EXPECT_TRUE(Same(At(279, 594), FrameColor(n))) << pFile << " frame " << n;
        }
    }
}

TEST_F(Sprite, FrameNumberIsTruncatedTowardZero) {
    SaveSheet("apples.bmp", 20, 20, 64, 64);
    CSprite sprite;
    sprite.Load("apples.bmp", 20, 64, 64);
    const struct {
        float fFrame;
        int iShown;
    } cases[] = {{0.99f, 0}, {-0.5f, 0}, {2.9f, 2}, {19.0f, 19}};
    for (const auto& c : cases) {
        sprite.SetPos(100, 100);
        sprite.Render(c.fFrame);
        EXPECT_TRUE(Same(At(120, 120), FrameColor(c.iShown))) << c.fFrame;
    }
}

TEST_F(Sprite, FramePastTheLastRowDrawsNothing) {
    SaveSheet("lives.bmp", 4, 4, 128, 40);
    CSprite sprite;
    sprite.Load("lives.bmp", 4, 128, 40);
    sprite.SetPos(221, 555);
    sprite.Render(4.0f);
    const SDL_Rect area{221, 555, 128, 40};
    EXPECT_EQ(CountPixels(m_pScreen, area, [](SDL_Color c) { return c.r || c.g || c.b; }), 0);
}

TEST_F(Sprite, SheetWithoutAWholeColumnDrawsNothing) {
    SaveSheet("narrow.bmp", 1, 1, 32, 32);
    for (int iFrameWidth : {0, 64}) {
        CSprite sprite;
        sprite.Load("narrow.bmp", 1, iFrameWidth, 32);
        sprite.SetPos(0, 0);
        sprite.Render(0.0f);
        sprite.Render(3.0f);
        EXPECT_TRUE(Same(At(5, 5), SDL_Color{0, 0, 0, 0})) << iFrameWidth;
    }
}

TEST_F(Sprite, PositionIsTruncatedAndClippedByTheBlit) {
    SaveSheet("box.bmp", 1, 1, 20, 20);
    CSprite sprite;
    sprite.Load("box.bmp");
    sprite.SetPos(10.9f, -0.9f);
    EXPECT_EQ(sprite.m_Rect.x, 10);
    EXPECT_EQ(sprite.m_Rect.y, 0);

    sprite.SetPos(-5.0f, -8.0f);
    sprite.Render();
    EXPECT_TRUE(Same(At(0, 0), FrameColor(0)));
    EXPECT_TRUE(Same(At(14, 11), FrameColor(0)));
    EXPECT_TRUE(Same(At(15, 12), SDL_Color{0, 0, 0, 0}));
    // The blit wrote the clipped rectangle back.
    EXPECT_EQ(sprite.m_Rect.x, 0);
    EXPECT_EQ(sprite.m_Rect.w, 15);
}

TEST_F(Sprite, ColourKeyUsesTheLowEightBitsOfEachComponent) {
    SDL_Surface* pImage = SDL_CreateRGBSurfaceWithFormat(0, 2, 1, 24, SDL_PIXELFORMAT_BGR24);
    const SDL_Rect left{0, 0, 1, 1};
    const SDL_Rect right{1, 0, 1, 1};
    SDL_FillRect(pImage, &left, SDL_MapRGB(pImage->format, 255, 0, 255));
    SDL_FillRect(pImage, &right, SDL_MapRGB(pImage->format, 10, 20, 30));
    ASSERT_EQ(SDL_SaveBMP(pImage, "key.bmp"), 0);
    SDL_FreeSurface(pImage);

    CSprite sprite;
    sprite.Load("key.bmp");
    sprite.SetColorKey(511, 256, 255);
    SDL_FillRect(m_pScreen, nullptr, SDL_MapRGB(m_pScreen->format, 1, 2, 3));
    sprite.SetPos(0, 0);
    sprite.Render();
    EXPECT_TRUE(Same(At(0, 0), SDL_Color{1, 2, 3, 255}));
    EXPECT_TRUE(Same(At(1, 0), SDL_Color{10, 20, 30, 255}));
}

TEST_F(Sprite, AlphaBlendsWhileKeyedPixelsStayTransparent) {
    SDL_Surface* pImage = SDL_CreateRGBSurfaceWithFormat(0, 2, 1, 24, SDL_PIXELFORMAT_BGR24);
    const SDL_Rect left{0, 0, 1, 1};
    const SDL_Rect right{1, 0, 1, 1};
    SDL_FillRect(pImage, &left, SDL_MapRGB(pImage->format, 255, 0, 255));
    SDL_FillRect(pImage, &right, SDL_MapRGB(pImage->format, 255, 255, 255));
    ASSERT_EQ(SDL_SaveBMP(pImage, "glow.bmp"), 0);
    SDL_FreeSurface(pImage);

    CSprite sprite;
    sprite.Load("glow.bmp", 0, 32, 32);
    sprite.SetColorKey(255, 0, 255);
    sprite.SetAlpha(146);
    SDL_FillRect(m_pScreen, nullptr, SDL_MapRGB(m_pScreen->format, 0, 0, 0));
    sprite.SetPos(0, 0);
    sprite.Render();
    EXPECT_TRUE(Same(At(0, 0), SDL_Color{0, 0, 0, 255}));
    const SDL_Color blended = At(1, 0);
    EXPECT_NEAR(blended.r, 146, 2);
    EXPECT_NEAR(blended.g, 146, 2);
    EXPECT_NEAR(blended.b, 146, 2);
}

TEST(SpriteFailure, MissingBitmapEndsTheProgramWithItsName) {
    EXPECT_EXIT(
        {
            ASSERT_TRUE(StartFramework());
            CSprite sprite;
            sprite.Load("ImgData/nowhere.bmp");
        },
        testing::ExitedWithCode(1), "Fehler beim Laden der Bitmap: ImgData/nowhere.bmp\nFehler: ");
}

TEST(SpriteFailure, DamagedBitmapEndsTheProgram) {
    EXPECT_EXIT(
        {
            ASSERT_TRUE(StartFramework());
            FILE* pFile = std::fopen("broken.bmp", "wb");
            std::fputs("BM this is not a bitmap", pFile);
            std::fclose(pFile);
            CSprite sprite;
            sprite.Load("broken.bmp", 4, 270, 211);
        },
        testing::ExitedWithCode(1), "Fehler beim Laden der Bitmap: broken.bmp\nFehler: ");
}
