// End to end through the command-line host: scripts print the map and draw it to a PNG, whose
// pixels must show the printed values in the lcd's palette.
#include <gtest/gtest.h>
#include <png.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

static Lines run(const std::string &name, const std::string &script) {
    fs::path dir = fs::path(MAXLEARN_BINARY_DIR) / "selfmap_script_test";
    fs::create_directories(dir);
    std::ofstream(dir / (name + ".maxs")) << script;
    std::string cmd = std::string(MAXSCRIPT_PATH) + " --out " + dir.string() + " " + (dir / (name + ".maxs")).string() +
                      " > " + (dir / (name + ".txt")).string();
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    Lines lines;
    std::ifstream out(dir / (name + ".txt"));
    for (std::string l; std::getline(out, l);) lines.push_back(l);
    return lines;
}

struct Image {
    unsigned width = 0, height = 0;
    std::vector<unsigned char> rgb;
    explicit Image(const std::string &name) {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        fs::path file = fs::path(MAXLEARN_BINARY_DIR) / "selfmap_script_test" / name;
        if (!png_image_begin_read_from_file(&image, file.string().c_str())) return;
        image.format = PNG_FORMAT_RGB;
        rgb.resize(PNG_IMAGE_SIZE(image));
        if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return;
        width = image.width;
        height = image.height;
    }
    std::vector<int> at(unsigned x, unsigned y) const {
        const unsigned char *p = &rgb[3 * ((size_t)y * width + x)];
        return {p[0], p[1], p[2]};
    }
};

// Colour number c of the lcd's palette (the 6 x 6 x 6 cube covers 0 to 214).
static std::vector<int> palette(long c) { return {255 - 51 * (int)(c / 36), 255 - 51 * (int)((c / 6) % 6), 255 - 51 * (int)(c % 6)}; }

// The values of a unit line "i : a b c d".
static std::vector<long> values(const std::string &line) {
    std::istringstream in(line.substr(line.find(" : ") + 3));
    std::vector<long> v;
    for (long e; in >> e;) v.push_back(e);
    return v;
}

// Every cell of a drawing of `units` columns and `components` rows shows its printed value.
static void expect_cells(const Image &png, const Lines &unit_lines, unsigned cw, unsigned ch, double value_max) {
    for (unsigned i = 0; i < unit_lines.size(); i++) {
        std::vector<long> v = values(unit_lines[i]);
        for (unsigned j = 0; j < v.size(); j++) {
            long colour = std::lround((double)v[j] / value_max * 128.0);
            EXPECT_EQ(png.at(i * cw + cw / 2, j * ch + ch / 2), palette(colour)) << "unit " << i + 1 << ", component " << j;
            EXPECT_EQ(png.at(i * cw + cw - 1, j * ch), palette(colour)) << "unit " << i + 1 << ", component " << j;
        }
    }
}

TEST(SelfmapScript, DefaultsPrintAndDrawEveryUnit) {
    Lines out = run("defaults", "new m selfmap\nnew screen lcd\nconnect m 1 screen 0\nm dump_max\nm dump_lcd\n"
                                "png screen defaults.png\nm 1\nm 50\n");
    ASSERT_EQ(out.size(), 4u + 1u + 50u + 1u + 2u);
    EXPECT_EQ(Lines(out.begin(), out.begin() + 5),
              (Lines{"Taille carte : 50", "Apprentissages /60 : 0", "Rayon d'influence : 25", "Pas d'apprentissage : 1.00", " "}));
    for (size_t i = 0; i < 50; i++) {
        EXPECT_EQ(out[5 + i].substr(0, std::to_string(i + 1).size() + 3), std::to_string(i + 1) + " : ");
        EXPECT_EQ(values(out[5 + i]).size(), 4u) << out[5 + i];
    }
    EXPECT_EQ(out[55], " ");
    EXPECT_EQ(out[56], "m: " + out[5].substr(4));  // "int 1" sends unit 1, "int 50" the last
    EXPECT_EQ(out[57], "m: " + out[54].substr(5));

    Image png("defaults.png");
    ASSERT_EQ(png.width * 1000 + png.height, 150u * 1000 + 148u);
    expect_cells(png, Lines(out.begin() + 5, out.begin() + 55), 3, 37, 127.0);
}

TEST(SelfmapScript, LearnedMapPrintsAndDraws) {
    // With value_max 128 a cell's colour number is the printed value itself.
    Lines out = run("learned", "new m selfmap 6 4 128 @pas 0.5\nnew screen lcd\nconnect m 1 screen 0\nseed 3\n"
                               "m learn 0 10 128\nm learn 128 118 0\nm learn 64 64 64\nm learn 20 30 40\nm learn 100 50 0\n"
                               "m dump_max\nm dump_lcd\npng screen learned.png\nm 6\nm list 1 2 3 4\n");
    ASSERT_EQ(out.size(), 5u + 6u + 1u + 2u);
    EXPECT_EQ(Lines(out.begin(), out.begin() + 5),
              (Lines{"Taille carte : 6", "Apprentissages /4 : 4", "Rayon d'influence : 3", "Pas d'apprentissage : 0.50", " "}));
    for (size_t i = 0; i < 6; i++) EXPECT_EQ(values(out[5 + i]).size(), 3u) << out[5 + i];
    EXPECT_EQ(out[12], "m: " + out[10].substr(4));
    EXPECT_EQ(out[13].substr(0, 3), "m: ");

    Image png("learned.png");
    ASSERT_EQ(png.width * 1000 + png.height, 150u * 1000 + 150u);  // 6 columns of 25, 3 rows of 50
    expect_cells(png, Lines(out.begin() + 5, out.begin() + 11), 25, 50, 128.0);
}
