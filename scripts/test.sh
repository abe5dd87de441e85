#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine (run as root), builds, and runs the whole test suite.
#   scripts/test.sh                      the suite, as CI runs it
#   scripts/test.sh address,undefined    the suite under sanitizers (own build folder)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh
if [ $# -gt 0 ]; then
  export BUILD_DIR=${BUILD_DIR:-build-$(echo "$1" | tr ',' '-')} BUILD_TYPE=Debug
  bash scripts/build.sh -DMOUSE_SANITIZE="$1"
else
  bash scripts/build.sh
fi
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/tests/tsan.supp"
export UBSAN_OPTIONS="halt_on_error=1 print_stacktrace=1"
cd "${BUILD_DIR:-build}"
# Under ThreadSanitizer the programs where threads meet: the report listener beside the GUI
# thread, the virtual mouse's blocking reads, the window with its listener. The GUI suites only
# get slower there, and their real-time busy periods and animations then outlast their waits.
labels=()
case "${1:-}" in *thread*) labels=(-L threads) ;; esac
ctest --output-on-failure -j2 --timeout 600 "${labels[@]}"
