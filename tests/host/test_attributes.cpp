// Attributes: field access by type, clip filters, custom accessors, metadata.
#include "core_test_util.h"

#include <cfloat>
#include <cstring>

namespace {

struct Fields {
    t_object ob;
    char c;
    long l;
    t_atom_long al;
    float f32;
    double f64;
    t_symbol *sym;
    t_atom atom;
    double hidden;  // behind custom accessors
    int sets;       // how often the custom setter ran
    long deferred;  // declared with a set-defer flag
};

t_max_err hidden_get(Fields *x, void *, long *ac, t_atom **av) {
    char alloc;
    atom_alloc(ac, av, &alloc);
    atom_setfloat(*av, x->hidden * 100.0);  // proves the getter, not the field, answered
    return 0;
}

t_max_err hidden_set(Fields *x, void *, long ac, t_atom *av) {
    if (ac > 0) x->hidden = atom_getfloat(av);
    ++x->sets;
    return 0;
}

template <typename F>
method M(F f) {
    return reinterpret_cast<method>(reinterpret_cast<void (*)()>(f));
}

struct FieldsObject {
    t_class *c;
    Fields *x;
    FieldsObject() {
        c = class_new("fields", nullptr, nullptr, sizeof(Fields), nullptr, 0);
        class_addattr(c, attr_offset_new("c", gensym("char"), 0, nullptr, nullptr, calcoffset(Fields, c)));
        class_addattr(c, attr_offset_new("l", gensym("long"), 0, nullptr, nullptr, calcoffset(Fields, l)));
        class_addattr(c, attr_offset_new("al", gensym("atom_long"), 0, nullptr, nullptr, calcoffset(Fields, al)));
        class_addattr(c, attr_offset_new("f32", gensym("float32"), 0, nullptr, nullptr, calcoffset(Fields, f32)));
        class_addattr(c, attr_offset_new("f64", gensym("float64"), 0, nullptr, nullptr, calcoffset(Fields, f64)));
        class_addattr(c, attr_offset_new("sym", gensym("symbol"), 0, nullptr, nullptr, calcoffset(Fields, sym)));
        class_addattr(c, attr_offset_new("atom", gensym("atom"), 0, nullptr, nullptr, calcoffset(Fields, atom)));
        class_addattr(c,
                      attr_offset_new("hidden", gensym("float32"), 0, nullptr, nullptr, calcoffset(Fields, hidden)));
        class_addattr(c, attr_offset_new("deferred", gensym("long"), ATTR_SET_DEFER, nullptr, nullptr,
                                         calcoffset(Fields, deferred)));
        x = static_cast<Fields *>(object_alloc(c));
    }
    ~FieldsObject() {
        object_free(x);
        class_free(c);
    }
    t_object *obj() { return &x->ob; }
    bool set_text(const std::string &name, const std::string &value) {
        std::vector<t_atom> v = maxhost::parse_atoms(value);
        return maxhost::set_attribute(obj(), name, static_cast<long>(v.size()), v.data());
    }
    std::string get_text(const std::string &name) {
        std::vector<t_atom> v;
        if (!maxhost::get_attribute(obj(), name, &v)) return "<none>";
        return maxhost::atoms_to_text(static_cast<long>(v.size()), v.data());
    }
};

}  // namespace

TEST(Attributes, EachTypeReadsAndWritesItsOwnFieldWidth) {
    FieldsObject o;
    // A new record is zeroed behind its header.
    std::vector<char> zeros(sizeof(Fields) - sizeof(t_object), 0);
    EXPECT_EQ(std::memcmp(reinterpret_cast<char *>(o.x) + sizeof(t_object), zeros.data(), zeros.size()), 0);
    o.x->hidden = -1;
    EXPECT_TRUE(o.set_text("c", "200"));
    // A C long: 64 bits on Linux and macOS, 32 on Windows.
    const std::string big_long = sizeof(long) == 8 ? "-123456789012" : "-1234567890";
    EXPECT_TRUE(o.set_text("l", big_long));
    EXPECT_TRUE(o.set_text("al", "9000000000"));
    EXPECT_TRUE(o.set_text("f32", "0.25"));
    EXPECT_TRUE(o.set_text("f64", "1e-9"));
    EXPECT_TRUE(o.set_text("sym", "hello"));
    EXPECT_TRUE(o.set_text("atom", "2.5"));
    EXPECT_EQ(static_cast<unsigned char>(o.x->c), 200);
    EXPECT_EQ(std::to_string(o.x->l), big_long);
    EXPECT_EQ(o.x->al, 9000000000LL);
    EXPECT_FLOAT_EQ(o.x->f32, 0.25f);
    EXPECT_DOUBLE_EQ(o.x->f64, 1e-9);
    EXPECT_STREQ(o.x->sym->s_name, "hello");
    EXPECT_DOUBLE_EQ(atom_getfloat(&o.x->atom), 2.5);
    EXPECT_EQ(o.x->hidden, -1);  // neighbours untouched
    EXPECT_EQ(o.get_text("l"), big_long);
    EXPECT_EQ(o.get_text("f32"), "0.25");
    EXPECT_EQ(o.get_text("sym"), "hello");
    EXPECT_EQ(o.get_text("nope"), "<none>");
    EXPECT_FALSE(o.set_text("nope", "1"));

    // Integer fields truncate a float setting; a float field takes an integer setting.
    EXPECT_TRUE(o.set_text("l", "7.9"));
    EXPECT_TRUE(o.set_text("f64", "3"));
    EXPECT_EQ(o.x->l, 7);
    EXPECT_DOUBLE_EQ(o.x->f64, 3.0);
}

