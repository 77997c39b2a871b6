#!/usr/bin/env bash
# Crashes: the forward and the reverse run killed (SIGKILL) at many exact moments, and what the
# next commands find afterwards.
# Usage: crashes.sh PATH-TO-transzendal-cli PATH-TO-simulador-zendalor REPOSITORY-ROOT
#
# The moments come from strace's fault injection, which counts each system call on its own:
# "-e inject=S:signal=KILL:when=K" kills the process on entering its K-th call of S, before that
# call runs. One whole run is traced first; each chosen position P in its sequence of calls becomes
# the pair (S, K) of the call found there, so every point is one repeatable moment, and the killed
# run's own trace must end exactly at P. Points: CAIDAS_REPARTO (default 50) spread evenly over the
# whole run, plus every call that changes the disk while the new files are put in place, plus the
# call after the last of them.
#
# Forward run: the exchange directory holds a complete old set of the six tables, SOLUC and an
# unrelated file; exportar of a school whose tables all differ is killed; `tabla` (the next command,
# which finishes an interrupted replacement) must leave all six tables old or all six new, nothing
# else in the directory, SOLUC and the other file untouched; a complete exportar must then succeed.
# Reverse run: an earlier result file stands beside the school file; importar with a new SOLUC is
# killed; the result must be the earlier one or the new one, whole; the next importar must succeed
# and leave no temporary file behind.
# The command after the checks (a complete exportar, importar) runs once for each state found: two
# states that are the same bytes make it do the same. A killed save's temporary file has a new name
# each time, so a state with one always has its own.
# CAIDAS_TRABAJOS (default 2) points run at once, each in folders of its own.
set -u
if [ $# -ne 3 ]; then
  echo "Uso: crashes.sh TRANSZENDAL-CLI SIMULADOR REPOSITORIO"
  echo "Caidas: 0 passed, 1 failed"
  exit 2
fi
cli=$1
simulator=$2
root=$3
spread=${CAIDAS_REPARTO:-50}
jobs=${CAIDAS_TRABAJOS:-2}
example="$root/examples/instituto-ejemplo.xml"
tables=(ASIGNOMT PROFT AULAT DIASHORAST GRUPOST ASIGT)
start_time=$SECONDS

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failures=0

fail_setup() {
  echo "FALLO: $1"
  echo "Caidas: $passed passed, $((failures + 1)) failed"
  exit 1
}

[ "$spread" -ge 2 ] 2>/dev/null || fail_setup "CAIDAS_REPARTO debe ser un número de 2 o más"
if ! command -v strace >/dev/null; then
  fail_setup "falta strace (paquete de Debian strace): ejecute scripts/install-deps"
fi
# Without address randomisation the sanitizers' start-up reads /proc/self/maps in the same pieces
# every time, so that every run makes the same sequence of calls.
setarch -R true 2>/dev/null ||
  fail_setup "setarch -R no puede desactivar la aleatorización de direcciones"
# LeakSanitizer can't work under ptrace; the same setting everywhere keeps the traced run and the
# killed ones making the same calls.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

# ---- The two sets of tables and the two results --------------------------------------------------

# School B: the example with a change that reaches every table, exported with both time frames.
school_b="$work/centro-b.xml"
sed -e 's/>Música</>Música y Danza</' -e 's/>García López, Juan</>García López, Juana</' \
    -e 's/>Aula 1\.1</>Aula 1.1 bis</' -e 's/>1º ESO A</>1º ESO A bis</' "$example" >"$school_b"
cp "$school_b" "$work/centro-b.original"

# old: school A (the example, first time frame), with SOLUC and a file of someone else's.
mkdir -p "$work/viejo" "$work/nuevo"
"$cli" exportar "$example" --directorio "$work/viejo" --marcos 1 >/dev/null ||
  fail_setup "exportar del juego anterior"
"$simulator" --directorio "$work/viejo" >/dev/null || fail_setup "simulador en el juego anterior"
printf 'de otro programa\n' >"$work/viejo/otro.txt"
"$cli" exportar "$school_b" --directorio "$work/nuevo" --marcos 1,2 >/dev/null ||
  fail_setup "exportar del juego nuevo"
expected_listing="ASIGNOMT.DBF:ASIGT.DBF:AULAT.DBF:DIASHORAST.DBF:GRUPOST.DBF:PROFT.DBF"
expected_listing+=":SOLUC.DBF:otro.txt"
for set in viejo nuevo; do
  for table in "${tables[@]}"; do
    "$cli" tabla "$table" --directorio "$work/$set" --formato csv >"$work/$set.$table.csv" ||
      fail_setup "tabla $table del juego $set"
  done
done
for table in "${tables[@]}"; do
  if cmp -s "$work/viejo.$table.csv" "$work/nuevo.$table.csv"; then
    fail_setup "la tabla $table es igual en los dos juegos: la prueba no distinguiría una mezcla"
  fi
done

# The reverse run's exchange directories (one SOLUC each) and the two results they give.
mkdir -p "$work/vuelta-vieja" "$work/vuelta-nueva" "$work/res-viejo" "$work/res-nuevo"
if ! { "$cli" exportar "$example" --directorio "$work/vuelta-vieja" --marcos 1 >/dev/null &&
       "$simulator" --directorio "$work/vuelta-vieja" >/dev/null &&
       "$cli" exportar "$example" --directorio "$work/vuelta-nueva" --marcos 1,2 >/dev/null &&
       "$simulator" --directorio "$work/vuelta-nueva" >/dev/null; }; then
  fail_setup "preparar los directorios de la importación"
fi
result_name=ResultadoZendalcentro.xml
for which in viejo:vuelta-vieja nuevo:vuelta-nueva; do
  cp "$example" "$work/res-${which%%:*}/centro.xml"
  "$cli" importar "$work/res-${which%%:*}/centro.xml" --directorio "$work/${which#*:}" \
    >/dev/null || fail_setup "importar del resultado ${which%%:*}"
done
result_old="$work/res-viejo/$result_name"
result_new="$work/res-nuevo/$result_name"
cmp -s "$result_old" "$result_new" && fail_setup "los dos resultados de importar son iguales"

# ---- Folders of each job, and a state to start a point from --------------------------------------

# reset_forward JOB: the exchange directory holding the old set, SOLUC and the other file.
reset_forward() {
  rm -rf "$1/ztemp" && cp -a "$work/viejo" "$1/ztemp"
}
# reset_reverse DIR: the school file with its earlier result beside it, and the new SOLUC's tables.
reset_reverse() {
  rm -rf "$1/centro" "$1/ztemp" && mkdir -p "$1/centro" &&
    cp "$example" "$1/centro/centro.xml" && cp "$result_old" "$1/centro/$result_name" &&
    cp -a "$work/vuelta-nueva" "$1/ztemp"
}
listing() {
  (cd "$1" && find . -mindepth 1 -maxdepth 1 -printf '%f\n' | LC_ALL=C sort | paste -sd: -)
}

# command_for KIND JOB: the words of a run of KIND in the folders of JOB, one a line.
command_for() {
  case $1 in
    forward) printf '%s\n' exportar "$school_b" --directorio "$2/ztemp" --marcos 1,2 ;;
    reverse) printf '%s\n' importar "$2/centro/centro.xml" --directorio "$2/ztemp" ;;
  esac
}

