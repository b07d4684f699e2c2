// Linked lists of pointers. The items sit in a vector of nodes: index access is O(1) and lists in
// externals are short, so removal by shifting is cheap. A walk (funall) runs over a snapshot of the
// nodes; a node removed during a walk is marked dead and kept until the last walk ends, so the walk
// skips it and never touches freed memory. No lock is held while a callback runs.
#include "ext_linklist.h"

#include "svc_internal.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace {

struct Node {
    void *item;
    std::atomic<bool> dead;  // set under the lock; a walk reads it without
};

struct ListImpl {
    maxhost_svc::SpinLock m;
    std::vector<Node *> nodes;
    long flags = OBJ_FLAG_OBJ;
    int walking = 0;
    std::vector<Node *> graveyard;  // nodes removed during a walk

    // Caller holds m.
    void *remove_at(size_t i) {
        Node *n = nodes[i];
        nodes.erase(nodes.begin() + static_cast<std::ptrdiff_t>(i));
        void *item = n->item;
        n->dead.store(true, std::memory_order_relaxed);
        if (walking)
            graveyard.push_back(n);
        else
            delete n;
        return item;
    }

    // Caller holds m.
    long find(void *p) const {
        for (size_t i = 0; i < nodes.size(); ++i)
            if (nodes[i]->item == p) return static_cast<long>(i);
        return -1;
    }

    // Caller holds m.
    void end_walk() {
        if (--walking == 0) {
            for (Node *n : graveyard) delete n;
            graveyard.clear();
        }
    }
};

}  // namespace

struct _linklist {
    t_object ob;
    ListImpl *impl;
};

namespace {

// Takes every item out of the list and lets them go by the flags, outside the lock.
void clear_items(ListImpl *impl) {
    std::vector<void *> items;
    long flags;
    {
        std::lock_guard<maxhost_svc::SpinLock> lk(impl->m);
        flags = impl->flags;
        items.reserve(impl->nodes.size());
        while (!impl->nodes.empty()) items.push_back(impl->remove_at(impl->nodes.size() - 1));
    }
    std::reverse(items.begin(), items.end());
    for (void *item : items) maxhost_svc::let_go(item, flags);
}

void linklist_release(t_linklist *x) {
    if (!x->impl) return;
    clear_items(x->impl);
    delete x->impl;
    x->impl = nullptr;
}

t_class *linklist_class() {
    static t_class *c = maxhost_svc::make_internal_class(
        "linklist", maxhost_svc::as_method(linklist_release), sizeof(t_linklist));
    return c;
}

ListImpl *impl_of(t_linklist *x) { return x ? x->impl : nullptr; }

}  // namespace

