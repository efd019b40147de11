#!/usr/bin/env bash
# Sets up what is missing, builds, and runs every test under Wine and Xvfb.
#   tools/test.sh [ctest arguments...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
"$here/setup.sh" --no-data
. "$here/session.sh"
GLIMORA_OWN_DISPLAY=1 glimora_session_start
cd "$GLIMORA_BUILD"
rc=0
ctest --output-on-failure -j "${GLIMORA_TEST_JOBS:-2}" "$@" || rc=$?
# The skipped tests of the run with their reasons. Only a facility the machine lacks may
# be a reason (tests/support/facility.h names it); any other skip fails the run.
log=Testing/Temporary/LastTest.log
if [ -f "$log" ]; then
  tr -d '\r' < "$log" | awk '
    /: Skipped$/ { getline reason; next }
    /^\[  SKIPPED \] .* \([0-9]+ ms\)$/ {
      name = $0; sub(/^\[  SKIPPED \] /, "", name); sub(/ \([0-9]+ ms\)$/, "", name)
      ok = reason ~ /^needs a facility the machine lacks: /
      lines[++n] = "  " name ": " (reason == "" ? "(no reason given)" : reason) (ok ? "" : "  <- not a missing facility")
      if (!ok) bad++
      reason = ""
    }
    END {
      printf "%d tests skipped%s\n", n, n ? ":" : ""
      for (i = 1; i <= n; i++) print lines[i]
      exit bad > 0
    }' || { echo "a test skipped for something else than a missing facility" >&2; [ "$rc" -ne 0 ] || rc=1; }
fi
exit "$rc"
