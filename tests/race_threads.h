// Threads for the race tests: one that repeats a step until told to stop, counting the steps, and
// the random "learn" lists such a thread sends.
#pragma once

#include "maxhost/runtime.h"

#include <atomic>
#include <random>
#include <thread>
#include <utility>
#include <vector>

namespace racetest {

// Runs step(0), step(1), ... on its own thread until stop(), which waits for the last step.
class UntilStopped {
public:
    template <typename Step>
    explicit UntilStopped(Step step) : thread_([this, step]() mutable {
          for (long i = 0; !stop_; i++, done_++) step(i);
      })
    {
    }
    ~UntilStopped() { stop(); }
    UntilStopped(const UntilStopped &) = delete;
    UntilStopped &operator=(const UntilStopped &) = delete;
    // Steps finished so far.
    long count() const { return done_; }
    void stop()
    {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }

private:
    std::atomic<bool> stop_{false};
    std::atomic<long> done_{0};
    std::thread thread_;
};

// Sends x "learn" with `size` integers drawn below `range`.
inline void learn_random(t_object *x, std::mt19937 &rng, long size, unsigned long range)
{
    std::vector<t_atom> v((size_t)size);
    for (t_atom &a : v) atom_setlong(&a, (t_atom_long)(rng() % range));
    maxhost::send(x, gensym("learn"), size, v.data());
}

}  // namespace racetest
