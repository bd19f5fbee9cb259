// The rules of play on the game's own set-up: apples and their tasks, horses, answers, badges and
// the witch, seen in the game's records, the sounds playing and the screen surface.

#include <array>
#include <regex>
#include <set>

#include "game/GameFixture.h"

using PlayField = GameTest;

// Tasks of apples of a range and an operation, each drawn after seeding the generator apart: the
// two numbers shown and the answer, or -1s for a text that is no task of the operation.
static std::vector<std::array<int, 3>> Tasks(CGame& game, int iRange, bool bMultiply) {
    const std::regex task(bMultiply ? "(\\d+) x (\\d+)" : "(\\d+) : (\\d+)");
    std::vector<std::array<int, 3>> tasks;
    for (unsigned i = 0; i < 400; ++i) {
        std::srand(i);
        CApple apple;
        apple.Init(game.m_pAppleSprite, 0.0f, 0.0f, iRange, bMultiply);
        apple.Quit();
        std::smatch m;
        const bool bTask = std::regex_match(apple.m_strTask, m, task);
        tasks.push_back({bTask ? std::stoi(m[1]) : -1, bTask ? std::stoi(m[2]) : -1,
                         bTask ? apple.m_iSolution : -1});
    }
    return tasks;
}

TEST_F(PlayField, MultiplicationAsksForTheProductOfFactorsFromOneToTheRange) {
    for (int iRange : {10, 20, 99, 50}) {
        std::set<int> factors;
        for (const auto& [a, b, iAnswer] : Tasks(m_Game, iRange, true)) {
            EXPECT_EQ(iAnswer, a * b) << a << " x " << b;
            factors.insert({a, b});
        }
        EXPECT_EQ(*factors.begin(), 1);
        EXPECT_EQ(*factors.rbegin(), iRange == 50 ? 10 : iRange) << "50 counts as 10";
    }
}

TEST_F(PlayField, DivisionAsksForTheFactorThatIsNotShown) {
    std::set<int> answers;
    for (const auto& [p, b, iAnswer] : Tasks(m_Game, 20, false)) {
        EXPECT_EQ(p, b * iAnswer) << p << " : " << b;
        answers.insert(iAnswer);
    }
    EXPECT_EQ(answers.size(), 20u);
    EXPECT_EQ(ComposeTask(99, 98, false, 0).strText, "9702 : 99") << "the longest fits";
    EXPECT_EQ(ComposeTask(99, 98, false, 1).strText, "9702 : 98");
}

TEST_F(PlayField, OneAppleComesEachIntervalJustAboveTheField) {
    std::set<int> xs;
    for (unsigned i = 0; i < 3000; ++i) {
        std::srand(i);
        m_Game.m_fSpawnTimer = 0.0f;
        Tick(2.0f);
        m_Game.SpawnApples();
        m_Game.SpawnApples(); // 4 s: an apple, and the timer starts over at 0
        Tick(3.4f);
        m_Game.SpawnApples();
        ASSERT_EQ(m_Game.m_Apples.size(), i + 1);
        ASSERT_EQ(m_Game.m_Apples.back().m_Rect.y, -60);
        xs.insert(m_Game.m_Apples.back().m_Rect.x);
    }
    EXPECT_EQ(*xs.begin(), 0);
    EXPECT_EQ(*xs.rbegin(), 735) << "the 64-pixel apple stays inside the 800-pixel field";
}

TEST_F(PlayField, ApplesFallTwentyPixelsASecondTurningTwentyFramesUntilPastTheBottom) {
    const CApple& apple = Apple(100, 570, 1);
    // Per pass: frame time, then the apple's y and animation phase, and the apples listed.
    const std::tuple<float, int, float, std::size_t> passes[] = {
        {0.5f, 580, 10.0f, 1},
        {0.5f, 590, 0.0f, 1},
        {0.05f, 591, 1.0f, 1},
    };
    for (const auto& [fSeconds, y, fPhase, uListed] : passes) {
        Tick(fSeconds);
        m_Game.RenderApples();
        EXPECT_EQ(apple.m_Rect.y, y);
        EXPECT_FLOAT_EQ(apple.m_fAnimPhase, fPhase);
        EXPECT_EQ(m_Game.m_Apples.size(), uListed);
    }
    CFramework::Get()->Clear();
    m_Game.RenderApples();
    EXPECT_TRUE(m_Game.m_Apples.empty());
    EXPECT_EQ(Differ(m_pScreen, Blank()), 0) << "erased undrawn";
}

