// testext: a small external that uses the host the way the real objects do, for the host's tests
// and the command-line host's tests.
//
//   box:      testext [n] [@gain g] [@ratio r] [@label s]
//   outlets:  0 (left) list echo, 1 (right) untyped events
//   messages: bang (or tick), int, float, list, say ..., later ms, soon, hello, entries
#include "ext.h"
#include "ext_obex.h"

typedef struct _testext {
    t_object ob;
    long n;
    long gain;     // "long" attribute: a C long field
    double ratio;  // declared "float32" but held as a double, so it has its own accessors
    t_symbol *label;
    void *list_outlet;
    void *event_outlet;
    void *clock;
    void *qelem;
} t_testext;

static t_class *testext_class = NULL;
static long testext_entries = 0;  // how often the host called the entry

static void *testext_new(t_symbol *s, long argc, t_atom *argv);
static void testext_free(t_testext *x);
static void testext_assist(t_testext *x, void *b, long m, long a, char *s);
static void testext_bang(t_testext *x);
static void testext_int(t_testext *x, t_atom_long n);
static void testext_float(t_testext *x, double f);
static void testext_list(t_testext *x, t_symbol *s, long argc, t_atom *argv);
static void testext_say(t_testext *x, t_symbol *s, long argc, t_atom *argv);
static void testext_later(t_testext *x, t_atom_long ms);
static void testext_soon(t_testext *x);
static void testext_hello(t_testext *x);
static void testext_entries_out(t_testext *x);
static void testext_tick(t_testext *x);
static void testext_ran(t_testext *x);
static t_max_err testext_ratio_get(t_testext *x, void *attr, long *ac, t_atom **av);
static t_max_err testext_ratio_set(t_testext *x, void *attr, long ac, t_atom *av);

static void testext_register(void) {
    ++testext_entries;
    t_class *c = class_new("testext", (method)testext_new, (method)testext_free, (long)sizeof(t_testext), 0L,
                           A_GIMME, 0);

    class_addmethod(c, (method)testext_assist, "assist", A_CANT, 0);
    class_addmethod(c, (method)testext_bang, "bang", 0);
    class_addmethod(c, (method)testext_bang, "tick", 0);  // so the clock's "tick" can feed a cord loop
    class_addmethod(c, (method)testext_int, "int", A_LONG, 0);
    class_addmethod(c, (method)testext_float, "float", A_FLOAT, 0);
    class_addmethod(c, (method)testext_list, "list", A_GIMME, 0);
    class_addmethod(c, (method)testext_say, "say", A_GIMME, 0);
    class_addmethod(c, (method)testext_later, "later", A_LONG, 0);
    class_addmethod(c, (method)testext_soon, "soon", 0);
    class_addmethod(c, (method)testext_hello, "hello", 0);
    class_addmethod(c, (method)testext_entries_out, "entries", 0);

    // "int" stays out of the documentation, as some objects hide a handler they must keep.
    t_hashtab *methods = (t_hashtab *)class_extra_lookup(c, gensym("methods"));
    if (methods) {
        t_object *m = NULL;
        hashtab_lookup(methods, gensym("int"), &m);
        if (m) object_addattr_parse(m, "undocumented", gensym("long"), 0, "1");
    }

    class_addattr(c, attr_offset_new("gain", gensym("long"), 0, NULL, NULL, calcoffset(t_testext, gain)));
    class_addattr(c, attr_offset_new("ratio", gensym("float32"), 0, NULL, NULL, calcoffset(t_testext, ratio)));
    class_addattr(c, attr_offset_new("label", gensym("symbol"), 0, NULL, NULL, calcoffset(t_testext, label)));

    class_attr_addattr_parse(c, "gain", "save", gensym("long"), 0, "1");
    class_attr_addattr_parse(c, "gain", "order", gensym("long"), 0, "1");
    attr_addfilter_clip(class_attr_get(c, gensym("gain")), 0, 10, 1, 1);
    attr_addfilter_clip(class_attr_get(c, gensym("ratio")), 0, 1, 1, 1);
    CLASS_ATTR_LABEL(c, "gain", 0, "Gain");
    CLASS_ATTR_CATEGORY(c, "gain", 0, "Behavior");
    CLASS_ATTR_LABEL(c, "ratio", 0, "Ratio");
    CLASS_ATTR_CATEGORY(c, "ratio", 0, "Behavior");
    CLASS_ATTR_STYLE_LABEL(c, "label", 0, "text", "Shown Label");
    CLASS_ATTR_CATEGORY(c, "label", 0, "Behavior");

    void *ratio = class_attr_get(c, gensym("ratio"));
    object_method(ratio, gensym("setmethod"), gensym("get"), testext_ratio_get);
    object_method(ratio, gensym("setmethod"), gensym("set"), testext_ratio_set);

    class_register(CLASS_BOX, c);
    testext_class = c;
}

