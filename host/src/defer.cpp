// Deferred calls: a queue of calls run on the main thread by one queue element, in the order they
// were made, wherever the host runs queue elements (maxscript after each line and while waiting,
// Pd on its own thread).
#include "defer_internal.h"

#include "svc_internal.h"

#include <atomic>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace {

using deferred_fn = void (*)(void *, t_symbol *, short, t_atom *);

struct Call {
    void *ob;
    deferred_fn fn;
    t_symbol *sym;
    std::vector<t_atom> atoms;
    std::string folder;  // the default folder when the call was made
};

struct Queue {
    std::mutex lock;
    std::deque<Call> calls;
    std::deque<Call> running;  // the batch being run; calls made meanwhile wait for the next pass
    std::atomic<size_t> pending{0};
    t_qelem *runner = nullptr;
};

Queue &queue() {
    static Queue *q = new Queue;
    return *q;
}

void update_pending(Queue &q) { q.pending = q.calls.size() + q.running.size(); }

void run_calls(void *) {
    Queue &q = queue();
    {
        std::lock_guard<std::mutex> g(q.lock);
        if (!q.running.empty()) return;  // a deferred call ran the queue itself
        q.running.swap(q.calls);
    }
    for (;;) {
        Call c;
        {
            std::lock_guard<std::mutex> g(q.lock);
            if (q.running.empty()) break;
            c = std::move(q.running.front());
            q.running.pop_front();
            update_pending(q);
        }
        maxhost::DefaultFolderScope folder(c.folder);
        c.fn(c.ob, c.sym, static_cast<short>(c.atoms.size()), c.atoms.empty() ? nullptr : c.atoms.data());
    }
}

void *enqueue(void *ob, method fn, t_symbol *sym, short argc, t_atom *argv) {
    if (!fn) return nullptr;
    Call c{ob, reinterpret_cast<deferred_fn>(fn), sym, {}, maxhost::default_folder()};
    if (argc > 0 && argv) c.atoms.assign(argv, argv + argc);
    Queue &q = queue();
    t_qelem *runner;
    {
        std::lock_guard<std::mutex> g(q.lock);
        if (!q.runner) q.runner = qelem_new(nullptr, maxhost_svc::as_method(run_calls));
        q.calls.push_back(std::move(c));
        update_pending(q);
        runner = q.runner;
    }
    qelem_set(runner);
    return nullptr;
}

}  // namespace

namespace maxhost_defer {

void forget(void *ob) {
    Queue &q = queue();
    if (q.pending.load() == 0) return;
    std::lock_guard<std::mutex> g(q.lock);
    auto drop = [ob](std::deque<Call> &calls) {
        for (auto it = calls.begin(); it != calls.end();) it = it->ob == ob ? calls.erase(it) : it + 1;
    };
    drop(q.calls);
    drop(q.running);
    update_pending(q);
}

}  // namespace maxhost_defer

extern "C" {

void *defer(void *ob, method fn, t_symbol *sym, short argc, t_atom *argv) {
    if (!fn) return nullptr;
    if (!systhread_ismainthread()) return enqueue(ob, fn, sym, argc, argv);
    reinterpret_cast<deferred_fn>(fn)(ob, sym, argc, argv);
    return nullptr;
}

void *defer_low(void *ob, method fn, t_symbol *sym, short argc, t_atom *argv) {
    return enqueue(ob, fn, sym, argc, argv);
}

}  // extern "C"
