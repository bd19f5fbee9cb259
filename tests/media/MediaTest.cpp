#include <SDL.h>
#include <gtest/gtest.h>

#include "framework/CFramework.h"
#include "media/CMyFont.h"
#include "media/CMySound.h"
#include "media/CSprite.h"
#include "support/TestRuntime.h"

namespace {
// Colour of frame n in the test sheets: easy to tell apart and never the key.
SDL_Color FrameColor(int n) {
    return SDL_Color{static_cast<Uint8>(20 + 40 * n), static_cast<Uint8>(200 - 30 * n), 90, 255};
}
bool Same(SDL_Color a, SDL_Color b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}
const SDL_Color BLACK{0, 0, 0, 255};

// A 24-bit sheet of iFrames frames of w x h, iColumns to a row, each frame in its own colour;
// frame colours can be replaced by the given ones.
void SaveSheet(const char* pFile, int iFrames, int iColumns, int w, int h,
               std::initializer_list<SDL_Color> colors = {}) {
    const int iRows = (iFrames + iColumns - 1) / iColumns;
    SDL_Surface* pSheet =
        SDL_CreateRGBSurfaceWithFormat(0, w * iColumns, h * iRows, 24, SDL_PIXELFORMAT_BGR24);
    for (int n = 0; n < iFrames; ++n) {
        const SDL_Rect frame{(n % iColumns) * w, (n / iColumns) * h, w, h};
        const SDL_Color c = n < static_cast<int>(colors.size()) ? colors.begin()[n] : FrameColor(n);
        SDL_FillRect(pSheet, &frame, SDL_MapRGB(pSheet->format, c.r, c.g, c.b));
    }
    SDL_SaveBMP(pSheet, pFile);
    SDL_FreeSurface(pSheet);
}

class Sprite : public testing::Test {
protected:
    void SetUp() override {
        m_pScreen = SDL_CreateRGBSurfaceWithFormat(0, 800, 600, 32, SDL_PIXELFORMAT_ARGB8888);
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
            const SDL_Color expected = c.iShown < 0 ? SDL_Color{0, 0, 0, 0} : FrameColor(c.iShown);
            EXPECT_TRUE(Same(At(10, 384), expected)) << pFile << " frame " << c.fFrame;
            EXPECT_TRUE(Same(At(279, 594), expected)) << pFile << " frame " << c.fFrame;
            EXPECT_TRUE(Same(At(280, 594), SDL_Color{0, 0, 0, 0})) << pFile;
        }
    }
    // A frame wider than the sheet, or of width 0, leaves no whole column: nothing is drawn.
    for (int iFrameWidth : {0, 2000}) {
        CSprite sprite;
        sprite.Load("row.bmp", 1, iFrameWidth, 211);
        sprite.SetPos(0, 0);
        sprite.Render(0.0f);
        EXPECT_TRUE(Same(At(5, 5), SDL_Color{0, 0, 0, 0})) << iFrameWidth;
    }
}

TEST_F(Sprite, PositionIsTruncatedAndClippedAtTheScreenEdge) {
    SaveSheet("box.bmp", 1, 1, 20, 20);
    CSprite sprite;
    sprite.Load("box.bmp");
    EXPECT_EQ(sprite.m_Rect.w * 100 + sprite.m_Rect.h, 2020);
    sprite.SetPos(10.9f, -0.9f);
    EXPECT_EQ(sprite.m_Rect.x * 100 + sprite.m_Rect.y, 1000);
    sprite.SetPos(-5.0f, -8.0f);
    sprite.Render();
    EXPECT_TRUE(Same(At(14, 11), FrameColor(0)));
    EXPECT_TRUE(Same(At(15, 12), SDL_Color{0, 0, 0, 0}));
    EXPECT_EQ(sprite.m_Rect.w, 15); // the blit wrote the clipped rectangle back
}

TEST_F(Sprite, KeyUsesLowEightBitsAndStaysTransparentUnderAlpha) {
    SaveSheet("key.bmp", 2, 2, 1, 1, {{255, 0, 255, 255}, {255, 255, 255, 255}});
    CSprite sprite;
    sprite.Load("key.bmp");
    sprite.SetColorKey(511, 256, 255);
    SDL_FillRect(m_pScreen, nullptr, SDL_MapRGB(m_pScreen->format, 0, 0, 0));
    sprite.SetPos(0, 0);
    sprite.Render();
    EXPECT_TRUE(Same(At(0, 0), BLACK));
    EXPECT_TRUE(Same(At(1, 0), SDL_Color{255, 255, 255, 255}));

    sprite.SetAlpha(146);
    SDL_FillRect(m_pScreen, nullptr, SDL_MapRGB(m_pScreen->format, 0, 0, 0));
    sprite.SetPos(0, 0);
    sprite.Render();
    EXPECT_TRUE(Same(At(0, 0), BLACK));
    EXPECT_NEAR(At(1, 0).g, 146, 2);
}

