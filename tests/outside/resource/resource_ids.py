#!/usr/bin/env python3
"""Cross-checks the id header of VxResource.dll against its .rc sources and its art.

    resource_ids.py check HEADER RCDIR ARTSCRIPT   exit status 1 with a list of faults
    resource_ids.py table HEADER OUT               C++ table of every resource name

windres only warns about a resource defined twice, so the checks below are what keeps
two areas from taking the same id.
"""

import os
import re
import subprocess
import sys

# Names the .rc files may use without the header: ids of the platform.
PLATFORM = {'IDOK': 1, 'IDCANCEL': 2, 'IDYES': 6, 'IDNO': 7, 'VS_VERSION_INFO': 1}

# What kind of resource each prefix names.
KIND_OF_PREFIX = [
    ('IDS_', 'string'), ('AFX_IDS_', 'string'), ('IDD_', 'dialog'), ('IDB_', 'bitmap'),
    ('IDI_', 'icon'), ('IDR_', 'menu'), ('IDA_', 'avi'), ('IDCUR_', 'cursor'),
]


def parse_header(path):
    names = {}
    for line in open(path, encoding='utf-8'):
        m = re.match(r'\s*#define\s+([A-Z_][A-Z0-9_]*)\s+\(?(-?(?:0x[0-9A-Fa-f]+|\d+))\)?\s*(?://.*)?$', line)
        if m:
            names[m.group(1)] = int(m.group(2), 0)
    return names


def strip_comment(line):
    out, quoted = [], False
    i = 0
    while i < len(line):
        c = line[i]
        if c == '"':
            quoted = not quoted
        if not quoted and line.startswith('//', i):
            break
        out.append(c)
        i += 1
    return ''.join(out).strip()


def first_id(rest):
    """The id argument of a control statement: after the text for text controls."""
    rest = rest.strip()
    if rest.startswith('"'):
        end = rest.index('"', 1)
        while end + 1 < len(rest) and rest[end + 1] == '"':
            end = rest.index('"', end + 2)
        rest = rest[end + 1:].lstrip(' ,')
    return re.split(r'[\s,]+', rest)[0]


def parse_rc(path):
    """Resources of one .rc file: list of (kind, name, detail)."""
    found = []
    lines = [strip_comment(l) for l in open(path, encoding='utf-8')]
    block = None        # 'string', 'dialog' or 'menu' while inside one
    depth = 0
    current = None
    for line in lines:
        if not line or line.startswith('#'):
            continue
        if block is None:
            if line == 'STRINGTABLE':
                block, depth, current = 'string', 0, None
                continue
            m = re.match(r'([A-Z_][A-Z0-9_]*)\s+(DIALOGEX|DIALOG|MENU|BITMAP|ICON|CURSOR|AVI|VERSIONINFO)\b\s*(.*)', line)
            if not m:
                continue
            name, kind, rest = m.groups()
            if kind in ('BITMAP', 'ICON', 'CURSOR', 'AVI'):
                found.append((kind.lower(), name, rest.strip('"')))
            elif kind == 'VERSIONINFO':
                block, depth, current = 'version', 0, None
            else:
                block = 'dialog' if kind.startswith('DIALOG') else 'menu'
                depth = 0
                current = {'controls': [], 'items': []}
                found.append((block, name, current))
            continue
        if line == 'BEGIN':
            depth += 1
            continue
        if line == 'END':
            depth -= 1
            if depth == 0:
                block = None
            continue
        if depth == 0:
            continue        # STYLE, CAPTION, FONT lines of a dialog
        if block == 'string':
            m = re.match(r'([A-Z_][A-Z0-9_]*)\s+"', line)
            if m:
                found.append(('string', m.group(1), None))
        elif block == 'dialog':
            m = re.match(r'([A-Z]+)\s+(.*)', line)
            if m:
                current['controls'].append(first_id(m.group(2)))
        elif block == 'menu':
            m = re.match(r'MENUITEM\s+"(?:[^"]|"")*"\s*,\s*([A-Z_][A-Z0-9_]*)', line)
            if m:
                current['items'].append(m.group(1))
    return found


def kind_of(name):
    for prefix, kind in KIND_OF_PREFIX:
        if name.startswith(prefix):
            return kind
    return None


