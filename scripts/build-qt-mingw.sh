#!/usr/bin/env bash
# Builds Qt for 64-bit Windows (MinGW-w64) from Debian's own sources, once per machine, so that the
# editor can be cross-built: Debian ships Qt for Linux only. Fetches the qt6-base source package of
# the version the host's Qt tools have (moc, rcc and uic of the host run in the cross build, so the
# two must match) and giflib's, for GIF export, and cross-builds them with the posix MinGW-w64
# compiler into a cache outside the clone:
#
#   ${ZOR_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/zoredit}/qt-<version>-mingw-<key>
#
# where the key is a short hash of the configure line and the build steps below, so that changing
# either builds afresh beside the old one. A finished install has the stamp file; when it is there
# the script only prints the folder. The last line printed is always the install prefix, for
# callers: prefix=$(scripts/build-qt-mingw.sh | tail -n 1). With --installed it builds nothing: it
# prints the folder when that build is there and fails otherwise (the Windows preset asks so).
#
# The sources come through a private apt configuration (its own sources list with deb-src lines
# for the archives the machine already uses, its own lists and cache under the cache folder), so
# the system's package lists are never touched. Needs dpkg-dev, cmake, ninja-build, perl,
# g++-mingw-w64-x86-64-posix and qt6-base-dev-tools (scripts/setup.sh --windows installs them).
# A first run takes long (see README); run it with nice if the machine has other work.
set -euo pipefail

cache_dir=${ZOR_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/zoredit}
jobs=${ZOR_JOBS:-$(nproc)}
mingw=x86_64-w64-mingw32

# The host's Qt decides the version fetched: a different version's tools would not build it.
qt_source_version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev-tools 2>/dev/null || true)
if [[ -z $qt_source_version ]]; then
    echo "build-qt-mingw: the host's Qt tools (qt6-base-dev-tools) are not installed" >&2
    exit 1
fi
qt_version=${qt_source_version%%+*}
qt_version=${qt_version%%-*}
gif_source_version=$(dpkg-query -W -f='${source:Version}' libgif-dev 2>/dev/null || true)

# Everything the Windows build of the editor links or loads, and nothing more: each module left
# out saves minutes. tabletevent is off because Debian's tarball lacks the wintab header it needs
# on Windows; OpenGL stays on because the windows platform plugin does not compile without it
# (qwindowswindow.cpp). The runtime (libgcc, libstdc++, winpthread) is linked into each DLL, as
# zor.exe has it, so that only Qt's own DLLs need deploying beside the program. Direct2D (a second
# Windows platform plugin) and JPEG are of no use to the editor and would cost a tenth of the time.
# DirectWrite goes with Direct2D: Qt 6.4 compiles its DirectWrite font engine only when Direct2D is
# on, yet PrintSupport calls into it whenever DirectWrite is on, and the link of Qt6PrintSupport.dll
# fails; GDI draws the editor's fonts.
qt_configure=(
    -G Ninja
    -DCMAKE_BUILD_TYPE=Release
    -DBUILD_SHARED_LIBS=ON
    -DQT_HOST_PATH=/usr
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    -DQT_BUILD_EXAMPLES=OFF
    -DQT_BUILD_TESTS=OFF
    -DQT_BUILD_BENCHMARKS=OFF
    -DQT_BUILD_MANUAL_TESTS=OFF
    -DFEATURE_gui=ON
    -DFEATURE_widgets=ON
    -DFEATURE_printsupport=ON
    -DFEATURE_testlib=ON
    -DFEATURE_opengl=ON
    -DFEATURE_tabletevent=OFF
    -DFEATURE_network=OFF
    -DFEATURE_sql=OFF
    -DFEATURE_dbus=OFF
    -DFEATURE_concurrent=OFF
    -DFEATURE_xml=OFF
    -DFEATURE_vulkan=OFF
    -DFEATURE_direct2d=OFF
    -DFEATURE_directwrite=OFF
    -DFEATURE_jpeg=OFF
    -DFEATURE_system_zlib=OFF
    -DFEATURE_pkg_config=OFF
    -DCMAKE_EXE_LINKER_FLAGS=-static
    -DCMAKE_SHARED_LINKER_FLAGS=-static
    -DCMAKE_MODULE_LINKER_FLAGS=-static
)

