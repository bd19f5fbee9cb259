// The rules of play on the game's own set-up, with the sheets of apples, badges, horses and the
// witch repainted flat (frame k in Shade(k)) so that a test can tell which frame was drawn where.

#include <regex>
#include <set>

#include "game/GameFixture.h"

static const auto IsLit = [](SDL_Color c) { return c.r != 0 || c.g != 0 || c.b != 0; };
static const auto IsYellow = [](SDL_Color c) { return SameColor(c, {255, 255, 0, 255}); };
static const auto IsBolt = [](SDL_Color c) { return c.r == 255 && c.b == 0; }; // or red

// One field of every record of a list, as ints.
template <class L, class F> std::vector<int> Column(const L& items, F L::value_type::*pField) {
    std::vector<int> values;
    for (const auto& item : items)
        values.push_back(static_cast<int>(item.*pField));
    return values;
}

class PlayField : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        m_Game.m_iState = STATE_PLAY;
        for (CSprite* p :
             {m_Game.m_pAppleSprite, m_Game.m_pBonusSprite, m_Game.m_pHorseLeftSprite,
              m_Game.m_pHorseRightSprite, Witch().m_pWitchSprite, Witch().m_pFlashSprite})
            Repaint(p);
    }
    CWitchey& Witch() { return *m_Game.m_pWitch; }
    // A bare apple record: no task text, so its text blit fails quietly and it stays in play.
    CApple& Apple(int x, int y, int iSolution, bool bAlive = true) {
        const SDL_Rect r{x, y, 64, 64};
        return m_Game.m_Apples.emplace_back(CApple{m_Game.m_pAppleSprite, float(x), float(y), 0.0f,
                                                   bAlive, r, r, nullptr, SDL_Color(), "",
                                                   iSolution, 0, 0, 10, true});
    }
    // Only the sounds of this answer are heard.
    void Answer(const char* p) {
        Mix_HaltChannel(-1), m_Game.m_strAnswer = p, m_Game.CheckSolution();
    }
    void Hit(int iLeft, int iRight) {
        for (int i = 0; i < 3; ++i)
            m_Game.m_Horses.front().Update(i < iLeft), m_Game.m_Horses.back().Update(i < iRight);
    }
    static HighScoreRows Stored() { return CDBConnection::Get()->ReadHighScore(); }
    CMySound& Sound = *CMySound::Get();
};

TEST_F(PlayField, ApplesComeEachIntervalAboveTheFieldWithATaskOfTheirRangeAndMode) {
    std::size_t uCount = 0;
    std::set<int> xs; // where apples start
    Tick(2.0f);
    for (int iRange : {10, 20, 99, 50}) // any other range than 10, 20, 99 counts as 10
        for (bool bMul : {true, false}) {
            m_Game.m_iRange = iRange, m_Game.m_bMultiply = bMul;
            std::set<int> factors;
            // Seeded apart, as if drawn in other seconds: the game reseeds from the clock.
            for (int i = 0, l = 0, r = 0; i < 600; std::srand(++i)) {
                // 4 s into the interval of 3.5: one apple, and the surplus is dropped.
                m_Game.SpawnApples(), m_Game.SpawnApples();
                ASSERT_EQ(m_Game.m_Apples.size(), ++uCount);
                const CApple& a = m_Game.m_Apples.back();
                ASSERT_EQ(std::sscanf(a.m_strTask.c_str(), bMul ? "%d x %d" : "%d : %d", &l, &r),
                          2);
                // A division shows the product and one factor and asks for the other.
                ASSERT_EQ(bMul ? l * r : l, bMul ? a.m_iSolution : r * a.m_iSolution)
                    << a.m_strTask;
                ASSERT_EQ(a.m_Rect.y, -60);
                xs.insert(a.m_Rect.x), factors.insert({r, bMul ? l : a.m_iSolution});
            }
            EXPECT_EQ(*factors.begin(), 1) << iRange;
            EXPECT_EQ(*factors.rbegin(), iRange == 50 ? 10 : iRange);
        }
    EXPECT_GE(*xs.begin(), 0);
    EXPECT_LE(*xs.rbegin(), 735) << "the 64-pixel apple stays inside the 800-pixel field";
    EXPECT_EQ(ComposeTask(99, 99, false, 0).strText, "9801 : 99");
}