TEST(SoundAndFont, SlotsByIdPlayCountsAndClosing) {
    ASSERT_TRUE(StartFramework());
    CMySound* pSound = CMySound::Get();
    for (int iId = SOUND_MUSIC; iId <= SOUND_FAIL; ++iId) {
        pSound->Play(iId); // nothing loaded yet: nothing plays
    }
    EXPECT_EQ(Mix_Playing(-1) + Mix_PlayingMusic(), 0);

    pSound->Load("Sound/sound.wav", SOUND_MUSIC);
    pSound->Load("Sound/success.wav", SOUND_SUCCESS);
    pSound->Load("Sound/fail.wav", 9); // any other id means the fail slot
    EXPECT_TRUE(pSound->m_pMusic && pSound->m_pSuccess && pSound->m_pFail && !pSound->m_pBoing);
    pSound->Play(SOUND_MUSIC);
    pSound->Play(SOUND_SUCCESS);
    pSound->Play(SOUND_SUCCESS);
    pSound->Play(7);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_EQ(Mix_Playing(-1), 3); // effects overlap on channels of their own
    EXPECT_EQ(pSound->PlayCount(SOUND_FAIL), 2);

    CMyFont* pFont = CMyFont::Get();
    ASSERT_TRUE(pFont->m_pFontSmall && pFont->m_pFontLarge);
    EXPECT_GT(TTF_FontHeight(pFont->m_pFontLarge), TTF_FontHeight(pFont->m_pFontSmall));
    pFont->CloseFont();
    pFont->CloseFont();
    EXPECT_TRUE(!pFont->m_pFontSmall && !pFont->m_pFontLarge);
    StopFramework();
}

// A mono 16-bit WAV of 22050 Hz whose headers declare uRiffSize and uDataSize, holding iDataBytes
// of samples.
static void SaveWav(const char* pFile, Uint32 uRiffSize, Uint32 uDataSize, int iDataBytes) {
    SDL_RWops* pOut = SDL_RWFromFile(pFile, "wb");
    SDL_RWwrite(pOut, "RIFF", 1, 4);
    SDL_WriteLE32(pOut, uRiffSize);
    SDL_RWwrite(pOut, "WAVEfmt ", 1, 8);
    SDL_WriteLE32(pOut, 16);    // length of the format chunk
    SDL_WriteLE16(pOut, 1);     // PCM
    SDL_WriteLE16(pOut, 1);     // one channel
    SDL_WriteLE32(pOut, 22050); // samples per second
    SDL_WriteLE32(pOut, 44100); // bytes per second
    SDL_WriteLE16(pOut, 2);     // bytes per sample
    SDL_WriteLE16(pOut, 16);    // bits per sample
    SDL_RWwrite(pOut, "data", 1, 4);
    SDL_WriteLE32(pOut, uDataSize);
    for (int i = 0; i < iDataBytes; ++i) {
        SDL_WriteU8(pOut, static_cast<Uint8>(i * 7));
    }
    SDL_RWclose(pOut);
}

TEST(Sound, OnlyADataChunkReachingPastTheFileIsCutShort) {
    ASSERT_TRUE(StartFramework());
    // Written as a stream: the RIFF size, and maybe the data length, is the marker 0xFFFFFFFF;
    // the samples are all there.
    SaveWav("stream.wav", 0xFFFFFFFF, 4000, 4000);
    SaveWav("open.wav", 0xFFFFFFFF, 0xFFFFFFFF, 4000);
    CMySound* pSound = CMySound::Get();
    const std::pair<const char*, int> loads[] = {{"stream.wav", SOUND_MUSIC},
                                                 {"stream.wav", SOUND_BOING},
                                                 {"open.wav", SOUND_SUCCESS},
                                                 {"open.wav", SOUND_FAIL}};
    for (const auto& [pFile, iId] : loads) { // a refusal would end the test process with 1
        EXPECT_TRUE(pSound->Load(pFile, iId)) << pFile << " as sound " << iId;
    }
    // Half the samples of a file that declares them all are gone.
    SaveWav("cut.wav", 36 + 4000, 4000, 2000);
    EXPECT_EXIT(pSound->Load("cut.wav", SOUND_BOING), testing::ExitedWithCode(1),
                "Konnte Sound-Datei nicht laden!\nFehler: cut.wav\n");
    StopFramework();
}
