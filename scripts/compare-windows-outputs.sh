#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the Linux and the Windows selvo-batch on the same subjects and compares every byte they
# write: the files, their names, and what each prints. The subjects have accented and
# non-Latin names and notes with line breaks, quotes and a 0x1A byte; each program runs twice
# into an output folder (the second run replaces the first run's files) and twice in place
# (each data file rewritten beside itself), then writes the study's dataset, with names and
# pseudonymised: its table, command file, .sav and codebook must agree byte for byte too.
#   scripts/compare-windows-outputs.sh LINUX_SELVO_BATCH WINDOWS_BUILD_FOLDER
set -euo pipefail
cd "$(dirname "$0")/.."
here="$PWD"
linux_batch="$(realpath "$1")"
windows_build="$(realpath "$2")"
windows_batch="$windows_build/bin/selvo-batch.exe"
run_windows() { "$here/scripts/wine-run.sh" "$windows_build/wineprefix" "$windows_batch" "$@"; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# The reports carry the processing time; both programs are given the same one.
export SOURCE_DATE_EPOCH=1796000000

for side in linux windows; do
    mkdir -p "$work/$side"
    cp tests/windows/subjects/*.csv "$work/$side/"
done

inputs=()
for file in tests/windows/subjects/*.csv; do
    inputs+=("$(basename "$file")")
done
# Each pass records what the program printed and its exit status, which must agree too.
pass() {
    local side="$1" name="$2"
    shift 2
    local status=0
    if [ "$side" = linux ]; then
        (cd "$work/linux" && "$linux_batch" "$@" > "out-$name.txt" 2> "err-$name.txt") || status=$?
    else
        (cd "$work/windows" && run_windows "$@" > "out-$name.txt" 2> "err-$name.txt") || status=$?
    fi
    echo "$status" > "$work/$side/status-$name.txt"
}
for side in linux windows; do
    pass "$side" first --out out "${inputs[@]}"
    pass "$side" again --out out "${inputs[@]}"
    pass "$side" in-place "${inputs[@]}"
    pass "$side" in-place-again "${inputs[@]}"
    pass "$side" missing --out out absent.csv "${inputs[0]}"
    pass "$side" dataset --dataset studio --out study "${inputs[@]}"
    pass "$side" pseudonyms --dataset anonimo --pseudonimi --out study "${inputs[@]}"
done

# The closing line names the dataset (and the key) with the system's own separator.
sed -i 's|study\\studio|study/studio|' "$work/windows/out-dataset.txt"
sed -i 's|study\\anonimo|study/anonimo|g' "$work/windows/out-pseudonyms.txt"

if ! diff -r "$work/linux" "$work/windows"; then
    echo "compare-windows-outputs: the Windows outputs differ from the Linux ones" >&2
    exit 1
fi
count="$(find "$work/linux" -type f | wc -l)"
if [ "$count" -lt 40 ] || [ ! -s "$work/linux/study/studio.sav" ] ||
    [ ! -s "$work/linux/study/anonimo.sav" ]; then
    echo "compare-windows-outputs: only $count files were written" >&2
    exit 1
fi

# cmd and PowerShell pass a pattern on as it stands: the Windows program expands it itself,
# whatever the case, and a study folder given whole gives the same subjects.
glob="$work/glob"
mkdir -p "$glob/study"
cp tests/windows/subjects/*.csv "$glob/study/"
windows_glob="Z:${glob//\//\\}"
(cd "$glob" && "$linux_batch" --out linux study/*.csv > /dev/null)
(cd "$glob" && run_windows --out by-pattern "$windows_glob\\study\\*.CSV" > /dev/null)
(cd "$glob" && run_windows --out by-folder "$windows_glob\\study" > /dev/null)
(cd "$glob" && run_windows --out by-relative-pattern "study\\*" > /dev/null)
for windows_out in by-pattern by-folder by-relative-pattern; do
    if ! diff -r "$glob/linux" "$glob/$windows_out"; then
        echo "compare-windows-outputs: the Windows run $windows_out differs from the Linux one" >&2
        exit 1
    fi
done
status=0
(cd "$glob" && run_windows "study\\nessuno*.csv" > /dev/null 2> "$glob/err.txt") || status=$?
if [ "$status" != 2 ] || ! grep -q "nessun file corrisponde" "$glob/err.txt"; then
    echo "compare-windows-outputs: a pattern that matches nothing gave status $status" >&2
    exit 1
fi
echo "compare-windows-outputs: $count files identical on Linux and Windows, names included;" \
    "patterns and a folder give the same subjects"
