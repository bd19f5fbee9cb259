// What a frame costs: a bare frame (clear and present) against a full play frame, the heap
// allocations of a quiet play frame, and the time from start-up to the first presented frame.
// Runs under SDL's dummy drivers in the built runtime directory.

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <list>
#include <map>
#include <new>
#include <string>
#include <vector>

#include <unistd.h>

#include <SDL.h>
#include <benchmark/benchmark.h>

#include "framework/CFramework.h"
#include "game/CGame.h"
#include "media/CSprite.h"
#include "playfield/CWitchey.h"
#include "support/RuntimeDir.h"

namespace {
std::atomic<long> g_allocations{0};

void StartUp() {
    // Under the dummy driver only the colour cursors fail; everything the frame needs is up.
    CFramework::Get()->Init("Zentaris", 800, 600, 32, true);
}

void ShutDown() {
    CFramework::Get()->Quit();
    TSingleton<CFramework>::Del();
}

// A play scene in full swing: 12 apples with tasks, 6 badges, both horses, the witch ready.
void FillScene(CGame& game) {
    game.StartGame();
    game.m_fSpawnTimer = -1.0e9f; // nothing spawns while measuring
    for (int i = 0; i < 12; ++i) {
        CApple apple;
        apple.Init(game.m_pAppleSprite, static_cast<float>(20 + i * 60),
                   static_cast<float>(40 + (i % 4) * 70), 99, i % 2 == 0);
        game.m_Apples.push_back(apple);
    }
    for (int i = 0; i < 6; ++i) {
        CBonus bonus;
        bonus.Init(game.m_pBonusSprite, i % 6, static_cast<float>(100 + i * 90), 300.0f);
        game.m_Bonuses.push_back(bonus);
    }
    game.m_Horses.front().m_iHits = 1;
    game.m_Horses.back().m_iHits = 2;
}

void StrikeThreeApples(CGame& game) {
    std::list<SDL_Rect> targets;
    int n = 0;
    for (const CApple& apple : game.m_Apples) {
        if (n++ == 3) {
            break;
        }
        targets.push_back(apple.m_Rect);
    }
    game.m_pWitch->m_Targets = targets;
    game.m_pWitch->m_fFrame = 2.0f;
}

void KeepSceneStill(CGame& game) {
    // Badges stay and the strike never ends; apples move a few pixels over a whole run.
    game.m_pWitch->m_fTimer = 0.0f;
    for (CBonus& bonus : game.m_Bonuses) {
        bonus.m_fAge = 0.0f;
    }
}

// The console table as usual; besides, it keeps the medians of the repetitions, so the ratio of
// a play frame to a bare frame can be printed from the same run.
class CMedianReporter : public benchmark::ConsoleReporter {
public:
    CMedianReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                m_Medians[run.run_name.function_name] = {run.GetAdjustedRealTime(),
                                                         run.GetAdjustedCPUTime()};
                for (const auto& counter : run.counters) {
                    m_Counters[counter.first] = counter.second.value;
                }
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void PrintRatio(const char* pOver, const char* pUnder) const {
        const auto over = m_Medians.find(pOver);
        const auto under = m_Medians.find(pUnder);
        if (over == m_Medians.end() || under == m_Medians.end()) {
            std::printf("(run with --benchmark_repetitions to get the %s / %s ratio)\n", pOver,
                        pUnder);
            return;
        }
        std::printf("%s / %s, medians: %.2f (wall time), %.2f (CPU time)\n", pOver, pUnder,
                    over->second.first / under->second.first,
                    over->second.second / under->second.second);
    }
    void PrintCounter(const char* pName, const char* pText) const {
        const auto counter = m_Counters.find(pName);
        if (counter != m_Counters.end()) {
            std::printf("%s: %.2f\n", pText, counter->second);
        }
    }

private:
    std::map<std::string, std::pair<double, double>> m_Medians;
    std::map<std::string, double> m_Counters;
};

// One pass of the real loop in the play state; no event is waiting.
void PlayFrame(CGame& game) {
    game.RunFrame();
}
} // namespace

