// echoseq speed and memory: learning a full oracle through the host's dispatch, one "bang"
// (also from a state with 100,000 arcs), the bytes a full oracle holds per state, and the mean,
// 99.9th percentile and slowest single message of full runs.
#include "echoseq.h"
#include "instances.h"
#include "maxhost/runtime.h"
#include "message_latency.h"
#include "model_files.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <random>
#include <vector>

namespace {

const long kSymbols = ECHOSEQ_MAX_SYMBOLS;

// Outlets without cords and no observer: sending costs only the host's dispatch.
t_object *make(const char *box) { return maxlearn_bench::create(box); }

std::vector<long> stream(long n, long range, unsigned seed)
{
    std::mt19937 rng(seed);
    std::vector<long> w((size_t)n);
    for (long &s : w)
        s = (long)(rng() % (unsigned long)range);
    return w;
}

void learn(t_object *x, const std::vector<long> &w)
{
    t_symbol *sel = gensym("int");
    t_atom a;
    for (long s : w) {
        atom_setlong(&a, s);
        maxhost::send(x, sel, 1, &a);
    }
}

// A full oracle over `range` symbols (the same stream each time).
t_object *full_oracle(long range)
{
    t_object *x = make("echoseq");
    learn(x, stream(kSymbols, range, 7));
    return x;
}

// The same, with the C library's generator seeded so that walks compare.
t_object *walking_oracle(long range)
{
    t_object *x = full_oracle(range);
    srand(1);
    return x;
}

void learn_full(benchmark::State &state, long range)
{
    const std::vector<long> w = stream(kSymbols, range, 7);
    for (auto _ : state) {
        state.PauseTiming();
        t_object *x = make("echoseq");
        state.ResumeTiming();
        learn(x, w);
        state.PauseTiming();
        if (reinterpret_cast<t_echoseq *>(x)->count != kSymbols + 1)
            state.SkipWithError("symbols were dropped");
        object_free(x);
        state.ResumeTiming();
    }
    state.counters["ns_per_int"] =
        benchmark::Counter((double)kSymbols * (double)state.iterations(), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_LearnTwelveSymbols(benchmark::State &state) { learn_full(state, 12); }
void BM_LearnMostlyNewSymbols(benchmark::State &state) { learn_full(state, 1000000); }

// Every "int" of a full run timed on its own: growing storage must never stall one message.
void int_latency(benchmark::State &state, long range)
{
    const std::vector<long> w = stream(kSymbols, range, 7);
    t_symbol *sel = gensym("int");
    for (auto _ : state) {
        t_object *x = make("echoseq");
        t_atom a;
        maxlearn_bench::time_each_message(state, w.size(), [&](size_t i) {
            atom_setlong(&a, w[i]);
            maxhost::send(x, sel, 1, &a);
        });
        if (reinterpret_cast<t_echoseq *>(x)->count != kSymbols + 1)
            state.SkipWithError("symbols were dropped");
        object_free(x);
    }
}

void BM_IntLatencyTwelveSymbols(benchmark::State &state) { int_latency(state, 12); }
void BM_IntLatencyMostlyNewSymbols(benchmark::State &state) { int_latency(state, 1000000); }

// Every "bang" of a walk over a full oracle of mostly new symbols (state 0 holds most arcs).
void BM_BangLatencyFullOracle(benchmark::State &state)
{
    t_object *x = walking_oracle(1000000);
    t_symbol *bang = gensym("bang");
    for (auto _ : state)
        maxlearn_bench::time_each_message(state, (size_t)kSymbols, [&](size_t) { maxhost::send(x, bang, 0, nullptr); });
    object_free(x);
}

void BM_Bang(benchmark::State &state)
{
    t_object *x = walking_oracle(12);
    t_symbol *bang = gensym("bang");
    for (auto _ : state)
        maxhost::send(x, bang, 0, nullptr);
    object_free(x);
}

// The handler alone, without the host's dispatch.
void BM_BangHandler(benchmark::State &state)
{
    t_object *obj = walking_oracle(12);
    t_echoseq *x = reinterpret_cast<t_echoseq *>(obj);
    for (auto _ : state)
        echoseq_bang(x);
    object_free(obj);
}

// Every step jumps from state 0, which holds 100,000 arcs.
void BM_BangFromWideState(benchmark::State &state)
{
    t_object *obj = make("echoseq");
    std::vector<long> w(100001);
    for (size_t i = 0; i < w.size(); i++)
        w[i] = (long)i;
    learn(obj, w);
    t_echoseq *x = reinterpret_cast<t_echoseq *>(obj);
    if (x->nodes[0].narcs != 100000)
        state.SkipWithError("state 0 should hold 100,000 arcs");
    x->straight = -1;
    srand(1);
    t_symbol *bang = gensym("bang");
    for (auto _ : state) {
        x->position = 0;
        maxhost::send(obj, bang, 0, nullptr);
    }
    object_free(obj);
}

size_t heap_bytes()
{
    struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

// Bytes held for a full oracle over 12 symbols and over mostly new ones: the growth of the
// process heap, sampled while learning for the peak, and the oracle's own count of its storage.
// The queue runs between samples, as Max's main thread would, to free the tables learning gave up.
void full_oracle_memory(benchmark::State &state, long range)
{
    const std::vector<long> w = stream(kSymbols, range, 7);
    maxhost::add_search_path(MAXLEARN_EXTERNALS_DIR);
    maxhost::find_class("echoseq");  // loads the external before the baseline
    for (auto _ : state) {
        const size_t before = heap_bytes();
        t_object *x = make("echoseq");
        size_t peak = 0;
        t_symbol *sel = gensym("int");
        t_atom a;
        for (size_t i = 0; i < w.size(); i++) {
            atom_setlong(&a, w[i]);
            maxhost::send(x, sel, 1, &a);
            if ((i & 1023) == 0 || i + 1 == w.size()) {
                peak = std::max(peak, heap_bytes() - before);
                maxhost::run_queue();
            }
        }
        const double states = (double)(kSymbols + 1);
        state.counters["heap_bytes_per_state"] = (double)(heap_bytes() - before) / states;
        state.counters["peak_bytes_per_state"] = (double)peak / states;
        state.counters["own_bytes_per_state"] = (double)echoseq_bytes(reinterpret_cast<t_echoseq *>(x)) / states;
        object_free(x);
    }
}

void BM_FullOracleMemory(benchmark::State &state) { full_oracle_memory(state, 12); }
void BM_FullOracleMemoryMostlyNew(benchmark::State &state) { full_oracle_memory(state, 1000000); }

}  // namespace

// Write and read of a full oracle (262,144 states), with few symbols and with mostly new ones (nearly
// every arc on state 0), and the slowest "bang" another thread sends while reads run.
void full_oracle_file(benchmark::State &state, long range, bool read)
{
    t_object *x = full_oracle(range);
    maxlearn_bench::write_and_read(state, x, maxlearn_bench::model_path("echoseq_bench.json"), read);
    object_free(x);
}

void BM_WriteFullOracle(benchmark::State &state) { full_oracle_file(state, 12, false); }
void BM_ReadFullOracle(benchmark::State &state) { full_oracle_file(state, 12, true); }
void BM_WriteFullOracleMostlyNew(benchmark::State &state) { full_oracle_file(state, 1000000, false); }
void BM_ReadFullOracleMostlyNew(benchmark::State &state) { full_oracle_file(state, 1000000, true); }

void BM_SwapFullOracle(benchmark::State &state)
{
    t_object *x = full_oracle(1000000);
    maxlearn_bench::swap_only(state, x, maxlearn_bench::model_path("echoseq_bench.json"), echoseq_read_model,
                              [](t_object *o, t_echoseq_loaded *l) { echoseq_swap_model((t_echoseq *)o, l); },
                              echoseq_free_model);
    object_free(x);
}

void BM_BangLatencyDuringReads(benchmark::State &state)
{
    t_object *x = full_oracle(12);
    maxlearn_bench::slowest_message_during_reads(state, x, maxlearn_bench::model_path("echoseq_bench.json"), 3,
                                                 [](t_object *o) { maxhost::send(o, gensym("bang"), 0, nullptr); });
    object_free(x);
}

BENCHMARK(BM_LearnTwelveSymbols)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LearnMostlyNewSymbols)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IntLatencyTwelveSymbols)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_IntLatencyMostlyNewSymbols)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_BangLatencyFullOracle)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Bang);
BENCHMARK(BM_BangHandler);
BENCHMARK(BM_BangFromWideState);
BENCHMARK(BM_FullOracleMemory)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_FullOracleMemoryMostlyNew)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_WriteFullOracle)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadFullOracle)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WriteFullOracleMostlyNew)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadFullOracleMostlyNew)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SwapFullOracle)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BangLatencyDuringReads)->Unit(benchmark::kMillisecond)->Iterations(1);
