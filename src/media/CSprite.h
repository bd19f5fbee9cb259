#pragma once
// A bitmap drawn whole or as frame n of an equal-sized sheet onto the framework's screen surface.

#include <string>

#include <SDL.h>

struct SAssetGeometry;

class CSprite {
public:
    CSprite();
    ~CSprite();
    CSprite(const CSprite&) = delete;
    CSprite& operator=(const CSprite&) = delete;

    // None returns after a failure: the program ends with status 1.
    void Load(const std::string& strFile);
    void Load(const std::string& strFile, int iNumFrames, int iFrameWidth, int iFrameHeight);
    // A picture of the asset manifest, in the frames it gives, keyed on magenta when it says so.
    void Load(const SAssetGeometry& picture);

    // Reports a bitmap that cannot be loaded and ends the program with status 1.
    [[noreturn]] static void FailLoad(const std::string& strFile);

    void SetColorKey(int r, int g, int b);
    void SetPos(float fXPos, float fYPos);
    void Render();
    void Render(float fFrameNumber);
    void SetAlpha(Uint8 alpha);

    SDL_Surface* m_pScreen;
    SDL_Surface* m_pImage;
    SDL_Rect m_Rect;
    SDL_Rect m_FrameRect;
    int m_iNumFrames;
    int m_iFrameWidth;
    int m_iFrameHeight;
    int m_iNumFramesX;
};
