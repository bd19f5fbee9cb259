// The score table in a real SQLite file of the test's runtime directory: its schema, the best
// three, the name clean-up, and a store that cannot be used.

#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>

#include <sys/resource.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "scorestore/CDBConnection.h"

const char* const DB_PATH = "score/scores.db";
const char* const OPEN_FAILURE =
    "Datenbankfehler: unable to open database file\nFehler: SQLite Datenbankfehler\n";
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

TEST_F(ScoreStore, TableKeepsTheCreatingStatementWithItsTabRuns) {
    ASSERT_TRUE(m_DB.OpenDB(DB_PATH));
    const std::string t7(7, '\t');
    const std::string t10(10, '\t');
    const std::string t13(13, '\t');
    EXPECT_EQ(Query("select sql from sqlite_master"),
              Texts{"CREATE TABLE scores " + t7 + "   ( id INTEGER PRIMARY KEY, " + t10 +
                    " name TEXT, " + t13 + " score INTEGER DEFAULT 0 " + t10 + ")"});
}

TEST_F(ScoreStore, BestThreeAreListedBestFirstWithTheirScoresPadded) {
    ASSERT_TRUE(m_DB.OpenDB(DB_PATH));
    for (int iScore : {0, 2500, 2147483647, -42, 123456789}) {
        EXPECT_TRUE(m_DB.WriteScore("Kid" + std::to_string(iScore), iScore));
    }
    ASSERT_TRUE(m_DB.OpenDB(DB_PATH));
    const HighScoreRows best{
        Row("Kid2147483647", ":   2147483647"),
        Row("Kid123456789", ":   123456789"),
        Row("Kid2500", ":   0002500"),
    };
    EXPECT_EQ(m_DB.ReadHighScore(), best);
    EXPECT_EQ(m_DB.ReadHighScore(), best) << "a second read must not add to the first";
}

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

TEST_F(ScoreStore, StoreThatCannotOpenReportsOnce) {
    std::ofstream("score") << "a file where the directory belongs";
    testing::internal::CaptureStderr();
    EXPECT_FALSE(m_DB.OpenDB(DB_PATH));
    EXPECT_FALSE(m_DB.WriteScore("Anna", 2500));
    EXPECT_EQ(m_DB.ReadHighScore(), (HighScoreRows{Row("Keine Highscore Anzeige!", "Fehler")}));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), OPEN_FAILURE);
}

TEST_F(ScoreStore, FifoOrDirectoryAtThePathOrBesideItFailsToOpen) {
    // A FIFO would block the open for good, as root too.
    for (const std::string strSuffix : {"", "-journal", "-wal", "-shm", "-link", "-dir"}) {
        std::filesystem::remove_all("score");
        std::filesystem::create_directory("score");
        std::ofstream{DB_PATH};
        const std::string strPath = DB_PATH + strSuffix;
        if (strSuffix == "-link") {
            ASSERT_EQ(mkfifo("score/fifo", 0600), 0);
            std::filesystem::remove(DB_PATH);
            std::filesystem::create_symlink("fifo", DB_PATH);
        } else if (strSuffix == "-dir") {
            std::filesystem::remove(DB_PATH);
            std::filesystem::create_directory(DB_PATH);
        } else {
            std::filesystem::remove(strPath);
            ASSERT_EQ(mkfifo(strPath.c_str(), 0600), 0);
        }
        CDBConnection db;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(db.OpenDB(DB_PATH)) << strSuffix;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), OPEN_FAILURE) << strSuffix;
    }
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

TEST_F(ScoreStore, WritePastTheFileSizeLimitIsReportedAsAFullDisk) {
    ASSERT_TRUE(m_DB.OpenDB(DB_PATH));
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{8192, old.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limit);
    testing::internal::CaptureStderr();
    const bool bStored = m_DB.WriteScore(std::string(9000, 'k'), 1);
    const std::string strReport = testing::internal::GetCapturedStderr();
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(bStored);
    EXPECT_EQ(
        strReport,
        "Datenbankfehler: database or disk is full\nFehler: Kann Highscore nicht schreiben\n");
}
