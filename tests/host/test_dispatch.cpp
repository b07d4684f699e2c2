// Typed dispatch: which handler a message reaches and what its arguments become.
#include "core_test_util.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

// A record that logs every handler call as text.
struct Probe {
    t_object ob;
    std::vector<std::string> *log;
};

void note(void *x, const std::string &s) { static_cast<Probe *>(x)->log->push_back(s); }

void p_bang(void *x) { note(x, "bang"); }
void p_int(void *x, t_atom_long n) { note(x, "int " + std::to_string(n)); }
void p_float(void *x, double f) {
    t_atom a;
    atom_setfloat(&a, f);
    note(x, "float " + maxhost::atom_to_text(a));
}
void p_gimme(void *x, t_symbol *s, long ac, t_atom *av) {
    note(x, std::string(s->s_name) + "(" + maxhost::atoms_to_text(ac, av) + ")");
}
// Mixed typed arguments: integers and doubles interleaved, to prove each lands in its place.
void p_mixed(void *x, t_atom_long a, double b, t_symbol *c, double d, t_atom_long e) {
    char buf[200];
    std::snprintf(buf, sizeof buf, "mixed %ld %g %s %g %ld", static_cast<long>(a), b, c->s_name, d,
                  static_cast<long>(e));
    note(x, buf);
}
void p_defaults(void *x, t_atom_long a, double b, t_symbol *c) {
    note(x, "defaults " + std::to_string(a) + " " + std::to_string(b) + " [" + c->s_name + "]");
}
intptr_t g_cant_args[8];
void *p_cant(void *x, void *a, void *b, void *c, void *d, void *e, void *f, void *g, void *h) {
    note(x, "cant");
    void *args[8] = {a, b, c, d, e, f, g, h};
    for (int i = 0; i < 8; ++i) g_cant_args[i] = reinterpret_cast<intptr_t>(args[i]);
    return reinterpret_cast<void *>(reinterpret_cast<intptr_t>(a) + reinterpret_cast<intptr_t>(b));
}
t_max_err p_back(void *x, t_symbol *, long ac, t_atom *, t_atom *rv) {
    note(x, "back");
    atom_setlong(rv, ac * 10);
    return MAX_ERR_NONE;
}

template <typename F>
method M(F f) {
    return reinterpret_cast<method>(reinterpret_cast<void (*)()>(f));
}

// A class with exactly the handlers named in `which`.
t_class *probe_class(const std::string &name, const std::vector<std::string> &which) {
    t_class *c = class_new(name.c_str(), nullptr, nullptr, sizeof(Probe), nullptr, 0);
    for (const std::string &w : which) {
        if (w == "bang") class_addmethod(c, M(p_bang), "bang", 0);
        if (w == "int") class_addmethod(c, M(p_int), "int", A_LONG, 0);
        if (w == "float") class_addmethod(c, M(p_float), "float", A_FLOAT, 0);
        if (w == "list") class_addmethod(c, M(p_gimme), "list", A_GIMME, 0);
        if (w == "anything") class_addmethod(c, M(p_gimme), "anything", A_GIMME, 0);
        if (w == "learn") class_addmethod(c, M(p_gimme), "learn", A_GIMME, 0);
        if (w == "mixed") class_addmethod(c, M(p_mixed), "mixed", A_LONG, A_FLOAT, A_SYM, A_FLOAT, A_LONG, 0);
        if (w == "defaults") class_addmethod(c, M(p_defaults), "defaults", A_DEFLONG, A_DEFFLOAT, A_DEFSYM, 0);
        if (w == "cant") class_addmethod(c, M(p_cant), "cant", A_CANT, 0);
        if (w == "back") class_addmethod(c, M(p_back), "back", A_GIMMEBACK, 0);
    }
    return c;
}

