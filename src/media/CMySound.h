#pragma once
// Process-wide sound player: the looping music and three effects in fixed slots by id.

#include <string>

#include <SDL.h>
#include <SDL_mixer.h>

#include "framework/TSingleton.h"

enum { SOUND_MUSIC = 1, SOUND_BOING = 2, SOUND_SUCCESS = 3, SOUND_FAIL = 4 };

class CMySound : public TSingleton<CMySound> {
public:
    CMySound();

    bool Init();
    // Does not return after a failure: the program ends with status 1.
    bool Load(const std::string& strFile, int iId);
    void Play(int iId);
    void Stop();

    int m_iFrequency;
    Uint16 m_uFormat;
    int m_iChannels;
    int m_iChunkSize;
    Mix_Music* m_pMusic;
    Mix_Chunk* m_pBoing;
    Mix_Chunk* m_pSuccess;
    Mix_Chunk* m_pFail;

private:
    static int SlotOf(int iId);
    Mix_Chunk** ChunkSlot(int iId);
    [[noreturn]] void FailLoad(const std::string& strFile);
};
