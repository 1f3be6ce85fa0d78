#!/usr/bin/env bash
# A busy room under Wine: a scripted server writes bursts of 1000, 10000 and
# 100000 main-chat lines of about 70 characters to a connected Vorlan.exe as
# fast as it reads them, each followed by a version query; prints, per burst,
# the time until the query's answer, lines per second into the view and the
# log, and the program's memory (the end-to-end harness's timing mode; all on
# 127.0.0.0/8). Prints "BENCH ..." lines.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exec bash "$root/tests/e2e/run" --bench-room "$@"
