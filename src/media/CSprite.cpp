#include "media/CSprite.h"

#include <cstdlib>
#include <vector>

#include "AssetGeometry.h"
#include "framework/CFramework.h"
#include "framework/CMyError.h"

namespace {
Uint32 ReadLE32(const Uint8* pBytes) {
    return static_cast<Uint32>(pBytes[0]) | static_cast<Uint32>(pBytes[1]) << 8 |
           static_cast<Uint32>(pBytes[2]) << 16 | static_cast<Uint32>(pBytes[3]) << 24;
}

// Reads an uncompressed 24-bit BMP (what the game's pictures are) straight into an opaque
// surface of a 32-bit format, so no 24-bit copy is made and thrown away. Returns null for any
// other kind of file, or a short one; SDL's own loader then reads it.
SDL_Surface* ReadPlainBmp(SDL_RWops* pRw, const SDL_PixelFormat* pF) {
    Uint8 head[54];
    // Eight bits a channel: the screen's 32-bit formats.
    if (pF->BytesPerPixel != 4 || pF->Rloss != 0 || pF->Gloss != 0 || pF->Bloss != 0 ||
        SDL_RWread(pRw, head, sizeof(head), 1) != 1 || head[0] != 'B' || head[1] != 'M') {
        return nullptr;
    }
    const Sint32 w = static_cast<Sint32>(ReadLE32(head + 18));
    const Sint32 iRawHeight = static_cast<Sint32>(ReadLE32(head + 22));
    const int iBits = head[28] | head[29] << 8;
    if (ReadLE32(head + 14) < 40 || w <= 0 || w > 65535 || iRawHeight == 0 || iRawHeight < -65535 ||
        iRawHeight > 65535 || iBits != 24 || ReadLE32(head + 30) != 0 ||
        SDL_RWseek(pRw, ReadLE32(head + 10), RW_SEEK_SET) < 0) {
        return nullptr;
    }
    const int h = iRawHeight < 0 ? -iRawHeight : iRawHeight; // negative: rows top to bottom
    SDL_Surface* pImage = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, pF->format);
    if (pImage == nullptr) {
        return nullptr;
    }
    // The format's fields in locals: the loop writes through a Uint32 pointer, which the
    // compiler cannot prove leaves them alone.
    const int iR = pF->Rshift;
    const int iG = pF->Gshift;
    const int iB = pF->Bshift;
    const Uint32 uAlpha = pF->Amask;
    std::vector<Uint8> row(static_cast<std::size_t>((w * 3 + 3) & ~3));
    for (int i = 0; i < h; ++i) {
        if (SDL_RWread(pRw, row.data(), row.size(), 1) != 1) {
            SDL_FreeSurface(pImage);
            return nullptr;
        }
        const int y = iRawHeight < 0 ? i : h - 1 - i;
        Uint32* pOut =
            reinterpret_cast<Uint32*>(static_cast<Uint8*>(pImage->pixels) + y * pImage->pitch);
        const Uint8* pIn = row.data(); // blue, green, red
        for (int x = 0; x < w; ++x, pIn += 3) {
            pOut[x] = static_cast<Uint32>(pIn[2]) << iR | static_cast<Uint32>(pIn[1]) << iG |
                      static_cast<Uint32>(pIn[0]) << iB | uAlpha;
        }
    }
    SDL_SetSurfaceBlendMode(pImage, SDL_BLENDMODE_NONE);
    return pImage;
}

// A copy of a rectangle of the surface, in its format; null when there is no memory for it.
SDL_Surface* CopyRect(const SDL_Surface* pFrom, const SDL_Rect& rect) {
    SDL_Surface* pTo = SDL_CreateRGBSurfaceWithFormat(
        0, rect.w, rect.h, pFrom->format->BitsPerPixel, pFrom->format->format);
    if (pTo == nullptr) {
        return nullptr;
    }
    const int iBytes = pFrom->format->BytesPerPixel;
    const Uint8* pRow =
        static_cast<const Uint8*>(pFrom->pixels) + rect.y * pFrom->pitch + rect.x * iBytes;
    for (int i = 0; i < rect.h; ++i) {
        SDL_memcpy(static_cast<Uint8*>(pTo->pixels) + i * pTo->pitch, pRow + i * pFrom->pitch,
                   static_cast<std::size_t>(rect.w * iBytes));
    }
    return pTo;
}

