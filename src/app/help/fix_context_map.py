#!/usr/bin/env python3
"""Makes the context map of a help file built by chmcmd 3.2.x name its topics as HTML Help expects.

HTML Help opens a context number through two internal files: /#IVB, a list of (context number,
offset in /#STRINGS) pairs, and /#STRINGS, whose string at that offset names the topic's file inside
the help file ("principal.htm"). chmcmd 3.2.2 writes there the absolute path of the file on the
building machine ("/home/.../principal.htm"), which no help viewer finds inside the help file.

The correct name is already in /#STRINGS: it is the end of that path. This script writes a new
/#IVB whose offsets point at it. /#IVB is compressed, so the new one goes to the uncompressed
section, into the bytes of chmcmd's /_#_README_#_ note, and the directory entry of /#IVB is
rewritten in place with exactly as many bytes as before; nothing else in the file moves.

Usage: fix_context_map.py HELP.chm PROJECT_FOLDER EXTRACT_CHMLIB
PROJECT_FOLDER is the folder that held the .hhp file when chmcmd compiled it. A help file whose map
already names relative files is left as it is. Exits non-zero, saying why, when it can't fix it.
"""
import atexit
import os
import shutil
import struct
import subprocess
import sys
import tempfile


def fail(message):
    sys.exit(f"fix_context_map: {message}")


def extract(chm, extract_tool):
    folder = tempfile.mkdtemp(prefix="chm-")
    atexit.register(shutil.rmtree, folder, True)
    result = subprocess.run([extract_tool, chm, folder], stdout=subprocess.DEVNULL,
                            stderr=subprocess.PIPE)
    if result.returncode != 0:
        fail(f"{extract_tool} could not read {chm}: {result.stderr.decode(errors='replace')}")
    return folder


def read_internal(folder, name):
    path = os.path.join(folder, name)
    if not os.path.isfile(path):
        return None
    with open(path, "rb") as file:
        return file.read()


def context_entries(ivb):
    (size,) = struct.unpack_from("<I", ivb, 0)
    if size + 4 != len(ivb) or size % 8:
        fail(f"/#IVB has {len(ivb)} bytes but declares {size} after its first four")
    return [struct.unpack_from("<II", ivb, 4 + 8 * i) for i in range(size // 8)]


def string_at(strings, offset):
    end = strings.find(b"\0", offset)
    if offset >= len(strings) or end < 0:
        fail(f"/#STRINGS has no string at offset {offset}")
    return strings[offset:end]


def decode_encint(data, pos):
    value = 0
    while True:
        byte = data[pos]
        pos += 1
        value = (value << 7) | (byte & 0x7F)
        if byte < 0x80:
            return value, pos


def encode_encint(value):
    groups = [value & 0x7F]
    value >>= 7
    while value:
        groups.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(groups))


class Entry:
    def __init__(self, name, section, start, length, place, end):
        self.name, self.section, self.start, self.length = name, section, start, length
        self.place, self.end = place, end  # bytes of the three numbers in the file: [place, end)


def directory_entries(chm):
    if chm[:4] != b"ITSF":
        fail("not an ITSF (compiled HTML Help) file")
    (version,) = struct.unpack_from("<I", chm, 4)
    directory, directory_length = struct.unpack_from("<QQ", chm, 0x48)
    if version >= 3:
        (content,) = struct.unpack_from("<Q", chm, 0x58)
    else:
        content = directory + directory_length
    if chm[directory:directory + 4] != b"ITSP":
        fail("the directory does not start with ITSP")
    (header_length,) = struct.unpack_from("<I", chm, directory + 8)
    (chunk_size,) = struct.unpack_from("<I", chm, directory + 0x10)
    (chunk_count,) = struct.unpack_from("<I", chm, directory + 0x2C)
    entries = {}
    for index in range(chunk_count):
        chunk = directory + header_length + index * chunk_size
        if chm[chunk:chunk + 4] != b"PMGL":
            continue
        (free,) = struct.unpack_from("<I", chm, chunk + 4)
        pos, stop = chunk + 0x14, chunk + chunk_size - free
        while pos < stop:
            name_length, pos = decode_encint(chm, pos)
            name = chm[pos:pos + name_length].decode("utf-8")
            pos += name_length
            place = pos
            section, pos = decode_encint(chm, pos)
            start, pos = decode_encint(chm, pos)
            length, pos = decode_encint(chm, pos)
            entries[name] = Entry(name, section, start, length, place, pos)
    return entries, content


def main():
    if len(sys.argv) != 4:
        fail("usage: fix_context_map.py HELP.chm PROJECT_FOLDER EXTRACT_CHMLIB")
    chm_path, project, extract_tool = sys.argv[1:]
    folder = extract(chm_path, extract_tool)
    ivb = read_internal(folder, "#IVB")
    strings = read_internal(folder, "#STRINGS")
    if ivb is None:
        print("fix_context_map: the help file has no context map; nothing to do")
        return
    if strings is None:
        fail("the help file has /#IVB but no /#STRINGS")

    # Byte strings throughout: the offsets count bytes, and the path is the file system's bytes.
    prefixes = {os.fsencode(os.path.realpath(project)) + b"/", os.fsencode(os.path.abspath(project)) + b"/"}
    fixed, changed = [], False
    for context, offset in context_entries(ivb):
        topic = string_at(strings, offset)
        prefix = next((p for p in prefixes if topic.startswith(p)), None)
        if prefix is None:
            if topic.startswith(b"/"):
                fail(f"context {context} names {os.fsdecode(topic)}, outside the project folder {project}")
            fixed.append((context, offset))
            continue
        fixed.append((context, offset + len(prefix)))
        changed = True
    if not changed:
        print("fix_context_map: the context map already names files inside the help file")
        return

    new_ivb = struct.pack("<I", 8 * len(fixed)) + b"".join(struct.pack("<II", c, o) for c, o in fixed)
    with open(chm_path, "rb") as file:
        chm = bytearray(file.read())
    entries, content = directory_entries(chm)
    ivb_entry, readme = entries.get("/#IVB"), entries.get("/_#_README_#_")
    if ivb_entry is None or readme is None or readme.section != 0:
        fail("the help file has no /#IVB entry or no uncompressed /_#_README_#_ to hold the new one")
    old_size = ivb_entry.end - ivb_entry.place
    first, last = readme.start, readme.start + readme.length - len(new_ivb)
    for start in range(last, first - 1, -1):
        numbers = encode_encint(0) + encode_encint(start) + encode_encint(len(new_ivb))
        if len(numbers) == old_size:
            break
    else:
        fail(f"the new /#IVB ({len(new_ivb)} bytes) does not fit in /_#_README_#_")
    chm[content + start:content + start + len(new_ivb)] = new_ivb
    chm[ivb_entry.place:ivb_entry.end] = numbers
    with open(chm_path, "wb") as file:
        file.write(chm)

    # Read it back as a help viewer would.
    check = extract(chm_path, extract_tool)
    for context, offset in context_entries(read_internal(check, "#IVB")):
        topic = os.fsdecode(string_at(read_internal(check, "#STRINGS"), offset))
        if topic.startswith("/") or not os.path.isfile(os.path.join(check, topic)):
            fail(f"after the fix, context {context} names {topic}, which the help file lacks")
        print(f"fix_context_map: context {context} opens {topic}")


if __name__ == "__main__":
    main()
