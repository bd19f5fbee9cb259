// The rules of play on the game's own set-up, with the sheets of apples, witch and flash repainted
// flat (frame k in Shade(k)) so that a test can tell which frame was drawn where.

#include <cstdio>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/CFramework.h"
#include "framework/CTimer.h"
#include "game/CGame.h"
#include "media/CMySound.h"
#include "media/CSprite.h"
#include "playfield/CWitchey.h"
#include "scorestore/CDBConnection.h"
#include "support/TestRuntime.h"

namespace {
const auto Tick = [](float fSeconds) { CTimer::Get()->m_fElapsed = fSeconds; };
const auto Same = [](SDL_Color a, SDL_Color b) { return a.r == b.r && a.g == b.g && a.b == b.b; };
const auto IsLit = [](SDL_Color c) { return c.r != 0 || c.g != 0 || c.b != 0; };
const auto IsYellow = [](SDL_Color c) { return Same(c, SDL_Color{255, 255, 0, 255}); };
const auto IsBolt = [](SDL_Color c) { return IsYellow(c) || Same(c, SDL_Color{255, 0, 0, 255}); };
// One colour for each of 20 frames, never the key, never the white of a task text.
const auto Shade = [](int k) { return SDL_Color{Uint8(37 * k), 90, Uint8(255 - 37 * k), 255}; };
const auto Map = [](SDL_Surface* s, SDL_Color c) { return SDL_MapRGB(s->format, c.r, c.g, c.b); };

// One field of every record of a list, as ints.
template <class L, class F> std::vector<int> Column(const L& items, F L::value_type::*pField) {
    std::vector<int> values;
    for (const auto& item : items)
        values.push_back(static_cast<int>(item.*pField));
    return values;
}

class PlayField : public testing::Test {
protected:
    void SetUp() override {
        std::remove("score/scores.db"); // each test starts with an empty table
        ASSERT_TRUE(StartFramework());
        m_Game.Init();
        m_Game.m_iState = STATE_PLAY;
        m_pWitch = m_Game.m_pWitch;
        m_pScreen = CFramework::Get()->m_pScreen;
        for (auto* p : {m_Game.m_pAppleSprite, m_pWitch->m_pWitchSprite, m_pWitch->m_pFlashSprite})
            for (SDL_Rect f{0, 0, p->m_iFrameWidth, 320}; f.x < p->m_pImage->w; f.x += f.w)
                SDL_FillRect(p->m_pImage, &f, Map(p->m_pImage, Shade(f.x / f.w)));
    }
    void TearDown() override { m_Game.Quit(), StopFramework(); }

    // A bare apple record: no task text, so its text blit fails quietly and it stays in play.
    CApple& Apple(int x, int y, int iSolution, bool bAlive = true) {
        const SDL_Rect rect{x, y, 64, 64};
        return m_Game.m_Apples.emplace_back(CApple{m_Game.m_pAppleSprite, float(x), float(y), 0.0f,
                                                   bAlive, rect, rect, nullptr, SDL_Color(), "",
                                                   iSolution, 0, 0, 10, true});
    }
    std::vector<int> TargetXs() const { return Column(m_pWitch->m_Targets, &SDL_Rect::x); }
    void Answer(const char* pDigits) { m_Game.m_strAnswer = pDigits, m_Game.CheckSolution(); }
    void Hit(int iLeft, int iRight) {
        for (int i = 0; i < 3; ++i)
            m_Game.m_Horses.front().Update(i < iLeft), m_Game.m_Horses.back().Update(i < iRight);
    }
    static int Plays(int iSound) { return CMySound::Get()->PlayCount(iSound); }
    static HighScoreRows Stored() { return CDBConnection::Get()->ReadHighScore(); }

    CGame m_Game;
    CWitchey* m_pWitch = nullptr;
    SDL_Surface* m_pScreen = nullptr;
};
} // namespace

