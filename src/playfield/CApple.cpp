#include "playfield/CApple.h"

#include <cstdlib>
#include <ctime>
#include <utility>

#include <SDL_ttf.h>

#include "framework/CFramework.h"
#include "framework/CMyError.h"
#include "framework/CTimer.h"
#include "media/CMyFont.h"
#include "media/CSprite.h"
#include "record/RecordHooks.h"
#include "record/RecordTask.h"

namespace {
const char* const TEXT_RENDER_FAILED = "Text Rendern gescheitert!";
const char* const TEXT_METRICS_FAILED = "Kann Text Metrik nicht ermitteln!";
const char* const TEXT_BLIT_FAILED = "Text in den Bildschirm blitten schlug fehl!";

// The task text is centred in the apple's box of this many pixels.
const int APPLE_BOX = 64;
// Offsets used when the text cannot be measured.
const int FALLBACK_OFFSET_X = 16;
const int FALLBACK_OFFSET_Y = 24;

const float FALL_SPEED = 20.0f;   // pixels per second
const float ANIM_SPEED = 20.0f;   // sheet frames per second
const float ANIM_FRAMES = 20.0f;  // frames in the apple sheet
const float BOTTOM_LINE = 590.0f; // an apple whose top passes this y has fallen out

// "9801 : 99", the longest task, and its terminating zero.
const std::size_t TASK_BUFFER = 10;
} // namespace

STask ComposeTask(int a, int b, bool bMultiply, int iPick) {
    char szTask[TASK_BUFFER];
    STask task;
    if (bMultiply) {
        task.iSolution = a * b;
        SDL_snprintf(szTask, sizeof(szTask), "%d x %d", a, b);
    } else if (iPick % 2 == 0) {
        task.iSolution = b;
        SDL_snprintf(szTask, sizeof(szTask), "%d : %d", a * b, a);
    } else {
        task.iSolution = a;
        SDL_snprintf(szTask, sizeof(szTask), "%d : %d", a * b, b);
    }
    task.strText = szTask;
    return task;
}

int TaskRange(int iRange) {
    return (iRange == 10 || iRange == 20 || iRange == 99) ? iRange : 10;
}

void ReseedFromClock(unsigned int uSpread) {
    const unsigned int uClock = static_cast<unsigned int>(std::time(nullptr));
    const unsigned int uDraw = static_cast<unsigned int>(std::rand() % 65365);
    std::srand(uClock + uSpread * uDraw);
}

void CApple::Init(CSprite* pSprite, float fX, float fY, int iRange, bool bMultiply) {
    m_iRange = TaskRange(iRange);
    m_fXPos = fX;
    m_fYPos = fY;
    m_bMultiply = bMultiply;
    m_pSprite = pSprite;
    m_fAnimPhase = 0.0f;
    m_iTextOffsetX = 0;
    m_iTextOffsetY = 0;
    m_iSolution = -1;
    m_strTask.clear();

    InitSolution();

    m_Rect =
        SDL_Rect{static_cast<int>(fX), static_cast<int>(fY), pSprite->m_Rect.w, pSprite->m_Rect.h};
    m_TextRect = SDL_Rect{0, 0, 0, 0};
    m_pTextSurface = nullptr;
    m_TextColor = SDL_Color{255, 255, 255, 255};

    CMyFont* pFont = CMyFont::Get();
    if (!pFont->m_bLoaded) {
        CFramework::Get()->Quit();
        std::exit(1);
    }
    TTF_SetFontStyle(pFont->m_pFontSmall, TTF_STYLE_BOLD);
    m_pTextSurface = TTF_RenderText_Blended(pFont->m_pFontSmall, m_strTask.c_str(), m_TextColor);
    if (m_pTextSurface == nullptr) {
        CMyError::PrintError(TEXT_RENDER_FAILED, SDL_GetError(), false);
        CFramework::Get()->Quit();
        std::exit(1);
    }

    if (InitTxTOffset() != 0) {
        m_iTextOffsetX = FALLBACK_OFFSET_X;
        m_iTextOffsetY = FALLBACK_OFFSET_Y;
    }
    m_bAlive = true;
}

void CApple::InitSolution() {
    ReseedFromClock(1);
    const int a = std::rand() % m_iRange + 1;
    ReseedFromClock(7);
    const int b = std::rand() % m_iRange + 1;
    int iPick = 0;
    if (!m_bMultiply) {
        ReseedFromClock(3);
        iPick = std::rand();
    }
    STask task = ComposeTask(a, b, m_bMultiply, iPick);
    m_strTask = std::move(task.strText);
    m_iSolution = task.iSolution;
}

int CApple::InitTxTOffset() {
    int iWidth = 0;
    int iHeight = 0;
    if (TTF_SizeText(CMyFont::Get()->m_pFontSmall, m_strTask.c_str(), &iWidth, &iHeight) != 0) {
        CMyError::PrintError(TEXT_METRICS_FAILED, SDL_GetError(), true);
        return 1;
    }
    // Integer division: a text wider than the box gets a negative offset.
    m_iTextOffsetX = (APPLE_BOX - iWidth) / 2;
    m_iTextOffsetY = (APPLE_BOX - iHeight) / 2;
    return 0;
}

void CApple::Update() {
    const float dt = CTimer::Get()->m_fElapsed;
    m_fYPos += FALL_SPEED * dt;
    m_Rect.y = static_cast<int>(m_fYPos);
    // One subtraction only: after a frame longer than a second the phase may stay at 20 or more.
    m_fAnimPhase += ANIM_SPEED * dt;
    if (m_fAnimPhase >= ANIM_FRAMES) {
        m_fAnimPhase -= ANIM_FRAMES;
    }
    const bool bWasAlive = m_bAlive;
    if (m_fYPos > BOTTOM_LINE) {
        m_bAlive = false;
    }
    if (bWasAlive && !m_bAlive) {
        RecordApple(*this, OUTCOME_FELL);
    }
}

void CApple::Render() {
    m_TextRect.x = static_cast<int>(m_fXPos + static_cast<float>(m_iTextOffsetX));
    m_TextRect.y = static_cast<int>(m_fYPos + static_cast<float>(m_iTextOffsetY));
    m_pSprite->SetPos(m_fXPos, m_fYPos);
    m_pSprite->Render(m_fAnimPhase);
    if (SDL_UpperBlit(m_pTextSurface, nullptr, CFramework::Get()->m_pScreen, &m_TextRect) == -1) {
        CMyError::PrintError(TEXT_BLIT_FAILED, SDL_GetError(), true);
    }
}

void CApple::Quit() {
    if (m_pTextSurface != nullptr) {
        SDL_FreeSurface(m_pTextSurface);
        m_pTextSurface = nullptr;
    }
}
