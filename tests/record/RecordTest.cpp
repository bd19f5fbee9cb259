// The record of games played in-process: what it keeps of each apple and game, when it writes,
// and that it leaves the tasks drawn as they are.

#include <ctime>
#include <filesystem>

#include <gmock/gmock.h>

#include "game/GameFixture.h"
#include "record/CRecord.h"

// Each row of a query on the record file, its columns joined by "|", through the test's own
// connection.
static std::vector<std::string> Rows(const char* pSql) {
    std::vector<std::string> rows;
    sqlite3* pDB = nullptr;
    EXPECT_EQ(sqlite3_open_v2("score/record.db", &pDB, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    const auto Collect = [](void* pRows, int argc, char** argv, char**) {
        std::string strRow;
        for (int i = 0; i < argc; ++i) {
            strRow += (i > 0 ? "|" : "") + std::string(argv[i] != nullptr ? argv[i] : "NULL");
        }
        static_cast<std::vector<std::string>*>(pRows)->push_back(strRow);
        return 0;
    };
    EXPECT_EQ(sqlite3_exec(pDB, pSql, Collect, &rows, nullptr), SQLITE_OK) << pSql;
    sqlite3_close(pDB);
    return rows;
}

static std::vector<std::string> Apples() {
    return Rows("select shown_left, operation, shown_right, fact_a, fact_b, outcome,"
                " printf('%.2f', seconds) from apples order by id");
}

class RecordedGame : public GameTest {
protected:
    void SetUp() override {
        std::filesystem::remove("score/record.db");
        GameTest::SetUp();
    }
    // An apple of the game showing the task, at (x, y).
    void Place(int x, int y, const char* pTask, int iSolution) {
        Apple(x, y, iSolution).m_strTask = pTask;
    }
};

TEST_F(RecordedGame, GameLeftWithF2KeepsEachAppleWithItsOutcomeAndTime) {
    m_Game.m_strPlayerName = "Eva-Lotta";
    m_Game.StartGame();
    Place(100, 40, "3 x 4", 12);
    Place(300, 100, "2 x 6", 12);
    Place(500, 140, "42 : 6", 7);
    Place(100, 390, "5 x 5", 25); // on the left horse's back
    Place(300, 589, "9 x 9", 81); // between the horses, about to fall out
    Place(400, 0, "8 x 7", 56);
    Answer("12");
    Answer("7");
    Answer("99");
    Tick(0.1f);
    m_Game.CheckCollisions();
    m_Game.RenderApples();
    EXPECT_FALSE(std::filesystem::exists("score/record.db")) << "written during play";
    const int iScore = m_Game.m_iScore;
    Key(SDL_SCANCODE_F2);

    // Seconds in the air: (y + 60) / 20, as the apples fall 20 pixels a second from y -60.
    const std::vector<std::string> apples = {
        "3|x|4|3|4|solved|5.00",  "2|x|6|2|6|solved|8.00", "42|:|6|7|6|solved|10.00",
        "5|x|5|5|5|landed|22.50", "9|x|9|9|9|fell|32.55",  "8|x|7|8|7|falling|3.10",
    };
    EXPECT_EQ(Apples(), apples);
    EXPECT_EQ(Rows("select player, task_range, operation, score, finished, misses from games"),
              std::vector<std::string>{"EvaLotta|10|x|" + std::to_string(iScore) + "|0|1"});
    EXPECT_THAT(Rows("select started from games"), testing::ElementsAre(testing::MatchesRegex(
                                                       "2[0-9]{3}-[0-9]{2}-[0-9]{2}T[0-9:]{8}Z")));
}

TEST_F(RecordedGame, GameOverWritesOneFinishedGameAndReturnBeginsTheNext) {
    m_Game.StartGame();
    Place(400, 100, "6 x 6", 36);
    for (CHorse& horse : m_Game.m_Horses) {
        horse.m_iHits = 3;
        horse.m_bAlive = false;
    }
    m_Game.RunFrame();
    ASSERT_EQ(m_Game.m_iState, STATE_GAMEOVER);
    const int iScore = m_Game.m_iScore;
    // Answers on the game-over page, and play resumed with F5 that ends at once, are no game.
    Answer("36");
    Answer("1");
    Key(SDL_SCANCODE_F5);
    m_Game.RunFrame();
    ASSERT_EQ(m_Game.m_iState, STATE_GAMEOVER);
    Key(SDL_SCANCODE_RETURN);
    m_Game.Quit();

    EXPECT_EQ(
        Rows("select player, score, finished, misses from games order by id"),
        (std::vector<std::string>{"noname|" + std::to_string(iScore) + "|1|0", "noname|0|0|0"}));
    EXPECT_EQ(Apples(), std::vector<std::string>{"6|x|6|6|6|falling|8.00"});
}

// The tasks and places of the apples a seeded game shows in a minute of play, answered as it
// goes, and the generator's next number after the game.
static std::vector<std::string> SeededMinute(CGame& game, bool bRecorded) {
    std::srand(5);
    game.ResetGame(0);
    game.m_iState = STATE_START;
    game.StartGame();
    CRecord::Get()->m_bRecording = bRecorded;
    std::vector<std::string> drawn;
    Tick(1.0f);
    for (int iSecond = 0; iSecond < 60; ++iSecond) {
        if (iSecond % 3 == 0 && !game.m_Apples.empty()) {
            game.m_strAnswer = std::to_string(game.m_Apples.front().m_iSolution + iSecond % 2);
            game.CheckSolution();
        }
        // The rules of a play frame, in its order; not the witch, whose rhythm runs on from
        // game to game and draws from the generator too.
        game.RenderHorses();
        game.SpawnApples();
        game.CheckCollisions();
        game.RenderApples();
        if (game.m_fSpawnTimer == 0.0f) {
            const CApple& apple = game.m_Apples.back();
            drawn.push_back(apple.m_strTask + " at " + std::to_string(apple.m_fXPos));
        }
    }
    game.ResetGame(0);
    drawn.push_back(std::to_string(std::rand()));
    return drawn;
}

TEST_F(RecordedGame, SeededGameDrawsTheSameTasksWithTheRecordOnAndOff) {
    // The tasks are drawn from a generator reseeded from the clock: both games must run within
    // one second of it.
    for (int iTry = 0; iTry < 5; ++iTry) {
        std::filesystem::remove("score/record.db");
        const std::time_t start = std::time(nullptr);
        const std::vector<std::string> recorded = SeededMinute(m_Game, true);
        const std::vector<std::string> unrecorded = SeededMinute(m_Game, false);
        if (std::time(nullptr) == start) {
            EXPECT_EQ(recorded, unrecorded);
            EXPECT_EQ(Rows("select count(*) > 5 from apples"), std::vector<std::string>{"1"});
            return;
        }
    }
    FAIL() << "no two games fitted into one second of the clock";
}