TEST_F(PlayField, ApplePassDrawsThenMovesAndErasesFallenApplesUndrawn) {
    const CApple& apple = Apple(10, 100, 1);
    Apple(100, 100, 2, false), Apple(300, 580, 3);
    // Per pass: frame time; the first apple's y and animation phase (a stalled frame leaves it
    // past 20 once) after it; whether the third, at 590 after the first pass, is listed and
    // drawn in frame 0 (before the pass it is at 580, in frame 0 or 10).
    const float passes[][4] = {
        {.5f, 110, 10, 1}, {.625f, 122, 2.5f, 1}, {2.5f, 172, 32.5f, 0}, {.125f, 175, 15, 0}};
    for (const auto& p : passes) {
        CFramework::Get()->Clear(), Tick(p[0]), m_Game.RenderApples();
        EXPECT_EQ(apple.m_Rect.y, p[1]);
        EXPECT_EQ(apple.m_fAnimPhase, p[2]);
        EXPECT_EQ(m_Game.m_Apples.size(), 1 + p[3]) << p[1];
        EXPECT_EQ(CountPixels(m_pScreen, {300, 590, 64, 10}, IsLit) == 640, p[3] == 1) << p[1];
    }
}

TEST_F(PlayField, TaskTextIsCentredOnTheApple) {
    SDL_Surface* pExpected = NewScreen();
    TTF_Font* pFont = CMyFont::Get()->m_pFontSmall;
    for (int iRange : {10, 99}) {
        CApple a;
        a.Init(m_Game.m_pAppleSprite, 100.0f, 200.0f, iRange, iRange == 10);
        CFramework::Get()->Clear(), a.Render();
        int w = 0, h = 0;
        TTF_SizeUTF8(pFont, a.m_strTask.c_str(), &w, &h);
        SDL_Rect box{100, 200, 64, 64};
        SDL_FillRect(pExpected, nullptr, 0);
        SDL_FillRect(pExpected, &box, SDL_MapRGB(pExpected->format, 0, 90, 255)); // Shade(0)
        DrawText(pExpected, pFont, a.m_strTask, 100 + (64 - w) / 2, 200 + (64 - h) / 2);
        EXPECT_EQ(DiffPixels(m_pScreen, pExpected, {80, 180, 104, 104}), 0) << a.m_strTask;
        a.Quit();
    }
    SDL_FreeSurface(pExpected);
}

TEST_F(PlayField, HorsesCatchInTheirBandsAndTheGameEndsTheFrameAfterTheLastHitStoredOnce) {
    Hit(0, 3); // the right horse is out
    const int at[][2] = {{209, 386}, {210, 386}, {526, 386}, {527, 386},
                         {100, 385}, {100, 448}, {100, 449}};
    for (int i = 0; i < 7; ++i)
        Apple(at[i][0], at[i][1], i);
    m_Game.CheckCollisions();
    EXPECT_EQ(Sounding(Sound.m_pBoing), 1) << "one sound for all hits of a pass";
    EXPECT_EQ(Column(m_Game.m_Apples, &CApple::m_iSolution), (std::vector<int>{1, 2, 4, 6}));
    EXPECT_EQ(Column(m_Game.m_Horses, &CHorse::m_iHits), (std::vector<int>{2, 3}));
    EXPECT_EQ(Column(m_Game.m_Bonuses, &CBonus::m_iType), (std::vector<int>{5, 5, 5}));
    EXPECT_EQ(Column(m_Game.m_Bonuses, &CBonus::m_fYPos), (std::vector<int>{386, 448, 386}));
    Apple(100, 386, 1);
    m_Game.m_iScore = 1200;
    m_Game.RenderHorses(); // a frame: the horses, then the collisions
    EXPECT_EQ(ShadeAt(m_pScreen, {10, 384, 270, 211}), 2) << "the left horse after two hits";
    EXPECT_EQ(ShadeAt(m_pScreen, {520, 384, 270, 211}), 3) << "the right horse, out";
    m_Game.CheckCollisions();
    EXPECT_EQ(m_Game.m_iState, STATE_PLAY);
    m_Game.RenderHorses();
    EXPECT_EQ(m_Game.m_iState, STATE_GAMEOVER);
    EXPECT_TRUE(m_Game.m_bHighScoreChanged);
    EXPECT_EQ(Stored().at(0), HighScoreRows::value_type("noname", ":   0001200"));
    m_Game.StartGame(), m_Game.RenderHorses(); // back to play without a reset: not stored again
    EXPECT_EQ(m_Game.m_iState, STATE_GAMEOVER);
    EXPECT_EQ(Stored().size(), 1u);
    m_Game.ResetGame(1), Hit(3, 3), m_Game.RenderHorses();
    EXPECT_EQ(Stored().size(), 2u);
}

