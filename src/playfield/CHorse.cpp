#include "playfield/CHorse.h"

#include "framework/CFramework.h"
#include "media/CSprite.h"

namespace {
const int LEFT_SIDE = 1;
// Distance of each horse from the side edge of the screen, and of its feet from the bottom.
const int EDGE_MARGIN = 10;
const int BOTTOM_MARGIN = 5;
// Width of the part of a horse facing the middle that never catches an apple.
const int BLIND_WIDTH = 70;
// An apple is taken as this wide, and its top must lie at most this far below the horse's top.
const int APPLE_SIZE = 64;
// Hits that put a horse out.
const int MAX_HITS = 3;
} // namespace

SCatchZone HorseCatchZone(const SDL_Rect& horseRect, int iSide, int iScreenWidth) {
    if (iSide == LEFT_SIDE) {
        return SCatchZone{horseRect.x, horseRect.x + horseRect.w - BLIND_WIDTH};
    }
    return SCatchZone{horseRect.x + BLIND_WIDTH, iScreenWidth - EDGE_MARGIN};
}

bool AppleHitsHorse(int ax, int ay, int hy, const SCatchZone& zone) {
    return ay > hy + 1 && ay <= hy + APPLE_SIZE && ax + APPLE_SIZE - 1 >= zone.iLeft &&
           ax < zone.iRight;
}

void CHorse::Init(CSprite* pSprite, int iHits, int iSide) {
    m_bAlive = true;
    m_pSprite = pSprite;
    m_iHits = iHits;
    m_iSide = iSide;

    const SDL_Surface* pScreen = CFramework::Get()->m_pScreen;
    const int iFrameWidth = pSprite->m_iFrameWidth;
    const int iFrameHeight = pSprite->m_iFrameHeight;
    const int iX = (iSide == LEFT_SIDE) ? EDGE_MARGIN : pScreen->w - EDGE_MARGIN - iFrameWidth;
    m_fXPos = static_cast<float>(iX);
    m_fYPos = static_cast<float>(pScreen->h - BOTTOM_MARGIN - iFrameHeight);
    m_Rect =
        SDL_Rect{static_cast<int>(m_fXPos), static_cast<int>(m_fYPos), iFrameWidth, iFrameHeight};
}

void CHorse::Update(bool bHit) {
    if (bHit && m_iHits < MAX_HITS) {
        ++m_iHits;
    }
    if (m_iHits >= MAX_HITS) {
        m_bAlive = false;
    }
}

void CHorse::Render() {
    m_pSprite->SetPos(m_fXPos, m_fYPos);
    m_pSprite->Render(static_cast<float>(m_iHits));
}

void CHorse::Reset() {
    m_iHits = 0;
    m_bAlive = true;
}

// A horse holds only a shared sprite, so there is nothing to release.
void CHorse::Quit() {}
