// The game's frames: the first apple, the help page, resets, and what the screen shows, compared
// with pictures drawn here from the sprites' images and texts rendered as the game renders them.

#include "GameFixture.h"

// Blits a whole surface onto another, keyed or translucent as it is.
static void Draw(SDL_Surface* pTarget, SDL_Surface* pImage, int x, int y) {
    SDL_Rect dest{x, y, 0, 0};
    SDL_BlitSurface(pImage, nullptr, pTarget, &dest);
}

TEST_F(GameTest, FirstGameShowsAnAppleAtOnceUnlessFrozenAndAGameAfterAResetAnIntervalLater) {
    m_Game.StartGame();
    m_Game.m_bHelp = true, m_Game.RunFrame();
    EXPECT_TRUE(m_Game.m_Apples.empty()) << "the help page freezes play";
    EXPECT_EQ(m_Game.m_fAccelTimer, 0.0f);
    m_Game.m_bHelp = false, m_Game.RunFrame();
    EXPECT_EQ(m_Game.m_Apples.size(), 1u);
    m_Game.m_fSpawnInterval = 0.5f, m_Game.m_bScoreStored = true;
    m_Game.m_Horses.front().m_iHits = 3, m_Game.m_Bonuses.emplace_back();
    m_Game.ResetGame(1);
    EXPECT_EQ(m_Game.m_fSpawnInterval, 3.5f);
    EXPECT_LT(m_Game.m_fSpawnTimer, m_Game.m_fSpawnInterval);
    EXPECT_FALSE(m_Game.m_bScoreStored) << "the next finished game is stored again";
    EXPECT_TRUE(m_Game.m_Apples.empty());
    EXPECT_TRUE(m_Game.m_Bonuses.empty());
    EXPECT_EQ(m_Game.m_Horses.front().m_iHits, 0);
}

TEST_F(GameTest, ScoreShowsTenDigitsInItsBoxRenderedWhenFlaggedAndOnTheGameOverPage) {
    TTF_Font* pFont = CMyFont::Get()->m_pFontSmall;
    SDL_Surface* pExpected = NewScreen();
    Draw(pExpected, m_Game.m_pShowScoreSprite->m_pImage, 691, 10);
    DrawText(pExpected, pFont, "0000001200", 700, 17);
    for (const auto& [iScore, bFlagged] : {std::pair(1200, true), std::pair(1300, false)}) {
        m_Game.m_iScore = iScore, m_Game.m_bScoreChanged = bFlagged;
        CFramework::Get()->Clear(), m_Game.RenderScore();
        EXPECT_EQ(DiffPixels(m_pScreen, pExpected, {0, 0, 800, 600}), 0) << iScore;
    }
    SDL_FillRect(m_Game.m_pGameOver->m_pImage, nullptr, 0);
    m_Game.m_iState = STATE_GAMEOVER;
    m_Game.RunFrame();
    SDL_FillRect(pExpected, nullptr, 0);
    DrawText(pExpected, pFont, "0000001200", 346, 460);
    EXPECT_EQ(DiffPixels(m_pScreen, pExpected, {0, 0, 800, 600}), 0) << "game over";
    SDL_FreeSurface(pExpected);
}

TEST_F(GameTest, LivesShowEachHorsesHitsBelowItsSide) {
    Repaint(m_Game.m_pLivesSprite);
    for (const auto& [iLeft, iRight] : {std::pair(0, 3), std::pair(2, 1)}) {
        m_Game.m_Horses.front().m_iHits = iLeft, m_Game.m_Horses.back().m_iHits = iRight;
        CFramework::Get()->Clear(), m_Game.RenderLives();
        EXPECT_EQ(ShadeAt(m_pScreen, {221, 555, 128, 40}), iLeft);
        EXPECT_EQ(ShadeAt(m_pScreen, {457, 555, 128, 40}), iRight);
    }
}

TEST_F(GameTest, HelpPageLiesOnATranslucentBackingOverTheState) {
    SDL_FillRect(m_Game.m_pStartPage->m_pImage, nullptr, 0);
    Repaint(m_Game.m_pHelpScreenBack); // Shade(0): blue 255
    FillPicture(m_Game.m_pHelpScreen->m_pImage, nullptr, SDL_Color{255, 0, 255, 255}); // all key
    m_Game.m_bHelp = true;
    m_Game.RunFrame();
    // Blue 255 at alpha 180 over black, where the backing's shadow lies on the 600 x 525 page at
    // (100, 30): right of and below the panel; not where the panel always covers it.
    const int points[][3] = {{690, 330, 180}, {400, 550, 180}, {699, 554, 180},
                             {400, 290, 0},   {99, 30, 0},     {700, 554, 0}};
    for (const auto& p : points)
        EXPECT_NEAR(PixelColor(m_pScreen, p[0], p[1]).b, p[2], 1) << p[0] << "," << p[1];
}

