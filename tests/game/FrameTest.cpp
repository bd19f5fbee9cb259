// The game's frames: the first apple, the help page, resets, and what the screen shows.

#include "GameFixture.h"
#include "media/CMyFont.h"
#include "media/CSprite.h"
#include "scorestore/CDBConnection.h"

namespace {
// Draws a whole sprite image onto a surface, honouring its key and alpha as the game does.
void DrawImage(SDL_Surface* pTarget, CSprite* pSprite, int x, int y) {
    SDL_Rect dest{x, y, 0, 0};
    SDL_BlitSurface(pSprite->m_pImage, nullptr, pTarget, &dest);
}
} // namespace

TEST_F(GameTest, FirstGameShowsAnAppleAtOnceUnlessTheHelpPageFreezesPlay) {
    m_Game.StartGame();
    m_Game.m_bHelp = true;
    m_Game.RunFrame();
    EXPECT_TRUE(m_Game.m_Apples.empty());
    EXPECT_EQ(m_Game.m_fAccelTimer, 0.0f);
    EXPECT_NE(m_Game.m_pScoreText, nullptr) << "the score is still drawn";
    m_Game.m_bHelp = false;
    m_Game.RunFrame();
    EXPECT_EQ(m_Game.m_Apples.size(), 1u);
}

TEST_F(GameTest, ResetStartsAFreshGameWhoseFirstAppleIsAnIntervalAway) {
    m_Game.m_fSpawnInterval = 0.5f;
    m_Game.m_fAccelTimer = 42.0f;
    m_Game.m_bScoreStored = true;
    m_Game.m_bScoreChanged = m_Game.m_bHighScoreChanged = false;
    m_Game.m_Apples.emplace_back();
    m_Game.m_Horses.front().m_iHits = 3;
    m_Game.ResetGame(1);
    EXPECT_EQ(m_Game.m_fSpawnInterval, 3.5f);
    EXPECT_EQ(m_Game.m_fAccelTimer, 0.0f);
    EXPECT_LT(m_Game.m_fSpawnTimer, m_Game.m_fSpawnInterval);
    EXPECT_TRUE(m_Game.m_bScoreChanged);
    EXPECT_TRUE(m_Game.m_bHighScoreChanged);
    EXPECT_FALSE(m_Game.m_bScoreStored) << "the next finished game is stored again";
    EXPECT_TRUE(m_Game.m_Apples.empty());
    EXPECT_EQ(m_Game.m_Horses.front().m_iHits, 0);
}

TEST_F(GameTest, ScoreShowsTenDigitsInItsBoxRenderedWhenFlaggedAndOnTheGameOverPage) {
    TTF_Font* pFont = CMyFont::Get()->m_pFontSmall;
    SDL_Surface* pExpected = NewScreen();
    DrawImage(pExpected, m_Game.m_pShowScoreSprite, 691, 10);
    DrawText(pExpected, pFont, "0000001200", 700, 17);
    for (const auto& [iScore, bFlagged] : {std::pair(1200, true), std::pair(1300, false)}) {
        m_Game.m_iScore = iScore;
        m_Game.m_bScoreChanged = bFlagged;
        CFramework::Get()->Clear();
        m_Game.RenderScore();
        EXPECT_EQ(DiffPixels(m_pScreen, pExpected, {600, 0, 200, 100}), 0) << iScore;
    }
    SDL_FillRect(m_Game.m_pGameOver->m_pImage, nullptr, 0);
    m_Game.m_iState = STATE_GAMEOVER;
    m_Game.RunFrame();
    SDL_FillRect(pExpected, nullptr, 0);
    DrawText(pExpected, pFont, "0000001200", 346, 460);
    EXPECT_EQ(DiffPixels(m_pScreen, pExpected, {0, 0, 800, 600}), 0);
    SDL_FreeSurface(pExpected);
}

TEST_F(GameTest, LivesShowEachHorsesHitsBelowItsSide) {
    Repaint(m_Game.m_pLivesSprite);
    for (const auto& [iLeft, iRight] : {std::pair(0, 3), std::pair(2, 1)}) {
        m_Game.m_Horses.front().m_iHits = iLeft;
        m_Game.m_Horses.back().m_iHits = iRight;
        CFramework::Get()->Clear();
        m_Game.RenderLives();
        EXPECT_EQ(ShadeAt(m_pScreen, {221, 555, 128, 40}), iLeft);
        EXPECT_EQ(ShadeAt(m_pScreen, {457, 555, 128, 40}), iRight);
    }
}

