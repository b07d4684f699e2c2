// The API headers declare what Max's headers declare, with the same types and in the same files, so
// object sources compile unchanged against either; and the attribute macros work.
#include "ext_assist.h"
static_assert(ASSIST_INLET == 1 && ASSIST_OUTLET == 2, "assist codes live in ext_assist.h");
#include "max_types.h"
static_assert(MAX_ERR_NONE == 0 && MAX_ERR_GENERIC == -1, "error codes live in max_types.h");

#include "ext.h"
#include "ext_obex.h"
#include "ext_common.h"
#include "core_test_util.h"

#include <cmath>
#include <cstddef>
#include <type_traits>

#define SAME_TYPE(expr, ...) static_assert(std::is_same<decltype(expr), __VA_ARGS__>::value, #expr)

// Basic types: pointer-sized atoms on 64-bit hosts, a 32-bit t_uint, an untyped t_qelem.
static_assert(sizeof(t_atom_long) == sizeof(void *) && sizeof(t_atom_float) == 8, "atom sizes");
static_assert(sizeof(t_uint) == 4, "t_uint is 32 bits");
static_assert(std::is_same<t_qelem, void>::value, "t_qelem is void");
SAME_TYPE(method{}, void *(*)(void *));

// The object header is exactly four pointer-sized fields, so a record lays out as in Max.
static_assert(sizeof(t_object) == 4 * sizeof(void *), "t_object size");
static_assert(offsetof(t_object, o_magic) == sizeof(void *) && offsetof(t_object, o_outlet) == 3 * sizeof(void *),
              "t_object fields");

// Functions whose forms differ from a looser declaration.
SAME_TYPE(&class_attr_get, void *(*)(t_class *, t_symbol *));
SAME_TYPE(&class_attr_addattr_parse, t_max_err (*)(t_class *, const char *, const char *, t_symbol *, long, const char *));
SAME_TYPE(&class_attr_addattr_format,
          t_max_err (*)(t_class *, const char *, const char *, t_symbol *, long, const char *, ...));
SAME_TYPE(&gensym_tr, t_symbol *(*)(const char *));
SAME_TYPE(&attr_args_process, void (*)(void *, short, t_atom *));
SAME_TYPE(&atom_setsym, t_max_err (*)(t_atom *, t_symbol *));
SAME_TYPE(&outlet_anything, void *(*)(void *, t_symbol *, short, t_atom *));
SAME_TYPE(&outlet_int, void *(*)(void *, t_atom_long));
SAME_TYPE(&hashtab_flags, void (*)(t_hashtab *, long));
SAME_TYPE(&linklist_next, void *(*)(t_linklist *, void *, void **));
SAME_TYPE(&linklist_prev, void *(*)(t_linklist *, void *, void **));
SAME_TYPE(&linklist_findfirst, t_atom_long (*)(t_linklist *, void **, long (*)(void *, void *), void *));
SAME_TYPE(&linklist_getflags, t_atom_long (*)(t_linklist *));
SAME_TYPE(&qelem_new, t_qelem *(*)(void *, method));
SAME_TYPE(&object_attr_setlong, t_max_err (*)(void *, t_symbol *, t_atom_long));
// Calls by name go through object_method_imp on 64-bit targets; clock_free is freeobject.
SAME_TYPE(&object_method_imp, void *(*)(void *, void *, void *, void *, void *, void *, void *, void *, void *, void *));
SAME_TYPE(&clock_free, void (*)(t_object *));
#if !defined(object_method) || !defined(C74_X64)
#error "object_method is a macro on 64-bit targets"
#endif
SAME_TYPE(&dictionary_getlong, t_max_err (*)(const t_dictionary *, t_symbol *, t_atom_long *));
SAME_TYPE(&dictionary_getatoms, t_max_err (*)(const t_dictionary *, t_symbol *, long *, t_atom **));
SAME_TYPE(&dictionary_read, t_max_err (*)(const char *, short, t_dictionary **));
SAME_TYPE(&dictionary_write, t_max_err (*)(t_dictionary *, const char *, short));
SAME_TYPE(&locatefile_extended, short (*)(char *, short *, t_fourcc *, const t_fourcc *, short));
SAME_TYPE(&saveasdialog_extended, short (*)(char *, short *, t_fourcc *, t_fourcc *, short));
SAME_TYPE(&path_frompathname, short (*)(const char *, short *, char *));
SAME_TYPE(&defer_low, void *(*)(void *, method, t_symbol *, short, t_atom *));
static_assert(OBJ_FLAG_MEMORY == 4 && OBJ_FLAG_REF == 1, "container flags");

namespace {

struct Macros {
    t_object ob;
    t_ptr_int after_header;  // first field after the header: the host must never write it
    long level;
    double rate;
    t_symbol *mode;
    long shape;
    long reads;
};

t_max_err rate_get(Macros *x, void *, long *ac, t_atom **av) {
    char alloc;
    atom_alloc(ac, av, &alloc);
    atom_setfloat(*av, x->rate);
    ++x->reads;
    return 0;
}

t_max_err rate_set(Macros *x, void *, long ac, t_atom *av) {
    if (ac > 0) x->rate = atom_getfloat(av) * 2;  // proves the setter ran
    return 0;
}

}  // namespace

