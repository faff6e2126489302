# The Windows setup program, ZorEdit-<version>-setup.exe, made by NSIS (makensis) from
# resources/windows/setup.nsi.in: `cmake --build --preset windows --target windows-setup`.
# Qt 6.4's qtbase has no deployment tool, so the files it carries are listed: the programs, the
# Qt DLLs and plugins the editor loads (the build's own list of them), the symbol font, Qt's own
# Czech catalogue (the editor's catalogues and help pages are built into zoredit.exe) and the
# copyright notice. A build without the editor makes a setup program of zor.exe alone. The list
# becomes two NSIS macros, one installing each file and one removing exactly those, so that
# uninstalling never deletes what a user put beside them.
find_program(ZOR_MAKENSIS makensis)
if(NOT ZOR_MAKENSIS)
    message(STATUS "No makensis (package nsis): no windows-setup target")
    return()
endif()

set(ZOR_SETUP_DIR ${PROJECT_BINARY_DIR}/setup)
set(ZOR_SETUP_EXE ${PROJECT_BINARY_DIR}/ZorEdit-${PROJECT_VERSION}-setup.exe)
set(ZOR_SETUP_INSTALL "")
set(ZOR_SETUP_REMOVE "")
set(ZOR_SETUP_FOLDERS "")
set(ZOR_SETUP_INPUTS "")
set(ZOR_SETUP_TARGETS "")

# zor_setup_file(FOLDER SOURCE NAME): SOURCE (a path or a generator expression) installed as
# $INSTDIR\FOLDER\NAME; FOLDER "." is the installation folder itself.
function(zor_setup_file folder source name)
    if(folder STREQUAL ".")
        set(out "$INSTDIR")
    else()
        string(REPLACE "/" "\\" folder "${folder}")
        set(out "$INSTDIR\\${folder}")
        if(NOT folder IN_LIST ZOR_SETUP_FOLDERS)
            list(APPEND ZOR_SETUP_FOLDERS "${folder}")
            set(ZOR_SETUP_FOLDERS "${ZOR_SETUP_FOLDERS}" PARENT_SCOPE)
        endif()
    endif()
    set(ZOR_SETUP_INSTALL
        "${ZOR_SETUP_INSTALL}  SetOutPath \"${out}\"\n  File \"/oname=${name}\" \"${source}\"\n"
        PARENT_SCOPE)
    set(ZOR_SETUP_REMOVE "${ZOR_SETUP_REMOVE}  Delete \"${out}\\${name}\"\n" PARENT_SCOPE)
endfunction()

# A program or DLL target's file, named as the build names it.
function(zor_setup_target folder target)
    zor_setup_file(${folder} "$<TARGET_FILE:${target}>" "$<TARGET_FILE_NAME:${target}>")
    set(ZOR_SETUP_INSTALL "${ZOR_SETUP_INSTALL}" PARENT_SCOPE)
    set(ZOR_SETUP_REMOVE "${ZOR_SETUP_REMOVE}" PARENT_SCOPE)
    set(ZOR_SETUP_FOLDERS "${ZOR_SETUP_FOLDERS}" PARENT_SCOPE)
endfunction()

