#include "interpreter.h"

#include "lcd.h"
#include "maxhost/runtime.h"

#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace maxscript {

namespace {

std::mutex print_mutex;
bool flush_each_line = false;

// Data files at least this long show progress on a terminal.
const size_t kProgressLines = 1000;

const std::set<std::string> kCommands = {"new", "connect", "get", "seed", "wait", "time", "feed",
                                         "png", "free", "echo", "open", "click", "help"};

// Splits off the first word; `rest` keeps the remaining text as typed (trimmed).
void split_first(const std::string &text, std::string *head, std::string *rest) {
    std::string t = trim(text);
    size_t space = t.find_first_of(" \t");
    if (space == std::string::npos) {
        *head = t;
        rest->clear();
    } else {
        *head = t.substr(0, space);
        *rest = trim(t.substr(space));
    }
}

std::vector<std::string> words(const std::string &text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    std::string w;
    while (in >> w) out.push_back(w);
    return out;
}

bool parse_long(const std::string &s, long long lo, long long hi, long long *value) {
    if (s.empty()) return false;
    errno = 0;
    char *end = nullptr;
    long long v = std::strtoll(s.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < lo || v > hi) return false;
    *value = v;
    return true;
}

bool parse_ms(const std::string &s, double *value) {
    if (s.empty()) return false;
    char *end = nullptr;
    double v = std::strtod(s.c_str(), &end);
    if (*end != '\0' || !std::isfinite(v) || v < 0) return false;
    *value = v;
    return true;
}

bool valid_name(const std::string &name) {
    if (name.empty()) return false;
    char c0 = name[0];
    if (!(std::isalpha(static_cast<unsigned char>(c0)) || c0 == '_')) return false;
    for (char c : name) {
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-')) return false;
    }
    return true;
}

std::string in_quotes(const std::string &s) {
    return "\"" + s + "\"";
}

}  // namespace

const char *const kCommandHelp =
    "commands, one a line (# starts a comment):\n"
    "  new <name> <box text>          an instance, from box text as typed: new g gasnet 10 @mu 8\n"
    "  <name> <message>               a message to its inlet: g learn 1 2 3, g bang, g 3, g mu 8\n"
    "  connect <from> <outlet> <to> [inlet]   a patch cord (outlet 0 is the leftmost)\n"
    "  get <name> <attribute>         prints the attribute's value\n"
    "  seed <n>                       srand(n), so runs repeat (after new: objects reseed)\n"
    "  wait <ms>                      lets time pass: due clocks run, then queue elements\n"
    "  time virtual|real              the time mode (default virtual)\n"
    "  feed <name> <file> [selector]  each line of a file as a message\n"
    "  png <lcd name> <file>          writes the lcd's drawing (into --out)\n"
    "  free <name>                    frees the instance and its cords\n"
    "  echo <text>                    prints the text\n"
    "  open <patcher file>            opens a Max patcher; its boxes are named by id\n"
    "  click <id or text>             clicks a message box of the open patcher\n"
    "  help                           this list\n";

