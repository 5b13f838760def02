# Writes the CTest entries of a GoogleTest binary, one per suite: each runs as one process,
# "<binary> --gtest_filter=Suite.*", so that a suite's set-up and the process start are paid once
# rather than once per test. Run after every link of the binary, since only the binary knows its
# suites.
# A cross-compiled binary is listed and run under EMULATOR. With ENVIRONMENT ("NAME=value;...")
# it is listed and run with those variables set; with FIXTURES its entries need those fixtures.
#   cmake -DBINARY=<test binary> -DOUTPUT=<file to write> -DLABEL=<ctest label>
#         -DWORKING_DIRECTORY=<folder> [-DSLOW_SUITES=Suite,Suite...] [-DEMULATOR=<command>]
#         [-DENVIRONMENT=<NAME=value;...>] [-DFIXTURES=<fixture;...>] -P discover_suites.cmake
cmake_minimum_required(VERSION 3.22)

# A failed listing must not leave the entries of the previous binary behind.
file(REMOVE "${OUTPUT}")
foreach(setting IN LISTS ENVIRONMENT)
  if(NOT setting MATCHES "^([^=]+)=(.*)$")
    message(FATAL_ERROR "ENVIRONMENT holds \"${setting}\", which is not NAME=value")
  endif()
  set(ENV{${CMAKE_MATCH_1}} "${CMAKE_MATCH_2}")
endforeach()
include(${CMAKE_CURRENT_LIST_DIR}/gtest_listing.cmake)
vasul_read_gtest_listing(${BINARY} listed unused_tests EMULATOR ${EMULATOR})
set(suites "")
foreach(suite IN LISTS listed)
  string(REGEX REPLACE "\\.$" "" suite "${suite}")
  list(APPEND suites "${suite}")
endforeach()
if(NOT suites)
  message(FATAL_ERROR "${BINARY} lists no test suites")
endif()

# The slow suites are named so that CTest starts them first rather than last, where they would
# trail behind everything else; a name that matches no suite would quietly lose that.
string(REPLACE "," ";" slow "${SLOW_SUITES}")
foreach(suite IN LISTS slow)
  if(NOT suite IN_LIST suites)
    message(FATAL_ERROR "${BINARY} has no suite ${suite}, named as slow")
  endif()
endforeach()

# No skip expression: a test skipped in a suite would mark the whole entry as skipped, and hide a
# failure beside it. A skip shows in the suite's output instead.
set(launch "")
foreach(part IN LISTS EMULATOR ITEMS "${BINARY}")
  string(APPEND launch "[==[${part}]==] ")
endforeach()
set(content "")
foreach(suite IN LISTS suites)
  string(APPEND content
    "add_test([==[${suite}.*]==] ${launch}[==[--gtest_filter=${suite}.*]==])\n"
    "set_tests_properties([==[${suite}.*]==] PROPERTIES LABELS [==[${LABEL}]==]"
    " WORKING_DIRECTORY [==[${WORKING_DIRECTORY}]==]")
  if(ENVIRONMENT)
    string(APPEND content " ENVIRONMENT [==[${ENVIRONMENT}]==]")
  endif()
  if(FIXTURES)
    string(APPEND content " FIXTURES_REQUIRED [==[${FIXTURES}]==]")
  endif()
  if(suite IN_LIST slow)
    string(APPEND content " COST 1000")
  endif()
  if(suite MATCHES "(^|/)DISABLED_")
    string(APPEND content " DISABLED TRUE")
  endif()
  string(APPEND content ")\n")
endforeach()
file(WRITE "${OUTPUT}" "${content}")
