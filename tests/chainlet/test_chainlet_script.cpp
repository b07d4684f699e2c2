// End to end through the command-line host: a script prints a chainlet model before and after a
// training list, scores sequences, and draws the emission matrix to a PNG whose pixels are checked.
#include "chainlet_fixture.h"
#include "png_rgb.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// The model that "seed 5" then "clear" gives a two-state instance: the draws of the creation
// order (initial, then each state's transition and emission rows).
Model seeded_model(unsigned seed)
{
    Model m;
    srand(seed);
    m.initial.resize(2);
    stochastic_vecteur(m.initial.data(), 2);
    for (int i = 0; i < 2; i++) {
        m.transition.emplace_back(2);
        stochastic_vecteur(m.transition.back().data(), 2);
        m.emission.emplace_back(128);
        stochastic_vecteur(m.emission.back().data(), 128);
    }
    m.initial_estimate = m.initial;
    m.transition_estimate = m.transition;
    m.emission_estimate = m.emission;
    return m;
}

Lines printed(const Model &m, long steps)
{
    char buf[96];
    Lines out = {"Taille MMC : 2", "Taille vecteur : " + std::to_string(steps), "Apprentissage : 1.000000"};
    for (long i = 0; i < 2; i++) {
        std::snprintf(buf, sizeof buf, "Initialisation %ld : %f", i, m.initial[(size_t)i]);
        out.push_back(buf);
    }
    for (long i = 0; i < 2; i++)
        for (long j = 0; j < 2; j++) {
            std::snprintf(buf, sizeof buf, "Transition %ld %ld : %f", i, j, m.transition[(size_t)i][(size_t)j]);
            out.push_back(buf);
        }
    for (long i = 0; i < 2; i++)
        for (long k = 0; k < 128; k++) {
            std::snprintf(buf, sizeof buf, "Distribution %ld %ld : %f", i, k, m.emission[(size_t)i][(size_t)k]);
            out.push_back(buf);
        }
    return out;
}

// The lcd palette entry of the drawn colour for one probability (v = 50 b, a 32-bit float).
std::vector<int> pixel(double b)
{
    const double v = (float)(b * 10.0 * 5.0);
    if (v <= 0.1) return {255, 255, 255};
    const int ramp[10] = {0xEE, 0xDD, 0xBB, 0xAA, 0x88, 0x77, 0x55, 0x44, 0x22, 0x11};
    int n = v <= 1.5 ? 1 : (int)std::floor(v + 0.5);
    if (n >= 11) return {0, 0, 0};
    int g = ramp[n == 1 ? 0 : n - 1];
    return {g, g, g};
}

}  // namespace

TEST(ChainletScript, PrintsScoresAndDraws)
{
    fs::path dir = fs::path(MAXLEARN_BINARY_DIR) / "chainlet_script_test";
    fs::create_directories(dir);
    std::ofstream(dir / "c.maxs") << "new c chainlet 2\nnew big chainlet 12 @lcd 400\nseed 5\nc clear\nc dump_max\n"
                                     "big dump_max\nnew screen lcd\nconnect c 2 screen 0\nc dump_lcd\npng screen c.png\n"
                                     "c list 1 2 3\nc vraisemblance 1 2 3\nc vraisemblance\nc 4\nwait 1000\nc dump_max\n";
    std::string cmd = std::string(MAXSCRIPT_PATH) + " --out " + dir.string() + " " + (dir / "c.maxs").string() + " > " +
                      (dir / "out.txt").string();
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    Lines lines;
    std::ifstream out(dir / "out.txt");
    for (std::string l; std::getline(out, l);) lines.push_back(l);

    Model m = seeded_model(5);
    const Model before = m;
    Lines want = printed(m, 0);
    ASSERT_GE(lines.size(), 2 * want.size() + 1415u + 2u);
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + (long)want.size()), want);

    // The twelve-state instance: every state's initial line, ten states' rows.
    Lines big(lines.begin() + (long)want.size(), lines.begin() + (long)want.size() + 1415);
    EXPECT_EQ(Lines(big.begin(), big.begin() + 3), (Lines{"Taille MMC : 12", "Taille vecteur : 0", "Apprentissage : 1.000000"}));
    EXPECT_EQ(big[14].rfind("Initialisation 11 : ", 0), 0u);
    EXPECT_EQ(big[15 + 119].rfind("Transition 9 11 : ", 0), 0u);
    EXPECT_EQ(big.back().rfind("Distribution 9 127 : ", 0), 0u);

    // The score of the learned sequence, then the empty one.
    const Ints o = {1, 2, 3};
    ASSERT_TRUE(chainlet_reference::learn(m, o, 1.0f));
    chainlet_reference::Pass p = chainlet_reference::forward(m, o);
    double s = 0;
    for (double c : p.coefficients) s += c;
    t_atom score;
    atom_setfloat(&score, -std::log(1.0 / s));
    size_t at = want.size() + 1415;
    EXPECT_EQ(lines[at], "c.3: " + maxhost::atom_to_text(score));
    EXPECT_EQ(lines[at + 1], "c.3: 1000.");
    EXPECT_EQ(Lines(lines.begin() + (long)at + 2, lines.end()), printed(m, 3));  // "c 4" sends nothing

    RgbImage image;
    ASSERT_NO_FATAL_FAILURE(read_rgb((dir / "c.png").string(), &image));
    ASSERT_EQ(image.width * 1000 + image.height, 384u * 1000 + 150u);  // 128 cells of 3 x 1, 2 rows of 75
    for (size_t i = 0; i < 2; i++)
        for (size_t k = 0; k < 128; k++) {
            const unsigned char *px = &image.rgb[3 * ((i * 75 + 37) * 384 + 3 * k + 1)];
            EXPECT_EQ((std::vector<int>{px[0], px[1], px[2]}), pixel(before.emission[i][k]))
                << "state " << i << " symbol " << k << " p " << before.emission[i][k];
        }
}
