#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine (run as root), builds, and starts the program attached to the
# virtual mouse.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh
bash scripts/build.sh
exec "${BUILD_DIR:-build}/bin/mouse-wiretrace" "$@"
