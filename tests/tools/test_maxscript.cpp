// Runs the maxscript program as a child process on scripts written to a temporary folder and checks
// what it prints, its exit status and the PNG files it writes.
#include <gtest/gtest.h>
#include <png.h>
#include <sys/wait.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Result {
    int status = -1;
    std::vector<std::string> lines;   // stdout
    std::vector<std::string> errors;  // stderr
    double seconds = 0;
};

struct Image {
    unsigned width = 0;
    unsigned height = 0;
    std::vector<unsigned char> rgb;
    std::array<int, 3> at(unsigned x, unsigned y) const {
        size_t i = 3 * (static_cast<size_t>(y) * width + x);
        return {rgb[i], rgb[i + 1], rgb[i + 2]};
    }
};

using RGB = std::array<int, 3>;
const RGB kWhite = {255, 255, 255};
const RGB kBlack = {0, 0, 0};

class Maxscript : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "maxscript-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    void write(const std::string &name, const std::string &text) {
        fs::path p = dir_ / name;
        fs::create_directories(p.parent_path());
        std::ofstream(p) << text;
    }

    // Runs maxscript in the temporary folder with the given arguments (the script path relative to it).
    Result run(const std::string &args, const std::string &stdin_file = "") {
        std::string command = "cd '" + dir_.string() + "' && timeout 60 '" MAXSCRIPT_EXE "' " + args +
                              (stdin_file.empty() ? " < /dev/null" : " < '" + stdin_file + "'") +
                              " > stdout.txt 2> stderr.txt";
        auto start = std::chrono::steady_clock::now();
        int raw = std::system(command.c_str());
        Result r;
        r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        std::ifstream out(dir_ / "stdout.txt");
        for (std::string line; std::getline(out, line);) r.lines.push_back(line);
        std::ifstream err(dir_ / "stderr.txt");
        for (std::string line; std::getline(err, line);) r.errors.push_back(line);
        return r;
    }

    Result run_script(const std::string &text, const std::string &options = "") {
        write("script.maxs", text);
        return run(options + " script.maxs");
    }

    Image read_png(const std::string &name) {
        Image img;
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        std::string path = (dir_ / name).string();
        if (!png_image_begin_read_from_file(&image, path.c_str())) {
            ADD_FAILURE() << "cannot read " << path;
            return img;
        }
        image.format = PNG_FORMAT_RGB;
        img.width = image.width;
        img.height = image.height;
        img.rgb.resize(PNG_IMAGE_SIZE(image));
        EXPECT_TRUE(png_image_finish_read(&image, nullptr, img.rgb.data(), 0, nullptr));
        return img;
    }

    fs::path dir_;
};

using Lines = std::vector<std::string>;

// Output, cords and attributes

TEST_F(Maxscript, PrintsOutletsAsThePrintObjectDoesAndPostsAsPosted) {
    Result r = run_script(
        "# a comment line\n"
        "new e testext 3\n"
        "\n"
        "e bang\n"
        "e 5\n"
        "e 2.5\n"
        "e 1 2 3\n"
        "e say hello world\n"
        "e hello\n"
        "echo done\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.lines, (Lines{"e: bang", "e: 5", "e: 2.5", "e: 1 2 3", "e.1: said hello world",
                              "hello from testext 3", "done"}));
}

TEST_F(Maxscript, CordsCarryMessagesAndGoAwayWithTheirInstance) {
    Result r = run_script(
        "new a testext\n"
        "new b testext\n"
        "connect a 0 b\n"
        "a 7\n"
        "a say hi\n"
        "free b\n"
        "a 8\n");
    EXPECT_EQ(r.status, 0);
    // Only b prints the 7; a's right outlet has no cord; after b is gone a's own outlet prints.
    EXPECT_EQ(r.lines, (Lines{"b: 7", "a.1: said hi", "a: 8"}));
}

