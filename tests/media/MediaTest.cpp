#include <SDL.h>
#include <gtest/gtest.h>

#include "framework/CFramework.h"
#include "media/CMyFont.h"
#include "media/CMySound.h"
#include "media/CSprite.h"
#include "support/TestRuntime.h"

namespace {
const SDL_Color NOTHING{0, 0, 0, 0};

// A 24-bit sheet of iFrames frames of w x h, iColumns to a row, frame k in Shade(k) unless a
// colour is given for it.
void SaveSheet(const char* pFile, int iFrames, int iColumns, int w, int h,
               std::initializer_list<SDL_Color> colors = {}) {
    const int iRows = (iFrames + iColumns - 1) / iColumns;
    SDL_Surface* pSheet =
        SDL_CreateRGBSurfaceWithFormat(0, w * iColumns, h * iRows, 24, SDL_PIXELFORMAT_BGR24);
    for (int n = 0; n < iFrames; ++n) {
        const SDL_Rect frame{(n % iColumns) * w, (n / iColumns) * h, w, h};
        const SDL_Color c = n < static_cast<int>(colors.size()) ? colors.begin()[n] : Shade(n);
        SDL_FillRect(pSheet, &frame, SDL_MapRGB(pSheet->format, c.r, c.g, c.b));
    }
    SDL_SaveBMP(pSheet, pFile);
    SDL_FreeSurface(pSheet);
}

class Sprite : public testing::Test {
protected:
    void SetUp() override { CFramework::Get()->m_pScreen = m_pScreen = NewScreen(); }
    void TearDown() override {
        CFramework::Get()->m_pScreen = nullptr;
        TSingleton<CFramework>::Del();
        SDL_FreeSurface(m_pScreen);
    }
    SDL_Color At(int x, int y) { return PixelColor(m_pScreen, x, y); }
    SDL_Surface* m_pScreen = nullptr;
};
} // namespace

TEST_F(Sprite, FramesComeFromRowsLeftToRightAndNeverFromOutside) {
    // Four frames of 270 x 211: one row on a 1080-pixel sheet, two rows on a 540-pixel one.
    SaveSheet("row.bmp", 4, 4, 270, 211);
    SaveSheet("rows.bmp", 4, 2, 270, 211);
    for (const char* pFile : {"row.bmp", "rows.bmp"}) {
        CSprite sprite;
        sprite.Load(pFile, 4, 270, 211);
        const struct {
            float fFrame;
            int iShown; // -1: nothing
        } cases[] = {{0.99f, 0}, {-0.5f, 0}, {2.9f, 2}, {3.0f, 3}, {4.0f, -1}};
        for (const auto& c : cases) {
            SDL_FillRect(m_pScreen, nullptr, 0);
            sprite.SetPos(10.9f, 384.0f);
            sprite.Render(c.fFrame);
            EXPECT_EQ(ShadeAt(m_pScreen, {10, 384, 270, 211}), c.iShown) << pFile << c.fFrame;
        }
    }
    // A frame wider than the sheet, or of width 0, leaves no whole column: nothing is drawn.
    for (int iFrameWidth : {0, 2000}) {
        CSprite sprite;
        sprite.Load("row.bmp", 1, iFrameWidth, 211);
        sprite.SetPos(0, 0);
        sprite.Render(0.0f);
        EXPECT_TRUE(SameColor(At(5, 5), NOTHING)) << iFrameWidth;
    }
}

TEST_F(Sprite, PositionIsTruncatedAndClippedAtTheScreenEdge) {
    SaveSheet("box.bmp", 1, 1, 20, 20);
    CSprite sprite;
    sprite.Load("box.bmp");
    EXPECT_EQ(sprite.m_Rect.w, 20);
    EXPECT_EQ(sprite.m_Rect.h, 20);
    sprite.SetPos(10.9f, -0.9f);
    EXPECT_EQ(sprite.m_Rect.x, 10);
    EXPECT_EQ(sprite.m_Rect.y, 0);
    sprite.SetPos(-5.0f, -8.0f);
    sprite.Render();
    EXPECT_EQ(ShadeAt(m_pScreen, {0, 0, 15, 12}), 0);
    EXPECT_EQ(sprite.m_Rect.w, 15); // the blit wrote the clipped rectangle back
}

TEST_F(Sprite, KeyUsesLowEightBitsAndStaysTransparentUnderAlpha) {
    SaveSheet("key.bmp", 2, 2, 1, 1, {{255, 0, 255, 255}, {255, 255, 255, 255}});
    CSprite sprite;
    sprite.Load("key.bmp");
    sprite.SetColorKey(511, 256, 255);
    for (int iAlpha : {255, 146}) {
        if (iAlpha < 255) {
            sprite.SetAlpha(static_cast<Uint8>(iAlpha));
        }
        SDL_FillRect(m_pScreen, nullptr, 0);
        sprite.SetPos(0, 0);
        sprite.Render();
        EXPECT_EQ(At(0, 0).r, 0) << "the key stays transparent at alpha " << iAlpha;
        EXPECT_NEAR(At(1, 0).g, iAlpha, 2);
    }
}

TEST(SoundAndFont, SlotsByIdOverlappingEffectsLoopingMusicAndClosing) {
    ASSERT_TRUE(StartFramework());
    CMySound* pSound = CMySound::Get();
    for (int iId = SOUND_MUSIC; iId <= SOUND_FAIL; ++iId) {
        pSound->Play(iId); // nothing loaded yet: nothing plays
    }
    EXPECT_EQ(Mix_Playing(-1), 0);
    EXPECT_EQ(Mix_PlayingMusic(), 0);

    pSound->Load("Sound/sound.wav", SOUND_MUSIC);
    pSound->Load("Sound/success.wav", SOUND_SUCCESS);
    pSound->Load("Sound/fail.wav", 9); // any other id means the fail slot
    EXPECT_EQ(pSound->m_pBoing, nullptr);
    pSound->Play(SOUND_SUCCESS);
    pSound->Play(SOUND_SUCCESS);
    pSound->Play(7);
    EXPECT_EQ(Sounding(pSound->m_pSuccess), 2) << "effects overlap on channels of their own";
    EXPECT_EQ(Sounding(pSound->m_pFail), 1);

    // The music goes on past its end: started just before it, it is soon heard from the start.
    pSound->Play(SOUND_MUSIC);
    ASSERT_EQ(Mix_SetMusicPosition(Mix_MusicDuration(pSound->m_pMusic) - 0.1), 0);
    const double fNearEnd = Mix_GetMusicPosition(pSound->m_pMusic);
    for (int i = 0;
         i < 400 && Mix_PlayingMusic() && Mix_GetMusicPosition(pSound->m_pMusic) >= fNearEnd; ++i) {
        SDL_Delay(5);
    }
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_LT(Mix_GetMusicPosition(pSound->m_pMusic), fNearEnd);

    CMyFont* pFont = CMyFont::Get();
    ASSERT_NE(pFont->m_pFontSmall, nullptr);
    ASSERT_NE(pFont->m_pFontLarge, nullptr);
    EXPECT_GT(TTF_FontHeight(pFont->m_pFontLarge), TTF_FontHeight(pFont->m_pFontSmall));
    pFont->CloseFont();
    pFont->CloseFont();
    EXPECT_EQ(pFont->m_pFontSmall, nullptr);
    EXPECT_EQ(pFont->m_pFontLarge, nullptr);
    StopFramework();
}
