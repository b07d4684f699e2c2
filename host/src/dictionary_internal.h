// What the JSON reader and writer need of dictionaries beyond the C API.
#pragma once

#include "ext.h"
#include "ext_obex.h"

#include <functional>

namespace maxhost_dict {

bool is_dictionary(const t_object *x);
bool is_atomarray(const t_object *x);
// Frees an object the reader nested in an array: an atom array with what it holds, or a dictionary.
void free_owned(t_object *x);

struct EntryView {
    t_symbol *key = nullptr;
    const t_atom *single = nullptr;            // set for one atom
    t_atomarray *array = nullptr;              // set for an array
    const t_dictionary *dictionary = nullptr;  // set for a sub-dictionary
};
void for_each(const t_dictionary *d, const std::function<void(const EntryView &)> &fn);

// An array whose A_OBJ atoms (nested arrays and dictionaries) the dictionary frees with it.
t_max_err append_owned_array(t_dictionary *d, t_symbol *key, t_object *arr);
// A JSON string: a symbol that dictionary_entryisstring reports as a string.
t_max_err append_string_symbol(t_dictionary *d, t_symbol *key, t_symbol *value);

}  // namespace maxhost_dict
