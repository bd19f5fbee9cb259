// Several whole games played in-process through the real loop: name, start, answers, horses hit
// until game over, another game, back to the start page, quit. Also run under Valgrind's memcheck.

#include "game/GameFixture.h"

// Queues a key, or text when the text is given.
static void Push(SDL_Scancode code, const char* pText = nullptr) {
    SDL_Event event{pText ? Uint32(SDL_TEXTINPUT) : Uint32(SDL_KEYDOWN)};
    event.key.keysym.scancode = code;
    if (pText) {
        SDL_strlcpy(event.text.text, pText, sizeof(event.text.text));
    }
    SDL_PushEvent(&event);
}

// Frames until the queue is worked off, each one second of play long.
static void PlayQueued(CGame& game) {
    while (SDL_PeepEvents(nullptr, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
        CTimer::Get()->m_fLastTime -= 1.0f;
        game.RunFrame();
    }
}

// Answers the oldest apple now and then and plays seconds until the game ends.
static void PlayUntilGameOver(CGame& game) {
    for (int iFrame = 0; iFrame < 2000 && game.m_iState == STATE_PLAY; ++iFrame) {
        if (iFrame % 7 == 0 && !game.m_Apples.empty()) {
            for (char c : std::to_string(game.m_Apples.front().m_iSolution)) {
                Push(c == '0' ? SDL_SCANCODE_0 : SDL_Scancode(SDL_SCANCODE_1 + (c - '1')));
            }
            Push(SDL_SCANCODE_SPACE);
        }
        CTimer::Get()->m_fLastTime -= 1.0f;
        game.RunFrame();
    }
}

using Session = GameTest;

TEST_F(Session, EveryGamePlayedToItsEndIsStored) {
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    Push(SDL_SCANCODE_UNKNOWN, "Anna");
    Push(SDL_SCANCODE_F5);
    PlayQueued(m_Game);
    for (std::size_t uGame = 1; uGame <= 3; ++uGame) {
        ASSERT_EQ(m_Game.m_iState, STATE_PLAY);
        PlayUntilGameOver(m_Game);
        ASSERT_EQ(m_Game.m_iState, STATE_GAMEOVER) << "game " << uGame << " never ended";
        const HighScoreRows rows = CDBConnection::Get()->ReadHighScore();
        EXPECT_EQ(rows.size(), uGame);
        EXPECT_EQ(rows.back().first, "Anna");
        Push(SDL_SCANCODE_RETURN);
        PlayQueued(m_Game);
    }
    Push(SDL_SCANCODE_F2);
    Push(SDL_SCANCODE_ESCAPE);
    m_Game.Run();
    EXPECT_EQ(m_Game.m_iState, STATE_START);
}
