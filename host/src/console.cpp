// The Max window: every post or error is one line handed to the console sink, one at a time.
#include "core_internal.h"

#include <cstdarg>
#include <cstdio>

namespace {

struct Console {
    std::recursive_mutex lock;  // a sink that posts again must not deadlock
    maxhost::ConsoleSink sink;
};

Console &console() {
    static Console *c = new Console;  // posts may come during static teardown
    return *c;
}

void default_sink(maxhost::ConsoleKind kind, const std::string &line) {
    FILE *f = kind == maxhost::ConsoleKind::error ? stderr : stdout;
    std::fwrite(line.data(), 1, line.size(), f);
    std::fputc('\n', f);
    std::fflush(f);
}

void emit(maxhost::ConsoleKind kind, std::string line) {
    // One call is one line: a trailing newline in the format would only add an empty one.
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    Console &c = console();
    std::lock_guard<std::recursive_mutex> guard(c.lock);
    if (c.sink)
        c.sink(kind, line);
    else
        default_sink(kind, line);
}

__attribute__((format(printf, 1, 0))) std::string vformat(const char *fmt, va_list ap) {
    if (!fmt) return std::string();
    char small[512];
    va_list copy;
    va_copy(copy, ap);
    int n = std::vsnprintf(small, sizeof small, fmt, copy);
    va_end(copy);
    if (n < 0) return std::string();
    if (static_cast<size_t>(n) < sizeof small) return std::string(small, static_cast<size_t>(n));
    std::string big(static_cast<size_t>(n) + 1, '\0');
    std::vsnprintf(&big[0], big.size(), fmt, ap);
    big.resize(static_cast<size_t>(n));
    return big;
}

std::string prefix_of(t_object *x) {
    if (maxhost_core::is_live(x) && x->o_messlist && x->o_messlist->name)
        return std::string(x->o_messlist->name->s_name) + ": ";
    return std::string();
}

}  // namespace

// The format functions take the caller's formats, as printf does.
#pragma GCC diagnostic ignored "-Wformat-nonliteral"

extern "C" {

void post(C74_CONST char *fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    std::string line = vformat(fmt, ap);
    va_end(ap);
    emit(maxhost::ConsoleKind::post, std::move(line));
}

void cpost(C74_CONST char *fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    std::string line = vformat(fmt, ap);
    va_end(ap);
    emit(maxhost::ConsoleKind::post, std::move(line));
}

void error(C74_CONST char *fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    std::string line = vformat(fmt, ap);
    va_end(ap);
    emit(maxhost::ConsoleKind::error, std::move(line));
}

void object_post(t_object *x, C74_CONST char *s, ...) {
    va_list ap;
    va_start(ap, s);
    std::string line = prefix_of(x) + vformat(s, ap);
    va_end(ap);
    emit(maxhost::ConsoleKind::post, std::move(line));
}

void object_error(t_object *x, C74_CONST char *s, ...) {
    va_list ap;
    va_start(ap, s);
    std::string line = prefix_of(x) + vformat(s, ap);
    va_end(ap);
    emit(maxhost::ConsoleKind::error, std::move(line));
}

void postatom(t_atom *ap) {
    if (!ap) return;
    emit(maxhost::ConsoleKind::post, maxhost::atom_to_text(*ap));
}

}  // extern "C"

namespace maxhost_core {

void report_error(const std::string &line) { emit(maxhost::ConsoleKind::error, line); }

}  // namespace maxhost_core

namespace maxhost {

void set_console_sink(ConsoleSink sink) {
    Console &c = console();
    std::lock_guard<std::recursive_mutex> guard(c.lock);
    c.sink = std::move(sink);
}

void reset_console_sink() { set_console_sink(ConsoleSink()); }

struct ConsoleCapture::Impl {
    std::mutex lock;
    std::vector<std::pair<ConsoleKind, std::string>> lines;
    ConsoleSink previous;
};

ConsoleCapture::ConsoleCapture() : impl_(new Impl) {
    Console &c = console();
    std::lock_guard<std::recursive_mutex> guard(c.lock);
    impl_->previous = c.sink;
    Impl *impl = impl_;
    c.sink = [impl](ConsoleKind kind, const std::string &line) {
        std::lock_guard<std::mutex> g(impl->lock);
        impl->lines.emplace_back(kind, line);
    };
}

ConsoleCapture::~ConsoleCapture() {
    {
        Console &c = console();
        std::lock_guard<std::recursive_mutex> guard(c.lock);
        c.sink = std::move(impl_->previous);
    }
    delete impl_;
}

std::vector<std::string> ConsoleCapture::lines() const {
    std::lock_guard<std::mutex> g(impl_->lock);
    std::vector<std::string> out;
    for (auto &l : impl_->lines) out.push_back(l.second);
    return out;
}

std::vector<std::string> ConsoleCapture::errors() const {
    std::lock_guard<std::mutex> g(impl_->lock);
    std::vector<std::string> out;
    for (auto &l : impl_->lines)
        if (l.first == ConsoleKind::error) out.push_back(l.second);
    return out;
}

void ConsoleCapture::clear() {
    std::lock_guard<std::mutex> g(impl_->lock);
    impl_->lines.clear();
}

}  // namespace maxhost