TEST_F(GameTest, HelpPageLiesOnATranslucentBackingOverTheState) {
    SDL_FillRect(m_Game.m_pStartPage->m_pImage, nullptr, 0);
    Repaint(m_Game.m_pHelpScreenBack); // Shade(0), blue 255
    SDL_Surface* pHelp = m_Game.m_pHelpScreen->m_pImage;
    SDL_FillRect(pHelp, nullptr, SDL_MapRGB(pHelp->format, 255, 0, 255)); // all key
    m_Game.m_bHelp = true;
    m_Game.RunFrame();
    EXPECT_NEAR(PixelColor(m_pScreen, 100, 30).b, 180, 1) << "blue 255 at alpha 180 over black";
    EXPECT_NEAR(PixelColor(m_pScreen, 699, 554).b, 180, 1);
    EXPECT_EQ(PixelColor(m_pScreen, 99, 30).b, 0);
    EXPECT_EQ(PixelColor(m_pScreen, 700, 554).b, 0);
}

TEST_F(GameTest, NameShowsAsTypedInUtf8AndIsCutToNineteenBytesOfWholeCharacters) {
    const std::string strM(15, 'M');
    SDL_Surface* pExpected = NewScreen();
    for (const auto& [strName, strShown] : {std::pair<std::string, std::string>("Jürgen", "Jürgen"),
                                            {strM + "MMMü", strM + "MMM"},
                                            {strM + "MM😀", strM + "MM"},
                                            {strM + "M😀", strM + "M"},
                                            {strM + "😀", strM + "😀"}}) {
        CFramework::Get()->Clear();
        m_Game.m_strPlayerName = strName;
        m_Game.m_bPlayerNameChanged = true;
        m_Game.RenderPlayerName();
        SDL_FillRect(pExpected, nullptr, 0);
        DrawText(pExpected, CMyFont::Get()->m_pFontLarge, strShown, 520, 270);
        EXPECT_EQ(DiffPixels(m_pScreen, pExpected, {0, 0, 800, 600}), 0) << strName;
    }
    SDL_FreeSurface(pExpected);
}

TEST_F(GameTest, TableShowsTheBestRowsOnTheStartPageAndAgainOverTheHelpPage) {
    ASSERT_TRUE(CDBConnection::Get()->WriteScore("Ben", 700));
    ASSERT_TRUE(CDBConnection::Get()->WriteScore("Tom", 300));
    SDL_Surface* pTable = SDL_LoadBMP("ImgData/highscore.bmp");
    ASSERT_NE(pTable, nullptr);
    TTF_Font* pFont = CMyFont::Get()->m_pFontSmall;
    const char* const rows[][2] = {{"Ben", ":   0000700"}, {"Tom", ":   0000300"}};
    for (int i = 0; i < 2; ++i) {
        DrawText(pTable, pFont, rows[i][0], 19, 7 + 20 * i);
        DrawText(pTable, pFont, rows[i][1], 146, 7 + 20 * i);
    }
    const SDL_Rect whole{0, 0, pTable->w, pTable->h};
    m_Game.RunFrame();
    EXPECT_EQ(DiffPixels(m_Game.m_pHighScoreText, pTable, whole), 0);
    SDL_Surface* pExpected = NewScreen();
    for (const SDL_Point at : {SDL_Point{511, 393}, {403, 417}}) {
        SDL_Rect dest{at.x, at.y, 0, 0};
        SDL_BlitSurface(pTable, nullptr, pExpected, &dest);
        EXPECT_EQ(DiffPixels(m_pScreen, pExpected, {at.x, at.y, pTable->w, pTable->h}), 0);
        // Unflagged, the table is not read again.
        ASSERT_TRUE(CDBConnection::Get()->WriteScore("Eva", 900));
        m_Game.m_bHelp = true;
        m_Game.RunFrame();
    }
    SDL_FreeSurface(pExpected);
    SDL_FreeSurface(pTable);
}
