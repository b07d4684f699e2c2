#include "model_files_concurrency.h"

TEST(SelfmapFileConcurrency, WriteAndReadWhileAnotherThreadLearns) {
    model_files::write_and_read_while_learning("selfmap", "selfmap 20", "selfmap 8", [](long i) {
        const std::string v = std::to_string(i * 37 % 128) + " " + std::to_string(i * 11 % 128);
        return i % 4 == 3 ? "list 1 2 3 4 5" : (i % 4 == 2 ? std::string("3") : "learn " + v);
    });
}
