// The host side of the stand-in: what Max itself does around externals. Tools and tests use this;
// externals never include it.
#pragma once

#include "ext.h"
#include "ext_obex.h"

#include <functional>
#include <string>
#include <vector>

namespace maxhost {

// A handler of any signature as the API's generic method type (through void(*)(), which the
// compiler accepts as a deliberate cast), for classes the host and its tools register.
template <typename F>
method as_method(F *fn) {
    return reinterpret_cast<method>(reinterpret_cast<void (*)()>(fn));
}

// ---------------------------------------------------------------------------------------------
// Max window
// ---------------------------------------------------------------------------------------------

enum class ConsoleKind { post, error };

// Receives every line posted (post, error, object_post, host reports). Called from whichever
// thread posted; calls are serialised by the host. The default sink prints posts to stdout and
// errors to stderr.
using ConsoleSink = std::function<void(ConsoleKind kind, const std::string &line)>;
void set_console_sink(ConsoleSink sink);  // an empty function restores the default
void reset_console_sink();

// Collects console lines while alive (tests), restoring the previous sink afterwards.
class ConsoleCapture {
public:
    ConsoleCapture();
    ~ConsoleCapture();
    ConsoleCapture(const ConsoleCapture &) = delete;
    ConsoleCapture &operator=(const ConsoleCapture &) = delete;
    std::vector<std::string> lines() const;   // posts and errors, in order
    std::vector<std::string> errors() const;  // errors only
    void clear();

private:
    struct Impl;
    Impl *impl_;
};

// ---------------------------------------------------------------------------------------------
// Loading externals
// ---------------------------------------------------------------------------------------------

// Folders searched, in order, for an external named after its class: <dir>/<class>.so
// (<class>.dylib on macOS, <class>.mxe64 on Windows). The environment variable MAXHOST_PATH
// (colon-separated; semicolon-separated on Windows) is searched after these.
void set_search_path(const std::vector<std::string> &dirs);
void add_search_path(const std::string &dir);
std::vector<std::string> search_path();

// The class registered under "box" with that name, loading its external on first use: the module
// is opened once and its entry (ext_main, else main) is called once. Null with *error set when it
// cannot be found or does not register the class. Here and below, a null `error` means the reason
// is posted to the Max window instead.
t_class *find_class(const std::string &name, std::string *error = nullptr);

// Registers a class built into the running program (for instance the command-line host's lcd):
// `setup` is called once, like an external's entry, the first time the name is looked up.
void add_builtin(const std::string &name, void (*setup)());

// ---------------------------------------------------------------------------------------------
// Instances
// ---------------------------------------------------------------------------------------------

// Creates an instance from object-box text exactly as typed ("gasnet 10 1000 @mu 8"). Null with
// *error set when the class is unknown or its constructor gives nothing.
t_object *create_from_box(const std::string &box_text, std::string *error = nullptr);
t_object *create(const std::string &class_name, long argc, t_atom *argv, std::string *error = nullptr);
// object_free does the same; this is here for symmetry.
void destroy(t_object *x);

// Parses Max message text into atoms: integers, floats, symbols ("1 2.5 foo" -> 1, 2.5, foo).
std::vector<t_atom> parse_atoms(const std::string &text);
// Atoms as Max writes them ("10 20 30 40", "0.35", "1.", "foo").
std::string atoms_to_text(long argc, const t_atom *argv);
std::string atom_to_text(const t_atom &a);

// Sends a message to inlet 0, as a patch cord does: "bang", "int", "float", "list" and named
// messages, with typed dispatch and conversion. A message the object does not understand is
// reported in the Max window ("gasnet: doesn't understand \"foo\"") and false is returned.
// A named message that matches an attribute sets it ("mu 8").
bool send(t_object *x, t_symbol *selector, long argc, t_atom *argv);
// Parses and sends one line of message text: "learn 1 2 3", "bang", "3" (int), "2.5" (float),
// "1 2 3" (list), "mu 8".
bool send_text(t_object *x, const std::string &text);
// How many chains of sends were cut short by a stack overflow so far, on any thread (each is
// reported once in the Max window).
long overflow_count();

// ---------------------------------------------------------------------------------------------
// Outlets and patch cords
// ---------------------------------------------------------------------------------------------

int outlet_count(t_object *x);
// Outlet by position, 0 the leftmost; null when there is none.
void *outlet_at(t_object *x, int index);
// A cord from an outlet of `from` to inlet `inlet` of `to` (only inlet 0 exists here).
bool connect(t_object *from, int outlet_index, t_object *to, int inlet = 0);
bool disconnect(t_object *from, int outlet_index, t_object *to, int inlet = 0);

// Sees everything an object sends, after delivery to its cords. `selector` is "bang", "int",
// "float", "list" or the message name. One observer per object; an empty function removes it.
using OutletObserver =
    std::function<void(t_object *from, int outlet_index, t_symbol *selector, long argc, const t_atom *argv)>;
void set_outlet_observer(t_object *x, OutletObserver observer);

// ---------------------------------------------------------------------------------------------
// Attributes
// ---------------------------------------------------------------------------------------------

std::vector<std::string> attribute_names(t_class *c);  // in the order they were added
bool has_attribute(t_object *x, const std::string &name);
// Reads an attribute back through its getter (custom or plain).
bool get_attribute(t_object *x, const std::string &name, std::vector<t_atom> *value);
// Sets an attribute through its clip filter and setter, as a message or box argument does.
bool set_attribute(t_object *x, const std::string &name, long argc, t_atom *argv);
// Metadata added with class_attr_addattr_parse ("save", "order", "style", "enumvals", ...).
bool attribute_meta(t_class *c, const std::string &attr, const std::string &key, std::vector<t_atom> *value);
// Metadata added to a method object with object_addattr_parse ("undocumented", ...).
bool method_meta(t_class *c, const std::string &method_name, const std::string &key, std::vector<t_atom> *value);
std::vector<std::string> method_names(t_class *c);  // in registration order

// Assist text of an inlet (ASSIST_INLET) or outlet (ASSIST_OUTLET), as the inspector asks for it.
std::string assist(t_object *x, long which, long index);

// ---------------------------------------------------------------------------------------------
// Time: clocks run on the scheduler, queue elements on the main thread
// ---------------------------------------------------------------------------------------------

enum class TimeMode {
    virtual_time,  // default: nothing runs by itself; advance() runs clocks and queue elements
    real_time      // a scheduler thread runs clocks; the main thread runs queue elements in wait()
};
// now_ms() runs on without a jump across a switch, so pending clocks keep their due times.
void set_time_mode(TimeMode mode);
TimeMode time_mode();

double now_ms();  // milliseconds since the host started (virtual or real)

// Virtual time: moves the clock forward, running due clocks in time order (ties in the order
// they were set; a clock set by a task for a time within the window runs too), then the pending
// queue elements (an element set again by its own task runs in the next pass). Real time: waits
// that long on the calling thread, which acts as the main thread and runs queue elements as they
// are set.
void advance(double ms);
// Runs the queue elements that are set, on the calling thread (as the main thread). Returns how
// many ran.
int run_queue();
// Stops the scheduler thread (real time) and drops pending clocks and queue elements; the host
// is back in virtual time, where now_ms() goes on from where it was.
void shutdown();

// ---------------------------------------------------------------------------------------------
// Class description, for tools that document a class from what it registers
// ---------------------------------------------------------------------------------------------

// The argument types a message was registered with (A_LONG, A_GIMME, ...), in order; empty for a
// message without arguments or one the class does not have.
std::vector<short> method_arg_types(t_class *c, const std::string &method_name);

struct AttributeInfo {
    std::string type;  // "long", "float32", "symbol", ...
    long flags = 0;
    bool clip_min = false, clip_max = false;
    double min = 0, max = 0;
};
bool attribute_info(t_class *c, const std::string &name, AttributeInfo *info);
// The metadata keys added to an attribute ("save", "label", ...), in the order first added.
std::vector<std::string> attribute_meta_names(t_class *c, const std::string &name);

// The type an outlet was made with ("list", "int", "float", "bang"), empty for an untyped outlet.
std::string outlet_type(t_object *x, int index);

}  // namespace maxhost

// ---------------------------------------------------------------------------------------------
// Files: the default folder (path_getdefault) and the file dialogs
// ---------------------------------------------------------------------------------------------

namespace maxhost {

// The folder files without a folder are written to and first looked for in: the script's folder
// in maxscript. Empty restores the current folder.
void set_default_folder(const std::string &folder);
std::string default_folder();

// Makes `folder` the default folder for the calling thread while alive (the Pd bridge: the
// patch's folder around each message to an object). defer_low keeps the default folder of the
// moment it was called for the deferred call.
class DefaultFolderScope {
public:
    explicit DefaultFolderScope(const std::string &folder);
    ~DefaultFolderScope();
    DefaultFolderScope(const DefaultFolderScope &) = delete;
    DefaultFolderScope &operator=(const DefaultFolderScope &) = delete;

private:
    std::string folder_;
    const std::string *previous_;
};

// Answers saveasdialog_extended (save true) and open_dialog: given the proposed name, true with
// *name set to the chosen file (relative names are in the default folder), false for
// "cancelled". Without one, every dialog is cancelled, as where no dialog can be shown.
using FileDialog = std::function<bool(bool save, std::string *name)>;
void set_file_dialog(FileDialog dialog);

}  // namespace maxhost
