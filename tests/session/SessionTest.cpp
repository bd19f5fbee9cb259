// Several whole games played in-process through the real loop: name, start, answers, horses
// hit until game over, another game, back to the start page, quit. Also the program run under
// Valgrind's memcheck.

#include "game/GameFixture.h"

// Queues a key, or text when the text is given.
static void Push(SDL_Scancode code, const char* pText = nullptr) {
    SDL_Event event{pText ? Uint32(SDL_TEXTINPUT) : Uint32(SDL_KEYDOWN)};
    event.key.keysym.scancode = code;
    if (pText)
        SDL_strlcpy(event.text.text, pText, sizeof(event.text.text));
    SDL_PushEvent(&event);
}

// Drops what is still queued: the window's own events are not the player's.
static void Flush() {
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

// One frame in which a whole second of play passes.
static void PlaySecond(CGame& game) {
    CTimer::Get()->m_fLastTime -= 1.0f;
    game.RunFrame();
}

// Types the answer of the oldest apple, if there is one, and plays frames until the game ends.
static void PlayUntilGameOver(CGame& game) {
    for (int iFrame = 0; iFrame < 2000 && game.m_iState == STATE_PLAY; ++iFrame) {
        if (iFrame % 7 == 0 && !game.m_Apples.empty()) {
            for (char c : std::to_string(game.m_Apples.front().m_iSolution))
                Push(c == '0' ? SDL_SCANCODE_0 : SDL_Scancode(SDL_SCANCODE_1 + (c - '1')));
            Push(SDL_SCANCODE_SPACE);
        }
        PlaySecond(game);
    }
}

// The whole game as main sets it up; the memcheck run selects the suite by this name.
class Session : public GameTest {};

TEST_F(Session, SeveralGamesAreEachPlayedToTheEndAndStoredOnce) {
    CGame& game = m_Game;
    Flush(), Push(SDL_SCANCODE_UNKNOWN, "Anna"), Push(SDL_SCANCODE_F5), game.RunFrame();
    EXPECT_EQ(game.m_iState, STATE_START) << "one event per frame: the name first";
    for (int i = 0; i < 2; ++i)
        game.RunFrame();
    ASSERT_EQ(game.m_iState, STATE_PLAY);
    for (std::size_t uGame = 1; uGame <= 3; ++uGame) {
        PlayUntilGameOver(game);
        ASSERT_EQ(game.m_iState, STATE_GAMEOVER) << "game " << uGame << " never ended";
        for (int i = 0; i < 20; ++i)
            PlaySecond(game); // the game-over page stays; nothing is stored again
        const HighScoreRows rows = CDBConnection::Get()->ReadHighScore();
        EXPECT_EQ(rows.size(), uGame);
        EXPECT_EQ(rows.back().first, "Anna");
        Flush(), Push(SDL_SCANCODE_RETURN), game.RunFrame();
        ASSERT_EQ(game.m_iState, STATE_PLAY);
        EXPECT_EQ(game.m_iScore, 0);
    }
    Flush(), Push(SDL_SCANCODE_F2);
    for (int i = 0; i < 10 && game.m_iState != STATE_START; ++i)
        game.RunFrame();
    EXPECT_EQ(game.m_iState, STATE_START);
    Push(SDL_SCANCODE_ESCAPE), game.Run();
    EXPECT_FALSE(game.m_bRunning);
}
