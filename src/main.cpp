// Zentaris: apples with multiplication tasks fall from a tree; type the answer and press Space.

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "framework/CCommandLine.h"
#include "framework/CFramework.h"
#include "game/CGame.h"
#include "record/RecordCommand.h"

int main(int argc, char** argv) {
    // A write past a file-size limit then fails like a full disk, and is reported as such,
    // instead of the signal killing the game and its unsaved score.
    std::signal(SIGXFSZ, SIG_IGN);
    // Read before any SDL call: help, version, a misuse and the reports never open a window.
    const CCommandLine commandLine = ParseCommandLine(argc, argv);
    if (commandLine.m_iRun >= RUN_REPORT) {
        return RunRecordCommand(commandLine, stdout, stderr);
    }
    if (commandLine.m_iRun != RUN_GAME) {
        return AnswerCommandLine(commandLine, stdout, stderr);
    }
    if (!CFramework::Get()->Init("Zentaris", 800, 600, 32, !commandLine.m_bWindow)) {
        CFramework::Get()->Quit();
        std::exit(1);
    }
    {
        CGame game;
        game.Init();
        game.Run();
        game.Quit();
        CFramework::Get()->Quit();
        TSingleton<CFramework>::Del();
    }
    return 0;
}
