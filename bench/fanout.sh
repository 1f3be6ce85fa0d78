#!/usr/bin/env bash
# Main-chat fan-out benchmark: starts the headless server on loopback and drives it
# with vorlan-loadgen. Usage: bench/fanout.sh [BUILD_DIR] [CLIENTS] [RATE] [SECONDS]
# Default: the native build, 1000 clients at 1 line/s each for 10 s.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/native}
clients=${2:-1000}
rate=${3:-1}
seconds=${4:-10}
port=${PORT:-47555}

folder=$(mktemp -d)
trap 'kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; rm -rf "$folder"' EXIT
ulimit -n 65536 2>/dev/null || ulimit -n "$(ulimit -Hn)"

"$build/tools/vorlan-server/vorlan-server" --folder "$folder" --port "$port" > "$folder/server.log" &
server=$!
for _ in $(seq 50); do
  grep -q "Server started." "$folder/server.log" 2>/dev/null && break
  sleep 0.1
done
echo "== $clients clients x $rate line/s for ${seconds}s (server pid $server)"
"$build/bench/vorlan-loadgen" --clients "$clients" --rate "$rate" --seconds "$seconds" --port "$port" --server-pid "$server"
