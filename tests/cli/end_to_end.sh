#!/usr/bin/env bash
# transzendal-cli as users and scripts call it: exit statuses, standard output and standard error.
# Usage: end_to_end.sh PATH-TO-transzendal-cli EXAMPLES-FOLDER PATH-TO-simulador-zendalor
set -u
cli=$1
examples=$2
simulator=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
passed=0

# check NAME EXPECTED-STATUS STDOUT-PATTERN EXPECTED-STDERR -- ARGS...
# An empty STDOUT-PATTERN means that nothing may be printed on standard output.
check() {
  local name=$1 status=$2 out_pattern=$3 err_expected=$4
  shift 5
  "$cli" "$@" >"$work/out" 2>"$work/err"
  local got=$?
  local out err
  out=$(cat "$work/out")
  err=$(cat "$work/err")
  local out_ok=1
  if [ -z "$out_pattern" ]; then [ -z "$out" ] || out_ok=0; else grep -Eq -- "$out_pattern" "$work/out" || out_ok=0; fi
  if [ "$got" -ne "$status" ] || [ "$out_ok" -eq 0 ] || [ "$err" != "$err_expected" ]; then
    echo "FALLO: $name: estado $got (esperado $status)"
    echo "  salida: $out"
    echo "  errores: $err"
    failures=$((failures + 1))
  else
    passed=$((passed + 1))
  fi
}

mkdir -p "$work/ztemp"
check "exportar del centro de ejemplo" 0 '^  GRUPOST: 12 filas$' '' -- \
  exportar "$examples/instituto-ejemplo.xml" --directorio "$work/ztemp" --marcos 1,2
check "varios marcos sin --marcos" 2 '' "$(printf 'El archivo tiene varios marcos horarios: 1, 2. Elija uno o dos con --marcos ID[,ID] (por ejemplo --marcos 1).\nUse «transzendal-cli --help» para ver cómo se usa.')" -- \
  exportar "$examples/instituto-ejemplo.xml" --directorio "$work/ztemp"
check "un marco que el archivo no tiene" 2 '' "$(printf 'El archivo no tiene ningún marco horario «7». Sus marcos horarios son: 1, 2.\nUse «transzendal-cli --help» para ver cómo se usa.')" -- \
  exportar "$examples/instituto-ejemplo.xml" --directorio "$work/ztemp" --marcos 1,7
check "archivo inexistente" 3 '' 'No existe archivo' -- \
  exportar "$work/no-existe.xml" --directorio "$work/ztemp"
printf '<datosZPH><materias>' >"$work/roto.xml"
check "XML mal formado" 1 '' "El archivo «$work/roto.xml» no es un documento XML válido (línea 1): el documento está incompleto (termina sin cerrar sus elementos) o sigue después de su elemento raíz" -- \
  exportar "$work/roto.xml" --directorio "$work/ztemp"
check "sin orden" 2 '' "$(printf 'Falta la orden: exportar, importar o tabla.\nUse «transzendal-cli --help» para ver cómo se usa.')" --
check "ayuda" 0 '^Uso:' '' -- --help
TRANSZENDAL_ZTEMP="$work/ztemp" check "el directorio de intercambio por el entorno" 0 '^Proceso finalizado' '' -- \
  exportar "$examples/instituto-ejemplo.xml" --marcos 2

# The way back: the stand-in for the timetable program writes SOLUC, importar brings it back beside
# a copy of the school file (the examples folder stays as it is).
reminder='^desde el cual realizó la Importación a ZendaLor$'
cp "$examples/instituto-ejemplo.xml" "$work/centro.xml"
if ! "$simulator" --directorio "$work/ztemp" >"$work/out"; then
  echo "FALLO: el simulador no ha escrito SOLUC: $(cat "$work/out")"
  failures=$((failures + 1))
fi
check "importar del centro de ejemplo" 0 '^Horario escrito: [0-9]+ tramos\.$' '' -- \
  importar "$work/centro.xml" --directorio "$work/ztemp"
# The last exportar above applied frame 2 alone.
grep -q '<horario><tramo dia="0" indice="1" marco="2"><aula' "$work/ResultadoZendalcentro.xml" || {
  echo "FALLO: el resultado no tiene el horario"; failures=$((failures + 1)); }
check "importar avisa de qué archivo elegir" 0 "$reminder" '' -- \
  importar "$work/centro.xml" --directorio "$work/ztemp"
check "importar un archivo inexistente" 3 "$reminder" 'No existe archivo XML.' -- \
  importar "$work/no-existe.xml" --directorio "$work/ztemp"
check "importar un XML mal formado" 1 "$reminder" "El archivo «$work/roto.xml» no es un documento XML válido (línea 1): el documento está incompleto (termina sin cerrar sus elementos) o sigue después de su elemento raíz" -- \
  importar "$work/roto.xml" --directorio "$work/ztemp"
mkdir -p "$work/vacio"
check "importar sin las tablas de Zendalor" 1 "$reminder" "No existe la tabla SOLUC en el directorio «$work/vacio»." -- \
  importar "$work/centro.xml" --directorio "$work/vacio"
check "importar con --marcos" 2 '' "$(printf 'La opción «--marcos» no sirve para la orden «importar».\nUse «transzendal-cli --help» para ver cómo se usa.')" -- \
  importar "$work/centro.xml" --marcos 1

echo "$passed passed, $failures failed"
[ "$failures" -eq 0 ]
