// A file's bytes as a string, for tests that compare what was written with what was expected.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace filetest {

inline std::string slurp(const std::filesystem::path &p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace filetest
