// Keys, name text and the start button, one event per frame, as SDL delivers them.

#include "GameFixture.h"

using Keys = GameTest;

TEST_F(Keys, DigitKeysOfBothBlocksTypeTheAnswer) {
    for (SDL_Scancode key : {SDL_SCANCODE_1, SDL_SCANCODE_9, SDL_SCANCODE_0, SDL_SCANCODE_KP_1,
                             SDL_SCANCODE_KP_9, SDL_SCANCODE_KP_0, SDL_SCANCODE_KP_ENTER}) {
        Key(key);
    }
    EXPECT_EQ(m_Game.m_strAnswer, "190190");
}

TEST_F(Keys, PageKeysMoveBetweenTheStartPagePlayAndGameOver) {
    // State before, key, state after, and whether the player's name "Ida" is left.
    const std::tuple<int, SDL_Scancode, int, bool> moves[] = {
        {STATE_START, SDL_SCANCODE_RETURN, STATE_START, true},
        {STATE_PLAY, SDL_SCANCODE_RETURN, STATE_PLAY, true},
        {STATE_GAMEOVER, SDL_SCANCODE_RETURN, STATE_PLAY, true},
        {STATE_PLAY, SDL_SCANCODE_F2, STATE_START, false},
        {STATE_GAMEOVER, SDL_SCANCODE_F2, STATE_START, false},
        {STATE_GAMEOVER, SDL_SCANCODE_F5, STATE_PLAY, true},
    };
    for (const auto& [iBefore, key, iAfter, bNameLeft] : moves) {
        m_Game.m_iState = iBefore;
        m_Game.m_strPlayerName = "Ida";
        Key(key);
        EXPECT_EQ(m_Game.m_iState, iAfter) << SDL_GetScancodeName(key) << " in " << iBefore;
        EXPECT_EQ(m_Game.m_strPlayerName == "Ida", bNameLeft) << SDL_GetScancodeName(key);
    }
}

TEST_F(Keys, StartPageTakesTextWhileTheNameHasAtMostThirteenBytes) {
    m_Game.m_strPlayerName = "Anna-Lena Kim"; // 13 bytes
    Handle(TextEvent("s"));
    Handle(TextEvent("t"));
    EXPECT_EQ(m_Game.m_strPlayerName, "Anna-Lena Kims");
    m_Game.m_strPlayerName = "";
    Handle(TextEvent("ÄÖÜäöüßÄ")); // a commit of an input method is taken whole
    EXPECT_EQ(m_Game.m_strPlayerName, "ÄÖÜäöüßÄ");
    EXPECT_TRUE(m_Game.m_bPlayerNameChanged);
}

TEST_F(Keys, OnlyAReleaseStrictlyInsideTheStartButtonStartsTheGame) {
    const SDL_Rect b = CFramework::Get()->m_StartButtonRect;
    const std::tuple<Uint32, int, int, int> clicks[] = {
        {SDL_MOUSEBUTTONUP, b.x, b.y + 1, STATE_START},
        {SDL_MOUSEBUTTONUP, b.x + 1, b.y + b.h, STATE_START},
        {SDL_MOUSEBUTTONDOWN, b.x + 1, b.y + 1, STATE_START},
        {SDL_MOUSEBUTTONUP, b.x + b.w - 1, b.y + b.h - 1, STATE_PLAY},
    };
    for (const auto& [type, x, y, iState] : clicks) {
        m_Game.m_iState = STATE_START;
        // The event's own coordinates stay 0: the game must ask SDL where the pointer is.
        SDL_WarpMouseInWindow(CFramework::Get()->m_pWindow, x, y);
        Handle(SDL_Event{type});
        EXPECT_EQ(m_Game.m_iState, iState) << "event " << type << " at " << x << "," << y;
    }
}
