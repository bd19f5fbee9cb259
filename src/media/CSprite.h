#pragma once
// A bitmap drawn whole or as frame n of an equal-sized sheet onto the framework's screen surface.

#include <string>
#include <vector>

#include <SDL.h>

struct SAssetGeometry;

class CSprite {
public:
    CSprite();
    ~CSprite();
    CSprite(const CSprite&) = delete;
    CSprite& operator=(const CSprite&) = delete;

    // Neither returns after a failure: the program ends with status 1.
    void Load(const std::string& strFile);
    void Load(const std::string& strFile, int iNumFrames, int iFrameWidth, int iFrameHeight);
    // The same, but a bitmap that cannot be loaded only makes them return false.
    bool TryLoad(const std::string& strFile);
    bool TryLoad(const std::string& strFile, int iNumFrames, int iFrameWidth, int iFrameHeight);
    // A picture of the asset manifest, in the frames it gives, keyed on magenta when it says so.
    void Load(const SAssetGeometry& picture);
    bool TryLoad(const SAssetGeometry& picture);

    // Returns the picture in the screen's pixel format (with or without its alpha byte), opaque
    // and with its colour key kept; the surface handed in is freed if a copy was made.
    static SDL_Surface* ToScreenFormat(SDL_Surface* pSurface, const SDL_Surface* pScreen,
                                       bool bWithAlpha);

    // Reports a bitmap that cannot be loaded and ends the program with status 1.
    [[noreturn]] static void FailLoad(const std::string& strFile);

    void SetColorKey(int r, int g, int b);
    void SetPos(float fXPos, float fYPos);
    void Render();
    void Render(float fFrameNumber);
    void SetAlpha(Uint8 alpha);

    SDL_Surface* m_pScreen;
    // The whole picture; null once a sheet of several frames is cut into m_Frames, or a
    // translucent picture into m_Pieces.
    SDL_Surface* m_pImage;
    SDL_Rect m_Rect;
    SDL_Rect m_FrameRect;
    int m_iNumFrames;
    int m_iFrameWidth;
    int m_iFrameHeight;
    int m_iNumFramesX;
    // A sheet of several frames is kept as one surface per frame, so a keyed frame is drawn from
    // run-length data of its own instead of walking the runs of the whole sheet row, and only the
    // runs are kept; n lies at index n.
    std::vector<SDL_Surface*> m_Frames;
    // A translucent keyed picture, which SDL cannot draw from runs, is kept as the rectangles of
    // it that hold a pixel other than the key, each at its place in the picture; Render() draws
    // them. Empty for every other picture.
    struct SPiece {
        SDL_Surface* pSurface;
        int iX;
        int iY;
    };
    std::vector<SPiece> m_Pieces;

private:
    bool TryLoadSheet(const std::string& strFile, int iNumFrames, int iFrameWidth, int iFrameHeight,
                      bool bKeyed);
    void CutFrames();
    void FreeFrames();
    void CutShownPieces();
    void FreePieces();
    // Every surface the sprite draws from: its frames, its whole picture or its pieces.
    std::vector<SDL_Surface*> Surfaces() const;
    void EncodeForScreen(SDL_Surface* pSurface) const;
};
