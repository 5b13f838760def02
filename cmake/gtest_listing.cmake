# Reads a GoogleTest binary's own list of its tests, for the scripts that register and check its
# CTest entries. `suites_var` gets each suite as "Suite." (typed and parameterised suites keep
# their "Prefix/Suite." or "Suite/0." names, which a filter matches as they are), `tests_var`
# each test as "Suite.Test". A binary that cannot list its tests stops the script.
function(vasul_read_gtest_listing binary suites_var tests_var)
  execute_process(COMMAND "${binary}" --gtest_list_tests OUTPUT_VARIABLE listing
    ERROR_VARIABLE errors RESULT_VARIABLE rc TIMEOUT 60)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${binary} --gtest_list_tests failed (${rc}):\n${errors}${listing}")
  endif()
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
