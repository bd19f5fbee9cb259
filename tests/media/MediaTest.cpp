// Frames of a sheet, and the sound player's slots, channels and files.

#include <fstream>

#include "media/CSprite.h"
#include "support/TestRuntime.h"

// Saves a 40 x 20 picture of four 20 x 10 frames in two rows; frame k a flat colour of its own.
static void SaveSheet(const char* pFile) {
    SDL_Surface* pSheet = SDL_CreateRGBSurfaceWithFormat(0, 40, 20, 24, SDL_PIXELFORMAT_BGR24);
    for (int k = 0; k < 4; ++k) {
        SDL_Rect frame{k % 2 * 20, k / 2 * 10, 20, 10};
        SDL_FillRect(pSheet, &frame, SDL_MapRGB(pSheet->format, 60 * k, 90, 40));
    }
    SDL_SaveBMP(pSheet, pFile);
    SDL_FreeSurface(pSheet);
}

TEST(Sprite, FrameNumberCountsWholeFramesAlongRowsThenDown) {
    SaveSheet("sheet.bmp");
    SDL_Surface* pScreen = Blank();
    CFramework::Get()->m_pScreen = pScreen;
    CSprite sprite;
    sprite.Load("sheet.bmp", 4, 20, 10);
    const std::pair<float, int> frames[] = {{0.99f, 0}, {-0.5f, 0}, {2.9f, 2}, {3.f, 3}, {4.f, -1}};
    for (const auto& [fFrame, k] : frames) {
        SDL_FillRect(pScreen, nullptr, 0);
        sprite.SetPos(10.9f, 20.0f);
        sprite.Render(fFrame);
        SDL_Surface* pExpected = Blank();
        SDL_Rect at{10, 20, 20, 10};
        SDL_FillRect(pExpected, &at, k < 0 ? 0 : SDL_MapRGB(pExpected->format, 60 * k, 90, 40));
        EXPECT_EQ(Differ(pScreen, pExpected), 0) << "frame number " << fFrame;
    }
    CFramework::Get()->m_pScreen = nullptr;
    TSingleton<CFramework>::Del();
    SDL_FreeSurface(pScreen);
}

class SoundPlayer : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(StartFramework()); }
    void TearDown() override { StopFramework(); }
    CMySound& m_Sound = *CMySound::Get();
};

TEST_F(SoundPlayer, EachIdPlaysItsSlotOnAChannelOfItsOwn) {
    m_Sound.Load("Sound/success.wav", SOUND_SUCCESS);
    m_Sound.Load("Sound/fail.wav", 9);
    m_Sound.Play(SOUND_SUCCESS);
    m_Sound.Play(SOUND_SUCCESS);
    m_Sound.Play(7);
    EXPECT_EQ(Sounding(m_Sound.m_pSuccess), 2);
    EXPECT_EQ(Sounding(m_Sound.m_pFail), 1) << "any other id is the fail effect";
}

// Writes the game's fail sound to a file of its own, changed by the edit.
template <class Edit> static void SaveChanged(const char* pFile, Edit edit) {
    std::ifstream in("Sound/fail.wav", std::ios::binary);
    std::string strData{std::istreambuf_iterator<char>(in), {}};
    edit(strData);
    std::ofstream(pFile, std::ios::binary) << strData;
}

TEST_F(SoundPlayer, SoundCutShortEndsTheProgram) {
    SaveChanged("cut.wav", [](std::string& strData) { strData.resize(strData.size() / 2); });
    for (int iId : {SOUND_MUSIC, SOUND_BOING}) {
        EXPECT_EXIT(m_Sound.Load("cut.wav", iId), testing::ExitedWithCode(1),
                    "Konnte Sound-Datei nicht laden!\nFehler: cut.wav\n");
    }
}