TEST_F(PlayField, ApplesComeEachIntervalAboveTheFieldWithATaskOfTheirRangeAndMode) {
    std::size_t uCount = 0;
    Tick(2.0f);
    for (int iRange : {10, 20, 99, 50}) { // any other range than 10, 20, 99 counts as 10
        for (bool bMul : {true, false}) {
            m_Game.m_iRange = iRange, m_Game.m_bMultiply = bMul;
            std::set<int> factors;
            // Seeded apart, as if drawn in other seconds: the game reseeds from the clock.
            for (int i = 0, l = 0, r = 0; i < 600; std::srand(++i)) {
                m_Game.SpawnApples(); // 4 s into the interval of 3.5: the surplus is dropped
                m_Game.SpawnApples();
                ASSERT_EQ(m_Game.m_Apples.size(), ++uCount);
                const CApple& a = m_Game.m_Apples.back();
                const int n = a.m_iSolution;
                ASSERT_EQ(std::sscanf(a.m_strTask.c_str(), bMul ? "%d x %d" : "%d : %d", &l, &r),
                          2);
                // A division shows the product and one factor and asks for the other.
                ASSERT_EQ(bMul ? l * r : l, bMul ? n : r * n) << a.m_strTask;
                ASSERT_TRUE(a.m_Rect.x >= 0 && a.m_Rect.x <= 735 && a.m_Rect.y == -60);
                factors.insert({r, bMul ? l : n});
            }
            EXPECT_TRUE(*factors.begin() == 1 && *factors.rbegin() == (iRange == 50 ? 10 : iRange));
        }
    }
    EXPECT_EQ(ComposeTask(99, 99, false, 0).strText, "9801 : 99");
}

TEST_F(PlayField, ApplePassDrawsThenMovesAndErasesFallenApplesUndrawn) {
    const CApple& apple = Apple(10, 100, 1);
    Apple(100, 100, 2, false), Apple(300, 580, 3);
    // Per pass: frame time; the first apple's y and animation phase (a stalled frame leaves it
    // past 20 once); whether the third, at 590 after the first pass, is still listed and drawn.
    const float passes[][4] = {
        {.5f, 110, 10, 1}, {.625f, 122, 2.5f, 1}, {2.5f, 172, 32.5f, 0}, {.125f, 175, 15, 0}};
    for (const auto& p : passes) {
        CFramework::Get()->Clear();
        Tick(p[0]);
        m_Game.RenderApples();
        EXPECT_TRUE(apple.m_Rect.y == p[1] && apple.m_fAnimPhase == p[2]) << p[1];
        EXPECT_TRUE(m_Game.m_Apples.size() == 1 + p[3] &&
                    (CountPixels(m_pScreen, SDL_Rect{300, 590, 64, 10}, IsLit) == 640) == p[3]);
    }
}

TEST_F(PlayField, HorsesCatchInTheirBandsAndTheGameEndsTheFrameAfterTheLastHitStoredOnce) {
    Hit(0, 3); // the right horse is out
    const int at[][2] = {{209, 386}, {210, 386}, {526, 386}, {527, 386},
                         {100, 385}, {100, 448}, {100, 449}};
    for (int i = 0; i < 7; ++i)
        Apple(at[i][0], at[i][1], i);
    m_Game.CheckCollisions();
    m_Game.CheckCollisions(); // nothing caught: silent
    EXPECT_EQ(Column(m_Game.m_Apples, &CApple::m_iSolution), (std::vector<int>{1, 2, 4, 6}));
    EXPECT_EQ(Column(m_Game.m_Horses, &CHorse::m_iHits), (std::vector<int>{2, 3}));
    EXPECT_EQ(Column(m_Game.m_Bonuses, &CBonus::m_iType), (std::vector<int>{5, 5, 5}));
    EXPECT_TRUE(Column(m_Game.m_Bonuses, &CBonus::m_fYPos) == (std::vector<int>{386, 448, 386}) &&
                Plays(SOUND_BOING) == 1);
    Apple(100, 386, 1);
    m_Game.m_iScore = 1200;
    m_Game.RenderHorses(); // a frame: the horses, then the collisions
    m_Game.CheckCollisions();
    EXPECT_EQ(m_Game.m_iState, STATE_PLAY);
    m_Game.RenderHorses();
    EXPECT_TRUE(m_Game.m_iState == STATE_GAMEOVER && m_Game.m_bHighScoreChanged);
    EXPECT_EQ(Stored().at(0).first, "noname");
    EXPECT_NE(Stored()[0].second.find("1200"), std::string::npos);
    m_Game.StartGame(); // back to play from the game-over screen, without a reset
    m_Game.RenderHorses();
    EXPECT_TRUE(m_Game.m_iState == STATE_GAMEOVER && Stored().size() == 1);
    m_Game.ResetGame(1);
    Hit(3, 3);
    m_Game.RenderHorses();
    EXPECT_EQ(Stored().size(), 2u);
}

TEST_F(PlayField, SpawnIntervalShrinksEveryNinetySecondsToHalfASecond) {
    std::vector<float> intervals; // after each frame; time past the 90 seconds is dropped
    for (float fSeconds : {89.0f, 1.0f, 91.0f, 89.0f, 90.0f, 90.0f, 90.0f, 90.0f, 90.0f})
        Tick(fSeconds), m_Game.Accelerate(), intervals.push_back(m_Game.m_fSpawnInterval);
    EXPECT_EQ(intervals, (std::vector<float>{3.5f, 3.f, 2.5f, 2.5f, 2.f, 1.5f, 1.f, .5f, .5f}));
}

