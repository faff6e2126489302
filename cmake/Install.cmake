# What `cmake --install` puts beside the two programs (their own rules are with their targets):
# the desktop entry, the document type, the icons, the AppStream metainfo, the manual pages and
# the package documents. The help pages are built into the editor, so they need no files.
include(GNUInstallDirs)

set(ZOR_APP_ID org.zoredit.ZorEdit)
set(ZOR_DESKTOP_DIR ${PROJECT_SOURCE_DIR}/resources/desktop)
set(ZOR_GENERATED_DIR ${PROJECT_BINARY_DIR}/generated/install)

find_program(ZOR_GZIP gzip REQUIRED)

# Gzips a configured file with no name or time stamp inside, so two builds give the same bytes.
function(zor_gzip_file input output)
    add_custom_command(OUTPUT ${output}
        COMMAND ${ZOR_GZIP} -9 -n -c ${input} > ${output}
        DEPENDS ${input}
        VERBATIM)
endfunction()

# The desktop entry and the document type.
install(FILES ${ZOR_DESKTOP_DIR}/${ZOR_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ZOR_DESKTOP_DIR}/zoredit-mime.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
    RENAME zoredit.xml)

# The icon in the hicolor theme: the drawing and its rendered sizes.
install(FILES ${ZOR_DESKTOP_DIR}/icons/scalable/zoredit.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
    install(FILES ${ZOR_DESKTOP_DIR}/icons/${size}x${size}/zoredit.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# The metainfo carries the version of this build.
configure_file(${ZOR_DESKTOP_DIR}/${ZOR_APP_ID}.metainfo.xml
    ${ZOR_GENERATED_DIR}/${ZOR_APP_ID}.metainfo.xml @ONLY)
install(FILES ${ZOR_GENERATED_DIR}/${ZOR_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages, with the version filled in and compressed as Debian installs them.
set(ZOR_MAN_PAGES)
foreach(page zoredit zor)
    configure_file(${PROJECT_SOURCE_DIR}/docs/man/${page}.1 ${ZOR_GENERATED_DIR}/${page}.1 @ONLY)
    zor_gzip_file(${ZOR_GENERATED_DIR}/${page}.1 ${ZOR_GENERATED_DIR}/${page}.1.gz)
    list(APPEND ZOR_MAN_PAGES ${ZOR_GENERATED_DIR}/${page}.1.gz)
endforeach()

# The package's copyright and change log, where Debian expects them.
zor_gzip_file(${PROJECT_SOURCE_DIR}/resources/debian/changelog ${ZOR_GENERATED_DIR}/changelog.gz)
add_custom_target(zor_install_files ALL
    DEPENDS ${ZOR_MAN_PAGES} ${ZOR_GENERATED_DIR}/changelog.gz)
install(FILES ${ZOR_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/resources/debian/copyright ${ZOR_GENERATED_DIR}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zoredit)