std::string trim(const std::string &s) {
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return std::string();
    size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

std::string message_text(t_symbol *selector, long argc, const t_atom *argv) {
    std::string sel = selector ? selector->s_name : "";
    if (sel == "int" || sel == "float" || sel == "list") return maxhost::atoms_to_text(argc, argv);
    if (argc == 0) return sel;
    return sel + " " + maxhost::atoms_to_text(argc, argv);
}

void print_line(const std::string &line) {
    std::lock_guard<std::mutex> lock(print_mutex);
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    if (flush_each_line) std::fflush(stdout);
}

void set_flush_each_line(bool on) {
    std::lock_guard<std::mutex> lock(print_mutex);
    flush_each_line = on;
}

Interpreter::Interpreter(std::string out_dir, std::string base_dir)
    : out_dir_(std::move(out_dir)), base_dir_(std::move(base_dir)) {
    static bool lcd_added = false;
    if (!lcd_added) {
        maxhost::add_builtin("lcd", lcd_setup);
        lcd_added = true;
    }
    add_patch_classes();
    // Errors share stdout with everything else so that the order of events is kept. One that the
    // script's own thread posts belongs to the line it runs, and says where that line is.
    maxhost::set_console_sink([this](maxhost::ConsoleKind kind, const std::string &line) {
        if (kind != maxhost::ConsoleKind::error) {
            print_line(line);
            return;
        }
        ++errors_posted_;
        bool in_line = std::this_thread::get_id() == script_thread_ && !where_.empty();
        print_line((in_line ? where_ + ": error: " : "error: ") + line);
    });
}

Interpreter::~Interpreter() {
    close();
    maxhost::reset_console_sink();
}

void Interpreter::fail(const std::string &where, const std::string &message) {
    failed_ = true;
    print_line(where + ": " + message);
}

t_object *Interpreter::lookup(const std::string &name, const std::string &where) {
    auto it = instances_.find(name);
    if (it == instances_.end()) {
        fail(where, "unknown instance " + in_quotes(name));
        return nullptr;
    }
    return it->second;
}

bool Interpreter::has_cord(t_object *from, int outlet) {
    std::lock_guard<std::mutex> lock(corded_mutex_);
    return corded_.count({from, outlet}) != 0;
}

void Interpreter::run_line(const std::string &raw, const std::string &where) {
    std::string line = trim(raw);
    where_ = where;
    long overflows = maxhost::overflow_count();
    if (!line.empty() && line[0] != '#') {
        std::string head, rest;
        split_first(line, &head, &rest);
        if (head == "new") cmd_new(where, rest);
        else if (head == "connect") cmd_connect(where, rest);
        else if (head == "get") cmd_get(where, rest);
        else if (head == "seed") cmd_seed(where, rest);
        else if (head == "wait") cmd_wait(where, rest);
        else if (head == "time") cmd_time(where, rest);
        else if (head == "feed") cmd_feed(where, rest);
        else if (head == "png") cmd_png(where, rest);
        else if (head == "free") cmd_free(where, rest);
        else if (head == "echo") print_line(rest);
        else if (head == "open") cmd_open(where, rest);
        else if (head == "click") cmd_click(where, rest);
        else if (head == "help") print_line(std::string(kCommandHelp, std::strlen(kCommandHelp) - 1));
        else cmd_send(where, head, rest);
    }
    // As Max's main thread would, soon after the event.
    maxhost::run_queue();
    // A chain cut short by a stack overflow (reported by the host) fails the line that ran it.
    if (maxhost::overflow_count() != overflows) failed_ = true;
    where_.clear();
    std::lock_guard<std::mutex> lock(print_mutex);
    std::fflush(stdout);
}

void Interpreter::cmd_new(const std::string &where, const std::string &args) {
    std::string name, box;
    split_first(args, &name, &box);
    if (name.empty() || box.empty()) {
        fail(where, "expected: new <name> <box text>");
        return;
    }
    if (!valid_name(name)) {
        fail(where, "bad instance name " + in_quotes(name) +
                        ": expected a letter or _ then letters, digits, _ or -");
        return;
    }
    if (kCommands.count(name)) {
        fail(where, "bad instance name " + in_quotes(name) + ": it is a command word");
        return;
    }
    if (instances_.count(name)) {
        fail(where, "instance name " + in_quotes(name) + " is already in use");
        return;
    }
    std::string error;
    t_object *x = maxhost::create_from_box(box, &error);
    if (!x) {
        fail(where, "cannot create " + in_quotes(box) + (error.empty() ? "" : ": " + error));
        return;
    }
    instances_[name] = x;
    creation_order_.push_back(name);
    maxhost::set_outlet_observer(
        x, [this, name](t_object *from, int outlet, t_symbol *selector, long argc, const t_atom *argv) {
            if (has_cord(from, outlet)) return;
            std::string prefix = outlet > 0 ? name + "." + std::to_string(outlet) : name;
            print_line(prefix + ": " + message_text(selector, argc, argv));
        });
}

void Interpreter::cmd_connect(const std::string &where, const std::string &args) {
    const char *usage = "expected: connect <from> <outlet> <to> [inlet]";
    std::vector<std::string> w = words(args);
    long long outlet = 0, inlet = 0;
    if (w.size() < 3 || w.size() > 4 || !parse_long(w[1], 0, INT_MAX, &outlet) ||
        (w.size() == 4 && !parse_long(w[3], 0, INT_MAX, &inlet))) {
        fail(where, usage);
        return;
    }
    connect_instances(where, w[0], outlet, w[2], inlet);
}

bool Interpreter::connect_instances(const std::string &where, const std::string &from_name, long long outlet,
                                    const std::string &to_name, long long inlet) {
    t_object *from = lookup(from_name, where);
    if (!from) return false;
    t_object *to = lookup(to_name, where);
    if (!to) return false;
    int count = maxhost::outlet_count(from);
    if (outlet < 0 || outlet >= count) {
        fail(where, in_quotes(from_name) + " has no outlet " + std::to_string(outlet) + " (it has " +
                        std::to_string(count) + (count == 1 ? " outlet)" : " outlets)"));
        return false;
    }
    for (const Cord &c : cords_) {
        if (c.from == from && c.outlet == outlet && c.to == to && c.inlet == inlet) {
            fail(where, "already connected");
            return false;
        }
    }
    if (inlet < 0 || inlet > INT_MAX ||
        !maxhost::connect(from, static_cast<int>(outlet), to, static_cast<int>(inlet))) {
        fail(where, "cannot connect " + in_quotes(from_name) + " outlet " + std::to_string(outlet) + " to " +
                        in_quotes(to_name) + " inlet " + std::to_string(inlet));
        return false;
    }
    cords_.push_back({from, static_cast<int>(outlet), to, static_cast<int>(inlet)});
    std::lock_guard<std::mutex> lock(corded_mutex_);
    corded_.insert({from, static_cast<int>(outlet)});
    return true;
}

void Interpreter::cmd_get(const std::string &where, const std::string &args) {
    std::vector<std::string> w = words(args);
    if (w.size() != 2) {
        fail(where, "expected: get <name> <attribute>");
        return;
    }
    t_object *x = lookup(w[0], where);
    if (!x) return;
    std::vector<t_atom> value;
    if (!maxhost::has_attribute(x, w[1]) || !maxhost::get_attribute(x, w[1], &value)) {
        fail(where, in_quotes(w[0]) + " has no attribute " + in_quotes(w[1]));
        return;
    }
    std::string text = w[0] + ": " + w[1];
    if (!value.empty()) text += " " + maxhost::atoms_to_text(static_cast<long>(value.size()), value.data());
    print_line(text);
}

void Interpreter::cmd_seed(const std::string &where, const std::string &args) {
    std::vector<std::string> w = words(args);
    long long n = 0;
    if (w.size() != 1 || !parse_long(w[0], 0, UINT_MAX, &n)) {
        fail(where, "expected: seed <n> (0 to " + std::to_string(UINT_MAX) + ")");
        return;
    }
    std::srand(static_cast<unsigned>(n));
}

void Interpreter::cmd_wait(const std::string &where, const std::string &args) {
    std::vector<std::string> w = words(args);
    double ms = 0;
    if (w.size() != 1 || !parse_ms(w[0], &ms)) {
        fail(where, "expected: wait <ms> (a number of milliseconds, 0 or more)");
        return;
    }
    maxhost::advance(ms);
}

void Interpreter::cmd_time(const std::string &where, const std::string &args) {
    std::vector<std::string> w = words(args);
    maxhost::TimeMode mode;
    if (w.size() == 1 && w[0] == "virtual") {
        mode = maxhost::TimeMode::virtual_time;
    } else if (w.size() == 1 && w[0] == "real") {
        mode = maxhost::TimeMode::real_time;
    } else {
        fail(where, "expected: time virtual|real");
        return;
    }
    maxhost::set_time_mode(mode);
    if (maxhost::time_mode() != mode) {
        fail(where, "cannot change the time mode while clocks are pending");
        return;
    }
    set_flush_each_line(mode == maxhost::TimeMode::real_time);
}

void Interpreter::cmd_feed(const std::string &where, const std::string &args) {
    std::vector<std::string> w = words(args);
    if (w.size() < 2 || w.size() > 3) {
        fail(where, "expected: feed <name> <file> [selector]");
        return;
    }
    t_object *x = lookup(w[0], where);
    if (!x) return;
    fs::path path(w[1]);
    if (path.is_relative()) path = fs::path(base_dir_) / path;
    std::ifstream in(path);
    if (!in) {
        fail(where, "cannot read " + in_quotes(path.string()));
        return;
    }
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        line = trim(line);
        // Lines written by Max's text objects end with a semicolon.
        if (!line.empty() && line.back() == ';') line = trim(line.substr(0, line.size() - 1));
        if (line.empty() || line[0] == '#') continue;
        lines.push_back(w.size() == 3 ? w[2] + " " + line : line);
    }
    bool progress = lines.size() >= kProgressLines && isatty(STDERR_FILENO);
    size_t refused = 0;
    int shown = -1;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!maxhost::send_text(x, lines[i])) ++refused;
        maxhost::run_queue();
        if (progress) {
            int percent = static_cast<int>((i + 1) * 100 / lines.size());
            if (percent != shown) {
                shown = percent;
                std::fprintf(stderr, "\rfeed %s: %3d%% (%zu/%zu)", w[1].c_str(), percent, i + 1, lines.size());
                std::fflush(stderr);
            }
        }
    }
    if (progress) std::fprintf(stderr, "\r\033[K");
    if (refused > 0) {
        fail(where, std::to_string(refused) + " of " + std::to_string(lines.size()) + " lines of " +
                        in_quotes(w[1]) + " were not accepted");
    }
}

