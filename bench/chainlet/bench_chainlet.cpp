// chainlet speed: one "list" at the bounds (50 states, 256 symbols) and at the defaults (6 states,
// 16 symbols), "vraisemblance" at the bounds, "bang" at 50 states, and the design's loops
// transcribed plainly (tests/chainlet/chainlet_reference.h) for comparison. Handlers are called
// directly; each message is timed on its own (mean, 99.9th percentile and slowest message).
#include "chainlet.h"
#include "chainlet_reference.h"
#include "maxhost/runtime.h"
#include "message_latency.h"
#include "model_files.h"

#include <benchmark/benchmark.h>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Lists = std::vector<std::vector<t_atom>>;

Lists random_lists(size_t count, size_t length, unsigned seed, int lowest, int range)
{
    std::mt19937 rng(seed);
    Lists lists(count, std::vector<t_atom>(length));
    for (auto &l : lists)
        for (t_atom &a : l) atom_setlong(&a, lowest + (t_atom_long)(rng() % (unsigned)range));
    return lists;
}

t_chainlet *instance(const std::string &box)
{
    maxhost::add_search_path(MAXLEARN_EXTERNALS_DIR);
    auto *x = reinterpret_cast<t_chainlet *>(maxhost::create_from_box(box));
    if (!x) throw std::runtime_error("cannot create " + box);
    srand(1);
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

// The same lists through the design's loops on plain vectors.
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
