# Checks the shape of the build's libraries and programs, fuzz targets included: the folders link
# in the stated order only (which also rules out a cycle), no product folder includes a file of
# tests/, no header puts a system's own header (termios, unistd, windows, ...) before its
# includers, and no plain-C++ core library links Qt, directly or through another library.
#
#   cmake -DSOURCE_DIR=<src> -DWORK_DIR=<dir> [-DGENERATOR=<g>] [-DCXX_COMPILER=<c++>] -P this
#       configures the source afresh in WORK_DIR with `cmake --graphviz` (fuzz targets and
#       benchmarks on, tests off) and checks that graph and the source's includes
#   cmake -DDOT=<graph.dot> -DMAP=<map> [-DSOURCE_DIR=<src>] -P this
#       checks a graph already written, and the includes under SOURCE_DIR when given (the
#       checker's own tests feed it faulty ones)
#
# The map (cmake/LibraryMap.cmake) names each target's folder and kind. Exits non-zero with the
# offending folders and links, the including files, or the chain from the core to Qt.

# The order: each folder with the folders its targets may link. app -> editor, comm, sim ->
# commands -> base, with ui for the Qt layers; tools/ (the `zor` tool) stands beside app. tests/
# (test programs, the fuzz targets that span folders, their support) and bench/ (the benchmark
# programs) may link any product folder; no folder but tests/ links or includes tests/, which
# shares what a benchmark needs as well (the programs a test starts) through harness/, headers
# only. A folder missing here is reported, so that a new one is given its place.
set(order_folders app tools editor comm sim commands ui base bench tests)
set(may_link_app editor comm sim commands ui base)
set(may_link_tools editor comm sim commands ui base)
set(may_link_editor commands ui base)
set(may_link_comm commands ui base)
set(may_link_sim commands ui base)
set(may_link_commands ui base)
set(may_link_ui base)
set(may_link_base "")
set(may_link_bench app tools editor comm sim commands ui base)
set(may_link_tests app tools editor comm sim commands ui base)

if(NOT DOT)
    if(NOT SOURCE_DIR OR NOT WORK_DIR)
        message(FATAL_ERROR "give DOT and MAP, or SOURCE_DIR and WORK_DIR")
    endif()
    file(REMOVE_RECURSE ${WORK_DIR})
    file(MAKE_DIRECTORY ${WORK_DIR})
    # One graph of the whole build, without a file per target.
    file(WRITE ${WORK_DIR}/CMakeGraphVizOptions.cmake
        "set(GRAPHVIZ_GENERATE_PER_TARGET FALSE)\nset(GRAPHVIZ_GENERATE_DEPENDERS FALSE)\n")
    # The fuzz targets and the benchmarks are configured (not built: the compiler need not be
    # clang) so that they are held to the order too.
    set(args -S ${SOURCE_DIR} -B ${WORK_DIR} --graphviz=${WORK_DIR}/libraries.dot
        -DZOR_BUILD_TESTS=OFF -DZOR_BUILD_BENCH=ON -DZOR_BUILD_FUZZ=ON)
    if(GENERATOR)
        list(APPEND args -G ${GENERATOR})
    endif()
    if(CXX_COMPILER)
        list(APPEND args -DCMAKE_CXX_COMPILER=${CXX_COMPILER})
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} ${args}
        RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "configuring ${SOURCE_DIR} for its graph failed:\n${out}")
    endif()
    set(DOT ${WORK_DIR}/libraries.dot)
    set(MAP ${WORK_DIR}/zor-libraries.txt)
endif()

foreach(f ${DOT} ${MAP})
    if(NOT EXISTS ${f})
        message(FATAL_ERROR "missing ${f}")
    endif()
endforeach()