TEST(Attributes, ClipFilterBindsBothEndsBeforeTheSetter) {
    FieldsObject o;
    attr_addfilter_clip(class_attr_get(o.c, gensym("l")), 1, 100, 1, 1);
    attr_addfilter_clip(class_attr_get(o.c, gensym("f64")), 0.01, 1, 1, 1);
    attr_addfilter_clip(class_attr_get(o.c, gensym("f32")), 0, FLT_MAX, 1, 1);
    void *hidden = class_attr_get(o.c, gensym("hidden"));
    attr_addfilter_clip(hidden, 0.01, 1, 1, 1);
    object_method(hidden, gensym("setmethod"), gensym("set"), M(hidden_set));

    o.set_text("l", "0");
    EXPECT_EQ(o.x->l, 1);
    o.set_text("l", "1000");
    EXPECT_EQ(o.x->l, 100);
    o.set_text("l", "55");
    EXPECT_EQ(o.x->l, 55);
    o.set_text("f64", "0");  // an integer setting of a real attribute clips as a real
    EXPECT_DOUBLE_EQ(o.x->f64, 0.01);
    o.set_text("f64", "2");
    EXPECT_DOUBLE_EQ(o.x->f64, 1.0);
    o.set_text("f32", "1e300");
    EXPECT_FLOAT_EQ(o.x->f32, FLT_MAX);
    o.set_text("f32", "-1");
    EXPECT_EQ(o.x->f32, 0.0f);
    o.set_text("hidden", "-5");  // the setter sees the clipped value
    EXPECT_DOUBLE_EQ(o.x->hidden, 0.01);
    EXPECT_EQ(o.x->sets, 1);

    // A set-defer flag changes nothing for a message on the main thread: clipped and stored at once.
    attr_addfilter_clip(class_attr_get(o.c, gensym("deferred")), 150.0, 400.0, 1, 1);
    EXPECT_TRUE(maxhost::send_text(o.obj(), "deferred 100"));
    EXPECT_EQ(o.x->deferred, 150);
    EXPECT_TRUE(maxhost::send_text(o.obj(), "deferred 1000"));
    EXPECT_EQ(o.get_text("deferred"), "400");

    // One bound only.
    attr_addfilter_clip(class_attr_get(o.c, gensym("al")), 0, 10, 1, 0);
    o.set_text("al", "-4");
    EXPECT_EQ(o.x->al, 0);
    o.set_text("al", "400");
    EXPECT_EQ(o.x->al, 400);
}

TEST(Attributes, AWordGivenToAClippedNumberIsConvertedThenClipped) {
    FieldsObject o;
    const char *names[] = {"c", "l", "al", "f32", "f64", "atom", "hidden"};
    for (const char *n : names) attr_addfilter_clip(class_attr_get(o.c, gensym(n)), 2, 9, 1, 1);
    object_method(class_attr_get(o.c, gensym("hidden")), gensym("setmethod"), gensym("set"), M(hidden_set));
    for (const char *n : names) o.set_text(n, "foo");  // reads as 0, then bound to 2
    EXPECT_EQ((std::vector<double>{(double)o.x->c, (double)o.x->l, (double)o.x->al, o.x->f32, o.x->f64,
                                   atom_getfloat(&o.x->atom), o.x->hidden}),
              std::vector<double>(7, 2.0));
    EXPECT_TRUE(maxhost::send_text(o.obj(), "l 5"));
    EXPECT_TRUE(maxhost::send_text(o.obj(), "l bar"));  // by message
    EXPECT_EQ(o.x->l, 2);
}

