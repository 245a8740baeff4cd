#!/usr/bin/env python3
"""Generates the sample character: a textured low-poly humanoid in a T-pose.

Writes samples/character.obj, samples/character.mtl and samples/character.bmp.
The figure stands on y = 0, is about 1.9 units tall, faces +z and holds its arms
out along x, so joints can be placed along the limbs. Every face is a triangle
with position, texture-coordinate and normal indices; faces are grouped by
material (skin with the texture, shirt, trousers, shoes).

Run:  python3 scripts/make_sample_character.py [output folder]
"""
import math
import os
import struct
import sys

TEXTURE_SIZE = 128


class Piece:
    """One closed body part: its own vertices, texture coordinates and triangles."""

    def __init__(self, material):
        self.material = material
        self.positions = []
        self.uvs = []
        self.triangles = []  # (i, j, k) into positions/uvs, counter-clockwise from outside
        self.flat = {}       # vertex index -> fixed normal (cap vertices)

    def add(self, p, uv, normal=None):
        self.positions.append(p)
        self.uvs.append(uv)
        if normal is not None:
            self.flat[len(self.positions) - 1] = normal
        return len(self.positions) - 1


def sub(a, b):
    return (a[0] - b[0], a[1] - b[1], a[2] - b[2])


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def unit(a):
    n = math.sqrt(dot(a, a))
    return (a[0] / n, a[1] / n, a[2] / n) if n > 0 else (0.0, 1.0, 0.0)


def tube(material, rings, segments, axis, caps=True, uv_box=(0.0, 0.0, 1.0, 1.0)):
    """A closed tube through `rings` = [(center, radius_u, radius_v)], whose rings lie
    across `axis` ('x', 'y' or 'z'). Texture coordinates span `uv_box`."""
    piece = Piece(material)
    if axis == 'y':
        du, dv = (1, 0, 0), (0, 0, 1)
    elif axis == 'x':
        du, dv = (0, 0, 1), (0, 1, 0)
    else:
        du, dv = (1, 0, 0), (0, 1, 0)
    u0, v0, u1, v1 = uv_box
    rows = []
    for r, (c, ru, rv) in enumerate(rings):
        row = []
        for s in range(segments + 1):
            a = 2 * math.pi * s / segments
            cu, cv = math.cos(a) * ru, math.sin(a) * rv
            p = tuple(c[k] + du[k] * cu + dv[k] * cv for k in range(3))
            uv = (u0 + (u1 - u0) * s / segments, v0 + (v1 - v0) * r / (len(rings) - 1))
            row.append(piece.add(p, uv))
        rows.append(row)
    for r in range(len(rows) - 1):
        for s in range(segments):
            a, b = rows[r][s], rows[r][s + 1]
            c, d = rows[r + 1][s + 1], rows[r + 1][s]
            piece.triangles.append((a, b, c))
            piece.triangles.append((a, c, d))
    if caps:
        for end, row in ((0, rows[0]), (len(rows) - 1, rows[-1])):
            center = rings[end][0]
            other = rings[1 if end == 0 else -2][0]
            normal = unit(sub(center, other))
            mid = piece.add(center, ((u0 + u1) / 2, v0 if end == 0 else v1), normal)
            ring = [piece.add(piece.positions[i], piece.uvs[i], normal) for i in row[:-1]]
            for s in range(segments):
                piece.triangles.append((mid, ring[s], ring[(s + 1) % segments]))
    orient(piece)
    return piece


def sphere(material, center, radius, segments, stacks, uv_box=(0.0, 0.0, 1.0, 1.0)):
    """A sphere whose texture seam is at the back: u = 0.5 faces +z, v = 1 at the top."""
    piece = Piece(material)
    u0, v0, u1, v1 = uv_box
    rows = []
    for i in range(stacks + 1):
        phi = math.pi * i / stacks
        row = []
        for s in range(segments + 1):
            u = s / segments
            theta = 2 * math.pi * (u - 0.5)
            p = (center[0] + radius * math.sin(phi) * math.sin(theta),
                 center[1] + radius * math.cos(phi) * 1.12,
                 center[2] + radius * math.sin(phi) * math.cos(theta))
            row.append(piece.add(p, (u0 + (u1 - u0) * u, v0 + (v1 - v0) * (1 - i / stacks))))
        rows.append(row)
    for i in range(stacks):
        for s in range(segments):
            a, b = rows[i][s], rows[i][s + 1]
            c, d = rows[i + 1][s + 1], rows[i + 1][s]
            if i != 0:
                piece.triangles.append((a, b, c))
            if i != stacks - 1:
                piece.triangles.append((a, c, d))
    orient(piece)
    return piece


