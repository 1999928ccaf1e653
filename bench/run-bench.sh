#!/usr/bin/env bash
# Measures the launcher against its yardsticks and prints the ratios (not a
# test: timings vary with the machine). Builds as ./run does first.
#   bench/run-bench.sh [RUNS]
#   bench/run-bench.sh --requests: one round, counting the Wine server
#                                  requests of each program instead
set -euo pipefail
cd "$(dirname "$0")/.."
trace=
if [ "${1:-}" = --requests ]; then
    trace=$PWD/build/win/bench-requests.txt
    set -- 1
fi
runs=${1:-30}
./run build >/dev/null || { echo "the build failed: run ./run build" >&2; exit 1; }
bin=$PWD/build/win/bin
gcc -O2 -Wall -Wextra -Werror -o build/win/process_cpu bench/process_cpu.c
set -a
. tests/windows/wine.env
set +a
export WINEPREFIX=$PWD/build/win/bench-prefix
# The server and every program on one processor, the first this script may
# use: on this machine a request that wakes the server on another processor
# takes several times as long, at random (three directory lookups in a loop:
# 0.11 ms least, 0.9 ms median; on one processor, 0.12 ms median).
processor=$(taskset -pc $$ | sed 's/.*: *//; s/[-,].*//')
# A warm, persistent server on a fresh prefix.
session=tests/windows/wine-session.sh
taskset -c "$processor" sh "$session" start || { echo "wine failed to start" >&2; exit 1; }
trap 'sh "$session" stop' EXIT
if [ -n "$trace" ]; then
    # The same server again, now writing down every request it is sent.
    wineserver -k
    taskset -c "$processor" wineserver -d1 -p 2>"$trace" </dev/null >/dev/null
fi

# The server of this prefix, whose processor time counts with each program's.
for process in /proc/[0-9]*; do
    case $(cat "$process/comm" 2>/dev/null) in wineserver*) ;; *) continue ;; esac
    if tr '\0' '\n' 2>/dev/null <"$process/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
        export LV_WINESERVER_PID=${process#/proc/}
    fi
done
[ -n "${LV_WINESERVER_PID:-}" ] || { echo "cannot find the Wine server" >&2; exit 1; }
records=$PWD/build/win/bench-cpu.txt
export LV_CPU_RECORDS="Z:${records//\//\\}"

if [ -n "$trace" ]; then
    taskset -c "$processor" build/win/process_cpu "$records" wine "$bin/bench_driver.exe" 1 >/dev/null ||
        { echo "bench_driver failed: $?" >&2; exit 1; }
    sh "$session" stop
    awk -f bench/count-requests.awk "$trace"
    exit 0
fi
taskset -c "$processor" build/win/process_cpu "$records" wine "$bin/bench_driver.exe" "$runs" ||
    { echo "bench_driver failed: $?" >&2; exit 1; }

exe=$bin/lvlaunch.exe
size=$(stat -c %s "$exe")
dlls=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u | tr '\n' ' ')
awk -v size="$size" 'BEGIN { printf "  lvlaunch.exe %d bytes = %.0f KB, ratio to 256 KB %.2f (goal 1.0 or less)\n", size, size / 1024, size / 262144 }'
echo "  imports: $dlls"
