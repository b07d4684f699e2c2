// A small JSON reader for the tools: Max patcher files and the reference-page prose. Objects keep
// their keys in file order.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace maxjson {

struct Value {
    enum class Kind { null, boolean, number, string, array, object };
    Kind kind = Kind::null;
    bool boolean = false;
    double number = 0;
    bool integral = false;  // a number written without fraction or exponent
    std::string text;       // string value, or the number as written
    std::vector<Value> items;
    std::vector<std::pair<std::string, Value>> members;

    bool is_string() const { return kind == Kind::string; }
    bool is_number() const { return kind == Kind::number; }
    bool is_array() const { return kind == Kind::array; }
    bool is_object() const { return kind == Kind::object; }
    // Member by key, null when this is no object or has no such key.
    const Value *get(const std::string &key) const;
    // Member as a string; `fallback` when missing or of another kind.
    std::string str(const std::string &key, const std::string &fallback = "") const;
};

// Parses a whole document. False with *error ("line 3: expected ':'") on malformed text.
bool parse(const std::string &text, Value *out, std::string *error);
bool parse_file(const std::string &path, Value *out, std::string *error);

}  // namespace maxjson
