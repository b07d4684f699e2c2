// The reference-page generator: pages read back as well-formed XML that says what the classes
// register, and prose that drifts from a class (missing, stray, or for a hidden method) fails it.
#include "maxhost/runtime.h"
#include "tool_run.h"

#include <expat.h>

#include <map>
#include <memory>
#include <regex>
#include <set>

namespace fs = std::filesystem;

namespace {

struct Node {
    std::string tag, text;
    std::map<std::string, std::string> attrs;
    std::vector<std::unique_ptr<Node>> children;
    std::vector<const Node *> all(const std::string &t) const {
        std::vector<const Node *> v;
        for (const auto &c : children)
            if (c->tag == t) v.push_back(c.get());
        return v;
    }
    const Node *one(const std::string &t) const {
        auto v = all(t);
        return v.empty() ? nullptr : v[0];
    }
};

// Parses a whole document; null (with the parser's message) when it is not well formed.
std::unique_ptr<Node> parse_xml(const fs::path &file, std::string *error) {
    std::ifstream in(file);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    struct State {
        std::unique_ptr<Node> root;
        std::vector<Node *> stack;
    } st;
    XML_Parser p = XML_ParserCreate("UTF-8");
    XML_SetUserData(p, &st);
    XML_SetElementHandler(
        p,
        [](void *u, const XML_Char *name, const XML_Char **atts) {
            auto *s = static_cast<State *>(u);
            auto n = std::make_unique<Node>();
            n->tag = name;
            for (int i = 0; atts[i]; i += 2) n->attrs[atts[i]] = atts[i + 1];
            Node *raw = n.get();
            if (s->stack.empty()) s->root = std::move(n);
            else s->stack.back()->children.push_back(std::move(n));
            s->stack.push_back(raw);
        },
        [](void *u, const XML_Char *) { static_cast<State *>(u)->stack.pop_back(); });
    XML_SetCharacterDataHandler(p, [](void *u, const XML_Char *s, int len) {
        auto *st = static_cast<State *>(u);
        if (!st->stack.empty()) st->stack.back()->text.append(s, static_cast<size_t>(len));
    });
    bool ok = XML_Parse(p, text.data(), static_cast<int>(text.size()), 1) != XML_STATUS_ERROR;
    if (!ok) *error = XML_ErrorString(XML_GetErrorCode(p));
    XML_ParserFree(p);
    return ok ? std::move(st.root) : nullptr;
}

// The text of a registered metadata value as a page writes it (one symbol bare).
std::string registered_text(const std::vector<t_atom> &v) {
    if (v.size() == 1 && v[0].a_type == A_SYM) return v[0].a_w.w_sym->s_name;
    return maxhost::atoms_to_text(static_cast<long>(v.size()), v.data());
}

// The pages the build wrote, checked against the classes loaded here.
TEST(RefPages, SayWhatTheClassesRegister) {
    maxhost::add_search_path(MAXLEARN_EXTERNALS_DIR);
    int checked = 0;
    for (const char *name : {"gasnet", "chainlet", "selfmap", "echoseq"}) {
        if (!fs::exists(fs::path(MAXLEARN_EXTERNALS_DIR) / (std::string(name) + ".so"))) continue;
        SCOPED_TRACE(name);
        ++checked;
        std::string error;
        auto page = parse_xml(fs::path(MAXLEARN_REFPAGES_DIR) / (std::string(name) + ".maxref.xml"), &error);
        ASSERT_TRUE(page) << error;
        EXPECT_EQ(page->tag, "c74object");
        EXPECT_EQ(page->attrs["name"], name);
        EXPECT_FALSE(page->one("digest")->text.empty());

        t_class *c = maxhost::find_class(name);
        ASSERT_NE(c, nullptr);
        t_object *x = maxhost::create(name, 0, nullptr);
        ASSERT_NE(x, nullptr);

        std::vector<std::string> messages, documented;
        for (const std::string &m : maxhost::method_names(c)) {
            std::vector<short> types = maxhost::method_arg_types(c, m);
            std::vector<t_atom> hidden;
            if ((!types.empty() && types[0] == A_CANT) || maxhost::method_meta(c, m, "undocumented", &hidden)) continue;
            messages.push_back(m);
        }
        for (const Node *m : page->one("methodlist")->all("method")) {
            documented.push_back(m->attrs.at("name"));
            const Node *args = m->one("arglist");
            ASSERT_TRUE(args) << documented.back() << " has no arglist";
            EXPECT_EQ(args->all("arg").size(), maxhost::method_arg_types(c, documented.back()).size())
                << documented.back();
        }
        EXPECT_EQ(documented, messages);

        std::vector<std::string> attrs;
        for (const Node *a : page->one("attributelist")->all("attribute")) {
            std::string an = a->attrs.at("name");
            attrs.push_back(an);
            // Every metadata entry is one the class registers, with its value and size; the
            // inspector's label and category are among them.
            std::set<std::string> shown;
            for (const Node *m : a->one("attributelist")->all("attribute")) {
                std::string key = m->attrs.at("name");
                shown.insert(key);
                std::vector<t_atom> v;
                ASSERT_TRUE(maxhost::attribute_meta(c, an, key, &v)) << an << " claims an unregistered " << key;
                EXPECT_EQ(m->attrs.at("value"), registered_text(v)) << an << " " << key;
                EXPECT_EQ(m->attrs.at("size"), std::to_string(key == "label" ? 1 : v.size())) << an << " " << key;
            }
            EXPECT_TRUE(shown.count("label") && shown.count("category")) << an;
            // The range the page states is the clip filter's.
            maxhost::AttributeInfo info;
            ASSERT_TRUE(maxhost::attribute_info(c, an, &info));
            std::smatch range;
            std::string description = a->one("description")->text;
            if (std::regex_search(description, range, std::regex(R"(Range: ([-0-9.e]+) to ([-0-9.e]+))"))) {
                EXPECT_TRUE(info.clip_min && info.clip_max) << an;
                EXPECT_DOUBLE_EQ(std::stod(range[1]), info.min) << an;
                EXPECT_DOUBLE_EQ(std::stod(range[2]), info.max) << an;
            } else {
                bool named_values = maxhost::attribute_meta(c, an, "enumvals", nullptr);
                EXPECT_FALSE(info.clip_min && info.clip_max && info.max < 1e9 && !named_values)
                    << an << " states no clip range";
            }
        }
        EXPECT_EQ(attrs, maxhost::attribute_names(c));
        const auto outlets = page->one("outletlist")->all("outlet");
        ASSERT_EQ(outlets.size(), static_cast<size_t>(maxhost::outlet_count(x)));
        // Only the elements Max's reference pages know.
        const std::set<std::string> standard = {"digest",        "description", "discussion", "metadatalist",
                                                "objarglist",    "methodlist",  "attributelist", "inletlist",
                                                "outletlist",    "examplelist", "seealsolist",  "misc"};
        for (const auto &child : page->children) EXPECT_TRUE(standard.count(child->tag)) << child->tag;
        for (const Node *o : outlets)
            for (const auto &child : o->children) EXPECT_TRUE(child->tag == "digest" || child->tag == "description") << child->tag;
        object_free(x);
    }
    EXPECT_GE(checked, 3);
}

// Prose for the test external, written from what its class registers, with entries left out or added.
std::string testext_prose(const std::string &skip, const std::string &extra_message, const std::string &extra_attr) {
    maxhost::add_search_path(MAXLEARN_EXTERNALS_DIR);
    t_class *c = maxhost::find_class("testext");
    auto entry = [](const std::string &n) { return "\"" + n + "\": {\"digest\": \"d\", \"description\": \"t\"}"; };
    auto section = [&](const std::vector<std::string> &names, const std::string &extra) {
        std::string out;
        for (const std::string &n : names)
            if (n != skip) out += (out.empty() ? "" : ", ") + entry(n);
        if (!extra.empty()) out += (out.empty() ? "" : ", ") + entry(extra);
        return out;
    };
    std::vector<std::string> messages;
    for (const std::string &m : maxhost::method_names(c)) {
        std::vector<short> types = maxhost::method_arg_types(c, m);
        std::vector<t_atom> hidden;
        if ((types.empty() || types[0] != A_CANT) && !maxhost::method_meta(c, m, "undocumented", &hidden))
            messages.push_back(m);
    }
    return R"({"digest": "d", "description": "t", "inlets": [{"digest": "i"}],
        "outlets": [{"digest": "a", "description": "b"}, {"digest": "c", "description": "e"}], "messages": {)" +
           section(messages, extra_message) + "}, \"attributes\": {" +
           section(maxhost::attribute_names(c), extra_attr) + "}}";
}

class Maxref : public ToolTest {
protected:
    ToolResult generate(const std::string &prose, const std::string &classes = "testext") {
        write("prose/testext.json", prose);
        return run("'" MAXREF_EXE "' --prose prose --out pages --path '" MAXLEARN_EXTERNALS_DIR "' " + classes);
    }
};

TEST_F(Maxref, FailsOnProseThatDriftsFromTheClass) {
    ToolResult good = generate(testext_prose("", "", ""));
    ASSERT_EQ(good.status, 0) << good.all();
    std::string error;
    EXPECT_TRUE(parse_xml(dir_ / "pages/testext.maxref.xml", &error)) << error;

    struct Case {
        std::string skip, message, attr, says;
    } cases[] = {
        {"soon", "", "", R"(testext: the message "soon" has no prose)"},
        {"ratio", "", "", R"(testext: the attribute "ratio" has no prose)"},
        {"", "goodbye", "", R"(documents the message "goodbye", which the class does not register)"},
        {"", "", "volume", R"(documents the attribute "volume", which the class does not register)"},
        {"", "int", "", R"(documents the message "int", which the class hides \(undocumented\))"},
        {"", "assist", "", R"(documents the message "assist", which the class does not take from a patch)"},
    };
    for (const Case &c : cases) {
        fs::remove_all(dir_ / "pages");
        ToolResult r = generate(testext_prose(c.skip, c.message, c.attr));
        EXPECT_EQ(r.status, 1) << c.says;
        EXPECT_TRUE(r.has(c.says)) << r.all();
        EXPECT_FALSE(fs::exists(dir_ / "pages/testext.maxref.xml")) << "a page was written despite: " << c.says;
    }
    // The inspector shows the label the class registers, so one in the prose could only drift from it.
    std::string labelled = testext_prose("", "", "");
    labelled.replace(labelled.find("\"gain\": {"), 9, "\"gain\": {\"label\": \"G\", ");
    ToolResult r = generate(labelled);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.has(R"(the prose gives the attribute "gain" a label; the class registers it)")) << r.all();
}

TEST_F(Maxref, FailsOnMissingOrStrayProseFiles) {
    write("prose/gasnet.json", "{}");
    ToolResult r = generate(testext_prose("", "", ""), "testext echoseq");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.has(R"(gasnet.json documents "gasnet", which is not one of the classes built)")) << r.all();
    EXPECT_TRUE(r.has(R"(echoseq: no prose: cannot read prose/echoseq.json)")) << r.all();
    write("prose/testext.json", R"({"digest": "d", "outlets": [)");
    r = run("'" MAXREF_EXE "' --prose prose --out pages --path '" MAXLEARN_EXTERNALS_DIR "' testext");
    EXPECT_TRUE(r.has(R"(testext: no prose: prose/testext.json: line 1: .*unexpected end of input)")) << r.all();
}

}  // namespace
