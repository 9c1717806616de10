# Installing Blast Arena as a desktop game, in the layout Debian gives games:
#   <prefix>/games/blastarena                 launcher: runs the game in the player's data dir
#   <prefix>/lib/games/blastarena/blastarena  the executable
#   <prefix>/share/games/blastarena/          level.dat, data.dat, sound.dat, datafiles.sum,
#                                             the default config.ini and the bundled levels/
#   <prefix>/share/applications/blastarena.desktop
#   <prefix>/share/icons/hicolor/48x48/apps/blastarena.png
#   <prefix>/share/man/man6/blastarena.6.gz
#   <prefix>/share/metainfo/<id>.metainfo.xml  what software centres show
#   <prefix>/share/doc/blastarena/            copyright, changelog.gz
# No installed file is ever one of the player's: a player's data directory
# is $XDG_DATA_HOME/blastarena (~/.local/share/blastarena), which no prefix
# maps share/games/blastarena onto. An earlier version installed its
# defaults in <prefix>/share/blastarena, which under ~/.local was that very
# directory; nothing here installs there any more.
include(GNUInstallDirs)

set(BLAST_INSTALL_LAUNCHERDIR games)
set(BLAST_INSTALL_GAMEDIR lib/games/blastarena)
set(BLAST_INSTALL_SHAREDIR ${CMAKE_INSTALL_DATADIR}/games/blastarena)
if(IS_ABSOLUTE "${CMAKE_INSTALL_DATADIR}")
  message(FATAL_ERROR "CMAKE_INSTALL_DATADIR must be relative to the prefix: the launcher finds the game from its own place")
endif()

# The launcher reaches the game and its shared files relative to itself.
file(RELATIVE_PATH BLAST_LAUNCHER_TO_GAMEDIR
     /prefix/${BLAST_INSTALL_LAUNCHERDIR} /prefix/${BLAST_INSTALL_GAMEDIR})
file(RELATIVE_PATH BLAST_LAUNCHER_TO_SHAREDIR
     /prefix/${BLAST_INSTALL_LAUNCHERDIR} /prefix/${BLAST_INSTALL_SHAREDIR})
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/tools/blastarena-launcher.sh
               ${CMAKE_BINARY_DIR}/blastarena-launcher @ONLY)

# The icon is drawn from the built data.dat, so it follows the art.
add_executable(make_icon tools/make_icon.cpp)
target_include_directories(make_icon PRIVATE src/platform)
target_link_libraries(make_icon PRIVATE PkgConfig::ALLEGRO)
target_compile_options(make_icon PRIVATE -fno-sanitize=all)
target_link_options(make_icon PRIVATE -fno-sanitize=all)
set(BLAST_ICON ${CMAKE_BINARY_DIR}/blastarena.png)
add_custom_command(
  OUTPUT ${BLAST_ICON}
  COMMAND make_icon ${CMAKE_BINARY_DIR}/data.dat ${BLAST_ICON}
  DEPENDS make_icon ${CMAKE_BINARY_DIR}/data.dat
  COMMENT "Drawing the desktop icon"
  VERBATIM)
add_custom_target(icon ALL DEPENDS ${BLAST_ICON})
add_dependencies(icon datafiles)

# The manual page, the AppStream entry, the copyright and the changelog.
# Their version is project()'s; their date is the last commit's, so two
# builds of one commit write the same files (SOURCE_DATE_EPOCH, when set,
# wins, as string(TIMESTAMP) reads it).
set(BLAST_APPSTREAM_ID org.blastarena.blastarena)
# No address has been given for the game; .invalid is one that can never
# reach a stranger. Replace it with the real one when there is one.
set(BLAST_MAINTAINER "The Blast Arena developers <maintainers@blastarena.invalid>")
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH} AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/.git)
  find_package(Git QUIET)
  if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
                    WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
                    OUTPUT_VARIABLE commit_time OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(commit_time MATCHES "^[0-9]+$")
      set(ENV{SOURCE_DATE_EPOCH} ${commit_time})
    endif()
  endif()