TEST_F(PlayField, SpawnIntervalShrinksEveryNinetySecondsToHalfASecond) {
    std::vector<float> intervals; // after each frame; time past the 90 seconds is dropped
    for (float fSeconds : {89.0f, 1.0f, 91.0f, 89.0f, 90.0f, 90.0f, 90.0f, 90.0f, 90.0f})
        Tick(fSeconds), m_Game.Accelerate(), intervals.push_back(m_Game.m_fSpawnInterval);
    EXPECT_EQ(intervals, (std::vector<float>{3.5f, 3.f, 2.5f, 2.5f, 2.f, 1.5f, 1.f, .5f, .5f}));
}

TEST_F(PlayField, OneAnswerSolvesEveryLiveAppleWithItEachForItsOwnAmountInAnyState) {
    Apple(10, 50, 12), Apple(20, 60, 7), Apple(30, 70, 12), Apple(40, 80, 12);
    Apple(500, 595, 12, false); // fell out below the field: worth nothing
    Answer("012");
    EXPECT_EQ(Column(Witch().m_Targets, &SDL_Rect::x), (std::vector<int>{10, 30, 40}));
    EXPECT_EQ(Column(m_Game.m_Bonuses, &CBonus::m_fYPos), (std::vector<int>{50, 70, 80}));
    int iPoints = 0;
    for (const CBonus& badge : m_Game.m_Bonuses)
        iPoints += (badge.m_iType + 1) * 100;
    EXPECT_EQ(m_Game.m_iScore, iPoints);
    EXPECT_EQ(Sounding(Sound.m_pSuccess), 3);
    EXPECT_EQ(Sounding(Sound.m_pFail), 0);
    // Past the int range the low 32 bits count: -1, which no task has. The miss plays the fail
    // sound alone, also with a fallen apple listed, and leaves the strike running.
    Tick(0.4f), Witch().Update(), Apple(0, 0, -1), Apple(0, 595, -1, false);
    Answer("99999999999999999999999");
    EXPECT_EQ(m_Game.m_iScore, iPoints);
    EXPECT_EQ(Witch().m_fTimer, 0.4f);
    EXPECT_EQ(Sounding(Sound.m_pSuccess), 0);
    EXPECT_EQ(Sounding(Sound.m_pFail), 1);
    m_Game.m_iState = STATE_GAMEOVER; // the strike restarts with the new apples only
    Answer("4294967303"), Witch().Update();
    EXPECT_EQ(Witch().m_fFrame, 2.0f);
    EXPECT_EQ(Witch().m_fTimer, 0.4f);
    EXPECT_EQ(Column(Witch().m_Targets, &SDL_Rect::x), (std::vector<int>{20}));
    for (int i = 0; i < 100; ++i) // answers seeded apart, as if in other seconds: every amount
        std::srand(i), Apple(0, 0, 5), Answer("5");
    const std::vector<int> types = Column(m_Game.m_Bonuses, &CBonus::m_iType);
    EXPECT_EQ(std::set<int>(types.begin(), types.end()), (std::set<int>{0, 1, 2, 3, 4}));
}

