# add_max_external(<class name> <sources>...)
#
# Builds one external. Against the stand-in on Linux or macOS it is a shared library named after its
# class in the externals folder, linkable by tests and loadable by the host. For Windows it is
# <class>.mxe64 in the externals folder, linked against MaxAPI.dll with its C and C++ runtimes
# inside, so it loads in Max as well. Against a real Max SDK it is a .mxe64 (Windows) or a .mxo
# bundle (macOS) linked with the SDK's MaxAPI.
#
# Every external sees common/, the host-independent headers that the objects share.
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
      set_target_properties(${name} PROPERTIES BUNDLE TRUE BUNDLE_EXTENSION "mxo")
      target_link_options(${name} PRIVATE "-F${MAX_SDK_INCLUDES}" "-weak_framework" "MaxAPI")
    endif()
    return()
  endif()

  add_library(${name} SHARED ${sources})
  target_include_directories(${name} PUBLIC "${CMAKE_CURRENT_SOURCE_DIR}" "${PROJECT_SOURCE_DIR}/common")
  set_target_properties(${name} PROPERTIES
    PREFIX ""
    LIBRARY_OUTPUT_DIRECTORY "${MAXLEARN_EXTERNALS_DIR}"
    RUNTIME_OUTPUT_DIRECTORY "${MAXLEARN_EXTERNALS_DIR}")
  if(WIN32)
    # Max loads <class>.mxe64 by its ext_main; the object's other functions are exported too, so
    # the tests can call them as they do on Linux.
    target_link_libraries(${name} PUBLIC maxapi_import)
    set_target_properties(${name} PROPERTIES SUFFIX ".mxe64")
    target_link_options(${name} PRIVATE "-Wl,--export-all-symbols" "-Wl,--exclude-libs,ALL")
    set_property(GLOBAL APPEND PROPERTY MAXLEARN_WINDOWS_EXTERNALS ${name})
  else()
    target_link_libraries(${name} PUBLIC maxapi)
  endif()
  if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    # Each external binds its own symbols, as a Windows DLL does, whatever else is loaded.
    target_link_options(${name} PRIVATE "-Wl,-Bsymbolic")
  endif()
endfunction()
