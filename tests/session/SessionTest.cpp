// Several whole games played in-process through the real loop: name, start, answers, horses
// hit until game over, another game, back to the start page, quit. Also the program run under
// Valgrind's memcheck.

#include <string>

#include <SDL.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "framework/CTimer.h"
#include "game/CGame.h"
#include "support/TestRuntime.h"

namespace {
// Drops what is still queued, so the next pushed event is handled in the next frame.
void FlushEvents() {
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

void PushKey(SDL_Scancode code) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.scancode = code;
    SDL_PushEvent(&event);
}

void PushText(const char* pText) {
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    SDL_strlcpy(event.text.text, pText, sizeof(event.text.text));
    SDL_PushEvent(&event);
}

// One frame in which a whole second of play passes.
void PlaySecond(CGame& game) {
    CTimer::Get()->m_fLastTime -= 1.0f;
    game.RunFrame();
}

// Types the answer of the oldest apple, if there is one, and plays frames until the game ends.
void PlayUntilGameOver(CGame& game) {
    for (int iFrame = 0; iFrame < 2000 && game.m_iState == STATE_PLAY; ++iFrame) {
        if (iFrame % 7 == 0 && !game.m_Apples.empty()) {
            for (char c : std::to_string(game.m_Apples.front().m_iSolution)) {
                PushKey(c == '0' ? SDL_SCANCODE_0
                                 : static_cast<SDL_Scancode>(SDL_SCANCODE_1 + (c - '1')));
            }
            PushKey(SDL_SCANCODE_SPACE);
        }
        PlaySecond(game);
    }
}

int StoredGames(const char* pName) {
    sqlite3* pDB = nullptr;
    int iCount = -1;
    if (sqlite3_open("score/scores.db", &pDB) == SQLITE_OK) {
        const std::string strSql =
            std::string("select count(*) from scores where name='") + pName + "' and score > 0;";
        sqlite3_exec(
            pDB, strSql.c_str(),
            [](void* pCount, int, char** argv, char**) {
                *static_cast<int*>(pCount) = std::stoi(argv[0]);
                return 0;
            },
            &iCount, nullptr);
    }
    sqlite3_close(pDB);
    return iCount;
}
} // namespace

TEST(Session, SeveralGamesAreEachPlayedToTheEndAndStoredOnce) {
    ASSERT_TRUE(StartFramework());
    {
        CGame game;
        game.Init();
        FlushEvents(); // the window's own start-up events are not the player's
        PushText("Anna");
        PushKey(SDL_SCANCODE_F5);
        for (int i = 0; i < 3; ++i) {
            game.RunFrame();
        }
        ASSERT_EQ(game.m_iState, STATE_PLAY);

        for (int iGame = 1; iGame <= 3; ++iGame) {
            PlayUntilGameOver(game);
            ASSERT_EQ(game.m_iState, STATE_GAMEOVER) << "game " << iGame << " never ended";
            for (int i = 0; i < 20; ++i) {
                PlaySecond(game); // the game-over page stays; nothing is stored again
            }
            EXPECT_EQ(StoredGames("Anna"), iGame);
            FlushEvents();
            PushKey(SDL_SCANCODE_RETURN);
            game.RunFrame();
            ASSERT_EQ(game.m_iState, STATE_PLAY);
            EXPECT_EQ(game.m_iScore, 0);
        }
        FlushEvents();
        PushKey(SDL_SCANCODE_F2);
        for (int i = 0; i < 10 && game.m_iState != STATE_START; ++i) {
            game.RunFrame();
        }
        EXPECT_EQ(game.m_iState, STATE_START);
        PushKey(SDL_SCANCODE_ESCAPE);
        game.Run();
        EXPECT_FALSE(game.m_bRunning);
        game.Quit();
    }
    StopFramework();
}
