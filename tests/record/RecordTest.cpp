// The record of games played in-process: what it keeps of a game and its apples, when it writes,
// what a record file that cannot be written costs, and that it leaves the tasks drawn as they are.

#include <gmock/gmock.h>

#include "game/GameFixture.h"
#include "record/CRecord.h"

// The first value a query gives on the record file, through a connection of the test's own.
static std::string Query(const char* pSql) {
    std::string strValue;
    sqlite3* pDB = nullptr;
    sqlite3_open(RECORD_PATH, &pDB);
    const auto Take = [](void* pValue, int, char** ppColumns, char**) {
        *static_cast<std::string*>(pValue) = ppColumns[0] != nullptr ? ppColumns[0] : "NULL";
        return 0;
    };
    sqlite3_exec(pDB, pSql, Take, &strValue, nullptr);
    sqlite3_close(pDB);
    return strValue;
}

const char* const GAMES = "select group_concat(finished || ' ' || misses, ', ') from games";

// A game without a record file yet; the parameter is what ends it: Escape, F2 or closing.
class RecordedGame : public GameTest, public testing::WithParamInterface<SDL_Event> {
protected:
    void SetUp() override {
        std::remove(RECORD_PATH);
        GameTest::SetUp();
    }
    // A game, recorded or not: one answer solves two apples, another a division, a third
    // nothing; an apple lands on the left horse and one is still falling. The apples stand
    // (y + 60) / 20 seconds in the air, as they fall 20 pixels a second from y -60.
    void Play(bool bRecorded) {
        m_Game.StartGame();
        CRecord::Get()->m_bRecording = bRecorded;
        Apple(100, 40, 12).m_strTask = "3 x 4";
        Apple(300, 100, 12).m_strTask = "2 x 6";
        Apple(500, 140, 7).m_strTask = "42 : 6";
        Apple(100, 390, 25).m_strTask = "5 x 5";
        Apple(400, 0, 56).m_strTask = "8 x 7";
        Answer("12");
        Answer("7");
        // The answers reseeded the generator from the clock; from here on it is seeded.
        std::srand(5);
        Answer("99");
        Answer("98");
        m_Game.CheckCollisions();
    }
};

TEST_P(RecordedGame, GameLeftDuringPlayIsWrittenOnItsEndAsUnfinished) {
    Play(true);
    EXPECT_EQ(SDL_RWFromFile(RECORD_PATH, "r"), nullptr) << "the record was written during play";
    Handle(GetParam());
    // Escape and closing end the game's loop, and the program quits as main does.
    if (!m_Game.m_bRunning) {
        m_Game.Quit();
    }
    EXPECT_EQ(Query(GAMES), "0 2");
    EXPECT_EQ(Query("select group_concat(shown_left || operation || shown_right || '=' || fact_a"
                    " || 'x' || fact_b || ' ' || outcome || ' ' || seconds, ', ') from apples"),
              "3x4=3x4 solved 5.0, 2x6=2x6 solved 8.0, 42:6=7x6 solved 10.0, "
              "5x5=5x5 landed 22.5, 8x7=8x7 falling 3.0");
}

static SDL_Event Event(Uint32 uType, SDL_Scancode key) {
    SDL_Event event{uType};
    event.key.keysym.scancode = key;
    return event;
}

// Names each ending in the test's name.
void PrintTo(const SDL_Event& event, std::ostream* pOut) {
    *pOut << (event.type == SDL_QUIT ? "closing" : SDL_GetScancodeName(event.key.keysym.scancode));
}

INSTANTIATE_TEST_SUITE_P(Endings, RecordedGame,
                         testing::Values(Event(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE),
                                         Event(SDL_KEYDOWN, SDL_SCANCODE_F2),
                                         Event(SDL_QUIT, SDL_SCANCODE_UNKNOWN)));

TEST_F(RecordedGame, FinishedGameIsWrittenOnce) {
    Play(true);
    for (CHorse& horse : m_Game.m_Horses) {
        horse.m_bAlive = false;
    }
    m_Game.RunFrame();
    m_Game.RunFrame();
    m_Game.Quit();
    EXPECT_EQ(Query(GAMES), "1 2");
}

TEST_F(RecordedGame, RecordDrawsNothingFromTheGenerator) {
    std::vector<int> draws;
    for (const bool bRecorded : {true, false}) {
        Play(bRecorded);
        Key(SDL_SCANCODE_F2);
        draws.push_back(std::rand());
    }
    EXPECT_EQ(draws[0], draws[1]) << "the next draw differs with the record on and off";
}

TEST_F(RecordedGame, RecordThatCannotBeWrittenCostsOneLineAndPlayGoesOn) {
    // How each fault is made: a shell command, then a statement of another connection that
    // holds it open.
    const std::pair<const char*, const char*> faults[] = {
        {"touch score/record.db && chattr +i score/record.db", ""},
        {"echo kein SQLite >score/record.db", ""},
        {"true", "begin exclusive"},
    };
    for (const auto& [pShell, pSql] : faults) {
        ASSERT_EQ(std::system(pShell), 0) << pShell;
        sqlite3* pHolder = nullptr;
        sqlite3_open(RECORD_PATH, &pHolder);
        sqlite3_exec(pHolder, pSql, nullptr, nullptr, nullptr);
        Play(true);
        testing::internal::CaptureStderr();
        Key(SDL_SCANCODE_F2);
        EXPECT_THAT(testing::internal::GetCapturedStderr(),
                    testing::MatchesRegex("Lernaufzeichnung nicht gespeichert "
                                          "\\(score/record\\.db\\): [^\n]+\n"))
            << pShell << "; " << pSql;
        sqlite3_close(pHolder);
        EXPECT_EQ(std::system("chattr -i score/record.db && rm score/record.db"), 0);
    }
}
