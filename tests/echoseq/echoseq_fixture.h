// Helpers shared by the echoseq tests: an instance made through the host, with what it sends.
#pragma once

#include "echoseq.h"
#include "maxhost/runtime.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

// One thing sent: outlet index and the text of its atoms ("bang" for a bang).
struct Sent {
    int outlet;
    std::string text;
    bool operator==(const Sent &o) const { return outlet == o.outlet && text == o.text; }
};
inline std::ostream &operator<<(std::ostream &os, const Sent &s) { return os << s.outlet << ":" << s.text; }

class Echoseq {
public:
    explicit Echoseq(const std::string &box = "echoseq")
    {
        maxhost::add_search_path(MAXLEARN_EXTERNALS_DIR);
        std::string error;
        obj = maxhost::create_from_box(box, &error);
        if (!obj)
            throw std::runtime_error("cannot create " + box + ": " + error);
        x = reinterpret_cast<t_echoseq *>(obj);
        srand(1);
        maxhost::set_outlet_observer(obj, [this](t_object *, int outlet, t_symbol *sel, long ac, const t_atom *av) {
            std::lock_guard<std::mutex> lock(sent_mutex);
            sent.push_back({outlet, ac ? maxhost::atoms_to_text(ac, av) : std::string(sel->s_name)});
        });
    }
    ~Echoseq()
    {
        maxhost::set_outlet_observer(obj, nullptr);
        object_free(obj);
    }
    Echoseq(const Echoseq &) = delete;
    Echoseq &operator=(const Echoseq &) = delete;

    void learn(const std::vector<long> &symbols)
    {
        for (long s : symbols)
            send("int", s);
    }
    void send(const char *selector, long arg)
    {
        t_atom a;
        atom_setlong(&a, arg);
        maxhost::send(obj, gensym(selector), 1, &a);
    }
    void send(const char *selector) { maxhost::send(obj, gensym(selector), 0, nullptr); }
    std::vector<Sent> take()
    {
        std::lock_guard<std::mutex> lock(sent_mutex);
        std::vector<Sent> out;
        out.swap(sent);
        return out;
    }

    t_object *obj = nullptr;
    t_echoseq *x = nullptr;
    std::mutex sent_mutex;
    std::vector<Sent> sent;
};
