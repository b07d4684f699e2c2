// The object as a patch sees it: registration, messages, outlets, repeat slices and printed text.
#include "echoseq_fixture.h"

#include <climits>

namespace {

long attr(t_object *x, const char *name)
{
    std::vector<t_atom> v;
    EXPECT_TRUE(maxhost::get_attribute(x, name, &v));
    return v.empty() ? -99 : (long)atom_getlong(&v[0]);
}

std::string meta(const char *attr, const char *key)
{
    std::vector<t_atom> v;
    if (!maxhost::attribute_meta(maxhost::find_class("echoseq"), attr, key, &v))
        return "<none>";
    return maxhost::atoms_to_text((long)v.size(), v.data());
}

}  // namespace

TEST(EchoseqObject, RegistrationAttributesAndAssist)
{
    Echoseq e("echoseq @threshold 5 @slice 2");
    EXPECT_EQ(maxhost::attribute_names(maxhost::find_class("echoseq")), (std::vector<std::string>{"lrs", "straight", "threshold", "slice"}));
    EXPECT_EQ(attr(e.obj, "lrs"), 2);
    EXPECT_EQ(attr(e.obj, "straight"), 20);
    EXPECT_EQ(attr(e.obj, "threshold"), 5);
    EXPECT_EQ(attr(e.obj, "slice"), 2);
    const char *orders[][2] = {{"lrs", "1"}, {"straight", "2"}, {"slice", "3"}, {"threshold", "4"}};
    for (auto &o : orders) {
        EXPECT_EQ(meta(o[0], "save"), "1") << o[0];
        EXPECT_EQ(meta(o[0], "order"), o[1]) << o[0];
    }
    EXPECT_EQ(meta("slice", "style"), "enumindex");
    EXPECT_EQ(meta("slice", "enumvals"), "off maximum threshold");

    const char *clipped[][3] = {{"straight", "straight 150", "100"}, {"threshold", "threshold 0", "1"},
                                {"slice", "slice 5", "2"}, {"lrs", "lrs -1", "0"}};
    for (auto &c : clipped) {
        maxhost::send_text(e.obj, c[1]);
        EXPECT_EQ(attr(e.obj, c[0]), std::stol(c[2])) << c[1];
    }

    EXPECT_EQ(maxhost::assist(e.obj, ASSIST_INLET, 0), "(bang) (int) (symbol) clear, go, dump_max");
    EXPECT_EQ(maxhost::assist(e.obj, ASSIST_INLET, 3), "(bang) (int) (symbol) clear, go, dump_max");
    EXPECT_EQ(maxhost::assist(e.obj, ASSIST_OUTLET, 0), "(int)");
    EXPECT_EQ(maxhost::assist(e.obj, ASSIST_OUTLET, 1), "(bang) empty !");
    EXPECT_EQ(maxhost::assist(e.obj, ASSIST_OUTLET, 2), "(list) repeat slice");
    EXPECT_EQ(maxhost::assist(e.obj, ASSIST_OUTLET, 3), "");
}

TEST(EchoseqObject, BangGoAndClear)
{
    Echoseq e;
    e.send("bang");
    e.send("go", 0);
    EXPECT_EQ(e.x->position, 0);
    e.send("int", 7);
    e.send("bang");
    e.send("bang");
    e.send("clear");
    e.send("bang");
    EXPECT_EQ(e.take(), (std::vector<Sent>{{1, "bang"}, {0, "7"}, {0, "7"}, {1, "bang"}}));
    e.send("int", 4294967296L);  // outside the 32-bit symbol range: ignored, not folded onto 0
    EXPECT_EQ(e.x->count, 1);
}

