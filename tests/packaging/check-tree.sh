#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks an installed tree of BrivanSelvo: PREFIX is what the install prefix became (a
# `cmake --install --prefix` folder, or usr/ of an unpacked package). Every check runs and
# each failure is named, so one run shows everything that is wrong.
# Usage: check-tree.sh PREFIX VERSION
set -euo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 PREFIX VERSION" >&2
    exit 2
fi
prefix=$1
version=$2
app_id=it.brivanselvo.BrivanSelvo
passed=0
failed=0

pass() { passed=$((passed + 1)); echo "ok: $*"; }
fail() { failed=$((failed + 1)); echo "FAILED: $*"; }

for tool in desktop-file-validate appstreamcli man lexgrog readelf; do
    if ! command -v "$tool" > /dev/null; then
        echo "$tool is missing: run scripts/setup.sh" >&2
        exit 2
    fi
done

cd "$prefix"

# Exactly these files: one left out breaks a desktop, one too many is something installed by
# mistake.
expected=$(cat <<EOF
bin/BrivanSelvo
bin/BrivanSelvoStudio
bin/Kalvexlib
bin/selvo-batch
share/applications/$app_id.desktop
share/applications/it.brivanselvo.Kalvexlib.desktop
share/applications/it.brivanselvo.Studio.desktop
share/doc/brivanselvo/changelog.Debian.gz
share/doc/brivanselvo/copyright
share/icons/hicolor/128x128/apps/$app_id.png
share/icons/hicolor/256x256/apps/$app_id.png
share/icons/hicolor/48x48/apps/$app_id.png
share/icons/hicolor/scalable/apps/$app_id.svg
share/lintian/overrides/brivanselvo
share/man/man1/BrivanSelvo.1.gz
share/man/man1/BrivanSelvoStudio.1.gz
share/man/man1/Kalvexlib.1.gz
share/man/man1/selvo-batch.1.gz
share/metainfo/$app_id.metainfo.xml
share/metainfo/it.brivanselvo.Studio.metainfo.xml
EOF
)
actual=$(find . \( -type f -o -type l \) -printf '%P\n' | LC_ALL=C sort)
if [ "$actual" = "$(LC_ALL=C sort <<< "$expected")" ]; then
    pass "the tree holds exactly the expected files"
else
    fail "files differ from the expected list (< expected, > installed):"
    diff <(LC_ALL=C sort <<< "$expected") <(echo "$actual") || true
fi

# Programs 0755, everything else 0644, folders 0755: anyone can run and read them, only the
# owner can change them.
wrong_modes=$(find . -mindepth 1 \( \( -path './bin/*' -type f ! -perm 0755 \) \
    -o \( ! -path './bin/*' -type f ! -perm 0644 \) -o \( -type d ! -perm 0755 \) \) \
    -printf '%m %P\n')
if [ -z "$wrong_modes" ]; then
    pass "programs are 0755, data files 0644, folders 0755"
else
    fail "wrong permissions: $wrong_modes"
fi

# A search path in an installed binary would point at the build tree or beside the program,
# where nothing of ours is.
for program in bin/*; do
    if readelf -d "$program" | grep -Eq '\((RPATH|RUNPATH)\)'; then
        fail "$program carries a library search path: $(readelf -d "$program" | grep -E 'R(UN)?PATH')"
    else
        pass "$program has no library search path"
    fi
done
if usage=$(bin/selvo-batch --help) && grep -q '^Uso: selvo-batch' <<< "$usage"; then
    pass "the installed selvo-batch runs"
else
    fail "the installed selvo-batch does not run"
fi

# Each PNG's size, read from its header, must be the one its folder promises.
for png in share/icons/hicolor/*x*/apps/*.png; do
    folder=$(basename "$(dirname "$(dirname "$png")")")
    read -r width height < <(od -An -tu4 --endian=big -j16 -N8 "$png")
    if [ "$(head -c8 "$png" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] &&
        [ "${width}x${height}" = "$folder" ]; then
        pass "$png is a ${folder} PNG"
    else
        fail "$png is ${width:-?}x${height:-?}, not $folder"
    fi
done

for page in share/man/man1/*.1.gz; do
    # gzip -n: no name or time in the header (flags byte 0, time 0), so builds compare equal.
    header=$(od -An -tx1 -j3 -N5 "$page" | tr -d ' ')
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 > /dev/null || echo "man failed")
    program=$(basename "$page" .1.gz)
    if [ "$header" != 0000000000 ]; then
        fail "$page was compressed with a name or time in it (header $header)"
    elif [ -n "$warnings" ]; then
        fail "$page renders with warnings: $warnings"
    elif ! lexgrog "$page" | grep -q "\"$program - "; then
        fail "$page has no NAME line for $program: $(lexgrog "$page" || true)"
    elif ! zcat "$page" | grep -q "^\.TH .* \"BrivanSelvo $version\""; then
        fail "$page does not say version $version"
    else
        pass "$page renders cleanly, names $program and says version $version"
    fi
done

for entry in share/applications/*.desktop; do
    exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
    icon=$(sed -n 's/^Icon=//p' "$entry")
    if ! report=$(desktop-file-validate "$entry" 2>&1); then
        fail "$entry is invalid: $report"
    elif [ ! -x "bin/$exec_name" ]; then
        fail "$entry starts '$exec_name', which is not installed in bin"
    elif [ ! -f "share/icons/hicolor/scalable/apps/$icon.svg" ]; then
        fail "$entry shows icon '$icon', which is not installed"
    else
        pass "$entry is valid, starts bin/$exec_name and shows an installed icon"
    fi
done

# Every program with a menu entry has its software-centre entry.
for metainfo in share/metainfo/*.metainfo.xml; do
    if report=$(appstreamcli validate --no-net "$metainfo" 2>&1); then
        pass "$metainfo is valid"
    else
        fail "$metainfo is invalid: $report"
    fi
    launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
    if [ -n "$launchable" ] && [ -f "share/applications/$launchable" ]; then
        pass "$metainfo launches an installed desktop entry"
    else
        fail "$metainfo launches '$launchable', which is not installed"
    fi
    while read -r binary; do
        if [ -x "bin/$binary" ]; then
            pass "$metainfo provides bin/$binary"
        else
            fail "$metainfo provides '$binary', which is not installed"
        fi
    done < <(sed -n 's:.*<binary>\(.*\)</binary>.*:\1:p' "$metainfo")
done
metainfo=share/metainfo/$app_id.metainfo.xml

# The package, the software centre and the sources state the same licence.
if grep -qx 'License: GPL-3.0-or-later' share/doc/brivanselvo/copyright &&
    grep -q '<project_license>GPL-3.0-or-later</project_license>' "$metainfo"; then
    pass "the copyright file and $metainfo state GPL-3.0-or-later"
else
    fail "the copyright file or $metainfo does not state GPL-3.0-or-later"
fi

# A new version in project() needs its release entry in every software-centre entry and its
# changelog entry too.
for metainfo in share/metainfo/*.metainfo.xml; do
    newest_release=$(grep -o '<release version="[^"]*"' "$metainfo" | head -n1 | cut -d'"' -f2)
    if [ "$newest_release" = "$version" ]; then
        pass "$metainfo's newest release is $version"
    else
        fail "$metainfo's newest release is '$newest_release', the program is $version"
    fi
done
changelog_top=$(zcat share/doc/brivanselvo/changelog.Debian.gz | head -n1)
if [[ "$changelog_top" == "brivanselvo ($version-"* ]]; then
    pass "changelog.Debian's newest entry is for $version"
else
    fail "changelog.Debian's newest entry is '$changelog_top', the program is $version"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
