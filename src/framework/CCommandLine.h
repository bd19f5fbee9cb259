#pragma once
// The options of the command line, read before anything else is set up, and the answers to
// those that end the program at once.

#include <cstdio>

// What the command line asks the program to do.
enum {
    RUN_GAME = 0,        // play, full screen or in a window
    RUN_HELP = 1,        // usage text on standard output, status 0
    RUN_VERSION = 2,     // "zentaris <version>" on standard output, status 0
    RUN_MISUSE = 3,      // what was not understood, then the usage text on standard error, 2
    RUN_REPORT = 4,      // --report [NAME]: the learning report as text on standard output
    RUN_REPORT_HTML = 5, // --report-html FILE [NAME]: the report as a page
    RUN_REPORT_CSV = 6,  // --report-csv FILE: every recorded apple as CSV
    RUN_FORGET = 7       // --forget NAME: deletes that player's record
};

// What a misuse did wrong; the argument it names is m_pMisused.
enum {
    MISUSE_NONE = 0,
    MISUSE_UNKNOWN_OPTION = 1,
    MISUSE_STRAY_ARGUMENT = 2,
    MISUSE_NO_FILE = 3, // an option that writes a file is not followed by its name
    MISUSE_NO_NAME = 4, // --forget is not followed by a player's name
    MISUSE_TWO_REPORTS = 5
};

// Exit status after a misuse of the command line.
constexpr int EXIT_MISUSE = 2;

struct CCommandLine {
    int m_iRun;
    bool m_bWindow;      // -w, --window: an 800 x 600 window instead of the full screen
    const char* m_pFile; // the FILE of --report-html and --report-csv
    const char* m_pName; // the NAME of --report, --report-html and --forget; null: every player
    int m_iMisuse;
    const char* m_pMisused;
};

// Reads argv[1] to argv[argc - 1]. An operand is an argument that is not empty and does not
// start with "-". Any unknown option, stray argument or missing operand makes a misuse, whatever
// else is given; otherwise help goes before the version, the version before a report, and a
// report before play. Only one of the report options can be given.
CCommandLine ParseCommandLine(int argc, const char* const* argv);

// The usage text, UTF-8, ending in a newline.
const char* UsageText();

// Prints what help, version or a misuse asks for and returns the exit status.
int AnswerCommandLine(const CCommandLine& commandLine, std::FILE* pOut, std::FILE* pErr);

// Flushes and closes an output, pName (standard output or a file) saying which; 0 when all of it
// was written, else 1 after one line on pErr.
int CloseOutput(std::FILE* pOut, std::FILE* pErr, const char* pName);
