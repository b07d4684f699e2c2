// Folders as path ids, the default folder, finding files and the file dialogs. A path id names a
// folder for the life of the process; the host has no dialogs of its own, so they answer
// "cancelled" unless a program installs an answer (maxhost::set_file_dialog).
#include "paths_internal.h"

#include "core_internal.h"

#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>
#include <system_error>
#include <unordered_map>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Paths {
    std::mutex lock;
    std::vector<std::string> folders;  // path id i + 1
    std::unordered_map<std::string, short> ids;
    std::string default_folder;  // empty: the current folder
    maxhost::FileDialog dialog;
};

Paths &paths() {
    static Paths *p = new Paths;
    return *p;
}

thread_local const std::string *t_default_override = nullptr;

std::string normal(const fs::path &p) {
    std::error_code ec;
    fs::path abs = fs::absolute(p, ec);
    if (ec) abs = p;
    std::string s = abs.lexically_normal().string();
    while (s.size() > 1 && (s.back() == '/' || s.back() == '\\') && !(s.size() == 3 && s[1] == ':')) s.pop_back();
    return s;
}

bool copy_out(const std::string &s, char *out, size_t capacity) {
    if (!out || s.size() + 1 > capacity) return false;
    std::memcpy(out, s.c_str(), s.size() + 1);
    return true;
}

bool has_folder_part(const char *name) { return std::strchr(name, '/') || std::strchr(name, '\\'); }

bool is_file(const fs::path &p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

bool is_folder(const fs::path &p) {
    std::error_code ec;
    return fs::is_directory(p, ec);
}

}  // namespace

namespace maxhost_paths {

short id_of(const std::string &folder) {
    std::string key = normal(folder);
    Paths &p = paths();
    std::lock_guard<std::mutex> g(p.lock);
    auto it = p.ids.find(key);
    if (it != p.ids.end()) return it->second;
    if (p.folders.size() >= 32766) return 0;
    p.folders.push_back(key);
    short id = static_cast<short>(p.folders.size());
    p.ids.emplace(key, id);
    return id;
}

bool folder_of(short id, std::string *folder) {
    Paths &p = paths();
    std::lock_guard<std::mutex> g(p.lock);
    if (id <= 0 || static_cast<size_t>(id) > p.folders.size()) return false;
    *folder = p.folders[static_cast<size_t>(id) - 1];
    return true;
}

std::string default_folder() {
    if (t_default_override) return *t_default_override;
    Paths &p = paths();
    std::lock_guard<std::mutex> g(p.lock);
    return p.default_folder.empty() ? normal(fs::current_path()) : p.default_folder;
}

bool full_name(short path, const char *file, std::string *out) {
    std::string folder;
    if (!file || !folder_of(path, &folder)) return false;
    *out = *file ? (fs::path(folder) / file).string() : folder;
    return true;
}

}  // namespace maxhost_paths

namespace maxhost {

void set_default_folder(const std::string &folder) {
    std::string key = folder.empty() ? std::string() : normal(folder);
    Paths &p = paths();
    std::lock_guard<std::mutex> g(p.lock);
    p.default_folder = key;
}

std::string default_folder() { return maxhost_paths::default_folder(); }

DefaultFolderScope::DefaultFolderScope(const std::string &folder)
    : folder_(normal(folder)), previous_(t_default_override) {
    t_default_override = &folder_;
}

DefaultFolderScope::~DefaultFolderScope() { t_default_override = previous_; }

void set_file_dialog(FileDialog dialog) {
    Paths &p = paths();
    std::lock_guard<std::mutex> g(p.lock);
    p.dialog = std::move(dialog);
}

}  // namespace maxhost

