#!/usr/bin/env python3
"""Draws Kestrin's document-type icons and renders the pictures the build and the install use.

Writes:
  resources/icons/kestrin4-<type>.svg      the five document-type icons (Qt resource, hicolor)
  resources/img/<type>.ico                 the icons beside the executable
  packaging/icons/hicolor/<n>x<n>/...png   PNG copies of the application and type icons
  packaging/icons/hicolor/scalable/...svg  SVG copies of the same

The toolbar pictures and the application icon (resources/icons/*.svg) are drawn by hand; this
script only renders the application icon. Needs rsvg-convert (librsvg2-bin) or ImageMagick for
PNG, and ImageMagick `convert` for ICO. The results are committed: the build needs neither.
"""
import os
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ICONS = os.path.join(ROOT, "resources", "icons")
IMG = os.path.join(ROOT, "resources", "img")
HICOLOR = os.path.join(ROOT, "packaging", "icons", "hicolor")
PNG_SIZES = [16, 24, 32, 48, 64, 128, 256]
ICO_SIZES = [16, 24, 32, 48, 256]

# A 3x5 pixel font: the letters stay sharp at 16 px, where outline type turns to mush.
GLYPHS = {
    "C": ["011", "100", "100", "100", "011"],
    "H": ["101", "101", "111", "101", "101"],
    "J": ["001", "001", "001", "101", "010"],
    "L": ["100", "100", "100", "100", "111"],
    "M": ["101", "111", "111", "101", "101"],
    "P": ["110", "101", "110", "100", "100"],
    "S": ["011", "100", "010", "001", "110"],
    "T": ["111", "010", "010", "010", "010"],
}

# file stem, letters, band colour, letter colour
TYPES = [
    ("htm", "HTM", "#e44d26", "#ffffff"),
    ("php", "PHP", "#6c71b3", "#ffffff"),
    ("js", "JS", "#f7df1e", "#222222"),
    ("css", "CSS", "#2965f1", "#ffffff"),
    ("tpl", "TPL", "#2e8b57", "#ffffff"),
]

BAND_X, BAND_W, BAND_Y, BAND_H = 1, 13, 8, 7


def letters_path(letters):
    width = len(letters) * 4 - 1
    x0 = BAND_X + (BAND_W - width) // 2
    y0 = BAND_Y + 1
    parts = []
    for i, letter in enumerate(letters):
        for row, bits in enumerate(GLYPHS[letter]):
            for col, bit in enumerate(bits):
                if bit == "1":
                    parts.append("M%d %dh1v1h-1z" % (x0 + i * 4 + col, y0 + row))
    return "".join(parts)


def type_svg(letters, band, ink):
    return f"""<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" viewBox="0 0 16 16">
  <path d="M2.5 0.5H9.5L12.5 3.5V15.5H2.5Z" fill="#ffffff" stroke="#6b6b6b"/>
  <path d="M9.5 0.5V3.5H12.5" fill="#dcdcdc" stroke="#6b6b6b" stroke-linejoin="round"/>
  <path d="M4 3h4v1h-4zM4 5h6v1h-6z" fill="#a0a0a0"/>
  <rect x="{BAND_X}" y="{BAND_Y}" width="{BAND_W}" height="{BAND_H}" rx="0.5" fill="{band}"/>
  <path d="{letters_path(letters)}" fill="{ink}" shape-rendering="crispEdges"/>
</svg>
"""


def write_if_changed(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    if os.path.exists(path):
        with open(path, "rb") as f:
            if f.read() == data:
                return
    with open(path, "wb") as f:
        f.write(data)
    print("wrote", os.path.relpath(path, ROOT))


def render_png(svg, size, out):
    os.makedirs(os.path.dirname(out), exist_ok=True)
    if shutil.which("rsvg-convert"):
        cmd = ["rsvg-convert", "-w", str(size), "-h", str(size), "-o", out, svg]
    else:
        cmd = ["convert", "-background", "none", "-density", str(96 * size // 16), svg,
               "-resize", f"{size}x{size}", "PNG32:" + out]
    subprocess.run(cmd, check=True)
    # Drop time stamps and other chunks that would make every run differ.
    subprocess.run(["convert", out, "-strip", "-define", "png:exclude-chunks=date,time", "PNG32:" + out], check=True)


def main():
    if not shutil.which("convert"):
        sys.exit("make_icons: ImageMagick's convert is needed for the .ico files")
    for stem, letters, band, ink in TYPES:
        write_if_changed(os.path.join(ICONS, f"kestrin4-{stem}.svg"), type_svg(letters, band, ink).encode())

    pictures = [("apps", "kestrin4")] + [("mimetypes", f"kestrin4-{t[0]}") for t in TYPES]
    with tempfile.TemporaryDirectory() as tmp:
        for context, name in pictures:
            svg = os.path.join(ICONS, name + ".svg")
            scalable = os.path.join(HICOLOR, "scalable", context, name + ".svg")
            with open(svg, "rb") as f:
                write_if_changed(scalable, f.read())
            for size in PNG_SIZES:
                rendered = os.path.join(tmp, f"{name}-{size}.png")
                render_png(svg, size, rendered)
                with open(rendered, "rb") as f:
                    write_if_changed(os.path.join(HICOLOR, f"{size}x{size}", context, name + ".png"), f.read())
        for stem, *_ in TYPES:
            frames = [os.path.join(tmp, f"kestrin4-{stem}-{size}.png") for size in ICO_SIZES]
            ico = os.path.join(tmp, stem + ".ico")
            subprocess.run(["convert", *frames, ico], check=True)
            with open(ico, "rb") as f:
                write_if_changed(os.path.join(IMG, stem + ".ico"), f.read())


if __name__ == "__main__":
    main()
