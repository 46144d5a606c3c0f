#!/usr/bin/env bash
# Checks what "cmake --install" and the Debian package put on a system: the expected files and
# nothing else, a desktop entry and AppStream metainfo that the desktop's own validators accept
# and that agree with each other, with the icons and with the program, and a package whose
# dependencies cover every library the program links.
#
# Usage: check-packaging.sh install|deb|unhardened SOURCE_DIR BUILD_DIR
#   install     installs the build tree into a temporary root and checks it
#   deb         builds the Debian package with cpack into a temporary directory, checks its
#               control fields and contents, unpacks it and checks the unpacked tree
#   unhardened  checks that the hardening check fails a program built without the flags
# with WOUNDWELL_VERSION set to the project version of the build (CTest sets it).
# Needs: cmake, cpack, desktop-file-validate, appstreamcli, dpkg-deb, dpkg-parsechangelog,
# file, gzip, ldd, objdump, readelf, strings, hardening-check (devscripts), python3 and the
# desktop of tests/harness (xvfb, openbox, xdotool, x11-utils). Works without a display (the harness starts its own) and without stdin.
# Pipes end in "grep >/dev/null", not "grep -q": under pipefail, the SIGPIPE that an early
# exit of grep -q gives the writer would count as a failure.
set -euo pipefail