TEST_F(PlayField, HorsesCatchApplesWhoseTopIsInTheBandBelowTheirTop) {
    m_Game.m_Horses.front().Update(true);
    m_Game.m_Horses.front().Update(true);
    // x, y of an apple; the left horse catches x 0 to 209, the right one 527 to 735.
    const int apples[][2] = {
        {209, 386}, {210, 386}, {526, 386}, {527, 386}, {100, 385}, {100, 448}, {100, 449},
    };
    for (const auto& [x, y] : apples) {
        Apple(x, y, 0);
    }
    m_Game.CheckCollisions();
    std::vector<int> left;
    for (const CApple& apple : m_Game.m_Apples) {
        left.push_back(apple.m_Rect.x * 1000 + apple.m_Rect.y);
    }
    EXPECT_EQ(left, (std::vector<int>{210386, 526386, 100385, 100449}));
    EXPECT_EQ(m_Game.m_Horses.front().m_iHits, 3) << "out after three, however many land";
    EXPECT_EQ(m_Game.m_Horses.back().m_iHits, 1);
    EXPECT_EQ(m_Game.m_Bonuses.size(), 3u);
    EXPECT_EQ(m_Game.m_Bonuses.back().m_iType, 5) << "the hit badge";
    EXPECT_EQ(m_Game.m_Bonuses.back().m_Rect.x, 527) << "where the apple was";
    EXPECT_EQ(Sounding(CMySound::Get()->m_pBoing), 1) << "one boing a pass";
}

TEST_F(PlayField, GameEndsOnlyWhenBothHorsesAreOutStoringItsScore) {
    m_Game.m_iState = STATE_PLAY;
    m_Game.m_iScore = 1200;
    for (int i = 0; i < 3; ++i) {
        m_Game.m_Horses.back().Update(true);
        m_Game.RenderHorses();
    }
    m_Game.RenderHorses();
    EXPECT_EQ(m_Game.m_iState, STATE_PLAY) << "one horse is out";
    for (int i = 0; i < 3; ++i) {
        m_Game.m_Horses.front().Update(true);
    }
    m_Game.RenderHorses();
    EXPECT_EQ(m_Game.m_iState, STATE_GAMEOVER);
    EXPECT_EQ(CDBConnection::Get()->ReadHighScore(),
              HighScoreRows{HighScoreRows::value_type("noname", ":   0001200")});
}

TEST_F(PlayField, SpawnIntervalShrinksEveryNinetySecondsToHalfASecond) {
    std::vector<float> intervals; // after each frame; time past the 90 seconds is dropped
    for (float fSeconds : {89.0f, 1.0f, 91.0f, 89.0f, 90.0f, 90.0f, 90.0f, 90.0f, 90.0f}) {
        Tick(fSeconds);
        m_Game.Accelerate();
        intervals.push_back(m_Game.m_fSpawnInterval);
    }
    EXPECT_EQ(intervals, (std::vector<float>{3.5f, 3.f, 2.5f, 2.5f, 2.f, 1.5f, 1.f, .5f, .5f}));
}

TEST_F(PlayField, OneAnswerSolvesEveryAppleWithItForThePointsOfItsBadges) {
    Apple(10, 50, 12);
    Apple(20, 60, 7);
    Apple(30, 70, 12);
    Answer("012");
    EXPECT_EQ(m_Game.m_Apples.size(), 1u);
    EXPECT_EQ(Sounding(CMySound::Get()->m_pSuccess), 2);
    EXPECT_EQ(Sounding(CMySound::Get()->m_pFail), 0);
    int iPoints = 0;
    for (const CBonus& badge : m_Game.m_Bonuses) {
        iPoints += (badge.m_iType + 1) * 100;
        EXPECT_EQ(badge.m_Rect.y - badge.m_Rect.x, 40) << "the badge lies where its apple was";
    }
    EXPECT_EQ(m_Game.m_iScore, iPoints);
    EXPECT_EQ(m_Game.m_Bonuses.size(), 2u);
}

TEST_F(PlayField, SolvedAppleEarnsOneToFiveHundredPoints) {
    std::set<int> points;
    for (unsigned i = 0; i < 100; ++i) {
        std::srand(i);
        const int iBefore = m_Game.m_iScore;
        Apple(0, 0, 5);
        Answer("5");
        points.insert(m_Game.m_iScore - iBefore);
    }
    EXPECT_EQ(points, (std::set<int>{100, 200, 300, 400, 500}));
}

TEST_F(PlayField, WrongAnswerOnlyPlaysTheFailSound) {
    Apple(100, 100, 12);
    Answer("12");
    Tick(0.4f);
    m_Game.m_pWitch->Update();
    Apple(100, 100, -1);
    Apple(100, 595, 12).m_bAlive = false; // fell out: worth nothing
    Answer("99999999999999999999");       // past the int range: -1, which no task has
    EXPECT_EQ(Sounding(CMySound::Get()->m_pFail), 1);
    EXPECT_EQ(Sounding(CMySound::Get()->m_pSuccess), 0);
    EXPECT_EQ(m_Game.m_Apples.size(), 1u);
    EXPECT_FLOAT_EQ(m_Game.m_pWitch->m_fTimer, 0.4f) << "the strike goes on";
}

