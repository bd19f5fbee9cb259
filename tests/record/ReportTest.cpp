// The report from a small record written here: the text, the CSV file, the HTML page, the rule
// that a fact needs practice, and forgetting a player.

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "framework/CCommandLine.h"
#include "record/CRecordFile.h"
#include "record/RecordCommand.h"
#include "record/ReportRules.h"
#include "scorestore/CDBConnection.h"

// An apple with the task as shown, e.g. ("56 : 8", OUTCOME_FELL, 32.5).
static SRecordApple Apple(const char* pTask, int iOutcome, float fSeconds) {
    SRecordApple apple{};
    EXPECT_TRUE(ReadShownTask(pTask, apple)) << pTask;
    apple.iOutcome = iOutcome;
    apple.fSeconds = fSeconds;
    return apple;
}

static void Write(const char* pPlayer, bool bFinished, const std::vector<SRecordApple>& apples) {
    CRecordFile file;
    ASSERT_TRUE(file.Open(RECORD_PATH, RECORD_WRITE));
    const SRecordGame game{0, pPlayer, "2026-12-07T09:30:00Z", 10, 'x', 900, bFinished, 2};
    ASSERT_TRUE(file.WriteGame(game, apples)) << file.m_strError;
}

// The status of the command line and what it wrote to standard output, or to its file.
static std::pair<int, std::string> Command(std::vector<const char*> args) {
    args.insert(args.begin(), "zentaris");
    const CCommandLine line = ParseCommandLine(static_cast<int>(args.size()), args.data());
    const int iStatus = RunRecordCommand(line, std::fopen("stdout.txt", "w"), stderr);
    std::ifstream file(line.m_pFile != nullptr ? line.m_pFile : "stdout.txt");
    std::stringstream text;
    text << file.rdbuf();
    return {iStatus, text.str()};
}

struct Report : testing::Test {
    void SetUp() override {
        std::filesystem::remove(RECORD_PATH);
        Write("Kim", true,
              {Apple("7 x 8", OUTCOME_LANDED, 22.5f), Apple("7 x 8", OUTCOME_SOLVED, 4.0f),
               Apple("56 : 8", OUTCOME_FELL, 32.5f), Apple("2 x 3", OUTCOME_SOLVED, 2.0f),
               Apple("2 x 3", OUTCOME_SOLVED, 2.0f), Apple("6 : 2", OUTCOME_SOLVED, 2.0f),
               Apple("4 x 6", OUTCOME_SOLVED, 3.0f)});
        Write("Kim", false, {Apple("9 x 9", OUTCOME_FALLING, 1.5f)});
    }
};

TEST_F(Report, TextGivesEachPlayersGamesApplesAndFactsToPractise) {
    const auto [iStatus, strText] = Command({"--report"});
    EXPECT_EQ(iStatus, 0);
    const char* const lines[] = {
        "\nKim\n  Spiele: 2, davon 1 nicht zu Ende gespielt\n",
        "  Äpfel: 5 gelöst, 1 auf einem Pferd gelandet, 1 zwischen den Pferden gefallen, 1 beim "
        "Spielende noch im Fall\n",
        "  Antworten, die keinen Apfel lösten: 4\n  Mittlere Lösezeit: 2,0 s\n",
        // 7 x 8 came three times (56 : 8 is 7 x 8) and was solved once; 2 x 3 came twice, 3 x 2
        // (6 : 2) and 4 x 6 once each.
        "  Aufgaben, die Übung brauchen: 1\n    7 × 8: 3 Versuche, 1 gelöst, mittlere Lösezeit "
        "4,0 s\n  Aufgaben, die noch nicht beurteilt sind: 3\n"};
    for (const char* pLine : lines) {
        EXPECT_NE(strText.find(pLine), std::string::npos) << pLine << "\nis not in\n" << strText;
    }
}

TEST(CsvField, QuotesAsRfc4180AsksAndDisarmsFormulas) {
    const std::pair<const char*, const char*> fields[] = {
        {"a,b", "\"a,b\""}, {"=1+2", "'=1+2"}, {"+49", "'+49"},
        {"-3", "'-3"},      {"@A1", "'@A1"},   {"=A1,B1", "\"'=A1,B1\""},
    };
    for (const auto& [pText, pField] : fields) {
        EXPECT_EQ(CsvField(pText), pField);
    }
}

