// selfmap speed: one "learn" at the defaults (50 units, 4 components) and at the bounds (100 units,
// 256 components), per message (mean, 99.9th percentile, slowest), past the horizon and inside a
// long one; the read-out messages "bang", "int" and "list" at the defaults; and, for comparison, a
// plain reference version of the learning loops. "_dispatch" variants go through the host's
// message dispatch as a patch cord would; the others call the handler directly.
#include "instances.h"
#include "message_latency.h"
#include "model_files.h"
#include "selfmap.h"
#include "maxhost/runtime.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using maxlearn_bench::Lists;

// A small pool, so that the lists stay in cache as a freshly built message would be.
Lists random_lists(long count, long size, unsigned seed) { return maxlearn_bench::random_lists((size_t)count, (size_t)size, seed, 0, 128); }

t_selfmap *make(const std::string &box) { return maxlearn_bench::create_seeded<t_selfmap>(box); }

// Learns `warm` lists first (past the horizon when warm exceeds it).
void learn_lists(t_selfmap *x, const Lists &lists, long warm) {
    t_symbol *learn = gensym("learn");
    for (long i = 0; i < warm; i++) {
        auto &l = lists[(size_t)i % lists.size()];
        selfmap_learn(x, learn, (long)l.size(), const_cast<t_atom *>(l.data()));
    }
}

void learn(benchmark::State &state, const std::string &box, long size, long warm, bool dispatch) {
    const Lists lists = random_lists(32, size, 3);
    t_selfmap *x = make(box);
    learn_lists(x, lists, warm);
    t_symbol *sel = gensym("learn");
    size_t i = 0;
    for (auto _ : state) {
        t_atom *av = const_cast<t_atom *>(lists[i++ & 31].data());
        if (dispatch)
            maxhost::send(&x->ob, sel, size, av);
        else
            selfmap_learn(x, sel, size, av);
    }
    object_free(&x->ob);
}

void BM_learn_defaults(benchmark::State &state) { learn(state, "selfmap", 4, 1000, false); }
void BM_learn_defaults_dispatch(benchmark::State &state) { learn(state, "selfmap", 4, 1000, true); }
void BM_learn_bounds(benchmark::State &state) { learn(state, "selfmap 100", 256, 1000, false); }
void BM_learn_bounds_dispatch(benchmark::State &state) { learn(state, "selfmap 100", 256, 1000, true); }
// The kernels a processor without AVX2 runs (the baseline SSE2 ones on x86-64).
void BM_learn_bounds_portable(benchmark::State &state) {
    long was = selfmap_wide_kernels(0);
    learn(state, "selfmap 100", 256, 1000, false);
    selfmap_wide_kernels(was);
}

// Per message over a whole run, through the dispatch: `count` learnings from a fresh map of the
// right size (its first learnings run with the widest neighbourhood).
void learn_each(benchmark::State &state, const std::string &box, long size, long count) {
    const Lists lists = random_lists(32, size, 5);
    t_symbol *sel = gensym("learn");
    for (auto _ : state) {
        state.PauseTiming();
        t_selfmap *x = make(box);
        learn_lists(x, lists, 1);  // the new size: a fresh random map, t = 1
        state.ResumeTiming();
        maxlearn_bench::time_each_message(state, (size_t)count, [&](size_t i) {
            auto &l = lists[i & 31];
            maxhost::send(&x->ob, sel, size, const_cast<t_atom *>(l.data()));
        });
        state.PauseTiming();
        object_free(&x->ob);
        state.ResumeTiming();
    }
}

// Defaults and bounds as a patch meets them: horizon 60, then the steady state.
void BM_learn_each_defaults(benchmark::State &state) { learn_each(state, "selfmap", 4, 100000); }
void BM_learn_each_bounds(benchmark::State &state) { learn_each(state, "selfmap 100", 256, 20000); }
// Every learning inside the horizon, radius 100 shrinking to 1: every unit moves every time.
void BM_learn_each_bounds_widest(benchmark::State &state) { learn_each(state, "selfmap 100 1000 @influence 100", 256, 1000); }

// The reference loops, plainly: a pow per component (a real library call when `library_pow`,
// else pow(x, 2.0), which GCC turns into x * x), a square root and an exp per unit.
struct Transcription {
    long n, vs, horizon, influence, count = 0;
    double pas;
    std::vector<std::vector<double>> units;
    bool library_pow;
    double square(double a) const {
        static volatile double two = 2.0;
        return library_pow ? pow(a, two) : pow(a, 2.0);
    }
    void learn(const std::vector<double> &v) {
        double best = 0.0;
        long w = -1;
        for (long i = 0; i < n; i++) {
            double s = 0.0;
            for (long j = 0; j < vs; j++) s += square(units[(size_t)i][(size_t)j] - v[(size_t)j]);
            double d = sqrt(s);
            if (i == 0 || best > d) {
                best = d;
                w = i;
            }
        }
        if (count < horizon) count++;
        for (long i = 0; i < n; i++) {
            double t_scale = (double)horizon / log((double)influence);
            double sigma = (double)influence * exp((double)(-count) / t_scale);
            double h = exp(square((double)(i - w)) / (square(sigma) * (-2.0)));
            double alpha = exp((double)((-count) / horizon)) * pas;
            auto &u = units[(size_t)i];
            for (long j = 0; j < vs; j++) u[(size_t)j] = u[(size_t)j] + (alpha * h) * (v[(size_t)j] - u[(size_t)j]);
        }
    }
};

