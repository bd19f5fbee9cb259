// Sprites drawn onto a plain screen surface, pictures refused before they are read, and the
// sound player's slots and channels.

#include <atomic>

#include "media/CSprite.h"
#include "media/Picture.h"
#include "support/TestRuntime.h"

// The colour of frame k of a test sheet: never black, white or magenta.
static int Colour(int k) {
    return 0x204060 + 0x302010 * k;
}

// Saves a 24-bit sheet of iFrames frames of 20 x 10, two to a row; frame k is Colour(k) but for
// its top-left pixel, which is magenta.
static void SaveSheet(const char* pFile, int iFrames) {
    SDL_Surface* pSheet =
        SDL_CreateRGBSurfaceWithFormat(0, 40, 10 * ((iFrames + 1) / 2), 24, SDL_PIXELFORMAT_BGR24);
    for (int k = 0; k < iFrames; ++k) {
        SDL_Rect frame{k % 2 * 20, k / 2 * 10, 20, 10};
        SDL_FillRect(
            pSheet, &frame,
            SDL_MapRGB(pSheet->format, Colour(k) >> 16, Colour(k) >> 8 & 0xFF, Colour(k) & 0xFF));
        frame.w = 1;
        frame.h = 1;
        SDL_FillRect(pSheet, &frame, SDL_MapRGB(pSheet->format, 255, 0, 255));
    }
    SDL_SaveBMP(pSheet, pFile);
    SDL_FreeSurface(pSheet);
}

class Sprite : public testing::Test {
protected:
    void SetUp() override {
        m_pScreen = SDL_CreateRGBSurfaceWithFormat(0, 800, 600, 32, SDL_PIXELFORMAT_ARGB8888);
        CFramework::Get()->m_pScreen = m_pScreen;
        SaveSheet("sheet.bmp", 4);
    }
    void TearDown() override {
        CFramework::Get()->m_pScreen = nullptr;
        TSingleton<CFramework>::Del();
        SDL_FreeSurface(m_pScreen);
    }
    // The frame drawn exactly into the 20 x 10 box at (x, y), its key pixel aside; -1 for none.
    int Shown(int x, int y) {
        for (int k = 0; k < 4; ++k) {
            const bool bInside =
                Rgb(m_pScreen, x + 1, y) == Colour(k) && Rgb(m_pScreen, x + 19, y + 9) == Colour(k);
            const bool bOutside = Rgb(m_pScreen, x + 20, y + 9) != Colour(k) &&
                                  Rgb(m_pScreen, x + 19, y + 10) != Colour(k) &&
                                  Rgb(m_pScreen, x - 1, y) != Colour(k);
            if (bInside && bOutside) {
                return k;
            }
        }
        return -1;
    }
    SDL_Surface* m_pScreen = nullptr;
};

TEST_F(Sprite, FrameNumberCountsWholeFramesAlongRowsThenDown) {
    CSprite sprite;
    sprite.Load("sheet.bmp", 4, 20, 10);
    const std::pair<float, int> frames[] = {{0.99f, 0}, {-0.5f, 0}, {1.0f, 1}, {2.9f, 2}, {3.f, 3}};
    for (const auto& [fFrame, k] : frames) {
        SDL_FillRect(m_pScreen, nullptr, 0);
        sprite.SetPos(100.0f, 200.0f);
        sprite.Render(fFrame);
        EXPECT_EQ(Shown(100, 200), k) << "frame number " << fFrame;
    }
}

TEST_F(Sprite, FrameWiderThanTheSheetDrawsNothing) {
    CSprite sprite;
    sprite.Load("sheet.bmp", 1, 2000, 10);
    sprite.Render(0.0f);
    EXPECT_EQ(Rgb(m_pScreen, 5, 5), 0);
}

TEST(Picture, HeaderClaimingMorePixelsThanItsFileIsRefusedUnread) {
    SaveSheet("forged.bmp", 2);
    SDL_RWops* pFile = SDL_RWFromFile("forged.bmp", "r+b");
    SDL_RWseek(pFile, 18, RW_SEEK_SET);
    SDL_WriteLE32(pFile, 4000);
    SDL_WriteLE32(pFile, 3000);
    SDL_RWclose(pFile);
    SDL_ClearError();
    EXPECT_EQ(LoadPicture("forged.bmp"), nullptr);
    EXPECT_STREQ(SDL_GetError(), "forged.bmp holds fewer pixels than its header claims");
}

