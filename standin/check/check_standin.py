#!/usr/bin/env python3
"""Static checks of the stand-in installation, without a database engine.

Usage: check_standin.py [--catalogue TARGET-TABLES.md]

Checks the T-SQL of base/ and acctctl/ (tables declared once, only types and
constructs of the engine's subset, seeded rows naming real columns), the
product files (code pages, line ends, lists pointing at existing files) and,
when given, compares the tables with the table catalogue. Prints findings
and exits 1 when any check fails; catalogue differences are reported as
notes for review.
"""

import argparse
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

ALLOWED_TYPES = {"int", "integer", "smallint", "tinyint", "bigint", "bit", "money",
                 "decimal", "float", "real", "datetime", "varchar", "nvarchar",
                 "text", "ntext", "image", "timestamp"}

# Constructs the engine rejects (outside literals and comments).
FORBIDDEN = [r"\bbegin\s+tran", r"\bcommit\b", r"\brollback\b", r"\breturn\b", r"\bbreak\b",
             r"\bcontinue\b", r"\bprint\b", r"\braiserror\b", r"\bthrow\b", r"\bgoto\b",
             r"\bcoalesce\b", r"\bnullif\b", r"\bupper\s*\(", r"\blower\s*\(", r"\bnumeric\b",
             r"\bn?char\s*\(", r"\bmax\s*\)", r"\bsmallmoney\b", r"\bsmalldatetime\b",
             r"\bdatetime2\b", r"\buniqueidentifier\b", r"@@rowcount", r"@@identity",
             r"@@error", r"@@trancount", r"\bscope_identity\b", r"\bmerge\b", r"\boutput\b",
             r"\bwith\s*\(\s*nolock", r"!=", r"%", r"\bforeign\s+key\b", r"\bcheck\s*\(",
             r"\bavg\s*\(", r"\bdatepart\b", r"\bisnumeric\b", r"\bover\s*\(",
             r"\bcross\s+join\b", r"\bfull\s+(outer\s+)?join\b", r"\bexcept\b",
             r"\bintersect\b", r"\bdefault\s+values\b", r"\buse\s+\w", r"\bsp_executesql\b",
             r"\bfetch\s+(prior|first|last|absolute|relative)\b", r"\bcursor\s+\w*\s*scroll"]

problems = []
notes = []


def fail(msg):
    problems.append(msg)


def note(msg):
    notes.append(msg)


def strip_code(sql):
    """Blank out string literals and comments, keeping line structure."""
    out = []
    i, n = 0, len(sql)
    while i < n:
        c = sql[i]
        if sql.startswith("--", i):
            j = sql.find("\n", i)
            j = n if j < 0 else j
            out.append(" " * (j - i))
            i = j
        elif sql.startswith("/*", i):
            j = sql.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append(re.sub(r"[^\n]", " ", sql[i:j]))
            i = j
        elif c == "'":
            j = i + 1
            while j < n:
                if sql[j] == "'" and j + 1 < n and sql[j + 1] == "'":
                    j += 2
                elif sql[j] == "'":
                    break
                else:
                    j += 1
            out.append("''" + " " * max(0, j - i - 1))
            i = j + 1
        else:
            out.append(c)
            i += 1
    return "".join(out)


def batches(text):
    cur, result = [], []
    for line in text.splitlines():
        if line.strip().lower() == "go":
            result.append("\n".join(cur))
            cur = []
        else:
            cur.append(line)
    tail = "\n".join(cur).strip()
    return result, tail


def split_top(s):
    parts, depth, cur = [], 0, []
    for ch in s:
        if ch == "(":
            depth += 1
        elif ch == ")":
            depth -= 1
        if ch == "," and depth == 0:
            parts.append("".join(cur))
            cur = []
        else:
            cur.append(ch)
    parts.append("".join(cur))
    return [p.strip() for p in parts if p.strip()]


class Column:
    def __init__(self, name, type_, length, nullable, default, identity):
        self.name, self.type, self.length = name, type_, length
        self.nullable, self.default, self.identity = nullable, default, identity


