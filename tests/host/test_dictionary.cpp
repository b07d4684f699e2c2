// Dictionaries and their JSON files, folders and file look-up, deferred calls: what a saved model
// depends on to come back exactly, and what a damaged file must not do.
#include <gtest/gtest.h>

#include "file_text.h"
#include "maxhost/runtime.h"
#include "svc_test_util.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using filetest::slurp;

struct Folder {
    fs::path dir;
    short path;
    explicit Folder(const std::string &name) {
        dir = fs::path(MAXLEARN_BINARY_DIR) / "dictionary_test" / name;
        fs::remove_all(dir);
        fs::create_directories(dir);
        char file[MAX_FILENAME_CHARS];
        EXPECT_EQ(path_frompathname(dir.string().c_str(), &path, file), 0);
    }
    void put(const std::string &name, const std::string &text) const { std::ofstream(dir / name, std::ios::binary) << text; }
    t_dictionary *read(const std::string &name) const {
        t_dictionary *d = nullptr;
        return dictionary_read(name.c_str(), path, &d) == MAX_ERR_NONE ? d : nullptr;
    }
};

TEST(Dictionary, ValuesComeBackFromTheFileExactly) {
    Folder f("exact");
    t_dictionary *d = dictionary_new();
    std::mt19937_64 gen(3);
    std::vector<t_atom> reals(2000), longs(6);
    for (t_atom &a : reals) {
        uint64_t bits = gen();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        atom_setfloat(&a, std::isfinite(v) ? v : 0.1);
    }
    atom_setfloat(&reals[0], 1.0);  // integral reals stay reals
    atom_setfloat(&reals[1], DBL_MIN / 8);
    atom_setfloat(&reals[2], -0.0);
    const t_atom_long extremes[] = {INT64_MIN, INT64_MAX, 0, -1, (t_atom_long)1 << 53 | 1, 4294967296};
    for (int i = 0; i < 6; i++) atom_setlong(&longs[i], extremes[i]);
    dictionary_appendatoms(d, gensym("reals"), (long)reals.size(), reals.data());
    dictionary_appendatoms(d, gensym("longs"), 6, longs.data());
    dictionary_appendsym(d, gensym("name \"q\"\\\n\t"), gensym("tab\there é"));
    dictionary_appendfloat(d, gensym("one"), 2.0);
    t_dictionary *sub = dictionary_new();
    dictionary_appendlong(sub, gensym("n"), 7);
    dictionary_appenddictionary(d, gensym("sub"), (t_object *)sub);
    dictionary_appendatoms(d, gensym("empty"), 0, nullptr);
    ASSERT_EQ(dictionary_write(d, "exact.json", f.path), MAX_ERR_NONE);
    EXPECT_FALSE(fs::exists(f.dir / "exact.json.writing"));

    t_dictionary *back = f.read("exact.json");
    ASSERT_NE(back, nullptr);
    long ac = 0;
    t_atom *av = nullptr;
    ASSERT_EQ(dictionary_getatoms(back, gensym("reals"), &ac, &av), MAX_ERR_NONE);
    ASSERT_EQ(ac, (long)reals.size());
    for (long i = 0; i < ac; i++) {
        ASSERT_EQ(av[i].a_type, A_FLOAT) << i;
        ASSERT_EQ(std::memcmp(&av[i].a_w.w_float, &reals[i].a_w.w_float, sizeof(double)), 0) << i;
    }
    ASSERT_EQ(dictionary_getatoms(back, gensym("longs"), &ac, &av), MAX_ERR_NONE);
    ASSERT_EQ(ac, 6);
    for (int i = 0; i < 6; i++) EXPECT_EQ(av[i].a_type == A_LONG ? av[i].a_w.w_long : -99, extremes[i]) << i;
    t_symbol *s = nullptr;
    EXPECT_EQ(dictionary_getsym(back, gensym("name \"q\"\\\n\t"), &s), MAX_ERR_NONE);
    EXPECT_EQ(s, gensym("tab\there é"));
    t_atom one;
    ASSERT_EQ(dictionary_getatom(back, gensym("one"), &one), MAX_ERR_NONE);
    EXPECT_EQ(one.a_type, A_FLOAT);
    t_object *sub_back = nullptr;
    t_atom_long n = 0;
    ASSERT_EQ(dictionary_getdictionary(back, gensym("sub"), &sub_back), MAX_ERR_NONE);
    EXPECT_EQ(dictionary_getlong((t_dictionary *)sub_back, gensym("n"), &n), MAX_ERR_NONE);
    EXPECT_EQ(n, 7);
    EXPECT_EQ(dictionary_getatoms(back, gensym("empty"), &ac, &av), MAX_ERR_NONE);
    EXPECT_EQ(ac, 0);

    // Keys keep their order, so a file written again is the same file.
    long nkeys = 0;
    t_symbol **keys = nullptr;
    ASSERT_EQ(dictionary_getkeys(back, &nkeys, &keys), MAX_ERR_NONE);
    ASSERT_EQ(nkeys, 6);
    EXPECT_STREQ(keys[0]->s_name, "reals");
    EXPECT_STREQ(keys[5]->s_name, "empty");
    dictionary_freekeys(back, nkeys, keys);
    ASSERT_EQ(dictionary_write(back, "again.json", f.path), MAX_ERR_NONE);
    EXPECT_EQ(slurp(f.dir / "again.json"), slurp(f.dir / "exact.json"));
    object_free(back);
    object_free(d);
}

