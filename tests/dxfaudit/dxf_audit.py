#!/usr/bin/python3
"""Audits a DXF file written by Parvex and prints a JSON report on stdout.

Two independent looks at the file:

* ezdxf (Debian's python3-ezdxf) loads it without recovery and runs its
  auditor; the counts of what a CAD reader sees (entities by type, layer,
  block and layout, table names, texts) come from that load.
* A walk over the raw code/value pairs checks what ezdxf forgives: line ends,
  the strict encoding of the version, number syntax, closed sections, tables,
  blocks and POLYLINE sequences, unique handles below $HANDSEED (in R12 with
  $HANDLING 1 on every entity, vertex and SEQEND), owners that exist and are
  the right block record, pointers (header variables included) that name
  objects of the file and of the type they must name, names of layers, line
  types, text styles, blocks and dimension styles that are defined, block
  names that are unique and do not pose as layouts, ELLIPSE parameters and
  ARC angles within a whole turn, and well-formed, distinct
  $FINGERPRINTGUID and $VERSIONGUID.

With --geometry the report also holds, per layout (by layout name, model
space "Model") and block definition: the INSERTs, the polylines with their
vertices, the LINEs, ARCs and ELLIPSEs that ezdxf's own expansion of each
layout's inserts places, at any depth, and the DIMENSIONs with their points,
their geometry block and whether ezdxf renders them as exactly that block's
entities.

Exit status: 0 when the reports were written (whatever they found; a file
that cannot be read gets "run_error"), 2 on a usage error, 3 when ezdxf is
not installed. A missing ezdxf must fail the tests, never skip them.

Usage: dxf_audit.py [--geometry] FILE.dxf...   (one JSON report per line,
in order)
"""

import json
import logging
import math
import re
import sys

FLOAT_RE = re.compile(r"^[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?$")
INT_RE = re.compile(r"^[+-]?\d+$")

# Groups whose value is a handle of another object.
POINTER_CODES = set(range(330, 370)) | {390}
# Pointers that must name an object of one type, wherever they stand
# (header variables included): materials and visual styles.
POINTER_TYPES = {347: "MATERIAL", 345: "VISUALSTYLE", 346: "VISUALSTYLE",
                 348: "VISUALSTYLE"}
GUID_RE = re.compile(r"^\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\}$")
LAYOUT_BLOCK_RE = re.compile(r"^\*(MODEL_SPACE|PAPER_SPACE\d*)$")


def is_float_code(c):
    return (10 <= c <= 59 or 110 <= c <= 149 or 210 <= c <= 239
            or 460 <= c <= 469 or 1010 <= c <= 1059)


def is_int_code(c):
    return (60 <= c <= 99 or 170 <= c <= 179 or 270 <= c <= 299
            or 370 <= c <= 389 or 400 <= c <= 409 or 1060 <= c <= 1071)


