#!/usr/bin/env python3
"""Writes one resource of a PE file (named type and name, first language) to a
file, so that the build's checks can look at what a program carries.
Usage: pe_resource.py PROGRAM TYPE NAME OUTPUT; exit 1 when it is absent."""
import struct
import sys


def sections(data):
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE file")
    count, optional_size = struct.unpack_from("<H", data, pe + 6)[0], struct.unpack_from("<H", data, pe + 20)[0]
    table = pe + 24 + optional_size
    for i in range(count):
        name, vsize, rva, raw_size, raw = struct.unpack_from("<8sIIII", data, table + 40 * i)
        yield name.rstrip(b"\0"), rva, vsize, raw, raw_size


def resource(data, type_name, name):
    rsrc = next((s for s in sections(data) if s[0] == b".rsrc"), None)
    if rsrc is None:
        return None
    _, base_rva, _, base, _ = rsrc

    def entries(offset):
        named, ids = struct.unpack_from("<HH", data, base + offset + 12)
        for i in range(named + ids):
            key, target = struct.unpack_from("<II", data, base + offset + 16 + 8 * i)
            if key & 0x80000000:
                length = struct.unpack_from("<H", data, base + (key & 0x7FFFFFFF))[0]
                start = base + (key & 0x7FFFFFFF) + 2
                key = data[start:start + 2 * length].decode("utf-16-le")
            yield key, target

    def child(offset, wanted):
        for key, target in entries(offset):
            if key == wanted or wanted is None:
                return target
        return None

    level = child(0, type_name)
    level = level is not None and child(level & 0x7FFFFFFF, name)
    leaf = level and child(level & 0x7FFFFFFF, None)
    if not leaf:
        return None
    rva, size = struct.unpack_from("<II", data, base + leaf)
    start = base + rva - base_rva
    return data[start:start + size]


if __name__ == "__main__":
    program, type_name, name, output = sys.argv[1:5]
    with open(program, "rb") as f:
        found = resource(f.read(), type_name, name)
    if found is None:
        sys.exit(1)
    with open(output, "wb") as f:
        f.write(found)
