# The Pd externals for macOS (macos preset): <class>.d_fat, universal like the .mxo bundles, in
# build/macos/pd_externals. As on Linux, the Max half (the runtime with the Pd scheduler backend and
# one object) is compiled with hidden visibility and joined with the glue (pd/glue.c); its Max API
# names are renamed first (cmake/macos/max_half.sh), the C++ runtime is linked inside, Pd's own
# names are left to bind when Pd loads the external, and only <class>_setup is exported.
find_path(PD_INCLUDE_DIR m_pd.h PATHS /usr/include /usr/local/include PATH_SUFFIXES pd NO_CMAKE_FIND_ROOT_PATH)
if(NOT PD_INCLUDE_DIR)
  message(STATUS "Pd externals for macOS skipped: needs m_pd.h (Debian package puredata-dev)")
  return()
endif()
find_program(MAXLEARN_LLVM_OBJCOPY NAMES llvm-objcopy llvm-objcopy-14 HINTS ${llvm_hints} REQUIRED)

set(MAXLEARN_PD_DIR "${CMAKE_BINARY_DIR}/pd_externals")
set(pd_dir "${PROJECT_SOURCE_DIR}/pd")
set(hidden CXX_VISIBILITY_PRESET hidden C_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)

file(GLOB pd_host_sources CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/host/src/*.cpp")
list(FILTER pd_host_sources EXCLUDE REGEX "/scheduler\\.cpp$")
add_library(pd_max_runtime OBJECT ${pd_host_sources} "${pd_dir}/scheduler_pd.cpp" "${pd_dir}/max_half.cpp")
target_include_directories(pd_max_runtime PRIVATE
  "${PROJECT_SOURCE_DIR}/host/include" "${PROJECT_SOURCE_DIR}/host/src" "${pd_dir}")
set_target_properties(pd_max_runtime PROPERTIES ${hidden})
include("${PROJECT_SOURCE_DIR}/cmake/NlohmannJson.cmake")
target_link_libraries(pd_max_runtime PRIVATE maxhost_nlohmann_json)

# Every Max API name, renamed in the Max half.
set(renames "${CMAKE_BINARY_DIR}/pd_max_half.renames")
maxlearn_maxapi_names(api_names "")
set(lines "")
foreach(name ${api_names})
  string(APPEND lines "_${name} _maxhalf_${name}\n")
endforeach()
file(WRITE "${renames}" "${lines}")
list(JOIN MAXLEARN_MACOS_ARCHS "," archs)

set(pd_externals "")
foreach(object ${MAXLEARN_OBJECTS})
  if(NOT TARGET ${object})
    continue()
  endif()
  add_pd_object_code(${object} COMPILE_OPTIONS)

  set(max_half "${CMAKE_CURRENT_BINARY_DIR}/pd/lib${object}_max_half.a")
  add_custom_command(OUTPUT "${max_half}"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${CMAKE_CURRENT_BINARY_DIR}/pd"
    COMMAND bash "${PROJECT_SOURCE_DIR}/cmake/macos/max_half.sh" "${max_half}" "${renames}" "${MAXLEARN_LIPO}"
            "${MAXLEARN_LLVM_OBJCOPY}" "${CMAKE_AR}" "${archs}"
            $<TARGET_OBJECTS:pd_max_runtime> $<TARGET_OBJECTS:${object}_pd_obj>
    DEPENDS pd_max_runtime ${object}_pd_obj $<TARGET_OBJECTS:pd_max_runtime> $<TARGET_OBJECTS:${object}_pd_obj>
            "${renames}" "${PROJECT_SOURCE_DIR}/cmake/macos/max_half.sh"
    COMMAND_EXPAND_LISTS VERBATIM)
  add_custom_target(${object}_max_half DEPENDS "${max_half}")

  set(exports "${CMAKE_CURRENT_BINARY_DIR}/pd/${object}.exports")
  file(WRITE "${exports}" "_${object}_setup\n")
  add_library(${object}_pd MODULE "${pd_dir}/glue.c")
  add_dependencies(${object}_pd ${object}_max_half)
  target_compile_definitions(${object}_pd PRIVATE PDB_CLASS=${object})
  target_include_directories(${object}_pd SYSTEM PRIVATE "${PD_INCLUDE_DIR}")
  target_include_directories(${object}_pd PRIVATE "${pd_dir}")
  target_link_options(${object}_pd PRIVATE "LINKER:-force_load,${max_half}" -lc++ "LINKER:-undefined,dynamic_lookup"
                      "LINKER:-exported_symbols_list,${exports}" "LINKER:-dead_strip")
  set_target_properties(${object}_pd PROPERTIES
    OUTPUT_NAME ${object} PREFIX "" SUFFIX ".d_fat" LINKER_LANGUAGE CXX
    LINK_DEPENDS "${exports};${max_half}"
    LIBRARY_OUTPUT_DIRECTORY "${MAXLEARN_PD_DIR}")
  list(APPEND pd_externals "$<TARGET_FILE:${object}_pd>")
endforeach()
set(MAXLEARN_PD_MACOS_EXTERNALS ${pd_externals})
