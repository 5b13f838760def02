# The source files of the rules and of the core, which the Linux build (CMakeLists.txt), the
# Windows build (cmake/windows.cmake) and the browser build (cmake/web.cmake) all compile.

# The rules of play: they change the game state and report what happened, and link nothing
# else of the project.
file(GLOB VASUL_RULES_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/rules/*.cpp)

# The core: everything but the backends and main. No window system here.
file(GLOB_RECURSE VASUL_CORE_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/src/app/*.cpp ${CMAKE_SOURCE_DIR}/src/settings/*.cpp
  ${CMAKE_SOURCE_DIR}/src/gfx/*.cpp ${CMAKE_SOURCE_DIR}/src/pictures/*.cpp
  ${CMAKE_SOURCE_DIR}/src/scenes/*.cpp ${CMAKE_SOURCE_DIR}/src/sound/*.cpp
  ${CMAKE_SOURCE_DIR}/src/viewer/*.cpp ${CMAKE_SOURCE_DIR}/src/scores/*.cpp
  ${CMAKE_SOURCE_DIR}/src/platform/*.cpp ${CMAKE_SOURCE_DIR}/src/platform/headless/*.cpp)
# The recursive glob also finds the backends, which must stay out of the core.
list(FILTER VASUL_CORE_SOURCES EXCLUDE REGEX "/src/platform/(sdl|win32|web)/")

# stb_image and stb_image_resize for the player's own pictures (src/pictures/stb_codec.h), in C
# as stb is written and without our warnings. The Windows build may name another folder.
set(VASUL_STB_INCLUDE /usr/include/stb CACHE PATH "Where libstb-dev keeps the stb headers")

# The rules, a library that builds and is tested alone, and the core on top of them; the
# arguments are the core's sources for this build.
function(vasul_add_rules_and_core)
  add_library(vasul_rules STATIC ${VASUL_RULES_SOURCES})
  target_include_directories(vasul_rules PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_compile_options(vasul_rules PRIVATE ${VASUL_WARNINGS})
  add_library(vasul_core STATIC ${ARGN})
  target_include_directories(vasul_core PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_compile_options(vasul_core PRIVATE ${VASUL_WARNINGS})
  target_link_libraries(vasul_core PUBLIC vasul_rules)
  add_library(vasul_picture_codec STATIC ${CMAKE_SOURCE_DIR}/third_party/stb_pictures.c)
  target_include_directories(vasul_picture_codec PRIVATE ${CMAKE_SOURCE_DIR}/src)
  target_include_directories(vasul_picture_codec SYSTEM PRIVATE ${VASUL_STB_INCLUDE})
  if(UNIX AND NOT EMSCRIPTEN)
    target_link_libraries(vasul_picture_codec PRIVATE m)
  endif()
  # For an empty PNG data chunk stb adds 0 to a null pointer and copies 0 bytes to it, which C
  # leaves undefined and no compiler acts on; the sanitizers still check every real access.
  if(VASUL_FUZZ OR VASUL_SANITIZE)
    target_compile_options(vasul_picture_codec PRIVATE
      -fno-sanitize=pointer-overflow,nonnull-attribute)
  endif()
  target_link_libraries(vasul_core PRIVATE vasul_picture_codec)
endfunction()