# The deb-src lines: the machine's own archives (deb822 files and one-line lists alike), as deb
# lines say them, turned into source lines.
source_lines() {
    local f
    for f in /etc/apt/sources.list.d/*.sources; do
        [[ -f $f ]] || continue
        awk '
            function flush() {
                if (types ~ /deb/ && uris != "" && suites != "") {
                    n = split(uris, u, " "); m = split(suites, s, " ")
                    for (i = 1; i <= n; i++)
                        for (j = 1; j <= m; j++)
                            printf "deb-src %s%s %s %s\n", opts, u[i], s[j], comps
                }
                types = uris = suites = comps = opts = ""
            }
            /^[ \t]*$/ { flush(); next }
            /^#/ { next }
            tolower($1) == "types:" { $1 = ""; types = $0 }
            tolower($1) == "uris:" { $1 = ""; uris = $0 }
            tolower($1) == "suites:" { $1 = ""; suites = $0 }
            tolower($1) == "components:" { $1 = ""; comps = $0 }
            tolower($1) == "signed-by:" { opts = "[signed-by=" $2 "] " }
            END { flush() }
        ' "$f"
    done
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [[ -f $f ]] || continue
        sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$f"
    done
}

# apt-get with the private configuration: the system's lists, sources and cache stay as they are.
private_apt() {
    local apt_dir=$cache_dir/apt
    local opts=(
        -o "Dir::Etc::SourceList=$apt_dir/sources.list"
        -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
        -o "Dir::State::Lists=$apt_dir/lists"
        -o "Dir::Cache=$apt_dir/cache"
    )
    # As root apt downloads as the _apt user, who may not enter a private folder under $HOME.
    if [[ $(id -u) -eq 0 ]]; then
        opts+=(-o APT::Sandbox::User=root)
    fi
    apt-get "${opts[@]}" "$@"
}

fetch_sources() {
    local apt_dir=$cache_dir/apt
    mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
    source_lines >"$apt_dir/sources.list"
    if ! grep -q . "$apt_dir/sources.list"; then
        echo "build-qt-mingw: found no Debian archive in /etc/apt to take sources from" >&2
        exit 1
    fi
    private_apt -qq update
    mkdir -p "$work/src"
    (cd "$work/src" && private_apt -qq source "qt6-base=$qt_source_version")
    if [[ -n $gif_source_version ]]; then
        (cd "$work/src" && private_apt -qq source "giflib=$gif_source_version")
    else
        (cd "$work/src" && private_apt -qq source giflib)
    fi
}

# giflib is a handful of C files; its own Makefile builds for the host, so they are compiled here
# straight into a static library (linked into zoredit.exe and zor.exe, no DLL to deploy).
build_giflib() {
    local src obj
    src=$(find "$work/src" -maxdepth 1 -type d -name 'giflib-*' | head -n 1)
    obj=$work/giflib
    rm -rf "$obj"
    mkdir -p "$obj" "$prefix/include" "$prefix/lib"
    local c
    for c in dgif_lib egif_lib gifalloc gif_err gif_font gif_hash openbsd-reallocarray quantize; do
        "$mingw-gcc-posix" -O2 -Wall -std=gnu99 -c "$src/$c.c" -o "$obj/$c.o"
    done
    "$mingw-ar" rcs "$prefix/lib/libgif.a" "$obj"/*.o
    install -m 644 "$src/gif_lib.h" "$prefix/include/gif_lib.h"
}

build_qt() {
    local src toolchain
    src=$(find "$work/src" -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)
    # Kept in the install: Qt's lib/cmake/Qt6/qt.toolchain.cmake, for builds against this Qt,
    # loads the toolchain that built it unless QT_CHAINLOAD_TOOLCHAIN_FILE names another.
    toolchain=$prefix/lib/cmake/mingw-w64-toolchain.cmake
    mkdir -p "$(dirname "$toolchain")"
    cat >"$toolchain" <<EOF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER $mingw-gcc-posix)
set(CMAKE_CXX_COMPILER $mingw-g++-posix)
set(CMAKE_RC_COMPILER $mingw-windres)
set(CMAKE_FIND_ROOT_PATH /usr/$mingw)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF
    cmake -S "$src" -B "$work/qt-build" "${qt_configure[@]}" \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix"
    cmake --build "$work/qt-build" --parallel "$jobs"
    cmake --install "$work/qt-build"
}

# The key covers what decides the result: the versions, the configure line and the build steps
# (bash prints the functions without their comments, so rewording a comment keeps the cache).
key=$(
    {
        echo "$qt_source_version $gif_source_version"
        printf '%s\n' "${qt_configure[@]}"
        declare -f source_lines fetch_sources build_giflib build_qt
    } | sha256sum | cut -c1-12
)
prefix=$cache_dir/qt-$qt_version-mingw-$key
stamp=$prefix/.zoredit-built

if [[ -f $stamp ]]; then
    echo "$prefix"
    exit 0
fi
if [[ ${1:-} == --installed ]]; then
    echo "build-qt-mingw: Qt $qt_version for Windows is not built yet ($prefix)" >&2
    exit 1
fi

for tool in "$mingw-g++-posix" "$mingw-gcc-posix" cmake ninja perl dpkg-source; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "build-qt-mingw: $tool is missing; run scripts/setup.sh --windows" >&2
        exit 1
    fi
done

# The work folder outlives a run that failed, so that the next one goes on where it stopped
# (ninja rebuilds only what changed); the install is always made afresh.
work=$cache_dir/work-qt-$qt_version-mingw
rm -rf "$prefix"
for old in "$cache_dir"/qt-*-mingw-*; do
    # Installs that never finished, for whatever key, are of no use to anyone.
    if [[ -d $old && ! -f $old/.zoredit-built ]]; then
        rm -rf "$old"
    fi
done
mkdir -p "$work"
echo "build-qt-mingw: building Qt $qt_version and giflib for Windows into $prefix" >&2
if [[ ! -f $work/src/.fetched ]]; then
    rm -rf "$work/src"
    fetch_sources
    touch "$work/src/.fetched"
fi
build_giflib
build_qt
rm -rf "$work"
date -u +%FT%TZ >"$stamp"
echo "$prefix"
