#!/usr/bin/env python3
"""Checks the distribution folder against the player it documents.

Usage: check-distribution.py SOURCE_TOP DIST_DIR

- Every picture of the help page exists in DIST_DIR as a GIF of exactly the width and
  height its img tag declares, and every GIF there is shown by the page.
- readme.txt has Windows line endings (CR LF) and nothing else: Notepad on the target
  systems shows a file of bare LF endings as one line.
- The key tables of the help page and of the readme name every key of the player's
  accelerator table that does something, each beside the command it really gives; the
  palette tables give each button's real tooltip and the key that does the same.

Prints one line per fault and "N passed, N failed"; exits 1 when anything failed.
"""
import html.parser
import os
import re
import struct
import sys

# What each command is called in the key tables. None: the key reaches no handler, so
# it does nothing and is not listed.
COMMAND_NAMES = {
    'ID_FILE_OPEN': 'Open',
    'ID_CONTROL_OPTIONS': 'Movie Controls',
    'ID_INFORMATION': 'Movie Controls',
    'ID_PLAY': 'Play',
    'ID_PAUSE': 'Pause',
    'ID_STOP': 'Stop',
    'ID_STEP': 'Step',
    'ID_VOLUME_UP': 'Volume up',
    'ID_VOLUME_DOWN': 'Volume down',
    'ID_RATE_SLOWER': 'Slower',
    'ID_RATE_FASTER': 'Faster',
    'ID_FULL_SCREEN': 'Full screen',
    'ID_EXIT': 'Exit',
    'ID_FILE_NEW': 'Close the media',
    'ID_FILE_PRINT': 'Print',
    'ID_FILE_PRINT_SETUP': 'Print Setup',
    'ID_CONTEXT_HELP': 'Help pointer',
    '32773': None,   # Ctrl+S
    '57634': None,   # copy
    '57635': None,   # cut
    '57637': None,   # paste
    '57643': None,   # undo
    '57681': None,   # next pane
}

# The palette's buttons: the command each sends, and the command whose key does the same
# (None: no key does).
PALETTE = {
    'Open': ('ID_FILE_OPEN', 'ID_FILE_OPEN'),
    'Open File on Internet': ('ID_OPEN_INTERNET', None),
    'Control Options': ('ID_CONTROL_OPTIONS', 'ID_CONTROL_OPTIONS'),
    'Play': ('ID_PLAY', 'ID_PLAY'),
    'Pause': ('ID_PAUSE', 'ID_PAUSE'),
    'Stop': ('ID_STOP', 'ID_STOP'),
    'Loop': ('ID_GROUP_LOOP', None),
    'Volume Up': ('ID_VOLUME_UP_BUTTON', 'ID_VOLUME_UP'),
    'Volume Down': ('ID_VOLUME_DOWN_BUTTON', 'ID_VOLUME_DOWN'),
    'Step': ('ID_STEP', 'ID_STEP'),
    'Help': ('ID_HELP_PAGE', None),
    'Exit': ('ID_EXIT', 'ID_EXIT'),
}

VIRTUAL_KEYS = {'VK_ESCAPE': 'Esc', 'VK_BACK': 'Backspace', 'VK_DELETE': 'Delete',
                'VK_INSERT': 'Insert'}
MODIFIERS = [('CONTROL', 'Ctrl+'), ('ALT', 'Alt+'), ('SHIFT', 'Shift+')]


class Report:
    def __init__(self):
        self.passed = 0
        self.failed = 0

    def check(self, ok, what):
        if ok:
            self.passed += 1
        else:
            self.failed += 1
            print('FAILED: ' + what)
        return ok


def read_text(path):
    with open(path, 'rb') as f:
        return f.read().decode('latin-1')


def read_defines(*paths):
    """Symbol -> number from the #define lines of the given headers."""
    values = {}
    for path in paths:
        for m in re.finditer(r'^#define\s+(\w+)\s+(0x[0-9A-Fa-f]+|\d+)', read_text(path), re.M):
            values[m.group(1)] = int(m.group(2), 0)
    return values


def command_number(token, defines):
    return int(token, 0) if re.fullmatch(r'0x[0-9A-Fa-f]+|\d+', token) else defines[token]


