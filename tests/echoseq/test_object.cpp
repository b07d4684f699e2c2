// The object as a patch sees it: attributes, outlets, repeat slices and printed text.
#include "echoseq_fixture.h"
#include "saved_attributes.h"

#include <algorithm>
#include <climits>
#include <type_traits>

// A_LONG handlers take the atom's full width (a long is 32 bits on Windows).
static_assert(std::is_same<decltype(&echoseq_int), void (*)(t_echoseq *, t_atom_long)>::value, "int");
static_assert(std::is_same<decltype(&echoseq_go), void (*)(t_echoseq *, t_atom_long)>::value, "go");
static_assert(std::is_same<decltype(&echoseq_dump), void (*)(t_echoseq *, t_atom_long)>::value, "dump_max");

TEST(EchoseqObject, AttributesClipAndAssist)
{
    Echoseq e("echoseq @straight 150 @threshold 0 @slice 5 @lrs -1");
    const std::pair<const char *, long> want[] = {{"straight", 100}, {"threshold", 1}, {"slice", 2}, {"lrs", 0}};
    for (const auto &w : want) {
        std::vector<t_atom> v;
        ASSERT_TRUE(maxhost::get_attribute(e.obj, w.first, &v));
        EXPECT_EQ(atom_getlong(&v.at(0)), w.second) << w.first;
    }
    // Saved with the patch, in the inspector's order, "slice" shown as a menu.
    t_class *c = maxhost::find_class("echoseq");
    EXPECT_EQ(maxhost::attribute_names(c), (Lines{"lrs", "straight", "threshold", "slice"}));
    expect_saved_in_order(c, {{"lrs", "1"}, {"straight", "2"}, {"slice", "3"}, {"threshold", "4"}});
    EXPECT_EQ(attribute_meta_text(c, "slice", "style"), "enumindex");
    EXPECT_EQ(attribute_meta_text(c, "slice", "enumvals"), "off maximum threshold");
    EXPECT_EQ(maxhost::assist(e.obj, ASSIST_INLET, 3), "(bang) (int) (symbol) clear, go, dump_max");
    const Lines outlets = {"(int)", "(bang) empty !", "(list) repeat slice", ""};
    for (long i = 0; i < 4; i++)
        EXPECT_EQ(maxhost::assist(e.obj, ASSIST_OUTLET, i), outlets[i]);
}

TEST(EchoseqObject, ClearEmptiesAndWideSymbolsAreIgnored)
{
    Echoseq e("echoseq @straight 100");
    e.send("int", 7);
    e.send("bang");  // a single symbol is already walked
    e.learn({7, 7});
    e.send("bang");  // the walk stands at state 2
    e.send("clear");
    // The last repeated suffix goes too (a stale one would ask for a slice ending before state 0).
    EXPECT_EQ(e.x->last_lrs, 0);
    e.send("bang");
    e.send("int", 4294967296LL);  // outside the 32-bit symbols: ignored, not folded onto 0
    EXPECT_EQ(e.x->count, 1);
    e.learn({INT32_MIN, INT32_MAX, 6});  // the widest symbols that are learned
    e.send("bang");  // the walk starts again from state 0
    e.send("bang");
    EXPECT_EQ(e.take(), (Lines{"0:7", "0:7", "1:bang", "0:-2147483648", "0:2147483647"}));
}

TEST(EchoseqObject, RepeatSlicesInBothModes)
{
    const std::vector<long> stream = {1, 2, 3, 1, 2, 3, 1, 2, 4};
    Echoseq max("echoseq @slice 1"), thr("echoseq @slice 2");
    for (size_t i = 0; i < stream.size(); i++) {
        max.send("int", stream[i]);
        thr.send("int", stream[i]);
        EXPECT_EQ(max.take(), i == 8 ? Lines{"2:1 2 3 1 2"} : Lines{}) << "symbol " << i + 1;
        const Lines thr_want[] = {{"2:1 2 3"}, {"2:2 3 1"}, {"2:3 1 2"}};
        EXPECT_EQ(thr.take(), i >= 5 && i <= 7 ? thr_want[i - 5] : Lines{}) << "symbol " << i + 1;
    }
    for (Echoseq *e : {&max, &thr}) {
        e->send("clear");
        e->learn({1, 2, 1, 2, 1, 2});
    }
    EXPECT_EQ(max.take(), Lines{});  // the repetition never ends
    EXPECT_EQ(thr.take(), (Lines{"2:1 2 1", "2:2 1 2"}));
    // lrs runs 1 2 3 3 0 over the last five symbols: an equal lrs does not end the repetition.
    for (Echoseq *e : {&max, &thr}) {
        e->send("clear");
        e->learn({1, 2, 3, 9, 2, 3, 4, 8, 1, 2, 3, 4, 5});
    }
    EXPECT_EQ(max.take(), Lines{"2:2 3 4"});
    EXPECT_EQ(thr.take(), (Lines{"2:1 2 3", "2:2 3 4"}));
    thr.send("clear");
    thr.send("threshold", 1);  // slices of one symbol
    thr.learn({5, 5});
    EXPECT_EQ(thr.take(), Lines{"2:5"});
    // A repetition of 256 symbols is sent whole, one of 257 not at all.
    for (long len : {256L, 257L}) {
        max.send("clear");
        std::string want = "2:";
        for (long i = 0; i < 300; i++) {
            max.send("int", 1000 + i);
            if (i < len)
                want += (i ? " " : "") + std::to_string(1000 + i);
        }
        for (long i = 0; i < len; i++)
            max.send("int", 1000 + i);
        max.send("int", -1);
        EXPECT_EQ(max.take(), len == 256 ? Lines{want} : Lines{}) << len;
    }
}

