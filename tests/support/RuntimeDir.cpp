#include "support/RuntimeDir.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include <unistd.h>

std::string EnterFreshRuntimeDir() {
    char szTemplate[] = "/tmp/zentaris-test-XXXXXX";
    if (mkdtemp(szTemplate) == nullptr || chdir(szTemplate) != 0) {
        std::perror("runtime directory");
        return "";
    }
    const std::filesystem::path built(ZENTARIS_RUNTIME_DIR);
    std::error_code error;
    for (const char* pSub : {"ImgData", "Sound", "fonts"}) {
        if (!error) {
            std::filesystem::create_directory_symlink(built / pSub, pSub, error);
        }
    }
    if (!error) {
        std::filesystem::create_directory("score", error);
    }
    if (error) {
        std::fprintf(stderr, "runtime directory %s: %s\n", szTemplate, error.message().c_str());
        return "";
    }
    return szTemplate;
}

void RemoveRuntimeDir(const std::string& strDir) {
    std::error_code error;
    if (chdir("/") == 0) {
        std::filesystem::remove_all(strDir, error);
    }
}
