#include <cstdio>
#include <vector>

#include "PlayField.h"
#include "media/CMySound.h"
#include "scorestore/CDBConnection.h"

namespace {
std::vector<int> Answers(const CGame& game) {
    std::vector<int> answers;
    for (const CApple& apple : game.m_Apples) {
        answers.push_back(apple.m_iSolution);
    }
    return answers;
}
} // namespace

TEST_F(PlayField, HorsesStandInTheBottomCornersAndCatchExactlyInsideTheirZones) {
    EXPECT_TRUE(Horse(0).m_Rect.x == 10 && Horse(0).m_Rect.y == 384);
    EXPECT_TRUE(Horse(1).m_Rect.x == 520 && Horse(1).m_Rect.y == 384);
    for (int x : {209, 210, 526, 527}) {
        AddApple(x, 386, x);
    }
    AddApple(100, 385, 385);
    m_Game.CheckCollisions();
    EXPECT_EQ(Answers(m_Game), (std::vector<int>{210, 526, 385}));
    EXPECT_EQ(Horse(0).m_iHits, 1);
    EXPECT_EQ(Horse(1).m_iHits, 1);
}

TEST_F(PlayField, HitsInOnePassMakeABadgeEachAndOneBoing) {
    Hit(Horse(1), 3);
    EXPECT_FALSE(Horse(1).m_bAlive);
    const int iBoings = Plays(SOUND_BOING);
    AddApple(50, 400, 1);
    AddApple(120, 420, 2);
    AddApple(600, 390, 3); // the horse that is out still catches
    m_Game.CheckCollisions();
    EXPECT_TRUE(m_Game.m_Apples.empty());
    EXPECT_EQ(Horse(0).m_iHits, 2);
    EXPECT_EQ(Horse(1).m_iHits, 3);
    EXPECT_EQ(Plays(SOUND_BOING), iBoings + 1);
    ASSERT_EQ(m_Game.m_Bonuses.size(), 3u);
    for (const CBonus& badge : m_Game.m_Bonuses) {
        EXPECT_EQ(badge.m_iType, 5);
    }
    EXPECT_TRUE(m_Game.m_Bonuses.front().m_Rect.x == 50 &&
                m_Game.m_Bonuses.front().m_Rect.y == 400);
    m_Game.CheckCollisions();
    EXPECT_EQ(Plays(SOUND_BOING), iBoings + 1) << "a pass without hits is silent";
}

TEST_F(PlayField, CaughtAppleIsNotTestedAgainstLaterHorses) {
    Horse(1).m_Rect = Horse(0).m_Rect;
    Horse(1).m_iSide = 1;
    AddApple(100, 400, 1);
    m_Game.CheckCollisions();
    EXPECT_EQ(Horse(0).m_iHits, 1);
    EXPECT_EQ(Horse(1).m_iHits, 0);
}

TEST_F(PlayField, GameEndsTheFrameAfterTheLastHitAndIsStoredOnceAsNoname) {
    std::remove("score/scores.db");
    ASSERT_TRUE(CDBConnection::Get()->OpenDB("score/scores.db"));
    Hit(Horse(1), 3);
    Hit(Horse(0), 2);
    AddApple(100, 386, 1);
    m_Game.m_iScore = 1200;
    PlayFrame(0.01f);
    EXPECT_FALSE(Horse(0).m_bAlive);
    EXPECT_EQ(m_Game.m_iState, STATE_PLAY);
    PlayFrame(0.01f);
    EXPECT_EQ(m_Game.m_iState, STATE_GAMEOVER);
    EXPECT_EQ(m_Game.m_strPlayerName, "noname");
    EXPECT_TRUE(m_Game.m_bHighScoreChanged);
    HighScoreRows rows = CDBConnection::Get()->ReadHighScore();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].first, "noname");
    EXPECT_NE(rows[0].second.find("1200"), std::string::npos) << rows[0].second;

    m_Game.StartGame(); // back to play from the game-over screen, no reset
    PlayFrame(0.01f);
    EXPECT_EQ(m_Game.m_iState, STATE_GAMEOVER);
    EXPECT_EQ(CDBConnection::Get()->ReadHighScore().size(), 1u);

    m_Game.ResetGame(1);
    m_Game.StartGame();
    Hit(Horse(0), 3);
    Hit(Horse(1), 3);
    m_Game.RenderHorses();
    EXPECT_EQ(CDBConnection::Get()->ReadHighScore().size(), 2u);
}

TEST_F(PlayField, SpawnIntervalShrinksEveryNinetySecondsToHalfASecond) {
    SetFrameTime(45.0f);
    for (float fInterval : {3.0f, 2.5f, 2.0f, 1.5f, 1.0f, 0.5f, 0.5f}) {
        m_Game.Accelerate();
        m_Game.Accelerate();
        EXPECT_FLOAT_EQ(m_Game.m_fSpawnInterval, fInterval);
    }
    SetFrameTime(89.0f);
    m_Game.m_fSpawnInterval = 3.5f;
    m_Game.Accelerate();
    EXPECT_FLOAT_EQ(m_Game.m_fSpawnInterval, 3.5f);
    SetFrameTime(2.0f);
    m_Game.Accelerate();
    SetFrameTime(89.0f); // the second past the 90 is dropped
    m_Game.Accelerate();
    EXPECT_FLOAT_EQ(m_Game.m_fSpawnInterval, 3.0f);
}
