#!/usr/bin/env python3
"""Compares the icons that a window hands the X window manager with the program's icon file.

Wine gives a window's X twin the property _NET_WM_ICON from the window's big and small icons:
those its class was registered with, or else a stock icon of Wine's. The window manager shows
them in the title bar and the task bar. Each image of the property must be, pixel for pixel, the
icon file's image of the same size, and there must be one of each size asked for.

Usage: window_icon.py ICON.ico XPROP_OUTPUT SIZE...
  XPROP_OUTPUT: what `xprop -id WINDOW -notype -f _NET_WM_ICON 32c _NET_WM_ICON` printed.
"""

import os
import re
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "icon"))
from ico_file import IcoError, read_ico  # noqa: E402


def property_images(text):
    """The images of _NET_WM_ICON: width, height, then width x height ARGB numbers, repeated."""
    match = re.search(r"_NET_WM_ICON\s*=\s*([0-9,\s]+)", text)
    if not match:
        raise ValueError("la ventana no tiene _NET_WM_ICON")
    numbers = [int(n) for n in re.findall(r"\d+", match.group(1))]
    images = []
    at = 0
    while at + 2 <= len(numbers):
        width, height = numbers[at], numbers[at + 1]
        cells = numbers[at + 2:at + 2 + width * height]
        if width == 0 or len(cells) != width * height:
            raise ValueError(f"_NET_WM_ICON cortado en una imagen de {width}x{height}")
        pixels = [((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF, v >> 24) for v in cells]
        images.append((width, height, [pixels[y * width:(y + 1) * width] for y in range(height)]))
        at += 2 + width * height
    return images


def main(argv):
    if len(argv) < 4:
        sys.stderr.write("uso: window_icon.py ICONO.ico SALIDA_DE_XPROP TAMAÑO...\n")
        return 2
    try:
        with open(argv[1], "rb") as file:
            icon = {image.width: image for image in read_ico(file.read())}
        with open(argv[2], encoding="utf-8", errors="replace") as file:
            shown = property_images(file.read())
    except (OSError, IcoError, ValueError) as error:
        print(f"icono de la ventana: {error}")
        return 1
    wanted = sorted(int(size) for size in argv[3:])
    ok = sorted(width for width, _, _ in shown) == wanted
    print(f"icono de la ventana: tamaños {' '.join(f'{w}x{h}' for w, h, _ in shown)}")
    for width, height, pixels in shown:
        own = icon.get(width)
        if own is None or height != width:
            print(f"icono de la ventana: {width}x{height} no es un tamaño del archivo")
            ok = False
            continue
        different = sum(1 for y in range(height) for x in range(width)
                        if _visible(pixels[y][x]) != _visible(own.pixels[y][x]))
        if different:
            print(f"icono de la ventana: {width}x{width} difiere del archivo en {different} "
                  f"píxeles")
            ok = False
        else:
            print(f"icono de la ventana: {width}x{width} igual al del archivo")
    return 0 if ok else 1


def _visible(pixel):
    """A pixel as it shows: the colour of a wholly transparent one does not count."""
    r, g, b, a = pixel
    return (0, 0, 0, 0) if a == 0 else (r, g, b, a)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
