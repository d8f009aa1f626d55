#!/usr/bin/env bash
# Start-up time and memory of velkin on the demo installation, against a bare Qt window.
#
#   bench/startup/run.sh [BUILD_DIR] [RUNS]     (defaults: build/release, 10)
#
# Each run starts the program with --quit-after-first-paint and times the whole process,
# from its start to its exit right after the main window's first paint. Both programs run
# on the same display: Xvfb when XVFB=1 (or no offscreen plugin), otherwise Qt's offscreen
# platform. Prints the median of the runs, the ratio velkin / baseline (target at most 1.5)
# and the resident memory after start (the peak VmRSS of the run, from /usr/bin/time).
set -euo pipefail

cd "$(dirname "$0")/../.."
BUILD_DIR=${1:-build/release}
RUNS=${2:-10}
VELKIN="$BUILD_DIR/bin/velkin"
BASELINE="$BUILD_DIR/bench/bench_startup_baseline"

for f in "$VELKIN" "$BASELINE"; do
    if [[ ! -x $f ]]; then
        echo "missing $f: build the targets velkin, demo_install, demo_skin and bench_startup_baseline" >&2
        exit 2
    fi
done
if ! grep -q -a -- "--quit-after-first-paint" "$VELKIN"; then
    echo "$VELKIN has no --quit-after-first-paint option yet: nothing to time" >&2
    exit 3
fi

DATA=$(mktemp -d)
trap 'rm -rf "$DATA"' EXIT
BKG="$BUILD_DIR/bin/skins/main_nr.png"
# A fresh user data folder: the runs neither read nor change the user's own settings.
export XDG_DATA_HOME="$DATA/user"
mkdir -p "$XDG_DATA_HOME"

if [[ ${XVFB:-0} == 1 ]]; then
    PREFIX=(xvfb-run -a -s "-screen 0 1920x1080x24")
    export QT_QPA_PLATFORM=xcb
else
    PREFIX=()
    export QT_QPA_PLATFORM=offscreen
fi

# One run: prints "<milliseconds> <max RSS in KiB>".
run_once() {
    local t0 t1 rss
    t0=$(date +%s%N)
    /usr/bin/time -f %M -o "$DATA/rss" "${PREFIX[@]}" "$@" >/dev/null 2>"$DATA/err" || {
        echo "run failed: $*" >&2
        cat "$DATA/err" >&2
        exit 1
    }
    t1=$(date +%s%N)
    rss=$(tail -n 1 "$DATA/rss")
    echo "$(((t1 - t0) / 1000000)) $rss"
}

# Median of a column of numbers on standard input (plain awk: Debian's mawk has no asort).
median() {
    sort -n | awk '{ v[NR] = $1 } END {
        mid = int((NR + 1) / 2)
        if (NR % 2) print v[mid]; else print (v[mid] + v[mid + 1]) / 2 }'
}

# Median of the first column, and of the second, over RUNS runs.
measure() {
    local i runs
    runs=$(for ((i = 0; i < RUNS; i++)); do run_once "$@"; done)
    echo "$(cut -d' ' -f1 <<<"$runs" | median) $(cut -d' ' -f2 <<<"$runs" | median)"
}

# A warm-up run of each fills the page cache, so the first timed run is not an outlier.
run_once "$BASELINE" "$BKG" >/dev/null
run_once "$VELKIN" --quit-after-first-paint >/dev/null

read -r T_BASE RSS_BASE < <(measure "$BASELINE" "$BKG")
read -r T_VELKIN RSS_VELKIN < <(measure "$VELKIN" --quit-after-first-paint)

RATIO=$(awk -v a="$T_VELKIN" -v b="$T_BASE" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')
echo "platform:          $QT_QPA_PLATFORM, $RUNS runs each"
echo "baseline start-up: ${T_BASE} ms (median), ${RSS_BASE} KiB resident"
echo "velkin start-up:   ${T_VELKIN} ms (median), ${RSS_VELKIN} KiB resident"
echo "ratio:             ${RATIO} (target at most 1.5)"
awk -v r="$RATIO" 'BEGIN { exit !(r <= 1.5) }' || { echo "ratio above 1.5" >&2; exit 4; }
