#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, as root. Does nothing
# when everything is there already.
set -euo pipefail

packages=(
  cmake make g++ googletest libgtest-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  unixodbc unixodbc-dev odbc-mdbtools mdbtools
  wine64 xvfb x11-apps xdotool imagemagick fonts-ipafont-gothic fonts-wine locales
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # With recommends: Wine's X11 driver loads the X libraries libwine recommends.
  apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# Wine takes its ANSI code page (932, as on the product's servers) from the locale.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
