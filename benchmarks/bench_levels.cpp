// Level files and the browser: listing a full levels/ and drawing the first
// picture of the browser, and one load and one save.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "bench_env.h"

namespace fs = std::filesystem;

namespace {

// A working directory with levels/ holding `files` full-size level files.
struct level_dir {
    fs::path old = fs::current_path();
    fs::path dir;
    explicit level_dir(int files)
    {
        char tmpl[] = "/tmp/blast-bench.XXXXXX";
        dir = mkdtemp(tmpl);
        fs::current_path(dir);
        fs::create_directory("levels");
        for (int i = 0; i < files; i++) {
            char name[32];
            std::snprintf(name, sizeof name, "levels/l%04d", (i * 7919) % 10000);
            write_level(name);
        }
    }
    ~level_dir()
    {
        fs::current_path(old);
        fs::remove_all(dir);
    }
};

void BM_ListAndOpenBrowser(benchmark::State &state)
{
    bench_setup();
    level_dir d(500);
    for (auto _ : state) {
        browser_state s = open_browser();
        browser_pass(s, nullptr);
        benchmark::DoNotOptimize(s);
    }
}
BENCHMARK(BM_ListAndOpenBrowser)->Unit(benchmark::kMillisecond);

void BM_ReadLevel(benchmark::State &state)
{
    bench_setup();
    level_dir d(1);
    for (auto _ : state)
        read_level("levels/l0000");
}
BENCHMARK(BM_ReadLevel)->Unit(benchmark::kMicrosecond);

// Includes the fsync that makes a save survive a power cut.
void BM_WriteLevel(benchmark::State &state)
{
    bench_setup();
    level_dir d(0);
    for (auto _ : state)
        write_level("levels/saved");
}
BENCHMARK(BM_WriteLevel)->Unit(benchmark::kMicrosecond);

}  // namespace
