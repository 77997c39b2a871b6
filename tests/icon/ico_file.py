"""Reads a Windows .ico file as Windows does, independently of the program that drew it: the
directory, then each image, PNG or BMP (a DIB with its AND mask), decoded to RGBA pixels. A fault
raises IcoError with what is wrong; the texts are Spanish, as the tests print them."""

import struct
import zlib

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


class IcoError(Exception):
    pass


class Image:
    def __init__(self, width, height, kind, bit_count, pixels, mask=None):
        self.width = width
        self.height = height
        self.kind = kind  # "png" or "bmp"
        self.bit_count = bit_count
        self.pixels = pixels  # rows top to bottom of (r, g, b, a) tuples
        self.mask = mask  # BMP: rows top to bottom of booleans, True where the AND mask is set

    def alphas(self):
        return [a for row in self.pixels for (_, _, _, a) in row]


def read_ico(data):
    """The images of the file, in the order of its directory, each with its directory entry's
    width and height checked against the image's own."""
    if len(data) < 6:
        raise IcoError("el archivo es demasiado corto para un directorio ICONDIR")
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1:
        raise IcoError(f"ICONDIR no es de iconos (reservado {reserved}, tipo {kind})")
    if count == 0 or len(data) < 6 + 16 * count:
        raise IcoError(f"ICONDIR anuncia {count} imágenes y no caben sus entradas")
    images = []
    spans = []
    for i in range(count):
        width, height, colours, zero, planes, bits, size, offset = struct.unpack_from(
            "<BBBBHHII", data, 6 + 16 * i)
        width = width or 256
        height = height or 256
        if zero != 0:
            raise IcoError(f"entrada {i}: byte reservado {zero}")
        if offset < 6 + 16 * count or offset + size > len(data):
            raise IcoError(f"entrada {i}: la imagen ({offset}+{size}) cae fuera del archivo")
        spans.append((offset, offset + size))
        body = data[offset:offset + size]
        if body.startswith(PNG_SIGNATURE):
            image = read_png(body)
        else:
            image = read_dib(body)
        if (image.width, image.height) != (width, height):
            raise IcoError(f"entrada {i}: el directorio dice {width}x{height} y la imagen "
                           f"{image.width}x{image.height}")
        if bits not in (0, image.bit_count):
            raise IcoError(f"entrada {i}: el directorio dice {bits} bits y la imagen "
                           f"{image.bit_count}")
        images.append(image)
    spans.sort()
    for (_, end), (start, _) in zip(spans, spans[1:]):
        if start < end:
            raise IcoError("dos imágenes se solapan en el archivo")
    return images


def read_dib(body):
    if len(body) < 40:
        raise IcoError("una imagen BMP no tiene cabecera BITMAPINFOHEADER")
    (header, width, height, planes, bits, compression, _, _, _, used,
     _) = struct.unpack_from("<IiiHHIIiiII", body, 0)
    if header != 40:
        raise IcoError(f"cabecera BMP de {header} bytes, no 40")
    if height != 2 * width:
        raise IcoError(f"la altura de la cabecera BMP es {height}, no el doble del ancho {width}")
    if planes != 1 or compression != 0:
        raise IcoError(f"BMP con {planes} planos y compresión {compression}")
    if bits != 32 or used != 0:
        raise IcoError(f"BMP de {bits} bits (con {used} colores de paleta), no de 32")
    size = width
    colour_bytes = size * size * 4
    mask_stride = (size + 31) // 32 * 4
    if len(body) < 40 + colour_bytes + mask_stride * size:
        raise IcoError(f"BMP de {size} px más corto que sus píxeles y su máscara")
    pixels = []
    mask = []
    for y in range(size):  # bottom row first
        at = 40 + y * size * 4
        row = body[at:at + size * 4]
        pixels.append([(row[x + 2], row[x + 1], row[x], row[x + 3]) for x in range(0, size * 4, 4)])
        at = 40 + colour_bytes + y * mask_stride
        bits_row = body[at:at + mask_stride]
        mask.append([bool(bits_row[x // 8] & (0x80 >> (x % 8))) for x in range(size)])
    pixels.reverse()
    mask.reverse()
    return Image(size, size, "bmp", 32, pixels, mask)


def read_png(body):
    """A PNG with any of the five row filters; only 8-bit RGBA, the format icons keep."""
    at = len(PNG_SIGNATURE)
    header = None
    compressed = b""
    while True:
        if at + 8 > len(body):
            raise IcoError("PNG sin el fragmento IEND")
        length, kind = struct.unpack_from(">I4s", body, at)
        chunk = body[at + 8:at + 8 + length]
        (crc,) = struct.unpack_from(">I", body, at + 8 + length)
        if zlib.crc32(kind + chunk) != crc:
            raise IcoError(f"PNG: CRC erróneo en el fragmento {kind!r}")
        at += 12 + length
        if header is None and kind != b"IHDR":
            raise IcoError("PNG: el primer fragmento no es IHDR")
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", chunk)
        elif kind == b"IDAT":
            compressed += chunk
        elif kind == b"IEND":
            break
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour != 6 or interlace != 0:
        raise IcoError(f"PNG de profundidad {depth}, tipo de color {colour}, entrelazado "
                       f"{interlace}: no es RGBA de 8 bits")
    raw = zlib.decompress(compressed)
    stride = width * 4
    if len(raw) != height * (stride + 1):
        raise IcoError("PNG: los datos no tienen el tamaño de la imagen")
    rows = []
    previous = bytearray(stride)
    for y in range(height):
        line = raw[y * (stride + 1):(y + 1) * (stride + 1)]
        kind, line = line[0], bytearray(line[1:])
        for x in range(stride):
            left = line[x - 4] if x >= 4 else 0
            up = previous[x]
            up_left = previous[x - 4] if x >= 4 else 0
            if kind == 1:
                line[x] = (line[x] + left) & 0xFF
            elif kind == 2:
                line[x] = (line[x] + up) & 0xFF
            elif kind == 3:
                line[x] = (line[x] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - up_left
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - up_left)
                guess = left if pa <= pb and pa <= pc else up if pb <= pc else up_left
                line[x] = (line[x] + guess) & 0xFF
            elif kind != 0:
                raise IcoError(f"PNG: filtro de fila {kind} desconocido")
        rows.append([tuple(line[x:x + 4]) for x in range(0, stride, 4)])
        previous = line
    return Image(width, height, "png", 32, rows)