def parse_tables(path, text, tables, procs):
    code = strip_code(text)
    bl, tail = batches(code)
    if tail:
        fail(f"{path}: text after the last GO: {tail[:60]!r}")
    for b in bl:
        for bad in FORBIDDEN:
            m = re.search(bad, b, re.I)
            if m:
                fail(f"{path}: construct outside the subset: {m.group(0)!r}")
        m = re.match(r"\s*create\s+(procedure|trigger)\s+(\w+)", b, re.I)
        if m:
            procs[m.group(2).lower()] = (m.group(1).lower(), path, b)
            continue
        for m in re.finditer(r"create\s+table\s+(\w+)\s*\((.*)\)\s*$", b, re.I | re.S):
            name = m.group(1)
            if name.lower() in tables:
                fail(f"{path}: table {name} declared again (first in {tables[name.lower()][0]})")
            cols = []
            for part in split_top(m.group(2)):
                if re.match(r"constraint\b", part, re.I):
                    continue
                cm = re.match(r"(\w+)\s+(\w+)\s*(\(([^)]*)\))?(.*)$", part, re.S)
                if not cm:
                    fail(f"{path}: {name}: cannot read column {part!r}")
                    continue
                cname, ctype, rest = cm.group(1), cm.group(2).lower(), cm.group(5)
                if ctype not in ALLOWED_TYPES:
                    fail(f"{path}: {name}.{cname}: type {ctype} outside the subset")
                nullable = not re.search(r"not\s+null", rest, re.I)
                dm = re.search(r"default\s+(\S+)", rest, re.I)
                identity = bool(re.search(r"identity", rest, re.I))
                if identity and nullable:
                    fail(f"{path}: {name}.{cname}: identity column must be NOT NULL")
                cols.append(Column(cname, ctype, cm.group(4), nullable,
                                   dm.group(1) if dm else None, identity))
            names = [c.name.lower() for c in cols]
            if len(set(names)) != len(names):
                fail(f"{path}: {name}: a column is declared twice")
            tables[name.lower()] = (path, name, cols)


def check_inserts(path, text, tables):
    code = strip_code(text)
    for m in re.finditer(r"insert\s+into\s+(\w+)\s*\(([^)]*)\)\s*values\s*\(", code, re.I):
        t = m.group(1).lower()
        if t not in tables:
            fail(f"{path}: insert into unknown table {m.group(1)}")
            continue
        have = {c.name.lower() for c in tables[t][2]}
        for col in [c.strip().lower() for c in m.group(2).split(",")]:
            if col not in have:
                fail(f"{path}: insert into {m.group(1)}: no column {col}")
        ident = {c.name.lower() for c in tables[t][2] if c.identity}
        given = {c.strip().lower() for c in m.group(2).split(",")}
        if ident & given:
            fail(f"{path}: insert into {m.group(1)} gives an identity column without IDENTITY_INSERT")
        # Count the values of this statement (on the original text).
        start = m.end()
        depth, j = 1, start
        while j < len(code) and depth:
            depth += {"(": 1, ")": -1}.get(code[j], 0)
            j += 1
        values = split_top(text[start:j - 1])
        if len(values) != len(given):
            fail(f"{path}: insert into {m.group(1)}: {len(given)} columns, {len(values)} values")


def check_sql():
    tables, procs = {}, {}
    base_files = sorted(f for f in os.listdir(os.path.join(ROOT, "base")) if f.endswith(".sql"))
    texts = {}
    for f in base_files:
        p = os.path.join("base", f)
        texts[p] = open(os.path.join(ROOT, p), encoding="utf-8").read()
        parse_tables(p, texts[p], tables, procs)
    ctl_tables, ctl_procs = {}, {}
    p = os.path.join("acctctl", "acctctl.sql")
    ctl_text = open(os.path.join(ROOT, p), encoding="utf-8").read()
    parse_tables(p, ctl_text, ctl_tables, ctl_procs)
    for path, text in texts.items():
        check_inserts(path, text, tables)
    check_inserts(p, ctl_text, ctl_tables)
    for name, kind in [("sp_updatebalance", "procedure"), ("pr_initinteltransfer", "procedure"),
                       ("t_item_fullname", "trigger"), ("t_item_maxnum", "trigger")]:
        if procs.get(name, (None,))[0] != kind:
            fail(f"base: {kind} {name} missing")
    if "pro_buildacctalluser" not in ctl_procs:
        fail("acctctl: procedure Pro_BuildAcctAllUser missing")
    for t in ("t_ad_xraccount_gl", "t_ad_dbtype"):
        if t not in ctl_tables:
            fail(f"acctctl: table {t} missing")
    # Identity rows seeded first must come before any other row of their table.
    rows = texts.get(os.path.join("base", "30_rows.sql"), "")
    for t in ("T_ItemDetail", "t_FALocation"):
        if len(re.findall(rf"insert\s+into\s+{t}\b", rows, re.I)) != 1:
            fail(f"base rows: {t} must get exactly one seeded row (identity 0)")
    return {**tables, **ctl_tables}, rows