TEST_F(Report, CsvHasALineForEveryAppleWithItsGamesStartInUtc) {
    Write("=HYPERLINK(\"x\")", true, {Apple("56 : 8", OUTCOME_FELL, 32.5f)});
    const auto [iStatus, strCsv] = Command({"--report-csv", "apples.csv"});
    EXPECT_EQ(iStatus, 0);
    const std::string strLast = "\"'=HYPERLINK(\"\"x\"\")\",3,2026-12-07T09:30:00Z,10,56 : 8,"
                                "7 × 8,zwischen den Pferden gefallen,32.5\r\n";
    ASSERT_GE(strCsv.size(), strLast.size());
    EXPECT_EQ(strCsv.substr(strCsv.size() - strLast.size()), strLast);
    int iLines = 0;
    for (std::size_t i = strCsv.find("\r\n"); i != std::string::npos;
         i = strCsv.find("\r\n", i + 1)) {
        ++iLines;
    }
    EXPECT_EQ(iLines, 1 + 9) << "a header and nine apples";
}

TEST_F(Report, ForgetDeletesThatPlayersRecordAndNothingElse) {
    Write("Ben", true, {Apple("3 x 3", OUTCOME_SOLVED, 2.0f)});
    CDBConnection scores;
    scores.OpenDB("score/scores.db");
    scores.WriteScore("Kim", 700);
    const auto [iStatus, strSaid] = Command({"--forget", "Kim"});
    EXPECT_EQ(iStatus, 0);
    EXPECT_EQ(strSaid, "Die Lernaufzeichnung von Kim ist gelöscht (2 Spiele). Die Bestenliste "
                       "bleibt, wie sie ist.\n");
    const std::string strCsv = Command({"--report-csv", "left.csv"}).second;
    EXPECT_EQ(strCsv.substr(strCsv.find("\r\n") + 2),
              "Ben,3,2026-12-07T09:30:00Z,10,3 x 3,3 × 3,gelöst,2.0\r\n");
    std::ifstream file(RECORD_PATH, std::ios::binary);
    const std::string strBytes{std::istreambuf_iterator<char>(file), {}};
    EXPECT_EQ(strBytes.find("Kim"), std::string::npos) << "the name is still in the file";
    EXPECT_EQ(scores.ReadHighScore().front().first, "Kim");
}

TEST_F(Report, UnreadableRecordOrUnwritableFileEndsWithStatus1AndOneLine) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(Command({"--report-html", "no/such/page.html"}).first, 1);
    std::ofstream(RECORD_PATH) << "kein SQLite";
    EXPECT_EQ(Command({"--report"}).first, 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "zentaris: no/such/page.html: kann nicht geschrieben werden: No such file or "
              "directory\nzentaris: Die Lernaufzeichnung score/record.db ist nicht lesbar: file "
              "is not a database\n");
}

// A fact's apples in order: s solved in 2 s, S solved in 5 s, l landed, f fell, . still falling.
static std::vector<SAttempt> Attempts(const std::string& strOutcomes) {
    std::vector<SAttempt> attempts;
    for (const char c : strOutcomes) {
        const int iOutcome = std::string("sSlf.").find(c);
        attempts.push_back({iOutcome < 2 ? OUTCOME_SOLVED : iOutcome - 1, c == 'S' ? 5.0f : 2.0f});
    }
    return attempts;
}

TEST(PracticeRule, JudgesFromThreeAttemptsOnTheLastFiveAndOnTwiceTheOwnMedian) {
    const std::pair<const char*, int> facts[] = {
        {"..", JUDGED_NEVER},     {"ss.", JUDGED_NOT_YET},     {"sss", JUDGED_KNOWN},
        {"lsssss", JUDGED_KNOWN}, {"sssssl", JUDGED_PRACTICE}, {"ssfss", JUDGED_PRACTICE},
        {"ssS", JUDGED_KNOWN},    {"sSS", JUDGED_PRACTICE},
    };
    for (const auto& [pOutcomes, iJudged] : facts) {
        EXPECT_EQ(JudgeFact(Attempts(pOutcomes), 2.0f).iJudged, iJudged) << pOutcomes;
    }
}
