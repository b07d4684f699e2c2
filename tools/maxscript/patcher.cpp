// Patcher files: maxscript opens Max's JSON patchers (help files, examples), makes an instance per
// object box and message box, a cord per line, and clicks message boxes. Also the small classes a
// patch needs beside the externals: print, loadbang and the message box itself.
#include "interpreter.h"

#include "../common/json.h"
#include "maxhost/runtime.h"

#include <cstdio>
#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace maxscript {

namespace {

// Class name of message boxes: it has a space, so no box text can name it.
const char *kMessageClass = "message box";

using maxhost::as_method;

// ---- print: prints what it receives, prefixed by its name ("print" unless the box names it) ----

struct t_print {
    t_object ob;
    t_symbol *name;
};
t_class *print_class = nullptr;

void *print_new(t_symbol *, long ac, t_atom *av) {
    auto *x = static_cast<t_print *>(object_alloc(print_class));
    if (!x) return nullptr;
    x->name = ac > 0 ? gensym(maxhost::atom_to_text(av[0]).c_str()) : gensym("print");
    return x;
}

void print_anything(t_print *x, t_symbol *s, long ac, t_atom *av) {
    print_line(std::string(x->name->s_name) + ": " + message_text(s, ac, av));
}

void print_setup() {
    print_class = class_new("print", as_method(print_new), nullptr, static_cast<long>(sizeof(t_print)), nullptr,
                            A_GIMME, 0);
    class_addmethod(print_class, as_method(print_anything), "list", A_GIMME, 0);
    class_addmethod(print_class, as_method(print_anything), "anything", A_GIMME, 0);
    class_register(CLASS_BOX, print_class);
}

// ---- loadbang: a bang once the patcher is loaded, and whenever it is clicked ----

struct t_loadbang {
    t_object ob;
    void *out;
};
t_class *loadbang_class = nullptr;

void *loadbang_new(t_symbol *, long, t_atom *) {
    auto *x = static_cast<t_loadbang *>(object_alloc(loadbang_class));
    if (!x) return nullptr;
    x->out = bangout(x);
    return x;
}

void loadbang_bang(t_loadbang *x) {
    outlet_bang(x->out);
}

void loadbang_setup() {
    loadbang_class = class_new("loadbang", as_method(loadbang_new), nullptr, static_cast<long>(sizeof(t_loadbang)),
                               nullptr, A_GIMME, 0);
    class_addmethod(loadbang_class, as_method(loadbang_bang), "bang", 0);
    class_addmethod(loadbang_class, as_method(loadbang_bang), "loadbang", 0);
    class_register(CLASS_BOX, loadbang_class);
}

// ---- message box: sends its text, comma-separated messages in turn, $1..$9 from the input ----

struct t_message {
    t_object ob;
    void *out;
    std::string *text;
    std::vector<t_atom> *input;  // the last message that came in, for $1..$9
};
t_class *message_class = nullptr;

void *message_new(t_symbol *, long, t_atom *) {
    auto *x = static_cast<t_message *>(object_alloc(message_class));
    if (!x) return nullptr;
    x->out = outlet_new(x, nullptr);
    x->text = new std::string;
    x->input = new std::vector<t_atom>;
    return x;
}

void message_free(t_message *x) {
    delete x->text;
    delete x->input;
}

// Replaces $1..$9 by the input's atoms; one missing from the input reads as 0, as in Max.
std::string substitute(const std::string &part, const std::vector<t_atom> &input) {
    std::string out;
    for (size_t i = 0; i < part.size(); ++i) {
        if (part[i] == '$' && i + 1 < part.size() && part[i + 1] >= '1' && part[i + 1] <= '9') {
            size_t k = static_cast<size_t>(part[i + 1] - '1');
            out += k < input.size() ? maxhost::atom_to_text(input[k]) : "0";
            ++i;
        } else {
            out += part[i];
        }
    }
    return out;
}

void send_one(void *out, std::vector<t_atom> &atoms) {
    if (atoms.empty()) return;
    const t_atom &first = atoms[0];
    short n = static_cast<short>(atoms.size() > 32767 ? 32767 : atoms.size());
    if (first.a_type == A_LONG || first.a_type == A_FLOAT) {
        if (n == 1 && first.a_type == A_LONG) outlet_int(out, first.a_w.w_long);
        else if (n == 1) outlet_float(out, first.a_w.w_float);
        else outlet_list(out, gensym("list"), n, atoms.data());
        return;
    }
    t_symbol *sel = atom_getsym(&first);
    if (sel == gensym("bang") && n == 1) outlet_bang(out);
    else if (sel == gensym("list")) outlet_list(out, sel, static_cast<short>(n - 1), atoms.data() + 1);
    else outlet_anything(out, sel, static_cast<short>(n - 1), atoms.data() + 1);
}

void message_output(t_message *x) {
    // Copies: a message sent downstream may come back and change the box.
    std::string text = *x->text;
    std::vector<t_atom> input = *x->input;
    if (text.find(';') != std::string::npos) {
        error("message box \"%s\": sending to named receivers (';') is not supported here", text.c_str());
        return;
    }
    std::stringstream parts(text);
    std::string part;
    while (std::getline(parts, part, ',')) {
        std::vector<t_atom> atoms = maxhost::parse_atoms(substitute(trim(part), input));
        send_one(x->out, atoms);
    }
}

void message_bang(t_message *x) {
    message_output(x);
}

void message_list(t_message *x, t_symbol *, long ac, t_atom *av) {
    x->input->assign(av, av + ac);
    message_output(x);
}

void message_anything(t_message *x, t_symbol *s, long ac, t_atom *av) {
    if (s == gensym("set")) {
        *x->text = maxhost::atoms_to_text(ac, av);
        return;
    }
    x->input->clear();
    t_atom head;
    atom_setsym(&head, s);
    x->input->push_back(head);
    x->input->insert(x->input->end(), av, av + ac);
    message_output(x);
}

void message_setup() {
    message_class = class_new(kMessageClass, as_method(message_new), as_method(message_free),
                              static_cast<long>(sizeof(t_message)), nullptr, A_GIMME, 0);
    class_addmethod(message_class, as_method(message_bang), "bang", 0);
    class_addmethod(message_class, as_method(message_list), "list", A_GIMME, 0);
    class_addmethod(message_class, as_method(message_anything), "anything", A_GIMME, 0);
    class_register(CLASS_BOX, message_class);
}

void add_patch_classes() {
    static bool added = false;
    if (added) return;
    added = true;
    maxhost::add_builtin("print", print_setup);
    maxhost::add_builtin("loadbang", loadbang_setup);
    maxhost::add_builtin(kMessageClass, message_setup);
}

long count_of(const maxjson::Value &box, const char *key, long fallback) {
    const maxjson::Value *v = box.get(key);
    return v && v->is_number() ? static_cast<long>(v->number) : fallback;
}

std::string in_quotes(const std::string &s) {
    return "\"" + s + "\"";
}

}  // namespace

