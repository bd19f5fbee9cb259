// The report from a small record: its tables made by the game's own writer with Kim's first
// game, the rest written here with SQL. The text, the CSV file and the page.

#include <fstream>

#include <gmock/gmock.h>

#include "framework/CCommandLine.h"
#include "record/CRecordFile.h"
#include "record/RecordCommand.h"

// Kim: three games, one left during play, five answers that solved nothing. Fourteen apples
// solved: seven in 1 s, four in 3 s, three in 5 s, a median of 2 s. 5 x 5 missed once before
// its last five is known; 6 x 6 missed among its last five, 7 x 8 missed twice (once as 56 : 8)
// and 3 x 3, slower than twice the median, need practice; 4 x 6 came once, 9 x 9 never reached
// an answer. Lea: one game up to 20, solved in 1, 1, 1, 1, 3, 3, 5, 5 and 5 s, a median of 3 s.
// 2 x 2 solved two of four times needs much practice; 3 x 2 in 5 s, below twice her median, and
// 11 x 2 are known; 12 x 3, missed twice, needs practice. Then players whose names a
// spreadsheet would take for formulas, or hold markup.
const char* const RECORD =
    "insert into games values (2, 'Kim', 'T2', 10, ':', 0, 0, 0), (3, '=A1,\"B\"', 'T3', 10, 'x', "
    "0, 1, 0), (4, '+49', 'T4', 10, 'x', 0, 1, 0),"
    " (5, '-3', 'T5', 10, 'x', 0, 1, 0), (6, '@A1', 'T6', 10, 'x', 0, 1, 0),"
    " (7, '<script>', 'T7', 10, 'x', 0, 1, 0), (8, 'Kim', 'T8', 10, 'x', 0, 1, 1),"
    " (9, 'Lea', 'T9', 20, 'x', 0, 1, 0);"
    "insert into apples (game, shown_left, operation, shown_right, fact_a, fact_b, outcome,"
    " seconds) values (1, 5, 'x', 5, 5, 5, 'landed', 22.5), (1, 5, 'x', 5, 5, 5, 'solved', 1),"
    " (1, 5, 'x', 5, 5, 5, 'solved', 1), (1, 5, 'x', 5, 5, 5, 'solved', 1),"
    " (1, 5, 'x', 5, 5, 5, 'solved', 1), (1, 5, 'x', 5, 5, 5, 'solved', 1),"
    " (1, 6, 'x', 6, 6, 6, 'fell', 32.5), (1, 6, 'x', 6, 6, 6, 'solved', 3),"
    " (1, 6, 'x', 6, 6, 6, 'solved', 3), (1, 6, 'x', 6, 6, 6, 'solved', 3),"
    " (1, 6, 'x', 6, 6, 6, 'solved', 3), (1, 7, 'x', 8, 7, 8, 'landed', 22.5),"
    " (1, 7, 'x', 8, 7, 8, 'solved', 1), (1, 56, ':', 8, 7, 8, 'fell', 32.5),"
    " (1, 3, 'x', 3, 3, 3, 'solved', 5), (1, 3, 'x', 3, 3, 3, 'solved', 5),"
    " (1, 3, 'x', 3, 3, 3, 'solved', 5), (1, 4, 'x', 6, 4, 6, 'solved', 1),"
    " (2, 9, 'x', 9, 9, 9, 'falling', 1.5), (9, 2, 'x', 2, 2, 2, 'landed', 22.5),"
    " (9, 2, 'x', 2, 2, 2, 'solved', 1), (9, 2, 'x', 2, 2, 2, 'landed', 22.5),"
    " (9, 2, 'x', 2, 2, 2, 'solved', 1), (9, 3, 'x', 2, 3, 2, 'solved', 5),"
    " (9, 3, 'x', 2, 3, 2, 'solved', 5), (9, 3, 'x', 2, 3, 2, 'solved', 5),"
    " (9, 11, 'x', 2, 11, 2, 'solved', 1), (9, 11, 'x', 2, 11, 2, 'solved', 1),"
    " (9, 11, 'x', 2, 11, 2, 'solved', 3), (9, 12, 'x', 3, 12, 3, 'landed', 22.5),"
    " (9, 12, 'x', 3, 12, 3, 'landed', 22.5), (9, 12, 'x', 3, 12, 3, 'solved', 3),"
    " (3, 1, 'x', 1, 1, 1, 'solved', 2),"
    " (4, 1, 'x', 1, 1, 1, 'solved', 2), (5, 1, 'x', 1, 1, 1, 'solved', 2),"
    " (6, 1, 'x', 1, 1, 1, 'solved', 2), (7, 1, 'x', 1, 1, 1, 'solved', 2)";

