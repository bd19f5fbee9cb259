// Zentaris: apples with multiplication tasks fall from a tree; type the answer and press Space.

#include <cstdio>
#include <cstdlib>
#include <malloc.h>

#include "framework/CCommandLine.h"
#include "framework/CFramework.h"
#include "game/CGame.h"

int main(int argc, char** argv) {
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    // Read before any SDL call: help, version and a misuse never open a window.
    const CCommandLine commandLine = ParseCommandLine(argc, argv);
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
