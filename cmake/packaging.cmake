# What `cmake --install` puts in place and what `cpack -G DEB` (in the build
# folder) packs: the three programs a collector runs, a manual page for each
# made from its --help, the window's icon and a menu entry.
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
  install(FILES ${PROJECT_SOURCE_DIR}/src/window/qt/resources/zorv_icon.png
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/32x32/apps RENAME zorv.png)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/zorv.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
endif()

set(ZORV_PACKAGE_MAINTAINER "Zorvane developers <zorvane@example.org>"
    CACHE STRING "The Debian package's Maintainer field")
set(CPACK_PACKAGE_NAME zorvane)
set(CPACK_PACKAGE_CONTACT "${ZORV_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "information sheets of arcade games, for collectors")
# The long description; the summary above is its first line.
set(CPACK_PACKAGE_DESCRIPTION "Started with one game's ROM name, zorv shows one sheet on the game: the fields
of the collection's index, its history.dat and mameinfo.dat entries, the
collector's notes and six pictures, in an editable RTF template; the sheet can
be saved as RTF. zorv-report writes the same sheet as RTF, text or HTML without
a window, and zorv-index builds the game index from an emulator's XML game list.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The dependencies are those of the shared libraries the programs link
# (dpkg-shlibdeps, from dpkg-dev).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
include(CPack)