TEST_F(PlayField, WitchStrikesSolvedApplesWithBoltsUnderHerFlash) {
    Apple(100, 100, 12);
    Apple(500, -60, 12);
    Answer("12");
    CFramework::Get()->Clear();
    m_Game.m_pWitch->Render();
    std::string row; // the bolt to the first apple crosses row 200, one pixel a line
    int iTop = 0;    // the bolt to the second leaves the screen at its top
    for (int x = 0; x < 800; ++x) {
        const int c = Rgb(m_pScreen, x, 200);
        row += c == 0xFFFF00 ? "Y" : c == 0xFF0000 ? "R" : "";
        iTop += Rgb(m_pScreen, x, 0) != 0 ? 1 : 0;
    }
    EXPECT_EQ(row, "YRYRYRYYRYRYRY");
    EXPECT_EQ(iTop, 7);
    EXPECT_EQ(Rgb(m_pScreen, 132, 132), 0xFFFF00) << "the middle of the first apple";
    SDL_Surface* pExpected = Blank();
    Put(pExpected, ASSET_WITCHEY, 2, 314, 276);
    Put(pExpected, ASSET_FLASHBGR, -1, 364, 308, 146);
    SDL_Rect bolts{0, 0, 800, 323};
    SDL_BlitSurface(m_pScreen, &bolts, pExpected, &bolts);
    EXPECT_EQ(Differ(m_pScreen, pExpected), 0) << "below the bolts";
}

TEST_F(PlayField, StrikeEndsOnceSevenTenthsOfASecondHavePassed) {
    std::set<float> after;
    for (int i = 0; i < 64; ++i) {
        m_Game.m_pWitch->m_fFrame = 2.0f;
        m_Game.m_pWitch->m_fTimer = 0.0f;
        Tick(0.7f); // 0.699999988 as a double: not yet
        m_Game.m_pWitch->Update();
        after.insert(m_Game.m_pWitch->m_fFrame);
        Tick(0.0001f);
        m_Game.m_pWitch->Update();
        after.insert(m_Game.m_pWitch->m_fFrame + 10.0f);
    }
    EXPECT_EQ(after, (std::set<float>{2.0f, 10.0f, 11.0f}));
}

TEST_F(PlayField, BadgeFallsTwentyPixelsASecondUntilItIsASecondOldOrPastTheBottom) {
    m_Game.m_Bonuses.emplace_back().Init(m_Game.m_pBonusSprite, 2, 100.0f, 200.0f);
    m_Game.m_Bonuses.emplace_back().Init(m_Game.m_pBonusSprite, 1, 300.0f, 589.0f);
    std::vector<int> seen; // per pass: the first badge's y after it, and the badges left
    for (float fSeconds : {.5f, .25f, .24f, .5f}) {
        Tick(fSeconds);
        m_Game.RenderBonus();
        seen.push_back(m_Game.m_Bonuses.front().m_Rect.y);
        seen.push_back(static_cast<int>(m_Game.m_Bonuses.size()));
    }
    EXPECT_EQ(seen, (std::vector<int>{210, 2, 215, 1, 219, 1, 229, 1}));
    Tick(0.1f);
    m_Game.RenderBonus();
    EXPECT_TRUE(m_Game.m_Bonuses.empty()) << "a second old";
}

// Her pictures in quarter-second frames from the start of the run: exits 0 when the rhythm holds.
static void WatchTheWitch() {
    CWitchey witch;
    witch.m_fFrame = 0.0f;
    witch.m_fTimer = 0.0f;
    std::string frames;
    Tick(0.25f);
    while (frames.size() < 60) {
        witch.Update();
        frames += static_cast<char>('0' + witch.m_fFrame);
    }
    // Normal 3.5 s, eyes 0.5 s; normal 2.5 or 3.5 s (the first change takes 0 or 1 off), eyes;
    // then normal as long or 1 s longer (the second change adds 0 or 1).
    const char* pRhythm = "0{13}110(0{9}110{9}|0{9}110{13}|0{13}110{13}|0{13}110{17})011.*";
    std::exit(std::regex_match(frames, std::regex(pRhythm)) ? 0 : 2);
}

TEST(Witch, BlinkRhythmStartsAtThreePointFiveSecondsThenDrifts) {
    // The rhythm lives for the whole run and no other test lets it run: a child sees it fresh.
    EXPECT_EXIT(WatchTheWitch(), testing::ExitedWithCode(0), "");
}
