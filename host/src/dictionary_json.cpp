// Dictionaries as JSON files. Reading streams the text through a SAX parser straight into
// dictionaries and atom arrays (no document tree in between); writing streams the text to a
// temporary file beside the target and renames it over the target, so a failed write never
// leaves a truncated file in place of a good one. Reals are written in their shortest form that
// reads back to the same double, always with a '.' or an exponent so they read back as reals.
#include "dictionary_internal.h"
#include "paths_internal.h"
#include "svc_internal.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

// ---------------------------------------------------------------------------------------------
// Reading
// ---------------------------------------------------------------------------------------------

constexpr size_t kMaxDepth = 256;  // nesting beyond this is refused rather than recursed into

// Builds dictionaries and atom arrays as the parser reports values. Open containers are kept on
// a stack: a dictionary waiting for the value of `key`, or an array collecting atoms.
class Builder : public nlohmann::json_sax<nlohmann::json> {
public:
    ~Builder() override {
        for (Frame &f : stack_) release(f);
        if (root_) object_free(root_);
    }

    // The finished top-level dictionary, handed over to the caller.
    t_dictionary *take() {
        t_dictionary *d = root_;
        root_ = nullptr;
        return d;
    }

    bool null() override {
        t_atom a;
        atom_setsym(&a, gensym("null"));
        return add_atom(a, false);
    }
    bool boolean(bool val) override { return add_long(val ? 1 : 0); }
    bool number_integer(number_integer_t val) override { return add_long(static_cast<t_atom_long>(val)); }
    bool number_unsigned(number_unsigned_t val) override {
        if (val <= static_cast<number_unsigned_t>(INT64_MAX)) return add_long(static_cast<t_atom_long>(val));
        t_atom a;
        atom_setfloat(&a, static_cast<double>(val));
        return add_atom(a, false);
    }
    bool number_float(number_float_t val, const string_t &) override {
        t_atom a;
        atom_setfloat(&a, val);
        return add_atom(a, false);
    }
    bool string(string_t &val) override {
        t_atom a;
        atom_setsym(&a, gensym(val.c_str()));
        return add_atom(a, true);
    }
    bool binary(binary_t &) override { return false; }

    bool start_object(std::size_t) override {
        if (stack_.size() >= kMaxDepth || (stack_.empty() && root_)) return false;
        t_dictionary *d = dictionary_new();
        if (!d) return false;
        Frame f;
        f.dict = d;
        stack_.push_back(f);
        return true;
    }
    bool key(string_t &val) override {
        stack_.back().key = gensym(val.c_str());
        return true;
    }
    bool end_object() override {
        Frame f = stack_.back();
        stack_.pop_back();
        if (stack_.empty()) {
            root_ = f.dict;
            return true;
        }
        t_atom a;
        atom_setobj(&a, f.dict);
        return add_child(a, reinterpret_cast<t_object *>(f.dict));
    }
    bool start_array(std::size_t) override {
        if (stack_.empty() || stack_.size() >= kMaxDepth) return false;  // the top level is a dictionary
        Frame f;
        f.array = new ArrayBuild;
        stack_.push_back(f);
        return true;
    }
    bool end_array() override {
        Frame f = stack_.back();
        stack_.pop_back();
        const bool nested = f.array->owns_nested_objects;
        t_atomarray *arr = f.array->all_integers ? maxhost_svc::atomarray_adopt_integers(std::move(f.array->integers))
                                                 : maxhost_svc::atomarray_adopt(std::move(f.array->atoms));
        if (!arr) {
            release(f);
            return false;
        }
        delete f.array;
        t_atom a;
        atom_setobj(&a, arr);
        auto *obj = reinterpret_cast<t_object *>(arr);
        Frame &parent = stack_.back();
        if (parent.dict) {
            t_max_err err = nested ? maxhost_dict::append_owned_array(parent.dict, parent.key, obj)
                                   : dictionary_appendatomarray(parent.dict, parent.key, obj);
            if (err != MAX_ERR_NONE) maxhost_dict::free_owned(obj);
            return err == MAX_ERR_NONE;
        }
        parent.array->push(a);
        parent.array->owns_nested_objects = true;
        return true;
    }
    bool parse_error(std::size_t, const std::string &, const nlohmann::detail::exception &) override { return false; }

private:
    // An open array. While every value is an integer within 32 bits it is kept as integers (a
    // quarter of the atoms' size: model files hold arrays of hundreds of thousands of them).
    struct ArrayBuild {
        std::vector<std::int32_t> integers;
        std::vector<t_atom> atoms;
        bool all_integers = true;
        bool owns_nested_objects = false;

