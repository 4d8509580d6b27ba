#!/bin/bash
# Builds and runs the benchmarks under Wine on Xvfb and prints the figures
# that docs/performance.md records. Needs what tools/setup-host.sh installs.
#   bash bench/run-benchmarks.sh
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
sh "$top/tools/build.sh" > /dev/null
bin="$top/build/win/bench"
work=$(mktemp -d /tmp/zintora-bench-XXXXXX)
export WINEPREFIX="$work/prefix" WINEDEBUG=-all LC_ALL=zh_CN.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
xvfb=
cleanup() {
    wineserver -k 2> /dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2> /dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

start_display() {
    [ -n "$xvfb" ] && { wineserver -k 2> /dev/null || true; kill "$xvfb"; wait "$xvfb" 2> /dev/null || true; }
    export DISPLAY=:$((150 + RANDOM % 50))
    Xvfb "$DISPLAY" -screen 0 "$1x24" -nolisten tcp > /dev/null 2>&1 &
    xvfb=$!
    until xdpyinfo > /dev/null 2>&1; do sleep 0.1; done
    wineserver -p 60 2> /dev/null || true
}

# A folder of the prefix's C: drive as the capture folder of the bench exe.
use_folder() {
    mkdir -p "$WINEPREFIX/drive_c/$1"
    printf '[config]\r\npath=C:\\%s\r\n' "$1" > "$bin/config.ini"
}

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(wine --version)"
start_display 1024x768
wineboot -i > /dev/null 2>&1
wineserver -w

for size in 1024x768 1920x1080 3840x2160; do
    start_display "$size"
    echo "== $size"
    wine "$bin/stroke_bench.exe" 400 | tr -d '\r'
    use_folder "shots-$size"
    wine "$bin/capture_bench.exe" 5 | tr -d '\r'
    times=()
    for _ in 1 2 3 4 5; do
        t0=$(date +%s%N)
        import -window root -quality 100 "$work/import.jpg"
        times+=($(( ($(date +%s%N) - t0) / 1000000 )))
    done
    echo "import -window root -quality 100 $size runs=5 median $(printf '%s\n' "${times[@]}" | sort -n | sed -n 3p) ms"
done

start_display 1024x768
echo "== SaveCapture against the number of files in the folder (1024x768)"
for count in 0 1000 10000 100000; do
    folder="files-$count"
    use_folder "$folder"
    python3 - "$WINEPREFIX/drive_c/$folder" "$count" <<'PY'
import os, sys
folder, count = sys.argv[1], int(sys.argv[2])
for i in range(count):
    open(os.path.join(folder, "%d report.txt" % i), "w").close()
PY
    printf 'files=%-6s ' "$count"
    wine "$bin/capture_bench.exe" 3 | tr -d '\r'
done
rm -f "$bin/config.ini"

echo "== start-up"
wine "$bin/startup_bench.exe" "$(winepath -w "$top/build/win/Zintora.exe")" 10 | tr -d '\r'
