#include "support/TestRuntime.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "framework/CFramework.h"
#include "media/CMyFont.h"
#include "media/CMySound.h"

namespace fs = std::filesystem;

std::string EnterFreshRuntimeDir() {
    char szTemplate[] = "/tmp/zentaris-test-XXXXXX";
    const char* pDir = mkdtemp(szTemplate);
    if (pDir == nullptr) {
        std::perror("mkdtemp");
        std::abort();
    }
    const fs::path dir(pDir);
    const fs::path built(ZENTARIS_RUNTIME_DIR);
    for (const char* pSub : {"ImgData", "Sound", "fonts"}) {
        fs::create_directory_symlink(built / pSub, dir / pSub);
    }
    fs::create_directory(dir / "score");
    if (chdir(pDir) != 0) {
        std::perror("chdir");
        std::abort();
    }
    return dir.string();
}

void RemoveTree(const std::string& strPath) {
    std::error_code ec;
    fs::remove_all(strPath, ec);
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

SDL_Color PixelColor(SDL_Surface* pSurface, int x, int y) {
    SDL_Color color{0, 0, 0, 0};
    if (x < 0 || y < 0 || x >= pSurface->w || y >= pSurface->h) {
        return color;
    }
    const Uint8* pRow = static_cast<const Uint8*>(pSurface->pixels) + y * pSurface->pitch;
    Uint32 pixel = 0;
    const int bpp = pSurface->format->BytesPerPixel;
    std::memcpy(&pixel, pRow + x * bpp, bpp);
    SDL_GetRGBA(pixel, pSurface->format, &color.r, &color.g, &color.b, &color.a);
    return color;
}