TEST(Dictionary, DamagedOrForeignTextIsNoDictionary) {
    Folder f("damaged");
    const std::string deep = "{\"a\": " + std::string(100000, '[') + std::string(100000, ']') + "}";
    const std::pair<const char *, std::string> cases[] = {
        {"empty", ""},
        {"array", "[1, 2]"},
        {"number", "5"},
        {"truncated", "{\"a\": [1, 2,"},
        {"trailing", "{\"a\": 1} {\"b\": 2}"},
        {"nan", "{\"a\": NaN}"},
        {"deep", deep},
        {"binary", std::string("{\"a\": \"\xff\xfe\"}", 12)},
    };
    for (const auto &c : cases) {
        f.put(c.first, c.second);
        EXPECT_EQ(f.read(c.first), nullptr) << c.first;
    }
    EXPECT_EQ(f.read("missing"), nullptr);
    fs::create_directories(f.dir / "folder");
    EXPECT_EQ(f.read("folder"), nullptr);
    // Nested arrays and dictionaries are kept (and freed) with the dictionary.
    f.put("nested", "{\"a\": [[1, {\"b\": [2]}], null, true], \"c\": {\"d\": {}}, \"u\": 18446744073709551615}");
    t_dictionary *d = f.read("nested");
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(dictionary_entryisatomarray(d, gensym("a")));
    EXPECT_TRUE(dictionary_entryisdictionary(d, gensym("c")));
    t_atom u;
    ASSERT_EQ(dictionary_getatom(d, gensym("u"), &u), MAX_ERR_NONE);
    EXPECT_EQ(u.a_type, A_FLOAT);  // beyond a 64-bit integer: kept as a real rather than wrapped
    // ...and written back as it came.
    ASSERT_EQ(dictionary_write(d, "nested_again", f.path), MAX_ERR_NONE);
    t_dictionary *again = f.read("nested_again");
    ASSERT_NE(again, nullptr);
    long ac = 0;
    t_atom *av = nullptr;
    ASSERT_EQ(dictionary_getatoms(again, gensym("a"), &ac, &av), MAX_ERR_NONE);
    ASSERT_EQ(ac, 3);
    EXPECT_EQ(av[0].a_type, A_OBJ);
    object_free(again);
    object_free(d);
}

