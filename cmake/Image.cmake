# The shipped image: its resources, its hardening, the post-link step that
# finishes the header, and the signature. Included right after the Dravik
# target is defined (Windows builds only).

set(DRAVIK_SIGN_CERT "" CACHE FILEPATH
    "Release signing: PEM certificate chain of the code-signing certificate (empty: a throwaway test hierarchy made in the build tree)")
set(DRAVIK_SIGN_KEY "" CACHE FILEPATH "Release signing: private key of DRAVIK_SIGN_CERT")
set(DRAVIK_TIMESTAMP_URL "" CACHE STRING "Release signing: RFC 3161 time-stamp service URL")

find_program(DRAVIK_PYTHON /usr/bin/python3 NO_DEFAULT_PATH REQUIRED)
find_program(DRAVIK_OSSLSIGNCODE osslsigncode REQUIRED)

# Manifest, icon group and version block.
set(DRAVIK_RESOURCES "${PROJECT_SOURCE_DIR}/resources")
configure_file("${DRAVIK_RESOURCES}/Dravik.rc.in" "${CMAKE_CURRENT_BINARY_DIR}/Dravik.rc" @ONLY)
set_source_files_properties("${CMAKE_CURRENT_BINARY_DIR}/Dravik.rc" PROPERTIES OBJECT_DEPENDS
  "${DRAVIK_RESOURCES}/Dravik.manifest;${DRAVIK_RESOURCES}/Dravik.ico")
target_sources(Dravik PRIVATE "${CMAKE_CURRENT_BINARY_DIR}/Dravik.rc" "${DRAVIK_RESOURCES}/noTls.c")

# Every function of ours and of TinyXML with a local array carries a cookie;
# the guard word and the failure handler are the project's own.
add_library(dravik_stack_guard STATIC platform/stackGuard.c platform/stackCheckFail.c)
dravik_warnings(dravik_stack_guard)
foreach(_target dravik_portable dravik_system dravik_core tinyxml)
  # Size over speed, and sections the linker can drop when unreferenced.
  target_compile_options(${_target} PRIVATE -fstack-protector-strong -Os -ffunction-sections
                                            -fdata-sections)
  target_link_libraries(${_target} PUBLIC dravik_stack_guard)
endforeach()
target_compile_options(Dravik PRIVATE -fstack-protector-strong)
target_link_libraries(Dravik PRIVATE dravik_stack_guard)

if(DRAVIK_BUILD_E2E_TESTS)
  # A program that overruns a stack buffer with the same guard and handler.
  add_executable(stack_smash "${PROJECT_SOURCE_DIR}/tests/image/stackSmash.c")
  target_compile_options(stack_smash PRIVATE -fstack-protector-strong)
  target_link_libraries(stack_smash PRIVATE dravik_stack_guard)
  dravik_warnings(stack_smash)
  # Runs on either architecture: where 32-bit code cannot run, the x64 twin's
  # build proves it.
  set(_smash_env "DRAVIK_SMASH=$<TARGET_FILE:stack_smash>" "DRAVIK_WINE=${DRAVIK_WINE}"
                 "DRAVIK_SMASH_PREFIX=${CMAKE_CURRENT_BINARY_DIR}/smash-prefix")
  add_test(NAME image_stack_smash
           COMMAND "${DRAVIK_PYTHON}" -m unittest -v test_stack_smash
           WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}/tests/image")
  set_tests_properties(image_stack_smash PROPERTIES TIMEOUT 600 LABELS wine
    ENVIRONMENT "${_smash_env};PYTHONDONTWRITEBYTECODE=1")
endif()

if(NOT DRAVIK_ARCH STREQUAL "i686")
  # The x64 twin only runs the same code; the image below is 32-bit.
  return()
endif()

set(_linked "${CMAKE_CURRENT_BINARY_DIR}/Dravik-linked.exe")
set(_map "${CMAKE_CURRENT_BINARY_DIR}/Dravik.map")
set(_unsigned "${CMAKE_CURRENT_BINARY_DIR}/Dravik-unsigned.exe")
set(_signed "${CMAKE_CURRENT_BINARY_DIR}/Dravik.exe")
set(_pki "${CMAKE_CURRENT_BINARY_DIR}/test-pki")

