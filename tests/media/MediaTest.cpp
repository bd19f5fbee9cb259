// A picture with a forged header, and a sound file cut short. (The frames of the sheets are
// drawn by the page and play-field tests.)

#include <fstream>

#include "media/Picture.h"
#include "support/TestRuntime.h"

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
