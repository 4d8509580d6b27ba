#!/bin/bash
# Installs what is missing, builds everything and runs every test: the rules
# natively (plain and under AddressSanitizer and UBSan), the resource
# read-back, the Win32 tests under Wine and the end-to-end tests of the real
# exe under Wine on Xvfb. Ends with one line: "N passed, N failed".
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
logs="$top/build/test-logs"
passed=0
failed=0

sh tools/setup-host.sh || { echo "0 passed, 1 failed"; exit 1; }
mkdir -p "$logs"

# Adds a stage's counts from its log; a stage that printed none failed whole.
tally() {
    local name=$1 log=$2 p f line
    line=$(tr -d '\r' < "$log" | grep -E '^[0-9]+ passed, [0-9]+ failed' | tail -n 1)
    if [ -n "$line" ]; then
        p=${line%% passed*}; f=${line#*passed, }; f=${f%% failed*}
    elif line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1); then
        f=$(echo "$line" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/')
        p=$(( $(echo "$line" | sed -E 's/.*out of ([0-9]+).*/\1/') - f ))
    else
        p=0; f=1
    fi
    passed=$((passed + p)); failed=$((failed + f))
    echo "== $name: $p passed, $f failed (log: $log)"
    [ "$f" -eq 0 ] || tail -n 40 "$log"
}

# Runs a gtest executable and turns its summary into the plain line.
gtest_line() {
    local out p f
    out=$("$@" 2>&1 | tr -d '\r')
    echo "$out"
    p=$(echo "$out" | grep -c '^\[       OK \]')
    f=$(echo "$out" | grep -c '^\[  FAILED  \] [A-Za-z]')
    f=$((f / 2))
    echo "$out" | grep -q '^\[  PASSED  \]\|^\[  FAILED  \]' || f=$((f + 1))
    echo "$p passed, $f failed"
}

native() {
    local dir=$1; shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug "$@" &&
        cmake --build "$dir" -j "$(nproc)" &&
        ctest --test-dir "$dir" --output-on-failure
}

native build/native > "$logs/native.log" 2>&1
tally "unit tests" "$logs/native.log"

native build/sanitize \
    "-DCMAKE_CXX_FLAGS=-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" \
    > "$logs/sanitize.log" 2>&1
tally "unit tests under ASan+UBSan" "$logs/sanitize.log"

# A few seconds of each fuzzer; a crash stops it with a non-zero exit.
fuzz() {
    local p=0 f=0 target
    cmake -S . -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ -DZINTORA_FUZZ=ON \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo && cmake --build build/fuzz -j "$(nproc)" || {
        echo "0 passed, 1 failed"; return; }
    mkdir -p build/fuzz/artifacts
    for target in build/fuzz/tests/fuzz/*_fuzz; do
        "$target" -max_total_time="${ZINTORA_FUZZ_SECONDS:-5}" \
            -artifact_prefix=build/fuzz/artifacts/ > build/fuzz/last.log 2>&1
        local rc=$?
        tail -n 3 build/fuzz/last.log
        if [ "$rc" -eq 0 ]; then
            p=$((p + 1)); echo "PASS $(basename "$target")"
        else
            f=$((f + 1)); echo "FAIL $(basename "$target")"
        fi
    done
    echo "$p passed, $f failed"
}
fuzz > "$logs/fuzz.log" 2>&1
tally "fuzzers" "$logs/fuzz.log"

if ! sh tools/build.sh > "$logs/build-win.log" 2>&1; then
    tail -n 40 "$logs/build-win.log"
    echo "$passed passed, $((failed + 1)) failed"
    exit 1
fi
exe="$top/build/win/Zintora.exe"

python3 tests/resources/test_resources.py "$exe" > "$logs/resources.log" 2>&1
tally "resources" "$logs/resources.log"

# The Win32 tests need a display and a prefix of their own.
work=$(mktemp -d /tmp/zintora-win32-XXXXXX)
display=":$((70 + RANDOM % 100))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp > /dev/null 2>&1 &
xvfb=$!
for _ in $(seq 1 100); do DISPLAY=$display xdpyinfo > /dev/null 2>&1 && break; sleep 0.1; done
(
    export DISPLAY=$display WINEPREFIX="$work/prefix" WINEDEBUG=-all LC_ALL=zh_CN.UTF-8 \
        WINEDLLOVERRIDES="mscoree,mshtml="
    wineboot -i > /dev/null 2>&1
    wineserver -w
    gtest_line timeout 300 wine build/win/tests/win32/win32_tests.exe
    wineserver -k
) > "$logs/win32.log" 2>&1
kill "$xvfb" 2> /dev/null
rm -rf "$work"
tally "Win32 tests under Wine" "$logs/win32.log"

if [ -f tests/e2e/run.py ]; then
    timeout 900 python3 tests/e2e/run.py --exe "$exe" --probe "$top/build/win/tests/e2e/probe.exe" \
        > "$logs/e2e.log" 2>&1
    tally "end-to-end under Wine" "$logs/e2e.log"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