target_sources(Dravik PRIVATE "${DRAVIK_RESOURCES}/loadConfig.c")
set_target_properties(Dravik PROPERTIES OUTPUT_NAME Dravik-linked)
target_link_options(Dravik PRIVATE
  # Stripped; the post-link step clears the "stripped" bits that this sets.
  -s
  "LINKER:--major-os-version,5,--minor-os-version,0"
  "LINKER:--major-subsystem-version,5,--minor-subsystem-version,0"
  "LINKER:--dynamicbase,--nxcompat,--tsaware,--disable-large-address-aware"
  "LINKER:--image-base,0x400000,--stack,0x100000,--heap,0x100000"
  # No time stamp in the header, so that the image is reproducible.
  "LINKER:--no-insert-timestamp"
  "LINKER:-Map,${_map}"
  # The load configuration is found by name, not referenced: keep it.
  "LINKER:--gc-sections,--undefined=__load_config_used")

add_custom_command(
  OUTPUT "${_unsigned}"
  COMMAND "${DRAVIK_PYTHON}" "${PROJECT_SOURCE_DIR}/tools/postlink.py" --map "${_map}"
          "${_linked}" "${_unsigned}"
  DEPENDS Dravik "${PROJECT_SOURCE_DIR}/tools/postlink.py"
  COMMENT "Finishing the header of Dravik-unsigned.exe"
  VERBATIM)
add_custom_target(DravikUnsigned DEPENDS "${_unsigned}")

if(DRAVIK_SIGN_CERT)
  set(_sign_with "${DRAVIK_SIGN_CERT}" "${DRAVIK_SIGN_KEY}" "${DRAVIK_TIMESTAMP_URL}")
  set(_pki_files)
else()
  set(_sign_with)
  set(_pki_files "${_pki}/root.pem" "${_pki}/codesign-chain.pem" "${_pki}/codesign.key"
                 "${_pki}/tsa-chain.pem" "${_pki}/tsa.key")
  add_custom_command(
    OUTPUT ${_pki_files}
    COMMAND "${PROJECT_SOURCE_DIR}/tools/make-test-pki.sh" "${_pki}"
    DEPENDS "${PROJECT_SOURCE_DIR}/tools/make-test-pki.sh"
    COMMENT "Making a throwaway test signing hierarchy"
    VERBATIM)
endif()
# CMake takes a dependency on ".../Dravik.exe" for one on the Dravik target
# (whose file is Dravik-linked.exe), so the signed file is reached through a
# stamp.
set(_signed_stamp "${CMAKE_CURRENT_BINARY_DIR}/Dravik.exe.signed")
add_custom_command(
  OUTPUT "${_signed_stamp}"
  BYPRODUCTS "${_signed}"
  COMMAND "${PROJECT_SOURCE_DIR}/tools/sign-image.sh" "${_unsigned}" "${_signed}" "${_pki}"
          ${_sign_with}
  COMMAND "${CMAKE_COMMAND}" -E touch "${_signed_stamp}"
  DEPENDS "${_unsigned}" ${_pki_files} "${PROJECT_SOURCE_DIR}/tools/sign-image.sh"
  COMMENT "Signing Dravik.exe"
  VERBATIM)
add_custom_target(DravikSigned ALL DEPENDS "${_signed_stamp}")

if(DRAVIK_BUILD_E2E_TESTS)
  add_test(NAME image_contents
           COMMAND "${DRAVIK_PYTHON}" -m unittest -v test_image
           WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}/tests/image")
  set_tests_properties(image_contents PROPERTIES ENVIRONMENT
    "DRAVIK_SIGNED=${_signed};DRAVIK_UNSIGNED=${_unsigned};DRAVIK_MAP=${_map};DRAVIK_TEST_ROOT=${_pki}/root.pem;DRAVIK_OBJDUMP=${CMAKE_OBJDUMP};PYTHONDONTWRITEBYTECODE=1")
  if(DRAVIK_SIGN_CERT)
    # The signature test trusts only the throwaway test root.
    set_tests_properties(image_contents PROPERTIES DISABLED TRUE)
  endif()
  add_test(NAME image_postlink
           COMMAND "${DRAVIK_PYTHON}" -m unittest -v test_postlink
           WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}/tests/image")
  set_tests_properties(image_postlink PROPERTIES ENVIRONMENT PYTHONDONTWRITEBYTECODE=1)
  add_test(NAME image_reproducible
           COMMAND "${PROJECT_SOURCE_DIR}/tests/image/reproducible.sh" "${PROJECT_SOURCE_DIR}"
                   windows "${CMAKE_CURRENT_BINARY_DIR}/reproducible" "${_unsigned}")
  set_tests_properties(image_reproducible PROPERTIES TIMEOUT 900)
endif()
