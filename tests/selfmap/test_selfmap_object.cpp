// Registration, creation, attributes, assistance and the read-out messages.
#include "saved_attributes.h"
#include "selfmap_test_util.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <set>
#include <tuple>

TEST(SelfmapObject, RegistrationOrderAndMetadata) {
    Map m;
    t_class *c = maxhost::find_class("selfmap");
    EXPECT_EQ(maxhost::method_names(c),
              (Lines{"assist", "bang", "clear", "dump_max", "dump_lcd", "learn", "list", "change", "int", "write", "read"}));
    EXPECT_EQ(maxhost::attribute_names(c), (Lines{"lcd", "mutation", "influence", "pas"}));
    expect_saved_in_order(c, {{"mutation", "1"}, {"lcd", "2"}, {"influence", "3"}, {"pas", "4"}});
    EXPECT_EQ(maxhost::assist(m.obj, ASSIST_INLET, 0), "(list) (bang) (int) (symbol) clear, learn, change, dump_max, dump_lcd");
    EXPECT_EQ(maxhost::assist(m.obj, ASSIST_OUTLET, 0), "(list)");
    EXPECT_EQ(maxhost::assist(m.obj, ASSIST_OUTLET, 1), "(lcd) dump");
    EXPECT_EQ(maxhost::outlet_count(m.obj), 2);
}

static Longs settings(const t_selfmap *x) {
    return {x->map_size, x->influence, x->learn_horizon, x->value_max, x->vector_size, x->mutation, x->lcd, x->learn_count};
}

TEST(SelfmapObject, BoxArguments) {
    Map plain;
    EXPECT_EQ(settings(plain.x), (Longs{50, 25, 60, 127, 4, 40, 150, 0}));
    EXPECT_EQ(plain.x->pas, 1.0);
    EXPECT_EQ(plain.x->dump_busy, 0);
    // Every unit holds integers drawn from 0..value_max.
    std::set<double> seen;
    for (const Reals &u : plain.units())
        for (double e : u) {
            EXPECT_TRUE(e >= 0 && e <= 127 && e == std::floor(e)) << e;
            seen.insert(e);
        }
    EXPECT_GT(seen.size(), 50u);
    // The draws reach value_max itself: among 200 components of 0..2, each value shows.
    std::set<double> small;
    for (const Reals &u : Map("selfmap 50 60 2").units()) small.insert(u.begin(), u.end());
    EXPECT_EQ(small, (std::set<double>{0, 1, 2}));

    for (auto [box, size, influence, horizon, value_max] :
         {std::tuple{"selfmap 10 200 1000", 10, 5, 200, 1000}, {"selfmap 1 200", 50, 25, 200, 127},
          {"selfmap 101 7 9", 50, 25, 7, 9}, {"selfmap 2 5000 2", 2, 1, 60, 2}, {"selfmap 100 1000 1", 100, 50, 1000, 127},
          {"selfmap 11 0", 11, 5, 60, 127}, {"selfmap 2.5 200 1000", 50, 25, 60, 127}, {"selfmap foo 200 1000", 50, 25, 60, 127},
          {"selfmap 10 2.5 1000", 10, 5, 60, 1000}, {"selfmap 10 @influence 3", 10, 3, 60, 127},
          {"selfmap @influence 3 @lcd 90 @mutation 101 @pas 0.25", 50, 3, 60, 127}}) {
        Map m(box);
        EXPECT_EQ((Longs{m.x->map_size, m.x->influence, m.x->learn_horizon, m.x->value_max}),
                  (Longs{size, influence, horizon, value_max}))
            << box;
        for (long i = 0; i < m.x->map_size; i++)
            for (double e : m.unit(i)) EXPECT_TRUE(e >= 0 && e <= m.x->value_max) << box;
    }
    Map attrs("selfmap @influence 3 @lcd 90 @mutation 101 @pas 0.25");
    EXPECT_EQ((Longs{attrs.x->lcd, attrs.x->mutation}), (Longs{100, 100}));
    EXPECT_EQ(attrs.x->pas, 0.25);
}

