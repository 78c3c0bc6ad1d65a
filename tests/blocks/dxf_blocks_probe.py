"""Reads a DXF file with ezdxf and prints its blocks, inserts, polylines and
the lines that the inserts of model space place, one record per line
(tab-separated), for the block tests to compare with the drawing.

  FILE  path                              (before the records of each file)
  AUDIT errors  fixes                     (ezdxf's auditor)
  DEF   name
  CNT   container  type  count            (entities of a layout or block)
  INS   container  block  x  y  xscale  yscale  rotation
  PL    container  layer  vertex-count  closed
  V     x  y  bulge                       (vertices of the PL before it)
  XLINE layout  x1  y1  x2  y2            (a LINE placed by expanding the
                                           inserts of a layout, at any depth)

Model space is named "*Model_Space", other layouts by their layout name.
  ERR   text                              (could not load)
"""
import sys

import ezdxf


def fmt(v):
    return repr(float(v))


def expand(layout, insert, out, depth=0):
    # ezdxf's own expansion of one insert; nested inserts come back as
    # virtual inserts already placed in the parent's coordinates.
    if depth > 64:
        return
    for e in insert.virtual_entities():
        t = e.dxftype()
        if t == "LINE":
            s, f = e.dxf.start, e.dxf.end
            out.append("\t".join(["XLINE", layout, fmt(s.x), fmt(s.y), fmt(f.x), fmt(f.y)]))
        elif t == "INSERT":
            expand(layout, e, out, depth + 1)


def probe(path):
    print("FILE\t" + path)
    try:
        doc = ezdxf.readfile(path)
    except Exception as exc:  # noqa: BLE001 - any failure is reported
        print("ERR\t" + str(exc).replace("\n", " "))
        return
    out = []
    auditor = doc.audit()
    out.append("AUDIT\t%d\t%d" % (len(auditor.errors), len(auditor.fixes)))
    containers = [("*Model_Space", doc.modelspace())]
    for name in doc.layouts.names():
        if name != "Model":
            containers.append((name, doc.layouts.get(name)))
    layouts = list(containers)
    for block in doc.blocks:
        name = block.name
        if block.block_record.is_any_layout:
            continue
        out.append("DEF\t" + name)
        containers.append((name, block))
    for cname, entities in containers:
        counts = {}
        for e in entities:
            counts[e.dxftype()] = counts.get(e.dxftype(), 0) + 1
        for t in sorted(counts):
            out.append("\t".join(["CNT", cname, t, str(counts[t])]))
        for e in entities:
            t = e.dxftype()
            if t == "INSERT":
                p = e.dxf.insert
                out.append("\t".join(["INS", cname, e.dxf.name, fmt(p.x), fmt(p.y),
                                      fmt(e.dxf.xscale), fmt(e.dxf.yscale),
                                      fmt(e.dxf.rotation)]))
            elif t in ("POLYLINE", "LWPOLYLINE"):
                if t == "POLYLINE":
                    verts = [(v.dxf.location.x, v.dxf.location.y, v.dxf.bulge)
                             for v in e.vertices]
                    closed = e.is_closed
                else:
                    verts = [(x, y, b) for x, y, _s, _e, b in e.get_points()]
                    closed = e.closed
                out.append("\t".join(["PL", cname, e.dxf.layer, str(len(verts)),
                                      "1" if closed else "0"]))
                for x, y, b in verts:
                    out.append("\t".join(["V", fmt(x), fmt(y), fmt(b)]))
    for lname, layout in layouts:
        for e in layout:
            if e.dxftype() == "INSERT":
                expand(lname, e, out)
    sys.stdout.write("\n".join(out) + "\n")


if __name__ == "__main__":
    for arg in sys.argv[1:]:
        probe(arg)
