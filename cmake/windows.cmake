# The Windows build, cross-compiled with mingw-w64 (cmake/mingw-w64-x86_64.cmake): the core, the
# headless and Win32 backends, vasul.exe and the tests that need nothing but the core. SDL, the
# data-pack generator and its libraries stay Linux tools; the pack they make is copied in.
find_package(Threads REQUIRED)
set(VASUL_STB_INCLUDE /usr/include/stb CACHE PATH "Where libstb-dev keeps the stb headers")

add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
# One file to hand out: the C and C++ runtimes and winpthreads go into the program.
add_link_options(-static)
# The same sources give the same vasul.exe in any folder at any time: no link time stamp in the
# headers, and no build folder's path in the debugging data. (__FILE__ keeps its full path: the
# tests find their data files by it, and the game never uses it.)
add_link_options(-Wl,--no-insert-timestamp)
add_compile_options(-fdebug-prefix-map=${CMAKE_SOURCE_DIR}=. -fdebug-prefix-map=${CMAKE_BINARY_DIR}=.)

# stb_vorbis defines one-letter macros that break windows.h, so it gets a file of its own.
add_library(vasul_stb_vorbis STATIC ${CMAKE_SOURCE_DIR}/third_party/stb_vorbis_impl.c)
target_include_directories(vasul_stb_vorbis PUBLIC ${VASUL_STB_INCLUDE})

include(${CMAKE_SOURCE_DIR}/cmake/sources.cmake)

# The core as on Linux, with the Windows siblings of its POSIX seams (reading data files,
# writing settings files, the program's own path, the player's folder).
set(win32_dir ${CMAKE_SOURCE_DIR}/src/platform/win32)
set(VASUL_WIN32_CORE_SOURCES ${win32_dir}/data_file_win32.cpp ${win32_dir}/file_io_win32.cpp
  ${win32_dir}/executable_win32.cpp ${win32_dir}/player_folder_win32.cpp ${win32_dir}/text.cpp)
list(FILTER VASUL_CORE_SOURCES EXCLUDE REGEX
  "/src/platform/(data_file|executable|player_folder)\\.cpp$|/src/platform/file_io\\.cpp$")
vasul_add_rules_and_core(${VASUL_CORE_SOURCES} ${VASUL_WIN32_CORE_SOURCES})
target_link_libraries(vasul_core PUBLIC Threads::Threads shell32 ole32)