class RawAudit:
    """Checks on the code/value pairs of the file as bytes and text."""

    def __init__(self, data):
        self.data = data
        self.problems = []
        self.version = None
        self.encoding = None
        self.pairs = []  # (code, value, line number of the code)
        self.header = {}
        self.records = []  # dicts: section, type, pairs, block, line
        self.handseed = None

    def problem(self, text):
        if len(self.problems) < 200:
            self.problems.append(text)

    # --- bytes, lines, encoding -------------------------------------------

    def read_lines(self):
        data = self.data
        if data.startswith(b"\xef\xbb\xbf"):
            self.problem("file starts with a byte-order mark")
        m = re.search(rb"\$ACADVER\r?\n\s*1\r?\n(AC\d{4})", data)
        if not m:
            self.problem("no $ACADVER in HEADER")
            self.version = "AC1009"
        else:
            self.version = m.group(1).decode("ascii")
        self.encoding = "utf-8" if self.version >= "AC1021" else "cp932"
        try:
            text = data.decode(self.encoding, errors="strict")
        except UnicodeDecodeError as e:
            self.problem("bytes at offset %d do not decode as %s" %
                         (e.start, self.encoding))
            text = data.decode(self.encoding, errors="replace")
        if not data.endswith(b"\r\n"):
            self.problem("last line does not end with CR LF")
        lines = text.split("\r\n")
        if lines and lines[-1] == "":
            lines.pop()
        for i, line in enumerate(lines):
            if "\r" in line or "\n" in line:
                self.problem("line %d ends without CR LF" % (i + 1))
                break
        return lines

    def read_pairs(self, lines):
        if len(lines) % 2:
            self.problem("odd number of lines: a group code has no value")
        for i in range(0, len(lines) - 1, 2):
            cl, value = lines[i], lines[i + 1]
            try:
                code = int(cl)
            except ValueError:
                self.problem("line %d: group code %r is not a number" %
                             (i + 1, cl))
                return
            want = "%3d" % code if code < 1000 else "%d" % code
            if cl != want:
                self.problem("line %d: group code %r not written as %r" %
                             (i + 1, cl, want))
            self.check_value(code, value, i + 2)
            self.pairs.append((code, value, i + 1))

    def check_value(self, code, value, line):
        v = value.strip()
        if is_float_code(code):
            if not FLOAT_RE.match(v) or not math.isfinite(float(v)):
                self.problem("line %d: code %d value %r is not a finite real"
                             % (line, code, value))
        elif is_int_code(code):
            if not INT_RE.match(v):
                self.problem("line %d: code %d value %r is not an integer" %
                             (line, code, value))
        if v.lower() in ("nan", "inf", "-inf", "+inf", "infinity",
                         "-infinity", "-nan"):
            self.problem("line %d: value %r" % (line, value))

    # --- structure ----------------------------------------------------------

    def split_records(self, pairs):
        """Splits a section body into records, each starting at code 0."""
        recs = []
        for code, value, line in pairs:
            if code == 999:
                continue
            if code == 0:
                recs.append({"type": value, "pairs": [], "line": line})
            elif not recs:
                self.problem("line %d: code %d before the first record" %
                             (line, code))
            else:
                recs[-1]["pairs"].append((code, value))
        return recs

    def walk(self):
        pairs = self.pairs
        i = 0
        sections = []
        eof = False
        while i < len(pairs):
            code, value, line = pairs[i]
            if code == 999:
                i += 1
                continue
            if eof:
                self.problem("line %d: data after EOF" % line)
                break
            if (code, value) == (0, "EOF"):
                eof = True
                i += 1
                continue
            if (code, value) != (0, "SECTION"):
                self.problem("line %d: expected SECTION, found %d/%r" %
                             (line, code, value))
                return
            if i + 1 >= len(pairs) or pairs[i + 1][0] != 2:
                self.problem("line %d: SECTION without a name" % line)
                return
            name = pairs[i + 1][1]
            j = i + 2
            while j < len(pairs) and (pairs[j][0], pairs[j][1]) != (0, "ENDSEC"):
                if (pairs[j][0], pairs[j][1]) in ((0, "SECTION"), (0, "EOF")):
                    break
                j += 1
            if j >= len(pairs) or pairs[j][1] != "ENDSEC":
                self.problem("section %s is not closed by ENDSEC" % name)
                return
            sections.append(name)
            self.section(name, pairs[i + 2:j])
            i = j + 1
        if not eof:
            self.problem("file does not end with EOF")
        order = ["HEADER", "CLASSES", "TABLES", "BLOCKS", "ENTITIES",
                 "OBJECTS"]
        known = [s for s in sections if s in order]
        if known != sorted(known, key=order.index) or len(set(known)) != len(known):
            self.problem("sections out of order or repeated: %s" % sections)
        for s in sections:
            if s not in order:
                self.problem("unknown section %s" % s)
        required = ["HEADER", "TABLES", "BLOCKS", "ENTITIES"]
        if self.version >= "AC1015":
            required += ["CLASSES", "OBJECTS"]
        for s in required:
            if s not in sections:
                self.problem("section %s missing" % s)

    def section(self, name, body):
        if name == "HEADER":
            var = None
            for code, value, line in body:
                if code == 9:
                    var = value
                    self.header[var] = []
                elif var is None:
                    self.problem("line %d: HEADER value before a variable" % line)
                else:
                    self.header[var].append((code, value))
            return
        recs = self.split_records(body)
        for r in recs:
            r["section"] = name
        if name == "TABLES":
            self.tables(recs)
        elif name == "BLOCKS":
            self.blocks(recs)
        elif name == "ENTITIES":
            self.entity_run(recs, None)
        else:
            self.records.extend(recs)

    def tables(self, recs):
        table = None
        for r in recs:
            if r["type"] == "TABLE":
                if table is not None:
                    self.problem("table %s is not closed by ENDTAB" % table["name"])
                table = r
                r["name"] = first(r, 2)
                self.records.append(r)
            elif r["type"] == "ENDTAB":
                if table is None:
                    self.problem("ENDTAB without TABLE")
                table = None
            else:
                if table is None:
                    self.problem("record %s outside a table" % r["type"])
                elif r["type"] != table["name"]:
                    self.problem("record %s inside table %s" %
                                 (r["type"], table["name"]))
                r["table"] = table
                self.records.append(r)
        if table is not None:
            self.problem("table %s is not closed by ENDTAB" % table["name"])

    def blocks(self, recs):
        block = None
        body = []
        for r in recs:
            if r["type"] == "BLOCK":
                if block is not None:
                    self.problem("block %s is not closed by ENDBLK" % block["name"])
                block = r
                r["name"] = first(r, 2)
                body = []
                self.records.append(r)
            elif r["type"] == "ENDBLK":
                if block is None:
                    self.problem("ENDBLK without BLOCK")
                else:
                    self.entity_run(body, block)
                    r["block"] = block
                self.records.append(r)
                block = None
            else:
                if block is None:
                    self.problem("entity %s outside a block" % r["type"])
                body.append(r)
        if block is not None:
            self.problem("block %s is not closed by ENDBLK" % block["name"])

    def entity_run(self, recs, block):
        """Entities of one block or of ENTITIES, with sub-entity sequences."""
        parent = None
        for r in recs:
            r["block"] = block
            t = r["type"]
            if parent is not None:
                want = "VERTEX" if parent["type"] == "POLYLINE" else "ATTRIB"
                if t == want:
                    r["parent"] = parent
                    self.records.append(r)
                    continue
                if t == "SEQEND":
                    r["parent"] = parent
                    self.records.append(r)
                    parent = None
                    continue
                self.problem("%s (line %d) is not closed by SEQEND" %
                             (parent["type"], parent["line"]))
                parent = None
            if t in ("VERTEX", "ATTRIB", "SEQEND"):
                self.problem("%s at line %d outside a sequence" % (t, r["line"]))
            if t == "POLYLINE" or (t == "INSERT" and first(r, 66) == "1"):
                if t == "POLYLINE" and (first(r, 66) or "").strip() != "1":
                    self.problem("POLYLINE at line %d without 66 1" % r["line"])
                parent = r
            self.records.append(r)
        if parent is not None:
            self.problem("%s (line %d) is not closed by SEQEND" %
                         (parent["type"], parent["line"]))

    # --- handles, owners and names -------------------------------------------

    def check_links(self):
        modern = self.version >= "AC1015"
        seed = self.header.get("$HANDSEED")
        if seed:
            try:
                self.handseed = int(seed[0][1], 16)
            except ValueError:
                self.problem("$HANDSEED %r is not hexadecimal" % seed[0][1])
        else:
            self.problem("no $HANDSEED")
        handling = (self.header.get("$HANDLING") or [(70, "0")])[0][1].strip() == "1"
        handles = {}
        for r in self.records:
            code = 105 if r["type"] == "DIMSTYLE" else 5
            h = first(r, code)
            if h is None:
                if modern and r["type"] not in ("CLASS",):
                    self.problem("%s at line %d has no handle" % (r["type"], r["line"]))
                elif not modern and handling and r["section"] in ("BLOCKS", "ENTITIES"):
                    self.problem("R12 %s at line %d has no handle though $HANDLING is 1"
                                 % (r["type"], r["line"]))
                continue
            try:
                n = int(h, 16)
            except ValueError:
                self.problem("%s at line %d: handle %r is not hexadecimal" %
                             (r["type"], r["line"], h))
                continue
            if h != "%X" % n:
                self.problem("handle %r not in upper-case hexadecimal" % h)
            if n in handles:
                self.problem("handle %s used twice (%s and %s)" %
                             (h, handles[n]["type"], r["type"]))
            handles[n] = r
            r["handle"] = n
            if self.handseed is not None and n >= self.handseed:
                self.problem("handle %s of %s not below $HANDSEED %X" %
                             (h, r["type"], self.handseed))
        if not modern:
            for r in self.records:
                for code, _ in r["pairs"]:
                    if code in (100, 102, 330, 340, 350, 360):
                        self.problem("R12 %s at line %d carries code %d" %
                                     (r["type"], r["line"], code))
                        break
        else:
            self.check_owners(handles)
            self.check_header_pointers(handles)
            self.check_guids()
        self.check_names()
        self.check_blocks()
        self.check_turns()

    def check_pointer_type(self, where, code, target):
        want = POINTER_TYPES.get(code)
        if want is not None and target is not None and target["type"] != want:
            self.problem("%s: code %d names %s %X, not a %s" %
                         (where, code, target["type"], target["handle"], want))

    def check_header_pointers(self, handles):
        for var, pairs in self.header.items():
            for code, value in pairs:
                if code not in POINTER_CODES:
                    continue
                try:
                    n = int(value, 16)
                except ValueError:
                    self.problem("%s: code %d %r is not a handle" % (var, code, value))
                    continue
                if n == 0:
                    continue
                if n not in handles:
                    self.problem("%s: code %d names %s, no object of the file" %
                                 (var, code, value))
                    continue
                self.check_pointer_type(var, code, handles[n])

    def check_guids(self):
        guids = []
        for var in ("$FINGERPRINTGUID", "$VERSIONGUID"):
            vals = self.header.get(var)
            if not vals:
                continue
            g = vals[0][1]
            if not GUID_RE.match(g):
                self.problem("%s %r is not a GUID" % (var, g))
            guids.append(g)
        if len(guids) == 2 and guids[0] == guids[1]:
            self.problem("$FINGERPRINTGUID and $VERSIONGUID are the same GUID %s" % guids[0])

    def check_blocks(self):
        """Block names are unique; a name of layout form is a layout."""
        seen = {}
        for r in self.records:
            if r["type"] != "BLOCK" or r["section"] != "BLOCKS":
                continue
            name = (r.get("name") or "").upper()
            if name in seen:
                self.problem("block %s defined twice (lines %d and %d)" %
                             (r.get("name"), seen[name], r["line"]))
            seen[name] = r["line"]
        if self.version < "AC1015":
            return
        for r in self.records:
            if r["type"] == "BLOCK_RECORD" and r.get("table") is not None:
                name = (first(r, 2) or "").upper()
                if LAYOUT_BLOCK_RE.match(name) and (first(r, 340) or "0") == "0":
                    self.problem("block record %s has a layout's name but no layout"
                                 % first(r, 2))

    def check_turns(self):
        """Angles and parameters stand for at most a whole turn."""
        limits = {"ELLIPSE": ((41, 42), math.tau), "ARC": ((50, 51), 360.0)}
        for r in self.records:
            lim = limits.get(r["type"])
            if lim is None:
                continue
            for code, value in r["pairs"]:
                if code not in lim[0]:
                    continue
                try:
                    v = float(value)
                except ValueError:
                    continue  # reported as number syntax
                if abs(v) > lim[1]:
                    self.problem("%s at line %d: %d %s is beyond a whole turn" %
                                 (r["type"], r["line"], code, value.strip()))

    def check_owners(self, handles):
        block_records = {}
        for r in self.records:
            if r["type"] == "BLOCK_RECORD" and r.get("table"):
                block_records[(first(r, 2) or "").upper()] = r.get("handle")
        objects = [r for r in self.records if r["section"] == "OBJECTS"]
        root = objects[0] if objects else None
        for r in self.records:
            if r["type"] == "CLASS":
                continue
            in_reactors = False
            owner = None
            for code, value in r["pairs"]:
                if code == 102:
                    in_reactors = value.startswith("{")
                    continue
                if code in POINTER_CODES:
                    if value == "0":
                        if code == 330 and not in_reactors and owner is None:
                            owner = 0
                        elif code in (330, 350, 360):
                            self.problem("%s at line %d: code %d is 0" %
                                         (r["type"], r["line"], code))
                        continue
                    try:
                        n = int(value, 16)
                    except ValueError:
                        self.problem("%s at line %d: code %d %r is not a handle"
                                     % (r["type"], r["line"], code, value))
                        continue
                    if n not in handles:
                        self.problem("%s at line %d: code %d names %s, "
                                     "no object of the file" %
                                     (r["type"], r["line"], code, value))
                    else:
                        self.check_pointer_type("%s at line %d" % (r["type"], r["line"]),
                                                code, handles[n])
                    if code == 330 and not in_reactors and owner is None:
                        owner = n
            want = self.expected_owner(r, block_records, root)
            if want == "any":
                continue
            if owner is None:
                self.problem("%s at line %d has no owner (330)" %
                             (r["type"], r["line"]))
            elif want is not None and owner != want:
                self.problem("%s at line %d: owner %X, expected %X" %
                             (r["type"], r["line"], owner, want))

    def expected_owner(self, r, block_records, root):
        t = r["type"]
        if t == "TABLE" or r is root:
            return 0
        if r.get("table") is not None:
            return r["table"].get("handle")
        if r.get("parent") is not None:
            return r["parent"].get("handle")
        if r["section"] == "ENTITIES":
            paper = (first(r, 67) or "").strip() == "1"
            name = "*PAPER_SPACE" if paper else "*MODEL_SPACE"
            if name not in block_records:
                self.problem("no block record %s" % name)
            return block_records.get(name)
        if r["section"] == "BLOCKS":
            blk = r["block"] if r["type"] != "BLOCK" else r
            if blk is None:
                return None
            name = (blk.get("name") or "").upper()
            if name not in block_records:
                self.problem("block %s has no block record" % blk.get("name"))
            return block_records.get(name)
        return "any"

    def check_names(self):
        def names(table):
            return {(first(r, 2) or "").upper() for r in self.records
                    if r.get("table") is not None and r["type"] == table}
        layers = names("LAYER")
        ltypes = names("LTYPE") | {"BYLAYER", "BYBLOCK"}
        styles = names("STYLE")
        dimstyles = names("DIMSTYLE")
        blocks = {(r.get("name") or "").upper() for r in self.records
                  if r["type"] == "BLOCK"}
        for r in self.records:
            if r.get("table") is not None:
                if r["type"] == "LAYER" and (first(r, 6) or "").upper() not in ltypes:
                    self.problem("layer %s names undefined line type %r" %
                                 (first(r, 2), first(r, 6)))
                continue
            if r["section"] not in ("ENTITIES", "BLOCKS"):
                continue
            t = r["type"]
            if t == "ENDBLK":
                continue
            lay = first(r, 8)
            if lay is None:
                self.problem("%s at line %d has no layer" % (t, r["line"]))
            elif lay.upper() not in layers:
                self.problem("%s at line %d on undefined layer %r" % (t, r["line"], lay))
            lt = first(r, 6)
            if lt is not None and lt.upper() not in ltypes:
                self.problem("%s at line %d: undefined line type %r" % (t, r["line"], lt))
            if t == "TEXT":
                st = first(r, 7) or "STANDARD"
                if st.upper() not in styles:
                    self.problem("TEXT at line %d: undefined style %r" % (r["line"], st))
            if t in ("INSERT", "DIMENSION"):
                b = first(r, 2)
                if b is None or b.upper() not in blocks:
                    self.problem("%s at line %d: undefined block %r" % (t, r["line"], b))
            if t == "DIMENSION":
                ds = first(r, 3)
                if ds is not None and ds.upper() not in dimstyles:
                    self.problem("DIMENSION at line %d: undefined dimension style %r"
                                 % (r["line"], ds))
        for var, table, known in (("$CLAYER", 8, layers), ("$CELTYPE", 6, ltypes),
                                  ("$TEXTSTYLE", 7, styles),
                                  ("$DIMSTYLE", 2, dimstyles)):
            vals = self.header.get(var)
            if vals and vals[0][1].upper() not in known:
                self.problem("%s names undefined %r" % (var, vals[0][1]))

    def run(self):
        self.read_pairs(self.read_lines())
        self.walk()
        self.check_links()
        return self.problems


