// The learning report over a school year's record: 100,000 apples of 50 players, made in-process
// as `zentaris --report` and `--report-html` make it, and by the real program, start-up included.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include "framework/CCommandLine.h"
#include "record/CRecordFile.h"
#include "record/RecordCommand.h"

namespace {
const int PLAYERS = 50;
const int GAMES_PER_PLAYER = 40;
const int APPLES_PER_GAME = 50;

// A game of a child who mostly plays up to 10 x 10, now and then up to 20 or 99, a third of it
// in divisions; most apples solved, some landed, a few fell out or were still falling.
std::vector<SRecordApple> PlayedApples(std::mt19937& random, int iRange) {
    std::vector<SRecordApple> apples;
    for (int i = 0; i < APPLES_PER_GAME; ++i) {
        const int a = static_cast<int>(random() % iRange) + 1;
        const int b = static_cast<int>(random() % iRange) + 1;
        const bool bDivide = random() % 3 == 0;
        const unsigned int uFate = random() % 100;
        const int iOutcome = uFate < 75   ? OUTCOME_SOLVED
                             : uFate < 87 ? OUTCOME_LANDED
                             : uFate < 95 ? OUTCOME_FELL
                                          : OUTCOME_FALLING;
        const float fSeconds = 2.0f + static_cast<float>(random() % 230) / 10.0f;
        apples.push_back(
            SRecordApple{0, bDivide ? a * b : a, bDivide ? ':' : 'x', b, a, b, iOutcome, fSeconds});
    }
    return apples;
}

// Makes a working directory in memory (the disk's syncs would only slow the set-up) with a
// record of PLAYERS x GAMES_PER_PLAYER x APPLES_PER_GAME apples, and moves into it.
std::string g_strDir;

bool MakeSchoolYear() {
    static bool bMade = false;
    char szDir[] = "/dev/shm/zentaris-bench-XXXXXX";
    if (bMade || mkdtemp(szDir) == nullptr || chdir(szDir) != 0) {
        return bMade;
    }
    g_strDir = szDir;
    std::mt19937 random(7);
    CRecordFile file;
    bMade = file.Open(RECORD_PATH, RECORD_WRITE);
    for (int iGame = 0; bMade && iGame < PLAYERS * GAMES_PER_PLAYER; ++iGame) {
        const int iRange = iGame % 10 < 7 ? 10 : (iGame % 10 < 9 ? 20 : 99);
        const SRecordGame game{0,
                               "Kind " + std::to_string(iGame % PLAYERS),
                               "2026-09-01T08:00:00Z",
                               iRange,
                               'x',
                               4200,
                               iGame % 4 != 0,
                               3};
        bMade = file.WriteGame(game, PlayedApples(random, iRange));
    }
    return bMade;
}

void RunInProcess(benchmark::State& state, std::vector<const char*> args) {
    if (!MakeSchoolYear()) {
        state.SkipWithError("the record could not be made");
        return;
    }
    args.insert(args.begin(), "zentaris");
    const CCommandLine line = ParseCommandLine(static_cast<int>(args.size()), args.data());
    for (auto _ : state) {
        if (RunRecordCommand(line, std::fopen("/dev/null", "w"), stderr) != 0) {
            state.SkipWithError("the report failed");
        }
    }
}

// The real program, from fork to exit, its standard output thrown away.
void RunProgram(benchmark::State& state, const char* pOption, const char* pFile) {
    if (!MakeSchoolYear()) {
        state.SkipWithError("the record could not be made");
        return;
    }
    const std::string strProgram = std::string(ZENTARIS_RUNTIME_DIR) + "/zentaris";
    for (auto _ : state) {
        const pid_t pid = fork();
        if (pid == 0) {
            if (std::freopen("/dev/null", "w", stdout) == nullptr) {
                _exit(126);
            }
            execl(strProgram.c_str(), "zentaris", pOption, pFile, static_cast<char*>(nullptr));
            _exit(127);
        }
        int iStatus = 0;
        waitpid(pid, &iStatus, 0);
        if (!WIFEXITED(iStatus) || WEXITSTATUS(iStatus) != 0) {
            state.SkipWithError("the program failed");
        }
    }
}

void TextReport(benchmark::State& state) {
    RunInProcess(state, {"--report"});
}

void HtmlReport(benchmark::State& state) {
    RunInProcess(state, {"--report-html", "page.html"});
}

void TextReportProgram(benchmark::State& state) {
    RunProgram(state, "--report", nullptr);
}

void HtmlReportProgram(benchmark::State& state) {
    RunProgram(state, "--report-html", "page.html");
}
} // namespace

BENCHMARK(TextReport)->Unit(benchmark::kMillisecond);
BENCHMARK(HtmlReport)->Unit(benchmark::kMillisecond);
BENCHMARK(TextReportProgram)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(HtmlReportProgram)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (!g_strDir.empty()) {
        std::filesystem::remove_all(g_strDir);
    }
    return 0;
}