def read_catalogue(path):
    """Table -> {column: type text} from the catalogue's sections 1 and 4."""
    text = open(path, encoding="utf-8").read()
    body = text.split("## 5.")[0]
    cat = {}
    current = None
    matrix = []
    for line in body.splitlines():
        h = re.match(r"#### `(\w+)`", line)
        if h:
            current = h.group(1)
            cat.setdefault(current, {})
            continue
        if line.startswith("## ") or line.startswith("### "):
            current = None
        if line.startswith("| column | type | `"):
            # A matrix of several tables: a tick marks the tables with the column.
            matrix = re.findall(r"`(\w+)`", line)
            continue
        if current and "\u2713" in line:
            cells = [c.strip() for c in line.strip().strip("|").split("|")]
            for t, mark in zip(matrix, cells[2:]):
                for col in re.findall(r"`(\w+)`", cells[0]):
                    cat.setdefault(t, {})[col] = cells[1] if mark else None
            continue
        row = re.match(r"\|\s*((?:`\w+`(?:,\s*)?)+)\s*\|\s*([^|]+)\|", line)
        if current and row and not line.startswith("| column") and not line.startswith("| table"):
            typ = row.group(2).strip()
            for col in re.findall(r"`(\w+)`", row.group(1)):
                if re.match(r"F|c|D", col):
                    cat[current][col] = typ
        compact = re.match(r"\|\s*`(\w+)`[^|]*\|\s*(.+?)\s*\|\s*[^|]*\|\s*$", line)
        if compact and ("int" in compact.group(2) or "nvarchar" in compact.group(2)) \
                and compact.group(2).count("`") >= 4:
            t = compact.group(1)
            cols = cat.setdefault(t, {})
            for cm in re.finditer(r"`(\w+)`\s+([a-z]+(?:\(\d+(?:,\d+)?\))?)", compact.group(2)):
                if cm.group(1)[0] in "Ff":
                    cols.setdefault(cm.group(1), cm.group(2))
    return cat


def norm_type(c):
    t = {"integer": "int"}.get(c.type, c.type)
    return f"{t}({c.length})" if c.length else t


def compare_catalogue(tables, cat_path):
    cat = read_catalogue(cat_path)
    skip = {"t_xraccount_gl", "ais_upgradelog_main"}
    for t, cols in cat.items():
        if t.lower() in skip or not cols:
            continue
        if t.lower() not in tables:
            note(f"catalogue table {t} is not in the base account set")
            continue
        have = {c.name.lower(): c for c in tables[t.lower()][2]}
        for col, typ in cols.items():
            if typ is None:
                if col.lower() in have:
                    note(f"{t}.{col}: the catalogue has no such column")
                continue
            c = have.get(col.lower())
            if c is None:
                note(f"catalogue column {t}.{col} missing")
                continue
            m = re.match(r"\s*\**([a-z]+(?:\(\d+(?:,\d+)?\))?)", typ.replace(" ", ""))
            if m and m.group(1).split("(")[0] in ALLOWED_TYPES and m.group(1) != norm_type(c):
                if not (m.group(1) == "int" and c.type == "int"):
                    note(f"catalogue {t}.{col} is {m.group(1)}, schema has {norm_type(c)}")


ENCODINGS = {"CHT_": "cp950", "EN_": "cp1252"}


def read_ansi(path):
    name = os.path.basename(path)
    enc = next((e for p, e in ENCODINGS.items() if name.upper().startswith(p)), "gbk")
    data = open(path, "rb").read()
    if b"\n" in data.replace(b"\r\n", b""):
        fail(f"{path}: line ends other than CR LF")
    try:
        return data.decode(enc)
    except UnicodeDecodeError as e:
        fail(f"{path}: not {enc}: {e}")
        return ""


