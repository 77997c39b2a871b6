#!/usr/bin/env bash
# Hostile school files through both runs of transzendal-cli: entity expansion (billion laughs and
# quadratic blow-up), external entities and DTDs (file and network), a 200 MB text node, 100,000
# levels of nesting, bytes invalid for the declared encoding, a UTF-16 file, and a byte-order mark
# that contradicts the declaration. Each must end in a clear Spanish message (status 1) or a correct
# result (status 0, the same tables as the plain file), within bounded memory (the forward run at
# most 4 times the file's size plus 50 MB, the reverse run 12 times plus 50 MB) and time, and
# nothing outside the file may be opened or reached over the network (seen with strace).
# Usage: hostile_xml.sh TRANSZENDAL-CLI SIMULADOR REPOSITORY-ROOT
set -u
cli=$1
simulator=$2
root=$3
for tool in python3 strace /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "hostile_xml: falta $tool (scripts/install-deps)" >&2; exit 2; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0
school=$root/examples/instituto-ejemplo.xml
secret=$work/secreto.txt
echo "CONTRASEÑA-DEL-CENTRO" >"$secret"
printf '<!ENTITY s "CONTRASEÑA-DEL-CENTRO">' >"$work/colvaria.dtd"
# A time limit far above a normal run (about 2 s with the sanitizers), far below a hang.
limit_seconds=60

# The hostile files, made from the example school.
python3 - "$school" "$work" <<'PYTHON'
import sys
source, out = sys.argv[1], sys.argv[2]
text = open(source, encoding="utf-8").read()
declaration, body = text.split("\n", 1)
first = "<materia>Lengua Castellana y Literatura</materia>"
assert first in body

def school(doctype="", subject=None, head=declaration):
    b = body if subject is None else body.replace(first, subject, 1)
    return head + "\n" + doctype + b

def write(name, content, encoding="utf-8", prefix=b""):
    with open(f"{out}/{name}.xml", "wb") as f:
        f.write(prefix + content.encode(encoding))

laughs = '<!ENTITY a0 "jajajajajajaja">' + "".join(
    f'<!ENTITY a{i} "{("&a" + str(i - 1) + ";") * 10}">' for i in range(1, 13))
write("risas", school(f"<!DOCTYPE datosZPH [{laughs}]>", "<materia>&a12;</materia>"))
write("cuadratica", school('<!DOCTYPE datosZPH [<!ENTITY g "' + "x" * 100000 + '">]>',
                           "<materia>" + "&g;" * 20000 + "</materia>"))
write("entidad-archivo", school(f'<!DOCTYPE datosZPH [<!ENTITY s SYSTEM "file://{out}/secreto.txt">]>',
                                "<materia>[&s;]</materia>"))
write("entidad-relativa", school('<!DOCTYPE datosZPH [<!ENTITY s SYSTEM "secreto.txt">]>',
                                 "<materia>[&s;]</materia>"))
write("entidad-red", school('<!DOCTYPE datosZPH [<!ENTITY s SYSTEM "http://127.0.0.1:9/s.txt">]>',
                            "<materia>[&s;]</materia>"))
write("dtd-archivo", school(f'<!DOCTYPE datosZPH SYSTEM "file://{out}/colvaria.dtd">'))
write("dtd-red", school('<!DOCTYPE datosZPH SYSTEM "http://127.0.0.1:9/colvaria.dtd">'))
write("atributo", school('<!DOCTYPE datosZPH [<!ENTITY g "' + "x" * 100000 + '">]>').replace(
    '<datosZPH version="3.2"', '<datosZPH version="' + "&g;" * 20000 + '"', 1))
write("anidado", school("", "<materia>" + "<b>" * 100000 + "Lengua" + "</b>" * 100000 + "</materia>"))
with open(f"{out}/bytes-invalidos.xml", "wb") as f:
    f.write(school("").replace(first, "<materia>Lengua XX</materia>", 1).encode("utf-8")
            .replace(b"Lengua XX", b"Lengua \xff\xfe"))
write("utf16", school(head='<?xml version="1.0" encoding="UTF-16"?>'), "utf-16-le", b"\xff\xfe")
write("bom-contradice", school(head='<?xml version="1.0" encoding="ISO-8859-1"?>'), "utf-8",
      b"\xef\xbb\xbf")
# 200 MB in one text node, written in pieces.
with open(f"{out}/texto-enorme.xml", "wb") as f:
    before, after = school("").split(first, 1)
    f.write(before.encode("utf-8") + b"<materia>")
    piece = b"a" * (1 << 20)
    for _ in range(200):
        f.write(piece)
    f.write(b"</materia>" + after.encode("utf-8"))
PYTHON

ok() {
  echo "ok    $1"
  passed=$((passed + 1))
}
fail() {
  echo "FALLO $1: $2"
  failed=$((failed + 1))
}

# The subjects of a saved result, as text, whatever its encoding.
subjects() {
  python3 -c 'import sys, xml.etree.ElementTree as t
print("\n".join(m.text or "" for m in t.parse(sys.argv[1]).getroot().iter("materia")))' "$1"
}

