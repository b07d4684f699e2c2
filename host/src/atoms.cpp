// Atoms: setting, converting reads, text in Max's own notation, and parsing message text.
#include "core_internal.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using maxhost_core::to_long;

namespace {

// Max's short float form: six decimals with trailing zeros dropped, the dot kept ("1.", "0.5").
std::string float_text(double f) {
    if (f != f) return "nan";
    if (f == 1.0 / 0.0) return "inf";
    if (f == -1.0 / 0.0) return "-inf";
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.6f", f);
    std::string s(buf);
    size_t dot = s.find('.');
    if (dot != std::string::npos) {
        size_t end = s.size();
        while (end > dot + 1 && s[end - 1] == '0') --end;
        s.resize(end);
    }
    return s;
}

std::string symbol_text(const t_symbol *s) {
    if (!s || !s->s_name) return std::string();
    const char *name = s->s_name;
    bool quote = false;
    for (const char *p = name; *p; ++p)
        if (*p == ' ' || *p == '\t' || *p == '\n') quote = true;
    if (!quote) return name;
    std::string out = "\"";
    for (const char *p = name; *p; ++p) {
        if (*p == '"' || *p == '\\') out += '\\';
        out += *p;
    }
    out += '"';
    return out;
}

// Does the whole token read as a number? [+-]? (digits [. digits?] | . digits) ([eE][+-]?digits)?
// Returns 0 for no, 1 for an integer, 2 for a float.
int number_kind(const std::string &t) {
    size_t i = 0, n = t.size();
    if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
    size_t int_digits = 0, frac_digits = 0;
    while (i < n && t[i] >= '0' && t[i] <= '9') ++i, ++int_digits;
    bool is_float = false;
    if (i < n && t[i] == '.') {
        is_float = true;
        ++i;
        while (i < n && t[i] >= '0' && t[i] <= '9') ++i, ++frac_digits;
    }
    if (int_digits + frac_digits == 0) return 0;
    if (i < n && (t[i] == 'e' || t[i] == 'E')) {
        size_t j = i + 1;
        if (j < n && (t[j] == '+' || t[j] == '-')) ++j;
        size_t exp_digits = 0;
        while (j < n && t[j] >= '0' && t[j] <= '9') ++j, ++exp_digits;
        if (exp_digits == 0) return 0;
        i = j;
        is_float = true;
    }
    if (i != n) return 0;
    return is_float ? 2 : 1;
}

void token_to_atom(const std::string &tok, bool quoted, t_atom *a) {
    if (!quoted) {
        int kind = number_kind(tok);
        if (kind == 1) {
            errno = 0;
            long long v = std::strtoll(tok.c_str(), nullptr, 10);
            if (errno != ERANGE) {
                atom_setlong(a, v);
                return;
            }
            kind = 2;  // too large for an integer: keep its value as a float
        }
        if (kind == 2) {
            atom_setfloat(a, std::strtod(tok.c_str(), nullptr));
            return;
        }
    }
    atom_setsym(a, gensym(tok.c_str()));
}

// Splits message text into atoms: white space separates, double quotes group, a backslash keeps
// the next character literally.
std::vector<t_atom> parse(const char *text) {
    std::vector<t_atom> out;
    if (!text) return out;
    const char *p = text;
    while (*p) {
        while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r') ++p;
        if (!*p) break;
        std::string tok;
        bool quoted = false, escaped = false;
        bool in_quotes = false;
        while (*p) {
            char c = *p;
            if (c == '\\' && p[1]) {
                tok += p[1];
                p += 2;
                escaped = true;
                continue;
            }
            if (c == '"') {
                in_quotes = !in_quotes;
                quoted = true;
                ++p;
                continue;
            }
            if (!in_quotes && (c == ' ' || c == '\t' || c == '\n' || c == '\r')) break;
            tok += c;
            ++p;
        }
        t_atom a;
        token_to_atom(tok, quoted || escaped, &a);
        out.push_back(a);
    }
    return out;
}

}  // namespace