// Side of the square tiles a translucent picture is looked at in.
const int PIECE_TILE = 16;

// The rectangles of a 32-bit picture that hold all its pixels other than the key. Row by row of
// tiles, the runs of tiles holding such a pixel are joined; a run that matches a rectangle ending
// in the row of tiles above lengthens that rectangle instead.
std::vector<SDL_Rect> ShownRects(const SDL_Surface* pSurface, Uint32 uKey) {
    const Uint32 uMask = ~pSurface->format->Amask;
    const int iColumns = (pSurface->w + PIECE_TILE - 1) / PIECE_TILE;
    std::vector<SDL_Rect> rects;
    std::vector<std::size_t> open; // rectangles that reach the row of tiles above
    for (int y0 = 0; y0 < pSurface->h; y0 += PIECE_TILE) {
        const int h = SDL_min(PIECE_TILE, pSurface->h - y0);
        std::vector<bool> shown(static_cast<std::size_t>(iColumns), false);
        for (int y = y0; y < y0 + h; ++y) {
            const Uint32* pRow = reinterpret_cast<const Uint32*>(
                static_cast<const Uint8*>(pSurface->pixels) + y * pSurface->pitch);
            for (int x = 0; x < pSurface->w; ++x) {
                if ((pRow[x] & uMask) != (uKey & uMask)) {
                    shown[static_cast<std::size_t>(x / PIECE_TILE)] = true;
                }
            }
        }
        std::vector<std::size_t> reaching;
        for (int c = 0; c < iColumns;) {
            int e = c;
            while (e < iColumns && shown[static_cast<std::size_t>(e)]) {
                ++e;
            }
            if (e == c) {
                ++c;
                continue;
            }
            const SDL_Rect run{c * PIECE_TILE, y0,
                               SDL_min(e * PIECE_TILE, pSurface->w) - c * PIECE_TILE, h};
            std::size_t k = 0;
            while (k < open.size() && (rects[open[k]].x != run.x || rects[open[k]].w != run.w)) {
                ++k;
            }
            if (k < open.size()) {
                rects[open[k]].h += h;
                reaching.push_back(open[k]);
            } else {
                rects.push_back(run);
                reaching.push_back(rects.size() - 1);
            }
            c = e;
        }
        open = reaching;
    }
    return rects;
}
} // namespace

CSprite::CSprite()
    : m_pScreen(CFramework::Get()->m_pScreen),
      m_pImage(nullptr), m_Rect{0, 0, 0, 0}, m_FrameRect{0, 0, 0, 0}, m_iNumFrames(0),
      m_iFrameWidth(0), m_iFrameHeight(0), m_iNumFramesX(0) {}

CSprite::~CSprite() {
    FreeFrames();
    FreePieces();
    SDL_FreeSurface(m_pImage);
}

void CSprite::Load(const std::string& strFile) {
    if (!TryLoad(strFile)) {
        FailLoad(strFile);
    }
}

bool CSprite::TryLoad(const std::string& strFile) {
    // Converted once here, so that drawing is a plain copy instead of a conversion per pixel.
    SDL_RWops* pRw = SDL_RWFromFile(strFile.c_str(), "rb");
    m_pImage = pRw && m_pScreen ? ReadPlainBmp(pRw, m_pScreen->format) : nullptr;
    if (m_pImage != nullptr) {
        SDL_RWclose(pRw);
    } else {
        if (pRw != nullptr) {
            SDL_RWseek(pRw, 0, RW_SEEK_SET);
        }
        SDL_Surface* pLoaded = SDL_LoadBMP_RW(pRw, 1);
        if (pLoaded == nullptr) {
            return false;
        }
        m_pImage = ToScreenFormat(pLoaded, m_pScreen, true);
    }
    m_Rect = SDL_Rect{0, 0, m_pImage->w, m_pImage->h};
    return true;
}

