#include "framework/CCommandLine.h"

#include <cstdio>
#include <cstring>

namespace {
const char* const USAGE = "Aufruf: zentaris [OPTION]\n"
                          "\n"
                          "Ein Rechenspiel zum Einmaleins: Äpfel mit Aufgaben fallen vom Baum.\n"
                          "Die Antwort eintippen und mit der Leertaste abschicken.\n"
                          "Ohne Option läuft das Spiel im Vollbild.\n"
                          "\n"
                          "  -w, --window   im Fenster spielen (800 x 600)\n"
                          "  -h, --help     diese Hilfe zeigen und beenden\n"
                          "      --version  Versionsnummer zeigen und beenden\n";

bool IsOption(const char* pArg, const char* pShort, const char* pLong) {
    return (pShort != nullptr && std::strcmp(pArg, pShort) == 0) || std::strcmp(pArg, pLong) == 0;
}
} // namespace

CCommandLine ParseCommandLine(int argc, const char* const* argv) {
    bool bWindow = false;
    bool bHelp = false;
    bool bVersion = false;
    for (int i = 1; i < argc; ++i) {
        const char* pArg = argv[i];
        if (IsOption(pArg, "-w", "--window")) {
            bWindow = true;
        } else if (IsOption(pArg, "-h", "--help")) {
            bHelp = true;
        } else if (IsOption(pArg, nullptr, "--version")) {
            bVersion = true;
        } else {
            return CCommandLine{RUN_MISUSE, bWindow};
        }
    }
    const int iRun = bHelp ? RUN_HELP : (bVersion ? RUN_VERSION : RUN_GAME);
    return CCommandLine{iRun, bWindow};
}

const char* UsageText() {
    return USAGE;
}

int AnswerCommandLine(const CCommandLine& commandLine, std::FILE* pOut, std::FILE* pErr) {
    switch (commandLine.m_iRun) {
    case RUN_HELP:
        std::fputs(USAGE, pOut);
        std::fflush(pOut);
        return 0;
    case RUN_VERSION:
        std::fprintf(pOut, "zentaris %s\n", ZENTARIS_VERSION);
        std::fflush(pOut);
        return 0;
    case RUN_MISUSE:
        std::fputs(USAGE, pErr);
        std::fflush(pErr);
        return EXIT_MISUSE;
    default:
        return 0;
    }
}
