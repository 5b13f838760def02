# Starts and stops the Wine server that the tests under Wine share, with Wine's own services
# (services.exe, winedevice.exe and the rest). A Wine program started when no server runs starts
# them, and they keep its output open for as long as they run: started by a test, they would keep
# CTest waiting on that test until the server goes. Started here, their output goes nowhere.
#   cmake -DWINESERVER=<wineserver> -DWINE=<wine> -DACTION=start|stop -P wine_server.cmake
cmake_minimum_required(VERSION 3.22)

# Runs a command with no input and its output thrown away; rc gets its exit status.
function(run)
  execute_process(COMMAND ${ARGN} INPUT_FILE /dev/null OUTPUT_FILE /dev/null
    ERROR_FILE /dev/null RESULT_VARIABLE rc)
  set(rc ${rc} PARENT_SCOPE)
endfunction()

# Either way, any server running now goes. Before the tests, it may be one that ends as soon as
# its last program does (a build's listing of the tests leaves one), and a gap between two tests
# would end it; after them, nothing is left running.
run(${WINESERVER} -k)
run(${WINESERVER} -w)
if(ACTION STREQUAL "start")
  # A server that outlives the gaps between tests by 30 s, and its services.
  run(${WINESERVER} -p30)
  run(${WINE} cmd /c exit)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR
      "Wine does not start in $ENV{WINEPREFIX}: ${WINE} cmd /c exit ended with ${rc}")
  endif()
endif()
