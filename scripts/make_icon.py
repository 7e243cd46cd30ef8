#!/usr/bin/env python3
"""Renders the icon's art, packaging/icons/zorv.svg (a game's sheet in the
viewer's green on black, on a transparent ground), to the PNG sizes of the
hicolor theme, packaging/icons/NxN/zorv.png, and to the window's own icon,
a 32 x 32 PNG of 256 colours.

Needs rsvg-convert (librsvg2-bin) and ImageMagick's convert.
Run from the repository's root after changing the art: scripts/make_icon.py
"""
import os
import subprocess

ART = "packaging/icons/zorv.svg"
SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
WINDOW_ICON = "src/window/qt/resources/zorv_icon.png"


def render(size, out):
    os.makedirs(os.path.dirname(out), exist_ok=True)
    subprocess.run(["rsvg-convert", "--width", str(size), "--height", str(size), "--output", out, ART], check=True)


def main():
    for size in SIZES:
        render(size, f"packaging/icons/{size}x{size}/zorv.png")
    # A palette of 256 colours, one of them transparent; no time stamp or
    # comment, so that a render of the same art gives the same bytes.
    subprocess.run(["convert", "packaging/icons/32x32/zorv.png", "-strip", "-colors", "256", "PNG8:" + WINDOW_ICON],
                   check=True)


if __name__ == "__main__":
    main()
