#!/usr/bin/env python3
"""Checks the program's icon as Windows and the installer read it: draws it twice with the
drawing script, reads the .ico back (tests/icon/ico_file.py) and checks that it holds one 32-bit
image of each size Windows asks for, the 256 px one as PNG, each a rounded shape (transparent
corners, an opaque middle) whose BMP mask agrees with its alpha; that the two runs gave the same
bytes; and, when given, that the build's icon is that same file.

Usage: check_icon.py DRAW_ICON.py [BUILT.ico]
"""

import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from ico_file import IcoError, read_ico  # noqa: E402

SIZES = [16, 20, 24, 32, 40, 48, 64, 256]

passed = 0
failed = 0


def report(ok, text):
    global passed, failed
    if ok:
        passed += 1
        print(f"ok: {text}")
    else:
        failed += 1
        print(f"FALLO: {text}")
    return ok


def draw(script, output):
    run = subprocess.run([sys.executable, script, output], capture_output=True, text=True,
                         timeout=120)
    if run.returncode != 0:
        report(False, f"{os.path.basename(script)} terminó con estado {run.returncode}: "
                      f"{run.stderr.strip()}")
        return None
    with open(output, "rb") as file:
        return file.read()


def check_image(image):
    size = image.width
    name = f"{size} px ({image.kind.upper()})"
    alphas = image.alphas()
    report(any(a > 0 for a in alphas), f"{name}: no es del todo transparente")
    report(any(a < 255 for a in alphas), f"{name}: no es del todo opaco")
    corners = [image.pixels[y][x][3] for y in (0, size - 1) for x in (0, size - 1)]
    report(all(a < 255 for a in corners),
           f"{name}: las cuatro esquinas dejan ver el fondo (alfa {corners})")
    middle = image.pixels[size // 2][size // 2][3]
    report(middle == 255, f"{name}: el centro es opaco (alfa {middle})")
    if image.mask is not None:
        disagreeing = sum(1 for y in range(size) for x in range(size)
                          if image.mask[y][x] != (image.pixels[y][x][3] == 0))
        report(disagreeing == 0,
               f"{name}: la máscara AND marca justo los píxeles transparentes "
               f"({disagreeing} no)")


def main(argv):
    if len(argv) not in (2, 3):
        sys.stderr.write("uso: check_icon.py DRAW_ICON.py [ICONO_DE_LA_COMPILACION.ico]\n")
        return 2
    script = argv[1]
    with tempfile.TemporaryDirectory() as folder:
        first = draw(script, os.path.join(folder, "primero.ico"))
        second = draw(script, os.path.join(folder, "segundo.ico"))
    if first is None or second is None:
        return 1
    report(first == second, "dos ejecuciones escriben los mismos bytes")
    try:
        images = read_ico(first)
    except IcoError as error:
        report(False, f"el archivo .ico se lee: {error}")
        return 1
    report(True, f"el archivo .ico se lee: {len(images)} imágenes")
    sizes = sorted(image.width for image in images)
    report(sizes == SIZES, f"una imagen de cada tamaño {SIZES} (tiene {sizes})")
    for image in images:
        check_image(image)
    large = [image for image in images if image.width == 256]
    report(bool(large) and all(image.kind == "png" for image in large),
           "la imagen de 256 px va en PNG")
    if len(argv) == 3:
        with open(argv[2], "rb") as file:
            built = file.read()
        report(built == first, f"{argv[2]} es el icono que dibuja el script")
    print(f"Icono: {passed} passed, {failed} failed")
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
