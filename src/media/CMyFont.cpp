#include "media/CMyFont.h"

#include <cstdlib>

#include <SDL.h>

#include "framework/CFramework.h"
#include "framework/CMyError.h"

namespace {
// FreeType opens a font file cut short without complaint and then draws every glyph it lost as
// nothing. A TrueType file lists its tables with offset and length: all must lie in the file.
bool IsCutShort(const std::string& strFile) {
    SDL_RWops* pFile = SDL_RWFromFile(strFile.c_str(), "rb");
    if (pFile == nullptr) {
        return false; // TTF_OpenFont reports it
    }
    const Sint64 iSize = SDL_RWsize(pFile);
    bool bCut = false;
    SDL_RWseek(pFile, 4, RW_SEEK_SET);
    const int iTables = SDL_ReadBE16(pFile);
    for (int i = 0; i < iTables && !bCut; ++i) {
        SDL_RWseek(pFile, 12 + 16 * i + 8, RW_SEEK_SET);
        const Sint64 iOffset = SDL_ReadBE32(pFile);
        const Sint64 iLength = SDL_ReadBE32(pFile);
        bCut = iOffset + iLength > iSize;
    }
    SDL_RWclose(pFile);
    return bCut;
}
} // namespace

CMyFont::CMyFont()
    : m_pFontSmall(nullptr), m_pFontLarge(nullptr), m_iSizeSmall(12), m_iSizeLarge(18),
      m_bLoaded(false) {}

bool CMyFont::Init() {
    if (TTF_Init() == -1) {
        CMyError::PrintError("Konnte SDL_ttf nicht initialisieren!", SDL_GetError(), false);
        return false;
    }
    return true;
}

bool CMyFont::Load(const std::string& strFile) {
    m_pFontSmall = TTF_OpenFont(strFile.c_str(), m_iSizeSmall);
    m_pFontLarge = TTF_OpenFont(strFile.c_str(), m_iSizeLarge);
    if (m_pFontSmall != nullptr && IsCutShort(strFile)) {
        SDL_SetError("font file %s is cut short", strFile.c_str());
        TTF_CloseFont(m_pFontSmall);
        m_pFontSmall = nullptr;
    }
    if (m_pFontSmall == nullptr || m_pFontLarge == nullptr) {
        CMyError::PrintError("Konnte Schriftart nicht laden!", SDL_GetError(), false);
        CFramework::Get()->Quit();
        std::exit(1);
    }
    m_bLoaded = true;
    return true;
}

void CMyFont::CloseFont() {
    if (m_pFontSmall != nullptr) {
        TTF_CloseFont(m_pFontSmall);
        m_pFontSmall = nullptr;
    }
    if (m_pFontLarge != nullptr) {
        TTF_CloseFont(m_pFontLarge);
        m_pFontLarge = nullptr;
    }
}

void CMyFont::Quit() {
    TTF_Quit();
}
