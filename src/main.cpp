// Zentaris: apples with multiplication tasks fall from a tree; type the answer and press Space.

#include <cstdio>
#include <cstdlib>
#include <malloc.h>

#include "framework/CCommandLine.h"
#include "framework/CFramework.h"
#include "game/CGame.h"
#include "record/RecordCommand.h"

int main(int argc, char** argv) {
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
    // The pictures' large buffers are mapped apart from the heap, so those that loading lets go
    // of go back to the system. Set only now: the drawing driver's own set-up allocates and frees
    // many buffers just above this size, which glibc's adaptive threshold keeps in the heap.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
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
