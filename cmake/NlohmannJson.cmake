# JSON for dictionary_read and dictionary_write: Debian's header-only nlohmann-json3-dev, as the
# interface target maxhost_nlohmann_json. Its headers are copied into the build so that a cross
# build can use them without the build machine's whole include folder.
if(TARGET maxhost_nlohmann_json)
  return()
endif()
find_path(MAXHOST_NLOHMANN_DIR nlohmann/json.hpp PATHS /usr/include /usr/local/include NO_CMAKE_FIND_ROOT_PATH)
if(NOT MAXHOST_NLOHMANN_DIR)
  message(FATAL_ERROR "nlohmann/json.hpp not found: install nlohmann-json3-dev (scripts/install-deps.sh)")
endif()
set(maxhost_nlohmann_copy "${CMAKE_BINARY_DIR}/third_party/include")
file(COPY "${MAXHOST_NLOHMANN_DIR}/nlohmann" DESTINATION "${maxhost_nlohmann_copy}")
add_library(maxhost_nlohmann_json INTERFACE)
target_include_directories(maxhost_nlohmann_json SYSTEM INTERFACE "${maxhost_nlohmann_copy}")
