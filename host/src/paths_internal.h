// Path ids and the default folder, for the host's own file functions.
#pragma once

#include "ext.h"
#include "maxhost/runtime.h"

#include <string>

namespace maxhost_paths {

short id_of(const std::string &folder);  // 0 when no more ids are left
bool folder_of(short id, std::string *folder);
std::string default_folder();
// The full name of `file` in folder `path` (the folder itself for an empty file name).
bool full_name(short path, const char *file, std::string *out);

}  // namespace maxhost_paths