SDL_Surface* CSprite::ToScreenFormat(SDL_Surface* pSurface, const SDL_Surface* pScreen,
                                     bool bWithAlpha) {
    if (pScreen == nullptr) {
        return pSurface;
    }
    const SDL_PixelFormat* pF = pScreen->format;
    const Uint32 uFormat = bWithAlpha ? pF->format
                                      : SDL_MasksToPixelFormatEnum(pF->BitsPerPixel, pF->Rmask,
                                                                   pF->Gmask, pF->Bmask, 0);
    // The key is carried over by its colour, and the conversion itself copies every pixel.
    Uint32 uKey = 0;
    const bool bKeyed = SDL_GetColorKey(pSurface, &uKey) == 0;
    SDL_Color key{0, 0, 0, 0};
    SDL_GetRGB(uKey, pSurface->format, &key.r, &key.g, &key.b);
    SDL_Surface* pConverted = pSurface;
    if (pSurface->format->format != uFormat) {
        SDL_SetColorKey(pSurface, SDL_FALSE, 0);
        pConverted = SDL_ConvertSurfaceFormat(pSurface, uFormat, 0);
        if (pConverted == nullptr) {
            pConverted = pSurface; // still drawable, only slower
        } else {
            SDL_FreeSurface(pSurface);
        }
    }
    if (bKeyed) {
        SDL_SetColorKey(pConverted, SDL_TRUE, SDL_MapRGB(pConverted->format, key.r, key.g, key.b));
    }
    // The pictures are opaque: an alpha byte in the format must not make them blend.
    SDL_SetSurfaceBlendMode(pConverted, SDL_BLENDMODE_NONE);
    return pConverted;
}

void CSprite::FailLoad(const std::string& strFile) {
    char szText[CMyError::BUFFER_SIZE];
    SDL_snprintf(szText, sizeof(szText), "Fehler beim Laden der Bitmap: %s", strFile.c_str());
    CMyError::PrintError(szText, SDL_GetError(), false);
    CFramework::Get()->Quit();
    std::exit(1);
}

void CSprite::Load(const std::string& strFile, int iNumFrames, int iFrameWidth, int iFrameHeight) {
    if (!TryLoad(strFile, iNumFrames, iFrameWidth, iFrameHeight)) {
        FailLoad(strFile);
    }
}

bool CSprite::TryLoad(const std::string& strFile, int iNumFrames, int iFrameWidth,
                      int iFrameHeight) {
    return TryLoadSheet(strFile, iNumFrames, iFrameWidth, iFrameHeight, false);
}

void CSprite::Load(const SAssetGeometry& picture) {
    if (!TryLoad(picture)) {
        FailLoad(picture.pFile);
    }
}

bool CSprite::TryLoad(const SAssetGeometry& picture) {
    return TryLoadSheet(picture.pFile, picture.iFrames, picture.iFrameWidth, picture.iFrameHeight,
                        picture.bKeyed);
}

bool CSprite::TryLoadSheet(const std::string& strFile, int iNumFrames, int iFrameWidth,
                           int iFrameHeight, bool bKeyed) {
    if (!TryLoad(strFile)) {
        return false;
    }
    m_iNumFrames = iNumFrames;
    m_iFrameWidth = iFrameWidth;
    m_FrameRect.w = iFrameWidth;
    m_iFrameHeight = iFrameHeight;
    m_FrameRect.h = iFrameHeight;
    m_iNumFramesX = iFrameWidth > 0 ? m_pImage->w / iFrameWidth : 0;
    // Keyed before it is cut, so each frame is keyed and its runs made as it is cut.
    if (bKeyed) {
        SDL_SetColorKey(m_pImage, SDL_TRUE, SDL_MapRGB(m_pImage->format, 255, 0, 255));
    }
    CutFrames();
    if (bKeyed && m_Frames.empty()) {
        SetColorKey(255, 0, 255);
    }
    return true;
}

