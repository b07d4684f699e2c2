// Atoms, symbols and the Max window.
#include "core_test_util.h"

#include <climits>
#include <cstring>
#include <thread>

namespace {

std::string text_of(const std::string &message) {
    std::vector<t_atom> v = maxhost::parse_atoms(message);
    long size = 0;
    char *text = nullptr;
    EXPECT_EQ(atom_gettext(static_cast<long>(v.size()), v.data(), &size, &text, 0), MAX_ERR_NONE);
    std::string out(text);
    EXPECT_EQ(size, static_cast<long>(out.size() + 1));
    sysmem_freeptr(text);
    return out;
}

}  // namespace

TEST(Atoms, GettersConvertAsMaxDoes) {
    t_atom a;
    atom_setfloat(&a, -2.9);
    EXPECT_EQ(atom_getlong(&a), -2);  // truncated toward zero
    atom_setfloat(&a, 1e300);
    EXPECT_EQ(atom_getlong(&a), INT64_MAX);  // saturated, not undefined
    atom_setlong(&a, 5);
    EXPECT_DOUBLE_EQ(atom_getfloat(&a), 5.0);
    EXPECT_EQ(atom_getsym(&a), gensym(""));
    atom_setsym(&a, gensym("x"));
    EXPECT_EQ(atom_getlong(&a), 0);
    EXPECT_EQ(atom_getfloat(&a), 0.0);
    EXPECT_EQ(atom_gettype(&a), A_SYM);
    EXPECT_EQ(atom_gettype(nullptr), A_NOTHING);
}

TEST(Atoms, TextUsesMaxsShortFloatForm) {
    EXPECT_EQ(text_of("10 20 30 40"), "10 20 30 40");
    EXPECT_EQ(text_of("0.5 1. 1.0 -2.25 0.333333333"), "0.5 1. 1. -2.25 0.333333");
    EXPECT_EQ(text_of("0.35 100.125 foo"), "0.35 100.125 foo");
    EXPECT_EQ(text_of(""), "");
    t_atom a;
    atom_setsym(&a, gensym("two words"));
    EXPECT_EQ(maxhost::atom_to_text(a), "\"two words\"");
    atom_setfloat(&a, 0.0000001);
    EXPECT_EQ(maxhost::atom_to_text(a), "0.");
}

TEST(Atoms, TextIntoACallersBlockIsEnlargedWhenTooSmall) {
    std::vector<t_atom> v = maxhost::parse_atoms("123 456 789");
    char *p = sysmem_newptr(20);
    long size = 20;
    EXPECT_EQ(atom_gettext(3, v.data(), &size, &p, 0), MAX_ERR_NONE);
    EXPECT_STREQ(p, "123 456 789");
    EXPECT_EQ(size, 20);  // a block large enough is kept as it is
    sysmem_freeptr(p);

    // A row of 256 numbers into a 100-byte block: the block grows, pointer and size follow, and the
    // caller frees the block it ends with.
    std::vector<t_atom> row(256);
    std::string want;
    for (size_t i = 0; i < row.size(); ++i) {
        atom_setlong(&row[i], static_cast<t_atom_long>(1000 + i));
        want += (i ? " " : "") + std::to_string(1000 + i);
    }
    char *q = sysmem_newptr(100);
    long qsize = 100;
    EXPECT_EQ(atom_gettext(256, row.data(), &qsize, &q, 0), MAX_ERR_NONE);
    EXPECT_EQ(q, want);
    EXPECT_EQ(qsize, static_cast<long>(want.size() + 1));
    EXPECT_GE(sysmem_ptrsize(q), want.size() + 1);
    sysmem_freeptr(q);
}

TEST(Atoms, ParsingTellsNumbersFromSymbols) {
    std::vector<t_atom> v = maxhost::parse_atoms("  1 -2 +3 2.5 .5 1e3 1. 0x10 nan - 1a \"a b\" 99999999999999999999 ");
    ASSERT_EQ(v.size(), 13u);
    short types[] = {A_LONG, A_LONG, A_LONG, A_FLOAT, A_FLOAT, A_FLOAT, A_FLOAT,
                     A_SYM,  A_SYM,  A_SYM,  A_SYM,   A_SYM,   A_FLOAT};
    for (size_t i = 0; i < v.size(); ++i) EXPECT_EQ(v[i].a_type, types[i]) << i;
    EXPECT_EQ(atom_getlong(&v[1]), -2);
    EXPECT_DOUBLE_EQ(atom_getfloat(&v[4]), 0.5);
    EXPECT_DOUBLE_EQ(atom_getfloat(&v[5]), 1000.0);
    EXPECT_STREQ(atom_getsym(&v[11])->s_name, "a b");

    long ac = 0;
    t_atom *av = nullptr;
    EXPECT_EQ(atom_setparse(&ac, &av, "off maximum 3"), MAX_ERR_NONE);
    EXPECT_EQ(ac, 3);
    EXPECT_EQ(maxhost::atoms_to_text(ac, av), "off maximum 3");
    sysmem_freeptr(av);
    // A caller's buffer is filled no further than its size.
    t_atom two[2];
    t_atom *pt = two;
    ac = 2;
    EXPECT_EQ(atom_setparse(&ac, &pt, "1 2 3 4"), MAX_ERR_NONE);
    EXPECT_EQ(ac, 2);
}

