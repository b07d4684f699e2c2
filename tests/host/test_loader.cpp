// Loading externals by class name and making instances from box text.
#include "core_test_util.h"

#include <algorithm>
#include <cstdlib>

using coretest::Recorder;
using coretest::TestExt;

namespace {

std::vector<t_atom> attr(t_object *x, const std::string &name) {
    std::vector<t_atom> v;
    EXPECT_TRUE(maxhost::get_attribute(x, name, &v)) << name;
    return v;
}

long field_n(t_object *x) {
    // The first field after the header holds n.
    return *reinterpret_cast<long *>(reinterpret_cast<char *>(x) + sizeof(t_object));
}

}  // namespace

TEST(Loader, FindsAnExternalByClassNameAndRegistersItOnce) {
    coretest::use_externals_dir();
    std::string err;
    t_class *c = maxhost::find_class("testext", &err);
    ASSERT_NE(c, nullptr) << err;
    EXPECT_EQ(c, class_findbyname(gensym("box"), gensym("testext")));
    EXPECT_STREQ(class_nameget(c)->s_name, "testext");
    // A second lookup reuses the class; the entry does not run again (it would re-add methods).
    EXPECT_EQ(maxhost::find_class("testext"), c);
    std::vector<std::string> methods = maxhost::method_names(c);
    EXPECT_EQ(std::count(methods.begin(), methods.end(), "bang"), 1);
    // The external counts its entry calls itself; instances come from the registered class.
    TestExt t;
    Recorder rec;
    rec.watch(t.x);
    maxhost::send_text(t.x, "entries");
    EXPECT_EQ(rec.events, std::vector<std::string>{"0: int 1"});
    EXPECT_EQ(t.x->o_messlist, c);
}

TEST(Loader, ReportsUnknownClassesClearly) {
    coretest::use_externals_dir();
    std::string err;
    EXPECT_EQ(maxhost::find_class("nosuchthing", &err), nullptr);
    EXPECT_EQ(err, "nosuchthing: no such object");
    EXPECT_EQ(maxhost::create_from_box("nosuchthing 1 2", &err), nullptr);
    EXPECT_EQ(err, "nosuchthing: no such object");
    EXPECT_EQ(maxhost::find_class("../externals/testext", &err), nullptr);
    EXPECT_EQ(maxhost::create_from_box("", &err), nullptr);
    EXPECT_FALSE(err.empty());
    EXPECT_EQ(maxhost::create_from_box("12 testext", &err), nullptr);
    EXPECT_FALSE(err.empty());
}

TEST(Loader, SearchPathComesFromTheEnvironmentToo) {
    maxhost::set_search_path({});
#if defined(_WIN32)
    _putenv_s("MAXHOST_PATH", "C:/nonexistent;" MAXLEARN_EXTERNALS_DIR);  // ';' separates: paths hold colons
    EXPECT_NE(maxhost::find_class("testext"), nullptr);
    _putenv_s("MAXHOST_PATH", "");
#else
    ::setenv("MAXHOST_PATH", "/nonexistent:" MAXLEARN_EXTERNALS_DIR, 1);
    EXPECT_NE(maxhost::find_class("testext"), nullptr);
    ::unsetenv("MAXHOST_PATH");
#endif
    coretest::use_externals_dir();
    EXPECT_EQ(maxhost::search_path(), std::vector<std::string>{MAXLEARN_EXTERNALS_DIR});
}

TEST(Loader, BuiltinsAreSetUpOnceOnFirstUse) {
    static int setups = 0;
    maxhost::add_builtin("core_builtin", [] {
        ++setups;
        t_class *c = class_new("core_builtin", reinterpret_cast<method>(+[](t_symbol *, long, t_atom *) -> void * {
                                   return nullptr;
                               }),
                               nullptr, sizeof(t_object), nullptr, A_GIMME, 0);
        class_register(CLASS_BOX, c);
    });
    EXPECT_EQ(setups, 0);
    EXPECT_NE(maxhost::find_class("core_builtin"), nullptr);
    EXPECT_NE(maxhost::find_class("core_builtin"), nullptr);
    EXPECT_EQ(setups, 1);
    // Its constructor gives nothing: creation fails with a message, not a crash.
    std::string err;
    EXPECT_EQ(maxhost::create("core_builtin", 0, nullptr, &err), nullptr);
    EXPECT_EQ(err, "core_builtin: could not create an instance");
}