TEST(SelfmapObject, AttributesClipAndPasAccessors) {
    Map m;
    for (const char *msg : {"lcd 1000", "mutation -4", "influence 0", "pas 1.5"}) m.send(msg);
    EXPECT_EQ((Longs{m.x->lcd, m.x->mutation, m.x->influence}), (Longs{800, 0, 1}));
    EXPECT_EQ(m.x->pas, 1.0);
    for (const char *msg : {"lcd 99", "mutation 250", "influence 101", "pas -1"}) m.send(msg);
    EXPECT_EQ((Longs{m.x->lcd, m.x->mutation, m.x->influence}), (Longs{100, 100, 100}));
    EXPECT_EQ(m.x->pas, 0.0);
    m.send("pas 0.3");
    EXPECT_EQ(m.x->pas, 0.3);  // the double of the message, not a float32 rounding of it
    std::vector<t_atom> v;
    ASSERT_TRUE(maxhost::get_attribute(m.obj, "pas", &v));
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(atom_gettype(&v[0]), A_FLOAT);
    EXPECT_EQ(atom_getfloat(&v[0]), 0.3);
    ASSERT_TRUE(maxhost::get_attribute(m.obj, "influence", &v));
    EXPECT_EQ(atom_getlong(&v[0]), 100);
    EXPECT_EQ(selfmap_set(m.x, nullptr, 0, nullptr), 0);  // nothing to read: pas stays
    m.send("pas");  // the setter called with no atoms, as Max may call it
    EXPECT_EQ(m.x->pas, 0.3);
    m.send("pas -0.");  // clipped at 0: stored, and printed, without a sign
    EXPECT_FALSE(std::signbit(m.x->pas));
}

TEST(SelfmapObject, IntBangAndClear) {
    Map m("selfmap 3");
    m.set_units({{2.5, 2.49, 0, 127}, {1, 2, 3, 4}, {-2.5, 126.5, 7, 8}});
    const std::vector<Longs> rounded = {{3, 2, 0, 127}, {1, 2, 3, 4}, {-3, 127, 7, 8}};
    for (const char *msg : {"0", "4", "1", "3", "-1"}) m.send(msg);
    auto sent = m.take();
    ASSERT_EQ(sent.size(), 2u);  // units are numbered from 1
    EXPECT_EQ(sent[0].outlet, 0);
    EXPECT_EQ(sent[0].selector, "list");
    EXPECT_EQ(sent[0].args, rounded[0]);
    EXPECT_EQ(sent[1].args, rounded[2]);

    std::set<Longs> banged;
    for (int i = 0; i < 60; i++) m.send("bang");
    for (const Sent &s : m.take()) banged.insert(s.args);
    EXPECT_EQ(banged, (std::set<Longs>(rounded.begin(), rounded.end())));  // every unit, nothing else

    m.send("learn 1 2 3");
    m.send("learn 1 2 3");
    EXPECT_EQ(m.x->learn_count, 2);
    m.send("clear");  // new random integers of the same size; the attributes stay
    EXPECT_EQ((Longs{m.x->learn_count, m.x->vector_size}), (Longs{0, 3}));
    bool moved = false;
    for (long i = 0; i < 3; i++)
        for (double e : m.unit(i)) {
            EXPECT_TRUE(e == std::floor(e) && e >= 0 && e <= 127);
            moved |= e != 1 && e != 2 && e != 3;
        }
    EXPECT_TRUE(moved);
    EXPECT_TRUE(m.take().empty());
}

TEST(SelfmapObject, HugeValueMaxNeverOverflows) {
    Map m("selfmap 10 60 " + std::to_string(LONG_MAX));  // value_max + 1 is not representable
    EXPECT_EQ(m.x->value_max, LONG_MAX);
    srand(3);
    for (int i = 0; i < 30; i++) m.send("learn 5 -3 2.5 " + std::to_string(LLONG_MAX));
    for (long i = 0; i < 10; i++)
        for (double e : m.unit(i)) EXPECT_TRUE(e >= 0 && e <= (double)LONG_MAX) << e;
    m.x->units[0][3] = (double)LONG_MAX;  // the top of the range (2^63 as a double where long is 64 bits): read out as LONG_MAX
    m.send("1");
    m.send("dump_lcd");
    maxhost::run_queue();
    auto sent = m.take();
    ASSERT_EQ(sent.size(), 1u + 2u + 40u);
    EXPECT_EQ(sent[0].args[3], (long long)LONG_MAX);
    EXPECT_EQ(sent[3 + 3].args[4], 128);
    m.send("clear");
    for (double e : m.unit(0)) EXPECT_TRUE(e >= 0 && e == std::floor(e));
}

