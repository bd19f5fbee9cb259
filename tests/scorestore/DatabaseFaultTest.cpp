// Database faults: each is reported on standard error in two lines, the game goes on, and no
// stored game is lost.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

#include <sqlite3.h>
#include <gtest/gtest.h>

#include "scorestore/CDBConnection.h"
#include "scorestore/ScoreStoreFixture.h"

namespace {

const char* const DB_PATH = "score/scores.db";

using Row = std::pair<std::string, std::string>;

const HighScoreRows FALLBACK{Row("Keine Highscore Anzeige!", "Fehler")};

std::string FileBytes(const std::string& strPath) {
    std::ifstream file(strPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace

using DatabaseFault = ScoreStoreTest;

TEST_F(DatabaseFault, MissingScoreDirectoryIsMadeBeforeOpening) {
    ASSERT_FALSE(std::filesystem::exists("score"));
    CDBConnection db;
    testing::internal::CaptureStderr();
    EXPECT_TRUE(db.OpenDB(DB_PATH));
    EXPECT_TRUE(db.WriteScore("Anna", 2500));
    EXPECT_EQ(db.ReadHighScore(), (HighScoreRows{Row("Anna", ":   0002500")}));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(std::filesystem::is_regular_file(DB_PATH));
}

TEST_F(DatabaseFault, ReadOnlyWorkingDirectoryFailsTheOpenWithOneReport) {
    if (!MakeImmutable(m_strDir)) {
        GTEST_SKIP() << "this file system cannot make a directory immutable";
    }
    CDBConnection db;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(db.OpenDB(DB_PATH));
    EXPECT_EQ(db.m_pDB, nullptr);
    EXPECT_FALSE(db.WriteScore("Anna", 2500));
    EXPECT_EQ(db.ReadHighScore(), FALLBACK);
    EXPECT_EQ(db.ReadHighScore(), FALLBACK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              Report("unable to open database file", "SQLite Datenbankfehler"));
    EXPECT_FALSE(std::filesystem::exists("score"));
}

TEST_F(DatabaseFault, ReadOnlyFileRefusesTheGameButKeepsItsRows) {
    {
        CDBConnection writer;
        ASSERT_TRUE(writer.OpenDB(DB_PATH));
        ASSERT_TRUE(writer.WriteScore("Anna", 300));
        ASSERT_TRUE(writer.WriteScore("Ben", 200));
    }
    if (!MakeImmutable(DB_PATH)) {
        GTEST_SKIP() << "this file system cannot make a file immutable";
    }
    const std::string strBefore = FileBytes(DB_PATH);
    CDBConnection db;
    testing::internal::CaptureStderr();
    EXPECT_TRUE(db.OpenDB(DB_PATH));
    EXPECT_FALSE(db.WriteScore("Cleo", 500));
    const std::string strReports = testing::internal::GetCapturedStderr();
    EXPECT_EQ(strReports,
              Report("attempt to write a readonly database", "Kann Highscore nicht schreiben"));
    EXPECT_EQ(db.ReadHighScore(), (HighScoreRows{Row("Anna", ":   0000300"), Row("Ben", ":   0000200")}));
    EXPECT_EQ(FileBytes(DB_PATH), strBefore);
}

TEST_F(DatabaseFault, FileThatIsNotADatabaseIsReportedAndLeftAlone) {
    std::filesystem::create_directory("score");
    const std::string strContent(4096, 'Z');
    std::ofstream(DB_PATH, std::ios::binary) << strContent;

    CDBConnection db;
    testing::internal::CaptureStderr();
    EXPECT_TRUE(db.OpenDB(DB_PATH));
    EXPECT_NE(db.m_pDB, nullptr);
    EXPECT_FALSE(db.WriteScore("Anna", 2500));
    EXPECT_EQ(db.ReadHighScore(), FALLBACK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              Report("file is not a database", "Kann Datenbanktabelle nicht anlegen") +
                  Report("file is not a database", "Kann Highscore nicht schreiben") +
                  Report("file is not a database", "Kann Highscore nicht ermitteln"));
    EXPECT_EQ(FileBytes(DB_PATH), strContent);
}

TEST_F(DatabaseFault, LockedDatabaseRefusesWithoutLosingRows) {
    CDBConnection db;
    ASSERT_TRUE(db.OpenDB(DB_PATH));
    ASSERT_TRUE(db.WriteScore("Anna", 300));

    sqlite3* pOther = nullptr;
    ASSERT_EQ(sqlite3_open(DB_PATH, &pOther), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(pOther, "BEGIN EXCLUSIVE;", nullptr, nullptr, nullptr), SQLITE_OK);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(db.WriteScore("Ben", 200));
    EXPECT_EQ(db.ReadHighScore(), FALLBACK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              Report("database is locked", "Kann Highscore nicht schreiben") +
                  Report("database is locked", "Kann Highscore nicht ermitteln"));
    EXPECT_EQ(sqlite3_exec(pOther, "ROLLBACK;", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(pOther);

    EXPECT_TRUE(db.WriteScore("Cleo", 100));
    EXPECT_EQ(db.ReadHighScore(), (HighScoreRows{Row("Anna", ":   0000300"), Row("Cleo", ":   0000100")}));
}

TEST_F(DatabaseFault, TableOfAnotherShapeIsReportedAndKept) {
    std::filesystem::create_directory("score");
    ExecSql(DB_PATH, "create table scores(player TEXT, points INTEGER);"
                     "insert into scores values('Anna', 300);");
    CDBConnection db;
    testing::internal::CaptureStderr();
    EXPECT_TRUE(db.OpenDB(DB_PATH));
    EXPECT_FALSE(db.WriteScore("Ben", 200));
    EXPECT_EQ(db.ReadHighScore(), FALLBACK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              Report("table scores has no column named name", "Kann Highscore nicht schreiben") +
                  Report("no such column: name", "Kann Highscore nicht ermitteln"));
    EXPECT_EQ(QuerySql(DB_PATH, "select player, points from scores;"),
              (std::vector<SqlRow>{{"Anna", "300"}}));
}

TEST_F(DatabaseFault, ReadFailingAfterRowsArrivedListsOnlyTheFallbackRow) {
    // Another program replaced the table by a view whose second row fails to compute; the index
    // lets rows stream out best first, so the first row arrives before the failure.
    std::filesystem::create_directory("score");
    ExecSql(DB_PATH, "create table games(name TEXT, score INTEGER);"
                     "create index games_by_score on games(score);"
                     "insert into games values('Anna', 300), ('Ben', 200), ('Cleo', 100);"
                     "create view scores(name, score) as select case when score = 200 "
                     "then abs(-9223372036854775807 - 1) else name end, score from games;");
    const char* const pRead = "select name, score from scores order by score desc limit 3;";
    sqlite3* pCheck = nullptr;
    ASSERT_EQ(sqlite3_open(DB_PATH, &pCheck), SQLITE_OK);
    int iArrived = 0;
    const auto countRow = [](void* pCount, int, char**, char**) {
        ++*static_cast<int*>(pCount);
        return 0;
    };
    EXPECT_NE(sqlite3_exec(pCheck, pRead, countRow, &iArrived, nullptr), SQLITE_OK);
    sqlite3_close(pCheck);
    ASSERT_EQ(iArrived, 1) << "the read must fail after its first row for this case";

    CDBConnection db;
    testing::internal::CaptureStderr();
    EXPECT_TRUE(db.OpenDB(DB_PATH));
    EXPECT_EQ(db.ReadHighScore(), FALLBACK);
    EXPECT_EQ(db.m_Rows, FALLBACK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              Report("integer overflow", "Kann Highscore nicht ermitteln"));
}
