// Feeds arbitrary bytes to one object's read as a file (FUZZ_OBJECT: chainlet, selfmap or
// echoseq): the JSON reader, the dictionary and the object's checks must refuse or take any input
// without a crash, a leak or undefined behaviour, and a model they take must go on, write back and
// read again.
#include "maxhost/runtime.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

t_object *g_object = nullptr;

void setup() {
    fs::path dir = fs::temp_directory_path() / (std::string(FUZZ_OBJECT) + "_fuzz_" + std::to_string((long)getpid()));
    fs::create_directories(dir);
    maxhost::set_default_folder(dir.string());
    maxhost::add_search_path(MAXLEARN_EXTERNALS_DIR);
    maxhost::set_console_sink([](maxhost::ConsoleKind, const std::string &) {});
    g_object = maxhost::create_from_box(FUZZ_OBJECT);
    if (!g_object) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (!g_object) setup();
    if (FILE *f = std::fopen((fs::path(maxhost::default_folder()) / "in.json").string().c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    maxhost::send_text(g_object, "read in.json");
    maxhost::run_queue();
    // Whatever was taken goes on learning, reading out, writes and reads back.
    for (const char *m : {"list 1 2 3", "learn 1 2 3", "64", "bang", "bang", "3", "vraisemblance 1 2 3", "dump_max"})
        maxhost::send_text(g_object, m);
    maxhost::advance(1100);  // the dump's lock-out and any drawing
    maxhost::send_text(g_object, "write out.json");
    maxhost::send_text(g_object, "read out.json");
    maxhost::run_queue();
    return 0;
}
