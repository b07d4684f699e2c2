// Feeds arbitrary bytes to gasnet's read as a file: the JSON reader, the dictionary and gasnet's
// checks must refuse or take any input without a crash, a leak or undefined behaviour, and a
// model they take must write back and read again.
#include "fuzz_input.h"
#include "gasnet.h"

namespace {

t_gasnet *g_gas = nullptr;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (!g_gas) g_gas = reinterpret_cast<t_gasnet *>(fuzzinput::instance("gasnet", "gasnet 6"));
    fuzzinput::write_in_json(data, size);
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
