#!/usr/bin/env bash
# Times `moriva-cli import` beside the same job done with standard tools (iconv alone, and
# iconv with sqlite3: bench/sqlite-pipeline.sh) on one CP932 statement, in one run, and prints
# the medians and the ratios. The machine is shared: compare the ratios, not the times.
#
#   bench/compare.sh BUILDDIR [LINES] [RUNS]      (defaults: 200000 lines, 7 runs)
set -euo pipefail

BUILD=$(cd "${1:?usage: $0 BUILDDIR [LINES] [RUNS]}" && pwd)
LINES=${2:-200000}
RUNS=${3:-7}
HERE=$(cd "$(dirname "$0")" && pwd)
CLI="$BUILD/src/cli/moriva-cli"
BENCH="$BUILD/bench/moriva-bench"
[ -x "$CLI" ] && [ -x "$BENCH" ] || { echo "$0: build moriva-cli and moriva-bench in $BUILD first" >&2; exit 2; }
if ! command -v sqlite3 >/dev/null; then
    echo "installing sqlite3 from Debian's packages..." >&2
    if [ "$(id -u)" -eq 0 ]; then apt-get install -y sqlite3 >&2; else sudo apt-get install -y sqlite3 >&2; fi
fi

WORK=$(mktemp -d /tmp/moriva-compare.XXXXXXXX)
trap 'rm -rf "$WORK"' EXIT
export LC_ALL=C.UTF-8

now() { date +%s%N; }
# The median of RUNS timings of a command (in ms); PREPARE runs before each, untimed.
median_ms() {
    local prepare=$1; shift
    local times=()
    for ((i = 0; i < RUNS; i++)); do
        eval "$prepare"
        local start end
        start=$(now)
        "$@" >/dev/null 2>&1
        end=$(now)
        times+=($(( (end - start) / 1000000 )))
    done
    printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (RUNS + 1) / 2 ))p"
}

printf '%-14s %10s %10s %10s %12s %12s\n' "statement" "iconv" "sqlite3" "moriva" "sqlite3/mor" "iconv/mor"
for kind in realistic worst; do
    file="$WORK/NBG_$kind.csv"
    "$BENCH" --statement "$file" --lines "$LINES" $([ $kind = worst ] && echo --worst)
    fresh_home='rm -rf "$WORK/home" "$WORK/db"; mkdir -p "$WORK/home"'
    export HOME="$WORK/home" XDG_DATA_HOME="$WORK/home/data" XDG_CONFIG_HOME="$WORK/home/config"
    iconv_ms=$(median_ms : sh -c "iconv -f CP932 -t UTF-8 '$file' >/dev/null")
    sqlite_ms=$(median_ms "$fresh_home" sh "$HERE/sqlite-pipeline.sh" "$file" "$WORK/db")
    moriva_ms=$(median_ms "$fresh_home" "$CLI" import "$file")
    printf '%-14s %8s ms %7s ms %7s ms %11s %11s\n' "$kind" "$iconv_ms" "$sqlite_ms" "$moriva_ms" \
        "$(awk "BEGIN { printf \"%.2fx\", $sqlite_ms / $moriva_ms }")" \
        "$(awk "BEGIN { printf \"%.2fx\", $iconv_ms / $moriva_ms }")"
done
echo
echo "$LINES lines of JNB statement in CP932, quoted fields; medians of $RUNS runs;" \
     "$(nproc) cores, load average $(cut -d' ' -f1 /proc/loadavg)"
