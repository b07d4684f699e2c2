// chainlet speed: one "list" at the bounds (50 states, 256 symbols) and at the defaults (6 states,
// 16 symbols), a long stream of 3000 lists at the bounds, "vraisemblance" at the bounds, "bang" at 50
// states, and the reference loops written plainly (tests/chainlet/chainlet_reference.h) for
// comparison. Handlers are called directly; each message is timed on its own (mean, 99.9th
// percentile and slowest message).
#include "chainlet.h"
#include "chainlet_reference.h"
#include "instances.h"
#include "maxhost/runtime.h"
#include "message_latency.h"
#include "model_files.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using maxlearn_bench::Lists;
using maxlearn_bench::random_lists;

t_chainlet *instance(const std::string &box)
{
    t_chainlet *x = maxlearn_bench::create_seeded<t_chainlet>(box);
    graf_clear(x);
    return x;
}

// Lists over the whole alphabet or, as a melody would, over two octaves.
void list_messages(benchmark::State &state, const char *box, size_t length, int lowest, int range)
{
    t_chainlet *x = instance(box);
    const Lists lists = random_lists(512, length, 7, lowest, range);
    t_symbol *list = gensym("list");
    for (int i = 0; i < 50; i++) chainlet_list(x, list, (long)length, const_cast<t_atom *>(lists[(size_t)i].data()));
    for (auto _ : state)
        maxlearn_bench::time_each_message(state, 2000, [&](size_t i) {
            chainlet_list(x, list, (long)length, const_cast<t_atom *>(lists[i % lists.size()].data()));
        });
    object_free(x);
}

void BM_list_bounds(benchmark::State &state) { list_messages(state, "chainlet 50", 256, 0, 128); }
void BM_list_bounds_melody(benchmark::State &state) { list_messages(state, "chainlet 50", 256, 48, 24); }
void BM_list_defaults(benchmark::State &state) { list_messages(state, "chainlet", 16, 0, 128); }

// The same lists through the reference loops on plain vectors.
void plain_learning(benchmark::State &state, size_t n, size_t length)
{
    t_chainlet *x = instance("chainlet " + std::to_string(n));
    chainlet_reference::Model m;
    m.initial.assign(x->initial, x->initial + n);
    for (size_t i = 0; i < n; i++) {
        m.transition.emplace_back(x->states[i].transition, x->states[i].transition + n);
        m.emission.emplace_back(x->states[i].emission, x->states[i].emission + 128);
    }
    m.initial_estimate = m.initial;
    m.transition_estimate = m.transition;
    m.emission_estimate = m.emission;
    std::mt19937 rng(7);
    std::vector<std::vector<int>> lists(512, std::vector<int>(length));
    for (auto &l : lists)
        for (int &o : l) o = (int)(rng() % 128);
    for (auto _ : state)
        maxlearn_bench::time_each_message(state, 500, [&](size_t i) {
            chainlet_reference::learn(m, lists[i % lists.size()], 1.0f);
        });
    object_free(x);
}

void BM_plain_list_bounds(benchmark::State &state) { plain_learning(state, 50, 256); }
void BM_plain_list_defaults(benchmark::State &state) { plain_learning(state, 6, 16); }

void BM_vraisemblance_bounds(benchmark::State &state)
{
    t_chainlet *x = instance("chainlet 50");
    const Lists lists = random_lists(512, 256, 9, 0, 128);
    t_symbol *list = gensym("list"), *score = gensym("vraisemblance");
    for (int i = 0; i < 50; i++) chainlet_list(x, list, 256, const_cast<t_atom *>(lists[(size_t)i].data()));
    for (auto _ : state)
        maxlearn_bench::time_each_message(state, 2000, [&](size_t i) {
            chainlet_vraisemblance(x, score, 256, const_cast<t_atom *>(lists[i % lists.size()].data()));
        });
    object_free(x);
}

// Alternating lengths: storage keeps its capacity, so no message pays for allocation.
void BM_list_alternating_lengths(benchmark::State &state)
{
    t_chainlet *x = instance("chainlet");
    const Lists long_lists = random_lists(64, 64, 3, 0, 128), short_lists = random_lists(64, 8, 4, 0, 128);
    t_symbol *list = gensym("list");
    for (auto _ : state)
        maxlearn_bench::time_each_message(state, 2000, [&](size_t i) {
            const auto &l = (i % 2 ? long_lists : short_lists)[i % 64];
            chainlet_list(x, list, (long)l.size(), const_cast<t_atom *>(l.data()));
        });
    object_free(x);
}

