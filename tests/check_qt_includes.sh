#!/usr/bin/env bash
# Fails when a source file outside a gui/ folder includes a Qt header.
set -euo pipefail
root=$(cd "${1:?usage: check_qt_includes.sh SOURCE_DIR}" && pwd)
pattern='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](Qt[A-Za-z]*/|Q[A-Z][A-Za-z0-9]*[>"]|Qt[A-Z][A-Za-z]*[>"])'
if hits=$(grep -rnE "$pattern" "$root" \
    --include='*.h' --include='*.hpp' --include='*.cpp' --include='*.cc' --include='*.cxx' \
    --exclude-dir='build*' --exclude-dir=.git --exclude-dir=.cache --exclude-dir=gui); then
    echo "Qt headers included outside a gui/ folder:"
    echo "$hits"
    exit 1
fi
echo "no Qt header outside gui/"
