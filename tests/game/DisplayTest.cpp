#include <cstdio>
#include <cstdlib>
#include <string>

#include <SDL.h>
#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include "GameFixture.h"
#include "framework/CFramework.h"
#include "media/CMyFont.h"
#include "scorestore/CDBConnection.h"
#include "support/TestRuntime.h"

namespace {
using ScoreDisplay = GameTest;
using LivesDisplay = GameTest;
using NameDisplay = GameTest;
using HighScoreTable = GameTest;

SDL_Surface* Screen() { return CFramework::Get()->m_pScreen; }

void ClearScreen() { CFramework::Get()->Clear(); }

bool IsWhite(SDL_Color c) { return c.r == 255 && c.g == 255 && c.b == 255; }

int TextWidthUtf8(TTF_Font* pFont, const std::string& strText) {
    int w = 0;
    int h = 0;
    TTF_SetFontStyle(pFont, TTF_STYLE_BOLD);
    EXPECT_EQ(TTF_SizeUTF8(pFont, strText.c_str(), &w, &h), 0);
    return w;
}

int TextWidthLatin1(TTF_Font* pFont, const std::string& strText) {
    int w = 0;
    int h = 0;
    TTF_SetFontStyle(pFont, TTF_STYLE_BOLD);
    EXPECT_EQ(TTF_SizeText(pFont, strText.c_str(), &w, &h), 0);
    return w;
}

// Pixels of row band [y, y + 20) in columns [x, x + w) that differ between two surfaces.
int ChangedIn(SDL_Surface* pA, SDL_Surface* pB, int x, int y, int w) {
    int iCount = 0;
    for (int j = y; j < y + 20 && j < pA->h; ++j) {
        for (int i = x; i < x + w && i < pA->w; ++i) {
            const SDL_Color a = PixelColor(pA, i, j);
            const SDL_Color b = PixelColor(pB, i, j);
            iCount += (a.r != b.r || a.g != b.g || a.b != b.b) ? 1 : 0;
        }
    }
    return iCount;
}

SDL_Surface* BareTable() { return SDL_LoadBMP("ImgData/highscore.bmp"); }
} // namespace

TEST_F(ScoreDisplay, DigitsAppearInTheScoreBoxAndAreRenderedOnlyWhenFlagged) {
    ClearScreen();
    m_Game.RenderScore();
    ASSERT_NE(m_Game.m_pScoreText, nullptr);
    EXPECT_FALSE(m_Game.m_bScoreChanged);
    SDL_Surface* pZero = CopyScreen();

    // A new score without the flag: the kept digits are shown.
    m_Game.m_iScore = 1200;
    ClearScreen();
    m_Game.RenderScore();
    EXPECT_EQ(DifferenceBox(pZero, Screen()).w, 0);

    m_Game.m_bScoreChanged = true;
    ClearScreen();
    m_Game.RenderScore();
    const SDL_Rect changed = DifferenceBox(pZero, Screen());
    const SDL_Rect digits{700, 17, m_Game.m_pScoreText->w, m_Game.m_pScoreText->h};
    EXPECT_GT(changed.w, 0);
    EXPECT_TRUE(BoxInside(changed, digits));
    EXPECT_GT(CountPixels(Screen(), digits, IsWhite), 0);
    SDL_FreeSurface(pZero);
}

TEST_F(ScoreDisplay, EveryScoreIsShownAsTenZeroPaddedDigits) {
    int iWidths[3] = {0, 0, 0};
    const int scores[3] = {0, 1200, 1234567890};
    for (int i = 0; i < 3; ++i) {
        m_Game.m_iScore = scores[i];
        m_Game.m_bScoreChanged = true;
        m_Game.RenderScore();
        ASSERT_NE(m_Game.m_pScoreText, nullptr);
        iWidths[i] = m_Game.m_pScoreText->w;
    }
    // The typeface's digits are all equally wide.
    EXPECT_EQ(iWidths[0], TextWidthLatin1(CMyFont::Get()->m_pFontSmall, "0000000000"));
    EXPECT_EQ(iWidths[1], iWidths[0]);
    EXPECT_EQ(iWidths[2], iWidths[0]);
}

