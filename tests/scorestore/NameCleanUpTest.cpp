// The name clean-up: what a typed name becomes in the table, and that no name can break the
// store statement or the table.

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "scorestore/CDBConnection.h"
#include "scorestore/ScoreStoreFixture.h"

TEST(NameCleanUp, EmptyOrPunctuationOnlyBecomesNoname) {
    CDBConnection db;
    EXPECT_EQ(db.SanitizeText(""), "noname");
    EXPECT_EQ(db.SanitizeText("!?.,;:'\"-_()"), "noname");
    EXPECT_EQ(db.SanitizeText("\t\n\r"), "noname");
    EXPECT_EQ(db.SanitizeText("\xC3\xA4\xC3\xB6"), "noname");
}

TEST(NameCleanUp, HyphenAndApostropheJoinThePartsWhileBlanksStay) {
    CDBConnection db;
    EXPECT_EQ(db.SanitizeText("Jean-Luc"), "JeanLuc");
    EXPECT_EQ(db.SanitizeText("O'Neil"), "ONeil");
    EXPECT_EQ(db.SanitizeText("Anna Lena"), "Anna Lena");
    EXPECT_EQ(db.SanitizeText("   "), "   ");
    EXPECT_EQ(db.SanitizeText("R2D2"), "R2D2");
}

TEST(NameCleanUp, RunsOfRemovedBytesGoWhole) {
    CDBConnection db;
    EXPECT_EQ(db.SanitizeText("a--''--b"), "ab");
    EXPECT_EQ(db.SanitizeText("--ab--"), "ab");
    EXPECT_EQ(db.SanitizeText(std::string("ab\0\0cd", 6)), "abcd");
    EXPECT_EQ(db.SanitizeText("a\x7F\xFF\x80z"), "az");
}

TEST(NameCleanUp, UmlautsLoseEveryByte) {
    CDBConnection db;
    EXPECT_EQ(db.SanitizeText("J\xC3\xBCrgen"), "Jrgen");
    EXPECT_EQ(db.SanitizeText("\xC3\x96laf Stra\xC3\x9F" "e"), "laf Strae");
    EXPECT_EQ(db.SanitizeText("Emoji \xF0\x9F\x98\x80 Fan"), "Emoji  Fan");
}

TEST(NameCleanUp, HasNoLengthLimit) {
    CDBConnection db;
    const std::string strLong(300, 'k');
    EXPECT_EQ(db.SanitizeText(strLong), strLong);
}

using HostileNames = ScoreStoreTest;

TEST_F(HostileNames, NeverBreakTheStatementOrTheTable) {
    const char* const pPath = "score/scores.db";
    // Input as the name entry can deliver it, and what the table must hold for it.
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"x'); drop table scores;--", "x drop table scores"},
        {"Anna'; DELETE FROM scores; --", "Anna DELETE FROM scores "},
        {"O'Brien", "OBrien"},
        {"\"quoted\"", "quoted"},
        {"''''", "noname"},
        {"semi;colon", "semicolon"},
        {"Tab\tNew\nLine\x01\x1B", "TabNewLine"},
        {"Emoji \xF0\x9F\x98\x80\xF0\x9F\x8D\x8E", "Emoji "},
        {"%s%n%x", "snx"},
        // 40-byte input-method commits: twenty umlauts, and forty ASCII letters.
        {"\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F\xC3\x84\xC3\x96\xC3\x9C\xC3\xA4\xC3\xB6\xC3\xBC"
         "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F\xC3\x84\xC3\x96\xC3\x9C\xC3\xA4\xC3\xB6\xC3\xBC",
         "noname"},
        {"abcdefghijABCDEFGHIJabcdefghijABCDEFGHIJ", "abcdefghijABCDEFGHIJabcdefghijABCDEFGHIJ"},
    };

    CDBConnection db;
    ASSERT_TRUE(db.OpenDB(pPath));
    testing::internal::CaptureStderr();
    int iScore = 1;
    for (const auto& entry : cases) {
        EXPECT_TRUE(db.WriteScore(entry.first, iScore++)) << entry.second;
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    const auto rows = QuerySql(pPath, "select name from scores order by id;");
    ASSERT_EQ(rows.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(rows[i][0], cases[i].second);
    }
    EXPECT_EQ(QuerySql(pPath, "select count(*) from sqlite_master;"), (std::vector<SqlRow>{{"1"}}));

    // The best three are the last three stored; the 40-letter name is listed with 19 bytes.
    const HighScoreRows best = db.ReadHighScore();
    ASSERT_EQ(best.size(), 3u);
    EXPECT_EQ(best[0].first, "abcdefghijABCDEFGHI");
    EXPECT_EQ(best[1].first, "noname");
    EXPECT_EQ(best[2].first, "snx");
}
