// Helpers shared by the host core's tests: the externals folder on the search path, and a
// recorder of everything an object sends.
#pragma once

#include "maxhost/runtime.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace coretest {

inline void use_externals_dir() { maxhost::set_search_path({MAXLEARN_EXTERNALS_DIR}); }

// One line per send: "<outlet>: <selector> <atoms>".
struct Recorder {
    std::vector<std::string> events;
    void watch(t_object *x) {
        maxhost::set_outlet_observer(x, [this](t_object *, int outlet, t_symbol *sel, long ac, const t_atom *av) {
            std::string line = std::to_string(outlet) + ": " + sel->s_name;
            if (ac > 0) line += " " + maxhost::atoms_to_text(ac, av);
            events.push_back(line);
        });
    }
};

// An instance of testext that is freed at the end of the scope.
struct TestExt {
    t_object *x = nullptr;
    explicit TestExt(const std::string &box = "testext") {
        use_externals_dir();
        std::string err;
        x = maxhost::create_from_box(box, &err);
        EXPECT_NE(x, nullptr) << err;
    }
    ~TestExt() {
        if (x) object_free(x);
    }
    TestExt(const TestExt &) = delete;
    TestExt &operator=(const TestExt &) = delete;
};

}  // namespace coretest
