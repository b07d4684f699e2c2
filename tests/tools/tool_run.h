// Runs one of the command-line tools as a child process in a temporary folder and collects what
// it prints (stdout and stderr, each line by line) and its exit status.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

struct ToolResult {
    int status = -1;
    std::vector<std::string> out, err;

    bool has(const std::string &pattern) const {
        std::regex re(pattern);
        return std::any_of(out.begin(), out.end(), [&](const std::string &l) { return std::regex_search(l, re); }) ||
               std::any_of(err.begin(), err.end(), [&](const std::string &l) { return std::regex_search(l, re); });
    }
    std::string all() const {
        std::string s;
        for (const auto &l : out) s += l + "\n";
        for (const auto &l : err) s += "(stderr) " + l + "\n";
        return s;
    }
};

class ToolTest : public ::testing::Test {
protected:
    std::filesystem::path dir_;

    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "maxtool-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    void write(const std::string &name, const std::string &text) {
        std::filesystem::path p = dir_ / name;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p) << text;
    }
    static std::vector<std::string> lines_of(const std::filesystem::path &p) {
        std::vector<std::string> v;
        std::ifstream in(p);
        for (std::string l; std::getline(in, l);) v.push_back(l);
        return v;
    }
    ToolResult run(const std::string &command_line) {
        std::string command = "cd '" + dir_.string() + "' && " + command_line + " < /dev/null > out.txt 2> err.txt";
        int raw = std::system(command.c_str());
        ToolResult r;
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.out = lines_of(dir_ / "out.txt");
        r.err = lines_of(dir_ / "err.txt");
        return r;
    }
};