// A long mixed stream: 3000 lists of 256 symbols at 50 states, each list 24 neighbouring symbols
// from a base that changes from list to list, as phrases in different registers are. The base
// either jumps anywhere (argument 0) or wanders a few steps up or down (argument 1); wandering,
// the registers a state stops hearing shrink in its rows list after list far below any value a
// short run reaches, until the lists that return there are refused as impossible. Reported per
// block of 250 lists (b01 = lists 1-250, ...): the mean, the 99.9th percentile and the slowest
// list in microseconds, the smallest of the runs each, and the lists the model refused.
void BM_list_long_stream(benchmark::State &state)
{
    constexpr size_t lists = 3000, block = 250, length = 256;
    const bool wander = state.range(0) != 0;
    std::vector<std::vector<double>> blocks(lists / block);  // per block: mean, p999, max
    std::vector<double> refused(lists / block);
    for (auto _ : state) {
        t_chainlet *x = instance("chainlet 50");
        std::mt19937 rng(5);
        std::vector<t_atom> l(length);
        t_symbol *list = gensym("list");
        std::vector<double> ns(lists);
        int base = 52;
        for (size_t i = 0; i < lists; i++) {
            base = wander ? std::min(128 - 24, std::max(0, base + (int)(rng() % 9) - 4)) : (int)(rng() % (128 - 24 + 1));
            for (t_atom &a : l) atom_setlong(&a, base + (t_atom_long)(rng() % 24));
            const auto t0 = std::chrono::steady_clock::now();
            chainlet_list(x, list, (long)length, l.data());
            ns[i] = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - t0).count();
            // A refused list leaves a coefficient of 0 behind (the model stays as it was).
            bool learned = true;
            for (size_t t = 0; t < length; t++) learned = learned && x->coefficients[t] != 0.0;
            refused[i / block] += learned ? 0.0 : 1.0 / (double)state.max_iterations;
        }
        object_free(x);
        for (size_t b = 0; b < blocks.size(); b++) {
            std::vector<double> v(ns.begin() + (long)(b * block), ns.begin() + (long)((b + 1) * block));
            std::sort(v.begin(), v.end());
            double sum = 0;
            for (double t : v) sum += t;
            const std::vector<double> stats = {sum / (double)block / 1000.0, v[(block * 999) / 1000] / 1000.0,
                                               v.back() / 1000.0};
            if (blocks[b].empty()) blocks[b] = stats;
            for (size_t k = 0; k < 3; k++) blocks[b][k] = std::min(blocks[b][k], stats[k]);
        }
    }
    static const char *const names[] = {"mean_us", "p999_us", "max_us"};
    for (size_t b = 0; b < blocks.size(); b++) {
        char name[32];
        for (size_t k = 0; k < 3; k++) {
            snprintf(name, sizeof name, "b%02zu_%s", b + 1, names[k]);
            state.counters[name] = blocks[b][k];
        }
        snprintf(name, sizeof name, "b%02zu_refused", b + 1);
        state.counters[name] = refused[b];
    }
}

// A model trained on melodies, so that draws walk realistic rows.
void BM_bang(benchmark::State &state)
{
    t_chainlet *x = instance("chainlet 50");
    const Lists lists = random_lists(200, 64, 11, 48, 24);
    t_symbol *list = gensym("list");
    for (const auto &l : lists) chainlet_list(x, list, 64, const_cast<t_atom *>(l.data()));
    for (auto _ : state) maxlearn_bench::time_each_message(state, 20000, [&](size_t) { chainlet_bang(x); });
    object_free(x);
}

}  // namespace

BENCHMARK(BM_list_bounds)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_list_bounds_melody)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_plain_list_bounds)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_list_defaults)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_plain_list_defaults)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_list_alternating_lengths)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_vraisemblance_bounds)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_list_long_stream)->Arg(0)->Arg(1)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_bang)->Iterations(3)->Unit(benchmark::kMillisecond);

// The largest model (50 states) in a file: write, read, and the swap of "read" alone.
namespace {

t_object *trained_bounds()
{
    t_chainlet *x = instance("chainlet 50");
    const Lists lists = random_lists(20, 256, 7, 0, 128);
    for (const auto &l : lists) chainlet_list(x, gensym("list"), (long)l.size(), const_cast<t_atom *>(l.data()));
    return (t_object *)x;
}

void model_file(benchmark::State &state, bool read)
{
    t_object *x = trained_bounds();
    maxlearn_bench::write_and_read(state, x, maxlearn_bench::model_path("chainlet_bench.json"), read);
    object_free(x);
}

void BM_write_bounds(benchmark::State &state) { model_file(state, false); }
void BM_read_bounds(benchmark::State &state) { model_file(state, true); }

void BM_swap_bounds(benchmark::State &state)
{
    t_object *x = trained_bounds();
    maxlearn_bench::swap_only(state, x, maxlearn_bench::model_path("chainlet_bench.json"), chainlet_read_model,
                              [](t_object *o, t_chainlet_loaded *l) { chainlet_swap_model((t_chainlet *)o, l); },
                              chainlet_free_model);
    object_free(x);
}

}  // namespace

BENCHMARK(BM_write_bounds)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_read_bounds)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_swap_bounds)->Unit(benchmark::kMicrosecond);
