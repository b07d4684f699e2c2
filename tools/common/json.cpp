#include "json.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace maxjson {

namespace {

// Nesting deeper than this is refused rather than risking the stack on a hostile file.
const int kMaxDepth = 256;

class Reader {
public:
    explicit Reader(const std::string &t) : s_(t) {}

    bool document(Value *out) {
        if (!value(out, 0)) return false;
        skip();
        if (p_ != s_.size()) return fail("unexpected text after the document");
        return true;
    }
    std::string error() const { return error_; }

private:
    const std::string &s_;
    size_t p_ = 0;
    std::string error_;

    bool fail(const std::string &what) {
        if (error_.empty()) {
            long line = 1;
            for (size_t i = 0; i < p_ && i < s_.size(); ++i) line += s_[i] == '\n';
            error_ = "line " + std::to_string(line) + ": " + what;
        }
        return false;
    }
    void skip() {
        while (p_ < s_.size() && (s_[p_] == ' ' || s_[p_] == '\t' || s_[p_] == '\n' || s_[p_] == '\r')) ++p_;
    }
    bool literal(const char *word) {
        size_t n = std::char_traits<char>::length(word);
        if (s_.compare(p_, n, word) != 0) return fail("unknown word");
        p_ += n;
        return true;
    }
    static void utf8(unsigned cp, std::string *out) {
        if (cp < 0x80) {
            *out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            *out += static_cast<char>(0xC0 | (cp >> 6));
            *out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            *out += static_cast<char>(0xE0 | (cp >> 12));
            *out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            *out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            *out += static_cast<char>(0xF0 | (cp >> 18));
            *out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            *out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            *out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    bool hex4(unsigned *cp) {
        if (p_ + 4 > s_.size()) return fail("short \\u escape");
        unsigned v = 0;
        for (int i = 0; i < 4; ++i) {
            char c = s_[p_++];
            v <<= 4;
            if (c >= '0' && c <= '9') v |= static_cast<unsigned>(c - '0');
            else if (c >= 'a' && c <= 'f') v |= static_cast<unsigned>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F') v |= static_cast<unsigned>(c - 'A' + 10);
            else return fail("bad \\u escape");
        }
        *cp = v;
        return true;
    }
    bool string(std::string *out) {
        ++p_;  // opening quote
        while (p_ < s_.size()) {
            char c = s_[p_++];
            if (c == '"') return true;
            if (static_cast<unsigned char>(c) < 0x20) return fail("control character in a string");
            if (c != '\\') {
                *out += c;
                continue;
            }
            if (p_ >= s_.size()) break;
            char e = s_[p_++];
            switch (e) {
            case '"': *out += '"'; break;
            case '\\': *out += '\\'; break;
            case '/': *out += '/'; break;
            case 'b': *out += '\b'; break;
            case 'f': *out += '\f'; break;
            case 'n': *out += '\n'; break;
            case 'r': *out += '\r'; break;
            case 't': *out += '\t'; break;
            case 'u': {
                unsigned cp = 0;
                if (!hex4(&cp)) return false;
                if (cp >= 0xD800 && cp < 0xDC00 && s_.compare(p_, 2, "\\u") == 0) {
                    p_ += 2;
                    unsigned low = 0;
                    if (!hex4(&low)) return false;
                    if (low < 0xDC00 || low > 0xDFFF) return fail("bad surrogate pair");
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                }
                utf8(cp, out);
                break;
            }
            default: return fail("bad escape in a string");
            }
        }
        return fail("unterminated string");
    }
    bool number(Value *out) {
        size_t start = p_;
        if (s_[p_] == '-') ++p_;
        bool integral = true;
        while (p_ < s_.size()) {
            char c = s_[p_];
            if (c >= '0' && c <= '9') {
                ++p_;
            } else if (c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-') {
                integral = false;
                ++p_;
            } else {
                break;
            }
        }
        out->text = s_.substr(start, p_ - start);
        char *end = nullptr;
        out->number = std::strtod(out->text.c_str(), &end);
        if (out->text.empty() || *end != '\0' || !std::isfinite(out->number)) return fail("bad number");
        out->kind = Value::Kind::number;
        out->integral = integral;
        return true;
    }
    bool value(Value *out, int depth) {
        if (depth > kMaxDepth) return fail("nested too deeply");
        skip();
        if (p_ >= s_.size()) return fail("unexpected end of text");
        char c = s_[p_];
        if (c == '{') {
            out->kind = Value::Kind::object;
            ++p_;
            skip();
            if (p_ < s_.size() && s_[p_] == '}') {
                ++p_;
                return true;
            }
            for (;;) {
                skip();
                if (p_ >= s_.size() || s_[p_] != '"') return fail("expected a key");
                std::string key;
                if (!string(&key)) return false;
                skip();
                if (p_ >= s_.size() || s_[p_] != ':') return fail("expected ':'");
                ++p_;
                Value v;
                if (!value(&v, depth + 1)) return false;
                out->members.emplace_back(std::move(key), std::move(v));
                skip();
                if (p_ < s_.size() && s_[p_] == ',') {
                    ++p_;
                    continue;
                }
                if (p_ < s_.size() && s_[p_] == '}') {
                    ++p_;
                    return true;
                }
                return fail("expected ',' or '}'");
            }
        }
        if (c == '[') {
            out->kind = Value::Kind::array;
            ++p_;
            skip();
            if (p_ < s_.size() && s_[p_] == ']') {
                ++p_;
                return true;
            }
            for (;;) {
                Value v;
                if (!value(&v, depth + 1)) return false;
                out->items.push_back(std::move(v));
                skip();
                if (p_ < s_.size() && s_[p_] == ',') {
                    ++p_;
                    continue;
                }
                if (p_ < s_.size() && s_[p_] == ']') {
                    ++p_;
                    return true;
                }
                return fail("expected ',' or ']'");
            }
        }
        if (c == '"') {
            out->kind = Value::Kind::string;
            return string(&out->text);
        }
        if (c == 't') {
            out->kind = Value::Kind::boolean;
            out->boolean = true;
            return literal("true");
        }
        if (c == 'f') {
            out->kind = Value::Kind::boolean;
            return literal("false");
        }
        if (c == 'n') return literal("null");
        if (c == '-' || (c >= '0' && c <= '9')) return number(out);
        return fail(std::string("unexpected character '") + c + "'");
    }
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
    Reader r(text);
    Value v;
    if (!r.document(&v)) {
        if (error) *error = r.error();
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
