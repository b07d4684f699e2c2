#include "model_files_concurrency.h"

TEST(EchoseqFileConcurrency, WriteAndReadWhileAnotherThreadLearns) {
    model_files::write_and_read_while_learning("echoseq", "echoseq", "echoseq @slice 1", [](long i) {
        return i % 5 == 4 ? std::string("go 2") : std::to_string((i * 7 + i / 5) % 13 + 60);
    }, "bang");
}