namespace {

// Answers a dialog through the installed function: 0 with name/vol set, 1 when cancelled.
short run_dialog(bool save, char *name, short *vol) {
    maxhost::FileDialog dialog;
    {
        Paths &p = paths();
        std::lock_guard<std::mutex> g(p.lock);
        dialog = p.dialog;
    }
    std::string chosen = name ? name : "";
    if (!dialog || !dialog(save, &chosen)) return 1;
    fs::path full(chosen);
    if (full.is_relative()) full = fs::path(maxhost_paths::default_folder()) / full;
    std::string file = full.filename().string();
    if (file.empty() || !is_folder(full.parent_path()) || (!save && !is_file(full))) return 1;
    short id = maxhost_paths::id_of(full.parent_path().string());
    if (!id || !copy_out(file, name, MAX_FILENAME_CHARS)) return 1;
    if (vol) *vol = id;
    return 0;
}

}  // namespace

extern "C" {

short path_getdefault(void) { return maxhost_paths::id_of(maxhost_paths::default_folder()); }

void path_setdefault(short path, short) {
    std::string folder;
    if (maxhost_paths::folder_of(path, &folder)) maxhost::set_default_folder(folder);
}

short path_topathname(C74_CONST short path, C74_CONST char *file, char *name) {
    std::string full;
    if (!maxhost_paths::full_name(path, file, &full) || !copy_out(full, name, MAX_PATH_CHARS)) return -1;
    return 0;
}

short path_toabsolutesystempath(C74_CONST short in_path, C74_CONST char *in_filename, char *out_filepath) {
    return path_topathname(in_path, in_filename, out_filepath);
}

short path_frompathname(C74_CONST char *name, short *path, char *filename) {
    if (!name || !*name || !path || !filename) return -1;
    fs::path full(name);
    if (full.is_relative()) full = fs::path(maxhost_paths::default_folder()) / full;
    std::string file;
    fs::path folder;
    if (is_folder(full)) {
        folder = full;
    } else {
        folder = full.parent_path();
        file = full.filename().string();
        if (!is_folder(folder)) return -1;
    }
    short id = maxhost_paths::id_of(folder.string());
    if (!id || !copy_out(file, filename, MAX_FILENAME_CHARS)) return -1;
    *path = id;
    return 0;
}

short path_nameconform(C74_CONST char *src, char *dst, long, long) {
    if (!src || !dst) return -1;
    return copy_out(src, dst, MAX_PATH_CHARS) ? 0 : -1;
}

short locatefile_extended(char *name, short *outvol, t_fourcc *outtype, C74_CONST t_fourcc *filetypelist,
                          short numtypes) {
    if (!name || !*name || !outvol) return 1;
    std::vector<fs::path> candidates;
    fs::path given(name);
    if (given.is_absolute()) {
        candidates.push_back(given);
    } else {
        candidates.push_back(fs::path(maxhost_paths::default_folder()) / given);
        if (!has_folder_part(name))
            for (const std::string &dir : maxhost::search_path()) candidates.push_back(fs::path(dir) / given);
    }
    for (const fs::path &c : candidates) {
        if (!is_file(c)) continue;
        std::string file = c.filename().string();
        short id = maxhost_paths::id_of(c.parent_path().string());
        if (!id || file.size() + 1 > MAX_FILENAME_CHARS) return 1;
        std::memcpy(name, file.c_str(), file.size() + 1);
        *outvol = id;
        if (outtype) *outtype = numtypes > 0 && filetypelist ? filetypelist[0] : 0;
        return 0;
    }
    return 1;
}

short saveasdialog_extended(char *name, short *vol, t_fourcc *type, t_fourcc *typelist, short numtypes) {
    short r = run_dialog(true, name, vol);
    if (r == 0 && type) *type = numtypes > 0 && typelist ? typelist[0] : 0;
    return r;
}

short open_dialog(char *name, short *volptr, t_fourcc *typeptr, t_fourcc *types, short ntypes) {
    short r = run_dialog(false, name, volptr);
    if (r == 0 && typeptr) *typeptr = ntypes > 0 && types ? types[0] : 0;
    return r;
}

}  // extern "C"
