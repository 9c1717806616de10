# Installing Blast Arena as a desktop game:
#   <prefix>/lib/blastarena/        the executable with level.dat, data.dat and sound.dat
#   <prefix>/bin/blastarena         launcher: runs the game in the player's data dir
#   <prefix>/share/blastarena/      bundled arenas (levels/) and the default config.ini
#   <prefix>/share/applications/blastarena.desktop
#   <prefix>/share/icons/hicolor/48x48/apps/blastarena.png
# The game directory is plain lib/, not the multiarch library directory: it
# holds a program and its data, not shared libraries.
include(GNUInstallDirs)

set(BLAST_INSTALL_GAMEDIR lib/blastarena)
set(BLAST_INSTALL_SHAREDIR ${CMAKE_INSTALL_DATADIR}/blastarena)
foreach(dir CMAKE_INSTALL_BINDIR CMAKE_INSTALL_DATADIR)
  if(IS_ABSOLUTE "${${dir}}")
    message(FATAL_ERROR "${dir} must be relative to the prefix: the launcher finds the game from its own place")
  endif()
endforeach()

# The launcher reaches the game and its shared files relative to itself.
file(RELATIVE_PATH BLAST_LAUNCHER_TO_GAMEDIR
     /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${BLAST_INSTALL_GAMEDIR})
file(RELATIVE_PATH BLAST_LAUNCHER_TO_SHAREDIR
     /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${BLAST_INSTALL_SHAREDIR})
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/tools/blastarena-launcher.sh
               ${CMAKE_BINARY_DIR}/blastarena-launcher @ONLY)

# The icon is drawn from the built data.dat, so it follows the art.
add_executable(make_icon tools/make_icon.cpp)
target_include_directories(make_icon PRIVATE src/app)
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
set(BLAST_BUILT_FILES $<TARGET_FILE:blastarena> ${CMAKE_BINARY_DIR}/level.dat
    ${CMAKE_BINARY_DIR}/data.dat ${CMAKE_BINARY_DIR}/sound.dat ${BLAST_ICON})
install(CODE "
  foreach(built IN ITEMS ${BLAST_BUILT_FILES})
    if(NOT EXISTS \"\${built}\")
      message(FATAL_ERROR \"\${built} is not built: run cmake --build ${CMAKE_BINARY_DIR} first\")
    endif()
  endforeach()")
install(TARGETS blastarena RUNTIME DESTINATION ${BLAST_INSTALL_GAMEDIR})
install(FILES ${CMAKE_BINARY_DIR}/level.dat ${CMAKE_BINARY_DIR}/data.dat ${CMAKE_BINARY_DIR}/sound.dat
        DESTINATION ${BLAST_INSTALL_GAMEDIR})
install(PROGRAMS ${CMAKE_BINARY_DIR}/blastarena-launcher
        DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME blastarena)
install(FILES dist/config.ini DESTINATION ${BLAST_INSTALL_SHAREDIR})
install(FILES dist/blastarena.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${BLAST_ICON} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps)

# Whatever arenas levels/ holds are bundled; the glob is checked again at
# build time, so arenas added later are picked up without a manual
# reconfigure. Hidden files are not arenas.
file(GLOB BLAST_BUNDLED_LEVELS LIST_DIRECTORIES false CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/levels/*)
list(FILTER BLAST_BUNDLED_LEVELS EXCLUDE REGEX "/\\.[^/]*$")
if(BLAST_BUNDLED_LEVELS)
  install(FILES ${BLAST_BUNDLED_LEVELS} DESTINATION ${BLAST_INSTALL_SHAREDIR}/levels)
endif()
