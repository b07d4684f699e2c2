// The oracle itself: construction, storage growth and reuse, and the walk, read straight from the
// record of an instance made through the host.
#include "echoseq_fixture.h"

#include <algorithm>
#include <random>
#include <set>

namespace {

std::vector<t_arc> arcs_of(const t_echoseq *x, t_int32 state)
{
    const t_arc *a = echoseq_arcs(x, state);
    return a ? std::vector<t_arc>(a, a + x->nodes[state].narcs) : std::vector<t_arc>();
}

std::vector<std::pair<int, int>> arc_pairs(const t_echoseq *x, t_int32 state)
{
    std::vector<std::pair<int, int>> out;
    for (const t_arc &a : arcs_of(x, state))
        out.push_back({a.val, a.dest});
    return out;
}

void learn(t_echoseq *x, const std::vector<long> &w)
{
    for (long s : w)
        echoseq_int(x, s);
}

// Longest L such that the L symbols ending at position i also end at an earlier position.
int true_lrs(const std::vector<long> &w, int i)
{
    int best = 0;
    for (int j = 1; j < i; j++) {
        int l = 0;
        while (l < j && w[j - 1 - l] == w[i - 1 - l])
            l++;
        best = std::max(best, l);
    }
    return best;
}

}  // namespace

TEST(EchoseqOracle, WorkedExampleStructure)
{
    Echoseq e;
    learn(e.x, {1, 2, 3, 1, 2, 3, 1, 2, 4});
    ASSERT_EQ(e.x->count, 10);
    const int refs[] = {-1, 0, 0, 0, 1, 2, 3, 4, 5, 0};
    const int lrss[] = {0, 0, 0, 0, 1, 2, 3, 4, 5, 0};
    for (int i = 0; i < 10; i++) {
        EXPECT_EQ(e.x->nodes[i].ref, refs[i]) << "state " << i;
        EXPECT_EQ(e.x->nodes[i].lrs, lrss[i]) << "state " << i;
    }
    using P = std::vector<std::pair<int, int>>;
    EXPECT_EQ(arc_pairs(e.x, 0), (P{{2, 2}, {3, 3}, {4, 9}}));
    EXPECT_EQ(arc_pairs(e.x, 2), (P{{4, 9}}));
    EXPECT_EQ(arc_pairs(e.x, 5), (P{{4, 9}}));
    for (int i : {1, 3, 4, 6, 7, 8, 9})
        EXPECT_TRUE(arc_pairs(e.x, i).empty()) << "state " << i;
}

// Random streams over small and large alphabets (large ones put long, indexed arc lists on the
// first states), checked against brute force.
TEST(EchoseqOracle, PropertiesOnRandomStreams)
{
    Echoseq e;
    std::mt19937 rng(12345);
    for (int round = 0; round < 120; round++) {
        const int alphabet = std::vector<int>{2, 3, 4, 12, 40, 1000}[round % 6];
        const int n = 20 + (int)(rng() % 180);
        std::vector<long> w(n);
        for (long &s : w)
            s = (long)(rng() % alphabet) - (round % 2 ? 0 : alphabet / 2);  // zero and negatives too
        echoseq_clear(e.x);  // also exercises the reuse of storage from the round before
        learn(e.x, w);
        ASSERT_EQ(e.x->count, n + 1);

        long transitions = n;
        for (int i = 0; i <= n; i++) {
            const t_noeud &nd = e.x->nodes[i];
            std::set<int> symbols;
            if (i < n)
                symbols.insert(nd.val);
            for (const t_arc &a : arcs_of(e.x, i)) {
                EXPECT_TRUE(symbols.insert(a.val).second) << "two transitions by one symbol at " << i;
                EXPECT_GT(a.dest, i + 1);
                EXPECT_EQ(w[a.dest - 1], a.val);  // an arc into s carries symbol s
                EXPECT_EQ(graf_exist(e.x, i, a.val), a.dest);
                transitions++;
            }
            if (i == 0)
                continue;
            ASSERT_GE(nd.ref, 0);
            ASSERT_LT(nd.ref, i);
            ASSERT_LE(nd.lrs, nd.ref);
            EXPECT_LE(nd.lrs, true_lrs(w, i)) << "state " << i;
            EXPECT_TRUE(std::equal(w.begin() + i - nd.lrs, w.begin() + i, w.begin() + nd.ref - nd.lrs))
                << "the repeated suffix of state " << i << " does not end at its ref";
        }
        EXPECT_GE(transitions, n);
        EXPECT_LE(transitions, 2L * n - 1);
        // Every factor is read from state 0 (never past the last state, whose val is no transition).
        for (int from = 0; from < n; from++) {
            t_int32 k = 0;
            for (int to = from; to < n; to++) {
                ASSERT_LT(k, n);
                k = graf_exist(e.x, k, (t_int32)w[to]);
                ASSERT_NE(k, 0) << "factor " << from << ".." << to << " rejected";
            }
        }
    }
}