# ---- The kill points -----------------------------------------------------------------------------

# The calls that create, move, remove or make durable an entry; openat only when it creates. (The
# writes of file contents fill temporary files only.)
changing='^(rename|renameat|renameat2|unlink|unlinkat|rmdir|mkdir|mkdirat|fsync|fdatasync|openat)$'

# plan KIND WINDOW-TEXT: traces one whole run of KIND and writes its points, one a line:
# "POSITION CALL OCCURRENCE WHERE CALLS" (WHERE: reparto, or ventana for the moment files go in
# place, which begins at the first call whose text holds WINDOW-TEXT; CALLS: the run's count).
plan() {
  # Folders named as long as the jobs' own: the sanitizers' allocations follow the lengths of paths.
  local kind=$1 window=$2 job="$work/trabajo-t"
  mkdir -p "$job"
  "reset_$kind" "$job"
  local -a command
  mapfile -t command < <(command_for "$kind" "$job")
  if ! setarch -R strace -f -qq -o "$job/trace" -e trace=all "$cli" "${command[@]}" \
       >"$job/out" 2>&1; then
    fail_setup "la ejecución trazada de $kind no terminó bien: $(tail -n 3 "$job/out")"
  fi
  local pids
  pids=$(grep -E '^[0-9]+ ' "$job/trace" | cut -d' ' -f1 | sort -u | wc -l)
  [ "$pids" -eq 1 ] ||
    fail_setup "la ejecución de $kind usa $pids procesos o hilos; el recuento sería ambiguo"
  # Only the calls of the converter's process: strace's own are never in its output file.
  awk -v spread="$spread" -v window="$window" -v changing="$changing" '
    match($0, /^[0-9]+ +[a-z0-9_]+\(/) {
      n++
      call = substr($0, RSTART, RLENGTH - 1); sub(/^[0-9]+ +/, "", call)
      name[n] = call; occurrence[n] = ++count[call]; text[n] = $0
    }
    END {
      # From the first call after the execve of the program itself: strace injects none there.
      for (j = 0; j < spread; j++) chosen[2 + int((n - 2) * j / (spread - 1) + 0.5)] = "reparto"
      inside = 0; last = 0
      for (i = 1; i <= n; i++) {
        if (!inside && index(text[i], window)) inside = 1
        if (!inside || name[i] !~ changing) continue
        if (name[i] == "openat" && text[i] !~ /O_CREAT/) continue
        if (!(i in chosen)) chosen[i] = "ventana"
        last = i
      }
      if (last > 0 && last < n && !((last + 1) in chosen)) chosen[last + 1] = "ventana"
      for (i = 1; i <= n; i++) if (i in chosen) print i, name[i], occurrence[i], chosen[i], n
      if (!inside) exit 3
    }' "$job/trace" >"$work/puntos-$kind" ||
    fail_setup "la traza de $kind no muestra el momento de poner los archivos en su sitio"
}

plan forward '.transzendal-journal.tmp", O_RDWR|O_CREAT'
plan reverse ".$result_name."

# ---- One point -----------------------------------------------------------------------------------

# kill_at KIND JOB POSITION CALL OCCURRENCE: the run of KIND killed on entering call POSITION;
# prints nothing when it died there, else why not.
kill_at() {
  local kind=$1 job=$2 position=$3 call=$4 occurrence=$5
  local -a command
  mapfile -t command < <(command_for "$kind" "$job")
  # The braces take the shell's own "Killed" notice.
  { setarch -R strace -f -qq -o "$job/trace" -e trace=all \
      -e "inject=$call:signal=KILL:when=$occurrence" "$cli" "${command[@]}" >"$job/out" 2>&1; } \
    2>/dev/null
  local status=$?
  local reached
  reached=$(grep -cE '^[0-9]+ +[a-z0-9_]+\(' "$job/trace")
  if [ "$status" -ne 137 ]; then
    echo "la ejecución no murió (estado $status, $reached llamadas)"
  elif [ "$reached" -ne "$position" ]; then
    echo "murió en la llamada $reached y no en la $position"
  fi
}

# table_state DIR TABLE: viejo or nuevo when the table has that set's bytes; filas when it has the
# new set's rows only (a header's date may differ from the reference's); falta when it is missing;
# else distinta. The rows
# are read from a copy: opening DIR itself would finish a replacement that the check must see.
table_state() {
  local dir=$1 table=$2 set copy="$1.copia"
  [ -f "$dir/$table.DBF" ] || { echo falta; return; }
  for set in viejo nuevo; do
    if cmp -s "$dir/$table.DBF" "$work/$set/$table.DBF"; then echo "$set"; return; fi
  done
  rm -rf "$copy" && mkdir "$copy" && cp "$dir/$table.DBF" "$copy/" 2>/dev/null &&
    "$cli" tabla "$table" --directorio "$copy" --formato csv >"$copy.csv" 2>/dev/null &&
    cmp -s "$copy.csv" "$work/nuevo.$table.csv" && echo filas && return
  echo distinta
}

# follow_up_needed KIND STATE: true unless the next command of KIND has already been checked from
# the named STATE, a folder byte for byte the same (that command depends on nothing else, so one
# check per state is enough); an empty STATE always needs it. Records the check.
follow_up_needed() {
  if [ -n "$2" ]; then
    grep -qx "$2" "$work/seguidos-$1" 2>/dev/null && return 1
    echo "$2" >>"$work/seguidos-$1"
  fi
  echo "$2" >>"$work/siguientes-$1"
}

# report STATE PROBLEM...: the outcome of one point, STATE or "FALLO reason; reason".
report() {
  local state=$1
  shift
  if [ $# -eq 0 ]; then echo "$state"; else
    local IFS=';'
    echo "FALLO $*"
  fi
}

# check_forward JOB: after a killed exportar, the recovery by the next command and what follows.
check_forward() {
  local job=$1 dir="$1/ztemp" problems=() states=() table state
  if ! "$cli" tabla ASIGT --directorio "$dir" >/dev/null 2>"$job/err"; then
    problems+=("tabla tras la caída: $(head -n 1 "$job/err")")
  fi
  local found known=yes
  found=$(listing "$dir")
  for table in "${tables[@]}"; do
    state=$(table_state "$dir" "$table")
    [ "$state" = filas ] && known="" && state=nuevo
    states+=("$state")
  done
  state=${states[0]}
  for table in "${!states[@]}"; do
    [ "${states[$table]}" = "$state" ] || state=mezcla
  done
  [[ "$state" =~ ^(viejo|nuevo)$ ]] || state=mezcla
  [ "$state" = mezcla ] && problems+=("las tablas no son un juego: ${states[*]}")
  [ "$found" = "$expected_listing" ] || problems+=("sobran o faltan: $found")
  cmp -s "$dir/SOLUC.DBF" "$work/viejo/SOLUC.DBF" || problems+=("SOLUC ha cambiado")
  cmp -s "$dir/otro.txt" "$work/viejo/otro.txt" || problems+=("otro.txt ha cambiado")
  cmp -s "$school_b" "$work/centro-b.original" || problems+=("el archivo del centro ha cambiado")
  # Without problems, every file is known byte for byte when each table matched by its bytes.
  if [ ${#problems[@]} -eq 0 ] && ! follow_up_needed forward "${known:+$state}"; then
    report "$state"
    return
  fi
  local -a command
  mapfile -t command < <(command_for forward "$job")
  if ! "$cli" "${command[@]}" >/dev/null 2>"$job/err"; then
    problems+=("la exportación siguiente falla: $(head -n 1 "$job/err")")
  else
    for table in "${tables[@]}"; do
      [[ "$(table_state "$dir" "$table")" =~ ^(nuevo|filas)$ ]] ||
        problems+=("tras la exportación siguiente $table no es la nueva")
    done
    [ "$(listing "$dir")" = "$expected_listing" ] ||
      problems+=("tras la exportación siguiente sobran o faltan: $(listing "$dir")")
  fi
  report "$state" "${problems[@]}"
}

# check_reverse JOB: after a killed importar, the result file found and the next importar. The
# state is viejo or nuevo (the result found), with " temporal" when the killed save left its
# temporary file.
check_reverse() {
  local job=$1 folder="$1/centro" problems=() state temporary=""
  if cmp -s "$folder/$result_name" "$result_old"; then state=viejo
  elif cmp -s "$folder/$result_name" "$result_new"; then state=nuevo
  else state=distinto; problems+=("el resultado no es ni el anterior ni el nuevo entero"); fi
  cmp -s "$folder/centro.xml" "$example" || problems+=("el archivo del centro ha cambiado")
  diff -r -q "$job/ztemp" "$work/vuelta-nueva" >/dev/null ||
    problems+=("el directorio de intercambio ha cambiado")
  [ "$(listing "$folder")" = "$result_name:centro.xml" ] || temporary=" temporal"
  # A temporary file's name is new every time; without one, every file is known byte for byte.
  local key=$state
  [ -n "$temporary" ] && key=""
  if [ ${#problems[@]} -eq 0 ] && ! follow_up_needed reverse "$key"; then
    report "$state$temporary"
    return
  fi
  local -a command
  mapfile -t command < <(command_for reverse "$job")
  if ! "$cli" "${command[@]}" >/dev/null 2>"$job/err"; then
    problems+=("la importación siguiente falla: $(head -n 1 "$job/err")")
  else
    cmp -s "$folder/$result_name" "$result_new" ||
      problems+=("tras la importación siguiente el resultado no es el nuevo")
    [ "$(listing "$folder")" = "$result_name:centro.xml" ] ||
      problems+=("tras la importación siguiente quedan: $(listing "$folder")")
  fi
  report "$state$temporary" "${problems[@]}"
}

# worker NUMBER: runs every JOBS-th point, from NUMBER on; one line each in resultados-NUMBER.
worker() {
  local number=$1 job="$work/trabajo-$1" line=0 kind position call occurrence where total
  mkdir -p "$job"
  while read -r kind position call occurrence where total; do
    line=$((line + 1))
    [ $(((line - 1) % jobs)) -eq "$number" ] || continue
    "reset_$kind" "$job"
    local outcome
    outcome=$(kill_at "$kind" "$job" "$position" "$call" "$occurrence")
    if [ -n "$outcome" ]; then outcome="FALLO $outcome"; else outcome=$("check_$kind" "$job"); fi
    echo "$kind $position $call $occurrence $where $outcome"
  done <"$work/todos" >"$work/resultados-$1"
}

{
  sed 's/^/forward /' "$work/puntos-forward"
  sed 's/^/reverse /' "$work/puntos-reverse"
} >"$work/todos"
for ((number = 0; number < jobs; number++)); do worker "$number" & done
wait

# ---- Summary -------------------------------------------------------------------------------------

sort -k1,1 -k2,2n "$work"/resultados-* >"$work/resultados"
name_of() { if [ "$1" = forward ]; then echo exportar; else echo importar; fi; }
for kind in forward reverse; do
  while read -r _ position call occurrence _ outcome; do
    if [[ "$outcome" == FALLO* ]]; then
      echo "FALLO: $(name_of "$kind") muerto en la llamada $position ($call n.º $occurrence):" \
           "${outcome#FALLO }"
      failures=$((failures + 1))
    else
      passed=$((passed + 1))
    fi
  done < <(grep "^$kind " "$work/resultados")
  planned=$(wc -l <"$work/puntos-$kind")
  done_points=$(grep -c "^$kind " "$work/resultados")
  if [ "$done_points" -ne "$planned" ]; then
    echo "FALLO: $(name_of "$kind"): $done_points de $planned puntos con resultado"
    failures=$((failures + 1))
  fi
  read -r first last total < <(awk 'NR == 1 { f = $1 } { l = $1; t = $5 } END { print f, l, t }' \
                                   "$work/puntos-$kind")
  # The moment the files go in place runs from its first point to its last (the call after it).
  read -r added inside window_first window_last < <(awk '
    $4 == "ventana" { if (!f) f = $1; l = $1; added++ }
    { position[NR] = $1 }
    END {
      for (i in position) if (position[i] >= f && position[i] <= l) inside++
      print added + 0, inside + 0, f + 0, l + 0
    }' "$work/puntos-$kind")
  old=$(grep "^$kind " "$work/resultados" | grep -cE ' viejo( temporal)?$')
  new=$(grep "^$kind " "$work/resultados" | grep -cE ' nuevo( temporal)?$')
  left=$(grep "^$kind " "$work/resultados" | grep -c ' temporal$')
  follow_ups=0
  [ -f "$work/siguientes-$kind" ] && follow_ups=$(wc -l <"$work/siguientes-$kind")
  line="$(name_of "$kind"): $planned puntos de corte en las llamadas $first a $last de $total"
  line+=" ($added añadidos a los $spread repartidos); $inside en el momento de poner los"
  line+=" archivos en su sitio (llamadas $window_first a $window_last);"
  line+=" $old con lo anterior, $new con lo nuevo"
  [ "$kind" = reverse ] && line+=" ($left con un temporal de la caída)"
  line+="; la orden $(name_of "$kind") siguiente, comprobada $follow_ups veces (una por estado)"
  echo "$line"
done
echo "tiempo: $((SECONDS - start_time)) s"
echo "Caidas: $passed passed, $failures failed"
[ "$failures" -eq 0 ]