# same_result KIND CASE NAME: the tables (export) or the result file (import) are those of the
# plain example school.
same_result() {
  if [ "$1" = export ]; then
    cmp -s <(dump "$2/ztemp") "$work/referencia.txt"
  else
    cmp -s <(subjects "$work/ResultadoZendal$3.xml") <(subjects "$school")
  fi
}

# The six tables of DIR as text, to compare two runs.
dump() {
  local table
  for table in ASIGNOMT PROFT AULAT DIASHORAST GRUPOST ASIGT; do
    "$cli" tabla "$table" --directorio "$1"
  done
}

# A reference run on the plain example: its tables, and SOLUC for the reverse runs.
mkdir -p "$work/referencia"
"$cli" exportar "$school" --directorio "$work/referencia" --marcos 1,2 >/dev/null 2>&1 ||
  { echo "hostile_xml: el centro de ejemplo no se convierte" >&2; exit 1; }
dump "$work/referencia" >"$work/referencia.txt"

# run_case NAME KIND OUTCOMES MULTIPLIER: exportar (KIND export) or importar (KIND import) of
# NAME.xml, traced. OUTCOMES is "error" (a clear message is the only right answer), "same" (or
# the same result as the plain file) or "either" (or any result: the file says something else).
run_case() {
  local name=$1 kind=$2 outcomes=$3 multiplier=$4
  local file=$work/$name.xml case=$work/caso-$kind-$name
  mkdir -p "$case/ztemp"
  local -a command
  if [ "$kind" = export ]; then
    command=("$cli" exportar "$file" --directorio "$case/ztemp" --marcos 1,2)
  else
    cp "$work"/referencia/*.DBF "$case/ztemp/"
    "$simulator" --directorio "$case/ztemp" >/dev/null 2>&1
    command=("$cli" importar "$file" --directorio "$case/ztemp")
  fi
  local size status
  size=$(stat -c %s "$file")
  # strace follows the converter and records every file it opens and every network call.
  # LeakSanitizer cannot work under ptrace (leaks are the other tests' business), and the memory
  # measured is the converter's, not AddressSanitizer's quarantine of freed blocks.
  ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0:quarantine_size_mb=0 timeout "$limit_seconds" /usr/bin/time -f '%M %e' -o "$case/time" \
    strace -f -qq -o "$case/trace" -e trace=open,openat,openat2,connect,socket,creat \
    "${command[@]}" >"$case/out" 2>"$case/err"
  status=$?
  local label="$kind $name ($(( size / 1024 )) KB)"
  if [ "$status" -eq 124 ]; then
    fail "$label" "no terminó en $limit_seconds s"
    return
  fi
  if [ "$status" -ne 1 ] && { [ "$status" -ne 0 ] || [ "$outcomes" = error ]; }; then
    fail "$label" "estado $status: $(head -c 300 "$case/err")"
    return
  fi
  if [ "$status" -eq 1 ] && ! grep -q '^El archivo «.*» no es un documento XML válido' "$case/err"; then
    fail "$label" "el mensaje no lo explica: $(head -c 300 "$case/err")"
    return
  fi
  if [ "$status" -eq 0 ] && [ "$outcomes" = same ] && ! same_result "$kind" "$case" "$name"; then
    fail "$label" "el resultado no es el del archivo sin trampas"
    return
  fi
  if grep -rqs "CONTRASE" "$case/err" "$case/out" "$case/ztemp" "$work"/ResultadoZendal* ; then
    fail "$label" "ha leído un archivo de fuera"
    return
  fi
  if grep -Eq 'secreto\.txt|colvaria\.dtd|connect\(|socket\(' "$case/trace"; then
    fail "$label" "ha intentado abrir: $(grep -E 'secreto|colvaria\.dtd|connect|socket' "$case/trace" | head -3)"
    return
  fi
  local kilobytes seconds bound
  # The last line: a command ended by a signal gets a line of its own before it.
  read -r kilobytes seconds < <(tail -n 1 "$case/time")
  bound=$(( (multiplier * size + 50 * 1024 * 1024) / 1024 ))
  if [ "$kilobytes" -gt "$bound" ]; then
    fail "$label" "memoria $((kilobytes / 1024)) MB, más que $((bound / 1024)) MB"
    return
  fi
  rm -f "$work"/ResultadoZendal*
  ok "$label: estado $status, $((kilobytes / 1024)) MB, $seconds s"
}

for kind in export import; do
  multiplier=4
  [ "$kind" = import ] && multiplier=12
  for name in risas cuadratica atributo anidado bytes-invalidos texto-enorme; do
    run_case "$name" "$kind" error "$multiplier"
  done
  for name in entidad-archivo entidad-relativa entidad-red; do
    run_case "$name" "$kind" either "$multiplier"
  done
  for name in dtd-archivo dtd-red utf16 bom-contradice; do
    run_case "$name" "$kind" same "$multiplier"
  done
done

echo "XML hostil: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