def orient(piece):
    """Turns every triangle to face away from the piece's centre line, so faces are
    counter-clockwise seen from outside."""
    n = len(piece.positions)
    centroid = tuple(sum(p[k] for p in piece.positions) / n for k in range(3))
    fixed = []
    for (a, b, c) in piece.triangles:
        pa, pb, pc = piece.positions[a], piece.positions[b], piece.positions[c]
        normal = cross(sub(pb, pa), sub(pc, pa))
        mid = tuple((pa[k] + pb[k] + pc[k]) / 3 for k in range(3))
        fixed.append((a, b, c) if dot(normal, sub(mid, centroid)) >= 0 else (a, c, b))
    piece.triangles = fixed


def vertex_normals(piece):
    sums = [(0.0, 0.0, 0.0)] * len(piece.positions)
    for (a, b, c) in piece.triangles:
        pa, pb, pc = piece.positions[a], piece.positions[b], piece.positions[c]
        n = cross(sub(pb, pa), sub(pc, pa))
        for i in (a, b, c):
            s = sums[i]
            sums[i] = (s[0] + n[0], s[1] + n[1], s[2] + n[2])
    return [piece.flat.get(i, unit(s)) for i, s in enumerate(sums)]


def limb_rings(start, end, radii, axis_index):
    """Rings from `start` to `end` (points), one per radius pair in `radii`."""
    rings = []
    for i, (ru, rv) in enumerate(radii):
        t = i / (len(radii) - 1)
        c = tuple(start[k] + (end[k] - start[k]) * t for k in range(3))
        rings.append((c, ru, rv))
    return rings


def build_body():
    pieces = []
    skin_face = (0.0, 0.0, 1.0, 1.0)
    skin_plain = (0.02, 0.02, 0.18, 0.18)  # a plain skin-coloured corner of the texture
    # Head and neck.
    pieces.append(sphere("skin", (0.0, 1.74, 0.0), 0.115, 24, 16, skin_face))
    pieces.append(tube("skin", limb_rings((0, 1.56, 0), (0, 1.66, 0),
                                          [(0.055, 0.05)] * 3, 1), 16, 'y', True, skin_plain))
    # Torso, from the hips up to the shoulders: wider at the chest.
    torso = [((0, 0.92 + 0.08 * i, 0.0), rx, rz) for i, (rx, rz) in enumerate(
        [(0.16, 0.10), (0.155, 0.095), (0.15, 0.092), (0.152, 0.095), (0.16, 0.10),
         (0.172, 0.108), (0.18, 0.11), (0.178, 0.105), (0.15, 0.09)])]
    pieces.append(tube("shirt", torso, 24, 'y'))
    # Arms out along x (T-pose): shoulder, elbow, wrist; hands beyond the wrist.
    for side in (-1, 1):
        shoulder = (side * 0.16, 1.52, 0.0)
        wrist = (side * 0.78, 1.52, 0.0)
        radii = [(0.058, 0.058), (0.052, 0.05), (0.046, 0.045), (0.044, 0.042), (0.045, 0.043),
                 (0.041, 0.04), (0.036, 0.035), (0.032, 0.031), (0.03, 0.03)]
        pieces.append(tube("shirt", limb_rings(shoulder, wrist, radii, 0), 16, 'x'))
        hand_end = (side * 0.94, 1.52, 0.0)
        pieces.append(tube("skin", limb_rings(wrist, hand_end,
                                              [(0.032, 0.02), (0.045, 0.018), (0.046, 0.017),
                                               (0.04, 0.015), (0.025, 0.012)], 0),
                           14, 'x', True, skin_plain))
    # Legs down from the hips to the ankles, then the feet pointing at +z.
    for side in (-1, 1):
        hip = (side * 0.085, 0.98, 0.0)
        ankle = (side * 0.095, 0.08, 0.0)
        radii = [(0.085, 0.085), (0.08, 0.08), (0.072, 0.072), (0.064, 0.064), (0.056, 0.058),
                 (0.05, 0.054), (0.052, 0.056), (0.048, 0.05), (0.042, 0.044), (0.036, 0.038),
                 (0.034, 0.036)]
        pieces.append(tube("trousers", limb_rings(hip, ankle, radii, 1), 18, 'y'))
        heel = (side * 0.095, 0.045, -0.05)
        toe = (side * 0.1, 0.04, 0.17)
        pieces.append(tube("shoes", limb_rings(heel, toe,
                                               [(0.045, 0.045), (0.05, 0.05), (0.052, 0.042),
                                                (0.05, 0.036), (0.04, 0.028)], 2), 14, 'z'))
    # Stand on y = 0.
    lowest = min(p[1] for piece in pieces for p in piece.positions)
    for piece in pieces:
        piece.positions = [(x, y - lowest, z) for (x, y, z) in piece.positions]
    return pieces


