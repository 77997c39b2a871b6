#!/usr/bin/env bash
# The desktop program transzendal.exe under Wine on a virtual X display, driven through Win32
# messages as the timetable program and a user would: host-window.exe starts it embedded in a
# window of its own (or not), ui-driver.exe answers its dialogs and clicks its controls. Every
# scenario copies the program into a fresh folder, where it writes Zendalor.ini, and gives it a
# fresh exchange directory.
# Usage: desktop.sh WINDOWS-BUILD-DIR REPOSITORY-ROOT [SCENARIO...]
#   DESKTOP_CAPTURES, when set, names a folder that receives the screenshots: the main window's
#   client area (ventana-principal.png) and the help window (ayuda.png).
set -u
dir=$(cd "$1" && pwd) || exit 2
root=$(cd "$2" && pwd) || exit 2
for program in transzendal.exe host-window.exe ui-driver.exe windows-holder.exe \
               transzendal-cli.exe simulador-zendalor.exe COLVARIAHLP.chm hhctrl-stand-in/hhctrl.ocx \
               src/app/icon/transzendal.ico; do
  [ -f "$dir/$program" ] || { echo "desktop: falta $dir/$program" >&2; exit 2; }
done
for tool in wine wineboot wineserver Xvfb import convert xwininfo xprop python3; do
  if ! command -v "$tool" >/dev/null; then
    echo "desktop: falta $tool (scripts/build-windows lo instala)" >&2
    exit 2
  fi
done

