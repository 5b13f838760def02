# Installing the game as a desktop application, and its Debian package.
include(GNUInstallDirs)

# The reverse-DNS application id: it names the desktop entry, the metainfo and the icons, and
# the window carries it so that docks match the running game to its menu entry.
set(VASUL_APP_ID "io.github.vasul.Vasul")

# Debian's layout for games: the program in games/, its data in share/games/vasul/.
set(VASUL_INSTALL_BINDIR "games" CACHE STRING "Where the game goes, relative to the prefix")
set(VASUL_INSTALL_DATADIR "${CMAKE_INSTALL_DATAROOTDIR}/games/vasul" CACHE STRING
  "Where the data pack goes, relative to the prefix")
# The data folder as seen from the program's own folder, so a moved install still finds it.
file(RELATIVE_PATH VASUL_INSTALL_DATA_REL "/${VASUL_INSTALL_BINDIR}" "/${VASUL_INSTALL_DATADIR}")
set(VASUL_INSTALL_DATA_DIR "${CMAKE_INSTALL_PREFIX}/${VASUL_INSTALL_DATADIR}")
target_compile_definitions(vasul PRIVATE VASUL_APP_ID="${VASUL_APP_ID}"
  VASUL_INSTALL_DATA_REL="${VASUL_INSTALL_DATA_REL}"
  VASUL_INSTALL_DATA_DIR="${VASUL_INSTALL_DATA_DIR}")
target_compile_definitions(vasul_assetgen PUBLIC VASUL_APP_ID="${VASUL_APP_ID}")
target_compile_definitions(vasul_sdl PRIVATE VASUL_APP_ID="${VASUL_APP_ID}")

set(VASUL_MAINTAINER "The Vasul developers <vasul@users.noreply.github.com>" CACHE STRING
  "The maintainer named in the Debian package")
set(VASUL_HOMEPAGE "https://github.com/vasul/vasul" CACHE STRING "The game's home on the web")
# The screenshots the repository keeps in docs/screenshots, as published with each release's tag.
set(VASUL_SCREENSHOTS
  "https://raw.githubusercontent.com/vasul/vasul/v${PROJECT_VERSION}/docs/screenshots")

# CHANGELOG.md describes every release; its newest must be this version. The metainfo's releases
# and the package's Debian changelog are made from it.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(changelog_tool ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/packaging/changelog.py)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/CHANGELOG.md ${CMAKE_SOURCE_DIR}/packaging/changelog.py)
execute_process(COMMAND ${changelog_tool} check ${PROJECT_VERSION}
  RESULT_VARIABLE changelog_status ERROR_VARIABLE changelog_problems)
if(NOT changelog_status EQUAL 0)
  message(FATAL_ERROR "${changelog_problems}")
endif()
execute_process(COMMAND ${changelog_tool} metainfo OUTPUT_VARIABLE VASUL_RELEASES
  OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${changelog_tool} date OUTPUT_VARIABLE VASUL_RELEASE_DATE
  OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${changelog_tool} debian ${VASUL_MAINTAINER}
  OUTPUT_VARIABLE debian_changelog COMMAND_ERROR_IS_FATAL ANY)

# The desktop entry, metainfo and man page, and what the generator makes for an install: the
# icons and the default settings (the data folder's own vasul.ini may hold a player's scores).
set(VASUL_DESKTOP_DIR ${CMAKE_BINARY_DIR}/desktop)
file(WRITE ${VASUL_DESKTOP_DIR}/changelog "${debian_changelog}")
# Debian's documentation: the copyright file as it is, the changelog compressed without a time.
set(VASUL_CHANGELOG_GZ ${VASUL_DESKTOP_DIR}/changelog.gz)
add_custom_command(OUTPUT ${VASUL_CHANGELOG_GZ}
  COMMAND gzip -9nc ${VASUL_DESKTOP_DIR}/changelog > ${VASUL_CHANGELOG_GZ}
  DEPENDS ${VASUL_DESKTOP_DIR}/changelog)
