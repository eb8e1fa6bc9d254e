#!/bin/sh
# The same job as `moriva-cli import` done with standard tools, as a yardstick: a CP932
# statement decoded with iconv, read by sqlite3's .import, and its lines put with
# INSERT OR IGNORE into a table whose UNIQUE key is the one Moriva tells duplicates by
# (date, time, summary, payment, deposit, balance).
#
#   sqlite-pipeline.sh STATEMENT.csv DATABASE
set -eu
iconv -f CP932 -t UTF-8 "$1" | sqlite3 "$2" \
    -cmd '.mode csv' \
    -cmd 'CREATE TABLE IF NOT EXISTS ledger(y, m, d, hh, mm, ss, n, summary, payment, deposit, balance,
              UNIQUE(y, m, d, hh, mm, ss, summary, payment, deposit, balance));' \
    -cmd 'DROP TABLE IF EXISTS statement;' \
    '.import /dev/stdin statement' \
    'INSERT OR IGNORE INTO ledger SELECT * FROM statement;' \
    'DROP TABLE statement;'