work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all
unset TRANSZENDAL_ZTEMP
source "$root/tests/support/virtual_display.sh"
holder_pid=
host_pid=
cleanup() {
  [ -n "$holder_pid" ] && kill -9 "$holder_pid" 2>/dev/null
  wineserver -k 2>/dev/null  # this script's own prefix only
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM  # so that the cleanup runs when the run is stopped

start_display || { echo "desktop: no se pudo arrancar Xvfb" >&2; cat "$work/xvfb.log" >&2; exit 1; }
if ! wineboot --init >"$work/wineboot.log" 2>&1; then
  cat "$work/wineboot.log" >&2
  echo "desktop: no se pudo preparar el prefijo de Wine" >&2
  exit 1
fi

source "$root/tests/support/wine_path.sh"
school=$root/examples/instituto-ejemplo.xml
three_frames=$root/tests/desktop/data/tres-marcos.xml
tables=(ASIGNOMT PROFT AULAT DIASHORAST GRUPOST ASIGT)

passed=0
failed=0

# ---------------------------------------------------------------------------------------------
# One scenario: its folders, the programs it starts, what it expects.

# new_case NAME DESCRIPTION: a fresh program folder and exchange directory.
new_case() {
  case_name=$1
  case_title=$2
  case_dir=$work/$1
  program=$case_dir/programa
  exchange=$case_dir/intercambio
  mkdir -p "$program" "$exchange"
  cp "$dir/transzendal.exe" "$program/"
  problems=()
  driver_failed=0
  host_pid=
  program_pid=
}

# start_host ARG...: the converter under host-window; "{HOST}" becomes the host's window.
start_host() {
  TRANSZENDAL_ZTEMP=$(winpath "$exchange") wine "$dir/host-window.exe" --espera=90 \
    "$(winpath "$program/transzendal.exe")" "$@" >"$case_dir/host.out" 2>"$case_dir/host.err" &
  host_pid=$!
}

# start_alone: the converter on its own, with no arguments, as a user starts it.
start_alone() {
  TRANSZENDAL_ZTEMP=$(winpath "$exchange") timeout 120 \
    wine "$(winpath "$program/transzendal.exe")" >"$case_dir/program.out" 2>&1 &
  program_pid=$!
}

# drive NAME STEP...: ui-driver's steps; what it prints goes to NAME.out in the case's folder.
drive() {
  local name=$1
  shift
  wine "$dir/ui-driver.exe" "$@" >"$case_dir/$name.out" 2>&1
  local status=$?
  if [ "$status" -ne 0 ]; then
    driver_failed=1
    local why
    why=$(grep -m1 'FALLO' "$case_dir/$name.out" || echo "estado $status")
    problems+=("ui-driver ($name): $why")
  fi
  return "$status"
}

# Waits for the programs the case started. After a failed step the converter may be waiting for
# an answer that will not come: end every program of this prefix first.
finish() {
  if [ "$driver_failed" -ne 0 ]; then
    [ -n "$holder_pid" ] && kill -9 "$holder_pid" 2>/dev/null
    holder_pid=
    wineserver -k 2>/dev/null
  fi
  host_status=0
  if [ -n "$host_pid" ]; then
    wait "$host_pid"
    host_status=$?
    host_pid=
  fi
  if [ -n "$program_pid" ]; then
    wait "$program_pid"
    program_status=$?
    program_pid=
    [ "$program_status" -eq 124 ] && problems+=("el programa no terminó en 120 s")
  fi
}

expect() {
  local what=$1
  shift
  "$@" || problems+=("$what")
}

end_case() {
  if [ ${#problems[@]} -eq 0 ]; then
    echo "ok    $case_name. $case_title"
    passed=$((passed + 1))
    return
  fi
  echo "FALLO $case_name. $case_title"
  local problem file
  for problem in "${problems[@]}"; do echo "      - $problem"; done
  for file in "$case_dir"/*.out "$case_dir"/host.err; do
    [ -s "$file" ] || continue
    echo "      $(basename "$file"):"
    # Wine's own remark about the Z: drive's label says nothing about the converter.
    grep -v 'FS volume label' "$file" | sed 's/^/        /' | head -60
  done
  failed=$((failed + 1))
}

has_line() { grep -qxF -- "$2" "$1"; }
host_said() { has_line "$case_dir/host.out" "$1"; }
# The host ends with status 0 only when the converter has ended before its time ran out.
ended_by_itself() { [ "$host_status" -eq 0 ] && ! host_said "tiempo agotado"; }
ini_holds() {
  cmp -s "$program/Zendalor.ini" <(printf '[Transformadores]\r\nTransformado=%s\r\n' "$1")
}
no_ini() { [ ! -e "$program/Zendalor.ini" ]; }
tables_written() {
  local table
  for table in "${tables[@]}"; do [ -f "$exchange/$table.DBF" ] || return 1; done
}
no_tables() { [ -z "$(find "$exchange" -maxdepth 1 -iname '*.dbf')" ]; }

# Starts windows-holder on a file and waits until it holds it.
hold_file() {
  wine "$dir/windows-holder.exe" tabla "$(winpath "$1")" >"$case_dir/holder.log" 2>&1 &
  holder_pid=$!
  for _ in $(seq 100); do
    grep -q retenido "$case_dir/holder.log" && return 0
    sleep 0.1
  done
  return 1
}
release_file() {
  kill -9 "$holder_pid" 2>/dev/null
  wait "$holder_pid" 2>/dev/null
  holder_pid=
}

# ---------------------------------------------------------------------------------------------
# The scenarios.

embedded_export() {
  new_case a "incrustada: exportar el centro de ejemplo con sus dos marcos"
  start_host exportar '{HOST}'
  drive pasos "archivo=$(winpath "$school")" clic=0 ctrl-clic=1 continuar \
    "mensaje=Proceso finalizado" esperar-fin
  finish
  expect "el anfitrión no vio la ventana incrustada" host_said "incrustada: si"
  expect "la ventana incrustada tiene marco o título" host_said "sin marco: si"
  expect "el programa no terminó por sí solo" ended_by_itself
  expect "faltan tablas en el directorio de intercambio" tables_written
  expect "Zendalor.ini no es exactamente Transformado=1" ini_holds 1
  end_case
}

cancelled_file_dialog() {
  new_case b "incrustada: exportar cancelando el diálogo de archivo"
  start_host exportar '{HOST}'
  drive pasos cancelar-archivo "mensaje=No existe archivo" esperar-fin
  finish
  expect "el mensaje no es «No existe archivo»" \
    has_line "$case_dir/pasos.out" "mensaje: No existe archivo"
  expect "el programa no terminó por sí solo" ended_by_itself
  expect "Zendalor.ini no es exactamente Transformado=-1" ini_holds -1
  expect "se escribieron tablas" no_tables
  end_case
}

embedded_import() {
  new_case c "incrustada: importar el horario resuelto (acción en mayúsculas)"
  local folder=$case_dir/centro
  mkdir -p "$folder"
  cp "$school" "$folder/"
  # Tables from the command-line tool and a solved timetable from the stand-in, so that this case
  # depends on the window's way back only.
  wine "$dir/transzendal-cli.exe" exportar "$(winpath "$folder/instituto-ejemplo.xml")" \
    --directorio "$(winpath "$exchange")" --marcos 1,2 >"$case_dir/cli.log" 2>&1 ||
    problems+=("transzendal-cli no exportó: $(tail -3 "$case_dir/cli.log")")
  wine "$dir/simulador-zendalor.exe" --directorio "$(winpath "$exchange")" \
    >"$case_dir/simulador.log" 2>&1 || problems+=("el simulador no escribió SOLUC")
  start_host IMPORTAR '{HOST}'
  drive pasos "mensaje=Abrir el fichero XML de COLVARIA" \
    "archivo=$(winpath "$folder/instituto-ejemplo.xml")" "mensaje=Proceso finalizado" esperar-fin
  finish
  expect "el recordatorio no empieza por «Deberá Abrir el fichero XML de COLVARIA»" \
    grep -q '^mensaje: Deberá Abrir el fichero XML de COLVARIA' "$case_dir/pasos.out"
  expect "no hay ResultadoZendalinstituto-ejemplo.xml con su horario" \
    grep -qs '<horario>' "$folder/ResultadoZendalinstituto-ejemplo.xml"
  expect "el archivo elegido ha cambiado" cmp -s "$school" "$folder/instituto-ejemplo.xml"
  expect "el programa no terminó por sí solo" ended_by_itself
  expect "Zendalor.ini no es exactamente Transformado=1" ini_holds 1
  end_case
}

unknown_action() {
  new_case d "incrustada: una acción desconocida deja la ventana esperando"
  start_host nada '{HOST}'
  drive pasos esperar-ventana ventana cerrar esperar-fin
  finish
  expect "la ventana no está incrustada" grep -q '^ventana: hija si de TransZendalPruebaAnfitrion' \
    "$case_dir/pasos.out"
  expect "el programa no terminó al cerrarlo" ended_by_itself
  expect "Zendalor.ini no es exactamente Transformado=0" ini_holds 0
  end_case
}

three_arguments() {
  new_case e "tres argumentos: una ventana corriente que no arranca nada"
  start_host exportar '{HOST}' otra
  drive pasos esperar-ventana ventana cerrar esperar-fin
  finish
  expect "la ventana es hija de otra" has_line "$case_dir/pasos.out" "ventana: hija no"
  expect "la ventana no tiene barra de título" has_line "$case_dir/pasos.out" \
    "ventana: barra de titulo si"
  expect "el anfitrión la vio incrustada" host_said "incrustada: no"
  expect "el programa no terminó al cerrarlo" ended_by_itself
  expect "se escribió Zendalor.ini" no_ini
  expect "se escribieron tablas" no_tables
  end_case
}

bad_handle() {
  new_case f "un identificador de ventana que no es un número"
  start_host exportar XYZ
  drive pasos "mensaje='\$XYZ' is not a valid integer value" cancelar-archivo \
    "mensaje=No existe archivo" esperar-ventana ventana cerrar esperar-fin
  finish
  expect "el mensaje de error no es el esperado" has_line "$case_dir/pasos.out" \
    "mensaje: '\$XYZ' is not a valid integer value"
  expect "la ventana es hija de otra" has_line "$case_dir/pasos.out" "ventana: hija no"
  expect "el anfitrión la vio incrustada" host_said "incrustada: no"
  expect "el programa no terminó al cerrarlo" ended_by_itself
  expect "se escribió Zendalor.ini" no_ini
  end_case
}

# The facts the driver prints of the main window, and the window centred on the 1280x1024 screen.
window_is_centred() {
  local rectangle
  rectangle=$(sed -n 's/^ventana: rectangulo //p' "$1")
  [[ $rectangle =~ ^(-?[0-9]+),(-?[0-9]+)\ ([0-9]+)x([0-9]+)$ ]] || return 1
  local dx=$((2 * BASH_REMATCH[1] + BASH_REMATCH[3] - 1280))
  local dy=$((2 * BASH_REMATCH[2] + BASH_REMATCH[4] - 1024))
  [ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ]
}

# window_icon_is_ours TITLE NAME: the icons that the window manager has for the converter's X
# window of that title are the icon file's, at the sizes the driver printed. Wine hands it the
# window class's big and small icons as _NET_WM_ICON (or a stock icon when the class has none);
# what the comparison says goes to NAME.out.
window_icon_is_ours() {
  local title=$1 name=$2 id sizes
  sizes=$(sed -n 's/^icono: sistema //p' "$case_dir/antes.out")
  id=$(xwininfo -root -tree | awk -v title="\"$title\":" 'index($0, title) { print $1; exit }')
  if [ -z "$id" ] || [ -z "$sizes" ]; then
    echo "no hay ventana X «$title» o el conductor no dio los tamaños" >"$case_dir/$name.out"
    return 1
  fi
  xprop -id "$id" -notype -f _NET_WM_ICON 32c _NET_WM_ICON >"$case_dir/$name.xprop" 2>&1
  # shellcheck disable=SC2086  # the two sizes, one argument each
  python3 "$root/tests/desktop/window_icon.py" "$dir/src/app/icon/transzendal.ico" \
    "$case_dir/$name.xprop" $sizes >"$case_dir/$name.out"
}

main_window_and_buttons() {
  new_case g "ventana corriente: su aspecto y su icono, exportar con BExportar y seguir abierta"
  start_alone
  drive antes esperar-ventana ventana icono
  expect "el archivo del programa no lleva el icono en todos sus tamaños" has_line \
    "$case_dir/antes.out" "icono: archivo, grupo #1, tamaños 16 20 24 32 40 48 64 256"
  expect "la barra de título no muestra el icono del programa" \
    window_icon_is_ours "Exportar e importar datos entre Zendalor y Colvaria " icono-ventana
  expect "la barra de tareas no muestra el icono del programa" \
    window_icon_is_ours "TransZendalColvGest" icono-tareas
  local line
  for line in "ventana: titulo «Exportar e importar datos entre Zendalor y Colvaria »" \
              "ventana: cliente 632x266" "ventana: hija no" "ventana: barra de titulo si" \
              "boton: 101 «OK» 97,120 89x25 activo" "boton: 102 «OK» 412,120 89x25 activo" \
              "boton: 103 «&Salir» 256,200 89x25 activo" \
              "boton: 104 «F1 Ayuda» 512,224 75x25 activo"; do
    expect "falta «$line»" has_line "$case_dir/antes.out" "$line"
  done
  expect "la ventana no está centrada en la pantalla" window_is_centred "$case_dir/antes.out"
  drive exportar boton=101 "archivo=$(winpath "$school")" clic=0 ctrl-clic=1 continuar \
    "mensaje=Proceso finalizado" esperar-ventana ventana
  for line in "boton: 101 «OK» 97,120 89x25 desactivado" \
              "boton: 102 «OK» 412,120 89x25 desactivado" \
              "boton: 103 «&Salir» 256,200 89x25 activo" \
              "boton: 104 «F1 Ayuda» 512,224 75x25 activo"; do
    expect "tras exportar falta «$line»" has_line "$case_dir/exportar.out" "$line"
  done
  expect "faltan tablas en el directorio de intercambio" tables_written
  drive cerrar cerrar esperar-fin
  finish
  expect "se escribió Zendalor.ini" no_ini
  end_case
}

ini_kept() {
  new_case h "Zendalor.ini: solo cambia el valor de Transformado"
  # Other sections, comments, a Windows-1252 byte, blank lines and CR LF: all must stay.
  local before='; Configuraci\xf3n de Zendalor\r\n[General]\r\nIdioma=ES\r\n\r\n'
  before+='[Transformadores]\r\n; lo escribe el conversor\r\nTransformado=%s\r\nOtro=abc\r\n\r\n'
  before+='[Final]\r\nClave=valor\r\n'
  # shellcheck disable=SC2059  # the format is ours
  printf "$before" 7 >"$program/Zendalor.ini"
  # shellcheck disable=SC2059
  printf "$before" 0 >"$case_dir/esperado.ini"
  start_host nada '{HOST}'
  drive pasos esperar-ventana cerrar esperar-fin
  finish
  expect "el programa no terminó al cerrarlo" ended_by_itself
  expect "Zendalor.ini no es el original con Transformado=0" \
    cmp -s "$program/Zendalor.ini" "$case_dir/esperado.ini"
  end_case
}

ini_held() {
  new_case i "Zendalor.ini retenido por otro programa"
  printf '[Transformadores]\r\nTransformado=5\r\n' >"$program/Zendalor.ini"
  if ! hold_file "$program/Zendalor.ini"; then
    problems+=("windows-holder no retiene Zendalor.ini: $(cat "$case_dir/holder.log")")
    end_case
    return
  fi
  start_host nada '{HOST}'
  drive retenido esperar-ventana cerrar "mensaje=Unable to write to" esperar-ventana
  release_file
  drive liberado cerrar esperar-fin
  finish
  expect "el mensaje no nombra el archivo" has_line "$case_dir/retenido.out" \
    "mensaje: Unable to write to $(winpath "$program/Zendalor.ini")"
  expect "el programa no terminó al cerrarlo de nuevo" ended_by_itself
  expect "Zendalor.ini no es exactamente Transformado=0" ini_holds 0
  end_case
}

# MARCOXML, MARCO and the number of rows of each pair in DIASHORAST, sorted.
frame_digits() {
  wine "$dir/transzendal-cli.exe" tabla DIASHORAST --directorio "$(winpath "$exchange")" \
    2>/dev/null |
    tr -d '\r' |
    awk -F, 'NR == 1 { for (i = 1; i <= NF; i++) column[$i] = i; next }
             { count[$column["MARCOXML"] " " $column["MARCO"]]++ }
             END { for (pair in count) print pair, count[pair] }' | sort
}

frame_dialog() {
  new_case j "diálogo de marcos: la regla de cierre, la vista y el orden de la lista"
  start_host exportar '{HOST}'
  # Frames 1 and 3 both start at 08:00 on Monday, so only the list order can give frame 1 MARCO 0;
  # they are clicked in the reverse order.
  drive pasos "archivo=$(winpath "$three_frames")" lista clic=0 ctrl-clic=1 ctrl-clic=2 continuar \
    "mensaje=Demasiados Marcos Horarios" seleccion cerrar-marcos \
    "mensaje=Debe al menos seleccionar 1 Marco Horario." seleccion \
    clic=2 ctrl-clic=0 vista ctrl-clic=1 ctrl-clic=1 vista seleccion continuar \
    "mensaje=Proceso finalizado" esperar-fin
  finish
  grep -E '^(lista|vista|seleccion|el diálogo de marcos|mensaje: (Demasiados|Como|Debe))' \
    "$case_dir/pasos.out" >"$case_dir/dialogo.txt"
  cat >"$case_dir/esperado.txt" <<'EOF'
lista: 1
lista: 2
lista: 3
el diálogo de marcos: sigue abierto tras un mensaje
mensaje: Demasiados Marcos Horarios seleccionados.
mensaje: Como máximo puede seleccionar 2 Marcos Horarios
seleccion: ninguna
el diálogo de marcos: sigue abierto tras un mensaje
mensaje: Debe al menos seleccionar 1 Marco Horario.
seleccion: ninguna
vista: 1-08:00:00-08:55:00-Lectivo
vista: 2-08:55:00-09:50:00-Lectivo
vista: 3-09:50:00-10:45:00-Lectivo
vista: 4-10:45:00-11:40:00-Lectivo
vista: 1-15:00:00-15:50:00-Lectivo
vista: 2-15:50:00-16:40:00-Lectivo
vista: 3-16:40:00-17:30:00-Lectivo
seleccion: 0,2
el diálogo de marcos: cerrado
EOF
  expect "el diálogo no se comportó como se esperaba: $(diff "$case_dir/esperado.txt" \
    "$case_dir/dialogo.txt" | grep '^[<>]' | tr '\n' ' ')" \
    cmp -s "$case_dir/esperado.txt" "$case_dir/dialogo.txt"
  expect "el programa no terminó por sí solo" ended_by_itself
  expect "Zendalor.ini no es exactamente Transformado=1" ini_holds 1
  # 4 Monday-to-Wednesday periods of frame 1 and 3 of frame 3; frame 2 left out.
  expect "DIASHORAST no da MARCO 0 al primer marco de la lista: $(frame_digits | tr '\n' ' ')" \
    [ "$(frame_digits)" = "$(printf '1 0 12\n3 1 9')" ]
  end_case
}

# The colour at X,Y of the screenshot as "R G B", in decimal.
pixel() {
  local at="p{$2,$3}"
  convert "$1" -format "%[fx:round(255*$at.r)] %[fx:round(255*$at.g)] %[fx:round(255*$at.b)]" info:
}

# near FILE X Y RRGGBB: the pixel is within a few units of the colour in every channel (the
# gradients are drawn in bands).
near() {
  local r g b
  read -r r g b <<<"$(pixel "$1" "$2" "$3")"
  local want_r=$((16#${4:0:2})) want_g=$((16#${4:2:2})) want_b=$((16#${4:4:2}))
  local tolerance=12
  [ -n "$b" ] && [ $((r > want_r ? r - want_r : want_r - r)) -le $tolerance ] &&
    [ $((g > want_g ? g - want_g : want_g - g)) -le $tolerance ] &&
    [ $((b > want_b ? b - want_b : want_b - b)) -le $tolerance ]
}

# The points checked on the screenshot, in client coordinates, away from texts and buttons: each
# panel at x = 5 from its left edge, next to its top edge, on its centre line and next to its
# bottom edge.
panel_points=(
  "6 1 FFEEDD" "6 84 FFFFFF" "6 166 F9D37D"
  "321 1 FFEEDD" "321 84 FFFFFF" "321 166 F9D37D"
  "5 169 CCD8E6" "5 216 CFF2FE" "5 263 C2CDFE"
)

colours_match() {
  local shot=$1 x0=$2 y0=$3 point x y colour
  for point in "${panel_points[@]}"; do
    read -r x y colour <<<"$point"
    near "$shot" $((x0 + x)) $((y0 + y)) "$colour" || {
      wrong_colour="($x,$y): $(pixel "$shot" $((x0 + x)) $((y0 + y))) en lugar de #$colour"
      return 1
    }
  done
}

screenshot() {
  new_case k "captura de la ventana: los degradados de los paneles"
  start_alone
  drive pasos esperar-ventana ventana
  local origin x0 y0 shot=$case_dir/pantalla.png
  origin=$(sed -n 's/^ventana: origen //p' "$case_dir/pasos.out")
  x0=${origin%,*}
  y0=${origin#*,}
  wrong_colour="no se pudo leer el origen de la ventana"
  if [[ $x0 =~ ^[0-9]+$ && $y0 =~ ^[0-9]+$ ]]; then
    # The window may still be painting its first frame: a few tries, half a second apart.
    local matched=1
    for _ in $(seq 10); do
      import -window root "$shot" 2>"$case_dir/import.log" || break
      colours_match "$shot" "$x0" "$y0" && { matched=0; break; }
      sleep 0.5
    done
    [ "$matched" -eq 0 ] || problems+=("color en el punto $wrong_colour")
    convert "$shot" -crop "632x266+$x0+$y0" +repage "$work/ventana-principal.png"
    keep_capture "$work/ventana-principal.png"
  else
    problems+=("$wrong_colour")
  fi
  drive cerrar cerrar esperar-fin
  finish
  end_case
}

# keep_capture PNG: a copy in DESKTOP_CAPTURES, named in the output.
keep_capture() {
  [ -n "${DESKTOP_CAPTURES:-}" ] || return 0
  mkdir -p "$DESKTOP_CAPTURES" && cp "$1" "$DESKTOP_CAPTURES/" &&
    echo "      captura: $DESKTOP_CAPTURES/$(basename "$1")"
}

# The calls of HtmlHelpA that the stand-in HHCtrl.ocx logged, with Z:\<program folder> as "PROGRAMA".
help_calls() {
  local folder line
  folder=$(winpath "$program")
  [ -f "$case_dir/hhctrl.log" ] || return 0
  while IFS= read -r line; do
    line=${line%$'\r'}
    printf '%s\n' "${line//"$folder"/PROGRAMA}"
  done <"$case_dir/hhctrl.log"
}

help_requests() {
  new_case l "ayuda: «F1 Ayuda», F1 en BExportar y F1 en el diálogo de marcos llaman a HTML Help"
  cp "$dir/hhctrl-stand-in/hhctrl.ocx" "$program/"
  export TRANSZENDAL_HHCTRL_LOG WINEDLLOVERRIDES=hhctrl.ocx=n
  TRANSZENDAL_HHCTRL_LOG=$(winpath "$case_dir/hhctrl.log")
  start_alone
  drive pasos esperar-ventana boton=104 f1=101 boton=101 "archivo=$(winpath "$three_frames")" \
    f1-marcos clic=0 continuar "mensaje=Proceso finalizado" cerrar esperar-fin
  finish
  unset TRANSZENDAL_HHCTRL_LOG WINEDLLOVERRIDES
  printf '%s\n' 'ventana=0 orden=1 archivo=PROGRAMA\COLVARIAHLP.chm dato=0' \
    'ventana=0 orden=15 archivo=PROGRAMA\COLVARIAHLP.chm dato=3' \
    'ventana=0 orden=15 archivo=PROGRAMA\COLVARIAHLP.chm dato=3' \
    'ventana=0 orden=18 archivo=(nulo) dato=0' >"$case_dir/esperado.txt"
  expect "las llamadas a HtmlHelpA no son las esperadas: $(help_calls | tr '\n' '|')" \
    cmp -s "$case_dir/esperado.txt" <(help_calls)
  end_case
}

no_help_library() {
  new_case m "sin HHCtrl.ocx: ni «F1 Ayuda» ni F1 muestran nada, y el programa sigue"
  export WINEDLLOVERRIDES=hhctrl.ocx=d  # Wine's own HTML Help disabled too
  start_alone
  drive pasos esperar-ventana boton=104 f1=101 f1=102 esperar-ventana ventana cerrar esperar-fin
  finish
  unset WINEDLLOVERRIDES
  expect "tras F1 se ve otra ventana: $(grep '^arbol' "$case_dir/pasos.out" | tr '\n' ' ')" \
    has_line "$case_dir/pasos.out" "ventana: abierta y sin diálogos"
  end_case
}

# Wine's own HTML Help with the help file built from src/app/help: context 3 opens a window with
# the file's title and its contents tree. Wine has no engine to draw the pages (mshtml is left out
# so that it does not ask to download one): the page pane stays empty.
real_help_window() {
  new_case n "ayuda real: F1 abre COLVARIAHLP.chm con su título y su contenido"
  cp "$dir/COLVARIAHLP.chm" "$program/"
  export WINEDLLOVERRIDES=mshtml=
  start_alone
  drive pasos esperar-ventana f1=101 "esperar-titulo=Ayuda de TransZendal"
  if [ "$driver_failed" -eq 0 ]; then
    import -window root "$case_dir/pantalla.png" 2>"$case_dir/import.log" &&
      convert "$case_dir/pantalla.png" -trim +repage "$work/ayuda.png" && keep_capture "$work/ayuda.png"
  fi
  drive cerrar cerrar esperar-fin
  finish
  unset WINEDLLOVERRIDES
  expect "la ventana de ayuda no lleva el título del archivo" \
    grep -q '^ventana con titulo: .* «Ayuda de TransZendal»$' "$case_dir/pasos.out"
  expect "la ventana de ayuda no muestra el contenido del archivo" \
    grep -q '^ventana con titulo: contenido de [1-9][0-9]* entradas$' "$case_dir/pasos.out"
  end_case
}

scenarios=(embedded_export cancelled_file_dialog embedded_import unknown_action three_arguments
           bad_handle main_window_and_buttons ini_kept ini_held frame_dialog screenshot
           help_requests no_help_library real_help_window)
# Names given after the two folders run those scenarios only.
[ $# -gt 2 ] && scenarios=("${@:3}")
for scenario in "${scenarios[@]}"; do "$scenario"; done

echo "Escritorio: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
