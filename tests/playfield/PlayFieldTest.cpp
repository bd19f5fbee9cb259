// The rules of play on the game's own set-up: tasks, apples, horses, answers and the witch, seen
// in the game's records, the sounds playing and the screen surface.

#include <regex>
#include <set>

#include "game/GameFixture.h"

using PlayField = GameTest;

TEST_F(PlayField, TaskAsksForTheFactNotShownWithFactorsFromOneToTheRange) {
    const std::regex shown("(\\d+) ([x:]) (\\d+)");
    for (const auto& [iRange, bMultiply] :
         {std::pair(10, true), {99, true}, {50, true}, {20, false}}) {
        std::set<int> factors;
        for (unsigned i = 0; i < 600; ++i) {
            std::srand(i);
            CApple apple;
            apple.Init(m_Game.m_pAppleSprite, 0.0f, 0.0f, iRange, bMultiply);
            apple.Quit();
            std::smatch m;
            ASSERT_TRUE(std::regex_match(apple.m_strTask, m, shown)) << apple.m_strTask;
            const int a = std::stoi(m[1]);
            const int b = std::stoi(m[3]);
            EXPECT_EQ(bMultiply ? apple.m_iSolution : a, bMultiply ? a * b : b * apple.m_iSolution);
            EXPECT_EQ(m[2], bMultiply ? "x" : ":");
            factors.insert({bMultiply ? a : apple.m_iSolution, b});
        }
        EXPECT_EQ(*factors.begin(), 1);
        EXPECT_EQ(*factors.rbegin(), iRange == 50 ? 10 : iRange) << "50 counts as 10";
    }
    EXPECT_EQ(ComposeTask(99, 98, false, 0).strText, "9702 : 99") << "the longest fits";
}

TEST_F(PlayField, ApplesComeAboveTheFieldAtOnceThenEveryThreeAndAHalfSeconds) {
    std::vector<float> seen; // after each frame: how many apples, and the y of the newest
    for (float fSeconds : {0.0f, 3.4f, 0.2f, 3.45f, 0.05f}) {
        Tick(fSeconds);
        m_Game.SpawnApples();
        seen.push_back(m_Game.m_Apples.size());
        seen.push_back(m_Game.m_Apples.back().m_fYPos);
    }
    EXPECT_EQ(seen, (std::vector<float>{1, -60, 1, -60, 2, -60, 2, -60, 3, -60}));
}

TEST_F(PlayField, ApplesFallTwentyPixelsASecondTurningTwentyFramesUntilPastTheBottom) {
    const CApple& apple = Apple(100, 570, 1);
    std::vector<float> seen; // after each pass: y and animation phase
    for (float fSeconds : {0.5f, 0.5f, 0.05f}) {
        Tick(fSeconds);
        m_Game.RenderApples();
        seen.push_back(apple.m_fYPos);
        seen.push_back(apple.m_fAnimPhase);
    }
    EXPECT_EQ(seen, (std::vector<float>{580, 10, 590, 0, 591, 1}));
    EXPECT_EQ(m_Game.m_Apples.size(), 1u) << "fell out in the last pass";
    CFramework::Get()->Clear();
    m_Game.RenderApples();
    EXPECT_TRUE(m_Game.m_Apples.empty());
    EXPECT_EQ(Differ(m_pScreen, Blank()), 0) << "erased undrawn";
}

TEST_F(PlayField, HorsesCatchApplesWhoseTopIsInTheBandBelowTheirTop) {
    m_Game.m_Horses.front().Update(true);
    m_Game.m_Horses.front().Update(true);
    // The left horse catches x 0 to 209, the right one 527 to 735, y 386 to 448.
    for (const auto& [x, y] : {std::pair(209, 386),
                               {210, 386},
                               {526, 386},
                               {527, 386},
                               {100, 385},
                               {100, 448},
                               {100, 449}}) {
        Apple(x, y, x + y);
    }
    m_Game.CheckCollisions();
    std::vector<int> left;
    for (const CApple& apple : m_Game.m_Apples) {
        left.push_back(apple.m_iSolution);
    }
    EXPECT_EQ(left, (std::vector<int>{210 + 386, 526 + 386, 100 + 385, 100 + 449}));
    EXPECT_EQ(m_Game.m_Horses.front().m_iHits, 3) << "out after three, however many land";
    EXPECT_EQ(m_Game.m_Horses.back().m_iHits, 1);
    EXPECT_EQ(m_Game.m_Bonuses.back().m_iType, 5) << "the hit badge";
    EXPECT_EQ(m_Game.m_Bonuses.back().m_Rect.x, 527) << "where the apple was";
    EXPECT_EQ(Sounding(CMySound::Get()->m_pBoing), 1) << "one boing a pass";
}

