# The browser build, with Debian's emscripten (emcmake cmake): the game as a page
# (vasul.js and vasul.wasm, for the page in web/) and the headless game for node
# (vasul-headless.js), which reads and writes real files and proves the frames equal Linux's.
# No emscripten ports: they download at build time.
include(${CMAKE_SOURCE_DIR}/cmake/sources.cmake)

# -O3 and wasm SIMD, which the blits and the frame's colour swizzle vectorise into.
set(VASUL_WEB_COMPILE -O3 -msimd128)
add_compile_options(${VASUL_WEB_COMPILE})

set(web_dir ${CMAKE_SOURCE_DIR}/src/platform/web)
# The blocking loop is the node build's; the page runs its passes from animation frames.
set(VASUL_BLOCKING_LOOP ${CMAKE_SOURCE_DIR}/src/platform/run_loop.cpp)
list(REMOVE_ITEM VASUL_CORE_SOURCES ${VASUL_BLOCKING_LOOP})

vasul_add_rules_and_core(${VASUL_CORE_SOURCES})
# A data file too large for the memory left is refused with a message, as on the desktop:
# the reader catches the failed allocation. Only that file pays for exception catching.
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/platform/data_file_reads.cpp PROPERTIES
  COMPILE_OPTIONS "-fexceptions" SKIP_UNITY_BUILD_INCLUSION ON)

set(VASUL_WEB_LINK -O3 -sALLOW_MEMORY_GROWTH=1 -sMAXIMUM_MEMORY=1gb
  -fexceptions)

# The page's game.
add_executable(vasul ${CMAKE_SOURCE_DIR}/src/main.cpp ${web_dir}/backend_web.cpp
  ${web_dir}/web_platform.cpp ${web_dir}/web_audio.cpp ${web_dir}/run_loop_web.cpp)
target_compile_options(vasul PRIVATE ${VASUL_WARNINGS})
target_compile_definitions(vasul PRIVATE VASUL_VERSION="${PROJECT_VERSION}")
target_link_libraries(vasul PRIVATE vasul_core)
target_link_options(vasul PRIVATE ${VASUL_WEB_LINK} -sENVIRONMENT=web -sFORCE_FILESYSTEM=1
  "SHELL:-sEXPORTED_RUNTIME_METHODS=FS,ENV,addRunDependency,removeRunDependency"
  --js-library ${web_dir}/library_vasul.js)
set_target_properties(vasul PROPERTIES LINK_DEPENDS ${web_dir}/library_vasul.js)

# The headless game for node, one file with its wasm inside; its files are the machine's own.
add_executable(vasul-headless ${CMAKE_SOURCE_DIR}/src/main.cpp ${web_dir}/backend_node.cpp
  ${VASUL_BLOCKING_LOOP})
target_compile_options(vasul-headless PRIVATE ${VASUL_WARNINGS})
target_compile_definitions(vasul-headless PRIVATE VASUL_VERSION="${PROJECT_VERSION}")
target_link_libraries(vasul-headless PRIVATE vasul_core)
target_link_options(vasul-headless PRIVATE ${VASUL_WEB_LINK} -sENVIRONMENT=node -sNODERAWFS=1
  -sSINGLE_FILE=1 -sEXIT_RUNTIME=1)

# The play scene's cost per pass in wasm under node, which bench/ sets against native.
include(${CMAKE_SOURCE_DIR}/cmake/web_bench.cmake OPTIONAL)