TEST(Headers, AttributeMacrosDeclareTypedClippedDescribedAttributes) {
    t_class *c = class_new("macros", nullptr, nullptr, sizeof(Macros), nullptr, 0);
    CLASS_ATTR_LONG(c, "level", 0, Macros, level);
    CLASS_ATTR_DOUBLE(c, "rate", 0, Macros, rate);
    CLASS_ATTR_SYM(c, "mode", 0, Macros, mode);
    CLASS_ATTR_LONG(c, "shape", 0, Macros, shape);
    CLASS_ATTR_FILTER_CLIP(c, "level", 1, 10);
    CLASS_ATTR_FILTER_MIN(c, "shape", 0);
    CLASS_ATTR_ACCESSORS(c, "rate", (method)rate_get, (method)rate_set);
    CLASS_ATTR_SAVE(c, "level", 0);
    CLASS_ATTR_ORDER(c, "level", 0, "2");
    CLASS_ATTR_ENUMINDEX(c, "shape", 0, "flat round");
    CLASS_ATTR_STYLE_LABEL(c, "mode", 0, "text", "Playing Mode");
    CLASS_ATTR_LABEL(c, "level", 0, "Output Level");
    CLASS_ATTR_CATEGORY(c, "level", 0, "Behavior");
    CLASS_ATTR_ATTR_FORMAT(c, "level", "steps", gensym("atom"), 0, "lds", (long)3, 0.5, gensym("x"));

    auto *x = static_cast<Macros *>(object_alloc(c));
    ASSERT_NE(x, nullptr);
    x->after_header = 0x5a5a;
    t_object *ob = &x->ob;
    auto set = [&](const char *name, const char *text) {
        std::vector<t_atom> v = maxhost::parse_atoms(text);
        return maxhost::set_attribute(ob, name, static_cast<long>(v.size()), v.data());
    };
    EXPECT_TRUE(set("level", "50"));
    EXPECT_EQ(x->level, 10);
    EXPECT_TRUE(set("shape", "-3"));
    EXPECT_EQ(x->shape, 0);
    EXPECT_TRUE(set("rate", "1.5"));
    EXPECT_DOUBLE_EQ(x->rate, 3.0);
    EXPECT_TRUE(set("mode", "fast"));
    EXPECT_STREQ(x->mode->s_name, "fast");
    std::vector<t_atom> v;
    ASSERT_TRUE(maxhost::get_attribute(ob, "rate", &v));
    EXPECT_EQ(x->reads, 1);
    ASSERT_TRUE(maxhost::attribute_meta(c, "level", "order", &v));
    EXPECT_EQ(maxhost::atoms_to_text(static_cast<long>(v.size()), v.data()), "2");
    ASSERT_TRUE(maxhost::attribute_meta(c, "shape", "enumvals", &v));
    EXPECT_EQ(maxhost::atoms_to_text(static_cast<long>(v.size()), v.data()), "flat round");
    ASSERT_TRUE(maxhost::attribute_meta(c, "shape", "style", &v));
    EXPECT_EQ(maxhost::atoms_to_text(static_cast<long>(v.size()), v.data()), "enumindex");
    // A label is one symbol, spaces and all, as the inspector shows it.
    ASSERT_TRUE(maxhost::attribute_meta(c, "level", "label", &v));
    ASSERT_EQ(v.size(), 1u);
    EXPECT_STREQ(atom_getsym(&v[0])->s_name, "Output Level");
    ASSERT_TRUE(maxhost::attribute_meta(c, "mode", "label", &v));
    EXPECT_STREQ(atom_getsym(&v[0])->s_name, "Playing Mode");
    ASSERT_TRUE(maxhost::attribute_meta(c, "level", "category", &v));
    EXPECT_EQ(maxhost::atoms_to_text(static_cast<long>(v.size()), v.data()), "Behavior");
    ASSERT_TRUE(maxhost::attribute_meta(c, "level", "steps", &v));
    EXPECT_EQ(maxhost::atoms_to_text(static_cast<long>(v.size()), v.data()), "3 0.5 x");

    // Host bookkeeping (observers, cords, metadata) stays out of the record.
    maxhost::set_outlet_observer(ob, [](t_object *, int, t_symbol *, long, const t_atom *) {});
    object_addattr_parse(ob, "note", gensym("symbol"), 0, "kept");
    EXPECT_EQ(x->after_header, 0x5a5a);
    object_free(x);
    class_free(c);
}

TEST(Headers, ClampTakesNaNToTheLowerBound) {
    EXPECT_EQ(CLAMP(5, 1, 3), 3);
    EXPECT_EQ(CLAMP(-5, 1, 3), 1);
    EXPECT_EQ(CLAMP(NAN, 1.0, 3.0), 1.0);
}
