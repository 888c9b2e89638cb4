#!/bin/bash
# The figures of docs/scale.md for one generated collection: file size, whole-collection
# commands, checks, index rebuild, backup and restore, each with its time and peak memory.
#   bench/scale.sh DIR N      (DIR is generated with N carriers of 15 songs when empty)
set -u
cd "$(dirname "$0")/.."
T=build/src/cli/diskarium-tool
G=build/bench/diskarium-generate
D=$1
N=$2
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
if [ ! -e "$D/WinDsKm.db" ]; then
    /usr/bin/time -f "generate $N: %e s, %M KB" $G "$D" "$N" 15 1 >/dev/null
fi
echo "database file: $(stat -c %s "$D/WinDsKm.db") bytes"
for cmd in "carriers $D" "search $D songs --count Titel:~:liebe" "statistics $D 2"; do
    /usr/bin/time -f "$cmd: %e s, %M KB" $T $cmd >/dev/null
done
for check in quick_check integrity_check; do
    /usr/bin/time -f "PRAGMA $check: %e s" sqlite3 -cmd ".load build/bench/libdiskarium-german" \
        "$D/WinDsKm.db" "PRAGMA $check" >/dev/null
done
/usr/bin/time -f "check --reindex: %e s, %M KB" $T check "$D" --reindex --yes >/dev/null
/usr/bin/time -f "backup: %e s, %M KB" $T backup "$D" "$WORK/scale.BCK" >/dev/null
echo "archive: $(cat "$WORK"/scale* | wc -c) bytes"
mkdir "$WORK/restored"
/usr/bin/time -f "restore: %e s, %M KB" $T restore "$WORK/scale.BCK" "$WORK/restored" >/dev/null
