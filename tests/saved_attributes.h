// Attributes as the inspector and a saved patch see them: their metadata as text, and the check
// that each is saved with the patch at its place in the inspector.
#pragma once

#include "maxhost/runtime.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

// Metadata `key` of attribute `attr` as text, "-" where it has none.
inline std::string attribute_meta_text(t_class *c, const char *attr, const char *key) {
    std::vector<t_atom> v;
    return maxhost::attribute_meta(c, attr, key, &v) ? maxhost::atoms_to_text((long)v.size(), v.data()) : "-";
}

// Each attribute of `order` is saved with the patch and stands at its given place.
inline void expect_saved_in_order(t_class *c, const std::vector<std::pair<const char *, const char *>> &order) {
    for (const auto &o : order) {
        EXPECT_EQ(attribute_meta_text(c, o.first, "save"), "1") << o.first;
        EXPECT_EQ(attribute_meta_text(c, o.first, "order"), o.second) << o.first;
    }
}
