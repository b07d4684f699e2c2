// gasnet speed: one learning step on a full graph (defaults and bounds), and the read-out messages
// "bang", "int" and "list" at the defaults. "_dispatch" variants go through the host's message
// dispatch as a patch cord would; the others call the handler directly. The latency runs time
// every message of a run at the bounds on its own (mean, 99.9th percentile, slowest message).
#include "gasnet.h"
#include "instances.h"
#include "maxhost/runtime.h"
#include "message_latency.h"

#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using maxlearn_bench::Lists;

Lists random_lists(long count, long size, unsigned seed) { return maxlearn_bench::random_lists((size_t)count, (size_t)size, seed, 0, 128); }

// An instance whose graph has grown to max_units on random inputs of `size` components.
t_gasnet *full_gas(const std::string &box, long size, const Lists &lists) {
    auto *x = maxlearn_bench::create_seeded<t_gasnet>(box);
    t_symbol *learn = gensym("learn");
    for (size_t i = 0; x->unit_count < x->max_units || i < 2000; i++) {
        auto &l = lists[i % lists.size()];
        gasnet_learn(x, learn, size, const_cast<t_atom *>(l.data()));
        if (i > 1000000) throw std::runtime_error("the graph does not fill");
    }
    (void)size;
    return x;
}

void learn_step(benchmark::State &state, const std::string &box, long size, bool dispatch) {
    const Lists lists = random_lists(4096, size, 3);
    t_gasnet *x = full_gas(box, size, lists);
    t_symbol *learn = gensym("learn");
    size_t i = 0;
    long units = 0, steps = 0;
    for (auto _ : state) {
        t_atom *av = const_cast<t_atom *>(lists[i++ & 4095].data());
        if (dispatch)
            maxhost::send(&x->ob, learn, size, av);
        else
            gasnet_learn(x, learn, size, av);
        units += x->unit_count;
        steps++;
    }
    state.counters["mean_units"] = steps ? (double)units / (double)steps : 0.0;
    object_free(x);
}

void BM_learn_defaults(benchmark::State &state) { learn_step(state, "gasnet", 4, false); }
void BM_learn_defaults_dispatch(benchmark::State &state) { learn_step(state, "gasnet", 4, true); }
void BM_learn_bounds(benchmark::State &state) { learn_step(state, "gasnet 100", 256, false); }
void BM_learn_bounds_dispatch(benchmark::State &state) { learn_step(state, "gasnet 100", 256, true); }

enum class Readout { bang, int_, list };

void readout(benchmark::State &state, Readout which, bool dispatch) {
    const Lists lists = random_lists(4096, 4, 5);
    t_gasnet *x = full_gas("gasnet", 4, lists);
    t_symbol *list = gensym("list");
    t_atom four[4], n;
    for (int k = 0; k < 4; k++) atom_setlong(four + k, 10 * k);
    long i = 0;
    for (auto _ : state) {
        switch (which) {
        case Readout::bang:
            dispatch ? (void)maxhost::send(&x->ob, gensym("bang"), 0, nullptr) : gasnet_bang(x);
            break;
        case Readout::int_:
            atom_setlong(&n, 1 + (i++ % 20));
            dispatch ? (void)maxhost::send(&x->ob, gensym("int"), 1, &n) : gasnet_int(x, 1 + (i % 20));
            break;
        case Readout::list:
            dispatch ? (void)maxhost::send(&x->ob, list, 4, four) : gasnet_list(x, list, 4, four);
            break;
        }
    }
    object_free(x);
}

void BM_bang(benchmark::State &state) { readout(state, Readout::bang, false); }
void BM_bang_dispatch(benchmark::State &state) { readout(state, Readout::bang, true); }
void BM_int(benchmark::State &state) { readout(state, Readout::int_, false); }
void BM_int_dispatch(benchmark::State &state) { readout(state, Readout::int_, true); }
void BM_list4(benchmark::State &state) { readout(state, Readout::list, false); }
void BM_list4_dispatch(benchmark::State &state) { readout(state, Readout::list, true); }

const size_t kLatencyMessages = 20000;

// "learn" from creation at the bounds (100 units, 256 components): growth, then a full graph.
void BM_learn_latency_bounds(benchmark::State &state) {
    const Lists lists = random_lists(4096, 256, 3);
    t_symbol *learn = gensym("learn");
    for (auto _ : state) {
        t_object *x = maxlearn_bench::create_seeded<t_object>("gasnet 100");
        maxlearn_bench::time_each_message(state, kLatencyMessages, [&](size_t i) {
            maxhost::send(x, learn, 256, const_cast<t_atom *>(lists[i & 4095].data()));
        });
        if (reinterpret_cast<t_gasnet *>(x)->unit_count != 100) state.SkipWithError("the graph did not fill");
        object_free(x);
    }
}

// Read-outs of a full graph at the bounds: "list" of 256 elements, "int" and "bang".
void readout_latency(benchmark::State &state, Readout which) {
    const Lists lists = random_lists(4096, 256, 3);
    t_gasnet *x = full_gas("gasnet 100", 256, lists);
    t_symbol *list = gensym("list"), *sel_int = gensym("int"), *bang = gensym("bang");
    t_atom n;
    for (auto _ : state) {
        maxlearn_bench::time_each_message(state, kLatencyMessages, [&](size_t i) {
            switch (which) {
            case Readout::bang: maxhost::send(&x->ob, bang, 0, nullptr); break;
            case Readout::int_:
                atom_setlong(&n, (t_atom_long)(1 + i % 100));
                maxhost::send(&x->ob, sel_int, 1, &n);
                break;
            case Readout::list: maxhost::send(&x->ob, list, 256, const_cast<t_atom *>(lists[i & 4095].data())); break;
            }
        });
    }
    object_free(x);
}

void BM_list_latency_bounds(benchmark::State &state) { readout_latency(state, Readout::list); }
void BM_int_latency_bounds(benchmark::State &state) { readout_latency(state, Readout::int_); }
void BM_bang_latency_bounds(benchmark::State &state) { readout_latency(state, Readout::bang); }

}  // namespace

BENCHMARK(BM_learn_latency_bounds)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_list_latency_bounds)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_int_latency_bounds)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_bang_latency_bounds)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_learn_defaults);
BENCHMARK(BM_learn_defaults_dispatch);
BENCHMARK(BM_learn_bounds);
BENCHMARK(BM_learn_bounds_dispatch);
BENCHMARK(BM_bang);
BENCHMARK(BM_bang_dispatch);
BENCHMARK(BM_int);
BENCHMARK(BM_int_dispatch);
BENCHMARK(BM_list4);
BENCHMARK(BM_list4_dispatch);