TEST_F(GameTest, NameShowsAsTypedInUtf8AndIsCutToNineteenBytesOfWholeCharacters) {
    const std::string strM(15, 'M');
    SDL_Surface* pExpected = NewScreen();
    const std::pair<std::string, std::string> names[] = {{"Jürgen", "Jürgen"},
                                                         {strM + "MMMü", strM + "MMM"},
                                                         {strM + "M😀", strM + "M"},
                                                         {strM + "😀", strM + "😀"}};
    for (const auto& [strName, strShown] : names) {
        m_Game.m_strPlayerName = strName, m_Game.m_bPlayerNameChanged = true;
        CFramework::Get()->Clear(), m_Game.RenderPlayerName();
        SDL_FillRect(pExpected, nullptr, 0);
        DrawText(pExpected, CMyFont::Get()->m_pFontLarge, strShown, 520, 270);
        EXPECT_EQ(DiffPixels(m_pScreen, pExpected, {0, 0, 800, 600}), 0) << strName;
    }
    SDL_FreeSurface(pExpected);
}

TEST_F(GameTest, TableShowsTheBestRowsOnTheStartPageAndAgainOverTheHelpPage) {
    CDBConnection::Get()->WriteScore("Tom", 300);
    CDBConnection::Get()->WriteScore("Ben", 700);
    m_Game.m_bHighScoreChanged = true; // as a finished game flags it
    SDL_Surface* pTable = SDL_LoadBMP("ImgData/highscore.bmp");
    TTF_Font* pFont = CMyFont::Get()->m_pFontSmall;
    DrawText(pTable, pFont, "Ben", 19, 7), DrawText(pTable, pFont, ":   0000700", 146, 7);
    DrawText(pTable, pFont, "Tom", 19, 27), DrawText(pTable, pFont, ":   0000300", 146, 27);
    m_Game.RunFrame();
    SDL_Surface* pExpected = NewScreen();
    for (const SDL_Point at : {SDL_Point{511, 393}, {403, 417}}) {
        Draw(pExpected, pTable, at.x, at.y);
        EXPECT_EQ(DiffPixels(m_pScreen, pExpected, {at.x, at.y, pTable->w, pTable->h}), 0);
        CDBConnection::Get()->WriteScore("Eva", 900); // unflagged, the table is not read again
        m_Game.m_bHelp = true, m_Game.RunFrame();
    }
    SDL_FreeSurface(pExpected);
    SDL_FreeSurface(pTable);
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

// A play frame at a fixed state (no time passes), then the help page over it; copies of both.
static std::vector<SDL_Surface*> DrawFixedScene(CGame& game) {
    SDL_Surface* pScreen = CFramework::Get()->m_pScreen;
    Tick(0.0f);
    CFramework::Get()->Clear();
    game.m_pBackground->Render();
    game.m_pWitch->Render();
    game.RenderHorses();
    game.RenderApples();
    game.RenderBonus();
    game.RenderLives();
    game.RenderScore();
    std::vector<SDL_Surface*> shots{SDL_DuplicateSurface(pScreen)};
    for (CSprite* pPage : {game.m_pHelpScreenBack, game.m_pHelpScreen}) {
        pPage->SetPos(100, 30);
        pPage->Render();
    }
    game.RenderHighScore(true);
    shots.push_back(SDL_DuplicateSurface(pScreen));
    return shots;
}

// Back to the picture as its file gives it, keyed and blended as the sprite is: every blit then
// converts from the file's 24-bit pixels, as drawing did before pictures were converted at load.
static void UseFileAsLoaded(CSprite* pSprite, const std::string& strName) {
    SDL_Surface* pFile = SDL_LoadBMP(("ImgData/" + strName + ".bmp").c_str());
    ASSERT_NE(pFile, nullptr) << strName;
    Uint32 uKey = 0;
    Uint8 alpha = 255;
    SDL_Surface* pShown = !pSprite->m_Frames.empty() ? pSprite->m_Frames[0]
                          : pSprite->m_pImage        ? pSprite->m_pImage
                                                     : pSprite->m_Pieces.at(0).pSurface;
    SDL_SetColorKey(pFile, SDL_GetColorKey(pShown, &uKey) == 0,
                    SDL_MapRGB(pFile->format, 255, 0, 255));
    SDL_GetSurfaceAlphaMod(pShown, &alpha);
    SDL_SetSurfaceBlendMode(pFile, alpha < 255 ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
    SDL_SetSurfaceAlphaMod(pFile, alpha);
    for (SDL_Surface* pFrame : pSprite->m_Frames)
        SDL_FreeSurface(pFrame);
    pSprite->m_Frames.clear(); // frames are cut from the sheet by rectangle again
    for (const CSprite::SPiece& piece : pSprite->m_Pieces)
        SDL_FreeSurface(piece.pSurface);
    pSprite->m_Pieces.clear(); // drawn whole, key and all
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
    const std::vector<SDL_Surface*> kept = DrawFixedScene(g);
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
    const std::vector<SDL_Surface*> asLoaded = DrawFixedScene(g);
    for (std::size_t i = 0; i < kept.size(); ++i) {
        EXPECT_EQ(DiffPixels(kept[i], asLoaded[i], {0, 0, 800, 600}), 0)
            << "pixels that differ on the " << (i == 0 ? "play frame" : "help page");
        SDL_FreeSurface(kept[i]);
        SDL_FreeSurface(asLoaded[i]);
    }
}
