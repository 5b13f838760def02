# Reads a GoogleTest binary's own list of its tests, for the scripts that register and check its
# CTest entries. `suites_var` gets each suite as "Suite." (typed and parameterised suites keep
# their "Prefix/Suite." or "Suite/0." names, which a filter matches as they are), `tests_var`
# each test as "Suite.Test". A binary that cannot list its tests stops the script. A cross-compiled
# binary runs under the given EMULATOR (Wine for the Windows build); a Windows binary ends its
# lines with CR LF.
#   vasul_read_gtest_listing(<binary> <suites_var> <tests_var> [EMULATOR <command>...])
function(vasul_read_gtest_listing binary suites_var tests_var)
  cmake_parse_arguments(ARG "" "" "EMULATOR" ${ARGN})
  if(ARG_EMULATOR)
    # Through files: Wine's services, when this run starts them, inherit its output and hold it
    # open long after the binary ends.
    execute_process(COMMAND ${ARG_EMULATOR} "${binary}" --gtest_list_tests
      OUTPUT_FILE "${binary}.listing" ERROR_FILE "${binary}.errors" RESULT_VARIABLE rc TIMEOUT 60)
    file(READ "${binary}.listing" listing)
    file(READ "${binary}.errors" errors)
    file(REMOVE "${binary}.listing" "${binary}.errors")
  else()
    execute_process(COMMAND "${binary}" --gtest_list_tests OUTPUT_VARIABLE listing
      ERROR_VARIABLE errors RESULT_VARIABLE rc TIMEOUT 60)
  endif()
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${binary} --gtest_list_tests failed (${rc}):\n${errors}${listing}")
  endif()
  string(REPLACE "\r" "" listing "${listing}")
  string(REPLACE "\n" ";" lines "${listing}")
  set(suites "")
  set(tests "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "  #.*$" "" line "${line}")
    if(line MATCHES "^([^ ].*\\.)$")
      set(suite "${CMAKE_MATCH_1}")
      list(APPEND suites "${suite}")
    elseif(line MATCHES "^  ([^ ]+)$")
      list(APPEND tests "${suite}${CMAKE_MATCH_1}")
    endif()
  endforeach()
  set(${suites_var} "${suites}" PARENT_SCOPE)
  set(${tests_var} "${tests}" PARENT_SCOPE)
endfunction()
