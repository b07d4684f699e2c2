// Per-message latency over a whole run: the mean hides the one message that stalls the scheduler,
// so benchmarks also report the 99.9th percentile and the slowest single message.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <vector>

namespace maxlearn_bench {

// Times send(i) for i in [0, count) one by one and reports mean, p99.9 and max in microseconds as
// counters of `state`. Returns the sorted per-message times in nanoseconds.
template <typename Send>
std::vector<double> time_each_message(benchmark::State &state, std::size_t count, Send &&send)
{
    using clock = std::chrono::steady_clock;
    std::vector<double> ns(count);
    for (std::size_t i = 0; i < count; ++i) {
        const clock::time_point t0 = clock::now();
        send(i);
        ns[i] = std::chrono::duration<double, std::nano>(clock::now() - t0).count();
    }
    std::sort(ns.begin(), ns.end());
    double sum = 0;
    for (double v : ns)
        sum += v;
    if (count > 0) {
        state.counters["mean_us"] = sum / (double)count / 1000.0;
        state.counters["p999_us"] = ns[std::min(count - 1, (count * 999) / 1000)] / 1000.0;
        state.counters["max_us"] = ns.back() / 1000.0;
    }
    return ns;
}

} // namespace maxlearn_bench
