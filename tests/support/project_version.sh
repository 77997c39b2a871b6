# Sourced by the package tests. project_version ROOT prints the project's one version, as the
# top CMakeLists.txt of ROOT sets it in project(... VERSION X.Y.Z ...).
project_version() { sed -n 's/^project([[:alnum:]_-]* VERSION \([0-9.]*\).*/\1/p' "$1/CMakeLists.txt"; }
