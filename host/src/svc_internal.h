// Shared by the host-made objects (containers, clocks, queue elements): each is a t_object-headed
// record of an internal class, so object_free releases it like any other object.
#pragma once

#include "ext.h"
#include "ext_obex.h"
#include "maxhost/runtime.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace maxhost_svc {

using maxhost::as_method;

// An unregistered class for host-made records of `size` bytes; `release` runs from object_free.
t_class *make_internal_class(const char *name, method release, long size);

// An atom array that takes over the atoms without copying them (the JSON reader's arrays).
t_atomarray *atomarray_adopt(std::vector<t_atom> &&atoms);
// An atom array of A_LONG atoms kept as 32-bit integers until its atoms are first asked for.
t_atomarray *atomarray_adopt_integers(std::vector<std::int32_t> &&values);
// Runs fn on the integers of such an array not yet expanded (which it cannot be meanwhile) and
// returns true; false, without running it, for an array of atoms.
bool atomarray_with_integers(t_atomarray *x, const std::function<void(const std::int32_t *, size_t)> &fn);

// What a container does with an item it lets go of, by its flags: sysmem_freeptr for
// OBJ_FLAG_MEMORY, nothing for OBJ_FLAG_REF / OBJ_FLAG_DATA, object_free otherwise.
void let_go(void *item, long flags);

// Guards a container's own bookkeeping. Every section it covers is a few instructions long and
// never calls out (callbacks and letting items go run unlocked), and containers are used on every
// learning step, so a spin lock costs far less than a kernel-backed mutex.
class SpinLock {
public:
    void lock() {
        while (flag_.test_and_set(std::memory_order_acquire)) std::this_thread::yield();
    }
    bool try_lock() { return !flag_.test_and_set(std::memory_order_acquire); }
    void unlock() { flag_.clear(std::memory_order_release); }

private:
    std::atomic_flag flag_ = ATOMIC_FLAG_INIT;
};

// The items a walk visits, copied under the container's lock. Walks in externals are short and
// run on every learning step, so small ones stay on the stack.
template <typename T, std::size_t Inline = 64>
class WalkSnapshot {
public:
    explicit WalkSnapshot(std::size_t capacity) {
        if (capacity > Inline) {
            heap_.reset(new T[capacity]);
            items_ = heap_.get();
        }
    }
    void push(T v) { items_[size_++] = v; }
    const T *begin() const { return items_; }
    const T *end() const { return items_ + size_; }

private:
    T local_[Inline];
    std::unique_ptr<T[]> heap_;
    T *items_ = local_;
    std::size_t size_ = 0;
};

}  // namespace maxhost_svc
