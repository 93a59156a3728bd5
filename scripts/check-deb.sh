#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the .deb from a configured build folder and checks it as a user would get it: what
# lintian says, the computed dependencies, the unpacked tree, and that the packaged
# selvo-batch writes byte for byte the files the build's own selvo-batch writes.
# Usage: scripts/check-deb.sh BUILD_DIR
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 BUILD_DIR" >&2
    exit 2
fi
repo=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$(cd "$1" && pwd)
jobs=${JOBS:-2}

for tool in cpack lintian dpkg-deb dpkg-shlibdeps cmp; do
    if ! command -v "$tool" > /dev/null; then
        echo "$tool is missing: run scripts/setup.sh" >&2
        exit 2
    fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/selvo-deb-XXXXXX")
trap 'rm -rf "$work"' EXIT
failed=0
fail() { failed=$((failed + 1)); echo "FAILED: $*"; }

echo "== Building and packaging $build_dir"
cmake --build "$build_dir" -j "$jobs"
rm -f "$build_dir"/brivanselvo_*.deb
# Folders in the package get the modes mkdir() leaves, so a strict umask would narrow them.
(cd "$build_dir" && umask 022 && cpack -G DEB > "$work/cpack.log") || {
    cat "$work/cpack.log"
    exit 1
}
debs=("$build_dir"/brivanselvo_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    echo "cpack made no single brivanselvo_*.deb in $build_dir" >&2
    exit 1
fi
deb=${debs[0]}
echo "package: $deb"

echo "== Control fields"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")
dpkg-deb --info "$deb"
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = brivanselvo ] || fail "package name is '$(field Package)'"
[ "$(field Version)" = "$version-1" ] || fail "version is '$(field Version)', not $version-1"
[ "$(field Section)" = science ] || fail "section is '$(field Section)'"
# The dependencies come from the binaries: without them the package would install and then
# fail to start.
depends=$(field Depends)
depended=$(tr ',' '\n' <<< "$depends" | sed 's/^ *//; s/[ (].*//')
for library in libqt6widgets6 libqcustomplot2.1-qt6 libqt6svg6 libreadstat1 libc6 libstdc++6; do
    if grep -Fxq "$library" <<< "$depended"; then
        echo "ok: depends on $library"
    else
        fail "Depends lacks $library: $depends"
    fi
done

echo "== lintian"
# Errors fail the check; warnings and notes are shown to be fixed or overridden.
lintian_status=0
lintian --display-info --fail-on error "$deb" > "$work/lintian.txt" 2>&1 || lintian_status=$?
cat "$work/lintian.txt"
echo "lintian: $(grep -c '^E:' "$work/lintian.txt" || true) errors," \
    "$(grep -c '^W:' "$work/lintian.txt" || true) warnings," \
    "$(grep -c '^I:' "$work/lintian.txt" || true) notes"
[ "$lintian_status" -eq 0 ] || fail "lintian reports errors (status $lintian_status)"

echo "== Unpacked tree"
# Everything in the package belongs to root; the modes are checked with the tree below.
not_root=$(dpkg-deb --contents "$deb" | awk '$2 != "root/root"')
[ -z "$not_root" ] || fail "entries not owned by root: $not_root"
dpkg-deb -x "$deb" "$work/root"
bash "$repo/tests/packaging/check-tree.sh" "$work/root/usr" "$version" || fail "unpacked tree"
for program in "$work"/root/usr/bin/*; do
    missing=$(ldd "$program" | grep 'not found' || true)
    if [ -n "$missing" ]; then
        fail "$(basename "$program") needs libraries that are not installed: $missing"
    fi
    if file "$program" | grep -q 'not stripped'; then
        fail "$(basename "$program") is not stripped"
    fi
done

echo "== Packaged selvo-batch against the build's"
sample=$repo/tests/datafiles/fuzz/seeds/ordinary.csv
outputs=(SELVO_GRP1_S01_report.rtf SELVO_GRP1_S01.csv SELVO_SS000_GRP1_S01_sps.sps)
stamp='[0-9]{2}/[0-9]{2}/[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}'
# The report holds the time of processing to the second: two runs that straddle a second are
# run again; two runs of the same second must agree on every byte.
for _ in 1 2 3; do
    rm -rf "$work/packaged" "$work/built"
    mkdir "$work/packaged" "$work/built"
    cp "$sample" "$work/packaged/ordinary.csv"
    cp "$sample" "$work/built/ordinary.csv"
    "$work/root/usr/bin/selvo-batch" "$work/packaged/ordinary.csv" > /dev/null
    "$build_dir/bin/selvo-batch" "$work/built/ordinary.csv" > /dev/null
    packaged_time=$(grep -Eao "$stamp" "$work/packaged/${outputs[0]}" | head -n1)
    built_time=$(grep -Eao "$stamp" "$work/built/${outputs[0]}" | head -n1)
    if [ -n "$packaged_time" ] && [ "$packaged_time" = "$built_time" ]; then
        break
    fi
    echo "the two runs were stamped '$packaged_time' and '$built_time': running again"
done
for output in "${outputs[@]}"; do
    if cmp "$work/packaged/$output" "$work/built/$output"; then
        echo "ok: $output is the same from both"
    else
        fail "$output differs between the packaged and the built selvo-batch"
    fi
done

echo
if [ "$failed" -ne 0 ]; then
    echo "$deb: $failed checks failed"
    exit 1
fi
echo "$deb: every check passed"
