#!/usr/bin/env bash
# Installs what the project needs on a fresh Debian 12 machine: the i386 architecture, Wine (32-bit),
# Xvfb, the mingw-w64 i686 cross compiler, CMake, the Japanese locale and a few tools the tests use.
# Does nothing when everything is already there.
set -euo pipefail

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

packages=(wine wine32:i386 wine64 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 xvfb xauth g++-mingw-w64-i686 binutils-mingw-w64-i686 cmake g++ make
          locales x11-apps imagemagick zip unzip file fonts-ipafont-gothic libgtest-dev clang libclang-rt-14-dev)

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  need_update=1
fi
for p in "${packages[@]}"; do have_pkg "$p" || need+=("$p"); done

if [ ${#need[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
elif [ "${need_update:-0}" = 1 ]; then
  apt-get update -qq
fi

# Wine takes the ANSI code page from the locale: ja_JP.UTF-8 gives code page 932, as on the users' machines.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