TEST_F(Maxscript, AttributesComeFromBoxArgumentsAndMessages) {
    Result r = run_script(
        "new e testext 2 @gain 4 @label foo\n"
        "get e gain\n"
        "get e label\n"
        "e gain 9\n"
        "e ratio 0.35\n"
        "get e gain\n"
        "get e ratio\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.lines, (Lines{"e: gain 4", "e: label foo", "e: gain 9", "e: ratio 0.35"}));
}

TEST_F(Maxscript, AWordGivenToAClippedAttributeLandsInItsRange) {
    Result r = run_script(
        "new g gasnet 10 @mu foo\n"
        "g lcd foo\n"
        "g alpha foo\n"
        "new e echoseq @threshold @\n"
        "get g mu\nget g lcd\nget g alpha\nget e threshold\n");
    EXPECT_EQ(r.lines, (Lines{"g: mu 1", "g: lcd 100", "g: alpha 0.01", "e: threshold 1"}));
}

TEST_F(Maxscript, ReadsTheScriptFromStdin) {
    write("in.maxs", "new e testext\ne 4\nnope 1\n");
    Result r = run("-", "in.maxs");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.lines, (Lines{"e: 4", "stdin:3: unknown instance \"nope\""}));

    r = run(".");  // a folder is no script: a usage error, not an empty run
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.errors, (Lines{"maxscript: . is a folder, not a script (the scripts in it end in .maxs)"}));
}

// Time

TEST_F(Maxscript, VirtualWaitRunsClocksInOrderWithoutRealDelay) {
    Result r = run_script(
        "new e testext\n"
        "e later 100\n"
        "wait 50\n"
        "echo half\n"
        "wait 50\n"
        "echo end\n"
        "e soon\n"
        "echo after soon\n"
        "e later 600000\n"
        "wait 600000\n");
    EXPECT_EQ(r.status, 0);
    // Queue elements run right after the line that set them.
    EXPECT_EQ(r.lines, (Lines{"half", "e.1: tick", "end", "e.1: ran", "after soon", "e.1: tick"}));
    EXPECT_LT(r.seconds, 60.0);  // ten virtual minutes pass at once
}

TEST_F(Maxscript, RealTimeWaitLetsClocksFire) {
    Result r = run_script("new e testext\ne later 30\nwait 300\necho end\n", "--real-time");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.lines, (Lines{"e.1: tick", "end"}));
    EXPECT_GE(r.seconds, 0.3);
}

// Errors

TEST_F(Maxscript, BadLinesAreReportedWithTheirNumberAndTheScriptGoesOn) {
    Result r = run_script(
        "new e testext\n"           // 1
        "h bang\n"                  // 2
        "connect e x e\n"           // 3
        "connect e 5 e\n"           // 4
        "new e testext\n"           // 5
        "new f nosuchclass 1 2\n"   // 6
        "wait soon\n"               // 7
        "get e nosuch\n"            // 8
        "png e x.png\n"             // 9
        "e foo\n"                   // 10
        "seed -1\n"                 // 11
        "feed e missing.txt\n"      // 12
        "new 3x testext\n"          // 13
        "e\n"                       // 14
        "time later\n"              // 15
        "e 4\n");                   // 16
    EXPECT_EQ(r.status, 1);
    Lines expected_starts = {
        "script.maxs:2: unknown instance \"h\"",
        "script.maxs:3: expected: connect <from> <outlet> <to> [inlet]",
        "script.maxs:4: \"e\" has no outlet 5 (it has 2 outlets)",
        "script.maxs:5: instance name \"e\" is already in use",
        "script.maxs:6: cannot create \"nosuchclass 1 2\"",
        "script.maxs:7: expected: wait <ms>",
        "script.maxs:8: \"e\" has no attribute \"nosuch\"",
        "script.maxs:9: \"e\" is not an lcd",
        "script.maxs:10: error: testext: doesn't understand \"foo\"",  // the host's own report
        "script.maxs:11: expected: seed <n>",
        "script.maxs:12: cannot read",
        "script.maxs:13: bad instance name \"3x\"",
        "script.maxs:14: expected: e <message>",
        "script.maxs:15: expected: time virtual|real",
        "e: 4",
    };
    ASSERT_EQ(r.lines.size(), expected_starts.size());
    for (size_t i = 0; i < expected_starts.size(); ++i)
        EXPECT_EQ(r.lines[i].rfind(expected_starts[i], 0), 0u) << r.lines[i];
}