void Interpreter::cmd_png(const std::string &where, const std::string &args) {
    std::vector<std::string> w = words(args);
    if (w.size() != 2) {
        fail(where, "expected: png <lcd name> <file>");
        return;
    }
    t_object *x = lookup(w[0], where);
    if (!x) return;
    if (!is_lcd(x)) {
        fail(where, in_quotes(w[0]) + " is not an lcd");
        return;
    }
    fs::path path(w[1]);
    if (path.is_relative()) path = fs::path(out_dir_) / path;
    std::error_code ec;
    if (path.has_parent_path()) fs::create_directories(path.parent_path(), ec);
    std::string error;
    if (!lcd_write_png(x, path.string(), &error)) {
        fail(where, error);
        return;
    }
    if (!lcd_painted(x)) {
        std::fprintf(stderr,
                     "%s: warning: %s: nothing was drawn on lcd \"%s\" (gasnet, for one, ignores dump_lcd "
                     "for 1 s after its vector size changes: wait 1100 before it)\n",
                     where.c_str(), w[1].c_str(), w[0].c_str());
    }
}

void Interpreter::free_instance(const std::string &name) {
    auto it = instances_.find(name);
    if (it == instances_.end()) return;
    t_object *x = it->second;
    // Cords to and from a freed instance go with it, as in a patch.
    std::vector<Cord> kept;
    for (const Cord &c : cords_) {
        if (c.from == x || c.to == x) maxhost::disconnect(c.from, c.outlet, c.to, c.inlet);
        else kept.push_back(c);
    }
    cords_.swap(kept);
    {
        std::lock_guard<std::mutex> lock(corded_mutex_);
        corded_.clear();
        for (const Cord &c : cords_) corded_.insert({c.from, c.outlet});
    }
    maxhost::set_outlet_observer(x, maxhost::OutletObserver());
    instances_.erase(it);
    for (size_t i = 0; i < creation_order_.size(); ++i) {
        if (creation_order_[i] == name) {
            creation_order_.erase(creation_order_.begin() + static_cast<long>(i));
            break;
        }
    }
    object_free(x);
}

void Interpreter::cmd_free(const std::string &where, const std::string &args) {
    std::vector<std::string> w = words(args);
    if (w.size() != 1) {
        fail(where, "expected: free <name>");
        return;
    }
    if (!lookup(w[0], where)) return;
    free_instance(w[0]);
}

void Interpreter::cmd_send(const std::string &where, const std::string &name, const std::string &message) {
    t_object *x = lookup(name, where);
    if (!x) return;
    if (message.empty()) {
        fail(where, "expected: " + name + " <message>");
        return;
    }
    // A message the object refuses is reported by the host itself; the line still counts as failed.
    if (!maxhost::send_text(x, message)) failed_ = true;
}

void Interpreter::close() {
    if (closed_) return;
    closed_ = true;
    // No clock may fire while instances go away.
    maxhost::shutdown();
    while (!creation_order_.empty()) free_instance(creation_order_.back());
    std::lock_guard<std::mutex> lock(print_mutex);
    std::fflush(stdout);
}

}  // namespace maxscript
