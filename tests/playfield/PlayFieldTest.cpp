// The rules of play on the game's own set-up: apples and their tasks, horses, answers, badges and
// the witch, seen on the screen surface, in the sounds playing and in the game's records.

#include <regex>
#include <set>

#include "game/GameFixture.h"
#include "media/CSprite.h"

using PlayField = GameTest;

// Apples of a range and an operation, each drawn after seeding the generator apart; for each,
// the two numbers shown and its answer, or -1s for a text that is no task of the operation.
static std::vector<std::array<int, 3>> Tasks(CGame& game, int iRange, bool bMultiply) {
    std::vector<std::array<int, 3>> tasks;
    for (unsigned i = 0; i < 400; ++i) {
        std::srand(i);
        CApple apple;
        apple.Init(game.m_pAppleSprite, 0.0f, 0.0f, iRange, bMultiply);
        apple.Quit();
        const std::regex task(bMultiply ? "(\\d+) x (\\d+)" : "(\\d+) : (\\d+)");
        std::smatch m;
        const bool bTask = std::regex_match(apple.m_strTask, m, task);
        tasks.push_back(
            bTask ? std::array<int, 3>{std::stoi(m[1]), std::stoi(m[2]), apple.m_iSolution}
                  : std::array<int, 3>{-1, -1, -1});
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
    EXPECT_EQ(*answers.begin(), 1);
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

TEST_F(PlayField, ApplePassDrawsEachAppleBeforeMovingIt) {
    Apple(100, 100, 1);
    std::vector<int> seen; // y and frame drawn per pass: 20 pixels and 20 frames a second
    for (float fSeconds : {0.5f, 0.625f, 0.0f}) {
        const int y = m_Game.m_Apples.front().m_Rect.y;
        CFramework::Get()->Clear();
        Tick(fSeconds);
        m_Game.RenderApples();
        seen.push_back(y);
        seen.push_back(FrameAt(m_pScreen, Picture("apple5"), 64, 64, 100, y, 20));
    }
    EXPECT_EQ(seen, (std::vector<int>{100, 0, 110, 10, 122, 2}));
}

TEST_F(PlayField, AppleBelowTheBottomLineIsErasedUndrawn) {
    Apple(100, 580, 1);
    for (float fSeconds : {0.5f, 0.0f}) {
        Tick(fSeconds);
        m_Game.RenderApples(); // to 590: still in play
    }
    EXPECT_EQ(m_Game.m_Apples.size(), 1u);
    Tick(0.05f);
    m_Game.RenderApples();
    CFramework::Get()->Clear();
    m_Game.RenderApples();
    EXPECT_TRUE(m_Game.m_Apples.empty());
    EXPECT_EQ(Mismatch(m_pScreen, Blank(), {0, 0, 800, 600}, 0, 0), 0);
}

TEST_F(PlayField, TaskTextIsCentredOnTheApple) {
    SDL_Surface* pKey = SDL_CreateRGBSurfaceWithFormat(0, 64, 64, 24, SDL_PIXELFORMAT_BGR24);
    SDL_FillRect(pKey, nullptr, SDL_MapRGB(pKey->format, 255, 0, 255));
    SDL_SaveBMP(pKey, "key.bmp");
    CSprite blank; // an apple picture that is all key: only the text shows
    blank.Load("key.bmp", 1, 64, 64);
    blank.SetColorKey(255, 0, 255);
    CApple apple;
    apple.Init(&blank, 300.0f, 200.0f, 99, false);
    apple.Render();
    apple.Quit();
    const SDL_Point size = TextSize(apple.m_strTask, 12);
    const int x = 300 + (64 - size.x) / 2;
    EXPECT_EQ(TextMismatch(m_pScreen, apple.m_strTask, 12, x, 200 + (64 - size.y) / 2), 0);
}

TEST_F(PlayField, HorsesCatchApplesWhoseTopIsInTheBandBelowTheirTop) {
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
        left.push_back(apple.m_Rect.x + apple.m_Rect.y);
    }
    EXPECT_EQ(left, (std::vector<int>{210 + 386, 526 + 386, 100 + 385, 100 + 449}));
    EXPECT_EQ(m_Game.m_Horses.front().m_iHits, 2);
    EXPECT_EQ(m_Game.m_Horses.back().m_iHits, 1);
}

TEST_F(PlayField, EveryCatchLeavesAHitBadgeUnderOneBoingAPass) {
    Apple(20, 400, 1);
    Apple(600, 390, 2);
    m_Game.CheckCollisions();
    EXPECT_EQ(Sounding(CMySound::Get()->m_pBoing), 1);
    Tick(0.0f);
    m_Game.RenderBonus();
    EXPECT_EQ(FrameAt(m_pScreen, Picture("bonus3"), 64, 64, 600, 390), 5);
    EXPECT_EQ(FrameAt(m_pScreen, Picture("bonus3"), 64, 64, 20, 400), 5);
}

TEST_F(PlayField, HorseThatIsOutStillCatchesAtThreeHits) {
    for (int i = 0; i < 4; ++i) {
        Apple(20, 400, i);
        m_Game.CheckCollisions();
    }
    EXPECT_EQ(m_Game.m_Horses.front().m_iHits, 3);
    EXPECT_EQ(m_Game.m_Bonuses.size(), 4u);
}

TEST_F(PlayField, EachHorseIsDrawnAfterItsHits) {
    m_Game.m_Horses.front().Update(true);
    m_Game.m_Horses.front().Update(true);
    m_Game.RenderHorses();
    EXPECT_EQ(FrameAt(m_pScreen, Picture("pferdleft"), 270, 211, 10, 384), 2);
    EXPECT_EQ(FrameAt(m_pScreen, Picture("pferdright"), 270, 211, 520, 384), 0);
}

TEST_F(PlayField, GameEndsOnlyWhenBothHorsesAreOutStoringItsScore) {
    m_Game.m_iState = STATE_PLAY;
    m_Game.m_iScore = 1200;
    for (int i = 0; i < 5; ++i) {
        m_Game.m_Horses.back().Update(true);
        m_Game.RenderHorses();
        EXPECT_EQ(m_Game.m_iState, STATE_PLAY) << "one horse is out";
    }
    for (int i = 0; i < 3; ++i) {
        m_Game.m_Horses.front().Update(true);
    }
    m_Game.RenderHorses();
    EXPECT_EQ(m_Game.m_iState, STATE_GAMEOVER);
    EXPECT_EQ(m_Game.m_strPlayerName, "noname");
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
    EXPECT_FLOAT_EQ(m_Game.m_pWitch->m_fTimer, 0.4f);
}

TEST_F(PlayField, WitchStrikesSolvedApplesWithBoltsUnderHerFlash) {
    Apple(100, 100, 12);
    Apple(500, -60, 12);
    Answer("12");
    CFramework::Get()->Clear();
    m_Game.m_pWitch->Render();
    std::string row; // the bolt to the first apple crosses row 200, one pixel a line
    for (int x = 0; x < 378; ++x) {
        const int c = Rgb(m_pScreen, x, 200);
        row += c == 0xFFFF00 ? "Y" : c == 0xFF0000 ? "R" : "";
    }
    EXPECT_EQ(row, "YRYRYRY");
    EXPECT_EQ(Rgb(m_pScreen, 132, 132), 0xFFFF00) << "the middle of the first apple";
    EXPECT_EQ(Mismatch(m_pScreen, Blank(), {378, 0, 422, 1}, 378, 0), 7) << "the top edge";
    EXPECT_EQ(Mismatch(m_pScreen, Picture("witchey"), {2 * 204, 64, 204, 256}, 314, 340), 0);
    const int iFlash = Rgb(Picture("flashbgr"), 22, 20) & 0xFF;
    const int iUnder = Rgb(Picture("witchey"), 2 * 204 + 72, 52) & 0xFF;
    EXPECT_NEAR(Rgb(m_pScreen, 386, 328) & 0xFF, (iFlash * 146 + iUnder * 109) / 255, 1);
}

TEST_F(PlayField, BadgeFallsTwentyPixelsASecondUntilItIsASecondOldOrPastTheBottom) {
    m_Game.m_Bonuses.emplace_back().Init(m_Game.m_pBonusSprite, 2, 100.0f, 200.0f);
    m_Game.m_Bonuses.emplace_back().Init(m_Game.m_pBonusSprite, 1, 300.0f, 589.0f);
    // Per pass: frame time, where the first badge is drawn (it moves after drawing), its frame,
    // and the badges left.
    const std::tuple<float, int, int, std::size_t> passes[] = {{.5f, 200, 2, 2},
                                                               {.25f, 210, 2, 1},
                                                               {.24f, 215, 2, 1},
                                                               {.5f, 219, 2, 1},
                                                               {.1f, 229, -1, 0}};
    for (const auto& [fSeconds, y, iShown, uLeft] : passes) {
        CFramework::Get()->Clear();
        Tick(fSeconds);
        m_Game.RenderBonus();
        EXPECT_EQ(FrameAt(m_pScreen, Picture("bonus3"), 64, 64, 100, y), iShown) << y;
        EXPECT_EQ(m_Game.m_Bonuses.size(), uLeft) << y;
    }
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

// Her pictures in quarter-second frames from the start of the run: exits 0 when the rhythm holds.
static void WatchTheWitch() {
    CWitchey witch;
    witch.m_fFrame = 0.0f;
    witch.m_fTimer = 0.0f;
    std::string frames; // her picture after each quarter-second frame
    Tick(0.25f);
    while (frames.size() < 60) {
        witch.Update();
        frames += static_cast<char>('0' + witch.m_fFrame);
    }
    // Normal 3.5 s, eyes 0.5 s; normal 2.5 or 3.5 s (the first change takes 0 or 1 off),
    // eyes; then normal as long or 1 s longer (the second change adds 0 or 1).
    const char* pRhythm = "0{13}110(0{9}110{9}|0{9}110{13}|0{13}110{13}|0{13}110{17})011.*";
    std::exit(std::regex_match(frames, std::regex(pRhythm)) ? 0 : 2);
}

TEST(Witch, BlinkRhythmStartsAtThreePointFiveSecondsThenDrifts) {
    // The rhythm lives for the whole run and no other test lets it run: a child sees it fresh.
    EXPECT_EXIT(WatchTheWitch(), testing::ExitedWithCode(0), "");
}
