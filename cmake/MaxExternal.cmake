# add_max_external(<class name> <sources>...)
#
# Builds one external, exporting nothing but its entry points (ext_main, and main where the source
# defines it), as Max finds them:
# - against the stand-in on Linux: <class>.so in the externals folder, loadable by the host;
# - for Windows: <class>.mxe64, linked against MaxAPI.dll with its C and C++ runtimes inside;
# - for macOS (the macos preset): <class>.mxo, a universal bundle bound weakly to Max's MaxAPIImpl;
# - against a real Max SDK: a .mxe64 (Windows) or a .mxo bundle (macOS) linked with the SDK's MaxAPI.
#
# Test programs that call an object's functions list the class in add_max_test's LIBS (see
# link_max_libraries): they get the object's compiled code (the target <class>_linked, its main
# made local) and register it as a built-in class, so that making the object by name uses that
# very code rather than loading the external a second time.
# Every external sees common/, the host-independent headers that the objects share.
set(MAXLEARN_EXTERNAL_ENTRIES ext_main main)

function(add_max_external name)
  set(sources ${ARGN})
  if(MAX_SDK_DIR)
    add_library(${name} MODULE ${sources})
    target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/common")
    set_target_properties(${name} PROPERTIES LIBRARY_OUTPUT_DIRECTORY "${MAXLEARN_EXTERNALS_DIR}")
    # System headers: the SDK's own warnings stay out of the project's.
    target_include_directories(${name} SYSTEM PRIVATE "${MAX_SDK_INCLUDES}")
    if(WIN32)
      set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".mxe64")
      target_link_libraries(${name} PRIVATE "${MAX_SDK_INCLUDES}/x64/MaxAPI.lib")
      if(MINGW)
        target_link_options(${name} PRIVATE -static -static-libgcc -static-libstdc++)
      endif()
    elseif(APPLE)
      maxlearn_bundle_files(${name})
      target_link_options(${name} PRIVATE "-F${MAX_SDK_INCLUDES}" "-weak_framework" "MaxAPI")
    endif()
    return()
  endif()

  add_library(${name} MODULE ${sources})
  target_include_directories(${name} PUBLIC "${CMAKE_CURRENT_SOURCE_DIR}" "${PROJECT_SOURCE_DIR}/common")
  set_target_properties(${name} PROPERTIES
    PREFIX ""
    LIBRARY_OUTPUT_DIRECTORY "${MAXLEARN_EXTERNALS_DIR}"
    RUNTIME_OUTPUT_DIRECTORY "${MAXLEARN_EXTERNALS_DIR}")
  if(APPLE)
    maxlearn_macos_bundle(${name})
    return()
  endif()
  if(WIN32)
    # Only what the source marks C74_EXPORT (ext_main, main) is exported once nothing is exported
    # wholesale; the runtimes linked inside export nothing.
    target_link_libraries(${name} PRIVATE maxapi_import)
    set_target_properties(${name} PROPERTIES SUFFIX ".mxe64")
    target_link_options(${name} PRIVATE "-Wl,--exclude-libs,ALL")
    set_property(GLOBAL APPEND PROPERTY MAXLEARN_WINDOWS_EXTERNALS ${name})
    set(api maxapi_import)
  else()
    target_link_libraries(${name} PRIVATE maxapi)
    set(api maxapi)
    # Each external binds its own symbols, as a Windows DLL does, and exports only its entries.
    set(version_script "${CMAKE_BINARY_DIR}/external.exports")
    string(REPLACE ";" "; " entries "${MAXLEARN_EXTERNAL_ENTRIES}")
    file(WRITE "${version_script}" "{ global: ${entries}; local: *; };\n")
    target_link_options(${name} PRIVATE "-Wl,-Bsymbolic" "-Wl,--version-script=${version_script}")
    set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS "${version_script}")
  endif()

  # What a test program links: the object's code, its usage requirements, and its registration.
  set(registration "${CMAKE_BINARY_DIR}/builtin/${name}_builtin.cpp")
  file(CONFIGURE OUTPUT "${registration}" CONTENT [=[
// Written by add_max_external: makes "@name@" a built-in class of the program that links its code.
#include "maxhost/runtime.h"

extern "C" void @name@_ext_main(void *r);  // its ext_main, renamed so that objects can share a program

namespace {
[[maybe_unused]] const bool registered = (maxhost::add_builtin("@name@", [] { @name@_ext_main(nullptr); }), true);
}
]=] @ONLY)
  # The object's code as one relocatable file, its main made local (the program has its own) and
  # its ext_main named after the class.
  set(code "${CMAKE_CURRENT_BINARY_DIR}/${name}_code.o")
  set(drop_exports "")
  if(WIN32)
    set(drop_exports --remove-section=.drectve)  # the DLL's export directives, for names now renamed
  endif()
  add_custom_command(OUTPUT "${code}"
    COMMAND "${CMAKE_LINKER}" -r -o "${code}" $<TARGET_OBJECTS:${name}>
    COMMAND "${CMAKE_OBJCOPY}" --localize-symbol=main --redefine-sym "ext_main=${name}_ext_main" ${drop_exports} "${code}"
    DEPENDS $<TARGET_OBJECTS:${name}>
    COMMAND_EXPAND_LISTS VERBATIM)
  add_custom_target(${name}_code DEPENDS "${code}")
  add_dependencies(${name}_code ${name})
  add_library(${name}_linked INTERFACE)
  add_dependencies(${name}_linked ${name}_code)
  target_sources(${name}_linked INTERFACE "${code}" "${registration}")
  target_link_libraries(${name}_linked INTERFACE ${api})
  target_include_directories(${name}_linked INTERFACE $<TARGET_PROPERTY:${name},INTERFACE_INCLUDE_DIRECTORIES>)
  target_compile_options(${name}_linked INTERFACE $<TARGET_PROPERTY:${name},INTERFACE_COMPILE_OPTIONS>)
  target_compile_definitions(${name}_linked INTERFACE $<TARGET_PROPERTY:${name},INTERFACE_COMPILE_DEFINITIONS>)
