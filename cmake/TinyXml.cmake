# TinyXML 2.6 from Debian's source package, with Debian's patches applied
# (security fixes among them). The source is fetched once with apt-get and
# shared by every build tree; nothing of it is kept in the repository.
set(DRAVIK_TINYXML_DIR "${PROJECT_SOURCE_DIR}/build/_deps/tinyxml" CACHE PATH
    "Unpacked Debian tinyxml source package")

if(NOT EXISTS "${DRAVIK_TINYXML_DIR}/tinyxml.h")
  set(_download "${DRAVIK_TINYXML_DIR}.download")
  file(REMOVE_RECURSE "${_download}")
  file(MAKE_DIRECTORY "${_download}")
  execute_process(
    COMMAND apt-get source tinyxml
    WORKING_DIRECTORY "${_download}"
    RESULT_VARIABLE _result
    OUTPUT_QUIET ERROR_VARIABLE _error)
  file(GLOB _unpacked LIST_DIRECTORIES true "${_download}/tinyxml-2.6*")
  if(NOT _result EQUAL 0 OR NOT _unpacked)
    message(FATAL_ERROR "apt-get source tinyxml failed (run tools/install-deps.sh as root "
                        "first):\n${_error}")
  endif()
  file(REMOVE_RECURSE "${DRAVIK_TINYXML_DIR}")
  file(RENAME "${_unpacked}" "${DRAVIK_TINYXML_DIR}")
  file(REMOVE_RECURSE "${_download}")
endif()

add_library(tinyxml STATIC
  "${DRAVIK_TINYXML_DIR}/tinyxml.cpp"
  "${DRAVIK_TINYXML_DIR}/tinyxmlparser.cpp"
  "${DRAVIK_TINYXML_DIR}/tinyxmlerror.cpp"
  "${DRAVIK_TINYXML_DIR}/tinystr.cpp")
target_include_directories(tinyxml SYSTEM PUBLIC "${DRAVIK_TINYXML_DIR}")
target_compile_definitions(tinyxml PUBLIC TIXML_USE_STL)
# Third-party code: its warnings are not ours to fix.
target_compile_options(tinyxml PRIVATE -w)