TEST(EchoseqObject, DumpTextAndRanges)
{
    maxhost::ConsoleCapture console;
    Echoseq e;
    e.send("dump_max");
    EXPECT_EQ(console.lines(), (Lines{"Nb de noeuds : 1 / lrs : 2 / straight : 20", "Noeud 0 : ref -1 lrs 0"}));
    e.learn({1, 2, 3, 1, 2, 3, 1, 2, 4});
    EXPECT_EQ(e.take(), Lines{});  // repeat slices are off by default
    maxhost::advance(999);
    console.clear();
    e.send("dump_max");  // still quiet, and the dropped request does not extend the quiet period
    EXPECT_EQ(console.lines(), Lines{});
    maxhost::advance(1);
    e.send("dump_max");
    const std::string arc = "          arc : val ";
    EXPECT_EQ(console.lines(),
              (Lines{"Nb de noeuds : 10 / lrs : 2 / straight : 20", "Noeud 0 : ref -1 lrs 0", arc + "2 dest 2",
                     arc + "3 dest 3", arc + "4 dest 9", "Noeud 1 : ref 0 lrs 0", "Noeud 2 : ref 0 lrs 0",
                     arc + "4 dest 9", "Noeud 3 : ref 0 lrs 0", "Noeud 4 : ref 1 lrs 1", "Noeud 5 : ref 2 lrs 2",
                     arc + "4 dest 9", "Noeud 6 : ref 3 lrs 3", "Noeud 7 : ref 4 lrs 4", "Noeud 8 : ref 5 lrs 5",
                     "Noeud 9 : ref 0 lrs 0"}));
    const Lines all = console.lines();
    maxhost::advance(1000);
    console.clear();
    e.send("dump_max", 5);  // a range holding a single arc
    Lines from5 = {all[0]};
    from5.insert(from5.end(), all.begin() + 10, all.end());
    EXPECT_EQ(console.lines(), from5);

    for (int i = 0; i < 190; i++)
        e.send("int", 1000 + i);  // 200 states
    auto states = [&](long first) {
        maxhost::advance(1000);
        console.clear();
        e.send("dump_max", first);
        Lines nodes;
        for (const std::string &l : console.lines())
            if (l.rfind("Noeud ", 0) == 0)
                nodes.push_back(l.substr(6, l.find(" :") - 6));
        return nodes;
    };
    Lines got = states(60);
    EXPECT_EQ(got.size(), 50u);
    EXPECT_EQ(got.front() + " " + got.back(), "60 109");
    EXPECT_EQ(states(200), Lines{});
    EXPECT_EQ(states(LONG_MAX), Lines{});
    got = states(-5);  // from state 0
    EXPECT_EQ(got.size(), 50u);
    EXPECT_EQ(got.front(), "0");
}

TEST(EchoseqObject, CreationReseedsAndAHalfBuiltInstanceIsReleased)
{
    maxhost::add_search_path(MAXLEARN_EXTERNALS_DIR);
    // Every creation reseeds the generator from the clock: the draws after it do not continue the
    // sequence of the seed set before.
    srand(7);
    std::vector<int> seven(64);
    for (int &v : seven)
        v = rand();
    srand(7);
    object_free(maxhost::create_from_box("echoseq"));
    const int next[2] = {rand(), rand()};
    EXPECT_EQ(std::search(seven.begin(), seven.end(), next, next + 2), seven.end());

    t_class *c = maxhost::find_class("echoseq");
    ASSERT_NE(c, nullptr);
    // What the constructor holds when its first allocation fails: the header only.
    void *x = object_alloc(c);
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(object_free(x), MAX_ERR_NONE);
}
