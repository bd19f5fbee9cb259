#pragma once
// A whole game set up as main does it, in the test process's own runtime directory, fed with
// events the way SDL delivers them.

#include <cstdio>

#include "game/CGame.h"
#include "playfield/CWitchey.h"
#include "scorestore/CDBConnection.h"
#include "support/TestRuntime.h"

class GameTest : public testing::Test {
protected:
    void SetUp() override {
        std::remove("score/scores.db"); // every test starts with an empty score table
        // The dummy driver cannot make the cursors: their reports on standard error are expected.
        ASSERT_TRUE(StartFramework());
        m_Game.Init();
        m_pScreen = CFramework::Get()->m_pScreen;
    }
    void TearDown() override {
        m_Game.Quit();
        StopFramework();
    }
    // Empties the queue and pushes the event: the next frame handles it.
    void Queue(SDL_Event event) {
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        ASSERT_EQ(SDL_PushEvent(&event), 1);
    }
    void Handle(SDL_Event event) {
        Queue(event);
        m_Game.ProcessEvents();
    }
    void Key(SDL_Scancode scancode) {
        SDL_Event event{SDL_KEYDOWN};
        event.key.keysym.scancode = scancode;
        Handle(event);
    }
    static SDL_Event TextEvent(const char* pText) {
        SDL_Event event{SDL_TEXTINPUT};
        SDL_strlcpy(event.text.text, pText, sizeof(event.text.text));
        return event;
    }
    // An apple as the game makes it, then moved to (x, y) with the answer given.
    CApple& Apple(int x, int y, int iSolution) {
        CApple& apple = m_Game.m_Apples.emplace_back();
        apple.Init(m_Game.m_pAppleSprite, 0.0f, 0.0f, 10, true);
        apple.m_fXPos = static_cast<float>(x);
        apple.m_fYPos = static_cast<float>(y);
        apple.m_Rect.x = x;
        apple.m_Rect.y = y;
        apple.m_iSolution = iSolution;
        return apple;
    }
    // Types the answer and presses Space, with only the sounds of this answer playing.
    void Answer(const char* pDigits) {
        Mix_HaltChannel(-1);
        m_Game.m_strAnswer = pDigits;
        Key(SDL_SCANCODE_SPACE);
    }

    CGame m_Game;
    SDL_Surface* m_pScreen = nullptr;
};
