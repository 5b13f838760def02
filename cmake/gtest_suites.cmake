# Registers a GoogleTest binary with CTest, one entry "Suite.*" per suite: a process of its own for
# each test would cost more than most tests do, and suites such as DataPack build their pack once
# in SetUpTestSuite. The suites are listed after each link (cmake/discover_suites.cmake); the
# SLOW_SUITES are started first. A check entry makes sure every test runs exactly once.
# Cross-compiled, the binary is listed and run under CMAKE_CROSSCOMPILING_EMULATOR. The variables of
# VASUL_TEST_ENVIRONMENT ("NAME=value" items) are set for the listing and every entry, and the
# entries need the fixtures of VASUL_TEST_FIXTURES.
function(vasul_add_gtests target label)
  cmake_parse_arguments(ARG "" "" "SLOW_SUITES" ${ARGN})
  set(suites_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_suites.cmake)
  list(JOIN ARG_SLOW_SUITES "," slow)
  # Each list reaches the listing script as one argument.
  set(listing_args "")
  set(check_args "")
  if(CMAKE_CROSSCOMPILING_EMULATOR)
    string(REPLACE ";" "$<SEMICOLON>" emulator "${CMAKE_CROSSCOMPILING_EMULATOR}")
    list(APPEND listing_args "-DEMULATOR=${emulator}")
    list(APPEND check_args "-DEMULATOR=${emulator}")
  endif()
  if(VASUL_TEST_ENVIRONMENT)
    string(REPLACE ";" "$<SEMICOLON>" environment "${VASUL_TEST_ENVIRONMENT}")
    list(APPEND listing_args "-DENVIRONMENT=${environment}")
  endif()
  if(VASUL_TEST_FIXTURES)
    string(REPLACE ";" "$<SEMICOLON>" fixtures "${VASUL_TEST_FIXTURES}")
    list(APPEND listing_args "-DFIXTURES=${fixtures}")
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DBINARY=$<TARGET_FILE:${target}> -DOUTPUT=${suites_file}
      -DLABEL=${label} -DWORKING_DIRECTORY=${CMAKE_CURRENT_BINARY_DIR} -DSLOW_SUITES=${slow}
      ${listing_args} -P ${CMAKE_SOURCE_DIR}/cmake/discover_suites.cmake
    BYPRODUCTS ${suites_file}
    VERBATIM)
  # A change to the listing scripts relinks the binary, so that its entries are written again.
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS
    ${CMAKE_SOURCE_DIR}/cmake/discover_suites.cmake ${CMAKE_SOURCE_DIR}/cmake/gtest_listing.cmake)
  # Until the binary is built there are no suites to read: an entry that fails says so.
  set(include_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_include.cmake)
  file(WRITE ${include_file}
    "if(EXISTS [==[${suites_file}]==])\n"
    "  include([==[${suites_file}]==])\n"
    "else()\n"
    "  add_test([==[${target}_NOT_BUILT]==] [==[${target}_NOT_BUILT]==])\n"
    "  set_tests_properties([==[${target}_NOT_BUILT]==] PROPERTIES LABELS [==[${label}]==])\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${include_file})
  add_test(NAME ${target}.registration COMMAND ${CMAKE_COMMAND} -DBINARY=$<TARGET_FILE:${target}>
    -DCTEST=${CMAKE_CTEST_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} ${check_args}
    -P ${CMAKE_SOURCE_DIR}/tests/check_registration.cmake)
  set_tests_properties(${target}.registration PROPERTIES LABELS ${label})
  if(VASUL_TEST_ENVIRONMENT)
    set_tests_properties(${target}.registration PROPERTIES ENVIRONMENT "${VASUL_TEST_ENVIRONMENT}")
  endif()
  if(VASUL_TEST_FIXTURES)
    set_tests_properties(${target}.registration PROPERTIES
      FIXTURES_REQUIRED "${VASUL_TEST_FIXTURES}")
  endif()
endfunction()
