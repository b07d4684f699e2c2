// The script interpreter of maxscript: named instances, patch cords, messages, time and output.
#pragma once

#include "ext.h"

#include <atomic>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace maxjson {
struct Value;
}

namespace maxscript {

// The text without the spaces, tabs and line ends around it.
std::string trim(const std::string &s);
// A message as Max's print object shows it: numbers and lists bare, other messages with their name.
std::string message_text(t_symbol *selector, long argc, const t_atom *argv);

// The script commands, one a line, as --help and the help command list them.
extern const char *const kCommandHelp;

// Writes whole lines to stdout from any thread, in the order they are written.
void print_line(const std::string &line);
// Registers the classes patches use beside the externals (print, loadbang, send, receive,
// trigger, message boxes, subpatcher inlets and outlets).
void add_patch_classes();
// Makes print_line flush every line (output may then come from the scheduler at any time).
void set_flush_each_line(bool on);

class Interpreter {
public:
    // out_dir: folder for PNG files; base_dir: folder that data files of `feed` are relative to.
    Interpreter(std::string out_dir, std::string base_dir);
    ~Interpreter();
    Interpreter(const Interpreter &) = delete;
    Interpreter &operator=(const Interpreter &) = delete;

    // Runs one script line, then the pending queue elements. `where` labels errors ("a.maxs:12").
    void run_line(const std::string &line, const std::string &where);
    // Stops time and frees every instance, newest first.
    void close();
    // True once any line failed.
    bool failed() const { return failed_; }

private:
    struct Cord {
        t_object *from;
        int outlet;
        t_object *to;
        int inlet;
    };

    void fail(const std::string &where, const std::string &message);
    t_object *lookup(const std::string &name, const std::string &where);
    bool has_cord(t_object *from, int outlet);
    void free_instance(const std::string &name);

    void cmd_new(const std::string &where, const std::string &args);
    void cmd_connect(const std::string &where, const std::string &args);
    void cmd_get(const std::string &where, const std::string &args);
    void cmd_seed(const std::string &where, const std::string &args);
    void cmd_wait(const std::string &where, const std::string &args);
    void cmd_time(const std::string &where, const std::string &args);
    void cmd_feed(const std::string &where, const std::string &args);
    void cmd_png(const std::string &where, const std::string &args);
    void cmd_free(const std::string &where, const std::string &args);
    void cmd_send(const std::string &where, const std::string &name, const std::string &message);
    // A cord between two named instances; false (reported) when it cannot be made.
    bool connect_instances(const std::string &where, const std::string &from, long long outlet, const std::string &to,
                           long long inlet);

    // Patcher files (patcher.cpp): boxes become instances named by their ids.
    struct MessageBox {
        std::string id;
        std::string text;
    };
    // The inlet and outlet boxes of an opened patcher, left to right, by instance name.
    struct PatcherPorts {
        std::vector<std::string> inlets, outlets;
    };
    void cmd_open(const std::string &where, const std::string &args);
    // Makes one patcher's boxes and cords; boxes of a subpatcher are named "<box id>/<inner id>".
    void open_patcher(const std::string &where, const std::string &file, const maxjson::Value &patcher,
                      const std::string &prefix, PatcherPorts *ports, std::vector<t_object *> *loadbangs);
    void cmd_click(const std::string &where, const std::string &args);
    void add_instance(const std::string &name, t_object *x);
    std::vector<MessageBox> message_boxes_;
    std::atomic<long> errors_posted_{0};  // errors posted to the Max window so far

    std::string out_dir_;
    std::string base_dir_;
    std::thread::id script_thread_ = std::this_thread::get_id();
    std::string where_;  // the line running on script_thread_, while it runs
    bool failed_ = false;
    bool closed_ = false;
    std::map<std::string, t_object *> instances_;
    std::vector<std::string> creation_order_;
    std::vector<Cord> cords_;
    // Outlets that have a cord; read by outlet observers, which may run on the scheduler thread.
    std::mutex corded_mutex_;
    std::set<std::pair<t_object *, int>> corded_;
};

}  // namespace maxscript