// What the report of this kind writes: to the file "out", which is standard output too; after
// the record of the player pForget, if given, is deleted; of the player pName, or of all.
static std::string Report(int iRun, const char* pForget = nullptr, const char* pName = nullptr) {
    CRecordFile record;
    record.Open(RECORD_PATH, RECORD_WRITE);
    record.WriteGame({0, "Kim", "T1", 10, 'x', 900, true, 4}, {});
    EXPECT_EQ(sqlite3_exec(record.m_pDB, RECORD, nullptr, nullptr, nullptr), SQLITE_OK);
    const CCommandLine forget{RUN_FORGET, false, nullptr, pForget, 0, nullptr};
    EXPECT_EQ(pForget ? RunRecordCommand(forget, std::fopen("said", "w"), stderr) : 0, 0);
    const CCommandLine line{iRun, false, "out", pName, 0, nullptr};
    EXPECT_EQ(RunRecordCommand(line, std::fopen("out", "w"), stderr), 0);
    std::remove(RECORD_PATH);
    std::ifstream file("out");
    return {std::istreambuf_iterator<char>(file), {}};
}

TEST(Report, TextGivesEachPlayersGamesApplesAndFactsToPractise) {
    EXPECT_THAT(Report(RUN_REPORT),
                testing::HasSubstr(
                    "\nKim\n  Spiele: 3, davon 1 nicht zu Ende gespielt\n  Äpfel: 14 gelöst, 2 auf "
                    "einem Pferd gelandet, 2 zwischen den Pferden gefallen, 1 beim Spielende noch "
                    "im Fall\n  Antworten, die keinen Apfel lösten: 5\n  Mittlere Lösezeit: 2,0 "
                    "s\n  Aufgaben, die Übung brauchen: 3\n    3 × 3: 3 Versuche, 3 gelöst, "
                    "mittlere Lösezeit 5,0 s\n    6 × 6: 5 Versuche, 4 gelöst, mittlere "
                    "Lösezeit 3,0 s\n    7 × 8: 3 Versuche, 1 gelöst, mittlere Lösezeit 1,0 "
                    "s\n  Aufgaben, die noch nicht beurteilt sind: 1\n"));
}

TEST(Report, CsvQuotesFieldsAsRfc4180AndDisarmsFormulas) {
    EXPECT_THAT(Report(RUN_REPORT_CSV),
                testing::EndsWith("\"'=A1,\"\"B\"\"\",3,T3,10,1 x 1,1 × 1,gelöst,2.0\r\n"
                                  "'+49,4,T4,10,1 x 1,1 × 1,gelöst,2.0\r\n"
                                  "'-3,5,T5,10,1 x 1,1 × 1,gelöst,2.0\r\n"
                                  "'@A1,6,T6,10,1 x 1,1 × 1,gelöst,2.0\r\n"
                                  "<script>,7,T7,10,1 x 1,1 × 1,gelöst,2.0\r\n"));
}

TEST(Report, PageShowsANameWithMarkupAsText) {
    EXPECT_THAT(Report(RUN_REPORT_HTML), testing::HasSubstr("<h2>&lt;script&gt;</h2>"));
}

TEST(Report, PageShowsHowWellEachFactIsKnown) {
    const std::string strPage = Report(RUN_REPORT_HTML);
    for (const char* pShown :
         {"\"c0\">9 × 9</td>", "\"c1\">4 × 6<br>? 1/1</td>", "\"c2\">5 × 5<br>✓ 5/6</td>",
          "\"c3\">6 × 6<br>! 4/5</td>", "\"c3\">3 × 3<br>! 3/3</td>", "\"c4\">7 × 8<br>!! 1/3</td>",
          "\"c4\">2 × 2<br>!! 2/4</td>", "\"c2\">3 × 2<br>✓ 3/3</td>",
          "<ul>\n<li>12 × 3: 3 Versuche, 1 gelöst, mittlere Lösezeit 3,0 s</li>\n</ul>",
          "Farben und Zeichen: <span class=\"c0\"> noch nicht vorgekommen</span>"}) {
        EXPECT_THAT(strPage, testing::HasSubstr(pShown));
    }
}

TEST(Report, PageOfOnePlayerLeavesTheOthersOut) {
    const std::string strPage = Report(RUN_REPORT_HTML, nullptr, "Lea");
    EXPECT_THAT(strPage, testing::HasSubstr("\"c4\">2 × 2<br>!! 2/4</td>"));
    EXPECT_THAT(strPage, testing::Not(testing::HasSubstr("Kim")));
}

TEST(Report, ForgottenPlayerIsGoneFromTheRecord) {
    const std::string strReport = Report(RUN_REPORT, "Kim");
    EXPECT_THAT(strReport, testing::Not(testing::HasSubstr("Kim")));
    EXPECT_THAT(strReport, testing::HasSubstr("\n+49\n"));
}
