#!/usr/bin/env bash
# Configures and builds into ${BUILD_DIR:-build}. Extra arguments go to cmake's configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} "$@" >/dev/null
cmake --build "$build" -j"${JOBS:-2}"
