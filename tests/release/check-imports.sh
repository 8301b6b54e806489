#!/usr/bin/env bash
# Fails when a program imports a DLL that does not ship with Windows.
# Usage: check-imports.sh OBJDUMP PROGRAM
set -euo pipefail
objdump=$1 program=$2
allowed='^(kernel32|user32|gdi32|shell32|ole32|comctl32|odbc32|advapi32|msvcrt)\.dll$'
imports=$("$objdump" -p "$program" | sed -n 's/^\s*DLL Name: //p')
[ -n "$imports" ] || { echo "no import table read from $program"; exit 1; }
bad=$(echo "$imports" | tr 'A-Z' 'a-z' | grep -Ev "$allowed" || true)
echo "imports: $(echo "$imports" | tr '\n' ' ')"
if [ -n "$bad" ]; then
  echo "not shipped with Windows: $bad"
  exit 1
fi