def first(rec, code):
    for c, v in rec["pairs"]:
        if c == code:
            return v
    return None


class _Collect(logging.Handler):
    def __init__(self):
        super().__init__(logging.WARNING)
        self.messages = []

    def emit(self, record):
        self.messages.append(record.getMessage())


def count_entities(entities, by_type, by_layer, texts):
    out = {}
    for e in entities:
        t = e.dxftype()
        out[t] = out.get(t, 0) + 1
        by_type[t] = by_type.get(t, 0) + 1
        lay = e.dxf.get("layer", "0")
        by_layer[lay] = by_layer.get(lay, 0) + 1
        if t == "TEXT":
            texts.append(e.dxf.get("text", ""))
    return out


def expand(layout_name, insert, out, curves, depth=0):
    # ezdxf's own expansion of one insert; nested inserts come back as
    # virtual inserts already placed in the parent's coordinates.
    if depth > 64:
        return
    for e in insert.virtual_entities():
        t = e.dxftype()
        if t == "LINE":
            s, f = e.dxf.start, e.dxf.end
            out.append({"layout": layout_name, "line": [s.x, s.y, f.x, f.y]})
        elif t in ("ARC", "ELLIPSE"):
            # The part of a whole turn the placed curve covers, as ezdxf
            # measures it (1 for a whole circle or ellipse).
            from ezdxf.math import arc_angle_span_deg, ellipse_param_span
            if t == "ARC":
                turns = arc_angle_span_deg(e.dxf.start_angle, e.dxf.end_angle) / 360
            else:
                turns = ellipse_param_span(e.dxf.start_param, e.dxf.end_param) / math.tau
            curves.append({"layout": layout_name, "type": t, "turns": turns})
        elif t == "INSERT":
            expand(layout_name, e, out, curves, depth + 1)