// Two objects that feed each other and themselves double the messages at every level: the
// overflow ends the whole event, reported once, whether a script line or a clock began it.
TEST_F(Maxscript, AFeedbackLoopWithFanOutEndsItsEventWithOneError) {
    const std::string loop = "connect a 0 a\nconnect a 0 b\nconnect b 0 a\nconnect b 0 b\n";
    Result r = run_script("new a gasnet 5\nnew b gasnet 5\n" + loop + "a 1 2 3\necho done\n");
    EXPECT_LT(r.seconds, 1.0);
    EXPECT_EQ(r.status, 1);  // the line whose chain overflowed failed
    ASSERT_EQ(r.lines.size(), 2u);
    EXPECT_EQ(r.lines[0].rfind("script.maxs:7: error: gasnet: stack overflow: message \"list\"", 0), 0u) << r.lines[0];
    EXPECT_EQ(r.lines[1], "done");

    r = run_script("new a testext\nnew b testext\n" + loop +
                   "connect a 1 a\na later 5\nwait 10\nb say next\na later 5\nwait 10\necho done\n");
    EXPECT_LT(r.seconds, 1.0);
    EXPECT_EQ(r.status, 1);
    ASSERT_EQ(r.lines.size(), 4u);
    EXPECT_EQ(r.lines[0].rfind("script.maxs:9: error: testext: stack overflow: message \"bang\"", 0), 0u) << r.lines[0];
    EXPECT_EQ(r.lines[1], "b.1: said next");  // the next event runs as usual
    EXPECT_EQ(r.lines[2].substr(r.lines[2].find(':', 12)), r.lines[0].substr(r.lines[0].find(':', 12)));
    EXPECT_EQ(r.lines[3], "done");
}

// Feeding data files

TEST_F(Maxscript, FeedSendsEachLineOfAFileNextToTheScript) {
    write("scripts/nums.txt", "1 2\n\n3\n");
    write("scripts/words.txt", "greetings all;\n# not data\ngood bye\n");
    write("scripts/feed.maxs",
          "new e testext\n"
          "feed e nums.txt\n"
          "feed e words.txt say\n"
          "feed e words.txt\n");
    Result r = run("scripts/feed.maxs");
    EXPECT_EQ(r.status, 1);  // the last feed sends messages testext does not know
    ASSERT_GE(r.lines.size(), 5u);
    EXPECT_EQ(Lines(r.lines.begin(), r.lines.begin() + 4),
              (Lines{"e: 1 2", "e: 3", "e.1: said greetings all", "e.1: said good bye"}));
    EXPECT_EQ(r.lines.back(), "scripts/feed.maxs:4: 2 of 2 lines of \"words.txt\" were not accepted");
}

// The lcd and its PNG files

TEST_F(Maxscript, PaintedRectanglesLandInThePngClippedToTheCanvas) {
    Result r = run_script(
        "new s lcd\n"
        "s size 20 10\n"
        "s paintrect 2 1 6 4 255\n"     // black
        "s paintrect 15 -5 40 3 215\n"  // red ramp start, clipped to x 15..19, y 0..2
        "s paintrect 5 5 5 9 255\n"     // empty: left == right
        "s paintrect 0 8 3 100 128\n"   // clipped to y 8..9
        "s paintrect 10 6 12 8 1000\n"  // colour clipped to 255
        "png s pic.png\n",
        "--out out");
    ASSERT_EQ(r.status, 0) << (r.lines.empty() ? "" : r.lines[0]);
    Image img = read_png("out/pic.png");
    ASSERT_EQ(img.width, 20u);
    ASSERT_EQ(img.height, 10u);
    for (unsigned y = 0; y < 10; ++y) {
        for (unsigned x = 0; x < 20; ++x) {
            RGB want = kWhite;
            if (x >= 2 && x < 6 && y >= 1 && y < 4) want = kBlack;
            if (x >= 15 && y < 3) want = {0xEE, 0, 0};
            if (x < 3 && y >= 8) want = {102, 102, 153};
            if (x >= 10 && x < 12 && y >= 6 && y < 8) want = kBlack;
            EXPECT_EQ(img.at(x, y), want) << "pixel " << x << ", " << y;
        }
    }
}