usage() {
    echo "usage: $0 install|deb|unhardened SOURCE_DIR BUILD_DIR" >&2
    exit 2
}
[[ $# -eq 3 ]] || usage
mode=$1
source_dir=$(cd "$2" && pwd)
build_dir=$(cd "$3" && pwd)
[[ $mode == install || $mode == deb || $mode == unhardened ]] || usage

# What the installation must look like. The id names the desktop entry, the metainfo and the
# icon alike.
readonly app_id=com.quorvane.Woundwell
readonly icon_sizes=(16 22 24 32 48 64 128 256)
# Packages the program needs although its binary does not link them: the fonts that stand in
# for the layouts' Verdana. The Qt library is the one that shlibdeps must find.
readonly required_depends=(fonts-dejavu-core libqt6widgets6)
# What "appstreamcli validate --pedantic" may say about the metainfo, as "severity tag detail"
# (docs/installing.md): the id's capital W, which names the desktop entry and icon alike; the
# <developer> element, which AppStream 0.16 (Debian 12) does not know yet, and developer_name
# beside it for the stores built on 0.16, which AppStream 1.0 (Debian 13) calls deprecated; and
# the program's own web addresses, which are plain http.
readonly allowed_metainfo_notes=(
    "P cid-contains-uppercase-letter $app_id"
    "I unknown-tag developer"
    "I developer-name-tag-deprecated"
    "I url-not-secure http://www.quorvane.com/woundwell/"
    "I url-not-secure http://www.quorvane.com/woundwell/woundwell-help.html"
    "I url-not-secure http://www.quorvane.com/donate.html"
)

# The project version, as the build gives it to the program; CTest passes it on.
version=${WOUNDWELL_VERSION:-}
[[ -n $version ]] || { echo "ERROR: WOUNDWELL_VERSION is not set: give the project version of the build" >&2; exit 1; }

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
die() {
    echo "ERROR: $*" >&2
    exit 1
}

work=$(mktemp -d "${TMPDIR:-/tmp}/woundwell-packaging.XXXXXX")
trap 'rm -rf "$work"' EXIT

expected_files() {
    echo usr/bin/woundwell
    echo "usr/share/applications/$app_id.desktop"
    echo "usr/share/metainfo/$app_id.metainfo.xml"
    echo usr/share/doc/woundwell/copyright
    echo usr/share/doc/woundwell/changelog.gz
    echo usr/share/man/man1/woundwell.1.gz
    echo usr/share/lintian/overrides/woundwell
    echo "usr/share/icons/hicolor/scalable/apps/$app_id.svg"
    local size
    for size in "${icon_sizes[@]}"; do
        echo "usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
    done
}

# Compares a list of paths (one a line, on stdin) with the expected files.
check_file_list() {
    local what=$1 actual=$work/actual-files expected=$work/expected-files path
    sort -u >"$actual"
    expected_files | sort -u >"$expected"
    while IFS= read -r path; do
        fail "$what lacks $path"
    done < <(comm -13 "$actual" "$expected")
    while IFS= read -r path; do
        fail "$what holds the unexpected file $path"
    done < <(comm -23 "$actual" "$expected")
    [[ -s $actual ]] || fail "$what holds no files at all"
}

# Whether the first argument is one of the others.
is_one_of() {
    local wanted=$1 candidate
    shift
    for candidate in "$@"; do
        [[ $candidate == "$wanted" ]] && return 0
    done
    return 1
}

# Value of a key of the [Desktop Entry] group.
desktop_key() {
    sed -n '/^\[Desktop Entry\]/,/^\[/{s/^'"$1"'=//p}' "$2" | head -n 1
}

# Prints name=value lines for the metainfo fields the checks compare.
metainfo_fields() {
    python3 "$source_dir/tests/packaging/metainfo_fields.py" "$1"
}

field() {
    sed -n "s/^$1=//p" "$2"
}

# Checks an installed tree (a DESTDIR with prefix /usr, or an unpacked package).
check_tree() {
    local what=$1 root=$2
    local desktop=$root/usr/share/applications/$app_id.desktop
    local metainfo=$root/usr/share/metainfo/$app_id.metainfo.xml
    local binary=$root/usr/bin/woundwell

    # (Not through a pipe: fail must count in this shell, not in a subshell.)
    (cd "$root" && find . \( -type f -o -type l \) -printf '%P\n') >"$work/tree-files"
    check_file_list "$what" <"$work/tree-files"

    [[ -f $binary && -x $binary ]] || fail "$what: usr/bin/woundwell is not an executable file"
    file -b "$binary" | grep '^ELF .*executable' >/dev/null ||
        fail "$what: usr/bin/woundwell is not an ELF executable: $(file -b "$binary")"

    local size icon
    for size in "${icon_sizes[@]}"; do
        icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png
        [[ -f $icon ]] || continue
        file -b "$icon" | grep "^PNG image data, $size x $size," >/dev/null ||
            fail "$what: ${icon#"$root"/} is not a $size x $size PNG image: $(file -b "$icon")"
    done
    icon=$root/usr/share/icons/hicolor/scalable/apps/$app_id.svg
    if [[ -f $icon ]] && ! grep -q '<svg[[:space:]]' "$icon"; then
        fail "$what: ${icon#"$root"/} is not an SVG image"
    fi

    local changelog=$root/usr/share/doc/woundwell/changelog.gz
    if [[ -f $changelog ]]; then
        local logged
        if ! gzip -dc "$changelog" >"$work/changelog" 2>/dev/null; then
            fail "$what: usr/share/doc/woundwell/changelog.gz is not gzip data"
        elif ! logged=$(dpkg-parsechangelog -l "$work/changelog" -S Version 2>&1); then
            fail "$what: the changelog is not in Debian changelog form: $logged"
        elif [[ $logged != "$version" ]]; then
            fail "$what: the newest changelog entry is $logged, the project is $version"
        fi
    fi
    local manual=$root/usr/share/man/man1/woundwell.1.gz
    if [[ -f $manual ]]; then
        if ! gzip -dc "$manual" >"$work/manual" 2>/dev/null; then
            fail "$what: usr/share/man/man1/woundwell.1.gz is not gzip data"
        elif ! grep '^\.TH WOUNDWELL 1 ' "$work/manual" >/dev/null; then
            fail "$what: the manual page has no .TH WOUNDWELL 1 title line"
        elif ! grep '^woundwell \\- ' "$work/manual" >/dev/null; then
            fail "$what: the manual page's NAME section does not name woundwell"
        fi
    fi

    if [[ -f $desktop ]]; then
        local report
        if ! report=$(desktop-file-validate "$desktop" 2>&1) || [[ -n $report ]]; then
            fail "$what: desktop-file-validate does not accept the desktop entry:"$'\n'"$report"
        fi
        local exec_command
        exec_command=$(desktop_key Exec "$desktop")
        [[ ${exec_command%% *} == woundwell ]] ||
            fail "$what: the desktop entry starts \"$exec_command\", not the installed woundwell"
        [[ $(desktop_key Icon "$desktop") == "$app_id" ]] ||
            fail "$what: the desktop entry's Icon is \"$(desktop_key Icon "$desktop")\", not $app_id"
        [[ $(desktop_key Name "$desktop") == Woundwell ]] ||
            fail "$what: the desktop entry's Name is \"$(desktop_key Name "$desktop")\""
        [[ $(desktop_key Type "$desktop") == Application ]] ||
            fail "$what: the desktop entry is not of Type Application"
        [[ $(desktop_key Terminal "$desktop") == false ]] ||
            fail "$what: the desktop entry does not say Terminal=false"
        [[ -n $(desktop_key StartupWMClass "$desktop") ]] ||
            fail "$what: the desktop entry has no StartupWMClass"
    fi

    if [[ -f $metainfo ]]; then
        local report note
        if ! report=$(appstreamcli validate --pedantic --no-net "$metainfo" 2>&1 </dev/null); then
            fail "$what: appstreamcli does not accept the metainfo:"$'\n'"$report"
        fi
        # Each note is "X: ID:LINE: TAG DETAIL"; the line numbers move as the file changes.
        while IFS= read -r note; do
            is_one_of "$note" "${allowed_metainfo_notes[@]}" ||
                fail "$what: appstreamcli notes what docs/installing.md does not explain: $note"
        done < <(sed -n 's/^\([EWIP]\): [^ ]*: /\1 /p' <<<"$report")
        # The tree check also follows the launchable to the installed desktop entry.
        if ! report=$(appstreamcli validate-tree --no-net "$root" 2>&1 </dev/null); then
            fail "$what: appstreamcli does not accept the installed tree:"$'\n'"$report"
        fi
        local fields=$work/metainfo-fields url
        metainfo_fields "$metainfo" >"$fields"
        [[ $(field type "$fields") == desktop-application ]] ||
            fail "$what: the metainfo component is not a desktop-application"
        [[ $(field id "$fields") == "$app_id" ]] ||
            fail "$what: the metainfo id is \"$(field id "$fields")\", not $app_id"
        [[ $(field name "$fields") == Woundwell ]] ||
            fail "$what: the metainfo name is \"$(field name "$fields")\""
        [[ $(field launchable "$fields") == "$app_id.desktop" ]] ||
            fail "$what: the metainfo launches \"$(field launchable "$fields")\", not $app_id.desktop"
        [[ $(field binary "$fields") == woundwell && -x $root/usr/bin/$(field binary "$fields") ]] ||
            fail "$what: the metainfo provides the binary \"$(field binary "$fields")\", not woundwell"
        [[ $(field release "$fields") == "$version" ]] ||
            fail "$what: the newest release in the metainfo is \"$(field release "$fields")\", the project is $version"
        [[ -n $(field screenshot "$fields") ]] || fail "$what: the metainfo shows no screenshots"
        # What a software store asks beyond validity: a summary that fits its tiles, a caption
        # under each screenshot, notes for the release, and a banner colour for either scheme.
        local summary
        summary=$(field summary "$fields")
        [[ -n $summary && ${#summary} -le 35 ]] ||
            fail "$what: the metainfo summary \"$summary\" is not 1 to 35 characters long"
        field caption "$fields" | grep -x '' >/dev/null &&
            fail "$what: a screenshot in the metainfo has no caption"
        [[ $(field release_described "$fields") == yes ]] ||
            fail "$what: the newest release in the metainfo has no description"
        [[ $(field branding "$fields") == "dark light" ]] ||
            fail "$what: the metainfo's branding has \"$(field branding "$fields")\" colours," \
                 "not one for the dark and one for the light scheme"
        while IFS= read -r url; do
            [[ $url == https://* ]] || fail "$what: screenshot address \"$url\" is not https"
        done < <(field screenshot "$fields")
    fi

    # On Wayland the desktop finds the entry by the app id the program announces
    # (QGuiApplication::setDesktopFileName); the program must carry the entry's name.
    if [[ -f $binary ]] && ! { strings -a -el "$binary"; strings -a "$binary"; } |
            grep -F "$app_id" >/dev/null; then
        fail "$what: the program does not name its desktop entry $app_id (setDesktopFileName)"
    fi
    check_hardening "$what" "$binary"
}

# Holds the program to the hardening Debian builds its own packages with: hardening-check must
# answer no check with "no" that Debian's own programs pass on this release and architecture.
# Stack-clash protection may stay "unknown": its probes appear only in functions with a frame of
# a page or more, which this program may well not have.
check_hardening() {
    local what=$1 binary=$2 report line check
    [[ -f $binary ]] || return 0
    report=$(hardening_report "$binary")
    [[ $report == *"Position Independent Executable:"* ]] ||
        { fail "$what: hardening-check did not run:"$'\n'"$report"; return 0; }
    while IFS= read -r line; do
        [[ $line =~ ^\ *([^:]+):\ no ]] || continue
        check=${BASH_REMATCH[1]}
        if ! passed_by_debian "$check"; then
            # No program of Debian's passes it here: on x86-64, control-flow integrity needs every
            # object marked, the C library's start files too, and branch protection is arm64's.
            # What the program's own code can show is the landing pad -fcf-protection puts on
            # each function; main, which the start code calls through a pointer, must have it.
            [[ $check != "Control flow integrity" ]] || main_begins_with_endbr "$binary" ||
                fail "$what: the program's code is not built with -fcf-protection (main has no endbr64)"
            continue
        fi
        fail "$what: hardening-check says \"${line# }\""
    done <<<"$report"
}

hardening_report() {
    hardening-check "$1" 2>&1 || true
}

# Whether one of Debian's own programs, built with its packages' hardening, passes the check of
# that name here. dpkg is on every Debian system and built by its maintainers with all of it.
readonly debian_programs=(/usr/bin/dpkg /usr/bin/ls)
passed_by_debian() {
    local program
    for program in "${debian_programs[@]}"; do
        hardening_report "$program" | grep -F " $1: yes" >/dev/null && return 0
    done
    return 1
}

# Whether the first instruction of main is endbr64. The program may be stripped: main is found
# as the address the entry code loads into the first argument of __libc_start_main.
main_begins_with_endbr() {
    local binary=$1 entry main
    entry=$(readelf -h "$binary" | awk '/Entry point address:/ { print $4 }')
    main=$(objdump -d --start-address="$entry" --stop-address=$((entry + 64)) "$binary" |
           sed -n 's/.*lea .*(%rip),%rdi *# \([0-9a-f]*\).*/\1/p' | head -n 1)
    [[ -n $main ]] || return 1
    objdump -d --start-address=$((16#$main)) --stop-address=$((16#$main + 4)) "$binary" |
        grep -w endbr64 >/dev/null
}

# Starts the program of an installed tree on a private desktop and checks that its window has
# the title and the WM_CLASS that the desktop entry's StartupWMClass must match.
check_running_window() {
    local what=$1 root=$2
    local binary=$root/usr/bin/woundwell desktop=$root/usr/share/applications/$app_id.desktop
    [[ -x $binary && -f $desktop ]] || return 0
    local window title wm_class
    if ! window=$(python3 "$source_dir/tests/harness/woundwell_desktop.py" window "$binary" 2>&1 \
                  </dev/null); then
        fail "$what: the installed program showed no window: $window"
        return 0
    fi
    title=$(sed -n 's/^title=//p' <<<"$window")
    wm_class=$(sed -n 's/^class=//p' <<<"$window")
    [[ $title == "Woundwell v$version" ]] ||
        fail "$what: the program's window is titled \"$title\", not \"Woundwell v$version\""
    [[ -n $wm_class && $wm_class == "$(desktop_key StartupWMClass "$desktop")" ]] ||
        fail "$what: the window's WM_CLASS class is \"$wm_class\", the desktop entry's" \
             "StartupWMClass \"$(desktop_key StartupWMClass "$desktop")\""
}

# A path and its twin on the other side of the merged /usr, which dpkg may have recorded.
usr_twins() {
    echo "$1"
    case $1 in
    /usr/*) echo "${1#/usr}" ;;
    *) echo "/usr$1" ;;
    esac
}

# The package that installed a file, or nothing.
owning_package() {
    local candidate owner
    while IFS= read -r candidate; do
        owner=$(dpkg -S "$candidate" 2>/dev/null | head -n 1 | cut -d: -f1)
        [[ -n $owner ]] && { echo "$owner"; return 0; }
    done < <(usr_twins "$1"; usr_twins "$(readlink -f "$1")")
    return 0
}

case $mode in
install)
    root=$work/root
    DESTDIR=$root cmake --install "$build_dir" --prefix /usr >"$work/install.log" 2>&1 </dev/null ||
        die "cmake --install failed:"$'\n'"$(cat "$work/install.log")"
    check_tree "installed tree" "$root"
    check_running_window installed "$root"
    ;;
deb)
    (cd "$build_dir" && cpack -G DEB -B "$work/cpack" --config "$build_dir/CPackConfig.cmake") \
        >"$work/cpack.log" 2>&1 </dev/null || die "cpack failed:"$'\n'"$(cat "$work/cpack.log")"
    shopt -s nullglob
    debs=("$work"/cpack/*.deb)
    shopt -u nullglob
    [[ ${#debs[@]} -eq 1 ]] || die "cpack made ${#debs[@]} .deb files, not one"
    deb=${debs[0]}
    arch=$(dpkg --print-architecture)
    [[ $(basename "$deb") == "woundwell_${version}_$arch.deb" ]] ||
        fail "the package file is named $(basename "$deb"), not woundwell_${version}_$arch.deb"

    dpkg-deb -I "$deb" >"$work/control" || die "dpkg-deb cannot read $deb"
    control_field() { dpkg-deb -f "$deb" "$1"; }
    [[ $(control_field Package) == woundwell ]] || fail "Package is \"$(control_field Package)\""
    [[ $(control_field Version) == "$version" ]] ||
        fail "Version is \"$(control_field Version)\", the project is $version"
    [[ $(control_field Architecture) == "$arch" ]] ||
        fail "Architecture is \"$(control_field Architecture)\", not $arch"
    [[ $(control_field Maintainer) =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] ||
        fail "Maintainer \"$(control_field Maintainer)\" is not a name with an e-mail address"
    [[ -n $(control_field Section) ]] || fail "the package has no Section"
    [[ -n $(control_field Description | head -n 1) ]] || fail "the package has no summary"
    [[ $(control_field Description | wc -l) -gt 1 ]] || fail "the package has no long description"

    depends=$(control_field Depends)
    echo "Depends: $depends"
    # Package names only, without versions or alternatives' separators.
    depend_names=" $(echo "$depends" | tr ',|' '\n\n' | sed 's/(.*)//; s/:any//' | xargs) "
    for package in "${required_depends[@]}"; do
        [[ $depend_names == *" $package "* ]] || fail "Depends does not list $package: $depends"
    done

    # Contents: the expected files, owned by root.
    dpkg-deb -c "$deb" >"$work/contents" || die "dpkg-deb cannot list $deb"
    awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' "$work/contents" >"$work/package-files"
    check_file_list "the package" <"$work/package-files"
    if awk '$2 != "root/root"' "$work/contents" | grep . >/dev/null; then
        fail "the package holds files not owned by root: $(awk '$2 != "root/root"' "$work/contents")"
    fi

    root=$work/unpacked
    dpkg -x "$deb" "$root" || die "dpkg -x cannot unpack $deb"
    check_tree "unpacked package" "$root"

    binary=$root/usr/bin/woundwell
    if [[ -f $binary ]]; then
        file -b "$binary" | grep ', stripped' >/dev/null || fail "the packaged program is not stripped"
        if ldd "$binary" | grep 'not found' >/dev/null; then
            fail "the packaged program has unresolved libraries: $(ldd "$binary" | grep 'not found')"
        fi
        # Every library the program links directly must come from a package in Depends.
        while read -r library; do
            path=$(ldd "$binary" | sed -n "s|^[[:space:]]*$library => \(/[^ ]*\) .*|\1|p")
            [[ -n $path ]] || { fail "ldd does not resolve $library"; continue; }
            owner=$(owning_package "$path")
            if [[ -z $owner ]]; then
                fail "no installed package owns $path ($library)"
            elif [[ $depend_names != *" $owner "* ]]; then
                fail "the program links $library of $owner, which Depends does not list: $depends"
            fi
        done < <(objdump -p "$binary" | awk '$1 == "NEEDED" { print $2 }')
    fi
    check_running_window packaged "$root"
    ;;
unhardened)
    # The hardening check itself: a program built without the flags must fail it on each.
    c++ -O2 -U_FORTIFY_SOURCE -fno-stack-protector -fcf-protection=none -no-pie \
        -Wl,-z,norelro -Wl,-z,lazy -o "$work/plain" "$source_dir/tests/packaging/unhardened.cpp"
    said=$(check_hardening "unhardened" "$work/plain" 2>&1)
    echo "$said"
    failures=0
    for check in "Position Independent Executable" "Stack protected" "Fortify Source functions" \
                 "Read-only relocations" "Immediate binding" "-fcf-protection"; do
        [[ $said == *"$check"* ]] || fail "the hardening check lets a program without $check pass"
    done
    ;;
esac

if [[ $failures -gt 0 ]]; then
    echo "$failures packaging check(s) failed ($mode)" >&2
    exit 1
fi
echo "packaging checks passed ($mode)"
