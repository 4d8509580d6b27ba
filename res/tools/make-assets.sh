#!/usr/bin/env bash
# Regenerates every binary under res/ from the hand-written sources in
# res/art/. The build uses the committed binaries; run this only after
# editing a source. Output is byte-for-byte repeatable.
#
#   res/tools/make-assets.sh                 rebuild and verify
#   res/tools/make-assets.sh --preview DIR   also write enlarged previews
#
# Needs: rsvg-convert (librsvg2-bin), icotool (icoutils), sox, convert
# (imagemagick, previews only), python3, fonts-dejavu-core and
# fonts-wqy-microhei (the credit text).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
res=$(cd "$here/.." && pwd)
art="$res/art"
py="$here/assets.py"
preview=""
if [ "${1:-}" = "--preview" ]; then
    preview=${2:?--preview needs a directory}
    mkdir -p "$preview"
    preview=$(cd "$preview" && pwd)
fi

for tool in rsvg-convert icotool sox soxi python3; do
    command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done
if [ -n "$preview" ]; then
    command -v convert >/dev/null || { echo "missing tool: convert" >&2; exit 1; }
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# svg size out.png
render() {
    rsvg-convert -w "$2" -h "$2" "$art/$1" -o "$3"
}

echo "== application icon"
render app.svg 48 "$tmp/app48.png"
render app32.svg 32 "$tmp/app32.png"
render app16.svg 16 "$tmp/app16.png"
# -b 32 forces 32-bit colour with alpha even where a palette would do.
icotool -c -b 32 -o "$res/app.ico" "$tmp/app48.png" "$tmp/app32.png" "$tmp/app16.png"
icotool -l "$res/app.ico"

echo "== cursors"
# name hotspot-x hotspot-y; each SVG is drawn so its tip pixel is the hot spot.
while read -r name hx hy; do
    render "${name}_cursor.svg" 32 "$tmp/$name.png"
    icotool -c --cursor -b 32 -X "$hx" -Y "$hy" -o "$res/$name.cur" "$tmp/$name.png"
    icotool -l "$res/$name.cur"
done <<'LIST'
pen 2 29
pencil 1 29
brush 6 22
LIST

echo "== toolbar icons"
icons="pencil brush pen save pointer settings"
for name in $icons; do
    render "icon_$name.svg" 38 "$tmp/icon_$name.png"
    # icotool derives the 1-bit AND mask from alpha (threshold 127).
    icotool -c -b 32 -o "$res/icon_$name.ico" "$tmp/icon_$name.png"
    icotool -l "$res/icon_$name.ico"
done

echo "== backdrop"
python3 "$py" backdrop "$res/backdrop.png" 1035 768 255 0 0 3
python3 "$py" checkflat "$res/backdrop.png" 255 0 0 3

echo "== credit bitmap"
rsvg-convert "$art/credit.svg" -o "$tmp/credit.png"
python3 "$py" bmp "$tmp/credit.png" "$res/credit.bmp"
python3 "$py" checkbmp "$res/credit.bmp"

echo "== click sound"
# -R fixes the noise seed and -D turns off dither, so the file is repeatable.
# Sine plus a little pink noise, 2 ms rise, quarter-sine decay, peak -12 dBFS.
sox -R -D -n -r 22050 -c 1 -b 16 -e signed-integer "$res/click.wav" \
    synth 0.035 sine 1700 synth 0.035 pinknoise mix \
    fade q 0.002 0.035 0.032 lowpass 5000 gain -n -12
soxi "$res/click.wav" | grep -E 'Channels|Sample Rate|Precision|Duration|Encoding'

if [ -n "$preview" ]; then
    echo "== previews in $preview"
    big() { convert "$1" -background "$2" -flatten -filter point -resize "$3" "$4"; }
    big "$tmp/app48.png" white 800% "$preview/app48_x8.png"
    big "$tmp/app32.png" white 800% "$preview/app32_x8.png"
    big "$tmp/app16.png" white 1600% "$preview/app16_x16.png"
    convert \( "$tmp/app48.png" "$tmp/app32.png" "$tmp/app16.png" -background white -gravity south +append \) \
        "$preview/app_1x.png"
    for name in pen pencil brush; do
        big "$tmp/$name.png" white 800% "$tmp/w.png"
        big "$tmp/$name.png" '#202020' 800% "$tmp/k.png"
        convert "$tmp/w.png" "$tmp/k.png" +append "$preview/cursor_${name}_x8.png"
    done
    # Toolbar strip as the buttons show it: 38 px scaled to 32 px on
    # button-face grey, at 1x and 4x, on both usual greys.
    for bg in F0F0F0 D4D0C8; do
        files=""
        for name in $icons; do
            convert -size 35x35 "xc:#$bg" \( "$tmp/icon_$name.png" -resize 32x32 \) \
                -gravity center -composite "$tmp/b_$name.png"
            files="$files $tmp/b_$name.png"
        done
        # shellcheck disable=SC2086
        convert $files +append "$preview/toolbar_${bg}_1x.png"
        convert "$preview/toolbar_${bg}_1x.png" -filter point -resize 400% "$preview/toolbar_${bg}_x4.png"
    done
    files=""
    for name in $icons; do files="$files $tmp/icon_$name.png"; done
    # shellcheck disable=SC2086
    convert $files -background '#F0F0F0' +append -flatten -filter point -resize 800% "$preview/toolbar_38_x8.png"
    convert "$tmp/credit.png" -background white -flatten "$preview/credit_1x.png"
    convert "$preview/credit_1x.png" -filter point -resize 800% "$preview/credit_x8.png"
fi
echo "all assets regenerated"
