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
ctest --output-on-failure -j "${GLIMORA_TEST_JOBS:-2}" "$@"
