#!/bin/sh
# Installs what is missing, builds Zintora.exe and runs it under Wine.
# With a display it runs there until you end it (Esc, or the toolbar's close
# box). Without one it starts a virtual display, draws one stroke, leaves a
# screenshot in build/zintora-screenshot.png and ends the program.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
sh "$top/tools/setup-host.sh"
sh "$top/tools/build.sh"

export LC_ALL=zh_CN.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX="${WINEPREFIX:-$HOME/.wine-zintora}"
[ -d "$WINEPREFIX" ] || { wineboot -i >/dev/null 2>&1; wineserver -w; }
exe="$top/build/win/Zintora.exe"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    cd "$(dirname "$exe")" && exec wine "$exe"
fi

display=:93
Xvfb $display -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display
until xdpyinfo >/dev/null 2>&1; do sleep 0.2; done
xsetroot -solid '#205080'
(cd "$(dirname "$exe")" && wine "$exe") &
app=$!
# The toolbar's caption shows once the program is up.
tries=0
until xdotool search --name 'Zintora v1.0' >/dev/null 2>&1 || [ $tries -ge 150 ]; do
    sleep 0.2; tries=$((tries + 1))
done
xdotool mousemove 200 200 mousedown 1
for step in 1 2 3 4 5 6 7 8 9 10; do
    xdotool mousemove $((200 + step * 40)) $((200 + step * 20)); sleep 0.05
done
xdotool mouseup 1
sleep 1
import -window root "$top/build/zintora-screenshot.png"
xdotool mousemove 600 300 click 1 key Escape
wait $app || true
echo "screenshot: $top/build/zintora-screenshot.png"
