#!/usr/bin/env bash
# Reads the application manifest and version resource embedded in a program
# and checks what Windows will make of them.
# Usage: check-manifest.sh PROGRAM VERSION
set -euo pipefail
program=$1 version=$2

# The manifest is stored as plain UTF-8 XML inside the resource section.
manifest=$(tr '\n\r' '  ' < "$program" | grep -ao '<assembly .*</assembly>' || true)
[ -n "$manifest" ] || { echo "no manifest embedded in $program"; exit 1; }

status=0
expect() {  # DESCRIPTION PATTERN
  if echo "$manifest" | grep -Eq "$2"; then echo "ok: $1"; else echo "MISSING: $1"; status=1; fi
}
expect "runs elevated" 'requestedExecutionLevel level="requireAdministrator"'
expect "common controls 6" 'name="Microsoft.Windows.Common-Controls" version="6\.0\.0\.0"'
expect "per-monitor v2 DPI awareness" '<dpiAwareness[^>]*>PerMonitorV2'
expect "system-aware fallback" '<dpiAware[^>]*>true/pm<'
for os in 35138b9a-5d96-4fbd-8e2d-a2440225f93a 4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38 \
          1f676c76-80e1-4239-95bb-83d0f6d0da78 8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a; do
  expect "supportedOS $os" "supportedOS Id=\"\\{$os\\}\""
done
if echo "$manifest" | grep -q activeCodePage; then
  echo "FOUND: activeCodePage (the ANSI code page must stay the system's)"
  status=1
fi

# The version resource holds UTF-16 strings.
strings -el "$program" > /tmp/selvane-strings.$$ || true
for text in ProductName Selvane FileDescription "$version"; do
  if grep -qx -- "$text" /tmp/selvane-strings.$$; then echo "ok: version resource has $text"
  else echo "MISSING: version resource text $text"; status=1; fi
done
rm -f /tmp/selvane-strings.$$
exit $status
