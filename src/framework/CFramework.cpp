#include "framework/CFramework.h"

#include <SDL.h>

#include "framework/CMyError.h"
#include "framework/CTimer.h"
#include "media/CMyFont.h"
#include "media/CMySound.h"
#include "media/Picture.h"

namespace {
// Codes of InitCursor: which cursor step failed.
enum {
    CURSOR_OK = 0,
    CURSOR_HAND_BITMAP = 1,
    CURSOR_HAND = 2,
    CURSOR_STD_BITMAP = 3,
    CURSOR_STD = 4
};

const char* const FONT_FILE = "fonts/FreeSans.ttf";

SDL_Surface* LoadKeyedBitmap(const char* pFile) {
    SDL_Surface* pSurface = LoadPicture(pFile);
    if (pSurface != nullptr) {
        SDL_SetColorKey(pSurface, SDL_TRUE, SDL_MapRGB(pSurface->format, 255, 0, 255));
    }
    return pSurface;
}
} // namespace

CImagePlacement PlaceOnDesktop(int width, int height, int deskW, int deskH) {
    // The single-precision steps keep the rectangle on desktops of 4:3 and wider exactly as the
    // game has always hit-tested it; the scale of 1920 x 1080 is 0.5555556, not 5 / 9.
    const bool bFullHeight =
        static_cast<long long>(deskW) * height >= static_cast<long long>(deskH) * width;
    if (bFullHeight) {
        const float fScale = static_cast<float>(height) / static_cast<float>(deskH);
        const float fScaledW = static_cast<float>(width) / fScale;
        const int iOffX = static_cast<int>((static_cast<float>(deskW) - fScaledW) * 0.5f);
        return CImagePlacement{iOffX, 0, fScaledW, static_cast<float>(deskH)};
    }
    // Narrower than the image: full width, bars above and below.
    const float fScale = static_cast<float>(width) / static_cast<float>(deskW);
    const float fScaledH = static_cast<float>(height) / fScale;
    const int iOffY = static_cast<int>((static_cast<float>(deskH) - fScaledH) * 0.5f);
    return CImagePlacement{0, iOffY, static_cast<float>(deskW), fScaledH};
}

SDL_Rect StartButtonRect(const CImagePlacement& image) {
    const int iX = static_cast<int>(0.7 * image.m_fW + image.m_iX);
    const int iY = static_cast<int>(0.87 * image.m_fH + image.m_iY);
    const float fRight = static_cast<float>(0.9 * image.m_fW + image.m_iX);
    const float fBottom = static_cast<float>(0.95 * image.m_fH + image.m_iY);
    const int iW = static_cast<int>(fRight - static_cast<float>(iX));
    const int iH = static_cast<int>(fBottom - static_cast<float>(iY));
    return SDL_Rect{iX, iY, iW, iH};
}

SDL_Rect ComputeStartButtonRect(int width, int height, int deskW, int deskH) {
    return StartButtonRect(PlaceOnDesktop(width, height, deskW, deskH));
}

bool IsStrictlyInside(const SDL_Rect& rect, int x, int y) {
    return rect.x < x && x < rect.x + rect.w && rect.y < y && y < rect.y + rect.h;
}

CFramework::CFramework()
    : m_pScreen(nullptr), m_pCursorHandBitmap(nullptr), m_pCursorStdBitmap(nullptr),
      m_pScreenTexture(nullptr), m_pRenderer(nullptr), m_pWindow(nullptr),
      m_pKeystate(nullptr), m_DesktopRect{0, 0, 0, 0}, m_StartButtonRect{0, 0, 0, 0},
      m_pCursorStd(nullptr), m_pCursorHand(nullptr) {}

bool CFramework::FailSetUp(const char* text) {
    CMyError::PrintError(text, SDL_GetError(), false);
    Quit();
    return false;
}

bool CFramework::Init(const char* title, int width, int height, int bpp, bool bFullscreen) {
    m_pCursorHand = nullptr;
    m_pCursorStd = nullptr;
    m_pCursorHandBitmap = nullptr;
    m_pCursorStdBitmap = nullptr;

    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO) == -1) {
        return FailSetUp("SDL konnte nicht initialisiert werden!");
    }
    if (bFullscreen) {
        m_pWindow = SDL_CreateWindow(title, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 0, 0,
                                     SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        // Like the full-screen window, it leaves the choice of the drawing driver to the renderer,
        // so the window opens where OpenGL is missing too.
        m_pWindow = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                                     height, 0);
    }
    if (m_pWindow == nullptr) {
        return FailSetUp("Fenster konnte nicht erzeugt werden!");
    }
    m_pRenderer = SDL_CreateRenderer(m_pWindow, -1, 0);
    if (m_pRenderer == nullptr) {
        return FailSetUp("Rendering Kontext konnte nicht erzeugt werden!");
    }
    if (bFullscreen) {
        // The hint takes effect when the texture is created below.
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
        SDL_RenderSetLogicalSize(m_pRenderer, width, height);
    }
    m_pScreen =
        SDL_CreateRGBSurface(0, width, height, bpp, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
    m_pScreenTexture = SDL_CreateTexture(m_pRenderer, SDL_PIXELFORMAT_ARGB8888,
                                         SDL_TEXTUREACCESS_STREAMING, width, height);
    if (m_pScreen == nullptr || m_pScreenTexture == nullptr) {
        return FailSetUp("Videomode konnte nicht gesetzt werden!");
    }
    m_pKeystate = SDL_GetKeyboardState(nullptr);

    if (!CMySound::Get()->Init()) {
        return false;
    }
    if (!CMyFont::Get()->Init()) {
        return false;
    }
    CMyFont::Get()->Load(FONT_FILE);

    InitWindowSizeParams(width, height);
    if (!bFullscreen) {
        // The window shows the image at its own size from its top-left corner.
        m_StartButtonRect = StartButtonRect(
            CImagePlacement{0, 0, static_cast<float>(width), static_cast<float>(height)});
    }
    return InitCursor() == CURSOR_OK;
}

