# The Debian package, built by CPack's DEB generator (`cmake --build build --target package`, or
# `./run.sh package`): Debian's folders for games, the dependencies computed by dpkg-shlibdeps
# from the stripped binaries, the copyright and changelog under /usr/share/doc/rebrik.
rebrik_install(COMPONENT deb EXCLUDE_FROM_ALL
  LAUNCHER games PROGRAM lib/games/rebrik DATA share/games/rebrik TOOL bin)

set(REBRIK_MAINTAINER "Rebrik developers <rebrik@example.org>")

# The changelog carries the version, release date and maintainer set here, gzipped.
execute_process(COMMAND date -u -R -d "${REBRIK_RELEASE_DATE}"
                OUTPUT_VARIABLE REBRIK_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE)
set(changelog ${CMAKE_BINARY_DIR}/doc/changelog)
rebrik_configure_text(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${changelog})
add_custom_command(OUTPUT ${changelog}.gz
  COMMAND gzip -9n -c ${changelog} > ${changelog}.gz
  DEPENDS ${changelog} VERBATIM)
add_custom_target(rebrik_changelog ALL DEPENDS ${changelog}.gz)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${changelog}.gz
        DESTINATION share/doc/rebrik COMPONENT deb EXCLUDE_FROM_ALL)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/lintian-overrides DESTINATION share/lintian/overrides
        RENAME rebrik COMPONENT deb EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME rebrik)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Only the rules of the package's layout, not those of a user prefix.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};rebrik;deb;/")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${REBRIK_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The game's error messages open in xmessage; without it they go to standard output only.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS x11-utils)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Slovak quiz game: climb a ladder of fifteen titles")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Rebrik is a quiz game in Slovak for one player. Fifteen questions of rising
difficulty, four answers each, lead up a ladder of humorous titles. An answer
counts only once confirmed; a wrong one drops the player to the last safe row.
Three lifelines help once per game, and the player may walk away at any time
with the title reached. Played with the mouse or the keyboard.

The package also holds rebrik-check, which checks question files the way the
game reads them.")
include(CPack)

# The package's own tests (label "package": they need dpkg-deb, lintian and the tools above).
# The first builds the package that the second unpacks and starts under Xvfb.
foreach(step check launch)
  add_test(NAME package_${step} COMMAND bash ${CMAKE_SOURCE_DIR}/tests/scripts/package.sh
           ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR} ${PROJECT_VERSION} ${step})
  set_tests_properties(package_${step} PROPERTIES TIMEOUT 600 LABELS package)
endforeach()
set_tests_properties(package_check PROPERTIES FIXTURES_SETUP rebrik_deb)
# The launch is a game in a window: one at a time with the other window tests.
set_tests_properties(package_launch PROPERTIES FIXTURES_REQUIRED rebrik_deb RESOURCE_LOCK window)
