// The cost of getting a message to a handler: by name through the host, and through a cord from
// an outlet to a connected inlet.
#include "maxhost/runtime.h"

#include <benchmark/benchmark.h>

namespace {

struct Sink {
    t_object ob;
    void *out;
    t_atom_long sum;
};

void sink_learn(Sink *x, t_symbol *, long ac, t_atom *av) {
    for (long i = 0; i < ac; ++i) x->sum += atom_getlong(av + i);
}

t_class *sink_class() {
    static t_class *c = [] {
        t_class *k = class_new("benchsink", nullptr, nullptr, sizeof(Sink), nullptr, 0);
        class_addmethod(k, reinterpret_cast<method>(reinterpret_cast<void (*)()>(sink_learn)), "learn", A_GIMME, 0);
        class_addmethod(k, reinterpret_cast<method>(reinterpret_cast<void (*)()>(sink_learn)), "list", A_GIMME, 0);
        for (const char *m : {"a", "b", "c", "d", "e", "f", "g", "h"})  // a realistic table size
            class_addmethod(k, reinterpret_cast<method>(reinterpret_cast<void (*)()>(sink_learn)), m, A_GIMME, 0);
        return k;
    }();
    return c;
}

Sink *sink_new() {
    auto *x = static_cast<Sink *>(object_alloc(sink_class()));
    x->out = listout(x);
    return x;
}

void four_ints(t_atom *av) {
    for (int i = 0; i < 4; ++i) atom_setlong(av + i, 10 * (i + 1));
}

// A_GIMME "learn 10 20 30 40" delivered by maxhost::send.
void BM_SendGimme4(benchmark::State &state) {
    Sink *x = sink_new();
    t_atom av[4];
    four_ints(av);
    t_symbol *learn = gensym("learn");
    for (auto _ : state) maxhost::send(&x->ob, learn, 4, av);
    benchmark::DoNotOptimize(x->sum);
    object_free(x);
}
BENCHMARK(BM_SendGimme4);

// The same message through the object's own typed dispatch (as an object calling another does).
void BM_ObjectMethodTyped4(benchmark::State &state) {
    Sink *x = sink_new();
    t_atom av[4];
    four_ints(av);
    t_symbol *learn = gensym("learn");
    for (auto _ : state) object_method_typed(x, learn, 4, av, nullptr);
    benchmark::DoNotOptimize(x->sum);
    object_free(x);
}
BENCHMARK(BM_ObjectMethodTyped4);

// outlet_list of four integers to one connected inlet.
void BM_OutletList4(benchmark::State &state) {
    Sink *from = sink_new();
    Sink *to = sink_new();
    maxhost::connect(&from->ob, 0, &to->ob);
    t_atom av[4];
    four_ints(av);
    for (auto _ : state) outlet_list(from->out, nullptr, 4, av);
    benchmark::DoNotOptimize(to->sum);
    object_free(from);
    object_free(to);
}
BENCHMARK(BM_OutletList4);

// Parsing and sending one line of text, as the command-line host does per line.
void BM_SendText(benchmark::State &state) {
    Sink *x = sink_new();
    for (auto _ : state) maxhost::send_text(&x->ob, "learn 10 20 30 40");
    benchmark::DoNotOptimize(x->sum);
    object_free(x);
}
BENCHMARK(BM_SendText);

}  // namespace
