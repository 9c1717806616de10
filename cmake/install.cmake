# Installing Blast Arena as a desktop game, in the layout Debian gives games:
#   <prefix>/games/blastarena                 launcher: runs the game in the player's data dir
#   <prefix>/lib/games/blastarena/blastarena  the executable
#   <prefix>/share/games/blastarena/          level.dat, data.dat, sound.dat, datafiles.sum,
#                                             the default config.ini and the bundled levels/
#   <prefix>/share/applications/blastarena.desktop
#   <prefix>/share/icons/hicolor/48x48/apps/blastarena.png
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

# Everything the install copies must be built before it starts: an install
# that stops half-way at a missing file leaves a partial game behind.
set(BLAST_DATAFILES ${CMAKE_BINARY_DIR}/level.dat ${CMAKE_BINARY_DIR}/data.dat
    ${CMAKE_BINARY_DIR}/sound.dat ${BLAST_DATAFILE_SUMS})
set(BLAST_BUILT_FILES $<TARGET_FILE:blastarena> ${BLAST_DATAFILES} ${BLAST_ICON})
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

# Whatever arenas levels/ holds are bundled; the glob is checked again at
# build time, so arenas added later are picked up without a manual
# reconfigure. Hidden files are not arenas.
file(GLOB BLAST_BUNDLED_LEVELS LIST_DIRECTORIES false CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/levels/*)
list(FILTER BLAST_BUNDLED_LEVELS EXCLUDE REGEX "/\\.[^/]*$")
if(BLAST_BUNDLED_LEVELS)
  install(FILES ${BLAST_BUNDLED_LEVELS} DESTINATION ${BLAST_INSTALL_SHAREDIR}/levels)
endif()
