// Saved models of chainlet, selfmap and echoseq through maxscript: an object that reads a file
// answers every later message exactly as the one that wrote it, and a bad file is refused with one
// error naming it while the model stays as it was.
#include "tool_run.h"

#include <nlohmann/json.hpp>

#include <functional>

namespace {

using nlohmann::json;

struct Object {
    std::string name;
    std::string box;      // the writer; the reader is a default box, so the file must carry the sizes
    std::string train;    // script lines that teach it
    std::string go_on;    // what both run after the file: every kind of read-out
    std::string prior;    // what the reader learns before it reads, so nothing of it may remain
};

std::string repeat(const std::string &line, int n) {
    std::string s;
    for (int i = 0; i < n; i++) s += line + "\n";
    return s;
}

std::string echoseq_stream(int n, int range) {
    std::string s;
    for (int i = 1; i <= n; i++) s += "o " + std::to_string((i * 7 + i / 5) % range + 60) + "\n";
    return s;
}

const std::vector<Object> kObjects = {
    {"chainlet", "chainlet 4 @apprentissage 3 @lcd 200",
     "o list 60 62 64 65 67 65 64 62 60\no list 60 64 67 72 67 64 60\no bang\no bang\n",
     repeat("o bang", 5) + "o vraisemblance 60 62 64\no list 62 64 65 67\no vraisemblance 60 62 64\no dump_max\n"
                           "o dump_lcd\n",
     "o list 1 2 3 4 5 6 7 8\n"},
    {"selfmap", "selfmap 7 20 200 @mutation 70 @pas 0.7 @lcd 300",
     "o learn 10 20 30\no learn 100 20 30\no learn 10 200 30\no learn 50 50 50\n",
     "o bang\no 3\no list 1 2 3 4 5 6\no learn 80 90 100\no learn 8 9 10\no dump_max\no dump_lcd\n",
     "o learn 1 2\no learn 3 4\n"},
    // Going on, it learns new symbols too, whose arcs take the free blocks of the storage read.
    {"echoseq", "echoseq @slice 1 @straight 30", echoseq_stream(300, 13) + repeat("o bang", 40),
     repeat("o bang", 40) + echoseq_stream(200, 29) + "o go 5\n" + repeat("o bang", 10) + "o dump_max 250\n" +
         "wait 1100\no dump_max 450\n",
     echoseq_stream(2000, 97)},
};

class ModelFiles : public ToolTest {
protected:
    ToolResult script(const std::string &text) {
        write("s.maxs", text);
        return run("'" MAXSCRIPT_EXE "' s.maxs");
    }
    // The lines printed after the one that matches `pattern`.
    static std::vector<std::string> after(const ToolResult &r, const std::string &pattern) {
        std::regex re(pattern);
        auto it = std::find_if(r.out.begin(), r.out.end(), [&](const std::string &l) { return std::regex_search(l, re); });
        return it == r.out.end() ? std::vector<std::string>{} : std::vector<std::string>(it + 1, r.out.end());
    }
    json written(const Object &o) {
        ToolResult r = script("new o " + o.box + "\nseed 3\no clear\n" + o.train + "o write good.json\n");
        EXPECT_TRUE(r.has("^" + o.name + ": wrote \\d+ (states|units) to good.json$")) << r.all();
        std::ifstream in(dir_ / "good.json");
        return json::parse(in);
    }
};

TEST_F(ModelFiles, AReadModelGoesOnExactlyAsTheWriter) {
    for (const Object &o : kObjects) {
        SCOPED_TRACE(o.name);
        const std::string go_on = "seed 9\n" + o.go_on + "wait 10\n";
        std::filesystem::create_directories(dir_ / "sub");
        ToolResult w = script("new o " + o.box + "\nseed 3\no clear\n" + o.train + "o write sub/m.json\n" + go_on);
        ToolResult r = script("new o " + o.name + "\n" + o.prior + "o read sub/m.json\no write back.json\n" + go_on);
        std::vector<std::string> expected = after(w, "^" + o.name + ": wrote \\d+ (states|units) to m.json$");
        EXPECT_GT(expected.size(), 20u) << w.all();
        EXPECT_EQ(after(r, "^" + o.name + ": wrote \\d+ (states|units) to back.json$"), expected) << r.all();
        // Nothing is lost either way: the model read writes the very same file.
        EXPECT_EQ(lines_of(dir_ / "back.json"), lines_of(dir_ / "sub" / "m.json"));
        EXPECT_TRUE(r.err.empty() && w.err.empty()) << w.all() << r.all();
    }
}

struct Bad {
    std::string what;
    std::function<void(json &)> change;  // of the good file; nullptr: `text` is the file
    std::string error;                   // pattern of what the error says after the file name
    std::string text = "";
};

void set_at(json &j, const char *key, size_t i, json v) { j[key][i] = std::move(v); }

std::vector<Bad> common_cases(const std::string &name) {
    return {
        {"not JSON", nullptr, "not a JSON dictionary", "this is { not json"},
        {"not a dictionary", nullptr, "not a JSON dictionary", "[1, 2, 3]"},
        {"truncated", [](json &) {}, "not a JSON dictionary"},  // cut below
        {"another object's file", [](json &j) { j["format"] = "maxlearn.gasnet"; },
         "format \"maxlearn.gasnet\", not \"maxlearn." + name + "\""},
        {"no format", [](json &j) { j.erase("format"); }, "no \"format\""},
        {"a newer version", [](json &j) { j["version"] = 2; }, "version 2, newer than 1"},
        {"version as text", [](json &j) { j["version"] = "1"; }, "\"version\" is not an integer"},
    };
}

std::vector<Bad> cases(const std::string &name) {
    std::vector<Bad> v = common_cases(name);
    auto add = [&](Bad b) { v.push_back(std::move(b)); };
    if (name == "chainlet") {
        add({"60 states", [](json &j) { j["states"] = 60; }, "\"states\" is 60, beyond 2 to 50"});
        add({"3 states with rows for 4", [](json &j) { j["states"] = 3; j["current_state"] = 0; }, "\"initial\" holds 4 values, not 3"});
        add({"a missing row block", [](json &j) { j.erase("emission_estimate"); }, "no \"emission_estimate\""});
        add({"a symbol in a row", [](json &j) { set_at(j, "emission", 3, "x"); }, "\"emission\" value 3 is not a finite"});
        add({"a negative probability", [](json &j) { j["transition"][0] = -j["transition"][0].get<double>(); },
             "\"transition\" row 0 holds a negative probability"});
        add({"a row that is not stochastic", [](json &j) { set_at(j, "emission", 130, 0.5); },
             "\"emission\" row 1 sums to"});
        add({"an estimate row that is not stochastic", [](json &j) { set_at(j, "initial_estimate", 0, 3.0); },
             "\"initial_estimate\" row 0 sums to"});
        add({"a state that does not exist", [](json &j) { j["current_state"] = 4; }, "\"current_state\" is 4, beyond -1 to 3"});
        add({"an infinite probability", [](json &j) { set_at(j, "initial", 1, 123456.5); },  // written 1e999
             "\"initial\" value 1 is not a finite|not a JSON dictionary"});
    } else if (name == "selfmap") {
        add({"5000 units", [](json &j) { j["units"] = 5000; }, "\"units\" is 5000, beyond 2 to 100"});
        add({"vector size 0", [](json &j) { j["vector_size"] = 0; }, "\"vector_size\" is 0, beyond 1 to 256"});
        add({"vector size 300", [](json &j) { j["vector_size"] = 300; }, "\"vector_size\" is 300, beyond 1 to 256"});
        add({"values for another size", [](json &j) { j["vector_size"] = 2; }, "\"values\" holds 21 values, not 7 units of 2"});
        add({"more learnings than the horizon", [](json &j) { j["learn_count"] = 21; }, "\"learn_count\" is 21, beyond 0 to 20"});
        add({"a step beyond 1", [](json &j) { j["pas"] = 1.5; }, "\"pas\" is missing or not a real from 0 to 1"});
        add({"a value that is no number", [](json &j) { set_at(j, "values", 4, nullptr); }, "\"values\" value 4 is not a finite"});
        add({"a missing key", [](json &j) { j.erase("learn_horizon"); }, "no \"learn_horizon\""});
    } else {
        add({"more states than the oracle holds", [](json &j) { j["states"] = 262145; },
             "\"states\" is 262145, beyond 1 to 262144"});
        add({"fewer states than the arrays", [](json &j) { j["states"] = 300; }, "\"symbols\" holds 301 values, not 300"});
        add({"a broken suffix link", [](json &j) { set_at(j, "suffix_links", 12, 2); }, "state 12: its suffix link is not"});
        add({"a wrong repeat length", [](json &j) { set_at(j, "repeat_lengths", 12, 7); },
             "state 12: its repeated suffix length is not"});
        add({"an arc to a state that does not exist", [](json &j) { set_at(j, "arcs", 1, 400); }, "state 0: its arcs are not"});
        add({"an arc twice", [](json &j) { set_at(j, "arcs", 2, j["arcs"][0]); set_at(j, "arcs", 3, j["arcs"][1]); },
             "state 0: its arcs are not"});
        add({"arc counts that disagree with the arcs", [](json &j) { j["arc_counts"][0] = j["arc_counts"][0].get<int>() + 1; },
             "\"arcs\" holds \\d+ values, not \\d+"});
        add({"a symbol beyond 32 bits", [](json &j) { set_at(j, "symbols", 5, 4294967296LL); },
             "\"symbols\" value 5 is not a 32-bit integer"});
        add({"a walk beyond the oracle", [](json &j) { j["position"] = 301; }, "\"position\" is 301, beyond 0 to 300"});
    }
    return v;
}

// Each bad file is read between two dumps of the model, which must print the same.
TEST_F(ModelFiles, EveryBadFileIsRefusedWithOneErrorAndTheModelKept) {
    for (const Object &o : kObjects) {
        SCOPED_TRACE(o.name);
        const json good = written(o);
        const std::vector<Bad> bad = cases(o.name);
        std::string reads = "o read missing.json\nwait 1100\no dump_max\no read folder.json\nwait 1100\no dump_max\n";
        std::filesystem::create_directories(dir_ / "folder.json");
        for (size_t i = 0; i < bad.size(); i++) {
            std::string text = bad[i].text;
            if (bad[i].change) {
                json j = good;
                bad[i].change(j);
                text = j.dump(1, '\t');
                for (size_t at; (at = text.find("123456.5")) != std::string::npos;) text.replace(at, 8, "1e999");
                if (bad[i].what == "truncated") text = text.substr(0, text.size() / 2);
            }
            write("bad" + std::to_string(i) + ".json", text);
            reads += "o read bad" + std::to_string(i) + ".json\nwait 1100\no dump_max\n";
        }
        ToolResult r = script("new o " + o.box + "\nseed 3\no clear\n" + o.train + "o dump_max\n" + reads);
        // The output splits into dumps at each error; every dump is the first one.
        std::vector<std::vector<std::string>> dumps(1);
        std::vector<std::string> errors;
        for (const std::string &l : r.out) {
            if (std::regex_search(l, std::regex("^(\\S+:\\d+: )?error: " + o.name + ": ")) && l.find("cannot read") != std::string::npos) {
                errors.push_back(l);
                dumps.emplace_back();
            } else if (!dumps.empty()) {
                dumps.back().push_back(l);
            }
        }
        ASSERT_EQ(errors.size(), bad.size() + 2) << r.all();
        EXPECT_TRUE(std::regex_search(errors[0], std::regex(": cannot read missing.json: no such file$"))) << errors[0];
        EXPECT_TRUE(std::regex_search(errors[1], std::regex(": cannot read folder.json: a folder, not a file$"))) << errors[1];
        for (size_t i = 0; i < bad.size(); i++)
            EXPECT_TRUE(std::regex_search(errors[i + 2], std::regex("^(\\S+:\\d+: )?error: " + o.name + ": cannot read bad" + std::to_string(i) +
                                                                    ".json: " + bad[i].error)))
                << bad[i].what << ": " << errors[i + 2];
        // The dump before the first bad file closes the first part; each later part is one dump.
        const std::vector<std::string> &last = dumps.back();
        ASSERT_GE(dumps[0].size(), last.size());
        EXPECT_GT(last.size(), 5u) << r.all();
        const std::vector<std::string> before(dumps[0].end() - (long)last.size(), dumps[0].end());
        for (size_t i = 1; i < dumps.size(); i++)
            EXPECT_EQ(dumps[i], before) << "the model changed after " << (i >= 3 ? bad[i - 3].what : "a missing file");
    }
}

// A write or read that names no file says why: with no name the dialog answers "cancelled" in
// maxscript, a folder that does not exist, a folder in place of a file, a name of MAX_PATH_CHARS
// that would be cut to another file's name.
TEST_F(ModelFiles, ANameThatIsNoFileIsRefused) {
    std::filesystem::create_directories(dir_ / "sub");
    const std::string longest = std::string(2048 - 5, 'n') + ".json";
    for (const Object &o : kObjects) {
        ToolResult r = script("new o " + o.name + "\no write\no read\no write nofolder/m.json\no write ./sub\no write " + longest +
                              "\no read " + longest + "\n");
        const std::string e = "^(\\S+:\\d+: )?error: " + o.name + ": cannot ";
        EXPECT_TRUE(r.has(e + "write " + o.name + ".json: .*dialog was cancelled.*name one")) << r.all();
        EXPECT_TRUE(r.has(e + "read: .*dialog was cancelled.*name one")) << r.all();
        EXPECT_TRUE(r.has(e + "write nofolder/m.json: no such folder$")) << r.all();
        EXPECT_TRUE(r.has(e + "write ./sub: a folder, not a file$")) << r.all();
        EXPECT_TRUE(r.has(e + "write: the file name is too long$")) << r.all();
        EXPECT_TRUE(r.has(e + "read: the file name is too long$")) << r.all();
    }
}

}  // namespace
