#!/usr/bin/env bash
# What only the Windows build can show, under Wine: names with accents and blanks given as Windows
# paths, the default exchange directory C:\ZTEMP, a table that another Windows process holds, the
# lock of a killed run, and the same tables as the Linux build.
# Usage: windows_only.sh WINDOWS-BUILD-DIR REPOSITORY-ROOT [LINUX-transzendal-cli]
# WINEPREFIX must name a prepared prefix (scripts/test-windows makes one).
set -u
dir=$1
root=$2
native=${3:-}
: "${WINEPREFIX:?WINEPREFIX must name a Wine prefix}"
export WINEDEBUG=-all
unset TRANSZENDAL_ZTEMP
work=$(mktemp -d)
holder_pid=
cleanup() {
  [ -n "$holder_pid" ] && kill -9 "$holder_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
passed=0

cli() { wine "$dir/transzendal-cli.exe" "$@"; }
source "$root/tests/support/wine_path.sh"
fail() {
  echo "FALLO: $*"
  failures=$((failures + 1))
}
ok() { passed=$((passed + 1)); }
tables_in() { (cd "$1" && ls -A | grep -c '\.DBF$'); }

# Starts windows-holder on WHAT PATH and waits until it holds.
hold() {
  wine "$dir/windows-holder.exe" "$1" "$2" >"$work/holder.out" 2>&1 &
  holder_pid=$!
  for _ in $(seq 100); do
    grep -q retenido "$work/holder.out" && return 0
    sleep 0.1
  done
  echo "el ayudante no retiene $2: $(cat "$work/holder.out")"
  return 1
}
release() {
  kill -9 "$holder_pid" 2>/dev/null
  wait "$holder_pid" 2>/dev/null
  holder_pid=
}

# Accents and blanks in the school file's name, its folder and the exchange directory.
folder="$work/Datos del centro Ñandú"
exchange="$work/Intercambio Peñalara"
school="$folder/Horario Año 2026–27.xml"
mkdir -p "$folder" "$exchange"
cp "$root/examples/instituto-ejemplo.xml" "$school"
if cli exportar "$(winpath "$school")" --directorio "$(winpath "$exchange")" --marcos 1,2 \
    >"$work/out" 2>"$work/err" && [ "$(tables_in "$exchange")" -eq 6 ]; then
  ok
else
  fail "exportar con acentos y espacios: $(cat "$work/out" "$work/err")"
fi
TRANSZENDAL_ZTEMP=$(winpath "$exchange") wine "$dir/simulador-zendalor.exe" >"$work/out" 2>&1 ||
  fail "el simulador no ha escrito SOLUC: $(cat "$work/out")"
if cli importar "$(winpath "$school")" --directorio "$(winpath "$exchange")" >"$work/out" 2>"$work/err" &&
    grep -q '<horario><tramo' "$folder/ResultadoZendalHorario Año 2026–27.xml"; then
  ok
else
  fail "importar con acentos y espacios: $(cat "$work/out" "$work/err")"
fi

# A table held open without sharing by another process stops the run with the message naming it.
if hold tabla "$(winpath "$exchange/SOLUC.DBF")"; then
  cli importar "$(winpath "$school")" --directorio "$(winpath "$exchange")" >"$work/out" 2>"$work/err"
  status=$?
  expected="La tabla SOLUC («$(winpath "$exchange")\\SOLUC.DBF») está abierta en otro programa, que no permite usarla a la vez. Ciérrela en ese programa y vuelva a intentarlo."
  if [ "$status" -ne 0 ] && [ "$(cat "$work/err")" = "$expected" ]; then
    ok
  else
    fail "una tabla retenida: estado $status, errores: $(cat "$work/err")"
  fi
  release
else
  fail "no se pudo retener SOLUC.DBF"
fi

# A run that holds the directory refuses a second one; killed, it leaves no lock file behind and
# the next run works.
if hold directorio "$(winpath "$exchange")"; then
  cli exportar "$(winpath "$school")" --directorio "$(winpath "$exchange")" --marcos 1 \
    >"$work/out" 2>"$work/err"
  status=$?
  expected="Otra ejecución del conversor está usando el directorio de intercambio «$(winpath "$exchange")». Espere a que termine y vuelva a intentarlo."
  if [ "$status" -ne 0 ] && [ "$(cat "$work/err")" = "$expected" ]; then ok; else
    fail "el directorio ocupado: estado $status, errores: $(cat "$work/err")"
  fi
  release
  sleep 0.5  # the Wine server closes the killed process's handles
  if [ -e "$exchange/.transzendal-lock" ]; then fail "el proceso matado dejó el archivo de bloqueo"; else ok; fi
  if cli exportar "$(winpath "$school")" --directorio "$(winpath "$exchange")" --marcos 1 \
      >"$work/out" 2>"$work/err"; then ok; else
    fail "la ejecución tras la matada: $(cat "$work/err")"
  fi
else
  fail "no se pudo retener el directorio de intercambio"
fi

# Neither --directorio nor TRANSZENDAL_ZTEMP: C:\ZTEMP of the prefix.
ztemp="$WINEPREFIX/drive_c/ZTEMP"
rm -rf "$ztemp"
mkdir -p "$ztemp"
if cli exportar "$(winpath "$school")" --marcos 1,2 >"$work/out" 2>"$work/err" &&
    [ "$(tables_in "$ztemp")" -eq 6 ]; then
  ok
else
  fail "exportar a C:\\ZTEMP: $(cat "$work/out" "$work/err")"
fi

# The same six tables as the Linux build, byte for byte but for the header's date (bytes 2 to 4).
if [ -n "$native" ]; then
  linux="$work/linux"
  mkdir -p "$linux"
  "$native" exportar "$school" --directorio "$linux" --marcos 1,2 >/dev/null ||
    fail "exportar con el programa de Linux"
  for table in ASIGNOMT PROFT AULAT DIASHORAST GRUPOST ASIGT; do
    if cmp -s <(head -c 1 "$linux/$table.DBF"; tail -c +5 "$linux/$table.DBF") \
              <(head -c 1 "$ztemp/$table.DBF"; tail -c +5 "$ztemp/$table.DBF"); then
      ok
    else
      fail "$table difiere entre Linux y Windows"
    fi
  done
fi
rm -rf "$ztemp"

echo "$passed passed, $failures failed"
[ "$failures" -eq 0 ]
