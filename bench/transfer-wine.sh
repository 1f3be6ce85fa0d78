#!/usr/bin/env bash
# The file transfer between two Vorlan.exe instances under Wine: A sends a
# 1 GiB file to B at buffer "1 MB" through the windows; prints the time from
# B's accept to "File transfer complete" and the rate (the end-to-end
# harness's timing mode; all on 127.0.0.0/8). Prints "BENCH ..." lines.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exec bash "$root/tests/e2e/run" --bench-transfer "$@"
