#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times selvo-batch on N generated subjects against two floors, both selvo-bench-floor writing
# the same bytes with nothing else to do: "floor per set" commits each subject's three files on
# their own (each file flushed, the folder flushed), as one subject alone is saved; "floor one
# flush" puts them through the same temporary names and renames with one flush of the file
# system at the end, the least a disk can be asked while keeping the files safe.
#
# Usage: scripts/bench-batch.sh N [--runs R] [--build DIR] [--reference SELVO_BATCH]
#   --runs R       times each program R times (default 5) and reports the best and the spread
#   --build DIR    the Release build to use, configured and built there when needed
#                  (default build-run, the folder `make run` uses)
#   --reference P  also runs another selvo-batch (an older build, say) on the same subjects:
#                  its outputs must equal this build's byte for byte
# Both run on the disk (in $TMPDIR, or /tmp) and, when /dev/shm is a tmpfs, in memory, where
# flushing a file costs nothing: on a disk the flushes can outweigh everything else.
# Times are in seconds: wall clock, user and system CPU; "cpu" is user + system.
set -euo pipefail

usage() {
    sed -n '8,13s/^# \{0,1\}//p' "$0" >&2
    exit 2
}

[ $# -ge 1 ] || usage
count=$1
shift
[[ $count =~ ^[1-9][0-9]*$ ]] || usage
runs=5
build=build-run
reference=""
while [ $# -gt 0 ]; do
    case $1 in
    --runs) runs=${2:?}; shift 2 ;;
    --build) build=${2:?}; shift 2 ;;
    --reference) reference=$(realpath "${2:?}"); shift 2 ;;
    *) usage ;;
    esac
done
[[ $runs =~ ^[1-9][0-9]*$ ]] || usage

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release > /dev/null
else
    # A build folder made before the floor existed knows no target for it until configured.
    cmake -S . -B "$build" > /dev/null
fi
if ! grep -q '^CMAKE_BUILD_TYPE:STRING=Release$' "$build/CMakeCache.txt"; then
    echo "bench-batch: $build is not a Release build; timings would mislead." >&2
    exit 2
fi
cmake --build "$build" -j "${JOBS:-2}" --target selvo-batch selvo-bench-floor > /dev/null
batch=$root/$build/bin/selvo-batch
floor=$root/$build/bin/selvo-bench-floor

# Reports carry the processing time: fixed, so every run's files compare byte for byte.
export SOURCE_DATE_EPOCH=1700000000
places=("$(mktemp -d "${TMPDIR:-/tmp}/selvo-bench-XXXXXX")")
if [ "$(stat -f -c %T /dev/shm 2>/dev/null)" = tmpfs ]; then
    places+=("$(mktemp -d /dev/shm/selvo-bench-XXXXXX)")
fi
trap 'rm -rf "${places[@]}"' EXIT

