# Windows: the library built statically by packaging/windows/build.sh, the program's resources
# (icon, version, manifest) and one self-contained executable per program, which imports only
# system DLLs: the C++ and GCC runtimes and winpthread are linked in.
set(REBRIK_ALLEGRO_PREFIX ${CMAKE_BINARY_DIR}/allegro/install CACHE PATH
    "Where the static Allegro for Windows is installed")
add_library(rebrik_desktop INTERFACE)
target_include_directories(rebrik_desktop INTERFACE ${REBRIK_ALLEGRO_PREFIX}/include)
target_compile_definitions(rebrik_desktop INTERFACE ALLEGRO_STATICLINK)
target_link_libraries(rebrik_desktop INTERFACE ${REBRIK_ALLEGRO_PREFIX}/lib/liballeg.a
  ddraw dinput dsound dxguid winmm ole32 gdi32 comdlg32 user32 kernel32)
add_link_options(-static -static-libgcc -static-libstdc++)
set(REBRIK_PLATFORM_SOURCE src/platform/win.cpp)

# The icon in the sizes Explorer, the taskbar and the Start menu use, from our SVG.
set(REBRIK_ICO ${CMAKE_BINARY_DIR}/rebrik.ico)
set(pngs)
set(render)
foreach(size 16 24 32 48 64 128 256)
  list(APPEND pngs icon/${size}.png)
  list(APPEND render COMMAND rsvg-convert -w ${size} -h ${size} -o icon/${size}.png
       ${CMAKE_SOURCE_DIR}/packaging/rebrik.svg)
endforeach()
add_custom_command(OUTPUT ${REBRIK_ICO}
  COMMAND mkdir -p icon
  ${render}
  COMMAND convert ${pngs} ${REBRIK_ICO}
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/rebrik.svg VERBATIM)

# The version resource reads the version of project() as four numbers.
set(REBRIK_VERSION_COMMAS ${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0)
rebrik_configure_text(${CMAKE_CURRENT_LIST_DIR}/rebrik.rc.in ${CMAKE_BINARY_DIR}/rebrik.rc)
set_source_files_properties(${CMAKE_BINARY_DIR}/rebrik.rc PROPERTIES
  OBJECT_DEPENDS "${REBRIK_ICO};${CMAKE_CURRENT_LIST_DIR}/rebrik.manifest")
set(REBRIK_PROGRAM_RESOURCES ${CMAKE_BINARY_DIR}/rebrik.rc)
