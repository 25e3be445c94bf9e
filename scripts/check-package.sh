#!/usr/bin/env bash
# Builds the Debian package from a built tree and checks it: control fields,
# the file list, the desktop entry, the AppStream metadata, the manual pages,
# lintian. With TALLOWBY_PACKAGE_INSTALL=1, as root, it also installs the
# package with apt-get, runs both installed programs, fills a week with the
# installed tallowby-fill, purges the package and checks nothing of it remains.
#
# Usage: check-package.sh BUILD_DIR VERSION
# Exit status 77 (a skipped test) when dpkg's tools are missing.
set -euo pipefail
build=$(cd "$1" && pwd)
version=$2
app_id=example.tallowby.Tallowby

for tool in dpkg dpkg-deb dpkg-shlibdeps cpack; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is missing (install dpkg-dev); the package is not checked"
        exit 77
    fi
done

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
work=$(mktemp -d)
installed=0
cleanup() {
    if ((installed)); then apt-get purge -y -qq tallowby >/dev/null 2>&1 || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

# Build the package into a folder of its own (the build tree is already built).
(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || {
    cat "$work/cpack.log"
    fail "cpack could not make the package"
    exit 1
}
arch=$(dpkg --print-architecture)
deb="$work/out/tallowby_${version}_${arch}.deb"
[[ -f "$deb" ]] || { ls "$work/out"; fail "no $(basename "$deb")"; exit 1; }
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"

# Control fields.
field() { dpkg-deb --field "$deb" "$1"; }
dpkg-deb --info "$deb" >"$work/info"
[[ $(field Package) == tallowby ]] || fail "Package is '$(field Package)'"
[[ $(field Version) == "$version" ]] || fail "Version is '$(field Version)', not $version"
[[ $(field Architecture) == "$arch" ]] || fail "Architecture is '$(field Architecture)'"
[[ $(field Section) == utils ]] || fail "Section is '$(field Section)'"
[[ $(field Maintainer) == *"<"*@*.example">" ]] || fail "Maintainer is '$(field Maintainer)'"
[[ $(field Homepage) == https://*.example/* ]] || fail "Homepage is '$(field Homepage)'"
depends=$(field Depends)
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libxlsxwriter4; do
    [[ ",$depends" == *", $lib ("* || "$depends" == "$lib ("* ]] || fail "Depends lacks $lib: $depends"
done
# A synopsis line and an extended description of its own.
description=$(field Description)
[[ $(wc -l <<<"$description") -ge 3 ]] || fail "the description has no extended part"
[[ $(head -1 <<<"$description") != $(sed -n 2p <<<"$description" | sed 's/^ //') ]] ||
    fail "the synopsis is repeated as the first line of the description"

# The file list: exactly these files, all under /usr, nothing but programs in bin/.
dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./|/|' | sort >"$work/files"
sort >"$work/expected" <<EOF
/usr/bin/tallowby
/usr/bin/tallowby-fill
/usr/share/applications/$app_id.desktop
/usr/share/doc/tallowby/changelog.gz
/usr/share/doc/tallowby/copyright
/usr/share/icons/hicolor/128x128/apps/tallowby.png
/usr/share/icons/hicolor/16x16/apps/tallowby.png
/usr/share/icons/hicolor/256x256/apps/tallowby.png
/usr/share/icons/hicolor/32x32/apps/tallowby.png
/usr/share/icons/hicolor/48x48/apps/tallowby.png
/usr/share/icons/hicolor/64x64/apps/tallowby.png
/usr/share/icons/hicolor/scalable/apps/tallowby.svg
/usr/share/man/man1/tallowby-fill.1.gz
/usr/share/man/man1/tallowby.1.gz
/usr/share/metainfo/$app_id.metainfo.xml
/usr/share/tallowby/HAND-M.CUR
EOF
diff -u "$work/expected" "$work/files" || fail "the package's files differ from the list above"
dpkg-deb --contents "$deb" | awk '{print $2}' | grep -qv '^root/root$' && fail "a file not owned by root"

# Unpack and look at each kind of file.
root="$work/root"
dpkg-deb -x "$deb" "$root"
for size in 16 32 48 64 128 256; do
    png="$root/usr/share/icons/hicolor/${size}x${size}/apps/tallowby.png"
    # Width and height are the big-endian words at bytes 16 and 20 of a PNG.
    read -r w h < <(od -An -tu1 -j16 -N8 "$png" |
        awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
    [[ "$w x $h" == "$size x $size" ]] || fail "the ${size}x${size} icon is $w x $h"
done
grep -q '<svg' "$root/usr/share/icons/hicolor/scalable/apps/tallowby.svg" || fail "the SVG icon is no SVG"

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$root/usr/share/applications/$app_id.desktop" || fail "desktop-file-validate"
else
    echo "note: desktop-file-validate missing (desktop-file-utils), desktop entry not validated"
fi
grep -qx 'Exec=tallowby' "$root/usr/share/applications/$app_id.desktop" || fail "Exec is not tallowby"
metainfo="$root/usr/share/metainfo/$app_id.metainfo.xml"
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
else
    echo "note: appstreamcli missing (appstream), metainfo not validated"
fi
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop<" "$metainfo" || fail "metainfo launchable"

for page in tallowby tallowby-fill; do
    gz="$root/usr/share/man/man1/$page.1.gz"
    gzip -t "$gz" || fail "$page.1.gz is no gzip file"
    zcat "$gz" | grep -q "^\.TH .* \"Tallowby $version\"" || fail "$page.1 does not name version $version"
    for section in NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" FILES ENVIRONMENT EXAMPLES; do
        zcat "$gz" | grep -qx "\.SH \"\?$section\"\?" || fail "$page.1 has no $section section"
    done
    if command -v man >/dev/null; then
        warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$gz" 2>&1 >/dev/null)
        [[ -z "$warnings" ]] || fail "man warns about $page.1: $warnings"
    fi
done
for option in --xls --picture --pdf --settings --help --version; do
    zcat "$root/usr/share/man/man1/tallowby-fill.1.gz" | grep -q -- "${option//-/\\\\-}" ||
        fail "tallowby-fill.1 does not describe $option"
done
if command -v file >/dev/null; then
    for program in tallowby tallowby-fill; do
        file -b "$root/usr/bin/$program" | grep -q ', stripped' || fail "$program is not stripped"
    done
fi

# The unpacked programs answer --version without a display.
for program in tallowby tallowby-fill; do
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=no-such-platform \
        "$root/usr/bin/$program" --version 2>&1) || fail "$program --version exits with $?"
    [[ "$out" == "$program $version" ]] || fail "$program --version says '$out'"
done

if command -v lintian >/dev/null; then
    lintian --tag-display-limit 0 "$deb" >"$work/lintian" 2>&1 || true
    grep -v '^running with root privileges' "$work/lintian" || true
    errors=$(grep -c '^E: ' "$work/lintian" || true)
    warnings=$(grep -c '^W: ' "$work/lintian" || true)
    echo "lintian: $errors errors, $warnings warnings"
    ((errors == 0)) || fail "lintian reports errors"
else
    echo "note: lintian missing, package not linted"
fi

if [[ "${TALLOWBY_PACKAGE_INSTALL:-}" == 1 && $(id -u) -eq 0 ]]; then
    if dpkg-query -W -f='${Status}' tallowby 2>/dev/null | grep -q 'install ok installed'; then
        fail "tallowby is already installed on this machine; not installing over it"
    else
        echo "installing $(basename "$deb")"
        installed=1
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >"$work/apt.log" 2>&1 ||
            { cat "$work/apt.log"; fail "apt-get install"; }
        dpkg-query -L tallowby | sort >"$work/owned"
        [[ $(command -v tallowby-fill) == /usr/bin/tallowby-fill ]] || fail "tallowby-fill is not on PATH"

        # A user of our own: settings, temp folder and outputs in a private folder.
        user="$work/user"
        mkdir -p "$user/config/Marrowick" "$user/tmp"
        cat >"$user/week.ini" <<'EOF'
[Tallowby]
txtName=Package Check Ltd
txtEmp=Ana Example
dtpDate=2026-12-07
Rates=Regular^11.50|Overtime^17.25
Hours=Mon^Regular^08:00^0^0|Tue^Overtime^02:30^1^1
EOF
        cp "$user/week.ini" "$user/config/Marrowick/Marrowick.ini"
        run_user() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$user" \
            XDG_CONFIG_HOME="$user/config" TEMP="$user/tmp" "$@"; }
        out=$(run_user /usr/bin/tallowby-fill --version) || fail "installed tallowby-fill --version"
        [[ "$out" == "tallowby-fill $version" ]] || fail "installed tallowby-fill --version says '$out'"
        run_user /usr/bin/tallowby-fill --settings "$user/week.ini" --xls "$user/week.xls" \
            --picture "$user/week.png" || fail "installed tallowby-fill could not fill the week"
        run_user /usr/bin/tallowby-fill --xls "$user/store.xls" || fail "filling from the settings store"
        for xls in week store; do
            [[ $(od -An -tx1 -N4 "$user/$xls.xls" | tr -d ' ') == d0cf11e0 ]] ||
                fail "$xls.xls is no compound file"
        done
        [[ $(od -An -tx1 -N4 "$user/week.png" | tr -d ' ') == 89504e47 ]] || fail "week.png is no PNG"
        cmp -s "$user/week.xls" "$user/store.xls" || fail "the same week gave two different workbooks"
        if /usr/bin/python3 -c 'import xlrd' 2>/dev/null; then
            /usr/bin/python3 - "$user/week.xls" <<'EOF' || fail "the filled workbook's values"
import sys, xlrd
sheet = xlrd.open_workbook(sys.argv[1]).sheet_by_name("Employee Timesheet")
texts = [sheet.cell_value(r, c) for r in range(sheet.nrows) for c in range(sheet.ncols)]
assert "Ana Example" in texts and "Package Check Ltd" in texts, "names missing"
# Pay: 8 h at 11.50 and 2.5 h at 17.25, as numbers the template's formulas use.
assert 8 * 11.5 + 2.5 * 17.25 in [round(v, 9) for v in texts if isinstance(v, float)], "pay missing"
EOF
        fi
        [[ -z $(ls -A "$user/tmp") ]] || fail "the run left files in TEMP: $(ls -A "$user/tmp")"
        out=$(run_user QT_QPA_PLATFORM=no-such-platform /usr/bin/tallowby --version 2>&1) ||
            fail "installed tallowby --version"
        [[ "$out" == "tallowby $version" ]] || fail "installed tallowby --version says '$out'"
        # Minimal images may tell dpkg to leave manual pages out (path-exclude).
        if command -v man >/dev/null && [[ -f /usr/share/man/man1/tallowby-fill.1.gz ]]; then
            man -w tallowby-fill | grep -q '^/usr/share/man/man1/tallowby-fill.1.gz$' ||
                fail "man does not find tallowby-fill(1)"
        fi

        DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq tallowby >"$work/apt.log" 2>&1 ||
            { cat "$work/apt.log"; fail "apt-get purge"; }
        installed=0
        dpkg-query -W tallowby >/dev/null 2>&1 && fail "dpkg still knows tallowby after the purge"
        while read -r path; do
            # Shared folders such as /usr/bin stay; everything of ours must go.
            if [[ -e "$path" && ! -d "$path" ]]; then fail "left behind: $path"; fi
        done <"$work/owned"
        for dir in /usr/share/tallowby /usr/share/doc/tallowby; do
            [[ ! -e "$dir" ]] || fail "left behind: $dir"
        done
        [[ -f "$user/config/Marrowick/Marrowick.ini" ]] || fail "the user's settings went with the package"
        echo "installed, used and purged: nothing of the package remains"
    fi
else
    echo "note: not installing (needs root and TALLOWBY_PACKAGE_INSTALL=1)"
fi

if ((failures)); then
    echo "$failures check(s) failed"
    exit 1
fi
echo "package checks passed"