def read_accelerators(rc, defines):
    """Key name ("Ctrl+O", "F5", "Esc") -> command number, from the ACCELERATORS block."""
    block = re.search(r'ACCELERATORS\s*\r?\nBEGIN(.*?)\nEND', rc, re.S).group(1)
    keys = {}
    for line in block.splitlines():
        parts = [p.strip() for p in line.split(',')]
        if len(parts) < 3:
            continue
        key, command, flags = parts[0], parts[1], parts[2:]
        if key.startswith('"'):
            name = key.strip('"')
        elif re.fullmatch(r'VK_F\d+', key):
            name = key[3:]
        else:
            name = VIRTUAL_KEYS[key]
        prefix = ''.join(text for flag, text in MODIFIERS if flag in flags)
        keys[prefix + name] = command_number(command, defines)
    return keys


def read_tooltips(rc, defines):
    """Command number -> the tooltip of its first string (the part after the newline)."""
    tips = {}
    for block in re.findall(r'STRINGTABLE\s*\r?\nBEGIN(.*?)\nEND', rc, re.S):
        for m in re.finditer(r'^\s*(\w+)\s+"((?:[^"]|"")*)"', block, re.M):
            number = command_number(m.group(1), defines)
            if number not in tips and '\\n' in m.group(2):
                tips[number] = m.group(2).split('\\n', 1)[1]
    return tips


class PageParser(html.parser.HTMLParser):
    """The img tags of the page and the rows of its tables, each table by its id."""

    def __init__(self):
        super().__init__()
        self.images = []
        self.tables = {}
        self._table = None
        self._row = None
        self._cell = None

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag == 'img':
            self.images.append(attrs)
        elif tag == 'table':
            self._table = self.tables.setdefault(attrs.get('id', ''), [])
        elif tag == 'tr' and self._table is not None:
            self._row = []
        elif tag in ('td', 'th') and self._row is not None:
            self._cell = ''

    def handle_endtag(self, tag):
        if tag in ('td', 'th') and self._cell is not None:
            self._row.append(' '.join(self._cell.split()))
            self._cell = None
        elif tag == 'tr' and self._row is not None:
            self._table.append(self._row)
            self._row = None
        elif tag == 'table':
            self._table = None

    def handle_data(self, data):
        if self._cell is not None:
            self._cell += data


def gif_size(path):
    with open(path, 'rb') as f:
        head = f.read(10)
    if head[:6] not in (b'GIF87a', b'GIF89a'):
        return None
    return struct.unpack('<HH', head[6:10])


def check_images(report, page, dist):
    shown = set()
    for img in page.images:
        src = img.get('src', '')
        shown.add(src)
        path = os.path.join(dist, src)
        if not report.check(os.path.isfile(path), 'the page shows %s, which is not in %s' % (src, dist)):
            continue
        declared = (int(img.get('width', -1)), int(img.get('height', -1)))
        actual = gif_size(path)
        report.check(actual == declared, '%s is %s, the page declares %dx%d' % (
            src, 'not a GIF' if actual is None else '%dx%d' % actual, declared[0], declared[1]))
    for name in sorted(os.listdir(dist)):
        if name.lower().endswith('.gif'):
            report.check(name in shown, '%s is installed but the page does not show it' % name)


def check_line_endings(report, path):
    data = open(path, 'rb').read()
    bare_lf = len(re.findall(rb'(?<!\r)\n', data))
    bare_cr = len(re.findall(rb'\r(?!\n)', data))
    report.check(bare_lf == 0 and bare_cr == 0 and data.endswith(b'\r\n'),
                 '%s: %d bare LF, %d bare CR, last line %s' % (
                     os.path.basename(path), bare_lf, bare_cr,
                     'ended' if data.endswith(b'\r\n') else 'not ended with CR LF'))


def readme_key_rows(text):
    """The rows of the readme's "Keys" section: indented lines of a key, two or more
    blanks, the command's name, then optionally two or more blanks and an explanation."""
    lines = text.replace('\r\n', '\n').split('\n')
    if 'Keys' not in lines:
        return []
    start = lines.index('Keys') + 2
    rows = []
    for line in lines[start:]:
        if not line.strip():
            break
        rows.append(re.split(r'\s{2,}', line.strip()))
    return rows