def signature(e):
    # What a copy keeps of an entity: its type and every attribute but the
    # handle and the owner.
    attribs = e.dxf.all_existing_dxf_attribs()
    return (e.dxftype(), sorted((k, tuple(v) if isinstance(v, (tuple, list)) or
                                 hasattr(v, "xyz") else v)
                                for k, v in attribs.items()
                                if k not in ("handle", "owner")))


DIM_POINTS = ("defpoint", "text_midpoint", "defpoint2", "defpoint3", "defpoint4")


def dimension(cname, e):
    # A DIMENSION with its geometry block, and whether ezdxf's rendering of
    # it gives exactly the block's entities.
    blk = e.get_geometry_block()
    parts = [] if blk is None else list(blk)
    virtual = list(e.virtual_entities())
    same = len(parts) == len(virtual) and all(
        signature(a) == signature(b) for a, b in zip(parts, virtual))
    points = {}
    for name in DIM_POINTS:
        if e.dxf.hasattr(name):
            v = e.dxf.get(name)
            points[name] = [v.x, v.y]
    return {"container": cname, "block": e.dxf.get("geometry", ""),
            "layer": e.dxf.get("layer", "0"), "dimtype": e.dxf.get("dimtype", 0),
            "dimstyle": e.dxf.get("dimstyle", ""),
            "attachment": e.dxf.get("attachment_point", 0),
            "text": e.dxf.get("text", ""), "defined": blk is not None,
            "parts": [p.dxftype() for p in parts], "renders_block": same,
            "lines": [[p.dxf.start.x, p.dxf.start.y, p.dxf.end.x, p.dxf.end.y]
                      for p in parts if p.dxftype() == "LINE"],
            "angle": e.dxf.get("angle", 0.0),
            "text_rotation": e.dxf.get("text_rotation", 0.0), "points": points}


