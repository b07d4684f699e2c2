// The tools' JSON reader, on nlohmann-json's SAX parser (as the host's dictionaries are): it builds
// the small document tree of json.h, members in file order, and says where a file goes wrong.
#include "json.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <fstream>
#include <sstream>

namespace maxjson {

namespace {

// Nesting deeper than this is refused.
constexpr size_t kMaxDepth = 256;

class Builder : public nlohmann::json_sax<nlohmann::json> {
public:
    Builder(const std::string &text, Value *root) : text_(text), root_(root) {}
    std::string error;

    bool null() override { return place(Value()) != nullptr; }
    bool boolean(bool b) override {
        Value v;
        v.kind = Value::Kind::boolean;
        v.boolean = b;
        return place(std::move(v)) != nullptr;
    }
    bool number_integer(number_integer_t n) override { return number(static_cast<double>(n), std::to_string(n), true); }
    bool number_unsigned(number_unsigned_t n) override { return number(static_cast<double>(n), std::to_string(n), true); }
    bool number_float(number_float_t f, const string_t &written) override { return number(f, written, false); }
    bool string(string_t &s) override {
        Value v;
        v.kind = Value::Kind::string;
        v.text = std::move(s);
        return place(std::move(v)) != nullptr;
    }
    bool binary(binary_t &) override { return false; }
    bool start_object(std::size_t) override { return open(Value::Kind::object); }
    bool key(string_t &k) override {
        keys_.back() = std::move(k);
        return true;
    }
    bool end_object() override { return close(); }
    bool start_array(std::size_t) override { return open(Value::Kind::array); }
    bool end_array() override { return close(); }
    bool parse_error(std::size_t position, const std::string &, const nlohmann::detail::exception &e) override {
        // nlohmann says "[...] parse error at line 1, column 5: what"; the line is counted here.
        std::string what = e.what();
        size_t column = what.find("column ");
        size_t colon = column == std::string::npos ? std::string::npos : what.find(": ", column);
        fail(position > 0 ? position - 1 : 0, colon == std::string::npos ? what : what.substr(colon + 2));
        return false;
    }

private:
    bool fail(size_t at, const std::string &what) {
        if (error.empty()) {
            long line = 1;
            for (size_t i = 0; i < at && i < text_.size(); ++i) line += text_[i] == '\n';
            error = "line " + std::to_string(line) + ": " + what;
        }
        return false;
    }
    bool number(double value, const std::string &written, bool integral) {
        if (!std::isfinite(value)) return fail(text_.size(), "bad number " + written);
        Value v;
        v.kind = Value::Kind::number;
        v.number = value;
        v.integral = integral;
        v.text = written;
        return place(std::move(v)) != nullptr;
    }
    // Puts a value into the innermost open array or object (or makes it the document).
    Value *place(Value v) {
        if (stack_.empty()) {
            *root_ = std::move(v);
            return root_;
        }
        Value *top = stack_.back();
        if (top->kind == Value::Kind::array) {
            top->items.push_back(std::move(v));
            return &top->items.back();
        }
        top->members.emplace_back(std::move(keys_.back()), std::move(v));
        return &top->members.back().second;
    }
    // Only the innermost open container grows, so the pointers to the open ones stay valid.
    bool open(Value::Kind kind) {
        if (stack_.size() >= kMaxDepth) return fail(text_.size(), "nested too deeply");
        Value v;
        v.kind = kind;
        stack_.push_back(place(std::move(v)));
        keys_.emplace_back();
        return true;
    }
    bool close() {
        stack_.pop_back();
        keys_.pop_back();
        return true;
    }

    const std::string &text_;
    Value *root_;
    std::vector<Value *> stack_;
    std::vector<std::string> keys_;
};

}  // namespace

const Value *Value::get(const std::string &key) const {
    if (kind != Kind::object) return nullptr;
    for (const auto &m : members) {
        if (m.first == key) return &m.second;
    }
    return nullptr;
}

std::string Value::str(const std::string &key, const std::string &fallback) const {
    const Value *v = get(key);
    return v && v->is_string() ? v->text : fallback;
}

bool parse(const std::string &text, Value *out, std::string *error) {
    Value v;
    Builder b(text, &v);
    bool ok = false;
    try {
        ok = nlohmann::json::sax_parse(text, &b, nlohmann::json::input_format_t::json, true);
    } catch (const std::exception &e) {
        b.error = e.what();
        ok = false;
    }
    if (!ok) {
        if (error) *error = b.error.empty() ? "not JSON" : b.error;
        return false;
    }
    *out = std::move(v);
    return true;
}

bool parse_file(const std::string &path, Value *out, std::string *error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error) *error = "cannot read " + path;
        return false;
    }
    std::ostringstream buf;
    buf << in.rdbuf();
    std::string e;
    if (!parse(buf.str(), out, &e)) {
        if (error) *error = path + ": " + e;
        return false;
    }
    return true;
}

}  // namespace maxjson
