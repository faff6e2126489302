# The Qt the Windows build of the editor stands on: cross-built from Debian's sources by
# scripts/build-qt-mingw.sh into a cache outside the clone (with giflib beside it), found through
# that script so that its key decides the folder, or given as ZOR_QT_MINGW_PREFIX. Its tools
# (moc, rcc, uic, lrelease) are the build machine's own Qt of the same version.
set(ZOR_QT_MINGW_PREFIX "" CACHE PATH
    "Qt cross-built for Windows (empty: the one scripts/build-qt-mingw.sh has built)")
set(ZOR_QT_PREFIX "${ZOR_QT_MINGW_PREFIX}")
if(ZOR_QT_PREFIX STREQUAL "")
    execute_process(COMMAND ${PROJECT_SOURCE_DIR}/scripts/build-qt-mingw.sh --installed
        OUTPUT_VARIABLE ZOR_QT_PREFIX ERROR_VARIABLE ZOR_QT_PROBLEM RESULT_VARIABLE ZOR_QT_STATUS
        OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT ZOR_QT_STATUS EQUAL 0)
        message(FATAL_ERROR "${ZOR_QT_PROBLEM}The editor for Windows needs Qt cross-built for "
            "it: run scripts/setup.sh --windows once (it takes long the first time), or "
            "configure with -DZOR_WITH_QT=OFF for zor.exe alone.")
    endif()
endif()
message(STATUS "Qt for Windows: ${ZOR_QT_PREFIX}")

# The toolchain looks for libraries and packages under the MinGW-w64 root only.
list(APPEND CMAKE_FIND_ROOT_PATH ${ZOR_QT_PREFIX})
list(APPEND CMAKE_PREFIX_PATH ${ZOR_QT_PREFIX})
set(QT_HOST_PATH /usr CACHE PATH "The build machine's Qt, whose tools run in the build")
file(GLOB ZOR_HOST_QT_TOOLS LIST_DIRECTORIES true /usr/lib/*/cmake/Qt6CoreTools)
list(GET ZOR_HOST_QT_TOOLS 0 ZOR_HOST_QT_TOOLS)
get_filename_component(ZOR_HOST_QT_CMAKE_DIR ${ZOR_HOST_QT_TOOLS} DIRECTORY)
set(QT_HOST_PATH_CMAKE_DIR ${ZOR_HOST_QT_CMAKE_DIR} CACHE PATH "")

# What the editor loads of Qt, by our own list (Qt 6.4's qtbase has no deployment tool): the
# libraries beside the program, the plugins in their folders under it, where Qt looks first. The
# offscreen platform runs the editor without a display (tests, a setup program's check); Test is
# for the test programs alone. zoredit-runtime.txt in the build folder lists the editor's files,
# relative to the program's folder, for the setup program.
set(ZOR_QT_RUNTIME
    bin/Qt6Core.dll
    bin/Qt6Gui.dll
    bin/Qt6Widgets.dll
    bin/Qt6PrintSupport.dll
    plugins/platforms/qwindows.dll
    plugins/platforms/qoffscreen.dll
    plugins/styles/qwindowsvistastyle.dll
    plugins/imageformats/qgif.dll
    plugins/imageformats/qico.dll
)
set(ZOR_QT_TEST_RUNTIME bin/Qt6Test.dll)

# Copies Qt's files (plugins/ folder left out) into the programs' folder, once for all targets.
function(zor_qt_runtime_target name)
    if(TARGET ${name})
        return()
    endif()
    set(outputs)
    foreach(file ${ARGN})
        if(NOT EXISTS ${ZOR_QT_PREFIX}/${file})
            message(FATAL_ERROR "The Qt for Windows in ${ZOR_QT_PREFIX} has no ${file}")
        endif()
        string(REGEX REPLACE "^(bin|plugins)/" "" placed ${file})
        set(output ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${placed})
        # Without their symbols, as the programs ship: a third of their size.
        add_custom_command(OUTPUT ${output}
            COMMAND ${CMAKE_COMMAND} -E copy ${ZOR_QT_PREFIX}/${file} ${output}
            COMMAND ${CMAKE_STRIP} --strip-unneeded ${output}
            DEPENDS ${ZOR_QT_PREFIX}/${file})
        list(APPEND outputs ${output})
    endforeach()
    add_custom_target(${name} DEPENDS ${outputs})
endfunction()

# Puts the Qt files target loads beside it; TEST adds what the test programs load.
function(zor_deploy_qt_runtime target)
    zor_qt_runtime_target(zor_qt_runtime ${ZOR_QT_RUNTIME})
    add_dependencies(${target} zor_qt_runtime)
    if(ARGV1 STREQUAL "TEST")
        zor_qt_runtime_target(zor_qt_test_runtime ${ZOR_QT_TEST_RUNTIME})
        add_dependencies(${target} zor_qt_test_runtime)
    endif()
endfunction()

set(ZOR_RUNTIME_LIST)
foreach(file ${ZOR_QT_RUNTIME})
    string(REGEX REPLACE "^(bin|plugins)/" "" placed ${file})
    string(APPEND ZOR_RUNTIME_LIST "${placed}\n")
endforeach()
file(WRITE ${CMAKE_BINARY_DIR}/zoredit-runtime.txt "${ZOR_RUNTIME_LIST}")