def check_key_table(report, where, rows, accelerators, names):
    listed = {}
    for row in rows:
        key, name = row[0], row[1] if len(row) > 1 else ''
        if not report.check(key in accelerators, '%s names %s, which no accelerator has' % (where, key)):
            continue
        listed[key] = name
        real = names.get(accelerators[key], '(unknown command %d)' % accelerators[key])
        report.check(name == real, '%s says %s gives "%s"; it gives "%s"' % (where, key, name, real))
    for key, number in sorted(accelerators.items()):
        name = names.get(number, '')
        if name is None:
            continue
        report.check(key in listed, '%s does not list %s (%s)' % (
            where, key, name or 'command %d, which the check has no name for' % number))


def readme_palette_rows(text):
    """The readme's table of the palette's buttons: after its "Button" heading row, a
    button, the key its tooltip names, and the key that does the same (its first word)."""
    lines = text.replace('\r\n', '\n').split('\n')
    heads = [i for i, line in enumerate(lines) if line.split()[:1] == ['Button']]
    rows = []
    for line in lines[heads[0] + 1:] if heads else []:
        if not line.strip():
            break
        cells = re.split(r'\s{2,}', line.strip())
        rows.append(cells[:2] + [cells[2].split()[0]] if len(cells) > 2 else cells)
    return rows


def tooltip_key(tip):
    """The key a tooltip names: "Volume Up (F5)" gives F5, "Help?" gives -."""
    m = re.search(r'\(([^)]*)\)', tip)
    return m.group(1) if m else '-'


def check_palette_table(report, where, rows, accelerators, tooltips, defines, shown_tip):
    keys_of = {}
    for key, number in accelerators.items():
        keys_of.setdefault(number, []).append(key)
    seen = set()
    for row in rows:
        if len(row) < 3 or row[0] not in PALETTE:
            report.check(False, '%s: the palette table has a row for no button: %s' % (where, row))
            continue
        button, tooltip, key = row[0], row[1], row[2]
        seen.add(button)
        command, key_command = PALETTE[button]
        real_tip = shown_tip(tooltips.get(defines[command], ''))
        report.check(tooltip == real_tip, '%s gives %s the tooltip "%s"; it shows "%s"'
                     % (where, button, tooltip, real_tip))
        real_keys = keys_of.get(defines[key_command], []) if key_command else []
        if real_keys:
            report.check(key in real_keys, '%s says %s is %s; the key is %s'
                         % (where, button, key, ' or '.join(real_keys)))
        else:
            report.check(key == 'none', '%s says %s is %s; no key does it' % (where, button, key))
    report.check(seen == set(PALETTE), '%s leaves out %s' % (where, sorted(set(PALETTE) - seen)))


def main(argv):
    top, dist = argv[1], argv[2]
    report = Report()
    defines = read_defines(os.path.join(top, 'framework', 'AfxRes.h'),
                           os.path.join(top, 'player', 'resource.h'))
    rc = read_text(os.path.join(top, 'player', 'Tandrel98.rc'))
    accelerators = read_accelerators(rc, defines)
    tooltips = read_tooltips(rc, defines)
    names = {}
    for symbol, name in COMMAND_NAMES.items():
        names[command_number(symbol, defines)] = name

    page = PageParser()
    page.feed(read_text(os.path.join(top, 'distribution', 'Demo.html')))
    check_images(report, page, dist)

    readme = os.path.join(top, 'distribution', 'readme.txt')
    check_line_endings(report, readme)

    report.check('keys' in page.tables, 'the page has no table with id "keys"')
    check_key_table(report, 'the page', [r for r in page.tables.get('keys', []) if r[0] != 'Key'],
                    accelerators, names)
    check_key_table(report, 'readme.txt', readme_key_rows(read_text(readme)), accelerators, names)
    report.check('palette' in page.tables, 'the page has no table with id "palette"')
    check_palette_table(report, "the page's palette table",
                        [r for r in page.tables.get('palette', []) if r[0] != 'Button'],
                        accelerators, tooltips, defines, lambda tip: tip)
    check_palette_table(report, "readme.txt's palette table", readme_palette_rows(read_text(readme)),
                        accelerators, tooltips, defines, tooltip_key)

    print('%d passed, %d failed' % (report.passed, report.failed))
    return 1 if report.failed else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
