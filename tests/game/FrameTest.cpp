// The game's frames: the first apple, the help page, resets, and what the screen shows.

#include "GameFixture.h"
#include "framework/CTimer.h"
#include "media/CMyFont.h"
#include "media/CSprite.h"
#include "playfield/CWitchey.h"
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

// A play frame at a fixed state (no time passes), then the help page over it; both read back.
static std::string DrawFixedScene(CGame& game) {
    CTimer::Get()->m_fElapsed = 0.0f;
    CFramework::Get()->Clear();
    game.m_pBackground->Render(), game.m_pWitch->Render(), game.RenderHorses();
    game.RenderApples(), game.RenderBonus(), game.RenderLives(), game.RenderScore();
    const std::string strPlay = Pixels({0, 0, 800, 600});
    for (CSprite* pPage : {game.m_pHelpScreenBack, game.m_pHelpScreen})
        pPage->SetPos(100, 30), pPage->Render();
    game.RenderHighScore(true);
    return strPlay + Pixels({0, 0, 800, 600});
}

// Back to the picture as its file gives it, keyed and blended as the sprite is: every blit then
// converts from the file's 24-bit pixels, as drawing did before pictures were converted at load.
static void UseFileAsLoaded(CSprite* pSprite, const std::string& strName) {
    SDL_Surface* pFile = SDL_LoadBMP(("ImgData/" + strName + ".bmp").c_str());
    ASSERT_NE(pFile, nullptr) << strName;
    Uint32 uKey = 0;
    Uint8 alpha = 255;
    SDL_SetColorKey(pFile, SDL_GetColorKey(pSprite->m_pImage, &uKey) == 0,
                    SDL_MapRGB(pFile->format, 255, 0, 255));
    SDL_GetSurfaceAlphaMod(pSprite->m_pImage, &alpha);
    SDL_SetSurfaceBlendMode(pFile, alpha < 255 ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
    SDL_SetSurfaceAlphaMod(pFile, alpha);
    for (SDL_Surface* pFrame : pSprite->m_Frames)
        SDL_FreeSurface(pFrame);
    pSprite->m_Frames.clear(); // frames are cut from the sheet by rectangle again
    SDL_FreeSurface(pSprite->m_pImage);
    pSprite->m_pImage = pFile;
}

TEST_F(GameTest, PicturesInTheScreenFormatDrawTheSameSceneAsTheFilesAsLoaded) {
    CGame& g = m_Game;
    for (int i = 0; i < 4; ++i) { // the first apple lies partly off the screen's top left corner
        g.m_Apples.emplace_back().Init(g.m_pAppleSprite, i * 190 - 20.0f, i * 90 - 30.0f, 10, true);
        g.m_Apples.back().m_fAnimPhase = 5.5f * i;
        g.m_Bonuses.emplace_back().Init(g.m_pBonusSprite, i + 2, 120.0f + i * 150, 420.0f);
    }
    g.m_Horses.front().m_iHits = 1, g.m_Horses.back().m_iHits = 2, g.m_pWitch->m_fFrame = 2.0f;
    // The witch strikes two apples: bolts and the translucent flash.
    g.m_pWitch->m_Targets = {g.m_Apples.front().m_Rect, g.m_Apples.back().m_Rect};
    const std::string strKept = DrawFixedScene(g);
    const std::pair<CSprite*, const char*> files[] = {{g.m_pBackground, "baum"},
                                                      {g.m_pAppleSprite, "apple5"},
                                                      {g.m_pBonusSprite, "bonus3"},
                                                      {g.m_pHorseLeftSprite, "pferdleft"},
                                                      {g.m_pHorseRightSprite, "pferdright"},
                                                      {g.m_pLivesSprite, "lives"},
                                                      {g.m_pShowScoreSprite, "showscore"},
                                                      {g.m_pHelpScreen, "helpscreen"},
                                                      {g.m_pHelpScreenBack, "helpscreen_back"},
                                                      {g.m_pWitch->m_pWitchSprite, "witchey"},
                                                      {g.m_pWitch->m_pFlashSprite, "flashbgr"}};
    for (const auto& [pSprite, pName] : files)
        UseFileAsLoaded(pSprite, pName);
    const std::string strAsLoaded = DrawFixedScene(g);
    int iDiffering = 0;
    for (std::size_t i = 0; i < strKept.size(); i += 3)
        iDiffering += strKept.compare(i, 3, strAsLoaded, i, 3) != 0 ? 1 : 0;
    EXPECT_EQ(iDiffering, 0) << "pixels of the play frame and the help page that differ";
}
