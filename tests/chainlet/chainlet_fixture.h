// A chainlet instance made through the host, with what it sends, and direct access to its model.
#pragma once

#include "chainlet.h"
#include "chainlet_reference.h"
#include "maxhost/runtime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <mutex>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

using chainlet_reference::Model;
using chainlet_reference::Row;
using Lines = std::vector<std::string>;
using Ints = std::vector<int>;

struct Sent {
    int outlet;
    std::string selector;
    std::vector<double> args;
};

struct Chain {
    t_object *obj;
    t_chainlet *x;
    std::mutex mutex;
    std::vector<Sent> sent;

    explicit Chain(const std::string &box = "chainlet")
    {
        maxhost::add_search_path(MAXLEARN_EXTERNALS_DIR);
        obj = maxhost::create_from_box(box);
        if (!obj) throw std::runtime_error("cannot create " + box);
        x = reinterpret_cast<t_chainlet *>(obj);
        maxhost::set_outlet_observer(obj, [this](t_object *, int o, t_symbol *s, long ac, const t_atom *av) {
            std::lock_guard<std::mutex> lock(mutex);
            sent.push_back({o, s->s_name, {}});
            for (long i = 0; i < ac; i++) sent.back().args.push_back(atom_getfloat(av + i));
        });
    }
    ~Chain() { object_free(obj); }
    void send(const std::string &text) { maxhost::send_text(obj, text); }
    void send_list(const char *selector, const Ints &symbols)
    {
        std::vector<t_atom> av(symbols.size());
        for (size_t i = 0; i < symbols.size(); i++) atom_setlong(&av[i], symbols[i]);
        maxhost::send(obj, gensym(selector), (long)av.size(), av.data());
    }
    void learn(const Ints &symbols) { send_list("list", symbols); }
    std::vector<Sent> take()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return std::exchange(sent, {});
    }
    // Sends "vraisemblance" and returns the one float it answers.
    double score(const Ints &symbols)
    {
        take();
        send_list("vraisemblance", symbols);
        auto s = take();
        if (s.size() != 1 || s[0].outlet != 3) throw std::runtime_error("no score");
        return s[0].args.at(0);
    }
};

inline Model get_model(const t_chainlet *x)
{
    const size_t n = (size_t)x->state_count;
    Model m;
    m.initial.assign(x->initial, x->initial + n);
    m.initial_estimate.assign(x->initial_estimate, x->initial_estimate + n);
    for (size_t i = 0; i < n; i++) {
        const t_chainlet_state &st = x->states[i];
        m.transition.emplace_back(st.transition, st.transition + n);
        m.emission.emplace_back(st.emission, st.emission + 128);
        m.transition_estimate.emplace_back(st.transition_estimate, st.transition_estimate + n);
        m.emission_estimate.emplace_back(st.emission_estimate, st.emission_estimate + 128);
    }
    return m;
}

// Writes the model into the record; estimates become copies of the rows, as at creation.
inline void set_model(t_chainlet *x, const Row &initial, const std::vector<Row> &transition,
                      const std::vector<Row> &emission)
{
    const size_t n = (size_t)x->state_count;
    if (initial.size() != n || transition.size() != n || emission.size() != n) throw std::runtime_error("model size");
    std::copy(initial.begin(), initial.end(), x->initial);
    std::copy(initial.begin(), initial.end(), x->initial_estimate);
    for (size_t i = 0; i < n; i++) {
        std::copy(transition[i].begin(), transition[i].end(), x->states[i].transition);
        std::copy(transition[i].begin(), transition[i].end(), x->states[i].transition_estimate);
        std::copy(emission[i].begin(), emission[i].end(), x->states[i].emission);
        std::copy(emission[i].begin(), emission[i].end(), x->states[i].emission_estimate);
    }
}

inline void set_model(t_chainlet *x, const Model &m) { set_model(x, m.initial, m.transition, m.emission); }

// An emission row from (symbol, probability) pairs.
inline Row emission_row(const std::vector<std::pair<int, double>> &mass)
{
    Row r(128, 0.0);
    for (auto [k, p] : mass) r[(size_t)k] = p;
    return r;
}

inline void expect_stochastic(const Row &r, double tolerance, const std::string &what)
{
    double s = 0.0;
    for (double v : r) {
        EXPECT_TRUE(v >= 0.0 && std::isfinite(v)) << what << ": " << v;
        s += v;
    }
    EXPECT_NEAR(s, 1.0, tolerance) << what;
}

inline void expect_model_stochastic(const t_chainlet *x, double tolerance)
{
    Model m = get_model(x);
    expect_stochastic(m.initial, tolerance, "initial");
    for (size_t i = 0; i < m.transition.size(); i++) {
        expect_stochastic(m.transition[i], tolerance, "transition " + std::to_string(i));
        expect_stochastic(m.emission[i], tolerance, "emission " + std::to_string(i));
    }
}

// A source model to draw training and test sequences from.
struct Source {
    Row initial;
    std::vector<Row> transition, emission;
};

template <typename Rng>
size_t pick(const Row &p, Rng &rng)
{
    double u = std::uniform_real_distribution<double>(0.0, 1.0)(rng), s = 0.0;
    for (size_t i = 0; i < p.size(); i++)
        if ((s += p[i]) > u) return i;
    return p.size() - 1;
}

template <typename Rng>
Ints sample(const Source &src, size_t length, Rng &rng)
{
    Ints out;
    size_t state = pick(src.initial, rng);
    for (size_t t = 0; t < length; t++) {
        out.push_back((int)pick(src.emission[state], rng));
        state = pick(src.transition[state], rng);
    }
    return out;
}
