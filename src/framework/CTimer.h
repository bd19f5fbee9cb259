#pragma once
// Frame timer: every motion and timed rule advances by m_fElapsed, the seconds between
// the last two frames (unclamped).

#include "framework/TSingleton.h"

class CTimer : public TSingleton<CTimer> {
public:
    CTimer();
    void Update();

    float m_fElapsed;
    float m_fCurTime;
    float m_fLastTime;
};
