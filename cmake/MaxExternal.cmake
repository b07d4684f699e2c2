# add_max_external(<class name> <sources>...)
#
# Builds one external. Against the stand-in it is a shared library named after its class in the
# externals folder, linkable by tests and loadable by the host. Against a real Max SDK it is a
# .mxe64 (Windows) or a .mxo bundle (macOS) linked with the SDK's MaxAPI.
function(add_max_external name)
  set(sources ${ARGN})
  if(MAX_SDK_DIR)
    set(max_includes "${MAX_SDK_DIR}/source/c74support/max-includes")
    add_library(${name} MODULE ${sources})
    target_include_directories(${name} PRIVATE "${max_includes}")
    if(WIN32)
      set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".mxe64")
      target_link_libraries(${name} PRIVATE "${max_includes}/x64/MaxAPI.lib")
    elseif(APPLE)
      set_target_properties(${name} PROPERTIES BUNDLE TRUE BUNDLE_EXTENSION "mxo")
      target_link_options(${name} PRIVATE "-F${max_includes}" "-weak_framework" "MaxAPI")
    endif()
    return()
  endif()

  add_library(${name} SHARED ${sources})
  target_link_libraries(${name} PUBLIC maxapi)
  target_include_directories(${name} PUBLIC "${CMAKE_CURRENT_SOURCE_DIR}")
  set_target_properties(${name} PROPERTIES
    PREFIX ""
    LIBRARY_OUTPUT_DIRECTORY "${MAXLEARN_EXTERNALS_DIR}"
    RUNTIME_OUTPUT_DIRECTORY "${MAXLEARN_EXTERNALS_DIR}")
  if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    # Each external binds its own symbols, as a Windows DLL does, whatever else is loaded.
    target_link_options(${name} PRIVATE "-Wl,-Bsymbolic")
  endif()
endfunction()