TEST(Atoms, AllocationHelpersReuseOrAllocate) {
    long ac = 0;
    t_atom *av = nullptr;
    char alloc = 0;
    EXPECT_EQ(atom_alloc(&ac, &av, &alloc), MAX_ERR_NONE);
    EXPECT_EQ(ac, 1);
    EXPECT_EQ(alloc, 1);
    t_atom *same = av;
    EXPECT_EQ(atom_alloc(&ac, &av, &alloc), MAX_ERR_NONE);
    EXPECT_EQ(av, same);
    EXPECT_EQ(alloc, 0);
    sysmem_freeptr(av);

    ac = 0;
    av = nullptr;
    EXPECT_EQ(atom_alloc_array(256, &ac, &av, &alloc), MAX_ERR_NONE);
    EXPECT_EQ(ac, 256);
    EXPECT_GE(sysmem_ptrsize(av), 256 * sizeof(t_atom));
    EXPECT_EQ(av[255].a_type, 0);  // cleared
    sysmem_freeptr(av);

    // A count too large to allocate fails; it never gives a small block under a large count.
    ac = 0;
    av = nullptr;
    // (2^60 + 1 atoms wrap the byte count on 64-bit longs; a 32-bit long cannot ask for that many.)
    const long too_many = sizeof(long) >= 8 ? static_cast<long>((static_cast<long long>(1) << 60) + 1) : LONG_MAX;
    EXPECT_NE(atom_alloc_array(too_many, &ac, &av, &alloc), MAX_ERR_NONE);
    EXPECT_EQ(av, nullptr);
    EXPECT_EQ(ac, 0);
}

TEST(Symbols, InternedAcrossThreads) {
    EXPECT_EQ(gensym("abc"), gensym(std::string("ab").append("c").c_str()));
    EXPECT_NE(gensym("abc"), gensym("abd"));
    EXPECT_STREQ(gensym("abc")->s_name, "abc");
    EXPECT_EQ(gensym(nullptr), gensym(""));
    std::vector<t_symbol *> seen(4);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&seen, t] {
            for (int i = 0; i < 2000; ++i) gensym(("race" + std::to_string(i)).c_str());
            seen[static_cast<size_t>(t)] = gensym("race1999");
        });
    for (auto &th : threads) th.join();
    for (t_symbol *s : seen) EXPECT_EQ(s, seen[0]);
}

TEST(Console, EachCallIsOneLineAndErrorsAreMarked) {
    maxhost::ConsoleCapture console;
    post("value %ld", 42L);
    error("bad %s", "thing");
    post("trailing newline\n");
    t_atom a;
    atom_setfloat(&a, 0.5);
    postatom(&a);
    EXPECT_EQ(console.lines(), (std::vector<std::string>{"value 42", "bad thing", "trailing newline", "0.5"}));
    EXPECT_EQ(console.errors(), std::vector<std::string>{"bad thing"});
    console.clear();
    coretest::TestExt t;
    object_post(t.x, "from %s", "object");
    object_error(t.x, "oops");
    EXPECT_EQ(console.lines(), (std::vector<std::string>{"testext: from object", "testext: oops"}));
    std::string longline(2000, 'y');
    post("%s", longline.c_str());
    EXPECT_EQ(console.lines().back(), longline);
}

TEST(Console, CapturesNestAndRestoreTheSink) {
    std::vector<std::string> mine;
    maxhost::set_console_sink([&mine](maxhost::ConsoleKind, const std::string &l) { mine.push_back(l); });
    {
        maxhost::ConsoleCapture inner;
        post("inside");
        EXPECT_EQ(inner.lines().size(), 1u);
    }
    post("outside");
    maxhost::reset_console_sink();
    EXPECT_EQ(mine, std::vector<std::string>{"outside"});
}