# The Win32 backend: a window, DirectDraw and DirectSound.
file(GLOB VASUL_WIN32_SOURCES CONFIGURE_DEPENDS ${win32_dir}/*.cpp)
list(REMOVE_ITEM VASUL_WIN32_SOURCES ${VASUL_WIN32_CORE_SOURCES})
add_library(vasul_win32 STATIC ${VASUL_WIN32_SOURCES})
target_compile_options(vasul_win32 PRIVATE ${VASUL_WARNINGS})
target_link_libraries(vasul_win32 PUBLIC vasul_core vasul_stb_vorbis
  ddraw dsound dxguid winmm gdi32 user32 shell32 ole32)

# The program's icon, which Explorer, the Start menu and the list of installed programs show, is
# drawn by the Linux generator (assetgen --windows-icon), built beforehand: scripts/build-windows
# builds it in build-generator, scripts/test-windows takes the Linux test build's.
set(VASUL_ASSETGEN "${CMAKE_SOURCE_DIR}/build-generator/assetgen" CACHE FILEPATH
  "The Linux generator that draws vasul.ico")
if(NOT EXISTS "${VASUL_ASSETGEN}")
  message(FATAL_ERROR "No generator at ${VASUL_ASSETGEN} to draw the program's icon: build one "
    "(cmake --preset generator; cmake --build --preset generator) or name it with -DVASUL_ASSETGEN")
endif()
set(VASUL_WINDOWS_ICON ${CMAKE_BINARY_DIR}/vasul.ico)
add_custom_command(OUTPUT ${VASUL_WINDOWS_ICON}
  COMMAND ${VASUL_ASSETGEN} --windows-icon ${VASUL_WINDOWS_ICON}
  DEPENDS ${VASUL_ASSETGEN}
  COMMENT "Drawing the program's icon")
add_custom_target(windows_icon DEPENDS ${VASUL_WINDOWS_ICON})

# A program without a console window of its own; main() stays its entry point.
add_executable(vasul WIN32 ${CMAKE_SOURCE_DIR}/src/main.cpp ${win32_dir}/vasul.rc)
add_dependencies(vasul windows_icon)
target_compile_options(vasul PRIVATE ${VASUL_WARNINGS})
# The pack is unpacked beside vasul.exe: a shortcut started in another folder still finds it.
target_compile_definitions(vasul PRIVATE VASUL_VERSION="${PROJECT_VERSION}"
  VASUL_INSTALL_DATA_REL=".")
# The manifest names the program's version too.
configure_file(${win32_dir}/vasul.manifest.in ${CMAKE_BINARY_DIR}/vasul.manifest @ONLY)
# The resource compiler finds vasul.ico and vasul.manifest in the build folder.
set_source_files_properties(${win32_dir}/vasul.rc PROPERTIES
  COMPILE_DEFINITIONS "VASUL_VERSION_MAJOR=${PROJECT_VERSION_MAJOR};VASUL_VERSION_MINOR=${PROJECT_VERSION_MINOR};VASUL_VERSION_PATCH=${PROJECT_VERSION_PATCH};VASUL_VERSION_TEXT=${PROJECT_VERSION}"
  INCLUDE_DIRECTORIES ${CMAKE_BINARY_DIR}
  OBJECT_DEPENDS "${VASUL_WINDOWS_ICON};${CMAKE_BINARY_DIR}/vasul.manifest")
target_link_libraries(vasul PRIVATE vasul_win32)

# The tests, on a GoogleTest built from Debian's sources with this compiler.
option(VASUL_WINDOWS_TESTS "Build the unit tests for Windows" ON)
if(NOT VASUL_WINDOWS_TESTS)
  return()
endif()
set(VASUL_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources (googletest-src)")
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${VASUL_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# The tests run under Wine (the toolchain's emulator), in a prefix of their own that
# scripts/test-windows prepares. Every entry gets these variables, so that ctest runs them by
# itself, and shares one Wine server, started before them and stopped after them
# (tests/windows/wine_server.cmake).
find_program(VASUL_WINESERVER wineserver)
if(NOT CMAKE_CROSSCOMPILING_EMULATOR OR NOT VASUL_WINESERVER)
  message(FATAL_ERROR "The Windows tests run under Wine, which was not found")
endif()
set(VASUL_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix" CACHE PATH "The Wine prefix the tests run in")
set(VASUL_TEST_ENVIRONMENT WINEPREFIX=${VASUL_WINEPREFIX} WINEARCH=win64 WINEDEBUG=-all
  "WINEDLLOVERRIDES=mscoree,mshtml=")
set(VASUL_TEST_FIXTURES wine)
enable_testing()
foreach(action IN ITEMS start stop)
  add_test(NAME wine_server_${action} COMMAND ${CMAKE_COMMAND} -DWINESERVER=${VASUL_WINESERVER}
    -DWINE=${CMAKE_CROSSCOMPILING_EMULATOR} -DACTION=${action}
    -P ${CMAKE_SOURCE_DIR}/tests/windows/wine_server.cmake)
  set_tests_properties(wine_server_${action} PROPERTIES ENVIRONMENT "${VASUL_TEST_ENVIRONMENT}")
endforeach()
set_tests_properties(wine_server_start PROPERTIES FIXTURES_SETUP wine)
set_tests_properties(wine_server_stop PROPERTIES FIXTURES_CLEANUP wine)
include(${CMAKE_SOURCE_DIR}/cmake/gtest_suites.cmake)
file(GLOB VASUL_PACK_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/packwriter/*.cpp)
add_library(vasul_pack STATIC ${VASUL_PACK_SOURCES})
target_include_directories(vasul_pack PUBLIC ${CMAKE_SOURCE_DIR}/tools)
target_link_libraries(vasul_pack PUBLIC vasul_core)
file(GLOB VASUL_TEST_SUPPORT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
add_library(vasul_test_support STATIC ${VASUL_TEST_SUPPORT_SOURCES})
target_include_directories(vasul_test_support PUBLIC ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(vasul_test_support PUBLIC vasul_pack GTest::gtest)
target_compile_options(vasul_test_support PRIVATE ${VASUL_TEST_OPTIONS})

# Left out: the generator's own tests (they need its Linux libraries), those that make named
# pipes or fork, which Windows has not, and the data paths' tests, which check the Linux places
# (XDG folders and POSIX paths).
file(GLOB VASUL_UNIT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
list(FILTER VASUL_UNIT_SOURCES EXCLUDE REGEX
  "/(assetgen_music|windows_icon|datapack|archive|data_file|data_paths|high_score_table|profile|replay|sound|viewer_script)_test\\.cpp$")
add_executable(vasul_unit_tests ${VASUL_UNIT_SOURCES} ${CMAKE_SOURCE_DIR}/tests/windows/file_io_win32_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/windows/win32_window_test.cpp)
target_include_directories(vasul_unit_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_compile_options(vasul_unit_tests PRIVATE ${VASUL_TEST_OPTIONS})
target_link_libraries(vasul_unit_tests PRIVATE vasul_test_support vasul_win32 GTest::gtest
  GTest::gtest_main)
file(GLOB VASUL_RULES_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/rules/*.cpp)
add_executable(vasul_rules_tests ${VASUL_RULES_TEST_SOURCES})
target_include_directories(vasul_rules_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_compile_options(vasul_rules_tests PRIVATE ${VASUL_TEST_OPTIONS})
target_link_libraries(vasul_rules_tests PRIVATE vasul_rules GTest::gtest GTest::gtest_main)
vasul_add_gtests(vasul_rules_tests unit)
vasul_add_gtests(vasul_unit_tests unit)

# The Windows game against the Linux game: each replay of tests/windows/replays played headless by
# both, in fresh folders holding the same pack, must leave the same files byte for byte.
set(VASUL_LINUX_GAME "${CMAKE_SOURCE_DIR}/build/vasul" CACHE FILEPATH
  "The Linux game that the Windows game's replays are compared with")
find_program(VASUL_PYTHON NAMES python3 REQUIRED)
set(game_checks ${VASUL_PYTHON} -B ${CMAKE_SOURCE_DIR}/tests/windows/game_checks.py
  --pack ${VASUL_DATA_DIR} --wine ${CMAKE_CROSSCOMPILING_EMULATOR} --exe $<TARGET_FILE:vasul>
  --work ${CMAKE_CURRENT_BINARY_DIR}/checks)
# What Explorer shows of vasul.exe: the generator's icon at every size, and the version.
add_test(NAME windows_exe_resources COMMAND ${VASUL_PYTHON} -B
  ${CMAKE_SOURCE_DIR}/tests/windows/exe_resources.py --exe $<TARGET_FILE:vasul>
  --ico ${VASUL_WINDOWS_ICON} --version ${PROJECT_VERSION})
file(GLOB VASUL_WINDOWS_REPLAYS CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/tests/windows/replays/*.replay)
foreach(replay IN LISTS VASUL_WINDOWS_REPLAYS)
  get_filename_component(name ${replay} NAME_WE)
  add_test(NAME windows_replay.${name} COMMAND ${game_checks} replay ${replay}
    --linux-game ${VASUL_LINUX_GAME})
  set_tests_properties(windows_replay.${name} PROPERTIES LABELS e2e
    ENVIRONMENT "${VASUL_TEST_ENVIRONMENT}" FIXTURES_REQUIRED wine)
endforeach()
# It looks through the whole of the prefix's users folder, where the unit tests keep their
# temporary folders: it runs alone.
add_test(NAME windows_started_elsewhere COMMAND ${game_checks} started-elsewhere)
set_tests_properties(windows_started_elsewhere PROPERTIES LABELS e2e RUN_SERIAL TRUE
  ENVIRONMENT "${VASUL_TEST_ENVIRONMENT}" FIXTURES_REQUIRED wine)
