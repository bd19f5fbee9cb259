#include "support/TestRuntime.h"

#include <cstring>

bool StartFramework() {
    CFramework::Get()->Init("Zentaris", 800, 600, 32, true);
    return CFramework::Get()->m_pScreen != nullptr && CMyFont::Get()->m_bLoaded;
}

void StopFramework() {
    CFramework::Get()->Quit();
    TSingleton<CFramework>::Del();
}

SDL_Color PixelColor(SDL_Surface* p, int x, int y) {
    SDL_Color c{0, 0, 0, 0};
    Uint32 uPixel = 0;
    if (x >= 0 && y >= 0 && x < p->w && y < p->h) {
        const int n = p->format->BytesPerPixel;
        std::memcpy(&uPixel, static_cast<Uint8*>(p->pixels) + y * p->pitch + x * n, n);
        SDL_GetRGBA(uPixel, p->format, &c.r, &c.g, &c.b, &c.a);
    }
    return c;
}

void FillPicture(SDL_Surface* pSurface, const SDL_Rect* pRect, SDL_Color c) {
    // A keyed picture keeps only its runs: locked, it has its pixels back, and unlocked its runs
    // are made again from them.
    SDL_LockSurface(pSurface);
    SDL_FillRect(pSurface, pRect, SDL_MapRGB(pSurface->format, c.r, c.g, c.b));
    SDL_UnlockSurface(pSurface);
}

void Repaint(CSprite* pSprite) {
    if (pSprite->m_pImage != nullptr) {
        FillPicture(pSprite->m_pImage, nullptr, Shade(0));
    }
    for (const CSprite::SPiece& piece : pSprite->m_Pieces) {
        FillPicture(piece.pSurface, nullptr, Shade(0));
    }
    for (std::size_t k = 0; k < pSprite->m_Frames.size(); ++k) {
        FillPicture(pSprite->m_Frames[k], nullptr, Shade(static_cast<int>(k)));
    }
}

int ShadeAt(SDL_Surface* pSurface, const SDL_Rect& r) {
    // How many of the four corners, moved iOut pixels diagonally outwards, show the colour.
    const auto Corners = [&](int iOut, SDL_Color c) {
        int n = 0;
        for (int dx = 0; dx < 2; ++dx)
            for (int dy = 0; dy < 2; ++dy)
                n += SameColor(PixelColor(pSurface, r.x + dx * (r.w - 1) + iOut * (2 * dx - 1),
                                          r.y + dy * (r.h - 1) + iOut * (2 * dy - 1)),
                               c);
        return n;
    };
    for (int k = 0; k < 20; ++k)
        if (Corners(0, Shade(k)) == 4)
            return Corners(1, Shade(k)) == 0 ? k : -1;
    return -1;
}

void DrawText(SDL_Surface* pSurface, TTF_Font* pFont, const std::string& strText, int x, int y) {
    TTF_SetFontStyle(pFont, TTF_STYLE_BOLD);
    SDL_Surface* pText = TTF_RenderUTF8_Blended(pFont, strText.c_str(), {255, 255, 255, 255});
    SDL_Rect dest{x, y, 0, 0};
    SDL_BlitSurface(pText, nullptr, pSurface, &dest);
    SDL_FreeSurface(pText);
}