extern "C" {

t_linklist *linklist_new(void) {
    auto *x = static_cast<t_linklist *>(object_alloc(linklist_class()));
    if (x) x->impl = new ListImpl;
    return x;
}

void linklist_flags(t_linklist *x, long flags) {
    if (ListImpl *impl = impl_of(x)) {
        std::lock_guard<maxhost_svc::SpinLock> lk(impl->m);
        impl->flags = flags;
    }
}

t_atom_long linklist_getflags(t_linklist *x) {
    ListImpl *impl = impl_of(x);
    if (!impl) return 0;
    std::lock_guard<maxhost_svc::SpinLock> lk(impl->m);
    return impl->flags;
}

t_atom_long linklist_append(t_linklist *x, void *o) {
    ListImpl *impl = impl_of(x);
    if (!impl) return -1;
    std::lock_guard<maxhost_svc::SpinLock> lk(impl->m);
    impl->nodes.push_back(new Node{o, false});
    return static_cast<t_atom_long>(impl->nodes.size()) - 1;
}

t_atom_long linklist_insertindex(t_linklist *x, void *o, long index) {
    ListImpl *impl = impl_of(x);
    if (!impl) return -1;
    std::lock_guard<maxhost_svc::SpinLock> lk(impl->m);
    if (index < 0 || static_cast<size_t>(index) > impl->nodes.size()) return -1;
    impl->nodes.insert(impl->nodes.begin() + index, new Node{o, false});
    return index;
}

t_atom_long linklist_getsize(t_linklist *x) {
    ListImpl *impl = impl_of(x);
    if (!impl) return 0;
    std::lock_guard<maxhost_svc::SpinLock> lk(impl->m);
    return static_cast<t_atom_long>(impl->nodes.size());
}

void *linklist_getindex(t_linklist *x, long index) {
    ListImpl *impl = impl_of(x);
    if (!impl) return nullptr;
    std::lock_guard<maxhost_svc::SpinLock> lk(impl->m);
    if (index < 0 || static_cast<size_t>(index) >= impl->nodes.size()) return nullptr;
    return impl->nodes[static_cast<size_t>(index)]->item;
}

void *linklist_next(t_linklist *x, void *p, void **next) {
    void *found = nullptr;
    if (ListImpl *impl = impl_of(x)) {
        std::lock_guard<maxhost_svc::SpinLock> lk(impl->m);
        long i = impl->find(p);
        if (i >= 0 && static_cast<size_t>(i) + 1 < impl->nodes.size()) found = impl->nodes[static_cast<size_t>(i) + 1]->item;
    }
    if (next) *next = found;
    return found;
}

void *linklist_prev(t_linklist *x, void *p, void **prev) {
    void *found = nullptr;
    if (ListImpl *impl = impl_of(x)) {
        std::lock_guard<maxhost_svc::SpinLock> lk(impl->m);
        long i = impl->find(p);
        if (i > 0) found = impl->nodes[static_cast<size_t>(i) - 1]->item;
    }
    if (prev) *prev = found;
    return found;
}

t_atom_long linklist_objptr2index(t_linklist *x, void *p) {
    ListImpl *impl = impl_of(x);
    if (!impl) return -1;
    std::lock_guard<maxhost_svc::SpinLock> lk(impl->m);
    return impl->find(p);
}

t_atom_long linklist_deleteindex(t_linklist *x, long index) {
    ListImpl *impl = impl_of(x);
    if (!impl) return -1;
    void *item;
    long flags;
    {
        std::lock_guard<maxhost_svc::SpinLock> lk(impl->m);
        if (index < 0 || static_cast<size_t>(index) >= impl->nodes.size()) return -1;
        item = impl->remove_at(static_cast<size_t>(index));
        flags = impl->flags;
    }
    maxhost_svc::let_go(item, flags);
    return index;
}

long linklist_chuckindex(t_linklist *x, long index) {
    ListImpl *impl = impl_of(x);
    if (!impl) return -1;
    std::lock_guard<maxhost_svc::SpinLock> lk(impl->m);
    if (index < 0 || static_cast<size_t>(index) >= impl->nodes.size()) return -1;
    impl->remove_at(static_cast<size_t>(index));
    return index;
}

long linklist_chuckobject(t_linklist *x, void *o) {
    ListImpl *impl = impl_of(x);
    if (!impl) return MAX_ERR_INVALID_PTR;
    std::lock_guard<maxhost_svc::SpinLock> lk(impl->m);
    long i = impl->find(o);
    if (i < 0) return MAX_ERR_GENERIC;
    impl->remove_at(static_cast<size_t>(i));
    return MAX_ERR_NONE;
}

void linklist_clear(t_linklist *x) {
    if (ListImpl *impl = impl_of(x)) clear_items(impl);
}

void linklist_funall(t_linklist *x, method fun, void *arg) {
    ListImpl *impl = impl_of(x);
    if (!impl || !fun) return;
    std::unique_lock<maxhost_svc::SpinLock> lk(impl->m);
    maxhost_svc::WalkSnapshot<Node *> snapshot(impl->nodes.size());
    for (Node *n : impl->nodes) snapshot.push(n);
    ++impl->walking;
    lk.unlock();
    // Nodes removed during the walk stay allocated until it ends; their item never changes.
    for (Node *n : snapshot) {
        if (n->dead.load(std::memory_order_relaxed)) continue;
        reinterpret_cast<void (*)(void *, void *)>(fun)(n->item, arg);
    }
    lk.lock();
    impl->end_walk();
}

t_atom_long linklist_findfirst(t_linklist *x, void **o, long cmpfn(void *, void *), void *cmpdata) {
    if (o) *o = nullptr;
    ListImpl *impl = impl_of(x);
    if (!impl || !cmpfn) return -1;
    // The match function runs without the lock, over a snapshot, so it may use the list itself.
    std::vector<void *> items;
    {
        std::lock_guard<maxhost_svc::SpinLock> lk(impl->m);
        items.reserve(impl->nodes.size());
        for (Node *n : impl->nodes) items.push_back(n->item);
    }
    for (size_t i = 0; i < items.size(); ++i) {
        if (cmpfn(items[i], cmpdata)) {
            if (o) *o = items[i];
            return static_cast<t_atom_long>(i);
        }
    }
    return -1;
}

void linklist_shuffle(t_linklist *x) {
    ListImpl *impl = impl_of(x);
    if (!impl) return;
    std::lock_guard<maxhost_svc::SpinLock> lk(impl->m);
    // Fisher-Yates from the C library generator, so srand() makes the order reproducible.
    for (size_t i = impl->nodes.size(); i > 1; --i) {
        size_t j = static_cast<size_t>(std::rand()) % i;
        std::swap(impl->nodes[i - 1], impl->nodes[j]);
    }
}

void linklist_reverse(t_linklist *x) {
    ListImpl *impl = impl_of(x);
    if (!impl) return;
    std::lock_guard<maxhost_svc::SpinLock> lk(impl->m);
    std::reverse(impl->nodes.begin(), impl->nodes.end());
}

}  // extern "C"
