// The game's frames: the first apple, the help page, resets, and what the screen shows, compared
// with the game's picture files and with text rendered by a font of the test's own.

#include <filesystem>

#include "GameFixture.h"

using Frame = GameTest;

TEST_F(Frame, FirstGameShowsAnAppleInItsFirstPlayFrame) {
    m_Game.StartGame();
    m_Game.RunFrame();
    EXPECT_EQ(m_Game.m_Apples.size(), 1u);
}

TEST_F(Frame, NextGameStartsAfreshForTheSamePlayer) {
    m_Game.m_strPlayerName = "Ida";
    m_Game.m_iScore = 700;
    m_Game.m_fSpawnInterval = 0.5f;
    m_Game.m_fAccelTimer = 30.0f;
    Apple(10, 10, 1);
    m_Game.m_Bonuses.emplace_back().Init(m_Game.m_pBonusSprite, 2, 100.0f, 200.0f);
    m_Game.m_Horses.front().Update(true);
    m_Game.ResetGame(1);
    m_Game.StartGame();
    Tick(3.4f);
    m_Game.RunFrame();
    EXPECT_TRUE(m_Game.m_Apples.empty()) << "the first apple comes a whole interval in";
    EXPECT_TRUE(m_Game.m_Bonuses.empty());
    EXPECT_EQ(m_Game.m_Horses.front().m_iHits, 0);
    EXPECT_EQ(m_Game.m_iScore, 0);
    EXPECT_EQ(m_Game.m_fSpawnInterval, 3.5f);
    EXPECT_LT(m_Game.m_fAccelTimer, 30.0f);
    EXPECT_EQ(m_Game.m_strPlayerName, "Ida");
}

// Pixels of the screen that differ from the expected picture, which is freed.
static int Differ(SDL_Surface* pScreen, SDL_Surface* pExpected) {
    const int iCount = Mismatch(pScreen, pExpected, {0, 0, 800, 600}, 0, 0);
    SDL_FreeSurface(pExpected);
    return iCount;
}

// The score box at its place with the digits written in it.
static SDL_Surface* ScoreBox(const char* pDigits) {
    SDL_Surface* pExpected = Blank();
    Put(pExpected, "showscore", 691, 10, true);
    Write(pExpected, pDigits, 12, 700, 17);
    return pExpected;
}

TEST_F(Frame, ScoreShowsTenDigitsInItsBox) {
    m_Game.m_iScore = 1200;
    m_Game.RenderScore();
    EXPECT_EQ(Differ(m_pScreen, ScoreBox("0000001200")), 0);
}

TEST_F(Frame, ScoreDigitsAreRenderedAgainOnlyWhenTheScoreChanged) {
    m_Game.RenderScore();
    m_Game.m_iScore = 1300;
    CFramework::Get()->Clear();
    m_Game.RenderScore();
    EXPECT_EQ(Differ(m_pScreen, ScoreBox("0000000000")), 0);
}

TEST_F(Frame, GameOverPageShowsTheScoreOfTheLastPlayFrame) {
    m_Game.m_iScore = 1200;
    m_Game.RenderScore();
    m_Game.m_iState = STATE_GAMEOVER;
    m_Game.m_iScore = 1300;
    m_Game.m_bScoreChanged = true;
    m_Game.RunFrame();
    SDL_Surface* pExpected = Blank();
    Put(pExpected, "gameover2", 0, 0, false);
    Write(pExpected, "0000001200", 12, 346, 460);
    EXPECT_EQ(Differ(m_pScreen, pExpected), 0);
}

TEST_F(Frame, LivesShowEachHorsesHitsBelowIt) {
    m_Game.m_Horses.back().Update(true);
    m_Game.m_Horses.back().Update(true);
    m_Game.RenderLives();
    EXPECT_EQ(FrameAt(m_pScreen, Picture("lives"), 128, 40, 221, 555), 0);
    EXPECT_EQ(FrameAt(m_pScreen, Picture("lives"), 128, 40, 457, 555), 2);
}

TEST_F(Frame, NameIsShownAsTypedCutToNineteenBytesOfWholeCharacters) {
    const std::string strM(15, 'M');
    const std::pair<std::string, std::string> names[] = {
        {"Jürgen", "Jürgen"},
        {strM + "MMMü", strM + "MMM"},
        {strM + "😀", strM + "😀"},
    };
    for (const auto& [strName, strShown] : names) {
        m_Game.m_strPlayerName = strName;
        m_Game.m_bPlayerNameChanged = true;
        CFramework::Get()->Clear();
        m_Game.RenderPlayerName();
        EXPECT_EQ(TextMismatch(m_pScreen, strShown, 18, 520, 270), 0) << strName;
    }
}

