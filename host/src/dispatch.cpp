// Typed dispatch: routing a message to the handler Max would pick, converting its arguments, and
// calling it. Method tables do not change after load, so no lock is taken here.
#include "core_internal.h"

#include <array>
#include <atomic>
#include <cstring>
#include <cstdint>
#include <utility>

using namespace maxhost_core;

namespace {

// On x86-64 and AArch64 integer/pointer and floating-point arguments travel in separate register
// files, so a handler declared with interleaved types can be called with the integers first and
// the doubles after, each group keeping its order.
template <size_t... I, size_t... J>
void *call_split(method fn, const intptr_t *iv, const double *dv, std::index_sequence<I...>,
                 std::index_sequence<J...>) {
    using F = void *(*)(decltype((void)I, intptr_t{})..., decltype((void)J, double{})...);
    return reinterpret_cast<F>(fn)(iv[I]..., dv[J]...);
}

using Caller = void *(*)(method, const intptr_t *, const double *);

template <size_t NI, size_t ND>
void *call_n(method fn, const intptr_t *iv, const double *dv) {
    return call_split(fn, iv, dv, std::make_index_sequence<NI>{}, std::make_index_sequence<ND>{});
}

template <size_t NI, size_t... J>
constexpr std::array<Caller, sizeof...(J)> row(std::index_sequence<J...>) {
    return {&call_n<NI, J>...};
}

template <size_t... I>
constexpr std::array<std::array<Caller, kMaxTypedArgs + 1>, sizeof...(I)> table(std::index_sequence<I...>) {
    return {row<I>(std::make_index_sequence<kMaxTypedArgs + 1>{})...};
}

// Up to the object plus seven integers, and up to seven doubles.
constexpr auto kCallers = table(std::make_index_sequence<kMaxTypedArgs + 2>{});

#if defined(_WIN32)
// On Windows x64 an argument's register is chosen by its position, whatever its type, so the
// handler is called with its exact signature: bit i of Mask marks argument i as a double.
template <bool IsDouble>
auto slot_value(const intptr_t &v) {
    if constexpr (IsDouble) {
        double d;
        std::memcpy(&d, &v, sizeof d);
        return d;
    } else {
        return v;
    }
}

template <unsigned Mask, size_t... I>
void *call_positional(method fn, const intptr_t *slot, std::index_sequence<I...>) {
    using F = void *(*)(decltype(slot_value<((Mask >> I) & 1u) != 0>(intptr_t{}))...);
    return reinterpret_cast<F>(fn)(slot_value<((Mask >> I) & 1u) != 0>(slot[I])...);
}

// Entry K of the table serves n arguments with mask m, where K = 2^n - 1 + m.
constexpr unsigned width_of(unsigned k) {
    unsigned n = 0;
    while ((2u << n) <= k + 1) ++n;
    return n;
}

template <unsigned K>
void *call_entry(method fn, const intptr_t *slot) {
    constexpr unsigned n = width_of(K);
    return call_positional<K + 1 - (1u << n)>(fn, slot, std::make_index_sequence<n>{});
}

using PositionalCaller = void *(*)(method, const intptr_t *);

template <size_t... K>
constexpr std::array<PositionalCaller, sizeof...(K)> positional_table(std::index_sequence<K...>) {
    return {&call_entry<K>...};
}

constexpr unsigned kMaxPositions = kMaxTypedArgs + 1;  // the object and its typed arguments
constexpr auto kPositionalCallers = positional_table(std::make_index_sequence<(2u << kMaxPositions) - 1>{});
#endif

// Per thread: how deep the current chain of sends is, how many events (clock or queue tasks) are
// running, and whether the chain overflowed. Once it has, every send left in the chain is dropped
// until the event that began it ends, so a loop that fans out cannot run on level by level.
thread_local int delivery_depth = 0;
thread_local int event_depth = 0;
thread_local bool dropping = false;
std::atomic<long> overflows{0};

void end_of_chain() {
    if (delivery_depth == 0 && event_depth == 0) dropping = false;
}

struct DepthGuard {
    DepthGuard() { ++delivery_depth; }
    ~DepthGuard() {
        --delivery_depth;
        end_of_chain();
    }
};

void not_understood(t_object *x, t_symbol *sel) {
    report_error(std::string(x->o_messlist->name->s_name) + ": doesn't understand \"" + sel->s_name + "\"");
}

void invoke(t_object *x, MethodRec *m, t_symbol *sel, long ac, t_atom *av) {
    switch (m->kind) {
    case CallKind::none:
        reinterpret_cast<void (*)(void *)>(m->fn)(x);
        break;
    case CallKind::gimme:
        reinterpret_cast<void (*)(void *, t_symbol *, long, t_atom *)>(m->fn)(x, sel, ac, av);
        break;
    case CallKind::gimmeback: {
        t_atom rv;
        atom_setlong(&rv, 0);
        reinterpret_cast<t_max_err (*)(void *, t_symbol *, long, t_atom *, t_atom *)>(m->fn)(x, sel, ac, av, &rv);
        break;
    }
    case CallKind::typed:
        call_typed(m->fn, x, m->types, m->ntypes, ac, av);
        break;
    case CallKind::cant:
        break;
    }
}

bool to_anything(t_object *x, t_symbol *sel, long ac, t_atom *av) {
    MethodRec *any = x->o_messlist->m_anything;
    if (!any) {
        not_understood(x, sel);
        return false;
    }
    invoke(x, any, sel, ac, av);
    return true;
}

// A number: its own handler, else the other number handler converted, else "list".
bool route_number(t_object *x, const t_atom &num, t_symbol *sel) {
    t_class *c = x->o_messlist;
    const Syms &s = syms();
    t_atom a = num;
    bool is_int = num.a_type == A_LONG;
    MethodRec *first = is_int ? c->m_int : c->m_float;
    MethodRec *second = is_int ? c->m_float : c->m_int;
    if (first) {
        invoke(x, first, is_int ? s.int_ : s.float_, 1, &a);
        return true;
    }
    if (second) {
        if (is_int)
            atom_setfloat(&a, static_cast<double>(num.a_w.w_long));
        else
            atom_setlong(&a, to_long(num.a_w.w_float));
        invoke(x, second, is_int ? s.float_ : s.int_, 1, &a);
        return true;
    }
    if (c->m_list) {
        invoke(x, c->m_list, s.list, 1, &a);
        return true;
    }
    return to_anything(x, sel, 1, &a);
}

}  // namespace

