# Installation as a desktop game. `cmake --install build --prefix P` puts the program in
# P/lib/rebrik, its data in P/share/rebrik and the launcher and rebrik-check in P/bin; the Debian
# package (packaging/package.cmake) uses the same rules with Debian's folders for games.
find_program(SCDOC scdoc)
find_program(RSVG_CONVERT rsvg-convert)

# Manual pages, written in scdoc under packaging/man/LANG/ and built gzipped into build/man/LANG/
# (the version filled in first). English pages go to share/man, the others to share/man/LANG.
set(REBRIK_MAN_PAGES rebrik.6 rebrik-check.1)
set(REBRIK_MAN_LANGS en sk)
# The date on the pages and in the package's changelog: the day this version was released.
set(REBRIK_RELEASE_DATE "2026-12-07")
set(REBRIK_MAN_OUTPUTS)
if(SCDOC)
  execute_process(COMMAND date -u -d "${REBRIK_RELEASE_DATE}" +%s
                  OUTPUT_VARIABLE release_epoch OUTPUT_STRIP_TRAILING_WHITESPACE)
  foreach(lang ${REBRIK_MAN_LANGS})
    foreach(page ${REBRIK_MAN_PAGES})
      set(source ${CMAKE_SOURCE_DIR}/packaging/man/${lang}/${page}.scd)
      set(filled ${CMAKE_BINARY_DIR}/man/${lang}/${page}.scd)
      set(out ${CMAKE_BINARY_DIR}/man/${lang}/${page}.gz)
      rebrik_configure_text(${source} ${filled})
      add_custom_command(OUTPUT ${out}
        COMMAND sh -c "SOURCE_DATE_EPOCH=${release_epoch} ${SCDOC} < ${page}.scd > ${page} && gzip -9nf ${page}"
        WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/man/${lang}
        DEPENDS ${filled} VERBATIM)
      list(APPEND REBRIK_MAN_OUTPUTS ${out})
    endforeach()
  endforeach()
else()
  message(STATUS "scdoc not found: the manual pages are not built (./run.sh package installs it)")
endif()

# The menu icon as PNG in the sizes desktops look for, rendered from the SVG.
set(REBRIK_ICON_SIZES 48 128)
set(REBRIK_ICON_OUTPUTS)
if(RSVG_CONVERT)
  foreach(size ${REBRIK_ICON_SIZES})
    set(out ${CMAKE_BINARY_DIR}/icons/${size}/rebrik.png)
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/icons/${size})
    add_custom_command(OUTPUT ${out}
      COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${out}
              ${CMAKE_SOURCE_DIR}/packaging/rebrik.svg
      DEPENDS ${CMAKE_SOURCE_DIR}/packaging/rebrik.svg VERBATIM)
    list(APPEND REBRIK_ICON_OUTPUTS ${out})
  endforeach()
else()
  message(STATUS "rsvg-convert not found: only the SVG icon is installed (./run.sh package installs it)")
endif()
add_custom_target(rebrik_docs ALL DEPENDS ${REBRIK_MAN_OUTPUTS} ${REBRIK_ICON_OUTPUTS})

# Makes the launcher `out` from the template for a launcher standing in folder `from`, the program
# in `program` and the data in `data` (absolute folders, real or under a prefix).
function(rebrik_launcher out from program data)
  file(RELATIVE_PATH REBRIK_PROGRAM_FROM_LAUNCHER ${from} ${program})
  file(RELATIVE_PATH REBRIK_DATA_FROM_LAUNCHER ${from} ${data})
  rebrik_configure_text(${CMAKE_SOURCE_DIR}/packaging/rebrik.sh.in ${out})
endfunction()

# The launcher of the source tree, which `./run.sh play` starts: the game in build/, the data in
# data/, and the same rule for a relative --otazky folder as installed.
rebrik_launcher(${CMAKE_BINARY_DIR}/launcher/tree/rebrik ${CMAKE_BINARY_DIR}/launcher/tree
                ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR}/data)

# Installs the game in one layout: LAUNCHER, PROGRAM, DATA and TOOL are folders under the prefix,
# COMPONENT names the rules, and EXCLUDE_FROM_ALL keeps them out of a plain `cmake --install`.
function(rebrik_install)
  cmake_parse_arguments(ARG "EXCLUDE_FROM_ALL" "COMPONENT;LAUNCHER;PROGRAM;DATA;TOOL" "" ${ARGN})
  set(how COMPONENT ${ARG_COMPONENT})
  if(ARG_EXCLUDE_FROM_ALL)
    list(APPEND how EXCLUDE_FROM_ALL)
  endif()
  # The launcher finds the program and the data relative to its own folder.
  set(launcher ${CMAKE_BINARY_DIR}/launcher/${ARG_COMPONENT}/rebrik)
  rebrik_launcher(${launcher} /${ARG_LAUNCHER} /${ARG_PROGRAM} /${ARG_DATA})

  install(TARGETS rebrik RUNTIME DESTINATION ${ARG_PROGRAM} ${how})
  install(PROGRAMS ${launcher} DESTINATION ${ARG_LAUNCHER} ${how})
  install(TARGETS rebrik-check RUNTIME DESTINATION ${ARG_TOOL} ${how})
  install(DIRECTORY data/ DESTINATION ${ARG_DATA} ${how} FILES_MATCHING
          PATTERN "*.bmp" PATTERN "*.tga" PATTERN "*.txt" PATTERN "*.wav")
  install(FILES packaging/rebrik.desktop DESTINATION share/applications ${how})
  install(FILES packaging/rebrik.svg DESTINATION share/icons/hicolor/scalable/apps ${how})
  foreach(size ${REBRIK_ICON_SIZES})
    if(RSVG_CONVERT)
      install(FILES ${CMAKE_BINARY_DIR}/icons/${size}/rebrik.png
              DESTINATION share/icons/hicolor/${size}x${size}/apps ${how})
    endif()
  endforeach()
  foreach(out ${REBRIK_MAN_OUTPUTS})
    # build/man/LANG/NAME.SECTION.gz goes to share/man[/LANG]/manSECTION.
    get_filename_component(lang_dir ${out} DIRECTORY)
    get_filename_component(lang ${lang_dir} NAME)
    string(REGEX REPLACE ".*\\.([0-9])\\.gz$" "\\1" section ${out})
    set(dir share/man/${lang}/man${section})
    if(lang STREQUAL "en")
      set(dir share/man/man${section})
    endif()
    install(FILES ${out} DESTINATION ${dir} ${how})
  endforeach()
endfunction()

rebrik_install(COMPONENT user LAUNCHER bin PROGRAM lib/rebrik DATA share/rebrik TOOL bin)
include(${CMAKE_SOURCE_DIR}/packaging/package.cmake)
