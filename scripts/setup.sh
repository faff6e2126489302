#!/usr/bin/env bash
# Installs what building, running and testing ZorEdit needs on Debian 12.
# Packages already present are not asked for again, so a prepared machine needs no network.
# With --ci also what CI's extra checks need: the font generator's Python module and the
# sources of the toolbar icons, to rebuild the generated files and compare them; the MinGW-w64
# cross compiler, Wine and GoogleTest's sources for the Windows build and its tests, NSIS for its
# setup program, and the Windows build's Qt, as --windows does.
# With --windows the cross compiler, NSIS and what building Qt and giflib for Windows from Debian's
# sources needs, then that build itself (scripts/build-qt-mingw.sh, once: its result is cached).
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libgl-dev
    qt6-qpa-plugins
    qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
    libgtest-dev libgmock-dev libbenchmark-dev
    libgif-dev
    libcli11-dev
    fonts-liberation fontconfig
    clang libclang-rt-14-dev
    xvfb xauth
    poppler-utils
    ser2net
    mosquitto libmosquitto-dev openssl
    desktop-file-utils appstream shared-mime-info groff man-db lintian
)

ci_packages=(
    ccache python3 python3-fontforge
    tango-icon-theme imagemagick
    g++-mingw-w64-x86-64-posix wine64 googletest nsis
)
windows_packages=(
    g++-mingw-w64-x86-64-posix wine64 dpkg-dev perl nsis
)
if [[ ${1:-} == --ci ]]; then
    packages+=("${ci_packages[@]}" "${windows_packages[@]}")
fi
if [[ ${1:-} == --windows ]]; then
    packages+=("${windows_packages[@]}")
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    if [[ $(id -u) -ne 0 ]]; then
        sudo_cmd=(sudo)
    fi
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update -qq
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [[ ${1:-} == --windows || ${1:-} == --ci ]]; then
    # Long the first time on a new machine (see README); at the lowest priority, so that the
    # machine stays usable meanwhile.
    nice -n 19 "$(dirname "$0")/build-qt-mingw.sh"
fi