void CSprite::CutFrames() {
    FreeFrames();
    if (m_pImage == nullptr || m_iNumFramesX <= 0 || m_iFrameHeight <= 0) {
        return;
    }
    const int iRows = (m_pImage->h + m_iFrameHeight - 1) / m_iFrameHeight;
    if (m_iNumFramesX * iRows < 2) {
        return; // one frame: the image itself is the frame
    }
    Uint32 uKey = 0;
    const bool bKeyed = SDL_GetColorKey(m_pImage, &uKey) == 0;
    for (int iRow = 0; iRow < iRows; ++iRow) {
        for (int iColumn = 0; iColumn < m_iNumFramesX; ++iColumn) {
            // A frame cut by the sheet's lower edge keeps only what lies on the sheet.
            const int y = iRow * m_iFrameHeight;
            const int h = SDL_min(m_iFrameHeight, m_pImage->h - y);
            SDL_Surface* pFrame =
                CopyRect(m_pImage, SDL_Rect{iColumn * m_iFrameWidth, y, m_iFrameWidth, h});
            if (pFrame == nullptr) {
                FreeFrames(); // drawn from the sheet instead
                return;
            }
            SDL_SetSurfaceBlendMode(pFrame, SDL_BLENDMODE_NONE);
            if (bKeyed) {
                SDL_SetColorKey(pFrame, SDL_TRUE, uKey);
                SDL_SetSurfaceRLE(pFrame, 1);
                EncodeForScreen(pFrame);
            }
            m_Frames.push_back(pFrame);
        }
    }
    // Every pixel drawn now lies in a frame: the sheet is let go.
    SDL_FreeSurface(m_pImage);
    m_pImage = nullptr;
}

std::vector<SDL_Surface*> CSprite::Surfaces() const {
    std::vector<SDL_Surface*> surfaces = m_Frames;
    if (m_pImage != nullptr) {
        surfaces.push_back(m_pImage);
    }
    for (const SPiece& piece : m_Pieces) {
        surfaces.push_back(piece.pSurface);
    }
    return surfaces;
}

void CSprite::CutShownPieces() {
    Uint32 uKey = 0;
    if (m_pImage == nullptr || m_pImage->pixels == nullptr ||
        m_pImage->format->BytesPerPixel != 4 || SDL_GetColorKey(m_pImage, &uKey) != 0) {
        return;
    }
    Uint8 alpha = SDL_ALPHA_OPAQUE;
    SDL_GetSurfaceAlphaMod(m_pImage, &alpha);
    SDL_BlendMode mode = SDL_BLENDMODE_NONE;
    SDL_GetSurfaceBlendMode(m_pImage, &mode);
    for (const SDL_Rect& rect : ShownRects(m_pImage, uKey)) {
        SDL_Surface* pPiece = CopyRect(m_pImage, rect);
        if (pPiece == nullptr) {
            FreePieces(); // drawn whole instead
            return;
        }
        SDL_SetColorKey(pPiece, SDL_TRUE, uKey);
        SDL_SetSurfaceBlendMode(pPiece, mode);
        SDL_SetSurfaceAlphaMod(pPiece, alpha);
        m_Pieces.push_back(SPiece{pPiece, rect.x, rect.y});
    }
    SDL_FreeSurface(m_pImage);
    m_pImage = nullptr;
}

void CSprite::FreePieces() {
    for (const SPiece& piece : m_Pieces) {
        SDL_FreeSurface(piece.pSurface);
    }
    m_Pieces.clear();
}

