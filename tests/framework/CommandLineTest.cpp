// The command line: the status and the first line each answer writes, on which stream.

#include <fstream>
#include <vector>

#include <gtest/gtest.h>

#include "framework/CCommandLine.h"

static std::string FirstLine(const char* pPath) {
    std::ifstream file(pPath);
    std::string strLine;
    std::getline(file, strLine);
    return strLine;
}

// "status | first line of standard output | first line of standard error" for the command
// line given, standard output going to pOut.
static std::string Answer(std::vector<const char*> args, const char* pOut = "out") {
    args.insert(args.begin(), "zentaris");
    args.push_back(nullptr);
    const CCommandLine line = ParseCommandLine(static_cast<int>(args.size()) - 1, args.data());
    std::remove("out");
    std::FILE* pErr = std::fopen("err", "w");
    std::FILE* pOutFile = std::fopen(pOut, "w");
    const int iStatus = AnswerCommandLine(line, pOutFile, pErr);
    if (line.m_iRun == RUN_MISUSE) {
        std::fclose(pOutFile);
    }
    std::fclose(pErr);
    return std::to_string(iStatus) + " | " + FirstLine("out") + " | " + FirstLine("err");
}

TEST(CommandLine, EachAnswerHasItsStatusAndFirstLine) {
    EXPECT_EQ(Answer({"--help"}), "0 | Aufruf: zentaris [OPTION] | ");
    EXPECT_EQ(Answer({"--help"}, "/dev/full"),
              "1 |  | zentaris: Standardausgabe: Schreibfehler: No space left on device");
    EXPECT_EQ(Answer({"--bogus"}), "2 |  | zentaris: unbekannte Option „--bogus“");
    EXPECT_EQ(Answer({"--help", "Kim"}), "2 |  | zentaris: überzähliges Argument „Kim“");
    EXPECT_EQ(Answer({"--report-csv"}), "2 |  | zentaris: „--report-csv“ braucht einen Dateinamen");
    EXPECT_EQ(Answer({"--forget"}), "2 |  | zentaris: „--forget“ braucht einen Namen");
}