TEST(Attributes, CustomAccessorsWinOverTheField) {
    FieldsObject o;
    void *hidden = class_attr_get(o.c, gensym("hidden"));
    object_method(hidden, gensym("setmethod"), gensym("get"), M(hidden_get));
    object_method(hidden, gensym("setmethod"), gensym("set"), M(hidden_set));
    // Declared float32 over a double field: without the accessors a write would corrupt it.
    o.set_text("hidden", "0.3");
    EXPECT_DOUBLE_EQ(o.x->hidden, 0.3);
    EXPECT_EQ(o.x->sets, 1);
    EXPECT_EQ(o.get_text("hidden"), "30.");
    EXPECT_DOUBLE_EQ(object_attr_getfloat(o.obj(), gensym("hidden")), 30.0);
    object_attr_setfloat(o.obj(), gensym("hidden"), 0.125);
    EXPECT_DOUBLE_EQ(o.x->hidden, 0.125);
    EXPECT_EQ(o.x->sets, 2);
}

TEST(Attributes, MetadataAndNamesAreReadableByTools) {
    coretest::use_externals_dir();
    t_class *c = maxhost::find_class("testext");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(maxhost::attribute_names(c), (std::vector<std::string>{"gain", "ratio", "label"}));
    std::vector<t_atom> v;
    ASSERT_TRUE(maxhost::attribute_meta(c, "gain", "save", &v));
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(atom_gettype(&v[0]), A_LONG);
    EXPECT_EQ(atom_getlong(&v[0]), 1);
    ASSERT_TRUE(maxhost::attribute_meta(c, "gain", "order", &v));
    EXPECT_FALSE(maxhost::attribute_meta(c, "ratio", "save", &v));
    EXPECT_FALSE(maxhost::attribute_meta(c, "nope", "save", &v));

    ASSERT_TRUE(maxhost::method_meta(c, "int", "undocumented", &v));
    EXPECT_EQ(atom_getlong(&v[0]), 1);
    EXPECT_FALSE(maxhost::method_meta(c, "bang", "undocumented", &v));

    // The method table holds method objects by name.
    auto *table = static_cast<t_hashtab *>(class_extra_lookup(c, gensym("methods")));
    ASSERT_NE(table, nullptr);
    t_object *m = nullptr;
    EXPECT_EQ(hashtab_lookup(table, gensym("say"), &m), MAX_ERR_NONE);
    EXPECT_NE(m, nullptr);
    EXPECT_EQ(class_extra_lookup(c, gensym("other")), nullptr);
}

TEST(Attributes, MetadataValuesFollowTheirDeclaredType) {
    FieldsObject o;
    class_attr_addattr_parse(o.c, "l", "style", gensym("symbol"), 0, "enumindex");
    class_attr_addattr_parse(o.c, "l", "enumvals", gensym("atom"), 0, "off maximum threshold");
    class_attr_addattr_parse(o.c, "l", "label", gensym("symbol"), 0, "Two Words");
    class_attr_addattr_parse(o.c, "l", "order", gensym("long"), 0, "2");
    class_attr_addattr_parse(o.c, "l", "order", gensym("long"), 0, "3");  // replaces
    std::vector<t_atom> v;
    ASSERT_TRUE(maxhost::attribute_meta(o.c, "l", "enumvals", &v));
    EXPECT_EQ(maxhost::atoms_to_text(static_cast<long>(v.size()), v.data()), "off maximum threshold");
    ASSERT_TRUE(maxhost::attribute_meta(o.c, "l", "label", &v));
    ASSERT_EQ(v.size(), 1u);
    EXPECT_STREQ(atom_getsym(&v[0])->s_name, "Two Words");
    ASSERT_TRUE(maxhost::attribute_meta(o.c, "l", "order", &v));
    EXPECT_EQ(atom_getlong(&v[0]), 3);
    maxhost::ConsoleCapture console;
    EXPECT_NE(class_attr_addattr_parse(o.c, "zz", "save", gensym("long"), 0, "1"), MAX_ERR_NONE);
}

TEST(Attributes, ArgumentOffsetAndProcessing) {
    std::vector<t_atom> args = maxhost::parse_atoms("5 6 @l 7 @f64 0.5 @sym a b");
    EXPECT_EQ(attr_args_offset(static_cast<short>(args.size()), args.data()), 2);
    std::vector<t_atom> none = maxhost::parse_atoms("5 6");
    EXPECT_EQ(attr_args_offset(2, none.data()), 2);
    FieldsObject o;
    attr_args_process(o.obj(), static_cast<short>(args.size()), args.data());
    EXPECT_EQ(o.x->l, 7);
    EXPECT_DOUBLE_EQ(o.x->f64, 0.5);
    EXPECT_STREQ(o.x->sym->s_name, "a");  // a single-valued attribute takes the first value
}
