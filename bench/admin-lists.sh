#!/usr/bin/env bash
# The admin list windows under Wine: the time from "Refresh" to the last row
# shown for 50000 bans and for 1000 connections, and the longest stall of the
# main window's message loop meanwhile (the end-to-end harness's timing mode;
# everything stays on 127.0.0.0/8). Prints "BENCH ..." lines.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exec bash "$root/tests/e2e/run" --bench "$@"
