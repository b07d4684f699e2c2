// maxscript: runs scripts of messages against Max externals without Max.
//
//   maxscript [--out DIR] [--path DIR]... [--real-time] [SCRIPT|-]
#include "interpreter.h"
#include "maxhost/runtime.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char *kUsage =
    "usage: maxscript [--out DIR] [--path DIR]... [--real-time] [SCRIPT|-]\n"
    "  SCRIPT       a script file; '-' reads the script from stdin; without one, an interactive\n"
    "               prompt when stdin is a terminal\n"
    "  --out DIR    folder for the PNG files of 'png' (default: the current folder)\n"
    "  --path DIR   another folder to search for externals (may be repeated)\n"
    "  --real-time  clocks run in real time (default: virtual time)\n";

// The externals folder of the build this program belongs to: <build>/externals, seen from
// <build>/tools/maxscript/maxscript.
std::string default_externals_dir(const char *argv0) {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) exe = fs::absolute(argv0, ec);
    return (exe.parent_path() / ".." / ".." / "externals").lexically_normal().string();
}

// Takes the value of "--name VALUE" or "--name=VALUE".
bool option_value(const std::string &name, int argc, char **argv, int *i, std::string *value) {
    std::string arg = argv[*i];
    if (arg == name) {
        if (*i + 1 >= argc) return false;
        *value = argv[++*i];
        return true;
    }
    if (arg.compare(0, name.size() + 1, name + "=") == 0) {
        *value = arg.substr(name.size() + 1);
        return true;
    }
    return false;
}

}  // namespace

int main(int argc, char **argv) {
    std::string out_dir = ".";
    std::vector<std::string> paths;
    bool real_time = false;
    std::string script;
    bool have_script = false;

    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        std::string value;
        if (arg == "-h" || arg == "--help") {
            std::printf("%s\n%s", kUsage, maxscript::kCommandHelp);
            return 0;
        } else if (arg == "--real-time") {
            real_time = true;
        } else if (arg.compare(0, 5, "--out") == 0 && (arg.size() == 5 || arg[5] == '=')) {
            if (!option_value("--out", argc, argv, &i, &value) || value.empty()) {
                std::fprintf(stderr, "maxscript: --out needs a folder\n%s", kUsage);
                return 2;
            }
            out_dir = value;
        } else if (arg.compare(0, 6, "--path") == 0 && (arg.size() == 6 || arg[6] == '=')) {
            if (!option_value("--path", argc, argv, &i, &value) || value.empty()) {
                std::fprintf(stderr, "maxscript: --path needs a folder\n%s", kUsage);
                return 2;
            }
            paths.push_back(value);
        } else if (arg.size() > 1 && arg[0] == '-') {
            std::fprintf(stderr, "maxscript: unknown option %s\n%s", arg.c_str(), kUsage);
            return 2;
        } else if (have_script) {
            std::fprintf(stderr, "maxscript: only one script at a time\n%s", kUsage);
            return 2;
        } else {
            script = arg;
            have_script = true;
        }
    }

    // Folders given on the command line come before the build's own externals.
    for (const std::string &p : paths) maxhost::add_search_path(p);
    maxhost::add_search_path(default_externals_dir(argv[0]));

    std::ifstream file;
    std::istream *in = &std::cin;
    std::string label = "stdin";
    std::string base_dir = ".";
    bool interactive = false;
    if (have_script && script != "-") {
        std::error_code ec;
        if (fs::is_directory(script, ec)) {
            std::fprintf(stderr, "maxscript: %s is a folder, not a script (the scripts in it end in .maxs)\n",
                         script.c_str());
            return 2;
        }
        file.open(script);
        if (!file) {
            std::fprintf(stderr, "maxscript: cannot read %s: %s\n", script.c_str(), std::strerror(errno));
            return 2;
        }
        in = &file;
        label = script;
        fs::path parent = fs::path(script).parent_path();
        if (!parent.empty()) base_dir = parent.string();
    } else if (!have_script) {
        interactive = isatty(STDIN_FILENO) != 0;
    }

    maxhost::set_default_folder(base_dir);  // objects' files are relative to the script's folder
    if (real_time) maxhost::set_time_mode(maxhost::TimeMode::real_time);
    maxscript::set_flush_each_line(real_time || interactive);

    if (interactive) std::fputs("maxscript: one command a line; help lists them, Ctrl-D ends\n", stdout);

    int status;
    {
        maxscript::Interpreter interpreter(out_dir, base_dir);
        std::string line;
        long number = 0;
        for (;;) {
            if (interactive) {
                std::fputs("> ", stdout);
                std::fflush(stdout);
            }
            if (!std::getline(*in, line)) break;
            ++number;
            interpreter.run_line(line, label + ":" + std::to_string(number));
        }
        if (interactive) std::fputs("\n", stdout);
        interpreter.close();
        status = interpreter.failed() ? 1 : 0;
    }
    std::fflush(stdout);
    return status;
}
