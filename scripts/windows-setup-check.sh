#!/usr/bin/env bash
# The Windows setup program under Wine, in a Wine prefix of its own: installs it silently for all
# users (Program Files, HKLM) and then for the user alone (%LOCALAPPDATA%\Programs, HKCU), each
# time with zor.exe on PATH; runs the installed zor.exe --version, by its path and by PATH, and
# zoredit.exe --check where the editor is in it; uninstalls silently and checks that nothing is
# left: the folder, the Start-menu entry, the uninstall entry, the .zor association, the PATH
# entry. Every DLL the installed programs and plugins name must be installed or the system's, and
# a PATH too long for the setup program to change is left as it was.
# Waits on Wine's server, not the clock: an uninstaller runs on from a copy of itself.
#
# Needs the setup program (cmake --build --preset windows --target windows-setup), or SETUP_EXE.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

setup=${SETUP_EXE:-$(ls -t "$root"/build-windows/ZorEdit-*-setup.exe 2>/dev/null | head -n 1 || true)}
[[ -n $setup && -f $setup ]] || {
    echo "windows-setup-check: no setup program; build the windows-setup target first" >&2
    exit 1
}
version=$(basename "$setup")
version=${version#ZorEdit-}
version=${version%-setup.exe}

name=windows-setup-check
source "$(dirname "$0")/find-wine.sh"

work=$(mktemp -d)
export WINEPREFIX=$work/prefix
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
cleanup() {
    "$wineserver" -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
echo "Setup program: $setup ($(du -k "$setup" | cut -f1) KB); Wine prefix: $WINEPREFIX"

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# Runs a Windows program and waits until every process of the prefix has ended (an uninstaller
# copies itself to the temporary folder and runs on from there).
run() {
    local status=0
    "$wine" "$@" </dev/null || status=$?
    "$wineserver" -w
    return $status
}

# What Wine prints, without its carriage returns.
output() {
    "$wine" "$@" </dev/null 2>/dev/null | tr -d '\r'
}

unix_path() {
    "$wine" winepath -u "$1" 2>/dev/null | tr -d '\r'
}

# reg_value KEY NAME: the value's data, empty (and status 1) when there is none.
reg_value() {
    local line
    line=$(output reg query "$1" /v "$2" | grep -i "^ *$2 " || true)
    [[ -n $line ]] || return 1
    sed -E 's/^ *[^ ]+ +REG_[A-Z_]+ +//' <<<"$line"
}

reg_exists() {
    "$wine" reg query "$1" </dev/null >/dev/null 2>&1
}

# The prefix, and where its folders are.
run wineboot -i >/dev/null 2>&1
local_app_data=$(output cmd /c echo '%LOCALAPPDATA%')
program_data=$(output cmd /c echo '%ProgramData%')
app_data=$(output cmd /c echo '%APPDATA%')
system32=$WINEPREFIX/drive_c/windows/system32
objdump=$(command -v x86_64-w64-mingw32-objdump)

uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\ZorEdit'

# check_mode MODE ROOT FOLDER START_MENU ENVIRONMENT
check_mode() {
    local mode=$1 hive=$2 folder=$3 start_menu=$4 environment=$5
    echo "== $mode: $folder"
    if ! run "$setup" /S "/$mode" /PATH; then
        fail "$mode: the setup program failed"
        return
    fi
    local location
    location=$(reg_value "$hive\\$uninstall_key" InstallLocation) ||
        fail "$mode: no uninstall entry in $hive"
    [[ ${location,,} == "${folder,,}" ]] || fail "$mode: installed in '$location', not '$folder'"
    local dir
    dir=$(unix_path "$folder")
    local file
    for file in zor.exe uninstall.exe copyright.txt; do
        [[ -f $dir/$file ]] || fail "$mode: $file is not installed"
    done

    # Every DLL a program or plugin names is installed beside the programs or is the system's:
    # a plugin the check below does not load would otherwise fail only on a user's screen.
    local module dll
    while IFS= read -r -d '' module; do
        while read -r dll; do
            # API sets (api-ms-win-*, ext-ms-win-*) are names the loader maps, not files.
            [[ ${dll,,} == api-ms-win-* || ${dll,,} == ext-ms-win-* ]] && continue
            [[ -n $(find "$dir" "$system32" -maxdepth 1 -iname "$dll" -print -quit) ]] ||
                fail "$mode: ${module#"$dir"/} needs $dll, which is not installed"
        done < <("$objdump" -p "$module" | awk '/DLL Name:/ { print $3 }')
    done < <(find "$dir" \( -iname '*.exe' -o -iname '*.dll' \) -print0)

    local said
    said=$(output "$folder\\zor.exe" --version) || true
    [[ $said == "$version" ]] || fail "$mode: zor.exe --version said '$said', not '$version'"
    # A new session reads PATH from the registry, as a new console on Windows does.
    local path
    path=$(reg_value "$environment" Path) || true
    [[ ";${path,,};" == *";${folder,,};"* ]] || fail "$mode: PATH is '$path', without $folder"
    said=$(output cmd /c zor --version) || true
    [[ $said == "$version" ]] || fail "$mode: zor --version by PATH said '$said'"

    if [[ -f $dir/zoredit.exe ]]; then
        for file in Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll Qt6PrintSupport.dll \
            platforms/qwindows.dll fonts/ZorSymbols.TTF translations/qtbase_cs.qm; do
            [[ -f $dir/$file ]] || fail "$mode: $file is not installed"
        done
        if ! run "$folder\\zoredit.exe" --check -platform offscreen >"$work/check.out" 2>&1; then
            fail "$mode: zoredit.exe --check failed: $(tr -d '\r' <"$work/check.out")"
        fi
        [[ -f $(unix_path "$start_menu")/ZorEdit.lnk ]] || fail "$mode: no Start-menu entry"
        output reg query "$hive\\Software\\Classes\\.zor" /ve | grep -q 'REG_SZ *ZorEdit.Document$' ||
            fail "$mode: .zor is not a ZorEdit document"
        output reg query "$hive\\Software\\Classes\\ZorEdit.Document\\shell\\open\\command" /ve |
            grep -qiF "\"$folder\\zoredit.exe\" \"%1\"" || fail "$mode: .zor does not open in the editor"
    fi

    # The user's own file beside the programs stays, and so does its folder.
    echo "kept" >"$dir/notes.txt"
    run "$folder\\uninstall.exe" /S || fail "$mode: the uninstaller failed"
    [[ -f $dir/notes.txt ]] || fail "$mode: the uninstaller removed a file it had not installed"
    rm -f "$dir/notes.txt"
    rmdir "$dir" 2>/dev/null || true
    run "$setup" /S "/$mode" /PATH || fail "$mode: the second installation failed"
    run "$folder\\uninstall.exe" /S || fail "$mode: the uninstaller failed"

    [[ ! -e $dir ]] || fail "$mode: left behind: $(cd "$dir" && find . | tr '\n' ' ')"
    [[ ! -e $(unix_path "$start_menu")/ZorEdit.lnk ]] || fail "$mode: the Start-menu entry is left"
    ! reg_exists "$hive\\$uninstall_key" || fail "$mode: the uninstall entry is left"
    ! reg_exists "$hive\\Software\\Classes\\.zor" || fail "$mode: the .zor extension is left"
    ! reg_exists "$hive\\Software\\Classes\\ZorEdit.Document" || fail "$mode: the document type is left"
    path=$(reg_value "$environment" Path) || true
    [[ ";${path,,};" != *";${folder,,};"* ]] || fail "$mode: PATH still has $folder: '$path'"
}

check_mode AllUsers HKLM 'C:\Program Files\ZorEdit' "$program_data\\Microsoft\\Windows\\Start Menu\\Programs" \
    'HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Environment'
check_mode CurrentUser HKCU "$local_app_data\\Programs\\ZorEdit" "$app_data\\Microsoft\\Windows\\Start Menu\\Programs" \
    'HKCU\Environment'

# A user's PATH longer than the setup program's strings is left as it was, not cut to its folder.
echo "== a PATH too long to change"
long_path=$(for i in $(seq 1 150); do printf 'C:\\Tools\\tool%03d;' "$i"; done)
long_path=${long_path%;}
"$wine" reg add 'HKCU\Environment' /v Path /t REG_EXPAND_SZ /d "$long_path" /f </dev/null >/dev/null 2>&1
run "$setup" /S /CurrentUser /PATH || fail "long PATH: the setup program failed"
[[ $(reg_value 'HKCU\Environment' Path || true) == "$long_path" ]] ||
    fail "long PATH: the setup program changed it"
# Installed on PATH, then PATH grew: the uninstaller leaves it too.
"$wine" reg add 'HKCU\Environment' /v Path /t REG_EXPAND_SZ /d 'C:\Tools' /f </dev/null >/dev/null 2>&1
run "$setup" /S /CurrentUser /PATH || fail "long PATH: the setup program failed"
long_path="$long_path;$local_app_data\Programs\ZorEdit"
"$wine" reg add 'HKCU\Environment' /v Path /t REG_EXPAND_SZ /d "$long_path" /f </dev/null >/dev/null 2>&1
run "$local_app_data\\Programs\\ZorEdit\\uninstall.exe" /S || fail "long PATH: the uninstaller failed"
[[ $(reg_value 'HKCU\Environment' Path || true) == "$long_path" ]] ||
    fail "long PATH: the uninstaller changed it"

if ((failures)); then
    echo "windows-setup-check: $failures failure(s)"
    exit 1
fi
echo "windows-setup-check: the setup program installs, runs and uninstalls cleanly"
