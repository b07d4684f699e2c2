// An echoseq instance made through the host, with what it sends ("outlet:text").
#pragma once

#include "echoseq.h"
#include "maxhost/runtime.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

struct Echoseq {
    explicit Echoseq(const std::string &box = "echoseq")
    {
        maxhost::add_search_path(MAXLEARN_EXTERNALS_DIR);
        obj = maxhost::create_from_box(box);
        x = reinterpret_cast<t_echoseq *>(obj);
        srand(1);
        maxhost::set_outlet_observer(obj, [this](t_object *, int outlet, t_symbol *sel, long ac, const t_atom *av) {
            std::lock_guard<std::mutex> lock(mutex);
            sent.push_back(std::to_string(outlet) + ":" + (ac ? maxhost::atoms_to_text(ac, av) : sel->s_name));
        });
    }
    ~Echoseq() { object_free(obj); }
    void send(const char *selector, t_atom_long arg)
    {
        t_atom a;
        atom_setlong(&a, arg);
        maxhost::send(obj, gensym(selector), 1, &a);
    }
    void send(const char *selector) { maxhost::send(obj, gensym(selector), 0, nullptr); }
    void learn(const std::vector<long> &w)
    {
        for (long s : w)
            send("int", s);
    }
    std::vector<std::string> take()
    {
        std::lock_guard<std::mutex> lock(mutex);
        std::vector<std::string> out;
        out.swap(sent);
        return out;
    }

    t_object *obj;
    t_echoseq *x;
    std::mutex mutex;
    std::vector<std::string> sent;
};

using Lines = std::vector<std::string>;
