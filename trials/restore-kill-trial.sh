#!/bin/bash
# Kill trials of `moriva-cli restore` (not run by CI): restores a backup over a ledger database
# and SIGKILLs the process at a random moment, again and again. After every trial the data
# folder must hold a sound Moriva.sqlite with either the old ledger's entries or the backup's,
# never none, never a mix; `moriva-cli check` must be clean; and once the restore has put the
# backup in place, the database it replaced must be kept in Backups/ ("Moriva replaced ….sqlite",
# with the old ledger's entries).
#
#   trials/restore-kill-trial.sh [BUILD_DIR] [TRIALS] [LINES]
set -u
here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "${1:-$here/../../build}")
cli=$build/src/cli/moriva-cli
[ -x "$cli" ] || { echo "missing $cli (build the target moriva-cli)" >&2; exit 2; }
trials=${2:-25}
lines=${3:-200000}
command -v sqlite3 >/dev/null || { echo "needs the sqlite3 command" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
statement() { # $1: file, $2: first day of the month, $3: lines
    {
        echo '操作日(年),操作日(月),操作日(日),操作時刻(時),操作時刻(分),操作時刻(秒),取引順番号,摘要,お支払金額,お預り金額,残高'
        awk -v month="$2" -v n="$3" 'BEGIN {
            for (i = 0; i < n; i++)
                printf "\"2026\",\"%d\",\"%d\",\"%d\",\"%d\",\"%d\",\"%d\",\"振込 %d\",\"100\",\"0\",\"%d\"\n",
                       month, 1 + i % 28, i % 24, i % 60, i % 59, i, i, 1000000 - i
        }'
    } > "$1"
}

# The pristine folder: the old ledger holds two imports, its newest backup the first one only.
pristine=$work/pristine
mkdir -p "$pristine/share" "$work/config"
export XDG_CONFIG_HOME=$work/config
statement "$work/NBG-1.csv" 1 "$lines"
statement "$work/NBG-2.csv" 2 $((lines / 2))
XDG_DATA_HOME=$pristine/share "$cli" import "$work/NBG-1.csv" >/dev/null || exit 2
XDG_DATA_HOME=$pristine/share "$cli" import "$work/NBG-2.csv" >/dev/null || exit 2
data=Moriva
count() { sqlite3 "file:$1?mode=ro" 'SELECT count(*) FROM entries' 2>/dev/null; }
old=$(count "$pristine/share/$data/Moriva.sqlite")
backup=$(ls -t "$pristine/share/$data/Backups/"Moriva\ 2*.sqlite | head -n 1) # the newest made
new=$(count "$backup")
echo "old ledger: $old entries; backup: $new entries ($(basename "$backup"))"
[ "$old" != "$new" ] && [ "$new" -gt 0 ] || { echo "the backup is empty or holds what the ledger holds: no trial" >&2; exit 2; }

# How long a restore takes, to spread the kills over it.
cp -a "$pristine" "$work/timing"
start=$(date +%s%N)
XDG_DATA_HOME=$work/timing/share "$cli" restore "$work/timing/share/$data/Backups/$(basename "$backup")" >/dev/null
span=$(( ($(date +%s%N) - start) / 1000 ))
echo "a restore takes $((span / 1000)) ms"

# Judges the trial's folder after the restore ended with exit status $2; $1 says how it was killed.
passed=0 failed=0 linked=0
judge() {
    local how=$1 rc=$2 db=$folder/Moriva.sqlite verdict=passed why= cli_check have replaced
    cli_check=$("$cli" check 2>&1) || { verdict=FAILED; why=" check: $(echo "$cli_check" | tr '\n' ' ')"; }
    have=$(count "$db")
    [ "$have" = "$old" ] || [ "$have" = "$new" ] || { verdict=FAILED; why="$why ${have:-no} entries"; }
    if [ -z "$have" ]; then # what a writer sees (SQLite plays a journal left beside the file back)
        rm -rf "$work/probe" && cp -a "$folder" "$work/probe"
        why="$why$(ls "$folder" | grep -q 'sqlite-journal$' && echo ' (a Moriva.sqlite-journal is left)');"
        why="$why a writer's open finds $(sqlite3 "$work/probe/Moriva.sqlite" 'SELECT count(*) FROM entries' 2>&1) entries"
    fi
    [ "$rc" != 0 ] || [ "$have" = "$new" ] || { verdict=FAILED; why="$why restore said done, yet $have entries"; }
    replaced=$(find "$folder/Backups" -maxdepth 1 -name 'Moriva replaced*.sqlite' | head -n 1)
    if [ "$have" = "$new" ]; then
        [ -n "$replaced" ] && [ "$(count "$replaced")" = "$old" ] ||
            { verdict=FAILED; why="$why the replaced database is not kept (${replaced:-none})"; }
    elif [ -n "$replaced" ] && [ "$(stat -c %i "$replaced")" = "$(stat -c %i "$db")" ]; then
        linked=$((linked + 1))
        why="$why (left: $(basename "$replaced"), a hard link to the live Moriva.sqlite)"
    fi
    if [ $verdict = passed ]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
    printf '%s (exit %3s): %6s entries: %s%s\n' "$how" "$rc" "${have:-none}" "$verdict" "$why"
}
fresh() {
    rm -rf "$work/trial"
    cp -a "$pristine" "$work/trial"
    folder=$work/trial/share/$data
    export XDG_DATA_HOME=$work/trial/share
}

for ((t = 1; t <= trials; t++)); do
    fresh
    "$cli" restore "$folder/Backups/$(basename "$backup")" > "$work/out" 2>&1 &
    pid=$!
    delay=$(( RANDOM * 32768 + RANDOM ))
    delay=$(( delay % (span * 3 / 2 + 1) )) # some trials end before the kill
    sleep "$(awk -v us="$delay" 'BEGIN { printf "%.6f", us / 1000000 }')"
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    rc=$?
    judge "$(printf 'trial %2d: killed after %6d µs' "$t" "$delay")" $rc
done
total=$trials

# With STRACE=1, also a kill at each of the restore's links, renames and unlinks in turn (strace
# kills it as it makes the call, before the call is made): the moments a random kill seldom hits.
if [ -n "${STRACE:-}" ] && command -v strace >/dev/null; then
    for call in link rename unlink; do
        for ((n = 1; n <= 20; n++)); do
            fresh
            { strace -f -o "$work/trace" -e trace=link,rename,unlink -e inject=$call:signal=SIGKILL:when=$n \
                "$cli" restore "$folder/Backups/$(basename "$backup")" > "$work/out" 2>&1; } 2>/dev/null
            rc=$?
            grep -q 'killed by SIGKILL' "$work/trace" || break # fewer such calls than n
            total=$((total + 1))
            judge "$(printf 'kill at %-6s call %2d' "$call" "$n")" $rc
        done
    done
fi
[ "$linked" -eq 0 ] || echo "$linked trials left a 'replaced' backup that is the live database under another name"
echo "$total trials, $passed passed, $failed failed"
[ "$failed" -eq 0 ]
