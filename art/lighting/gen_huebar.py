#!/usr/bin/env python3
"""Writes hueBar.svg: one 1-pixel column per marker position, coloured exactly as the lighting
page converts a position into a colour, so the bar under a marker shows the colour it picks."""
import pathlib

WIDTH, HEIGHT = 185, 10


def colour(p):
    w = 183 // 6
    k = p // w
    s = (p - k * w) * 255 // w
    table = {
        0: (255, s, 0),
        1: (255 - s, 255, 0),
        2: (0, 255, s),
        3: (0, 255 - s, 255),
        4: (s, 0, 255),
        5: (255, 0, 255 - s),
    }
    if k in table:
        return table[k]
    return (255, 255, 255) if p > 182 else (255, 0, 0)


cols = []
for p in range(WIDTH):
    r, g, b = colour(p)
    cols.append(f'<rect x="{p}" width="1" height="{HEIGHT}" fill="#{r:02x}{g:02x}{b:02x}"/>')

svg = (f'<svg xmlns="http://www.w3.org/2000/svg" width="{WIDTH}" height="{HEIGHT}" '
       f'viewBox="0 0 {WIDTH} {HEIGHT}" shape-rendering="crispEdges">\n'
       + "\n".join(cols) + "\n</svg>\n")
pathlib.Path(__file__).with_name("hueBar.svg").write_text(svg)
