// The game's frames: the first apple, the help page, resets, and what the screen shows.

#include "GameFixture.h"
#include "media/CMyFont.h"
#include "scorestore/CDBConnection.h"

// The colours of a rectangle of a surface (the screen when none is given), to compare draws.
static std::string Pixels(const SDL_Rect& rect, SDL_Surface* pSurface = nullptr) {
    std::string strBytes;
    CountPixels(pSurface ? pSurface : CFramework::Get()->m_pScreen, rect, [&strBytes](SDL_Color c) {
        strBytes += {static_cast<char>(c.r), static_cast<char>(c.g), static_cast<char>(c.b)};
        return true;
    });
    return strBytes;
}

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
    EXPECT_TRUE(m_Game.m_bScoreChanged && m_Game.m_bHighScoreChanged);
    EXPECT_FALSE(m_Game.m_bScoreStored) << "the next finished game is stored again";
    EXPECT_TRUE(m_Game.m_Apples.empty() && m_Game.m_Horses.front().m_iHits == 0);
}

TEST_F(GameTest, ScoreDigitsAreDrawnInTheBoxAndRenderedOnlyWhenFlagged) {
    m_Game.RenderScore();
    ASSERT_NE(m_Game.m_pScoreText, nullptr);
    const SDL_Rect digits{700, 17, m_Game.m_pScoreText->w, m_Game.m_pScoreText->h};
    const std::string strZero = Pixels(digits);
    for (bool bFlag : {false, true}) {
        m_Game.m_iScore = 1200;
        m_Game.m_bScoreChanged = bFlag;
        CFramework::Get()->Clear();
        m_Game.RenderScore();
        EXPECT_EQ(Pixels(digits) != strZero, bFlag);
    }
}

TEST_F(GameTest, NameShowsAsTypedInUtf8AndIsCutToNineteenBytesOfWholeCharacters) {
    const std::string strM(15, 'M');
    for (const auto& [strName, strShown] :
         {std::make_pair(std::string("Jürgen"), std::string("Jürgen")),
          std::make_pair(strM + "MMMü", strM + "MMM"), std::make_pair(strM + "MM😀", strM + "MM"),
          std::make_pair(strM + "M😀", strM + "M"), std::make_pair(strM + "😀", strM + "😀")}) {
        CFramework::Get()->Clear();
        m_Game.m_strPlayerName = strName;
        m_Game.m_bPlayerNameChanged = true;
        m_Game.RenderPlayerName();
        SDL_Rect shown{520, 270, 0, 0};
        TTF_SizeUTF8(CMyFont::Get()->m_pFontLarge, strShown.c_str(), &shown.w, &shown.h);
        ASSERT_NE(m_Game.m_pPlayerNameText, nullptr);
        EXPECT_EQ(m_Game.m_pPlayerNameText->w, shown.w) << strName;
        EXPECT_NE(Pixels(shown), std::string(3 * shown.w * shown.h, '\0')) << strName;
    }
}

TEST_F(GameTest, TableShowsTheRowsOnTheStartPageAndAgainOverTheHelpPage) {
    ASSERT_TRUE(CDBConnection::Get()->WriteScore("Ben", 700));
    ASSERT_TRUE(CDBConnection::Get()->WriteScore("Tom", 300));
    SDL_Surface* pBare = SDL_LoadBMP("ImgData/highscore.bmp");
    ASSERT_NE(pBare, nullptr);
    m_Game.RunFrame();
    for (int iRow = 0; iRow < 3; ++iRow) {
        const SDL_Rect row{0, 7 + 20 * iRow, pBare->w, 20};
        EXPECT_EQ(Pixels(row, m_Game.m_pHighScoreText) != Pixels(row, pBare), iRow < 2) << iRow;
    }
    const std::string strTable = Pixels({0, 0, pBare->w, pBare->h}, m_Game.m_pHighScoreText);
    EXPECT_EQ(Pixels({511, 393, pBare->w, pBare->h}), strTable);
    // Unflagged, the table is not read again.
    ASSERT_TRUE(CDBConnection::Get()->WriteScore("Eva", 900));
    m_Game.m_bHelp = true;
    m_Game.RunFrame();
    EXPECT_EQ(Pixels({403, 417, pBare->w, pBare->h}), strTable);
    SDL_FreeSurface(pBare);
}

TEST_F(GameTest, PointsWonOnTheGameOverPageUpdateTheGamesOneRow) {
    m_Game.m_strPlayerName = "Ida";
    m_Game.m_iScore = 700;
    m_Game.StartGame();
    for (CHorse& horse : m_Game.m_Horses) {
        horse.m_iHits = 3;
        horse.m_bAlive = false;
    }
    m_Game.RunFrame();
    ASSERT_EQ(m_Game.m_iState, STATE_GAMEOVER);
    // An apple of the finished game is solved on the game-over page; F5 looks at the score.
    CApple apple{};
    apple.m_bAlive = true;
    apple.m_iSolution = 42;
    m_Game.m_Apples.push_back(apple);
    m_Game.m_strAnswer = "42";
    SDL_Event space{SDL_KEYDOWN};
    space.key.keysym.scancode = SDL_SCANCODE_SPACE;
    SDL_Event f5 = space;
    f5.key.keysym.scancode = SDL_SCANCODE_F5;
    Handle({space});
    Handle({f5});
    m_Game.RunFrame();
    EXPECT_GT(m_Game.m_iScore, 700);
    const HighScoreRows rows = CDBConnection::Get()->ReadHighScore();
    ASSERT_EQ(rows.size(), 1u) << "one row for the one game";
    EXPECT_EQ(std::stoi(rows[0].second.substr(1)), m_Game.m_iScore) << rows[0].second;
}
