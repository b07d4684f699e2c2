# The Max API as the macOS externals link against it: a text stub (.tbd) listing the names of
# host/MaxAPI.def under the install name that Max's MaxAPI framework carries, so that each bundle
# binds, weakly, to the MaxAPIImpl library Max loads before any external. Made from the project's
# own list, as the Windows import library is.
set(MAXLEARN_MAXAPI_DEF "${PROJECT_SOURCE_DIR}/host/MaxAPI.def")
set(MAXLEARN_MAXAPI_INSTALL_NAME "@rpath/../Frameworks/MaxAPIImpl.framework/Versions/A/MaxAPIImpl")
set(MAXLEARN_MAXAPI_STUB "${CMAKE_BINARY_DIR}/lib/MaxAPIImpl.tbd")
set_property(DIRECTORY "${PROJECT_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${MAXLEARN_MAXAPI_DEF}")

maxlearn_maxapi_names(symbols "_")
list(JOIN symbols ", " symbols)
set(targets "[ x86_64-macos, arm64-macos ]")
file(WRITE "${MAXLEARN_MAXAPI_STUB}" "--- !tapi-tbd
tbd-version:     4
targets:         ${targets}
install-name:    '${MAXLEARN_MAXAPI_INSTALL_NAME}'
exports:
  - targets:         ${targets}
    symbols:         [ ${symbols} ]
...
")