def texture_pixels():
    """A skin-coloured texture with eyes, mouth and hair placed where the head's
    texture coordinates put the front (+z) and top of the head."""
    size = TEXTURE_SIZE
    skin = (236, 196, 164)
    rows = []
    for y in range(size):  # y = 0 is the bottom row (v = 0)
        row = []
        v = (y + 0.5) / size
        for x in range(size):
            u = (x + 0.5) / size
            colour = skin
            if v > 0.78 or (v > 0.62 and abs(u - 0.5) > 0.17):
                colour = (92, 58, 36)  # hair
            for eye_u in (0.455, 0.545):
                if ((u - eye_u) / 0.018) ** 2 + ((v - 0.56) / 0.03) ** 2 < 1:
                    colour = (40, 40, 60)
            if abs(u - 0.5) < 0.04 and abs(v - 0.43) < 0.008:
                colour = (170, 70, 70)  # mouth
            if abs(u - 0.5) < 0.008 and 0.46 < v < 0.53:
                colour = (214, 170, 140)  # nose
            row.append(colour)
        rows.append(row)
    return rows


def write_bmp(path, rows):
    height, width = len(rows), len(rows[0])
    row_bytes = (width * 3 + 3) // 4 * 4
    data = bytearray()
    for row in rows:  # bottom-up
        line = bytearray()
        for (r, g, b) in row:
            line += bytes((b, g, r))
        line += b'\0' * (row_bytes - len(line))
        data += line
    header = b'BM' + struct.pack('<IHHI', 54 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(header + info + data)


MATERIALS = [
    ("skin", (1.0, 1.0, 1.0), "character.bmp"),
    ("shirt", (0.22, 0.38, 0.72), None),
    ("trousers", (0.25, 0.25, 0.28), None),
    ("shoes", (0.35, 0.2, 0.1), None),
]


def write_mtl(path):
    with open(path, 'w', newline='\n') as f:
        f.write("# Limbweaver sample character materials\n")
        for name, kd, texture in MATERIALS:
            f.write("\nnewmtl %s\n" % name)
            f.write("Ka %.6f %.6f %.6f\n" % tuple(0.25 * c for c in kd))
            f.write("Kd %.6f %.6f %.6f\n" % kd)
            f.write("Ks 0.100000 0.100000 0.100000\n")
            f.write("Ns 12.000000\n")
            if texture:
                f.write("map_Kd %s\n" % texture)


def write_obj(path, pieces):
    lines = ["# Limbweaver sample character: low-poly humanoid in a T-pose, facing +z",
             "mtllib character.mtl"]
    faces_by_material = {name: [] for name, _, _ in MATERIALS}
    v_lines, vt_lines, vn_lines = [], [], []
    base = 0
    for piece in pieces:
        normals = vertex_normals(piece)
        for p, uv, n in zip(piece.positions, piece.uvs, normals):
            v_lines.append("v %.6f %.6f %.6f" % p)
            vt_lines.append("vt %.6f %.6f" % uv)
            vn_lines.append("vn %.6f %.6f %.6f" % n)
        for (a, b, c) in piece.triangles:
            i, j, k = base + a + 1, base + b + 1, base + c + 1
            faces_by_material[piece.material].append(
                "f %d/%d/%d %d/%d/%d %d/%d/%d" % (i, i, i, j, j, j, k, k, k))
        base += len(piece.positions)
    lines += v_lines + vt_lines + vn_lines
    for name, _, _ in MATERIALS:
        lines.append("usemtl %s" % name)
        lines += faces_by_material[name]
    with open(path, 'w', newline='\n') as f:
        f.write("\n".join(lines) + "\n")
    return sum(len(v) for v in faces_by_material.values())


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "samples")
    os.makedirs(out, exist_ok=True)
    pieces = build_body()
    triangles = write_obj(os.path.join(out, "character.obj"), pieces)
    write_mtl(os.path.join(out, "character.mtl"))
    write_bmp(os.path.join(out, "character.bmp"), texture_pixels())
    print("character: %d triangles, %d materials" % (triangles, len(MATERIALS)))


if __name__ == "__main__":
    main()
