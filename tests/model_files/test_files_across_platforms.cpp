// A file written by the Linux build reads on every build and writes back byte for byte: no real
// loses a digit, no integer is cut to a 32-bit long, and no state of the model is lost.
#include "file_text.h"
#include "maxhost/runtime.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

using filetest::slurp;

TEST(ModelFilePlatforms, AFileFromLinuxReadsAndWritesBackUnchanged) {
    const fs::path dir = fs::path(MAXLEARN_BINARY_DIR) / "model_file_platforms";
    fs::create_directories(dir);
    maxhost::set_default_folder(dir.string());
    maxhost::add_search_path(MAXLEARN_EXTERNALS_DIR);
    for (const std::string object : {"chainlet", "selfmap", "echoseq"}) {
        const fs::path fixture = fs::path(MAXLEARN_SOURCE_DIR) / "tests" / "model_files" / "data" / (object + "_written_on_linux.json");
        fs::remove(dir / "linux.json");  // mingw's copy_file cannot overwrite under Wine
        fs::copy_file(fixture, dir / "linux.json");
        t_object *x = maxhost::create_from_box(object);  // of other sizes than the file's
        ASSERT_NE(x, nullptr) << object;
        maxhost::ConsoleCapture console;
        maxhost::send_text(x, "read linux.json");
        maxhost::send_text(x, "write back.json");
        maxhost::run_queue();
        EXPECT_TRUE(console.errors().empty()) << console.errors()[0];
        EXPECT_EQ(console.lines().size(), 2u) << object;
        EXPECT_EQ(slurp(dir / "back.json"), slurp(fixture)) << object;
        object_free(x);
    }
}

}  // namespace
