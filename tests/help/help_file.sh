#!/usr/bin/env bash
# Checks the compiled help file COLVARIAHLP.chm as a help viewer reads it, with chmlib's tools:
# its title, language, contents and index; the context map (context 3 must open the main page);
# that it holds every page of the sources, as they are now; that no link is broken; that every
# message it quotes is one the program shows and every message the program shows is explained;
# and that its page on transzendal-cli says what `transzendal-cli --help` says.
#
# Usage: help_file.sh HELP.chm HELP_SOURCES_FOLDER [TRANSZENDAL_CLI]
# Without TRANSZENDAL_CLI, the --help text is read from kCliUsage in src/exchange/messages.h.
set -uo pipefail

if [ $# -lt 2 ] || [ $# -gt 3 ]; then
  echo "usage: $0 HELP.chm HELP_SOURCES_FOLDER [TRANSZENDAL_CLI]" >&2
  exit 2
fi
chm=$1
sources=$2
cli=${3:-}
messages=$sources/../../exchange/messages.h

for tool in enum_chmLib extract_chmLib; do
  if ! command -v "$tool" >/dev/null; then
    echo "help_file: $tool is missing (Debian package libchm-bin): run scripts/install-deps" >&2
    exit 1
  fi
done
command -v python3 >/dev/null || { echo "help_file: python3 is missing" >&2; exit 1; }
[ -f "$sources/ayuda.hhp" ] || { echo "help_file: no ayuda.hhp in $sources" >&2; exit 1; }
[ -f "$messages" ] || { echo "help_file: no messages.h at $messages" >&2; exit 1; }

passed=0
failed=0
pass() { passed=$((passed + 1)); echo "ok: $*"; }
fail() { failed=$((failed + 1)); echo "FAIL: $*"; }
finish() {
  echo "Ayuda: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  exit
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ -f "$chm" ] && [ "$(head -c 4 "$chm")" = "ITSF" ]; then
  pass "$chm is a compiled HTML Help file"
else
  fail "$chm is missing or is not a compiled HTML Help file"
  finish
fi
if ! enum_chmLib "$chm" >"$work/listing" 2>"$work/enum.err"; then
  fail "enum_chmLib can't read $chm: $(cat "$work/enum.err")"
  finish
fi
if ! extract_chmLib "$chm" "$work/chm" >/dev/null 2>"$work/extract.err"; then
  fail "extract_chmLib can't extract $chm: $(cat "$work/extract.err")"
  finish
fi
pass "chmlib lists and extracts the file"

cli_help=$work/cli-help.txt
if [ -n "$cli" ]; then
  "$cli" --help >"$cli_help" || fail "$cli --help failed"
fi

# The remaining checks read the project, the extracted files and the listing; each prints a line
# "ok: ..." or "FAIL: ...".
python3 - "$work/listing" "$work/chm" "$sources" "$messages" "$cli_help" >"$work/results" <<'PYTHON'
import html, os, re, struct, sys

listing_path, chm_dir, sources, messages_path, cli_help_path = sys.argv[1:]

def ok(text): print("ok: " + text)
def bad(text): print("FAIL: " + text)
def check(condition, text_ok, text_bad):
    (ok if condition else bad)(text_ok if condition else text_bad)

# --- The project file --------------------------------------------------------------------------
project = {}
section = None
for raw in open(os.path.join(sources, "ayuda.hhp"), encoding="ascii"):
    line = raw.strip()
    if not line or line.startswith(";"):
        continue
    if line.startswith("[") and line.endswith("]"):
        section = line[1:-1].upper()
        project.setdefault(section, [])
        continue
    project.setdefault(section, []).append(line)
options = dict(l.split("=", 1) for l in project.get("OPTIONS", []) if "=" in l)
project_files = project.get("FILES", [])
aliases = dict(l.split("=", 1) for l in project.get("ALIAS", []) if "=" in l)
context_map = {}
for line in project.get("MAP", []):
    m = re.match(r"#define\s+(\w+)\s+(\d+)$", line)
    if m:
        context_map[m.group(1)] = int(m.group(2))

# --- What the help file holds ------------------------------------------------------------------
in_chm = set()
for line in open(listing_path, encoding="latin-1"):
    m = re.search(r"(?:normal|special) file\s+(/.*)$", line.rstrip("\n"))
    if m:
        in_chm.add(m.group(1))

def extracted(name):
    path = os.path.join(chm_dir, name.lstrip("/"))
    with open(path, "rb") as f:
        return f.read()

def has(name):
    return "/" + name.lstrip("/") in in_chm

# #SYSTEM: a version DWORD, then (WORD code, WORD length, data) entries.
system = {}
if has("#SYSTEM"):
    data = extracted("#SYSTEM")
    pos = 4
    while pos + 4 <= len(data):
        code, length = struct.unpack_from("<HH", data, pos)
        system[code] = data[pos + 4:pos + 4 + length]
        pos += 4 + length
def system_text(code):
    return system.get(code, b"").split(b"\0")[0].decode("cp1252")

title = options.get("Title", "")
check(title and system_text(3) == title, f"the title is {title!r}",
      f"the title in #SYSTEM is {system_text(3)!r}, the project says {title!r}")
language = int(options.get("Language", "0").split()[0], 16)
lcid = struct.unpack_from("<I", system.get(4, b"\0\0\0\0"))[0]
check(language and lcid == language, f"the language is 0x{lcid:x}",
      f"the language in #SYSTEM is 0x{lcid:x}, the project says 0x{language:x}")
default_topic = options.get("Default topic", "")
check(default_topic and system_text(2) == default_topic and has(default_topic),
      f"the default topic is {default_topic}",
      f"the default topic in #SYSTEM is {system_text(2)!r}, the project says {default_topic!r}")
contents, index = options.get("Contents file", ""), options.get("Index file", "")
check(contents and has(contents) and system_text(0) == contents,
      f"the table of contents {contents} is in the file",
      f"the table of contents {contents!r} is not in the file (#SYSTEM names {system_text(0)!r})")
check(index and has(index) and system_text(1) == index, f"the index {index} is in the file",
      f"the index {index!r} is not in the file (#SYSTEM names {system_text(1)!r})")

# #WINDOWS: the default window, whose contents and index files make the viewer show both tabs.
# A DWORD count and a DWORD entry size, then entries; at 0x60 and 0x64 of an entry, the offsets in
# #STRINGS of its contents and index files.
def strings_at(offset):
    data = extracted("#STRINGS") if has("#STRINGS") else b""
    end = data.find(b"\0", offset)
    return data[offset:end].decode("cp1252") if 0 <= offset < len(data) and end >= 0 else None
window_files = None
if has("#WINDOWS"):
    data = extracted("#WINDOWS")
    count, entry_size = struct.unpack_from("<II", data)
    if count and entry_size >= 0x68 and len(data) >= 8 + entry_size:
        toc_offset, index_offset = struct.unpack_from("<II", data, 8 + 0x60)
        window_files = (strings_at(toc_offset), strings_at(index_offset))
check(window_files == (contents, index),
      f"the default window shows the contents and the index",
      f"the default window names {window_files!r} as contents and index, not {(contents, index)!r}")

# --- The context map: #IVB pairs (context, offset in #STRINGS) ----------------------------------
ivb_contexts = {}
if has("#IVB") and has("#STRINGS"):
    ivb, strings = extracted("#IVB"), extracted("#STRINGS")
    size = struct.unpack_from("<I", ivb)[0]
    for i in range(min(size, len(ivb) - 4) // 8):
        context, offset = struct.unpack_from("<II", ivb, 4 + 8 * i)
        end = strings.find(b"\0", offset)
        ivb_contexts[context] = strings[offset:end].decode("latin-1") if end >= 0 else None
check(context_map, f"the project maps {len(context_map)} context number(s)",
      "the project has no [MAP]")
for name, number in sorted(context_map.items()):
    target = aliases.get(name)
    got = ivb_contexts.get(number)
    check(target and got == target and has(target),
          f"context {number} ({name}) opens {got}",
          f"context {number} ({name}) opens {got!r} in the file; the project says {target!r}")
check(ivb_contexts.get(3) == default_topic, f"context 3 opens the main page {default_topic}",
      f"context 3 opens {ivb_contexts.get(3)!r}, not the main page {default_topic!r}")

# --- Every source file is in the help file, as it is now ---------------------------------------
for name in project_files + [contents, index]:
    source = os.path.join(sources, name)
    if not has(name):
        bad(f"{name} is not in the help file")
    elif open(source, "rb").read() != extracted(name):
        bad(f"{name} in the help file differs from its source: the build is out of date")
    else:
        ok(f"{name} is in the help file, as in the sources")
pages = sorted(n.lstrip("/") for n in in_chm if n.endswith(".htm"))
check(set(pages) == {f for f in project_files if f.endswith(".htm")},
      f"the help file holds the {len(pages)} pages of the project",
      f"the help file holds {pages}, the project lists {project_files}")

# --- Text: ASCII only (entities for the rest), declared as Windows-1252 ------------------------
for name in pages + [contents, index] + [f for f in project_files if f.endswith(".css")]:
    data = extracted(name)
    try:
        data.decode("ascii")
        ascii_ok = True
    except UnicodeDecodeError:
        ascii_ok = False
    declared = name.endswith(".css") or b"charset=windows-1252" in data
    check(ascii_ok and declared, f"{name} is ASCII with entities",
          f"{name} has non-ASCII bytes or does not declare charset=windows-1252")

def sitemap_entries(name):
    text = extracted(name).decode("ascii", "replace")
    entries = []
    for obj in re.findall(r'<OBJECT type="text/sitemap">(.*?)</OBJECT>', text, re.S | re.I):
        params = re.findall(r'<param name="(\w+)" value="([^"]*)">', obj, re.I)
        entries.append([(k.lower(), html.unescape(v)) for k, v in params])
    return entries

toc = sitemap_entries(contents)
toc_locals = [v for e in toc for k, v in e if k == "local"]
for local in toc_locals:
    check(has(local), f"the contents names {local}, which is in the file",
          f"the contents names {local}, which is not in the file")
check(set(pages) <= set(toc_locals), "the contents names every page",
      f"pages missing from the contents: {sorted(set(pages) - set(toc_locals))}")

keywords = {}
for entry in sitemap_entries(index):
    names = [v for k, v in entry if k == "name"]
    local = [v for k, v in entry if k == "local"]
    if names:
        keywords[names[0].lower()] = local
    for target in local:
        if not has(target):
            bad(f"the index entry {names[:1]} points at {target}, which is not in the file")
for word in ["exportar", "importar", "marcos horarios", "zendalor.ini", "resultadozendal", "soluc",
             "c:\\ztemp", "brevel", "transzendal-cli", "estado de salida", "mensajes",
             "directorio de intercambio", "proceso finalizado", "no existe archivo"]:
    check(keywords.get(word), f"the index has the keyword {word!r}",
          f"the index lacks the keyword {word!r}")

# --- Pages: a title, its heading, and links that all lead somewhere ----------------------------
def page_text(name):
    return extracted(name).decode("ascii", "replace")

anchors = {}
for page in pages:
    text = page_text(page)
    anchors[page] = set(re.findall(r'\b(?:id|name)="([^"]+)"', text))
for page in pages:
    text = page_text(page)
    m = re.search(r"<title>(.*?)</title>", text, re.S)
    h1 = re.search(r"<h1>(.*?)</h1>", text, re.S)
    check(m and m.group(1).strip() and h1 and h1.group(1).strip() == m.group(1).strip(),
          f"{page} has the title {html.unescape(m.group(1)) if m else ''!r}",
          f"{page} has no title, or its heading differs from it")
    check("<script" not in text.lower(), f"{page} has no script", f"{page} has a script")
    broken = []
    for attribute, target in re.findall(r'\b(href|src)="([^"]*)"', text):
        if re.match(r"[a-z][a-z0-9+.-]*:", target, re.I):
            broken.append(f"{target} (not a page of the file)")
            continue
        file, _, anchor = target.partition("#")
        file = file or page
        if not has(file):
            broken.append(target)
        elif anchor and anchor not in anchors.get(file, set()):
            broken.append(target + " (no such anchor)")
    check(not broken, f"every link of {page} leads to the file",
          f"{page} has broken links: {broken}")

# --- Messages: quoted exactly, and every one explained -----------------------------------------
source = open(messages_path, encoding="utf-8").read()
program = {}
for m in re.finditer(r'inline constexpr std::string_view (k\w+)\s*=\s*((?:\s*"(?:[^"\\]|\\.)*")+)\s*;',
                     source):
    value = "".join(re.findall(r'"((?:[^"\\]|\\.)*)"', m.group(2)))
    value = (value.replace("\\r", "\r").replace("\\n", "\n").replace('\\"', '"')
             .replace("\\\\", "\\"))
    program[m.group(1)] = value

def normal(text):
    return " ".join(text.replace("%s", "\u2026").split())

def html_text(fragment):
    fragment = re.sub(r"<br\s*/?>", " ", fragment, flags=re.I)
    return " ".join(html.unescape(re.sub(r"<[^>]+>", " ", fragment)).split())

quoted = {}
for page in pages:
    for _, inner in re.findall(r'<(\w+) class="msg">(.*?)</\1>', page_text(page), re.S):
        quoted.setdefault(html_text(inner), page)
known = {normal(v): k for k, v in program.items()}
unknown = sorted(q for q in quoted if q not in known)
check(quoted and not unknown, f"the {len(quoted)} quoted messages are the program's own texts",
      f"quoted texts the program does not show: {unknown}")
# Not messages: the dialog's filter, the result prefix, record and value names, the layout of
# «tabla --formato resumen», the stand-in program, the usage (checked below), a summary line's form.
not_messages = re.compile(r"kOpenDialogFilter|kResultFilePrefix|kRecord(?!Reference)\w+|kValueKind\w+|"
                          r"kFamily\w+|kStructure\w+|kSimulator\w+|kCliUsage|kSummaryNote")
missing = sorted(k for k, v in program.items()
                 if not not_messages.fullmatch(k) and normal(v) not in quoted)
check(not missing, "every message of the program is explained",
      f"messages of the program that the help does not quote: {missing}")

# --- The page on transzendal-cli says what --help says -----------------------------------------
if os.path.isfile(cli_help_path) and os.path.getsize(cli_help_path):
    usage = open(cli_help_path, encoding="utf-8").read().replace("\r\n", "\n")
    origin = "transzendal-cli --help"
else:
    usage = program.get("kCliUsage", "")
    origin = "kCliUsage"
check(usage == program.get("kCliUsage"), f"{origin} prints kCliUsage",
      f"{origin} differs from kCliUsage")
cli_pages = [v for e in toc for k, v in e if k == "local"
             and any(kk == "name" and "transzendal-cli" in vv for kk, vv in e)]
if not cli_pages:
    bad("no entry of the contents names transzendal-cli")
else:
    page = cli_pages[0]
    raw = page_text(page)
    blocks = "\n".join(html.unescape(b) for b in re.findall(r"<pre>(.*?)</pre>", raw, re.S))
    text = html_text(raw)
    commands = [l for l in usage.split("\n") if l.startswith("  ")]
    absent = [l for l in commands if l not in blocks.split("\n")]
    check(commands and not absent, f"{page} shows the {len(commands)} usage lines of {origin}",
          f"{page} lacks these usage lines of {origin}: {absent}")
    for option in sorted(set(re.findall(r"--[a-z]+", usage))):
        check(option in text, f"{page} explains {option}", f"{page} does not mention {option}")
    m = re.search(r"Estado de salida: (.*?)\.?\n", usage)
    statuses = [s.strip() for s in m.group(1).split(",")] if m else []
    check(statuses, f"{origin} lists {len(statuses)} exit statuses",
          f"{origin} lists no exit statuses")
    for status in statuses:
        number, _, meaning = status.partition(" ")
        found = re.search(r"\b" + re.escape(number) + r"\s+" + re.escape(meaning), text, re.I)
        check(found, f"{page} gives exit status {number}: {meaning}",
              f"{page} does not give exit status {number} as {meaning!r}")
    for token in sorted(set(re.findall(r"[A-Z][A-Z_]{3,}|C:\\\w+", usage))):
        check(token in text, f"{page} names {token}", f"{page} does not name {token}")
PYTHON
status=$?
while IFS= read -r line; do
  case $line in
    "ok: "*) passed=$((passed + 1)); echo "$line" ;;
    "FAIL: "*) failed=$((failed + 1)); echo "$line" ;;
    *) echo "$line" ;;
  esac
done <"$work/results"
[ "$status" -eq 0 ] || fail "the checks stopped with an error (status $status)"
finish
