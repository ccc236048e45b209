#!/bin/bash
# Makes the third-party 3DS fixtures and what the third-party program reads
# from them. Needs Debian's assimp-utils and python3; run it from anywhere.
#
#   cube.3ds    assimp export cube.obj cube.3ds     (one mesh, 8 shared corners)
#   house.3ds   assimp export house.obj house.3ds   (two meshes with texture coordinates)
#   sphere.3ds  assimp export sphere.obj sphere.3ds (a UV sphere with a texture seam;
#               sphere.obj is written by this script)
#
# NAME.expected lists what `assimp dump NAME.3ds` reports: per mesh its name
# (the name of the node that holds it), the number of distinct corners
# (position and texture coordinate), the face count, and every face corner's
# position and texture coordinate in face order.
set -euo pipefail
cd "$(dirname "$0")"

python3 - <<'PY'
import math
rings, segments = 8, 12
with open("sphere.obj", "w") as f:
    f.write("# A UV sphere of radius 2 with a texture seam at u = 0/1.\no Sphere\n")
    for r in range(rings + 1):
        for s in range(segments + 1):
            t, p = math.pi * r / rings, 2 * math.pi * s / segments
            f.write("v %.6f %.6f %.6f\n" % (2 * math.sin(t) * math.cos(p), 2 * math.sin(t) * math.sin(p), 2 * math.cos(t)))
            f.write("vt %.6f %.6f\n" % (s / segments, 1 - r / rings))
    row = segments + 1
    for r in range(rings):
        for s in range(segments):
            a, b, c, d = r * row + s + 1, r * row + s + 2, (r + 1) * row + s + 2, (r + 1) * row + s + 1
            if r > 0: f.write("f %d/%d %d/%d %d/%d\n" % (a, a, d, d, b, b))
            if r < rings - 1: f.write("f %d/%d %d/%d %d/%d\n" % (b, b, d, d, c, c))
PY

for model in cube house sphere; do
  assimp export "$model.obj" "$model.3ds" >/dev/null
  dump="$(mktemp)"
  assimp dump "$model.3ds" "$dump" >/dev/null
  python3 - "$dump" "$model.expected" <<'PY'
import sys
import xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
# Mesh names: the nodes that refer to a mesh, by mesh index.
names = {}
for node in root.iter("Node"):
    refs = node.find("MeshRefs")
    if refs is not None:
        for i in refs.text.split(): names[int(i)] = node.get("name")
out = []
for index, mesh in enumerate(root.iter("Mesh")):
    faces = [list(map(int, f.text.split())) for f in mesh.find("FaceList").findall("Face")]
    def block(tag):
        element = mesh.find(tag)
        return [tuple(l.split()) for l in element.text.strip().splitlines()] if element is not None else None
    pos, uv = block("Positions"), block("TextureCoords")
    corners = [(pos[i], uv[i] if uv else ("0", "0")) for f in faces for i in f]
    out.append("mesh %s %d %d" % (names[index], len(set(corners)), len(faces)))
    out += ["corner %s %s %s %s %s" % (p + t) for p, t in corners]
open(sys.argv[2], "w").write("\n".join(out) + "\n")
PY
  rm -f "$dump"
done