TEST(EchoseqObject, RepeatSlicesInBothModes)
{
    const std::vector<long> stream = {1, 2, 3, 1, 2, 3, 1, 2, 4};
    {
        Echoseq e("echoseq @slice 1");
        e.learn(stream);
        EXPECT_EQ(e.take(), (std::vector<Sent>{{2, "1 2 3 1 2"}}));
        e.send("clear");
        e.learn({1, 2, 1, 2, 1, 2});  // the repetition never ends: nothing
        EXPECT_TRUE(e.take().empty());
    }
    {
        Echoseq e("echoseq @slice 2");
        for (size_t i = 0; i < stream.size(); i++) {
            e.send("int", stream[i]);
            const std::vector<Sent> got = e.take();
            if (i == 5 || i == 6 || i == 7) {
                const char *want[] = {"1 2 3", "2 3 1", "3 1 2"};
                EXPECT_EQ(got, (std::vector<Sent>{{2, want[i - 5]}})) << "symbol " << i + 1;
            } else {
                EXPECT_TRUE(got.empty()) << "symbol " << i + 1;
            }
        }
        e.send("clear");
        e.learn({1, 2, 1, 2, 1, 2});
        EXPECT_EQ(e.take(), (std::vector<Sent>{{2, "1 2 1"}, {2, "2 1 2"}}));
    }
}

TEST(EchoseqObject, DumpTextAndQuietPeriod)
{
    maxhost::ConsoleCapture console;
    Echoseq e;
    e.send("dump_max");
    EXPECT_EQ(console.lines(), (std::vector<std::string>{"Nb de noeuds : 1 / lrs : 2 / straight : 20", "Noeud 0 : ref -1 lrs 0"}));
    console.clear();
    e.learn({1, 2, 3, 1, 2, 3, 1, 2, 4});
    e.send("dump_max");  // inside the quiet period: dropped
    EXPECT_TRUE(console.lines().empty());
    maxhost::advance(1000);
    e.send("dump_max");
    const std::vector<std::string> want = {
        "Nb de noeuds : 10 / lrs : 2 / straight : 20",
        "Noeud 0 : ref -1 lrs 0",
        "          arc : val 2 dest 2",
        "          arc : val 3 dest 3",
        "          arc : val 4 dest 9",
        "Noeud 1 : ref 0 lrs 0",
        "Noeud 2 : ref 0 lrs 0",
        "          arc : val 4 dest 9",
        "Noeud 3 : ref 0 lrs 0",
        "Noeud 4 : ref 1 lrs 1",
        "Noeud 5 : ref 2 lrs 2",
        "          arc : val 4 dest 9",
        "Noeud 6 : ref 3 lrs 3",
        "Noeud 7 : ref 4 lrs 4",
        "Noeud 8 : ref 5 lrs 5",
        "Noeud 9 : ref 0 lrs 0",
    };
    EXPECT_EQ(console.lines(), want);
}

TEST(EchoseqObject, DumpRanges)
{
    maxhost::ConsoleCapture console;
    Echoseq e;
    for (int i = 0; i < 199; i++)
        e.send("int", 1000 + i);  // all distinct: only state 0 has arcs
    auto dump = [&](long first) {
        console.clear();
        e.send("dump_max", first);
        maxhost::advance(1000);
        std::vector<std::string> lines = console.lines();
        std::vector<std::string> nodes;
        for (const std::string &l : lines)
            if (l.rfind("Noeud ", 0) == 0)
                nodes.push_back(l.substr(0, l.find(" :")));
        EXPECT_EQ(lines.at(0), "Nb de noeuds : 200 / lrs : 2 / straight : 20");
        return nodes;
    };
    std::vector<std::string> nodes = dump(60);
    ASSERT_EQ(nodes.size(), 50u);
    EXPECT_EQ(nodes.front(), "Noeud 60");
    EXPECT_EQ(nodes.back(), "Noeud 109");
    EXPECT_TRUE(dump(200).empty());
    EXPECT_TRUE(dump(LONG_MAX).empty());
    nodes = dump(-5);  // printed from state 0
    ASSERT_EQ(nodes.size(), 50u);
    EXPECT_EQ(nodes.front(), "Noeud 0");
    EXPECT_EQ(console.lines().size(), 1u + 50u + 198u);  // state 0 carries 198 arcs
}

TEST(EchoseqObject, HalfBuiltInstanceIsReleased)
{
    maxhost::add_search_path(MAXLEARN_EXTERNALS_DIR);
    t_class *c = maxhost::find_class("echoseq");
    ASSERT_NE(c, nullptr);
    // As the constructor leaves it when its first allocation fails: nothing but the header.
    void *x = object_alloc(c);
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(object_free(x), MAX_ERR_NONE);
}