endfunction()

# link_max_libraries(<program> <targets>...): links the targets into a test or benchmark program;
# an external among them (gasnet, ...) stands for its code, linked in, and for the external itself,
# built before the program for what it loads by file.
function(link_max_libraries program)
  foreach(lib ${ARGN})
    if(TARGET ${lib}_linked)
      target_link_libraries(${program} PRIVATE ${lib}_linked)
      add_dependencies(${program} ${lib} ${lib}_code)
    else()
      target_link_libraries(${program} PRIVATE ${lib})
    endif()
  endforeach()
endfunction()

# The macos preset's bundle: <class>.mxo/Contents/MacOS/<class> (universal, the arm64 slice signed
# ad hoc by ld64.lld, as Apple silicon runs signed code only), Contents/Info.plist and
# Contents/PkgInfo; bound weakly to the Max API stub, libSystem the only other library.
set(MAXLEARN_BUNDLE_ID_PREFIX "org.maxlearn" CACHE STRING "Bundle identifiers: <prefix>.<class>")
function(maxlearn_macos_bundle name)
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/host/include")
  maxlearn_bundle_files(${name})
  # -lc++: whatever of the C++ runtime an object uses is linked inside (today none is).
  target_link_options(${name} PRIVATE -lc++ "LINKER:-weak_library,${MAXLEARN_MAXAPI_STUB}" "LINKER:-dead_strip")
  set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS "${MAXLEARN_MAXAPI_STUB}")
  set_property(GLOBAL APPEND PROPERTY MAXLEARN_MACOS_EXTERNALS ${name})
endfunction()

# A .mxo bundle's layout, Info.plist and PkgInfo, and its exports: the entries alone.
function(maxlearn_bundle_files name)
  set_target_properties(${name} PROPERTIES
    BUNDLE TRUE BUNDLE_EXTENSION mxo
    MACOSX_BUNDLE_INFO_PLIST "${PROJECT_SOURCE_DIR}/cmake/macos/Info.plist.in"
    MACOSX_BUNDLE_GUI_IDENTIFIER "${MAXLEARN_BUNDLE_ID_PREFIX}.${name}"
    MACOSX_BUNDLE_BUNDLE_NAME ${name}
    MACOSX_BUNDLE_BUNDLE_VERSION "${MAXLEARN_PACKAGE_VERSION}"
    MACOSX_BUNDLE_SHORT_VERSION_STRING "${MAXLEARN_PACKAGE_VERSION}")
  set(exports "${CMAKE_BINARY_DIR}/external.exports")
  list(TRANSFORM MAXLEARN_EXTERNAL_ENTRIES PREPEND "_" OUTPUT_VARIABLE entries)
  list(JOIN entries "\n" entries)
  file(WRITE "${exports}" "${entries}\n")
  target_link_options(${name} PRIVATE "LINKER:-exported_symbols_list,${exports}")
  set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS "${exports}")
  add_custom_command(TARGET ${name} POST_BUILD
    COMMAND "${CMAKE_COMMAND}" -E copy "${PROJECT_SOURCE_DIR}/cmake/macos/PkgInfo"
            "$<TARGET_BUNDLE_CONTENT_DIR:${name}>/PkgInfo"
    VERBATIM)
endfunction()

# maxlearn_maxapi_names(<out var> <prefix>): the function names of host/MaxAPI.def, each with the
# prefix (for Mach-O's leading underscore).
function(maxlearn_maxapi_names out prefix)
  file(STRINGS "${PROJECT_SOURCE_DIR}/host/MaxAPI.def" def_lines REGEX "^[ \t]+[A-Za-z_]")
  set(names "")
  foreach(line ${def_lines})
    string(STRIP "${line}" name)
    list(APPEND names "${prefix}${name}")
  endforeach()
  set(${out} ${names} PARENT_SCOPE)
endfunction()

# add_pd_object_code(<class> <options property>): the object library <class>_pd_obj, the external's
# own sources compiled again, with hidden visibility, for a Pd external's Max half; the options are
# those the external's target carries in the named property.
function(add_pd_object_code object options_property)
  get_target_property(object_sources ${object} SOURCES)
  get_target_property(object_dir ${object} SOURCE_DIR)
  list(TRANSFORM object_sources PREPEND "${object_dir}/")
  add_library(${object}_pd_obj OBJECT ${object_sources})
  target_include_directories(${object}_pd_obj PRIVATE "${PROJECT_SOURCE_DIR}/host/include" "${object_dir}"
                             "${PROJECT_SOURCE_DIR}/common")
  target_compile_options(${object}_pd_obj PRIVATE $<TARGET_PROPERTY:${object},${options_property}>)
  set_target_properties(${object}_pd_obj PROPERTIES
    CXX_VISIBILITY_PRESET hidden C_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
endfunction()