# ---- The map: folder and kind of each of the build's own targets ----
# Variables are keyed by target name; the project's names hold no character that a variable
# reference refuses.
file(STRINGS ${MAP} map_lines)
set(cores "")
foreach(line ${map_lines})
    if(line MATCHES "^([^ ]+) ([^ ]+) ([^ ]+)$")
        set(folder_of_${CMAKE_MATCH_1} ${CMAKE_MATCH_2})
        if(CMAKE_MATCH_3 STREQUAL "core")
            list(APPEND cores ${CMAKE_MATCH_1})
        endif()
    endif()
endforeach()
if(NOT cores)
    message(FATAL_ERROR "no core library in ${MAP}: nothing to check")
endif()

# ---- The graph: nodes are keyed by their id ("node12"), since labels such as Qt6::Core are not
# usable in variable names ----
file(STRINGS ${DOT} dot_lines)
set(nodes "")
foreach(line ${dot_lines})
    if(line MATCHES "^[ \t]*\"(node[0-9]+)\" \\[ label = \"([^\"]*)\"")
        set(label_of_${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
        set(id_of_${CMAKE_MATCH_2} ${CMAKE_MATCH_1})
        set(out_of_${CMAKE_MATCH_1} "")
        list(APPEND nodes ${CMAKE_MATCH_1})
    elseif(line MATCHES "^[ \t]*\"(node[0-9]+)\" -> \"(node[0-9]+)\"")
        list(APPEND out_of_${CMAKE_MATCH_1} ${CMAKE_MATCH_2})
    endif()
endforeach()
if(NOT nodes)
    message(FATAL_ERROR "no node in ${DOT}")
endif()

set(problems "")

# ---- Folders: an edge between two folders for every link that crosses from one to the other ----
set(folders "")
foreach(node ${nodes})
    set(name "${label_of_${node}}")
    if(NOT name MATCHES "::" AND DEFINED folder_of_${name})
        set(from ${folder_of_${name}})
        list(APPEND folders ${from})
        foreach(to_node ${out_of_${node}})
            set(to_name "${label_of_${to_node}}")
            if(NOT to_name MATCHES "::" AND DEFINED folder_of_${to_name})
                set(to ${folder_of_${to_name}})
                if(NOT to STREQUAL from)
                    list(APPEND folder_out_${from} ${to})
                    list(APPEND folder_links "${from} -> ${to} (${name} -> ${to_name})")
                endif()
            endif()
        endforeach()
    endif()
endforeach()
list(REMOVE_DUPLICATES folders)

# Peel off folders that link no remaining folder or that no remaining folder links: what is left
# lies on a cycle.
set(remaining ${folders})
set(changed TRUE)
while(changed)
    set(changed FALSE)
    set(linked "")
    foreach(f ${remaining})
        list(APPEND linked ${folder_out_${f}})
    endforeach()
    set(next "")
    foreach(f ${remaining})
        set(links_out FALSE)
        foreach(to ${folder_out_${f}})
            list(FIND remaining ${to} at)
            if(at GREATER -1)
                set(links_out TRUE)
                break()
            endif()
        endforeach()
        list(FIND linked ${f} linked_in)
        if(links_out AND linked_in GREATER -1)
            list(APPEND next ${f})
        else()
            set(changed TRUE)
        endif()
    endforeach()
    set(remaining ${next})
endwhile()
if(remaining)
    string(REPLACE ";" " " names "${remaining}")
    string(APPEND problems "folders whose libraries link each other in a cycle: ${names}\n")
    foreach(link ${folder_links})
        if(link MATCHES "^([^ ]+) -> ([^ ]+) ")
            list(FIND remaining ${CMAKE_MATCH_1} a)
            list(FIND remaining ${CMAKE_MATCH_2} b)
            if(a GREATER -1 AND b GREATER -1)
                string(APPEND problems "  ${link}\n")
            endif()
        endif()
    endforeach()
endif()

# ---- The order: every link between two folders goes the stated way ----
foreach(f ${folders})
    list(FIND order_folders ${f} at)
    if(at EQUAL -1)
        string(APPEND problems "folder ${f} has no place in the order of folders\n")
    endif()
endforeach()
foreach(link ${folder_links})
    if(link MATCHES "^([^ ]+) -> ([^ ]+) ")
        set(from ${CMAKE_MATCH_1})
        set(to ${CMAKE_MATCH_2})
        list(FIND order_folders ${from} known)
        list(FIND may_link_${from} ${to} allowed)
        if(known GREATER -1 AND allowed EQUAL -1)
            string(APPEND problems "out of order: ${link}\n")
        endif()
    endif()
endforeach()

# ---- Includes: no folder but tests/ includes a file of tests/ ----
set(product_folders ${order_folders})
list(REMOVE_ITEM product_folders tests bench)
if(SOURCE_DIR)
    foreach(f ${product_folders} bench harness)
        file(GLOB_RECURSE sources ${SOURCE_DIR}/${f}/*.h ${SOURCE_DIR}/${f}/*.cpp)
        foreach(source ${sources})
            file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]tests/")
            if(includes)
                file(RELATIVE_PATH rel ${SOURCE_DIR} ${source})
                string(APPEND problems "${rel} (in ${f}) includes tests/\n")
            endif()
        endforeach()
    endforeach()
endif()

# ---- Headers: what one system offers stays in the .cpp files behind the platform seam. Only a
# header in a win32/ folder, seen by the Windows build alone, may name the Win32 types of its
# contract (HANDLE, DCB) through <windows.h> ----
if(SOURCE_DIR)
    set(system_header "(termios|unistd|fcntl|dirent|poll|pthread|signal|windows|winsock2|ws2tcpip|io)\\.h|sys/[a-z_]+\\.h|arpa/[a-z_]+\\.h|netinet/[a-z_]+\\.h|netdb\\.h")
    foreach(f ${product_folders})
        file(GLOB_RECURSE headers ${SOURCE_DIR}/${f}/*.h)
        foreach(header ${headers})
            file(RELATIVE_PATH rel ${SOURCE_DIR} ${header})
            if(rel MATCHES "/win32/")
                continue()
            endif()
            file(STRINGS ${header} includes
                REGEX "^[ \t]*#[ \t]*include[ \t]*<(${system_header})>")
            foreach(line ${includes})
                string(REGEX REPLACE ".*<([^>]+)>.*" "\\1" name "${line}")
                string(APPEND problems "${rel} (a header) includes <${name}>\n")
            endforeach()
        endforeach()
    endforeach()
endif()

# ---- Cores: nothing reachable from a core library may be a Qt library ----
foreach(core ${cores})
    if(NOT DEFINED id_of_${core})
        string(APPEND problems "core library ${core} is not in the graph\n")
        continue()
    endif()
    set(start ${id_of_${core}})
    set(seen ${start})
    set(queue ${start})
    set(parent_${start} "")
    set(qt_node "")
    while(queue AND NOT qt_node)
        list(POP_FRONT queue node)
        foreach(to ${out_of_${node}})
            list(FIND seen ${to} at)
            if(at EQUAL -1)
                list(APPEND seen ${to})
                set(parent_${to} ${node})
                if("${label_of_${to}}" MATCHES "^Qt[0-9]*::")
                    set(qt_node ${to})
                    break()
                endif()
                list(APPEND queue ${to})
            endif()
        endforeach()
    endwhile()
    if(qt_node)
        set(chain "${label_of_${qt_node}}")
        set(node ${parent_${qt_node}})
        while(node)
            set(chain "${label_of_${node}} -> ${chain}")
            set(node ${parent_${node}})
        endwhile()
        string(APPEND problems "core library ${core} links Qt: ${chain}\n")
    endif()
endforeach()

if(problems)
    # Printed unwrapped, so that each finding stays on one line.
    message(NOTICE "library graph ${DOT}:\n${problems}")
    message(FATAL_ERROR "the libraries are not in shape")
endif()
list(LENGTH cores core_count)
list(LENGTH folders folder_count)
message(STATUS "library graph: ${folder_count} folders in order without a cycle, ${core_count} core libraries without Qt")
