#!/bin/bash
# Kill trials of `moriva-cli restore` (not run by CI): restores a backup over a ledger database
# and SIGKILLs the process at a random moment, again and again. After every trial the data
# folder must hold a sound Moriva.sqlite with either the old ledger's entries or the backup's,
# never none, never a mix; `moriva-cli check` must be clean; and once the restore has put the
# backup in place, the database it replaced must be kept in Backups/ ("Moriva replaced ….sqlite",
# with the old ledger's entries).
#
#   tests/trials/restore-kill-trial.sh [BUILD_DIR] [TRIALS] [LINES]
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
backup=$(ls "$pristine/share/$data/Backups/"Moriva\ 2*.sqlite | sort | tail -n 1)
new=$(count "$backup")
echo "old ledger: $old entries; backup: $new entries ($(basename "$backup"))"
[ "$old" != "$new" ] || { echo "the backup holds what the ledger holds: no trial" >&2; exit 2; }

# How long a restore takes, to spread the kills over it.
cp -a "$pristine" "$work/timing"
start=$(date +%s%N)
XDG_DATA_HOME=$work/timing/share "$cli" restore "$work/timing/share/$data/Backups/$(basename "$backup")" >/dev/null
span=$(( ($(date +%s%N) - start) / 1000 ))
echo "a restore takes $((span / 1000)) ms"

passed=0 failed=0 linked=0
for ((t = 1; t <= trials; t++)); do
    rm -rf "$work/trial"
    cp -a "$pristine" "$work/trial"
    folder=$work/trial/share/$data
    export XDG_DATA_HOME=$work/trial/share
    "$cli" restore "$folder/Backups/$(basename "$backup")" > "$work/out" 2>&1 &
    pid=$!
    delay=$(( RANDOM * 32768 + RANDOM ))
    delay=$(( delay % (span * 3 / 2 + 1) )) # some trials end before the kill
    sleep "$(awk -v us="$delay" 'BEGIN { printf "%.6f", us / 1000000 }')"
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    rc=$?
    db=$folder/Moriva.sqlite
    verdict=passed why=
    cli_check=$("$cli" check 2>&1) || { verdict=FAILED; why=" check: $(echo "$cli_check" | tr '\n' ' ')"; }
    have=$(count "$db")
    [ "$have" = "$old" ] || [ "$have" = "$new" ] || { verdict=FAILED; why="$why ${have:-no} entries"; }
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
    printf 'trial %2d: killed after %6d µs (exit %3s): %6s entries: %s%s\n' \
        "$t" "$delay" "$rc" "${have:-none}" "$verdict" "$why"
done
[ "$linked" -eq 0 ] || echo "$linked trials left a 'replaced' backup that is the live database under another name"
echo "$trials trials, $passed passed, $failed failed"
[ "$failed" -eq 0 ]