add_custom_target(changelog ALL DEPENDS ${VASUL_CHANGELOG_GZ})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/debian/copyright ${VASUL_CHANGELOG_GZ}
  DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/debian/lintian-overrides
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides RENAME vasul)
configure_file(${CMAKE_SOURCE_DIR}/packaging/vasul.desktop.in
  ${VASUL_DESKTOP_DIR}/${VASUL_APP_ID}.desktop @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/vasul.metainfo.xml.in
  ${VASUL_DESKTOP_DIR}/${VASUL_APP_ID}.metainfo.xml @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/vasul.6.in ${VASUL_DESKTOP_DIR}/vasul.6 @ONLY)
install(TARGETS vasul RUNTIME DESTINATION ${VASUL_INSTALL_BINDIR})
install(FILES ${VASUL_DESKTOP_DIR}/${VASUL_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES ${VASUL_DESKTOP_DIR}/${VASUL_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)

# The icons and default settings are drawn with the data pack; a build without the pack
# installs neither.
if(VASUL_DATA)
  set(VASUL_DESKTOP_STAMP ${VASUL_DESKTOP_DIR}/.stamp)
  add_custom_command(OUTPUT ${VASUL_DESKTOP_STAMP}
    COMMAND assetgen --icons ${VASUL_DESKTOP_DIR}/icons --settings ${VASUL_DESKTOP_DIR}/vasul.ini
    # Debian ships manual pages compressed, without a time stamp in the archive.
    COMMAND gzip -9nc ${VASUL_DESKTOP_DIR}/vasul.6 > ${VASUL_DESKTOP_DIR}/vasul.6.gz
    COMMAND ${CMAKE_COMMAND} -E touch ${VASUL_DESKTOP_STAMP}
    DEPENDS assetgen ${VASUL_DESKTOP_DIR}/vasul.6
    COMMENT "Drawing the icons, writing the default settings")
  add_custom_target(desktopfiles ALL DEPENDS ${VASUL_DESKTOP_STAMP})

  install(DIRECTORY ${VASUL_DESKTOP_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons)
  install(FILES ${VASUL_DESKTOP_DIR}/vasul.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
  install(FILES ${VASUL_DESKTOP_DIR}/vasul.ini DESTINATION ${VASUL_INSTALL_DATADIR})
  # The pack by name: the data folder may also hold a player's settings and frame dumps.
  set(pack ${CMAKE_BINARY_DIR}/data)
  install(FILES ${pack}/image/data.bmp ${pack}/image/dat2.bmp ${pack}/image/icon.bmp
    DESTINATION ${VASUL_INSTALL_DATADIR}/image)
  install(DIRECTORY ${pack}/ogg ${pack}/wave DESTINATION ${VASUL_INSTALL_DATADIR})
  install(FILES ${pack}/vasul.spt DESTINATION ${VASUL_INSTALL_DATADIR})
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vasul)
set(CPACK_PACKAGE_VENDOR "The Vasul developers")
set(CPACK_PACKAGE_CONTACT "${VASUL_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "jigsaw puzzle game against the clock")
# Debian's control file keeps the long description in lines of at most 80 characters.
set(CPACK_PACKAGE_DESCRIPTION "Five pictures, each cut into 48 pieces and scattered over the screen,
and one countdown for all of them: drag every piece home with the mouse
before the time runs out. Quick placements chain into bonuses; a covered
piece and marked cells pay extra. Three difficulties, a table of the ten
best results, a gallery of reward pictures, a music test and an
illustrated guide. All pictures and music are made for the game.")
# The compiled-in data folder must be where the package puts it.
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_STRIP_FILES ON)
set(CPACK_OBJCOPY "${CMAKE_OBJCOPY}")
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/packaging/strip_sections.cmake)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

# The changelog tool's refusals and outputs.
add_test(NAME Changelog.ReadsChecksAndWrites
  COMMAND ${Python3_EXECUTABLE} -B ${CMAKE_SOURCE_DIR}/tests/packaging/changelog_test.py)
set_tests_properties(Changelog.ReadsChecksAndWrites PROPERTIES LABELS unit)

# scripts/release's refusals, which come before it builds anything.
add_test(NAME Release.RefusesUncommittedChangesAndAnOldVersion
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/packaging/release_refusals.sh ${CMAKE_SOURCE_DIR})
set_tests_properties(Release.RefusesUncommittedChangesAndAnOldVersion PROPERTIES
  LABELS unit SKIP_RETURN_CODE 77 TIMEOUT 120)
