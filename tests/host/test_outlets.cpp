// Outlets and cords: order of outlets, depth-first delivery, observers; clocks and queue
// elements reached through an external.
#include "core_test_util.h"

using coretest::Recorder;
using coretest::TestExt;

namespace {

struct Relay {
    t_object ob;
    void *left;   // made last: outlet 0
    void *right;  // made first: outlet 1
    std::vector<std::string> *log;
    const char *name;
};

// Sends to the right outlet, then the left, noting each step: shows the order of a cascade.
void relay_int(Relay *x, t_atom_long n) {
    x->log->push_back(std::string(x->name) + " got " + std::to_string(n));
    if (n > 0) {
        outlet_int(x->right, n - 1);
        outlet_int(x->left, n - 1);
    }
    x->log->push_back(std::string(x->name) + " done " + std::to_string(n));
}

t_class *relay_class() {
    static t_class *c = [] {
        t_class *k = class_new("relay", nullptr, nullptr, sizeof(Relay), nullptr, 0);
        class_addmethod(k, reinterpret_cast<method>(reinterpret_cast<void (*)()>(relay_int)), "int", A_LONG, 0);
        return k;
    }();
    return c;
}

Relay *relay_new(const char *name, std::vector<std::string> *log) {
    auto *x = static_cast<Relay *>(object_alloc(relay_class()));
    x->right = intout(x);
    x->left = outlet_new(x, nullptr);
    x->log = log;
    x->name = name;
    return x;
}

// Four outlets made right to left with each typed constructor, as an object with int, bang,
// drawing and float outlets does.
struct Quad {
    t_object ob;
    void *i, *b, *draw, *f;
};

t_class *quad_class() {
    static t_class *c = class_new("quad", nullptr, nullptr, sizeof(Quad), nullptr, 0);
    return c;
}

}  // namespace

TEST(Outlets, EachNewOutletStandsLeftOfTheEarlierOnes) {
    auto *q = static_cast<Quad *>(object_alloc(quad_class()));
    q->f = floatout(q);
    q->draw = outlet_new(q, nullptr);
    q->b = bangout(q);
    q->i = intout(q);
    ASSERT_EQ(maxhost::outlet_count(&q->ob), 4);
    Recorder qrec;
    qrec.watch(&q->ob);
    t_atom size[2];
    atom_setlong(size, 200);
    atom_setlong(size + 1, 100);
    outlet_float(q->f, 0.35);
    outlet_anything(q->draw, gensym("size"), 2, size);
    outlet_bang(q->b);
    outlet_int(q->i, -1);
    EXPECT_EQ(qrec.events, (std::vector<std::string>{"3: float 0.35", "2: size 200 100", "1: bang", "0: int -1"}));
    object_free(q);

    std::vector<std::string> log;
    Relay *r = relay_new("r", &log);
    EXPECT_EQ(maxhost::outlet_count(&r->ob), 2);
    EXPECT_EQ(maxhost::outlet_at(&r->ob, 0), r->left);
    EXPECT_EQ(maxhost::outlet_at(&r->ob, 1), r->right);
    EXPECT_EQ(maxhost::outlet_at(&r->ob, 2), nullptr);
    EXPECT_EQ(maxhost::outlet_at(&r->ob, -1), nullptr);
    Recorder rec;
    rec.watch(&r->ob);
    maxhost::send_text(&r->ob, "1");
    EXPECT_EQ(rec.events, (std::vector<std::string>{"1: int 0", "0: int 0"}));
    object_free(r);
}

TEST(Outlets, DeliveryIsDepthFirstBeforeTheSenderGoesOn) {
    std::vector<std::string> log;
    Relay *a = relay_new("a", &log);
    Relay *b = relay_new("b", &log);
    Relay *c = relay_new("c", &log);
    ASSERT_TRUE(maxhost::connect(&a->ob, 1, &b->ob));
    ASSERT_TRUE(maxhost::connect(&a->ob, 0, &c->ob));
    maxhost::send_text(&a->ob, "2");
    EXPECT_EQ(log, (std::vector<std::string>{"a got 2", "b got 1", "b done 1", "c got 1", "c done 1", "a done 2"}));
    for (Relay *r : {a, b, c}) object_free(r);
}