TEST(EchoseqOracle, TableGrowthCapAndReuse)
{
    Echoseq e;
    for (int i = 0; i < 1023; i++)
        echoseq_int(e.x, i % 5);
    EXPECT_EQ(e.x->capacity, 1024);
    echoseq_int(e.x, 1023 % 5);  // makes state 1024
    EXPECT_EQ(e.x->capacity, 2048);
    EXPECT_EQ(e.x->count, 1025);
    EXPECT_EQ(e.x->nodes[1024].ref, 1019);  // the stream has period 5
    EXPECT_EQ(e.x->nodes[1024].lrs, 1019);
    EXPECT_EQ(e.x->nodes[1023].val, 1023 % 5);

    for (long i = 1024; i < ECHOSEQ_MAX_SYMBOLS; i++)
        echoseq_int(e.x, i % 5);
    EXPECT_EQ(e.x->count, ECHOSEQ_MAX_SYMBOLS + 1);
    EXPECT_EQ(e.x->capacity, ECHOSEQ_MAX_SYMBOLS + 1);
    echoseq_int(e.x, 9);  // the 262144th symbol is dropped
    EXPECT_EQ(e.x->count, ECHOSEQ_MAX_SYMBOLS + 1);
    EXPECT_EQ(graf_exist(e.x, 0, 9), 0);

    const t_noeud *table = e.x->nodes;
    const size_t bytes = echoseq_bytes(e.x);
    echoseq_clear(e.x);
    learn(e.x, {1, 2, 3, 1, 2, 3, 1, 2, 4});
    EXPECT_EQ(e.x->nodes, table);  // nothing reallocated
    EXPECT_EQ(echoseq_bytes(e.x), bytes);
    Echoseq fresh;
    learn(fresh.x, {1, 2, 3, 1, 2, 3, 1, 2, 4});
    for (int i = 0; i < 10; i++) {
        EXPECT_EQ(e.x->nodes[i].ref, fresh.x->nodes[i].ref);
        EXPECT_EQ(e.x->nodes[i].lrs, fresh.x->nodes[i].lrs);
        EXPECT_EQ(arc_pairs(e.x, i), arc_pairs(fresh.x, i)) << "state " << i;
    }
}

TEST(EchoseqOracle, DamagedOracleStaysInBounds)
{
    // State 3's chain never meets the ref of state 4: the walk must stop at state 0.
    const t_noeud nodes[] = {{-1, 0, 1, 0, 0}, {0, 0, 2, 0, 0}, {0, 0, 3, 0, 0}, {0, 0, 4, 0, 0}, {1, 1, 0, 0, 0}};
    EXPECT_EQ(common_suffix(nodes, 4, 3), 0);
    EXPECT_EQ(repeated_suffix(nodes, 4, 4), 1);

    Echoseq e;
    learn(e.x, {5, 6});
    fill_result(e.x, 3, 2);  // longer than what leads into state 2: no slice
    EXPECT_EQ(e.x->result_ready, 0);
}

TEST(EchoseqWalk, StraightReplaysAndGoMoves)
{
    Echoseq e("echoseq @straight 100");
    learn(e.x, {1, 2, 3});
    for (int i = 0; i < 7; i++)
        EXPECT_EQ(graf_step(e.x), i % 3 + 1);
    echoseq_go(e.x, 1);
    EXPECT_EQ(graf_step(e.x), 2);
    for (long bad : {-1L, 3L, 4L}) {
        echoseq_go(e.x, bad);
        EXPECT_EQ(e.x->position, 2) << bad;
    }

    Echoseq one("echoseq @straight 0 @lrs 0");
    learn(one.x, {7});
    for (int i = 0; i < 20; i++)
        EXPECT_EQ(graf_step(one.x), 7);
}

TEST(EchoseqWalk, JumpRules)
{
    Echoseq e;
    learn(e.x, {1, 2, 3, 1, 2, 3, 1, 2, 4});
    e.x->straight = -1;  // every step tries a jump
    // State 6 has no arcs, lrs 3 and ref 3.
    e.x->position = 6;
    e.x->lrs = 2;
    EXPECT_EQ(graf_step(e.x), 1);  // suffix link to 3, then its straight symbol
    EXPECT_EQ(e.x->position, 4);
    e.x->position = 6;
    e.x->lrs = 3;
    EXPECT_EQ(graf_step(e.x), 1);  // own straight symbol
    EXPECT_EQ(e.x->position, 7);
    // State 5's only arc is (4, 9); 9 is the last state, so the walk restarts at 0.
    e.x->position = 5;
    EXPECT_EQ(graf_step(e.x), 4);
    EXPECT_EQ(e.x->position, 9);
    const int sym = graf_step(e.x);
    EXPECT_TRUE(sym == 2 || sym == 3 || sym == 4);
}

TEST(EchoseqWalk, EveryArcIsChosen)
{
    for (int alphabet : {12, 300}) {  // short list, then an indexed one
        Echoseq e;
        for (int i = 0; i < alphabet; i++)
            echoseq_int(e.x, i);
        const std::vector<t_arc> before = arcs_of(e.x, 0);
        ASSERT_EQ((int)before.size(), alphabet - 1);
        e.x->straight = -1;
        std::set<int> chosen;
        for (int i = 0; i < 200 * alphabet; i++) {
            e.x->position = 0;
            const int sym = graf_step(e.x);
            EXPECT_EQ(e.x->position, sym + 1);
            chosen.insert(sym);
        }
        EXPECT_EQ((int)chosen.size(), alphabet - 1);
        // Reordered, not changed: the same arcs, still found by symbol.
        std::vector<t_arc> after = arcs_of(e.x, 0);
        auto by_val = [](const t_arc &a, const t_arc &b) { return a.val < b.val; };
        std::sort(after.begin(), after.end(), by_val);
        for (size_t i = 0; i < after.size(); i++) {
            EXPECT_EQ(after[i].val, (int)i + 1);
            EXPECT_EQ(graf_exist(e.x, 0, after[i].val), after[i].dest);
        }
    }
}
