# Fuzz targets and their corpus replays.
#
# zor_fuzz_target(NAME SOURCE files... LIBS libs... CORPUS dir [DICT file])
# With ZOR_BUILD_FUZZ the source becomes a libFuzzer program NAME. With ZOR_BUILD_TESTS the same
# source is linked with a plain driver into replay_NAME, and a ctest test feeds it every file of
# the corpus and of regressions/NAME beside the source (every input that ever found a fault), so
# the invariants are checked by every ordinary build and a reproducer once kept keeps being run.
#
# Each target's name, corpus, dictionary and regressions folder are listed in fuzz_targets.txt in
# the build folder, one "name corpus dict regressions" line each, for scripts that run the
# fuzzers (.ci/run).
set(ZOR_FUZZ_LIST ${PROJECT_BINARY_DIR}/fuzz_targets.txt)
file(WRITE ${ZOR_FUZZ_LIST} "")
# All fuzz programs, without the Qt parts of the project (the fuzz build preset builds this).
if(ZOR_BUILD_FUZZ)
    add_custom_target(fuzzers)
endif()

function(zor_fuzz_target name)
    # SOURCE: the target's own file first, then any it compiles in (the regressions folder sits
    # beside the first).
    cmake_parse_arguments(FUZZ "" "CORPUS;DICT" "SOURCE;LIBS" ${ARGN})
    get_filename_component(corpus ${FUZZ_CORPUS} ABSOLUTE)
    list(GET FUZZ_SOURCE 0 source)
    get_filename_component(source ${source} ABSOLUTE)
    get_filename_component(regressions ${source} DIRECTORY)
    set(regressions ${regressions}/regressions/${name})
    set(dict "-")
    if(FUZZ_DICT)
        get_filename_component(dict ${FUZZ_DICT} ABSOLUTE)
    endif()
    if(ZOR_BUILD_FUZZ)
        add_executable(${name} ${FUZZ_SOURCE})
        target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
        target_link_options(${name} PRIVATE -fsanitize=fuzzer)
        target_link_libraries(${name} PRIVATE ${FUZZ_LIBS})
        set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTORCC OFF AUTOUIC OFF)
        add_dependencies(fuzzers ${name})
        file(APPEND ${ZOR_FUZZ_LIST} "${name} ${corpus} ${dict} ${regressions}\n")
    endif()
    if(ZOR_BUILD_TESTS)
        add_executable(replay_${name} ${FUZZ_SOURCE} ${PROJECT_SOURCE_DIR}/tests/fuzz/ReplayMain.cpp)
        set_target_properties(replay_${name} PROPERTIES AUTOMOC OFF AUTORCC OFF AUTOUIC OFF)
        target_link_libraries(replay_${name} PRIVATE ${FUZZ_LIBS})
        add_test(NAME fuzz_replay.${name} COMMAND replay_${name} ${corpus} ${regressions})
    endif()
endfunction()
