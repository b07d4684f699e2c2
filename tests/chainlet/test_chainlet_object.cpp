// Registration, creation, attributes, assistance and the message bounds.
#include "chainlet_fixture.h"

TEST(ChainletObject, Registration)
{
    Chain c;
    t_class *cls = maxhost::find_class("chainlet");
    ASSERT_NE(cls, nullptr);
    EXPECT_EQ(maxhost::method_names(cls), (Lines{"assist", "bang", "dump_max", "dump_lcd", "list", "vraisemblance",
                                                 "clear", "int", "write", "read"}));
    auto text = [](bool found, const std::vector<t_atom> &v) {
        return found ? maxhost::atoms_to_text((long)v.size(), v.data()) : std::string("-");
    };
    std::vector<t_atom> v;
    EXPECT_EQ(text(maxhost::method_meta(cls, "int", "undocumented", &v), v), "1");
    EXPECT_EQ(text(maxhost::method_meta(cls, "bang", "undocumented", &v), v), "-");
    EXPECT_EQ(maxhost::attribute_names(cls), (Lines{"lcd", "apprentissage"}));
    for (auto [attr, order] : {std::pair{"lcd", "2"}, {"apprentissage", "1"}}) {
        EXPECT_EQ(text(maxhost::attribute_meta(cls, attr, "save", &v), v), "1") << attr;
        EXPECT_EQ(text(maxhost::attribute_meta(cls, attr, "order", &v), v), order) << attr;
    }
    EXPECT_EQ(maxhost::outlet_count(c.obj), 4);
    EXPECT_EQ(maxhost::assist(c.obj, ASSIST_INLET, 7), "(bang) (list) (symbol) clear, dump_lcd, dump_max, vraisemblance");
    const Lines outlets = {"(int)", "(bang)", "(lcd) dump", "(float) - ln vraisemblance", ""};
    for (long i = 0; i < 5; i++) EXPECT_EQ(maxhost::assist(c.obj, ASSIST_OUTLET, i), outlets[(size_t)i]) << i;
    EXPECT_EQ(maxhost::assist(c.obj, ASSIST_OUTLET, -1), "");
}

TEST(ChainletObject, CreationArgumentsAndAttributes)
{
    for (auto [box, states] : {std::pair{"chainlet", 6}, {"chainlet 8", 8}, {"chainlet 2", 2}, {"chainlet 50", 50},
                               {"chainlet 1", 6}, {"chainlet 51", 6}, {"chainlet 8.5", 6}, {"chainlet 8.", 6},
                               {"chainlet foo", 6}, {"chainlet -3", 6}}) {
        Chain c(box);
        EXPECT_EQ(c.x->state_count, states) << box;
        EXPECT_EQ((Ints{c.x->symbol_count, c.x->sequence_length, c.x->current_state, c.x->trained, c.x->dump_busy}),
                  (Ints{128, 0, -1, 0, 0}))
            << box;
        EXPECT_EQ(c.x->lcd, 150);
        EXPECT_EQ(c.x->apprentissage, 1.0f);
        expect_model_stochastic(c.x, 1e-12);
    }
    Chain c("chainlet 4 @apprentissage 0.25 @lcd 300");
    EXPECT_EQ(c.x->state_count, 4);
    EXPECT_EQ(c.x->apprentissage, 0.25f);
    EXPECT_EQ(c.x->lcd, 300);
    for (auto [msg, lcd, w] : {std::tuple{"lcd 100", 150L, 0.25f}, {"lcd 500", 400L, 0.25f}, {"lcd 222", 222L, 0.25f},
                               {"apprentissage -1", 222L, 0.0f}, {"apprentissage 1e39", 222L, 3.4028234663852886e+38f},
                               {"apprentissage 2.5", 222L, 2.5f}}) {
        c.send(msg);
        EXPECT_EQ(c.x->lcd, lcd) << msg;
        EXPECT_EQ(c.x->apprentissage, w) << msg;
    }
    std::vector<t_atom> v;
    ASSERT_TRUE(maxhost::get_attribute(c.obj, "apprentissage", &v));
    EXPECT_EQ(atom_getfloat(&v[0]), 2.5);
}

TEST(ChainletObject, ListBoundsAndIgnoredMessages)
{
    Chain c("chainlet 3");
    c.learn({});  // empty: ignored
    EXPECT_EQ(c.x->sequence_length, 0);
    Ints o(257, 5);
    c.learn(o);  // too long: ignored
    EXPECT_EQ((Ints{c.x->sequence_length, c.x->trained}), (Ints{0, 0}));
    o.pop_back();
    c.learn(o);
    EXPECT_EQ((Ints{c.x->sequence_length, c.x->trained}), (Ints{256, 1}));
    c.send("int 3");
    c.send("7");
    EXPECT_TRUE(c.take().empty());
    // A busy pass drops a list but not a bang.
    const Model before = get_model(c.x);
    systhread_mutex_lock(c.x->mutex);
    c.learn({5, 5, 5});
    c.send("bang");
    systhread_mutex_unlock(c.x->mutex);
    EXPECT_EQ(get_model(c.x).emission, before.emission);
    EXPECT_EQ(c.x->sequence_length, 256);
    auto sent = c.take();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].outlet, 0);
}

TEST(ChainletObject, ClearDrawsAFreshModel)
{
    Chain c("chainlet 5");
    c.learn({1, 2, 3});
    c.send("bang");
    const Model before = get_model(c.x);
    c.send("clear");
    const Model after = get_model(c.x);
    EXPECT_NE(after.initial, before.initial);
    EXPECT_NE(after.emission, before.emission);
    EXPECT_EQ((Ints{c.x->trained, c.x->current_state, c.x->sequence_length}), (Ints{0, -1, 3}));
    expect_model_stochastic(c.x, 1e-12);
    // The model after clear comes from the generator: the same seed gives the same model.
    srand(77);
    c.send("clear");
    const Model first = get_model(c.x);
    srand(77);
    graf_clear(c.x);
    EXPECT_EQ(get_model(c.x).emission, first.emission);
    EXPECT_EQ(get_model(c.x).transition, first.transition);
}
