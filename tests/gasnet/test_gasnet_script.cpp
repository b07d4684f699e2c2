// End to end through the command-line host: a script teaches gasnet, prints it and draws it.
#include "file_text.h"
#include "script_command.h"

#include <gtest/gtest.h>
#if MAXLEARN_HAVE_LIBPNG
#include "png_rgb.h"
#endif

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

TEST(GasnetScript, PrintsAndDrawsTheLearnedUnits) {
    fs::path dir = fs::path(MAXLEARN_BINARY_DIR) / "gasnet_script_test";
    fs::create_directories(dir);
    std::ofstream(dir / "gas.maxs") << "new g gasnet 10 128\nnew screen lcd\nconnect g 1 screen 0\nseed 7\n"
                                       "g learn 10 120\ng learn 100 20\ng learn 60 60\ng learn 128 0\ng learn 5 5\n"
                                       "g learn 90 90\ng learn 30 100\nwait 1100\ng dump_max\ng dump_lcd\nwait 1\n"
                                       "png screen gas.png\ng 1\n";
    std::string cmd = scripttest::command({MAXSCRIPT_PATH, "--out", dir.string(), (dir / "gas.maxs").string()},
                                          (dir / "out.txt").string(), false);
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    std::vector<std::string> lines;
    std::ifstream out(dir / "out.txt");
    for (std::string l; std::getline(out, l);) lines.push_back(l);

    int units = 0;
    ASSERT_GE(lines.size(), 12u);
    ASSERT_EQ(std::sscanf(lines[0].c_str(), "GNG : %d / 10", &units), 1) << lines[0];
    ASSERT_EQ(lines.size(), 11u + (size_t)units);
    EXPECT_EQ(lines[1] + "|" + lines[8], "mu : 5| ");
    EXPECT_EQ(lines[9 + (size_t)units], " ");
    EXPECT_EQ(lines[10 + (size_t)units], "g: " + lines[9]);  // unit 1 is the first row

#if MAXLEARN_HAVE_LIBPNG
    RgbImage image;
    ASSERT_NO_FATAL_FAILURE(read_rgb((dir / "gas.png").string(), &image));
    ASSERT_EQ(image.width * 1000 + image.height, 200u * 1000 + 200u);  // 10 columns of 20, 2 rows of 100
    // With value_max 128 a cell's colour number is the printed value; columns past the units stay blank.
    for (int i = 0; i < 10; i++) {
        std::istringstream row(i < units ? lines[9 + (size_t)i] : "0 0");
        for (int j = 0, v; j < 2 && row >> v; j++) {
            const unsigned char *p = &image.rgb[3 * ((size_t)(j * 100 + 50) * 200 + (size_t)(i * 20 + 10))];
            int expected[3] = {255 - 51 * (v / 36), 255 - 51 * ((v / 6) % 6), 255 - 51 * (v % 6)};
            EXPECT_EQ((std::vector<int>{p[0], p[1], p[2]}), std::vector<int>(expected, expected + 3)) << i << "," << j;
        }
    }
#else
    // Without libpng here: the file is a PNG of the drawing's size (the pixels are checked on Linux).
    std::ifstream png(dir / "gas.png", std::ios::binary);
    std::vector<unsigned char> head(24);
    ASSERT_TRUE(png.read(reinterpret_cast<char *>(head.data()), 24));
    EXPECT_EQ(std::string(head.begin() + 1, head.begin() + 4) + std::string(head.begin() + 12, head.begin() + 16), "PNGIHDR");
    EXPECT_EQ((head[18] << 8 | head[19]) * 1000 + (head[22] << 8 | head[23]), 200 * 1000 + 200);
#endif
}

namespace {

std::vector<std::string> run_script(const fs::path &dir, const std::string &name, const std::string &text) {
    std::ofstream(dir / (name + ".maxs")) << text;
    std::string cmd = scripttest::command({MAXSCRIPT_PATH, "--out", dir.string(), (dir / (name + ".maxs")).string()},
                                          (dir / (name + ".txt")).string(), true);
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    std::vector<std::string> lines;
    std::ifstream out(dir / (name + ".txt"));
    for (std::string l; std::getline(out, l);) lines.push_back(l);
    return lines;
}

using filetest::slurp;

}  // namespace

// Train, write, go on; a new gasnet reads the file and goes on with the same script: every line
// it prints is the same, and the file it writes back is the same file.
TEST(GasnetScript, AModelReadBackGoesOnExactlyAsTheWriterDid) {
    fs::path dir = fs::path(MAXLEARN_BINARY_DIR) / "gasnet_roundtrip_test";
    fs::remove_all(dir);
    fs::create_directories(dir / "models");
    std::string train = "seed 4\n";
    for (int i = 0; i < 400; i++)
        train += "g learn " + std::to_string(i * 37 % 128) + " " + std::to_string(i * 91 % 128) + " " +
                 std::to_string(i * 13 % 128) + "\n";
    const std::string go_on = "seed 9\ng learn 5 6 7\ng learn 100 20 60\ng bang\ng 3\ng list 1 2 3 4 5 6 7\n"
                              "g dump_max\ng mu 3\ng learn 50 50 50\ng learn 51 49 50\ng dump_max\n";
    std::vector<std::string> first = run_script(
        dir, "first", "new g gasnet 9 127 @epsilon1 0.2 @alpha 0.35\n" + train + "g write models/m.json\n" + go_on);
    std::vector<std::string> second =
        run_script(dir, "second", "new g gasnet\ng read models/m.json\ng write models/again.json\n" + go_on);
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(second.empty());
    // The unit count depends on the C library's draws (Windows' rand differs); both sides agree on it.
    int units = 0;
    ASSERT_EQ(std::sscanf(first[0].c_str(), "gasnet: wrote %d units to models/m.json", &units), 1) << first[0];
    EXPECT_EQ(second[0], "gasnet: read " + std::to_string(units) + " units from models/m.json");
    EXPECT_EQ(second[1], "gasnet: wrote " + std::to_string(units) + " units to models/again.json");
    EXPECT_EQ(std::vector<std::string>(first.begin() + 1, first.end()),
              std::vector<std::string>(second.begin() + 2, second.end()));
    EXPECT_EQ(slurp(dir / "models" / "again.json"), slurp(dir / "models" / "m.json"));
}