struct ProbeObject {
    std::vector<std::string> log;
    t_class *c;
    Probe *x;
    explicit ProbeObject(const std::vector<std::string> &which, const std::string &name = "probe")
        : c(probe_class(name, which)), x(static_cast<Probe *>(object_alloc(c))) {
        x->log = &log;
    }
    ~ProbeObject() {
        object_free(x);
        class_free(c);
    }
    t_object *obj() { return &x->ob; }
    bool text(const std::string &t) { return maxhost::send_text(obj(), t); }
};

}  // namespace

TEST(Dispatch, NumbersReachTheirOwnHandlerElseTheOtherConvertedElseList) {
    ProbeObject both({"int", "float", "list"});
    both.text("3");
    both.text("2.5");
    both.text("-2.9");
    EXPECT_EQ(both.log, (std::vector<std::string>{"int 3", "float 2.5", "float -2.9"}));

    ProbeObject only_int({"int"});
    only_int.text("2.9");
    only_int.text("-2.9");
    EXPECT_EQ(only_int.log, (std::vector<std::string>{"int 2", "int -2"}));  // truncated, not rounded

    ProbeObject only_float({"float"});
    only_float.text("3");
    EXPECT_EQ(only_float.log, (std::vector<std::string>{"float 3."}));

    ProbeObject only_list({"list"});
    only_list.text("3");
    only_list.text("1.5");
    EXPECT_EQ(only_list.log, (std::vector<std::string>{"list(3)", "list(1.5)"}));
}

TEST(Dispatch, ListsGoToListAndOneElementListsFallBackToNumbers) {
    ProbeObject p({"int", "list"});
    p.text("1 2 3");
    p.text("list 4");  // a list handler takes even a single number
    EXPECT_EQ(p.log, (std::vector<std::string>{"list(1 2 3)", "list(4)"}));

    ProbeObject q({"int"});
    q.text("list 4");
    t_atom a;
    atom_setfloat(&a, 7.8);
    maxhost::send(q.obj(), gensym("list"), 1, &a);
    EXPECT_EQ(q.log, (std::vector<std::string>{"int 4", "int 7"}));
}

TEST(Dispatch, GimmePassesSelectorCountAndAtoms) {
    ProbeObject p({"learn"});
    EXPECT_TRUE(p.text("learn 10 20.5 foo"));
    EXPECT_TRUE(p.text("learn"));
    EXPECT_EQ(p.log, (std::vector<std::string>{"learn(10 20.5 foo)", "learn()"}));
}

TEST(Dispatch, TypedArgumentsConvertInOrderAndMissingOnesDefault) {
    ProbeObject p({"mixed", "defaults"});
    p.text("mixed 1 2 three 4.5 5.9");
    p.text("mixed 1.7 2");  // float to int truncates; missing trailing arguments read as 0
    p.text("defaults");
    p.text("defaults 4 0.5 hi");
    EXPECT_EQ(p.log, (std::vector<std::string>{"mixed 1 2 three 4.5 5", "mixed 1 2  0 0",
                                               "defaults 0 0.000000 []", "defaults 4 0.500000 [hi]"}));
}

TEST(Dispatch, UnknownMessagesAreReportedAndNamedOnesFallToAnything) {
    ProbeObject strict({"int"}, "strict");
    maxhost::ConsoleCapture console;
    EXPECT_FALSE(strict.text("foo 1 2"));
    EXPECT_FALSE(strict.text("bang"));
    EXPECT_FALSE(strict.text("1 2"));
    EXPECT_EQ(console.errors(), (std::vector<std::string>{"strict: doesn't understand \"foo\"",
                                                          "strict: doesn't understand \"bang\"",
                                                          "strict: doesn't understand \"list\""}));
    EXPECT_TRUE(strict.log.empty());

    ProbeObject open({"anything", "bang"});
    EXPECT_TRUE(open.text("foo 1 2"));
    EXPECT_TRUE(open.text("bang"));
    EXPECT_TRUE(open.text("7"));
    EXPECT_EQ(open.log, (std::vector<std::string>{"foo(1 2)", "bang", "int(7)"}));
}

