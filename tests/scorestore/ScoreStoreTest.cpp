// The score table in a real SQLite file of the test's runtime directory: its schema, the best
// three, the name clean-up, and a store that cannot be used.

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "scorestore/CDBConnection.h"

const char* const DB_PATH = "score/scores.db";
using Row = std::pair<std::string, std::string>;
using Texts = std::vector<std::string>;

// First column of each result row, through a connection of the test's own; NULL reads as "".
static Texts Query(const std::string& strSql) {
    Texts values;
    sqlite3* pDB = nullptr;
    EXPECT_EQ(sqlite3_open(DB_PATH, &pDB), SQLITE_OK);
    const auto Collect = [](void* p, int, char** argv, char**) {
        return static_cast<Texts*>(p)->emplace_back(argv[0] ? argv[0] : ""), 0;
    };
    sqlite3_exec(pDB, strSql.c_str(), Collect, &values, nullptr);
    sqlite3_close(pDB);
    return values;
}

// Every test starts without the "score" directory: the store has to make it.
struct ScoreStore : testing::Test {
    void SetUp() override { std::filesystem::remove_all("score"); }
    CDBConnection m_DB;
};

TEST_F(ScoreStore, ReopenedStoreKeepsItsSchemaAndListsTheBestThreeWithPaddedScores) {
    ASSERT_TRUE(m_DB.OpenDB(DB_PATH));
    for (int iScore : {0, 2500, 2147483647, -42, 123456789})
        EXPECT_TRUE(m_DB.WriteScore("Kid" + std::to_string(iScore), iScore));
    ASSERT_TRUE(m_DB.OpenDB(DB_PATH));
    EXPECT_EQ(m_DB.ReadHighScore(),
              (HighScoreRows{Row("Kid2147483647", ":   2147483647"),
                             Row("Kid123456789", ":   123456789"), Row("Kid2500", ":   0002500")}));
    EXPECT_EQ(m_DB.ReadHighScore().size(), 3u) << "a second read must not add to the first";
    // SQLite keeps the statement's text from the table name on, tab runs included.
    const std::string t7(7, '\t'), t10(10, '\t'), t13(13, '\t');
    EXPECT_EQ(Query("select sql from sqlite_master;"),
              Texts{"CREATE TABLE scores " + t7 + "   ( id INTEGER PRIMARY KEY, " + t10 +
                    " name TEXT, " + t13 + " score INTEGER DEFAULT 0 " + t10 + ")"});
}

TEST_F(ScoreStore, NamesAreCleanedAndNeverBreakTheStatementOrTheTable) {
    // Typed name, and what the table holds for it; a 40-byte umlaut commit keeps nothing.
    const Row names[] = {{"x'); drop table scores;--", "x drop table scores"},
                         {"O'Neil \"Jean-Luc\"; R2D2", "ONeil JeanLuc R2D2"},
                         {"Jürgen 😀\t\n\x01\x7F%s%n", "Jrgen sn"},
                         {"ÄÖÜäöüßÄÖÜäöüßÄÖÜäöü", "noname"},
                         {std::string(40, 'k'), std::string(40, 'k')}};
    ASSERT_TRUE(m_DB.OpenDB(DB_PATH));
    Texts expected;
    for (const Row& name : names)
        m_DB.WriteScore(name.first, int(expected.size())), expected.push_back(name.second);
    EXPECT_EQ(Query("select name from scores order by id;"), expected);
    // The best score is the last name written, listed with its first 19 bytes.
    EXPECT_EQ(m_DB.ReadHighScore().front().first, std::string(19, 'k'));
}

