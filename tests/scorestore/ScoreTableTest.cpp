// The table as the game keeps it: its schema, storing games and listing the best three.

#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "scorestore/CDBConnection.h"
#include "scorestore/ScoreStoreFixture.h"

namespace {

const char* const DB_PATH = "score/scores.db";

using Row = std::pair<std::string, std::string>;

} // namespace

using ScoreTable = ScoreStoreTest;

TEST_F(ScoreTable, StoredSchemaKeepsTheTabRunsOfTheCreatingStatement) {
    CDBConnection db;
    testing::internal::CaptureStderr();
    EXPECT_TRUE(db.OpenDB(DB_PATH));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    // SQLite keeps the text from the table name on and writes its own "CREATE TABLE" before it.
    const std::string strExpected = "CREATE TABLE scores " + std::string(7, '\t') +
                                    "   ( id INTEGER PRIMARY KEY, " + std::string(10, '\t') +
                                    " name TEXT, " + std::string(13, '\t') +
                                    " score INTEGER DEFAULT 0 " + std::string(10, '\t') + ")";
    const auto rows = QuerySql(DB_PATH, "select type, sql from sqlite_master;");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "table");
    EXPECT_EQ(rows[0][1], strExpected);
}

TEST_F(ScoreTable, ReopeningKeepsTheStoredGames) {
    {
        CDBConnection db;
        ASSERT_TRUE(db.OpenDB(DB_PATH));
        EXPECT_TRUE(db.WriteScore("Anna", 2500));
    }
    CDBConnection db;
    testing::internal::CaptureStderr();
    EXPECT_TRUE(db.OpenDB(DB_PATH));
    EXPECT_EQ(db.ReadHighScore(), (HighScoreRows{Row("Anna", ":   0002500")}));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(ScoreTable, StoresNameAndScoreAsTextAndInteger) {
    CDBConnection db;
    ASSERT_TRUE(db.OpenDB(DB_PATH));
    EXPECT_TRUE(db.WriteScore("Anna", 2500));
    EXPECT_TRUE(db.WriteScore("Ben", -42));
    const auto rows = QuerySql(DB_PATH, "select name, typeof(score), score from scores order by id;");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (SqlRow{"Anna", "integer", "2500"}));
    EXPECT_EQ(rows[1], (SqlRow{"Ben", "integer", "-42"}));
}

TEST_F(ScoreTable, ListsTheBestThreeBestFirst) {
    CDBConnection db;
    ASSERT_TRUE(db.OpenDB(DB_PATH));
    EXPECT_EQ(db.ReadHighScore(), HighScoreRows{});
    EXPECT_TRUE(db.WriteScore("Cleo", 300));
    EXPECT_EQ(db.ReadHighScore(), (HighScoreRows{Row("Cleo", ":   0000300")}));
    EXPECT_TRUE(db.WriteScore("Anna", 100));
    EXPECT_EQ(db.ReadHighScore().size(), 2u);
    EXPECT_TRUE(db.WriteScore("Emil", 500));
    EXPECT_TRUE(db.WriteScore("Ben", 200));
    EXPECT_TRUE(db.WriteScore("Dora", 400));

    const HighScoreRows expected{Row("Emil", ":   0000500"), Row("Dora", ":   0000400"),
                                 Row("Cleo", ":   0000300")};
    EXPECT_EQ(db.ReadHighScore(), expected);
    // A second read lists the same rows again rather than adding to the first.
    EXPECT_EQ(db.ReadHighScore(), expected);
    EXPECT_EQ(db.m_Rows, expected);
}

TEST_F(ScoreTable, ScoreTextIsPaddedToSevenDigitsAndNeverCut) {
    CDBConnection db;
    ASSERT_TRUE(db.OpenDB(DB_PATH));
    EXPECT_TRUE(db.WriteScore("Long", 123456789));
    EXPECT_TRUE(db.WriteScore("Max", 2147483647));
    EXPECT_TRUE(db.WriteScore("Zero", 0));
    EXPECT_EQ(db.ReadHighScore(), (HighScoreRows{Row("Max", ":   2147483647"),
                                                 Row("Long", ":   123456789"),
                                                 Row("Zero", ":   0000000")}));

    CDBConnection negative;
    ASSERT_TRUE(negative.OpenDB("other/scores.db"));
    EXPECT_TRUE(negative.WriteScore("Minus", -42));
    EXPECT_TRUE(negative.WriteScore("Min", -2147483647 - 1));
    EXPECT_EQ(negative.ReadHighScore(),
              (HighScoreRows{Row("Minus", ":   -000042"), Row("Min", ":   -2147483648")}));
}

