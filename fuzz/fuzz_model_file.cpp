// Feeds arbitrary bytes to one object's read as a file (FUZZ_OBJECT: chainlet, selfmap or
// echoseq): the JSON reader, the dictionary and the object's checks must refuse or take any input
// without a crash, a leak or undefined behaviour, and a model they take must go on, write back and
// read again.
#include "fuzz_input.h"

namespace {

t_object *g_object = nullptr;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (!g_object) g_object = fuzzinput::instance(FUZZ_OBJECT, FUZZ_OBJECT);
    fuzzinput::write_in_json(data, size);
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