// The table picture at (x, y) with the rows of Ben (700) and Tom (300) written into it.
static void PutTable(SDL_Surface* pExpected, int x, int y) {
    SDL_Surface* pTable = SDL_DuplicateSurface(Picture("highscore"));
    Write(pTable, "Ben", 12, 19, 7);
    Write(pTable, ":   0000700", 12, 146, 7);
    Write(pTable, "Tom", 12, 19, 27);
    Write(pTable, ":   0000300", 12, 146, 27);
    SDL_Rect at{x, y, 0, 0};
    SDL_BlitSurface(pTable, nullptr, pExpected, &at);
    SDL_FreeSurface(pTable);
}

TEST_F(Frame, StartPageListsTheBestGames) {
    CDBConnection::Get()->WriteScore("Tom", 300);
    CDBConnection::Get()->WriteScore("Ben", 700);
    m_Game.RunFrame();
    SDL_Surface* pExpected = Blank();
    Put(pExpected, "startpage", 0, 0, false);
    PutTable(pExpected, 511, 393);
    EXPECT_EQ(Differ(m_pScreen, pExpected), 0);
}

TEST_F(Frame, HelpPageLiesOnItsTranslucentBackingWithTheTableAsLastRead) {
    CDBConnection::Get()->WriteScore("Tom", 300);
    CDBConnection::Get()->WriteScore("Ben", 700);
    m_Game.RunFrame();
    CDBConnection::Get()->WriteScore("Eva", 900); // no game ended: the table is not read again
    m_Game.m_bHelp = true;
    m_Game.RunFrame();
    SDL_Surface* pExpected = Blank();
    Put(pExpected, "startpage", 0, 0, false);
    PutTable(pExpected, 511, 393);
    Put(pExpected, "helpscreen_back", 100, 30, true, 180);
    Put(pExpected, "helpscreen", 100, 30, true);
    PutTable(pExpected, 403, 417);
    EXPECT_EQ(Differ(m_pScreen, pExpected), 0);
}

TEST_F(Frame, PlayResumedFromTheGameOverPageStoresItsScoreAsAnotherRow) {
    m_Game.m_strPlayerName = "Ida";
    m_Game.m_iScore = 700;
    m_Game.StartGame();
    for (CHorse& horse : m_Game.m_Horses) {
        for (int i = 0; i < 3; ++i) {
            horse.Update(true);
        }
    }
    m_Game.RunFrame();
    ASSERT_EQ(m_Game.m_iState, STATE_GAMEOVER);
    Apple(100, 100, 42);
    Answer("42"); // an apple of the finished game, solved on the game-over page
    Key(SDL_SCANCODE_F5);
    m_Game.RunFrame();
    EXPECT_EQ(m_Game.m_iState, STATE_GAMEOVER);
    const HighScoreRows rows = CDBConnection::Get()->ReadHighScore();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(std::stoi(rows[0].second.substr(1)), m_Game.m_iScore);
    EXPECT_EQ(std::stoi(rows[1].second.substr(1)), 700);
}

// Sets the game up in a runtime directory without the help page and the apple pictures.
static void LoadWithoutTwoPictures() {
    std::filesystem::create_directory("partial");
    std::filesystem::create_directory("partial/ImgData");
    for (const auto& entry : std::filesystem::directory_iterator("ImgData")) {
        const std::string strName = entry.path().filename();
        if (strName != "apple5.bmp" && strName != "helpscreen.bmp") {
            std::filesystem::create_symlink(std::filesystem::canonical(entry.path()),
                                            "partial/ImgData/" + strName);
        }
    }
    for (const char* pDir : {"Sound", "fonts", "score"}) {
        std::filesystem::create_directory_symlink(std::filesystem::canonical(pDir),
                                                  std::string("partial/") + pDir);
    }
    std::filesystem::current_path("partial");
    StartFramework();
    CGame game;
    game.Init();
}

TEST(GameStart, FirstPictureMissingInLoadingOrderIsReported) {
    // The apples load before the help page.
    EXPECT_EXIT(LoadWithoutTwoPictures(), testing::ExitedWithCode(1),
                "Fehler beim Laden der Bitmap: ImgData/apple5.bmp\nFehler: ");
}