// Integer arrays are held compactly until first asked for: every value, and the type of every
// value that follows the integers, must come back as written, through every way of asking.
TEST(Dictionary, IntegerArraysComeBackExactlyHoweverTheyEnd) {
    Folder f("integers");
    f.put("i.json",
          "{\"ints\": [0, -1, 2147483647, -2147483648, 7], \"wide\": [1, 2, 2147483648, -2147483649],"
          " \"mixed\": [1, 2, 0.5, \"s\", [3], true], \"empty\": []}");
    t_dictionary *d = f.read("i.json");
    ASSERT_NE(d, nullptr);
    auto longs = [&](const char *key) {
        std::vector<t_atom_long> v;
        long ac = 0;
        t_atom *av = nullptr;
        EXPECT_EQ(dictionary_getatoms(d, gensym(key), &ac, &av), MAX_ERR_NONE) << key;
        for (long i = 0; i < ac; i++) v.push_back(av[i].a_type == A_LONG ? av[i].a_w.w_long : -99);
        return v;
    };
    EXPECT_EQ(longs("ints"), (std::vector<t_atom_long>{0, -1, INT32_MAX, INT32_MIN, 7}));
    EXPECT_EQ(longs("wide"), (std::vector<t_atom_long>{1, 2, (t_atom_long)INT32_MAX + 1, (t_atom_long)INT32_MIN - 1}));
    EXPECT_EQ(longs("empty"), std::vector<t_atom_long>{});
    long ac = 0;
    t_atom *av = nullptr;
    ASSERT_EQ(dictionary_getatoms(d, gensym("mixed"), &ac, &av), MAX_ERR_NONE);
    ASSERT_EQ(ac, 6);
    const long types[] = {A_LONG, A_LONG, A_FLOAT, A_SYM, A_OBJ, A_LONG};
    for (int i = 0; i < 6; i++) EXPECT_EQ(av[i].a_type, types[i]) << i;
    EXPECT_EQ(av[2].a_w.w_float, 0.5);
    // An array not yet asked for through the dictionary answers every atom array call.
    f.put("j.json", "{\"ints\": [5, 6, 7]}");
    t_dictionary *e = f.read("j.json");
    ASSERT_NE(e, nullptr);
    t_object *arr = nullptr;
    ASSERT_EQ(dictionary_getatomarray(e, gensym("ints"), &arr), MAX_ERR_NONE);
    auto *aa = reinterpret_cast<t_atomarray *>(arr);
    t_atom at;
    EXPECT_EQ(atomarray_getsize(aa), 3);
    ASSERT_EQ(atomarray_getindex(aa, 2, &at), MAX_ERR_NONE);
    EXPECT_EQ(atom_getlong(&at), 7);
    ASSERT_EQ(atomarray_copyatoms(aa, &ac, &av), MAX_ERR_NONE);
    EXPECT_EQ(ac == 3 ? atom_getlong(av) : -99, 5);
    sysmem_freeptr(av);
    atom_setlong(&at, 8);
    atomarray_appendatom(aa, &at);
    // Appended arrays too: integers alone, or led by another value that must stay what it is.
    t_atom led[3];
    atom_setfloat(led, 0.25);
    atom_setlong(led + 1, 1);
    atom_setlong(led + 2, 2);
    dictionary_appendatoms(e, gensym("led"), 3, led);
    dictionary_appendatoms(e, gensym("tail"), 2, led + 1);
    ASSERT_EQ(dictionary_getatoms(e, gensym("led"), &ac, &av), MAX_ERR_NONE);
    EXPECT_EQ(ac == 3 && av[0].a_type == A_FLOAT ? av[0].a_w.w_float : -99, 0.25);
    ASSERT_EQ(dictionary_write(e, "j2.json", f.path), MAX_ERR_NONE);
    const std::string j2 = slurp(f.dir / "j2.json");
    EXPECT_NE(j2.find("[ 5, 6, 7, 8 ]"), std::string::npos);
    EXPECT_NE(j2.find("\"tail\" : [ 1, 2 ]"), std::string::npos) << j2;
    object_free(e);
    object_free(d);
}

TEST(Dictionary, AFailedWriteLeavesTheEarlierFile) {
    Folder f("failed");
    t_dictionary *d = dictionary_new();
    dictionary_appendlong(d, gensym("v"), 1);
    ASSERT_EQ(dictionary_write(d, "m.json", f.path), MAX_ERR_NONE);
    const std::string good = slurp(f.dir / "m.json");
    dictionary_appendfloat(d, gensym("bad"), NAN);  // no JSON for it: the write fails before the file
    EXPECT_NE(dictionary_write(d, "m.json", f.path), MAX_ERR_NONE);
    std::vector<t_atom> many(100000);  // written out in pieces before the value that fails
    for (size_t i = 0; i < many.size(); i++) atom_setlong(&many[i], (t_atom_long)i);
    atom_setfloat(&many.back(), NAN);
    dictionary_appendatoms(d, gensym("bad"), (long)many.size(), many.data());
    EXPECT_NE(dictionary_write(d, "m.json", f.path), MAX_ERR_NONE);
    EXPECT_FALSE(fs::exists(f.dir / "m.json.writing"));
    dictionary_deleteentry(d, gensym("bad"));
    dictionary_appendlong(d, gensym("v"), 2);
    fs::create_directories(f.dir / "m.json.writing");  // the temporary file cannot be made
    EXPECT_NE(dictionary_write(d, "m.json", f.path), MAX_ERR_NONE);
    EXPECT_EQ(slurp(f.dir / "m.json"), good);
    EXPECT_NE(dictionary_write(d, "x.json", (short)30000), MAX_ERR_NONE);  // no such folder
    fs::create_directories(f.dir / "taken.json" / "inside");  // written, but not put in place
    EXPECT_NE(dictionary_write(d, "taken.json", f.path), MAX_ERR_NONE);
    EXPECT_FALSE(fs::exists(f.dir / "taken.json.writing"));
    object_free(d);
}

