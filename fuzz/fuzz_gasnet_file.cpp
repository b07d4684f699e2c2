// Feeds arbitrary bytes to gasnet's read as a file: the JSON reader, the dictionary and gasnet's
// checks must refuse or take any input without a crash, a leak or undefined behaviour, and a
// model they take must write back and read again.
#include "gasnet.h"
#include "maxhost/runtime.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

t_gasnet *g_gas = nullptr;

void setup() {
    fs::path dir = fs::temp_directory_path() / ("gasnet_fuzz_" + std::to_string((long)getpid()));
    fs::create_directories(dir);
    maxhost::set_default_folder(dir.string());
    maxhost::add_search_path(MAXLEARN_EXTERNALS_DIR);
    maxhost::set_console_sink([](maxhost::ConsoleKind, const std::string &) {});
    g_gas = reinterpret_cast<t_gasnet *>(maxhost::create_from_box("gasnet 6"));
    if (!g_gas) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (!g_gas) setup();
    if (FILE *f = std::fopen((fs::path(maxhost::default_folder()) / "in.json").string().c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    gasnet_doread(g_gas, gensym("in.json"), 0, nullptr);
    // Whatever was taken goes on learning, writes and reads back.
    t_atom v[3];
    for (int k = 0; k < 3; k++) atom_setlong(v + k, k * 40);
    gasnet_learn(g_gas, gensym("learn"), g_gas->vector_size <= 3 ? g_gas->vector_size : 3, v);
    gasnet_bang(g_gas);
    gasnet_dowrite(g_gas, gensym("out.json"), 0, nullptr);
    gasnet_doread(g_gas, gensym("out.json"), 0, nullptr);
    return 0;
}
