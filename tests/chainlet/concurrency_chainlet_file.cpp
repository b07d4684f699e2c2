#include "model_files_concurrency.h"

TEST(ChainletFileConcurrency, WriteAndReadWhileAnotherThreadLearns) {
    model_files::write_and_read_while_learning("chainlet", "chainlet 6", "chainlet 3", [](long i) {
        return i % 4 == 3 ? "vraisemblance 60 62 64" : "list 60 62 " + std::to_string(60 + i % 12) + " 67 65";
    });
}