TEST_F(ScoreStore, StoreThatCannotBeUsedReportsEachFailureAndListsTheFallbackRow) {
    const std::string strNotDb = "Datenbankfehler: file is not a database\nFehler: Kann ";
    // Whether the file opens (else a file stands where the directory belongs), and the reports.
    const std::pair<bool, std::string> cases[] = {
        {false, "Datenbankfehler: unable to open database file\nFehler: SQLite Datenbankfehler\n"},
        {true, strNotDb + "Datenbanktabelle nicht anlegen\n" + strNotDb +
                   "Highscore nicht schreiben\n" + strNotDb + "Highscore nicht ermitteln\n"}};
    for (const auto& [bOpens, strReports] : cases) {
        std::filesystem::remove_all("score");
        if (bOpens)
            std::filesystem::create_directory("score");
        std::ofstream(bOpens ? DB_PATH : "score") << "a text file, no database";
        CDBConnection db;
        testing::internal::CaptureStderr();
        EXPECT_EQ(db.OpenDB(DB_PATH), bOpens);
        EXPECT_FALSE(db.WriteScore("Anna", 2500));
        EXPECT_EQ(db.ReadHighScore(), (HighScoreRows{Row("Keine Highscore Anzeige!", "Fehler")}));
        EXPECT_EQ(testing::internal::GetCapturedStderr(), strReports);
    }
}

const char* const OPEN_FAILURE =
    "Datenbankfehler: unable to open database file\nFehler: SQLite Datenbankfehler\n";

TEST_F(ScoreStore, PathThatIsNoRegularFileFailsToOpenAtOnce) {
    // A FIFO would block the open for good, as root too; a link to a file is a file.
    const std::pair<const char*, bool> kinds[] = {{"fifo", false}, {"dir", false}, {"link", true}};
    for (const auto& [pKind, bOpens] : kinds) {
        std::filesystem::remove_all("score");
        std::filesystem::create_directory("score");
        const std::string strKind = pKind;
        if (strKind == "fifo") {
            ASSERT_EQ(mkfifo(DB_PATH, 0600), 0);
        } else if (strKind == "dir") {
            std::filesystem::create_directory(DB_PATH);
        } else {
            std::ofstream("score/target.db");
            std::filesystem::create_symlink("target.db", DB_PATH);
        }
        CDBConnection db;
        testing::internal::CaptureStderr();
        EXPECT_EQ(db.OpenDB(DB_PATH), bOpens) << pKind;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), bOpens ? "" : OPEN_FAILURE) << pKind;
        EXPECT_EQ(db.ReadHighScore().size(), bOpens ? 0u : 1u) << pKind << ": fallback row only";
    }
}

TEST_F(ScoreStore, StoreWaitsTwoSecondsForTheLockOfAnotherProgram) {
    // How long the other program holds its lock (-1: until the store has given up).
    const struct {
        int iHoldMs;
        const char* pReport;
        Texts rows;
    } cases[] = {{500, "", {"Ben 700", "Anna 2500"}},
                 {-1,
                  "Datenbankfehler: database is locked\nFehler: Kann Highscore nicht schreiben\n",
                  {"Ben 700"}}};
    for (const auto& c : cases) {
        std::filesystem::remove_all("score");
        CDBConnection db;
        ASSERT_TRUE(db.OpenDB(DB_PATH));
        ASSERT_TRUE(db.WriteScore("Ben", 700));
        sqlite3* pOther = nullptr;
        ASSERT_EQ(sqlite3_open(DB_PATH, &pOther), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(pOther, "begin exclusive;", nullptr, nullptr, nullptr), SQLITE_OK);
        std::thread release([&] {
            if (c.iHoldMs >= 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(c.iHoldMs));
                sqlite3_exec(pOther, "commit;", nullptr, nullptr, nullptr);
            }
        });
        testing::internal::CaptureStderr();
        EXPECT_EQ(db.WriteScore("Anna", 2500), c.iHoldMs >= 0) << c.iHoldMs;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.pReport) << c.iHoldMs;
        release.join();
        sqlite3_close(pOther); // a lock still held goes with the connection
        EXPECT_EQ(Query("select name || ' ' || score from scores order by id;"), c.rows)
            << c.iHoldMs;
    }
}