def geometry(containers, layouts, report):
    inserts, polylines, expanded, curves, dimensions = [], [], [], [], []
    for cname, entities in containers:
        for e in entities:
            t = e.dxftype()
            if t == "DIMENSION":
                dimensions.append(dimension(cname, e))
            elif t == "INSERT":
                p = e.dxf.insert
                inserts.append({"container": cname, "block": e.dxf.name, "x": p.x, "y": p.y,
                                "xscale": e.dxf.xscale, "yscale": e.dxf.yscale,
                                "rotation": e.dxf.rotation})
            elif t == "POLYLINE":
                polylines.append({"container": cname, "layer": e.dxf.layer,
                                  "closed": e.is_closed,
                                  "vertices": [[v.dxf.location.x, v.dxf.location.y,
                                                v.dxf.bulge] for v in e.vertices]})
            elif t == "LWPOLYLINE":
                polylines.append({"container": cname, "layer": e.dxf.layer, "closed": e.closed,
                                  "vertices": [[x, y, b] for x, y, _s, _e, b in e.get_points()]})
    for lname, layout in layouts:
        for e in layout:
            if e.dxftype() == "INSERT":
                expand(lname, e, expanded, curves)
    report["inserts"] = inserts
    report["polylines"] = polylines
    report["expanded_lines"] = expanded
    report["dimensions"] = dimensions
    report["expanded_curves"] = curves