void* operator new(std::size_t size) {
    ++g_allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

static void BM_BareFrame(benchmark::State& state) {
    StartUp();
    for (auto _ : state) {
        CFramework::Get()->Clear();
        CFramework::Get()->Flip();
    }
    ShutDown();
}
BENCHMARK(BM_BareFrame)->Unit(benchmark::kMicrosecond);

static void BM_PlayFrame(benchmark::State& state) {
    StartUp();
    {
        CGame game;
        game.Init();
        FillScene(game);
        StrikeThreeApples(game);
        for (auto _ : state) {
            KeepSceneStill(game);
            PlayFrame(game);
        }
        game.Quit();
    }
    ShutDown();
}
BENCHMARK(BM_PlayFrame)->Unit(benchmark::kMicrosecond);

double WallMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}
double CpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// A bare frame and a play frame in turn, each timed on its own: the load that other programs put
// on the machine falls on both alike, so their ratio holds up better than that of two runs
// made one after the other.
static void BM_BareThenPlayFrame(benchmark::State& state) {
    StartUp();
    {
        CGame game;
        game.Init();
        FillScene(game);
        StrikeThreeApples(game);
        double fBare[2] = {0.0, 0.0}; // wall, CPU
        double fPlay[2] = {0.0, 0.0};
        for (auto _ : state) {
            double fWall = WallMs();
            double fCpu = CpuMs();
            CFramework::Get()->Clear();
            CFramework::Get()->Flip();
            fBare[0] += WallMs() - fWall;
            fBare[1] += CpuMs() - fCpu;
            KeepSceneStill(game);
            fWall = WallMs();
            fCpu = CpuMs();
            PlayFrame(game);
            fPlay[0] += WallMs() - fWall;
            fPlay[1] += CpuMs() - fCpu;
        }
        state.counters["play_over_bare_wall"] = fPlay[0] / fBare[0];
        state.counters["play_over_bare_cpu"] = fPlay[1] / fBare[1];
        game.Quit();
    }
    ShutDown();
}
BENCHMARK(BM_BareThenPlayFrame)->Unit(benchmark::kMicrosecond);

// Heap allocations of a play frame in which nothing spawns, is hit or is answered.
static void BM_QuietPlayFrameAllocations(benchmark::State& state) {
    StartUp();
    {
        CGame game;
        game.Init();
        FillScene(game);
        KeepSceneStill(game);
        PlayFrame(game); // the first frame renders the score text once
        long lFrames = 0;
        const long lBefore = g_allocations.load();
        for (auto _ : state) {
            KeepSceneStill(game);
            PlayFrame(game);
            ++lFrames;
        }
        state.counters["allocs_per_frame"] =
            static_cast<double>(g_allocations.load() - lBefore) / static_cast<double>(lFrames);
        game.Quit();
    }
    ShutDown();
}
BENCHMARK(BM_QuietPlayFrameAllocations)->Unit(benchmark::kMicrosecond);

// From nothing to the loop's first frame: framework, every asset (the start page is presented
// once its own picture is in, before the rest loads), one frame.
static void BM_StartToFirstFrame(benchmark::State& state) {
    for (auto _ : state) {
        StartUp();
        {
            CGame game;
            game.Init();
            game.RunFrame();
            state.PauseTiming();
            game.Quit();
        }
        ShutDown();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartToFirstFrame)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    // A runtime directory of its own: the built assets, and a score table nobody plays with.
    const std::string strDir = EnterFreshRuntimeDir();
    if (strDir.empty()) {
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    CMedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::fflush(stdout);
    reporter.PrintRatio("BM_PlayFrame", "BM_BareFrame");
    reporter.PrintCounter("play_over_bare_wall",
                          "play frame / bare frame taken in turn, median (wall time)");
    reporter.PrintCounter("play_over_bare_cpu",
                          "play frame / bare frame taken in turn, median (CPU time)");
    benchmark::Shutdown();
    RemoveRuntimeDir(strDir);
    return 0;
}