def read_ini(path):
    sections, cur = {}, None
    for line in read_ansi(path).splitlines():
        s = line.strip()
        if s.startswith("[") and s.endswith("]"):
            cur = sections.setdefault(s[1:-1].lower(), {})
        elif cur is not None and "=" in s and not s.startswith(";"):
            k, v = s.split("=", 1)
            cur[k.strip().lower()] = v.strip()
    return sections


def check_product(rows):
    common = os.path.join(ROOT, "product", "Common")
    for dbb in ("SQLDBBack.dbb", "SQLDBBack_2008.dbb"):
        lines = read_ansi(os.path.join(common, "SQLDB", dbb)).splitlines()
        if len(lines) != 9 or any(":" not in l for l in lines):
            fail(f"{dbb}: nine lines of label:value expected")
    lst = read_ini(os.path.join(common, "SqlSrv", "PitchUptVEQ.lst"))
    acct = re.search(r"'Base',\s*'AcctType',\s*'(\w+)'", rows)
    level = re.search(r"'Base',\s*'ServicePack',\s*'(\w+)'", rows)
    sect = lst.get("servicepack_" + (acct.group(1).lower() if acct else "?"))
    if not sect:
        fail("PitchUptVEQ.lst: no section for the base account type")
        return
    packs, i = [], 1
    while sect.get(f"sp{i}"):
        packs.append(sect[f"sp{i}"])
        i += 1
    if not packs or sect.get("version") != packs[-1]:
        fail("PitchUptVEQ.lst: Version must name the last service pack")
    if level and not any(p.lower() > level.group(1).lower() for p in packs):
        fail("PitchUptVEQ.lst: no service pack above the base level")
    count = 0
    for sp in packs:
        files_sect = lst.get(lst.get(sp.lower(), {}).get("type1", "").lower())
        if files_sect is None:
            fail(f"PitchUptVEQ.lst: {sp} has no file section")
            continue
        j = 1
        while files_sect.get(f"file{j}"):
            count += 1
            name = files_sect[f"file{j}"]
            path = os.path.join(common, "SqlSrv", name)
            if not os.path.exists(path):
                fail(f"PitchUptVEQ.lst: {name} missing")
            else:
                check_script(path, common)
            j += 1
    if str(count) != lst.get("industry", {}).get("sqlcount"):
        fail(f"PitchUptVEQ.lst: SqlCount should be {count}")
    types = read_ini(os.path.join(common, "SqlSrv", "CreateDB.lst"))
    for n in (1, 2, 5, 6, 7, 9):
        s = types.get("accttype", {}).get(f"item{n}", "")
        if not types.get(s.lower(), {}).get("description"):
            fail(f"CreateDB.lst: item {n} has no description")


def check_script(path, common):
    text = read_ansi(path)
    bl, _ = batches(text)
    for b in bl:
        body = b.strip()
        if body.lower().startswith("insertfile"):
            refs = re.findall(r"<([^<>]+)>", body)
            if not refs:
                fail(f"{path}: insertfile batch without a file reference")
            for r in refs:
                if not os.path.exists(os.path.join(common, r.strip())):
                    fail(f"{path}: referenced file {r} missing")
            guard = body.split("---?", 1)
            if len(guard) == 2 and ("<" in guard[1] or ">" in guard[1] or "\n" in guard[1].strip()):
                fail(f"{path}: a guard must be one line without < or >")
            body = re.sub(r"<[^<>]+>", "?", body)
        for bad in FORBIDDEN:
            m = re.search(bad, strip_code(body), re.I)
            if m:
                fail(f"{path}: construct outside the subset: {m.group(0)!r}")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--catalogue")
    args = ap.parse_args()
    tables, rows = check_sql()
    check_product(rows)
    if args.catalogue:
        compare_catalogue(tables, args.catalogue)
    for n in notes:
        print("note:", n)
    for p in problems:
        print("FAIL:", p)
    print(f"{len(tables)} tables (base and AcctCtl); {len(problems)} problems; {len(notes)} notes")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
