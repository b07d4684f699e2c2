// What a class registers, read back for tools that document it.
#include "core_internal.h"

using namespace maxhost_core;

namespace maxhost {

std::vector<short> method_arg_types(t_class *c, const std::string &method_name) {
    std::vector<short> out;
    if (!c) return out;
    auto it = c->methods.find(gensym(method_name.c_str()));
    if (it == c->methods.end()) return out;
    out.assign(it->second->types, it->second->types + it->second->ntypes);
    return out;
}

bool attribute_info(t_class *c, const std::string &name, AttributeInfo *info) {
    AttrRec *a = find_attr(c, gensym(name.c_str()));
    if (!a || !info) return false;
    const AttrInfo &i = *a->info;
    info->type = i.type ? i.type->s_name : "";
    info->flags = i.flags;
    info->clip_min = i.clip_min;
    info->clip_max = i.clip_max;
    info->min = i.min;
    info->max = i.max;
    return true;
}

std::vector<std::string> attribute_meta_names(t_class *c, const std::string &name) {
    std::vector<std::string> out;
    AttrRec *a = c ? find_attr(c, gensym(name.c_str())) : nullptr;
    if (!a) return out;
    for (const Meta &m : a->info->meta) out.push_back(m.key->s_name);
    return out;
}

}  // namespace maxhost

namespace maxhost {

std::string outlet_type(t_object *x, int index) {
    auto *o = static_cast<t_outlet *>(outlet_at(x, index));
    return o && o->type ? o->type->s_name : "";
}

}  // namespace maxhost