void transcription(benchmark::State &state, long n, long vs, bool library_pow) {
    std::mt19937 rng(9);
    Transcription t{n, vs, 60, n / 2, 0, 1.0, {}, library_pow};
    for (long i = 0; i < n; i++) {
        t.units.emplace_back((size_t)vs);
        for (double &e : t.units.back()) e = (double)(rng() % 128);
    }
    std::vector<std::vector<double>> inputs(32, std::vector<double>((size_t)vs));
    for (auto &v : inputs)
        for (double &e : v) e = (double)(rng() % 128);
    for (int i = 0; i < 1000; i++) t.learn(inputs[(size_t)i & 31]);
    size_t i = 0;
    for (auto _ : state) t.learn(inputs[i++ & 31]);
}

void BM_transcription_defaults(benchmark::State &state) { transcription(state, 50, 4, false); }
void BM_transcription_defaults_library_pow(benchmark::State &state) { transcription(state, 50, 4, true); }
void BM_transcription_bounds(benchmark::State &state) { transcription(state, 100, 256, false); }
void BM_transcription_bounds_library_pow(benchmark::State &state) { transcription(state, 100, 256, true); }

enum class Readout { bang, int_, list };

void readout(benchmark::State &state, Readout which, bool dispatch) {
    const Lists lists = random_lists(32, 4, 5);
    t_selfmap *x = make("selfmap");
    learn_lists(x, lists, 100);
    t_symbol *bang = gensym("bang"), *integer = gensym("int"), *list = gensym("list");
    t_atom four[4], n;
    for (int k = 0; k < 4; k++) atom_setlong(four + k, 10 * k);
    long i = 0;
    for (auto _ : state) {
        switch (which) {
        case Readout::bang:
            dispatch ? (void)maxhost::send(&x->ob, bang, 0, nullptr) : selfmap_bang(x);
            break;
        case Readout::int_:
            i = i % 50 + 1;
            atom_setlong(&n, i);
            dispatch ? (void)maxhost::send(&x->ob, integer, 1, &n) : selfmap_int(x, i);
            break;
        case Readout::list:
            dispatch ? (void)maxhost::send(&x->ob, list, 4, four) : selfmap_list(x, list, 4, four);
            break;
        }
    }
    object_free(&x->ob);
}

void BM_bang(benchmark::State &state) { readout(state, Readout::bang, false); }
void BM_bang_dispatch(benchmark::State &state) { readout(state, Readout::bang, true); }
void BM_int(benchmark::State &state) { readout(state, Readout::int_, false); }
void BM_int_dispatch(benchmark::State &state) { readout(state, Readout::int_, true); }
void BM_list4(benchmark::State &state) { readout(state, Readout::list, false); }
void BM_list4_dispatch(benchmark::State &state) { readout(state, Readout::list, true); }

}  // namespace

BENCHMARK(BM_learn_defaults);
BENCHMARK(BM_learn_defaults_dispatch);
BENCHMARK(BM_learn_bounds);
BENCHMARK(BM_learn_bounds_dispatch);
BENCHMARK(BM_learn_bounds_portable);
BENCHMARK(BM_learn_each_defaults)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_learn_each_bounds)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_learn_each_bounds_widest)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_transcription_defaults);
BENCHMARK(BM_transcription_defaults_library_pow);
BENCHMARK(BM_transcription_bounds);
BENCHMARK(BM_transcription_bounds_library_pow);
BENCHMARK(BM_bang);
BENCHMARK(BM_bang_dispatch);
BENCHMARK(BM_int);
BENCHMARK(BM_int_dispatch);
BENCHMARK(BM_list4);
BENCHMARK(BM_list4_dispatch);

// The largest map (100 units of 256 components) in a file: write, read, and the swap of "read" alone.
namespace {

t_object *trained_bounds()
{
    t_selfmap *x = make("selfmap 100");
    learn_lists(x, random_lists(64, 256, 7), 100);
    return (t_object *)x;
}

void model_file(benchmark::State &state, bool read)
{
    t_object *x = trained_bounds();
    maxlearn_bench::write_and_read(state, x, maxlearn_bench::model_path("selfmap_bench.json"), read);
    object_free(x);
}

void BM_write_bounds(benchmark::State &state) { model_file(state, false); }
void BM_read_bounds(benchmark::State &state) { model_file(state, true); }

void BM_swap_bounds(benchmark::State &state)
{
    t_object *x = trained_bounds();
    maxlearn_bench::swap_only(state, x, maxlearn_bench::model_path("selfmap_bench.json"), selfmap_read_model,
                              [](t_object *o, t_selfmap_loaded *l) { selfmap_swap_model((t_selfmap *)o, l); },
                              selfmap_free_model);
    object_free(x);
}

}  // namespace

BENCHMARK(BM_write_bounds)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_read_bounds)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_swap_bounds)->Unit(benchmark::kMicrosecond);
