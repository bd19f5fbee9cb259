#include "game/CGame.h"

#include <SDL.h>

#include "framework/CFramework.h"
#include "game/Utf8Text.h"
#include "record/RecordHooks.h"

namespace {
// The name takes more text while it holds at most this many bytes; the text that arrives then
// is appended whole, so a name can end up longer.
const std::size_t NAME_TAKES_TEXT_UP_TO = 13;

// The digit a key types into the answer, or '\0'. Keys are physical (scancodes), so the digits
// work whatever the keyboard layout.
char DigitOfKey(SDL_Scancode scancode) {
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) {
        return static_cast<char>('1' + (scancode - SDL_SCANCODE_1));
    }
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9) {
        return static_cast<char>('1' + (scancode - SDL_SCANCODE_KP_1));
    }
    if (scancode == SDL_SCANCODE_0 || scancode == SDL_SCANCODE_KP_0) {
        return '0';
    }
    return '\0';
}

void TakeNameText(CGame& game, const char* pText) {
    if (game.m_strPlayerName.size() > NAME_TAKES_TEXT_UP_TO) {
        return;
    }
    game.m_strPlayerName += pText;
    game.m_bPlayerNameChanged = true;
}

void TakeKey(CGame& game, SDL_Scancode scancode) {
    const char digit = DigitOfKey(scancode);
    if (digit != '\0') {
        game.m_strAnswer += digit;
        return;
    }
    switch (scancode) {
    case SDL_SCANCODE_RETURN:
        // Another game for the same player.
        if (game.m_iState == STATE_GAMEOVER) {
            game.ResetGame(1);
            game.m_iState = STATE_PLAY;
            RecordGameBegins(game);
        }
        break;
    case SDL_SCANCODE_ESCAPE:
        game.m_bRunning = false;
        break;
    case SDL_SCANCODE_BACKSPACE:
        // The name is UTF-8: a whole character goes, never half of one.
        if (!game.m_strPlayerName.empty()) {
            Utf8PopBack(game.m_strPlayerName);
            game.m_bPlayerNameChanged = true;
        }
        break;
    case SDL_SCANCODE_SPACE:
        game.CheckSolution();
        break;
    case SDL_SCANCODE_F1:
        game.m_bHelp = !game.m_bHelp;
        break;
    case SDL_SCANCODE_F2:
        // Back to the start page for a new player.
        if (game.m_iState != STATE_START) {
            game.ResetGame(0);
            game.m_iState = STATE_START;
        }
        break;
    case SDL_SCANCODE_F5:
        game.StartGame();
        break;
    case SDL_SCANCODE_F9:
        game.m_iRange = 10;
        break;
    case SDL_SCANCODE_F10:
        game.m_iRange = 20;
        break;
    case SDL_SCANCODE_F11:
        game.m_iRange = 99;
        break;
    case SDL_SCANCODE_F12:
        game.m_bMultiply = !game.m_bMultiply;
        break;
    default:
        break;
    }
}

// The start button is hit-tested in window pixels, where the pointer really is; the event's own
// coordinates are scaled to the logical image and would miss it.
void TakeMouse(CGame& game, bool bReleased) {
    int x = 0;
    int y = 0;
    SDL_GetMouseState(&x, &y);
    CFramework* pFramework = CFramework::Get();
    const bool bOnButton = IsStrictlyInside(pFramework->m_StartButtonRect, x, y);
    if (bOnButton && bReleased) {
        game.StartGame();
        SDL_SetCursor(pFramework->m_pCursorStd);
    } else if (bOnButton) {
        SDL_SetCursor(pFramework->m_pCursorHand);
    } else {
        SDL_SetCursor(pFramework->m_pCursorStd);
    }
}
} // namespace

void CGame::ProcessEvents() {
    // One event per frame: a burst of events is worked off over several frames.
    SDL_Event event;
    if (SDL_PollEvent(&event) == 0) {
        return;
    }
    // Text is the player's name, and only the start page takes it.
    if (event.type == SDL_TEXTINPUT) {
        if (m_iState == STATE_START) {
            TakeNameText(*this, event.text.text);
        }
        return;
    }
    switch (event.type) {
    case SDL_QUIT:
        m_bRunning = false;
        break;
    case SDL_KEYDOWN:
        TakeKey(*this, event.key.keysym.scancode);
        break;
    case SDL_MOUSEMOTION:
        TakeMouse(*this, false);
        break;
    case SDL_MOUSEBUTTONUP:
        TakeMouse(*this, true);
        break;
    default:
        break;
    }
}