BEGIN_USING_C_LINKAGE
C74_EXPORT void ext_main(void *r) {
    (void)r;
    testext_register();
}

C74_EXPORT int main(void) {
    testext_register();
    return 0;
}
END_USING_C_LINKAGE

static void *testext_new(t_symbol *s, long argc, t_atom *argv) {
    (void)s;
    t_testext *x = (t_testext *)object_alloc(testext_class);
    if (!x) return NULL;
    x->n = 0;
    x->gain = 1;
    x->ratio = 0.5;
    x->label = gensym("none");
    if (argc > 0 && attr_args_offset((short)argc, argv) > 0 && atom_gettype(argv) == A_LONG)
        x->n = (long)atom_getlong(argv);
    attr_args_process(x, (short)argc, argv);
    x->event_outlet = outlet_new(x, NULL);
    x->list_outlet = listout(x);
    x->clock = clock_new(x, (method)testext_tick);
    x->qelem = qelem_new(x, (method)testext_ran);
    return x;
}

static void testext_free(t_testext *x) {
    qelem_unset(x->qelem);
    qelem_free(x->qelem);
    clock_unset(x->clock);
    object_free(x->clock);
}

static void testext_assist(t_testext *x, void *b, long m, long a, char *s) {
    (void)x;
    (void)b;
    if (m == ASSIST_INLET)
        sprintf(s, "(anything) test input");
    else if (a == 0)
        sprintf(s, "(list) echo");
    else if (a == 1)
        sprintf(s, "(anything) events");
}

static void testext_bang(t_testext *x) { outlet_bang(x->list_outlet); }

static void testext_int(t_testext *x, t_atom_long n) { outlet_int(x->list_outlet, n); }

static void testext_float(t_testext *x, double f) { outlet_float(x->list_outlet, f); }

static void testext_list(t_testext *x, t_symbol *s, long argc, t_atom *argv) {
    (void)s;
    outlet_list(x->list_outlet, NULL, (short)argc, argv);
}

static void testext_say(t_testext *x, t_symbol *s, long argc, t_atom *argv) {
    (void)s;
    outlet_anything(x->event_outlet, gensym("said"), (short)argc, argv);
}

static void testext_later(t_testext *x, t_atom_long ms) { clock_fdelay(x->clock, (double)ms); }

static void testext_soon(t_testext *x) { qelem_set(x->qelem); }

static void testext_hello(t_testext *x) { post("hello from testext %ld", (long)x->n); }

static void testext_entries_out(t_testext *x) { outlet_int(x->list_outlet, testext_entries); }

static void testext_tick(t_testext *x) { outlet_anything(x->event_outlet, gensym("tick"), 0, NULL); }

static void testext_ran(t_testext *x) { outlet_anything(x->event_outlet, gensym("ran"), 0, NULL); }

static t_max_err testext_ratio_get(t_testext *x, void *attr, long *ac, t_atom **av) {
    (void)attr;
    char alloc;
    atom_alloc(ac, av, &alloc);
    atom_setfloat(*av, x->ratio);
    return 0;
}

static t_max_err testext_ratio_set(t_testext *x, void *attr, long ac, t_atom *av) {
    (void)attr;
    if (ac > 0 && av) x->ratio = atom_getfloat(av);
    return 0;
}
