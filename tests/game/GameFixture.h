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
    void TearDown() override { m_Game.Quit(), StopFramework(); }
    // Empties the queue, pushes the events and lets the game handle the first of them.
    void Handle(std::initializer_list<SDL_Event> events) {
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        for (SDL_Event event : events)
            ASSERT_EQ(SDL_PushEvent(&event), 1);
        m_Game.ProcessEvents();
    }

    CGame m_Game;
    SDL_Surface* m_pScreen = nullptr;
};
