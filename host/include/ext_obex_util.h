/* Macros for declaring class attributes the way externals usually do, in their ext_main. */
#ifndef MAXHOST_EXT_OBEX_UTIL_H
#define MAXHOST_EXT_OBEX_UTIL_H

#include "ext_obex.h"

/* An attribute bound to a field of the object record, read and written by type. */
#define CLASS_ATTR_OFFSET_TYPED(c, attrname, type, flags, structname, structmember) \
    class_addattr((c), attr_offset_new((attrname), gensym(type), (flags), (method)0L, (method)0L, \
                                       calcoffset(structname, structmember)))
#define CLASS_ATTR_CHAR(c, attrname, flags, structname, structmember) \
    CLASS_ATTR_OFFSET_TYPED(c, attrname, "char", flags, structname, structmember)
#define CLASS_ATTR_LONG(c, attrname, flags, structname, structmember) \
    CLASS_ATTR_OFFSET_TYPED(c, attrname, "long", flags, structname, structmember)
#define CLASS_ATTR_ATOM_LONG(c, attrname, flags, structname, structmember) \
    CLASS_ATTR_OFFSET_TYPED(c, attrname, "atom_long", flags, structname, structmember)
#define CLASS_ATTR_FLOAT(c, attrname, flags, structname, structmember) \
    CLASS_ATTR_OFFSET_TYPED(c, attrname, "float32", flags, structname, structmember)
#define CLASS_ATTR_DOUBLE(c, attrname, flags, structname, structmember) \
    CLASS_ATTR_OFFSET_TYPED(c, attrname, "float64", flags, structname, structmember)
#define CLASS_ATTR_SYM(c, attrname, flags, structname, structmember) \
    CLASS_ATTR_OFFSET_TYPED(c, attrname, "symbol", flags, structname, structmember)
#define CLASS_ATTR_ATOM(c, attrname, flags, structname, structmember) \
    CLASS_ATTR_OFFSET_TYPED(c, attrname, "atom", flags, structname, structmember)

/* Custom accessors replacing the field access (pass (method) casts). */
#define CLASS_ATTR_ACCESSORS(c, attrname, getter, setter) \
    do { \
        t_object *theattr = (t_object *)class_attr_get((c), gensym(attrname)); \
        object_method(theattr, gensym("setmethod"), gensym("get"), (getter)); \
        object_method(theattr, gensym("setmethod"), gensym("set"), (setter)); \
    } while (0)

/* Values outside the bounds are clipped when set. */
#define CLASS_ATTR_FILTER_MIN(c, attrname, minval) \
    attr_addfilter_clip(class_attr_get((c), gensym(attrname)), (minval), 0, 1, 0)
#define CLASS_ATTR_FILTER_MAX(c, attrname, maxval) \
    attr_addfilter_clip(class_attr_get((c), gensym(attrname)), 0, (maxval), 0, 1)
#define CLASS_ATTR_FILTER_CLIP(c, attrname, minval, maxval) \
    attr_addfilter_clip(class_attr_get((c), gensym(attrname)), (minval), (maxval), 1, 1)

/* Metadata of an attribute, parsed from text. */
#define CLASS_ATTR_ATTR_PARSE(c, attrname, attrname2, type, flags, parsestr) \
    class_attr_addattr_parse((c), (attrname), (attrname2), (type), (flags), (parsestr))
#define CLASS_ATTR_SAVE(c, attrname, flags) CLASS_ATTR_ATTR_PARSE(c, attrname, "save", gensym("long"), flags, "1")
#define CLASS_ATTR_ORDER(c, attrname, flags, parsestr) \
    CLASS_ATTR_ATTR_PARSE(c, attrname, "order", gensym("long"), flags, parsestr)
#define CLASS_ATTR_ATTR_FORMAT(c, attrname, attrname2, type, flags, fmt, ...) \
    class_attr_addattr_format((c), (attrname), (attrname2), (type), (flags), (fmt), __VA_ARGS__)
/* The name the inspector shows, and the group it shows the attribute in. */
#define CLASS_ATTR_LABEL(c, attrname, flags, labelstr) \
    CLASS_ATTR_ATTR_FORMAT(c, attrname, "label", gensym("symbol"), flags, "s", gensym_tr(labelstr))
#define CLASS_ATTR_CATEGORY(c, attrname, flags, parsestr) \
    CLASS_ATTR_ATTR_PARSE(c, attrname, "category", gensym("symbol"), flags, parsestr)
#define CLASS_ATTR_STYLE(c, attrname, flags, parsestr) \
    CLASS_ATTR_ATTR_PARSE(c, attrname, "style", gensym("symbol"), flags, parsestr)
#define CLASS_ATTR_STYLE_LABEL(c, attrname, flags, stylestr, labelstr) \
    do { \
        CLASS_ATTR_ATTR_PARSE(c, attrname, "style", gensym("symbol"), flags, stylestr); \
        CLASS_ATTR_ATTR_FORMAT(c, attrname, "label", gensym("symbol"), flags, "s", gensym_tr(labelstr)); \
    } while (0)
#define CLASS_ATTR_ENUM(c, attrname, flags, parsestr) \
    do { \
        CLASS_ATTR_STYLE(c, attrname, flags, "enum"); \
        CLASS_ATTR_ATTR_PARSE(c, attrname, "enumvals", gensym("atom"), flags, parsestr); \
    } while (0)
#define CLASS_ATTR_ENUMINDEX(c, attrname, flags, parsestr) \
    do { \
        CLASS_ATTR_STYLE(c, attrname, flags, "enumindex"); \
        CLASS_ATTR_ATTR_PARSE(c, attrname, "enumvals", gensym("atom"), flags, parsestr); \
    } while (0)
#define CLASS_ATTR_DEFAULT(c, attrname, flags, parsestr) \
    CLASS_ATTR_ATTR_PARSE(c, attrname, "default", gensym("atom"), flags, parsestr)
#define CLASS_ATTR_DEFAULT_SAVE(c, attrname, flags, parsestr) \
    do { \
        CLASS_ATTR_DEFAULT(c, attrname, flags, parsestr); \
        CLASS_ATTR_SAVE(c, attrname, flags); \
    } while (0)

#endif