extern "C" {

t_max_err atom_setlong(t_atom *a, t_atom_long b) {
    if (!a) return MAX_ERR_INVALID_PTR;
    a->a_type = A_LONG;
    a->a_w.w_long = b;
    return MAX_ERR_NONE;
}

t_max_err atom_setfloat(t_atom *a, double b) {
    if (!a) return MAX_ERR_INVALID_PTR;
    a->a_type = A_FLOAT;
    a->a_w.w_float = b;
    return MAX_ERR_NONE;
}

t_max_err atom_setsym(t_atom *a, t_symbol *b) {
    if (!a) return MAX_ERR_INVALID_PTR;
    a->a_type = A_SYM;
    a->a_w.w_sym = b ? b : maxhost_core::syms().empty;
    return MAX_ERR_NONE;
}

t_max_err atom_setobj(t_atom *a, void *b) {
    if (!a) return MAX_ERR_INVALID_PTR;
    a->a_type = A_OBJ;
    a->a_w.w_obj = static_cast<t_object *>(b);
    return MAX_ERR_NONE;
}

t_atom_long atom_getlong(C74_CONST t_atom *a) {
    if (!a) return 0;
    switch (a->a_type) {
    case A_LONG: return a->a_w.w_long;
    case A_FLOAT: return to_long(a->a_w.w_float);
    default: return 0;
    }
}

t_atom_float atom_getfloat(C74_CONST t_atom *a) {
    if (!a) return 0.0;
    switch (a->a_type) {
    case A_LONG: return static_cast<t_atom_float>(a->a_w.w_long);
    case A_FLOAT: return a->a_w.w_float;
    default: return 0.0;
    }
}

t_symbol *atom_getsym(C74_CONST t_atom *a) {
    if (a && a->a_type == A_SYM && a->a_w.w_sym) return a->a_w.w_sym;
    return maxhost_core::syms().empty;
}

void *atom_getobj(C74_CONST t_atom *a) {
    if (a && a->a_type == A_OBJ) return a->a_w.w_obj;
    return nullptr;
}

long atom_gettype(C74_CONST t_atom *a) { return a ? static_cast<long>(a->a_type) : static_cast<long>(A_NOTHING); }

t_max_err atom_gettext(long ac, t_atom *av, long *textsize, char **text, long /*flags*/) {
    if (!textsize || !text || (ac > 0 && !av)) return MAX_ERR_INVALID_PTR;
    std::string s = maxhost::atoms_to_text(ac < 0 ? 0 : ac, av);
    if (!*text) {
        char *buf = sysmem_newptr(s.size() + 1);
        if (!buf) return MAX_ERR_OUT_OF_MEM;
        std::memcpy(buf, s.c_str(), s.size() + 1);
        *text = buf;
        *textsize = static_cast<long>(s.size() + 1);
        return MAX_ERR_NONE;
    }
    if (*textsize <= 0) return MAX_ERR_GENERIC;
    // A block too small for the whole text is enlarged (the caller's block comes from sysmem, as
    // in Max, and the caller frees whichever block *text ends at), so no number is cut in two.
    // Only if that fails is the text cut to the block.
    if (s.size() + 1 > static_cast<size_t>(*textsize)) {
        if (char *bigger = sysmem_resizeptr(*text, s.size() + 1)) {
            *text = bigger;
            *textsize = static_cast<long>(s.size() + 1);
        }
    }
    size_t n = std::min(s.size(), static_cast<size_t>(*textsize - 1));
    std::memcpy(*text, s.data(), n);
    (*text)[n] = '\0';
    return MAX_ERR_NONE;
}

t_max_err atom_setparse(long *ac, t_atom **av, C74_CONST char *parsestr) {
    if (!ac || !av) return MAX_ERR_INVALID_PTR;
    std::vector<t_atom> atoms = parse(parsestr);
    if (!*av) {
        if (atoms.empty()) {
            *ac = 0;
            return MAX_ERR_NONE;
        }
        *av = reinterpret_cast<t_atom *>(sysmem_newptr(atoms.size() * sizeof(t_atom)));
        if (!*av) return MAX_ERR_OUT_OF_MEM;
        *ac = static_cast<long>(atoms.size());
    } else if (*ac > static_cast<long>(atoms.size()) || *ac < 0) {
        *ac = static_cast<long>(atoms.size());
    }
    // A caller's buffer of *ac atoms is never overrun: extra atoms are dropped.
    for (long i = 0; i < *ac; ++i) (*av)[i] = atoms[static_cast<size_t>(i)];
    return MAX_ERR_NONE;
}

t_max_err atom_alloc(long *ac, t_atom **av, char *alloc) {
    if (!ac || !av) return MAX_ERR_INVALID_PTR;
    if (*av && *ac > 0) {
        if (alloc) *alloc = 0;
        return MAX_ERR_NONE;
    }
    *av = reinterpret_cast<t_atom *>(sysmem_newptrclear(sizeof(t_atom)));
    if (!*av) return MAX_ERR_OUT_OF_MEM;
    *ac = 1;
    if (alloc) *alloc = 1;
    return MAX_ERR_NONE;
}

t_max_err atom_alloc_array(long minsize, long *ac, t_atom **av, char *alloc) {
    if (!ac || !av) return MAX_ERR_INVALID_PTR;
    if (minsize < 1) minsize = 1;
    if (*av && *ac >= minsize) {
        if (alloc) *alloc = 0;
        return MAX_ERR_NONE;
    }
    // A count whose byte size wraps around would give a small block with a large count.
    if (static_cast<t_ptr_size>(minsize) > static_cast<t_ptr_size>(-1) / sizeof(t_atom)) return MAX_ERR_OUT_OF_MEM;
    *av = reinterpret_cast<t_atom *>(sysmem_newptrclear(static_cast<t_ptr_size>(minsize) * sizeof(t_atom)));
    if (!*av) return MAX_ERR_OUT_OF_MEM;
    *ac = minsize;
    if (alloc) *alloc = 1;
    return MAX_ERR_NONE;
}

}  // extern "C"

namespace maxhost {

std::vector<t_atom> parse_atoms(const std::string &text) { return parse(text.c_str()); }

std::string atom_to_text(const t_atom &a) {
    switch (a.a_type) {
    case A_LONG: return std::to_string(static_cast<long long>(a.a_w.w_long));
    case A_FLOAT: return float_text(a.a_w.w_float);
    case A_SYM: return symbol_text(a.a_w.w_sym);
    case A_SEMI: return ";";
    case A_COMMA: return ",";
    case A_OBJ: return "<object>";
    default: return std::string();
    }
}

std::string atoms_to_text(long argc, const t_atom *argv) {
    std::string out;
    if (!argv) return out;
    for (long i = 0; i < argc; ++i) {
        if (i) out += ' ';
        out += atom_to_text(argv[i]);
    }
    return out;
}

}  // namespace maxhost
