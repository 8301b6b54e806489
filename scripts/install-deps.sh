#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, as root. Does nothing
# when everything is there already.
#
# Besides packages it changes two things on the machine, for the tests of the
# 32-bit release (whose Wine half is a 32-bit Linux program, and this kernel
# runs none): it adds the dpkg architecture i386, and it registers qemu's
# i386 user-mode emulator with the kernel's binfmt_misc (entry "qemu-i386",
# mounting /proc/sys/fs/binfmt_misc first when it is not mounted).
set -euo pipefail

host_packages=(
  cmake make g++ googletest libgtest-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  unixodbc unixodbc-dev odbc-mdbtools mdbtools
  wine64 xvfb x11-apps xdotool imagemagick fonts-ipafont-gothic fonts-wine locales
  qemu-user-static
  osslsigncode openssl softhsm2 opensc libengine-pkcs11-openssl python3 faketime
)
# Wine's 32-bit half, and ODBC with the mdbtools driver for 32-bit processes.
i386_packages=(wine32:i386 libodbc2:i386 libodbcinst2:i386 odbc-mdbtools:i386)

updated=""
install_missing() {
  local missing=() package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  [ -n "$updated" ] || { apt-get update -qq; updated=1; }
  # With recommends: Wine's X11 driver loads the X libraries libwine recommends.
  apt-get install -y -qq "${missing[@]}" >/dev/null
}

install_missing "${host_packages[@]}"

# Before any i386 package: their install scripts run i386 programs.
binfmt=/proc/sys/fs/binfmt_misc
[ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt"
if [ ! -e "$binfmt/qemu-i386" ]; then
  # i386 ELF executables and shared objects; F: the emulator is opened now,
  # so it works inside other mount namespaces and chroots too.
  magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  echo ":qemu-i386:M::$magic:$mask:/usr/bin/qemu-i386-static:F" > "$binfmt/register"
fi
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  updated=""
fi
install_missing "${i386_packages[@]}"

# Wine takes its ANSI code page (932, as on the product's servers) from the locale.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
