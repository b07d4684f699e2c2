// gasnet's write and read: a bad file is refused with one error naming the object, the file and
// what is wrong, and the model stays exactly as it was; a good file brings back the whole model.
#include "file_text.h"
#include "gasnet_test_util.h"

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace fs = std::filesystem;

namespace {

using filetest::slurp;

fs::path test_folder() {
    fs::path dir = fs::path(MAXLEARN_BINARY_DIR) / "gasnet_file_test";
    fs::create_directories(dir);
    maxhost::set_default_folder(dir.string());
    return dir;
}

// Everything the object prints of itself: dump_max (units, attributes) and every unit read out.
std::vector<std::string> state(Gas &g) {
    maxhost::ConsoleCapture c;
    g.send("dump_max");
    std::vector<std::string> lines = c.lines();
    g.take();
    for (long n = 1; n <= g.x->unit_count; n++) g.send(std::to_string(n));
    for (const Sent &s : g.take()) {
        std::string l;
        for (long v : s.args) l += std::to_string(v) + " ";
        lines.push_back(l);
    }
    return lines;
}

// A trained gasnet with 3-component vectors and a full graph.
void train(Gas &g, int steps, unsigned seed) {
    srand(seed);
    for (int i = 0; i < steps; i++)
        g.send("learn " + std::to_string(rand() % 128) + " " + std::to_string(rand() % 128) + " " +
               std::to_string(rand() % 128));
}

// Runs a message that works on the main thread; returns what it posted.
std::vector<std::string> run(Gas &g, const std::string &message) {
    maxhost::ConsoleCapture c;
    g.send(message);
    EXPECT_TRUE(c.lines().empty()) << "the file work waits for the main thread";
    maxhost::run_queue();
    return c.lines();
}

std::string replaced(std::string text, const std::string &pattern, const std::string &with) {
    return std::regex_replace(text, std::regex(pattern), with, std::regex_constants::format_first_only);
}

struct BadFile {
    const char *name;
    std::string pattern, with;  // the good file with its first match of `pattern` replaced
    const char *why;            // what the error must say
};

TEST(GasnetFile, ABadFileIsRefusedAndTheModelStaysAsItWas) {
    fs::path dir = test_folder();
    Gas g("gasnet 8 127");
    // A graph set directly (the table below names its sizes), with reals that need all 17 digits.
    std::vector<std::vector<double>> vectors;
    for (int i = 0; i < 8; i++) vectors.push_back({i * 10.1, 100 - i / 3.0, 0.1 * i * i});
    set_graph(g.x, vectors, {{1, 2, 0}, {2, 3, 1}, {3, 4, 2}, {4, 5, 0}, {5, 6, 3}, {6, 7, 0}, {7, 8, 1}, {8, 1, 0}});
    ASSERT_EQ(run(g, "write good.json"), std::vector<std::string>{"gasnet: wrote 8 units to good.json"});
    const std::string good = slurp(dir / "good.json");
    train(g, 50, 12);  // the model in memory differs from the file
    const std::vector<std::string> before = state(g);

    const BadFile cases[] = {
        {"not_json", "^\\{", "x", "not a JSON dictionary"},
        {"array", "^[^]*$", "[1, 2, 3]", "not a JSON dictionary"},
        {"truncated", "\"vectors\"[^]*$", "\"vectors\" : [ 1.5, ", "not a JSON dictionary"},
        {"other_object", "maxlearn.gasnet", "maxlearn.chainlet", "a chainlet file, not a gasnet one"},
        {"unknown_format", "maxlearn.gasnet", "blob", "format \"blob\" is not maxlearn.gasnet"},
        {"no_format", "\"format\" : \"maxlearn.gasnet\",", "", "no \"format\""},
        {"newer", "\"version\" : 1", "\"version\" : 2", "version 2 is newer than this gasnet reads (1)"},
        {"missing_key", "\"mu\" : 5,", "", "no \"mu\""},
        {"missing_array", "\"edges\" : \\[[^\\]]*\\],", "", "no \"edges\""},
        {"wrong_type", "\"mu\" : 5", "\"mu\" : \"five\"", "\"mu\" is not an integer"},
        {"real_for_long", "\"lambda\" : 2", "\"lambda\" : 2.5", "\"lambda\" is not an integer"},
        {"array_for_long", "\"vector_size\" : 3", "\"vector_size\" : [ 3 ]", "\"vector_size\" is not an integer"},
        {"symbol_in_vectors", "\"vectors\" : \\[ [^,]*,", "\"vectors\" : [ \"a\",", "\"vectors\" holds a value that is not a number"},
        {"string_for_vectors", "\"vectors\" : \\[[^\\]]*\\]", "\"vectors\" : \"abc\"", "\"vectors\" holds 1 values, not 24"},
        {"vector_size_0", "\"vector_size\" : 3", "\"vector_size\" : 0", "\"vector_size\" is 0, beyond 1 to 256"},
        {"vector_size_300", "\"vector_size\" : 3", "\"vector_size\" : 300", "\"vector_size\" is 300, beyond 1 to 256"},
        {"units_5000", "\"max_units\" : 8", "\"max_units\" : 5000", "\"max_units\" is 5000, beyond 2 to 100"},
        {"count_over_max", "\"unit_count\" : 8", "\"unit_count\" : 9", "\"unit_count\" is 9, beyond 0 to 8"},
        {"count_disagrees", "\"unit_count\" : 8", "\"unit_count\" : 7", "\"unit_ids\" holds 8 values, not 7"},
        {"short_vectors", "\"vectors\" : \\[ [^,]*,", "\"vectors\" : [", "\"vectors\" holds 23 values, not 24"},
        {"infinite", "\"errors\" : \\[ [^,]*,", "\"errors\" : [ 1e999,", "not a JSON dictionary"},
        {"kappa_symbol", "\"kappa\" : 3.0", "\"kappa\" : \"three\"", "\"kappa\" is not a number"},
        {"alpha_beyond", "\"alpha\" : 0.5", "\"alpha\" : 7.0", "\"alpha\" is 7, beyond 0.01 to 1"},
        {"value_max_1", "\"value_max\" : 127", "\"value_max\" : 1", "\"value_max\" is 1, beyond 2 to"},
        {"unknown_link", "\"edges\" : \\[ [0-9]+,", "\"edges\" : [ 99999,", "an edge links to unit 99999, which is not in \"unit_ids\""},
        {"odd_edges", "\"edges\" : \\[ ", "\"edges\" : [ 1, ", "not pairs of neighbour and age"},
        {"negative_age", "\"edges\" : \\[ ([0-9]+), [0-9]+", "\"edges\" : [ $1, -4", "\"edges\" holds -4, beyond 0 to"},
        {"edge_counts_off", "\"edge_counts\" : \\[ ([0-9]+)", "\"edge_counts\" : [ 1$1", "\"edge_counts\" add up to"},
        {"id_beyond_next", "\"unit_ids\" : \\[ [0-9]+", "\"unit_ids\" : [ 100000", "\"unit_ids\" holds 100000, beyond 1 to"},
        {"id_twice", "\"unit_ids\" : \\[ ([0-9]+), [0-9]+", "\"unit_ids\" : [ $1, $1", "appears twice in \"unit_ids\""},
        {"readout_short", "\"last_readout\" : \\[ [^,]*,", "\"last_readout\" : [", "\"last_readout\" holds 2 values, not 3"},
    };
    for (const BadFile &c : cases) {
        std::string text = replaced(good, c.pattern, c.with);
        ASSERT_NE(text, good) << c.name << ": the pattern matches nothing";
        std::ofstream(dir / (std::string(c.name) + ".json"), std::ios::binary) << text;
        std::vector<std::string> posted = run(g, std::string("read ") + c.name + ".json");
        ASSERT_EQ(posted.size(), 1u) << c.name;
        EXPECT_EQ(posted[0].rfind("gasnet: cannot read " + std::string(c.name) + ".json: ", 0), 0u) << posted[0];
        EXPECT_NE(posted[0].find(c.why), std::string::npos) << c.name << ": " << posted[0];
    }

    // No file, a folder, and 100 MB of junk that opens like a dictionary.
    fs::create_directories(dir / "folder.json");
    {
        std::ofstream junk(dir / "junk.json", std::ios::binary);
        junk << "{\"format\" : \"maxlearn.gasnet\", \"vectors\" : ";
        std::string block(1 << 20, '[');
        for (int i = 0; i < 100; i++) junk << block;
    }
    const std::pair<const char *, const char *> files[] = {
        {"nothing.json", "no such file"}, {"folder.json", "no such file"}, {"junk.json", "not a JSON dictionary"}};
    for (const auto &f : files) {
        std::vector<std::string> posted = run(g, std::string("read ") + f.first);
        ASSERT_EQ(posted.size(), 1u) << f.first;
        EXPECT_EQ(posted[0], "gasnet: cannot read " + std::string(f.first) + ": " + f.second);
    }
    fs::remove(dir / "junk.json");
    EXPECT_EQ(state(g), before);

    // The good file is taken whole: what the writer had, not what the object learned since.
    ASSERT_EQ(run(g, "read good.json"), std::vector<std::string>{"gasnet: read 8 units from good.json"});
    ASSERT_EQ(run(g, "write again.json").size(), 1u);
    EXPECT_EQ(slurp(dir / "again.json"), good);
    EXPECT_NE(state(g), before);
}

TEST(GasnetFile, AReadTakesTheFilesSizesAndAttributes) {
    fs::path dir = test_folder();
    Gas big("gasnet 30 1000 @mu 9 @lambda 3 @alpha 0.2 @kappa 0.5 @lcd 300 @mutation 80");
    train(big, 400, 5);
    big.send("learn 1 2 3 4 5");  // five components from here on
    for (int i = 0; i < 200; i++) big.send("learn " + std::to_string(i % 7) + " 9 " + std::to_string(i % 13) + " 4 500");
    ASSERT_EQ(run(big, "write big.json").size(), 1u);

    Gas small("gasnet 4 10");
    train(small, 100, 6);
    ASSERT_EQ(run(small, "read big.json").size(), 1u);
    EXPECT_EQ(state(small), state(big));
    EXPECT_EQ(small.x->max_units, 30);
    EXPECT_EQ(small.x->value_max, 1000);
    EXPECT_EQ(small.x->vector_size, 5);
    EXPECT_EQ(small.x->next_id, big.x->next_id);
    EXPECT_EQ(store_order(small.x), store_order(big.x));
    for (long id : store_order(big.x)) EXPECT_EQ(edges_of(small.x, id), edges_of(big.x, id)) << id;
    // Both go on alike: the same steps give the same graph.
    for (Gas *g : {&big, &small}) {
        srand(3);
        for (int i = 0; i < 100; i++) g->send("learn " + std::to_string(rand() % 900) + " 1 2 3 " + std::to_string(i));
    }
    EXPECT_EQ(state(small), state(big));
}

TEST(GasnetFile, AFailedWriteSaysSoAndKeepsTheEarlierFile) {
    fs::path dir = test_folder();
    Gas g("gasnet 6");
    train(g, 100, 1);
    ASSERT_EQ(run(g, "write kept.json").size(), 1u);
    const std::string good = slurp(dir / "kept.json");
    train(g, 100, 2);
    fs::create_directories(dir / "kept.json.writing");  // the new file cannot be made beside it
    std::vector<std::string> posted = run(g, "write kept.json");
    fs::remove_all(dir / "kept.json.writing");
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].rfind("gasnet: cannot write kept.json: ", 0), 0u) << posted[0];
    EXPECT_EQ(slurp(dir / "kept.json"), good);
    EXPECT_EQ(run(g, "write no/such/folder/m.json"),
              std::vector<std::string>{"gasnet: cannot write no/such/folder/m.json: no such folder"});
    EXPECT_EQ(run(g, "write no/"), std::vector<std::string>{"gasnet: cannot write no/: no such folder"});
    fs::create_directories(dir / "sub");
    EXPECT_EQ(run(g, "write sub/"), std::vector<std::string>{"gasnet: cannot write sub/: a folder, not a file name"});
    posted = run(g, "write " + std::string(600, 'n') + ".json");
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_NE(posted[0].find("the name is too long"), std::string::npos) << posted[0];
    // Without a name the dialog is cancelled here: the error asks for a name.
    posted = run(g, "write");
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_NE(posted[0].find("give a file name"), std::string::npos) << posted[0];
    posted = run(g, "read");
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_NE(posted[0].find("give a file name"), std::string::npos) << posted[0];
}

}  // namespace

namespace {

// A file written by the Linux build reads on every build and writes back byte for byte: no real
// loses a digit, no integer is cut to a 32-bit long.
TEST(GasnetFile, AFileFromAnotherPlatformReadsAndWritesBackUnchanged) {
    fs::path dir = test_folder();
    const fs::path fixture = fs::path(MAXLEARN_SOURCE_DIR) / "tests" / "gasnet" / "data" / "model_written_on_linux.json";
    std::ofstream(dir / "linux.json", std::ios::binary) << slurp(fixture);
    Gas g;
    ASSERT_EQ(run(g, "read linux.json"), std::vector<std::string>{"gasnet: read 10 units from linux.json"});
    EXPECT_EQ(g.x->value_max, 100000);
    ASSERT_EQ(run(g, "write back.json").size(), 1u);
    EXPECT_EQ(slurp(dir / "back.json"), slurp(fixture));
}

}  // namespace
