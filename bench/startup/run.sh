#!/usr/bin/env bash
# Start-up time and memory of velkin on the demo installation, against a bare Qt window.
#
#   bench/startup/run.sh [BUILD_DIR] [RUNS]     (defaults: build/release, 10)
#
# Each run starts the program with --quit-after-first-paint; the program prints the wall
# clock when its first paint ended ("first-paint-ns N") and exits. A run's start-up time is
# that moment minus the moment just before the process was started; the whole run up to the
# exit is reported beside it. Both programs run on the same display: Xvfb when XVFB=1,
# otherwise Qt's offscreen platform. Prints the medians of the runs, the ratio velkin /
# baseline of the start-up times (target at most 1.5) and the resident memory after start
# (the peak VmRSS of the run, from /usr/bin/time).
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

# One run: prints "<ms to first paint> <ms to exit> <max RSS in KiB>".
run_once() {
    local t0 t1 rss paint
    t0=$(date +%s%N)
    /usr/bin/time -f %M -o "$DATA/rss" "${PREFIX[@]}" "$@" >"$DATA/out" 2>"$DATA/err" || {
        echo "run failed: $*" >&2
        cat "$DATA/err" >&2
        exit 1
    }
    t1=$(date +%s%N)
    paint=$(awk '$1 == "first-paint-ns" { print $2; exit }' "$DATA/out")
    if [[ -z $paint ]]; then
        echo "no first-paint-ns line from: $*" >&2
        exit 1
    fi
    rss=$(tail -n 1 "$DATA/rss")
    echo "$(((paint - t0) / 1000000)) $(((t1 - t0) / 1000000)) $rss"
}

# Median of a column of numbers on standard input (plain awk: Debian's mawk has no asort).
median() {
    sort -n | awk '{ v[NR] = $1 } END {
        mid = int((NR + 1) / 2)
        if (NR % 2) print v[mid]; else print (v[mid] + v[mid + 1]) / 2 }'
}

# Medians of the three columns over RUNS runs.
measure() {
    local i runs
    runs=$(for ((i = 0; i < RUNS; i++)); do run_once "$@"; done)
    echo "$(cut -d' ' -f1 <<<"$runs" | median) $(cut -d' ' -f2 <<<"$runs" | median)" \
        "$(cut -d' ' -f3 <<<"$runs" | median)"
}

# A warm-up run of each fills the page cache, so the first timed run is not an outlier.
run_once "$BASELINE" "$BKG" >/dev/null
run_once "$VELKIN" --quit-after-first-paint >/dev/null

read -r T_BASE T_BASE_ALL RSS_BASE < <(measure "$BASELINE" "$BKG")
read -r T_VELKIN T_VELKIN_ALL RSS_VELKIN < <(measure "$VELKIN" --quit-after-first-paint)

RATIO=$(awk -v a="$T_VELKIN" -v b="$T_BASE" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')
RATIO_ALL=$(awk -v a="$T_VELKIN_ALL" -v b="$T_BASE_ALL" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')
echo "platform:          $QT_QPA_PLATFORM, $RUNS runs each (medians)"
echo "baseline:          first paint ${T_BASE} ms, exit ${T_BASE_ALL} ms, ${RSS_BASE} KiB resident"
echo "velkin:            first paint ${T_VELKIN} ms, exit ${T_VELKIN_ALL} ms, ${RSS_VELKIN} KiB resident"
echo "ratio:             ${RATIO} to first paint (target at most 1.5), ${RATIO_ALL} to exit"
awk -v r="$RATIO" 'BEGIN { exit !(r <= 1.5) }' || { echo "ratio above 1.5" >&2; exit 4; }