// Bytes of effects the mixer has played, counted as it mixes them.
static std::atomic<int> g_iHeardBytes{0};
static void Hear(int, void*, int iLength, void*) {
    g_iHeardBytes += iLength;
}

class SoundPlayer : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(StartFramework()); }
    void TearDown() override { StopFramework(); }
    CMySound& m_Sound = *CMySound::Get();
};

TEST_F(SoundPlayer, EffectsOfOneIdOverlapOnChannelsOfTheirOwn) {
    m_Sound.Load("Sound/success.wav", SOUND_SUCCESS);
    m_Sound.Play(SOUND_SUCCESS);
    m_Sound.Play(SOUND_SUCCESS);
    EXPECT_EQ(Sounding(m_Sound.m_pSuccess), 2);
}

TEST_F(SoundPlayer, EveryOtherIdMeansTheFailEffect) {
    m_Sound.Load("Sound/boing.wav", SOUND_BOING);
    m_Sound.Load("Sound/fail.wav", 9);
    m_Sound.Play(7);
    EXPECT_EQ(Sounding(m_Sound.m_pFail), 1);
    EXPECT_EQ(Sounding(m_Sound.m_pBoing), 0);
}

TEST_F(SoundPlayer, EffectIsHeardOnceToItsEnd) {
    m_Sound.Load("Sound/fail.wav", SOUND_FAIL);
    for (int iChannel = 0; iChannel < Mix_AllocateChannels(-1); ++iChannel) {
        Mix_RegisterEffect(iChannel, Hear, nullptr, nullptr);
    }
    m_Sound.Play(SOUND_FAIL);
    for (int i = 0; i < 1000 && Mix_Playing(-1) > 0; ++i) {
        SDL_Delay(5);
    }
    EXPECT_EQ(g_iHeardBytes, static_cast<int>(m_Sound.m_pFail->alen));
}

TEST_F(SoundPlayer, MusicStartsOverAfterItsEnd) {
    m_Sound.Load("Sound/sound.wav", SOUND_MUSIC);
    m_Sound.Play(SOUND_MUSIC);
    ASSERT_EQ(Mix_SetMusicPosition(Mix_MusicDuration(m_Sound.m_pMusic) - 0.1), 0);
    const double fNearEnd = Mix_GetMusicPosition(m_Sound.m_pMusic);
    for (int i = 0; i < 400 && Mix_GetMusicPosition(m_Sound.m_pMusic) >= fNearEnd; ++i) {
        SDL_Delay(5);
    }
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_LT(Mix_GetMusicPosition(m_Sound.m_pMusic), fNearEnd);
}

// A mono 16-bit WAV whose headers declare uRiffSize and uDataSize, holding iBytes of samples.
static void SaveWav(const char* pFile, Uint32 uRiffSize, Uint32 uDataSize, int iBytes) {
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
    for (int i = 0; i < iBytes; ++i) {
        SDL_WriteU8(pOut, static_cast<Uint8>(i * 7));
    }
    SDL_RWclose(pOut);
}

TEST_F(SoundPlayer, StreamingMarkerAsTheFileSizeIsNoFault) {
    SaveWav("stream.wav", 0xFFFFFFFF, 4000, 4000);
    EXPECT_TRUE(m_Sound.Load("stream.wav", SOUND_MUSIC));
    EXPECT_TRUE(m_Sound.Load("stream.wav", SOUND_BOING));
}

TEST_F(SoundPlayer, EffectCutShortEndsTheProgram) {
    SaveWav("cut.wav", 36 + 4000, 4000, 2000);
    EXPECT_EXIT(m_Sound.Load("cut.wav", SOUND_BOING), testing::ExitedWithCode(1),
                "^Konnte Sound-Datei nicht laden!\nFehler: cut.wav\n$");
}

TEST_F(SoundPlayer, MusicCutShortEndsTheProgram) {
    SaveWav("cut.wav", 36 + 4000, 4000, 2000);
    EXPECT_EXIT(m_Sound.Load("cut.wav", SOUND_MUSIC), testing::ExitedWithCode(1),
                "^Konnte Sound-Datei nicht laden!\nFehler: cut.wav\n$");
}
