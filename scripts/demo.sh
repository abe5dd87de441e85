#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine (run as root), builds, and starts the program attached to the
# virtual mouse. Extra arguments go to the program, e.g. `--virtual-mouse=560`.
# Without a display it runs under its own Xvfb with a tray and saves a screenshot after a few
# seconds (build/demo.png); Ctrl-C ends it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh
bash scripts/build.sh
build=${BUILD_DIR:-build}
args=("$@")
[ ${#args[@]} -gt 0 ] || args=(--virtual-mouse)

if [ -n "${DISPLAY:-}" ]; then
  exec "$build/bin/meridax-mouse" "${args[@]}"
fi

echo "No display: running under Xvfb; a screenshot goes to $build/demo.png"
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR=$(mktemp -d)
  chmod 700 "$XDG_RUNTIME_DIR"
fi
Xvfb :93 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=:93
sleep 1
trayer --edge bottom --align right --widthtype pixel --width 160 --height 32 >/dev/null 2>&1 &
"$build/bin/meridax-mouse" "${args[@]}" &
program=$!
sleep 6
import -window root "$build/demo.png" && echo "screenshot: $build/demo.png"
wait $program
