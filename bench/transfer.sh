#!/usr/bin/env bash
# File transfer benchmark: a 1 GiB file over loopback, first as a plain socket
# copy, then between two FileTransfers at buffer "1 MB" (see bench/transfer.cpp
# and README, "Benchmarks").
# Usage: bench/transfer.sh [BUILD_DIR] [RUNS]   (SIZE_MIB=1024 by default)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/native}
runs=${2:-5}
size_mib=${SIZE_MIB:-1024}
port=${PORT:-47600}

# In memory where there is room (/dev/shm), so that the disk's writeback, shared
# with everything else on the machine, does not decide the figures.
folder=$(mktemp -d -p "${BENCH_FOLDER:-$( [ -d /dev/shm ] && echo /dev/shm || echo /tmp)}")
trap 'rm -rf "$folder"' EXIT
# Random bytes, so that nothing along the way can shortcut the copy.
head -c $((size_mib * 1048576)) /dev/urandom > "$folder/source.bin"
echo "== ${size_mib} MiB over loopback, $runs runs"
nice -n 10 "$build/bench/vorlan-transfer-bench" --file "$folder/source.bin" --port "$port" --runs "$runs"
