#include "media/CSprite.h"

#include <cstdlib>

#include "AssetGeometry.h"
#include "framework/CFramework.h"
#include "framework/CMyError.h"
#include "media/Picture.h"

CSprite::CSprite()
    : m_pScreen(CFramework::Get()->m_pScreen),
      m_pImage(nullptr), m_Rect{0, 0, 0, 0}, m_FrameRect{0, 0, 0, 0}, m_iNumFrames(0),
      m_iFrameWidth(0), m_iFrameHeight(0), m_iNumFramesX(0) {}

CSprite::~CSprite() {
    SDL_FreeSurface(m_pImage);
}

void CSprite::Load(const std::string& strFile) {
    SDL_Surface* pLoaded = LoadPicture(strFile.c_str());
    if (pLoaded == nullptr) {
        FailLoad(strFile);
    }
    // Converted once here, so that drawing is a plain copy instead of a conversion per pixel.
    m_pImage = ToScreenFormat(pLoaded, m_pScreen);
    m_Rect = SDL_Rect{0, 0, m_pImage->w, m_pImage->h};
}

void CSprite::Load(const std::string& strFile, int iNumFrames, int iFrameWidth, int iFrameHeight) {
    Load(strFile);
    m_iNumFrames = iNumFrames;
    m_iFrameWidth = iFrameWidth;
    m_FrameRect.w = iFrameWidth;
    m_iFrameHeight = iFrameHeight;
    m_FrameRect.h = iFrameHeight;
    m_iNumFramesX = iFrameWidth > 0 ? m_pImage->w / iFrameWidth : 0;
}

void CSprite::Load(const SAssetGeometry& picture) {
    Load(picture.pFile, picture.iFrames, picture.iFrameWidth, picture.iFrameHeight);
    if (picture.bKeyed) {
        SetColorKey(255, 0, 255);
    }
}

void CSprite::FailLoad(const std::string& strFile) {
    char szText[CMyError::BUFFER_SIZE];
    SDL_snprintf(szText, sizeof(szText), "Fehler beim Laden der Bitmap: %s", strFile.c_str());
    CMyError::PrintError(szText, SDL_GetError(), false);
    CFramework::Get()->Quit();
    std::exit(1);
}

void CSprite::SetColorKey(int r, int g, int b) {
    const Uint32 key = SDL_MapRGB(m_pImage->format, static_cast<Uint8>(r & 0xFF),
                                  static_cast<Uint8>(g & 0xFF), static_cast<Uint8>(b & 0xFF));
    SDL_SetColorKey(m_pImage, SDL_TRUE, key);
    // Keyed and in the screen's format: SDL draws it from runs of the pixels that show.
    SDL_SetSurfaceRLE(m_pImage, 1);
}

void CSprite::SetPos(float fXPos, float fYPos) {
    m_Rect.x = static_cast<int>(fXPos);
    m_Rect.y = static_cast<int>(fYPos);
}

void CSprite::Render() {
    SDL_UpperBlit(m_pImage, nullptr, m_pScreen, &m_Rect);
}

void CSprite::Render(float fFrameNumber) {
    // A sheet without a whole column has no frame to show.
    if (m_iNumFramesX <= 0) {
        return;
    }
    const int n = static_cast<int>(fFrameNumber);
    m_FrameRect.x = (n % m_iNumFramesX) * m_iFrameWidth;
    m_FrameRect.y = (n / m_iNumFramesX) * m_iFrameHeight;
    SDL_UpperBlit(m_pImage, &m_FrameRect, m_pScreen, &m_Rect);
}

void CSprite::SetAlpha(Uint8 alpha) {
    SDL_SetSurfaceBlendMode(m_pImage, SDL_BLENDMODE_BLEND);
    SDL_SetSurfaceAlphaMod(m_pImage, alpha);
}