namespace maxhost_core {

void *call_typed(method fn, void *self, const short *types, int ntypes, long ac, const t_atom *av) {
    intptr_t iv[kMaxTypedArgs + 1];
    double dv[kMaxTypedArgs];
    size_t ni = 0, nd = 0;
#if defined(_WIN32)
    unsigned mask = 0, n = 0;  // the doubles' positions, the arguments in declared order
    intptr_t slot[kMaxPositions];
#endif
    if (self) iv[ni++] = reinterpret_cast<intptr_t>(self);
    for (int i = 0; i < ntypes && i < kMaxTypedArgs; ++i) {
        const t_atom *a = (av && i < ac) ? &av[i] : nullptr;
        switch (types[i]) {
        case A_FLOAT:
        case A_DEFFLOAT:
#if defined(_WIN32)
            mask |= 1u << (ni + nd);
#endif
            dv[nd++] = a ? atom_getfloat(a) : 0.0;
            break;
        case A_SYM:
        case A_DEFSYM:
            iv[ni++] = reinterpret_cast<intptr_t>(a ? atom_getsym(a) : syms().empty);
            break;
        case A_OBJ:
            iv[ni++] = reinterpret_cast<intptr_t>(a ? atom_getobj(a) : nullptr);
            break;
        default:  // A_LONG, A_DEFLONG: missing arguments read as 0, floats are truncated
            iv[ni++] = static_cast<intptr_t>(a ? atom_getlong(a) : 0);
            break;
        }
    }
#if defined(_WIN32)
    for (size_t i = 0, k = 0; n < ni + nd; ++n) {
        if (mask & (1u << n))
            std::memcpy(&slot[n], &dv[k++], sizeof(double));
        else
            slot[n] = iv[i++];
    }
    return kPositionalCallers[(1u << n) - 1 + mask](fn, slot);
#else
    return kCallers[ni][nd](fn, iv, dv);
#endif
}

EventScope::EventScope() { ++event_depth; }

EventScope::~EventScope() {
    --event_depth;
    end_of_chain();
}

bool chain_dropped() { return dropping; }

bool deliver(t_object *x, t_symbol *sel, long ac, t_atom *av) {
    if (dropping) return false;
    if (delivery_depth >= kMaxDeliveryDepth) {
        report_error(std::string(x->o_messlist->name->s_name) + ": stack overflow: message \"" + sel->s_name +
                     "\" dropped, with the rest of its chain");
        dropping = true;
        ++overflows;
        return false;
    }
    DepthGuard depth;
    t_class *c = x->o_messlist;
    const Syms &s = syms();
    if (ac < 0 || !av) ac = 0;

    if (sel == s.list) {
        if (c->m_list) {
            invoke(x, c->m_list, sel, ac, av);
            return true;
        }
        if (ac == 1 && (av[0].a_type == A_LONG || av[0].a_type == A_FLOAT)) return route_number(x, av[0], sel);
        return to_anything(x, sel, ac, av);
    }
    if (sel == s.int_ || sel == s.float_) {
        t_atom a;
        if (ac > 0 && (av[0].a_type == A_LONG || av[0].a_type == A_FLOAT))
            a = av[0];
        else if (sel == s.int_)
            atom_setlong(&a, 0);
        else
            atom_setfloat(&a, 0.0);
        // "int 2.5" is still an int message; "float 3" a float one.
        if (sel == s.int_ && a.a_type == A_FLOAT) atom_setlong(&a, to_long(a.a_w.w_float));
        if (sel == s.float_ && a.a_type == A_LONG) atom_setfloat(&a, static_cast<double>(a.a_w.w_long));
        return route_number(x, a, sel);
    }
    if (sel == s.bang) {
        if (c->m_bang) {
            invoke(x, c->m_bang, sel, ac, av);
            return true;
        }
        return to_anything(x, sel, ac, av);
    }
    auto it = c->methods.find(sel);
    if (it != c->methods.end() && it->second->kind != CallKind::cant) {
        invoke(x, it->second, sel, ac, av);
        return true;
    }
    if (AttrRec *attr = find_attr(c, sel)) {
        attr_set(x, attr, ac, av);
        return true;
    }
    return to_anything(x, sel, ac, av);
}

}  // namespace maxhost_core

namespace maxhost {

bool send(t_object *x, t_symbol *selector, long argc, t_atom *argv) {
    if (!is_live(x)) {
        report_error("send: no such object");
        return false;
    }
    if (!selector) return false;
    return deliver(x, selector, argc, argv);
}

long overflow_count() { return overflows.load(); }

bool send_text(t_object *x, const std::string &text) {
    if (!is_live(x)) {
        report_error("send: no such object");
        return false;
    }
    std::vector<t_atom> atoms = parse_atoms(text);
    if (atoms.empty()) return false;
    const Syms &s = syms();
    const t_atom &first = atoms[0];
    if (first.a_type == A_LONG || first.a_type == A_FLOAT) {
        if (atoms.size() == 1) return deliver(x, first.a_type == A_LONG ? s.int_ : s.float_, 1, atoms.data());
        return deliver(x, s.list, static_cast<long>(atoms.size()), atoms.data());
    }
    t_symbol *sel = atom_getsym(&first);
    return deliver(x, sel, static_cast<long>(atoms.size() - 1), atoms.data() + 1);
}

}  // namespace maxhost
