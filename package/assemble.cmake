# Lays out one Max package; run by the max_package target (see CMakeLists.txt beside this file).
string(REPLACE "," ";" OBJECTS "${OBJECTS}")
set(root "${DIST}/${NAME}")
file(REMOVE_RECURSE "${root}" "${DIST}/${NAME}.zip")
file(MAKE_DIRECTORY "${root}/externals" "${root}/help" "${root}/docs/refpages/${NAME}" "${root}/examples")

configure_file("${SOURCE}/package-info.json.in" "${root}/package-info.json" @ONLY)
file(COPY "${SOURCE}/README.md" "${SOURCE}/LICENSE" DESTINATION "${root}")

set(missing "")
foreach(object ${OBJECTS})
  set(found FALSE)
  if(EXISTS "${BINARIES}/${object}.mxe64")
    file(COPY "${BINARIES}/${object}.mxe64" DESTINATION "${root}/externals")
    set(found TRUE)
  endif()
  if(IS_DIRECTORY "${BINARIES}/${object}.mxo")
    file(COPY "${BINARIES}/${object}.mxo" DESTINATION "${root}/externals")
    set(found TRUE)
  endif()
  if(NOT found)
    list(APPEND missing ${object})
  endif()

  # Every object has its help patch and page; the build's tests hold them to that.
  file(COPY "${SOURCE}/help/${object}.maxhelp" DESTINATION "${root}/help")
  file(COPY "${REFPAGES}/${object}.maxref.xml" DESTINATION "${root}/docs/refpages/${NAME}")
  file(GLOB examples "${SOURCE}/examples/${object}_*.maxpat")
  file(COPY ${examples} DESTINATION "${root}/examples")
endforeach()

if(missing)
  string(REPLACE ";" ", " missing_text "${missing}")
  file(WRITE "${root}/externals/MISSING.txt"
    "This copy of the ${NAME} package was assembled without the externals of: ${missing_text}.\n"
    "No .mxe64 (Windows) or .mxo (macOS) file for them was found in ${BINARIES}.\n"
    "Build them (Windows: cmake --preset windows && cmake --build --preset windows) and assemble the\n"
    "package again, or copy the built files into this folder.\n")
  message(WARNING "${NAME}: no externals for ${missing_text} in ${BINARIES}: the package holds help, "
                  "reference pages and examples only (see externals/MISSING.txt)")
endif()

execute_process(COMMAND "${CMAKE_COMMAND}" -E tar cf "${NAME}.zip" --format=zip "${NAME}"
                WORKING_DIRECTORY "${DIST}" RESULT_VARIABLE zipped)
if(NOT zipped EQUAL 0)
  message(FATAL_ERROR "${NAME}: cannot write ${DIST}/${NAME}.zip")
endif()
message(STATUS "${NAME} ${VERSION}: ${root} and ${DIST}/${NAME}.zip")
