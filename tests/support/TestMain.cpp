// Test entry: dummy SDL drivers and a private runtime directory for the whole test process, so
// no test ever touches a player's score database or needs a screen or a sound card.

#include <filesystem>

#include <unistd.h>

#include "support/TestRuntime.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::string strDir = EnterFreshRuntimeDir();
    const int iResult = RUN_ALL_TESTS();
    if (chdir("/") == 0)
        std::filesystem::remove_all(strDir);
    return iResult;
}
