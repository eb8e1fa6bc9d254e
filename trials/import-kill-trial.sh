#!/bin/bash
# Kill trials of `moriva-cli import` (not run by CI): imports a large generated statement into a
# ledger of some entries and SIGKILLs the process at a random moment, again and again. After
# every trial the ledger must hold either none or all of the file's lines, `moriva-cli check` must
# be clean, and the next import of the same file must add exactly what was missing.
#
#   trials/import-kill-trial.sh [BUILD_DIR] [TRIALS] [LINES]
set -u
here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "${1:-$here/../../build}")
trials=${2:-30}
lines=${3:-300000}
cli=$build/src/cli/moriva-cli
bench=$build/bench/moriva-bench
for f in "$cli" "$bench"; do
    [ -x "$f" ] || { echo "missing $f (build the targets moriva-cli and moriva-bench)" >&2; exit 2; }
done
command -v sqlite3 >/dev/null || { echo "needs the sqlite3 command" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
count() { sqlite3 "file:$1?mode=ro" 'SELECT count(*) FROM entries' 2>/dev/null; }

# The ledger before the import: 5,000 lines of another statement, some marked and annotated.
"$bench" --statement "$work/NBG_big.csv" --lines "$lines" >/dev/null || exit 2
{
    echo '操作日(年),操作日(月),操作日(日),操作時刻(時),操作時刻(分),操作時刻(秒),取引順番号,摘要,お支払金額,お預り金額,残高'
    awk 'BEGIN { for (i = 0; i < 5000; i++)
        printf "\"2026\",\"%d\",\"%d\",\"%d\",\"%d\",\"%d\",\"%d\",\"振込 %d\",\"100\",\"0\",\"%d\"\n",
               1 + i % 12, 1 + i % 28, i % 24, i % 60, i % 59, i, i, 1000000 - i }'
} > "$work/NBG_base.csv"
pristine=$work/pristine
XDG_DATA_HOME=$pristine "$cli" import "$work/NBG_base.csv" >/dev/null || exit 2
sqlite3 "$pristine/Moriva/Moriva.sqlite" "UPDATE entries SET marked = 1, note = 'kept ' || id WHERE id % 7 = 0" || exit 2
base=$(count "$pristine/Moriva/Moriva.sqlite")
marks=$(sqlite3 "$pristine/Moriva/Moriva.sqlite" 'SELECT count(*) FROM entries WHERE marked = 1')

# How long an import takes, and what the whole file adds.
cp -a "$pristine" "$work/timing"
start=$(date +%s%N)
XDG_DATA_HOME=$work/timing "$cli" import "$work/NBG_big.csv" >/dev/null || exit 2
span=$((($(date +%s%N) - start) / 1000))
full=$(count "$work/timing/Moriva/Moriva.sqlite")
echo "ledger: $base entries; the statement: $lines lines, $((full - base)) added; an import takes $((span / 1000)) ms"

passed=0 failed=0
for ((t = 1; t <= trials; t++)); do
    rm -rf "$work/trial"
    cp -a "$pristine" "$work/trial"
    export XDG_DATA_HOME=$work/trial
    db=$XDG_DATA_HOME/Moriva/Moriva.sqlite
    "$cli" import "$work/NBG_big.csv" > "$work/out" 2>&1 &
    pid=$!
    delay=$(((RANDOM * 32768 + RANDOM) % (span * 6 / 5 + 1))) # some trials end before the kill
    sleep "$(awk -v us="$delay" 'BEGIN { printf "%.6f", us / 1000000 }')"
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    reported=$(grep -c 'added' "$work/out")
    verdict=passed why=
    cli_check=$("$cli" check 2>&1) || { verdict=FAILED; why="check: $(echo "$cli_check" | tr '\n' ' ')"; }
    have=$(count "$db")
    listed=$("$cli" list --format csv | wc -l)
    [ "$have" = "$base" ] || [ "$have" = "$full" ] || { verdict=FAILED; why="$why $have entries: half an import"; }
    [ "$reported" = 0 ] || [ "$have" = "$full" ] || { verdict=FAILED; why="$why reported done, but $have entries"; }
    [ "$listed" = "$have" ] || { verdict=FAILED; why="$why list gives $listed lines"; }
    kept=$(sqlite3 "file:$db?mode=ro" "SELECT count(*) FROM entries WHERE marked = 1 AND note = 'kept ' || id")
    [ "$kept" = "$marks" ] || { verdict=FAILED; why="$why $kept of $marks marks and notes kept"; }
    # The next import adds what is missing.
    again=$("$cli" import "$work/NBG_big.csv" 2>&1)
    added=$(echo "$again" | sed -n 's/.*, \([0-9]*\) added.*/\1/p')
    [ "$added" = "$((full - have))" ] && [ "$(count "$db")" = "$full" ] ||
        { verdict=FAILED; why="$why the next import: $again, then $(count "$db") entries"; }
    if [ $verdict = passed ]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
    printf 'trial %2d: killed after %7d µs: %6s entries (%s), then %6s added: %s%s\n' "$t" "$delay" \
        "$have" "$([ "$reported" = 0 ] && echo "not reported" || echo "reported")" "$added" "$verdict" "$why"
done
echo "$trials trials, $passed passed, $failed failed"
[ "$failed" -eq 0 ]
