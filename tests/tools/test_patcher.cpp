// maxscript opening patcher files: boxes, cords, message boxes, print and loadbang, and what it
// reports for a patch that does not fit the objects.
#include "tool_run.h"

namespace {

std::string box(const std::string &id, const std::string &maxclass, const std::string &text, int inlets, int outlets) {
    return R"({"box":{"id":")" + id + R"(","maxclass":")" + maxclass + R"(","text":")" + text +
           R"(","numinlets":)" + std::to_string(inlets) + R"(,"numoutlets":)" + std::to_string(outlets) + "}}";
}

std::string line(const std::string &from, int outlet, const std::string &to, int inlet = 0) {
    return R"({"patchline":{"source":[")" + from + "\"," + std::to_string(outlet) + R"(],"destination":[")" + to +
           "\"," + std::to_string(inlet) + "]}}";
}

std::string patcher(const std::vector<std::string> &boxes, const std::vector<std::string> &lines) {
    std::string s = R"({"patcher":{"fileversion":1,"boxes":[)";
    for (size_t i = 0; i < boxes.size(); ++i) s += (i ? "," : "") + boxes[i];
    s += R"(],"lines":[)";
    for (size_t i = 0; i < lines.size(); ++i) s += (i ? "," : "") + lines[i];
    return s + "]}}";
}

// A subpatcher box ("p name") holding the patcher made of `inner` (patcher()'s text).
std::string sub(const std::string &id, const std::string &text, int inlets, int outlets, const std::string &inner) {
    std::string b = box(id, "newobj", text, inlets, outlets);
    std::string body = inner.substr(std::string(R"({"patcher":)").size());
    body.pop_back();
    return b.substr(0, b.size() - 2) + R"(,"patcher":)" + body + "}}";
}

// An inlet or outlet box at horizontal place x.
std::string port(const std::string &id, const std::string &maxclass, int x) {
    std::string b = box(id, maxclass, "", maxclass == "inlet" ? 0 : 1, maxclass == "inlet" ? 1 : 0);
    return b.substr(0, b.size() - 2) + R"(,"patching_rect":[)" + std::to_string(x) + ",10,30,30]}}";
}

class Patcher : public ToolTest {
protected:
    ToolResult run_script(const std::string &script) {
        write("script.maxs", script);
        return run("'" MAXSCRIPT_EXE "' script.maxs");
    }
};

TEST_F(Patcher, BoxesCordsMessagesAndClicks) {
    write("p.maxpat",
          patcher({box("obj-1", "newobj", "testext", 1, 2), box("obj-2", "newobj", "print out", 1, 0),
                   box("obj-3", "newobj", "print", 1, 0), box("obj-4", "message", "1 2, say hi", 2, 1),
                   box("obj-5", "message", "5", 2, 1), box("obj-6", "message", "list $1 $2", 2, 1),
                   box("obj-7", "newobj", "loadbang", 1, 1), box("obj-8", "message", "bang", 2, 1),
                   box("obj-9", "comment", "only words", 1, 0), box("obj-10", "panel", "", 1, 0),
                   box("obj-11", "message", "2.5", 2, 1)},
                  {line("obj-4", 0, "obj-1"), line("obj-1", 0, "obj-2"), line("obj-1", 1, "obj-3"),
                   line("obj-5", 0, "obj-6"), line("obj-6", 0, "obj-1"), line("obj-7", 0, "obj-8"),
                   line("obj-8", 0, "obj-1"), line("obj-11", 0, "obj-1")}));
    ToolResult r = run_script("open p.maxpat\nclick 1 2, say hi\nclick obj-5\nclick obj-11\n");
    EXPECT_EQ(r.status, 0) << r.all();
    // The loadbang fires once the cords are made; print names its lines as Max's print does; $2 with
    // a one-atom input reads 0; uncorded outlets of patch boxes print nothing.
    EXPECT_EQ(r.out, (std::vector<std::string>{"out: bang", "out: 1 2", "print: said hi", "out: 5 0", "out: 2.5"}))
        << r.all();
}