TEST_F(PlayField, GameGoesOnWhileOneHorseIsLeft) {
    m_Game.StartGame();
    m_Game.m_Horses.front().m_bAlive = false;
    m_Game.RunFrame();
    m_Game.RunFrame();
    EXPECT_EQ(m_Game.m_iState, STATE_PLAY);
}

TEST_F(PlayField, OneAnswerSolvesEveryLiveAppleWithItForThePointsOfItsBadges) {
    Apple(10, 50, 12);
    Apple(20, 60, 7);
    Apple(30, 70, 12);
    Apple(40, 595, 12).m_bAlive = false; // fell out: worth nothing
    Answer("012");
    EXPECT_EQ(m_Game.m_Apples.size(), 1u);
    EXPECT_EQ(Sounding(CMySound::Get()->m_pSuccess), 2);
    int iPoints = 0;
    for (const CBonus& badge : m_Game.m_Bonuses) {
        iPoints += (badge.m_iType + 1) * 100;
        EXPECT_EQ(badge.m_Rect.y - badge.m_Rect.x, 40) << "the badge lies where its apple was";
    }
    EXPECT_EQ(m_Game.m_iScore, iPoints);
    EXPECT_EQ(m_Game.m_Bonuses.size(), 2u);
}

TEST_F(PlayField, BadgeFallsForOneSecondAtTwentyPixelsASecond) {
    m_Game.m_Bonuses.emplace_back().Init(m_Game.m_pBonusSprite, 3, 600.0f, 200.0f);
    Tick(0.5f);
    m_Game.RenderBonus();
    m_Game.RenderBonus();
    EXPECT_EQ(m_Game.m_Bonuses.back().m_Rect.y, 220);
    m_Game.RenderBonus();
    EXPECT_TRUE(m_Game.m_Bonuses.empty());
}

TEST_F(PlayField, WrongAnswerOnlyPlaysTheFailSound) {
    Apple(100, 100, -1);
    Answer("99999999999999999999"); // past the int range: -1, which no task has
    EXPECT_EQ(Sounding(CMySound::Get()->m_pFail), 1);
    EXPECT_EQ(m_Game.m_Apples.size(), 1u);
    EXPECT_EQ(m_Game.m_pWitch->m_fFrame, 0.0f) << "no strike";
}

TEST_F(PlayField, WitchStrikesSolvedApplesWithBoltsUnderHerFlash) {
    Apple(100, 100, 12);
    Apple(500, -60, 12);
    Answer("12");
    CFramework::Get()->Clear();
    m_Game.m_pWitch->Render();
    std::string row; // the bolts cross row 200, one pixel a line
    int iTop = 0;    // the bolt to the second leaves the screen at its top
    for (int x = 0; x < 800; ++x) {
        const int c = Rgb(m_pScreen, x, 200);
        row += c == 0xFFFF00 ? "Y" : c == 0xFF0000 ? "R" : "";
        iTop += Rgb(m_pScreen, x, 0) != 0 ? 1 : 0;
    }
    EXPECT_EQ(row, "YRYRYRYYRYRYRY");
    EXPECT_EQ(iTop, 7);
    SDL_Surface* pExpected = Blank();
    Put(pExpected, ASSET_WITCHEY, 2, 314, 276);
    Put(pExpected, ASSET_FLASHBGR, -1, 364, 308, 146);
    SDL_Rect bolts{0, 0, 800, 323};
    SDL_BlitSurface(m_pScreen, &bolts, pExpected, &bolts);
    EXPECT_EQ(Differ(m_pScreen, pExpected), 0) << "below the bolts";
}