#ifdef __GLIBC__
#include <malloc.h>
// Instances, learning, dumps, drawings and long lists give back every block they take: 500 of
// them leave no more behind than 500 instances that were only made and freed (the host keeps a
// little per instance).
TEST(SelfmapObject, NothingLeaks) {
    maxhost::add_search_path(MAXLEARN_EXTERNALS_DIR);
    maxhost::set_console_sink([](maxhost::ConsoleKind, const std::string &) {});
    const std::string long_list = list_text("list", Longs(300, 1));
    auto growth = [&](bool use) {
        size_t before = mallinfo2().uordblks;
        for (int i = 0; i < 500; i++) {
            t_object *o = maxhost::create_from_box("selfmap 2 @pas 0.5");
            if (use) {
                for (const char *msg : {"learn 1 2 3", "dump_max", "dump_lcd"}) maxhost::send_text(o, msg);
                maxhost::run_queue();
                maxhost::send_text(o, long_list);
            }
            maxhost::advance(1000);
            object_free(o);
        }
        return (long)mallinfo2().uordblks - (long)before;
    };
    growth(true);  // the host's own tables settle
    growth(false);
    long plain = growth(false), used = growth(true);
    maxhost::reset_console_sink();
    EXPECT_LT(used - plain, 500 * 16) << plain << " " << used;
}
#endif

// A unit whose block could not be had at creation is skipped by every message.
TEST(SelfmapObject, MissingUnitsAreSkipped) {
    Map m("selfmap 5 @mutation 100");
    maxhost::ConsoleCapture console;
    for (long i : {0L, 2L}) {
        sysmem_freeptr(m.x->units[i]);
        m.x->units[i] = nullptr;
    }
    m.send("clear");
    m.send("list 7 7 7 7");  // nothing learned: echoed
    for (const char *msg : {"learn 1 2 3 4", "learn 9 9 9 9", "learn 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20",
                            "learn 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 21"})
        m.send(msg);
    const Reals v(20, 5.0);
    for (long i : {1L, 3L, 4L}) std::fill(m.x->units[i], m.x->units[i] + 20, 9.0);
    EXPECT_EQ(carte_gagnant(m.x, v.data()), 1);  // the first present unit of equals
    m.x->units[4][0] = 8.0;
    EXPECT_EQ(carte_gagnant(m.x, v.data()), 4);
    m.x->vector_size = 4;
    EXPECT_EQ(carte_gagnant(m.x, v.data()), 4);
    m.x->vector_size = 20;
    for (const char *msg : {"1", "3", "2"}) m.send(msg);
    auto sent = m.take();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].args, (Longs{7, 7, 7, 7}));
    EXPECT_EQ(sent[1].args.size(), 20u);
    long lists = 0, echoes = 0;
    for (int i = 0; i < 100; i++) m.send("bang");
    for (int i = 0; i < 100; i++) m.send("list 0 0 0");
    for (const Sent &s : m.take()) {
        lists += s.args.size() == 20;
        echoes += s.args == Longs{0, 0, 0};
    }
    EXPECT_TRUE(lists > 40 && lists < 100) << lists;  // bang on a missing unit sends nothing
    EXPECT_TRUE(echoes > 20 && echoes < 80) << echoes;  // a missing unit replaces nothing
    m.send("dump_max");
    Lines lines = console.lines();
    ASSERT_EQ(lines.size(), 5u + 3u + 1u);
    EXPECT_EQ(lines[5].substr(0, 4) + lines[6].substr(0, 4) + lines[7].substr(0, 4), "2 : 4 : 5 : ");
    m.send("dump_lcd");
    maxhost::run_queue();
    sent = m.take();
    ASSERT_EQ(sent.size(), 2u + 3u * 20u);
    EXPECT_EQ(sent[2].args[0], 30);  // the first column drawn is unit 1's
}

TEST(SelfmapObject, HalfBuiltInstanceIsReleased) {
    Map m;
    // What the destructor meets when the constructor's first allocation fails: a zeroed record.
    void *x = object_alloc(maxhost::find_class("selfmap"));
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(object_free(x), MAX_ERR_NONE);
}