TEST(Paths, FilesAreFoundInTheDefaultFolderThenOnTheSearchPath) {
    Folder here("here"), there("there");
    here.put("a.json", "{}");
    there.put("a.json", "{}");
    there.put("b.json", "{}");
    maxhost::set_default_folder(here.dir.string());
    maxhost::add_search_path(there.dir.string());
    char name[MAX_PATH_CHARS] = "a.json";
    short vol = 0;
    t_fourcc type = 0;
    EXPECT_EQ(locatefile_extended(name, &vol, &type, nullptr, 0), 0);
    EXPECT_EQ(vol, here.path);
    std::strcpy(name, "b.json");
    EXPECT_EQ(locatefile_extended(name, &vol, &type, nullptr, 0), 0);
    EXPECT_EQ(vol, there.path);
    std::strcpy(name, (there.dir / "a.json").string().c_str());  // a full name, left as the file's own name
    EXPECT_EQ(locatefile_extended(name, &vol, &type, nullptr, 0), 0);
    EXPECT_EQ(vol, there.path);
    EXPECT_STREQ(name, "a.json");
    std::strcpy(name, "nowhere.json");
    EXPECT_NE(locatefile_extended(name, &vol, &type, nullptr, 0), 0);
    std::strcpy(name, "here");  // a folder is no file
    maxhost::set_default_folder(here.dir.parent_path().string());
    EXPECT_NE(locatefile_extended(name, &vol, &type, nullptr, 0), 0);

    char file[MAX_FILENAME_CHARS];
    EXPECT_NE(path_frompathname("no/such/folder/x.json", &vol, file), 0);
    EXPECT_EQ(path_frompathname("here/x.json", &vol, file), 0);  // relative to the default folder
    EXPECT_EQ(vol, here.path);
    EXPECT_STREQ(file, "x.json");

    // No dialog can be shown: both answer cancelled, until a program answers them.
    EXPECT_NE(open_dialog(name, &vol, &type, nullptr, 0), 0);
    maxhost::set_file_dialog([](bool save, std::string *n) {
        *n = save ? "here/new.json" : "here/a.json";
        return true;
    });
    EXPECT_EQ(saveasdialog_extended(name, &vol, &type, nullptr, 0), 0);
    EXPECT_STREQ(name, "new.json");
    EXPECT_EQ(vol, here.path);
    maxhost::set_file_dialog(nullptr);
    maxhost::set_default_folder("");
    maxhost::set_search_path({});
}

std::vector<std::string> g_calls;

void record(void *ob, t_symbol *s, short ac, t_atom *av) {
    g_calls.push_back(std::string(s->s_name) + " " + std::to_string(ac ? atom_getlong(av) : -1) + " " +
                      maxhost::default_folder() + (ob ? "" : " null"));
}

void defer_again(void *, t_symbol *, short, t_atom *) {
    g_calls.push_back("again");
    defer_low(nullptr, as_method(record), gensym("later"), 0, nullptr);
}

TEST(Defer, CallsRunInOrderOnTheMainThreadWithTheirFolderAndCopiedAtoms) {
    g_calls.clear();
    Folder a("defer_a");
    t_atom at;
    atom_setlong(&at, 5);
    {
        maxhost::DefaultFolderScope scope(a.dir.string());
        defer_low(nullptr, as_method(record), gensym("first"), 1, &at);
    }
    atom_setlong(&at, 6);  // the call holds its own copy
    defer_low(nullptr, as_method(defer_again), gensym("x"), 0, nullptr);
    defer_low(nullptr, as_method(record), gensym("third"), 1, &at);
    EXPECT_TRUE(g_calls.empty());  // nothing runs before the main thread's queue does
    maxhost::run_queue();
    ASSERT_EQ(g_calls.size(), 3u);
    EXPECT_EQ(g_calls[0], "first 5 " + fs::absolute(a.dir).lexically_normal().string() + " null");
    EXPECT_EQ(g_calls[1], "again");
    EXPECT_EQ(g_calls[2].rfind("third 6 ", 0), 0u);
    maxhost::run_queue();  // a call deferred by a deferred call runs in the next pass
    ASSERT_EQ(g_calls.size(), 4u);
    EXPECT_EQ(g_calls[3].rfind("later -1", 0), 0u);

    // The calls of an object freed before they run are dropped.
    t_dictionary *d = dictionary_new();
    defer_low(d, as_method(record), gensym("dropped"), 0, nullptr);
    object_free(d);
    maxhost::run_queue();
    EXPECT_EQ(g_calls.size(), 4u);
}

}  // namespace
