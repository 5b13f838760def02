# The source files of the rules and of the core, which the Linux build (CMakeLists.txt) and the
# Windows build (cmake/windows.cmake) both compile.

# The rules of play: they change the game state and report what happened, and link nothing
# else of the project.
file(GLOB VASUL_RULES_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/rules/*.cpp)

# The core: everything but the backends and main. No window system here.
file(GLOB_RECURSE VASUL_CORE_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/src/app/*.cpp ${CMAKE_SOURCE_DIR}/src/settings/*.cpp
  ${CMAKE_SOURCE_DIR}/src/gfx/*.cpp
  ${CMAKE_SOURCE_DIR}/src/scenes/*.cpp ${CMAKE_SOURCE_DIR}/src/sound/*.cpp
  ${CMAKE_SOURCE_DIR}/src/viewer/*.cpp ${CMAKE_SOURCE_DIR}/src/scores/*.cpp
  ${CMAKE_SOURCE_DIR}/src/platform/*.cpp ${CMAKE_SOURCE_DIR}/src/platform/headless/*.cpp)
# The recursive glob also finds the backends, which must stay out of the core.
list(FILTER VASUL_CORE_SOURCES EXCLUDE REGEX "/src/platform/(sdl|win32|web)/")
