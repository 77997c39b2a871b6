#!/usr/bin/env bash
# Disk and file-system faults and concurrent use, met by the forward run (exportar) and the reverse
# run (importar) of transzendal-cli: a full disk (a file-size limit, a small tmpfs), an exchange
# directory or a school folder that becomes read-only, a folder where a table or the result should
# be, a second run and other programs holding the directory or a table. Every fault must end in a
# clear Spanish message and exit status 1, with the exchange directory and the school file's folder
# byte for byte as they were and no working folder or temporary file left behind.
# Usage: faults.sh TRANSZENDAL-CLI SIMULADOR REPOSITORY-ROOT
# Runs as root: it mounts small file systems when it may, and runs the converter as user 65534
# (setpriv) where permission bits must stop it.
set -u
cli_built=$1
simulator_built=$2
root=$3
for tool in setpriv flock sha256sum df mount; do
  command -v "$tool" >/dev/null || { echo "faults: falta $tool (scripts/install-deps)" >&2; exit 2; }
done
# Without root there is no second user and no mount: the test is skipped (CTest's status 77).
[ "$(id -u)" -eq 0 ] || { echo "faults: omitido: hace falta ejecutarlo como root"; exit 77; }

top=$(mktemp -d)
work=$top
holders=()
mounts=()
cleanup() {
  local pid index
  for pid in "${holders[@]}"; do kill -CONT "$pid" 2>/dev/null; kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  for ((index = ${#mounts[@]} - 1; index >= 0; index--)); do umount "${mounts[index]}" 2>/dev/null; done
  rm -rf "$top"
}
trap cleanup EXIT
# The cases live in memory where a tmpfs can be mounted: every run syncs its files to disk, which
# on a busy disk costs far more than the runs themselves.
if mount -t tmpfs -o size=256m tmpfs "$top" 2>/dev/null; then mounts+=("$top"); fi
chmod 0755 "$work"  # user 65534 must reach the copies of the programs and the cases below
passed=0
failed=0
nobody=65534
tables=(ASIGNOMT PROFT AULAT DIASHORAST GRUPOST ASIGT)
school=$root/examples/instituto-ejemplo.xml

# Copies of the programs in a folder every user may enter: the build tree may be private.
mkdir -m 0755 "$work/bin"
cp "$cli_built" "$work/bin/transzendal-cli"
cp "$simulator_built" "$work/bin/simulador-zendalor"
chmod 0755 "$work/bin/"*
cli=$work/bin/transzendal-cli

ok() { echo "ok     $1"; passed=$((passed + 1)); }
fail() {
  echo "FALLO  $1"
  shift
  local line
  for line in "$@"; do echo "         $line"; done
  failed=$((failed + 1))
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# run LIMIT-KB USER ARGS...: the converter with a file-size limit in KiB ("-" for none), as user
# 65534 when USER is "nadie"; a write past the limit fails with EFBIG, since SIGXFSZ is ignored.
# Sets status and elapsed (ms); standard output in $work/out, standard error in $work/err.
run() {
  local limit=$1 user=$2
  shift 2
  local -a command=("$cli" "$@")
  # shellcheck disable=SC2016  # expanded by the inner shell
  [ "$limit" = - ] || command=(bash -c 'trap "" XFSZ; ulimit -f "$0"; exec "$@"' "$limit" "${command[@]}")
  [ "$user" != nadie ] || command=(setpriv "--reuid=$nobody" "--regid=$nobody" --clear-groups "${command[@]}")
  local start
  start=$(now_ms)
  "${command[@]}" >"$work/out" 2>"$work/err"
  status=$?
  elapsed=$(($(now_ms) - start))
}

# at_once: sets quick_ms, the longest a run that stops at once may take: a second, or three times
# what the program takes just to start and print its version on this machine now (the tests share
# it with others, and the sanitizers make every start slow).
at_once() {
  local start
  start=$(now_ms)
  "$cli" --version >/dev/null
  quick_ms=$((3 * ($(now_ms) - start)))
  [ "$quick_ms" -ge 1000 ] || quick_ms=1000
}

# snapshot FOLDER: every entry below it, hidden ones too, with its type, mode and size, and the
# SHA-256 of every file. Folder sizes are left out: they do not shrink when an entry goes.
snapshot() {
  find "$1" -mindepth 1 \( -type d -printf '%P d %m\n' -o -printf '%P %y %m %s\n' \) , \
    -type f -exec sha256sum {} + | LC_ALL=C sort
}

# The working entries of a replacement and temporary files of a save, anywhere below FOLDER.
leftovers() {
  find "$1" -mindepth 1 \( -name '.transzendal*' -o -name '*.tmp' \) -printf '%P\n'
}

# A case: an exchange directory and a school folder with the example school, under BASE, copied
# from a template made below. new_case TEMPLATE NAME [BASE]: sets case, ztemp and folder.
new_case() {
  case=${3:-$work}/$2
  ztemp=$case/ztemp
  folder=$case/escuela
  cp -a "$work/$1" "$case"
}
earlier_result() { printf '<?xml version="1.0"?>\n<datosZPH><horario/></datosZPH>\n' >"$folder/ResultadoZendalcentro.xml"; }

before_exchange=
before_folder=
remember() {
  before_exchange=$(snapshot "$ztemp")
  before_folder=$(snapshot "$folder")
}

# expect_fault NAME PHRASE...: status 1, every PHRASE in the message, both folders as remembered,
# nothing left behind.
expect_fault() {
  local name=$1
  shift
  local -a problems=()
  [ "$status" -eq 1 ] || problems+=("estado $status (esperado 1)")
  local phrase
  for phrase in "$@"; do
    grep -qF -- "$phrase" "$work/err" || problems+=("el mensaje no dice «$phrase»")
  done
  [ "$(snapshot "$ztemp")" = "$before_exchange" ] ||
    problems+=("el directorio de intercambio ha cambiado: $(diff <(echo "$before_exchange") <(snapshot "$ztemp") | grep '^[<>]' | head -3 | tr '\n' ' ')")
  [ "$(snapshot "$folder")" = "$before_folder" ] ||
    problems+=("la carpeta del archivo del centro ha cambiado: $(diff <(echo "$before_folder") <(snapshot "$folder") | grep '^[<>]' | head -3 | tr '\n' ' ')")
  local left
  left=$(leftovers "$case" | tr '\n' ' ')
  [ -z "$left" ] || problems+=("restos: $left")
  if [ "${#problems[@]}" -eq 0 ]; then
    ok "$name"
  else
    fail "$name" "${problems[@]}" "mensaje: $(head -c 300 "$work/err")"
  fi
}

# dumps FOLDER OUT: every table of FOLDER as «tabla» shows it (CSV), into the folder OUT.
dumps() {
  local table
  mkdir -p "$2"
  for table in "${tables[@]}"; do
    "$cli" tabla "$table" --directorio "$1" >"$2/$table.csv" 2>&1 || echo "error $?" >>"$2/$table.csv"
  done
}
# same_set FOLDER REFERENCE [dumps]: empty when the six tables of FOLDER are those of REFERENCE:
# the same bytes but the header's date (bytes 2 to 4) and, with "dumps", the same rows as «tabla»
# shows them.
same_set() {
  local table
  for table in "${tables[@]}"; do
    cmp -s -i 4 "$1/$table.DBF" "$2/$table.DBF" || echo "$table (bytes)"
  done
  [ "${3:-}" = dumps ] || return 0
  dumps "$1" "$work/dumps-now"
  for table in "${tables[@]}"; do
    cmp -s "$work/dumps-now/$table.csv" "$2/dumps/$table.csv" || echo "$table (filas)"
  done
  rm -rf "$work/dumps-now"
}

# holds PID PATH: true when process PID ("[0-9]+" for any) took an flock on PATH that is still
# held (seen in /proc/locks, by inode).
holds() {
  local inode
  inode=$(stat -c %i "$2") || return 1
  grep -Eq "^[0-9]+: FLOCK +ADVISORY +[A-Z]+ +$1 +[0-9a-f]+:[0-9a-f]+:$inode " /proc/locks
}
# hold MODE PATH: another program holds PATH (flock -x or -s) until release; sets holder. One
# process opens PATH, has flock(1) lock it and becomes the sleeper, so killing it ends the hold.
hold() {
  (exec 9<"$2" && flock "$1" 9 && exec sleep 120) &
  holder=$!
  holders+=("$holder")
  local tries=0
  until holds "[0-9]+" "$2"; do
    tries=$((tries + 1))
    [ "$tries" -lt 500 ] || { echo "faults: flock no llega a bloquear $2" >&2; return 1; }
    sleep 0.01
  done
}
release() { kill "$holder" 2>/dev/null; wait "$holder" 2>/dev/null; }

# running PID: the process exists and has not ended (a zombie still answers kill -0).
running() {
  local state
  { read -r _ _ state _ <"/proc/$1/stat"; } 2>/dev/null || return 1
  [ "$state" != Z ]
}

# A forward run stopped (SIGSTOP) while it holds the exchange directory; sets forward_pid, or
# leaves it empty when five runs all ended before they could be caught holding it.
stop_forward_holding() {
  forward_pid=
  for _ in 1 2 3 4 5; do
    "$cli" exportar "$folder/centro.xml" --directorio "$ztemp" --marcos 1,2 \
      >"$work/forward-out" 2>"$work/forward-err" &
    local pid=$!
    while running "$pid"; do
      if holds "$pid" "$ztemp"; then
        kill -STOP "$pid"
        forward_pid=$pid
        holders+=("$pid")
        return
      fi
    done
    wait "$pid"
  done
}
finish_forward() {
  kill -CONT "$forward_pid"
  wait "$forward_pid"
  forward_status=$?
}

# --- References: the old set (frame 1), the new sets (frames 1 and 2; frame 2), SOLUC, the result -
reference() {  # reference NAME FRAMES
  mkdir -p "$work/$1"
  "$cli" exportar "$school" --directorio "$work/$1" --marcos "$2" >/dev/null 2>"$work/err" || {
    echo "faults: no se ha podido preparar la referencia $1: $(cat "$work/err")" >&2
    exit 1
  }
}
reference ref-old 1
reference ref-new 1,2
reference ref-frame2 2
dumps "$work/ref-new" "$work/ref-new/dumps"
"$work/bin/simulador-zendalor" --directorio "$work/ref-new" >/dev/null || {
  echo "faults: el simulador no ha escrito SOLUC" >&2
  exit 1
}
mkdir -p "$work/ref-school"
cp "$school" "$work/ref-school/centro.xml"
"$cli" importar "$work/ref-school/centro.xml" --directorio "$work/ref-new" >/dev/null 2>"$work/err" || {
  echo "faults: no se ha podido preparar el resultado de referencia: $(cat "$work/err")" >&2
  exit 1
}
reference_result=$work/ref-school/ResultadoZendalcentro.xml
cp "$work/ref-new/SOLUC.DBF" "$work/ref-old/"

# The templates: for exportar, the old set (frame 1); for importar, the new set (frames 1 and 2);
# both with SOLUC and a file of another program beside the tables.
for template in tpl-forward:ref-old tpl-reverse:ref-new; do
  mkdir -p "$work/${template%:*}/ztemp" "$work/${template%:*}/escuela"
  cp "$work/${template#*:}/"*.DBF "$work/${template%:*}/ztemp/"
  echo "notas de otro programa" >"$work/${template%:*}/ztemp/NOTAS.TXT"
  cp "$school" "$work/${template%:*}/escuela/centro.xml"
done
# forward_case NAME [BASE]: a case for exportar. reverse_case NAME [BASE]: a case for importar.
forward_case() { new_case tpl-forward "$1" "${2:-}"; }
reverse_case() { new_case tpl-reverse "$1" "${2:-}"; }

size_of() { stat -c %s "$1"; }

# --- (a) A full disk: a limit on the size of a file -------------------------------------------
# Limits just under the size of each table: the failure falls in the first table of the run that
# does not fit, one case for each table where it can fall.
declare -A failing_tried=()
for table in "${tables[@]}"; do
  limit=$((($(size_of "$work/ref-new/$table.DBF") - 1) / 1024))
  failing=
  for candidate in "${tables[@]}"; do
    if [ "$(size_of "$work/ref-new/$candidate.DBF")" -gt $((limit * 1024)) ]; then failing=$candidate; break; fi
  done
  [ -z "${failing_tried[$failing]:-}" ] || continue
  failing_tried[$failing]=1
  forward_case "exportar-limite-$limit"
  remember
  run "$limit" root exportar "$folder/centro.xml" --directorio "$ztemp" --marcos 1,2
  expect_fault "exportar con archivos de a lo sumo $limit KiB: falla la tabla $failing" \
    "No se puede escribir la tabla $failing" "el archivo ha llegado al tamaño máximo"
done
result_size=$(size_of "$reference_result")
for limit_and_earlier in "1 con" "$((result_size / 2048)) sin" "$((result_size / 1024 - 1)) con"; do
  read -r limit earlier <<<"$limit_and_earlier"
  reverse_case "importar-limite-$limit"
  [ "$earlier" = sin ] || earlier_result
  remember
  run "$limit" root importar "$folder/centro.xml" --directorio "$ztemp"
  expect_fault "importar con archivos de a lo sumo $limit KiB, $earlier resultado anterior" \
    "No se puede guardar el archivo «$folder/ResultadoZendalcentro.xml»" \
    "el archivo ha llegado al tamaño máximo"
done

# --- (a) A full disk: a small tmpfs, filled up to a chosen free space -------------------------
# fill_to BYTES: a file outside the case folders takes all but BYTES of the tmpfs.
fill_to() {
  rm -f "$disk/relleno"
  local free
  free=$(df -B1 --output=avail "$disk" | tail -1)
  [ "$free" -le "$1" ] || head -c $((free - $1)) /dev/zero >"$disk/relleno"
}
pages() { echo $((($1 + 4095) / 4096 * 4096)); }
disk=$work/disco
mkdir -p "$disk"
if mount -t tmpfs -o size=2m,mode=0755 tmpfs "$disk" 2>"$work/err"; then
  mounts+=("$disk")
  # Room for none of the new tables, for the first ones, and for all of them but not the journal.
  room=0
  rooms=(0)
  for table in "${tables[@]}"; do
    room=$((room + $(pages "$(size_of "$work/ref-new/$table.DBF")")))
    rooms+=("$room")
  done
  for fitting in 0 2 4 6; do
    free=${rooms[fitting]}
    where="la tabla ${tables[fitting]:-} («"  # created or written: the message names the table
    [ "$fitting" -lt 6 ] || where="No se puede escribir el diario de sustitución de tablas"
    rm -rf "${disk:?}/"*
    forward_case "exportar-lleno-$free" "$disk"
    fill_to "$free"
    remember
    run - root exportar "$folder/centro.xml" --directorio "$ztemp" --marcos 1,2
    expect_fault "exportar en un disco con $((free / 1024)) KiB libres: falla ${where%% («}" \
      "$where" "el disco está lleno"
  done
  for free in 0 $((result_size / 2)) $((result_size - 8192)); do
    rm -rf "${disk:?}/"*
    reverse_case "importar-lleno-$free" "$disk"
    earlier_result
    fill_to "$free"
    remember
    run - root importar "$folder/centro.xml" --directorio "$ztemp"
    expect_fault "importar en un disco con $((free / 1024)) KiB libres" \
      "No se puede guardar el archivo «$folder/ResultadoZendalcentro.xml»: el disco está lleno."
  done
  rm -rf "${disk:?}/"*
else
  echo "omitido  el disco lleno de verdad: no se puede montar un tmpfs ($(head -c 200 "$work/err"))"
fi

# --- (b) An exchange directory that becomes read-only ------------------------------------------
# The user owns the files; then the folder's write permission goes (root would ignore it).
forward_case exportar-solo-lectura
chown -R $nobody:$nobody "$case"
chmod 0555 "$ztemp"
remember
run - nadie exportar "$folder/centro.xml" --directorio "$ztemp" --marcos 1,2
expect_fault "exportar a un directorio de intercambio de solo lectura" \
  "No se puede escribir en el directorio de intercambio «$ztemp»; no se ha modificado ninguna tabla."

# The reverse run writes nothing there: it must succeed and leave the directory as it was.
reverse_case importar-solo-lectura
chown -R $nobody:$nobody "$case"
chmod 0555 "$ztemp"
remember
run - nadie importar "$folder/centro.xml" --directorio "$ztemp"
if [ "$status" -eq 0 ] && cmp -s "$folder/ResultadoZendalcentro.xml" "$reference_result" &&
  [ "$(snapshot "$ztemp")" = "$before_exchange" ] && [ -z "$(leftovers "$case")" ]; then
  ok "importar desde un directorio de intercambio de solo lectura: resultado completo, directorio intacto"
else
  fail "importar desde un directorio de intercambio de solo lectura" "estado $status" "$(head -c 300 "$work/err")"
fi
# Tables that can't be opened for writing stop it (a known limit), with no result.
reverse_case importar-tablas-solo-lectura
earlier_result
chown -R $nobody:$nobody "$case"
chmod 0444 "$ztemp"/*.DBF
chmod 0555 "$ztemp"
remember
run - nadie importar "$folder/centro.xml" --directorio "$ztemp"
expect_fault "importar con las tablas de solo lectura" "No se puede abrir la tabla" \
  "no hay permiso para usar el archivo."

# A read-only mount refuses root too. readonly_mount FOLDER: FOLDER bind-mounted onto itself,
# read-only; false when mounting is refused here.
readonly_mount() {
  mount --bind "$1" "$1" 2>"$work/err" || return 1
  mounts+=("$1")
  mount -o remount,bind,ro "$1" 2>"$work/err" && return 0
  umount "$1"
  return 1
}
forward_case exportar-montaje-solo-lectura
if readonly_mount "$ztemp"; then
  remember
  run - root exportar "$folder/centro.xml" --directorio "$ztemp" --marcos 1,2
  expect_fault "exportar a un directorio de intercambio montado de solo lectura" \
    "No se puede escribir en el directorio de intercambio «$ztemp»; no se ha modificado ninguna tabla."
  umount "$ztemp"
  reverse_case importar-montaje-solo-lectura
  earlier_result
  readonly_mount "$ztemp"
  remember
  run - root importar "$folder/centro.xml" --directorio "$ztemp"
  expect_fault "importar desde un directorio de intercambio montado de solo lectura (límite conocido)" \
    "No se puede abrir la tabla" "el disco es de solo lectura."
  umount "$ztemp"
else
  echo "omitido  el montaje de solo lectura: $(head -c 200 "$work/err")"
fi

# --- (c) A folder where a table should be -------------------------------------------------------
for entry in ASIGT.DBF proft.dbf ASIGNOMT.MDX; do
  forward_case "exportar-carpeta-$entry"
  rm -f "$ztemp/$entry"
  mkdir "$ztemp/$entry"
  echo "de otro programa" >"$ztemp/$entry/nota.txt"
  table=${entry%%.*}
  table=${table^^}
  remember
  run - root exportar "$folder/centro.xml" --directorio "$ztemp" --marcos 1,2
  expect_fault "exportar con una carpeta $entry en el lugar de la tabla $table" \
    "«$ztemp/$entry» es una carpeta y ocupa el lugar de la tabla $table" \
    "no se ha modificado ninguna tabla."
done
for table in ASIGT SOLUC; do
  reverse_case "importar-carpeta-$table"
  earlier_result
  rm "$ztemp/$table.DBF"
  mkdir "$ztemp/$table.DBF"
  remember
  run - root importar "$folder/centro.xml" --directorio "$ztemp"
  expect_fault "importar con una carpeta en el lugar de la tabla $table" \
    "No se puede abrir la tabla $table («$ztemp/$table.DBF»): es una carpeta, no un archivo."
done

# --- (d) A result that can't be put in place ------------------------------------------------------
reverse_case importar-resultado-carpeta
mkdir "$folder/ResultadoZendalcentro.xml"
echo "de otro programa" >"$folder/ResultadoZendalcentro.xml/nota.txt"
remember
run - root importar "$folder/centro.xml" --directorio "$ztemp"
expect_fault "importar cuando el resultado es una carpeta con archivos" \
  "No se puede guardar el archivo «$folder/ResultadoZendalcentro.xml»: es una carpeta, no un archivo."
for earlier in sin con; do
  reverse_case "importar-carpeta-solo-lectura-$earlier"
  [ "$earlier" = sin ] || earlier_result
  chown -R $nobody:$nobody "$case"
  chmod 0555 "$folder"
  remember
  run - nadie importar "$folder/centro.xml" --directorio "$ztemp"
  expect_fault "importar con la carpeta del archivo del centro de solo lectura, $earlier resultado anterior" \
    "No se puede guardar el archivo «$folder/ResultadoZendalcentro.xml»: no hay permiso para usar el archivo."
done

# --- (e) Two forward runs on one exchange directory ---------------------------------------------
busy="Otra ejecución del conversor está usando el directorio de intercambio «"
forward_case exportar-directorio-retenido
hold -x "$ztemp"
remember
run - root exportar "$folder/centro.xml" --directorio "$ztemp" --marcos 1,2
expect_fault "exportar mientras otro proceso retiene el directorio" "$busy$ztemp»"
at_once
[ "$elapsed" -lt "$quick_ms" ] ||
  fail "exportar ante un directorio retenido se detiene enseguida" "tardó $elapsed ms (límite $quick_ms)"
release

# A real forward run caught holding the directory, then a second one.
forward_case exportar-dos-a-la-vez
stop_forward_holding
if [ -z "$forward_pid" ]; then
  fail "una exportación detenida con el directorio tomado" "ninguna de cinco se pudo detener a tiempo"
else
  run - root exportar "$folder/centro.xml" --directorio "$ztemp" --marcos 2
  second=$status
  second_ms=$elapsed
  at_once
  grep -qF "$busy$ztemp»" "$work/err"
  second_message=$?
  finish_forward
  mix=$(same_set "$ztemp" "$work/ref-new" dumps)
  left=$(leftovers "$case")
  if [ "$second" -eq 1 ] && [ "$second_message" -eq 0 ] && [ "$second_ms" -lt "$quick_ms" ] &&
    [ "$forward_status" -eq 0 ] && [ -z "$mix" ] && [ -z "$left" ]; then
    ok "exportar mientras otra exportación trabaja: se detiene en $second_ms ms; queda el juego completo de la primera"
  else
    fail "exportar mientras otra exportación trabaja" "segunda: estado $second en $second_ms ms: $(cat "$work/err")" \
      "primera: estado $forward_status" "tablas distintas: $mix" "restos: $left"
  fi
fi

# Pairs started at the same instant (both wait on one FIFO), with different frames so that a mix
# of the two sets shows.
pairs=0
pair_failures=0
attempts=0
slowest=0
while [ "$pairs" -lt 10 ] && [ "$attempts" -lt 30 ]; do
  attempts=$((attempts + 1))
  rm -rf "$work/pareja"
  forward_case pareja
  gate=$work/pareja/salida
  mkfifo "$gate"
  exec 4<>"$gate"  # open both ways, so that neither side blocks in open
  pair=()
  for who in a b; do
    frames=1,2
    [ "$who" = a ] || frames=2
    # shellcheck disable=SC2016  # expanded by the inner shell
    bash -c 'exec 4<&-; read -r _ <"$1"; s=$(date +%s%N); "${@:2}" >"$1.$0.out" 2>"$1.$0.err"
             r=$?; e=$(date +%s%N); echo "$r $(((e - s) / 1000000)) $e" >"$1.$0.status"' \
      "$who" "$gate" "$cli" exportar "$folder/centro.xml" --directorio "$ztemp" --marcos "$frames" &
    pair+=($!)
  done
  sleep 0.3            # both are waiting for a line now
  printf 'ya\nya\n' >&4 # one write wakes both
  wait "${pair[@]}"
  exec 4>&-
  read -r status_a ms_a end_a <"$work/pareja/salida.a.status"
  read -r status_b ms_b end_b <"$work/pareja/salida.b.status"
  # Both completing means the second started after the first had let go: no pair; try again.
  if [ "$status_a" -eq 0 ] && [ "$status_b" -eq 0 ]; then
    if [ -n "$(same_set "$ztemp" "$work/ref-new")" ] && [ -n "$(same_set "$ztemp" "$work/ref-frame2")" ]; then
      pair_failures=$((pair_failures + 1))
      fail "dos exportaciones sucesivas dejan una mezcla de tablas"
    fi
    continue
  fi
  pairs=$((pairs + 1))
  if [ "$status_a" -eq 0 ] && [ "$status_b" -eq 1 ]; then
    winner=$work/ref-new loser=b loser_ms=$ms_b before_winner=$((end_b <= end_a))
  elif [ "$status_a" -eq 1 ] && [ "$status_b" -eq 0 ]; then
    winner=$work/ref-frame2 loser=a loser_ms=$ms_a before_winner=$((end_a <= end_b))
  else
    pair_failures=$((pair_failures + 1))
    fail "pareja $pairs de exportaciones a la vez" "estados $status_a y $status_b" \
      "$(cat "$work/pareja/salida.a.err" "$work/pareja/salida.b.err")"
    continue
  fi
  [ "$loser_ms" -le "$slowest" ] || slowest=$loser_ms
  mix=$(same_set "$ztemp" "$winner")
  left=$(leftovers "$case")
  # "At once": before the run that holds the directory ends, or within at_once's limit.
  at_once
  if ! grep -qF "$busy$ztemp»" "$work/pareja/salida.$loser.err" ||
    { [ "$loser_ms" -ge "$quick_ms" ] && [ "$before_winner" -eq 0 ]; } || [ -n "$mix" ] || [ -n "$left" ]; then
    pair_failures=$((pair_failures + 1))
    fail "pareja $pairs de exportaciones a la vez" "la detenida tardó $loser_ms ms (límite $quick_ms; antes que la otra: $before_winner): $(cat "$work/pareja/salida.$loser.err")" \
      "tablas distintas de las de la que terminó: $mix" "restos: $left"
  fi
done
if [ "$pairs" -eq 10 ] && [ "$pair_failures" -eq 0 ]; then
  ok "10 parejas de exportaciones a la vez ($attempts intentos): una termina, la otra se detiene en $slowest ms como mucho; un solo juego completo"
elif [ "$pairs" -lt 10 ]; then
  fail "10 parejas de exportaciones a la vez" "solo $pairs de $attempts intentos coincidieron"
fi

# --- (f) A table held by another program during the reverse run ---------------------------------
for held in "ASIGT -x sin" "SOLUC -x con" "SOLUC -s con"; do
  read -r table mode earlier <<<"$held"
  reverse_case "importar-tabla-retenida-$table$mode"
  [ "$earlier" = sin ] || earlier_result
  hold "$mode" "$ztemp/$table.DBF"
  remember
  run - root importar "$folder/centro.xml" --directorio "$ztemp"
  expect_fault "importar con la tabla $table retenida por otro programa (flock $mode), $earlier resultado anterior" \
    "La tabla $table («$ztemp/$table.DBF») está abierta en otro programa"
  release
done

# --- (g) A reverse run while a forward run holds the exchange directory -------------------------
reverse_case importar-directorio-retenido
earlier_result
hold -x "$ztemp"
remember
run - root importar "$folder/centro.xml" --directorio "$ztemp"
expect_fault "importar mientras otro proceso retiene el directorio" "$busy$ztemp»"
at_once
[ "$elapsed" -lt "$quick_ms" ] ||
  fail "importar ante un directorio retenido se detiene enseguida" "tardó $elapsed ms (límite $quick_ms)"
release

reverse_case importar-durante-exportar
cp "$work/ref-old/"*.DBF "$ztemp/"  # the forward run below replaces this set by the new one
earlier_result
before_folder=$(snapshot "$folder")
stop_forward_holding
if [ -z "$forward_pid" ]; then
  fail "una exportación detenida con el directorio tomado" "ninguna de cinco se pudo detener a tiempo"
else
  run - root importar "$folder/centro.xml" --directorio "$ztemp"
  reverse_status=$status
  reverse_ms=$elapsed
  at_once
  reverse_message=$(cat "$work/err")
  folder_after=$(snapshot "$folder")
  finish_forward
  mix=$(same_set "$ztemp" "$work/ref-new" dumps)
  if [ "$reverse_status" -eq 1 ] && [[ "$reverse_message" == *"$busy$ztemp»"* ]] &&
    [ "$reverse_ms" -lt "$quick_ms" ] && [ "$folder_after" = "$before_folder" ] &&
    [ "$forward_status" -eq 0 ] && [ -z "$mix" ] && [ -z "$(leftovers "$case")" ]; then
    ok "importar mientras una exportación trabaja: se detiene en $reverse_ms ms sin resultado; la exportación termina"
  else
    fail "importar mientras una exportación trabaja" "importar: estado $reverse_status en $reverse_ms ms: $reverse_message" \
      "exportar: estado $forward_status" "tablas distintas: $mix"
  fi
fi

echo "Fallos: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
