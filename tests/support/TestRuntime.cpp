#include "support/TestRuntime.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <unistd.h>

#include "framework/CFramework.h"
#include "framework/CTimer.h"
#include "media/CMyFont.h"
#include "media/CMySound.h"
#include "media/CSprite.h"

namespace fs = std::filesystem;

std::string EnterFreshRuntimeDir() {
    char szTemplate[] = "/tmp/zentaris-test-XXXXXX";
    const char* pDir = mkdtemp(szTemplate);
    if (pDir == nullptr || chdir(pDir) != 0) {
        std::perror("runtime directory");
        std::abort();
    }
    for (const char* pSub : {"ImgData", "Sound", "fonts"})
        fs::create_directory_symlink(fs::path(ZENTARIS_RUNTIME_DIR) / pSub, pSub);
    fs::create_directory("score");
    return pDir;
}

bool StartFramework() {
    CFramework::Get()->Init("Zentaris", 800, 600, 32, true);
    CFramework* pFramework = CFramework::Get();
    return pFramework->m_pScreen != nullptr && pFramework->m_pScreenTexture != nullptr &&
           CMySound::Get()->m_iFrequency > 0 && CMyFont::Get()->m_bLoaded;
}

void StopFramework() {
    CFramework::Get()->Quit();
    TSingleton<CFramework>::Del();
}

void Tick(float fSeconds) {
    CTimer::Get()->m_fElapsed = fSeconds;
}

int Sounding(const Mix_Chunk* pChunk) {
    int iCount = 0;
    for (int i = 0; i < Mix_AllocateChannels(-1); ++i)
        iCount += Mix_Playing(i) && Mix_GetChunk(i) == pChunk ? 1 : 0;
    return iCount;
}

SDL_Color PixelColor(SDL_Surface* pSurface, int x, int y) {
    SDL_Color color{0, 0, 0, 0};
    Uint32 uPixel = 0;
    if (x >= 0 && y >= 0 && x < pSurface->w && y < pSurface->h) {
        const int iBytes = pSurface->format->BytesPerPixel;
        std::memcpy(&uPixel,
                    static_cast<Uint8*>(pSurface->pixels) + y * pSurface->pitch + x * iBytes,
                    iBytes);
        SDL_GetRGBA(uPixel, pSurface->format, &color.r, &color.g, &color.b, &color.a);
    }
    return color;
}

bool SameColor(SDL_Color a, SDL_Color b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

SDL_Color Shade(int k) {
    return SDL_Color{Uint8(37 * k), 90, Uint8(255 - 37 * k), 255};
}

void Repaint(CSprite* pSprite) {
    SDL_Surface* pImage = pSprite->m_pImage;
    const int w = pSprite->m_iFrameWidth > 0 ? pSprite->m_iFrameWidth : pImage->w;
    for (SDL_Rect frame{0, 0, w, pImage->h}; frame.x < pImage->w; frame.x += w) {
        const SDL_Color c = Shade(frame.x / w);
        SDL_FillRect(pImage, &frame, SDL_MapRGB(pImage->format, c.r, c.g, c.b));
    }
}

int ShadeAt(SDL_Surface* pSurface, const SDL_Rect& r) {
    const auto Corners = [&](int iOut, SDL_Color c) { // how many of the four show the colour
        int n = 0;
        for (int i = 0; i < 4; ++i) {
            const int dx = i % 2, dy = i / 2;
            n += SameColor(PixelColor(pSurface, r.x + dx * (r.w - 1) + iOut * (2 * dx - 1),
                                      r.y + dy * (r.h - 1) + iOut * (2 * dy - 1)),
                           c);
        }
        return n;
    };
    for (int k = 0; k < 20; ++k)
        if (Corners(0, Shade(k)) == 4)
            return Corners(1, Shade(k)) == 0 ? k : -1;
    return -1;
}

SDL_Surface* NewScreen() {
    return SDL_CreateRGBSurfaceWithFormat(0, 800, 600, 32, SDL_PIXELFORMAT_ARGB8888);
}

void DrawText(SDL_Surface* pSurface, TTF_Font* pFont, const std::string& strText, int x, int y) {
    TTF_SetFontStyle(pFont, TTF_STYLE_BOLD);
    SDL_Surface* pText = TTF_RenderUTF8_Blended(pFont, strText.c_str(), {255, 255, 255, 255});
    SDL_Rect dest{x, y, 0, 0};
    SDL_BlitSurface(pText, nullptr, pSurface, &dest);
    SDL_FreeSurface(pText);
}

int DiffPixels(SDL_Surface* pA, SDL_Surface* pB, const SDL_Rect& rect) {
    int iCount = 0;
    for (int y = rect.y; y < rect.y + rect.h; ++y)
        for (int x = rect.x; x < rect.x + rect.w; ++x)
            iCount += SameColor(PixelColor(pA, x, y), PixelColor(pB, x, y)) ? 0 : 1;
    return iCount;
}
