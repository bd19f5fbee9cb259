// Test entry: dummy SDL drivers and a private runtime directory for the whole test process, so
// no test ever touches a player's score database or needs a screen or a sound card.

#include <cstdlib>

#include "support/TestRuntime.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::string strDir = EnterFreshRuntimeDir();
    if (strDir.empty()) {
        return 1;
    }
    const int iResult = RUN_ALL_TESTS();
    RemoveRuntimeDir(strDir);
    return iResult;
}
