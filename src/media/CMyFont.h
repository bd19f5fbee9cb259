#pragma once
// Process-wide owner of SDL_ttf and the game's one typeface, opened at 12 and 18 points.

#include <string>

#include <SDL_ttf.h>

#include "framework/TSingleton.h"

class CMyFont : public TSingleton<CMyFont> {
public:
    CMyFont();

    bool Init();
    // Does not return after a failure: the program ends with status 1.
    bool Load(const std::string& strFile);
    void CloseFont();
    void Quit();

    TTF_Font* m_pFontSmall;
    TTF_Font* m_pFontLarge;
    int m_iSizeSmall;
    int m_iSizeLarge;
    bool m_bLoaded;
};
