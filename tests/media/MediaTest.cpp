// Frames of a sheet, a picture with a forged header, and a sound file cut short.

#include <fstream>

#include "media/CSprite.h"
#include "media/Picture.h"
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

// Writes a file of the runtime directory to a file of its own, changed by the edit.
template <class Edit> static void SaveChanged(const char* pFrom, const char* pTo, Edit edit) {
    std::ifstream in(pFrom, std::ios::binary);
    std::string strData{std::istreambuf_iterator<char>(in), {}};
    edit(strData);
    std::ofstream(pTo, std::ios::binary) << strData;
}

TEST(Picture, HeaderClaimingMorePixelsThanTheFileHoldsIsRefused) {
    SaveChanged("ImgData/apple5.bmp", "forged.bmp", [](std::string& strData) {
        strData.replace(18, 8, "\xa0\x0f\0\0\xa0\x0f\0\0", 8); // 4000 x 4000 pixels
    });
    EXPECT_EQ(LoadPicture("forged.bmp"), nullptr);
    EXPECT_STREQ(SDL_GetError(), "forged.bmp holds fewer pixels than its header claims");
}

class SoundPlayer : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(StartFramework()); }
    void TearDown() override { StopFramework(); }
    CMySound& m_Sound = *CMySound::Get();
};

TEST_F(SoundPlayer, SoundCutShortEndsTheProgram) {
    SaveChanged("Sound/fail.wav", "cut.wav",
                [](std::string& strData) { strData.resize(strData.size() / 2); });
    for (int iId : {SOUND_MUSIC, SOUND_BOING}) {
        EXPECT_EXIT(m_Sound.Load("cut.wav", iId), testing::ExitedWithCode(1),
                    "Konnte Sound-Datei nicht laden!\nFehler: cut.wav\n");
    }
}