def image_report(containers, doc, report):
    # Every IMAGE must name its definition (340), and that definition must
    # list the IMAGE's reactor, which in turn names the IMAGE.
    images, problems = [], []
    for cname, entities in containers:
        for e in entities:
            if e.dxftype() != "IMAGE":
                continue
            h = e.dxf.handle
            d = e.image_def
            if d is None or d.dxftype() != "IMAGEDEF":
                problems.append("IMAGE #%s names no IMAGEDEF" % h)
                continue
            reactor = e.dxf.get("image_def_reactor_handle")
            r = doc.entitydb.get(reactor) if reactor else None
            if r is None or r.dxftype() != "IMAGEDEF_REACTOR":
                problems.append("IMAGE #%s has no IMAGEDEF_REACTOR" % h)
            elif r.dxf.get("image_handle") != h:
                problems.append("IMAGEDEF_REACTOR #%s does not name IMAGE #%s" % (reactor, h))
            if reactor not in d.get_reactors():
                problems.append("IMAGEDEF #%s does not list the reactor of IMAGE #%s"
                                % (d.dxf.handle, h))
            u, v, size = e.dxf.u_pixel, e.dxf.v_pixel, e.dxf.image_size
            p = e.dxf.insert
            images.append({"container": cname, "file": d.dxf.get("filename", ""),
                           "layer": e.dxf.layer, "x": p.x, "y": p.y,
                           "width": u.magnitude * size.x, "height": v.magnitude * size.y,
                           "rotation": math.degrees(math.atan2(u.y, u.x)),
                           "pixels": [size.x, size.y],
                           "def_pixels": list(d.dxf.image_size)[:2]})
    report["images"] = images
    report["raw_problems"] = report.get("raw_problems", []) + problems


