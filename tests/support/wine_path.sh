# Sourced by the tests that run Windows programs under Wine. winpath PATH prints the Windows name
# of an absolute Unix path: the Unix root is drive Z: in every Wine prefix (winepath -w says the
# same, but starts Wine each time).
winpath() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }
