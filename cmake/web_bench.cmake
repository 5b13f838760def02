# The play scene's benchmark for node (bench/web/play_pass.cpp): passes of the play scene timed
# in wasm, which build/vasul_bench runs as BM_PlayFrameWasm against the same passes natively.
# One file with its wasm inside, as node cannot fetch a .wasm by path; its files are the
# machine's own, so it reads the data folder that the native benchmark writes.
add_executable(vasul-bench-play ${CMAKE_SOURCE_DIR}/bench/web/play_pass.cpp)
target_include_directories(vasul-bench-play PRIVATE ${CMAKE_SOURCE_DIR}/bench)
target_compile_options(vasul-bench-play PRIVATE ${VASUL_WARNINGS})
target_link_libraries(vasul-bench-play PRIVATE vasul_core)
target_link_options(vasul-bench-play PRIVATE ${VASUL_WEB_LINK} -sENVIRONMENT=node -sNODERAWFS=1
  -sSINGLE_FILE=1 -sEXIT_RUNTIME=1)
