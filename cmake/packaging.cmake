# What `cmake --install` puts in place and what `cpack -G DEB` (in the build
# folder) packs: the three programs a collector runs, a manual page for each
# made from its --help, the icons, a menu entry and its AppStream metadata,
# and the copyright and changelog files Debian asks of every package.
# scripts/check_package.sh builds the package and has it checked.
include(GNUInstallDirs)

set(ZORV_INSTALLED_PROGRAMS zorv-report zorv-index)
if(TARGET zorv)
  list(PREPEND ZORV_INSTALLED_PROGRAMS zorv)
endif()
install(TARGETS ${ZORV_INSTALLED_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

option(ZORV_WITH_MAN "Make the manual pages from the programs' --help (needs help2man)" ON)
if(ZORV_WITH_MAN)
  find_program(ZORV_HELP2MAN help2man REQUIRED)
  set(zorv_summary "show the information sheet of one arcade game")
  set(zorv-report_summary "write the information sheet of one arcade game without a window")
  set(zorv-index_summary "write the viewer's game index from an emulator's game list and data files")
  set(pages)
  foreach(program IN LISTS ZORV_INSTALLED_PROGRAMS)
    set(page ${PROJECT_BINARY_DIR}/man/${program}.1)
    add_custom_command(
      OUTPUT ${page}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
      COMMAND ${ZORV_HELP2MAN} --no-info --section=1 --name=${${program}_summary}
              --include=${PROJECT_SOURCE_DIR}/packaging/see-also.h2m --output=${page} $<TARGET_FILE:${program}>
      COMMAND gzip -9nf ${page}
      DEPENDS ${program} ${PROJECT_SOURCE_DIR}/packaging/see-also.h2m
      COMMENT "Manual page of ${program}"
      VERBATIM)
    list(APPEND pages ${page}.gz)
  endforeach()
  add_custom_target(zorv_man_pages ALL DEPENDS ${pages})
  install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  if(ZORV_WITH_TESTS)
    # Every option a --help lists has its own entry in the page made from it.
    set(program_files)
    foreach(program IN LISTS ZORV_INSTALLED_PROGRAMS)
      list(APPEND program_files $<TARGET_FILE:${program}>)
    endforeach()
    add_test(NAME man_pages COMMAND sh ${PROJECT_SOURCE_DIR}/tests/man_pages_test.sh ${PROJECT_BINARY_DIR}/man
                                    ${program_files})
  endif()
endif()

if(TARGET zorv)
  # scripts/make_icon.py renders the sizes from the scalable art.
  foreach(size 16 22 24 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/icons/${size}x${size}/zorv.png
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/icons/zorv.svg
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/zorv.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/org.example.zorvane.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
endif()

# The changelog's latest entry is the version being built.
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/changelog zorv_changelog_head LIMIT_COUNT 1)
if(NOT zorv_changelog_head MATCHES "^zorvane \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog does not begin with an entry for version ${PROJECT_VERSION}")
endif()
set(zorv_docs ${PROJECT_BINARY_DIR}/package-doc)
add_custom_command(
  OUTPUT ${zorv_docs}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${zorv_docs}
  COMMAND gzip -9n --stdout ${PROJECT_SOURCE_DIR}/packaging/changelog > ${zorv_docs}/changelog.gz
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
  COMMENT "Compressed changelog")
add_custom_target(zorv_changelog ALL DEPENDS ${zorv_docs}/changelog.gz)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${zorv_docs}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/zorvane)

set(ZORV_PACKAGE_MAINTAINER "Zorvane developers <zorvane@example.org>"
    CACHE STRING "The Debian package's Maintainer field")
set(CPACK_PACKAGE_NAME zorvane)
set(CPACK_PACKAGE_CONTACT "${ZORV_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "information sheets of arcade games, for collectors")
# The long description, lines of at most 80 columns; the summary above is its first line.
set(CPACK_PACKAGE_DESCRIPTION "Started with one game's ROM name, zorv shows one sheet on the game: the
fields of the collection's index, its history.dat and mameinfo.dat entries,
the collector's notes and six pictures, in an editable RTF template; the
sheet can be saved as RTF. zorv --browse lists the collection's games to
search and sort. zorv-report writes the same sheet as RTF, text or HTML
without a window, and zorv-index builds the game index from the emulator's
own set-up.")
# The programs are in /usr/bin: a viewer of game data, no game itself.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The dependencies are those of the shared libraries the programs link
# (dpkg-shlibdeps, from dpkg-dev).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
include(CPack)
