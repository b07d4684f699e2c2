// Patcher files: maxscript opens Max's JSON patchers (help files, examples), makes an instance per
// object box and message box, a cord per line, and clicks message boxes. Also the small classes a
// patch needs beside the externals: print, loadbang and the message box itself.
#include "interpreter.h"

#include "../common/json.h"
#include "maxhost/runtime.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <mutex>
#include <set>
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

bool send_to_receivers(t_symbol *name, t_symbol *s, long ac, t_atom *av);

// Sends comma-separated messages in turn, to the outlet or (with a name) to its receivers.
void send_parts(t_message *x, const std::string &text, const std::vector<t_atom> &input, t_symbol *receiver) {
    std::stringstream parts(text);
    std::string part;
    while (std::getline(parts, part, ',')) {
        std::vector<t_atom> atoms = maxhost::parse_atoms(substitute(trim(part), input));
        if (!receiver) {
            send_one(x->out, atoms);
        } else if (!atoms.empty()) {
            bool number = atoms[0].a_type != A_SYM;
            t_symbol *sel = number ? gensym(atoms.size() == 1 ? (atoms[0].a_type == A_LONG ? "int" : "float") : "list")
                                   : atom_getsym(&atoms[0]);
            long skip = number ? 0 : 1;
            if (!send_to_receivers(receiver, sel, static_cast<long>(atoms.size()) - skip, atoms.data() + skip))
                error("message box \"%s\": no receive is named \"%s\"", text.c_str(), receiver->s_name);
        }
    }
}

