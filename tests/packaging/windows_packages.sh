#!/usr/bin/env bash
# The Windows installer and the portable archive, used as a school would, under Wine: the
# installer installs silently into a folder with spaces, the installed command-line converter
# converts the installed example school (its tables compared with the reviewed copies), the
# installed window opens; a Zendalor.ini is put beside it, the uninstaller removes silently what
# was installed and that file stays. A folder that cannot be written is refused before anything
# is installed. The portable archive holds the same files and converts the same way.
# Usage: windows_packages.sh PACKAGES-DIR WINDOWS-BUILD-DIR REPOSITORY-ROOT
#   PACKAGES-DIR holds transzendal-VERSION-instalador.exe and transzendal-VERSION-portatil.zip;
#   WINDOWS-BUILD-DIR the desktop tests' ui-driver.exe.
set -u
packages=$(cd "$1" && pwd) || exit 2
build=$(cd "$2" && pwd) || exit 2
root=$(cd "$3" && pwd) || exit 2
source "$root/tests/support/project_version.sh"
version=$(project_version "$root")
installer_file=$packages/transzendal-$version-instalador.exe
portable=$packages/transzendal-$version-portatil.zip
for file in "$installer_file" "$portable" "$build/ui-driver.exe"; do
  [ -f "$file" ] || { echo "windows_packages: falta $file" >&2; exit 2; }
done

