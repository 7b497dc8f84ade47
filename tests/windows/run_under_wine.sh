#!/usr/bin/env bash
# Runs the Windows build under Wine on a canned two-cycle session and compares
# what it writes, up to and including the closing line, with the expected
# transcript. Windows writes CR LF line ends, and after the closing line the
# pause message is the command processor's own: neither counts as a difference.
# Usage: run_under_wine.sh path/to/tensort.exe
set -euo pipefail
exe=$1
here=$(cd "$(dirname "$0")" && pwd)
wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)

export WINEDEBUG=-all
WINEPREFIX=$(mktemp -d)
export WINEPREFIX
out=$(mktemp)
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX" "$out"' EXIT
PATH=$PATH:/usr/lib/wine

# The first start makes the Wine prefix, which takes a while; the session's
# own time limit is generous for that reason.
status=0
timeout 300 "$wine" "$exe" <"$here/two_cycles.in" >"$out" 2>/dev/null || status=$?
if [[ $status -ne 0 ]]; then
  echo "tensort.exe under Wine ended with status $status" >&2
  exit 1
fi

closing='===============Build by Meskor Vandrel===================='
if ! sed 's/\r$//' "$out" | sed "/^$closing\$/{n;q}" | cmp -s - "$here/two_cycles.expected"; then
  echo "tensort.exe under Wine wrote an unexpected transcript:" >&2
  diff <(sed 's/\r$//' "$out" | sed "/^$closing\$/{n;q}") "$here/two_cycles.expected" >&2 || true
  exit 1
fi
echo "tensort.exe under Wine: transcript as expected"
