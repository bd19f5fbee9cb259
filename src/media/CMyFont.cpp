#include "media/CMyFont.h"

#include <cstdlib>

#include <SDL.h>

#include "framework/CFramework.h"
#include "framework/CMyError.h"

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

void CMyFont::Quit() { TTF_Quit(); }
