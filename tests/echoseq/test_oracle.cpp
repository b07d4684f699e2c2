// The oracle read straight from the record: construction against brute force, storage growth and
// reuse, and the walk.
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

// Small and large alphabets (large ones put long, indexed arc lists on the first states), zero
// and negative symbols, and storage reused after "clear" from the round before.
TEST(EchoseqOracle, PropertiesOnRandomStreams)
{
    Echoseq e;
    std::mt19937 rng(12345);
    for (int round = 0; round < 120; round++) {
        const int alphabet = std::vector<int>{2, 3, 4, 12, 40, 1000}[round % 6];
        const int n = 20 + (int)(rng() % 180);
        std::vector<long> w(n);
        for (long &s : w)
            s = (long)(rng() % alphabet) - (round % 2 ? 0 : alphabet / 2);
        echoseq_clear(e.x);
        for (long s : w)
            echoseq_int(e.x, s);
        ASSERT_EQ(e.x->count, n + 1);

        long transitions = n;
        for (int i = 0; i <= n; i++) {
            const t_noeud &nd = e.x->nodes[i];
            std::set<int> symbols = {i < n ? nd.val : INT32_MIN};
            for (const t_arc &a : arcs_of(e.x, i)) {
                EXPECT_TRUE(symbols.insert(a.val).second) << "two transitions by one symbol at " << i;
                EXPECT_GT(a.dest, i + 1);
                EXPECT_EQ(w[a.dest - 1], a.val);
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
        for (int from = 0; from < n; from++) {  // every factor is read from state 0
            t_int32 k = 0;
            for (int to = from; to < n; to++) {
                k = graf_exist(e.x, k, (t_int32)w[to]);
                ASSERT_NE(k, 0) << "factor " << from << ".." << to << " rejected";
            }
        }
    }
}

// The repeated suffix is measured from the last state that took an arc: state 6 repeats "1 1".
TEST(EchoseqOracle, RepeatedSuffixAfterArcs)
{
    Echoseq e;
    e.learn({1, 1, 2, 1, 1, 1});
    std::vector<t_int32> lrs;
    for (int i = 1; i <= 6; i++)
        lrs.push_back(e.x->nodes[i].lrs);
    EXPECT_EQ(lrs, (std::vector<t_int32>{0, 1, 0, 1, 2, 2}));
}

TEST(EchoseqOracle, TableGrowthCapAndReuse)
{
    Echoseq e;
    for (int i = 0; i < 1023; i++)
        echoseq_int(e.x, i % 5);
    EXPECT_EQ(e.x->capacity, 1024);
    echoseq_int(e.x, 1023 % 5);  // makes state 1024
    EXPECT_EQ(e.x->capacity, 2048);
    EXPECT_EQ(e.x->nodes[1024].ref, 1019);  // the stream has period 5
    EXPECT_EQ(e.x->nodes[1024].lrs, 1019);
    for (long i = 1024; i < ECHOSEQ_MAX_SYMBOLS; i++)
        echoseq_int(e.x, i % 5);
    EXPECT_EQ(e.x->count, ECHOSEQ_MAX_SYMBOLS + 1);
    echoseq_int(e.x, 9);  // the 262144th symbol is dropped
    EXPECT_EQ(e.x->count, ECHOSEQ_MAX_SYMBOLS + 1);
    EXPECT_EQ(e.x->capacity, ECHOSEQ_MAX_SYMBOLS + 1);

    const t_noeud *table = e.x->nodes;
    const size_t bytes = echoseq_bytes(e.x);
    Echoseq fresh;
    for (Echoseq *o : {&e, &fresh}) {
        echoseq_clear(o->x);
        o->learn({1, 2, 3, 1, 2, 3, 1, 2, 4});
    }
    EXPECT_EQ(e.x->nodes, table);  // recycled, not reallocated
    EXPECT_EQ(echoseq_bytes(e.x), bytes);
    for (int i = 0; i < 10; i++) {
        EXPECT_EQ(e.x->nodes[i].ref, fresh.x->nodes[i].ref);
        EXPECT_EQ(e.x->nodes[i].lrs, fresh.x->nodes[i].lrs);
        EXPECT_EQ(arcs_of(e.x, i).size(), arcs_of(fresh.x, i).size()) << "state " << i;
    }
}

TEST(EchoseqOracle, DamagedOracleStaysInBounds)
{
    // State 3's chain never meets the ref of state 4 (as when an arc could not be made).
    const t_noeud nodes[] = {{-1, 0, 1, 0, 0}, {0, 0, 2, 0, 0}, {0, 0, 3, 0, 0}, {0, 0, 4, 0, 0}, {1, 1, 0, 0, 0}};
    EXPECT_EQ(repeated_suffix(nodes, 4, 4), 1);
    Echoseq e;
    e.learn({5, 6});
    fill_result(e.x, 3, 2);  // longer than what leads into state 2
    EXPECT_EQ(e.x->result_ready, 0);
}

TEST(EchoseqWalk, StraightAndJumpRules)
{
    const std::vector<long> w = {1, 2, 3, 1, 2, 3, 1, 2, 4};
    Echoseq e("echoseq @straight 99");  // no draw from 0 to 99 is above 99
    e.learn(w);
    for (int i = 0; i < 300; i++)  // replays and wraps
        ASSERT_EQ(graf_step(e.x), w[i % 9]) << i;
    e.x->position = 4;
    // The last state and negative ones are refused; 8, the one before the last, and 0 are taken.
    const std::pair<long, t_int32> gos[] = {{9, 4}, {-1, 4}, {8, 8}, {0, 0}, {1, 1}};
    for (const auto &g : gos) {
        echoseq_go(e.x, g.first);
        EXPECT_EQ(e.x->position, g.second) << "go " << g.first;
    }
    EXPECT_EQ(graf_step(e.x), 2);

    // The step draws r = rand() % 100 first and tries a jump only when straight < r. From state 0,
    // straight on sends 1, its arcs 2, 3 or 4.
    for (unsigned seed = 1; seed <= 20; seed++) {
        srand(seed);
        const int r = rand() % 100;
        for (int s : {r, r - 1}) {
            srand(seed);
            e.x->straight = s;
            e.x->position = 0;
            EXPECT_EQ(graf_step(e.x) == 1, s == r) << "straight " << s << ", draw " << r;
        }
    }

    e.x->straight = -1;  // every step tries a jump
    const struct { t_int32 from, lrs, sym, to; } jumps[] = {
        {6, 2, 1, 4},  // no arcs, lrs 3 > 2: suffix link to 3, then its straight symbol
        {6, 3, 1, 7},  // lrs not above the attribute: straight on
        {5, 3, 4, 9},  // its only arc (4, 9)
    };
    for (const auto &j : jumps) {
        e.x->position = j.from;
        e.x->lrs = j.lrs;
        EXPECT_EQ(graf_step(e.x), j.sym);
        EXPECT_EQ(e.x->position, j.to);
    }
    const t_int32 sym = graf_step(e.x);  // from the last state: back to 0, then one of its arcs
    EXPECT_TRUE(sym >= 2 && sym <= 4) << sym;
}

TEST(EchoseqWalk, EveryArcIsChosen)
{
    for (int alphabet : {3, 12, 300}) {  // two arcs, a scanned list, then an indexed one
        Echoseq e;
        for (int i = 0; i < alphabet; i++)
            echoseq_int(e.x, i);
        e.x->straight = -1;
        std::set<int> chosen;
        for (int i = 0; i < 200 * alphabet; i++) {
            e.x->position = 0;
            const int sym = graf_step(e.x);
            EXPECT_EQ(e.x->position, sym + 1);
            chosen.insert(sym);
        }
        EXPECT_EQ((int)chosen.size(), alphabet - 1);
        for (int s = 1; s < alphabet; s++)  // reordered, still found by symbol
            ASSERT_EQ(graf_exist(e.x, 0, s), s + 1);
    }
}

// Arc lists longer than a pool segment (on states 0, 1 and 2) grow through several blocks and
// index tables while walk steps reorder them; after a "clear" the same stream is learned again in
// the storage it had (no more bytes) and a longer one reuses its blocks; what learning gave up is
// freed by the queue.
TEST(EchoseqOracle, LongArcListsKeepEveryArcWhileGrowing)
{
    Echoseq e;
    std::vector<long> w;
    for (long i = 0; w.size() < 50000; i++) {
        w.push_back(1);
        if (i % 3 != 2)
            w.push_back(2);
        w.push_back(1000 + i);
    }
    std::vector<size_t> bytes;
    for (size_t n : {w.size() / 2, w.size() / 2, w.size()}) {
        echoseq_clear(e.x);
        for (size_t i = 0; i < n; i++) {
            echoseq_int(e.x, w[i]);
            e.x->straight = -1;  // a walk step from a long list moves a random arc to the front
            e.x->position = (t_int32)(i % 3);
            graf_step(e.x);
        }
        ASSERT_GT(e.x->nodes[2].narcs, ECHOSEQ_SEGMENT_ARCS);
        for (t_int32 s = 0; s < 3; s++) {
            std::set<int> symbols;
            for (const t_arc &a : arcs_of(e.x, s)) {
                ASSERT_TRUE(symbols.insert(a.val).second) << "state " << s << " holds " << a.val << " twice";
                ASSERT_EQ(w[a.dest - 1], a.val);
                ASSERT_EQ(graf_exist(e.x, s, a.val), a.dest);
            }
        }
        for (size_t i = 0; i + 3 <= n; i++) {  // every factor up to 3 symbols is read from state 0
            t_int32 k = 0;
            for (size_t j = i; j < i + 3; j++) {
                k = graf_exist(e.x, k, (t_int32)w[j]);
                ASSERT_NE(k, 0) << "factor at " << i;
            }
        }
        maxhost::run_queue();
        EXPECT_EQ(e.x->retired, nullptr);
        bytes.push_back(echoseq_bytes(e.x));
    }
    EXPECT_EQ(bytes[1], bytes[0]);
}
