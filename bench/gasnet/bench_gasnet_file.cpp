// gasnet's write and read at the bounds (100 units of 256 components): the time each takes on the
// main thread, the memory a read takes beyond what it had (peak resident size), and what they do
// to "bang" on another thread meanwhile: its slowest message includes the longest time the file
// work held the object's lock (the read's swap, the write's copy).
#include "gasnet.h"
#include "maxhost/runtime.h"
#include "message_latency.h"
#include "model_files.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>
#if defined(__linux__)
#include <malloc.h>
#endif

namespace fs = std::filesystem;

namespace {

// A full graph at the bounds, written once to the bench folder.
t_gasnet *bounds_gas(const fs::path &file) {
    maxhost::add_search_path(MAXLEARN_EXTERNALS_DIR);
    fs::create_directories(file.parent_path());
    maxhost::set_default_folder(file.parent_path().string());
    auto *x = reinterpret_cast<t_gasnet *>(maxhost::create_from_box("gasnet 100"));
    if (!x) throw std::runtime_error("cannot create gasnet 100");
    std::mt19937 rng(3);
    std::vector<t_atom> v(256);
    srand(1);
    for (long i = 0; x->unit_count < 100 || i < 2000; i++) {
        for (t_atom &a : v) atom_setlong(&a, (t_atom_long)(rng() % 128));
        gasnet_learn(x, gensym("learn"), 256, v.data());
    }
    gasnet_dowrite(x, gensym(file.filename().string().c_str()), 0, nullptr);
    return x;
}

fs::path bench_file() { return fs::temp_directory_path() / "gasnet_file_bench" / "bounds.json"; }

void BM_file_write_bounds(benchmark::State &state) {
    maxhost::ConsoleCapture quiet;
    t_gasnet *x = bounds_gas(bench_file());
    t_symbol *name = gensym("written.json");
    for (auto _ : state) gasnet_dowrite(x, name, 0, nullptr);
    state.counters["file_kB"] = (double)fs::file_size(bench_file().parent_path() / "written.json") / 1000.0;
    object_free(x);
}

#if defined(__linux__)
using maxlearn_bench::status_kb;
#endif

void BM_file_read_bounds(benchmark::State &state) {
    maxhost::ConsoleCapture quiet;
    t_gasnet *x = bounds_gas(bench_file());
    t_symbol *name = gensym(bench_file().filename().string().c_str());
    const double file_kb = (double)fs::file_size(bench_file()) / 1000.0;
#if defined(__linux__)
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
    const long before = status_kb("VmRSS:");
    gasnet_doread(x, name, 0, nullptr);
    const long peak = status_kb("VmHWM:");
    if (before > 0 && peak > 0) state.counters["peak_extra_per_file_size"] = (double)(peak - before) / file_kb;
#endif
    for (auto _ : state) gasnet_doread(x, name, 0, nullptr);
    state.counters["file_kB"] = file_kb;
    if (!quiet.errors().empty()) state.SkipWithError(quiet.errors()[0].c_str());
    object_free(x);
}

// "bang" on another thread while the main thread reads (or writes) the model again and again.
void bang_during(benchmark::State &state, bool reading) {
    maxhost::ConsoleCapture quiet;
    t_gasnet *x = bounds_gas(bench_file());
    t_symbol *name = gensym(reading ? bench_file().filename().string().c_str() : "written.json");
    t_symbol *bang = gensym("bang");
    std::atomic<bool> stop{false};
    std::thread files([&] {
        while (!stop) (reading ? gasnet_doread : gasnet_dowrite)(x, name, 0, nullptr);
    });
    for (auto _ : state)
        maxlearn_bench::time_each_message(state, 20000, [&](size_t) { maxhost::send(&x->ob, bang, 0, nullptr); });
    stop = true;
    files.join();
    object_free(x);
}

void BM_bang_latency_during_read(benchmark::State &state) { bang_during(state, true); }
void BM_bang_latency_during_write(benchmark::State &state) { bang_during(state, false); }

}  // namespace

BENCHMARK(BM_file_write_bounds)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_file_read_bounds)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_bang_latency_during_read)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_bang_latency_during_write)->Unit(benchmark::kMillisecond)->Iterations(1);
