#include "support/TestRuntime.h"

#include "media/CMyFont.h"

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
        iCount += Mix_Playing(i) && Mix_GetChunk(i) == pChunk ? 1 : 0;
    }
    return iCount;
}

int Rgb(SDL_Surface* pSurface, int x, int y) {
    const Uint32 uPixel = static_cast<Uint32*>(pSurface->pixels)[y * pSurface->pitch / 4 + x];
    return static_cast<int>(uPixel & 0xFFFFFF);
}

SDL_Surface* Blank() {
    return SDL_CreateRGBSurfaceWithFormat(0, 800, 600, 32, SDL_PIXELFORMAT_ARGB8888);
}

void Put(SDL_Surface* pTarget, const SAssetGeometry& picture, int iFrame, int x, int y,
         Uint8 alpha) {
    SDL_Surface* pFile = SDL_LoadBMP(picture.pFile);
    SDL_Surface* pPicture = SDL_ConvertSurface(pFile, pTarget->format, 0);
    SDL_SetColorKey(pPicture, picture.bKeyed, SDL_MapRGB(pPicture->format, 255, 0, 255));
    SDL_SetSurfaceBlendMode(pPicture, alpha < 255 ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
    SDL_SetSurfaceAlphaMod(pPicture, alpha);
    const int iColumns = picture.iWidth / picture.iFrameWidth;
    SDL_Rect frame{iFrame % iColumns * picture.iFrameWidth,
                   iFrame / iColumns * picture.iFrameHeight, picture.iFrameWidth,
                   picture.iFrameHeight};
    SDL_Rect at{x, y, 0, 0};
    SDL_BlitSurface(pPicture, iFrame < 0 ? nullptr : &frame, pTarget, &at);
    SDL_FreeSurface(pPicture);
    SDL_FreeSurface(pFile);
}

// The face as the game renders it, opened anew: a font outlives no shutdown of SDL_ttf.
static TTF_Font* OpenFont(int iSize) {
    TTF_Font* pFont = TTF_OpenFont("fonts/FreeSans.ttf", iSize);
    TTF_SetFontStyle(pFont, TTF_STYLE_BOLD);
    return pFont;
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

int Differ(SDL_Surface* pScreen, SDL_Surface* pExpected) {
    int iCount = 0;
    for (int y = 0; y < pScreen->h; ++y) {
        for (int x = 0; x < pScreen->w; ++x) {
            iCount += Rgb(pScreen, x, y) != Rgb(pExpected, x, y) ? 1 : 0;
        }
    }
    SDL_FreeSurface(pExpected);
    return iCount;
}
