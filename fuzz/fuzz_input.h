// What the file fuzzers share: one instance made once, in a default folder of this process's own,
// with the console silenced, and each input written there as in.json for the instance to read.
#pragma once

#include "maxhost/runtime.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fuzzinput {

inline t_object *instance(const std::string &name, const char *box) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / (name + "_fuzz_" + std::to_string((long)getpid()));
    fs::create_directories(dir);
    maxhost::set_default_folder(dir.string());
    maxhost::add_search_path(MAXLEARN_EXTERNALS_DIR);
    maxhost::set_console_sink([](maxhost::ConsoleKind, const std::string &) {});
    t_object *x = maxhost::create_from_box(box);
    if (!x) std::abort();
    return x;
}

inline void write_in_json(const uint8_t *data, size_t size) {
    namespace fs = std::filesystem;
    if (FILE *f = std::fopen((fs::path(maxhost::default_folder()) / "in.json").string().c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
}

}  // namespace fuzzinput
