// maxref: writes the reference page (<class>.maxref.xml) of each external from what its class
// registers, merged with the prose written for it, and fails when the two disagree.
//
//   maxref --prose DIR --out DIR [--path DIR]... CLASS...
//
// The class gives the messages (in registration order, with their argument types), the
// attributes (type, the metadata it registers: label, category, order, ...; the clip range and the
// value a new instance holds, written into the description), the outlets and the inlet's assist
// text. The prose
// file DIR/<class>.json gives the words: digests and descriptions of the object, its arguments,
// inlet, outlets, messages and attributes. A registered message or attribute without prose, prose
// for something the class does not register, and prose for a hidden method are all errors, so a
// page can never describe an object other than the one that ships; so are an attribute shown in the
// inspector without a registered label or category, and a label in the prose (the class gives it).
#include "../common/json.h"
#include "maxhost/runtime.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char *kUsage = "usage: maxref --prose DIR --out DIR [--path DIR]... CLASS...\n";

std::string escape(const std::string &s) {
    std::string out;
    for (char c : s) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

// The shortest decimal text that reads back as the same double.
std::string number(double v) {
    char buf[64];
    if (v == std::floor(v) && std::fabs(v) < 1e15) {
        std::snprintf(buf, sizeof buf, "%.0f", v);
        return buf;
    }
    for (int precision = 1; precision <= 17; ++precision) {
        std::snprintf(buf, sizeof buf, "%.*g", precision, v);
        if (std::strtod(buf, nullptr) == v) break;
    }
    return buf;
}

// The same for a value held in single precision: the shortest text that reads back as that float.
std::string number_f32(double v) {
    float f = static_cast<float>(v);
    char buf[64];
    for (int precision = 1; precision <= 9; ++precision) {
        std::snprintf(buf, sizeof buf, "%.*g", precision, static_cast<double>(f));
        if (static_cast<float>(std::strtod(buf, nullptr)) == f) break;
    }
    return buf;
}

std::string type_name(short t, bool *optional) {
    *optional = t == A_DEFLONG || t == A_DEFFLOAT || t == A_DEFSYM;
    switch (t) {
    case A_LONG:
    case A_DEFLONG: return "int";
    case A_FLOAT:
    case A_DEFFLOAT: return "float";
    case A_SYM:
    case A_DEFSYM: return "symbol";
    case A_GIMME: return "list";
    default: return "atom";
    }
}

std::string attr_type_name(const std::string &t) {
    if (t == "long" || t == "char" || t == "int32") return "int";
    if (t == "float32" || t == "float64") return "float";
    return t;
}

bool flagged(const std::vector<t_atom> &v) {
    return !v.empty() && atom_getlong(&v[0]) != 0;
}

struct Generator {
    std::string prose_dir, out_dir;
    std::vector<std::string> errors;
    std::string cls;  // class being written, for messages

    void error(const std::string &what) { errors.push_back("maxref: " + cls + ": " + what); }

    std::string text_of(const maxjson::Value *v, const char *key, const std::string &where) {
        std::string s = v ? v->str(key) : "";
        if (s.empty()) error(where + " has no " + key + " in its prose");
        return s;
    }

    void element(std::ostringstream &x, const std::string &indent, const char *tag, const std::string &text) {
        x << indent << "<" << tag << ">" << escape(text) << "</" << tag << ">\n";
    }

    // A metadata value as text: one symbol as it is (a label of several words), else atoms as Max writes them.
    static std::string meta_text(const std::vector<t_atom> &value) {
        if (value.size() == 1 && value[0].a_type == A_SYM) return value[0].a_w.w_sym->s_name;
        return maxhost::atoms_to_text(static_cast<long>(value.size()), value.data());
    }

    // One registered metadata entry of an attribute, typed by its key or by its atoms.
    void meta_attribute(std::ostringstream &x, const std::string &key, const std::vector<t_atom> &value) {
        std::string type = "int";
        if (key == "label" || key == "category" || key == "style") type = "symbol";
        else if (key == "enumvals") type = "atom";
        else
            for (const t_atom &a : value) {
                if (a.a_type == A_FLOAT && type == "int") type = "float";
                if (a.a_type == A_SYM) type = value.size() == 1 ? "symbol" : "atom";
            }
        x << "        <attribute name=\"" << escape(key) << "\" get=\"1\" set=\"1\" type=\"" << type
          << "\" size=\"" << value.size() << "\" value=\"" << escape(meta_text(value)) << "\" />\n";
    }

    // Where an outlet sits, as Max's pages say it ("left outlet", "second outlet", "right outlet").
    static std::string outlet_place(int i, int count) {
        static const char *const ordinals[] = {"second", "third", "fourth", "fifth", "sixth", "seventh"};
        if (count == 1) return "the outlet";
        if (i == 0) return "left outlet";
        if (i == count - 1) return "right outlet";
        return i - 1 < 6 ? std::string(ordinals[i - 1]) + " outlet" : "outlet " + std::to_string(i + 1);
    }

    bool write(const std::string &name) {
        cls = name;
        size_t errors_before = errors.size();
        std::string load_error;
        t_class *c = maxhost::find_class(name, &load_error);
        if (!c) {
            error("cannot load the class (" + load_error + ")");
            return false;
        }
        std::string prose_path = (fs::path(prose_dir) / (name + ".json")).string();
        maxjson::Value prose;
        std::string parse_error;
        if (!maxjson::parse_file(prose_path, &prose, &parse_error)) {
            error("no prose: " + parse_error + " (write one: see the other objects' files)");
            return false;
        }
        t_object *x = maxhost::create(name, 0, nullptr, &load_error);
        if (!x) {
            error("cannot make an instance (" + load_error + ")");
            return false;
        }

        std::ostringstream out;
        out << "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>\n";
        out << "<?xml-stylesheet href=\"./_c74_ref.xsl\" type=\"text/xsl\"?>\n";
        out << "<!-- Generated by maxref from the " << escape(name) << " class and its prose: do not edit. -->\n";
        out << "<c74object name=\"" << escape(name) << "\" module=\"max\" category=\""
            << escape(prose.str("category", "maxlearn")) << "\">\n";
        element(out, "  ", "digest", text_of(&prose, "digest", "the object"));
        element(out, "  ", "description", text_of(&prose, "description", "the object"));
        if (prose.get("discussion")) element(out, "  ", "discussion", text_of(&prose, "discussion", "the object"));

        out << "  <metadatalist>\n";
        out << "    <metadata name=\"author\">" << escape(prose.str("author", "maxlearn")) << "</metadata>\n";
        if (const maxjson::Value *tags = prose.get("tags")) {
            for (const maxjson::Value &t : tags->items) out << "    <metadata name=\"tag\">" << escape(t.text) << "</metadata>\n";
        }
        out << "  </metadatalist>\n";

        out << "  <objarglist>\n";
        if (const maxjson::Value *args = prose.get("arguments")) {
            for (const maxjson::Value &a : args->items) {
                std::string argname = a.str("name");
                std::string where = "argument \"" + argname + "\"";
                const maxjson::Value *opt = a.get("optional");
                out << "    <objarg name=\"" << escape(argname) << "\" optional=\"" << (opt && opt->boolean ? 1 : 0)
                    << "\" type=\"" << escape(text_of(&a, "type", where)) << "\">\n";
                element(out, "      ", "digest", text_of(&a, "digest", where));
                element(out, "      ", "description", text_of(&a, "description", where));
                out << "    </objarg>\n";
            }
        }
        out << "  </objarglist>\n";

        messages(out, c, prose.get("messages"));
        attributes(out, c, x, prose.get("attributes"));
        // The one inlet every object has.
        const maxjson::Value *inlets = prose.get("inlets");
        if (!inlets || inlets->items.size() != 1) error("the prose must describe exactly 1 inlet");
        out << "  <inletlist>\n    <inlet id=\"0\" type=\"INLET_TYPE\">\n";
        element(out, "      ", "digest", inlets && !inlets->items.empty() ? text_of(&inlets->items[0], "digest", "inlet 0") : "");
        element(out, "      ", "description", maxhost::assist(x, 1, 0));
        out << "    </inlet>\n  </inletlist>\n";

        int outlet_count = maxhost::outlet_count(x);
        const maxjson::Value *outlets = prose.get("outlets");
        size_t described = outlets ? outlets->items.size() : 0;
        if (described != static_cast<size_t>(outlet_count)) {
            error("the class has " + std::to_string(outlet_count) + " outlets, the prose describes " +
                  std::to_string(described));
        }
        out << "  <outletlist>\n";
        for (int i = 0; i < outlet_count; ++i) {
            std::string where = "outlet " + std::to_string(i);
            const maxjson::Value *o = static_cast<size_t>(i) < described ? &outlets->items[static_cast<size_t>(i)] : nullptr;
            std::string type = maxhost::outlet_type(x, i);
            out << "    <outlet id=\"" << i << "\" type=\"" << escape(type.empty() ? "OUTLET_TYPE" : type) << "\">\n";
            element(out, "      ", "digest", o ? text_of(o, "digest", where) : "");
            element(out, "      ", "description", o ? text_of(o, "description", where) : "");
            out << "    </outlet>\n";
        }
        out << "  </outletlist>\n";


        out << "  <seealsolist>\n";
        if (const maxjson::Value *see = prose.get("seealso")) {
            for (const maxjson::Value &s : see->items) out << "    <seealso name=\"" << escape(s.text) << "\" />\n";
        }
        out << "  </seealsolist>\n";
        output_misc(out, x, outlets);
        out << "</c74object>\n";
        object_free(x);

        if (errors.size() != errors_before) return false;
        fs::path path = fs::path(out_dir) / (name + ".maxref.xml");
        std::ofstream file(path, std::ios::binary);
        file << out.str();
        if (!file.flush()) {
            error("cannot write " + path.string());
            return false;
        }
        return true;
    }

    void messages(std::ostringstream &out, t_class *c, const maxjson::Value *prose) {
        out << "  <methodlist>\n";
        for (const std::string &m : maxhost::method_names(c)) {
            std::vector<short> types = maxhost::method_arg_types(c, m);
            std::vector<t_atom> hidden;
            bool is_hidden = maxhost::method_meta(c, m, "undocumented", &hidden) && flagged(hidden);
            bool internal = !types.empty() && types[0] == A_CANT;  // called by Max itself ("assist")
            const maxjson::Value *p = prose ? prose->get(m) : nullptr;
            if (is_hidden || internal) {
                if (p) {
                    error("the prose documents the message \"" + m + "\", which the class " +
                          (is_hidden ? "hides (undocumented)" : "does not take from a patch"));
                }
                continue;
            }
            std::string where = "the message \"" + m + "\"";
            if (!p) {
                error(where + " has no prose");
                continue;
            }
            out << "    <method name=\"" << escape(m) << "\">\n";
            const maxjson::Value *names = p->get("arguments");
            if (names && names->items.size() != types.size()) {
                error(where + " takes " + std::to_string(types.size()) + " arguments, its prose names " +
                      std::to_string(names->items.size()));
            }
            if (types.empty()) {
                out << "      <arglist />\n";
            } else {
                out << "      <arglist>\n";
                for (size_t i = 0; i < types.size(); ++i) {
                    bool optional = false;
                    std::string type = type_name(types[i], &optional);
                    std::string argname = names && i < names->items.size() ? names->items[i].text : type;
                    out << "        <arg name=\"" << escape(argname) << "\" optional=\"" << (optional ? 1 : 0)
                        << "\" type=\"" << type << "\" />\n";
                }
                out << "      </arglist>\n";
            }
            element(out, "      ", "digest", text_of(p, "digest", where));
            element(out, "      ", "description", text_of(p, "description", where));
            out << "    </method>\n";
        }
        out << "  </methodlist>\n";
        if (prose) {
            for (const auto &member : prose->members) {
                if (!has_method(c, member.first))
                    error("the prose documents the message \"" + member.first + "\", which the class does not register");
            }
        }
    }

    static bool has_method(t_class *c, const std::string &m) {
        for (const std::string &n : maxhost::method_names(c)) {
            if (n == m) return true;
        }
        return false;
    }

    // The clip range and the value a new instance holds, as read from the class: no prose can drift.
    static std::string range_and_default(t_class *c, t_object *x, const std::string &a,
                                         const maxhost::AttributeInfo &info) {
        std::vector<t_atom> names, value;
        bool enumerated = maxhost::attribute_meta(c, a, "enumvals", &names);
        std::string text;
        // A bound at the type's own limit clips nothing a user can type.
        bool top = info.clip_max && info.max < (info.type == "long" ? 2147483647.0 : 3.4e38);
        if (!enumerated && info.clip_min && top)
            text += " Range: " + number(info.min) + " to " + number(info.max) + " (values outside are clipped).";
        else if (!enumerated && info.clip_min)
            text += " Range: " + number(info.min) + " or more (lower values are clipped).";
        else if (!enumerated && top)
            text += " Range: up to " + number(info.max) + " (higher values are clipped).";
        if (maxhost::get_attribute(x, a, &value) && value.size() == 1) {
            const t_atom &v = value[0];
            long index = v.a_type == A_LONG ? static_cast<long>(v.a_w.w_long) : -1;
            if (enumerated && index >= 0 && static_cast<size_t>(index) < names.size())
                text += " Default: " + maxhost::atom_to_text(names[static_cast<size_t>(index)]) + ".";
            else if (v.a_type == A_LONG || v.a_type == A_FLOAT)
                text += " Default: " + (info.type == "float32" ? number_f32(atom_getfloat(&v)) : number(atom_getfloat(&v))) + ".";
        }
        return text;
    }

    // What comes out, by type, as Max's pages list it: each outlet's prose under the type it sends.
    void output_misc(std::ostringstream &out, t_object *x, const maxjson::Value *outlets) {
        int count = maxhost::outlet_count(x);
        std::vector<std::pair<std::string, std::string>> entries;
        for (int i = 0; i < count; ++i) {
            const maxjson::Value *o = outlets && static_cast<size_t>(i) < outlets->items.size()
                                          ? &outlets->items[static_cast<size_t>(i)]
                                          : nullptr;
            std::string type = maxhost::outlet_type(x, i);
            if (type.empty()) type = "anything";
            std::string said = "Out " + outlet_place(i, count) + ": " + (o ? o->str("description") : "");
            auto it = std::find_if(entries.begin(), entries.end(), [&](const auto &e) { return e.first == type; });
            if (it == entries.end()) entries.emplace_back(type, said);
            else it->second += " " + said;
        }
        if (entries.empty()) return;
        out << "  <misc name=\"Output\">\n";
        for (const auto &e : entries) {
            out << "    <entry name=\"" << escape(e.first) << "\">\n";
            element(out, "      ", "description", e.second);
            out << "    </entry>\n";
        }
        out << "  </misc>\n";
    }

    void attributes(std::ostringstream &out, t_class *c, t_object *x, const maxjson::Value *prose) {
        std::set<std::string> registered;
        out << "  <attributelist>\n";
        for (const std::string &a : maxhost::attribute_names(c)) {
            registered.insert(a);
            std::vector<t_atom> v;
            bool is_hidden = maxhost::attribute_meta(c, a, "undocumented", &v) && flagged(v);
            const maxjson::Value *p = prose ? prose->get(a) : nullptr;
            std::string where = "the attribute \"" + a + "\"";
            if (is_hidden) {
                if (p) error("the prose documents " + where + ", which the class hides (undocumented)");
                continue;
            }
            if (!p) {
                error(where + " has no prose");
                continue;
            }
            for (const char *key : {"label", "category"}) {
                if (!maxhost::attribute_meta(c, a, key, nullptr))
                    error(where + " registers no " + key + " for the inspector (CLASS_ATTR_" +
                          (key[0] == 'l' ? "LABEL" : "CATEGORY") + ")");
            }
            if (p->get("label")) error("the prose gives " + where + " a label; the class registers it");
            maxhost::AttributeInfo info;
            maxhost::attribute_info(c, a, &info);
            out << "    <attribute name=\"" << escape(a) << "\" get=\"1\" set=\"1\" type=\""
                << escape(attr_type_name(info.type)) << "\" size=\"1\">\n";
            element(out, "      ", "digest", text_of(p, "digest", where));
            element(out, "      ", "description", text_of(p, "description", where) + range_and_default(c, x, a, info));
            out << "      <attributelist>\n";
            for (const std::string &key : maxhost::attribute_meta_names(c, a)) {
                std::vector<t_atom> m;
                if (key != "undocumented" && maxhost::attribute_meta(c, a, key, &m)) meta_attribute(out, key, m);
            }
            out << "      </attributelist>\n    </attribute>\n";
        }
        out << "  </attributelist>\n";
        if (prose) {
            for (const auto &member : prose->members) {
                if (!registered.count(member.first))
                    error("the prose documents the attribute \"" + member.first + "\", which the class does not register");
            }
        }
    }
};

}  // namespace

