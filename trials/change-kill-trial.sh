#!/bin/bash
# Kill trials of the window's changes (not run by CI): change-driver does what the window does
# through Controller (imports of generated statements, marks, edits, reverts, deletions, Delete
# All, undo and redo) at random, printing each change before and after it is made; the trial
# SIGKILLs it at a random moment (0.05 to 3 s) and then checks, on the same data folder from trial
# to trial, that
#   - the database holds every change reported done, and at most the one in flight besides
#     (never a part of it: a statement file's lines all there or none),
#   - `moriva-cli check` is clean.
#
#   trials/change-kill-trial.sh [BUILD_DIR] [TRIALS] [SEED]
#
# Needs python3 (its sqlite3 module) for the comparison, done by change_check.py.
set -u
here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "${1:-$here/../../build}")
trials=${2:-30}
seed=${3:-$RANDOM}
driver=$build/trials/change-driver
cli=$build/src/cli/moriva-cli
check=$here/change_check.py
for f in "$driver" "$cli"; do
    [ -x "$f" ] || { echo "missing $f (build the targets change-driver and moriva-cli)" >&2; exit 2; }
done
python3 -c 'import sqlite3' || { echo "needs python3 with its sqlite3 module" >&2; exit 2; }

work=$(mktemp -d)
[ -n "${KEEP:-}" ] && echo "work folder: $work (kept)" || trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME=$work/share XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen
db=$XDG_DATA_HOME/Moriva/Moriva.sqlite
RANDOM=$seed
echo "seed $seed"

passed=0 failed=0
for ((t = 1; t <= trials; t++)); do
    if [ -f "$db" ]; then
        python3 "$check" snapshot "$db" > "$work/snapshot.json" || exit 2
    else
        echo '{}' > "$work/snapshot.json"
    fi
    log=$work/log-$t.jsonl
    "$driver" "$work/statements" "$((seed * 1000 + t))" > "$log" 2> "$work/driver-$t.err" &
    pid=$!
    ms=$((50 + RANDOM % 2951))
    sleep "$(printf '%d.%03d' $((ms / 1000)) $((ms % 1000)))"
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    changes=$(grep -c '"done"' "$log")
    last=$(tail -n 1 "$log" | cut -c 1-90)
    verdict=passed
    if ! cli_check=$("$cli" check 2>&1); then
        verdict=FAILED
        why="moriva-cli check: $(echo "$cli_check" | tr '\n' ' ')"
    elif ! why=$(python3 "$check" check "$work/snapshot.json" "$log" "$db" 2>&1); then
        verdict=FAILED
    fi
    if [ $verdict = passed ]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
    printf 'trial %2d: killed after %4d ms, %4d changes done; %s: %s\n' "$t" "$ms" "$changes" "$verdict" "$why"
    [ $verdict = passed ] || printf '          last line: %s\n' "$last"
    if [ $verdict != passed ] && [ -n "${KEEP:-}" ]; then
        cp -a "$XDG_DATA_HOME" "$work/share-failed-$t"
    fi
done
echo "$trials trials, $passed passed, $failed failed"
[ "$failed" -eq 0 ]
