#!/usr/bin/env bash
# The example school end to end: exportar with both time frames, then every table the run wrote,
# dumped by `tabla`, compared with the reviewed copies in tests/golden/instituto-ejemplo.
# Usage: example_school.sh PATH-TO-transzendal-cli REPOSITORY-ROOT [SCHOOL-FILE]
#   SCHOOL-FILE: the example school as a package installed it (default: the repository's); the
#   path is given to the program as it is.
# With REGENERATE_GOLDEN=1 the copies are written anew instead; read the diff before committing.
set -u
cli=$1
root=$2
school=${3:-$root/examples/instituto-ejemplo.xml}
golden="$root/tests/golden/instituto-ejemplo"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
exchange="$work/ztemp"
mkdir -p "$exchange"

if ! "$cli" exportar "$school" --directorio "$exchange" --marcos 1,2 >"$work/summary.txt"; then
  echo "FALLO: exportar del centro de ejemplo"
  cat "$work/summary.txt"
  exit 1
fi
failures=0
passed=0
for table in summary ASIGNOMT PROFT AULAT DIASHORAST GRUPOST ASIGT; do
  if [ "$table" = summary ]; then
    actual="$work/summary.txt"
  else
    actual="$work/$table.csv"
    "$cli" tabla "$table" --directorio "$exchange" >"$actual" || { echo "FALLO: tabla $table"; failures=$((failures + 1)); continue; }
  fi
  expected="$golden/$table.$([ "$table" = summary ] && echo txt || echo csv)"
  if [ "${REGENERATE_GOLDEN:-0}" = 1 ]; then
    cp "$actual" "$expected"
  elif ! diff -u "$expected" "$actual" >"$work/diff"; then
    echo "FALLO: $table difiere de $expected"
    head -40 "$work/diff"
    failures=$((failures + 1))
    continue
  fi
  passed=$((passed + 1))
done
# SOLUC and every other file of the exchange directory is the timetable program's: the run wrote
# exactly the six tables.
listing=$(cd "$exchange" && ls -A | tr '\n' ' ')
if [ "$listing" != "ASIGNOMT.DBF ASIGT.DBF AULAT.DBF DIASHORAST.DBF GRUPOST.DBF PROFT.DBF " ]; then
  echo "FALLO: el directorio de intercambio contiene: $listing"
  failures=$((failures + 1))
else
  passed=$((passed + 1))
fi
echo "$passed passed, $failures failed"
[ "$failures" -eq 0 ]
