#!/bin/sh
# Installs what building, running and testing need on a Debian 12 machine.
# Run as root; safe to run again: it installs only what is missing.
set -eu

PACKAGES="cmake make g++ googletest libgtest-dev clang libclang-rt-14-dev python3
g++-mingw-w64-i686 binutils-mingw-w64-i686 wine wine32:i386
xvfb xdotool x11-utils x11-xserver-utils imagemagick icoutils locales fonts-wqy-microhei"

if [ "$(id -u)" -ne 0 ]; then
    echo "setup-host.sh: run it as root (sudo)" >&2
    exit 1
fi

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
        missing="$missing $p"
    fi
done
if [ -n "$missing" ]; then
    # wine32 lives in the i386 architecture: without it a 32-bit exe has no loader.
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    # shellcheck disable=SC2086
    apt-get install -y -qq $missing
fi

# Without a generated zh_CN.UTF-8 locale Wine still reports code page 936,
# but creating files with Chinese names fails.
if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
    if grep -q '^# *zh_CN.UTF-8 UTF-8' /etc/locale.gen; then
        sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
    elif ! grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen; then
        echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
    fi
    locale-gen
fi
