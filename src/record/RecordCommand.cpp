#include "record/RecordCommand.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <string>

#include "framework/CCommandLine.h"
#include "record/CRecordFile.h"
#include "record/CReport.h"
#include "scorestore/CDBConnection.h"

namespace {
const char* const UNREADABLE = "zentaris: Die Lernaufzeichnung %s ist nicht lesbar: %s\n";
const char* const UNCHANGEABLE = "zentaris: Die Lernaufzeichnung %s ist nicht änderbar: %s\n";
const char* const NOT_OPENED = "zentaris: %s: kann nicht geschrieben werden: %s\n";
const char* const FORGOTTEN = "Die Lernaufzeichnung von %s ist gelöscht (%d Spiele). "
                              "Die Bestenliste bleibt, wie sie ist.\n";
const char* const NOTHING_TO_FORGET = "Für %s ist nichts aufgezeichnet.\n";
const char* const STANDARD_OUTPUT = "Standardausgabe";

int Forget(CRecordFile& file, const std::string& strName, std::FILE* pOut, std::FILE* pErr) {
    int iGames = 0;
    if (!file.Forget(strName.c_str(), iGames)) {
        std::fprintf(pErr, UNCHANGEABLE, RECORD_PATH, file.m_strError.c_str());
        std::fclose(pOut);
        return 1;
    }
    if (iGames > 0) {
        std::fprintf(pOut, FORGOTTEN, strName.c_str(), iGames);
    } else {
        std::fprintf(pOut, NOTHING_TO_FORGET, strName.c_str());
    }
    return CloseOutput(pOut, pErr, STANDARD_OUTPUT);
}

// The page or the CSV file, written to the file the command line names.
int WriteFile(const CReport& report, const CCommandLine& commandLine, std::FILE* pErr) {
    std::FILE* pFile = std::fopen(commandLine.m_pFile, "wb");
    if (pFile == nullptr) {
        std::fprintf(pErr, NOT_OPENED, commandLine.m_pFile, std::strerror(errno));
        return 1;
    }
    if (commandLine.m_iRun == RUN_REPORT_HTML) {
        report.WriteHtml(pFile, std::time(nullptr));
    } else {
        report.WriteCsv(pFile);
    }
    return CloseOutput(pFile, pErr, commandLine.m_pFile);
}
} // namespace

int RunRecordCommand(const CCommandLine& commandLine, std::FILE* pOut, std::FILE* pErr) {
    // Names are looked for as the game stores them: "Anna-Lena" finds AnnaLena.
    CDBConnection names;
    const bool bOnePlayer = commandLine.m_pName != nullptr;
    const std::string strName = bOnePlayer ? names.SanitizeText(commandLine.m_pName) : "";
    const bool bForget = commandLine.m_iRun == RUN_FORGET;

    CRecordFile file;
    CReport report;
    const bool bRead = file.Open(RECORD_PATH, bForget ? RECORD_CHANGE : RECORD_READ) &&
                       (bForget || file.Read(bOnePlayer ? strName.c_str() : nullptr, report.m_Games,
                                             report.m_Apples));
    if (!bRead) {
        std::fprintf(pErr, bForget ? UNCHANGEABLE : UNREADABLE, RECORD_PATH,
                     file.m_strError.c_str());
        std::fclose(pOut);
        return 1;
    }
    if (bForget) {
        return Forget(file, strName, pOut, pErr);
    }
    file.Close();
    report.Gather();
    if (commandLine.m_iRun == RUN_REPORT) {
        report.WriteText(pOut);
        return CloseOutput(pOut, pErr, STANDARD_OUTPUT);
    }
    const int iStatus = WriteFile(report, commandLine, pErr);
    return CloseOutput(pOut, pErr, STANDARD_OUTPUT) | iStatus;
}
