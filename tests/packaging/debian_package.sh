#!/usr/bin/env bash
# The Debian package of transzendal-cli as a user gets it. Always: lintian finds no error and no
# warning other than those justified below, and the control fields carry the project's version and
# dependencies computed from the binary. As root only: the package installs, the installed
# converter runs on the installed example school, its manual page renders without warnings, its
# bash completion completes, and removing the package leaves none of its files behind.
# Usage: debian_package.sh DEB REPOSITORY-ROOT
# Exit status: 0 every check passed; 1 a check failed; 77 the checks passed but, not being root,
# the install steps were skipped; 2 wrong usage.
set -uo pipefail

if [ $# -ne 2 ] || [ ! -f "$1" ] || [ ! -f "$2/CMakeLists.txt" ]; then
  echo "Uso: debian_package.sh PAQUETE.deb RAÍZ-DEL-REPOSITORIO" >&2
  exit 2
fi
deb=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
root=$(cd "$2" && pwd)

# Warnings that lintian may give and that are accepted, each with its reason: none so far. Add a
# tag here only with a comment that says why it cannot reasonably go.
accepted_warnings=()

package=transzendal-cli
work=$(mktemp -d)
installed_here=0
failures=0
passed=0

cleanup() {
  # Whatever failed, a package this test installed does not stay installed.
  if [ "$installed_here" = 1 ] && dpkg -s "$package" 2>/dev/null | grep -q '^Status: install ok installed'; then
    dpkg -r "$package" >/dev/null 2>&1 || echo "FALLO: no se pudo desinstalar $package (dpkg -r)"
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

fail() {
  echo "FALLO: $*"
  failures=$((failures + 1))
}

pass() {
  passed=$((passed + 1))
}

finish() {
  echo "$passed passed, $failures failed"
  [ "$failures" -eq 0 ] || exit 1
  exit "${1:-0}"
}

source "$root/tests/support/project_version.sh"
version=$(project_version "$root")
if [ -z "$version" ]; then
  fail "no se encuentra la versión del proyecto en $root/CMakeLists.txt"
  finish
fi

# --- lintian ---------------------------------------------------------------------------------
echo "lintian $(basename "$deb"):"
lintian --no-cfg --fail-on none --display-info "$deb" >"$work/lintian" 2>"$work/lintian.err"
lintian_status=$?
if [ -s "$work/lintian" ]; then cat "$work/lintian"; else echo "  (ninguna etiqueta)"; fi
grep -v 'running with root privileges is not recommended' "$work/lintian.err" >&2
if [ "$lintian_status" -ne 0 ]; then
  fail "lintian no pudo analizar el paquete (estado $lintian_status)"
else
  lintian_ok=1
  while read -r tag; do
    fail "lintian da el error $tag"
    lintian_ok=0
  done < <(sed -n 's/^E: [^:]*: \([^ ]*\).*/\1/p' "$work/lintian")
  while read -r tag; do
    if [[ " ${accepted_warnings[*]} " != *" $tag "* ]]; then
      fail "lintian da el aviso $tag, que no está justificado"
      lintian_ok=0
    fi
  done < <(sed -n 's/^W: [^:]*: \([^ ]*\).*/\1/p' "$work/lintian")
  [ "$lintian_ok" = 1 ] && pass
fi

# --- control fields --------------------------------------------------------------------------
field() { dpkg-deb --field "$deb" "$1"; }
if [ "$(field Package)" != "$package" ]; then
  fail "el paquete se llama «$(field Package)», no $package"
else
  pass
fi
if [ "$(field Version)" != "$version" ]; then
  fail "la versión del paquete es «$(field Version)» y la del proyecto, $version"
else
  pass
fi
expected_name=${package}_${version}_$(field Architecture).deb
if [ "$(basename "$deb")" != "$expected_name" ]; then
  fail "el archivo se llama $(basename "$deb"); según la convención de Debian sería $expected_name"
else
  pass
fi

# Depends must name the package of every shared library the installed binary needs, as
# dpkg-shlibdeps finds them (libxml2 among them).
depends=$(field Depends)
depended=$(tr ',|' '\n' <<<"$depends" | sed -n 's/^ *\([^ (]\+\).*/\1/p')
# The package that has the library at PATH; with /usr merged, dpkg may know it under /lib or /usr/lib.
owner_of() {
  local path candidate owner
  for path in "$1" "$(readlink -f "$1")"; do
    for candidate in "$path" "${path#/usr}" "/usr${path#/usr}"; do
      owner=$(dpkg-query -S "$candidate" 2>/dev/null | grep -v '^diversion' | head -1 | sed 's/[:,].*//')
      [ -n "$owner" ] && { echo "$owner"; return; }
    done
  done
}
dpkg-deb -x "$deb" "$work/contents"
dependency_ok=1
if ! grep -qx libxml2 <<<"$depended"; then
  fail "Depends no nombra libxml2: «$depends»"
  dependency_ok=0
fi
sonames=$(readelf -d "$work/contents/usr/bin/$package" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
[ -n "$sonames" ] || { fail "readelf no encuentra las bibliotecas que necesita /usr/bin/$package"; dependency_ok=0; }
for soname in $sonames; do
  library=$(ldconfig -p | awk -v name="$soname" '$1 == name { print $NF; exit }')
  owner=$([ -n "$library" ] && owner_of "$library")
  if [ -z "$owner" ]; then
    fail "no se sabe qué paquete da $soname"
    dependency_ok=0
  elif ! grep -qxF "$owner" <<<"$depended"; then
    fail "Depends no nombra $owner, que da $soname: «$depends»"
    dependency_ok=0
  fi
done
[ "$dependency_ok" = 1 ] && pass

if [ "$(id -u)" -ne 0 ]; then
  echo "Se omiten la instalación y las pruebas del paquete instalado: dpkg -i y dpkg -r necesitan" \
    "permisos de root y esta prueba se ejecuta como $(id -un)."
  finish 77
fi

# --- install ---------------------------------------------------------------------------------
if dpkg -s "$package" 2>/dev/null | grep -q '^Status: install ok installed'; then
  fail "$package ya está instalado en esta máquina; esta prueba no lo toca (desinstálelo con dpkg -r $package)"
  finish
fi
# The files of the package, which must not be there before and must be there after.
dpkg-deb --fsys-tarfile "$deb" | tar -t | sed -e 's|^\./|/|' -e 's|/$||' | grep -v '^/*$' >"$work/paths"
while read -r path; do
  if [ -e "$path" ] && [ ! -d "$path" ]; then
    fail "$path ya existe antes de instalar el paquete; esta prueba no lo toca"
    finish
  fi
done <"$work/paths"

echo "Instalando $(basename "$deb")"
installed_here=1
if ! dpkg -i "$deb" >"$work/dpkg-i" 2>&1; then
  cat "$work/dpkg-i"
  fail "dpkg -i no pudo instalar el paquete"
  finish
fi
pass
dpkg -L "$package" >"$work/listed"
missing=0
while read -r path; do
  [ -e "$path" ] || { fail "falta $path tras la instalación (¿excluye dpkg esa ruta con path-exclude?)"; missing=1; }
done <"$work/paths"
[ "$missing" = 0 ] && pass

cli=/usr/bin/$package
example=/usr/share/doc/$package/examples/instituto-ejemplo.xml

shown_version=$("$cli" --version)
if [ "$shown_version" != "$package $version" ]; then
  fail "«$cli --version» dice «$shown_version», no «$package $version»"
else
  pass
fi

# The installed example school, both time frames: every table compared with the reviewed copies.
if bash "$root/tests/cli/example_school.sh" "$cli" "$root" "$example" >"$work/exportar" 2>&1; then
  pass
else
  sed 's/^/  /' "$work/exportar" | head -40
  fail "el transzendal-cli instalado no convierte bien el centro de ejemplo instalado"
fi

# --- manual page -----------------------------------------------------------------------------
# "man transzendal-cli" finds the installed page, and it renders without a warning, as lintian
# renders pages, with the project's version in it.
page=$(man -w "$package" 2>/dev/null)
if [ "$page" != "/usr/share/man/man1/$package.1.gz" ]; then
  fail "man -w $package da «$page», no la página instalada"
else
  pass
fi
LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "/usr/share/man/man1/$package.1.gz" \
  >"$work/man" 2>"$work/man.err"
if [ -s "$work/man.err" ]; then
  cat "$work/man.err"
  fail "la página de manual da avisos al formatearla"
elif ! grep -q "^$package ${version//./\\.} " "$work/man"; then
  tail -3 "$work/man"
  fail "el pie de la página de manual no lleva «$package $version»"
else
  pass
fi

# --- bash completion -------------------------------------------------------------------------
# Completes WORDS... (the last is the word under the cursor) in a bash of its own, with the
# completion loaded as bash-completion loads it on demand (loader) or sourced alone (plain), in
# the folder $work/files; prints COMPREPLY sorted, on one line.
mkdir -p "$work/files/carpeta"
touch "$work/files/escuela.xml" "$work/files/Otra.XML" "$work/files/notas.txt"
complete_line() {
  local mode=$1
  shift
  (cd "$work/files" && env -i PATH="$PATH" HOME="$work" bash --norc --noprofile -s "$mode" "$@") <<'EOF'
mode=$1
shift
if [ "$mode" = loader ]; then
  . /usr/share/bash-completion/bash_completion || exit 3
  __load_completion transzendal-cli || exit 3
else
  . /usr/share/bash-completion/completions/transzendal-cli || exit 3
fi
function=$(complete -p transzendal-cli | sed -n 's/.* -F \([^ ]*\) .*/\1/p')
[ -n "$function" ] || exit 4
COMP_WORDS=("$@")
COMP_CWORD=$(($# - 1))
COMP_LINE="$*"
COMP_POINT=${#COMP_LINE}
"$function" transzendal-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | paste -sd ' '
EOF
}
# Each case: the expected completions, then the words of the line after the command.
completion_cases=(
  "exportar importar tabla|"
  "--help --version|-"
  "exportar|ex"
  "Otra.XML carpeta escuela.xml|exportar "
  "Otra.XML carpeta escuela.xml|importar "
  "carpeta|exportar --directorio "
  "--directorio --marcos|exportar escuela.xml "
  "--directorio|exportar escuela.xml --marcos 1 -"
  "--directorio|importar -"
  "ASIGNOMT ASIGT AULAT DIASHORAST GRUPOST PROFT SOLUC|tabla "
  "PROFT|tabla pro"
  "csv resumen|tabla --formato "
  "csv resumen|tabla --formato ="
  "resumen|tabla PROFT --formato = r"
  "--formato|tabla PROFT --directorio carpeta -"
)
for mode in loader plain; do
  if [ "$mode" = loader ] && [ ! -f /usr/share/bash-completion/bash_completion ]; then
    fail "falta bash-completion, que carga el completado al usarlo (scripts/install-deps lo instala)"
    continue
  fi
  mode_ok=1
  for case in "${completion_cases[@]}"; do
    expected=${case%%|*}
    read -r -a words <<<"${case#*|}"
    [[ ${case#*|} == *' ' || -z ${case#*|} ]] && words+=("")
    actual=$(complete_line "$mode" transzendal-cli "${words[@]}")
    status=$?
    if [ "$status" -ne 0 ]; then
      fail "completado ($mode): no se pudo cargar la función de completado (estado $status)"
      mode_ok=0
      break
    fi
    if [ "$actual" != "$expected" ]; then
      fail "completado ($mode) de «transzendal-cli ${case#*|}»: «$actual», no «$expected»"
      mode_ok=0
    fi
  done
  [ "$mode_ok" = 1 ] && pass
done

# --- removal ---------------------------------------------------------------------------------
if ! dpkg -r "$package" >"$work/dpkg-r" 2>&1; then
  cat "$work/dpkg-r"
  fail "dpkg -r no pudo desinstalar el paquete"
  finish
fi
removal_ok=1
while read -r path; do
  [ "$path" = /. ] && continue
  [ -e "$path" ] || [ -L "$path" ] || continue
  if [ -d "$path" ] && [ ! -L "$path" ]; then
    # A directory stays when another package has it too, or when something not ours is in it.
    dpkg-query -S "$path" >/dev/null 2>&1 && continue
    [ -n "$(ls -A "$path")" ] && continue
  fi
  fail "$path sigue ahí tras desinstalar el paquete"
  removal_ok=0
done <"$work/listed"
if dpkg -s "$package" 2>/dev/null | grep -q '^Status: install ok installed'; then
  fail "dpkg -s sigue dando $package por instalado"
  removal_ok=0
fi
[ "$removal_ok" = 1 ] && pass
finish