TEST_F(PlayField, BadgesFallTwentyPixelsASecondAndGoOnceASecondOld) {
    m_Game.m_Bonuses.emplace_back().Init(m_Game.m_pBonusSprite, 2, 100.0f, 200.0f);
    // Per pass: frame time, where the badge is drawn (it moves after drawing), and its frame
    // there: -1 once it is gone, 1.49 s old, from where it would have been drawn.
    const std::tuple<float, int, int> passes[] = {
        {.5f, 200, 2}, {.25f, 210, 2}, {.24f, 215, 2}, {.5f, 219, 2}, {.1f, 229, -1}};
    for (const auto& [fSeconds, y, iShown] : passes) {
        CFramework::Get()->Clear(), Tick(fSeconds), m_Game.RenderBonus();
        EXPECT_EQ(ShadeAt(m_pScreen, {100, y, 64, 64}), iShown) << y;
        EXPECT_EQ(m_Game.m_Bonuses.size(), iShown < 0 ? 0u : 1u) << y;
    }
}

TEST_F(PlayField, StrikeDrawsSevenYellowAndRedLinesToEachTargetUnderTheFlashFor07Seconds) {
    CWitchey::Line(5, 5, 5, 5, m_pScreen, 255, 255, 255); // a point: nothing
    CWitchey::Line(0, 0, 5, 0, m_pScreen, 255, 255, 255); // the end column stays undrawn
    EXPECT_EQ(CountPixels(m_pScreen, {0, 0, 800, 600}, IsLit), 5);
    EXPECT_EQ(CountPixels(m_pScreen, {0, 0, 5, 1}, IsLit), 5);
    Witch().m_fFrame = 2.0f;
    Witch().m_Targets = {SDL_Rect{100, 100, 64, 64}, SDL_Rect{200, -60, 64, 64}};
    Witch().Render();
    EXPECT_EQ(ShadeAt(m_pScreen, {314, 276, 204, 320}), 2) << "the casting picture";
    std::string row; // a flat and a steep bolt cross row 200, each line with one pixel
    for (int x = 0; x < 800; ++x)
        if (IsBolt(PixelColor(m_pScreen, x, 200)))
            row += IsYellow(PixelColor(m_pScreen, x, 200)) ? 'Y' : 'R';
    EXPECT_EQ(row, "YRYRYRYYRYRYRY");
    EXPECT_TRUE(IsYellow(PixelColor(m_pScreen, 132, 132)));       // the middle of the first apple
    EXPECT_EQ(CountPixels(m_pScreen, {0, 0, 800, 1}, IsBolt), 7); // cut at the top edge
    // The flash at alpha 146 over the casting picture.
    EXPECT_NEAR(PixelColor(m_pScreen, 366, 335).r, (Shade(0).r * 146 + Shade(2).r * 109) / 255, 2);
    // A strike of 0.7f s (0.699999988 as a double) goes on; a moment later it ends in the
    // normal or the eyes picture.
    std::set<float> next;
    for (int i = 0; i < 64; ++i, Witch().m_fFrame = 2.0f, Witch().m_fTimer = 0.0f)
        for (float fSeconds : {0.7f, 0.0001f})
            Tick(fSeconds), Witch().Update(), next.insert(Witch().m_fFrame + Witch().m_fTimer);
    EXPECT_EQ(next, (std::set<float>{0.0f, 1.0f, 2.7f}));
}

TEST(WitchRhythm, FirstRunShowsTheNormalPictureThreeAndAHalfSecondsThenDrifts) {
    // The rhythm lives for the whole run and no other test lets it run: a child sees it fresh.
    EXPECT_EXIT(
        {
            CWitchey witch;
            witch.m_fFrame = witch.m_fTimer = 0.0f;
            std::string frames; // her picture after each quarter-second frame
            for (Tick(0.25f); frames.size() < 60; frames += static_cast<char>('0' + witch.m_fFrame))
                witch.Update();
            // Normal 3.5 s, eyes 0.5 s; normal 2.5 or 3.5 s (the first change takes 0 or 1 off),
            // eyes; then normal as long or 1 s longer (the second change adds 0 or 1).
            const char* pRhythm = "0{13}110(0{9}110{9}|0{9}110{13}|0{13}110{13}|0{13}110{17})011.*";
            std::exit(std::regex_match(frames, std::regex(pRhythm)) ? 0 : 2);
        },
        testing::ExitedWithCode(0), "");
}