work=$(mktemp -d)
# Wine's menu builder would put the Start-menu entries on this machine's own desktop menus.
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d"
unset TRANSZENDAL_ZTEMP
source "$root/tests/support/virtual_display.sh"
cleanup() {
  wineserver -k 2>/dev/null  # this script's own prefix only
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

start_display || { echo "windows_packages: no se pudo arrancar Xvfb" >&2; exit 1; }
if ! wineboot --init >"$work/wineboot.log" 2>&1; then
  cat "$work/wineboot.log" >&2
  echo "windows_packages: no se pudo preparar el prefijo de Wine" >&2
  exit 1
fi

passed=0
failures=0
check() {
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    echo "FALLO: $what"
    failures=$((failures + 1))
  fi
}

source "$root/tests/support/wine_path.sh"
# Wine starts a file given by its Unix path only if it may be run.
installer=$work/instalador.exe
cp "$installer_file" "$installer"
chmod +x "$installer"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\TransZendal'
menu_folder() { find "$WINEPREFIX/drive_c/users" -type d -path '*/Start Menu/Programs/TransZendal' 2>/dev/null; }
registry_value() {
  wine reg query "$uninstall_key" /v "$1" 2>/dev/null | tr -d '\r' |
    awk -v name="$1" '$1 == name { sub(/^[ \t]*[^ \t]+[ \t]+[^ \t]+[ \t]+/, ""); print }'
}
has_registry_key() { wine reg query "$uninstall_key" >/dev/null 2>&1; }
# Every file under a folder, relative to it, sorted.
listing() { (cd "$1" && find . -type f | sed 's|^\./||' | LC_ALL=C sort); }

# install FOLDER: the installer, silent, into FOLDER; its exit status. The installer reads /D= raw
# from its command line, to its end; wine would put quotes around an argument with spaces, so the
# line goes through cmd as typed.
install_into() {
  wine cmd /c "$(winpath "$installer") /S /D=$(winpath "$1")" >"$work/install.log" 2>&1
}
# uninstall FOLDER: the uninstaller, silent. It copies itself elsewhere and goes on in the
# background: wait until it has removed itself.
uninstall_from() {
  wine "$1/Desinstalar.exe" /S >"$work/uninstall.log" 2>&1 || return 1
  local i
  for i in $(seq 600); do
    [ -e "$1/Desinstalar.exe" ] || { wineserver -w; return 0; }
    sleep 0.1
  done
  return 1
}

# The version resource of a Windows program, as Explorer shows it: "FIXED TEXT", the fixed file
# version's four numbers and the ProductVersion text.
version_resource() {
  python3 - "$1" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
fixed = data.find(struct.pack("<I", 0xFEEF04BD))
if fixed < 0:
    sys.exit("sin recurso de versión")
ms, ls = struct.unpack_from("<II", data, fixed + 8)
key = "ProductVersion\0".encode("utf-16-le")
at = data.find(key) + len(key)
while data[at:at + 2] == b"\0\0":  # padding to the value's 32-bit boundary
    at += 2
end = at
while data[end:end + 2] != b"\0\0":
    end += 2
print(f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF} {data[at:end].decode('utf-16-le')}")
PY
}

# converts CLI-WRAPPER SCHOOL: the example school's tables, compared with the reviewed copies.
converts() {
  bash "$root/tests/cli/example_school.sh" "$1" "$root" "$2" >"$work/conversion.log" 2>&1 ||
    { sed 's/^/      /' "$work/conversion.log" | head -30; return 1; }
}
wrapper() {
  printf '#!/bin/sh\nexec wine "%s" "$@"\n' "$2" >"$1"
  chmod +x "$1"
}
# The installed folder holds the portable archive's files, byte for byte, and the uninstaller.
portable_folder=$work/portatil
mkdir -p "$portable_folder"
(cd "$portable_folder" && cmake -E tar xf "$portable")
same_files_as_portable() {
  diff <(listing "$1" | grep -vx Desinstalar.exe) <(listing "$portable_folder") >&2 &&
    diff -r -x Desinstalar.exe "$1" "$portable_folder" >&2
}

# --- A folder that cannot be created: refused, nothing installed anywhere.
touch "$work/un-archivo"
install_into "$work/un-archivo/TransZendal"
check "el instalador no rechazó con estado 2 una carpeta que no se puede crear" [ $? -eq 2 ]
check "el instalador rechazado dejó la entrada de programas instalados" eval '! has_registry_key'
check "el instalador rechazado dejó la carpeta del menú Inicio" [ -z "$(menu_folder)" ]
# A name longer than any folder can have: accepted by the installer's own rules, refused by the
# check that the folder can be created and written.
install_into "$work/$(printf 'n%.0s' $(seq 300))"
check "el instalador no rechazó con estado 2 una carpeta que no se puede escribir" [ $? -eq 2 ]
check "el instalador rechazado dejó la entrada de programas instalados" eval '! has_registry_key'

# --- The installer, into a folder with spaces.
target="$work/Zendalor con espacios/Conversores"
mkdir -p "$target"
install_into "$target"
status=$?
check "la instalación silenciosa terminó con estado $status" [ "$status" -eq 0 ]
check "lo instalado no son los archivos del portátil más el desinstalador" same_files_as_portable "$target"
check "falta el desinstalador" [ -f "$target/Desinstalar.exe" ]
check "el centro de ejemplo instalado no es el del repositorio" \
  cmp -s "$target/ejemplo/instituto-ejemplo.xml" "$root/examples/instituto-ejemplo.xml"
check "TERCEROS.txt no lleva el aviso de libxml2" grep -q 'Daniel Veillard' "$target/TERCEROS.txt"
check "TERCEROS.txt no lleva el aviso de winpthreads" grep -q 'winpthreads' "$target/TERCEROS.txt"
check "el Léame no está en UTF-8 con CR LF" \
  eval 'head -c 3 "$target/LEAME.txt" | od -An -tx1 | grep -q "ef bb bf" && grep -q $'"'"'\r$'"'"' "$target/LEAME.txt"'

check "la entrada de programas instalados no tiene la versión $version" \
  [ "$(registry_value DisplayVersion)" = "$version" ]
check "la entrada de programas instalados no tiene editor" [ -n "$(registry_value Publisher)" ]
check "la entrada de programas instalados no tiene nombre" [ "$(registry_value DisplayName)" = TransZendal ]
check "la entrada de programas instalados no apunta al desinstalador" \
  [ "$(registry_value UninstallString)" = "\"$(winpath "$target")\\Desinstalar.exe\"" ]
menu=$(menu_folder)
check "no hay carpeta TransZendal en el menú Inicio" [ -n "$menu" ]
for shortcut in "TransZendal" "Ayuda de TransZendal" "Léame" "Desinstalar TransZendal"; do
  check "falta el acceso «$shortcut» del menú Inicio" [ -f "$menu/$shortcut.lnk" ]
done

for program in "$installer" "$target/transzendal.exe" "$target/transzendal-cli.exe"; do
  check "$(basename "$program") no lleva la versión $version en su recurso de versión" \
    [ "$(version_resource "$program")" = "$version.0 $version" ]
done
wrapper "$work/cli-instalado" "$target/transzendal-cli.exe"
check "transzendal-cli --version no dice $version" \
  eval '"$work/cli-instalado" --version | grep -q "$version"'
check "el transzendal-cli instalado no convierte el centro de ejemplo instalado" \
  converts "$work/cli-instalado" "$(winpath "$target/ejemplo/instituto-ejemplo.xml")"

# The Léame's own example, typed in a command window in the installed folder.
leame_commands=$(tr -d '\r' <"$target/LEAME.txt" | sed -n 's/^    //p' | sed ':a;N;$!ba;s/\n/ \&\& /g')
wine cmd /c "cd /d $(winpath "$target") && $leame_commands" >"$work/leame.out" 2>&1
check "las órdenes del Léame no convierten el ejemplo: $(tail -1 "$work/leame.out")" \
  grep -q '^Proceso finalizado' "$work/leame.out"

# The installed window, started as a user starts it; the driver reads it, then presses Salir.
timeout 120 wine "$(winpath "$target/transzendal.exe")" >"$work/window.log" 2>&1 &
window_pid=$!
wine "$build/ui-driver.exe" esperar-ventana ventana icono salir esperar-fin >"$work/driver.out" 2>&1
check "la ventana principal del transzendal.exe instalado no apareció" \
  grep -q '^ventana: visible si' "$work/driver.out"
check "el transzendal.exe instalado no lleva el icono del programa" \
  grep -q '^icono: archivo, grupo #1, tamaños 16 20 24 32 40 48 64 256$' "$work/driver.out"
wait "$window_pid"
window_status=$?
check "el transzendal.exe instalado no terminó con Salir (estado $window_status)" [ "$window_status" -eq 0 ]
if [ "$window_status" -ne 0 ] || ! grep -q '^fin:' "$work/driver.out"; then
  sed 's/^/      ui-driver: /' "$work/driver.out"
  sed 's/^/      transzendal: /' "$work/window.log" | head -20
fi

# The timetable program's own file, beside the converter: the uninstaller leaves it.
printf '[Transformadores]\r\nTransformado=1\r\n' >"$target/Zendalor.ini"
cp "$target/Zendalor.ini" "$work/Zendalor.ini.antes"
uninstall_from "$target"
check "la desinstalación silenciosa no terminó" [ $? -eq 0 ]
check "la desinstalación dejó algo más que Zendalor.ini: $(listing "$target" | tr '\n' ' ')" \
  [ "$(cd "$target" && find . -mindepth 1 | tr '\n' ' ')" = "./Zendalor.ini " ]
check "la desinstalación cambió Zendalor.ini" cmp -s "$target/Zendalor.ini" "$work/Zendalor.ini.antes"
check "la desinstalación dejó la entrada de programas instalados" eval '! has_registry_key'
check "la desinstalación dejó la carpeta del menú Inicio" [ -z "$(menu_folder)" ]

# --- A folder only the installer used goes with the uninstallation; given with a final "\".
alone="$work/Solo/TransZendal"
install_into "$alone/"
check "la segunda instalación terminó con error" [ $? -eq 0 ]
uninstall_from "$alone"
check "la desinstalación dejó la carpeta que creó el instalador" [ ! -e "$alone" ]

# --- The portable archive, unpacked where a school would copy it.
wrapper "$work/cli-portatil" "$portable_folder/transzendal-cli.exe"
check "el transzendal-cli del portátil no convierte el centro de ejemplo" \
  converts "$work/cli-portatil" "$(winpath "$portable_folder/ejemplo/instituto-ejemplo.xml")"

echo "$passed passed, $failures failed"
[ "$failures" -eq 0 ]
