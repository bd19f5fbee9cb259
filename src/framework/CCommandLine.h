#pragma once
// The options of the command line, read before anything else is set up, and the answers to
// those that end the program at once.

#include <cstdio>

// What the command line asks the program to do.
enum {
    RUN_GAME = 0,    // play, full screen or in a window
    RUN_HELP = 1,    // usage text on standard output, status 0
    RUN_VERSION = 2, // "zentaris <version>" on standard output, status 0
    RUN_MISUSE = 3   // an unknown option or a stray argument: usage text on standard error, 2
};

// Exit status after a misuse of the command line.
constexpr int EXIT_MISUSE = 2;

struct CCommandLine {
    int m_iRun;
    bool m_bWindow; // -w, --window: an 800 x 600 window instead of the full screen
};

// Reads argv[1] to argv[argc - 1]. Any unknown option or stray argument makes a misuse, whatever
// else is given; otherwise help goes before the version, and the version before play.
CCommandLine ParseCommandLine(int argc, const char* const* argv);

// The usage text, UTF-8, ending in a newline.
const char* UsageText();

// Prints what a command line other than RUN_GAME asks for and returns the exit status.
int AnswerCommandLine(const CCommandLine& commandLine, std::FILE* pOut, std::FILE* pErr);
