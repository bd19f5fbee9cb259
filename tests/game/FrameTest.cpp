// The game's pages, compared with pictures drawn from the game's picture files and with text
// written by a font of the test's own; a game resumed after its end, and loading.

#include <filesystem>

#include "GameFixture.h"

using Frame = GameTest;

TEST_F(Frame, PlayFrameDrawsEveryActorWhereItIs) {
    m_Game.StartGame();
    m_Game.m_fSpawnTimer = 0.0f;
    m_Game.m_iScore = 1200;
    CApple& apple = Apple(200, 100, 1);
    apple.m_fAnimPhase = 7.5f;
    m_Game.m_Bonuses.emplace_back().Init(m_Game.m_pBonusSprite, 3, 600.0f, 200.0f);
    m_Game.m_Horses.front().Update(true);
    m_Game.m_Horses.back().Update(true);
    m_Game.m_Horses.back().Update(true);
    CFramework::Get()->Update(); // almost no time passes
    m_Game.RunFrame();
    SDL_Surface* pExpected = Blank();
    Put(pExpected, ASSET_BAUM, -1, 0, 0);
    Put(pExpected, ASSET_WITCHEY, 0, 314, 276);
    Put(pExpected, ASSET_PFERDLEFT, 1, 10, 384);
    Put(pExpected, ASSET_PFERDRIGHT, 2, 520, 384);
    Put(pExpected, ASSET_APPLE5, 7, 200, 100);
    const SDL_Point text = TextSize(apple.m_strTask, 12);
    Write(pExpected, apple.m_strTask, 12, 200 + (64 - text.x) / 2, 100 + (64 - text.y) / 2);
    Put(pExpected, ASSET_BONUS3, 3, 600, 200);
    Put(pExpected, ASSET_LIVES, 1, 221, 555);
    Put(pExpected, ASSET_LIVES, 2, 457, 555);
    Put(pExpected, ASSET_SHOWSCORE, -1, 691, 10);
    Write(pExpected, "0000001200", 12, 700, 17);
    EXPECT_EQ(Differ(m_pScreen, pExpected), 0);
}

// The table picture at (x, y) with the rows of Ben (700) and Tom (300) written into it as loaded.
static void PutTable(SDL_Surface* pExpected, int x, int y) {
    SDL_Surface* pTable = SDL_LoadBMP("ImgData/highscore.bmp");
    Write(pTable, "Ben", 12, 19, 7);
    Write(pTable, ":   0000700", 12, 146, 7);
    Write(pTable, "Tom", 12, 19, 27);
    Write(pTable, ":   0000300", 12, 146, 27);
    SDL_Rect at{x, y, 0, 0};
    SDL_BlitSurface(pTable, nullptr, pExpected, &at);
    SDL_FreeSurface(pTable);
}

TEST_F(Frame, StartPageShowsTheTypedNameAboveTheBestGames) {
    CDBConnection::Get()->WriteScore("Tom", 300);
    CDBConnection::Get()->WriteScore("Ben", 700);
    Queue(TextEvent("Jürgen"));
    m_Game.RunFrame();
    SDL_Surface* pExpected = Blank();
    Put(pExpected, ASSET_STARTPAGE, -1, 0, 0);
    Write(pExpected, "Jürgen", 18, 520, 270);
    PutTable(pExpected, 511, 393);
    EXPECT_EQ(Differ(m_pScreen, pExpected), 0);
}

TEST_F(Frame, HelpPageLiesOverThePageWithItsOwnTableOfTheBestGames) {
    CDBConnection::Get()->WriteScore("Tom", 300);
    CDBConnection::Get()->WriteScore("Ben", 700);
    Key(SDL_SCANCODE_F1);
    m_Game.RunFrame();
    SDL_Surface* pExpected = Blank();
    Put(pExpected, ASSET_STARTPAGE, -1, 0, 0);
    PutTable(pExpected, 511, 393);
    Put(pExpected, ASSET_HELPSCREEN_BACK, -1, 100, 30, 180);
    Put(pExpected, ASSET_HELPSCREEN, -1, 100, 30);
    PutTable(pExpected, 403, 417);
    EXPECT_EQ(Differ(m_pScreen, pExpected), 0);
}

TEST_F(Frame, GameOverPageShowsTheScoreOfTheLastPlayFrame) {
    m_Game.m_iScore = 1200;
    m_Game.RenderScore();
    m_Game.m_iState = STATE_GAMEOVER;
    m_Game.m_iScore = 1300;
    m_Game.m_bScoreChanged = true;
    m_Game.RunFrame();
    SDL_Surface* pExpected = Blank();
    Put(pExpected, ASSET_GAMEOVER2, -1, 0, 0);
    Write(pExpected, "0000001200", 12, 346, 460);
    EXPECT_EQ(Differ(m_pScreen, pExpected), 0);
}

TEST_F(Frame, PlayResumedFromTheGameOverPageStoresItsScoreAsAnotherRow) {
    m_Game.m_iScore = 700;
    m_Game.StartGame();
    for (CHorse& horse : m_Game.m_Horses) {
        horse.m_bAlive = false;
    }
    m_Game.RunFrame();
    Apple(100, 100, 42);
    Answer("42"); // an apple of the finished game, solved on the game-over page
    Key(SDL_SCANCODE_F5);
    m_Game.RunFrame();
    const HighScoreRows rows = CDBConnection::Get()->ReadHighScore();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(std::stoi(rows[0].second.substr(1)), m_Game.m_iScore);
    EXPECT_EQ(rows[1], HighScoreRows::value_type("noname", ":   0000700"));
}

// Sets the game up in a runtime directory without the help page and the apple pictures.
static void LoadWithoutTwoPictures() {
    std::filesystem::create_directories("partial/ImgData");
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
