#include "GameFixture.h"

#include <cstring>

#include <unistd.h>

#include "framework/CFramework.h"
#include "support/TestRuntime.h"

namespace {
std::string CurrentDir() {
    char szPath[4096];
    return getcwd(szPath, sizeof(szPath)) != nullptr ? std::string(szPath) : std::string("/");
}

bool SamePixel(SDL_Color a, SDL_Color b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
} // namespace

void GameTest::SetUp() {
    m_strOldDir = CurrentDir();
    m_strDir = EnterFreshRuntimeDir(false);
    // The dummy driver cannot make the cursors; their reports are expected and kept out of the log.
    testing::internal::CaptureStderr();
    const bool bReady = StartFramework();
    testing::internal::GetCapturedStderr();
    ASSERT_TRUE(bReady);
    m_Game.Init();
    DrainEvents();
}

void GameTest::TearDown() {
    m_Game.Quit();
    StopFramework();
    if (chdir(m_strOldDir.c_str()) == 0) {
        RemoveTree(m_strDir);
    }
}

void GameTest::DrainEvents() {
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

void GameTest::PushKey(SDL_Scancode scancode) {
    SDL_Event event;
    std::memset(&event, 0, sizeof(event));
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.scancode = scancode;
    event.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
    ASSERT_EQ(SDL_PushEvent(&event), 1);
}

void GameTest::PushText(const char* pText) {
    SDL_Event event;
    std::memset(&event, 0, sizeof(event));
    event.type = SDL_TEXTINPUT;
    SDL_strlcpy(event.text.text, pText, sizeof(event.text.text));
    ASSERT_EQ(SDL_PushEvent(&event), 1);
}

void GameTest::PushCommit(const std::string& strText) {
    std::size_t pos = 0;
    while (pos < strText.size()) {
        SDL_Event event;
        std::memset(&event, 0, sizeof(event));
        event.type = SDL_TEXTINPUT;
        const std::size_t advance =
            SDL_utf8strlcpy(event.text.text, strText.c_str() + pos, sizeof(event.text.text));
        ASSERT_GT(advance, 0u);
        pos += advance;
        ASSERT_EQ(SDL_PushEvent(&event), 1);
    }
}

void GameTest::PushMouse(Uint32 type) {
    SDL_Event event;
    std::memset(&event, 0, sizeof(event));
    event.type = type;
    // Coordinates carried by the event are deliberately wrong: the game must ask SDL.
    if (type == SDL_MOUSEMOTION) {
        event.motion.x = -1;
        event.motion.y = -1;
    } else {
        event.button.button = SDL_BUTTON_LEFT;
        event.button.x = -1;
        event.button.y = -1;
    }
    ASSERT_EQ(SDL_PushEvent(&event), 1);
}

void GameTest::MoveMouseTo(int x, int y) {
    SDL_WarpMouseInWindow(CFramework::Get()->m_pWindow, x, y);
    DrainEvents();
    int iX = -1;
    int iY = -1;
    SDL_GetMouseState(&iX, &iY);
    ASSERT_EQ(iX, x);
    ASSERT_EQ(iY, y);
}

void GameTest::Press(SDL_Scancode scancode) {
    DrainEvents();
    PushKey(scancode);
    m_Game.ProcessEvents();
}

void GameTest::Type(const char* pText) {
    DrainEvents();
    PushText(pText);
    m_Game.ProcessEvents();
}

SDL_Surface* GameTest::CopyScreen() {
    SDL_Surface* pScreen = CFramework::Get()->m_pScreen;
    return SDL_ConvertSurface(pScreen, pScreen->format, 0);
}

SDL_Rect DifferenceBox(SDL_Surface* pA, SDL_Surface* pB) {
    int iLeft = pA->w;
    int iTop = pA->h;
    int iRight = -1;
    int iBottom = -1;
    for (int y = 0; y < pA->h; ++y) {
        for (int x = 0; x < pA->w; ++x) {
            if (!SamePixel(PixelColor(pA, x, y), PixelColor(pB, x, y))) {
                iLeft = x < iLeft ? x : iLeft;
                iRight = x > iRight ? x : iRight;
                iTop = y < iTop ? y : iTop;
                iBottom = y > iBottom ? y : iBottom;
            }
        }
    }
    if (iRight < 0) {
        return SDL_Rect{0, 0, 0, 0};
    }
    return SDL_Rect{iLeft, iTop, iRight - iLeft + 1, iBottom - iTop + 1};
}

bool ShowsSurfaceAt(SDL_Surface* pSurface, SDL_Surface* pInner, const SDL_Rect& rect) {
    for (int y = rect.y; y < rect.y + rect.h; ++y) {
        for (int x = rect.x; x < rect.x + rect.w; ++x) {
            if (!SamePixel(PixelColor(pSurface, x, y), PixelColor(pInner, x - rect.x, y - rect.y))) {
                return false;
            }
        }
    }
    return true;
}

bool BoxInside(const SDL_Rect& box, const SDL_Rect& area) {
    return box.x >= area.x && box.y >= area.y && box.x + box.w <= area.x + area.w &&
           box.y + box.h <= area.y + area.h;
}
