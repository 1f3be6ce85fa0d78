#!/usr/bin/env bash
# Hostile-crowd benchmark: starts the headless server on loopback and runs
# vorlan-hostile against it (see bench/hostile.cpp and README, "Benchmarks").
# Usage: bench/hostile.sh [BUILD_DIR] [SECONDS] [extra vorlan-hostile arguments]
# SERVER=path runs another server binary (for example an older build) instead.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/native}
seconds=${2:-20}
shift $(( $# < 2 ? $# : 2 ))
port=${PORT:-47556}
server_binary=${SERVER:-$build/tools/vorlan-server/vorlan-server}

folder=$(mktemp -d)
trap 'kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; rm -rf "$folder"' EXIT
ulimit -n 65536 2>/dev/null || ulimit -n "$(ulimit -Hn)"

"$server_binary" --folder "$folder" --port "$port" > "$folder/server.log" &
server=$!
for _ in $(seq 50); do
  grep -q "Server started." "$folder/server.log" 2>/dev/null && break
  sleep 0.1
done
echo "== hostile crowd for ${seconds}s against $server_binary (pid $server)"
timeout $((seconds + 200)) "$build/bench/vorlan-hostile" --port "$port" --server-pid "$server" --seconds "$seconds" "$@"