        void push(const t_atom &a) {
            if (all_integers && a.a_type == A_LONG && a.a_w.w_long >= INT32_MIN && a.a_w.w_long <= INT32_MAX) {
                integers.push_back(static_cast<std::int32_t>(a.a_w.w_long));
                return;
            }
            if (all_integers) {
                atoms.reserve(integers.size() + 1);
                for (std::int32_t v : integers) {
                    t_atom n;
                    atom_setlong(&n, v);
                    atoms.push_back(n);
                }
                std::vector<std::int32_t>().swap(integers);
                all_integers = false;
            }
            atoms.push_back(a);
        }
    };

    struct Frame {
        t_dictionary *dict = nullptr;  // an open dictionary...
        t_symbol *key = nullptr;       // ...and the key of its next value
        ArrayBuild *array = nullptr;   // or an open array
    };

    static void release(Frame &f) {
        if (f.dict) object_free(f.dict);
        if (f.array) {
            for (t_atom &a : f.array->atoms)
                if (a.a_type == A_OBJ && a.a_w.w_obj) maxhost_dict::free_owned(a.a_w.w_obj);
            delete f.array;
        }
        f.dict = nullptr;
        f.array = nullptr;
    }

    bool add_long(t_atom_long v) {
        t_atom a;
        atom_setlong(&a, v);
        return add_atom(a, false);
    }

    bool add_atom(const t_atom &a, bool is_string) {
        if (stack_.empty()) return false;  // a bare value at the top level is no dictionary
        Frame &f = stack_.back();
        if (f.array) {
            f.array->push(a);
            return true;
        }
        if (is_string) return maxhost_dict::append_string_symbol(f.dict, f.key, a.a_w.w_sym) == MAX_ERR_NONE;
        t_atom copy = a;
        return dictionary_appendatom(f.dict, f.key, &copy) == MAX_ERR_NONE;
    }

    // A finished sub-dictionary goes into its parent dictionary or array.
    bool add_child(t_atom a, t_object *child) {
        Frame &f = stack_.back();
        if (f.array) {
            f.array->push(a);
            f.array->owns_nested_objects = true;
            return true;
        }
        if (dictionary_appenddictionary(f.dict, f.key, child) != MAX_ERR_NONE) {
            object_free(child);
            return false;
        }
        return true;
    }

    std::vector<Frame> stack_;
    t_dictionary *root_ = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Writing
// ---------------------------------------------------------------------------------------------

// The text as it is made, handed to the file a piece at a time: a large model is never held
// whole as text beside its dictionary.
struct Text {
    static constexpr size_t kPiece = 1 << 16;
    std::string s;
    FILE *file = nullptr;
    bool failed = false;

    void spill() {
        if (s.size() >= kPiece) flush();
    }
    bool flush() {
        if (!s.empty() && std::fwrite(s.data(), 1, s.size(), file) != s.size()) failed = true;
        s.clear();
        return !failed;
    }
};

void put_string(Text &out, const char *s) {
    out.s += '"';
    for (const unsigned char *p = reinterpret_cast<const unsigned char *>(s); *p; ++p) {
        unsigned char c = *p;
        switch (c) {
            case '"': out.s += "\\\""; break;
            case '\\': out.s += "\\\\"; break;
            case '\n': out.s += "\\n"; break;
            case '\r': out.s += "\\r"; break;
            case '\t': out.s += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out.s += buf;
                } else {
                    out.s += static_cast<char>(c);
                }
        }
    }
    out.s += '"';
}

bool put_real(Text &out, double v) {
    if (!std::isfinite(v)) return false;  // JSON has no NaN or infinity
    char buf[32];
    std::to_chars_result r = std::to_chars(buf, buf + sizeof buf, v);
    if (r.ec != std::errc()) return false;
    std::string text(buf, r.ptr);
    if (text.find_first_of(".eE") == std::string::npos) text += ".0";
    out.s += text;
    return true;
}

void put_long(Text &out, long long v) {
    char buf[32];
    std::to_chars_result r = std::to_chars(buf, buf + sizeof buf, v);
    out.s.append(buf, r.ptr);
}

bool put_dictionary(Text &out, const t_dictionary *d, int depth);
bool put_array(Text &out, t_atomarray *arr, int depth);

void indent(Text &out, int depth) { out.s.append(static_cast<size_t>(depth), '\t'); }

bool put_atom(Text &out, const t_atom &a, int depth) {
    switch (a.a_type) {
        case A_LONG: put_long(out, a.a_w.w_long); return true;
        case A_FLOAT: return put_real(out, a.a_w.w_float);
        case A_SYM: put_string(out, a.a_w.w_sym ? a.a_w.w_sym->s_name : ""); return true;
        case A_OBJ: {
            t_object *o = a.a_w.w_obj;
            if (maxhost_dict::is_dictionary(o)) return put_dictionary(out, reinterpret_cast<t_dictionary *>(o), depth);
            if (maxhost_dict::is_atomarray(o)) return put_array(out, reinterpret_cast<t_atomarray *>(o), depth);
            return false;
        }
        default: return false;
    }
}

