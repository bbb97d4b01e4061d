# Installation as a desktop game: the binary in lib/rebrik, its data in share/rebrik, and a
# launcher in bin that starts the game in its data folder, with a menu entry and an icon.
install(TARGETS rebrik RUNTIME DESTINATION lib/rebrik)
install(PROGRAMS packaging/rebrik.sh DESTINATION bin RENAME rebrik)
install(DIRECTORY data/ DESTINATION share/rebrik
        FILES_MATCHING PATTERN "*.bmp" PATTERN "*.tga" PATTERN "*.txt")
install(FILES packaging/rebrik.desktop DESTINATION share/applications)
install(FILES packaging/rebrik.svg DESTINATION share/icons/hicolor/scalable/apps)
