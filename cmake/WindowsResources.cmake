# Windows resources for a program: the application icon (made from the desktop icons' PNGs), a
# version resource and a manifest (resources/windows/). zor_windows_resources(TARGET DESCRIPTION)
# adds them to TARGET's sources; elsewhere it does nothing.
find_program(ZOR_PYTHON3 NAMES python3 REQUIRED)

set(ZOR_APP_ICON_PNGS
    ${PROJECT_SOURCE_DIR}/resources/desktop/icons/16x16/zoredit.png
    ${PROJECT_SOURCE_DIR}/resources/desktop/icons/32x32/zoredit.png
    ${PROJECT_SOURCE_DIR}/resources/desktop/icons/48x48/zoredit.png
    ${PROJECT_SOURCE_DIR}/resources/desktop/icons/256x256/zoredit.png)

function(zor_windows_resources target description)
    set(ZOR_RC_NAME ${target})
    set(ZOR_RC_DESCRIPTION ${description})
    # Windows versions have four numbers; the missing ones are 0.
    string(REPLACE "." ";" parts "${PROJECT_VERSION}.0.0.0")
    list(SUBLIST parts 0 4 parts)
    list(JOIN parts "," ZOR_RC_VERSION_COMMAS)
    list(JOIN parts "." ZOR_RC_VERSION_DOTS)
    # Made in the caller's folder: a generated file is known only to the targets of its own.
    set(ZOR_RC_ICON ${CMAKE_CURRENT_BINARY_DIR}/${target}.ico)
    add_custom_command(OUTPUT ${ZOR_RC_ICON}
        COMMAND ${ZOR_PYTHON3} ${PROJECT_SOURCE_DIR}/tools/icons/make_ico.py ${ZOR_RC_ICON}
                ${ZOR_APP_ICON_PNGS}
        DEPENDS ${PROJECT_SOURCE_DIR}/tools/icons/make_ico.py ${ZOR_APP_ICON_PNGS}
        COMMENT "Making ${target}'s Windows icon")
    set(ZOR_RC_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest)
    configure_file(${PROJECT_SOURCE_DIR}/resources/windows/program.manifest.in ${ZOR_RC_MANIFEST}
        @ONLY)
    configure_file(${PROJECT_SOURCE_DIR}/resources/windows/program.rc.in
        ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc @ONLY)
    # windres reads neither file itself as a dependency.
    set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${target}.rc PROPERTIES
        OBJECT_DEPENDS "${ZOR_RC_ICON};${ZOR_RC_MANIFEST}")
    target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
endfunction()

# The manifest alone, for test programs: they take UTF-8 as their code page as the programs do
# (Qt's file names pass through it on their way to the cores' UTF-8 paths).
function(zor_windows_manifest target)
    set(ZOR_RC_NAME ${target})
    set(ZOR_RC_DESCRIPTION "${target}")
    set(ZOR_RC_VERSION_DOTS "${PROJECT_VERSION}.0.0")
    string(REGEX MATCH "^[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+" ZOR_RC_VERSION_DOTS
        "${ZOR_RC_VERSION_DOTS}.0")
    set(manifest ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest)
    configure_file(${PROJECT_SOURCE_DIR}/resources/windows/program.manifest.in ${manifest} @ONLY)
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${target}-manifest.rc "1 24 \"${manifest}\"\n")
    set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${target}-manifest.rc PROPERTIES
        OBJECT_DEPENDS ${manifest})
    target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}-manifest.rc)
endfunction()
