#!/bin/sh
# Takes the screenshots of this folder: the program on the virtual mouse under a private Xvfb,
# driven with xdotool, captured with ImageMagick's import.
#
#   docs/screenshots/take.sh <build dir> [display number]
#
# The program runs from a temporary folder holding the executable and a fresh copy of the shipped
# modules folder, so the clicks below start from the shipped settings and change no other file.
set -eu

build=$(cd "${1:?usage: take.sh <build dir> [display]}" && pwd)
display=":${2:-77}"
out=$(cd "$(dirname "$0")" && pwd)
data="$out/../../data/modules"
work=$(mktemp -d)
xvfb=""
app=""

cleanup() {
    [ -n "$app" ] && kill "$app" 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

cp "$build/bin/meridax-mouse" "$work/"
cp -r "$data" "$work/modules"
mkdir -p "$work/modules/macro"
mkdir -p "$work/runtime" "$work/data"
chmod 700 "$work/runtime"

Xvfb "$display" -screen 0 1024x640x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1

export DISPLAY="$display" XDG_RUNTIME_DIR="$work/runtime" XDG_DATA_HOME="$work/data"
shot() { import -window root -crop 1024x640+0+0 +repage "$out/$1.png"; }
click() { xdotool mousemove "$1" "$2" click 1; sleep "${3:-0.6}"; }

"$work/meridax-mouse" --virtual-mouse=553 >/dev/null 2>&1 &
app=$!

# The start-up logo shows for the first second after the mouse is found.
sleep 0.5
shot startup
sleep 2
shot main

# The report-rate list, open.
click 187 478
shot dropdown
click 600 600

# The reset dialog over the mask.
click 887 619
shot reset
click 561 350

# The profile page with two more profiles.
click 807 619
click 352 435 0.3
click 352 435 0.3
xdotool mousemove 500 195
sleep 0.3
shot profile