void CFramework::InitWindowSizeParams(int width, int height) {
    m_DesktopRect = SDL_Rect{0, 0, 0, 0};
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) < 0) {
        CMyError::PrintError("Fenstergröße konnte nicht ermittelt werden!", SDL_GetError(), true);
        m_StartButtonRect = SDL_Rect{0, 0, 0, 0};
        return;
    }
    m_DesktopRect = SDL_Rect{0, 0, mode.w, mode.h};
    m_StartButtonRect = ComputeStartButtonRect(width, height, mode.w, mode.h);
}

int CFramework::InitCursor() {
    int iCode = CURSOR_OK;

    m_pCursorHandBitmap = LoadKeyedBitmap("ImgData/cur_hand.bmp");
    if (m_pCursorHandBitmap == nullptr) {
        CMyError::PrintError("Mouse Zeiger Bitmap \"Hand\" konnte nicht geladen werden!",
                             SDL_GetError(), false);
        iCode = CURSOR_HAND_BITMAP;
    } else {
        m_pCursorHand = SDL_CreateColorCursor(m_pCursorHandBitmap, 24, 3);
        if (m_pCursorHand == nullptr) {
            CMyError::PrintError("Mouse Zeiger \"Hand\" konnte nicht erstellt werden!",
                                 SDL_GetError(), false);
            iCode = CURSOR_HAND;
        }
    }

    m_pCursorStdBitmap = LoadKeyedBitmap("ImgData/cur_std.bmp");
    if (m_pCursorStdBitmap == nullptr) {
        CMyError::PrintError("Mouse Zeiger Bitmap \"Pfeil\" konnte nicht geladen werden!",
                             SDL_GetError(), false);
        return CURSOR_STD_BITMAP;
    }
    m_pCursorStd = SDL_CreateColorCursor(m_pCursorStdBitmap, 9, 6);
    if (m_pCursorStd == nullptr) {
        CMyError::PrintError("Mouse Zeiger \"Pfeil\" konnte nicht erstellt werden!", SDL_GetError(),
                             false);
        iCode = CURSOR_STD;
    }

    SDL_SetCursor(m_pCursorStd);
    return iCode;
}

void CFramework::Quit() {
    if (m_pCursorHand != nullptr) {
        SDL_FreeCursor(m_pCursorHand);
        m_pCursorHand = nullptr;
    }
    if (m_pCursorHandBitmap != nullptr) {
        SDL_FreeSurface(m_pCursorHandBitmap);
        m_pCursorHandBitmap = nullptr;
    }
    if (m_pCursorStd != nullptr) {
        SDL_FreeCursor(m_pCursorStd);
        m_pCursorStd = nullptr;
    }
    if (m_pCursorStdBitmap != nullptr) {
        SDL_FreeSurface(m_pCursorStdBitmap);
        m_pCursorStdBitmap = nullptr;
    }

    CMySound::Get()->Stop();
    TSingleton<CMySound>::Del();

    CMyFont::Get()->CloseFont();
    CMyFont::Get()->Quit();
    TSingleton<CMyFont>::Del();

    // Released one by one: not every video driver frees a renderer's textures in SDL_Quit.
    if (m_pScreenTexture != nullptr) {
        SDL_DestroyTexture(m_pScreenTexture);
        m_pScreenTexture = nullptr;
    }
    if (m_pRenderer != nullptr) {
        SDL_DestroyRenderer(m_pRenderer);
        m_pRenderer = nullptr;
    }
    if (m_pWindow != nullptr) {
        SDL_DestroyWindow(m_pWindow);
        m_pWindow = nullptr;
    }
    if (m_pScreen != nullptr) {
        SDL_FreeSurface(m_pScreen);
        m_pScreen = nullptr;
    }
    SDL_Quit();
    m_pKeystate = nullptr;
}

void CFramework::Update() {
    CTimer::Get()->Update();
    SDL_PumpEvents();
}

bool CFramework::KeyDown(int scancode) {
    return m_pKeystate != nullptr && m_pKeystate[scancode] != 0;
}

void CFramework::Clear() {
    SDL_FillRect(m_pScreen, nullptr, SDL_MapRGB(m_pScreen->format, 0, 0, 0));
}

void CFramework::Flip() {
    SDL_UpdateTexture(m_pScreenTexture, nullptr, m_pScreen->pixels, m_pScreen->pitch);
    SDL_RenderClear(m_pRenderer);
    SDL_RenderCopy(m_pRenderer, m_pScreenTexture, nullptr, nullptr);
    SDL_RenderPresent(m_pRenderer);
}
