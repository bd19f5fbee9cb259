#include "support/RuntimeDir.h"

#include <cstdio>
#include <filesystem>

#include <unistd.h>

std::string EnterFreshRuntimeDir() {
    char szTemplate[] = "/tmp/zentaris-test-XXXXXX";
    if (mkdtemp(szTemplate) == nullptr || chdir(szTemplate) != 0) {
        std::perror("runtime directory");
        return "";
    }
    // A link that cannot be made throws, and the process ends saying why.
    for (const char* pSub : {"ImgData", "Sound", "fonts"}) {
        std::filesystem::create_directory_symlink(std::string(ZENTARIS_RUNTIME_DIR) + "/" + pSub,
                                                  pSub);
    }
    std::filesystem::create_directory("score");
    return szTemplate;
}

void RemoveRuntimeDir(const std::string& strDir) {
    if (chdir("/") == 0) {
        std::filesystem::remove_all(strDir);
    }
}
