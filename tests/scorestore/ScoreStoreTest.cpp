// The score table in a real SQLite file of the test's runtime directory: the name clean-up, a
// file that is no database, and a lock held by another program.

#include <filesystem>
#include <fstream>
#include <thread>


#include <gtest/gtest.h>

#include "scorestore/CDBConnection.h"

const char* const DB_PATH = "score/scores.db";
using Row = std::pair<std::string, std::string>;
using Texts = std::vector<std::string>;

// First column of each result row, through a connection of the test's own.
static Texts Query(const std::string& strSql) {
    Texts values;
    sqlite3* pDB = nullptr;
    sqlite3_open(DB_PATH, &pDB);
    sqlite3_stmt* pStatement = nullptr;
    sqlite3_prepare_v2(pDB, strSql.c_str(), -1, &pStatement, nullptr);
    while (sqlite3_step(pStatement) == SQLITE_ROW) {
        values.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(pStatement, 0)));
    }
    sqlite3_finalize(pStatement);
    sqlite3_close(pDB);
    return values;
}

// Every test starts without the "score" directory: the store has to make it.
struct ScoreStore : testing::Test {
    void SetUp() override { std::filesystem::remove_all("score"); }
    CDBConnection m_DB;
};

TEST_F(ScoreStore, NameIsStoredCleanedToAsciiLettersDigitsBlanks) {
    const Row names[] = {{"x'); drop table scores;--", "x drop table scores"},
                         {"Jürgen 😀\t\n\x01\x7F%s%n{}~@[`", "Jrgen sn"},
                         {"AZaz09 ", "AZaz09 "},
                         {"ÄÖÜäöüß-", "noname"},
                         {"", "noname"},
                         {std::string(40, 'k'), std::string(40, 'k')}};
    ASSERT_TRUE(m_DB.OpenDB(DB_PATH));
    Texts stored;
    for (const Row& name : names) {
        m_DB.WriteScore(name.first, static_cast<int>(stored.size()));
        stored.push_back(name.second);
    }
    EXPECT_EQ(Query("select name from scores order by id"), stored);
    EXPECT_EQ(m_DB.ReadHighScore().front().first, std::string(19, 'k')) << "listed cut";
}

TEST_F(ScoreStore, FileThatIsNoDatabaseReportsEveryFailedStatement) {
    std::filesystem::create_directory("score");
    std::ofstream(DB_PATH) << "a text file, no database";
    const std::string strReport = "Datenbankfehler: file is not a database\nFehler: Kann ";
    testing::internal::CaptureStderr();
    EXPECT_TRUE(m_DB.OpenDB(DB_PATH));
    EXPECT_FALSE(m_DB.WriteScore("Anna", 2500));
    EXPECT_EQ(m_DB.ReadHighScore(), (HighScoreRows{Row("Keine Highscore Anzeige!", "Fehler")}));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              strReport + "Datenbanktabelle nicht anlegen\n" + strReport +
                  "Highscore nicht schreiben\n" + strReport + "Highscore nicht ermitteln\n");
}

// Holds an exclusive lock on the database from another connection for iHoldMs milliseconds,
// then lets the store write; true when the row was stored.
static bool WriteWhileLocked(CDBConnection& db, int iHoldMs) {
    sqlite3* pOther = nullptr;
    sqlite3_open(DB_PATH, &pOther);
    sqlite3_exec(pOther, "begin exclusive", nullptr, nullptr, nullptr);
    std::thread release([pOther, iHoldMs] {
        std::this_thread::sleep_for(std::chrono::milliseconds(iHoldMs));
        sqlite3_exec(pOther, "commit", nullptr, nullptr, nullptr);
    });
    const bool bStored = db.WriteScore("Anna", 2500);
    release.join();
    sqlite3_close(pOther);
    return bStored;
}

TEST_F(ScoreStore, LockHeldBrieflyByAnotherProgramIsWaitedFor) {
    ASSERT_TRUE(m_DB.OpenDB(DB_PATH));
    EXPECT_TRUE(WriteWhileLocked(m_DB, 500));
    EXPECT_EQ(Query("select name from scores"), Texts{"Anna"});
}
