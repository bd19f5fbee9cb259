#include "support/TestRuntime.h"

#include <cstdio>
#include <filesystem>
#include <map>

#include <SDL_ttf.h>
#include <unistd.h>

#include "media/CMyFont.h"

std::string EnterFreshRuntimeDir() {
    char szTemplate[] = "/tmp/zentaris-test-XXXXXX";
    const char* pDir = mkdtemp(szTemplate);
    if (pDir == nullptr || chdir(pDir) != 0) {
        std::perror("runtime directory");
        std::abort();
    }
    for (const char* pSub : {"ImgData", "Sound", "fonts"})
        std::filesystem::create_directory_symlink(std::string(ZENTARIS_RUNTIME_DIR) + "/" + pSub,
                                                  pSub);
    std::filesystem::create_directory("score");
    return pDir;
}

bool StartFramework() {
    CFramework::Get()->Init("Zentaris", 800, 600, 32, true);
    return CFramework::Get()->m_pScreen != nullptr && CMyFont::Get()->m_bLoaded;
}

void StopFramework() {
    CFramework::Get()->Quit();
    TSingleton<CFramework>::Del();
}

int Sounding(const Mix_Chunk* pChunk) {
    int iCount = 0;
    for (int i = 0; i < Mix_AllocateChannels(-1); ++i) {
        if (Mix_Playing(i) && Mix_GetChunk(i) == pChunk) {
            ++iCount;
        }
    }
    return iCount;
}

int Rgb(SDL_Surface* pSurface, int x, int y) {
    if (x < 0 || y < 0 || x >= pSurface->w || y >= pSurface->h) {
        return -1;
    }
    Uint32 uPixel = 0;
    const int iBytes = pSurface->format->BytesPerPixel;
    SDL_LockSurface(pSurface);
    SDL_memcpy(&uPixel, static_cast<Uint8*>(pSurface->pixels) + y * pSurface->pitch + x * iBytes,
               iBytes);
    SDL_UnlockSurface(pSurface);
    Uint8 r = 0;
    Uint8 g = 0;
    Uint8 b = 0;
    SDL_GetRGB(uPixel, pSurface->format, &r, &g, &b);
    return r << 16 | g << 8 | b;
}

SDL_Surface* Picture(const std::string& strName) {
    static std::map<std::string, SDL_Surface*> pictures;
    SDL_Surface*& pPicture = pictures[strName];
    if (pPicture == nullptr) {
        pPicture = SDL_LoadBMP(("ImgData/" + strName + ".bmp").c_str());
    }
    return pPicture;
}

int Mismatch(SDL_Surface* pScreen, SDL_Surface* pPicture, const SDL_Rect& area, int x, int y) {
    int iCount = 0;
    for (int dy = 0; dy < area.h; ++dy) {
        for (int dx = 0; dx < area.w; ++dx) {
            const int iWanted = Rgb(pPicture, area.x + dx, area.y + dy);
            const int iShown = Rgb(pScreen, x + dx, y + dy);
            if (iWanted != 0xFF00FF && iShown >= 0 && iShown != iWanted) {
                ++iCount;
            }
        }
    }
    return iCount;
}

int FrameAt(SDL_Surface* pScreen, SDL_Surface* pPicture, int w, int h, int x, int y, int iRows) {
    const int iColumns = pPicture->w / w;
    for (int k = 0; k < iColumns * (pPicture->h / h); ++k) {
        const SDL_Rect frame{k % iColumns * w, k / iColumns * h, w, iRows > 0 ? iRows : h};
        if (Mismatch(pScreen, pPicture, frame, x, y) == 0) {
            return k;
        }
    }
    return -1;
}

// The face as the game renders it, opened anew: a font outlives no shutdown of SDL_ttf.
static TTF_Font* OpenFont(int iSize) {
    TTF_Font* pFont = TTF_OpenFont("fonts/FreeSans.ttf", iSize);
    TTF_SetFontStyle(pFont, TTF_STYLE_BOLD);
    return pFont;
}

SDL_Surface* Blank() {
    return SDL_CreateRGBSurfaceWithFormat(0, 800, 600, 32, SDL_PIXELFORMAT_ARGB8888);
}

void Put(SDL_Surface* pTarget, const std::string& strName, int x, int y, bool bKeyed, Uint8 alpha) {
    SDL_Surface* pPicture = SDL_ConvertSurface(Picture(strName), pTarget->format, 0);
    SDL_SetColorKey(pPicture, bKeyed, SDL_MapRGB(pPicture->format, 255, 0, 255));
    SDL_SetSurfaceBlendMode(pPicture, alpha < 255 ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
    SDL_SetSurfaceAlphaMod(pPicture, alpha);
    SDL_Rect at{x, y, 0, 0};
    SDL_BlitSurface(pPicture, nullptr, pTarget, &at);
    SDL_FreeSurface(pPicture);
}

void Write(SDL_Surface* pTarget, const std::string& strText, int iSize, int x, int y) {
    TTF_Font* pFont = OpenFont(iSize);
    SDL_Surface* pText = TTF_RenderUTF8_Blended(pFont, strText.c_str(), {255, 255, 255, 255});
    SDL_Rect at{x, y, 0, 0};
    SDL_BlitSurface(pText, nullptr, pTarget, &at);
    SDL_FreeSurface(pText);
    TTF_CloseFont(pFont);
}

SDL_Point TextSize(const std::string& strText, int iSize) {
    TTF_Font* pFont = OpenFont(iSize);
    SDL_Point size{0, 0};
    TTF_SizeUTF8(pFont, strText.c_str(), &size.x, &size.y);
    TTF_CloseFont(pFont);
    return size;
}

int TextMismatch(SDL_Surface* pScreen, const std::string& strText, int iSize, int x, int y) {
    SDL_Surface* pWanted = Blank();
    Write(pWanted, strText, iSize, x, y);
    const int iCount = Mismatch(pScreen, pWanted, {0, 0, 800, 600}, 0, 0);
    SDL_FreeSurface(pWanted);
    return iCount;
}

int Lit(SDL_Surface* pSurface, const SDL_Rect& rect) {
    int iCount = 0;
    for (int y = rect.y; y < rect.y + rect.h; ++y) {
        for (int x = rect.x; x < rect.x + rect.w; ++x) {
            iCount += Rgb(pSurface, x, y) > 0 ? 1 : 0;
        }
    }
    return iCount;
}
