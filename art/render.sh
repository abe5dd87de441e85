#!/bin/sh
# Renders the drawn images (SVG sources beside this script) into the resource tree, writes the
# resource list resources/images.qrc and builds the tray icon data/modules/img/logo.ico.
# Needs rsvg-convert (librsvg2-bin) and ImageMagick's convert.
set -eu

art=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$art")
img=$root/resources/modules/img
skin=$img/skin1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# render <svg> <png> [stylesheet]
render() {
    mkdir -p "$(dirname "$2")"
    if [ -n "${3:-}" ]; then
        rsvg-convert -s "$3" "$art/$1" -o "$2"
    else
        rsvg-convert "$art/$1" -o "$2"
    fi
}

# icon <svg> <png without .png>: normal and hover ("H") state
icon() {
    render "$1" "$2.png"
    render "$1" "$2H.png" "$art/css/hover.css"
}

rm -rf "$skin"
rm -f "$img"/background*.png "$img/titleBar.png" "$img/titleLogo.png"

# window
# The picture is cut into an opaque body (saved without alpha, so it decodes straight into the
# format the renderer draws) and two 8-pixel strips with the rounded corners.
render window/background.svg "$tmp/background.png"
convert "$tmp/background.png" -crop 1024x8+0+0 +repage "PNG32:$img/backgroundTop.png"
convert "$tmp/background.png" -crop 1024x8+0+632 +repage "PNG32:$img/backgroundBottom.png"
convert "$tmp/background.png" -crop 1024x624+0+8 +repage -background black -alpha remove \
    -alpha off "PNG24:$img/background.png"
render window/titleBar.svg "$img/titleBar.png"
render logo/titleLogo.svg "$img/titleLogo.png"

# main screen and shared controls
render logo/powerOn.svg "$skin/index/powerOn.png"
render icons/slide.svg "$skin/index/slide.png"
render icons/dropBtn.svg "$skin/index/dropBtn.png"
render icons/dropBtnU.svg "$skin/index/dropBtnU.png"
render icons/checkBtn.svg "$skin/index/checkBtn.png"
for b in ask minBtn closeBtn; do
    render "icons/$b.svg" "$skin/index/$b.png"
    render "icons/$b.svg" "$skin/index/${b}H.png" "$art/css/titlehover.css"
done
icon icons/back.svg "$skin/index/back"

# mouse picture, key function panel and key assignment dialog. The picture and its lit buttons
# are drawn on the whole window but kept only where they have pixels: the box below, which
# Mouse.qml places at the same offset (pictureOrigin).
picture=324x482+350+115
render mouse/mouse.svg "$skin/mouse/mouse.png"
for n in 0 1 2 3 4 5 6 7; do
    { cat "$art/css/lit.css"; echo "#hl-$n { display: inline; }"; } >"$tmp/lit$n.css"
    render mouse/mouse.svg "$skin/mouse/key${n}H.png" "$tmp/lit$n.css"
done
for f in "$skin/mouse/mouse.png" "$skin"/mouse/key?H.png; do
    convert "$f" -crop "$picture" +repage "$f"
done
render icons/keyLabel.svg "$skin/mouse/keyLabel.png"
render icons/keyLabel.svg "$skin/mouse/keyLabelH.png" "$art/css/labelhover.css"
icon icons/back.svg "$skin/mouse/back"
icon icons/close.svg "$skin/mouse/close"
icon icons/ok.svg "$skin/mouse/ok"
icon icons/close.svg "$skin/mouse/cancel"

# macro editor
icon icons/close.svg "$skin/macros/close"
for a in delay keyDown keyUp mouseDown mouseUp; do
    render "icons/$a.svg" "$skin/macros/$a.png"
done

# profile page
icon icons/close.svg "$skin/profile/close"

# lighting page
icon icons/back.svg "$skin/lightControl/back"
render lighting/scale.svg "$skin/lightControl/scale.png"
render lighting/hueBar.svg "$skin/lightControl/hueBar.png"
render lighting/marker.svg "$skin/lightControl/marker.png"

# DPI page
icon icons/back.svg "$skin/dpiSetting/back"

# system settings page
icon icons/back.svg "$skin/mouseRate/back"
icon icons/close.svg "$skin/mouseRate/close"

# gun page: aiming target, guns
render aim/target.svg "$skin/xySetting/target.png"
render aim/dot.svg "$skin/xySetting/dot.png"
icon icons/close.svg "$skin/gun/close"
for g in M416 AKM M16A4 SCAR-L UNP9 Thomson; do
    render "guns/$g.svg" "$skin/gun/$g.png"
done

# Resource list: window images under "/", every skin folder under the prefix of its page, so
# modules/img/skin1/<page>/<name>.png is found at ":/<page>/modules/img/skin1/<page>/<name>.png".
qrc=$root/resources/images.qrc
{
    echo '<!DOCTYPE RCC>'
    echo '<!-- Written by art/render.sh. -->'
    echo '<RCC version="1.0">'
    echo '  <qresource prefix="/">'
    for f in background backgroundBottom backgroundTop titleBar titleLogo; do
        echo "    <file>modules/img/$f.png</file>"
    done
    echo '  </qresource>'
    for dir in "$skin"/*/; do
        page=$(basename "$dir")
        echo "  <qresource prefix=\"/$page\">"
        for f in $(cd "$dir" && ls -- *.png | LC_ALL=C sort); do
            echo "    <file>modules/img/skin1/$page/$f</file>"
        done
        echo '  </qresource>'
    done
    echo '</RCC>'
} >"$qrc"

# tray icon: every size drawn from the vector source rather than scaled down from one bitmap
ico=$root/data/modules/img/logo.ico
mkdir -p "$(dirname "$ico")"
# Trays draw it at 16 to 48 pixels; larger sizes would only be decoded for nothing.
sizes="16 24 32 48 64"
set --
for s in $sizes; do
    rsvg-convert -w "$s" -h "$s" "$art/logo/trayLogo.svg" -o "$tmp/logo$s.png"
    set -- "$@" "$tmp/logo$s.png"
done
convert "$@" "$ico"

echo "rendered $(find "$img" -name '*.png' | wc -l) images, $qrc and $ico"
