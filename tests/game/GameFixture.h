#pragma once
// A whole game set up as main does it, in the test process's own runtime directory, fed with
// events the way SDL delivers them.

#include <cstdio>

#include <gtest/gtest.h>

#include "framework/CFramework.h"
#include "game/CGame.h"
#include "support/TestRuntime.h"

class GameTest : public testing::Test {
protected:
    void SetUp() override {
        std::remove("score/scores.db"); // every test starts with an empty score table
        // The dummy driver cannot make the cursors; those reports are expected.
        testing::internal::CaptureStderr();
        const bool bReady = StartFramework();
        testing::internal::GetCapturedStderr();
        ASSERT_TRUE(bReady);
        m_Game.Init();
    }
    void TearDown() override {
        m_Game.Quit();
        StopFramework();
    }
    // Empties the queue, then lets the game handle this one event.
    void Handle(SDL_Event event) {
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        ASSERT_EQ(SDL_PushEvent(&event), 1);
        m_Game.ProcessEvents();
    }

    CGame m_Game;
};
