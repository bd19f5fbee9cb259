#include "playfield/CWitchey.h"

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <utility>

#include "AssetGeometry.h"
#include "framework/CFramework.h"
#include "framework/CTimer.h"
#include "media/CSprite.h"

namespace {
// The three pictures of the witch sheet; the picture shown is also her state.
const float FRAME_NORMAL = 0.0f;
const float FRAME_EYES = 1.0f;
const float FRAME_CASTING = 2.0f;

const float EYES_SECONDS = 0.5f;
// The strike is timed against the double constant: a float timer of 0.7f is still short of it.
const double CASTING_SECONDS = 0.7;
// The normal picture's duration drifts by whole seconds; outside (1, 6) it starts over at 3.5.
const float NORMAL_START = 3.5f;
const float NORMAL_LOW = 1.0f;
const float NORMAL_HIGH = 6.0f;

const float WITCH_X = 314.0f;
const float WITCH_Y = 276.0f;
const float FLASH_X = 364.0f;
const float FLASH_Y = 308.0f;
const Uint8 FLASH_ALPHA = 146;

// A bolt is seven adjacent lines from (378 + i, 322) to the centre of a 64-pixel target.
const int BOLT_LINES = 7;
const float BOLT_START_X = 378.0f;
const float BOLT_START_Y = 322.0f;
const float TARGET_CENTRE = 32.0f;

void ReseedWithDraw() {
    const unsigned int uClock = static_cast<unsigned int>(std::time(nullptr));
    std::srand(uClock + static_cast<unsigned int>(std::rand() % 65365));
}

void PlotPixel(SDL_Surface* pSurface, int iColumn, int iRow, Uint32 uColor) {
    if (iColumn < 0 || iColumn >= pSurface->w || iRow < 0 || iRow >= pSurface->h) {
        return;
    }
    Uint32* pWords = static_cast<Uint32*>(pSurface->pixels);
    pWords[(iRow * pSurface->pitch) / 4 + iColumn] = uColor;
}
} // namespace

CWitchey::CWitchey()
    : m_pWitchSprite(nullptr), m_pFlashSprite(nullptr), m_fFrame(FRAME_NORMAL), m_fTimer(0.0f) {}

void CWitchey::Init() {
    m_fFrame = FRAME_NORMAL;
    m_fTimer = 0.0f;

    m_pWitchSprite = new CSprite;
    m_pWitchSprite->Load(ASSET_WITCHEY);

    m_pFlashSprite = new CSprite;
    m_pFlashSprite->Load(ASSET_FLASHBGR);
    m_pFlashSprite->SetAlpha(FLASH_ALPHA);
}

void CWitchey::Quit() {
    if (m_pWitchSprite != nullptr) {
        delete m_pWitchSprite;
        m_pWitchSprite = nullptr;
    }
    if (m_pFlashSprite != nullptr) {
        delete m_pFlashSprite;
        m_pFlashSprite = nullptr;
    }
}

void CWitchey::Update() {
    // The rhythm lives for the whole run: neither Init nor a new game starts it over.
    static float fEyesNormal = NORMAL_START;
    static bool bToggle = false;

    m_fTimer += CTimer::Get()->m_fElapsed;
    if (fEyesNormal <= NORMAL_LOW || fEyesNormal >= NORMAL_HIGH) {
        fEyesNormal = NORMAL_START;
    }

    if (m_fFrame == FRAME_CASTING) {
        if (static_cast<double>(m_fTimer) >= CASTING_SECONDS) {
            m_fTimer = 0.0f;
            ReseedWithDraw();
            m_fFrame = static_cast<float>(std::rand() % 2);
        }
        return;
    }
    if (m_fTimer >= fEyesNormal) {
        m_fTimer = 0.0f;
        m_fFrame = FRAME_EYES;
        return;
    }
    if (m_fFrame == FRAME_EYES && m_fTimer >= EYES_SECONDS) {
        m_fTimer = 0.0f;
        m_fFrame = FRAME_NORMAL;
        std::srand(static_cast<unsigned int>(std::time(nullptr)));
        const float fStep = static_cast<float>(std::rand() % 2);
        fEyesNormal += bToggle ? fStep : -fStep;
        bToggle = !bToggle;
    }
}

void CWitchey::Render() {
    m_pWitchSprite->SetPos(WITCH_X, WITCH_Y);
    m_pWitchSprite->Render(m_fFrame);
    if (m_fFrame == FRAME_CASTING) {
        FireFlash(m_Targets);
        m_pFlashSprite->SetPos(FLASH_X, FLASH_Y);
        m_pFlashSprite->Render();
    }
}

void CWitchey::FireFlash(std::list<SDL_Rect> targets) {
    SDL_Surface* pScreen = CFramework::Get()->m_pScreen;
    for (const SDL_Rect& target : targets) {
        const float fEndX = static_cast<float>(target.x) + TARGET_CENTRE;
        const float fEndY = static_cast<float>(target.y) + TARGET_CENTRE;
        for (int i = 0; i < BOLT_LINES; ++i) {
            const float fShift = static_cast<float>(i);
            // Yellow and red alternate from left to right, yellow outermost.
            const int iGreen = (i % 2 == 0) ? 255 : 0;
            Line(BOLT_START_X + fShift, BOLT_START_Y, fEndX + fShift, fEndY, pScreen, 255, iGreen,
                 0);
        }
    }
}

void CWitchey::Line(float fX1, float fY1, float fX2, float fY2, SDL_Surface* pSurface, int r, int g,
                    int b) {
    const bool bSteep = std::fabs(fY2 - fY1) > std::fabs(fX2 - fX1);
    if (bSteep) {
        std::swap(fX1, fY1);
        std::swap(fX2, fY2);
    }
    if (fX1 > fX2) {
        std::swap(fX1, fX2);
        std::swap(fY1, fY2);
    }
    const float fDx = fX2 - fX1;
    const float fDy = std::fabs(fY2 - fY1);
    float fError = fDx * 0.5f;
    const int iYStep = (fY1 < fY2) ? 1 : -1;
    int y = static_cast<int>(fY1);
    const Uint32 uColor = SDL_MapRGB(pSurface->format, static_cast<Uint8>(r & 0xFF),
                                     static_cast<Uint8>(g & 0xFF), static_cast<Uint8>(b & 0xFF));

    // The end column itself is left undrawn.
    const int iEnd = static_cast<int>(fX2);
    for (int x = static_cast<int>(fX1); x < iEnd; ++x) {
        if (bSteep) {
            PlotPixel(pSurface, y, x, uColor);
        } else {
            PlotPixel(pSurface, x, y, uColor);
        }
        fError -= fDy;
        if (fError < 0.0f) {
            y += iYStep;
            fError += fDx;
        }
    }
}
