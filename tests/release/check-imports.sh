#!/usr/bin/env bash
# Fails when a program imports a DLL that does not ship with Windows, or
# imports a function that it must look up at run time because Windows 7
# lacks it (the table in platform/system_functions_win.h).
# Usage: check-imports.sh OBJDUMP PROGRAM FUNCTION_TABLE_HEADER
set -euo pipefail
objdump=$1 program=$2 table=$3
allowed='^(kernel32|user32|gdi32|shell32|ole32|comctl32|odbc32|advapi32|netapi32|msvcrt)\.dll$'
listing=$("$objdump" -p "$program")
imports=$(echo "$listing" | sed -n 's/^\s*DLL Name: //p')
[ -n "$imports" ] || { echo "no import table read from $program"; exit 1; }
bad=$(echo "$imports" | tr 'A-Z' 'a-z' | grep -Ev "$allowed" || true)
echo "imports: $(echo "$imports" | tr '\n' ' ')"
status=0
if [ -n "$bad" ]; then
  echo "not shipped with Windows: $bad"
  status=1
fi
late=$(sed -n 's/.*decltype(&::\([A-Za-z0-9_]*\)).*/\1/p' "$table")
[ -n "$late" ] || { echo "no functions read from $table"; exit 1; }
for function in $late; do
  if echo "$listing" | grep -qw "$function"; then
    echo "imported, but Windows 7 lacks it (look it up at run time): $function"
    status=1
  fi
done
exit $status
