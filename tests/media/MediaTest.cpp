// Sprites drawn from sheets onto a plain screen surface, and the sound player's slots and mixer.
// (Keys and alpha are seen in the game's own pictures: the help page and the witch's flash.)

#include <atomic>

#include "AssetGeometry.h"
#include "support/TestRuntime.h"

// Saves a 24-bit sheet of frames of w x h, iColumns to a row, frame k in Shade(k).
static void SaveSheet(const char* pFile, int iFrames, int iColumns, int w, int h) {
    SDL_Surface* pSheet = SDL_CreateRGBSurfaceWithFormat(
        0, w * iColumns, h * ((iFrames + iColumns - 1) / iColumns), 24, SDL_PIXELFORMAT_BGR24);
    for (int k = 0; k < iFrames; ++k) {
        const SDL_Rect frame{(k % iColumns) * w, (k / iColumns) * h, w, h};
        SDL_FillRect(pSheet, &frame, SDL_MapRGB(pSheet->format, Shade(k).r, 90, Shade(k).b));
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
    SDL_Surface* m_pScreen = nullptr;
};

TEST_F(Sprite, FramesComeFromRowsLeftToRightAtATruncatedPosition) {
    // Four frames of 270 x 211: one row on a 1080-pixel sheet, two rows on a 540-pixel one.
    SaveSheet("row.bmp", 4, 4, 270, 211), SaveSheet("rows.bmp", 4, 2, 270, 211);
    const std::pair<float, int> shown[] = {{0.99f, 0}, {-0.5f, 0}, {2.9f, 2}, {3.0f, 3}, {4.f, -1}};
    for (const char* pFile : {"row.bmp", "rows.bmp"}) {
        CSprite sprite;
        sprite.Load(pFile, 4, 270, 211);
        for (const auto& [fFrame, iShown] : shown) {
            SDL_FillRect(m_pScreen, nullptr, 0);
            sprite.SetPos(10.9f, 384.0f);
            sprite.Render(fFrame);
            EXPECT_EQ(ShadeAt(m_pScreen, {10, 384, 270, 211}), iShown) << pFile << fFrame;
        }
    }
    CSprite bare; // a frame wider than the sheet leaves no whole column: nothing is drawn
    bare.Load("row.bmp", 1, 2000, 211), bare.SetPos(0, 0), bare.Render(0.0f);
    EXPECT_EQ(PixelColor(m_pScreen, 5, 5).g, 0);
}

TEST_F(Sprite, KeyedSheetKeepsOnlyTheRunsOfItsFramesAndShowsThroughItsKey) {
    // Three frames of 40 x 30, each with a magenta square of 10 x 10 in its top left corner.
    SaveSheet("keyed.bmp", 3, 3, 40, 30);
    SDL_Surface* pSheet = SDL_LoadBMP("keyed.bmp");
    for (int k = 0; k < 3; ++k) {
        const SDL_Rect square{k * 40, 0, 10, 10};
        SDL_FillRect(pSheet, &square, SDL_MapRGB(pSheet->format, 255, 0, 255));
    }
    SDL_SaveBMP(pSheet, "keyed.bmp");
    SDL_FreeSurface(pSheet);
    CSprite sprite;
    ASSERT_TRUE(sprite.TryLoad(SAssetGeometry{"keyed.bmp", 120, 30, 40, 30, 3, true, false}));
    EXPECT_EQ(sprite.m_pImage, nullptr) << "the sheet is let go once cut";
    ASSERT_EQ(sprite.m_Frames.size(), 3u);
    for (SDL_Surface* pFrame : sprite.m_Frames)
        EXPECT_EQ(pFrame->pixels, nullptr) << "the frame's pixels are let go for its runs";
    SDL_FillRect(m_pScreen, nullptr, SDL_MapRGB(m_pScreen->format, 255, 255, 255));
    sprite.SetPos(100, 50), sprite.Render(2.0f);
    EXPECT_EQ(PixelColor(m_pScreen, 105, 55).g, 255) << "white shows through the key";
    EXPECT_EQ(PixelColor(m_pScreen, 115, 55).r, Shade(2).r) << "frame 2 beside its square";
    EXPECT_EQ(PixelColor(m_pScreen, 139, 79).r, Shade(2).r) << "frame 2 to its last pixel";
    EXPECT_EQ(PixelColor(m_pScreen, 140, 80).g, 255) << "nothing past the frame";
}

// Bytes of the effects the mixer has played, counted as it mixes them.
static std::atomic<int> g_iHeardBytes{0};
static void Hear(int, void*, int iLength, void*) {
    g_iHeardBytes += iLength;
}

TEST(SoundPlayer, FillsSlotsByIdOverlapsEffectsAndLoopsTheMusic) {
    ASSERT_TRUE(StartFramework());
    CMySound* pSound = CMySound::Get();
    for (int iId = SOUND_MUSIC; iId <= SOUND_FAIL; ++iId)
        pSound->Play(iId); // nothing loaded yet: nothing plays
    EXPECT_EQ(Mix_Playing(-1), 0);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    pSound->Load("Sound/sound.wav", SOUND_MUSIC);
    pSound->Load("Sound/success.wav", SOUND_SUCCESS);
    pSound->Load("Sound/fail.wav", 9); // any other id means the fail slot
    EXPECT_EQ(pSound->m_pBoing, nullptr);
    pSound->Play(SOUND_SUCCESS), pSound->Play(SOUND_SUCCESS), pSound->Play(7);
    EXPECT_EQ(Sounding(pSound->m_pSuccess), 2) << "effects overlap on channels of their own";
    EXPECT_EQ(Sounding(pSound->m_pFail), 1);
    // Started just before its end, the music is soon heard from its start again.
    pSound->Play(SOUND_MUSIC);
    ASSERT_EQ(Mix_SetMusicPosition(Mix_MusicDuration(pSound->m_pMusic) - 0.1), 0);
    const double fNearEnd = Mix_GetMusicPosition(pSound->m_pMusic);
    for (int i = 0;
         i < 400 && Mix_PlayingMusic() && Mix_GetMusicPosition(pSound->m_pMusic) >= fNearEnd; ++i)
        SDL_Delay(5);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_LT(Mix_GetMusicPosition(pSound->m_pMusic), fNearEnd);
    // An effect is heard once, to its end.
    Mix_HaltChannel(-1);
    for (int iChannel = 0; iChannel < Mix_AllocateChannels(-1); ++iChannel)
        Mix_RegisterEffect(iChannel, Hear, nullptr, nullptr);
    pSound->Play(SOUND_FAIL);
    for (int i = 0; i < 1000 && Mix_Playing(-1) > 0; ++i)
        SDL_Delay(5);
    EXPECT_EQ(Mix_Playing(-1), 0) << "the effect ended";
    EXPECT_EQ(g_iHeardBytes, static_cast<int>(pSound->m_pFail->alen));
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