endif()
string(TIMESTAMP BLAST_RELEASE_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP BLAST_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
# The menu font's licence travels with the bitmaps made from it.
file(READ ${CMAKE_CURRENT_SOURCE_DIR}/assets/FONT-LICENSE font_licence)
string(FIND "${font_licence}" "Files: *" at)
string(SUBSTRING "${font_licence}" ${at} -1 font_licence)
string(REPLACE "Files: *" "Files: assets/menu_font.txt assets/title.txt" BLAST_FONT_COPYRIGHT
       "${font_licence}")
string(STRIP "${BLAST_FONT_COPYRIGHT}" BLAST_FONT_COPYRIGHT)
set(BLAST_DIST ${CMAKE_BINARY_DIR}/dist)
configure_file(dist/blastarena.6.in ${BLAST_DIST}/blastarena.6 @ONLY)
configure_file(dist/changelog.in ${BLAST_DIST}/changelog @ONLY)
configure_file(dist/copyright.in ${BLAST_DIST}/copyright @ONLY)
configure_file(dist/blastarena.metainfo.xml.in
               ${BLAST_DIST}/${BLAST_APPSTREAM_ID}.metainfo.xml @ONLY)
# Debian keeps manual pages and changelogs compressed, without a name or a
# time in the gzip header.
set(BLAST_MANPAGE ${BLAST_DIST}/blastarena.6.gz)
set(BLAST_CHANGELOG ${BLAST_DIST}/changelog.gz)
foreach(gz IN ITEMS ${BLAST_MANPAGE} ${BLAST_CHANGELOG})
  string(REGEX REPLACE "\\.gz$" "" plain ${gz})
  add_custom_command(OUTPUT ${gz} COMMAND gzip -9n -c ${plain} > ${gz} DEPENDS ${plain})
endforeach()
add_custom_target(documents ALL DEPENDS ${BLAST_MANPAGE} ${BLAST_CHANGELOG})

# Everything the install copies must be built before it starts: an install
# that stops half-way at a missing file leaves a partial game behind.
set(BLAST_DATAFILES ${CMAKE_BINARY_DIR}/level.dat ${CMAKE_BINARY_DIR}/data.dat
    ${CMAKE_BINARY_DIR}/sound.dat ${BLAST_DATAFILE_SUMS})
set(BLAST_BUILT_FILES $<TARGET_FILE:blastarena> ${BLAST_DATAFILES} ${BLAST_ICON}
    ${BLAST_MANPAGE} ${BLAST_CHANGELOG})
install(CODE "
  foreach(built IN ITEMS ${BLAST_BUILT_FILES})
    if(NOT EXISTS \"\${built}\")
      message(FATAL_ERROR \"\${built} is not built: run cmake --build ${CMAKE_BINARY_DIR} first\")
    endif()
  endforeach()
  # An earlier version's program is left where it was; say so, since it
  # would still start by the name blastarena. Its share/blastarena is
  # never touched: under ~/.local it holds the player's levels and settings.
  set(earlier \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
  if(EXISTS \"\${earlier}/bin/blastarena\" AND EXISTS \"\${earlier}/lib/blastarena/blastarena\")
    message(STATUS \"An earlier Blast Arena is installed in \${earlier}/bin and \${earlier}/lib/blastarena: \"
                   \"remove those two by hand (see the README); \${earlier}/share/blastarena is left alone\")
  endif()")
install(TARGETS blastarena RUNTIME DESTINATION ${BLAST_INSTALL_GAMEDIR})
install(FILES ${BLAST_DATAFILES} DESTINATION ${BLAST_INSTALL_SHAREDIR})
install(PROGRAMS ${CMAKE_BINARY_DIR}/blastarena-launcher
        DESTINATION ${BLAST_INSTALL_LAUNCHERDIR} RENAME blastarena)
install(FILES dist/config.ini DESTINATION ${BLAST_INSTALL_SHAREDIR})
# The menu entry starts the launcher by its full path: <prefix>/games is on
# the PATH for /usr and /usr/local, but not for ~/.local. The path is the
# prefix given to the install, so it is written then; one that would need
# quoting in a desktop entry falls back to the name.
install(CODE "
  set(launcher \"\${CMAKE_INSTALL_PREFIX}/${BLAST_INSTALL_LAUNCHERDIR}/blastarena\")
  if(NOT launcher MATCHES \"^[A-Za-z0-9/._+-]+\$\")
    message(STATUS \"The menu entry starts blastarena by name: put \${CMAKE_INSTALL_PREFIX}/${BLAST_INSTALL_LAUNCHERDIR} on the PATH\")
    set(launcher blastarena)
  endif()
  file(READ \"${CMAKE_CURRENT_SOURCE_DIR}/dist/blastarena.desktop\" entry)
  string(REPLACE \"@LAUNCHER@\" \"\${launcher}\" entry \"\${entry}\")
  file(WRITE \"${CMAKE_BINARY_DIR}/desktop/blastarena.desktop\" \"\${entry}\")
  file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\"
       TYPE FILE FILES \"${CMAKE_BINARY_DIR}/desktop/blastarena.desktop\")")
install(FILES ${BLAST_ICON} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps)
install(FILES ${BLAST_MANPAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${BLAST_DIST}/${BLAST_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${BLAST_DIST}/copyright ${BLAST_CHANGELOG} DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Whatever arenas levels/ holds are bundled; the glob is checked again at
# build time, so arenas added later are picked up without a manual
# reconfigure. Hidden files are not arenas.
file(GLOB BLAST_BUNDLED_LEVELS LIST_DIRECTORIES false CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/levels/*)
list(FILTER BLAST_BUNDLED_LEVELS EXCLUDE REGEX "/\\.[^/]*$")
if(BLAST_BUNDLED_LEVELS)
  install(FILES ${BLAST_BUNDLED_LEVELS} DESTINATION ${BLAST_INSTALL_SHAREDIR}/levels)
endif()