TEST_F(ScoreDisplay, GameOverPageShowsTheLastPlayScoreAt346x460) {
    m_Game.m_iScore = 4800;
    m_Game.RenderScore();
    m_Game.m_iScore = 0; // what the score becomes later is not shown
    m_Game.m_iState = STATE_GAMEOVER;
    m_Game.RunFrame();
    SDL_Surface* pWithScore = CopyScreen();

    SDL_Surface* pKept = m_Game.m_pScoreText;
    m_Game.m_pScoreText = nullptr;
    m_Game.RunFrame();
    m_Game.m_pScoreText = pKept;

    const SDL_Rect changed = DifferenceBox(pWithScore, Screen());
    EXPECT_GT(changed.w, 0);
    EXPECT_TRUE(BoxInside(changed, SDL_Rect{346, 460, pKept->w, pKept->h}));
    EXPECT_TRUE(m_Game.m_bScoreChanged == false);
    SDL_FreeSurface(pWithScore);
}

TEST_F(LivesDisplay, EachHorseShowsItsHitsAtItsSide) {
    ASSERT_EQ(m_Game.m_Horses.size(), 2u);
    CHorse& left = m_Game.m_Horses.front();
    CHorse& right = m_Game.m_Horses.back();
    left.m_iSide = 1;
    right.m_iSide = 2;
    left.m_iHits = 0;
    right.m_iHits = 0;
    ClearScreen();
    m_Game.RenderLives();
    SDL_Surface* pFresh = CopyScreen();
    EXPECT_GT(CountPixels(Screen(), SDL_Rect{221, 555, 128, 40},
                          [](SDL_Color c) { return c.r != 0 || c.g != 0 || c.b != 0; }),
              0);

    left.m_iHits = 3;
    ClearScreen();
    m_Game.RenderLives();
    const SDL_Rect leftChange = DifferenceBox(pFresh, Screen());
    EXPECT_GT(leftChange.w, 0);
    EXPECT_TRUE(BoxInside(leftChange, SDL_Rect{221, 555, 128, 40}));

    left.m_iHits = 0;
    right.m_iHits = 2;
    ClearScreen();
    m_Game.RenderLives();
    const SDL_Rect rightChange = DifferenceBox(pFresh, Screen());
    EXPECT_GT(rightChange.w, 0);
    EXPECT_TRUE(BoxInside(rightChange, SDL_Rect{457, 555, 128, 40}));
    SDL_FreeSurface(pFresh);
}

TEST_F(LivesDisplay, HorseOfAnyOtherSideDrawsNothing) {
    for (CHorse& horse : m_Game.m_Horses) {
        horse.m_iSide = 3;
    }
    ClearScreen();
    SDL_Surface* pBlack = CopyScreen();
    m_Game.RenderLives();
    EXPECT_EQ(DifferenceBox(pBlack, Screen()).w, 0);
    SDL_FreeSurface(pBlack);
}

TEST_F(NameDisplay, Utf8NameShowsAsTypedAt520x270) {
    ClearScreen();
    m_Game.m_bPlayerNameChanged = true;
    m_Game.RenderPlayerName();
    SDL_Surface* pEmpty = CopyScreen();
    EXPECT_EQ(m_Game.m_pPlayerNameText, nullptr);

    DrainEvents();
    PushText("Jürgen");
    m_Game.RunFrame();
    ASSERT_NE(m_Game.m_pPlayerNameText, nullptr);
    TTF_Font* pFont = CMyFont::Get()->m_pFontLarge;
    // Read as Latin-1 the umlaut's two bytes would show as two wider signs.
    EXPECT_EQ(m_Game.m_pPlayerNameText->w, TextWidthUtf8(pFont, "Jürgen"));
    EXPECT_LT(m_Game.m_pPlayerNameText->w, TextWidthLatin1(pFont, "Jürgen"));

    ClearScreen();
    m_Game.RenderPlayerName();
    const SDL_Rect changed = DifferenceBox(pEmpty, Screen());
    const SDL_Rect name{520, 270, m_Game.m_pPlayerNameText->w, m_Game.m_pPlayerNameText->h};
    EXPECT_GT(changed.w, 0);
    EXPECT_TRUE(BoxInside(changed, name));
    EXPECT_GT(CountPixels(Screen(), name, IsWhite), 0);
    SDL_FreeSurface(pEmpty);
}

