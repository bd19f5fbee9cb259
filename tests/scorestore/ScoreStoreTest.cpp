// The score table in a real SQLite file of the test's runtime directory: the name clean-up and
// a file that is no database.

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "scorestore/CDBConnection.h"

const char* const DB_PATH = "score/scores.db";
using Row = std::pair<std::string, std::string>;

// Every test starts without the "score" directory: the store has to make it.
struct ScoreStore : testing::Test {
    void SetUp() override { std::filesystem::remove_all("score"); }
    CDBConnection m_DB;
};

TEST_F(ScoreStore, BestThreeAreListedWithNamesCleanedToAsciiLettersDigitsBlanks) {
    const Row names[] = {{"x'); drop table scores;--", "x drop table scores"},
                         {"Jürgen 😀\t\n\x01\x7F%s%n{}~@[`", "Jrgen sn"},
                         {"AZaz09 ", "AZaz09 "},
                         {"ÄÖÜäöüß-", "noname"},
                         {std::string(40, 'k'), std::string(40, 'k')}};
    ASSERT_TRUE(m_DB.OpenDB(DB_PATH));
    for (std::size_t i = 0; i < std::size(names); ++i) {
        m_DB.WriteScore(names[i].first, static_cast<int>(i)); // each the best so far
        EXPECT_EQ(m_DB.ReadHighScore().front().first, names[i].second.substr(0, 19));
    }
    EXPECT_EQ(m_DB.ReadHighScore().size(), 3u);
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