void Interpreter::add_instance(const std::string &name, t_object *x) {
    instances_[name] = x;
    creation_order_.push_back(name);
}

void Interpreter::cmd_open(const std::string &where, const std::string &args) {
    std::string file = trim(args);
    if (file.empty()) {
        fail(where, "expected: open <patcher file>");
        return;
    }
    add_patch_classes();
    fs::path path(file);
    if (path.is_relative()) path = fs::path(base_dir_) / path;
    maxjson::Value doc;
    std::string error;
    if (!maxjson::parse_file(path.string(), &doc, &error)) {
        fail(where, error);
        return;
    }
    const maxjson::Value *patcher = doc.get("patcher");
    const maxjson::Value *boxes = patcher ? patcher->get("boxes") : nullptr;
    if (!boxes || !boxes->is_array()) {
        fail(where, file + ": not a patcher (no \"patcher\" with \"boxes\")");
        return;
    }

    std::vector<t_object *> loadbangs;
    for (const maxjson::Value &entry : boxes->items) {
        const maxjson::Value *box = entry.get("box");
        if (!box) continue;
        std::string maxclass = box->str("maxclass");
        std::string id = box->str("id");
        std::string text = box->str("text");
        if (maxclass == "comment" || maxclass == "panel") continue;
        std::string label = file + ": box " + in_quotes(id);
        if (id.empty()) {
            fail(where, file + ": a " + maxclass + " box has no id");
            continue;
        }
        if (instances_.count(id)) {
            fail(where, label + ": the name is already in use");
            continue;
        }
        t_object *x = nullptr;
        if (maxclass == "message") {
            x = maxhost::create(kMessageClass, 0, nullptr, &error);
            if (x) {
                *reinterpret_cast<t_message *>(x)->text = text;
                message_boxes_.push_back({id, text});
            }
        } else if (maxclass == "newobj") {
            x = maxhost::create_from_box(text, &error);
        } else {
            // A user-interface object: the class named by maxclass, when there is one (lcd).
            x = maxhost::create_from_box(text.empty() ? maxclass : maxclass + " " + text, &error);
        }
        if (!x) {
            fail(where, label + ": cannot make " + in_quotes(text.empty() ? maxclass : text) + " (" +
                            (error.empty() ? "unknown class" : error) + "); left out");
            continue;
        }
        add_instance(id, x);
        if (object_classname(x) == gensym("loadbang")) loadbangs.push_back(x);
        // The host gives every object the one inlet of its header; a message box has a second one
        // (which sets its text in Max, and takes no cord here).
        long real_inlets = maxclass == "message" ? 2 : 1;
        long inlets = count_of(*box, "numinlets", real_inlets);
        long outlets = count_of(*box, "numoutlets", maxhost::outlet_count(x));
        if (inlets != real_inlets || outlets != maxhost::outlet_count(x)) {
            fail(where, label + " (" + in_quotes(text.empty() ? maxclass : text) + ") says " + std::to_string(inlets) +
                            " inlets and " + std::to_string(outlets) + " outlets; the object has " +
                            std::to_string(real_inlets) + " and " + std::to_string(maxhost::outlet_count(x)));
        }
    }

    const maxjson::Value *lines = patcher->get("lines");
    if (lines && lines->is_array()) {
        for (const maxjson::Value &entry : lines->items) {
            const maxjson::Value *line = entry.get("patchline");
            const maxjson::Value *src = line ? line->get("source") : nullptr;
            const maxjson::Value *dst = line ? line->get("destination") : nullptr;
            if (!src || !dst || src->items.size() != 2 || dst->items.size() != 2 || !src->items[0].is_string() ||
                !dst->items[0].is_string()) {
                fail(where, file + ": a line without source and destination");
                continue;
            }
            std::string from = src->items[0].text, to = dst->items[0].text;
            // A box left out has been reported already.
            if (!instances_.count(from) || !instances_.count(to)) continue;
            cmd_connect(where, from + " " + src->items[1].text + " " + to + " " + dst->items[1].text);
        }
    }
    // Once everything is in place, as Max does after loading.
    for (t_object *x : loadbangs) maxhost::send_text(x, "loadbang");
}

void Interpreter::cmd_click(const std::string &where, const std::string &args) {
    std::string key = trim(args);
    if (key.empty()) {
        fail(where, "expected: click <message box id or text>");
        return;
    }
    std::string id;
    for (const MessageBox &m : message_boxes_) {
        if (m.id == key) id = m.id;
    }
    if (id.empty()) {
        size_t matches = 0;
        for (const MessageBox &m : message_boxes_) {
            if (trim(m.text) == key) {
                ++matches;
                if (id.empty()) id = m.id;
            }
        }
        if (matches > 1) {
            fail(where, std::to_string(matches) + " message boxes read " + in_quotes(key) + "; click one by its id");
            return;
        }
    }
    auto it = id.empty() ? instances_.end() : instances_.find(id);
    if (it == instances_.end()) {
        fail(where, "no message box has the id or text " + in_quotes(key));
        return;
    }
    // A message a downstream object does not understand is posted as an error: the click fails.
    long errors = errors_posted_;
    maxhost::send_text(it->second, "bang");
    if (errors_posted_ != errors) failed_ = true;
}

}  // namespace maxscript
