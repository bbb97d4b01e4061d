# The Windows programs and packages: the game gets a window of its own and no console; the
# target windows_packages stages the programs, the data and the two short guides (CRLF) in one
# folder, then makes build-win/rebrik-VERSION-win64.zip (that folder, portable) and
# build-win/Rebrik-VERSION-setup.exe (NSIS) from it.
set_target_properties(rebrik PROPERTIES WIN32_EXECUTABLE ON)

set(stage_name rebrik-${PROJECT_VERSION}-win64)
set(stage ${CMAKE_BINARY_DIR}/stage/${stage_name})
set(zip ${CMAKE_BINARY_DIR}/${stage_name}.zip)
set(setup ${CMAKE_BINARY_DIR}/Rebrik-${PROJECT_VERSION}-setup.exe)
set(guides CITAJMA.txt README.txt)
file(GLOB data_files RELATIVE ${CMAKE_SOURCE_DIR}/data CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/data/*.bmp ${CMAKE_SOURCE_DIR}/data/*.tga ${CMAKE_SOURCE_DIR}/data/*.txt
  ${CMAKE_SOURCE_DIR}/data/*.wav)
set(files rebrik.exe rebrik-check.exe ${guides} ${data_files})

# The setup program's lists: each file installed, and removed again by the uninstaller.
set(nsh "!macro INSTALL_FILES\n")
foreach(f ${files})
  string(APPEND nsh "    File \"\${STAGE}\\${f}\"\n")
endforeach()
string(APPEND nsh "!macroend\n!macro REMOVE_FILES\n")
foreach(f ${files})
  string(APPEND nsh "    Delete \"$INSTDIR\\${f}\"\n")
endforeach()
string(APPEND nsh "!macroend\n")
file(WRITE ${CMAKE_BINARY_DIR}/nsis/files.nsh "${nsh}")

set(copy_data)
foreach(f ${data_files})
  list(APPEND copy_data COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/data/${f} ${stage}/)
endforeach()
# The guides with the version filled in, CRLF line ends, the Slovak one UTF-8 with a BOM so
# that every Notepad reads its letters.
foreach(g ${guides})
  rebrik_configure_text(${CMAKE_CURRENT_LIST_DIR}/${g} ${CMAKE_BINARY_DIR}/guides/${g})
endforeach()

add_custom_command(OUTPUT ${zip} ${setup}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/stage
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:rebrik> $<TARGET_FILE:rebrik-check> ${stage}/
  ${copy_data}
  COMMAND sh -c "printf '\\357\\273\\277' > $0/CITAJMA.txt && sed 's/$/\\r/' guides/CITAJMA.txt >> $0/CITAJMA.txt && sed 's/$/\\r/' guides/README.txt > $0/README.txt" ${stage}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${zip}
  COMMAND sh -c "cd stage && zip -qrX $0 $1" ${zip} ${stage_name}
  COMMAND makensis -V2 -INPUTCHARSET UTF8 -DVERSION=${PROJECT_VERSION} -DSTAGE=${stage}
          -DOUTFILE=${setup} -DICON=${REBRIK_ICO} "-X!addincludedir ${CMAKE_BINARY_DIR}/nsis"
          ${CMAKE_CURRENT_LIST_DIR}/rebrik.nsi
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  DEPENDS rebrik rebrik-check ${CMAKE_CURRENT_LIST_DIR}/rebrik.nsi ${CMAKE_BINARY_DIR}/nsis/files.nsh
          ${CMAKE_CURRENT_LIST_DIR}/setup-side.bmp ${CMAKE_CURRENT_LIST_DIR}/setup-header.bmp
          ${CMAKE_BINARY_DIR}/guides/CITAJMA.txt ${CMAKE_BINARY_DIR}/guides/README.txt
  VERBATIM)
add_custom_target(windows_packages DEPENDS ${zip} ${setup})