TEST_F(ScoreTable, LongNameIsStoredWholeAndListedWithItsFirstNineteenBytes) {
    CDBConnection db;
    ASSERT_TRUE(db.OpenDB(DB_PATH));
    EXPECT_TRUE(db.WriteScore("ABCDEFGHIJKLMNOPQRSTUVWXYZ", 10));
    EXPECT_EQ(QuerySql(DB_PATH, "select name from scores;"),
              (std::vector<SqlRow>{{"ABCDEFGHIJKLMNOPQRSTUVWXYZ"}}));
    EXPECT_EQ(db.ReadHighScore(), (HighScoreRows{Row("ABCDEFGHIJKLMNOPQRS", ":   0000010")}));
}

TEST_F(ScoreTable, WithoutConnectionNothingIsStoredAndTheFallbackRowIsListed) {
    CDBConnection db;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(db.WriteScore("Anna", 2500));
    const HighScoreRows fallback{Row("Keine Highscore Anzeige!", "Fehler")};
    EXPECT_EQ(db.ReadHighScore(), fallback);
    EXPECT_EQ(db.ReadHighScore(), fallback);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(ScoreTable, NullNamesAndScoresFromOtherProgramsAreListedEmptyAndZero) {
    CDBConnection db;
    ASSERT_TRUE(db.OpenDB(DB_PATH));
    ExecSql(DB_PATH, "insert into scores(name, score) values(NULL, 700);"
                     "insert into scores(name, score) values('Bob', NULL);");
    EXPECT_EQ(db.ReadHighScore(), (HighScoreRows{Row("", ":   0000700"), Row("Bob", ":   0000000")}));
}

TEST_F(ScoreTable, StrangeRowsFromOtherProgramsAreListedWithoutHarm) {
    CDBConnection db;
    ASSERT_TRUE(db.OpenDB(DB_PATH));
    ExecSql(DB_PATH, "insert into scores(name, score) values('%s%n%s%n%s%n', 9223372036854775807);"
                     "insert into scores(name, score) values(printf('%.5000c', 'x'), 1e300);"
                     "insert into scores(name, score) values('Cleo', 'lots');");

    const HighScoreRows rows = db.ReadHighScore();
    ASSERT_EQ(rows.size(), 3u);
    // Text sorts above numbers in SQLite; a score that is not a number lists as 0.
    EXPECT_EQ(rows[0], Row("Cleo", ":   0000000"));
    EXPECT_EQ(rows[1].first, std::string(19, 'x'));
    EXPECT_EQ(rows[2].first, "%s%n%s%n%s%n");
    for (const Row& row : rows) {
        EXPECT_EQ(row.second.compare(0, 4, ":   "), 0) << row.second;
        EXPECT_LE(row.second.size(), 19u);
    }
}

TEST_F(ScoreTable, CallbackTakesOnlyRowsOfTwoColumns) {
    CDBConnection db;
    char szName[] = "Anna";
    char szScore[] = "2500";
    char szExtra[] = "7";
    char* argv[] = {szName, szScore, szExtra};
    EXPECT_EQ(c_callback(&db, 1, argv, nullptr), 0);
    EXPECT_EQ(c_callback(&db, 3, argv, nullptr), 0);
    EXPECT_EQ(c_callback(&db, 0, nullptr, nullptr), 0);
    EXPECT_TRUE(db.m_Rows.empty());
    EXPECT_EQ(c_callback(&db, 2, argv, nullptr), 0);
    EXPECT_EQ(db.m_Rows, (HighScoreRows{Row("Anna", ":   0002500")}));
}

TEST_F(ScoreTable, DeletingTheStoreClosesTheFile) {
    ASSERT_EQ(OpenDescriptorsOf("scores.db"), 0);
    CDBConnection::Get()->OpenDB(DB_PATH);
    ASSERT_TRUE(CDBConnection::Get()->WriteScore("Anna", 1));
    EXPECT_EQ(OpenDescriptorsOf("scores.db"), 1);
    TSingleton<CDBConnection>::Del();
    EXPECT_EQ(OpenDescriptorsOf("scores.db"), 0);
}
