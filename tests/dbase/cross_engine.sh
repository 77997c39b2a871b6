#!/usr/bin/env bash
# Three dBase engines agree: Free Pascal's TDbf and Python's dbfread read what the converter writes
# as the converter reads it, and the converter reads what TDbf writes as TDbf (and dbfread) read it.
# Every comparison is of the tabla command's CSV with the other engine's dump in the same form.
# Usage: cross_engine.sh TDBF_TOOL TRANSZENDAL_CLI SAMPLE_TABLES THIS_FOLDER EXAMPLES_FOLDER
set -u -o pipefail
tdbf=$1
cli=$2
samples=$3
here=$4
examples=$5
python=/usr/bin/python3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failures=0

fail() {
  echo "FALLO: $1"
  failures=$((failures + 1))
}

# same NAME FILE-A FILE-B: both files exist, are not empty and are byte for byte equal.
same() {
  if [ ! -s "$2" ] || [ ! -s "$3" ]; then
    fail "$1: salida vacía"
  elif cmp -s "$2" "$3"; then
    passed=$((passed + 1))
  else
    fail "$1"
    diff "$2" "$3" | head -20
  fi
}

# ours DIR TABLE OUT: the converter's CSV of TABLE.
ours() {
  "$cli" tabla "$2" --directorio "$1" >"$3" || fail "tabla $2 terminó con error"
}

# tdbf_csv FILE OUT: TDbf's dump, from Windows-1252 to UTF-8 like the converter's.
tdbf_csv() {
  "$tdbf" dump "$1" | iconv -f WINDOWS-1252 -t UTF-8 >"$2" || fail "TDbf no lee $1"
}

# Tables TDbf writes at levels 3, 4 and 7.
mkdir -p "$work/tdbf"
"$tdbf" write "$work/tdbf" || fail "TDbf no escribe sus tablas"
for table in NIVEL3 NIVEL4 NIVEL7; do
  ours "$work/tdbf" "$table" "$work/$table.ours"
  tdbf_csv "$work/tdbf/$table.DBF" "$work/$table.tdbf"
  same "$table escrita por TDbf: el conversor y TDbf" "$work/$table.ours" "$work/$table.tdbf"
  # The rows TDbf wrote, one of them deleted, and values that a wrong coding would change.
  [ "$(wc -l <"$work/$table.ours")" -eq 5 ] || fail "$table: se esperaban la cabecera y 4 filas"
  grep -q '^Peña Íñigo,12.5,42,-0.125,T,2024-03-05' "$work/$table.ours" || fail "$table: fila 1"
done
grep -q ',-2147483647,-0.5' "$work/NIVEL7.ours" || fail "NIVEL7: I y O negativos"
for table in NIVEL3 NIVEL4; do
  "$python" "$here/dbfread_dump.py" "$work/tdbf/$table.DBF" >"$work/$table.dbfread" ||
    fail "dbfread no lee $table"
  same "$table escrita por TDbf: el conversor y dbfread" "$work/$table.ours" "$work/$table.dbfread"
done

# Tables the converter writes: the sample tables, then every table of a forward run.
mkdir -p "$work/ours" "$work/ztemp"
"$samples" "$work/ours" || fail "no se escriben las tablas de muestra"
"$cli" exportar "$examples/instituto-ejemplo.xml" --marcos 1 --directorio "$work/ztemp" >/dev/null ||
  fail "exportar terminó con error"
for file in "$work/ours"/*.DBF "$work/ztemp"/*.DBF; do
  [ -e "$file" ] || continue
  table=$(basename "$file" .DBF)
  ours "$(dirname "$file")" "$table" "$work/$table.written.ours"
  tdbf_csv "$file" "$work/$table.written.tdbf"
  same "$table escrita por el conversor: el conversor y TDbf" "$work/$table.written.ours" \
    "$work/$table.written.tdbf"
done
grep -q $'^Miércoles,M,T,0,0\r$' "$work/MUESTRA.written.tdbf" || fail "MUESTRA: fila 1 según TDbf"
grep -q $'^,,,-2147483647,-1E-7\r$' "$work/MUESTRA.written.tdbf" || fail "MUESTRA: fila 5 según TDbf"

echo "$passed passed, $failures failed"
[ "$failures" -eq 0 ]