TEST_F(NameDisplay, LongNameIsCutAtNineteenBytesWithoutSplittingACharacter) {
    TTF_Font* pFont = CMyFont::Get()->m_pFontLarge;
    const std::string strLetters(18, 'M');
    m_Game.m_strPlayerName = strLetters + "ü"; // 20 bytes
    m_Game.m_bPlayerNameChanged = true;
    m_Game.RenderPlayerName();
    ASSERT_NE(m_Game.m_pPlayerNameText, nullptr);
    EXPECT_EQ(m_Game.m_pPlayerNameText->w, TextWidthUtf8(pFont, strLetters));

    m_Game.m_strPlayerName = strLetters.substr(1) + "ü"; // 19 bytes: fits whole
    m_Game.RenderPlayerName();
    ASSERT_NE(m_Game.m_pPlayerNameText, nullptr);
    EXPECT_EQ(m_Game.m_pPlayerNameText->w, TextWidthUtf8(pFont, strLetters.substr(1) + "ü"));
}

TEST_F(NameDisplay, NameIsRenderedOnlyInTheFrameItChanged) {
    DrainEvents();
    PushText("Ali");
    m_Game.RunFrame();
    ASSERT_NE(m_Game.m_pPlayerNameText, nullptr);
    const int iWidth = m_Game.m_pPlayerNameText->w;

    m_Game.m_strPlayerName = "Alexandra";
    m_Game.RunFrame();
    ASSERT_NE(m_Game.m_pPlayerNameText, nullptr);
    EXPECT_EQ(m_Game.m_pPlayerNameText->w, iWidth);
}

TEST_F(NameDisplay, ResetForANewPlayerShowsAnEmptyName) {
    m_Game.m_strPlayerName = "Rosa";
    m_Game.m_bPlayerNameChanged = true;
    m_Game.RenderPlayerName();
    ASSERT_NE(m_Game.m_pPlayerNameText, nullptr);
    m_Game.m_iState = STATE_PLAY;
    Press(SDL_SCANCODE_F2);
    m_Game.RenderPlayerName();
    EXPECT_EQ(m_Game.m_pPlayerNameText, nullptr);
}

TEST_F(HighScoreTable, ShowsTheStoredRowsBestFirstAtTheStartPagePosition) {
    CDBConnection* pDB = CDBConnection::Get();
    ASSERT_NE(pDB->m_pDB, nullptr);
    ASSERT_TRUE(pDB->WriteScore("Tom", 1200));
    ASSERT_TRUE(pDB->WriteScore("Anna", 2500));
    m_Game.m_bHighScoreChanged = true;
    ClearScreen();
    m_Game.RenderHighScore(false);
    EXPECT_FALSE(m_Game.m_bHighScoreChanged);
    SDL_Surface* pTable = m_Game.m_pHighScoreText;
    ASSERT_NE(pTable, nullptr);
    SDL_Surface* pBare = BareTable();
    ASSERT_NE(pBare, nullptr);

    // Two rows with a name and a score each; the third row stays empty.
    for (int iRow = 0; iRow < 2; ++iRow) {
        SCOPED_TRACE(iRow);
        EXPECT_GT(ChangedIn(pBare, pTable, 19, 7 + 20 * iRow, 146 - 19), 0);
        EXPECT_GT(ChangedIn(pBare, pTable, 146, 7 + 20 * iRow, pTable->w - 146), 0);
    }
    EXPECT_EQ(ChangedIn(pBare, pTable, 0, 47, pTable->w), 0);
    EXPECT_EQ(ChangedIn(pBare, pTable, 0, 0, 19), 0);

    // The best score is in the first row: Anna's name is wider than Tom's.
    const int iFirstName = ChangedIn(pBare, pTable, 19, 7, 146 - 19);
    const int iSecondName = ChangedIn(pBare, pTable, 19, 27, 146 - 19);
    EXPECT_GT(iFirstName, iSecondName);

    EXPECT_TRUE(ShowsSurfaceAt(Screen(), pTable, SDL_Rect{511, 393, pTable->w, pTable->h}));
    SDL_FreeSurface(pBare);
}