void CSprite::EncodeForScreen(SDL_Surface* pSurface) const {
    // SDL makes a keyed picture's runs for the surface it is drawn onto, at the first blit, and
    // then lets go of its pixels. A blit of nothing makes them at load instead: a low-level blit
    // of an empty rectangle copies no pixel.
    if (m_pScreen != nullptr && pSurface != nullptr) {
        SDL_Rect none{0, 0, 0, 0};
        SDL_LowerBlit(pSurface, &none, m_pScreen, &none);
    }
}

void CSprite::FreeFrames() {
    for (SDL_Surface* pFrame : m_Frames) {
        SDL_FreeSurface(pFrame);
    }
    m_Frames.clear();
}

void CSprite::SetColorKey(int r, int g, int b) {
    for (SDL_Surface* pSurface : Surfaces()) {
        const Uint32 key = SDL_MapRGB(pSurface->format, static_cast<Uint8>(r & 0xFF),
                                      static_cast<Uint8>(g & 0xFF), static_cast<Uint8>(b & 0xFF));
        SDL_SetColorKey(pSurface, SDL_TRUE, key);
        SDL_BlendMode mode = SDL_BLENDMODE_NONE;
        SDL_GetSurfaceBlendMode(pSurface, &mode);
        // Keyed and in the screen's own format: drawn as runs of plain copies.
        if (mode == SDL_BLENDMODE_NONE) {
            SDL_SetSurfaceRLE(pSurface, 1);
            EncodeForScreen(pSurface);
        }
    }
}

void CSprite::SetPos(float fXPos, float fYPos) {
    m_Rect.x = static_cast<int>(fXPos);
    m_Rect.y = static_cast<int>(fYPos);
}

void CSprite::Render() {
    // A sheet of several frames is kept as its frames only: there is no whole picture to draw.
    if (m_pImage != nullptr) {
        SDL_UpperBlit(m_pImage, nullptr, m_pScreen, &m_Rect);
    }
    for (const SPiece& piece : m_Pieces) {
        SDL_Rect dest{m_Rect.x + piece.iX, m_Rect.y + piece.iY, 0, 0};
        SDL_UpperBlit(piece.pSurface, nullptr, m_pScreen, &dest);
    }
}

void CSprite::Render(float fFrameNumber) {
    // A sheet without a whole column has no frame to show.
    if (m_iNumFramesX <= 0) {
        return;
    }
    const int n = static_cast<int>(fFrameNumber);
    if (!m_Frames.empty()) {
        // Past the last frame, or before the first, there is nothing to draw.
        if (n >= 0 && n < static_cast<int>(m_Frames.size())) {
            SDL_UpperBlit(m_Frames[static_cast<std::size_t>(n)], nullptr, m_pScreen, &m_Rect);
        }
        return;
    }
    m_FrameRect.x = (n % m_iNumFramesX) * m_iFrameWidth;
    m_FrameRect.y = (n / m_iNumFramesX) * m_iFrameHeight;
    SDL_UpperBlit(m_pImage, &m_FrameRect, m_pScreen, &m_Rect);
}

void CSprite::SetAlpha(Uint8 alpha) {
    // Blended by its modulation alone: without an alpha byte in its format SDL mixes it into the
    // screen with exactly the rounding a picture straight from the file gets.
    const auto Blend = [this, alpha](SDL_Surface* pSurface) {
        SDL_SetSurfaceRLE(pSurface, 0);
        pSurface = ToScreenFormat(pSurface, m_pScreen, false);
        SDL_SetSurfaceBlendMode(pSurface, SDL_BLENDMODE_BLEND);
        SDL_SetSurfaceAlphaMod(pSurface, alpha);
        return pSurface;
    };
    for (SPiece& piece : m_Pieces) {
        piece.pSurface = Blend(piece.pSurface);
    }
    if (m_pImage != nullptr) {
        m_pImage = Blend(m_pImage);
        // Blended, it cannot be kept as runs: what it keys away entirely is let go instead.
        CutShownPieces();
    }
    for (SDL_Surface*& pFrame : m_Frames) {
        pFrame = Blend(pFrame);
    }
}
