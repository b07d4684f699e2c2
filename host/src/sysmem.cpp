// Memory blocks: each block carries a 16-byte header holding its size, so a resize knows how many
// bytes are new and the clearing variants can zero exactly those.
#include "ext_sysmem.h"

#include <cstdlib>
#include <cstring>

namespace {

struct alignas(16) BlockHeader {
    t_ptr_size size;
    t_ptr_size cookie;  // marks a live block; wiped on free to make stale reuse easier to spot
};
static_assert(sizeof(BlockHeader) == 16, "the header keeps user blocks 16-byte aligned");

constexpr t_ptr_size kCookie = 0x5e3a11cedUL;
constexpr t_ptr_size kMaxSize = (~t_ptr_size(0)) - sizeof(BlockHeader);

BlockHeader *header_of(void *ptr) { return static_cast<BlockHeader *>(ptr) - 1; }

t_ptr user_of(BlockHeader *h) { return reinterpret_cast<t_ptr>(h + 1); }

t_ptr resize(void *ptr, t_ptr_size newsize, bool clear) {
    if (!ptr) return clear ? sysmem_newptrclear(newsize) : sysmem_newptr(newsize);
    if (newsize > kMaxSize) return nullptr;
    BlockHeader *old = header_of(ptr);
    t_ptr_size oldsize = old->size;
    // realloc leaves the old block untouched on failure, which is what callers rely on.
    auto *h = static_cast<BlockHeader *>(std::realloc(old, sizeof(BlockHeader) + newsize));
    if (!h) return nullptr;
    h->size = newsize;
    if (clear && newsize > oldsize) std::memset(user_of(h) + oldsize, 0, newsize - oldsize);
    return user_of(h);
}

}  // namespace

extern "C" {

t_ptr sysmem_newptr(t_ptr_size size) {
    if (size > kMaxSize) return nullptr;
    auto *h = static_cast<BlockHeader *>(std::malloc(sizeof(BlockHeader) + size));
    if (!h) return nullptr;
    h->size = size;
    h->cookie = kCookie;
    return user_of(h);
}

t_ptr sysmem_newptrclear(t_ptr_size size) {
    if (size > kMaxSize) return nullptr;
    auto *h = static_cast<BlockHeader *>(std::calloc(1, sizeof(BlockHeader) + size));
    if (!h) return nullptr;
    h->size = size;
    h->cookie = kCookie;
    return user_of(h);
}

t_ptr sysmem_resizeptr(void *ptr, t_ptr_size newsize) { return resize(ptr, newsize, false); }

t_ptr sysmem_resizeptrclear(void *ptr, t_ptr_size newsize) { return resize(ptr, newsize, true); }

t_ptr_size sysmem_ptrsize(void *ptr) { return ptr ? header_of(ptr)->size : 0; }

void sysmem_freeptr(void *ptr) {
    if (!ptr) return;
    BlockHeader *h = header_of(ptr);
    h->cookie = 0;
    std::free(h);
}

void sysmem_copyptr(const void *src, void *dst, t_ptr_size bytes) {
    if (src && dst && bytes) std::memmove(dst, src, bytes);
}

}  // extern "C"
