#include "media/CMySound.h"

#include <cstdio>
#include <cstdlib>

#include "framework/CFramework.h"

namespace {
const char* const BOX_TITLE = "Datei fehlt";
const std::size_t MESSAGE_SIZE = 1024;

// The mixer's music reader trusts the data chunk's length: a music file cut short would play
// what is left and say nothing. (SDL's own reader checks the effects, see Init.) A length of
// 0xFFFFFFFF, written by streaming tools, means "up to the end of the file".
bool IsMusicCutShort(const std::string& strFile) {
    SDL_RWops* pFile = SDL_RWFromFile(strFile.c_str(), "rb");
    if (pFile == nullptr) {
        return false; // the loader reports it
    }
    const Sint64 iSize = SDL_RWsize(pFile);
    // Chunks follow the 12-byte header: a tag, a 32-bit length, the body padded to even length.
    Sint64 iChunk = 12;
    char szTag[4] = {0, 0, 0, 0};
    bool bCut = false;
    while (iChunk + 8 <= iSize && SDL_RWseek(pFile, iChunk, RW_SEEK_SET) == iChunk &&
           SDL_RWread(pFile, szTag, 1, 4) == 4) {
        const Sint64 iLength = SDL_ReadLE32(pFile);
        if (SDL_memcmp(szTag, "data", 4) == 0) {
            bCut = iLength != 0xFFFFFFFF && iChunk + 8 + iLength > iSize;
            break;
        }
        iChunk += 8 + iLength + (iLength & 1);
    }
    SDL_RWclose(pFile);
    return bCut;
}

void ShowBox(const char* pText) {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, BOX_TITLE, pText, CFramework::Get()->m_pWindow);
}
} // namespace

CMySound::CMySound()
    : m_iFrequency(44100), m_uFormat(AUDIO_S16LSB), m_iChannels(2), m_iChunkSize(4096),
      m_pMusic(nullptr), m_pBoing(nullptr), m_pSuccess(nullptr), m_pFail(nullptr) {}

int CMySound::SlotOf(int iId) {
    return (iId == SOUND_MUSIC || iId == SOUND_BOING || iId == SOUND_SUCCESS) ? iId : SOUND_FAIL;
}

Mix_Chunk** CMySound::ChunkSlot(int iId) {
    switch (SlotOf(iId)) {
    case SOUND_BOING:
        return &m_pBoing;
    case SOUND_SUCCESS:
        return &m_pSuccess;
    default:
        return &m_pFail;
    }
}

bool CMySound::Init() {
    // An effect whose data chunk reaches past the end of its file was cut short: SDL refuses it
    // instead of playing what is left.
    SDL_SetHint(SDL_HINT_WAVE_TRUNCATION, "strict");
    if (Mix_OpenAudio(m_iFrequency, m_uFormat, m_iChannels, m_iChunkSize) == -1) {
        // Kept before the box is shown: showing it may set an error of its own.
        char szError[MESSAGE_SIZE];
        SDL_strlcpy(szError, SDL_GetError(), sizeof(szError));
        char szText[MESSAGE_SIZE];
        SDL_snprintf(szText, sizeof(szText), "Konnte SDL_mixer nicht starten!\nFehler: %s",
                     szError);
        ShowBox(szText);
        std::fprintf(stderr, "Konnte SDL_mixer nicht starten! Fehler: %s\n", szError);
        std::fflush(stderr);
        return false;
    }
    return true;
}

void CMySound::FailLoad(const std::string& strFile) {
    char szText[MESSAGE_SIZE];
    SDL_snprintf(szText, sizeof(szText), "Konnte Sound-Datei nicht laden!\nFehler: %s",
                 strFile.c_str());
    ShowBox(szText);
    std::fprintf(stderr, "%s\n", szText);
    std::fflush(stderr);
    CFramework::Get()->Quit();
    std::exit(1);
}

bool CMySound::Load(const std::string& strFile, int iId) {
    if (SlotOf(iId) == SOUND_MUSIC) {
        m_pMusic = Mix_LoadMUS(strFile.c_str());
        if (m_pMusic == nullptr || IsMusicCutShort(strFile)) {
            FailLoad(strFile);
        }
        return true;
    }
    Mix_Chunk** ppSlot = ChunkSlot(iId);
    *ppSlot = Mix_LoadWAV_RW(SDL_RWFromFile(strFile.c_str(), "rb"), 1);
    if (*ppSlot == nullptr) {
        FailLoad(strFile);
    }
    return true;
}

void CMySound::Play(int iId) {
    if (SlotOf(iId) == SOUND_MUSIC) {
        if (m_pMusic != nullptr) {
            Mix_PlayMusic(m_pMusic, -1);
        }
        return;
    }
    Mix_Chunk* pChunk = *ChunkSlot(iId);
    if (pChunk != nullptr) {
        Mix_PlayChannelTimed(-1, pChunk, 0, -1);
    }
}

void CMySound::Stop() {
    Mix_HaltMusic();
    Mix_FreeMusic(m_pMusic);
    Mix_FreeChunk(m_pBoing);
    Mix_FreeChunk(m_pSuccess);
    Mix_FreeChunk(m_pFail);
    Mix_CloseAudio();
    Mix_Quit();
}