def ezdxf_report(path, report, with_geometry):
    import ezdxf
    collect = _Collect()
    logging.getLogger("ezdxf").addHandler(collect)
    try:
        doc = ezdxf.readfile(path, errors="strict")
        report["loaded"] = True
    except Exception as e:  # noqa: BLE001 - any load failure is a finding
        report["load_error"] = "%s: %s" % (type(e).__name__, e)
        report["loaded"] = False
        from ezdxf import recover
        try:
            doc, _ = recover.readfile(path)
            report["recovered"] = True
        except Exception as e2:  # noqa: BLE001
            report["load_error"] += "; recovery failed: %s" % e2
            return
    report["load_warnings"] = list(collect.messages)
    try:
        auditor = doc.audit()
    except Exception as e:  # noqa: BLE001 - an auditor that breaks is a finding
        report["audit_errors"] = 1
        report["audit_fixes"] = 0
        report["audit_messages"] = ["error: the auditor raised %s: %s" % (type(e).__name__, e)]
        return
    fixes = auditor.fixes
    if doc.dxfversion == "AC1009":
        # ezdxf 0.18 gives every POLYLINE of an R12 block a spare SEQEND
        # while loading and then deletes it as ownerless, even in files it
        # wrote itself. The raw walk checks the real sequences.
        spare = re.compile(r"Deleted SEQEND\(#[0-9A-F]+\) entity with "
                           r"invalid owner handle #None\.")
        report["ignored_fixes"] = len([f for f in fixes if spare.fullmatch(f.message)])
        fixes = [f for f in fixes if not spare.fullmatch(f.message)]
    report["audit_errors"] = len(auditor.errors)
    report["audit_fixes"] = len(fixes)
    report["audit_messages"] = (
        ["error: %s" % e.message for e in auditor.errors] +
        ["fix: %s" % e.message for e in fixes])[:100]
    report["dxfversion"] = doc.dxfversion
    by_type, by_layer, texts = {}, {}, []
    layouts, layout_blocks = {}, set()
    for layout in doc.layouts:
        layouts[layout.name] = count_entities(layout, by_type, by_layer, texts)
        layout_blocks.add(layout.block_record.dxf.name.upper()
                          if layout.block_record else "")
    blocks, definitions = {}, []
    for blk in doc.blocks:
        if blk.name.upper() in layout_blocks:
            continue
        blocks[blk.name] = count_entities(blk, by_type, by_layer, texts)
        definitions.append(blk)
    report["definitions"] = [blk.name for blk in definitions]
    image_report([(layout.name, layout) for layout in doc.layouts] +
                 [(blk.name, blk) for blk in definitions], doc, report)
    if with_geometry:
        layout_list = [(layout.name, layout) for layout in doc.layouts]
        geometry(layout_list + [(blk.name, blk) for blk in definitions], layout_list, report)
    report["entities"] = by_type
    report["by_layer"] = by_layer
    report["layouts"] = layouts
    report["blocks"] = blocks
    report["texts"] = texts
    report["layers"] = [l.dxf.name for l in doc.layers]
    report["linetypes"] = [l.dxf.name for l in doc.linetypes]
    report["styles"] = [s.dxf.name for s in doc.styles]
    objects = {}
    for o in doc.objects:
        objects[o.dxftype()] = objects.get(o.dxftype(), 0) + 1
    report["objects"] = objects
    report["image_defs"] = [o.dxf.get("filename", "") for o in doc.objects
                            if o.dxftype() == "IMAGEDEF"]


def audit_file(path, with_geometry):
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError as e:
        return {"file": path, "run_error": "cannot read %s: %s" % (path, e)}
    raw = RawAudit(data)
    report = {"file": path, "recovered": False}
    try:
        report["raw_problems"] = raw.run()
    except Exception as e:  # noqa: BLE001 - a crash of the walk is a finding
        report["raw_problems"] = raw.problems + ["raw walk failed: %r" % e]
    report["version"] = raw.version
    ezdxf_report(path, report, with_geometry)
    return report


def main(argv):
    args = argv[1:]
    with_geometry = bool(args) and args[0] == "--geometry"
    if with_geometry:
        args = args[1:]
    if not args:
        print("usage: dxf_audit.py [--geometry] FILE.dxf...", file=sys.stderr)
        return 2
    try:
        import ezdxf  # noqa: F401
    except ImportError:
        print("dxf_audit: python3-ezdxf is not installed "
              "(apt-get install python3-ezdxf; use /usr/bin/python3)",
              file=sys.stderr)
        return 3
    # One JSON report per file, one per line.
    for path in args:
        json.dump(audit_file(path, with_geometry), sys.stdout, ensure_ascii=True,
                  sort_keys=True)
        sys.stdout.write("\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
