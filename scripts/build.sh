#!/usr/bin/env bash
# Configures and builds the three builds: native (portable logic and its
# tests), Windows x86_64 (runs under wine64 in tests), Windows i686 (release).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

configure() {
  local dir=$1; shift
  cmake -S "$root" -B "$root/build/$dir" "$@" >/dev/null
  cmake --build "$root/build/$dir" -j "$jobs"
}

builds=("$@")
[ ${#builds[@]} -gt 0 ] || builds=(native windows-x64 windows-x86)
for build in "${builds[@]}"; do
  case $build in
    native) configure native ;;
    windows-x64) configure windows-x64 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" -DSELVANE_WINDOWS_TESTS=ON \
                   -DSELVANE_RELEASE_BUILD="$root/build/windows-x86" ;;
    windows-x86) configure windows-x86 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" ;;
    *) echo "unknown build: $build" >&2; exit 2 ;;
  esac
done