zor_setup_target(. zor)
list(APPEND ZOR_SETUP_TARGETS zor)
set(ZOR_SETUP_EDITOR OFF)
if(TARGET zoredit)
    set(ZOR_SETUP_EDITOR ON)
    zor_setup_target(. zoredit)
    list(APPEND ZOR_SETUP_TARGETS zoredit)
    # Qt's DLLs and plugins, by the list the build deploys beside the program
    # (ZOR_QT_RUNTIME, cmake/WindowsQt.cmake), in the same folders.
    if(NOT DEFINED ZOR_QT_RUNTIME)
        message(FATAL_ERROR "The editor's Qt files are not listed (cmake/WindowsQt.cmake)")
    endif()
    foreach(file ${ZOR_QT_RUNTIME})
        string(REGEX REPLACE "^(bin|plugins)/" "" placed ${file})
        get_filename_component(folder "${placed}" DIRECTORY)
        get_filename_component(name "${placed}" NAME)
        if(folder STREQUAL "")
            set(folder .)
        endif()
        zor_setup_file(${folder} ${ZOR_QT_PREFIX}/${file} ${name})
        list(APPEND ZOR_SETUP_INPUTS ${ZOR_QT_PREFIX}/${file})
    endforeach()
    # The symbol font, where the editor looks beside itself.
    zor_setup_file(fonts ${PROJECT_SOURCE_DIR}/resources/fonts/ZorSymbols.TTF ZorSymbols.TTF)
    list(APPEND ZOR_SETUP_INPUTS ${PROJECT_SOURCE_DIR}/resources/fonts/ZorSymbols.TTF)
    # Qt's own texts (the buttons of its dialogues) in Czech: the host's catalogue, the same on
    # every platform, in the translations folder the editor falls back to beside itself.
    find_file(ZOR_QT_CS_CATALOGUE qtbase_cs.qm PATHS /usr/share/qt6/translations
        NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
    if(ZOR_QT_CS_CATALOGUE)
        zor_setup_file(translations ${ZOR_QT_CS_CATALOGUE} qtbase_cs.qm)
        list(APPEND ZOR_SETUP_INPUTS ${ZOR_QT_CS_CATALOGUE})
    else()
        message(WARNING "No qtbase_cs.qm (package qt6-translations-l10n): Qt's dialogues stay "
            "English in the Czech interface of the setup program's editor")
    endif()
endif()
zor_setup_file(. ${PROJECT_SOURCE_DIR}/resources/debian/copyright copyright.txt)
list(APPEND ZOR_SETUP_INPUTS ${PROJECT_SOURCE_DIR}/resources/debian/copyright)

# Folders go after their files, deepest first; each only when empty.
list(SORT ZOR_SETUP_FOLDERS ORDER DESCENDING)
foreach(folder ${ZOR_SETUP_FOLDERS})
    string(APPEND ZOR_SETUP_REMOVE "  RMDir \"$INSTDIR\\${folder}\"\n")
endforeach()
set(ZOR_SETUP_DEFINES "")
if(ZOR_SETUP_EDITOR)
    set(ZOR_SETUP_DEFINES "!define ZOR_EDITOR\n")
endif()
file(GENERATE OUTPUT ${ZOR_SETUP_DIR}/files.nsh CONTENT
"; Made by cmake/WindowsSetup.cmake: what the setup program installs, and how it goes again.
${ZOR_SETUP_DEFINES}!macro ZorInstallFiles
${ZOR_SETUP_INSTALL}!macroend
!macro ZorRemoveFiles
${ZOR_SETUP_REMOVE}!macroend
")

# The setup program's icon is the programs' own.
add_custom_command(OUTPUT ${ZOR_SETUP_DIR}/setup.ico
    COMMAND ${ZOR_PYTHON3} ${PROJECT_SOURCE_DIR}/tools/icons/make_ico.py ${ZOR_SETUP_DIR}/setup.ico
            ${ZOR_APP_ICON_PNGS}
    DEPENDS ${PROJECT_SOURCE_DIR}/tools/icons/make_ico.py ${ZOR_APP_ICON_PNGS}
    COMMENT "Making the setup program's icon")
# NSIS's version resource wants four numbers.
string(REPLACE "." ";" parts "${PROJECT_VERSION}.0.0.0")
list(SUBLIST parts 0 4 parts)
list(JOIN parts "." ZOR_SETUP_VERSION4)
configure_file(${PROJECT_SOURCE_DIR}/resources/windows/setup.nsi.in ${ZOR_SETUP_DIR}/setup.nsi @ONLY)

add_custom_command(OUTPUT ${ZOR_SETUP_EXE}
    COMMAND ${ZOR_MAKENSIS} -V2 -NOCD -INPUTCHARSET UTF8 ${ZOR_SETUP_DIR}/setup.nsi
    DEPENDS ${ZOR_SETUP_DIR}/setup.nsi ${ZOR_SETUP_DIR}/files.nsh ${ZOR_SETUP_DIR}/setup.ico
            ${ZOR_SETUP_INPUTS} ${ZOR_SETUP_TARGETS}
    WORKING_DIRECTORY ${ZOR_SETUP_DIR}
    COMMENT "Making ZorEdit-${PROJECT_VERSION}-setup.exe")
add_custom_target(windows-setup DEPENDS ${ZOR_SETUP_EXE})