TEST_F(Patcher, ReportsBoxesAndCordsThatDoNotFitAndGoesOn) {
    write("p.maxpat",
          patcher({box("obj-1", "newobj", "testext", 1, 3), box("obj-2", "newobj", "nosuch 3", 1, 1),
                   box("obj-3", "newobj", "print", 1, 0), box("obj-4", "message", "7", 2, 1),
                   box("obj-5", "message", "foo", 2, 1), box("obj-6", "message", "bang", 2, 1),
                   box("obj-7", "message", "bang", 2, 1), box("obj-8", "button", "", 1, 1)},
                  {line("obj-1", 2, "obj-3"), line("obj-2", 0, "obj-3"), line("obj-4", 0, "obj-1"),
                   line("obj-5", 0, "obj-1"), line("obj-6", 0, "obj-4", 1), line("obj-1", 0, "obj-3")}));
    ToolResult r = run_script("open p.maxpat\nclick 7\nclick bang\nclick foo\nclick nothing\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.has(R"(box "obj-2": cannot make "nosuch 3")")) << r.all();
    EXPECT_TRUE(r.has(R"(box "obj-8": cannot make "button")")) << r.all();
    EXPECT_TRUE(r.has(R"(box "obj-1" \("testext"\) says 1 inlets and 3 outlets; the object has 1 and 2)")) << r.all();
    EXPECT_TRUE(r.has(R"("obj-1" has no outlet 2)")) << r.all();
    EXPECT_TRUE(r.has(R"(cannot connect "obj-6" outlet 0 to "obj-4" inlet 1)")) << r.all();
    // The patch still runs without what did not fit.
    EXPECT_TRUE(r.has("^print: 7$")) << r.all();
    EXPECT_TRUE(r.has(R"(2 message boxes read "bang"; click one by its id)")) << r.all();
    EXPECT_TRUE(r.has(R"(testext: doesn't understand "foo")")) << r.all();
    EXPECT_TRUE(r.has(R"(no message box has the id or text "nothing")")) << r.all();
}

// A help patch in tabs: message boxes inside subpatchers reach objects through inlets and outlets
// (ordered by place, not file order), send and receive across patchers, triggers and ';' messages.
TEST_F(Patcher, SubpatchersSendReceiveAndTriggers) {
    std::string nested = patcher({box("obj-1", "newobj", "r shared", 0, 1), box("obj-2", "newobj", "print nested", 1, 0)},
                                 {line("obj-1", 0, "obj-2")});
    std::string basic = patcher({port("obj-1", "inlet", 200), port("obj-2", "inlet", 20),
                                 box("obj-3", "newobj", "print left", 1, 0), box("obj-4", "newobj", "print right", 1, 0),
                                 port("obj-5", "outlet", 20), box("obj-6", "message", "inner", 2, 1),
                                 sub("obj-7", "p nested", 0, 0, nested)},
                                {line("obj-2", 0, "obj-3"), line("obj-1", 0, "obj-4"), line("obj-6", 0, "obj-5")});
    basic.insert(basic.find("\"boxes\""), R"("showontab":1,)");
    write("p.maxpat",
          patcher({sub("obj-1", "p basic", 2, 1, basic), box("obj-2", "message", "a", 2, 1),
                   box("obj-3", "message", "b", 2, 1), box("obj-4", "newobj", "print out", 1, 0),
                   box("obj-5", "newobj", "t b l s", 1, 3), box("obj-6", "message", "go 1", 2, 1),
                   box("obj-7", "newobj", "print tb", 1, 0), box("obj-8", "newobj", "s shared", 1, 0),
                   box("obj-9", "newobj", "print ts", 1, 0), box("obj-10", "jsui", "", 1, 1),
                   box("obj-11", "message", "x; shared 3", 2, 1), box("obj-12", "newobj", "js header.js", 1, 1)},
                  {line("obj-2", 0, "obj-1"), line("obj-3", 0, "obj-1", 1), line("obj-1", 0, "obj-4"),
                   line("obj-6", 0, "obj-5"), line("obj-5", 0, "obj-7"), line("obj-5", 1, "obj-8"),
                   line("obj-5", 2, "obj-9"), line("obj-10", 0, "obj-4")}));
    ToolResult r = run_script("open p.maxpat\nclick a\nclick b\nclick obj-1/obj-6\nclick go 1\nclick obj-11\n");
    EXPECT_EQ(r.status, 0) << r.all();
    ASSERT_FALSE(r.out.empty());
    EXPECT_TRUE(r.has(R"(^script.maxs:1: note: p.maxpat: box "obj-10" \("jsui"\) left out)")) << r.all();
    EXPECT_TRUE(r.has(R"(^script.maxs:1: note: p.maxpat: box "obj-12" \("js header.js"\) left out)")) << r.all();
    EXPECT_EQ(std::vector<std::string>(r.out.begin() + 2, r.out.end()),
              (std::vector<std::string>{"left: a", "right: b", "out: inner", "ts: symbol go", "nested: go 1",
                                        "tb: bang", "nested: 3"}))
        << r.all();
}

// Whatever a patcher file holds, each box or line that cannot be made is reported and the rest runs.
TEST_F(Patcher, ReportsMalformedSubpatchersBoxesAndLines) {
    std::string one_outlet = patcher({port("obj-1", "outlet", 0), port("obj-2", "inlet", 0)},
                                     {line("obj-1", 0, "obj-2"), line("obj-2", 0, "obj-2")});
    write("p.maxpat",
          patcher({R"("garbage")", R"({"box":5})", R"({"box":{"maxclass":"newobj","text":"print"}})",
                   box("obj-1", "newobj", "p", 1, 1), R"({"box":{"id":"obj-2","maxclass":"newobj","text":"p x","patcher":{"boxes":7}}})",
                   sub("obj-3", "p y", 1, 2, one_outlet), box("obj-4", "message", "7", 2, 1),
                   box("obj-5", "newobj", "print", 1, 0), box("obj-6", "newobj", "r", 0, 1)},
                  {line("obj-4", 0, "obj-3", 1), line("obj-3", 1, "obj-5"), line("obj-4", 0, "obj-5"),
                   R"({"patchline":{"source":["obj-4","0"],"destination":["obj-5",0]}})", "7"}));
    ToolResult r = run_script("open p.maxpat\nclick 7\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.has(R"(an entry of "boxes" holds no box)")) << r.all();
    EXPECT_TRUE(r.has(R"(a box has no id; left out)")) << r.all();
    EXPECT_TRUE(r.has(R"(box "obj-1": cannot make "p" \(no patcher inside the box\))")) << r.all();
    EXPECT_TRUE(r.has(R"(subpatcher "obj-2" has no "boxes")")) << r.all();
    EXPECT_TRUE(r.has(R"(box "obj-3" \("p y"\) says 1 inlets and 2 outlets; its patcher has 1 inlet and 1 outlet)"))
        << r.all();
    EXPECT_TRUE(r.has(R"(cannot connect "obj-4" outlet 0 to "obj-3" inlet 1 \(it has 1 inlet boxes\))")) << r.all();
    EXPECT_TRUE(r.has(R"("obj-3/obj-1" has no outlet 0 \(it has 0 outlets\))")) << r.all();
    EXPECT_TRUE(r.has(R"(cannot connect "obj-3/obj-2" outlet 0 to "obj-3/obj-2" inlet 0 \(it has no inlet\))")) << r.all();
    EXPECT_TRUE(r.has(R"("obj-3" has no outlet 1)")) << r.all();
    EXPECT_TRUE(r.has(R"(box "obj-6": cannot make "r")")) << r.all();
    EXPECT_TRUE(r.has(R"(a line without a source and destination)")) << r.all();
    EXPECT_TRUE(r.has("^print: 7$")) << r.all();
}

TEST_F(Patcher, RefusesFilesThatAreNoPatchers) {
    write("bad.maxpat", R"({"patcher":{"boxes":[{"box":{"id":"obj-1",}]}})");
    write("empty.maxpat", R"({"boxes":[]})");
    ToolResult r = run_script("open bad.maxpat\nopen empty.maxpat\nopen missing.maxpat\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.has(R"(bad.maxpat: line 1: syntax error while parsing object key - unexpected .}.)")) << r.all();
    EXPECT_TRUE(r.has(R"(empty.maxpat: not a patcher)")) << r.all();
    EXPECT_TRUE(r.has(R"(cannot read .*missing.maxpat)")) << r.all();
}

}  // namespace
