// Model files in benchmarks: "write" and "read" of a file sent to an instance and run at once on
// the calling thread as the main thread, and the slowest message another thread got through while
// they ran, which bounds how long a read holds the instance's lock for its swap.
#pragma once

#include "ext.h"
#include "maxhost/runtime.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#if defined(__linux__)
#include <malloc.h>

#include <fstream>
#endif

namespace maxlearn_bench {

inline std::string model_path(const char *name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

// Sends `selector file` and runs the main-thread queue, where the file work happens.
inline void file_message(t_object *x, const char *selector, const std::string &file) {
    t_atom a;
    atom_setsym(&a, gensym(file.c_str()));
    maxhost::send(x, gensym(selector), 1, &a);
    maxhost::run_queue();
}

#if defined(__linux__)
// Peak or current resident size in kB, from /proc; writing 5 to clear_refs resets the peak.
inline long status_kb(const char *field) {
    std::ifstream in("/proc/self/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::string(field).size()));
    return -1;
}
#endif

// Times write and read of `file` per iteration and reports the file's size, and the memory the
// first write or read takes beyond what the process held (peak resident size) per file size.
inline void write_and_read(benchmark::State &state, t_object *x, const std::string &file, bool read) {
    const char *selector = read ? "read" : "write";
    file_message(x, "write", file);
#if defined(__linux__)
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
    const long before = status_kb("VmRSS:");
    file_message(x, selector, file);
    const long peak = status_kb("VmHWM:");
    if (before > 0 && peak > 0)
        state.counters["peak_extra_per_file_size"] = (double)(peak - before) * 1000.0 / (double)std::filesystem::file_size(file);
#endif
    for (auto _ : state) file_message(x, selector, file);
    state.counters["file_MB"] = (double)std::filesystem::file_size(file) / 1e6;
}

// Reads `file` `reads` times on this thread while another thread sends `other` to x one message
// after another; reports the slowest of those messages in microseconds (max_us), and the slowest
// over as many messages with no read running (idle_max_us), which shows what preemption alone
// costs on a loaded machine.
template <typename Other>
void slowest_message_during_reads(benchmark::State &state, t_object *x, const std::string &file, int reads,
                                  Other &&other) {
    using clock = std::chrono::steady_clock;
    file_message(x, "write", file);
    auto timed = [&](long count, const std::atomic<bool> &stop, double *slowest, long *sent) {
        for (*sent = 0; count < 0 ? !stop.load() : *sent < count; ++*sent) {
            const clock::time_point t0 = clock::now();
            other(x);
            *slowest = std::max(*slowest, std::chrono::duration<double, std::micro>(clock::now() - t0).count());
        }
    };
    for (auto _ : state) {
        std::atomic<bool> stop{false};
        double slowest = 0, idle = 0;
        long sent = 0, idle_sent = 0;
        std::thread scheduler([&] { timed(-1, stop, &slowest, &sent); });
        for (int i = 0; i < reads; i++) file_message(x, "read", file);
        stop = true;
        scheduler.join();
        std::thread alone([&] { timed(sent, stop, &idle, &idle_sent); });
        alone.join();
        state.counters["max_us"] = slowest;
        state.counters["idle_max_us"] = idle;
        state.counters["messages"] = (double)sent;
    }
}

// Times the swap step of "read" alone: the model of `file` is read once (load), then swapped in
// and out of x (each swap leaves the model that was in place in the loaded one).
template <typename Load, typename Swap, typename Free>
void swap_only(benchmark::State &state, t_object *x, const std::string &file, Load &&load, Swap &&swap, Free &&release) {
    file_message(x, "write", file);
    t_dictionary *d = nullptr;
    char err[256] = "";
    if (dictionary_read(file.c_str(), path_getdefault(), &d) != MAX_ERR_NONE) {
        state.SkipWithError("cannot read the file back");
        return;
    }
    auto *loaded = load(d, err);
    object_free(d);
    if (!loaded) {
        state.SkipWithError(err);
        return;
    }
    for (auto _ : state) swap(x, loaded);
    release(loaded);
}

}  // namespace maxlearn_bench
