// Frames of a sheet, and a sound file cut short.

#include <fstream>

#include "media/CSprite.h"
#include "support/TestRuntime.h"

TEST(Sprite, FrameNumberCountsWholeFramesAlongRowsThenDown) {
    // Four frames of 20 x 10 in two rows, frame k in the grey k.
    SDL_Surface* pSheet = SDL_CreateRGBSurfaceWithFormat(0, 40, 20, 24, SDL_PIXELFORMAT_BGR24);
    for (int k = 0; k < 4; ++k) {
        SDL_Rect frame{k % 2 * 20, k / 2 * 10, 20, 10};
        SDL_FillRect(pSheet, &frame, SDL_MapRGB(pSheet->format, k, k, k));
    }
    SDL_SaveBMP(pSheet, "sheet.bmp");
    SDL_FreeSurface(pSheet);
    CFramework::Get()->m_pScreen = Blank();
    CSprite sprite;
    sprite.Load("sheet.bmp", 4, 20, 10);
    sprite.SetPos(10.9f, 20.0f);
    for (const auto& [fFrame, k] : {std::pair(0.99f, 0), {2.9f, 2}, {3.f, 3}, {-0.5f, 0}}) {
        sprite.Render(fFrame);
        EXPECT_EQ(Rgb(sprite.m_pScreen, 10, 20), k * 0x10101) << fFrame;
        EXPECT_EQ(Rgb(sprite.m_pScreen, 29, 29), k * 0x10101) << fFrame;
        EXPECT_EQ(Rgb(sprite.m_pScreen, 30, 29), 0) << fFrame;
    }
    SDL_FreeSurface(sprite.m_pScreen);
    CFramework::Get()->m_pScreen = nullptr;
    TSingleton<CFramework>::Del();
}

class SoundPlayer : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(StartFramework()); }
    void TearDown() override { StopFramework(); }
    CMySound& m_Sound = *CMySound::Get();
};

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