TEST_F(Maxscript, SizeClipsAndKeepsTheDrawingClearWhitens) {
    Result r = run_script(
        "new t lcd\n"
        "png t default.png\n"
        "t paintrect 0 0 4 4 225\n"
        "t size 0 3\n"  // clipped to 1 x 3, the painted corner kept
        "png t small.png\n"
        "t size 2 3\n"  // the new column is background
        "png t wider.png\n"
        "t clear\n"
        "png t cleared.png\n");
    ASSERT_EQ(r.status, 0);
    // A picture of an lcd nothing has painted on is still written, with a warning on stderr.
    ASSERT_EQ(r.errors.size(), 1u);
    EXPECT_EQ(r.errors[0].rfind("script.maxs:2: warning: default.png: nothing was drawn on lcd \"t\" (", 0), 0u)
        << r.errors[0];
    Image def = read_png("default.png");
    EXPECT_EQ(def.width, 128u);
    EXPECT_EQ(def.height, 128u);
    EXPECT_EQ(def.at(127, 127), kWhite);
    Image small = read_png("small.png");
    ASSERT_EQ(small.width, 1u);
    ASSERT_EQ(small.height, 3u);
    for (unsigned y = 0; y < 3; ++y) EXPECT_EQ(small.at(0, y), (RGB{0, 0xEE, 0}));
    Image wider = read_png("wider.png");
    ASSERT_EQ(wider.width, 2u);
    EXPECT_EQ(wider.at(0, 2), (RGB{0, 0xEE, 0}));
    EXPECT_EQ(wider.at(1, 2), kWhite);
    Image cleared = read_png("cleared.png");
    ASSERT_EQ(cleared.width, 2u);
    EXPECT_EQ(cleared.at(0, 0), kWhite);
}

TEST_F(Maxscript, ColourNumbersFollowTheSystemPalette) {
    const std::vector<std::pair<int, RGB>> samples = {
        {0, {255, 255, 255}}, {1, {255, 255, 204}}, {6, {255, 204, 255}},  {36, {204, 255, 255}},
        {128, {102, 102, 153}}, {214, {0, 0, 51}},  {215, {0xEE, 0, 0}},   {224, {0x11, 0, 0}},
        {225, {0, 0xEE, 0}},   {234, {0, 0x11, 0}}, {235, {0, 0, 0xEE}},   {244, {0, 0, 0x11}},
        {245, {0xEE, 0xEE, 0xEE}}, {249, {0x88, 0x88, 0x88}}, {254, {0x11, 0x11, 0x11}}, {255, {0, 0, 0}},
    };
    std::ostringstream script;
    script << "new p lcd\np size " << samples.size() << " 1\n";
    for (size_t i = 0; i < samples.size(); ++i)
        script << "p paintrect " << i << " 0 " << i + 1 << " 1 " << samples[i].first << "\n";
    script << "png p palette.png\n";
    ASSERT_EQ(run_script(script.str()).status, 0);
    Image img = read_png("palette.png");
    ASSERT_EQ(img.width, samples.size());
    for (size_t i = 0; i < samples.size(); ++i)
        EXPECT_EQ(img.at(static_cast<unsigned>(i), 0), samples[i].second) << "colour " << samples[i].first;
}

}  // namespace
