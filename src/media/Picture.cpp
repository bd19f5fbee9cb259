#include "media/Picture.h"

namespace {
// BMP compression codes: rows of plain pixels, and the two run-length codings.
const Uint32 BMP_PLAIN = 0;
const Uint32 BMP_RLE8 = 1;
const Uint32 BMP_RLE4 = 2;
// A run-length pair of two bytes draws at most 255 pixels.
const Sint64 RLE_PIXELS_PER_BYTE = 128;

// The size the header claims against the bytes that follow it. SDL makes a surface of the
// claimed size before it reads a pixel, so a forged size would take all memory first.
bool HoldsItsPixels(SDL_RWops* pFile) {
    const Sint64 iSize = SDL_RWsize(pFile);
    SDL_RWseek(pFile, 10, RW_SEEK_SET);
    const Sint64 iPixelsAt = SDL_ReadLE32(pFile);
    const Uint32 uHeaderSize = SDL_ReadLE32(pFile);
    Sint64 iWidth = 0;
    Sint64 iHeight = 0;
    Uint32 uCompression = BMP_PLAIN;
    int iBits = 0;
    if (uHeaderSize == 12) { // the oldest header, with 16-bit sizes
        iWidth = SDL_ReadLE16(pFile);
        iHeight = SDL_ReadLE16(pFile);
        SDL_ReadLE16(pFile); // planes
        iBits = SDL_ReadLE16(pFile);
    } else {
        iWidth = static_cast<Sint32>(SDL_ReadLE32(pFile));
        iHeight = static_cast<Sint32>(SDL_ReadLE32(pFile));
        SDL_ReadLE16(pFile); // planes
        iBits = SDL_ReadLE16(pFile);
        uCompression = SDL_ReadLE32(pFile);
    }
    SDL_RWseek(pFile, 0, RW_SEEK_SET);
    iHeight = iHeight < 0 ? -iHeight : iHeight; // negative: rows stored from the top
    const Sint64 iData = iSize - iPixelsAt;
    if (uCompression == BMP_RLE8 || uCompression == BMP_RLE4) {
        return iWidth * iHeight <= iData * RLE_PIXELS_PER_BYTE;
    }
    const Sint64 iRowBytes = (iWidth * iBits + 31) / 32 * 4;
    return iRowBytes * iHeight <= iData;
}
} // namespace

SDL_Surface* LoadPicture(const char* pFile) {
    SDL_RWops* pRw = SDL_RWFromFile(pFile, "rb");
    if (pRw != nullptr && !HoldsItsPixels(pRw)) {
        SDL_RWclose(pRw);
        SDL_SetError("%s holds fewer pixels than its header claims", pFile);
        return nullptr;
    }
    return SDL_LoadBMP_RW(pRw, 1);
}

SDL_Surface* ToScreenFormat(SDL_Surface* pSurface, const SDL_Surface* pScreen) {
    if (pSurface == nullptr || pScreen == nullptr) {
        return pSurface;
    }
    if (pSurface->format->format != pScreen->format->format) {
        SDL_Surface* pConverted = SDL_ConvertSurfaceFormat(pSurface, pScreen->format->format, 0);
        if (pConverted != nullptr) {
            SDL_FreeSurface(pSurface);
            pSurface = pConverted;
        }
    }
    SDL_SetSurfaceBlendMode(pSurface, SDL_BLENDMODE_NONE);
    return pSurface;
}