TEST(Create, BoxTextGivesPositionalAndAttributeArguments) {
    TestExt t("testext 7 @gain 4 @ratio 0.25 @label hello");
    ASSERT_NE(t.x, nullptr);
    EXPECT_EQ(field_n(t.x), 7);
    EXPECT_EQ(atom_getlong(&attr(t.x, "gain")[0]), 4);
    EXPECT_DOUBLE_EQ(atom_getfloat(&attr(t.x, "ratio")[0]), 0.25);
    EXPECT_STREQ(atom_getsym(&attr(t.x, "label")[0])->s_name, "hello");
    EXPECT_EQ(maxhost::outlet_count(t.x), 2);
    EXPECT_STREQ(object_classname(t.x)->s_name, "testext");
}

TEST(Create, DefaultsAndClippedAttributeArguments) {
    TestExt plain("testext");
    EXPECT_EQ(field_n(plain.x), 0);
    EXPECT_EQ(atom_getlong(&attr(plain.x, "gain")[0]), 1);
    EXPECT_DOUBLE_EQ(atom_getfloat(&attr(plain.x, "ratio")[0]), 0.5);
    EXPECT_STREQ(atom_getsym(&attr(plain.x, "label")[0])->s_name, "none");

    TestExt clipped("testext @gain 99 @ratio -3");
    EXPECT_EQ(atom_getlong(&attr(clipped.x, "gain")[0]), 10);
    EXPECT_DOUBLE_EQ(atom_getfloat(&attr(clipped.x, "ratio")[0]), 0.0);

    // No positional argument before the attributes: n keeps its default.
    TestExt only_attrs("testext @gain 3");
    EXPECT_EQ(field_n(only_attrs.x), 0);
    EXPECT_EQ(atom_getlong(&attr(only_attrs.x, "gain")[0]), 3);
}

TEST(Create, UnknownAttributeArgumentIsReportedAndTheRestStillApplies) {
    maxhost::ConsoleCapture console;
    TestExt t("testext @nope 1 @gain 2");
    ASSERT_NE(t.x, nullptr);
    EXPECT_EQ(atom_getlong(&attr(t.x, "gain")[0]), 2);
    ASSERT_EQ(console.errors().size(), 1u);
    EXPECT_NE(console.errors()[0].find("nope"), std::string::npos);
}

TEST(Create, MessagesOutletsAndFreeWorkEndToEnd) {
    TestExt a("testext 3");
    TestExt b("testext");
    Recorder ra, rb;
    ra.watch(a.x);
    rb.watch(b.x);
    ASSERT_TRUE(maxhost::connect(a.x, 0, b.x));
    maxhost::ConsoleCapture console;
    EXPECT_TRUE(maxhost::send_text(a.x, "1 2 3"));
    EXPECT_TRUE(maxhost::send_text(a.x, "hello"));
    EXPECT_EQ(console.lines(), std::vector<std::string>{"hello from testext 3"});
    EXPECT_EQ(rb.events, std::vector<std::string>{"0: list 1 2 3"});
    EXPECT_EQ(ra.events, std::vector<std::string>{"0: list 1 2 3"});
    // Freeing the receiver removes the cord: the sender goes on working.
    object_free(b.x);
    b.x = nullptr;
    EXPECT_TRUE(maxhost::send_text(a.x, "bang"));
    EXPECT_EQ(ra.events.back(), "0: bang");
}

TEST(Create, AssistTextsComeFromTheObject) {
    TestExt t;
    EXPECT_EQ(maxhost::assist(t.x, ASSIST_INLET, 0), "(anything) test input");
    EXPECT_EQ(maxhost::assist(t.x, ASSIST_OUTLET, 0), "(list) echo");
    EXPECT_EQ(maxhost::assist(t.x, ASSIST_OUTLET, 1), "(anything) events");
}