TEST(Outlets, CordsConnectOnceAndDisconnect) {
    std::vector<std::string> log;
    Relay *a = relay_new("a", &log);
    Relay *b = relay_new("b", &log);
    EXPECT_TRUE(maxhost::connect(&a->ob, 0, &b->ob));
    EXPECT_FALSE(maxhost::connect(&a->ob, 0, &b->ob));  // already there
    EXPECT_FALSE(maxhost::connect(&a->ob, 5, &b->ob));  // no such outlet
    EXPECT_FALSE(maxhost::connect(&a->ob, 0, &b->ob, 1));  // one inlet only
    outlet_int(a->left, 3);
    EXPECT_TRUE(maxhost::disconnect(&a->ob, 0, &b->ob));
    EXPECT_FALSE(maxhost::disconnect(&a->ob, 0, &b->ob));
    outlet_int(a->left, 4);
    EXPECT_EQ(log, (std::vector<std::string>{"b got 3", "b done 3"}));
    // Freeing the sender first leaves the receiver with no dangling cord record.
    maxhost::connect(&a->ob, 0, &b->ob);
    object_free(a);
    object_free(b);
}

TEST(Outlets, AnOutletFreedEarlyLeavesItsOwnerAndTakesItsCords) {
    std::vector<std::string> log;
    Relay *a = relay_new("a", &log);
    Relay *b = relay_new("b", &log);
    ASSERT_TRUE(maxhost::connect(&a->ob, 0, &b->ob));
    ASSERT_TRUE(maxhost::connect(&a->ob, 1, &b->ob));
    EXPECT_EQ(object_free(a->right), MAX_ERR_NONE);
    EXPECT_EQ(maxhost::outlet_count(&a->ob), 1);
    EXPECT_EQ(maxhost::outlet_at(&a->ob, 0), a->left);
    outlet_int(a->left, 0);
    // The receiver goes first: its free must not touch the released outlet's cords.
    object_free(b);
    outlet_int(a->left, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"b got 0", "b done 0"}));
    object_free(a);
}

TEST(Outlets, EveryOutletCallDeliversItsKind) {
    TestExt t;
    Recorder rec;
    rec.watch(t.x);
    for (const char *m : {"bang", "5", "0.5", "1 2.5 x", "say hi 3", "list 7"}) maxhost::send_text(t.x, m);
    EXPECT_EQ(rec.events, (std::vector<std::string>{"0: bang", "0: int 5", "0: float 0.5", "0: list 1 2.5 x",
                                                    "1: said hi 3", "0: list 7"}));
    maxhost::set_outlet_observer(t.x, nullptr);
    maxhost::send_text(t.x, "bang");
    EXPECT_EQ(rec.events.size(), 6u);
}

TEST(Outlets, ClocksAndQueueElementsSendWhenTheHostRunsThem) {
    TestExt t;
    Recorder rec;
    rec.watch(t.x);
    maxhost::send_text(t.x, "later 100");
    maxhost::send_text(t.x, "soon");
    maxhost::send_text(t.x, "soon");
    EXPECT_TRUE(rec.events.empty());  // nothing runs by itself in virtual time
    EXPECT_EQ(maxhost::run_queue(), 1);  // two sets, one run
    EXPECT_EQ(rec.events, std::vector<std::string>{"1: ran"});
    maxhost::advance(99);
    EXPECT_EQ(rec.events.size(), 1u);
    maxhost::advance(1);
    EXPECT_EQ(rec.events, (std::vector<std::string>{"1: ran", "1: tick"}));
    // Freed with a clock pending: the clock must not fire into freed memory.
    maxhost::send_text(t.x, "later 10");
    object_free(t.x);
    t.x = nullptr;
    maxhost::advance(20);
}