TEST_F(PlayField, OneAnswerSolvesEveryLiveAppleWithItEachForItsOwnAmountInAnyState) {
    std::vector<int> solved;
    for (int x = 0; x < 400; x += 2, solved.push_back(x - 2))
        Apple(x, 50, 12), Apple(x + 1, 60, 7);
    Apple(500, 595, 12, false); // fell out below the field: worth nothing
    Answer("012");
    EXPECT_TRUE(TargetXs() == solved && Column(m_Game.m_Bonuses, &CBonus::m_fXPos) == solved);
    int iPoints = 0;
    for (const CBonus& badge : m_Game.m_Bonuses)
        iPoints += (badge.m_iType + 1) * 100;
    EXPECT_TRUE(m_Game.m_iScore == iPoints && m_Game.m_bScoreChanged &&
                Plays(SOUND_SUCCESS) == 200 && Plays(SOUND_FAIL) == 0);
    // Past the int range the low 32 bits count: -1, which no task has. The miss plays the fail
    // sound alone, also with a fallen apple listed, and leaves the strike running.
    Tick(0.4f), m_pWitch->Update();
    Apple(0, 0, -1), Apple(0, 595, -1, false);
    m_Game.m_bScoreChanged = false;
    Answer("99999999999999999999999");
    EXPECT_TRUE(m_Game.m_iScore == iPoints && !m_Game.m_bScoreChanged && m_pWitch->m_fTimer > 0 &&
                Plays(SOUND_SUCCESS) == 200 && Plays(SOUND_FAIL) == 1);
    m_Game.m_iState = STATE_GAMEOVER; // the strike restarts with the new apples only
    Answer("4294967303"), m_pWitch->Update();
    EXPECT_TRUE(m_pWitch->m_fFrame == 2 && m_pWitch->m_fTimer == 0.4f && TargetXs().size() == 200 &&
                TargetXs().front() == 1);
    for (int i = 0; i < 100; ++i) // answers seeded apart, as if in other seconds: every amount
        std::srand(i), Apple(0, 0, 5), Answer("5");
    const std::vector<int> types = Column(m_Game.m_Bonuses, &CBonus::m_iType);
    EXPECT_EQ(std::set<int>(types.begin(), types.end()), (std::set<int>{0, 1, 2, 3, 4}));
}

TEST_F(PlayField, StrikeDrawsSevenYellowAndRedLinesToEachTargetUnderTheFlashFor07Seconds) {
    CWitchey::Line(5, 5, 5, 5, m_pScreen, 255, 255, 255); // a point: nothing
    CWitchey::Line(0, 0, 5, 0, m_pScreen, 255, 255, 255); // the end column stays undrawn
    EXPECT_TRUE(CountPixels(m_pScreen, SDL_Rect{0, 0, 800, 600}, IsLit) == 5 &&
                CountPixels(m_pScreen, SDL_Rect{0, 0, 5, 1}, IsLit) == 5);
    m_pWitch->m_fFrame = 2.0f;
    m_pWitch->m_Targets = {SDL_Rect{100, 100, 64, 64}, SDL_Rect{200, -60, 64, 64}};
    m_pWitch->Render();
    EXPECT_TRUE(Same(PixelColor(m_pScreen, 314, 276), Shade(2)));
    std::string row; // a flat and a steep bolt cross row 200, each line with one pixel
    for (int x = 0; x < 800; ++x)
        if (IsBolt(PixelColor(m_pScreen, x, 200)))
            row += IsYellow(PixelColor(m_pScreen, x, 200)) ? 'Y' : 'R';
    EXPECT_EQ(row, "YRYRYRYYRYRYRY");
    EXPECT_TRUE(IsYellow(PixelColor(m_pScreen, 132, 132))); // the middle of the first apple
    EXPECT_EQ(CountPixels(m_pScreen, SDL_Rect{0, 0, 800, 1}, IsBolt), 7); // cut at the top edge
    const SDL_Color glow = PixelColor(m_pScreen, 366, 335); // alpha 146 over the casting picture
    EXPECT_NEAR(glow.r, (Shade(0).r * 146 + Shade(2).r * 109) / 255, 2);
    // A strike of 0.7f s (0.699999988 as a double) goes on; a moment later it ends in the
    // normal or the eyes picture.
    std::set<float> next;
    for (int i = 0; i < 64; ++i, m_pWitch->m_fFrame = 2.0f, m_pWitch->m_fTimer = 0.0f)
        for (float fSeconds : {0.7f, 0.0001f})
            Tick(fSeconds), m_pWitch->Update(),
                next.insert(m_pWitch->m_fFrame + m_pWitch->m_fTimer);
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
