#include <string>

#include <gtest/gtest.h>

#include "media/CMySound.h"
#include "support/TestRuntime.h"

class Sound : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(StartFramework()); }
    void TearDown() override { StopFramework(); }
};

TEST_F(Sound, EachIdFillsItsOwnSlotAndOthersTheFailSlot) {
    CMySound* pSound = CMySound::Get();
    EXPECT_TRUE(pSound->Load("Sound/sound.wav", SOUND_MUSIC));
    EXPECT_TRUE(pSound->Load("Sound/boing.wav", SOUND_BOING));
    EXPECT_TRUE(pSound->Load("Sound/success.wav", SOUND_SUCCESS));
    EXPECT_NE(pSound->m_pMusic, nullptr);
    EXPECT_NE(pSound->m_pBoing, nullptr);
    EXPECT_NE(pSound->m_pSuccess, nullptr);
    EXPECT_EQ(pSound->m_pFail, nullptr);

    EXPECT_TRUE(pSound->Load("Sound/fail.wav", 9));
    EXPECT_NE(pSound->m_pFail, nullptr);
    Mix_FreeChunk(pSound->m_pFail);
    pSound->m_pFail = nullptr;
    EXPECT_TRUE(pSound->Load("Sound/fail.wav", 0));
    EXPECT_NE(pSound->m_pFail, nullptr);
}

TEST_F(Sound, UnknownIdsPlayTheFailEffect) {
    CMySound* pSound = CMySound::Get();
    pSound->Load("Sound/fail.wav", SOUND_FAIL);
    pSound->Play(7);
    pSound->Play(SOUND_FAIL);
    EXPECT_EQ(pSound->PlayCount(SOUND_FAIL), 2);
    EXPECT_EQ(pSound->PlayCount(SOUND_SUCCESS), 0);
    EXPECT_GE(Mix_Playing(-1), 1);
}

TEST_F(Sound, EffectsOverlapOnSeparateChannels) {
    CMySound* pSound = CMySound::Get();
    pSound->Load("Sound/success.wav", SOUND_SUCCESS);
    pSound->Play(SOUND_SUCCESS);
    pSound->Play(SOUND_SUCCESS);
    EXPECT_EQ(Mix_Playing(-1), 2);
}

TEST_F(Sound, MusicLoopsOnceStarted) {
    CMySound* pSound = CMySound::Get();
    pSound->Load("Sound/sound.wav", SOUND_MUSIC);
    pSound->Play(SOUND_MUSIC);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
}

TEST_F(Sound, PlayBeforeAnyLoadDoesNothing) {
    CMySound* pSound = CMySound::Get();
    for (int iId = SOUND_MUSIC; iId <= SOUND_FAIL; ++iId) {
        pSound->Play(iId);
    }
    EXPECT_EQ(Mix_Playing(-1), 0);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
}

TEST(SoundShutdown, StopWithNothingLoadedClosesTheDevice) {
    ASSERT_TRUE(StartFramework());
    int iFrequency = 0;
    Uint16 uFormat = 0;
    int iChannels = 0;
    EXPECT_EQ(Mix_QuerySpec(&iFrequency, &uFormat, &iChannels), 1);
    CMySound::Get()->Stop();
    EXPECT_EQ(Mix_QuerySpec(&iFrequency, &uFormat, &iChannels), 0);
    StopFramework();
}

TEST(SoundFailure, MissingEffectNamesTheFileAndEndsTheProgram) {
    EXPECT_EXIT(
        {
            ASSERT_TRUE(StartFramework());
            CMySound::Get()->Load("Sound/nowhere.wav", SOUND_FAIL);
        },
        testing::ExitedWithCode(1),
        "Konnte Sound-Datei nicht laden!\nFehler: Sound/nowhere.wav\n");
}

TEST(SoundFailure, MissingMusicEndsTheProgram) {
    EXPECT_EXIT(
        {
            ASSERT_TRUE(StartFramework());
            CMySound::Get()->Load("Sound/nowhere.wav", SOUND_MUSIC);
        },
        testing::ExitedWithCode(1),
        "Konnte Sound-Datei nicht laden!\nFehler: Sound/nowhere.wav\n");
}
