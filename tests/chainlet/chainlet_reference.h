// The training step written loop for loop on plain vectors, as a reference: the object's
// passes must give exactly these bits. Shared by the tests and the benchmark.
#pragma once

#include <cstddef>
#include <vector>

namespace chainlet_reference {

using Row = std::vector<double>;

struct Model {
    Row initial;                 // N
    std::vector<Row> transition; // N x N
    std::vector<Row> emission;   // N x 128
    Row initial_estimate;
    std::vector<Row> transition_estimate;
    std::vector<Row> emission_estimate;
};

struct Pass {
    std::vector<Row> alpha, beta, alpha_unscaled;  // N x T
    Row coefficients;                              // T
};

inline Pass forward(const Model &m, const std::vector<int> &o)
{
    const size_t n = m.initial.size(), T = o.size();
    Pass p{std::vector<Row>(n, Row(T)), std::vector<Row>(n, Row(T)), std::vector<Row>(n, Row(T)), Row(T)};
    auto coefficient = [&](size_t t) {
        double s = 0.0;
        for (size_t i = 0; i < n; i++) s += p.alpha_unscaled[i][t];
        p.coefficients[t] = s != 0.0 ? 1.0 / s : 0.0;
        return p.coefficients[t];
    };
    for (size_t i = 0; i < n; i++) p.alpha_unscaled[i][0] = m.initial[i] * m.emission[i][(size_t)o[0]];
    double c = coefficient(0);
    for (size_t i = 0; i < n; i++) p.alpha[i][0] = p.alpha_unscaled[i][0] * c;
    for (size_t t = 0; t + 1 < T; t++) {
        for (size_t j = 0; j < n; j++) {
            double s = 0.0;
            for (size_t k = 0; k < n; k++) s += p.alpha[k][t] * m.transition[k][j];
            p.alpha_unscaled[j][t + 1] = m.emission[j][(size_t)o[t + 1]] * s;
        }
        c = coefficient(t + 1);
        for (size_t j = 0; j < n; j++) p.alpha[j][t + 1] = p.alpha_unscaled[j][t + 1] * c;
    }
    return p;
}

inline void backward(const Model &m, const std::vector<int> &o, Pass &p)
{
    const size_t n = m.initial.size(), T = o.size();
    for (size_t i = 0; i < n; i++) p.beta[i][T - 1] = p.coefficients[T - 1];
    for (size_t t = T - 1; t-- > 0;)
        for (size_t i = 0; i < n; i++) {
            double s = 0.0;
            for (size_t j = 0; j < n; j++) s += m.transition[i][j] * p.beta[j][t + 1] * m.emission[j][(size_t)o[t + 1]];
            p.beta[i][t] = p.coefficients[t] * s;
        }
}

inline double product(const Pass &p)
{
    double r = p.coefficients[0];
    for (size_t t = 1; t < p.coefficients.size(); t++) r *= p.coefficients[t];
    return r;
}

inline void estimate(Model &m, const std::vector<int> &o, const Pass &p)
{
    const size_t n = m.initial.size(), T = o.size();
    auto gamma = [&](size_t i, size_t t) { return p.alpha[i][t] * p.beta[i][t] / p.coefficients[t]; };
    for (size_t i = 0; i < n; i++) m.initial_estimate[i] = gamma(i, 0);
    for (size_t i = 0; i < n; i++) {
        Row sigma(n);
        double total = 0.0;
        for (size_t j = 0; j < n; j++) {
            double s = 0.0;
            for (size_t t = 0; t + 1 < T; t++)
                s += p.alpha[i][t] * m.transition[i][j] * m.emission[j][(size_t)o[t + 1]] * p.beta[j][t + 1];
            sigma[j] = s;
            total += s;
        }
        if (total != 0.0)
            for (size_t j = 0; j < n; j++) m.transition_estimate[i][j] = sigma[j] / total;
        Row g(T);
        total = 0.0;
        for (size_t t = 0; t < T; t++) {
            g[t] = gamma(i, t);
            total += g[t];
        }
        if (total != 0.0)
            for (size_t k = 0; k < 128; k++) {
                double s = 0.0;
                for (size_t t = 0; t < T; t++)
                    if ((size_t)o[t] == k) s += g[t];
                m.emission_estimate[i][k] = s / total;
            }
    }
}

inline void blend(Model &m, float apprentissage)
{
    const double w = (double)apprentissage;
    for (size_t i = 0; i < m.initial.size(); i++) m.initial[i] = (w * m.initial[i] + m.initial_estimate[i]) / (w + 1);
    for (size_t i = 0; i < m.initial.size(); i++) {
        for (size_t j = 0; j < m.initial.size(); j++)
            m.transition[i][j] = (w * m.transition[i][j] + m.transition_estimate[i][j]) / (w + 1);
        for (size_t k = 0; k < 128; k++) m.emission[i][k] = (w * m.emission[i][k] + m.emission_estimate[i][k]) / (w + 1);
    }
}

// One "list": returns whether the gate let the sequence through.
inline bool learn(Model &m, const std::vector<int> &o, float apprentissage)
{
    Pass p = forward(m, o);
    backward(m, o, p);
    if (product(p) == 0.0) return false;
    estimate(m, o, p);
    blend(m, apprentissage);
    return true;
}

}  // namespace chainlet_reference
