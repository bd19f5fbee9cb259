#include "framework/CCommandLine.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {
const char* const USAGE =
    "Aufruf: zentaris [OPTION]\n"
    "\n"
    "Ein Rechenspiel zum Einmaleins: Äpfel mit Aufgaben fallen vom Baum.\n"
    "Die Antwort eintippen und mit der Leertaste abschicken.\n"
    "Ohne Option läuft das Spiel im Vollbild.\n"
    "\n"
    "  -w, --window                 im Fenster spielen (800 x 600)\n"
    "      --report [NAME]          Lernbericht als Text ausgeben (für alle oder für NAME)\n"
    "      --report-html DATEI [NAME]\n"
    "                               Lernbericht als Webseite in DATEI schreiben\n"
    "      --report-csv DATEI       jeden aufgezeichneten Apfel als CSV in DATEI schreiben\n"
    "      --forget NAME            die Lernaufzeichnung von NAME löschen\n"
    "  -h, --help                   diese Hilfe zeigen und beenden\n"
    "      --version                Versionsnummer zeigen und beenden\n"
    "\n"
    "Die Lernaufzeichnung liegt in score/record.db im Verzeichnis des Spiels.\n";

// The line before the usage text after a misuse, by MISUSE_ value.
const char* const MISUSES[] = {"",
                               "unbekannte Option „%s“",
                               "überzähliges Argument „%s“",
                               "„%s“ braucht einen Dateinamen",
                               "„%s“ braucht einen Namen",
                               "„%s“ geht nicht zusammen mit einer anderen Berichtsoption"};

struct SRecordOption {
    const char* pName;
    int iRun;
};
const SRecordOption RECORD_OPTIONS[] = {{"--report", RUN_REPORT},
                                        {"--report-html", RUN_REPORT_HTML},
                                        {"--report-csv", RUN_REPORT_CSV},
                                        {"--forget", RUN_FORGET}};

bool IsOption(const char* pArg, const char* pShort, const char* pLong) {
    return (pShort != nullptr && std::strcmp(pArg, pShort) == 0) || std::strcmp(pArg, pLong) == 0;
}

bool IsOperand(int i, int argc, const char* const* argv) {
    return i < argc && argv[i][0] != '\0' && argv[i][0] != '-';
}

// The report option at argv[i] and its operands; i moves past them. The misuse it makes.
int TakeRecordOption(int iRun, int argc, const char* const* argv, int& i, CCommandLine& line) {
    if (line.m_iRun != RUN_GAME) {
        return MISUSE_TWO_REPORTS;
    }
    line.m_iRun = iRun;
    if (iRun == RUN_REPORT_HTML || iRun == RUN_REPORT_CSV) {
        if (!IsOperand(i + 1, argc, argv)) {
            return MISUSE_NO_FILE;
        }
        line.m_pFile = argv[++i];
    }
    if (iRun != RUN_REPORT_CSV && IsOperand(i + 1, argc, argv)) {
        line.m_pName = argv[++i];
    } else if (iRun == RUN_FORGET) {
        return MISUSE_NO_NAME;
    }
    return MISUSE_NONE;
}

// The run an option of the game asks for, a report option, or -1.
int RecordRunOf(const char* pArg) {
    for (const SRecordOption& option : RECORD_OPTIONS) {
        if (std::strcmp(pArg, option.pName) == 0) {
            return option.iRun;
        }
    }
    return -1;
}
} // namespace

CCommandLine ParseCommandLine(int argc, const char* const* argv) {
    CCommandLine line{RUN_GAME, false, nullptr, nullptr, MISUSE_NONE, nullptr};
    bool bHelp = false;
    bool bVersion = false;
    for (int i = 1; i < argc && line.m_iMisuse == MISUSE_NONE; ++i) {
        const char* pArg = argv[i];
        const int iRecordRun = RecordRunOf(pArg);
        if (IsOption(pArg, "-w", "--window")) {
            line.m_bWindow = true;
        } else if (IsOption(pArg, "-h", "--help")) {
            bHelp = true;
        } else if (IsOption(pArg, nullptr, "--version")) {
            bVersion = true;
        } else if (iRecordRun >= 0) {
            line.m_iMisuse = TakeRecordOption(iRecordRun, argc, argv, i, line);
        } else {
            line.m_iMisuse = pArg[0] == '-' ? MISUSE_UNKNOWN_OPTION : MISUSE_STRAY_ARGUMENT;
        }
        line.m_pMisused = pArg;
    }
    if (line.m_iMisuse != MISUSE_NONE) {
        line.m_iRun = RUN_MISUSE;
    } else if (bHelp || bVersion) {
        line.m_iRun = bHelp ? RUN_HELP : RUN_VERSION;
    }
    return line;
}

const char* UsageText() {
    return USAGE;
}

int AnswerCommandLine(const CCommandLine& commandLine, std::FILE* pOut, std::FILE* pErr) {
    switch (commandLine.m_iRun) {
    case RUN_HELP:
        std::fputs(USAGE, pOut);
        return CloseOutput(pOut, pErr, "Standardausgabe");
    case RUN_VERSION:
        std::fprintf(pOut, "zentaris %s\n", ZENTARIS_VERSION);
        return CloseOutput(pOut, pErr, "Standardausgabe");
    case RUN_MISUSE:
        std::fputs("zentaris: ", pErr);
        std::fprintf(pErr, MISUSES[commandLine.m_iMisuse], commandLine.m_pMisused);
        std::fprintf(pErr, "\n%s", USAGE);
        std::fflush(pErr);
        return EXIT_MISUSE;
    default:
        return 0;
    }
}

int CloseOutput(std::FILE* pOut, std::FILE* pErr, const char* pName) {
    // Buffered output fails only now, when it reaches the file.
    bool bWritten = std::fflush(pOut) == 0 && std::ferror(pOut) == 0;
    int iError = errno;
    if (std::fclose(pOut) != 0 && bWritten) {
        bWritten = false;
        iError = errno;
    }
    if (bWritten) {
        return 0;
    }
    std::fprintf(pErr, "zentaris: %s: Schreibfehler: %s\n", pName, std::strerror(iError));
    return 1;
}