int main(int argc, char **argv) {
    Generator g;
    std::vector<std::string> classes;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        bool has_value = i + 1 < argc;
        if (arg == "--prose" && has_value) g.prose_dir = argv[++i];
        else if (arg == "--out" && has_value) g.out_dir = argv[++i];
        else if (arg == "--path" && has_value) maxhost::add_search_path(argv[++i]);
        else if (!arg.empty() && arg[0] == '-') {
            std::fputs(kUsage, stderr);
            return 2;
        } else classes.push_back(arg);
    }
    if (g.prose_dir.empty() || g.out_dir.empty() || classes.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    std::error_code ec;
    fs::create_directories(g.out_dir, ec);

    // A prose file for a class that is not built documents an object that does not ship.
    std::set<std::string> wanted(classes.begin(), classes.end());
    for (const auto &entry : fs::directory_iterator(g.prose_dir, ec)) {
        if (entry.path().extension() == ".json" && !wanted.count(entry.path().stem().string())) {
            g.errors.push_back("maxref: " + entry.path().string() + " documents \"" + entry.path().stem().string() +
                               "\", which is not one of the classes built (" + std::to_string(classes.size()) + ")");
        }
    }
    if (ec) g.errors.push_back("maxref: cannot read the prose folder " + g.prose_dir);

    for (const std::string &c : classes) g.write(c);
    for (const std::string &e : g.errors) std::fprintf(stderr, "%s\n", e.c_str());
    return g.errors.empty() ? 0 : 1;
}
