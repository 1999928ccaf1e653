#!/usr/bin/env bash
# Measures the launcher against its yardsticks and prints the ratios (not a
# test: timings vary with the machine). Builds as ./run does first.
#   bench/run-bench.sh [RUNS]     interleaved wall times, 30 rounds or RUNS
#   bench/run-bench.sh --requests one round, counting the Wine server requests
#                                 of each program instead
set -euo pipefail
cd "$(dirname "$0")/.."
trace=
if [ "${1:-}" = --requests ]; then
    trace=$PWD/build/win/bench-requests.txt
fi
./run build >/dev/null || { echo "the build failed: run ./run build" >&2; exit 1; }
set -a
. tests/windows/wine.env
set +a
export WINEPREFIX=$PWD/build/win/bench-prefix
# The server and every program on one processor, the first this script may
# use: on this machine a request that wakes the server on another processor
# takes several times as long, at random (three directory lookups in a loop:
# 0.11 ms least, 0.9 ms median; on one processor, 0.12 ms median).
processor=$(taskset -pc $$ | sed 's/.*: *//; s/[-,].*//')
session=tests/windows/wine-session.sh
taskset -c "$processor" sh "$session" start || { echo "wine failed to start" >&2; exit 1; }
trap 'sh "$session" stop' EXIT
if [ -n "$trace" ]; then
    # The same server again, now writing down every request it is sent.
    wineserver -k
    taskset -c "$processor" wineserver -d1 -p 2>"$trace" </dev/null >/dev/null
fi
if [ -n "$trace" ]; then
    taskset -c "$processor" wine build/win/bin/bench_driver.exe 1 >/dev/null || { echo "bench_driver failed" >&2; exit 1; }
    sh "$session" stop
    awk -f bench/count-requests.awk "$trace"
else
    taskset -c "$processor" wine build/win/bin/bench_driver.exe "${1:-30}" || { echo "bench_driver failed" >&2; exit 1; }
fi
exe=build/win/bin/lvlaunch.exe
dlls=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u | tr '\n' ' ')
echo "  lvlaunch.exe: $(stat -c %s "$exe") bytes (goal 262144, 256 KB, or less); imports $dlls"
