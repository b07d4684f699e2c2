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