void message_output(t_message *x) {
    // Copies: a message sent downstream may come back and change the box.
    std::string text = *x->text;
    std::vector<t_atom> input = *x->input;
    // "a, b; name c, d": a and b go out of the outlet, c and d to the receivers of name.
    std::stringstream segments(text);
    std::string segment;
    bool first = true;
    while (std::getline(segments, segment, ';')) {
        if (first) {
            send_parts(x, segment, input, nullptr);
            first = false;
            continue;
        }
        std::string body = trim(segment);
        if (body.empty()) continue;
        size_t space = body.find_first_of(" \t");
        std::string name = body.substr(0, space);
        send_parts(x, space == std::string::npos ? "" : body.substr(space), input, gensym(name.c_str()));
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

// ---- inlet and outlet boxes of a subpatcher: pass everything through ----

// A space in the name, as for message boxes: no box text can name it.
const char *kPortClass = "patcher port";

struct t_port {
    t_object ob;
    void *out;
};
t_class *port_class = nullptr;

void *port_new(t_symbol *, long, t_atom *) {
    auto *x = static_cast<t_port *>(object_alloc(port_class));
    if (!x) return nullptr;
    x->out = outlet_new(x, nullptr);
    return x;
}

void port_anything(t_port *x, t_symbol *s, long ac, t_atom *av) {
    outlet_anything(x->out, s, static_cast<short>(ac), av);
}

void port_setup() {
    port_class = class_new(kPortClass, as_method(port_new), nullptr, static_cast<long>(sizeof(t_port)), nullptr,
                           A_GIMME, 0);
    class_addmethod(port_class, as_method(port_anything), "anything", A_GIMME, 0);
    class_register(CLASS_BOX, port_class);
}

// ---- send and receive (s, r): messages by name, across every open patcher ----

struct t_receive {
    t_object ob;
    void *out;
    t_symbol *name;
};
struct t_send {
    t_object ob;
    t_symbol *name;
};

// Receivers by name. Messages may come from the scheduler thread, so the table is locked, but never
// while a message goes out (a receiver may send on to a sender).
std::mutex receivers_mutex;
std::map<t_symbol *, std::vector<t_receive *>> receivers;

// One class per spelling: Max's `s` and `r` are the same objects as `send` and `receive`.
t_class *receive_classes[2];
t_class *send_classes[2];

t_symbol *name_argument(const char *class_name, long ac, t_atom *av) {
    if (ac > 0 && av[0].a_type == A_SYM) return av[0].a_w.w_sym;
    error("%s: needs a name", class_name);
    return nullptr;
}

template <int K>
void *receive_new(t_symbol *, long ac, t_atom *av) {
    t_symbol *name = name_argument(K == 0 ? "receive" : "r", ac, av);
    if (!name) return nullptr;
    auto *x = static_cast<t_receive *>(object_alloc(receive_classes[K]));
    if (!x) return nullptr;
    x->out = outlet_new(x, nullptr);
    x->name = name;
    std::lock_guard<std::mutex> lock(receivers_mutex);
    receivers[name].push_back(x);
    return x;
}

void receive_free(t_receive *x) {
    std::lock_guard<std::mutex> lock(receivers_mutex);
    auto &list = receivers[x->name];
    list.erase(std::remove(list.begin(), list.end(), x), list.end());
}

// Sends a message to every receiver of a name; false when there is none.
bool send_to_receivers(t_symbol *name, t_symbol *s, long ac, t_atom *av) {
    std::vector<t_receive *> targets;
    {
        std::lock_guard<std::mutex> lock(receivers_mutex);
        auto it = receivers.find(name);
        if (it != receivers.end()) targets = it->second;
    }
    for (t_receive *r : targets) outlet_anything(r->out, s, static_cast<short>(ac), av);
    return !targets.empty();
}

template <int K>
void *send_new(t_symbol *, long ac, t_atom *av) {
    t_symbol *name = name_argument(K == 0 ? "send" : "s", ac, av);
    if (!name) return nullptr;
    auto *x = static_cast<t_send *>(object_alloc(send_classes[K]));
    if (x) x->name = name;
    return x;
}

void send_anything(t_send *x, t_symbol *s, long ac, t_atom *av) {
    send_to_receivers(x->name, s, ac, av);
}

template <int K>
void receive_setup() {
    const char *name = K == 0 ? "receive" : "r";
    receive_classes[K] = class_new(name, as_method(receive_new<K>), as_method(receive_free),
                                   static_cast<long>(sizeof(t_receive)), nullptr, A_GIMME, 0);
    class_register(CLASS_BOX, receive_classes[K]);
}

template <int K>
void send_setup() {
    const char *name = K == 0 ? "send" : "s";
    send_classes[K] =
        class_new(name, as_method(send_new<K>), nullptr, static_cast<long>(sizeof(t_send)), nullptr, A_GIMME, 0);
    class_addmethod(send_classes[K], as_method(send_anything), "anything", A_GIMME, 0);
    class_register(CLASS_BOX, send_classes[K]);
}

// ---- trigger (t): one outlet per argument, fired right to left ----

enum class TriggerKind { bang, integer, real, list, symbol, anything, constant };

struct TriggerOutlet {
    TriggerKind kind;
    t_atom constant;  // what a constant outlet sends
    void *out;
};

struct t_trigger {
    t_object ob;
    std::vector<TriggerOutlet> *outs;  // left to right
};
t_class *trigger_classes[2];

TriggerKind trigger_kind(const t_atom &a) {
    if (a.a_type != A_SYM) return TriggerKind::constant;
    std::string w = a.a_w.w_sym->s_name;
    if (w == "b" || w == "bang") return TriggerKind::bang;
    if (w == "i" || w == "int") return TriggerKind::integer;
    if (w == "f" || w == "float") return TriggerKind::real;
    if (w == "l" || w == "list") return TriggerKind::list;
    if (w == "s" || w == "symbol") return TriggerKind::symbol;
    if (w == "a" || w == "anything") return TriggerKind::anything;
    return TriggerKind::constant;
}

template <int K>
void *trigger_new(t_symbol *, long ac, t_atom *av) {
    auto *x = static_cast<t_trigger *>(object_alloc(trigger_classes[K]));
    if (!x) return nullptr;
    std::vector<t_atom> args(av, av + ac);
    if (args.empty()) {  // as Max: two int outlets
        args.resize(2);
        atom_setsym(&args[0], gensym("i"));
        atom_setsym(&args[1], gensym("i"));
    }
    x->outs = new std::vector<TriggerOutlet>(args.size());
    // Each new outlet stands left of the earlier ones: make them from the right.
    for (size_t i = args.size(); i-- > 0;) {
        TriggerOutlet &o = (*x->outs)[i];
        o.kind = trigger_kind(args[i]);
        o.constant = args[i];
        o.out = o.kind == TriggerKind::bang      ? bangout(x)
                : o.kind == TriggerKind::integer ? intout(x)
                : o.kind == TriggerKind::real    ? floatout(x)
                                                 : outlet_new(x, nullptr);
    }
    return x;
}

void trigger_free(t_trigger *x) {
    delete x->outs;
}

bool is_number_message(t_symbol *s) {
    return s == gensym("int") || s == gensym("float") || s == gensym("list");
}

void trigger_anything(t_trigger *x, t_symbol *s, long ac, t_atom *av) {
    // The first atom of a number or list, as int, float and symbol outlets read it.
    const t_atom *first = is_number_message(s) && ac > 0 ? &av[0] : nullptr;
    for (size_t i = x->outs->size(); i-- > 0;) {
        const TriggerOutlet &o = (*x->outs)[i];
        switch (o.kind) {
        case TriggerKind::bang: outlet_bang(o.out); break;
        case TriggerKind::integer: outlet_int(o.out, first ? atom_getlong(first) : 0); break;
        case TriggerKind::real: outlet_float(o.out, first ? atom_getfloat(first) : 0.0); break;
        case TriggerKind::list:
        case TriggerKind::anything: outlet_anything(o.out, s, static_cast<short>(ac), av); break;
        case TriggerKind::symbol: {
            t_atom sym;
            atom_setsym(&sym, first ? gensym(maxhost::atom_to_text(*first).c_str()) : s);
            outlet_anything(o.out, gensym("symbol"), 1, &sym);
            break;
        }
        case TriggerKind::constant: {
            t_atom c = o.constant;
            if (c.a_type == A_LONG) outlet_int(o.out, c.a_w.w_long);
            else if (c.a_type == A_FLOAT) outlet_float(o.out, c.a_w.w_float);
            else outlet_anything(o.out, atom_getsym(&c), 0, nullptr);
            break;
        }
        }
    }
}

template <int K>
void trigger_setup() {
    trigger_classes[K] = class_new(K == 0 ? "trigger" : "t", as_method(trigger_new<K>), as_method(trigger_free),
                                   static_cast<long>(sizeof(t_trigger)), nullptr, A_GIMME, 0);
    class_addmethod(trigger_classes[K], as_method(trigger_anything), "anything", A_GIMME, 0);
    class_register(CLASS_BOX, trigger_classes[K]);
}

}  // namespace

void add_patch_classes() {
    static bool added = false;
    if (added) return;
    added = true;
    maxhost::add_builtin("print", print_setup);
    maxhost::add_builtin("loadbang", loadbang_setup);
    maxhost::add_builtin(kMessageClass, message_setup);
    maxhost::add_builtin(kPortClass, port_setup);
    maxhost::add_builtin("receive", receive_setup<0>);
    maxhost::add_builtin("r", receive_setup<1>);
    maxhost::add_builtin("send", send_setup<0>);
    maxhost::add_builtin("s", send_setup<1>);
    maxhost::add_builtin("trigger", trigger_setup<0>);
    maxhost::add_builtin("t", trigger_setup<1>);
}

namespace {

long count_of(const maxjson::Value &box, const char *key, long fallback) {
    const maxjson::Value *v = box.get(key);
    return v && v->is_number() ? static_cast<long>(v->number) : fallback;
}

std::string in_quotes(const std::string &s) {
    return "\"" + s + "\"";
}

std::string first_word(const std::string &text) {
    std::string t = trim(text);
    return t.substr(0, t.find_first_of(" \t"));
}

// A patch line's end: a box id and an outlet or inlet number.
bool line_end(const maxjson::Value *end, std::string *id, long long *index) {
    if (!end || !end->is_array() || end->items.size() != 2 || !end->items[0].is_string() ||
        !end->items[1].is_number() || !end->items[1].integral || end->items[1].number < 0 ||
        end->items[1].number > 1e9)
        return false;
    *id = end->items[0].text;
    *index = static_cast<long long>(end->items[1].number);
    return true;
}

// Left edge of a box, as Max orders a subpatcher's inlets and outlets.
double left_edge(const maxjson::Value &box) {
    const maxjson::Value *rect = box.get("patching_rect");
    return rect && rect->is_array() && !rect->items.empty() && rect->items[0].is_number() ? rect->items[0].number
                                                                                          : 0.0;
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
    PatcherPorts ports;
    std::vector<t_object *> loadbangs;
    open_patcher(where, file, *patcher, "", &ports, &loadbangs);
    // Once everything is in place, as Max does after loading.
    for (t_object *x : loadbangs) maxhost::send_text(x, "loadbang");
}

void Interpreter::open_patcher(const std::string &where, const std::string &file, const maxjson::Value &patcher,
                               const std::string &prefix, PatcherPorts *ports, std::vector<t_object *> *loadbangs) {
    const maxjson::Value *boxes = patcher.get("boxes");
    if (!boxes || !boxes->is_array()) {
        fail(where, file + ": subpatcher " + in_quotes(prefix.substr(0, prefix.size() - 1)) + " has no \"boxes\"");
        return;
    }
    // Box ids of this patcher: plain boxes by instance name, subpatchers by their ports.
    std::map<std::string, std::string> names;
    std::map<std::string, PatcherPorts> subpatchers;
    // Boxes whose instance passes messages on but which have no inlet (inlet boxes, named receives)
    // or no outlet (outlet boxes) in Max: no cord may end or start there.
    std::set<std::string> without_inlet, without_outlet;
    struct Port {
        double x;
        std::string name;
        bool is_inlet;
    };
    std::vector<Port> port_boxes;

    for (const maxjson::Value &entry : boxes->items) {
        const maxjson::Value *box = entry.get("box");
        if (!box || !box->is_object()) {
            fail(where, file + ": an entry of \"boxes\"" + (prefix.empty() ? "" : " in " + in_quotes(prefix)) +
                            " holds no box");
            continue;
        }
        std::string maxclass = box->str("maxclass");
        std::string id = box->str("id");
        std::string text = box->str("text");
        if (maxclass == "comment" || maxclass == "panel") continue;
        std::string label = file + ": box " + in_quotes(prefix + id);
        // What the box shows: its text, with the class in front for boxes other than objects and messages.
        bool plain = maxclass == "newobj" || maxclass == "message";
        std::string shows = in_quotes(plain || text.empty() ? (text.empty() ? maxclass : text) : maxclass + " " + text);
        if (id.empty() || maxclass.empty()) {
            fail(where, file + ": a box" + (prefix.empty() ? "" : " in " + in_quotes(prefix)) + " has no " +
                            (id.empty() ? "id" : "maxclass") + "; left out");
            continue;
        }
        if (names.count(id) || subpatchers.count(id)) {
            fail(where, label + ": the id is used twice in its patcher; left out");
            continue;
        }
        std::string word = first_word(text);
        if (maxclass == "jsui" || (maxclass == "newobj" && (word == "js" || word == "jsui"))) {
            // Help patches show a header drawn by JavaScript: nothing the patch needs.
            print_line(where + ": note: " + label + " (" + shows + ") left out: maxscript runs no JavaScript");
            continue;
        }
        const maxjson::Value *inner = box->get("patcher");
        bool subpatcher = (maxclass == "newobj" && (word == "p" || word == "patcher")) || maxclass == "bpatcher";
        if (subpatcher) {
            if (!inner || !inner->is_object()) {
                fail(where, label + ": cannot make " + shows + " (no patcher inside the box); left out");
                continue;
            }
            PatcherPorts &sub = subpatchers[id];
            open_patcher(where, file, *inner, prefix + id + "/", &sub, loadbangs);
            long inlets = count_of(*box, "numinlets", static_cast<long>(sub.inlets.size()));
            long outlets = count_of(*box, "numoutlets", static_cast<long>(sub.outlets.size()));
            if (inlets != static_cast<long>(sub.inlets.size()) || outlets != static_cast<long>(sub.outlets.size())) {
                fail(where, label + " (" + shows + ") says " + std::to_string(inlets) + " inlets and " +
                                std::to_string(outlets) + " outlets; its patcher has " +
                                std::to_string(sub.inlets.size()) + " inlet and " + std::to_string(sub.outlets.size()) +
                                " outlet boxes");
            }
            continue;
        }
        std::string name = prefix + id;
        if (instances_.count(name)) {
            fail(where, label + ": the name is already in use");
            continue;
        }
        bool is_port = maxclass == "inlet" || maxclass == "outlet";
        t_object *x = nullptr;
        std::string error;
        if (maxclass == "message") {
            x = maxhost::create(kMessageClass, 0, nullptr, &error);
            if (x) {
                *reinterpret_cast<t_message *>(x)->text = text;
                message_boxes_.push_back({name, text});
            }
        } else if (is_port) {
            x = maxhost::create(kPortClass, 0, nullptr, &error);
        } else if (maxclass == "newobj") {
            x = maxhost::create_from_box(text, &error);
        } else {
            // A user-interface object: the class named by maxclass, when there is one (lcd).
            x = maxhost::create_from_box(text.empty() ? maxclass : maxclass + " " + text, &error);
        }
        if (!x) {
            fail(where, label + ": cannot make " + shows + " (" + (error.empty() ? "unknown class" : error) +
                            "); left out");
            continue;
        }
        add_instance(name, x);
        names[id] = name;
        if (is_port) port_boxes.push_back({left_edge(*box), name, maxclass == "inlet"});
        t_symbol *cls = object_classname(x);
        if (cls == gensym("loadbang")) loadbangs->push_back(x);
        // Max's counts. The host gives every object the one inlet of its header; a message box has a
        // second one (which sets its text in Max, and takes no cord here); a named receive has none.
        long real_inlets = 1;
        if (maxclass == "message") real_inlets = 2;
        if (maxclass == "inlet" || cls == gensym("receive") || cls == gensym("r")) real_inlets = 0;
        long real_outlets = maxclass == "outlet" ? 0 : maxhost::outlet_count(x);
        if (real_inlets == 0) without_inlet.insert(id);
        if (real_outlets == 0) without_outlet.insert(id);
        long inlets = count_of(*box, "numinlets", real_inlets);
        long outlets = count_of(*box, "numoutlets", real_outlets);
        if (inlets != real_inlets || outlets != real_outlets) {
            fail(where, label + " (" + shows + ") says " + std::to_string(inlets) + " inlets and " +
                            std::to_string(outlets) + " outlets; the object has " + std::to_string(real_inlets) +
                            " and " + std::to_string(real_outlets));
        }
    }
    // A subpatcher's inlets and outlets run left to right by their boxes' places, as in Max.
    std::stable_sort(port_boxes.begin(), port_boxes.end(), [](const Port &a, const Port &b) { return a.x < b.x; });
    for (const Port &p : port_boxes) (p.is_inlet ? ports->inlets : ports->outlets).push_back(p.name);

    const maxjson::Value *lines = patcher.get("lines");
    if (!lines || !lines->is_array()) return;
    for (const maxjson::Value &entry : lines->items) {
        const maxjson::Value *line = entry.get("patchline");
        std::string from, to;
        long long outlet = 0, inlet = 0;
        if (!line || !line_end(line->get("source"), &from, &outlet) ||
            !line_end(line->get("destination"), &to, &inlet)) {
            fail(where, file + ": a line" + (prefix.empty() ? "" : " in " + in_quotes(prefix)) +
                            " without a source and destination [\"<box id>\", <number>]");
            continue;
        }
        // A cord into a subpatcher goes to its inlet box; one out of it leaves from its outlet box.
        std::string from_name, to_name;
        const std::string cord = in_quotes(prefix + from) + " outlet " + std::to_string(outlet) + " to " +
                                 in_quotes(prefix + to) + " inlet " + std::to_string(inlet);
        if (subpatchers.count(from)) {
            const std::vector<std::string> &outs = subpatchers[from].outlets;
            if (outlet >= static_cast<long long>(outs.size())) {
                fail(where, in_quotes(prefix + from) + " has no outlet " + std::to_string(outlet) + " (it has " +
                                std::to_string(outs.size()) + " outlet boxes)");
                continue;
            }
            from_name = outs[static_cast<size_t>(outlet)];
            outlet = 0;
        } else if (names.count(from)) {
            from_name = names[from];
            if (without_outlet.count(from)) {
                fail(where, in_quotes(from_name) + " has no outlet " + std::to_string(outlet) + " (it has 0 outlets)");
                continue;
            }
        }
        if (subpatchers.count(to)) {
            const std::vector<std::string> &ins = subpatchers[to].inlets;
            if (inlet >= static_cast<long long>(ins.size())) {
                fail(where, "cannot connect " + cord + " (it has " +
                                std::to_string(ins.size()) + " inlet boxes)");
                continue;
            }
            to_name = ins[static_cast<size_t>(inlet)];
            inlet = 0;
        } else if (names.count(to)) {
            to_name = names[to];
            if (without_inlet.count(to)) {
                fail(where, "cannot connect " + cord + " (it has no inlet)");
                continue;
            }
        }
        // A box left out has been reported already.
        if (from_name.empty() || to_name.empty()) continue;
        connect_instances(where, from_name, outlet, to_name, inlet);
    }
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