work=${places[0]}
python3 "$root/scripts/bench_subjects.py" "$count" "$work/in" > "$work/list"
utf8=$(grep -l $'^\xEF\xBB\xBF' "$work"/in/*.csv | wc -l)
for place in "${places[@]:1}"; do
    cp -r "$work/in" "$work/list" "$place/"
done

# Each run writes into folders of its own, all removed once the place's runs are over: ext4
# gives a file created where thousands were just deleted its inode only after a long search,
# which would time the file system's bookkeeping rather than the programs.

# One timed run of a selvo-batch: "WALL USER SYS" on stdout, outputs in $place/$out.
time_batch() {
    local program=$1 place=$2 out=$3
    local TIMEFORMAT='%3R %3U %3S'
    { time (cd "$place/in" && "$program" --out "../$out" -- *.csv > /dev/null 2> "$place/err"); } 2>&1 ||
        { echo "bench-batch: $program failed:" >&2; cat "$place/err" >&2; exit 1; }
}

# One run of a floor over the outputs of selvo-batch's run in $place/$from, into $place/$out:
# its write phase's times. The mode is the floor's option, if any.
time_floor() {
    local place=$1 from=$2 out=$3 mode=${4:-}
    mkdir "$place/$out"
    "$floor" $mode "$place/$from" "$place/$out" "$place/list" |
        awk '$1 == "write" { print $2, $3, $4 }'
}

# "WALL USER SYS" lines in, one summary out: the best wall and the best cpu, each with the
# spread over the runs.
summary() {
    awk -v label="$1" '{
            wall[NR] = $1; user[NR] = $2; sys[NR] = $3; cpu[NR] = $2 + $3
            if (NR == 1 || $1 < wmin) wmin = $1
            if (NR == 1 || $1 > wmax) wmax = $1
            if (NR == 1 || cpu[NR] < cmin) { cmin = cpu[NR]; best = NR }
            if (NR == 1 || cpu[NR] > cmax) cmax = cpu[NR]
        }
        END {
            printf "  %-18s wall %7.3f (%.3f-%.3f)   cpu %7.3f (%.3f-%.3f) = user %.3f + sys %.3f\n",
                label, wmin, wmin, wmax, cmin, cmin, cmax, user[best], sys[best]
        }'
}

best() { awk -v col="$1" 'NR == 1 || $col < m { m = $col } END { print m }'; }
median() { sort -n -k "$1,$1" | awk -v col="$1" '{ v[NR] = $col } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }
best_cpu() { awk 'NR == 1 || $2 + $3 < m { m = $2 + $3 } END { print m }'; }

echo "selvo-batch benchmark: $count subjects ($utf8 of them in UTF-8), best of $runs runs"
echo "build: $build/bin/selvo-batch${reference:+, reference: $reference}"
echo "times in seconds, best (and spread): wall clock; cpu = user + sys; ratios of the best and of the median walls"
status=0
for place in "${places[@]}"; do
    echo
    if [ "$place" = "$work" ]; then
        echo "on disk ($(df --output=fstype "$place" | tail -1) at $place):"
    else
        echo "in memory (tmpfs at $place), where a flush costs nothing:"
    fi
    : > "$place/batch.times"
    : > "$place/floor.times"
    : > "$place/oneflush.times"
    : > "$place/reference.times"
    for ((r = 1; r <= runs; r++)); do
        run=runs/$r
        mkdir -p "$place/$run"
        if [ -n "$reference" ]; then
            time_batch "$reference" "$place" "$run/reference" >> "$place/reference.times"
        fi
        time_batch "$batch" "$place" "$run/out" >> "$place/batch.times"
        time_floor "$place" "$run/out" "$run/floor" >> "$place/floor.times"
        time_floor "$place" "$run/out" "$run/oneflush" --one-flush >> "$place/oneflush.times"
    done
    # The last run's files are the ones checked below.
    mv "$place/runs/$runs"/* "$place/"
    rm -rf "${place:?}/runs"
    summary selvo-batch < "$place/batch.times"
    summary "floor per set" < "$place/floor.times"
    summary "floor one flush" < "$place/oneflush.times"
    [ -z "$reference" ] || summary reference < "$place/reference.times"

    batch_wall=$(best 1 < "$place/batch.times")
    floor_wall=$(best 1 < "$place/floor.times")
    oneflush_wall=$(best 1 < "$place/oneflush.times")
    batch_cpu=$(best_cpu < "$place/batch.times")
    awk -v n="$count" -v c="$batch_cpu" 'BEGIN { printf "  selvo-batch: %.0f subjects per second of CPU (%.1f us each)\n", n / c, c / n * 1e6 }'
    batch_median=$(median 1 < "$place/batch.times")
    floor_median=$(median 1 < "$place/floor.times")
    oneflush_median=$(median 1 < "$place/oneflush.times")
    awk -v b="$batch_wall" -v f="$floor_wall" -v o="$oneflush_wall" \
        -v bm="$batch_median" -v fm="$floor_median" -v om="$oneflush_median" 'BEGIN {
            printf "  ratio wall(selvo-batch)/wall(floor per set):   best %.2f, median %.2f\n", b / f, bm / fm
            printf "  ratio wall(selvo-batch)/wall(floor one flush): best %.2f, median %.2f\n", b / o, bm / om
        }'
    if [ -n "$reference" ]; then
        ref_cpu=$(best_cpu < "$place/reference.times")
        awk -v r="$ref_cpu" -v b="$batch_cpu" 'BEGIN { printf "  cpu(reference)/cpu(selvo-batch): %.2f\n", r / b }'
    fi

    # The floor writes what it read, so its files are selvo-batch's; and a rewritten data file
    # equals the file it was read from.
    files=$(find "$place/out" -type f | wc -l)
    if [ "$files" -ne $((3 * count)) ]; then
        echo "  FAILED: selvo-batch wrote $files files, not $((3 * count))"
        status=1
    fi
    if diff -r -q "$place/out" "$place/floor" > /dev/null &&
        diff -r -q "$place/out" "$place/oneflush" > /dev/null; then
        echo "  outputs: selvo-batch's $files files equal both floors' byte for byte"
    else
        echo "  FAILED: a floor's files differ from selvo-batch's"
        status=1
    fi
    if ! (cd "$place/in" && for f in *.csv; do cmp -s "$f" "../out/$f" || exit 1; done); then
        echo "  FAILED: a rewritten data file differs from its input"
        status=1
    fi
    if [ -n "$reference" ]; then
        if diff -r -q "$place/out" "$place/reference" > /dev/null; then
            echo "  outputs: equal to the reference's byte for byte"
        else
            echo "  FAILED: outputs differ from the reference's:"
            diff -r -q "$place/out" "$place/reference" | head -5 | sed 's/^/    /'
            status=1
        fi
    fi
done
exit $status