TEST_F(HighScoreTable, IsReadAgainOnlyWhenFlagged) {
    CDBConnection* pDB = CDBConnection::Get();
    m_Game.RenderHighScore(false);
    SDL_Surface* pBare = BareTable();
    ASSERT_NE(pBare, nullptr);
    ASSERT_NE(m_Game.m_pHighScoreText, nullptr);
    EXPECT_EQ(DifferenceBox(pBare, m_Game.m_pHighScoreText).w, 0) << "an empty table has no rows";

    ASSERT_TRUE(pDB->WriteScore("Eva", 300));
    m_Game.RenderHighScore(false);
    EXPECT_EQ(DifferenceBox(pBare, m_Game.m_pHighScoreText).w, 0);

    m_Game.ResetGame(1);
    m_Game.RenderHighScore(false);
    EXPECT_GT(ChangedIn(pBare, m_Game.m_pHighScoreText, 19, 7, 146 - 19), 0);
    SDL_FreeSurface(pBare);
}

TEST_F(HighScoreTable, HelpPageOnTheStartPageDrawsTheTableTwice) {
    ASSERT_TRUE(CDBConnection::Get()->WriteScore("Ben", 700));
    m_Game.m_bHelp = true;
    m_Game.RunFrame();
    SDL_Surface* pTable = m_Game.m_pHighScoreText;
    ASSERT_NE(pTable, nullptr);
    // Over the help page, whole.
    EXPECT_TRUE(ShowsSurfaceAt(Screen(), pTable, SDL_Rect{403, 417, pTable->w, pTable->h}));
    // At the start-page place, where the help page (ending at x 700) does not cover it.
    const int iUncovered = 700 - 511;
    ASSERT_LT(iUncovered, pTable->w);
    for (int y = 0; y < pTable->h; ++y) {
        for (int x = iUncovered; x < pTable->w; ++x) {
            const SDL_Color a = PixelColor(Screen(), 511 + x, 393 + y);
            const SDL_Color b = PixelColor(pTable, x, y);
            ASSERT_TRUE(a.r == b.r && a.g == b.g && a.b == b.b) << x << "," << y;
        }
    }
}

TEST_F(HighScoreTable, UnreadableDatabaseShowsTheFallbackRow) {
    TSingleton<CDBConnection>::Del(); // a store that never opened
    m_Game.m_bHighScoreChanged = true;
    m_Game.RenderHighScore(true);
    SDL_Surface* pBare = BareTable();
    ASSERT_NE(pBare, nullptr);
    EXPECT_GT(ChangedIn(pBare, m_Game.m_pHighScoreText, 19, 7, 146 - 19), 0);
    EXPECT_GT(ChangedIn(pBare, m_Game.m_pHighScoreText, 146, 7, pBare->w - 146), 0);
    EXPECT_EQ(ChangedIn(pBare, m_Game.m_pHighScoreText, 0, 27, pBare->w), 0);
    SDL_FreeSurface(pBare);
}

TEST(HighScoreTableFailure, MissingBitmapEndsTheProgramAtTheFirstStartPageFrame) {
    EXPECT_EXIT(
        {
            // A copy of the assets, removed again when the program ends.
            static std::string s_strDir;
            s_strDir = EnterFreshRuntimeDir(true);
            std::atexit([] { RemoveTree(s_strDir); });
            std::remove("ImgData/highscore.bmp");
            StartFramework();
            CGame game;
            game.Init();
            game.RunFrame();
            std::exit(0);
        },
        testing::ExitedWithCode(1),
        "Fehler beim Laden der Bitmap: ImgData/highscore\\.bmp\nFehler: ");
}
