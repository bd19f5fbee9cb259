#pragma once
// One of the two horses at the bottom of the field; its hits are the player's lives.

#include <SDL.h>

class CSprite;

// The horizontal span [left, right) in which a horse catches apples; the 70 pixels facing the
// middle of the field never catch.
struct SCatchZone {
    int iLeft;
    int iRight;
};

SCatchZone HorseCatchZone(const SDL_Rect& horseRect, int iSide, int iScreenWidth);

// True when an apple with top-left corner (ax, ay) lies in the catch band of a horse whose top
// edge is hy: the apple's top edge 2 to 64 pixels below it, and the 64-pixel apple overlapping
// the zone.
bool AppleHitsHorse(int ax, int ay, int hy, const SCatchZone& zone);

class CHorse {
public:
    void Init(CSprite* pSprite, int iHits, int iSide);
    void Update(bool bHit);
    void Render();
    void Reset();
    void Quit();

    CSprite* m_pSprite;
    float m_fXPos;
    float m_fYPos;
    int m_iHits;
    bool m_bAlive;
    SDL_Rect m_Rect;
    int m_iSide;
};
