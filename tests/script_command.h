// The shell command that runs a program on a script with its output in a file, quoted for the
// platform's shell (sh, or cmd.exe on Windows), so end-to-end tests run under Wine as well.
#pragma once

#include <string>
#include <vector>

namespace scripttest {

inline std::string quoted(const std::string &s) {
#if defined(_WIN32)
    return "\"" + s + "\"";
#else
    return "'" + s + "'";
#endif
}

inline std::string command(const std::vector<std::string> &argv, const std::string &out, bool with_stderr) {
    std::string cmd;
    for (const std::string &a : argv) cmd += (cmd.empty() ? "" : " ") + quoted(a);
    cmd += " > " + quoted(out);
    if (with_stderr) cmd += " 2>&1";
#if defined(_WIN32)
    cmd = "\"" + cmd + "\"";  // cmd /c takes off one pair of outer quotes
#endif
    return cmd;
}

}  // namespace scripttest