def check(header, rcdir, art_script):
    names = parse_header(header)
    value = dict(PLATFORM, **names)
    faults = []
    resources = []
    for fn in sorted(os.listdir(rcdir)):
        if fn.endswith('.rc'):
            for kind, name, detail in parse_rc(os.path.join(rcdir, fn)):
                resources.append((fn, kind, name, detail))

    # Every name the .rc files use comes from the header.
    for fn, kind, name, detail in resources:
        used = [name] + (detail['controls'] + detail['items'] if isinstance(detail, dict) else [])
        for n in used:
            if n not in value:
                faults.append('%s: %s is not in the header' % (fn, n))

    # A resource type never has two resources with one id.
    seen = {}
    for fn, kind, name, detail in resources:
        if kind == 'version' or name not in value:
            continue
        key = (kind, value[name])
        if key in seen:
            faults.append('%s: %s %s (%d) is also defined as %s in %s' % (fn, kind, name, value[name], seen[key][1], seen[key][0]))
        else:
            seen[key] = (fn, name)

    # Prefixes match the resource type.
    for fn, kind, name, detail in resources:
        k = kind_of(name)
        ok = (k == kind or (kind == 'string' and name.startswith('ID_')) or
              (kind == 'icon' and name == 'IDR_MAINFRAME') or (kind == 'string' and name == 'IDR_MAINFRAME'))
        if not ok:
            faults.append('%s: %s names a %s' % (fn, name, kind))

    # Every resource name of the header exists.
    defined = {(kind, name) for fn, kind, name, detail in resources}
    for name in names:
        k = kind_of(name)
        if k and (k, name) not in defined:
            faults.append('header: %s has no %s in the .rc files' % (name, k))

    # Two names of one resource type never share a value (range markers aside).
    by_value = {}
    for name, v in names.items():
        k = kind_of(name) or ('command' if name.startswith('ID_') else None)
        if not k or name.endswith('_FIRST') or name.endswith('_LAST'):
            continue
        other = by_value.setdefault((k, v), name)
        if other != name:
            faults.append('header: %s and %s are both %d' % (other, name, v))

    # Dialog controls are unique within their dialog; menu commands have prompts.
    string_values = {value[name] for fn, kind, name, d in resources if kind == 'string' and name in value}
    for fn, kind, name, detail in resources:
        if kind == 'dialog':
            ids = [c for c in detail['controls'] if c != 'IDC_STATIC']
            dup = {c for c in ids if ids.count(c) > 1}
            if dup:
                faults.append('%s: %s repeats control ids %s' % (fn, name, sorted(dup)))
        if kind == 'menu':
            for item in detail['items']:
                if item in value and value[item] not in string_values:
                    faults.append('%s: menu item %s of %s has no prompt string' % (fn, item, name))

    # Bitmap, icon, cursor and clip files are exactly what the art script draws (the splash is a file).
    drawn = set(subprocess.run([sys.executable, art_script, '--list'], check=True,
                               capture_output=True, text=True).stdout.split())
    used_files = {detail for fn, kind, name, detail in resources if kind in ('bitmap', 'icon', 'cursor', 'avi')}
    for f in sorted(used_files - drawn):
        faults.append('rc: %s is not drawn by the art script' % f)
    for f in sorted(drawn - used_files - {'Splash10.bmp'}):
        faults.append('art: %s is drawn but no .rc file uses it' % f)

    for f in faults:
        print(f)
    print('%d names, %d resources, %d faults' % (len(names), len(resources), len(faults)))
    return 1 if faults else 0


def table(header, out):
    names = parse_header(header)
    rows = []
    for name in sorted(names):
        k = kind_of(name)
        if k:
            rows.append('{\'%s\', "%s", %s},' % (k[0].upper(), name, name))
    text = '// Generated from VxResourceIds.h: every resource name and its type.\n' + '\n'.join(rows) + '\n'
    if not os.path.exists(out) or open(out).read() != text:
        with open(out, 'w') as f:
            f.write(text)
    return 0


if __name__ == '__main__':
    if len(sys.argv) == 5 and sys.argv[1] == 'check':
        sys.exit(check(*sys.argv[2:]))
    if len(sys.argv) == 4 and sys.argv[1] == 'table':
        sys.exit(table(*sys.argv[2:]))
    sys.stderr.write(__doc__)
    sys.exit(2)
