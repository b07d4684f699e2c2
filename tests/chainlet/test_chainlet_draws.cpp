// The draws, with the C library's rand replaced: this program's rand is the one the external calls,
// so a test can hand it 0 every time or RAND_MAX.
#include "chainlet_fixture.h"

#include <cstdlib>
#include <deque>

namespace {
std::deque<int> scripted;  // values rand gives first; then a plain generator
unsigned long state = 1;
}  // namespace

extern "C" int rand(void)
{
    if (!scripted.empty()) {
        int v = scripted.front();
        scripted.pop_front();
        return v;
    }
    state = state * 1103515245UL + 12345UL;
    return (int)((state >> 1) % ((unsigned long)RAND_MAX + 1UL));
}

TEST(ChainletDraws, AllZeroDrawsStillGiveAStochasticVector)
{
    Row v(5, -1.0);
    scripted.assign(6, 0);  // exponent (0 mod 6) + 1, then five draws of 0
    stochastic_vecteur(v.data(), 5);
    EXPECT_EQ(v, Row(5, 0.2));
    EXPECT_TRUE(scripted.empty());
    scripted = {5, RAND_MAX, 0, RAND_MAX};  // exponent 6: 1, 0, 1
    stochastic_vecteur(v.data(), 3);
    EXPECT_EQ(Row(v.begin(), v.begin() + 3), (Row{0.5, 0.0, 0.5}));
    scripted = {6, RAND_MAX / 2, RAND_MAX};  // exponent (6 mod 6) + 1 = 1: the draws themselves
    stochastic_vecteur(v.data(), 2);
    EXPECT_NEAR(v[0], 1.0 / 3.0, 1e-9);
}

TEST(ChainletDraws, RealDrawsDivideByRandMax)
{
    Chain c("chainlet 3");
    set_model(c.x, {0.25, 0.5, 0.25}, {{0, 0, 1}, {1, 0, 0}, {0.5, 0.5, 0}},
              {emission_row({{10, 0.5}, {11, 0.5}}), emission_row({{20, 1.0}}), emission_row({{30, 1.0}})});
    c.x->trained = 1;
    // Start state: u = 0.5 is not below 0.25 + 0.5 ... the running sum passes it at state 1.
    scripted = {RAND_MAX / 2, RAND_MAX / 2, 0};
    c.send("bang");
    EXPECT_EQ(c.x->current_state, 0);
    // State 0: u just under 0.5 picks 10, and the state moves to 2, which sends 30 and moves to 0.
    scripted = {RAND_MAX / 2 - 1, 0, RAND_MAX / 2 + 1, 0};
    c.send("bang");
    c.send("bang");
    EXPECT_EQ(c.x->current_state, 0);
    // u = 1 exactly: no symbol is drawn (-1) and a transition draw of 1 leaves the state; then a
    // draw of 0 moves it to 2.
    scripted = {RAND_MAX, RAND_MAX, RAND_MAX, 0};
    c.send("bang");
    c.send("bang");
    auto sent = c.take();
    std::vector<double> symbols;
    for (const Sent &s : sent) symbols.push_back(s.args.at(0));
    EXPECT_EQ(symbols, (std::vector<double>{20, 10, 30, -1, -1}));
    EXPECT_EQ(c.x->current_state, 2);

    // No start state: -1 on outlet 0 and a new start draw at the next bang.
    c.x->current_state = -1;
    scripted = {RAND_MAX};
    c.send("bang");
    EXPECT_EQ(c.x->current_state, -1);
    EXPECT_EQ(c.take().at(0).args.at(0), -1.0);
}

TEST(ChainletDraws, NonIntegerElementsBecomeRandomSymbols)
{
    Chain c;
    std::vector<t_atom> av(3);
    atom_setfloat(&av[0], 2.5);
    atom_setlong(&av[1], 64);
    atom_setsym(&av[2], gensym("la"));
    scripted = {200, 127};
    maxhost::send(c.obj, gensym("vraisemblance"), 3, av.data());
    EXPECT_EQ((Ints{c.x->sequence[0], c.x->sequence[1], c.x->sequence[2]}), (Ints{72, 64, 127}));
    EXPECT_TRUE(scripted.empty());
}
