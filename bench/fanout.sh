#!/usr/bin/env bash
# Main-chat fan-out benchmark: starts the headless server on loopback and drives it
# with vorlan-loadgen. Usage:
#   bench/fanout.sh [BUILD_DIR] [CLIENTS] [RATE] [SECONDS]
#   bench/fanout.sh --wine [WINDOWS_BUILD_DIR] [CLIENTS] [RATE] [SECONDS]
#   bench/fanout.sh --wine-floor [WINDOWS_BUILD_DIR] [CLIENTS] [RATE] [SECONDS]
#   bench/fanout.sh --wine-calls [WINDOWS_BUILD_DIR] [CLIENTS]
# Default: the native build, 1000 clients at 1 line/s each for 10 s. With --wine
# the server is the Windows build's vorlan-server.exe (the win32 backend, as in
# Vorlan.exe) under Wine, in a Wine prefix of its own; the generator still comes
# from the native build ($NATIVE_BUILD, default build/native), and the CPU of
# Wine's server process over the measured window is reported as well.
# The floor beneath those figures comes from bench/winsock-floor.cpp, built
# here with mingw-w64: --wine-floor measures the same way against the least
# fan-out server that makes the same Winsock calls, --wine-calls times single
# calls (a send to every connection, a line handled from its FD_READ).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
wine=0
floor=0
build_floor() {
  mkdir -p "$1/bench"
  x86_64-w64-mingw32-g++-posix -O2 -std=c++20 -static "$root/bench/winsock-floor.cpp" \
    -o "$1/bench/winsock-floor.exe" -lws2_32
}
if [ "${1:-}" = "--wine-calls" ]; then
  build=$(cd "${2:-$root/build/windows}" && pwd)
  build_floor "$build"
  export WINEPREFIX=${BENCH_WINEPREFIX:-$build/bench-wineprefix}
  . "$root/scripts/lib/wine.sh"
  wine_prepare_prefix
  trap wine_stop_prefix EXIT
  ulimit -n 65536 2>/dev/null || ulimit -n "$(ulimit -Hn)"
  timeout 600 "$(wine_loader)" "$build/bench/winsock-floor.exe" calls "${3:-1000}" 20
  exit
fi
case "${1:-}" in
--wine) wine=1; shift ;;
--wine-floor) wine=1; floor=1; shift ;;
esac
if [ $wine = 1 ]; then
  build=${1:-$root/build/windows}
else
  build=${1:-$root/build/native}
fi
build=$(cd "$build" && pwd)
[ $floor = 0 ] || build_floor "$build"
clients=${2:-1000}
rate=${3:-1}
seconds=${4:-10}
port=${PORT:-47555}
loadgen=${NATIVE_BUILD:-$root/build/native}/bench/vorlan-loadgen
[ $wine = 1 ] || loadgen=$build/bench/vorlan-loadgen

folder=$(mktemp -d)
server=
sampler=
cleanup() {
  [ -z "$sampler" ] || kill "$sampler" 2>/dev/null || true
  [ -z "$server" ] || kill "$server" 2>/dev/null || true
  [ -z "$server" ] || wait "$server" 2>/dev/null || true
  [ $wine = 0 ] || wine_stop_prefix
  rm -rf "$folder"
}
trap cleanup EXIT
ulimit -n 65536 2>/dev/null || ulimit -n "$(ulimit -Hn)"

# CPU seconds (user + system) of process $1, 0 once it is gone.
cpu_seconds() {
  awk -v tick="$(getconf CLK_TCK)" '{ sub(/.*\) /, ""); printf "%.2f\n", ($12 + $13) / tick }' "/proc/$1/stat" 2>/dev/null ||
    echo 0
}

# Starts the server on $port; false when it reports that it could not.
start_server() {
  : > "$folder/server.log"
  if [ $wine = 1 ]; then
    # The program folder is a Linux path; Wine reaches it through drive Z:.
    if [ $floor = 1 ]; then
      (exec "$(wine_loader)" "$build/bench/winsock-floor.exe" serve "$port" > "$folder/server.log" 2>&1) &
    else
      (exec "$(wine_loader)" "$build/tools/vorlan-server/vorlan-server.exe" --folder "Z:${folder//\//\\}" \
        --port "$port" > "$folder/server.log" 2>&1) &
    fi
  else
    "$build/tools/vorlan-server/vorlan-server" --folder "$folder" --port "$port" > "$folder/server.log" &
  fi
  server=$!
  for _ in $(seq 300); do
    grep -q "Server started." "$folder/server.log" 2>/dev/null && return 0
    grep -q "Couldn't start server." "$folder/server.log" 2>/dev/null && break
    sleep 0.1
  done
  kill "$server" 2>/dev/null || true
  wait "$server" 2>/dev/null || true
  server=
  return 1
}

if [ $wine = 1 ]; then
  export WINEPREFIX=${BENCH_WINEPREFIX:-$build/bench-wineprefix}
  . "$root/scripts/lib/wine.sh"
  wine_prepare_prefix
fi
# Wine's sockets do not reuse a port whose old connections linger, so a run
# right after another may find its port taken: the next ones are tried.
for _ in 1 2 3 4 5 6 7 8 9 10; do
  start_server && break
  port=$((port + 1))
done
[ -n "$server" ] || { echo "the server did not start:" >&2; cat "$folder/server.log" >&2; exit 1; }

wineserver_pid=
if [ $wine = 1 ]; then
  # Wine may hand the program to another process than the one started here:
  # the program is the process of this prefix that runs the server.
  for pid in $(pgrep -f 'vorlan-server\.exe|winsock-floor\.exe' || true); do
    if { tr '\0' '\n' < "/proc/$pid/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then server=$pid; fi
  done
  # Wine's server for this prefix is the one started with our WINEPREFIX.
  for pid in $(pgrep -x wineserver64 || true) $(pgrep -x wineserver || true); do
    if { tr '\0' '\n' < "/proc/$pid/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then wineserver_pid=$pid; fi
  done
  # Samples of both processes' CPU every 0.2 s, so that the generator's
  # measured window (its last SECONDS + 3 seconds) can be cut out afterwards.
  (while :; do
    echo "$(date +%s.%N) $(cpu_seconds "$server") $(cpu_seconds "${wineserver_pid:-0}")"
    sleep 0.2
  done > "$folder/cpu.log") &
  sampler=$!
fi

echo "== $clients clients x $rate line/s for ${seconds}s (server pid $server${wineserver_pid:+, wineserver pid $wineserver_pid})"
status=0
"$loadgen" --clients "$clients" --rate "$rate" --seconds "$seconds" --port "$port" --server-pid "$server" || status=$?

if [ $wine = 1 ]; then
  ended=$(date +%s.%N)
  kill "$sampler" 2>/dev/null || true
  wait "$sampler" 2>/dev/null || true
  sampler=
  # The generator measures from the end of its warm-up to the end of its
  # 3-second drain, which ends when it exits.
  awk -v to="$ended" -v window="$seconds" '
    BEGIN { from = to - window - 3 }
    $1 >= from && first == "" { first = $0 }
    $1 <= to { last = $0 }
    END {
      split(first, a); split(last, b); span = b[1] - a[1]
      if (span <= 0) exit
      printf "program CPU        %.2f cores over the measured window\n", (b[2] - a[2]) / span
      printf "wineserver CPU     %.2f cores over the measured window\n", (b[3] - a[3]) / span
    }' "$folder/cpu.log"
fi
exit $status
