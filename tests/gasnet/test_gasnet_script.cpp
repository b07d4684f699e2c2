// End to end through the command-line host: a script teaches gasnet, prints it and draws it.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

TEST(GasnetScript, PrintsAndDrawsTheLearnedUnits) {
    fs::path dir = fs::path(MAXLEARN_BINARY_DIR) / "gasnet_script_test";
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::ofstream(dir / "gas.maxs") << "new g gasnet 10 128\n"
                                       "new screen lcd\n"
                                       "connect g 1 screen 0\n"
                                       "seed 7\n"
                                       "g learn 10 120\ng learn 100 20\ng learn 60 60\ng learn 128 0\n"
                                       "g learn 5 5\ng learn 90 90\ng learn 30 100\n"
                                       "wait 1100\n"
                                       "g dump_max\n"
                                       "g dump_lcd\n"
                                       "wait 1\n"
                                       "png screen gas.png\n"
                                       "g 1\n";
    std::string command = std::string("\"") + MAXSCRIPT_PATH + "\" --out \"" + dir.string() + "\" \"" +
                          (dir / "gas.maxs").string() + "\" > \"" + (dir / "stdout.txt").string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    std::vector<std::string> lines;
    std::ifstream out(dir / "stdout.txt");
    for (std::string l; std::getline(out, l);) lines.push_back(l);
    size_t at = 0;
    while (at < lines.size() && lines[at].rfind("GNG : ", 0) != 0) at++;
    ASSERT_LT(at + 9, lines.size());
    int units = 0, max_units = 0;
    ASSERT_EQ(std::sscanf(lines[at].c_str(), "GNG : %d / %d", &units, &max_units), 2);
    EXPECT_EQ(max_units, 10);
    ASSERT_TRUE(units >= 2 && units <= 10) << units;
    std::vector<std::string> settings(lines.begin() + (long)at + 1, lines.begin() + (long)at + 9);
    EXPECT_EQ(settings, (std::vector<std::string>{"mu : 5", "lambda : 2", "alpha : 0.50", "beta : 0.25",
                                                  "epsilon : 0.30", "epsilon : 0.15", "kappa : 3.00", " "}));
    ASSERT_LT(at + 10 + (size_t)units, lines.size());
    std::vector<std::vector<int>> rows;
    for (int r = 0; r < units; r++) {
        std::istringstream s(lines[at + 9 + r]);
        std::vector<int> row;
        for (int v; s >> v;) row.push_back(v);
        ASSERT_EQ(row.size(), 2u) << lines[at + 9 + r];
        for (int v : row) EXPECT_TRUE(v >= 0 && v <= 128);
        rows.push_back(row);
    }
    EXPECT_EQ(lines[at + 9 + units], " ");
    EXPECT_EQ(lines[at + 10 + units], "g: " + lines[at + 9]);  // unit 1 is the first row

    // value_max 128 makes a cell's colour number the printed value itself.
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, (dir / "gas.png").string().c_str()));
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    ASSERT_EQ(image.width, 200u);
    ASSERT_EQ(image.height, 200u);
    auto pixel = [&](int px, int py) {
        const unsigned char *p = &rgb[3 * ((size_t)py * image.width + (size_t)px)];
        return std::vector<int>{p[0], p[1], p[2]};
    };
    auto colour = [](int c) { return std::vector<int>{255 - 51 * (c / 36), 255 - 51 * ((c / 6) % 6), 255 - 51 * (c % 6)}; };
    for (int i = 0; i < 10; i++)
        for (int j = 0; j < 2; j++)
            EXPECT_EQ(pixel(i * 20 + 10, j * 100 + 50), i < units ? colour(rows[i][j]) : colour(0)) << i << "," << j;
}