TEST(Dispatch, CantHandlersAreReachedOnlyByName) {
    ProbeObject p({"cant"});
    maxhost::ConsoleCapture console;
    EXPECT_FALSE(p.text("cant 1 2"));
    EXPECT_EQ(console.errors().size(), 1u);
    EXPECT_TRUE(p.log.empty());
    // Through the 64-bit macro, as an SDK-built external calls it: the arguments not given are 0.
    std::fill(std::begin(g_cant_args), std::end(g_cant_args), -1);
    void *r = object_method(p.obj(), gensym("cant"), reinterpret_cast<void *>(2), reinterpret_cast<void *>(40));
    EXPECT_EQ(reinterpret_cast<intptr_t>(r), 42);
    EXPECT_EQ(std::vector<intptr_t>(g_cant_args, g_cant_args + 8), (std::vector<intptr_t>{2, 40, 0, 0, 0, 0, 0, 0}));
    object_method(p.obj(), gensym("cant"), 1, 2, 3, 4, 5, 6, 7, 8);
    EXPECT_EQ(std::vector<intptr_t>(g_cant_args, g_cant_args + 8), (std::vector<intptr_t>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(object_method(p.obj(), gensym("nothere")), nullptr);
    EXPECT_EQ(p.log, (std::vector<std::string>{"cant", "cant"}));
}

TEST(Dispatch, TypedCallsByNameAndReturnValues) {
    ProbeObject p({"learn", "back"});
    t_atom av[2];
    atom_setlong(&av[0], 1);
    atom_setlong(&av[1], 2);
    t_atom rv;
    EXPECT_EQ(object_method_typed(p.obj(), gensym("learn"), 2, av, nullptr), MAX_ERR_NONE);
    EXPECT_EQ(object_method_typed(p.obj(), gensym("back"), 2, av, &rv), MAX_ERR_NONE);
    EXPECT_EQ(atom_getlong(&rv), 20);
    maxhost::ConsoleCapture console;
    EXPECT_NE(object_method_typed(p.obj(), gensym("zzz"), 0, nullptr, nullptr), MAX_ERR_NONE);
    EXPECT_EQ(p.log, (std::vector<std::string>{"learn(1 2)", "back"}));
}

TEST(Dispatch, NamedMessageThatNamesAnAttributeSetsIt) {
    coretest::TestExt t;
    maxhost::ConsoleCapture console;
    EXPECT_TRUE(maxhost::send_text(t.x, "gain 7"));
    EXPECT_TRUE(maxhost::send_text(t.x, "gain 70"));  // through the clip filter
    EXPECT_EQ(object_attr_getlong(t.x, gensym("gain")), 10);
    EXPECT_TRUE(console.errors().empty());
}

TEST(Dispatch, BadTargetsAreReportedNotDereferenced) {
    maxhost::ConsoleCapture console;
    EXPECT_FALSE(maxhost::send(nullptr, gensym("bang"), 0, nullptr));
    EXPECT_EQ(object_free(nullptr), MAX_ERR_INVALID_PTR);
    t_object fake;
    std::memset(&fake, 0, sizeof fake);
    EXPECT_EQ(object_free(&fake), MAX_ERR_INVALID_PTR);  // never made by object_alloc
    EXPECT_EQ(console.errors().size(), 3u);
}

TEST(Dispatch, RunawayFeedbackStopsWithAReport) {
    coretest::TestExt t;
    // The list outlet feeds the object's own inlet: every list is sent again, forever.
    ASSERT_TRUE(maxhost::connect(t.x, 0, t.x));
    maxhost::ConsoleCapture console;
    maxhost::send_text(t.x, "1 2");
    ASSERT_FALSE(console.errors().empty());
    EXPECT_NE(console.errors()[0].find("stack overflow"), std::string::npos);
}
