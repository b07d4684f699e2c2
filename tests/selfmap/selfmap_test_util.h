// Helpers for the selfmap tests: an instance made through the host, direct access to its map, and
// the learning step written plainly as a reference, to compare the object with.
#pragma once

#include "selfmap.h"
#include "maxhost/runtime.h"
#include "recorded_outlets.h"

#include <gtest/gtest.h>

#include <cmath>
#include <mutex>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

using Longs = std::vector<long>;
using Reals = std::vector<double>;
using Lines = std::vector<std::string>;

// One instance from box text; everything it sends is recorded in `sent`.
struct Map {
    t_object *obj;
    t_selfmap *x;
    std::mutex lock;
    std::vector<Sent> sent;
    explicit Map(const std::string &box = "selfmap") {
        obj = create_recorded(box, sent, &lock);
        x = reinterpret_cast<t_selfmap *>(obj);
    }
    ~Map() { object_free(obj); }
    void send(const std::string &text) { maxhost::send_text(obj, text); }
    void learn(const Reals &v) {
        std::vector<t_atom> a(v.size());
        for (size_t j = 0; j < v.size(); j++) atom_setlong(&a[j], (t_atom_long)v[j]);
        maxhost::send(obj, gensym("learn"), (long)a.size(), a.data());
    }
    std::vector<Sent> take() {
        std::lock_guard<std::mutex> g(lock);
        return std::exchange(sent, {});
    }
    Reals unit(long i) const { return Reals(x->units[i], x->units[i] + x->vector_size); }
    std::vector<Reals> units() const {
        std::vector<Reals> all;
        for (long i = 0; i < x->map_size; i++) all.push_back(unit(i));
        return all;
    }
    // Replaces the map by these vectors (one per unit, all of one size).
    void set_units(const std::vector<Reals> &vectors) {
        x->vector_size = (long)vectors[0].size();
        for (long i = 0; i < x->map_size; i++)
            for (size_t j = 0; j < vectors[0].size(); j++) x->units[i][j] = vectors[(size_t)i][j];
    }
};

inline std::string list_text(const std::string &selector, const Longs &v) {
    std::string s = selector;
    for (long e : v) s += " " + std::to_string(e);
    return s;
}

// The reference map, its algorithms written plainly: a pow per component, a square
// root per unit, an exp per unit. `Square` is pow(x, 2.0) as written (which GCC turns into x * x)
// or a call that the compiler cannot see through.
struct Transcription {
    long map_size = 50, vector_size = 4, value_max = 127, learn_count = 0, learn_horizon = 60, influence = 25;
    double pas = 1.0;
    std::vector<Reals> units;
    bool library_pow = false;

    explicit Transcription(const t_selfmap *x)
        : map_size(x->map_size), vector_size(x->vector_size), value_max(x->value_max), learn_count(x->learn_count),
          learn_horizon(x->learn_horizon), influence(x->influence), pas(x->pas) {
        for (long i = 0; i < map_size; i++) units.emplace_back(x->units[i], x->units[i] + vector_size);
    }
    double square(double a) const {
        if (!library_pow) return pow(a, 2.0);
        static volatile double two = 2.0;
        return pow(a, two);
    }
    long carte_gagnant(const Reals &v) const {
        double best = 0.0;
        long winner = -1;
        for (long i = 0; i < map_size; i++) {
            double s = 0.0;
            for (long j = 0; j < vector_size; j++) s += square(units[(size_t)i][(size_t)j] - v[(size_t)j]);
            double d = sqrt(s);
            if (i == 0 || best > d) {
                best = d;
                winner = i;
            }
        }
        return winner;
    }
    double carte_influence(long w, long i) const {
        double t_scale = (double)learn_horizon / log((double)influence);
        double sigma = (double)influence * exp((double)(-learn_count) / t_scale);
        return exp(square((double)(i - w)) / (square(sigma) * (-2.0)));
    }
    void vecteur_modifier(Reals &u, const Reals &v, double h) const {
        long k = (-learn_count) / learn_horizon;
        double alpha = exp((double)k) * pas;
        for (long j = 0; j < vector_size; j++) u[(size_t)j] = u[(size_t)j] + (alpha * h) * (v[(size_t)j] - u[(size_t)j]);
    }
    // "learn" with integers already within 0..value_max and of the map's size.
    void learn(const Reals &v) {
        long w = carte_gagnant(v);
        if (learn_count < learn_horizon) learn_count++;
        for (long i = 0; i < map_size; i++) vecteur_modifier(units[(size_t)i], v, carte_influence(w, i));
    }
};
