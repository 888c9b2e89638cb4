#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a user of the installed
# program gets: the tree, a valid desktop entry and metainfo, readable manual pages that
# list every command of the tool, and an installed tool that reads its installed data.
# Usage: check-install.sh BUILD_DIR
set -euo pipefail
build=$1
id=de.diskarium.Diskarium

for tool in desktop-file-validate appstreamcli man gzip; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/setup.sh installs it)"; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log"; exit 1; }

expected=(
    bin/diskarium
    bin/diskarium-tool
    share/diskarium/delivered/MUSIKART.csv
    share/diskarium/delivered/MUSIKTIP.csv
    share/diskarium/help/index.html
    share/diskarium/help/topics.csv
    share/diskarium/files/cddbhosts.txt
    share/diskarium/files/README.W32
    share/diskarium/files/LICENCE.W32
    share/diskarium/files/VERSIONS.W32
    "share/applications/$id.desktop"
    "share/metainfo/$id.metainfo.xml"
    "share/icons/hicolor/scalable/apps/$id.svg"
    "share/icons/hicolor/48x48/apps/$id.png"
    "share/icons/hicolor/256x256/apps/$id.png"
    share/man/man1/diskarium.1.gz
    share/man/man1/diskarium-tool.1.gz
    share/doc/diskarium/copyright
)
for f in "${expected[@]}"; do
    [ -e "$prefix/$f" ] || fail "$f is not installed"
done
for b in diskarium diskarium-tool; do
    [ -x "$prefix/bin/$b" ] || fail "bin/$b is not executable"
done
for size in 48 256; do
    png=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
    # Width and height are the big-endian words at bytes 16 and 20 of a PNG.
    [ -e "$png" ] && [ "$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')" = "${size}x${size}" ] ||
        fail "$png is not ${size}x${size}"
done

desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop entry does not validate"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" || fail "metainfo does not validate"
grep -qx "Icon=$id" "$prefix/share/applications/$id.desktop" || fail "desktop entry names another icon"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$prefix/share/metainfo/$id.metainfo.xml" ||
    fail "metainfo launches another desktop entry"

for page in diskarium diskarium-tool; do
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
        man --warnings -E UTF-8 -l -Tutf8 -Z "$prefix/share/man/man1/$page.1.gz" 2>&1 >/dev/null || true)
    [ -z "$warnings" ] || fail "manual page $page(1): $warnings"
done

# Every command of the tool's usage text has its block in the manual page.
usage=$("$prefix/bin/diskarium-tool" 2>&1 >/dev/null || true)
commands=$(sed -n 's/^  diskarium-tool \([a-z][a-z-]*\).*/\1/p' <<<"$usage" | sort -u)
[ -n "$commands" ] || fail "the installed tool prints no usage"
manual=$(gzip -dc "$prefix/share/man/man1/diskarium-tool.1.gz" | sed 's/\\-/-/g')
for c in $commands; do
    grep -Eq "^\.BI? $c( |\$)" <<<"$manual" ||
        fail "diskarium-tool(1) does not describe the command $c"
done

# The installed tool reads the installed delivered files, not only its built-in copy.
echo "installed.example.org 8880" >>"$prefix/share/diskarium/files/cddbhosts.txt"
"$prefix/bin/diskarium-tool" init "$work/data" || fail "installed diskarium-tool init failed"
[ -s "$work/data/WinDsKm.db" ] || fail "init made no database"
grep -q "installed.example.org" "$work/data/cddbhosts.txt" ||
    fail "init did not take cddbhosts.txt from $prefix/share/diskarium"
"$prefix/bin/diskarium-tool" check "$work/data" >/dev/null || fail "the new data set does not pass check"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "installed tree in order"