// An array's values, written straight from its integers while it holds them as such.
bool put_array(Text &out, t_atomarray *arr, int depth) {
    if (depth >= static_cast<int>(kMaxDepth)) return false;
    out.s += "[ ";
    bool ok = true;
    const bool integers = maxhost_svc::atomarray_with_integers(arr, [&](const std::int32_t *v, size_t n) {
        for (size_t i = 0; i < n; ++i) {
            if (i) out.s += ", ";
            put_long(out, v[i]);
            out.spill();
        }
    });
    if (!integers) {
        long ac = 0;
        t_atom *av = nullptr;
        if (atomarray_getatoms(arr, &ac, &av) != MAX_ERR_NONE) return false;
        for (long i = 0; i < ac && ok; ++i) {
            if (i) out.s += ", ";
            ok = put_atom(out, av[i], depth + 1);
            out.spill();
        }
    }
    out.s += " ]";
    return ok;
}

bool put_dictionary(Text &out, const t_dictionary *d, int depth) {
    if (depth >= static_cast<int>(kMaxDepth)) return false;
    bool ok = true, first = true;
    out.s += "{\n";
    maxhost_dict::for_each(d, [&](const maxhost_dict::EntryView &e) {
        if (!ok) return;
        if (!first) out.s += ",\n";
        first = false;
        indent(out, depth + 1);
        put_string(out, e.key->s_name);
        out.s += " : ";
        if (e.dictionary)
            ok = put_dictionary(out, e.dictionary, depth + 1);
        else if (e.single)
            ok = put_atom(out, *e.single, depth + 1);
        else
            ok = put_array(out, e.array, depth);
        out.spill();
    });
    out.s += '\n';
    indent(out, depth);
    out.s += '}';
    return ok;
}

// Writes the text to a temporary file in the target's folder as it is made, then renames it over
// the target (atomic on POSIX; on Windows the rename replaces an existing file too), so a failed
// write never leaves a truncated file in place of a good one.
t_max_err replace_file(const fs::path &target, const t_dictionary *d) {
    fs::path temp = target;
    temp += ".writing";
    Text out;
    out.file = std::fopen(temp.string().c_str(), "wb");
    if (!out.file) return MAX_ERR_GENERIC;
    t_max_err err = MAX_ERR_NONE;
    try {
        if (!put_dictionary(out, d, 0)) err = MAX_ERR_GENERIC;
        out.s += '\n';
    } catch (const std::bad_alloc &) {
        err = MAX_ERR_OUT_OF_MEM;
    }
    bool ok = err == MAX_ERR_NONE && out.flush();
    ok = std::fflush(out.file) == 0 && ok;
    ok = std::fclose(out.file) == 0 && ok;
    std::error_code ec;
    if (ok) fs::rename(temp, target, ec);
    if (!ok || ec) {
        fs::remove(temp, ec);
        return err != MAX_ERR_NONE ? err : static_cast<t_max_err>(MAX_ERR_GENERIC);
    }
    return MAX_ERR_NONE;
}

}  // namespace

namespace maxhost_dict {

t_dictionary *from_json(std::istream &in) {
    Builder b;
    bool ok = false;
    try {
        ok = nlohmann::json::sax_parse(in, &b, nlohmann::json::input_format_t::json, true);
    } catch (const std::exception &) {
        ok = false;
    }
    return ok ? b.take() : nullptr;
}

}  // namespace maxhost_dict

extern "C" {

t_max_err dictionary_read(const char *filename, short path, t_dictionary **d) {
    if (!d) return MAX_ERR_INVALID_PTR;
    *d = nullptr;
    std::string full;
    if (!filename || !*filename || !maxhost_paths::full_name(path, filename, &full)) return MAX_ERR_GENERIC;
    std::error_code ec;
    if (!fs::is_regular_file(full, ec)) return MAX_ERR_GENERIC;
    std::ifstream in(full, std::ios::binary);
    if (!in) return MAX_ERR_GENERIC;
    *d = maxhost_dict::from_json(in);
    return *d ? MAX_ERR_NONE : MAX_ERR_GENERIC;
}

t_max_err dictionary_write(t_dictionary *d, const char *filename, short path) {
    if (!d) return MAX_ERR_INVALID_PTR;
    std::string full;
    if (!filename || !*filename || !maxhost_paths::full_name(path, filename, &full)) return MAX_ERR_GENERIC;
    return replace_file(full, d);
}

}  // extern "C"
